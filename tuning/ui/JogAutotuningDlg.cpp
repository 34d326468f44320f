#include "tuning/ui/JogAutotuningDlg.h"

#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/DC.h"
#include "framework/ui/Gdi.h"
#include "link/LinkState.h"
#include "link/services/TransferPass.h"
#include "resources/ids/mainframe.h"
#include "resources/ids/tuningwindows.h"
#include "tuning/TuningInputs.h"
#include "tuning/ui/AutotuninstartDlg.h"
#include "tuning/ui/ChildPage.h"
#include "tuning/ui/JogAutoParaDlg.h"
#include "tuning/ui/Un45JogDlg.h"

#include <chrono>
#include <thread>

namespace {

using namespace autogainreg;

constexpr COLORREF LampGreen = 0x0000FF00;  // RGB(0, 255, 0)
constexpr COLORREF LampYellow = 0x0000FFFF; // RGB(255, 255, 0)

// Where each result row shows: page and field.
struct ResultPlace {
    int page;
    int field;
};
constexpr ResultPlace ResultPlaces[AutoGainResultCount] = {
    {0, 6040}, {0, 6041}, {0, 6042}, {0, 6043}, {0, 6044}, {0, 6045}, {0, 6046},
    {1, 6041}, {1, 6042}, {1, 6043}, {1, 6044}, {2, 6042}, {2, 6043}, {2, 6044},
};

struct Lamp {
    int id;
    StepLamp lamp;
};
constexpr Lamp Lamps[] = {
    {IDC_AG_LAMP_START, StepLamp::Start},       {IDC_AG_LAMP_INERTIA, StepLamp::InertiaRatio},
    {IDC_AG_LAMP_GAIN, StepLamp::GainFilter},   {IDC_AG_LAMP_CONTROL, StepLamp::ControlMode},
    {IDC_AG_LAMP_FRICTION, StepLamp::Friction}, {IDC_AG_LAMP_FINISH, StepLamp::Finish},
};

std::string Text(int id) {
    return LoadResString(id);
}

constexpr const char* AutoGainMotion = "auto gain";

bool WriteAutoGainStop(CRegisterServices& services) {
    services.WriteDriveRegister(TuningEnable, 0);
    services.WriteDriveRegister(JogModeWord, 0);
    return services.WriteDriveRegister(RunCommand, 0) != 0;
}

} // namespace

CJogAutotuningDlg::CJogAutotuningDlg(ITuningViewLink& view)
    : CDialog(IDD_AUTO_GAIN, nullptr), view_(view), warning_(std::make_unique<CWarningDlg>()) {
    warning_->OnAnswer = [this](int answer) { SetTuningConfirmation(answer); };
    warning_->OnGone = [this] { EnableAfterRun(); };
}

CJogAutotuningDlg::~CJogAutotuningDlg() = default;

const MessageMap* CJogAutotuningDlg::GetMessageMap() const {
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::Command(IDC_AG_PARAMETER_WRITE, &CJogAutotuningDlg::OnParameterWrite),
            msg::Command(IDC_AG_START, &CJogAutotuningDlg::OnStart),
            msg::Command(IDC_AG_STOP, &CJogAutotuningDlg::OnStop),
            msg::Command(IDC_AG_ALARM_CLEAR, &CJogAutotuningDlg::OnAlarmClear),
            msg::Command(IDC_AG_ANALYSIS, &CJogAutotuningDlg::OnMechanicalAnalysis),
            msg::Command(IDC_AG_INERTIA, &CJogAutotuningDlg::OnInertiaEstimation),
            msg::Command(IDC_AG_INSTRUCTION, &CJogAutotuningDlg::OnInstruction),
            msg::Command(IDC_AG_NOTE, &CJogAutotuningDlg::OnNote),
            msg::Timer(&CJogAutotuningDlg::OnTimer),
            msg::Message(WM_DRAWITEM, &CJogAutotuningDlg::OnDrawItem),
            msg::Notify(TCN_SELCHANGE, IDC_AG_PARAMETER_TAB, &CJogAutotuningDlg::OnParameterTabChange),
            msg::Notify(TCN_SELCHANGE, IDC_AG_RESULT_TAB, &CJogAutotuningDlg::OnResultTabChange),
            msg::Destroy(&CJogAutotuningDlg::OnDestroy),
        });
    return &map;
}

