#pragma once
// CUn45JogDlg: the inertia estimation jog ("Inertia estimation", template 6142). The user sets the
// stroke (stop time, acceleration time, speed, distance, direction pattern), writes it with read-back
// ("Parameter Write"), starts and stops the drive's stroke run, and watches the estimate Un45 once a
// second. Modeless from the view (one per view), or modal from the auto gain window.
#include "framework/ui/Edit.h"
#include "framework/ui/SpinButtonCtrl.h"
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
    bool ValidateStroke();

    // The view forgets the window (modeless use).
    std::function<void()> OnClosed;

    bool m_linear = false;
    bool m_written = false;
    int m_speedMax = 4500;
    int m_direction = -1;
    int m_stopTime = 0;
    int m_accelTime = 0;
    int m_speed = 0;
    int m_distance = 0;
    std::string m_speedUnit = "rpm";
    std::string m_speedRange = "(0~4500)";
    std::string m_distanceUnit = "0.1rev";
    std::string m_inertia;

protected:
    bool IsStrokeControl(int id) const override;
    void OnEnterInControl(int id) override;
    void PostNcDestroy() override;

private:
    void OnStrokeEdit(UINT id);
    void OnDirectionChange();
    int* MemberOf(int editId);
    // Writes one register and reads it back; the label joins the failures when either fails.
    void WriteVerified(int address, int value, int labelId, std::string& failures);

    ITuningViewLink& view_;
    bool modeless_;
    CSpinButtonCtrl m_stopTimeSpin, m_accelTimeSpin, m_speedSpin, m_distanceSpin;
    // Edits whose opening read failed stay empty (no value of some other exchange shown).
    bool unread_[4] = {false, false, false, false};
};
