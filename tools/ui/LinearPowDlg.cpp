#include "tools/ui/LinearPowDlg.h"

#include "framework/core/MessageSeam.h"
#include "link/LinkState.h"
#include "link/services/RegisterServices.h"
#include "link/services/TransferPass.h"
#include "resources/ids/motortools.h"

namespace {

constexpr int RegAlignment = 0x0F0B;
constexpr int RegServoStatus = 0x1703;
constexpr int RegAlarmActive = 0x1712;

} // namespace

CLinearPowDlg::CLinearPowDlg(CRegisterServices* services, CKeloServoDoc* document, CWnd* parent)
    : CDialog(IDD_POLE_ALIGNMENT, parent), services_(services), document_(document) {}

const MessageMap* CLinearPowDlg::GetMessageMap() const {
    static const MessageMap map(CDialog::GetMessageMap(),
                                {
                                    msg::Command(IDC_POLE_START, &CLinearPowDlg::OnStart),
                                    msg::Command(IDC_POLE_CLOSE, &CLinearPowDlg::OnClose),
                                    msg::Timer(&CLinearPowDlg::OnTimer),
                                    msg::Destroy(&CLinearPowDlg::OnDestroy),
                                });
    return &map;
}

void CLinearPowDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_POLE_STATUS, m_status);
    DDX_Text(dx, IDC_POLE_LEVEL, m_level);
    DDV_MinMaxInt(dx, m_level, 0, 100);
}

BOOL CLinearPowDlg::OnInitDialog() {
    if (!document_)
        return FALSE;
    if (ConnectedFlag != 0 && services_) {
        CBusyHold hold(*services_);
        if (const std::optional<int> level = services_->ReadDriveParameter("Cn085"))
            m_level = *level;
    }
    CDialog::OnInitDialog();
    return TRUE;
}

void CLinearPowDlg::OnStart() {
    if (!UpdateData(TRUE))
        return;
    if (ConnectedFlag != 0 && services_)
        SetTimer(PoleAlignmentStartTimer, 500);
}

void CLinearPowDlg::OnClose() {
    // The alignment's stop; an alignment under way whose link went keeps it in the view.
    if (services_ && (ConnectedFlag != 0 || HasTimer(PoleAlignmentPollTimer)))
        services_->Stops.Send("pole alignment", [](CRegisterServices& services) {
            return services.WriteDriveRegister(RegAlignment, 0) != 0;
        });
    EndDialog(IDCANCEL);
}

void CLinearPowDlg::OnCancel() {
    if (HasTimer(PoleAlignmentPollTimer))
        OnClose();
    else
        CDialog::OnCancel();
}

void CLinearPowDlg::OnDestroy() {
    KillTimer(PoleAlignmentStartTimer);
    KillTimer(PoleAlignmentPollTimer);
}

void CLinearPowDlg::OnTimer(UINT_PTR id) {
    if (id == PoleAlignmentStartTimer)
        StartTick();
    else if (id == PoleAlignmentPollTimer)
        PollTick();
}

void CLinearPowDlg::StartTick() {
    if (ConnectedFlag == 0 || !services_)
        return;
    CBusyHold hold(*services_);
    if (services_->ReadDriveRegister(RegServoStatus) == 1) {
        KillTimer(PoleAlignmentStartTimer);
        ShowMessage(
            "Warning!\n\nDuring servo excitation, please release the excitation, and then perform the "
            "magnetic pole alignment.");
        return;
    }
    if (services_->ReadDriveRegister(RegAlarmActive) == 1) {
        KillTimer(PoleAlignmentStartTimer);
        ShowMessage(
            "Warning!\n\nDuring the servo alarm, please cancel the alarm, and then perform the magnetic "
            "pole alignment.");
        return;
    }
    if (!UpdateData(TRUE)) {
        KillTimer(PoleAlignmentStartTimer);
        return;
    }
    if (!services_->WriteDriveParameter("Cn085", m_level)) {
        // One box, not one every tick: the user starts again once the drive takes the level.
        KillTimer(PoleAlignmentStartTimer);
        ShowMessage("write Cn085 error!");
        return;
    }
    if (services_->WriteDriveRegister(RegAlignment, 1)) {
        KillTimer(PoleAlignmentStartTimer);
        SetTimer(PoleAlignmentPollTimer, 500);
    }
}

void CLinearPowDlg::PollTick() {
    if (ConnectedFlag == 0 || !services_)
        return;
    CBusyHold hold(*services_);
    if (const std::optional<int> state = services_->ReadDriveRegister(RegAlignment)) {
        if (*state == 1) {
            m_status = "Aligning";
        } else if (*state == 0) {
            m_status = "Alignment Successfully";
            KillTimer(PoleAlignmentPollTimer);
        }
        SetDlgItemText(IDC_POLE_STATUS, m_status);
    }
    if (services_->ReadDriveRegister(RegAlarmActive) == 1) {
        m_status = "Alignment Fail";
        KillTimer(PoleAlignmentPollTimer);
        SetDlgItemText(IDC_POLE_STATUS, m_status);
    }
}
