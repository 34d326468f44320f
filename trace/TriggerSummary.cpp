#include "trace/TriggerSummary.h"

#include "framework/core/Format.h"
#include "trace/TraceCaptions.h"

TriggerSummaryTexts TriggerSummary(int triggerSource, int triggerLevel, int triggerEdge, int triggerPosition,
                                   const std::array<int, 8>& sources, const std::array<int, 24>& dioCodes,
                                   int modelCode) {
    TriggerSummaryTexts t;
    t.triggerSource = triggerSource >= 0 && triggerSource <= 15 ? triggerSource : 0;
    const bool channel = t.triggerSource >= 1 && t.triggerSource <= 8;
    const int code = channel ? sources[static_cast<size_t>(t.triggerSource - 1)] : 0;
    t.signal = ChannelSourceTitle(code, dioCodes) + " ";
    if (channel) {
        t.triggerLevel = triggerLevel;
        t.level = Format(" %d ", triggerLevel) + ChannelSourceUnit(code, modelCode);
    }
    if (t.triggerSource != 0) {
        t.edge = triggerEdge == 0 ? "Rise" : triggerEdge == 1 ? "Fall" : "Rise/Fall";
        t.position = Format("%d", triggerPosition);
    }
    return t;
}
