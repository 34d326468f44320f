#include "tuning/ui/JogRunDialog.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/RegisterMap.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/Edit.h"
#include "link/LinkState.h"
#include "link/services/TransferPass.h"
#include "resources/ids/mainframe.h"
#include "resources/ids/tuningwindows.h"
#include "tuning/TuningInputs.h"
#include "tuning/ui/EntryGuard.h"

namespace {

struct StrokeField {
    int edit;
    int spin;
    int limit;
};
constexpr StrokeField StrokeFields[] = {
    {IDC_JOG_STOP_TIME, IDC_JOG_STOP_TIME_SPIN, 5},
    {IDC_JOG_ACCEL_TIME, IDC_JOG_ACCEL_TIME_SPIN, 5},
    {IDC_JOG_SPEED, IDC_JOG_SPEED_SPIN, 4},
    {IDC_JOG_DISTANCE, IDC_JOG_DISTANCE_SPIN, 4},
};

void ShowRunMessage(int textId, unsigned icon) {
    ShowMessage(LoadResString(textId), LoadResString(IDS_JOG_RUN_CAPTION), MB_OK | icon);
}

} // namespace

CJogRunDialog::CJogRunDialog(UINT templateId, CWnd* parent, CRegisterServices& services,
                             std::function<bool()> hasDocument)
    : CDialog(templateId, parent), services_(services), hasDocument_(std::move(hasDocument)) {}

const MessageMap* CJogRunDialog::GetMessageMap() const {
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::Command(IDC_JOG_START, &CJogRunDialog::OnStartRun),
            msg::Command(IDC_JOG_STOP, &CJogRunDialog::StopJogRun),
            msg::ControlRange(EN_CHANGE, IDC_JOG_ACCEL_TIME, IDC_JOG_STOP_TIME, &CJogRunDialog::OnStrokeEdit),
            msg::Control(CBN_SELCHANGE, IDC_JOG_DIRECTION, &CJogRunDialog::OnDirectionChange),
        });
    return &map;
}

void CJogRunDialog::EnableRunButtons(bool runMayStart) {
    for (int id : std::initializer_list<int>{IDC_JOG_START, IDC_JOG_PARAMETER_WRITE, IDCANCEL})
        if (CWnd* button = GetDlgItem(id))
            button->EnableWindow(runMayStart);
    if (CWnd* stop = GetDlgItem(IDC_JOG_STOP))
        stop->EnableWindow(!runMayStart);
}

void CJogRunDialog::SaveRunRegisters() {
    CBusyHold busy(services_);
    ::SaveRunRegisters(services_, run_);
}

void CJogRunDialog::RestoreRunRegisters() {
    bool restored;
    {
        CBusyHold busy(services_);
        restored = ::RestoreRunRegisters(services_, run_);
    }
    if (!restored)
        ShowRunMessage(IDS_JOG_RESTORE_FAILED, MB_ICONSTOP);
}

void CJogRunDialog::OnStartRun() {
    if (!HasDocument())
        return;
    // Owed before the start goes out: a start whose reply was damaged may well have begun.
    services_.Stops.Owe(MotionName(), KeptStop());
    JogStartResult result;
    {
        CBusyHold busy(services_);
        result = StartJogRun(services_, run_);
    }
    if (result != JogStartResult::Started)
        services_.Stops.Settle(MotionName());
    switch (result) {
    case JogStartResult::Started:
        EnableRunButtons(false);
        return;
    case JogStartResult::AlarmActive:
        ShowMessage(LoadResString(IDS_JOG_ALARM_WARNING), std::string(), MB_OK);
        return;
    case JogStartResult::AlarmUnknown:
        ShowRunMessage(IDS_JOG_ALARM_UNKNOWN, MB_ICONSTOP);
        return;
    case JogStartResult::NotSaved:
        ShowRunMessage(IDS_JOG_NOT_SAVED, MB_ICONSTOP);
        return;
    case JogStartResult::ModeRefused:
        ShowRunMessage(IDS_JOG_MODE_REFUSED, MB_ICONSTOP);
        return;
    case JogStartResult::CommandRefused:
        ShowRunMessage(IDS_JOG_START_REFUSED, MB_ICONSTOP);
        return;
    }
}

