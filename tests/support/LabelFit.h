#pragma once
// Asserts that the labels a painter drew fit its window: no two overlap, each lies inside the
// client area; and that a scale's labels stand where they name their lines. The failure lists every
// fault.
#include "framework/core/PaintedLabels.h"
#include "framework/ui/Button.h"
#include "framework/ui/TextFit.h"
#include "framework/ui/Wnd.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Which side of a plot a scale's value labels stand on.
enum class PlotSide { Left, Right };

// The value labels of one scale, told from the others by their colour (the legend's texts in that
// colour are no numbers), stand wholly outside the plot on `side` and each within `reach` pixels (its
// middle to the line) of the grid line it names. They name the grid lines `lines` (client y, top
// down) in order: every line, or every other one where a division cannot hold them all.
inline ::testing::AssertionResult ScaleLabelsBesideTheirLines(const PaintedLabels& labels, COLORREF colour,
                                                              PlotSide side, const CRect& plot,
                                                              const std::vector<int>& lines, int reach) {
    std::vector<const PaintedLabel*> scale;
    for (const PaintedLabel& label : labels) {
        const std::string& t = label.text;
        size_t digits = t.size() - (t.ends_with('k') || t.ends_with('M') ? 1 : 0);
        const size_t first = t.starts_with('-') ? 1 : 0;
        bool number = digits > first;
        for (size_t i = first; i < digits; ++i)
            number = number && t[i] >= '0' && t[i] <= '9';
        if (label.colour == colour && number)
            scale.push_back(&label);
    }
    std::sort(scale.begin(), scale.end(), [](auto* a, auto* b) { return a->rect.top < b->rect.top; });
    const size_t stride = scale.size() == lines.size() ? 1 : 2;
    if (scale.empty() || (lines.size() - 1) / stride + 1 != scale.size())
        return ::testing::AssertionFailure()
               << scale.size() << " value labels for " << lines.size() << " lines";
    ::testing::AssertionResult result = ::testing::AssertionSuccess();
    int faults = 0;
    for (size_t i = 0; i < scale.size(); ++i) {
        const CRect& r = scale[i]->rect;
        const int line = lines[i * stride];
        const int off = (r.top + r.bottom) / 2 - line;
        const bool beside = side == PlotSide::Left ? r.right <= plot.left : r.left >= plot.right;
        if (beside && off <= reach && off >= -reach)
            continue;
        if (faults++ == 0)
            result = ::testing::AssertionFailure()
                     << "value labels off their place " << (side == PlotSide::Left ? "left" : "right")
                     << " of the plot (" << plot.left << " to " << plot.right << "), within " << reach
                     << " pixels of their line:";
        result << "\n  \"" << scale[i]->text << "\" at (" << r.left << ", " << r.top << ", " << r.right
               << ", " << r.bottom << "), " << off << " pixels from its line at y " << line;
    }
    return result;
}

// A control stands clear of the window's other visible controls (a group box only frames them)
// and shows its whole text; the failure names what it runs into.
inline ::testing::AssertionResult ControlStandsClear(CWnd& window, int id) {
    CWnd* control = window.GetDlgItem(id);
    if (control == nullptr || !control->IsWindowVisible())
        return ::testing::AssertionFailure() << "control " << id << " is not on the screen";
    CRect own;
    control->GetWindowRect(&own);
    ::testing::AssertionResult result = ::testing::AssertionSuccess();
    const auto fault = [&]() -> ::testing::AssertionResult& {
        if (result)
            result = ::testing::AssertionFailure() << id << " \"" << control->GetWindowText() << "\":";
        return result;
    };
    for (CWnd* other : window.GetChildren()) {
        if (other == control || !other->IsWindowVisible() ||
            (dynamic_cast<CButton*>(other) != nullptr && (other->GetStyle() & 0x0F) == BS_GROUPBOX))
            continue;
        CRect rect;
        other->GetWindowRect(&rect);
        if (rect.left < own.right && own.left < rect.right && rect.top < own.bottom && own.top < rect.bottom)
            fault() << "\n  runs into " << other->GetDlgCtrlID() << " \"" << other->GetWindowText() << "\"";
    }
    for (const ControlText& text : MeasureControlTexts(*control))
        if (!text.Fits())
            fault() << "\n  \"" << text.text << "\" needs " << text.extent.cx << " x " << text.extent.cy
                    << " pixels, has " << text.room.cx << " x " << text.room.cy;
    return result;
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
