#include "tuning/ui/WarningDlg.h"

#include "resources/ids/tuningwindows.h"
#include "tuning/AutoGainSteps.h"

CWarningDlg::CWarningDlg() : CDialog(IDD_AG_WARNING) {
    for (auto& row : m_table)
        row = {" ", " ", " "};
    for (int row = 0; row < AutoGainResultCount; ++row)
        m_table[static_cast<size_t>(row)][0] = AutoGainResults[row].parameter;
}

const MessageMap* CWarningDlg::GetMessageMap() const {
    static const MessageMap map(CDialog::GetMessageMap(),
                                {
                                    msg::Command(IDC_AG_WARNING_NO, &CWarningDlg::OnNo),
                                    msg::Close(&CWarningDlg::OnClose),
                                    msg::Destroy(&CWarningDlg::OnDestroy),
                                });
    return &map;
}

BOOL CWarningDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_AG_WARNING_LIST, this);
    m_list.SetExtendedStyle(LVS_EX_GRIDLINES);
    CRect area;
    m_list.GetClientRect(&area);
    for (int column = 0; column < 3; ++column)
        m_list.InsertColumn(column, "", LVCFMT_LEFT, area.Width() / 3);
    m_list.InsertItem(0, "Cn025");
    m_list.SetItemText(0, 1, "Cn025");
    return TRUE;
}

void CWarningDlg::RefillList() {
    m_list.DeleteAllItems();
    while (m_list.DeleteColumn(0)) {
    }
    CRect area;
    m_list.GetClientRect(&area);
    const int width = area.Width();
    m_list.InsertColumn(0, " Parameter", LVCFMT_LEFT, width / 3);
    m_list.InsertColumn(1, "Parameters to be written", LVCFMT_LEFT, width / 3);
    m_list.InsertColumn(2, "Existing parameters", LVCFMT_LEFT, width - 2 * (width / 3) - 2);
    for (int row = 0; row < RowCount; ++row) {
        const auto& cells = m_table[static_cast<size_t>(row)];
        m_list.InsertItem(row, cells[0]);
        m_list.SetItemText(row, 1, cells[1]);
        m_list.SetItemText(row, 2, cells[2]);
    }
}

void CWarningDlg::OnOK() {
    if (OnAnswer)
        OnAnswer(1);
    ShowWindow(SW_HIDE);
}

void CWarningDlg::OnNo() {
    if (OnAnswer)
        OnAnswer(2);
    ShowWindow(SW_HIDE);
}

void CWarningDlg::OnDestroy() {
    if (OnGone)
        OnGone();
}
