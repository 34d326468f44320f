#include "framework/ui/ScrollBar.h"

#include "framework/ui/WndInternal.h"

#include <QScrollBar>

namespace {
QScrollBar* Bar(const CWnd* w) {
    return qobject_cast<QScrollBar*>(w->GetWidget());
}
} // namespace

void CScrollBar::CreateWidget(CWnd* wrapper, DWORD style, DWORD exStyle, const CRect& rect, CWnd* parent,
                              int id) {
    auto* bar = new QScrollBar((style & SBS_VERT) ? Qt::Vertical : Qt::Horizontal,
                               parent ? parent->GetWidget() : nullptr);
    bar->setRange(0, 0);
    bar->setPageStep(0);
    bar->setGeometry(rect.left, rect.top, std::max(0, rect.Width()), std::max(0, rect.Height()));
    wrapper->AttachWidget(bar, id, style, exStyle, true);
    ForwardScrollActions(bar, [bar](UINT code, int pos) {
        CWnd* w = CWnd::FromWidget(bar);
        CWnd* parentWnd = w ? w->GetParent() : nullptr;
        if (!parentWnd)
            return;
        const UINT message = (w->GetStyle() & SBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
        parentWnd->SendMessage(message, MAKEWPARAM(code, static_cast<unsigned>(pos)),
                               reinterpret_cast<LPARAM>(w->m_hWnd));
    });
    WndBridge::Of(bar)->ctlColorKind = CTLCOLOR_SCROLLBAR;
    ApplyInitialState(bar, style);
}

BOOL CScrollBar::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    if (!CanCreateWindow(this, parent))
        return FALSE;
    CreateWidget(this, style, 0, rect, parent, static_cast<int>(id));
    return TRUE;
}

int CScrollBar::GetScrollPos() const {
    QScrollBar* bar = Bar(this);
    return bar ? bar->value() : 0;
}

int CScrollBar::SetScrollPos(int pos, BOOL) {
    QScrollBar* bar = Bar(this);
    if (!bar)
        return 0;
    const int old = bar->value();
    const QSignalBlocker block(bar);
    bar->setValue(pos);
    return old;
}

void CScrollBar::GetScrollRange(int* minPos, int* maxPos) const {
    SCROLLINFO info;
    GetScrollInfo(&info);
    *minPos = info.nMin;
    *maxPos = info.nMax;
}

void CScrollBar::SetScrollRange(int minPos, int maxPos, BOOL redraw) {
    SCROLLINFO info;
    info.fMask = SIF_RANGE;
    info.nMin = minPos;
    info.nMax = maxPos;
    SetScrollInfo(&info, redraw);
}

BOOL CScrollBar::SetScrollInfo(SCROLLINFO* info, BOOL) {
    QScrollBar* bar = Bar(this);
    if (!bar || !info)
        return FALSE;
    const QSignalBlocker block(bar);
    // The platform's range includes the page: the highest position is nMax - nPage + 1.
    int minPos = bar->minimum();
    int maxPos = bar->maximum() + std::max(0, bar->pageStep() - 1);
    if (info->fMask & SIF_RANGE)
        minPos = info->nMin, maxPos = info->nMax;
    if (info->fMask & SIF_PAGE)
        bar->setPageStep(static_cast<int>(info->nPage));
    bar->setRange(minPos, std::max(minPos, maxPos - std::max(0, bar->pageStep() - 1)));
    if (info->fMask & SIF_POS)
        bar->setValue(info->nPos);
    bar->setProperty("kelo_max", maxPos);
    return TRUE;
}

BOOL CScrollBar::GetScrollInfo(SCROLLINFO* info, UINT mask) const {
    QScrollBar* bar = Bar(this);
    if (!bar || !info)
        return FALSE;
    info->fMask = mask;
    info->nMin = bar->minimum();
    const QVariant max = bar->property("kelo_max");
    info->nMax = max.isValid() ? max.toInt() : bar->maximum();
    info->nPage = static_cast<UINT>(bar->pageStep());
    info->nPos = bar->value();
    info->nTrackPos = bar->sliderPosition();
    return TRUE;
}

int CScrollBar::GetScrollLimit() const {
    QScrollBar* bar = Bar(this);
    return bar ? bar->maximum() : 0;
}

BOOL CScrollBar::EnableScrollBar(UINT arrows) {
    QScrollBar* bar = Bar(this);
    if (!bar)
        return FALSE;
    bar->setEnabled(arrows != 3 /* both arrows disabled */);
    return TRUE;
}