BOOL CJogAutotuningDlg::Create(CWnd* parent) {
    return CDialog::Create(IDD_AUTO_GAIN, parent);
}

CResultPage& CJogAutotuningDlg::ResultPage(int index) {
    if (index == 1)
        return m_result2;
    if (index == 2)
        return m_result3;
    return m_result1;
}

void CJogAutotuningDlg::PlacePage(CDialog& page, CTabCtrl& tab) {
    CRect area;
    tab.GetClientRect(&area);
    area.top = 25;
    area.left += 4;
    area.right -= 4;
    area.bottom -= 4;
    page.MoveWindow(area);
}

BOOL CJogAutotuningDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_parameterTab.SubclassDlgItem(IDC_AG_PARAMETER_TAB, this);
    m_resultTab.SubclassDlgItem(IDC_AG_RESULT_TAB, this);
    // Display only: Parameter Write always enables the off-line tuning.
    if (auto* select = dynamic_cast<CComboBox*>(GetDlgItem(IDC_AG_ENABLE_SELECT)))
        select->SetCurSel(0);
    if (!view_.CanRunAnalysis())
        GetDlgItem(IDC_AG_ANALYSIS)->EnableWindow(FALSE);
    if (!view_.Document() || !ConnectedFlag)
        return FALSE;
    CRegisterServices& services = view_.Services();
    std::optional<int> speedRaw, inertia, command, speed, stop, response, estimate, detection, friction,
        observer;
    {
        CBusyHold busy(services);
        // The mode word's other nibble comes from this exchange; unread, it is left alone.
        if (const std::optional<int> mode = services.ReadDriveRegister(ModeWord))
            services.WriteDriveRegister(ModeWord, TuningModeAtOpening(*mode));
        speedRaw = services.ReadDriveRegister(MaximumSpeed);
        ::SaveRunRegisters(services, saved_);
        m_linear = IsLinearMotorWord(services.ReadDriveRegister(MotorKind).value_or(0));
        inertia = services.ReadDriveRegister(InertiaRatio);
        command = services.ReadDriveRegister(CommandNumber);
        speed = services.ReadDriveRegister(OperationSpeed);
        stop = services.ReadDriveRegister(StopTime);
        response = services.ReadDriveRegister(ResponseMode);
        estimate = services.ReadDriveRegister(InertiaEstimate);
        detection = services.ReadDriveRegister(DetectionLevel);
        friction = services.ReadDriveRegister(FrictionSelect);
        observer = services.ReadDriveRegister(SpeedObserver);
    }
    m_maxSpeed = speedRaw.value_or(0);
    m_speedMax = OperationSpeedMaximum(m_maxSpeed);

    m_parameterTab.InsertItem(0, "Parameter Set1");
    m_parameterTab.InsertItem(1, "Parameter Set2");
    CreateChildPage(m_para1, IDD_AG_CONDITIONS1, &m_parameterTab);
    CreateChildPage(m_para2, IDD_AG_CONDITIONS2, &m_parameterTab);
    PlacePage(m_para1, m_parameterTab);
    PlacePage(m_para2, m_parameterTab);

    // The spins write their position into the edits as they get their ranges: before the values.
    m_para1.m_inertiaSpin.SetRange32(0, 2000);
    m_para1.m_commandSpin.SetRange32(0, 2000);
    m_para1.m_speedSpin.SetRange32(0, m_speedMax);
    m_para1.m_stopTimeSpin.SetRange32(0, 50);
    m_para1.m_rigiditySpin.SetRange32(0, 21);
    m_para2.m_detectionSpin.SetRange32(0, 1000);
    m_para1.m_inertiaRatio = inertia.value_or(0);
    m_para1.m_commandNumber = command.value_or(0);
    m_para1.m_speed = speed.value_or(0);
    m_para1.m_stopTime = stop.value_or(0);
    m_para1.m_rigidity = 9;
    // A mode the list does not hold stays unselected; Parameter Write then refuses it.
    m_para1.m_responseMode = response ? ((*response & 0xF) > 3 ? 0 : (*response & 0xF) - 1) : -1;
    m_para1.m_inertiaEstimate = estimate ? ((*estimate & 0xF) > 1 ? 0 : (*estimate & 0xF)) : -1;
    m_para1.m_commandUnit = m_linear ? "pitch" : "0.1rev";
    m_para1.m_speedUnit = m_linear ? "mm/s" : "rpm";
    m_para1.m_speedRange = RangeText(m_speedMin, m_speedMax);
    m_para1.UpdateData(FALSE);
    // A value that could not be read is not shown as some other exchange's value.
    const std::pair<const std::optional<int>*, int> firstPage[] = {{&inertia, IDC_AG_INERTIA_RATIO},
                                                                   {&command, IDC_AG_COMMAND_NUMBER},
                                                                   {&speed, IDC_AG_SPEED},
                                                                   {&stop, IDC_AG_STOP_TIME}};
    for (const auto& [value, edit] : firstPage)
        if (!*value)
            m_para1.GetDlgItem(edit)->SetWindowText("");

    m_para2.m_detectionLevel = detection.value_or(0);
    m_para2.m_friction = friction ? ((*friction & 0xF) <= 1 ? (*friction & 0xF) : -1) : -1;
    m_para2.m_observer = observer && *observer >= 0 && *observer <= 1 ? *observer : -1;
    m_para2.UpdateData(FALSE);
    if (!detection)
        m_para2.GetDlgItem(IDC_AG_DETECTION)->SetWindowText("");
    if (m_linear)
        for (int id : {IDC_AG_DETECTION, IDC_AG_DETECTION_SPIN, IDC_AG_FRICTION, IDC_AG_OBSERVER})
            m_para2.GetDlgItem(id)->EnableWindow(FALSE);
    ShowParameterPage(0);

    m_resultTab.InsertItem(0, "Inertia / Gain / Filter");
    m_resultTab.InsertItem(1, "Control Model");
    if (!m_linear)
        m_resultTab.InsertItem(2, "Friction Compensation");
    CreateChildPage(m_result1, IDD_AG_RESULTS1, &m_resultTab);
    CreateChildPage(m_result2, IDD_AG_RESULTS2, &m_resultTab);
    CreateChildPage(m_result3, IDD_AG_RESULTS3, &m_resultTab);
    for (CDialog* page : {static_cast<CDialog*>(&m_result1), static_cast<CDialog*>(&m_result2),
                          static_cast<CDialog*>(&m_result3)})
        PlacePage(*page, m_resultTab);
    if (m_linear) {
        m_result1.GetDlgItem(6045)->EnableWindow(FALSE);
        m_result1.GetDlgItem(6046)->EnableWindow(FALSE);
        m_result2.GetDlgItem(6043)->EnableWindow(FALSE);
        m_result2.GetDlgItem(6044)->EnableWindow(FALSE);
    }
    ShowResultPage(0);
    pagesCreated_ = true;
    ReadResults(false, false);
    return TRUE;
}

