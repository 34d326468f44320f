#include "framework/ui/ListBox.h"

#include "framework/ui/WndInternal.h"

#include <QListWidget>
#include <QScrollBar>

namespace {

constexpr int kDataRole = Qt::UserRole + 1;

struct ListState : QObject {
    int programmatic = 0;
    int extent = 0;
};

QListWidget* List(const CWnd* w) {
    return qobject_cast<QListWidget*>(w->GetWidget());
}

void Notify(QWidget* widget, UINT code) {
    CWnd* w = CWnd::FromWidget(widget);
    if (w && (w->GetStyle() & LBS_NOTIFY))
        w->NotifyParent(code);
}

// Keeps the scrollable width at the extent the owner set, so long lines can be scrolled to.
void ApplyExtent(QListWidget* list, int extent) {
    const int visible = list->viewport()->width();
    QScrollBar* bar = list->horizontalScrollBar();
    if (extent > visible) {
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        bar->setRange(0, extent - visible);
    } else {
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
}

} // namespace

void CListBox::CreateWidget(CWnd* wrapper, DWORD style, DWORD exStyle, const CRect& rect, CWnd* parent,
                            int id) {
    auto* list = new QListWidget(parent ? parent->GetWidget() : nullptr);
    auto* state = AttachState(list, new ListState);
    list->setGeometry(rect.left, rect.top, std::max(0, rect.Width()), std::max(0, rect.Height()));
    list->setSelectionMode((style & LBS_EXTENDEDSEL)   ? QAbstractItemView::ExtendedSelection
                           : (style & LBS_MULTIPLESEL) ? QAbstractItemView::MultiSelection
                           : (style & LBS_NOSEL)       ? QAbstractItemView::NoSelection
                                                       : QAbstractItemView::SingleSelection);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setUniformItemSizes(true);
    QObject::connect(list, &QListWidget::itemSelectionChanged, list, [list, state] {
        if (!state->programmatic)
            Notify(list, LBN_SELCHANGE);
    });
    QObject::connect(list, &QListWidget::itemDoubleClicked, list,
                     [list](QListWidgetItem*) { Notify(list, LBN_DBLCLK); });
    wrapper->AttachWidget(list, id, style, exStyle, true);
    WndBridge* bridge = WndBridge::Of(list);
    bridge->WatchViewport(list->viewport());
    bridge->ctlColorKind = CTLCOLOR_LISTBOX;
    bridge->notifiesFocus = true;
    bridge->setFocusCode = LBN_SETFOCUS;
    bridge->killFocusCode = LBN_KILLFOCUS;
    bridge->procedure = [list, state](UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
        switch (message) {
        case LB_GETCURSEL:
            *result = list->currentRow() >= 0 && list->item(list->currentRow())->isSelected()
                          ? list->currentRow()
                          : LB_ERR;
            return true;
        case LB_SETCURSEL: {
            const int index = static_cast<int>(wParam);
            ++state->programmatic;
            list->clearSelection();
            if (index >= 0 && index < list->count()) {
                list->setCurrentRow(index);
                list->item(index)->setSelected(true);
                list->scrollToItem(list->item(index));
                *result = index;
            } else {
                list->setCurrentRow(-1);
                *result = LB_ERR;
            }
            --state->programmatic;
            return true;
        }
        case LB_GETCOUNT:
            *result = list->count();
            return true;
        default:
            return false;
        }
    };
    ApplyInitialState(list, style);
}

BOOL CListBox::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    if (!CanCreateWindow(this, parent))
        return FALSE;
    CreateWidget(this, style, 0, rect, parent, static_cast<int>(id));
    return TRUE;
}

int CListBox::AddString(const std::string& text) {
    QListWidget* list = List(this);
    if (!list)
        return LB_ERR;
    const int index = (GetStyle() & LBS_SORT)
                          ? SortedListPosition(
                                list->count(), [list](int i) { return list->item(i)->text(); },
                                QString::fromStdString(text))
                          : list->count();
    return InsertString(index, text);
}

int CListBox::InsertString(int index, const std::string& text) {
    QListWidget* list = List(this);
    if (!list || index > list->count())
        return LB_ERR;
    if (index < 0)
        index = list->count();
    ListState* state = StateOf<ListState>(list);
    ++state->programmatic;
    auto* item = new QListWidgetItem(QString::fromStdString(text));
    item->setData(kDataRole, QVariant::fromValue<qulonglong>(0));
    list->insertItem(index, item);
    --state->programmatic;
    return index;
}

int CListBox::DeleteString(int index) {
    QListWidget* list = List(this);
    if (!list || index < 0 || index >= list->count())
        return LB_ERR;
    ListState* state = StateOf<ListState>(list);
    ++state->programmatic;
    delete list->takeItem(index);
    --state->programmatic;
    return list->count();
}

