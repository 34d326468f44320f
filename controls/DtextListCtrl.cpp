#include "controls/DtextListCtrl.h"

#include "controls/DtextEditCell.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QMouseEvent>
#include <QWidget>
#include <utility>

// Passes left clicks on the cells to the list's parent instead of letting the list take them.
class ClickForwarder : public QObject {
public:
    ClickForwarder(CDtextListCtrl* list, QObject* parent) : QObject(parent), list_(list) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* viewport = qobject_cast<QWidget*>(watched);
        if (!viewport || !list_->GetWidget())
            return false;
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton)
                return false;
            const QPoint client = viewport->mapTo(list_->GetWidget(), mouse->position().toPoint());
            UINT flags = MK_LBUTTON;
            if (mouse->modifiers() & Qt::ShiftModifier)
                flags |= MK_SHIFT;
            if (mouse->modifiers() & Qt::ControlModifier)
                flags |= MK_CONTROL;
            list_->ForwardClick(flags, CPoint(client.x(), client.y()));
            return true;
        }
        if (event->type() == QEvent::Wheel)
            list_->SetFocus(); // ends any editing before the rows move
        return false;
    }

private:
    CDtextListCtrl* list_;
};

CDtextListCtrl::CDtextListCtrl(const std::string& name) : name_(name) {}

CDtextListCtrl::~CDtextListCtrl() {
    delete forwarder_.data(); // a deleted filter leaves its viewport's filter list by itself
    if (CDtextEditCell* editor = std::exchange(editor_, nullptr)) {
        editor->DetachList();
        editor->DestroyWindow();
    }
}

const MessageMap* CDtextListCtrl::GetMessageMap() const {
    static const MessageMap map(CListCtrl::GetMessageMap(),
                                {
                                    msg::NotifyReflect(LVN_ENDLABELEDIT, &CDtextListCtrl::OnEndLabelEdit),
                                    msg::HScroll(&CDtextListCtrl::OnHScroll),
                                    msg::VScroll(&CDtextListCtrl::OnVScroll),
                                    msg::MouseWheel(&CDtextListCtrl::OnMouseWheel),
                                    msg::Paint(&CDtextListCtrl::OnPaint),
                                });
    return &map;
}

bool CDtextListCtrl::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    if (!CListCtrl::Create(style, rect, parent, id))
        return false;
    AttachMouseForwarding();
    return true;
}

bool CDtextListCtrl::SubclassDlgItem(UINT id, CWnd* parent) {
    if (!CListCtrl::SubclassDlgItem(id, parent))
        return false;
    AttachMouseForwarding();
    return true;
}

void CDtextListCtrl::AttachMouseForwarding() {
    auto* area = qobject_cast<QAbstractScrollArea*>(GetWidget());
    if (!area || forwarder_)
        return;
    forwarder_ = new ClickForwarder(this, area->viewport());
    area->viewport()->installEventFilter(forwarder_);
}

// A list attached through data exchange gets its click forwarding when it first paints.
void CDtextListCtrl::OnPaint() {
    AttachMouseForwarding();
    Default();
}

void CDtextListCtrl::ForwardClick(UINT flags, CPoint point) {
    CWnd* parent = GetParent();
    if (!parent)
        return;
    forwarding_ = true;
    parent->SendMessage(WM_LBUTTONDOWN, flags,
                        MAKELPARAM(static_cast<unsigned>(point.x), static_cast<unsigned>(point.y)));
    forwarding_ = false;
}

int CDtextListCtrl::GetRowValue(int row) const {
    return row >= 0 && row < kRowValueCount ? rowValues_[static_cast<std::size_t>(row)] : 0;
}

void CDtextListCtrl::SetRowValue(int row, int value) {
    // The table holds ten rows; an editor over a further row changes no value.
    if (row >= 0 && row < kRowValueCount)
        rowValues_[static_cast<std::size_t>(row)] = value;
}

CDtextEditCell* CDtextListCtrl::EditSubItem(int item, int column) {
    if (column == 0 || !GetSafeHwnd())
        return nullptr;
    if (item < 0 || item >= GetItemCount() || !EnsureVisible(item, true))
        return nullptr;
    if (column < 0 || column >= GetColumnCount())
        return nullptr;
    const int width = GetColumnWidth(column);
    if (width <= 4)
        return nullptr;
    CRect rect;
    GetItemRect(item, &rect, LVIR_BOUNDS);
    int offset = 0;
    for (int c = 0; c < column; ++c)
        offset += GetColumnWidth(c);
    CRect client;
    GetClientRect(&client);
    if (offset + rect.left < 0 || offset + rect.left > client.right) {
        const int shift = offset + rect.left;
        Scroll(CSize(shift, 0));
        rect.left -= shift;
    }
    rect.left += offset;
    rect.right = rect.left + width;
    if (rect.right > client.right)
        rect.right = client.right;
    if (column == 3 && narrowColumn_)
        rect.right -= 18;

    LVCOLUMN info;
    info.mask = LVCF_FMT;
    GetColumn(column, &info);
    const int format = info.fmt & LVCFMT_JUSTIFYMASK;
    const DWORD align = format == LVCFMT_RIGHT ? ES_RIGHT : format == LVCFMT_CENTER ? ES_CENTER : ES_LEFT;

    auto* editor = new CDtextEditCell(this, item, column, GetItemText(item, column));
    if (!editor->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | align, rect, this,
                        kCellEditorId)) {
        delete editor;
        return nullptr;
    }
    if (cellTextLimit_ > 0)
        editor->LimitText(cellTextLimit_);
    // Taking the focus ends the editor that was open, which forgets itself first.
    editor->Start();
    editor_ = editor;
    return editor;
}

int CDtextListCtrl::HitTestEx(CPoint point, int* column) const {
    if (column)
        *column = 0;
    const int top = GetTopIndex();
    const int bottom = std::min(GetItemCount(), top + GetCountPerPage() + 1);
    for (int item = top; item < bottom; ++item) {
        CRect rect;
        if (!GetItemRect(item, &rect, LVIR_BOUNDS))
            continue;
        if (point.y < rect.top || point.y >= rect.bottom)
            continue;
        int left = rect.left;
        for (int c = 0; c < GetColumnCount(); ++c) {
            const int width = GetColumnWidth(c);
            if (point.x >= left && point.x <= left + width) {
                if (column)
                    *column = c;
                return item;
            }
            left += width;
        }
    }
    return -1;
}

void CDtextListCtrl::OnEndLabelEdit(NMHDR* header, LRESULT* result) {
    auto* info = reinterpret_cast<NMLVDISPINFO*>(header);
    *result = 0;
    if (info->item.pszText) {
        const int item = info->item.iItem;
        const int subItem = info->item.iSubItem;
        SetItemText(item, subItem, info->item.pszText);
        if (GetItemText(item, subItem).empty())
            if (CWnd* parent = GetParent())
                parent->SendMessage(WM_CELL_TEXT_CLEARED, static_cast<WPARAM>(item), subItem);
    }
}

void CDtextListCtrl::OnHScroll(UINT, UINT, CScrollBar*) {
    SetFocus();
    Default();
}

void CDtextListCtrl::OnVScroll(UINT code, UINT position, CScrollBar*) {
    SetFocus();
    if (GetItemCount() > 0)
        RedrawItems(0, GetItemCount() - 1);
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_VSCROLL, MAKEWPARAM(code, position), 0);
    Default();
}

BOOL CDtextListCtrl::OnMouseWheel(UINT, short, CPoint) {
    SetFocus();
    return static_cast<BOOL>(Default());
}
