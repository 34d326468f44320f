#include "controls/DialogScrollHelper.h"

#include "framework/ui/Wnd.h"

#include <QApplication>
#include <QStyle>

void DialogScrollHelper::SetDisplaySize(int width, int height) {
    h_.display = width;
    v_.display = height;
    if (wnd_ && wnd_->GetSafeHwnd())
        UpdateScrollInfo();
}

void DialogScrollHelper::OnHScroll(UINT code, UINT, CScrollBar*) {
    Scroll(SB_HORZ, code);
}
void DialogScrollHelper::OnVScroll(UINT code, UINT, CScrollBar*) {
    Scroll(SB_VERT, code);
}
void DialogScrollHelper::OnSize(UINT, int, int) {
    UpdateScrollInfo();
}

void DialogScrollHelper::Scroll(int bar, UINT code) {
    if (!wnd_ || !wnd_->GetSafeHwnd())
        return;
    ScrollAxis& axis = bar == SB_HORZ ? h_ : v_;
    SCROLLINFO info;
    int track = axis.position;
    if (wnd_->GetScrollInfo(bar, &info, SIF_TRACKPOS))
        track = info.nTrackPos;
    const int step = ScrollStep(code, axis, track);
    if (step == 0)
        return;
    axis.position += step;
    wnd_->SetScrollPos(bar, axis.position, TRUE);
    if (bar == SB_HORZ)
        wnd_->ScrollWindow(-step, 0);
    else
        wnd_->ScrollWindow(0, -step);
}

void DialogScrollHelper::ScrollToOrigin(bool horizontal, bool vertical) {
    if (!wnd_ || !wnd_->GetSafeHwnd())
        return;
    auto back = [this](ScrollAxis& axis, int bar) {
        if (axis.display <= 0 || axis.page <= 0 || axis.position <= 0)
            return;
        const int old = axis.position;
        axis.position = 0;
        wnd_->SetScrollPos(bar, 0, TRUE);
        if (bar == SB_HORZ)
            wnd_->ScrollWindow(old, 0);
        else
            wnd_->ScrollWindow(0, old);
    };
    if (horizontal)
        back(h_, SB_HORZ);
    if (vertical)
        back(v_, SB_VERT);
}

void DialogScrollHelper::UpdateScrollInfo() {
    if (!wnd_ || !wnd_->GetSafeHwnd())
        return;
    CRect client;
    wnd_->GetClientRect(&client);
    CRect window;
    wnd_->GetWindowRect(&window);
    const int barExtent = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // The page is what the contents would have without bars.
    int pageWidth = client.Width();
    int pageHeight = client.Height();
    if (window.Width() - client.Width() >= barExtent)
        pageWidth += barExtent;
    if (window.Height() - client.Height() >= barExtent)
        pageHeight += barExtent;

    int move[2] = {0, 0};
    ScrollAxis* axes[2] = {&h_, &v_};
    const int pages[2] = {pageWidth, pageHeight};
    for (int bar : {SB_HORZ, SB_VERT}) {
        const ScrollAxisUpdate u = UpdateScrollAxis(*axes[bar], pages[bar], wnd_->GetScrollPos(bar));
        *axes[bar] = u.axis;
        move[bar] = u.move;
        SCROLLINFO info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = 0;
        info.nMax = u.rangeMax;
        info.nPage = static_cast<UINT>(u.axis.page);
        info.nPos = u.axis.position;
        wnd_->SetScrollInfo(bar, &info, TRUE);
    }
    if (move[0] != 0 || move[1] != 0)
        wnd_->ScrollWindow(move[0], move[1]);
}
