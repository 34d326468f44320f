#include "tools/ui/MulPosDlg1.h"

#include "framework/core/MessageSeam.h"
#include "link/LinkState.h"
#include "link/services/RegisterServices.h"
#include "resources/ids/tools.h"
#include "tools/MultiPositionRun.h"
#include "tools/PathProgram.h"
#include "tools/VirtualInputs.h"
#include "tools/ui/PositionPageSupport.h"
#include "tools/ui/PositionToolsLink.h"

CMulPosDlg1::CMulPosDlg1(IPositionToolsLink& link) : CMultiPositionPage(IDD_POS_MULTI_IO, link) {}

const MessageMap* CMulPosDlg1::GetMessageMap() const {
    static const MessageMap map(CMultiPositionPage::GetMessageMap(),
                                {
                                    msg::Command(IDC_MP_WRITE, &CMulPosDlg1::OnWrite),
                                    msg::Command(IDC_MP_ENABLE, &CMulPosDlg1::OnEnable),
                                    msg::Command(IDC_MP_START, &CMulPosDlg1::OnStart),
                                    msg::Command(IDC_MP_VIRTUAL_IO, &CMulPosDlg1::OnReadControls),
                                    msg::Command(IDC_MP_HARDWARE_IO, &CMulPosDlg1::OnReadControls),
                                    msg::Command(IDC_MP_CYCLIC, &CMulPosDlg1::OnReadControls),
                                    msg::Timer(&CMulPosDlg1::OnTimer),
                                });
    return &map;
}

void CMulPosDlg1::DoDataExchange(CDataExchange* dx) {
    CMultiPositionPage::DoDataExchange(dx);
    DDX_Radio(dx, IDC_MP_VIRTUAL_IO, m_ioMode);
    DDX_Check(dx, IDC_MP_CYCLIC, m_cyclic);
}

int* CMulPosDlg1::WholeNumberMember(int id) {
    if (id == IDC_MP_DWELL2)
        return &m_dwell2;
    return CMultiPositionPage::WholeNumberMember(id);
}

std::vector<int> CMulPosDlg1::SecondTargetControls() const {
    return {IDC_MP_TARGET2, IDC_MP_DWELL2, IDC_MP_SPEED2};
}

BOOL CMulPosDlg1::OnInitDialog() {
    CMultiPositionPage::OnInitDialog();
    SetTextLimits({{IDC_MP_UNITS, 10},
                   {IDC_MP_TARGET1, 12},
                   {IDC_MP_SPEED1, 10},
                   {IDC_MP_DWELL, 6},
                   {IDC_MP_TARGET2, 12},
                   {IDC_MP_SPEED2, 10},
                   {IDC_MP_DWELL2, 6}});
    EnableSecondTarget();
    if (Linked()) {
        if (const std::optional<std::int64_t> resolution = ReadResolution())
            m_pulseIndex = PulseChoiceForResolution(*resolution);
        CheckPathMode();
        if (const std::optional<int> pn316 = Services().ReadDriveParameter("Pn316"))
            m_mode = *pn316 & 0xF;
    }
    ShowValues();
    return TRUE;
}

bool CMulPosDlg1::OtherPageRunning() {
    if (!MultiPositionRunFlag || ReadServoOnState(Services()) == 0)
        return false;
    ShowMessage(ToolText(IDS_POS_OTHER_PAGE_RUNNING));
    return true;
}

bool CMulPosDlg1::VirtualServoOn() {
    const std::optional<int> word = Services().ReadDriveParameter("Hn618");
    return word && (*word & 1) != 0;
}

bool CMulPosDlg1::SetVirtualServoOn(bool on) {
    return SetVirtualInput(on ? 1 : 0, BitServoOn);
}

void CMulPosDlg1::ShowEnableState() {
    SetDlgItemText(IDC_MP_ENABLE, ToolText(VirtualServoOn() ? IDS_POS_DISABLE : IDS_POS_ENABLE));
}

void CMulPosDlg1::CheckPathMode() {
    if (!Linked())
        return;
    const std::optional<int> pathMode = Services().ReadDriveParameter("Pn381");
    if (pathMode && PathModeAllowsRun(*pathMode))
        return;
    GetDlgItem(IDC_MP_START)->EnableWindow(FALSE);
    GetDlgItem(IDC_MP_ENABLE)->EnableWindow(FALSE);
}

void CMulPosDlg1::ReportRefused(const std::string& codes) {
    if (Linked())
        ShowWritesRefused(codes);
    else
        ShowLinkLost();
}

void CMulPosDlg1::OnWrite() {
    UpdateData(TRUE);
    if (!Document() || !Linked() || OtherPageRunning())
        return;
    CRegisterServices& services = Services();
    const std::optional<std::int64_t> resolution = ReadResolution();
    if (!resolution) {
        ReportRefused("0x1706 ");
        return;
    }
    std::string refused;
    if ((m_mode == 0 || m_mode == 1) && !services.WriteDriveParameter("Pn316", m_mode))
        refused += "Pn316 ";
    const std::optional<PathCommand> first = Convert(m_target1, m_speed1, *resolution);
    if (!first)
        return;
    if (!FitsLimits(*first)) {
        ShowMessage(ToolText(IDS_POS_FIRST_OUT_OF_RANGE));
        return;
    }
    std::optional<PathCommand> second;
    if (m_second) {
        second = Convert(m_target2, m_speed2, *resolution);
        if (!second)
            return;
        if (!FitsLimits(*second)) {
            ShowMessage(ToolText(IDS_POS_SECOND_OUT_OF_RANGE));
            return;
        }
    }
    for (const PositionWrite& write : PathProgramWrites(*first, second, m_dwell, m_dwell2, m_cyclic != 0))
        if (!services.WriteDriveParameter(write.code, write.value))
            refused += write.code + " ";
    const std::optional<int> mask = services.ReadDriveParameter("Hn617");
    const bool virtualIo = m_ioMode == 0;
    if (!mask || !services.WriteDriveParameter("Hn617", PathInputMask(*mask, virtualIo)))
        refused += "Hn617 ";
    const bool ready = refused.empty();
    GetDlgItem(IDC_MP_START)->EnableWindow(virtualIo && ready);
    GetDlgItem(IDC_MP_ENABLE)->EnableWindow(virtualIo && ready);
    if (!ready) {
        ReportRefused(refused);
        return;
    }
    ShowMessage(ToolText(IDS_POS_WRITE_FINISH));
}

