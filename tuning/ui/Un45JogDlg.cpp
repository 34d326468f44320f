#include "tuning/ui/Un45JogDlg.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/RegisterMap.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/ComboBox.h"
#include "link/LinkState.h"
#include "link/services/TransferPass.h"
#include "resources/ids/mainframe.h"
#include "resources/ids/tuningwindows.h"
#include "tuning/TuningInputs.h"
#include "tuning/ui/EntryGuard.h"
#include "tuning/ui/JogHelpDlg.h"

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

} // namespace

CUn45JogDlg::CUn45JogDlg(ITuningViewLink& view, bool modeless)
    : CJogRunDialog(IDD_UN45_JOG, nullptr, view.Services(), [&view] { return view.Document() != nullptr; }),
      view_(view), modeless_(modeless) {}

const MessageMap* CUn45JogDlg::GetMessageMap() const {
    static const MessageMap map(
        CJogRunDialog::GetMessageMap(),
        {
            msg::Command(IDC_JOG_PARAMETER_WRITE, &CUn45JogDlg::OnParameterWrite),
            msg::Command(IDC_JOG_ONLINE_PARAMETER, &CUn45JogDlg::OnOnlineParameter),
            msg::Command(IDC_UN45_HELP, &CUn45JogDlg::OnHelp),
            msg::ControlRange(EN_CHANGE, IDC_JOG_ACCEL_TIME, IDC_JOG_STOP_TIME, &CUn45JogDlg::OnStrokeEdit),
            msg::Control(CBN_SELCHANGE, IDC_JOG_DIRECTION, &CUn45JogDlg::OnDirectionChange),
            msg::Timer(&CUn45JogDlg::OnTimer),
            msg::Close(&CUn45JogDlg::OnClose),
        });
    return &map;
}

BOOL CUn45JogDlg::Create(CWnd* parent) {
    return CDialog::Create(IDD_UN45_JOG, parent);
}

void CUn45JogDlg::DoDataExchange(CDataExchange* dx) {
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
    DDX_Text(dx, IDC_UN45_INERTIA, m_inertia);
}

BOOL CUn45JogDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    UpdateData(FALSE);
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
    if (!HasDocument() || !ConnectedFlag)
        return FALSE;
    CRegisterServices& services = view_.Services();
    SaveRunRegisters();
    SetTimer(InertiaDisplayTimer, 1000);
    {
        CBusyHold busy(services);
        m_linear = IsLinearMotorWord(services.ReadDriveRegister(jogreg::MotorKind).value_or(0));
        const std::optional<int> stopTime = services.ReadDriveRegister(jogreg::CurrentStopTime);
        const std::optional<int> accelTime = services.ReadDriveRegister(jogreg::CurrentAccelerationTime);
        const std::optional<int> speed = services.ReadDriveRegister(jogreg::CurrentMovingSpeed);
        const std::optional<int> distance = services.ReadDriveRegister(jogreg::CurrentMovingDistance);
        const std::optional<int> direction = services.ReadDriveRegister(jogreg::CurrentDirection);
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
    }
    if (m_linear) {
        m_speedUnit = "mm/s";
        m_distanceUnit = "0.1pitch";
    }
    GetDlgItem(IDC_JOG_START)->EnableWindow(FALSE);
    GetDlgItem(IDC_JOG_STOP)->EnableWindow(FALSE);
    UpdateData(FALSE);
    for (size_t i = 0; i < 4; ++i)
        if (unread_[i])
            GetDlgItem(StrokeFields[i].edit)->SetWindowText("");
    return TRUE;
}

