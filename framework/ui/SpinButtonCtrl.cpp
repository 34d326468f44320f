#include "framework/ui/SpinButtonCtrl.h"

#include "framework/ui/WndInternal.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstdio>

namespace {

// The spin's state lives with its widget, so every wrapper of the control sees the same.
struct SpinState : QObject {
    int lower = 0;
    int upper = 100;
    int pos = 0;
    int base = 10;
    QPointer<QWidget> buddy;
    QObject* buddyKeys = nullptr;
};

// Arrow keys in the buddy step the spin (UDS_ARROWKEYS).
class BuddyKeys : public QObject {
public:
    explicit BuddyKeys(QWidget* spin) : QObject(spin), spin_(spin) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !spin_)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Up && key != Qt::Key_Down)
            return false;
        if (auto* w = static_cast<CSpinButtonCtrl*>(CWnd::FromWidget(spin_)))
            w->Step(key == Qt::Key_Up ? 1 : -1);
        return true;
    }

private:
    QPointer<QWidget> spin_;
};

void WriteBuddy(QWidget* spin, SpinState* state) {
    CWnd* w = CWnd::FromWidget(spin);
    if (!w || !(w->GetStyle() & UDS_SETBUDDYINT) || !state->buddy)
        return;
    if (CWnd* buddy = CWnd::FromWidget(state->buddy))
        buddy->SetWindowText(SpinBuddyText(state->pos, state->base, w->GetStyle() & UDS_NOTHOUSANDS));
}

} // namespace

std::string SpinBuddyText(int pos, int base, bool noThousands) {
    char buffer[32];
    if (base == 16) {
        std::snprintf(buffer, sizeof buffer, "0x%04X", static_cast<unsigned>(pos));
        return buffer;
    }
    std::snprintf(buffer, sizeof buffer, "%d", pos);
    std::string digits = buffer;
    if (noThousands)
        return digits;
    const bool negative = !digits.empty() && digits[0] == '-';
    std::string body = negative ? digits.substr(1) : digits;
    std::string out;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (i > 0 && (body.size() - i) % 3 == 0)
            out += ',';
        out += body[i];
    }
    return negative ? "-" + out : out;
}

