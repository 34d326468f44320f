#include "box/BoxReadouts.h"

#include "box/BoxViewModel.h"

#include "trace/GraphServices.h"
#include "trace/TraceCaptions.h"

#include "framework/core/Format.h"

std::string BoxTimeReadoutText(float time) {
    return Format("%.2f", static_cast<double>(time / static_cast<float>(BoxTimeDivisor)));
}

std::string ValueReadoutText(float value) {
    return Format("%.1f", static_cast<double>(value));
}

std::string BoxChannelLegend(int code, const std::array<int, 24>& dioWords, int modelCode) {
    std::string legend = BoxChannelSignalName(code, dioWords);
    if (code == 0 || code >= 21)
        legend += " [" + BoxChannelUnitName(code, modelCode) + "]";
    return legend;
}

BoxTriggerDescription DescribeBoxTrigger(int source, int& level, int edge, int position,
                                         const std::array<int, 24>& dioWords, int modelCode) {
    BoxTriggerDescription d;
    d.method = BoxChannelSignalName(source, dioWords) + " ";
    if (ChannelSignalKind(source) == 1) {
        d.level = Format(" %d ", level) + BoxChannelUnitName(source, modelCode);
    } else {
        level = 0;
    }
    if (source != 0) {
        d.edge = edge == 0 ? "Rise" : edge == 1 ? "Fall" : "Rise/Fall";
        d.position = Format("%d", position);
    }
    return d;
}
