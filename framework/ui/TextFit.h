#pragma once
// Whether a control shows its whole text: the text's extent as the control lays it out, against
// the room the control leaves for it once it has drawn what goes around the text (a check box's
// or radio button's indicator and gap, a push button's frame and margins, a group box's title
// inset, a static's frame and indent, a combo box's arrow). Statics that wrap words are laid out
// at their own width; a word wider than the room, or more lines than fit, is clipped text.
#include "framework/ui/ListCtrl.h"
#include "framework/ui/StatusBar.h"
#include "framework/ui/Wnd.h"

#include <optional>
#include <string>
#include <vector>

struct ControlText {
    std::string text; // as the control shows it
    CSize extent;     // what the text needs
    CSize room;       // what the control leaves for it
    // Where the text is drawn, in the control's client coordinates: its extent placed in its room as
    // the control aligns it (empty where the measure does not place it).
    CRect where;
    bool Fits() const { return extent.cx <= room.cx && extent.cy <= room.cy; }
};

// The texts a control shows (its window text; for a combo box also every item of its list) with
// extent and room. A static or edit whose text is empty is measured as one empty line, so that a
// field filled later is known to hold a line of its font. Empty for a control without a text of its
// own (lists, pictures, windows of program classes).
std::vector<ControlText> MeasureControlTexts(const CWnd& control);

// The picture a static shows (its bitmap or icon, named "picture" in `text`) against the room the
// static leaves for it; empty for a control without a picture.
std::vector<ControlText> MeasureControlPicture(const CWnd& control);

// The frame a group box draws, in its client coordinates (its lines are the rectangle's edges);
// empty for any other control.
CRect GroupBoxFrame(const CWnd& control);

// The frame a framed static (a read-out field) draws, in its client coordinates: nullopt for a
// control without a frame of its own, an empty rectangle when the frame is not drawn on all four sides.
std::optional<CRect> FieldFrame(const CWnd& control);

// The text of every pane of a status bar against the part of the pane it is drawn in.
std::vector<ControlText> MeasurePaneTexts(const CStatusBar& bar);

// The texts of a report list: each column's heading against its header section, then each cell's
// text against the part of the cell it is drawn in. A list is read without scrolling sideways: the
// part of a heading or cell right of the list's visible width is no room.
std::vector<ControlText> MeasureListTexts(const CListCtrl& list);
