#include "tuning/ui/JOGRigidityDlg.h"

#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/Edit.h"
#include "link/LinkState.h"
#include "link/services/TransferPass.h"
#include "resources/ids/mainframe.h"
#include "resources/ids/tuningwindows.h"
#include "tuning/RigidityRules.h"
#include "tuning/ui/EntryGuard.h"

CJOGRigidityDlg::CJOGRigidityDlg(ITuningViewLink& view) : CDialog(IDD_RIGIDITY, nullptr), view_(view) {}

const MessageMap* CJOGRigidityDlg::GetMessageMap() const {
    static const MessageMap map(CDialog::GetMessageMap(), {
                                                              msg::Control(EN_CHANGE, IDC_RG_PERCENT,
                                                                           &CJOGRigidityDlg::OnPercentChange),
                                                          });
    return &map;
}

BOOL CJOGRigidityDlg::Create(CWnd* parent) {
    return CDialog::Create(IDD_RIGIDITY, parent);
}

void CJOGRigidityDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_RG_SPIN, m_spin);
    DDX_Text(dx, IDC_RG_PERCENT, m_percent);
}

BOOL CJOGRigidityDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    auto* edit = dynamic_cast<CEdit*>(GetDlgItem(IDC_RG_PERCENT));
    edit->LimitText(3);
    m_spin.SetBase(10);
    m_spin.SetBuddy(edit);
    m_spin.SetRange32(0, 100);
    m_percent = 30;
    edit->SetWindowText("30");
    if (!view_.Document())
        return FALSE;
    if (ConnectedFlag) {
        CRegisterServices& services = view_.Services();
        std::optional<int> q501, q502, q505;
        {
            CBusyHold busy(services);
            q501 = services.ReadDriveParameter("qn501");
            q502 = services.ReadDriveParameter("qn502");
            q505 = services.ReadDriveParameter("qn505");
        }
        const std::pair<const std::optional<int>*, int*> starts[] = {
            {&q501, &m_start501}, {&q502, &m_start502}, {&q505, &m_start505}};
        for (const auto& [read, start] : starts)
            *start = read->value_or(0);
        GetDlgItem(IDC_RG_QN501_START)->SetWindowText(q501 ? Format("%d", *q501) : std::string("----"));
        GetDlgItem(IDC_RG_QN502_START)->SetWindowText(q502 ? Format("%d", *q502) : std::string("----"));
        GetDlgItem(IDC_RG_QN505_START)->SetWindowText(q505 ? Format("%d", *q505) : std::string("----"));
        startsRead_ = q501 && q502 && q505;
    }
    ShowAdjusted();
    return TRUE;
}

void CJOGRigidityDlg::ShowAdjusted() {
    if (!startsRead_) {
        for (int id : {IDC_RG_QN501_ADJUSTED, IDC_RG_QN502_ADJUSTED, IDC_RG_QN505_ADJUSTED})
            GetDlgItem(id)->SetWindowText("----");
        return;
    }
    m_adjusted501 = ScaledGain(m_start501, m_percent);
    m_adjusted505 = ScaledGain(m_start505, m_percent);
    const std::optional<int> integral = ScaledIntegralTime(m_start502, m_percent);
    m_adjusted502 = integral.value_or(0);
    GetDlgItem(IDC_RG_QN501_ADJUSTED)->SetWindowText(Format("%d", m_adjusted501));
    // 0 % has no integral time: a division by zero shows as not available.
    GetDlgItem(IDC_RG_QN502_ADJUSTED)
        ->SetWindowText(integral ? Format("%d", *integral) : std::string("----"));
    GetDlgItem(IDC_RG_QN505_ADJUSTED)->SetWindowText(Format("%d", m_adjusted505));
}

void CJOGRigidityDlg::OnPercentChange() {
    GuardIntegerEdit(*this, IDC_RG_PERCENT, m_percent);
    ShowAdjusted();
}

void CJOGRigidityDlg::OnOK() {
    if (!view_.Document())
        return;
    if (!ConnectedFlag) {
        ShowMessage(LoadResString(IDS_COMMUNICATE_ERROR), LoadResString(IDS_COMMUNICATION_MESSAGE),
                    MB_OK | MB_ICONSTOP);
        return;
    }
    auto* edit = dynamic_cast<CEdit*>(GetDlgItem(IDC_RG_PERCENT));
    if (edit->GetWindowText().empty()) {
        UpdateData(TRUE);
        return;
    }
    if (!UpdateData(TRUE))
        return;
    if (!RigidityPercentAllowed(m_percent)) {
        GotoDlgCtrl(edit);
        edit->SetSel(0, -1);
        ShowMessage(LoadResString(IDS_RG_PERCENT_RANGE));
        return;
    }
    // Gains that were never read would be written as zero.
    if (!startsRead_) {
        ShowMessage(LoadResString(IDS_RG_NOT_READ), LoadResString(IDS_COMMUNICATION_MESSAGE),
                    MB_OK | MB_ICONSTOP);
        return;
    }
    ShowAdjusted();
    CRegisterServices& services = view_.Services();
    const std::pair<const char*, int> writes[] = {
        {"qn501", m_adjusted501}, {"qn502", m_adjusted502}, {"qn505", m_adjusted505}};
    std::string failed;
    {
        CBusyHold busy(services);
        for (const auto& [code, value] : writes)
            if (!services.WriteDriveParameter(code, value)) {
                failed = code;
                break;
            }
    }
    if (failed.empty())
        ShowMessage(LoadResString(IDS_RG_WRITE_FINISH));
    else
        ShowMessage(failed + "\n" + LoadResString(IDS_TW_WRITE_FAILED));
}

void CJOGRigidityDlg::OnCancel() {
    if (OnClosed)
        OnClosed();
    DestroyWindow();
}