void CJogAutotuningDlg::ShowParameterPage(int index) {
    m_parameterPage = index;
    m_parameterTab.SetCurSel(index);
    m_para1.ShowWindow(index == 0 ? SW_SHOW : SW_HIDE);
    m_para2.ShowWindow(index == 1 ? SW_SHOW : SW_HIDE);
}

void CJogAutotuningDlg::ShowResultPage(int index) {
    m_resultTab.SetCurSel(index);
    m_result1.ShowWindow(index == 0 ? SW_SHOW : SW_HIDE);
    m_result2.ShowWindow(index == 1 ? SW_SHOW : SW_HIDE);
    m_result3.ShowWindow(index == 2 ? SW_SHOW : SW_HIDE);
}

bool CJogAutotuningDlg::ReadResults(bool snapshot, bool stopAtFailure) {
    CRegisterServices& services = view_.Services();
    CBusyHold busy(services);
    for (int row = 0; row < AutoGainResultCount; ++row) {
        const AutoGainResult& result = AutoGainResults[row];
        const std::optional<int> value = services.ReadDriveRegister(result.address);
        if (snapshot)
            snapshot_[static_cast<size_t>(row)] = value;
        if (!value) {
            if (stopAtFailure)
                return false;
            continue;
        }
        const ResultPlace place = ResultPlaces[row];
        ResultPage(place.page).SetField(place.field, FormatAutoGainResult(result.format, *value));
    }
    return true;
}

