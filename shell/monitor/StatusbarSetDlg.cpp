#include "shell/monitor/StatusbarSetDlg.h"

#include "framework/core/MessageSeam.h"
#include "framework/ui/ComboBox.h"
#include "resources/ids/monitor.h"
#include "shell/SetupDialogs.h"

CStatusbarSetDlg::CStatusbarSetDlg(const std::array<int, PaneCount>& kinds, CWnd* parent)
    : CDialog(IDD, parent), m_kinds(kinds) {
    for (int pane = 0; pane < PaneCount; ++pane)
        m_selection[pane] = StatusbarChoiceIndex(kinds[pane]);
}

BOOL CStatusbarSetDlg::OnInitDialog() {
    for (int pane = 0; pane < PaneCount; ++pane) {
        if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_STATUSBAR_FIELD_FIRST + pane))) {
            combo->ResetContent();
            for (const char* name : StatusbarChoiceNames)
                combo->AddString(name);
        }
    }
    return CDialog::OnInitDialog();
}

void CStatusbarSetDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    for (int pane = 0; pane < PaneCount; ++pane)
        DDX_CBIndex(dx, IDC_STATUSBAR_FIELD_FIRST + pane, m_selection[pane]);
}

void CStatusbarSetDlg::OnOK() {
    if (!UpdateData(TRUE))
        return;
    for (int pane = 0; pane < PaneCount; ++pane)
        if (StatusbarChoiceIndex(m_selection[pane]) >= 0)
            m_kinds[pane] = m_selection[pane];
    EndDialog(IDOK);
}
