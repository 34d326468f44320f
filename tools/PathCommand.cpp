#include "tools/PathCommand.h"

#include "framework/core/Format.h"

#include <cmath>
#include <limits>

std::optional<std::int64_t> PulsesOfChoice(int index, std::string_view comboText) {
    if (index >= 0 && index < PulseChoiceCount)
        return PulseChoices[index];
    const std::optional<std::int64_t> typed = ParseInt64(Trim(comboText));
    if (!typed || *typed <= 0)
        return std::nullopt;
    return typed;
}

int PulseChoiceForResolution(std::int64_t resolution) {
    return resolution == PulseChoices[0] ? 0 : 1;
}

PathCommandResult ToPathCommand(std::int64_t target, std::int64_t speed, std::int64_t unitsPerRevolution,
                                std::int64_t pulsesPerRevolution, std::int64_t resolution) {
    if (unitsPerRevolution == 0)
        return {std::nullopt, PathCommandError::ZeroUnits};
    if (resolution <= 0)
        return {std::nullopt, PathCommandError::ZeroResolution};
    const double k = static_cast<double>(pulsesPerRevolution) / static_cast<double>(unitsPerRevolution);
    const double pulses = std::trunc(static_cast<double>(target) * k);
    const double rpm = std::trunc(k * static_cast<double>(speed) * 60.0 / static_cast<double>(resolution));
    // Beyond these the drive's words cannot hold the command and the casts below would be undefined.
    constexpr double pulseBound = 4.0e18;
    if (!std::isfinite(pulses) || std::fabs(pulses) > pulseBound || !std::isfinite(rpm) ||
        rpm > static_cast<double>(std::numeric_limits<int>::max()) ||
        rpm < static_cast<double>(std::numeric_limits<int>::min()))
        return {std::nullopt, PathCommandError::OutOfReach};
    const auto whole = static_cast<std::int64_t>(pulses);
    PathCommand command;
    command.revolutions = whole / resolution;
    command.remainder = whole % resolution;
    command.rpm = static_cast<std::int64_t>(rpm);
    return {command, PathCommandError::None};
}

bool WithinLimits(const PathCommand& command, const PathCommandLimits& limits) {
    return command.revolutions >= limits.minRevolutions && command.revolutions <= limits.maxRevolutions &&
           command.remainder >= limits.minRemainder && command.remainder <= limits.maxRemainder &&
           command.rpm >= limits.minRpm && command.rpm <= limits.maxRpm;
}

const char* PathCommandErrorText(PathCommandError error) {
    switch (error) {
    case PathCommandError::None:
        return "";
    case PathCommandError::ZeroUnits:
        return "The units per revolution must not be 0.";
    case PathCommandError::ZeroResolution:
        return "The drive reports no encoder resolution; the target cannot be converted.";
    case PathCommandError::OutOfReach:
        return "The target or the speed is too large to be converted.";
    }
    return "";
}
