#include "framework/ui/ProgressCtrl.h"

#include "framework/ui/Gdi.h"
#include "framework/ui/WndInternal.h"

#include <QProgressBar>

namespace {
QProgressBar* Bar(const CWnd* w) {
    return qobject_cast<QProgressBar*>(w->GetWidget());
}
} // namespace

void CProgressCtrl::CreateWidget(CWnd* wrapper, DWORD style, DWORD exStyle, const CRect& rect, CWnd* parent,
                                 int id) {
    auto* bar = new QProgressBar(parent ? parent->GetWidget() : nullptr);
    bar->setTextVisible(false);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setOrientation((style & PBS_VERTICAL) ? Qt::Vertical : Qt::Horizontal);
    bar->setProperty("kelo_step", 10);
    bar->setGeometry(rect.left, rect.top, std::max(0, rect.Width()), std::max(0, rect.Height()));
    wrapper->AttachWidget(bar, id, style, exStyle, true);
    WndBridge::Of(bar)->procedure = [bar](UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
        switch (message) {
        case PBM_SETPOS:
            *result = bar->value();
            bar->setValue(std::clamp(static_cast<int>(wParam), bar->minimum(), bar->maximum()));
            return true;
        case PBM_GETPOS:
            *result = bar->value();
            return true;
        case PBM_SETRANGE:
            *result =
                MAKELPARAM(static_cast<unsigned>(bar->minimum()), static_cast<unsigned>(bar->maximum()));
            bar->setRange(LOWORD(lParam), HIWORD(lParam));
            return true;
        default:
            return false;
        }
    };
    ApplyInitialState(bar, style);
}

BOOL CProgressCtrl::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    if (!CanCreateWindow(this, parent))
        return FALSE;
    CreateWidget(this, style, 0, rect, parent, static_cast<int>(id));
    return TRUE;
}

void CProgressCtrl::SetRange32(int lower, int upper) {
    if (QProgressBar* bar = Bar(this)) {
        // A bar with an empty range shows nothing, as the platform's does.
        bar->setRange(lower, std::max(lower, upper));
        bar->setValue(std::clamp(bar->value(), bar->minimum(), bar->maximum()));
    }
}

void CProgressCtrl::GetRange(int& lower, int& upper) const {
    QProgressBar* bar = Bar(this);
    lower = bar ? bar->minimum() : 0;
    upper = bar ? bar->maximum() : 0;
}

int CProgressCtrl::SetPos(int pos) {
    return static_cast<int>(DefWindowProc(PBM_SETPOS, static_cast<WPARAM>(pos), 0));
}

int CProgressCtrl::GetPos() const {
    QProgressBar* bar = Bar(this);
    return bar ? bar->value() : 0;
}

int CProgressCtrl::OffsetPos(int delta) {
    QProgressBar* bar = Bar(this);
    if (!bar)
        return 0;
    const int old = bar->value();
    bar->setValue(static_cast<int>(
        std::clamp<long long>(static_cast<long long>(old) + delta, bar->minimum(), bar->maximum())));
    return old;
}

int CProgressCtrl::SetStep(int step) {
    QProgressBar* bar = Bar(this);
    if (!bar)
        return 0;
    const int old = bar->property("kelo_step").toInt();
    bar->setProperty("kelo_step", step);
    return old;
}

int CProgressCtrl::StepIt() {
    QProgressBar* bar = Bar(this);
    if (!bar)
        return 0;
    const int old = bar->value();
    long long next = static_cast<long long>(old) + bar->property("kelo_step").toInt();
    if (next > bar->maximum())
        next = bar->minimum() + (next - bar->maximum());
    if (next < bar->minimum())
        next = bar->maximum() - (bar->minimum() - next);
    bar->setValue(static_cast<int>(std::clamp<long long>(next, bar->minimum(), bar->maximum())));
    return old;
}

COLORREF CProgressCtrl::SetBarColor(COLORREF colour) {
    if (QProgressBar* bar = Bar(this)) {
        QPalette p = bar->palette();
        p.setColor(QPalette::Highlight, ToQColor(colour));
        bar->setPalette(p);
    }
    return colour;
}

COLORREF CProgressCtrl::SetBkColor(COLORREF colour) {
    if (QProgressBar* bar = Bar(this)) {
        QPalette p = bar->palette();
        p.setColor(QPalette::Base, ToQColor(colour));
        p.setColor(QPalette::Window, ToQColor(colour));
        bar->setPalette(p);
    }
    return colour;
}
