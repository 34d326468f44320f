#pragma once
// The rules of the wizard's write to the drive. Pure: the window runs the requests.
#include "wizard/CollectedSet.h"

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

// The Cn008 value sent: brake modes 4 and 5 travel as 6 and 7 (the drive's own numbering for
// them), and the drive keeps its own bits above the low byte.
int Cn008ToSend(int collected, int driveCurrent);
// Cn002 is sent only when its low byte agrees with the drive's (the rest needs a restart).
bool Cn002MaySend(int collected, int driveCurrent);
// The first entry that the range check refuses, checked over the whole list before anything is
// sent; entries outside the series are skipped and never refused.
std::optional<size_t> FirstOutOfRange(const std::vector<WizardEntry>& list,
                                      const std::function<bool(std::string_view code)>& inSeries,
                                      const std::function<bool(std::string_view code, int value)>& inRange);
// Register 0x1702 takes the collected control mode after Hn entries were written, when the drive's
// differs and a written Hn value differs from its default.
inline constexpr int ControlModeRegister = 0x1702;
bool ControlModeNeedsWrite(int driveMode, int collectedMode, bool anyWrittenHnDiffersFromDefault);
