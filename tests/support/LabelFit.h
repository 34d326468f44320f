#pragma once
// Asserts that the labels a painter drew fit its window: no two overlap, each lies inside the
// client area; and that a scale's labels stand where they name their lines. The failure lists every
// fault.
#include "framework/core/PaintedLabels.h"
#include "framework/ui/Button.h"
#include "framework/ui/DC.h"
#include "framework/ui/ListCtrl.h"
#include "framework/ui/Static.h"
#include "framework/ui/TextFit.h"
#include "framework/ui/WindowImage.h"
#include "framework/ui/Wnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace ui {

// ---- Texts of a window's controls ----------------------------------------------------------------
// A generic walk over every visible control of a window and of the windows inside it (pages, tabs),
// finding texts that are cut or that collide: a text or picture larger than the room its control
// leaves (an empty field shorter than a line of its font included), a text an owner-drawn control
// paints out of it or out of the rectangle it is cut to, a list heading or cell wider than its column
// or out of the list's sight, a group box whose frame line runs through a control inside it, a
// text drawn into another control, a control cut off by the edge of the window it lies in (or of
// a window around that), and a read-out field whose frame is not drawn on all four sides.
namespace textfit {

inline constexpr int kTextAir = 1;

inline CRect RectInParent(CWnd& parent, CWnd& child) {
    CRect rect;
    child.GetWindowRect(&rect);
    parent.ScreenToClient(&rect);
    return rect;
}

inline bool Overlap(const CRect& a, const CRect& b) {
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

inline bool Contains(const CRect& outer, const CRect& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

inline std::string Name(CWnd& control) {
    return std::to_string(control.GetDlgCtrlID()) + " \"" + control.GetWindowText() + "\"";
}

inline std::string Cut(const std::string& where, const ControlText& t) {
    return where + " \"" + t.text + "\" needs " + std::to_string(t.extent.cx) + "x" +
           std::to_string(t.extent.cy) + ", has " + std::to_string(t.room.cx) + "x" +
           std::to_string(t.room.cy);
}

inline bool IsGroupBox(CWnd& control) {
    return dynamic_cast<CButton*>(&control) != nullptr && (control.GetStyle() & 0x0F) == BS_GROUPBOX;
}

inline bool IsOwnerDrawn(CWnd& control) {
    return (dynamic_cast<CButton*>(&control) != nullptr && (control.GetStyle() & 0x0F) == BS_OWNERDRAW) ||
           (dynamic_cast<CStatic*>(&control) != nullptr &&
            (control.GetStyle() & SS_TYPEMASK) == SS_OWNERDRAW);
}

// A static that only draws a rectangle, a frame or an etched line: the ground of other controls.
inline bool IsDecoration(CWnd& control) {
    const unsigned kind = control.GetStyle() & SS_TYPEMASK;
    return dynamic_cast<CStatic*>(&control) != nullptr &&
           ((kind >= SS_BLACKRECT && kind <= SS_WHITEFRAME) || kind >= SS_ETCHEDHORZ);
}

// What a control draws, in its parent's coordinates: the texts of a text static, or its whole rectangle.
inline std::vector<CRect> Drawn(CWnd& parent, CWnd& control) {
    const CRect rect = RectInParent(parent, control);
    std::vector<CRect> drawn;
    if (dynamic_cast<CStatic*>(&control) != nullptr)
        for (const ControlText& t : MeasureControlTexts(control))
            if (!t.text.empty() && !t.where.IsRectEmpty()) {
                CRect r = t.where;
                r.OffsetRect(rect.left, rect.top);
                drawn.push_back(r);
            }
    if (drawn.empty())
        drawn.push_back(rect);
    return drawn;
}

// The lines of a frame that pass through a rectangle, named.
inline std::vector<std::string> FrameLinesThrough(const CRect& frame, const CRect& r) {
    std::vector<std::string> lines;
    const bool across = r.left < frame.right && r.right > frame.left;
    const bool along = r.top < frame.bottom && r.bottom > frame.top;
    if (across && r.top <= frame.top && r.bottom > frame.top)
        lines.push_back("top");
    if (across && r.top < frame.bottom && r.bottom >= frame.bottom)
        lines.push_back("bottom");
    if (along && r.left <= frame.left && r.right > frame.left)
        lines.push_back("left");
    if (along && r.left < frame.right && r.right >= frame.right)
        lines.push_back("right");
    return lines;
}

inline std::string Corners(const CRect& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) +
           ", " + std::to_string(r.bottom) + ")";
}

inline bool HasShownChildren(CWnd& window) {
    for (CWnd* child : window.GetChildren())
        if (child->IsWindowVisible())
            return true;
    return false;
}

// `seen` is the part of the parent's client area that shows on the screen (the windows around it
// cut it off where it reaches past them), in the parent's client coordinates. A control must lie
// wholly in it: past it a group box loses a line, a picture or a text its end. A window that only
// holds controls (a page) may reach past it; its controls are judged instead.
inline void Walk(CWnd& parent, const std::string& path, std::vector<std::string>& faults, const CRect& seen) {
    std::vector<CWnd*> shown;
    for (CWnd* child : parent.GetChildren())
        if (child->IsWindowVisible())
            shown.push_back(child);
    for (CWnd* child : shown) {
        const std::string where = path + Name(*child);
        const CRect placed = RectInParent(parent, *child);
        const bool holder = HasShownChildren(*child);
        if (!holder && !placed.IsRectEmpty() && !Contains(seen, placed))
            faults.push_back(where + " at " + Corners(placed) + " is cut off: only " + Corners(seen) +
                             " of its window shows");
        for (const ControlText& t : MeasureControlTexts(*child))
            if (!t.Fits())
                faults.push_back(Cut(where, t));
        for (const ControlText& t : MeasureControlPicture(*child))
            if (!t.Fits())
                faults.push_back(Cut(where, t));
        // A read-out field drawn as its two side lines alone reads as a pair of slivers.
        if (const std::optional<CRect> frame = FieldFrame(*child); frame && frame->IsRectEmpty())
            faults.push_back(where + " is a field whose frame is not drawn on all four sides");
        // What an owner-drawn control paints stays inside it and inside the rectangles it is cut to.
        if (IsOwnerDrawn(*child)) {
            PaintedLabels drawn;
            CDC::RecordWidgetLabels(&drawn);
            CBitmap picture;
            CRect client;
            child->GetClientRect(&client);
            RenderClientArea(child, picture, client.Width(), client.Height());
            CDC::RecordWidgetLabels(nullptr);
            for (const std::string& fault : LabelLayoutFaults(drawn, client))
                faults.push_back(where + " draws " + fault);
        }
        if (auto* list = dynamic_cast<CListCtrl*>(child))
            for (const ControlText& t : MeasureListTexts(*list))
                if (!t.Fits())
                    faults.push_back(Cut(where + " list", t));
        const CRect rect = RectInParent(parent, *child);
        // A group box frames the controls inside it: no line of it may run through one, and its
        // title must stand clear of them.
        if (IsGroupBox(*child)) {
            CRect frame = GroupBoxFrame(*child);
            frame.OffsetRect(rect.left, rect.top);
            for (CWnd* other : shown) {
                const CRect r = RectInParent(parent, *other);
                if (other == child || IsGroupBox(*other) || IsDecoration(*other) || Contains(r, rect))
                    continue;
                for (const std::string& line : FrameLinesThrough(frame, r))
                    faults.push_back(where + ": its " + line + " line runs through " + Name(*other));
            }
        }
        // A text drawn into what another control draws collides with it; a group box's inside and a
        // frame show through.
        for (const ControlText& t : MeasureControlTexts(*child)) {
            if (t.text.empty() || t.where.IsRectEmpty())
                continue;
            // A text needs a little air on its sides to read apart from what follows it.
            CRect text = t.where;
            text.OffsetRect(rect.left, rect.top);
            text.InflateRect(kTextAir, 0);
            for (CWnd* other : shown) {
                // A control that covers this one wholly is its ground (a tab, a frame) or the
                // alternative the window shows in its place.
                if (other == child || IsGroupBox(*other) || IsDecoration(*other) ||
                    Contains(RectInParent(parent, *other), rect))
                    continue;
                for (const CRect& r : Drawn(parent, *other))
                    if (Overlap(text, r)) {
                        faults.push_back(where + ": its text runs into " + Name(*other));
                        break;
                    }
            }
        }
        // What shows of the child: the part of its client area inside what shows of this window.
        CRect screen(std::max(seen.left, placed.left), std::max(seen.top, placed.top),
                     std::min(seen.right, placed.right), std::min(seen.bottom, placed.bottom));
        parent.ClientToScreen(&screen);
        child->ScreenToClient(&screen);
        Walk(*child, where + " / ", faults, screen);
    }
}

inline void Walk(CWnd& window, const std::string& path, std::vector<std::string>& faults) {
    CRect client;
    window.GetClientRect(&client);
    Walk(window, path, faults, client);
}

} // namespace textfit

// Every cut or colliding text of the window, one line each.
inline std::vector<std::string> TextLayoutFaults(CWnd& window) {
    std::vector<std::string> faults;
    textfit::Walk(window, "", faults);
    return faults;
}

inline ::testing::AssertionResult TextsFit(CWnd& window) {
    const std::vector<std::string> faults = TextLayoutFaults(window);
    if (faults.empty())
        return ::testing::AssertionSuccess();
    ::testing::AssertionResult result = ::testing::AssertionFailure();
    result << faults.size() << " texts cut or colliding:";
    for (const std::string& fault : faults)
        result << "\n  " << fault;
    return result;
}

} // namespace ui

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
