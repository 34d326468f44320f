#pragma once
// CUn45JogDlg: the inertia estimation jog ("Inertia estimation", template 6142). The user sets the
// stroke (stop time, acceleration time, speed, distance, direction pattern), writes it with read-back
// ("Parameter Write"), starts and stops the drive's stroke run, and watches the estimate Un45 once a
// second. Modeless from the view (one per view), or modal from the auto gain window.
#include "tuning/ui/JogRunDialog.h"
#include "tuning/ui/TuningViewLink.h"

#include <functional>
#include <string>

constexpr UINT_PTR InertiaDisplayTimer = 1;

class CUn45JogDlg : public CJogRunDialog {
public:
    // Modeless when `modeless` (the view's command: the window deletes itself once closed), else
    // run with DoModal.
    CUn45JogDlg(ITuningViewLink& view, bool modeless);
    const MessageMap* GetMessageMap() const override;

    BOOL Create(CWnd* parent);
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnCancel() override;
    void OnOK() override {}

    void OnParameterWrite();
    void OnOnlineParameter();
    void OnHelp();
    void OnTimer(UINT_PTR id);
    void OnClose();

    // The view forgets the window (modeless use).
    std::function<void()> OnClosed;

    bool m_written = false;
    std::string m_inertia;

protected:
    void PostNcDestroy() override;

private:
    ITuningViewLink& view_;
    bool modeless_;
};
