#pragma once
// Drives a window's controls the way a user does, for window tests: press a button, set a check box,
// type into an edit, choose a combo entry, and act inside the modal dialogs a press opens. Message
// boxes and file dialogs are answered by ScriptedMessages (framework/core/MessageSeam.h).
#include "framework/core/MessageSeam.h"
#include "framework/ui/Button.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/Wnd.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMouseEvent>
#include <QPointer>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace ui {

// What a failed press reports of the widget found under the mouse: the control it belongs to.
inline std::string DescribeWidget(const QWidget* widget) {
    if (!widget)
        return "nothing (outside its window)";
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (CWnd* control = CWnd::FromWidget(w))
            return std::string(w->metaObject()->className()) + " id " +
                   std::to_string(control->GetDlgCtrlID()) + " \"" + control->GetWindowText() + "\"";
    return widget->metaObject()->className();
}

// Where the user clicks a button: a push button anywhere, so at its centre; a check box or a radio
// button on its box, since only the box and its text take the click.
inline QPoint ClickPoint(QWidget* widget) {
    const bool check = qobject_cast<QCheckBox*>(widget) != nullptr;
    if (!check && !qobject_cast<QRadioButton*>(widget))
        return widget->rect().center();
    QStyleOptionButton option;
    option.initFrom(widget);
    const QRect box = widget->style()->subElementRect(
        check ? QStyle::SE_CheckBoxIndicator : QStyle::SE_RadioButtonIndicator, &option, widget);
    return box.isValid() ? box.center() : widget->rect().center();
}

// Clicks a button (push, check or radio) with the mouse: a press and a release where the user clicks
// it (ClickPoint), delivered through the application to whatever widget lies there in its top-level window,
// as the platform delivers a user's click. Fails when the control is hidden, disabled, covered by
// another widget or behind a modal dialog, since the user could not click it either.
inline void Press(CWnd& window, int id) {
    CWnd* control = window.GetDlgItem(id);
    ASSERT_NE(control, nullptr) << "no control " << id;
    QWidget* widget = control->GetWidget();
    ASSERT_NE(widget, nullptr) << "control " << id << " has no window";
    ASSERT_NE(qobject_cast<QAbstractButton*>(widget), nullptr) << id << " is no button";
    ASSERT_TRUE(widget->isVisible()) << "button " << id << " is not on the screen";
    ASSERT_TRUE(widget->isEnabled()) << "button " << id << " is disabled";
    QWidget* top = widget->window();
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_TRUE(modal == nullptr || modal == top) << "button " << id << " lies behind the modal window \""
                                                  << modal->windowTitle().toStdString() << "\"";
    const QPoint centre = ClickPoint(widget);
    QWidget* hit = top->childAt(widget->mapTo(top, centre));
    ASSERT_TRUE(hit == widget || (hit && widget->isAncestorOf(hit)))
        << "button " << id << " is covered by " << DescribeWidget(hit);
    // A click moves the focus to a control that takes it by the mouse, before the press arrives.
    if (hit->isEnabled() && (hit->focusPolicy() & Qt::ClickFocus) != 0)
        hit->setFocus(Qt::MouseFocusReason);
    const QPointF at = widget->mapTo(hit, centre);
    const QPointF global = hit->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(hit, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(hit, &release);
}

// Clicks tab `index` of a tab control with the mouse: the owner hears TCN_SELCHANGE and shows its page.
inline void ChooseTab(CWnd& window, int id, int index) {
    CWnd* control = window.GetDlgItem(id);
    ASSERT_NE(control, nullptr) << "no tab control " << id;
    auto* bar = control->GetWidget() ? control->GetWidget()->findChild<QTabBar*>() : nullptr;
    ASSERT_NE(bar, nullptr) << id << " is no tab control";
    ASSERT_TRUE(bar->isVisible() && bar->isEnabled()) << "tab control " << id << " cannot be clicked";
    ASSERT_LT(index, bar->count()) << "tab control " << id << " has no tab " << index;
    const QPointF at = bar->tabRect(index).center();
    const QPointF global = bar->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &release);
    EXPECT_EQ(bar->currentIndex(), index) << "tab control " << id;
}

