#include "tools/ui/MulPosDlg.h"

#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/core/WindowStyles.h"
#include "link/LinkState.h"
#include "link/services/RegisterServices.h"
#include "link/services/StopKeeper.h"
#include "resources/ids/tools.h"
#include "tools/VirtualInputs.h"
#include "tools/ui/PositionPageSupport.h"
#include "tools/ui/PositionToolsLink.h"

CMulPosDlg::CMulPosDlg(IPositionToolsLink& link) : CMultiPositionPage(IDD_POS_MULTI, link) {}

const MessageMap* CMulPosDlg::GetMessageMap() const {
    static const MessageMap map(CMultiPositionPage::GetMessageMap(),
                                {
                                    msg::Command(IDC_MP_START, &CMulPosDlg::OnStart),
                                    msg::Command(IDC_MP_ENABLE, &CMulPosDlg::OnEnable),
                                    msg::Command(IDC_MP_EMC, &CMulPosDlg::OnEmc),
                                    msg::Timer(&CMulPosDlg::OnTimer),
                                });
    return &map;
}

BOOL CMulPosDlg::CreateAlone(CWnd* parent) {
    const DialogTemplate* page = FindDialogTemplate(IDD_POS_MULTI);
    if (!page)
        return FALSE;
    aloneTemplate_ = std::make_unique<DialogTemplate>(*page);
    aloneTemplate_->style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    alone_ = true;
    return CreateIndirect(*aloneTemplate_, parent);
}

int* CMulPosDlg::WholeNumberMember(int id) {
    if (id == IDC_MP_CYCLES)
        return &m_cycles;
    return CMultiPositionPage::WholeNumberMember(id);
}

std::vector<int> CMulPosDlg::SecondTargetControls() const {
    return {IDC_MP_TARGET2, IDC_MP_CYCLES, IDC_MP_DWELL, IDC_MP_SPEED2};
}

BOOL CMulPosDlg::OnInitDialog() {
    CMultiPositionPage::OnInitDialog();
    SetTextLimits({{IDC_MP_UNITS, 10},
                   {IDC_MP_TARGET1, 12},
                   {IDC_MP_TARGET2, 12},
                   {IDC_MP_SPEED1, 10},
                   {IDC_MP_SPEED2, 10},
                   {IDC_MP_CYCLES, 6},
                   {IDC_MP_DWELL, 6}});
    EnableSecondTarget();
    if (Linked())
        if (const std::optional<std::int64_t> resolution = ReadResolution())
            m_pulseIndex = PulseChoiceForResolution(*resolution);
    ShowValues();
    return TRUE;
}

bool CMulPosDlg::OtherPageRunning() {
    if (!MultiPositionIoRunFlag)
        return false;
    const std::optional<int> inputs = Services().ReadDriveParameter("Hn618");
    if (!inputs || (*inputs & 1) == 0)
        return false;
    ShowMessage(ToolText(IDS_POS_OTHER_PAGE_RUNNING));
    return true;
}

void CMulPosDlg::SetEnableCaption(bool servoOn) {
    SetDlgItemText(IDC_MP_ENABLE, ToolText(servoOn ? IDS_POS_DISABLE : IDS_POS_ENABLE));
}

void CMulPosDlg::ShowEnableState() {
    SetEnableCaption(ReadServoOnState(Services()) != 0);
}

StopResult CMulPosDlg::SendStop(const CStopKeeper::Writes& now) {
    // Kept for a later link, the stop is the servo command alone: no read-modify-write of the
    // virtual inputs on a link whose first exchanges must be the stops.
    return Services().Stops.Send(
        StopMotion, now, [](CRegisterServices& services) { return WriteServoOnCommand(services, 0); });
}

void CMulPosDlg::EndRunOnStop() {
    Apply(legs_.Stop());
    KillTimer(ServoWatchTimer);
    MultiPositionRunFlag = 0;
    SetEnableCaption(false);
}

bool CMulPosDlg::StopWithoutLink() {
    if (Linked() || !Document())
        return false;
    // Nothing can be sent: the view keeps the stop for the link's return and says so.
    EndRunOnStop();
    SendStop([](CRegisterServices& services) { return WriteServoOnCommand(services, 0); });
    return true;
}

