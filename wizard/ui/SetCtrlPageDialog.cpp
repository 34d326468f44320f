#include "wizard/ui/SetCtrlPageDialog.h"

#include "framework/core/ResourceModule.h"
#include "framework/ui/ComboBox.h"
#include "resources/ids/wizard.h"
#include "shell/ShellGlobals.h"
#include "wizard/WizardNavigation.h"

namespace {

struct ModeTexts {
    int name;
    const char* suffix;
    int description;
};
// By mode number: torque, speed, position.
constexpr ModeTexts kModes[] = {{IDS_WZ_TORQUE_CONTROL, " - T", IDS_WZ_TORQUE_DESCRIPTION},
                                {IDS_WZ_SPEED_CONTROL, " - S", IDS_WZ_SPEED_DESCRIPTION},
                                {IDS_WZ_POSITION_CONTROL, " - Pe", IDS_WZ_POSITION_DESCRIPTION}};

} // namespace

std::string ControlModeName(int mode) {
    return mode >= 0 && mode <= 2 ? LoadResString(kModes[mode].name) : std::string();
}

CSetCtrlPageDialog::CSetCtrlPageDialog()
    : CWizardPage(IDD_WZ_MODE_PAGE, WizardPage::ControlMode), m_FamilyCode(BrandMode == 3 ? 3 : 2) {}

const MessageMap* CSetCtrlPageDialog::GetMessageMap() const {
    static const MessageMap map(
        CWizardPage::GetMessageMap(),
        {msg::Control(CBN_SELCHANGE, IDC_WZ_COMBO, &CSetCtrlPageDialog::OnModeSelected)});
    return &map;
}

BOOL CSetCtrlPageDialog::OnInitDialog() {
    CWizardPage::OnInitDialog();
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_WZ_COMBO))) {
        combo->ResetContent();
        for (const ModeTexts& m : kModes)
            combo->AddString(LoadResString(m.name) + m.suffix);
    }
    LoadPage();
    return TRUE;
}

void CSetCtrlPageDialog::LoadPage() {
    m_ShownMode = m_ModeIndex;
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_WZ_COMBO))) {
        combo->SetCurSel(m_ModeIndex);
        combo->SetFocus();
    }
    ShowModeText();
}

void CSetCtrlPageDialog::ShowModeText() {
    SetDlgItemText(IDC_WZ_DETAILS, m_ShownMode >= 0 && m_ShownMode <= 2
                                       ? LoadResString(kModes[m_ShownMode].description)
                                       : std::string());
}

std::optional<int> CSetCtrlPageDialog::Choice(std::string_view key) const {
    if (key == "ShownMode")
        return m_ShownMode;
    return std::nullopt;
}

void CSetCtrlPageDialog::OnModeSelected() {
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_WZ_COMBO)); combo && combo->GetCurSel() >= 0)
        m_ModeIndex = m_ShownMode = combo->GetCurSel();
    ShowModeText();
}
