#include "online/ui/SetParaSelDlg.h"

#include "framework/core/MessageSeam.h"
#include "resources/ids/online.h"

CSetParaSelDlg::CSetParaSelDlg(const CatalogueContext& context, CWnd* parent)
    : CDialog(IDD_ONLINE_PICK, parent), context_(context) {}

void CSetParaSelDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_OP_COMBO, m_combo);
}

BOOL CSetParaSelDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    entries_ = PickListEntries(OtherCodes, context_, ResourceStringLoader());
    for (const PickEntry& entry : entries_)
        m_combo.AddString(entry.text);
    const int selection = PreselectedPickEntry(entries_, SelectedCode);
    if (selection >= 0)
        m_combo.SetCurSel(selection);
    return TRUE;
}

void CSetParaSelDlg::OnOK() {
    const int selection = m_combo.GetCurSel();
    SelectedCode = selection >= 0 ? CodeOfPickText(m_combo.GetLBText(selection)) : std::string();
    EndDialog(IDOK);
}