void CMulPosDlg::OnEnable() {
    SetEnableCaption(true);
    if (StopWithoutLink())
        return;
    if (!Document() || OtherPageRunning())
        return;
    CRegisterServices& services = Services();
    if (ReadServoOnState(services) != 0) {
        for (int timer : {PollTimer, LeaveForSecondTimer, ReturnToFirstTimer})
            KillTimer(timer);
        MultiPositionRunFlag = 0;
        SetEnableCaption(false);
        if (SendStop([](CRegisterServices& s) { return WriteServoOnCommand(s, 0); }) == StopResult::Refused)
            ShowWritesRefused("0x170E");
        return;
    }
    services.WriteDriveParameter("Pn381", 0);
    PauseMs(100);
    MultiPositionRunFlag = 1;
    // Owed before the servo goes on: one whose reply was damaged may well be on.
    services.Stops.Owe(StopMotion, [](CRegisterServices& s) { return WriteServoOnCommand(s, 0); });
    if (!WriteServoOnCommand(services, 1)) {
        MultiPositionRunFlag = 0;
        SetEnableCaption(false);
        if (Linked())
            ShowWritesRefused("0x170E");
        else
            ShowLinkLost();
        return;
    }
    SetEnableCaption(true);
    SetTimer(ServoWatchTimer, ServoWatchPeriodMs);
}

void CMulPosDlg::OnStart() {
    UpdateData(TRUE);
    if (!Document())
        return;
    if (!Linked()) {
        ShowLinkLost(); // a press that does nothing would look like a run under way
        return;
    }
    if (OtherPageRunning())
        return;
    Apply(legs_.Stop());
    const std::optional<std::int64_t> resolution = ReadResolution();
    if (!resolution) {
        EndRun("", true);
        return;
    }
    if (m_mode == 0 || m_mode == 1)
        Services().WriteDriveParameter("Pn316", m_mode);
    const std::optional<PathCommand> first = Convert(m_target1, m_speed1, *resolution);
    if (!first)
        return;
    if (!FitsLimits(*first)) {
        ShowMessage(ToolText(IDS_POS_FIRST_OUT_OF_RANGE));
        return;
    }
    if (m_second) {
        const std::optional<PathCommand> second = Convert(m_target2, m_speed2, *resolution);
        if (!second)
            return;
        if (!FitsLimits(*second)) {
            ShowMessage(ToolText(IDS_POS_SECOND_OUT_OF_RANGE));
            return;
        }
    }
    if (!MoveTo(1))
        return;
    const bool servoOn = ReadServoOnState(Services()) != 0;
    const LegAction next = legs_.Started(m_second != 0, servoOn);
    if (next.startTimer)
        PauseMs(50);
    Apply(next);
    MultiPositionRunFlag = 1;
}

bool CMulPosDlg::MoveTo(int target) {
    const std::optional<std::int64_t> resolution = ReadResolution();
    std::optional<PathCommand> command;
    if (resolution) {
        // The limits were checked at Start; a refusal now comes from the drive.
        command = target == 1 ? Convert(m_target1, m_speed1, *resolution)
                              : Convert(m_target2, m_speed2, *resolution);
        if (!command) {
            Apply(legs_.Stop());
            MultiPositionRunFlag = 0;
            return false;
        }
    }
    std::string refused;
    if (command) {
        const std::pair<const char*, std::int64_t> words[] = {
            {"Pn401", command->revolutions}, {"Pn402", command->remainder}, {"Pn403", command->rpm}};
        for (const auto& [code, value] : words)
            if (!Services().WriteDriveParameter(code, static_cast<int>(value)))
                refused += std::string(code) + " ";
    }
    if (!resolution || !refused.empty()) {
        EndRun(refused, !resolution);
        return false;
    }
    if (!PulseTrigger()) {
        EndRun("Hn618 ");
        return false;
    }
    return true;
}

bool CMulPosDlg::PulseTrigger() {
    if (!SetVirtualInput(1, BitPtrg))
        return false;
    PauseMs(PtrgPulseMs);
    SetTimer(PtrgPulseTimer, PtrgPulseMs);
    return true;
}

