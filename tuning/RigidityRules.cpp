#include "tuning/RigidityRules.h"

int ScaledGain(int start, int percent) {
    return static_cast<int>(static_cast<float>(start) * static_cast<float>(percent) / 100.0f + 0.5f);
}

std::optional<int> ScaledIntegralTime(int start, int percent) {
    if (percent == 0)
        return std::nullopt;
    return static_cast<int>(static_cast<float>(start) * 100.0f / static_cast<float>(percent) + 0.5f);
}
