#include "valueedit/EditCn054Dialog.h"

#include "resources/ids/valueedit.h"

CEditCn054Dialog::CEditCn054Dialog() : CValueEntryDlg(Variant::AlarmMask, IDD_VE_CN054) {}

BOOL CEditCn054Dialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int k = static_cast<int>(wParam) - IDC_VE_ALARM_BIT0;
    if (HexMode() && k >= 0 && k < 16) {
        OnBitClicked(k);
        return TRUE;
    }
    return CValueEntryDlg::OnCommand(wParam, lParam);
}

void CEditCn054Dialog::OnBitClicked(int k) {
    m_Value = ToggleAlarmBit(m_Value, k);
    ShowBits();
    ShowEntry(IDC_VE_HEX, FormatEntry(mode_, m_Value));
    UpdateData(FALSE);
}

void CEditCn054Dialog::ShowBits() {
    if (!HexMode())
        return;
    for (int k = 0; k < 16; ++k)
        CheckDlgButton(IDC_VE_ALARM_BIT0 + k, (m_Value >> k) & 1 ? BST_CHECKED : BST_UNCHECKED);
}
