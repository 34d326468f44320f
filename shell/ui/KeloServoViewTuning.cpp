// The view's jog and tuning commands: each opens its window once per view (a second command
// activates it), records it until it closes, and tells the windows when the link changes.
#include "shell/ui/KeloServoView.h"

#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "link/LinkState.h"
#include "link/services/TransferPass.h"
#include "resources/ids/mainframe.h"
#include "resources/ids/tuningwindows.h"
#include "shell/ui/KeloServoDocument.h"
#include "tools/ui/ProgramJogDlg.h"
#include "tuning/ui/AutoOffsetDialog.h"
#include "tuning/ui/AutotuninstartDlg.h"
#include "tuning/ui/JOGRigidityDlg.h"
#include "tuning/ui/JogAutotuningDlg.h"
#include "tuning/ui/JogDlg.h"
#include "tuning/ui/LowfreDlg.h"
#include "tuning/ui/NotchDlg.h"
#include "tuning/ui/Un45JogDlg.h"

namespace {

constexpr int RegJogSpeedWord = 0x0201;
constexpr int RegJogServoState = 0x1801;

} // namespace

CKeloServoDoc* CKeloServoView::TuningLink::Document() {
    return view_.GetDoc();
}

bool CKeloServoView::ServoOnRefusesStrokeJog() {
    if (!ConnectedFlag)
        return false;
    RefreshStatus();
    if (ServoOnFlag)
        ShowMessage(LoadResString(IDS_JOG_SERVO_ON_REFUSAL), std::string(), MB_OK);
    return ServoOnFlag != 0;
}

void CKeloServoView::OnInertiaEstimation() {
    if (ReactivateWindow(InertiaWindow) || ServoOnRefusesStrokeJog())
        return;
    OpenMonitorWindow(InertiaWindow, new CUn45JogDlg(tuningLink_, true), ToolInertia);
}

void CKeloServoView::OnJogMode() {
    if (ReactivateWindow(JogWindow))
        return;
    int servoJog = 0;
    std::optional<int> speed;
    {
        CBusyHold busy(*this);
        if (ConnectedFlag) {
            servoJog = ReadDriveRegister(RegJogServoState).value_or(0);
            if (ServoOnFlag && servoJog != 1) {
                ShowMessage(LoadResString(IDS_JM_SERVO_ON_INVALID), LoadResString(IDS_JM_CAPTION), MB_OK);
                return;
            }
        }
        speed = ReadDriveRegister(RegJogSpeedWord);
    }
    if (!speed) {
        if (ConnectedFlag)
            ShowMessage(LoadResString(IDS_COMMUNICATE_ERROR), LoadResString(IDS_COMMUNICATION_MESSAGE),
                        MB_OK | MB_ICONSTOP);
        return;
    }
    OpenMonitorWindow(JogWindow, new CJogDlg(tuningLink_), ToolJog);
    if (JogWindow)
        JogWindow->Begin(*speed, servoJog);
}

void CKeloServoView::OnAutoGainAdjust() {
    if (ReactivateWindow(AutoGainWindow))
        return;
    if (ConnectedFlag) {
        RefreshStatus();
        if (ServoOnFlag) {
            ShowMessage(LoadResString(IDS_JOG_SERVO_ON_REFUSAL), LoadResString(IDS_AUTO_GAIN_MESSAGE),
                        MB_OK | MB_ICONINFORMATION);
            return;
        }
    }
    CAutotuninstartDlg note;
    if (note.DoModal() != IDOK)
        return;
    OpenMonitorWindow(AutoGainWindow, new CJogAutotuningDlg(tuningLink_), ToolAutoGain);
}

void CKeloServoView::OnOnlineNotch() {
    if (ReactivateWindow(NotchWindow))
        return;
    OpenMonitorWindow(NotchWindow, new CNotchDlg(tuningLink_), ToolNotch);
}

void CKeloServoView::OnOnlineLowFrequency() {
    if (ReactivateWindow(LowFrequencyWindow))
        return;
    OpenMonitorWindow(LowFrequencyWindow, new CLowfreDlg(tuningLink_), ToolLowFreq);
}

void CKeloServoView::OnRigidAdjust() {
    if (ReactivateWindow(RigidityWindow))
        return;
    OpenMonitorWindow(RigidityWindow, new CJOGRigidityDlg(tuningLink_), ToolRigid);
}

void CKeloServoView::OnAutoOffsetAdjust() {
    if (ReactivateWindow(AutoOffsetWindow))
        return;
    OpenMonitorWindow(AutoOffsetWindow, new CAutoOffsetDialog(tuningLink_), ToolAutoOffset);
}

void CKeloServoView::FillJogSpeed() {
    std::optional<int> speed;
    {
        CBusyHold busy(*this);
        speed = ReadDriveRegister(RegJogSpeedWord);
    }
    if (speed && JogWindow && IsWindow(JogWindow->GetSafeHwnd()))
        JogWindow->ShowSpeed(*speed);
}

void CKeloServoView::ReportJogRefusal(int textId) {
    if (jogRefusalShown_)
        return;
    jogRefusalShown_ = true;
    ShowMessage(LoadResString(textId), LoadResString(IDS_JM_CAPTION), MB_OK | MB_ICONSTOP);
}

void CKeloServoView::TuningWindowsLinkChanged() {
    // Only a link that is gone ends a held jog: a re-check that found it up changes nothing.
    if (!ConnectedFlag && JogWindow && IsWindow(JogWindow->GetSafeHwnd()))
        JogWindow->EndPresses();
    for (COnlineFilterDialog* window : {static_cast<COnlineFilterDialog*>(NotchWindow),
                                        static_cast<COnlineFilterDialog*>(LowFrequencyWindow)})
        if (window && IsWindow(window->GetSafeHwnd()))
            window->EnableWriteButtons(ConnectedFlag ? TRUE : FALSE);
}

void CKeloServoView::CloseTuningWindows() {
    const std::array<CWnd*, 8> windows = {InertiaWindow,    JogWindow,          AutoGainWindow,
                                          NotchWindow,      LowFrequencyWindow, RigidityWindow,
                                          AutoOffsetWindow, ProgramJogWindow};
    for (CWnd* window : windows)
        if (window && IsWindow(window->GetSafeHwnd()))
            window->SendMessage(WM_COMMAND, IDCANCEL);
}
