#include "framework/ui/SliderCtrl.h"

#include "framework/ui/WndInternal.h"

#include <QPointer>
#include <QSlider>

namespace {

QSlider* Slider(const CWnd* w) {
    return qobject_cast<QSlider*>(w->GetWidget());
}

struct SliderState : QObject {
    int programmatic = 0;
    UINT code = TB_THUMBTRACK;
};

void SendScroll(QSlider* slider, UINT code, int pos) {
    CWnd* w = CWnd::FromWidget(slider);
    CWnd* parent = w ? w->GetParent() : nullptr;
    if (!parent)
        return;
    const UINT message = (w->GetStyle() & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
    parent->SendMessage(message, MAKEWPARAM(code, static_cast<unsigned>(pos)),
                        reinterpret_cast<LPARAM>(w->m_hWnd));
}

} // namespace

void CSliderCtrl::CreateWidget(CWnd* wrapper, DWORD style, DWORD exStyle, const CRect& rect, CWnd* parent,
                               int id) {
    const bool vertical = style & TBS_VERT;
    auto* slider =
        new QSlider(vertical ? Qt::Vertical : Qt::Horizontal, parent ? parent->GetWidget() : nullptr);
    auto* state = AttachState(slider, new SliderState);
    slider->setRange(0, 100);
    slider->setPageStep(20);
    slider->setSingleStep(1);
    // The platform's vertical trackbar has its minimum at the top.
    if (vertical) {
        slider->setInvertedAppearance(true);
        slider->setInvertedControls(true);
    }
    if (style & TBS_NOTICKS)
        slider->setTickPosition(QSlider::NoTicks);
    else if (style & TBS_BOTH)
        slider->setTickPosition(QSlider::TicksBothSides);
    else if (style & TBS_AUTOTICKS)
        slider->setTickPosition((style & TBS_TOP) ? QSlider::TicksAbove : QSlider::TicksBelow);
    slider->setGeometry(rect.left, rect.top, std::max(0, rect.Width()), std::max(0, rect.Height()));
    QObject::connect(slider, &QAbstractSlider::actionTriggered, slider,
                     [state](int action) { state->code = ScrollCodeOfAction(action); });
    QObject::connect(slider, &QAbstractSlider::valueChanged, slider, [slider, state](int value) {
        if (state->programmatic)
            return;
        const UINT code = slider->isSliderDown() ? TB_THUMBTRACK : state->code;
        const QPointer<QSlider> guard(slider);
        SendScroll(slider, code, value);
        // A step, page or jump is over at once; a drag ends when the thumb is released.
        if (guard && !slider->isSliderDown())
            SendScroll(slider, TB_ENDTRACK, value);
    });
    QObject::connect(slider, &QAbstractSlider::sliderReleased, slider, [slider] {
        const QPointer<QSlider> guard(slider);
        SendScroll(slider, TB_THUMBPOSITION, slider->value());
        if (guard)
            SendScroll(slider, TB_ENDTRACK, slider->value());
    });
    wrapper->AttachWidget(slider, id, style, exStyle, true);
    WndBridge::Of(slider)->procedure = [slider, state](UINT message, WPARAM wParam, LPARAM lParam,
                                                       LRESULT* result) {
        switch (message) {
        case TBM_GETPOS:
            *result = slider->value();
            return true;
        case TBM_SETPOS:
            ++state->programmatic;
            slider->setValue(static_cast<int>(lParam));
            --state->programmatic;
            (void)wParam;
            *result = 0;
            return true;
        default:
            return false;
        }
    };
    ApplyInitialState(slider, style);
}

BOOL CSliderCtrl::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    if (!CanCreateWindow(this, parent))
        return FALSE;
    CreateWidget(this, style, 0, rect, parent, static_cast<int>(id));
    return TRUE;
}

void CSliderCtrl::SetRange(int minPos, int maxPos, BOOL) {
    if (QSlider* s = Slider(this)) {
        ++StateOf<SliderState>(s)->programmatic;
        s->setRange(minPos, std::max(minPos, maxPos));
        --StateOf<SliderState>(s)->programmatic;
    }
}

void CSliderCtrl::SetRangeMin(int minPos, BOOL redraw) {
    SetRange(minPos, GetRangeMax(), redraw);
}
void CSliderCtrl::SetRangeMax(int maxPos, BOOL redraw) {
    SetRange(GetRangeMin(), maxPos, redraw);
}

void CSliderCtrl::GetRange(int& minPos, int& maxPos) const {
    minPos = GetRangeMin();
    maxPos = GetRangeMax();
}

int CSliderCtrl::GetRangeMin() const {
    QSlider* s = Slider(this);
    return s ? s->minimum() : 0;
}

int CSliderCtrl::GetRangeMax() const {
    QSlider* s = Slider(this);
    return s ? s->maximum() : 0;
}

void CSliderCtrl::SetPos(int pos) {
    DefWindowProc(TBM_SETPOS, TRUE, pos);
}

int CSliderCtrl::GetPos() const {
    QSlider* s = Slider(this);
    return s ? s->value() : 0;
}

int CSliderCtrl::SetPageSize(int size) {
    QSlider* s = Slider(this);
    if (!s)
        return 0;
    const int old = s->pageStep();
    s->setPageStep(size);
    return old;
}

int CSliderCtrl::GetPageSize() const {
    QSlider* s = Slider(this);
    return s ? s->pageStep() : 0;
}

int CSliderCtrl::SetLineSize(int size) {
    QSlider* s = Slider(this);
    if (!s)
        return 0;
    const int old = s->singleStep();
    s->setSingleStep(size);
    return old;
}

int CSliderCtrl::GetLineSize() const {
    QSlider* s = Slider(this);
    return s ? s->singleStep() : 0;
}

void CSliderCtrl::SetTicFreq(int frequency) {
    if (QSlider* s = Slider(this))
        s->setTickInterval(frequency);
}

void CSliderCtrl::ClearTics(BOOL) {
    if (QSlider* s = Slider(this))
        s->setTickInterval(0);
}