void CJogRunDialog::StopJogRun() {
    StopRun();
}

StopResult CJogRunDialog::StopRun() {
    if (!HasDocument())
        return StopResult::Taken;
    const CStopKeeper::Writes stop = [](CRegisterServices& services) {
        return services.WriteDriveRegister(jogreg::RunCommand, 0) != 0;
    };
    const StopResult result = services_.Stops.Send(MotionName(), stop, KeptStop());
    if (result == StopResult::NoLink || result == StopResult::NoAnswer) {
        // The keeper has the stop and told the user; nothing here can reach the drive meanwhile.
        run_.running = false;
        EnableRunButtons(true);
        return result;
    }
    bool restored;
    {
        CBusyHold busy(services_);
        if (result == StopResult::Taken)
            SetJogModeDigit(services_, 0);
        restored = ::RestoreRunRegisters(services_, run_);
    }
    if (result == StopResult::Taken) {
        EnableRunButtons(true);
    } else {
        // Nothing confirms the motor stopped: Stop stays the one way on.
        EnableRunButtons(false);
        ShowRunMessage(IDS_JOG_STOP_REFUSED, MB_ICONSTOP);
    }
    if (!restored)
        ShowRunMessage(IDS_JOG_RESTORE_FAILED, MB_ICONSTOP);
    return result;
}

CStopKeeper::Writes CJogRunDialog::KeptStop() const {
    // Sent later, the stop puts the run registers back itself: this window may be gone by then.
    return [saved = run_](CRegisterServices& services) {
        const bool stopped = services.WriteDriveRegister(jogreg::RunCommand, 0) != 0;
        return ::RestoreRunRegisters(services, saved) && stopped;
    };
}

bool CJogRunDialog::IsStrokeControl(int id) const {
    switch (id) {
    case IDC_JOG_STOP_TIME:
    case IDC_JOG_ACCEL_TIME:
    case IDC_JOG_SPEED:
    case IDC_JOG_DISTANCE:
    case IDC_JOG_DIRECTION:
        return true;
    default:
        return false;
    }
}

BOOL CJogRunDialog::PreTranslateMessage(MSG* msg) {
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
        CWnd* focus = CWnd::GetFocus();
        // The combo's edit part or list may hold the focus: the combo is its parent.
        for (CWnd* control = focus; control && control != this; control = control->GetParent())
            if (control->GetParent() == this && IsStrokeControl(control->GetDlgCtrlID())) {
                OnEnterInControl(control->GetDlgCtrlID());
                return TRUE;
            }
    }
    return CDialog::PreTranslateMessage(msg);
}

void CJogRunDialog::ExchangeStroke(CDataExchange* dx) {
    DDX_Control(dx, IDC_JOG_STOP_TIME_SPIN, m_stopTimeSpin);
    DDX_Control(dx, IDC_JOG_ACCEL_TIME_SPIN, m_accelTimeSpin);
    DDX_Control(dx, IDC_JOG_SPEED_SPIN, m_speedSpin);
    DDX_Control(dx, IDC_JOG_DISTANCE_SPIN, m_distanceSpin);
    DDX_CBIndex(dx, IDC_JOG_DIRECTION, m_direction);
    DDX_Text(dx, IDC_JOG_STOP_TIME, m_stopTime);
    DDX_Text(dx, IDC_JOG_ACCEL_TIME, m_accelTime);
    DDX_Text(dx, IDC_JOG_SPEED, m_speed);
    DDX_Text(dx, IDC_JOG_DISTANCE, m_distance);
    DDX_Text(dx, IDC_JOG_SPEED_UNIT, m_speedUnit);
    DDX_Text(dx, IDC_JOG_SPEED_RANGE, m_speedRange);
    DDX_Text(dx, IDC_JOG_DISTANCE_UNIT, m_distanceUnit);
}

bool CJogRunDialog::OpenStroke() {
    UpdateData(FALSE);
    PrepareStrokeControls();
    if (!HasDocument() || !ConnectedFlag)
        return false;
    SaveRunRegisters();
    ReadStroke();
    ShowStroke();
    return true;
}

