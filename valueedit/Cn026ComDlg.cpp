#include "valueedit/Cn026ComDlg.h"

#include "framework/ui/ComboBox.h"
#include "resources/ids/valueedit.h"
#include "valueedit/NumericEditRules.h"

#include <string>

CCn026ComDlg::CCn026ComDlg() : CDialog(IDD_VE_CN026) {}

const MessageMap* CCn026ComDlg::GetMessageMap() const {
    static const MessageMap map(CDialog::GetMessageMap(),
                                {
                                    msg::Control(CBN_SELCHANGE, IDC_VE_COMBO0, &CCn026ComDlg::OnLevelChanged),
                                });
    return &map;
}

BOOL CCn026ComDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    level_ = m_Value & 0xFF;
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_VE_COMBO0)))
        combo->SetCurSel(RigidityEntryOf(m_Value));
    RefreshGains();
    return TRUE;
}

void CCn026ComDlg::OnLevelChanged() {
    auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_VE_COMBO0));
    if (!combo || combo->GetCurSel() < 0)
        return;
    level_ = combo->GetCurSel() + 1;
    RefreshGains();
}

void CCn026ComDlg::RefreshGains() {
    m_Value = level_;
    SetDlgItemText(IDC_VE_LEVEL, std::to_string(level_));
    const RigidityGains gains = RigidityGainsOf(level_);
    SetDlgItemText(IDC_VE_GAIN_PN310, std::to_string(gains.pn310));
    SetDlgItemText(IDC_VE_GAIN_SN211, std::to_string(gains.sn211));
    SetDlgItemText(IDC_VE_GAIN_SN212, std::to_string(gains.sn212));
    SetDlgItemText(IDC_VE_GAIN_CN034, std::to_string(gains.cn034));
}
