#pragma once
// CLinearPowDlg: the modal "Encoder Magnetic Pole Alignment" dialog. Start writes the detection level
// (Cn085) and starts the drive's pole detection once the servo is free and no alarm is up (timer 1);
// timer 2 follows the detection until it ends or an alarm stops it.
#include "framework/ui/Dialog.h"

#include <string>

class CKeloServoDoc;
class CRegisterServices;

inline constexpr UINT_PTR PoleAlignmentStartTimer = 1;
inline constexpr UINT_PTR PoleAlignmentPollTimer = 2;

class CLinearPowDlg : public CDialog {
public:
    CLinearPowDlg(CRegisterServices* services, CKeloServoDoc* document, CWnd* parent = nullptr);
    const MessageMap* GetMessageMap() const override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnTimer(UINT_PTR id);

    std::string m_status; // static 6027
    int m_level = 0;      // Cn085, 0..100

protected:
    void OnStart();
    void OnClose();
    // Cancel, Esc and the title bar's close: an alignment under way is stopped as Close stops it.
    void OnCancel() override;
    void OnDestroy();

private:
    void StartTick();
    void PollTick();

    CRegisterServices* services_;
    CKeloServoDoc* document_;
};