void CMulPosDlg::EndRun(const std::string& refusedCodes, bool noAnswer) {
    const bool running = MultiPositionRunFlag != 0;
    Apply(legs_.Stop());
    KillTimer(ServoWatchTimer);
    MultiPositionRunFlag = 0;
    if (!Linked() || noAnswer) {
        SetEnableCaption(false);
        // The motor may be on its way to a target: its stop goes to the view, which tells the user.
        if (running)
            SendStop([](CRegisterServices& services) { return WriteServoOnCommand(services, 0); });
        else
            ShowLinkLost();
    } else {
        ShowWritesRefused(refusedCodes);
    }
}

void CMulPosDlg::Apply(const LegAction& action) {
    for (int timer : action.kill)
        KillTimer(static_cast<UINT_PTR>(timer));
    if (action.moveTo != 0 && !MoveTo(action.moveTo))
        return;
    if (action.startTimer) {
        if (action.moveTo != 0)
            PauseMs(100);
        SetTimer(static_cast<UINT_PTR>(*action.startTimer), static_cast<UINT>(action.startPeriodMs));
    }
}

void CMulPosDlg::OnTimer(UINT_PTR id) {
    if (!Linked()) {
        // The link went: no leg may follow, and the run's stop is kept for the link's return. One
        // message for the whole run.
        const bool running = MultiPositionRunFlag != 0;
        KillTimer(id);
        EndRunOnStop();
        if (running)
            SendStop([](CRegisterServices& services) { return WriteServoOnCommand(services, 0); });
        return;
    }
    switch (id) {
    case PollTimer: {
        if (legs_.Held())
            return;
        const std::optional<int> status = Services().ReadDriveParameter("dn-02");
        if (!status) {
            // Without the drive's answer the run cannot be followed: it ends here.
            EndRun("", true);
            return;
        }
        Apply(legs_.Poll((*status & 0x08) != 0, m_dwell));
        break;
    }
    case LeaveForSecondTimer:
    case ReturnToFirstTimer:
        if (Document())
            Apply(legs_.DwellOver(static_cast<int>(id), m_cycles));
        break;
    case PtrgPulseTimer:
        SetVirtualInput(0, BitPtrg);
        KillTimer(PtrgPulseTimer);
        break;
    case ServoWatchTimer:
        if (ReadServoOnState(Services()) == 0) {
            MultiPositionRunFlag = 0;
            SetEnableCaption(false);
            KillTimer(ServoWatchTimer);
        }
        break;
    default:
        break;
    }
}

void CMulPosDlg::OnEmc() {
    if (!m_emc && StopWithoutLink())
        return;
    if (!Document() || !Linked() || OtherPageRunning())
        return;
    if (!m_emc) {
        Apply(legs_.Stop());
        const StopResult stopped = SendStop([this](CRegisterServices&) {
            return SetVirtualInput(1, BitPhold) && SetVirtualInput(0, BitServoOn);
        });
        if (stopped != StopResult::Taken) {
            // Not confirmed: the run is over here, but EMC does not claim the inputs are set.
            EndRunOnStop();
            if (stopped == StopResult::Refused)
                ReportInputsRefused();
            return;
        }
        GetDlgItem(IDC_MP_START)->EnableWindow(FALSE);
        GetDlgItem(IDC_MP_ENABLE)->EnableWindow(FALSE);
        SetDlgItemText(IDC_MP_EMC, "----");
    } else {
        SetVirtualInput(0, BitPhold);
        SetVirtualInput(0, BitServoOn);
        GetDlgItem(IDC_MP_START)->EnableWindow(TRUE);
        GetDlgItem(IDC_MP_ENABLE)->EnableWindow(TRUE);
        SetDlgItemText(IDC_MP_EMC, ToolText(IDS_POS_EMC));
    }
    m_emc = !m_emc;
    ShowEnableState();
}

std::vector<int> CMulPosDlg::HeldButtons() const {
    return {IDC_MP_START, IDC_MP_ENABLE, IDC_MP_EMC};
}

void CMulPosDlg::OnCancel() {
    if (!alone_)
        return;
    for (int timer : {PollTimer, PtrgPulseTimer, LeaveForSecondTimer, ReturnToFirstTimer, ServoWatchTimer})
        KillTimer(static_cast<UINT_PTR>(timer));
    link_.ToolWindowClosed(this);
    DestroyWindow();
}

void CMulPosDlg::PostNcDestroy() {
    if (alone_)
        delete this;
}
