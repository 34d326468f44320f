#include "layout/LayoutControls.h"

#include "framework/ui/Wnd.h"

#include <cstddef>

namespace {
constexpr int kAnchorClientEdge = -1;
constexpr int kAnchorNearEdge = -2;

struct AxisRecord {
    int first;
    int second;
};

AxisRecord RecordAxis(AxisMode mode, int nearEdge, int farEdge, int clientFarEdge) {
    switch (mode) {
    case AxisMode::Fixed:
        return {nearEdge, farEdge - nearEdge};
    case AxisMode::Move:
        return {farEdge - nearEdge, clientFarEdge - farEdge};
    case AxisMode::Stretch:
        return {nearEdge, clientFarEdge - farEdge};
    }
    return {0, 0};
}

// Gives the near and far edge of one axis.
void PlaceAxis(AxisMode mode, int axis, AxisRecord record, int clientFarEdge, int* nearEdge, int* farEdge) {
    switch (mode) {
    case AxisMode::Fixed:
        *nearEdge = record.first;
        AnchorEdge(nullptr, axis, *nearEdge, kAnchorNearEdge, record.second, clientFarEdge, farEdge);
        return;
    case AxisMode::Move:
        AnchorEdge(nullptr, axis, 0, kAnchorClientEdge, record.second, clientFarEdge, farEdge);
        *nearEdge = *farEdge - record.first;
        return;
    case AxisMode::Stretch:
        *nearEdge = record.first;
        AnchorEdge(nullptr, axis, *nearEdge, kAnchorClientEdge, record.second, clientFarEdge, farEdge);
        return;
    }
}

void RepaintWhole(CWnd& dialog) {
    dialog.InvalidateRect(nullptr, TRUE);
    dialog.UpdateWindow();
}
} // namespace

void AnchorEdge(const CWnd*, int, int computedEdge, int anchor, int offset, int clientFarEdge, int* farEdge) {
    if (anchor == kAnchorClientEdge)
        *farEdge = clientFarEdge - offset;
    else if (anchor == kAnchorNearEdge)
        *farEdge = computedEdge + offset;
}

LayoutRecord RecordLayout(const LayoutEntry& entry, const CRect& control, const CRect& client) {
    const AxisRecord h = RecordAxis(entry.horizontal, control.left, control.right, client.right);
    const AxisRecord v = RecordAxis(entry.vertical, control.top, control.bottom, client.bottom);
    return {h.first, v.first, h.second, v.second};
}

CRect PlaceLayout(const LayoutEntry& entry, const LayoutRecord& record, const CRect& client) {
    CRect placed;
    PlaceAxis(entry.horizontal, 0, {record.horizontalFirst, record.horizontalSecond}, client.right,
              &placed.left, &placed.right);
    PlaceAxis(entry.vertical, 1, {record.verticalFirst, record.verticalSecond}, client.bottom, &placed.top,
              &placed.bottom);
    return placed;
}

void LayoutControls(CWnd& dialog, std::span<const LayoutEntry> table, std::span<LayoutRecord> records,
                    int flag) {
    CRect client;
    dialog.GetClientRect(&client);
    const std::size_t count = std::min(table.size(), records.size());
    for (std::size_t i = 0; i < count; ++i) {
        CWnd* control = dialog.GetDlgItem(table[i].controlId);
        if (control == nullptr)
            continue; // a template without this control: nothing to measure or move
        if (flag != 0) {
            CRect rect;
            control->GetWindowRect(&rect);
            dialog.ScreenToClient(&rect);
            records[i] = RecordLayout(table[i], rect, client);
        } else {
            const CRect placed = PlaceLayout(table[i], records[i], client);
            control->MoveWindow(placed.left, placed.top, placed.right - placed.left,
                                placed.bottom - placed.top, FALSE);
        }
    }
    RepaintWhole(dialog);
}