bool ParseSpinBuddyText(const std::string& text, int base, int* value) {
    std::string t;
    for (char c : text)
        if (c != ',' && c != ' ')
            t += c;
    if (base == 16 && t.size() >= 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X'))
        t = t.substr(2);
    if (t.empty())
        return false;
    char* end = nullptr;
    const long long v = std::strtoll(t.c_str(), &end, base == 16 ? 16 : 10);
    if (!end || *end != '\0' || v < INT32_MIN || v > static_cast<long long>(UINT32_MAX))
        return false;
    *value = static_cast<int>(v);
    return true;
}

void CSpinButtonCtrl::CreateWidget(CWnd* wrapper, DWORD style, DWORD exStyle, const CRect& rect, CWnd* parent,
                                   int id) {
    auto* spin = new QWidget(parent ? parent->GetWidget() : nullptr);
    AttachState(spin, new SpinState);
    const bool horizontal = style & UDS_HORZ;
    QBoxLayout* layout = horizontal ? static_cast<QBoxLayout*>(new QHBoxLayout(spin)) : new QVBoxLayout(spin);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* first = new QToolButton(spin);
    auto* second = new QToolButton(spin);
    first->setArrowType(horizontal ? Qt::LeftArrow : Qt::UpArrow);
    second->setArrowType(horizontal ? Qt::RightArrow : Qt::DownArrow);
    for (QToolButton* b : {first, second}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(b);
    }
    // Vertical: the upper arrow steps up. Horizontal: the right arrow steps up.
    QObject::connect(first, &QToolButton::clicked, spin, [spin, horizontal] {
        if (auto* w = static_cast<CSpinButtonCtrl*>(CWnd::FromWidget(spin)))
            w->Step(horizontal ? -1 : 1);
    });
    QObject::connect(second, &QToolButton::clicked, spin, [spin, horizontal] {
        if (auto* w = static_cast<CSpinButtonCtrl*>(CWnd::FromWidget(spin)))
            w->Step(horizontal ? 1 : -1);
    });
    // The scroll sequence ends when the arrow is let go.
    for (QToolButton* b : {first, second})
        QObject::connect(b, &QToolButton::released, spin, [spin] {
            CWnd* w = CWnd::FromWidget(spin);
            CWnd* owner = w ? w->GetParent() : nullptr;
            if (owner)
                owner->SendMessage((w->GetStyle() & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL,
                                   MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(w->m_hWnd));
        });
    spin->setGeometry(rect.left, rect.top, std::max(0, rect.Width()), std::max(0, rect.Height()));
    wrapper->AttachWidget(spin, id, style, exStyle, true);
    WndBridge::Of(spin)->procedure = [wrapperHandle = wrapper->m_hWnd](UINT message, WPARAM wParam,
                                                                       LPARAM lParam, LRESULT* result) {
        auto* w = static_cast<CSpinButtonCtrl*>(CWnd::FromHandle(wrapperHandle));
        if (!w)
            return false;
        switch (message) {
        case UDM_SETRANGE:
            w->SetRange32(static_cast<short>(HIWORD(lParam)), static_cast<short>(LOWORD(lParam)));
            break;
        case UDM_SETRANGE32:
            w->SetRange32(static_cast<int>(wParam), static_cast<int>(lParam));
            break;
        case UDM_SETPOS:
        case UDM_SETPOS32:
            *result = w->SetPos32(static_cast<int>(lParam));
            return true;
        case UDM_GETPOS:
        case UDM_GETPOS32:
            *result = w->GetPos32();
            return true;
        case UDM_SETBASE:
            *result = w->SetBase(static_cast<int>(wParam));
            return true;
        default:
            return false;
        }
        *result = 0;
        return true;
    };
    ApplyInitialState(spin, style);
}

BOOL CSpinButtonCtrl::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    if (!CanCreateWindow(this, parent))
        return FALSE;
    CreateWidget(this, style, 0, rect, parent, static_cast<int>(id));
    return TRUE;
}

void CSpinButtonCtrl::SetRange32(int lower, int upper) {
    if (SpinState* s = StateOf<SpinState>(GetWidget())) {
        s->lower = lower;
        s->upper = upper;
        s->pos = std::clamp(s->pos, std::min(lower, upper), std::max(lower, upper));
    }
}

void CSpinButtonCtrl::GetRange32(int& lower, int& upper) const {
    SpinState* s = StateOf<SpinState>(GetWidget());
    lower = s ? s->lower : 0;
    upper = s ? s->upper : 0;
}

DWORD CSpinButtonCtrl::GetRange() const {
    int lower = 0, upper = 0;
    GetRange32(lower, upper);
    return static_cast<DWORD>(MAKELPARAM(static_cast<unsigned>(upper), static_cast<unsigned>(lower)));
}

int CSpinButtonCtrl::SetPos32(int pos) {
    SpinState* s = StateOf<SpinState>(GetWidget());
    if (!s)
        return 0;
    const int old = s->pos;
    s->pos = std::clamp(pos, std::min(s->lower, s->upper), std::max(s->lower, s->upper));
    WriteBuddy(GetWidget(), s);
    return old;
}

int CSpinButtonCtrl::GetPos32(BOOL* error) const {
    SpinState* s = StateOf<SpinState>(GetWidget());
    if (error)
        *error = FALSE;
    if (!s)
        return 0;
    if ((GetStyle() & UDS_SETBUDDYINT) && s->buddy) {
        if (CWnd* buddy = CWnd::FromWidget(s->buddy)) {
            int value = 0;
            if (ParseSpinBuddyText(buddy->GetWindowText(), s->base, &value) &&
                value >= std::min(s->lower, s->upper) && value <= std::max(s->lower, s->upper))
                s->pos = value;
            else if (error)
                *error = TRUE;
        }
    }
    return s->pos;
}

CWnd* CSpinButtonCtrl::SetBuddy(CWnd* buddy) {
    SpinState* s = StateOf<SpinState>(GetWidget());
    if (!s)
        return nullptr;
    CWnd* old = GetBuddy();
    if (s->buddy && s->buddyKeys)
        s->buddy->removeEventFilter(s->buddyKeys);
    delete s->buddyKeys;
    s->buddyKeys = nullptr;
    s->buddy = buddy ? buddy->GetWidget() : nullptr;
    if (s->buddy) {
        if (GetStyle() & UDS_ARROWKEYS) {
            s->buddyKeys = new BuddyKeys(GetWidget());
            s->buddy->installEventFilter(s->buddyKeys);
        }
        // Aligned spins sit on the buddy's edge and take their width from it, as the platform's do.
        if (GetStyle() & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) {
            QWidget* b = s->buddy;
            const int width = GetWidget()->width();
            if (GetStyle() & UDS_ALIGNRIGHT) {
                b->setGeometry(b->x(), b->y(), std::max(0, b->width() - width), b->height());
                GetWidget()->setGeometry(b->x() + b->width(), b->y(), width, b->height());
            } else {
                GetWidget()->setGeometry(b->x(), b->y(), width, b->height());
                b->setGeometry(b->x() + width, b->y(), std::max(0, b->width() - width), b->height());
            }
        }
        WriteBuddy(GetWidget(), s);
    }
    return old;
}

CWnd* CSpinButtonCtrl::GetBuddy() const {
    SpinState* s = StateOf<SpinState>(GetWidget());
    return s && s->buddy ? CWnd::FromWidget(s->buddy) : nullptr;
}

int CSpinButtonCtrl::SetBase(int base) {
    SpinState* s = StateOf<SpinState>(GetWidget());
    if (!s || (base != 10 && base != 16))
        return 0;
    const int old = s->base;
    s->base = base;
    WriteBuddy(GetWidget(), s);
    return old;
}

UINT CSpinButtonCtrl::GetBase() const {
    SpinState* s = StateOf<SpinState>(GetWidget());
    return s ? static_cast<UINT>(s->base) : 10;
}

BOOL CSpinButtonCtrl::SetAccel(int, UDACCEL*) {
    return TRUE;
}

void CSpinButtonCtrl::Step(int direction) {
    QWidget* widget = GetWidget();
    SpinState* s = StateOf<SpinState>(widget);
    if (!s)
        return;
    GetPos32(); // a buddy's edited text counts as the current position
    const HWND handle = m_hWnd;
    NMUPDOWN change;
    change.hdr.code = UDN_DELTAPOS;
    change.iPos = s->pos;
    // The up arrow moves towards the upper end of the range, whichever way round it was given.
    change.iDelta = s->upper >= s->lower ? direction : -direction;
    if (NotifyParent(&change.hdr) != 0 || !CWnd::FromHandle(handle))
        return;
    const int low = std::min(s->lower, s->upper);
    const int high = std::max(s->lower, s->upper);
    long long next = static_cast<long long>(s->pos) + change.iDelta;
    if (next > high)
        next = (GetStyle() & UDS_WRAP) ? low : high;
    else if (next < low)
        next = (GetStyle() & UDS_WRAP) ? high : low;
    s->pos = static_cast<int>(next);
    WriteBuddy(widget, s);
    if (CWnd* parent = CWnd::FromHandle(handle) ? GetParent() : nullptr)
        parent->SendMessage((GetStyle() & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL,
                            MAKEWPARAM(SB_THUMBPOSITION, static_cast<unsigned>(s->pos)),
                            reinterpret_cast<LPARAM>(handle));
}
