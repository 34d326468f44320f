#include "wizard/ui/ServoTypePageDialog.h"

#include "framework/ui/ComboBox.h"
#include "resources/ids/wizard.h"
#include "shell/ShellGlobals.h"
#include "wizard/DriveModelTable.h"
#include "wizard/WizardNavigation.h"

CServoTypePageDialog::CServoTypePageDialog()
    : CWizardPage(IDD_WZ_DRIVE_PAGE, WizardPage::Drive), m_FamilyCode(BrandMode == 3 ? 3 : 2) {}

const MessageMap* CServoTypePageDialog::GetMessageMap() const {
    static const MessageMap map(
        CWizardPage::GetMessageMap(),
        {msg::Control(CBN_SELCHANGE, IDC_WZ_COMBO, &CServoTypePageDialog::OnDriveSelected)});
    return &map;
}

BOOL CServoTypePageDialog::OnInitDialog() {
    CWizardPage::OnInitDialog();
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_WZ_COMBO))) {
        combo->ResetContent();
        for (int row = 0; row < DriveModelCount; ++row)
            combo->AddString(DriveModelItemText(m_FamilyCode, row));
    }
    LoadPage();
    return TRUE;
}

void CServoTypePageDialog::LoadPage() {
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_WZ_COMBO))) {
        // A capacity group past the table (large motor families) selects nothing.
        combo->SetCurSel(m_DriveRow);
        combo->SetFocus();
    }
    ShowDriveDetails();
}

void CServoTypePageDialog::ShowDriveDetails() {
    SetDlgItemText(IDC_WZ_DETAILS, DriveModelDetailsText(m_FamilyCode, m_DriveRow));
}

void CServoTypePageDialog::OnDriveSelected() {
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_WZ_COMBO)); combo && combo->GetCurSel() >= 0)
        m_DriveRow = combo->GetCurSel();
    ShowDriveDetails();
}
