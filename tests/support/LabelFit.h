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

// The visible child controls of a window lie inside its client area, clear of its edges by at least
// `margin` pixels; the failure names each control that touches or crosses an edge.
inline ::testing::AssertionResult ControlsClearOfTheEdges(CWnd& window, int margin = 1) {
    CRect client;
    window.GetClientRect(&client);
    client.DeflateRect(margin, margin);
    ::testing::AssertionResult result = ::testing::AssertionSuccess();
    int faults = 0;
    for (CWnd* child : window.GetChildren()) {
        if (!child->IsWindowVisible())
            continue;
        CRect rect;
        child->GetWindowRect(&rect);
        window.ScreenToClient(&rect);
        if (rect.left >= client.left && rect.top >= client.top && rect.right <= client.right &&
            rect.bottom <= client.bottom)
            continue;
        if (faults++ == 0)
            result = ::testing::AssertionFailure()
                     << "controls at the edge of a " << client.Width() + 2 * margin << " x "
                     << client.Height() + 2 * margin << " client:";
        result << "\n  " << child->GetDlgCtrlID() << " \"" << child->GetWindowText() << "\" at (" << rect.left
               << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << ")";
    }
    return result;
}

} // namespace ui