void CJogAutotuningDlg::OnParameterTabChange(NMHDR*, LRESULT* result) {
    *result = 0;
    const int selected = m_parameterTab.GetCurSel();
    if (selected == m_parameterPage)
        return;
    if (!ValidateTuningParameters()) {
        m_parameterTab.SetCurSel(m_parameterPage);
        return;
    }
    ShowParameterPage(selected);
}

void CJogAutotuningDlg::OnResultTabChange(NMHDR*, LRESULT* result) {
    *result = 0;
    const int selected = m_resultTab.GetCurSel();
    // While the run is under way the pages follow the drive's step, not the user.
    if (poll_.InProgress())
        return;
    ShowResultPage(selected);
}

bool CJogAutotuningDlg::ValidateTuningParameters() {
    const std::pair<CDialog*, int> edits[] = {
        {&m_para1, IDC_AG_INERTIA_RATIO}, {&m_para1, IDC_AG_COMMAND_NUMBER}, {&m_para1, IDC_AG_SPEED},
        {&m_para1, IDC_AG_STOP_TIME},     {&m_para1, IDC_AG_RIGIDITY},       {&m_para2, IDC_AG_DETECTION}};
    for (const auto& [page, edit] : edits)
        if (page->GetDlgItem(edit)->GetWindowText().empty()) {
            page->UpdateData(TRUE);
            return false;
        }
    if (!m_para1.UpdateData(TRUE) || !m_para2.UpdateData(TRUE))
        return false;
    struct Check {
        int value, minimum, maximum;
        const char* label;
        CDialog* page;
        int control;
    };
    const Check checks[] = {
        {m_para1.m_inertiaRatio, 0, 2000, "Cn025 ", &m_para1, IDC_AG_INERTIA_RATIO},
        {m_para1.m_commandNumber, 5, 2000, "Cn060 ", &m_para1, IDC_AG_COMMAND_NUMBER},
        {m_para1.m_speed, m_speedMin, m_speedMax, "Cn061 ", &m_para1, IDC_AG_SPEED},
        {m_para1.m_stopTime, 15, 50, "OnC11 ", &m_para1, IDC_AG_STOP_TIME},
        {m_para1.m_rigidity, 1, 21, "Cn026 ", &m_para1, IDC_AG_RIGIDITY},
        {m_para2.m_detectionLevel, 1, 1000, "Pn338 ", &m_para2, IDC_AG_DETECTION},
        // Selections go into bit fields: none selected is never written as one.
        {m_para1.m_responseMode, 0, 2, "OnC42 ", &m_para1, IDC_AG_RESPONSE_MODE},
        {m_para1.m_inertiaEstimate, 0, 1, "OnC43 ", &m_para1, IDC_AG_INERTIA_ESTIMATE},
        {m_para2.m_friction, 0, 1, "OnS08 ", &m_para2, IDC_AG_FRICTION},
        {m_para2.m_observer, 0, 1, "OnS11 ", &m_para2, IDC_AG_OBSERVER},
    };
    std::string labels;
    for (const Check& check : checks) {
        if (check.value >= check.minimum && check.value <= check.maximum)
            continue;
        if (labels.empty()) {
            CWnd* control = check.page->GetDlgItem(check.control);
            check.page->GotoDlgCtrl(control);
            if (auto* edit = dynamic_cast<CEdit*>(control))
                edit->SetSel(0, -1);
        }
        labels += check.label;
    }
    if (labels.empty())
        return true;
    ShowMessage(labels + "\n " + Text(IDS_TW_OVER_RANGE));
    return false;
}

