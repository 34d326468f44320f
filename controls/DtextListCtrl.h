#pragma once
// CDtextListCtrl: a report list whose cells are edited in place by a CDtextEditCell laid over the cell
// (hexadecimal digits, arrow keys move between rows). It keeps ten 16-bit row values that the editor
// updates when the value column (2) is edited, and passes mouse clicks to its parent, which chooses
// the cell to edit with HitTestEx and EditSubItem.
#include "framework/ui/ListCtrl.h"

#include <QPointer>

#include <array>
#include <memory>
#include <string>

class CDtextEditCell;
class QObject;

// Sent (not posted) to the list's parent when an edited cell was left empty: wParam item, lParam
// sub-item.
inline constexpr UINT WM_CELL_TEXT_CLEARED = WM_USER + 60;
// Control id of the cell editor.
inline constexpr UINT kCellEditorId = 1008;
inline constexpr int kRowValueCount = 10;

class CDtextListCtrl : public CListCtrl {
public:
    explicit CDtextListCtrl(const std::string& name = {});
    ~CDtextListCtrl() override;
    const MessageMap* GetMessageMap() const override;

    // Opens an editor over the cell; nullptr for column 0, an item that cannot be shown, a column
    // that does not exist or one 4 pixels wide or narrower.
    CDtextEditCell* EditSubItem(int item, int column);
    // The item under a point (client coordinates) and its column; -1 when none.
    int HitTestEx(CPoint point, int* column) const;

    CDtextEditCell* CurrentEditor() const { return editor_; }
    void ForgetEditor(const CDtextEditCell* editor) {
        if (editor_ == editor)
            editor_ = nullptr;
    }
    // True while a mouse click is being passed on to the parent.
    bool IsForwardingClick() const { return forwarding_; }

    // When set, an editor over column 3 is 18 pixels narrower than the column.
    void SetNarrowColumn(int narrow) { narrowColumn_ = narrow; }
    int NarrowColumn() const { return narrowColumn_; }
    // The most characters an editor takes (0: no limit). Set on the editor as it is created, before
    // it selects its text: setting it later would leave the caret at the end with nothing selected.
    void SetCellTextLimit(UINT chars) { cellTextLimit_ = chars; }

    // Row values (0 for rows beyond the table).
    int GetRowValue(int row) const;
    void SetRowValue(int row, int value);
    const std::string& Name() const { return name_; }

    // Creation and subclassing also install the click forwarding.
    bool Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    bool SubclassDlgItem(UINT id, CWnd* parent);
    void AttachMouseForwarding();

protected:
    void OnEndLabelEdit(NMHDR* header, LRESULT* result);
    void OnPaint();
    void OnHScroll(UINT code, UINT position, CScrollBar* bar);
    void OnVScroll(UINT code, UINT position, CScrollBar* bar);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);

private:
    friend class ClickForwarder;
    void ForwardClick(UINT flags, CPoint point);
    std::string name_;
    CDtextEditCell* editor_ = nullptr;
    bool forwarding_ = false;
    int narrowColumn_ = 0;
    UINT cellTextLimit_ = 0;
    std::array<int, kRowValueCount> rowValues_{};
    // Owned by the viewport, which may go first; the list removes it when it goes itself, since the
    // filter points back at the list.
    QPointer<QObject> forwarder_;
};
