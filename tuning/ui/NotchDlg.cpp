#include "tuning/ui/NotchDlg.h"

#include "catalogue/KeloServoDoc.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "paramedit/ParameterChangedFlags.h"
#include "resources/ids/tuningwindows.h"

namespace {

// Rows 2..10 sit on the first tab, 11..16 on the second; Cn063 and Cn064 are always shown.
constexpr int FirstTabRows = 2;
constexpr int SecondTabRows = 11;

} // namespace

CNotchDlg::CNotchDlg(ITuningViewLink& view) : COnlineFilterDialog(IDD_ONLINE_NOTCH, view, NotchTable()) {}

const MessageMap* CNotchDlg::GetMessageMap() const {
    static const MessageMap map(COnlineFilterDialog::GetMessageMap(),
                                {
                                    msg::Notify(TCN_SELCHANGE, IDC_NF_TAB, &CNotchDlg::OnTabChange),
                                    msg::Command(IDC_NF_PARAMETER_SET, &CNotchDlg::OnParameterSet),
                                });
    return &map;
}

BOOL CNotchDlg::OnInitDialog() {
    COnlineFilterDialog::OnInitDialog();
    m_tab.SubclassDlgItem(IDC_NF_TAB, this);
    m_tab.InsertItem(0, "Parameter 1");
    m_tab.InsertItem(1, "Parameter 2");
    ShowTab(0);
    return TRUE;
}

void CNotchDlg::ShowTab(int index) {
    m_tabIndex = index;
    m_tab.SetCurSel(index);
    for (int row = FirstTabRows; row < static_cast<int>(table_.rows.size()); ++row) {
        const bool shown = (row < SecondTabRows) == (index == 0);
        const FilterRow& r = table_.rows[static_cast<size_t>(row)];
        for (int id : {r.current, r.set, r.write, r.original, IDC_NF_ROW_CODE + row, IDC_NF_ROW_TEXT + row,
                       IDC_NF_ROW_UNIT + row})
            if (CWnd* control = id ? GetDlgItem(id) : nullptr)
                control->ShowWindow(shown ? SW_SHOW : SW_HIDE);
    }
}

void CNotchDlg::OnTabChange(NMHDR*, LRESULT* result) {
    *result = 0;
    const int selected = m_tab.GetCurSel();
    if (!ValidateAll()) {
        m_tab.SetCurSel(m_tabIndex);
        return;
    }
    ShowTab(selected);
}

void CNotchDlg::OnParameterSet() {
    if (!ValidateAll())
        return;
    CKeloServoDoc* doc = view_.Document();
    bool changed = false;
    if (doc)
        for (size_t i = 0; i < table_.rows.size(); ++i) {
            int* value = doc->FindValue(table_.rows[i].code);
            if (!value || *value == values_[i])
                continue;
            *value = values_[i];
            ChangedParameters().Set(table_.rows[i].code);
            changed = true;
        }
    ShowMessage(LoadResString(IDS_NF_FILLED), GetWindowText(), MB_OK | MB_ICONINFORMATION);
    if (changed)
        doc->SetModifiedFlag(true);
}
