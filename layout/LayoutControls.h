#pragma once
// Resize layout of the graph windows: each control a window's table lists keeps its distance to the
// left/top edge of the client area (fixed), travels with the right/bottom edge (move) or keeps its
// distance to both edges (stretch). A window records every listed control once, against the client
// size of that moment, and afterwards places them for each new client size.
//
// Tables are constant arrays per window class; the records live in static storage per class, shared
// by every instance, and the last instance to record wins.
#include "framework/core/Geometry.h"

#include <span>

class CWnd;

enum class AxisMode { Fixed, Move, Stretch };

struct LayoutEntry {
    int controlId;
    AxisMode horizontal;
    AxisMode vertical;
};

// Horizontal first value, vertical first value, horizontal second value, vertical second value:
//   fixed   -> near edge (left/top), size (width/height)
//   move    -> size, gap from the control's far edge to the client's far edge
//   stretch -> near edge, gap from the control's far edge to the client's far edge
struct LayoutRecord {
    int horizontalFirst = 0;
    int verticalFirst = 0;
    int horizontalSecond = 0;
    int verticalSecond = 0;
    friend constexpr bool operator==(const LayoutRecord&, const LayoutRecord&) = default;
};

// The far edge (right or bottom) of the control being placed. Anchor -1: clientFarEdge - offset;
// anchor -2: computedEdge (its left or top on this axis) + offset. axis: 0 horizontal, else vertical;
// the dialog is not consulted, it names whose client area is meant.
void AnchorEdge(const CWnd* dialog, int axis, int computedEdge, int anchor, int offset, int clientFarEdge,
                int* farEdge);

// The pure halves of the procedure: what a control's rectangle records, and where a record places it,
// both against a client rectangle whose left and top are 0.
LayoutRecord RecordLayout(const LayoutEntry& entry, const CRect& control, const CRect& client);
CRect PlaceLayout(const LayoutEntry& entry, const LayoutRecord& record, const CRect& client);

// flag non-zero: record every listed control of `dialog` into `records` (same order as `table`);
// flag 0: move every listed control to its place for the present client size. Both passes end with
// one full repaint of the dialog. A listed id the dialog does not hold is skipped (its record stays).
void LayoutControls(CWnd& dialog, std::span<const LayoutEntry> table, std::span<LayoutRecord> records,
                    int flag);
