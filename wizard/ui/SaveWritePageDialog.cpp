#include "wizard/ui/SaveWritePageDialog.h"

#include "framework/ui/Messages.h"
#include "link/LinkState.h"
#include "resources/ids/wizard.h"
#include "wizard/WizardNavigation.h"

CSaveWritePageDialog::CSaveWritePageDialog() : CWizardPage(IDD_WZ_SAVE_WRITE_PAGE, WizardPage::SaveWrite) {}

const MessageMap* CSaveWritePageDialog::GetMessageMap() const {
    static const MessageMap map(CWizardPage::GetMessageMap(),
                                {msg::Command(IDC_WZ_WRITE, &CSaveWritePageDialog::OnWrite),
                                 msg::Command(IDC_WZ_SAVE, &CSaveWritePageDialog::OnSave),
                                 msg::Command(IDC_WZ_FILL_IN, &CSaveWritePageDialog::OnToggleFillIn)});
    return &map;
}

void CSaveWritePageDialog::DoDataExchange(CDataExchange* dx) {
    CWizardPage::DoDataExchange(dx);
    int fillIn = m_FillIn ? 1 : 0;
    DDX_Check(dx, IDC_WZ_FILL_IN, fillIn);
    m_FillIn = fillIn != 0;
}

BOOL CSaveWritePageDialog::OnInitDialog() {
    CWizardPage::OnInitDialog();
    UpdateData(FALSE);
    RefreshButtons();
    return TRUE;
}

void CSaveWritePageDialog::RefreshButtons() {
    const bool linked = ConnectedFlag != 0;
    for (int id : {IDC_WZ_WRITE, IDC_WZ_FILL_IN})
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(linked);
}

LRESULT CSaveWritePageDialog::SendToWizard(WPARAM wParam, LPARAM lParam) {
    CWnd* wizard = GetParent();
    return wizard ? wizard->SendMessage(WM_WIZARD_SAVEWRITE, wParam, lParam) : 0;
}

void CSaveWritePageDialog::OnWrite() {
    SendToWizard(2, m_FillIn ? 1 : 0);
}

void CSaveWritePageDialog::OnSave() {
    SendToWizard(1, 0);
}

void CSaveWritePageDialog::OnToggleFillIn() {
    m_FillIn = !m_FillIn;
    CheckDlgButton(IDC_WZ_FILL_IN, m_FillIn ? BST_CHECKED : BST_UNCHECKED);
}
