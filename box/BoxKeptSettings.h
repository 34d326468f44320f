#pragma once
// What the view keeps of the box viewer between two openings: the confirmed record settings and,
// from the viewer's close, its four scale list selections.
#include <array>

struct BoxKeptSettings {
    int pointCount = 512;
    std::array<int, 4> channelSignals{};
    int triggerSource = 0;
    int triggerLevel = 0;
    int triggerEdge = 0;
    int triggerPosition = 0;
    std::array<int, 4> colorIndices{};
    int samplePeriodRaw = 10000;
    int sampleInterval = 1;
    std::array<int, 24> dioWords{};
    std::array<int, 4> scaleIndices{};
};
