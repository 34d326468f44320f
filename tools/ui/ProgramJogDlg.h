#pragma once
// CProgramJogDlg: the program jog ("Program Jog", template 193). The user sets the drive's stroke jog
// (stop time, acceleration time, speed, distance, direction pattern), writes it with read-back
// ("Parameter Write", which also arms the run) and starts and stops the run. Modeless, one per view;
// the window deletes itself once closed.
#include "tuning/ui/JogRunDialog.h"
#include "tuning/ui/TuningViewLink.h"

#include <functional>

class CProgramJogDlg : public CJogRunDialog {
public:
    explicit CProgramJogDlg(ITuningViewLink& view);
    const MessageMap* GetMessageMap() const override;

    BOOL Create(CWnd* parent);
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnCancel() override;
    void OnOK() override {}
    std::string MotionName() const override { return "program jog"; }

    void OnParameterWrite();
    void OnOnlineParameter();
    void OnClose();

    // The view forgets the window.
    std::function<void()> OnClosed;

protected:
    void PostNcDestroy() override;

private:
    ITuningViewLink& view_;
};
