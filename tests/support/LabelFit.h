#pragma once
// Asserts that the labels a painter drew fit its window: no two overlap, each lies inside the
// client area. The failure lists every fault.
#include "framework/core/PaintedLabels.h"
#include "framework/ui/Button.h"
#include "framework/ui/Wnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ui {

inline ::testing::AssertionResult LabelsFit(const PaintedLabels& labels, const CRect& client,
                                            const std::vector<CRect>& covered = {}) {
    if (labels.empty())
        return ::testing::AssertionFailure() << "no labels were drawn";
    const std::vector<std::string> faults = LabelLayoutFaults(labels, client, covered);
    if (faults.empty())
        return ::testing::AssertionSuccess();
    ::testing::AssertionResult result = ::testing::AssertionFailure();
    result << faults.size() << " of " << labels.size() << " labels do not fit:";
    for (const std::string& fault : faults)
        result << "\n  " << fault;
    return result;
}

// The same for the labels a window painted: inside its client area and clear of its visible child
// controls, which are drawn over the painting (a group box only frames it: its inside shows through).
inline ::testing::AssertionResult LabelsFit(const PaintedLabels& labels, CWnd& window) {
    CRect client;
    window.GetClientRect(&client);
    std::vector<CRect> covered;
    for (CWnd* child : window.GetChildren())
        if (child->IsWindowVisible() &&
            !(dynamic_cast<CButton*>(child) != nullptr && (child->GetStyle() & 0x0F) == BS_GROUPBOX)) {
            CRect rect;
            child->GetWindowRect(&rect);
            window.ScreenToClient(&rect);
            covered.push_back(rect);
        }
    return LabelsFit(labels, client, covered);
}

} // namespace ui
