#pragma once
// The drive's internal path program as the position tools write it: the one- or two-position
// program of the multi-position page (the other positions' speeds zeroed so the drive stops after
// them, the path mode word), and the rules of the 32-entry path-planning table.
#include "tools/PathCommand.h"
#include "tools/VirtualInputs.h"

#include <optional>
#include <vector>

// Pn381: single run or cyclic; hex digit 2 must be non-zero before a run may start.
inline constexpr int PathModeSingle = 0x100;
inline constexpr int PathModeCyclic = 0x200;
bool PathModeAllowsRun(int pn381);

// Pn401..Pn403 for position 1, with a second position Pn404..Pn406, Pn497 = dwell 1, Pn499 = dwell 2
// and the speeds of positions 3..32 zeroed (30 writes); with one position Pn499 = dwell 1 and the
// speeds of positions 2..32 zeroed (31 writes); last Pn381.
std::vector<PositionWrite> PathProgramWrites(const PathCommand& first,
                                             const std::optional<PathCommand>& second, int dwell1Ms,
                                             int dwell2Ms, bool cyclic);

// --- The 32-entry table ----------------------------------------------------------------------------
inline constexpr int PathEntryCount = 32;
inline constexpr int PathEntriesPerPage = 16;
inline constexpr int MaxRevolutions = 16000;
inline constexpr int MaxPulses = 8388608;
inline constexpr int MaxSmoothingMs = 10000;

// The parameter number (401..496) of the first word of entry k (1..32): revolutions, then pulses and
// speed at the next two numbers.
int PathEntryFirstNumber(int entry);
int ClampRevolutions(int value);
int ClampPulses(int value);
int ClampSpeed(int value, int maxSpeed);
// Pn316 from the dialog: PHOLD select in hex digit 1, position mode in digit 0, the upper digits 0.
int PathModeWord(int positionMode, int pholdSelect);