void CJogAutotuningDlg::OnParameterWrite() {
    if (!ValidateTuningParameters() || !view_.Document())
        return;
    if (!ConnectedFlag) {
        ShowMessage(Text(IDS_COMMUNICATE_ERROR), Text(IDS_COMMUNICATION_MESSAGE), MB_OK | MB_ICONSTOP);
        return;
    }
    CRegisterServices& services = view_.Services();
    std::optional<int> tn837;
    {
        CBusyHold busy(services);
        tn837 = services.ReadDriveParameter("tn837");
    }
    if (tn837 && (*tn837 & 0xF) == 1) {
        if (ShowMessage(Text(IDS_AG_TN837_QUESTION), std::string(), MB_YESNO | MB_ICONINFORMATION) != IDYES)
            return;
        int cleared;
        {
            CBusyHold busy(services);
            cleared = services.WriteDriveParameter("tn837", *tn837 & ~0xF);
        }
        if (!cleared) {
            ShowMessage(std::string("tn837 ") + Text(IDS_AG_WRITE_FAILED));
            return;
        }
    }
    if (!ValidateTuningParameters())
        return;
    std::string failures;
    {
        CBusyHold busy(services);
        auto verified = [&](int address, std::optional<int> value, const char* label) {
            // No value (its read failed), a refused write and a read-back that differs all fail.
            const bool written = value && services.WriteDriveRegister(address, *value) != 0;
            const std::optional<int> back = written ? services.ReadDriveRegister(address) : std::nullopt;
            if (!written || !back || *back != (*value & 0xFFFF))
                failures += label;
        };
        auto merged = [&](int address, int keepMask, int bits) -> std::optional<int> {
            const std::optional<int> current = services.ReadDriveRegister(address);
            if (!current)
                return std::nullopt;
            return (*current & keepMask) | bits;
        };
        verified(TuningEnable, 1, "Cn059 ");
        verified(InertiaRatio, m_para1.m_inertiaRatio, "Cn025 ");
        verified(CommandNumber, m_para1.m_commandNumber, "Cn060 ");
        verified(OperationSpeed, m_para1.m_speed, "Cn061 ");
        verified(StopTime, m_para1.m_stopTime, "OnC11 ");
        verified(ResponseMode, merged(ResponseMode, 0xFFF0, (m_para1.m_responseMode + 1) & 0x0F), "OnC42 ");
        verified(InertiaEstimate, merged(InertiaEstimate, 0xFFF0, m_para1.m_inertiaEstimate & 0x0F),
                 "OnC43 ");
        verified(DetectionLevel, m_para2.m_detectionLevel, "Pn338 ");
        verified(FrictionSelect, merged(FrictionSelect, 0xFFF0, m_para2.m_friction), "OnS08 ");
        verified(SpeedObserver, m_para2.m_observer, "OnS11 ");
        verified(Rigidity, m_para1.m_rigidity, "Cn026 ");
    }
    if (!failures.empty())
        ShowMessage(failures + Text(IDS_AG_WRITE_FAILED), Text(IDS_TW_WRITE_MESSAGE), MB_OK | MB_ICONSTOP);
    else
        ShowMessage(Text(IDS_TW_WRITE_DONE), Text(IDS_TW_WRITE_MESSAGE), MB_OK | MB_ICONINFORMATION);
}

void CJogAutotuningDlg::EnableControls(std::initializer_list<int> ids, bool enable) {
    for (int id : ids)
        if (CWnd* control = GetDlgItem(id); control && (id != IDC_AG_ANALYSIS || view_.CanRunAnalysis()))
            control->EnableWindow(enable);
}

