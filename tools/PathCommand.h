#pragma once
// The conversion of a target in user units into the drive's internal position command: whole
// revolutions, the remaining pulses and the speed in rpm. Double precision throughout: single
// precision misses a target of a few thousand units by hundreds of pulses at 8388608 pulses per
// revolution. Units or a resolution of 0 and results that do not fit the drive's words are refused
// instead of converted.
#include <cstdint>
#include <optional>
#include <string_view>

struct PathCommand {
    std::int64_t revolutions = 0;
    std::int64_t remainder = 0; // pulses, same sign as the target
    std::int64_t rpm = 0;
};

enum class PathCommandError { None, ZeroUnits, ZeroResolution, OutOfReach };

struct PathCommandResult {
    std::optional<PathCommand> command;
    PathCommandError error = PathCommandError::None;
};

// The pulse entries of the "Corresponding Pulse" combo.
inline constexpr int PulseChoiceCount = 2;
inline constexpr std::int64_t PulseChoices[PulseChoiceCount] = {131072, 8388608};

// The pulses per revolution of a combo choice; without a selection the combo's own text as a number
// (nothing when it is none or not positive).
std::optional<std::int64_t> PulsesOfChoice(int index, std::string_view comboText);
// The combo entry the drive's resolution selects: 0 for exactly 131072, else 1.
int PulseChoiceForResolution(std::int64_t resolution);

// k = P / U; pulses = truncate(target x k); revolutions and remainder by division by R (toward zero);
// rpm = truncate(k x speed x 60 / R). Speeds and pulses that would not fit 32 and 63 bits are refused.
PathCommandResult ToPathCommand(std::int64_t target, std::int64_t speed, std::int64_t unitsPerRevolution,
                                std::int64_t pulsesPerRevolution, std::int64_t resolution);

// The document's limits of the three words of an internal position command (Pn401, Pn402, Pn403).
struct PathCommandLimits {
    int minRevolutions = 0, maxRevolutions = 0;
    int minRemainder = 0, maxRemainder = 0;
    int minRpm = 0, maxRpm = 0;
};
bool WithinLimits(const PathCommand& command, const PathCommandLimits& limits);

// The message that names a refused conversion ("" for none).
const char* PathCommandErrorText(PathCommandError error);