void CJogRunDialog::PrepareStrokeControls() {
    m_speedMax = JogSpeedMaximum(RatedSpeed);
    m_speedRange = RangeText(0, m_speedMax);
    // The spins write their position into the edits as they get their ranges: before the values.
    const int maxima[] = {25000, 25000, m_speedMax, 2000};
    for (size_t i = 0; i < 4; ++i) {
        auto* edit = dynamic_cast<CEdit*>(GetDlgItem(StrokeFields[i].edit));
        auto* spin = dynamic_cast<CSpinButtonCtrl*>(GetDlgItem(StrokeFields[i].spin));
        if (edit)
            edit->LimitText(StrokeFields[i].limit);
        if (spin) {
            spin->SetBuddy(edit);
            spin->SetRange32(0, maxima[i]);
        }
    }
}

void CJogRunDialog::ReadStroke() {
    CBusyHold busy(services_);
    m_linear = IsLinearMotorWord(services_.ReadDriveRegister(jogreg::MotorKind).value_or(0));
    const std::optional<int> stopTime = services_.ReadDriveRegister(jogreg::CurrentStopTime);
    const std::optional<int> accelTime = services_.ReadDriveRegister(jogreg::CurrentAccelerationTime);
    const std::optional<int> speed = services_.ReadDriveRegister(jogreg::CurrentMovingSpeed);
    const std::optional<int> distance = services_.ReadDriveRegister(jogreg::CurrentMovingDistance);
    const std::optional<int> direction = services_.ReadDriveRegister(jogreg::CurrentDirection);
    m_stopTime = stopTime.value_or(0);
    m_accelTime = accelTime.value_or(0);
    m_speed = speed ? ConvertRawParameterValue('o', 40, static_cast<std::int16_t>(*speed), 0) : 0;
    m_distance = distance.value_or(0);
    unread_[0] = !stopTime;
    unread_[1] = !accelTime;
    unread_[2] = !speed;
    unread_[3] = !distance;
    // A pattern the combo does not list stays unselected: Parameter Write then refuses it.
    m_direction = direction ? (*direction >> 4) & 0xF : -1;
    if (m_direction > 3)
        m_direction = -1;
    if (m_linear) {
        m_speedUnit = "mm/s";
        m_distanceUnit = "0.1pitch";
    }
}

void CJogRunDialog::ShowStroke() {
    GetDlgItem(IDC_JOG_START)->EnableWindow(FALSE);
    GetDlgItem(IDC_JOG_STOP)->EnableWindow(FALSE);
    UpdateData(FALSE);
    for (size_t i = 0; i < 4; ++i)
        if (unread_[i])
            GetDlgItem(StrokeFields[i].edit)->SetWindowText("");
}

int* CJogRunDialog::MemberOf(int editId) {
    switch (editId) {
    case IDC_JOG_STOP_TIME:
        return &m_stopTime;
    case IDC_JOG_ACCEL_TIME:
        return &m_accelTime;
    case IDC_JOG_SPEED:
        return &m_speed;
    case IDC_JOG_DISTANCE:
        return &m_distance;
    default:
        return nullptr;
    }
}

void CJogRunDialog::OnStrokeEdit(UINT id) {
    if (int* member = MemberOf(static_cast<int>(id)))
        GuardIntegerEdit(*this, static_cast<int>(id), *member);
}

void CJogRunDialog::OnDirectionChange() {
    UpdateData(TRUE);
}

void CJogRunDialog::OnEnterInControl(int id) {
    if (id == IDC_JOG_DIRECTION)
        OnDirectionChange();
    else
        OnStrokeEdit(static_cast<UINT>(id));
}

