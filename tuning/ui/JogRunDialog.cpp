#include "tuning/ui/JogRunDialog.h"

#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "link/LinkState.h"
#include "link/services/TransferPass.h"
#include "resources/ids/tuningwindows.h"

namespace {

void ShowRunMessage(int textId, unsigned icon) {
    ShowMessage(LoadResString(textId), LoadResString(IDS_JOG_RUN_CAPTION), MB_OK | icon);
}

} // namespace

CJogRunDialog::CJogRunDialog(UINT templateId, CWnd* parent, CRegisterServices& services,
                             std::function<bool()> hasDocument)
    : CDialog(templateId, parent), services_(services), hasDocument_(std::move(hasDocument)) {}

const MessageMap* CJogRunDialog::GetMessageMap() const {
    static const MessageMap map(CDialog::GetMessageMap(),
                                {
                                    msg::Command(IDC_JOG_START, &CJogRunDialog::OnStartRun),
                                    msg::Command(IDC_JOG_STOP, &CJogRunDialog::StopJogRun),
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
    JogStartResult result;
    {
        CBusyHold busy(services_);
        result = StartJogRun(services_, run_);
    }
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
    if (!HasDocument())
        return;
    JogStopResult result;
    {
        CBusyHold busy(services_);
        result = StopJogRunOnDrive(services_, run_);
    }
    if (result.stopped) {
        EnableRunButtons(true);
    } else {
        // Nothing confirms the motor stopped: Stop stays the one way on.
        EnableRunButtons(false);
        ShowRunMessage(IDS_JOG_STOP_REFUSED, MB_ICONSTOP);
    }
    if (!result.registersRestored)
        ShowRunMessage(IDS_JOG_RESTORE_FAILED, MB_ICONSTOP);
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
