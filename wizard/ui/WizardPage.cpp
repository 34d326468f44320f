#include "wizard/ui/WizardPage.h"

#include "catalogue/ParamTexts.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/core/WindowStyles.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/Messages.h"
#include "wizard/WizardBlocks.h"

void TurnEscapeIntoEnter(MSG* msg) {
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE)
        msg->wParam = VK_RETURN;
}

BOOL CWizardPage::Create(UINT templateId, CWnd* parent) {
    const DialogTemplate* t = FindDialogTemplate(static_cast<int>(templateId));
    if (!t || !parent)
        return FALSE;
    m_nIDHelp = templateId;
    childTemplate_ = *t;
    childTemplate_.style =
        (childTemplate_.style & ~(WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE)) | WS_CHILD;
    childTemplate_.x = childTemplate_.y = 0;
    initialised_ = false;
    return CreateIndirect(childTemplate_, parent);
}

BOOL CWizardPage::OnInitDialog() {
    initialised_ = true;
    return CDialog::OnInitDialog();
}

BOOL CWizardPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (!initialised_ && HIWORD(wParam) == EN_CHANGE)
        return TRUE;
    return CDialog::OnCommand(wParam, lParam);
}

BOOL CWizardPage::PreTranslateMessage(MSG* msg) {
    TurnEscapeIntoEnter(msg);
    return CDialog::PreTranslateMessage(msg);
}

void CWizardPage::OnValueEdited(int editId, int& member, int min, int max) {
    const LiveEditResult result = LiveRevert(GetDlgItemText(editId), member, min, max);
    member = result.value;
    if (result.revert)
        UpdateData(FALSE);
}

bool CWizardPage::CheckValueEdits(const std::vector<CheckedEdit>& edits) {
    std::vector<CheckedValue> values;
    values.reserve(edits.size());
    for (const CheckedEdit& e : edits)
        values.push_back({GetDlgItemText(e.editId), e.min, e.max});
    const PageCheckResult result = CheckPageValues(values);
    if (result.verdict == PageCheckVerdict::Malformed) {
        // The data exchange's own message is the one the user gets.
        UpdateData(TRUE);
        return false;
    }
    if (!UpdateData(TRUE))
        return false;
    if (result.verdict == PageCheckVerdict::OutOfRange) {
        const int id = edits[static_cast<size_t>(result.failingIndex)].editId;
        if (CWnd* edit = GetDlgItem(id)) {
            edit->SetFocus();
            edit->SendMessage(EM_SETSEL, 0, -1);
        }
        ShowMessage(LoadResString(OutOfRangeStringId), std::string(), MB_OK);
        return false;
    }
    return true;
}

void CWizardPage::FillSelector(int comboId, bool outputs, int selection) {
    auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(comboId));
    if (!combo)
        return;
    combo->ResetContent();
    const std::vector<int> pins = outputs ? std::vector<int>(m_DoAssign.begin(), m_DoAssign.end())
                                          : std::vector<int>(m_DiAssign.begin(), m_DiAssign.end());
    const StringLoader load = ResourceStringLoader();
    for (const std::string& item : SelectorItems(outputs, pins, [&](int code) {
             return outputs ? TypeNameText(code, load) : CodeNameText(code, load);
         }))
        combo->AddString(item);
    combo->SetCurSel(selection);
}

void CWizardPage::ShowContactControls(int selection, std::initializer_list<int> contactIds) {
    for (int id : contactIds)
        if (CWnd* control = GetDlgItem(id))
            control->ShowWindow(ContactControlsShown(selection) ? SW_SHOW : SW_HIDE);
}

void CWizardPage::ShowRangeLabel(int spinId, int labelId, int min, int max, bool zeroLower) {
    if (CWnd* spin = GetDlgItem(spinId))
        spin->SendMessage(UDM_SETRANGE32, static_cast<WPARAM>(zeroLower ? 0 : min), static_cast<LPARAM>(max));
    SetDlgItemText(labelId, RangeLabel(min, max));
}