StopResult CMulPosDlg1::SendStop(const CStopKeeper::Writes& now) {
    return Services().Stops.Send(StopMotion, now, WritePathRunInputsOff);
}

void CMulPosDlg1::EndRunOnStop() {
    KillTimer(ServoWatchTimerId);
    MultiPositionIoRunFlag = 0;
    SetDlgItemText(IDC_MP_ENABLE, ToolText(IDS_POS_ENABLE));
    SetDlgItemText(IDC_MP_START, ToolText(IDS_POS_START));
    GetDlgItem(IDC_MP_CYCLIC)->EnableWindow(TRUE);
}

bool CMulPosDlg1::StopWithoutLink() {
    if (Linked() || !Document())
        return false;
    // Nothing can be sent: the view keeps the stop for the link's return and says so.
    EndRunOnStop();
    SendStop(WritePathRunInputsOff);
    return true;
}

void CMulPosDlg1::OnEnable() {
    UpdateData(TRUE);
    // "Disable" is a stop whatever a read would say: a drive that does not answer gets it kept.
    const bool stopping = GetDlgItemText(IDC_MP_ENABLE) == ToolText(IDS_POS_DISABLE);
    SetDlgItemText(IDC_MP_ENABLE, ToolText(IDS_POS_DISABLE));
    if (StopWithoutLink())
        return;
    if (!Document() || OtherPageRunning())
        return;
    if (stopping || VirtualServoOn()) {
        const StopResult stopped = SendStop([this](CRegisterServices&) { return SetVirtualServoOn(false); });
        if (stopped != StopResult::Taken && stopped != StopResult::Refused) {
            EndRunOnStop(); // the keeper has told the user
            return;
        }
        if (stopped == StopResult::Refused)
            ReportInputsRefused();
        SetDlgItemText(IDC_MP_ENABLE, ToolText(IDS_POS_ENABLE));
        GetDlgItem(IDC_MP_CYCLIC)->EnableWindow(TRUE);
        MultiPositionIoRunFlag = 0;
        return;
    }
    MultiPositionIoRunFlag = 1;
    // Owed before the servo goes on: one whose reply was damaged may well be on.
    Services().Stops.Owe(StopMotion, WritePathRunInputsOff);
    if (!SetVirtualServoOn(true)) {
        MultiPositionIoRunFlag = 0;
        SetDlgItemText(IDC_MP_ENABLE, ToolText(IDS_POS_ENABLE));
        ReportInputsRefused();
        return;
    }
    SetTimer(ServoWatchTimerId, ServoWatchPeriodMs);
    GetDlgItem(IDC_MP_CYCLIC)->EnableWindow(FALSE);
    SetDlgItemText(IDC_MP_ENABLE, ToolText(IDS_POS_DISABLE));
}

void CMulPosDlg1::OnStart() {
    UpdateData(TRUE);
    // "Stop" is a stop whatever a read would say; without a link the view keeps it. "Start" without
    // a link does nothing.
    const bool stopping = GetDlgItemText(IDC_MP_START) == ToolText(IDS_POS_STOP);
    if (stopping && StopWithoutLink())
        return;
    if (!Document() || !Linked() || OtherPageRunning())
        return;
    std::optional<int> inputs;
    if (!stopping) {
        inputs = Services().ReadDriveParameter("Hn618");
        if (!inputs) {
            ReportInputsRefused();
            return;
        }
    }
    if (stopping || (*inputs & (1 << BitPtrg))) {
        const StopResult stopped =
            SendStop([this](CRegisterServices&) { return SetVirtualInput(0, BitPtrg); });
        if (stopped == StopResult::Refused) {
            ReportInputsRefused();
            return;
        }
        if (stopped != StopResult::Taken) {
            EndRunOnStop(); // the keeper has told the user
            return;
        }
        SetDlgItemText(IDC_MP_START, ToolText(IDS_POS_START));
        MultiPositionIoRunFlag = 0;
    } else {
        MultiPositionIoRunFlag = 1;
        if (!SetVirtualInput(1, BitPtrg)) {
            ReportInputsRefused();
            return;
        }
        SetDlgItemText(IDC_MP_START, ToolText(IDS_POS_STOP));
    }
}

std::vector<int> CMulPosDlg1::HeldButtons() const {
    return {IDC_MP_START, IDC_MP_ENABLE};
}

void CMulPosDlg1::OnTimer(UINT_PTR id) {
    if (id != ServoWatchTimerId)
        return;
    if (!Linked()) {
        // The link went under a run: the drive may still run the program, so its stop is kept for
        // the link's return (one message).
        const bool running = MultiPositionIoRunFlag != 0;
        EndRunOnStop();
        if (running)
            SendStop(WritePathRunInputsOff);
        return;
    }
    if (!VirtualServoOn()) {
        MultiPositionIoRunFlag = 0;
        KillTimer(ServoWatchTimerId);
    }
}
