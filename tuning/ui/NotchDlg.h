#pragma once
// CNotchDlg: the "Online Notch" window (template 4001): the drive's online resonance detection
// (Cn063, Cn064) and its five notch filters, live, on two tabs; "Parameter Set" copies the Set values
// into the document and marks them changed for the parameter editor.
#include "framework/ui/TabCtrl.h"
#include "tuning/ui/OnlineFilterDialog.h"

class CNotchDlg : public COnlineFilterDialog {
public:
    explicit CNotchDlg(ITuningViewLink& view);
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;

    void ShowTab(int index);
    void OnTabChange(NMHDR*, LRESULT* result);
    void OnParameterSet();

    CTabCtrl m_tab;
    int m_tabIndex = 0;
};
