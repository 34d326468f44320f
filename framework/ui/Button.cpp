#include "framework/ui/Button.h"

#include "framework/core/ResourceTypes.h"
#include "framework/ui/DC.h"
#include "framework/ui/Gdi.h"
#include "framework/ui/WndInternal.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

namespace {

DWORD Kind(DWORD style) {
    return style & BS_TYPEMASK;
}

bool IsRadio(const CWnd* w) {
    const DWORD kind = Kind(w->GetStyle());
    return qobject_cast<QRadioButton*>(w->GetWidget()) &&
           (kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON);
}

// A check box or radio button whose automatic toggling follows the platform's styles: only the
// automatic kinds change their own state on a click.
template <class Base> class KeloCheckable : public Base {
public:
    using Base::Base;

protected:
    void nextCheckState() override {
        CWnd* w = CWnd::FromWidget(this);
        const DWORD kind = w ? Kind(w->GetStyle()) : BS_AUTOCHECKBOX;
        if (kind == BS_AUTORADIOBUTTON) {
            for (CWnd* other : RadioGroupOf(w))
                if (other != w)
                    if (auto* radio = qobject_cast<QAbstractButton*>(other->GetWidget()))
                        radio->setChecked(false);
            this->setChecked(true);
        } else if (kind == BS_AUTOCHECKBOX || kind == BS_AUTO3STATE) {
            Base::nextCheckState();
        }
    }
};

using KeloCheckBox = KeloCheckable<QCheckBox>;
using KeloRadioButton = KeloCheckable<QRadioButton>;

// Paints a button through its owner (BS_OWNERDRAW): the parent's WM_DRAWITEM, which reaches the
// button's own DrawItem when the parent does not draw it itself.
class OwnerDrawPainter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint)
            return false;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        CWnd* wrapper = CWnd::FromWidget(button);
        CWnd* parent = wrapper ? wrapper->GetParent() : nullptr;
        if (!parent)
            return false;
        CDC dc(button);
        DRAWITEMSTRUCT item;
        item.CtlType = ODT_BUTTON;
        item.CtlID = static_cast<UINT>(wrapper->GetDlgCtrlID());
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = (button->isDown() ? ODS_SELECTED : 0u) | (button->hasFocus() ? ODS_FOCUS : 0u) |
                         (button->isEnabled() ? 0u : ODS_DISABLED) | (button->isChecked() ? ODS_CHECKED : 0u);
        item.hwndItem = wrapper;
        item.hDC = &dc;
        item.rcItem = CRect(0, 0, button->width(), button->height());
        parent->SendMessage(WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
        return true;
    }
};

void SetOwnerDrawn(QAbstractButton* button, bool ownerDrawn) {
    // Found by its name, which only this filter carries.
    auto* painter = static_cast<OwnerDrawPainter*>(
        button->findChild<QObject*>(QStringLiteral("kelo_owner_draw"), Qt::FindDirectChildrenOnly));
    if (ownerDrawn && !painter) {
        painter = new OwnerDrawPainter(button);
        painter->setObjectName(QStringLiteral("kelo_owner_draw"));
        button->installEventFilter(painter);
    } else if (!ownerDrawn && painter) {
        button->removeEventFilter(painter);
        delete painter;
    }
}

QString ButtonText(const std::string& text) {
    return QString::fromStdString(text);
}

QAbstractButton* Button(const CWnd* w) {
    return qobject_cast<QAbstractButton*>(w->GetWidget());
}

} // namespace

std::vector<CWnd*> RadioGroupOf(CWnd* member) {
    std::vector<CWnd*> group;
    CWnd* parent = member ? member->GetParent() : nullptr;
    if (!parent)
        return member ? std::vector<CWnd*>{member} : group;
    const std::vector<CWnd*> siblings = parent->GetChildren();
    auto it = std::find(siblings.begin(), siblings.end(), member);
    if (it == siblings.end())
        return {member};
    // Back to the control that starts the group, then on to the next group's start.
    auto start = it;
    while (start != siblings.begin() && !((*start)->GetStyle() & WS_GROUP))
        --start;
    for (auto i = start; i != siblings.end(); ++i) {
        if (i != start && ((*i)->GetStyle() & WS_GROUP))
            break;
        if (IsRadio(*i))
            group.push_back(*i);
    }
    return group;
}