void CJogAutotuningDlg::OnStart() {
    if (poll_.InProgress() || !ConnectedFlag || !view_.Document())
        return;
    CRegisterServices& services = view_.Services();
    std::optional<int> alarm, enable, status;
    {
        CBusyHold busy(services);
        alarm = services.ReadDriveRegister(AlarmPresent);
        if (!alarm || *alarm == 0)
            enable = services.ReadDriveRegister(TuningEnable);
        if ((!alarm || *alarm == 0) && (!enable || *enable != 0))
            status = services.ReadDriveRegister(DriveStatus);
    }
    if (alarm && *alarm != 0) {
        ShowMessage(Text(IDS_JOG_ALARM_WARNING));
        return;
    }
    if (enable && *enable == 0) {
        ShowMessage(Text(IDS_AG_CONFIRM_WRITE));
        return;
    }
    if (status && *status != 0) {
        ShowMessage(Text(IDS_AG_SERVO_OFF_FIRST));
        return;
    }
    poll_.Start();
    ReadResults(true, false);
    // Owed before the start goes out: a start whose reply was damaged may well have begun.
    services.Stops.Owe(AutoGainMotion, WriteAutoGainStop);
    bool started;
    {
        CBusyHold busy(services);
        started = services.WriteDriveRegister(RunModeA, 2) && services.WriteDriveRegister(RunModeB, 2) &&
                  services.WriteDriveRegister(RunCommand, 1);
    }
    if (!started) {
        // A run the drive did not take is no run to poll.
        poll_.Stop();
        services.Stops.Settle(AutoGainMotion);
        {
            CBusyHold busy(services);
            ::RestoreRunRegisters(services, saved_);
        }
        ShowMessage(Text(IDS_JOG_START_REFUSED), Text(IDS_AG_CAPTION), MB_OK | MB_ICONSTOP);
        Invalidate();
        return;
    }
    EnableControls({IDC_AG_PARAMETER_WRITE, IDC_AG_ANALYSIS, IDC_AG_ALARM_CLEAR, IDC_AG_INERTIA}, false);
    SetTimer(AutoGainPollTimer, 500);
    Invalidate();
}

StopResult CJogAutotuningDlg::StopRunOnDrive() {
    return view_.Services().Stops.Send(AutoGainMotion, WriteAutoGainStop);
}

void CJogAutotuningDlg::OnTimer(UINT_PTR id) {
    if (id != AutoGainPollTimer)
        return;
    CRegisterServices& services = view_.Services();
    AutoGainTickReads reads;
    reads.connected = ConnectedFlag != 0;
    if (reads.connected) {
        CBusyHold busy(services);
        reads.alarm = services.ReadDriveRegister(AlarmPresent);
        if (!reads.alarm || *reads.alarm == 0) {
            reads.status = services.ReadDriveRegister(DriveStatus);
            reads.step = services.ReadDriveRegister(TuningStep);
        }
    }
    const AutoGainTick tick = poll_.Tick(reads);
    switch (tick) {
    case AutoGainTick::LinkLost:
        KillTimer(AutoGainPollTimer);
        EnableControls({IDC_AG_PARAMETER_WRITE, IDC_AG_STOP, IDC_AG_START}, false);
        PostMessage(WM_CLOSE);
        return;
    case AutoGainTick::Alarm: {
        KillTimer(AutoGainPollTimer);
        Invalidate();
        const bool refused = StopRunOnDrive() == StopResult::Refused;
        ShowMessage(Text(IDS_AG_FAILED));
        if (refused)
            ShowMessage(Text(IDS_AG_STOP_UNCONFIRMED), Text(IDS_AG_CAPTION), MB_OK | MB_ICONSTOP);
        EnableControls({IDC_AG_PARAMETER_WRITE, IDC_AG_ANALYSIS, IDC_AG_ALARM_CLEAR, IDC_AG_INERTIA}, true);
        return;
    }
    case AutoGainTick::StepUnread:
        return;
    case AutoGainTick::Finished: {
        KillTimer(AutoGainPollTimer);
        EnableControls({IDC_AG_PARAMETER_WRITE, IDC_AG_STOP, IDC_AG_START, IDCANCEL}, false);
        Invalidate();
        {
            CBusyHold busy(services);
            services.WriteDriveRegister(RunCommand, 0);
        }
        services.Stops.Settle(AutoGainMotion);
        break;
    }
    case AutoGainTick::Running:
        break;
    }
    {
        CBusyHold busy(services);
        const bool enableRead = services.ReadDriveRegister(TuningEnable).has_value();
        const std::optional<int> friction =
            enableRead ? services.ReadDriveRegister(FrictionEnable) : std::nullopt;
        if (friction)
            poll_.SetFrictionEnable(*friction);
        if (enableRead && friction)
            ReadResults(false, true);
    }
    if (const std::optional<int> page = ResultPageForStep(poll_.Step(), m_linear))
        ShowResultPage(*page);
    if (tick == AutoGainTick::Finished) {
        if (!warning_->GetSafeHwnd()) {
            warning_->Create(IDD_AG_WARNING, this);
            warning_->CenterWindow(this);
        }
        FillConfirmationList();
        warning_->ShowWindow(SW_SHOW);
    }
    Invalidate();
}

