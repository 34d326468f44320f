#pragma once
// The trigger condition as the trace window's four summary fields show it: the trigger channel's
// signal, the level with its unit, the edge and the position.
#include <array>
#include <string>

struct TriggerSummaryTexts {
    int triggerSource = 0; // kept in range: a source outside 0..15 becomes 0
    int triggerLevel = 0;  // 0 when no channel triggers
    std::string signal;    // static 1070
    std::string level;     // static 1071
    std::string edge;      // static 6070
    std::string position;  // static 6071
};

// sources are the eight channels' source codes, dioCodes name the digital inputs and outputs.
TriggerSummaryTexts TriggerSummary(int triggerSource, int triggerLevel, int triggerEdge, int triggerPosition,
                                   const std::array<int, 8>& sources, const std::array<int, 24>& dioCodes,
                                   int modelCode);
