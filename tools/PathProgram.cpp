#include "tools/PathProgram.h"

#include "framework/core/Format.h"

#include <algorithm>

bool PathModeAllowsRun(int pn381) {
    return (pn381 & 0x0F00) != 0;
}

std::vector<PositionWrite> PathProgramWrites(const PathCommand& first,
                                             const std::optional<PathCommand>& second, int dwell1Ms,
                                             int dwell2Ms, bool cyclic) {
    auto word = [](std::int64_t v) { return static_cast<int>(v); };
    std::vector<PositionWrite> writes = {
        {"Pn401", word(first.revolutions)}, {"Pn402", word(first.remainder)}, {"Pn403", word(first.rpm)}};
    int firstCleared = 0;
    if (second) {
        writes.push_back({"Pn404", word(second->revolutions)});
        writes.push_back({"Pn405", word(second->remainder)});
        writes.push_back({"Pn406", word(second->rpm)});
        writes.push_back({"Pn497", dwell1Ms});
        writes.push_back({"Pn499", dwell2Ms});
        firstCleared = 409;
    } else {
        writes.push_back({"Pn499", dwell1Ms});
        firstCleared = 406;
    }
    // A zero speed ends the program after the positions in use.
    for (int number = firstCleared; number <= 496; number += 3)
        writes.push_back({Format("Pn%d", number), 0});
    writes.push_back({"Pn381", cyclic ? PathModeCyclic : PathModeSingle});
    return writes;
}

int PathEntryFirstNumber(int entry) {
    return 400 + 3 * entry - 2;
}

int ClampRevolutions(int value) {
    return std::clamp(value, -MaxRevolutions, MaxRevolutions);
}

int ClampPulses(int value) {
    return std::clamp(value, -MaxPulses, MaxPulses);
}

int ClampSpeed(int value, int maxSpeed) {
    return std::clamp(value, 0, std::max(maxSpeed, 0));
}

int PathModeWord(int positionMode, int pholdSelect) {
    return (pholdSelect & 0xF) * 16 + (positionMode & 0xF);
}