void CListBox::ResetContent() {
    if (QListWidget* list = List(this)) {
        ListState* state = StateOf<ListState>(list);
        ++state->programmatic;
        list->clear();
        --state->programmatic;
    }
}

int CListBox::GetCount() const {
    QListWidget* list = List(this);
    return list ? list->count() : LB_ERR;
}

int CListBox::GetCurSel() const {
    return static_cast<int>(const_cast<CListBox*>(this)->DefWindowProc(LB_GETCURSEL, 0, 0));
}

int CListBox::SetCurSel(int index) {
    return static_cast<int>(DefWindowProc(LB_SETCURSEL, static_cast<WPARAM>(index), 0));
}

int CListBox::GetText(int index, std::string& text) const {
    QListWidget* list = List(this);
    if (!list || index < 0 || index >= list->count())
        return LB_ERR;
    text = list->item(index)->text().toStdString();
    return static_cast<int>(text.size());
}

std::string CListBox::GetText(int index) const {
    std::string text;
    GetText(index, text);
    return text;
}

int CListBox::GetTextLen(int index) const {
    std::string text;
    return GetText(index, text);
}

int CListBox::FindString(int startAfter, const std::string& prefix) const {
    QListWidget* list = List(this);
    const QString p = QString::fromStdString(prefix);
    return list
               ? FindListItem(list->count(), startAfter,
                              [&](int i) { return list->item(i)->text().startsWith(p, Qt::CaseInsensitive); })
               : LB_ERR;
}

int CListBox::FindStringExact(int startAfter, const std::string& text) const {
    QListWidget* list = List(this);
    const QString p = QString::fromStdString(text);
    return list
               ? FindListItem(list->count(), startAfter,
                              [&](int i) {
                                  return QString::compare(list->item(i)->text(), p, Qt::CaseInsensitive) == 0;
                              })
               : LB_ERR;
}

int CListBox::SelectString(int startAfter, const std::string& prefix) {
    const int index = FindString(startAfter, prefix);
    if (index != LB_ERR)
        SetCurSel(index);
    return index;
}

int CListBox::SetItemData(int index, DWORD_PTR data) {
    QListWidget* list = List(this);
    if (!list || index < 0 || index >= list->count())
        return LB_ERR;
    list->item(index)->setData(kDataRole, QVariant::fromValue<qulonglong>(data));
    return 0;
}

DWORD_PTR CListBox::GetItemData(int index) const {
    QListWidget* list = List(this);
    if (!list || index < 0 || index >= list->count())
        return static_cast<DWORD_PTR>(LB_ERR);
    return static_cast<DWORD_PTR>(list->item(index)->data(kDataRole).value<qulonglong>());
}

int CListBox::GetSel(int index) const {
    QListWidget* list = List(this);
    if (!list || index < 0 || index >= list->count())
        return LB_ERR;
    return list->item(index)->isSelected() ? 1 : 0;
}

int CListBox::SetSel(int index, BOOL select) {
    QListWidget* list = List(this);
    if (!list || index >= list->count())
        return LB_ERR;
    ListState* state = StateOf<ListState>(list);
    ++state->programmatic;
    if (index < 0) {
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setSelected(select);
    } else {
        list->item(index)->setSelected(select);
    }
    --state->programmatic;
    return 0;
}

int CListBox::GetSelCount() const {
    QListWidget* list = List(this);
    return list ? static_cast<int>(list->selectedItems().size()) : LB_ERR;
}

int CListBox::GetSelItems(int maxItems, int* items) const {
    QListWidget* list = List(this);
    if (!list)
        return LB_ERR;
    int n = 0;
    for (int i = 0; i < list->count() && n < maxItems; ++i)
        if (list->item(i)->isSelected())
            items[n++] = i;
    return n;
}

int CListBox::GetTopIndex() const {
    QListWidget* list = List(this);
    if (!list)
        return LB_ERR;
    QListWidgetItem* top = list->itemAt(2, 2);
    return top ? list->row(top) : 0;
}

int CListBox::SetTopIndex(int index) {
    QListWidget* list = List(this);
    if (!list || index < 0 || index >= list->count())
        return LB_ERR;
    list->scrollToItem(list->item(index), QAbstractItemView::PositionAtTop);
    return 0;
}

void CListBox::SetHorizontalExtent(int extent) {
    QListWidget* list = List(this);
    if (!list)
        return;
    StateOf<ListState>(list)->extent = std::max(0, extent);
    ApplyExtent(list, StateOf<ListState>(list)->extent);
}

int CListBox::GetHorizontalExtent() const {
    QListWidget* list = List(this);
    return list ? StateOf<ListState>(list)->extent : 0;
}
