#include "tuning/ui/JogParaTab1.h"

#include "resources/ids/tuningwindows.h"
#include "tuning/ui/EntryGuard.h"

CJogParaTab1::CJogParaTab1() : CDialog(IDD_AG_CONDITIONS1) {}

const MessageMap* CJogParaTab1::GetMessageMap() const {
    static const MessageMap map(CDialog::GetMessageMap(),
                                {
                                    msg::ControlRange(EN_CHANGE, IDC_AG_COMMAND_NUMBER, IDC_AG_INERTIA_RATIO,
                                                      &CJogParaTab1::OnEditChange),
                                    msg::ControlRange(CBN_SELCHANGE, IDC_AG_RESPONSE_MODE,
                                                      IDC_AG_INERTIA_ESTIMATE, &CJogParaTab1::OnComboChange),
                                });
    return &map;
}

BOOL CJogParaTab1::OnInitDialog() {
    CDialog::OnInitDialog();
    const struct {
        int edit;
        CSpinButtonCtrl& spin;
        int limit;
    } fields[] = {
        {IDC_AG_INERTIA_RATIO, m_inertiaSpin, 4}, {IDC_AG_COMMAND_NUMBER, m_commandSpin, 4},
        {IDC_AG_SPEED, m_speedSpin, 4},           {IDC_AG_STOP_TIME, m_stopTimeSpin, 2},
        {IDC_AG_RIGIDITY, m_rigiditySpin, 2},
    };
    for (const auto& field : fields) {
        if (auto* edit = dynamic_cast<CEdit*>(GetDlgItem(field.edit)))
            edit->LimitText(field.limit);
        field.spin.SetBuddy(GetDlgItem(field.edit));
    }
    return TRUE;
}

void CJogParaTab1::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_AG_INERTIA_RATIO_SPIN, m_inertiaSpin);
    DDX_Control(dx, IDC_AG_COMMAND_NUMBER_SPIN, m_commandSpin);
    DDX_Control(dx, IDC_AG_SPEED_SPIN, m_speedSpin);
    DDX_Control(dx, IDC_AG_STOP_TIME_SPIN, m_stopTimeSpin);
    DDX_Control(dx, IDC_AG_RIGIDITY_SPIN, m_rigiditySpin);
    DDX_Text(dx, IDC_AG_RIGIDITY, m_rigidity);
    DDX_Text(dx, IDC_AG_COMMAND_NUMBER, m_commandNumber);
    DDX_Text(dx, IDC_AG_SPEED, m_speed);
    DDX_Text(dx, IDC_AG_INERTIA_RATIO, m_inertiaRatio);
    DDX_Text(dx, IDC_AG_COMMAND_UNIT, m_commandUnit);
    DDX_Text(dx, IDC_AG_SPEED_UNIT, m_speedUnit);
    DDX_Text(dx, IDC_AG_SPEED_RANGE, m_speedRange);
    DDX_Text(dx, IDC_AG_STOP_TIME, m_stopTime);
    DDX_CBIndex(dx, IDC_AG_RESPONSE_MODE, m_responseMode);
    DDX_CBIndex(dx, IDC_AG_INERTIA_ESTIMATE, m_inertiaEstimate);
}

void CJogParaTab1::OnEditChange(UINT id) {
    int* member = nullptr;
    switch (id) {
    case IDC_AG_RIGIDITY:
        member = &m_rigidity;
        break;
    case IDC_AG_COMMAND_NUMBER:
        member = &m_commandNumber;
        break;
    case IDC_AG_SPEED:
        member = &m_speed;
        break;
    case IDC_AG_INERTIA_RATIO:
        member = &m_inertiaRatio;
        break;
    case IDC_AG_STOP_TIME:
        member = &m_stopTime;
        break;
    default:
        return;
    }
    GuardIntegerEdit(*this, static_cast<int>(id), *member);
}

void CJogParaTab1::OnComboChange(UINT) {
    UpdateData(TRUE);
}
