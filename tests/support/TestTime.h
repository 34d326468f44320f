#pragma once
// How long a test may wait on a busy machine. Exchange time-outs of the test drives and the bounds of
// condition waits are given for an idle machine and stretched by TestTimeScale(): the value of
// KELO_TEST_TIME_SCALE when set (to force a stretch), else one more than the load average per core,
// capped at 10, read once: what CI and scripts/stress run with. A wait met early costs nothing, so a
// stretched bound only turns a spurious time-out on a loaded machine into a pass; a fault still fails.
#include <algorithm>
#include <cstdlib>
#include <thread>

inline double TestTimeScaleFrom(const char* setting, double loadAverage, unsigned cores) {
    if (setting && *setting) {
        char* end = nullptr;
        const double value = std::strtod(setting, &end);
        if (end != setting && value >= 1.0)
            return std::min(value, 100.0);
    }
    if (loadAverage <= 0.0 || cores == 0)
        return 1.0;
    return std::clamp(1.0 + loadAverage / cores, 1.0, 10.0);
}

inline double TestTimeScale() {
    static const double scale = [] {
        double load[1] = {0.0};
        if (getloadavg(load, 1) != 1)
            load[0] = 0.0;
        return TestTimeScaleFrom(std::getenv("KELO_TEST_TIME_SCALE"), load[0],
                                 std::thread::hardware_concurrency());
    }();
    return scale;
}

// A time in milliseconds, stretched for this machine.
inline int ScaledMs(int milliseconds) {
    return static_cast<int>(milliseconds * TestTimeScale());
}