bool CJogRunDialog::ValidateStroke() {
    for (const StrokeField& field : StrokeFields) {
        const std::string text = GetDlgItem(field.edit)->GetWindowText();
        if (text.empty() || !GuardedEntry(text)) {
            UpdateData(TRUE);
            return false;
        }
    }
    if (!UpdateData(TRUE))
        return false;
    struct Check {
        int value, minimum, maximum, label, edit;
    };
    const Check checks[] = {
        {m_stopTime, 5, 25000, IDS_JOG_LABEL_STOP_TIME, IDC_JOG_STOP_TIME},
        {m_accelTime, 5, 25000, IDS_JOG_LABEL_ACCEL_TIME, IDC_JOG_ACCEL_TIME},
        {m_speed, 0, m_speedMax, IDS_JOG_LABEL_SPEED, IDC_JOG_SPEED},
        {m_distance, 1, 2000, IDS_JOG_LABEL_DISTANCE, IDC_JOG_DISTANCE},
        // The pattern goes into a bit field: no selection must never become one.
        {m_direction, 0, 3, IDS_JOG_LABEL_DIRECTION, IDC_JOG_DIRECTION},
    };
    FailureList failures;
    for (const Check& check : checks) {
        if (check.value >= check.minimum && check.value <= check.maximum)
            continue;
        if (failures.Empty()) {
            CWnd* control = GetDlgItem(check.edit);
            GotoDlgCtrl(control);
            if (auto* edit = dynamic_cast<CEdit*>(control))
                edit->SetSel(0, -1);
        }
        failures.Add(LoadResString(check.label));
    }
    if (failures.Empty())
        return true;
    ShowMessage(failures.Text() + LoadResString(IDS_TW_OVER_RANGE));
    return false;
}

void CJogRunDialog::WriteVerified(int address, int value, int labelId, std::string& failures) {
    // A refused write is a failure as much as a read-back that differs.
    const bool written = services_.WriteDriveRegister(address, value) != 0;
    const std::optional<int> back = written ? services_.ReadDriveRegister(address) : std::nullopt;
    if (!written || !back || *back != (value & 0xFFFF))
        failures += LoadResString(labelId);
}

void CJogRunDialog::WriteStroke(std::string& failures) {
    WriteVerified(jogreg::StopTime, m_stopTime, IDS_JOG_LABEL_STOP_TIME, failures);
    WriteVerified(jogreg::AccelerationTime, m_accelTime, IDS_JOG_LABEL_ACCEL_TIME, failures);
    WriteVerified(jogreg::MovingSpeed, MaskUnsignedParameter('o', m_speed, 0), IDS_JOG_LABEL_SPEED, failures);
    WriteVerified(jogreg::MovingDistance, m_distance, IDS_JOG_LABEL_DISTANCE, failures);
    // The mode word's other digits come from this exchange's read; no read (or no pattern), no write.
    const std::optional<int> word = services_.ReadDriveRegister(jogreg::JogModeWord);
    if (word && m_direction >= 0 && m_direction <= 3)
        WriteVerified(jogreg::JogModeWord, (*word & 0xFF0F) + m_direction * 16, IDS_JOG_LABEL_DIRECTION,
                      failures);
    else
        failures += LoadResString(IDS_JOG_LABEL_DIRECTION);
}

bool CJogRunDialog::MayWriteStroke(const std::function<void()>& refreshStatus) {
    if (!HasDocument() || !ValidateStroke())
        return false;
    if (!ConnectedFlag) {
        ShowMessage(LoadResString(IDS_COMMUNICATE_ERROR), LoadResString(IDS_COMMUNICATION_MESSAGE),
                    MB_OK | MB_ICONSTOP);
        return false;
    }
    refreshStatus();
    if (ServoOnFlag) {
        ShowMessage(LoadResString(IDS_JOG_SERVO_ON_WRITE), LoadResString(IDS_AUTO_GAIN_MESSAGE),
                    MB_OK | MB_ICONINFORMATION);
        return false;
    }
    return ValidateStroke();
}

bool CJogRunDialog::ReportStrokeWrite(const std::string& failures) {
    if (!failures.empty()) {
        ShowMessage(failures + "\n" + LoadResString(IDS_TW_WRITE_FAILED), LoadResString(IDS_TW_WRITE_MESSAGE),
                    MB_OK | MB_ICONSTOP);
        return false;
    }
    ShowMessage(LoadResString(IDS_TW_WRITE_DONE), LoadResString(IDS_TW_WRITE_MESSAGE),
                MB_OK | MB_ICONINFORMATION);
    return true;
}
