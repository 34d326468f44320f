#include "framework/core/PaintedLabels.h"

#include <algorithm>
#include <sstream>

namespace {

std::string Describe(const PaintedLabel& label) {
    std::ostringstream out;
    out << "\"" << label.text << "\" (" << label.rect.left << "," << label.rect.top << ")-("
        << label.rect.right << "," << label.rect.bottom << ")";
    return out.str();
}

bool Overlap(const CRect& a, const CRect& b) {
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

} // namespace

std::vector<std::string> LabelLayoutFaults(const PaintedLabels& labels, const CRect& client,
                                           const std::vector<CRect>& covered) {
    std::vector<std::string> faults;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const CRect& r = labels[i].rect;
        if (r.left < client.left || r.top < client.top || r.right > client.right || r.bottom > client.bottom)
            faults.push_back(Describe(labels[i]) + " leaves the client area");
        if (const CRect& c = labels[i].clip; !c.IsRectEmpty() && (r.left < c.left || r.top < c.top ||
                                                                  r.right > c.right || r.bottom > c.bottom))
            faults.push_back(Describe(labels[i]) + " is cut by its rectangle (" + std::to_string(c.left) +
                             "," + std::to_string(c.top) + ")-(" + std::to_string(c.right) + "," +
                             std::to_string(c.bottom) + ")");
        for (const CRect& control : covered)
            if (Overlap(r, control))
                faults.push_back(Describe(labels[i]) + " lies under a control at (" +
                                 std::to_string(control.left) + "," + std::to_string(control.top) + ")");
        for (std::size_t j = i + 1; j < labels.size(); ++j)
            if (Overlap(r, labels[j].rect))
                faults.push_back(Describe(labels[i]) + " overlaps " + Describe(labels[j]));
    }
    return faults;
}
