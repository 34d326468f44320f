#include "tuning/ui/JogDlg.h"

#include "catalogue/DocumentGlobals.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "link/LinkState.h"
#include "link/services/TransferPass.h"
#include "resources/ids/tuningwindows.h"
#include "tuning/JogRun.h"
#include "tuning/TuningInputs.h"

#include <cstdlib>
#include <utility>

// ---- CPTZButton -----------------------------------------------------------------------------------

const MessageMap* CPTZButton::GetMessageMap() const {
    static const MessageMap map(CButton::GetMessageMap(),
                                {
                                    msg::Mouse(WM_LBUTTONDOWN, &CPTZButton::OnLButtonDown),
                                    msg::Mouse(WM_LBUTTONUP, &CPTZButton::OnLButtonUp),
                                    msg::FocusChange(WM_KILLFOCUS, &CPTZButton::OnKillFocus),
                                    msg::Message(WM_CAPTURECHANGED, &CPTZButton::OnCaptureChanged),
                                    msg::Destroy(&CPTZButton::OnDestroy),
                                });
    return &map;
}

void CPTZButton::OnLButtonDown(UINT, CPoint) {
    auto* dialog = dynamic_cast<CJogDlg*>(GetParent());
    if (dialog && !pressed_ && dialog->UpdateData(TRUE) && target_) {
        const int speed = std::abs(dialog->m_speed);
        const bool posted = m_kind == 1 ? target_->PostMessage(WM_JOG_WINDOW_COMMAND, JogRunForward, speed)
                                        : target_->PostMessage(WM_JOG_WINDOW_COMMAND, JogRunReverse, -speed);
        pressed_ = posted;
    }
    Default();
}

void CPTZButton::OnLButtonUp(UINT, CPoint) {
    EndPress();
    Default();
}

void CPTZButton::EndPress() {
    // The stop goes whatever the edit holds now: a run that was posted must end.
    if (!pressed_)
        return;
    pressed_ = false;
    if (target_)
        target_->PostMessage(WM_JOG_WINDOW_COMMAND, JogStop, 0);
}

void CPTZButton::OnKillFocus(CWnd*) {
    EndPress();
    Default();
}

LRESULT CPTZButton::OnCaptureChanged(WPARAM, LPARAM) {
    EndPress();
    return 0;
}

void CPTZButton::OnDestroy() {
    EndPress();
}

// ---- CJogDlg --------------------------------------------------------------------------------------

CJogDlg::CJogDlg(ITuningViewLink& view) : CDialog(IDD_JOG_MODE, nullptr), view_(view) {
    m_cw.m_kind = 1;
    m_ccw.m_kind = 2;
}

const MessageMap* CJogDlg::GetMessageMap() const {
    static const MessageMap map(CDialog::GetMessageMap(),
                                {
                                    msg::Command(IDC_JM_SERVO, &CJogDlg::OnServoButton),
                                    msg::Control(EN_CHANGE, IDC_JM_SPEED, &CJogDlg::OnSpeedChange),
                                    msg::Close(&CJogDlg::OnClose),
                                });
    return &map;
}

BOOL CJogDlg::Create(CWnd* parent) {
    return CDialog::Create(IDD_JOG_MODE, parent);
}

void CJogDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_JM_SPIN, m_spin);
    DDX_Control(dx, IDC_JM_SPEED, m_speedEdit);
    DDX_Control(dx, IDC_JM_CW, m_cw);
    DDX_Control(dx, IDC_JM_CCW, m_ccw);
    DDX_Text(dx, IDC_JM_SPEED, m_speed);
}

BOOL CJogDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_cw.target_ = view_.CommandWindow();
    m_ccw.target_ = view_.CommandWindow();
    m_speedEdit.LimitText(4);
    m_spin.SetBuddy(&m_speedEdit);
    m_spin.SetRange32(0, RatedSpeed);
    if (!view_.Document())
        return FALSE;
    if (ConnectedFlag) {
        CRegisterServices& services = view_.Services();
        CBusyHold busy(services);
        if (const std::optional<int> kind = services.ReadDriveRegister(jogreg::MotorKind);
            kind && IsLinearMotorWord(*kind))
            GetDlgItem(IDC_JM_UNIT)->SetWindowText("mm/s");
        if (const std::optional<int> status = services.ReadDriveRegister(0x1703); status && *status != 0)
            m_servoJog = 1;
    }
    ShowServoText();
    return TRUE;
}

void CJogDlg::Begin(int speed, int servoJog) {
    m_speed = speed;
    m_initialSpeed = speed;
    m_servoJog = servoJog;
    ShowSpeedText();
    ShowServoText();
}

void CJogDlg::ShowSpeed(int speed) {
    m_speed = speed;
    ShowSpeedText();
}

void CJogDlg::ShowSpeedText() {
    const bool previous = std::exchange(settingSpeed_, true);
    m_speedEdit.SetWindowText(Format("%d", m_speed));
    settingSpeed_ = previous;
}

void CJogDlg::ShowServoText() {
    GetDlgItem(IDC_JM_SERVO)->SetWindowText(LoadResString(m_servoJog ? IDS_JM_CANCEL_SON : IDS_JM_ENTER_SON));
}

void CJogDlg::PostToView(int code, int speed) {
    if (CWnd* target = view_.CommandWindow())
        target->PostMessage(WM_JOG_WINDOW_COMMAND, static_cast<WPARAM>(code), speed);
}

void CJogDlg::OnServoButton() {
    if (m_servoJog == 0) {
        PostToView(JogServoOn, 0);
        m_servoJog = 1;
    } else {
        PostToView(JogServoOff, m_initialSpeed);
        m_servoJog = 0;
    }
    ShowServoText();
}

void CJogDlg::OnSpeedChange() {
    // The speed this window puts back (or the view's value) is taken as it is.
    if (settingSpeed_)
        return;
    int start = 0, end = 0;
    m_speedEdit.GetSel(start, end);
    const std::optional<int> value = GuardedEntry(m_speedEdit.GetWindowText());
    if (value && *value <= RatedSpeed) {
        m_speed = *value;
        return;
    }
    ShowSpeedText();
    m_speedEdit.SetSel(start > 0 ? start - 1 : 0, end > 0 ? end - 1 : 0);
}

void CJogDlg::EndPresses() {
    m_cw.EndPress();
    m_ccw.EndPress();
}

BOOL CJogDlg::PreTranslateMessage(MSG* msg) {
    if (msg && msg->message == WM_KEYDOWN) {
        const int focus = CWnd::GetFocus() ? CWnd::GetFocus()->GetDlgCtrlID() : 0;
        const bool ownControl = CWnd::GetFocus() && CWnd::GetFocus()->GetParent() == this;
        if (msg->wParam == VK_RETURN && ownControl &&
            (focus == IDC_JM_SPEED || focus == IDC_JM_CW || focus == IDC_JM_CCW)) {
            if (focus == IDC_JM_SPEED)
                OnSpeedChange();
            return TRUE;
        }
        if (msg->wParam == VK_ESCAPE) {
            OnCancel();
            return TRUE;
        }
    }
    return CDialog::PreTranslateMessage(msg);
}

void CJogDlg::OnClose() {
    // The title bar's close box: one release here, none again in OnCancel.
    EndPresses();
    PostToView(JogServoOff, m_initialSpeed);
    m_closed = true;
    OnCancel();
}

void CJogDlg::OnCancel() {
    EndPresses();
    if (!m_closed) {
        PostToView(JogServoOff, m_initialSpeed);
        m_closed = true;
    }
    if (OnClosed)
        OnClosed();
    DestroyWindow();
}