int* CUn45JogDlg::MemberOf(int editId) {
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

void CUn45JogDlg::OnStrokeEdit(UINT id) {
    if (int* member = MemberOf(static_cast<int>(id)))
        GuardIntegerEdit(*this, static_cast<int>(id), *member);
}

void CUn45JogDlg::OnDirectionChange() {
    UpdateData(TRUE);
}

bool CUn45JogDlg::IsStrokeControl(int id) const {
    return CJogRunDialog::IsStrokeControl(id);
}

void CUn45JogDlg::OnEnterInControl(int id) {
    if (id == IDC_JOG_DIRECTION)
        OnDirectionChange();
    else
        OnStrokeEdit(static_cast<UINT>(id));
}

bool CUn45JogDlg::ValidateStroke() {
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

void CUn45JogDlg::WriteVerified(int address, int value, int labelId, std::string& failures) {
    CRegisterServices& services = view_.Services();
    // A refused write is a failure as much as a read-back that differs.
    const bool written = services.WriteDriveRegister(address, value) != 0;
    const std::optional<int> back = written ? services.ReadDriveRegister(address) : std::nullopt;
    if (!written || !back || *back != (value & 0xFFFF))
        failures += LoadResString(labelId);
}

void CUn45JogDlg::OnParameterWrite() {
    if (!HasDocument())
        return;
    if (!ValidateStroke())
        return;
    if (!ConnectedFlag) {
        ShowMessage(LoadResString(IDS_COMMUNICATE_ERROR), LoadResString(IDS_COMMUNICATION_MESSAGE),
                    MB_OK | MB_ICONSTOP);
        return;
    }
    view_.RefreshStatus();
    if (ServoOnFlag) {
        ShowMessage(LoadResString(IDS_JOG_SERVO_ON_WRITE), LoadResString(IDS_AUTO_GAIN_MESSAGE),
                    MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (!ValidateStroke())
        return;
    CRegisterServices& services = view_.Services();
    std::string failures;
    bool cn059Written = false;
    {
        CBusyHold busy(services);
        WriteVerified(jogreg::StopTime, m_stopTime, IDS_JOG_LABEL_STOP_TIME, failures);
        WriteVerified(jogreg::AccelerationTime, m_accelTime, IDS_JOG_LABEL_ACCEL_TIME, failures);
        WriteVerified(jogreg::MovingSpeed, MaskUnsignedParameter('o', m_speed, 0), IDS_JOG_LABEL_SPEED,
                      failures);
        WriteVerified(jogreg::MovingDistance, m_distance, IDS_JOG_LABEL_DISTANCE, failures);
        // The mode word's other digits come from this exchange's read; no read, no write.
        if (const std::optional<int> word = services.ReadDriveRegister(jogreg::JogModeWord))
            WriteVerified(jogreg::JogModeWord, (*word & 0xFF0F) + m_direction * 16, IDS_JOG_LABEL_DIRECTION,
                          failures);
        else
            failures += LoadResString(IDS_JOG_LABEL_DIRECTION);
        if (failures.empty()) {
            cn059Written = services.WriteDriveParameter("Cn059", 2) != 0;
            if (!cn059Written)
                failures += "Cn059";
        }
    }
    if (!failures.empty()) {
        ShowMessage(failures + "\n" + LoadResString(IDS_TW_WRITE_FAILED), LoadResString(IDS_TW_WRITE_MESSAGE),
                    MB_OK | MB_ICONSTOP);
        return;
    }
    ShowMessage(LoadResString(IDS_TW_WRITE_DONE), LoadResString(IDS_TW_WRITE_MESSAGE),
                MB_OK | MB_ICONINFORMATION);
    bool armed;
    {
        CBusyHold busy(services);
        armed = SetJogModeDigit(services, m_written ? 1 : 0);
    }
    if (armed) {
        m_written = true;
        GetDlgItem(IDC_JOG_START)->EnableWindow(TRUE);
        GetDlgItem(IDC_JOG_STOP)->EnableWindow(FALSE);
    }
}

void CUn45JogDlg::OnTimer(UINT_PTR id) {
    CRegisterServices& services = view_.Services();
    if (id == InertiaDisplayTimer && ConnectedFlag && !services.ViewBusyFlag) {
        std::optional<int> value;
        {
            CBusyHold busy(services);
            value = services.ReadDriveParameter("Un-45");
        }
        m_inertia = value ? Format("%.1f", *value / 10.0) : std::string("----");
        GetDlgItem(IDC_UN45_INERTIA)->SetWindowText(m_inertia);
    }
}

void CUn45JogDlg::OnOnlineParameter() {
    view_.OpenOnlineEditor(this);
}

void CUn45JogDlg::OnHelp() {
    CJogHelpDlg help;
    help.DoModal();
}

void CUn45JogDlg::OnClose() {
    OnCancel();
}

void CUn45JogDlg::OnCancel() {
    if (HasDocument()) {
        CRegisterServices& services = view_.Services();
        if (ConnectedFlag && run_.running) {
            StopJogRun();
            // The drive did not confirm the stop: the window stays, with Stop, until it does.
            if (GetDlgItem(IDC_JOG_STOP)->IsWindowEnabled())
                return;
        }
        if (ConnectedFlag) {
            CBusyHold busy(services);
            ::RestoreRunRegisters(services, run_);
            services.WriteDriveParameter("Cn059", 0);
        }
    }
    KillTimer(InertiaDisplayTimer);
    if (!modeless_) {
        EndDialog(IDCANCEL);
        return;
    }
    if (OnClosed)
        OnClosed();
    DestroyWindow();
}

void CUn45JogDlg::PostNcDestroy() {
    if (modeless_)
        delete this;
}
