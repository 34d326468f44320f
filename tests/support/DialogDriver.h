#pragma once
// Drives a window's controls the way a user does, for window tests: press a button, set a check box,
// type into an edit, choose a combo entry, and act inside the modal dialogs a press opens. Message
// boxes and file dialogs are answered by ScriptedMessages (framework/core/MessageSeam.h).
#include "framework/ui/Button.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/Wnd.h"

#include <gtest/gtest.h>

#include <QComboBox>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace ui {

// Clicks a button (push, check or radio) as the mouse would: its owner hears BN_CLICKED.
inline void Press(CWnd& window, int id) {
    auto* button = dynamic_cast<CButton*>(window.GetDlgItem(id));
    ASSERT_NE(button, nullptr) << "no button " << id;
    ASSERT_TRUE(button->IsWindowEnabled()) << "button " << id << " is disabled";
    button->Click();
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
