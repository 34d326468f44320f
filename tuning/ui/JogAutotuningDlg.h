#pragma once
// CJogAutotuningDlg: the "Auto Gain Adjust" window (template 6002). The user sets the tuning
// conditions on two pages, writes them ("Parameter Write"), starts the drive's own tuning run and
// follows its steps on six lamps; the tuned values show on three result pages and, once the run
// finished, the confirmation window asks whether the drive keeps them. The poll itself is the pure
// AutoGainPoll; this window does its reads and writes and draws the lamps.
#include "framework/ui/Dialog.h"
#include "framework/ui/TabCtrl.h"
#include "tuning/AutoGainSteps.h"
#include "tuning/JogRun.h"
#include "tuning/ui/JogAutoTab1Dlg.h"
#include "tuning/ui/JogAutoTab2Dlg.h"
#include "tuning/ui/JogAutoTab3Dlg.h"
#include "tuning/ui/JogParaTab1.h"
#include "tuning/ui/JogParaTab2.h"
#include "tuning/ui/TuningViewLink.h"
#include "tuning/ui/WarningDlg.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

constexpr UINT_PTR AutoGainPollTimer = 1;

class CJogAutotuningDlg : public CDialog {
public:
    explicit CJogAutotuningDlg(ITuningViewLink& view);
    ~CJogAutotuningDlg() override;
    const MessageMap* GetMessageMap() const override;

    BOOL Create(CWnd* parent);
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override;

    void OnParameterWrite();
    void OnStart();
    void OnStop();
    void OnAlarmClear();
    void OnMechanicalAnalysis();
    void OnInertiaEstimation();
    void OnInstruction();
    void OnNote();
    void OnTimer(UINT_PTR id);
    LRESULT OnDrawItem(WPARAM id, LPARAM item);
    void OnParameterTabChange(NMHDR*, LRESULT* result);
    void OnResultTabChange(NMHDR*, LRESULT* result);
    void OnDestroy();
    bool ValidateTuningParameters();
    void FillConfirmationList();
    // The user's answer to the confirmation (1 keep, 2 discard) into the low nibble of 0x171A.
    void SetTuningConfirmation(int answer);
    // Paints one lamp: a black frame, the colour, the lamp's text centred in black.
    void DrawStepButton(DRAWITEMSTRUCT* item, COLORREF colour);

    const AutoGainPoll& Poll() const { return poll_; }
    CWarningDlg* Confirmation() const { return warning_.get(); }
    CJogParaTab1& ConditionPage1() { return m_para1; }
    CJogParaTab2& ConditionPage2() { return m_para2; }
    CResultPage& ResultPage(int index);
    CTabCtrl& ResultTab() { return m_resultTab; }

    std::function<void()> OnClosed;

    int m_maxSpeed = 0;
    int m_speedMin = 300;
    int m_speedMax = 0;
    bool m_linear = false;

protected:
    void PostNcDestroy() override { delete this; }

private:
    // The run has ended one way or another: these buttons work again.
    void EnableAfterRun();
    void EnableControls(std::initializer_list<int> ids, bool enable);
    // The fourteen result reads into the pages (and the snapshot at Start); stops at a failed read
    // when `stopAtFailure`.
    bool ReadResults(bool snapshot, bool stopAtFailure);
    // Cn059, 0x0C25 and 0x170E to 0, through the view's stop keeper.
    StopResult StopRunOnDrive();
    void ShowParameterPage(int index);
    void ShowResultPage(int index);
    void PlacePage(CDialog& page, CTabCtrl& tab);
    void ServoOnAnalysisRefusal();

    ITuningViewLink& view_;
    AutoGainPoll poll_;
    JogRunState saved_;
    CJogAutoTab1Dlg m_result1;
    CJogAutoTab2Dlg m_result2;
    CJogAutoTab3Dlg m_result3;
    CJogParaTab1 m_para1;
    CJogParaTab2 m_para2;
    std::unique_ptr<CWarningDlg> warning_;
    std::array<std::optional<int>, AutoGainResultCount> snapshot_{};
    CTabCtrl m_parameterTab;
    CTabCtrl m_resultTab;
    int m_parameterPage = 0;
    bool pagesCreated_ = false;
};