void CJogAutotuningDlg::FillConfirmationList() {
    for (int row = 0; row < AutoGainResultCount; ++row) {
        const ResultPlace place = ResultPlaces[row];
        auto& cells = warning_->m_table[static_cast<size_t>(row)];
        cells[1] = ResultPage(place.page).Field(place.field);
        const std::optional<int> existing = snapshot_[static_cast<size_t>(row)];
        cells[2] =
            existing ? FormatAutoGainResult(AutoGainResults[row].format, *existing) : std::string("----");
    }
    warning_->RefillList();
}

void CJogAutotuningDlg::EnableAfterRun() {
    if (!GetSafeHwnd())
        return;
    EnableControls({IDC_AG_PARAMETER_WRITE, IDC_AG_STOP, IDC_AG_START, IDCANCEL, IDC_AG_ANALYSIS,
                    IDC_AG_ALARM_CLEAR, IDC_AG_INERTIA},
                   true);
}

void CJogAutotuningDlg::SetTuningConfirmation(int answer) {
    if (ConnectedFlag && view_.Document()) {
        CRegisterServices& services = view_.Services();
        bool written = false;
        {
            CBusyHold busy(services);
            // The other nibble must come from this exchange: an unread word is not written at all.
            if (const std::optional<int> word = services.ReadDriveRegister(ModeWord))
                written = services.WriteDriveRegister(ModeWord, TuningAnswer(*word, answer)) != 0;
        }
        if (!written)
            ShowMessage(Text(IDS_AG_ANSWER_FAILED), Text(IDS_AG_CAPTION), MB_OK | MB_ICONSTOP);
    }
    EnableAfterRun();
}

void CJogAutotuningDlg::OnStop() {
    if (!poll_.Running())
        return;
    poll_.Stop();
    // Without a link the view keeps the stop for the link's return and says so.
    const bool refused = StopRunOnDrive() == StopResult::Refused;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    KillTimer(AutoGainPollTimer);
    EnableControls({IDC_AG_PARAMETER_WRITE, IDC_AG_ANALYSIS, IDC_AG_ALARM_CLEAR, IDC_AG_INERTIA}, true);
    Invalidate();
    if (refused)
        ShowMessage(Text(IDS_AG_STOP_UNCONFIRMED), Text(IDS_AG_CAPTION), MB_OK | MB_ICONSTOP);
}

