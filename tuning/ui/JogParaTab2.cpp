#include "tuning/ui/JogParaTab2.h"

#include "framework/ui/Edit.h"
#include "resources/ids/tuningwindows.h"
#include "tuning/ui/EntryGuard.h"

CJogParaTab2::CJogParaTab2() : CDialog(IDD_AG_CONDITIONS2) {}

const MessageMap* CJogParaTab2::GetMessageMap() const {
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::Control(EN_CHANGE, IDC_AG_DETECTION, &CJogParaTab2::OnDetectionChange),
            msg::Control(CBN_SELCHANGE, IDC_AG_FRICTION, &CJogParaTab2::OnComboChange),
            msg::Control(CBN_SELCHANGE, IDC_AG_OBSERVER, &CJogParaTab2::OnComboChange),
        });
    return &map;
}

BOOL CJogParaTab2::OnInitDialog() {
    CDialog::OnInitDialog();
    if (auto* edit = dynamic_cast<CEdit*>(GetDlgItem(IDC_AG_DETECTION)))
        edit->LimitText(4);
    m_detectionSpin.SetBuddy(GetDlgItem(IDC_AG_DETECTION));
    return TRUE;
}

void CJogParaTab2::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_AG_DETECTION_SPIN, m_detectionSpin);
    DDX_CBIndex(dx, IDC_AG_FRICTION, m_friction);
    DDX_CBIndex(dx, IDC_AG_OBSERVER, m_observer);
    DDX_Text(dx, IDC_AG_DETECTION, m_detectionLevel);
}

void CJogParaTab2::OnDetectionChange() {
    GuardIntegerEdit(*this, IDC_AG_DETECTION, m_detectionLevel);
}

void CJogParaTab2::OnComboChange() {
    UpdateData(TRUE);
}
