#include "framework/ui/TabCtrl.h"

#include "framework/ui/WndInternal.h"

#include <QFrame>
#include <QMouseEvent>
#include <QPointer>
#include <QTabBar>

namespace {

constexpr int kParamRole = Qt::UserRole + 1;

struct TabState : QObject {
    int programmatic = 0;
    QTabBar* bar = nullptr;
    QFrame* panel = nullptr;
};

// The tab strip asks the owner before a click changes the tab.
class ClickGuard : public QObject {
public:
    ClickGuard(QWidget* tab, QTabBar* bar) : QObject(bar), tab_(tab), bar_(bar) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonPress)
            return false;
        const int index = bar_->tabAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (index < 0 || index == bar_->currentIndex())
            return false;
        CWnd* w = CWnd::FromWidget(tab_);
        if (!w)
            return false;
        NMHDR header;
        header.code = TCN_SELCHANGING;
        return w->NotifyParent(&header) != 0;
    }

private:
    QWidget* tab_;
    QTabBar* bar_;
};

void Place(QWidget* tab, TabState* s) {
    const int barHeight = s->bar->sizeHint().height();
    s->bar->setGeometry(0, 0, tab->width(), barHeight);
    s->panel->setGeometry(0, barHeight - 1, tab->width(), std::max(0, tab->height() - barHeight + 1));
}

class Resizer : public QObject {
public:
    Resizer(QWidget* tab, TabState* s) : QObject(tab), tab_(tab), s_(s) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize)
            Place(tab_, s_);
        return false;
    }

private:
    QWidget* tab_;
    TabState* s_;
};

} // namespace

void CTabCtrl::CreateWidget(CWnd* wrapper, DWORD style, DWORD exStyle, const CRect& rect, CWnd* parent,
                            int id) {
    auto* tab = new QWidget(parent ? parent->GetWidget() : nullptr);
    auto* state = AttachState(tab, new TabState);
    state->panel = new QFrame(tab);
    state->panel->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    state->bar = new QTabBar(tab);
    state->bar->setDrawBase(false);
    state->bar->setExpanding(false);
    state->bar->setUsesScrollButtons(!(style & TCS_MULTILINE));
    state->bar->installEventFilter(new ClickGuard(tab, state->bar));
    tab->installEventFilter(new Resizer(tab, state));
    QObject::connect(state->bar, &QTabBar::currentChanged, tab, [tab, state](int) {
        if (state->programmatic)
            return;
        if (CWnd* w = CWnd::FromWidget(tab)) {
            NMHDR header;
            header.code = TCN_SELCHANGE;
            w->NotifyParent(&header);
        }
    });
    tab->setGeometry(rect.left, rect.top, std::max(0, rect.Width()), std::max(0, rect.Height()));
    Place(tab, state);
    wrapper->AttachWidget(tab, id, style, exStyle, true);
    ApplyInitialState(tab, style);
}

BOOL CTabCtrl::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    if (!CanCreateWindow(this, parent))
        return FALSE;
    CreateWidget(this, style, 0, rect, parent, static_cast<int>(id));
    return TRUE;
}

int CTabCtrl::InsertItem(int index, const std::string& text) {
    TCITEM item;
    item.mask = TCIF_TEXT;
    item.pszText = text;
    return InsertItem(index, &item);
}

int CTabCtrl::InsertItem(int index, const TCITEM* item) {
    TabState* s = StateOf<TabState>(GetWidget());
    if (!s || !item || index < 0)
        return -1;
    index = std::min(index, s->bar->count());
    ++s->programmatic;
    const int at = s->bar->insertTab(index, (item->mask & TCIF_TEXT) ? QString::fromStdString(item->pszText)
                                                                     : QString());
    s->bar->setTabData(at, QVariant::fromValue<qlonglong>((item->mask & TCIF_PARAM) ? item->lParam : 0));
    --s->programmatic;
    Place(GetWidget(), s);
    return at;
}

BOOL CTabCtrl::DeleteItem(int index) {
    TabState* s = StateOf<TabState>(GetWidget());
    if (!s || index < 0 || index >= s->bar->count())
        return FALSE;
    ++s->programmatic;
    s->bar->removeTab(index);
    --s->programmatic;
    return TRUE;
}

BOOL CTabCtrl::DeleteAllItems() {
    TabState* s = StateOf<TabState>(GetWidget());
    if (!s)
        return FALSE;
    ++s->programmatic;
    while (s->bar->count() > 0)
        s->bar->removeTab(0);
    --s->programmatic;
    return TRUE;
}

int CTabCtrl::GetItemCount() const {
    TabState* s = StateOf<TabState>(GetWidget());
    return s ? s->bar->count() : 0;
}

int CTabCtrl::GetCurSel() const {
    TabState* s = StateOf<TabState>(GetWidget());
    return s ? s->bar->currentIndex() : -1;
}

int CTabCtrl::SetCurSel(int index) {
    TabState* s = StateOf<TabState>(GetWidget());
    if (!s || index < 0 || index >= s->bar->count())
        return -1;
    const int old = s->bar->currentIndex();
    ++s->programmatic;
    s->bar->setCurrentIndex(index);
    --s->programmatic;
    return old;
}

BOOL CTabCtrl::GetItem(int index, TCITEM* item) const {
    TabState* s = StateOf<TabState>(GetWidget());
    if (!s || !item || index < 0 || index >= s->bar->count())
        return FALSE;
    if (item->mask & TCIF_TEXT)
        item->pszText = s->bar->tabText(index).toStdString();
    if (item->mask & TCIF_PARAM)
        item->lParam = static_cast<LPARAM>(s->bar->tabData(index).value<qlonglong>());
    return TRUE;
}

BOOL CTabCtrl::SetItem(int index, const TCITEM* item) {
    TabState* s = StateOf<TabState>(GetWidget());
    if (!s || !item || index < 0 || index >= s->bar->count())
        return FALSE;
    if (item->mask & TCIF_TEXT)
        s->bar->setTabText(index, QString::fromStdString(item->pszText));
    if (item->mask & TCIF_PARAM)
        s->bar->setTabData(index, QVariant::fromValue<qlonglong>(item->lParam));
    return TRUE;
}

BOOL CTabCtrl::GetItemRect(int index, CRect* rect) const {
    TabState* s = StateOf<TabState>(GetWidget());
    if (!s || !rect || index < 0 || index >= s->bar->count())
        return FALSE;
    const QRect r = s->bar->tabRect(index).translated(s->bar->pos());
    *rect = CRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
    return TRUE;
}

void CTabCtrl::AdjustRect(BOOL larger, CRect* rect) const {
    TabState* s = StateOf<TabState>(GetWidget());
    if (!s || !rect)
        return;
    const int top = s->bar->sizeHint().height() + 2;
    constexpr int edge = 4;
    if (larger) {
        rect->left -= edge, rect->right += edge, rect->top -= top, rect->bottom += edge;
    } else {
        rect->left += edge, rect->right -= edge, rect->top += top, rect->bottom -= edge;
    }
}