void CJogAutotuningDlg::OnAlarmClear() {
    if (!ConnectedFlag)
        return;
    CRegisterServices& services = view_.Services();
    std::optional<int> alarm, code;
    {
        CBusyHold busy(services);
        alarm = services.ReadDriveRegister(AlarmPresent);
        if (alarm && *alarm != 0)
            code = services.ReadDriveRegister(AlarmCode);
    }
    if (!alarm || *alarm == 0 || !code)
        return;
    if (IsUnclearableAlarm(*code)) {
        ShowMessage(Text(IDS_AG_CLEAR_ALARM_ERROR));
        return;
    }
    int cleared;
    {
        CBusyHold busy(services);
        cleared = services.WriteDriveRegister(AlarmClear, 1);
    }
    ShowMessage(Text(cleared ? IDS_AG_CLEAR_ALARM_DONE : IDS_AG_CLEAR_ALARM_REFUSED));
}

void CJogAutotuningDlg::ServoOnAnalysisRefusal() {
    ShowMessage(Text(IDS_AG_ANALYSIS_SERVO_ON), Text(IDS_AG_ANALYSIS_CAPTION), MB_OK | MB_ICONINFORMATION);
}

void CJogAutotuningDlg::OnMechanicalAnalysis() {
    if (ServoOnFlag) {
        ServoOnAnalysisRefusal();
        return;
    }
    view_.RunAnalysis();
}

void CJogAutotuningDlg::OnInertiaEstimation() {
    if (ServoOnFlag) {
        ServoOnAnalysisRefusal();
        return;
    }
    CUn45JogDlg jog(view_, false);
    jog.DoModal();
}

void CJogAutotuningDlg::OnInstruction() {
    CJogAutoParaDlg instruction(this);
    instruction.DoModal();
}

void CJogAutotuningDlg::OnNote() {
    CAutotuninstartDlg note;
    note.m_showButtons = 0;
    note.DoModal();
}

LRESULT CJogAutotuningDlg::OnDrawItem(WPARAM id, LPARAM item) {
    auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(item);
    for (const Lamp& lamp : Lamps) {
        if (lamp.id != static_cast<int>(id))
            continue;
        COLORREF colour = GetSysColor(COLOR_BTNFACE);
        switch (poll_.Colour(lamp.lamp, m_para2.m_friction)) {
        case LampColour::Green:
            colour = LampGreen;
            break;
        case LampColour::Yellow:
            colour = LampYellow;
            break;
        case LampColour::Face:
            break;
        }
        DrawStepButton(draw, colour);
        return TRUE;
    }
    return Default();
}

void CJogAutotuningDlg::DrawStepButton(DRAWITEMSTRUCT* item, COLORREF colour) {
    CDC* dc = item->hDC;
    CRect rect = item->rcItem;
    CBrush black(0x000000);
    dc->FrameRect(rect, &black);
    rect.DeflateRect(1, 1);
    dc->FillSolidRect(rect, colour);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(0x000000);
    dc->DrawText(item->hwndItem ? item->hwndItem->GetWindowText() : std::string(), &rect,
                 DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void CJogAutotuningDlg::OnCancel() {
    if (view_.Document() && ConnectedFlag) {
        CRegisterServices& services = view_.Services();
        bool stopped;
        {
            CBusyHold busy(services);
            services.WriteDriveRegister(ModeWord, 0);
            ::RestoreRunRegisters(services, saved_);
        }
        stopped = StopRunOnDrive() != StopResult::Refused;
        if (!stopped && poll_.InProgress())
            ShowMessage(Text(IDS_AG_STOP_UNCONFIRMED), Text(IDS_AG_CAPTION), MB_OK | MB_ICONSTOP);
    } else if (view_.Document() && poll_.InProgress()) {
        // The link went during the run: its stop is kept for the link's return.
        StopRunOnDrive();
    }
    KillTimer(AutoGainPollTimer);
    if (OnClosed)
        OnClosed();
    DestroyWindow();
}

void CJogAutotuningDlg::OnDestroy() {
    if (warning_ && warning_->GetSafeHwnd()) {
        warning_->OnGone = nullptr;
        warning_->DestroyWindow();
    }
}