// The mouse over a window's client area as the platform delivers it, through the application: a
// press goes to whatever widget lies under the point in the top-level window, and that widget keeps
// the mouse until the release; a move with no button held goes to the widget under the point and
// reaches it only when it tracks the mouse. `held` is the buttons held after the event.
inline void MouseEvent(CWnd& window, CPoint client, QEvent::Type type, Qt::MouseButtons held) {
    static QPointer<QWidget> pressed;
    QWidget* widget = window.GetWidget();
    ASSERT_NE(widget, nullptr) << "the window has no widget";
    QWidget* top = widget->window();
    const QPoint inTop = widget->mapTo(top, QPoint(client.x, client.y));
    QWidget* hit = top->childAt(inTop);
    if (hit == nullptr)
        hit = top;
    if (type == QEvent::MouseButtonPress)
        pressed = hit;
    else if (pressed && (type == QEvent::MouseButtonRelease || held != Qt::NoButton))
        hit = pressed;
    if (type == QEvent::MouseButtonRelease)
        pressed = nullptr;
    const QPointF at = hit->mapFrom(top, inTop);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, hit->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(hit, &event);
}

// A drag with the left button as a user makes it: the pointer comes to `from`, the button goes down,
// the pointer moves to `to` in `steps` moves and the button comes up there.
inline void Drag(CWnd& window, CPoint from, CPoint to, int steps = 4) {
    MouseEvent(window, from, QEvent::MouseMove, Qt::NoButton);
    MouseEvent(window, from, QEvent::MouseButtonPress, Qt::LeftButton);
    for (int i = 1; i <= steps; ++i)
        MouseEvent(window, CPoint(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps),
                   QEvent::MouseMove, Qt::LeftButton);
    MouseEvent(window, to, QEvent::MouseButtonRelease, Qt::NoButton);
}

inline bool Checked(CWnd& window, int id) {
    auto* button = dynamic_cast<CButton*>(window.GetDlgItem(id));
    return button && button->GetCheck() == BST_CHECKED;
}

// Clicks a check box until it shows the wanted state.
inline void SetChecked(CWnd& window, int id, bool checked) {
    for (int clicks = 0; clicks < 3 && Checked(window, id) != checked; ++clicks)
        Press(window, id);
    EXPECT_EQ(Checked(window, id), checked) << "check box " << id;
}

inline bool Enabled(CWnd& window, int id) {
    CWnd* control = window.GetDlgItem(id);
    return control && control->IsWindowEnabled();
}

inline std::string Text(CWnd& window, int id) {
    CWnd* control = window.GetDlgItem(id);
    return control ? control->GetWindowText() : std::string();
}

// Replaces the text of an edit as typing does: the owner hears EN_CHANGE.
inline void Type(CWnd& window, int id, const std::string& text) {
    CWnd* control = window.GetDlgItem(id);
    ASSERT_NE(control, nullptr) << "no control " << id;
    control->SetWindowText(text);
}

// Picks entry `entry` of a combo box as the user does: unlike a selection set by code, the owner
// hears CBN_SELCHANGE.
inline void Choose(CWnd& window, int id, int entry) {
    CWnd* control = window.GetDlgItem(id);
    ASSERT_NE(control, nullptr) << "no combo box " << id;
    auto* combo = qobject_cast<QComboBox*>(control->GetWidget());
    ASSERT_NE(combo, nullptr) << id << " is no combo box";
    combo->setCurrentIndex(entry);
}

inline int Selected(CWnd& window, int id) {
    auto* combo = dynamic_cast<CComboBox*>(window.GetDlgItem(id));
    return combo ? combo->GetCurSel() : -1;
}

// The text of the selected combo entry, "<none>" without a selection.
inline std::string SelectedText(CWnd& window, int id) {
    auto* combo = dynamic_cast<CComboBox*>(window.GetDlgItem(id));
    const int selection = combo ? combo->GetCurSel() : -1;
    return selection < 0 ? "<none>" : combo->GetLBText(selection);
}

// While it lives, every modal dialog runs the user's actions for its template id (or `anyDialog`
// for every dialog without one) instead of waiting; a dialog the user leaves open is cancelled.
class ModalScript {
public:
    using User = std::function<void(CDialog&)>;
    explicit ModalScript(std::map<UINT, User> users = {}, User anyDialog = nullptr)
        : users_(std::move(users)), any_(std::move(anyDialog)) {
        previous_ = CDialog::SetModalHookForTest([this](CDialog& dialog) {
            opened_.push_back(dialog.m_nIDHelp);
            const auto user = users_.find(dialog.m_nIDHelp);
            if (user != users_.end())
                user->second(dialog);
            else if (any_)
                any_(dialog);
            // Once the dialog has ended its window is gone and the posted command reaches nothing.
            if (dialog.GetSafeHwnd())
                dialog.PostMessage(WM_COMMAND, IDCANCEL, 0);
        });
    }
    ~ModalScript() { CDialog::SetModalHookForTest(std::move(previous_)); }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // Template ids of the modal dialogs opened so far, in order.
    const std::vector<UINT>& Opened() const { return opened_; }

private:
    std::map<UINT, User> users_;
    User any_;
    std::vector<UINT> opened_;
    CDialog::ModalHook previous_;
};

} // namespace ui
