#pragma once
// The rigidity adjustment: the speed-loop and position-loop gains scale with the percentage, the
// speed-loop integral time against it.
#include <optional>

// start x percent / 100, rounded (qn501, qn505).
int ScaledGain(int start, int percent);
// start x 100 / percent, rounded (qn502); nothing at 0 %.
std::optional<int> ScaledIntegralTime(int start, int percent);
// The percentages Write accepts.
inline bool RigidityPercentAllowed(int percent) {
    return percent >= 30 && percent <= 100;
}
