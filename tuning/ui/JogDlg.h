#pragma once
// CJogDlg: the JOG mode window ("JOG Mode (dn-05)", template 141). The motor turns while CW or CCW
// is held; every action is posted to the view as WM_JOG_COMMAND (0x784), which does the drive
// traffic. CPTZButton is the press-and-hold button: it posts the run on press and the stop when the
// press ends, by whatever route it ends (release, capture or focus lost, the window going, the link
// dropping), so a jog never outlives the user's hold.
#include "framework/ui/Button.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/Edit.h"
#include "framework/ui/SpinButtonCtrl.h"
#include "tuning/ui/TuningViewLink.h"

#include <functional>

inline constexpr UINT WM_JOG_WINDOW_COMMAND = 0x784;
// The codes of WM_JOG_COMMAND.
enum JogCommandCode : int {
    JogFillSpeed = 1,
    JogRunForward = 5,
    JogRunReverse = 7,
    JogStop = 11,
    JogServoOff = 12,
    JogServoOn = 13,
};

class CPTZButton : public CButton {
public:
    const MessageMap* GetMessageMap() const override;

    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    // Ends a press that is going on: the stop is posted once.
    void EndPress();
    bool Pressed() const { return pressed_; }

    int m_kind = 0; // 1 clockwise, 2 counter-clockwise
    // Where the commands go (the view).
    CWnd* target_ = nullptr;

private:
    void OnKillFocus(CWnd*);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);
    void OnDestroy();
    bool pressed_ = false;
};

class CJogDlg : public CDialog {
public:
    explicit CJogDlg(ITuningViewLink& view);
    const MessageMap* GetMessageMap() const override;

    BOOL Create(CWnd* parent);
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnOK() override {}
    void OnCancel() override;

    // After creation: the jog speed and the jog servo state the view read.
    void Begin(int speed, int servoJog);
    // WM_JOG_COMMAND code 1: the view read the jog speed again.
    void ShowSpeed(int speed);
    // The link went: a held button stops now.
    void EndPresses();
    void OnServoButton();
    void OnSpeedChange();
    void OnClose();

    std::function<void()> OnClosed;

    int m_initialSpeed = 0;
    bool m_closed = false;
    int m_servoJog = 0;
    CSpinButtonCtrl m_spin;
    CEdit m_speedEdit;
    int m_speed = 0;
    CPTZButton m_cw, m_ccw;

protected:
    void PostNcDestroy() override { delete this; }

private:
    void PostToView(int code, int speed);
    void ShowServoText();
    // The speed member into the edit, past the edit's own check.
    void ShowSpeedText();

    ITuningViewLink& view_;
    bool settingSpeed_ = false;
};
