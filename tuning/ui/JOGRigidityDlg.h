#pragma once
// CJOGRigidityDlg: the "Rigid Adjust" window (template 191): scales the speed-loop gain qn501 and the
// position-loop gain qn505 by one percentage and the speed-loop integral time qn502 against it, shows
// the starting and the adjusted values, and writes the adjusted ones.
#include "framework/ui/Dialog.h"
#include "framework/ui/SpinButtonCtrl.h"
#include "tuning/ui/TuningViewLink.h"

#include <functional>
#include <string>

class CJOGRigidityDlg : public CDialog {
public:
    explicit CJOGRigidityDlg(ITuningViewLink& view);
    const MessageMap* GetMessageMap() const override;

    BOOL Create(CWnd* parent);
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;
    void OnCancel() override;
    void OnPercentChange();

    std::function<void()> OnClosed;

    int m_adjusted501 = 0, m_adjusted502 = 0, m_adjusted505 = 0;
    int m_start501 = 0, m_start502 = 0, m_start505 = 0;
    CSpinButtonCtrl m_spin;
    int m_percent = 30;

protected:
    void PostNcDestroy() override { delete this; }

private:
    void ShowAdjusted();

    ITuningViewLink& view_;
    // All three starting values were read: only then may Write send anything.
    bool startsRead_ = false;
};