void CButton::CreateWidget(CWnd* wrapper, const std::string& text, DWORD style, DWORD exStyle,
                           const CRect& rect, CWnd* parent, int id) {
    QWidget* parentWidget = parent ? parent->GetWidget() : nullptr;
    const DWORD kind = Kind(style);
    QAbstractButton* button = nullptr;
    QWidget* widget = nullptr;
    if (kind == BS_GROUPBOX) {
        auto* box = new QGroupBox(ButtonText(text), parentWidget);
        // A group box only frames its neighbours: clicks go through it, as on the platform.
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        widget = box;
    } else if (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE || kind == BS_AUTO3STATE) {
        if (style & BS_PUSHLIKE) {
            auto* push = new QPushButton(ButtonText(text), parentWidget);
            push->setCheckable(true);
            button = push;
        } else {
            auto* check = new KeloCheckBox(ButtonText(text), parentWidget);
            check->setTristate(kind == BS_3STATE || kind == BS_AUTO3STATE);
            button = check;
        }
    } else if (kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON) {
        auto* radio = new KeloRadioButton(ButtonText(text), parentWidget);
        radio->setAutoExclusive(false);
        button = radio;
    } else if (kind == BS_OWNERDRAW) {
        button = new QPushButton(ButtonText(text), parentWidget);
        SetOwnerDrawn(button, true);
    } else {
        auto* push = new QPushButton(ButtonText(text), parentWidget);
        push->setAutoDefault(false);
        push->setDefault(kind == BS_DEFPUSHBUTTON);
        button = push;
    }
    if (button) {
        widget = button;
        QObject::connect(button, &QAbstractButton::clicked, button, [button] {
            if (CWnd* w = CWnd::FromWidget(button))
                w->NotifyParent(BN_CLICKED);
        });
    }
    widget->setGeometry(rect.left, rect.top, std::max(0, rect.Width()), std::max(0, rect.Height()));
    wrapper->AttachWidget(widget, id, style, exStyle, true);
    WndBridge* bridge = WndBridge::Of(widget);
    bridge->ctlColorKind = kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON ? CTLCOLOR_BTN : CTLCOLOR_STATIC;
    if (style & BS_NOTIFY) {
        bridge->notifiesFocus = true;
        bridge->setFocusCode = BN_SETFOCUS;
        bridge->killFocusCode = BN_KILLFOCUS;
    }
    bridge->setText = [widget](const std::string& t) {
        if (auto* b = qobject_cast<QAbstractButton*>(widget))
            b->setText(ButtonText(t));
        else if (auto* g = qobject_cast<QGroupBox*>(widget))
            g->setTitle(ButtonText(t));
    };
    bridge->getText = [widget]() -> std::string {
        if (auto* b = qobject_cast<QAbstractButton*>(widget))
            return b->text().toStdString();
        if (auto* g = qobject_cast<QGroupBox*>(widget))
            return g->title().toStdString();
        return {};
    };
    bridge->procedure = [widget](UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
        auto* b = qobject_cast<QAbstractButton*>(widget);
        if (!b)
            return false;
        switch (message) {
        case BM_GETCHECK:
            if (auto* check = qobject_cast<QCheckBox*>(b))
                *result = check->checkState() == Qt::Checked            ? BST_CHECKED
                          : check->checkState() == Qt::PartiallyChecked ? BST_INDETERMINATE
                                                                        : BST_UNCHECKED;
            else
                *result = b->isCheckable() && b->isChecked() ? BST_CHECKED : BST_UNCHECKED;
            return true;
        case BM_SETCHECK:
            if (auto* check = qobject_cast<QCheckBox*>(b))
                check->setCheckState(wParam == BST_CHECKED         ? Qt::Checked
                                     : wParam == BST_INDETERMINATE ? Qt::PartiallyChecked
                                                                   : Qt::Unchecked);
            else if (b->isCheckable())
                b->setChecked(wParam == BST_CHECKED);
            *result = 0;
            return true;
        case BM_CLICK:
            b->click();
            *result = 0;
            return true;
        default:
            return false;
        }
    };
    ApplyInitialState(widget, style);
}

BOOL CButton::Create(const char* caption, DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    if (!CanCreateWindow(this, parent))
        return FALSE;
    CreateWidget(this, caption ? caption : "", style, 0, rect, parent, static_cast<int>(id));
    return TRUE;
}

int CButton::GetCheck() const {
    return static_cast<int>(const_cast<CButton*>(this)->DefWindowProc(BM_GETCHECK, 0, 0));
}

void CButton::SetCheck(int check) {
    DefWindowProc(BM_SETCHECK, static_cast<WPARAM>(check), 0);
}

UINT CButton::GetState() const {
    QAbstractButton* b = Button(this);
    if (!b)
        return 0;
    UINT state = static_cast<UINT>(GetCheck());
    if (b->isDown())
        state |= 0x0004; // pushed
    if (b->hasFocus())
        state |= 0x0008;
    return state;
}

void CButton::SetState(BOOL highlight) {
    if (QAbstractButton* b = Button(this))
        b->setDown(highlight != FALSE);
}

void CButton::SetButtonStyle(UINT style, BOOL redraw) {
    ModifyStyle(0xFFFF, style & 0xFFFF);
    if (auto* push = qobject_cast<QPushButton*>(GetWidget())) {
        push->setDefault(Kind(style) == BS_DEFPUSHBUTTON);
        SetOwnerDrawn(push, Kind(style) == BS_OWNERDRAW);
    }
    if (redraw)
        Invalidate();
}

HICON CButton::SetIcon(HICON icon) {
    HICON old = icon_;
    icon_ = icon;
    if (QAbstractButton* b = Button(this)) {
        QPixmap pixmap;
        if (icon && !icon->bytes.empty())
            pixmap.loadFromData(icon->bytes.data(), static_cast<uint>(icon->bytes.size()));
        b->setIcon(QIcon(pixmap));
        b->setIconSize(pixmap.size());
        if (GetStyle() & BS_ICON)
            b->setText(QString());
    }
    return old;
}

CBitmap* CButton::SetBitmap(CBitmap* bitmap) {
    CBitmap* old = bitmap_;
    bitmap_ = bitmap;
    if (QAbstractButton* b = Button(this)) {
        const QPixmap pixmap =
            bitmap && bitmap->IsCreated() ? QPixmap::fromImage(bitmap->Image()) : QPixmap();
        b->setIcon(QIcon(pixmap));
        b->setIconSize(pixmap.size());
        if (GetStyle() & BS_BITMAP)
            b->setText(QString());
    }
    return old;
}

void CButton::Click() {
    DefWindowProc(BM_CLICK, 0, 0);
}
