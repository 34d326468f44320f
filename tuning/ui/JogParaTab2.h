#pragma once
// CJogParaTab2: the auto gain window's second condition page (template 6005): friction compensation,
// speed observer and the low-frequency detection level (Pn338).
#include "framework/ui/Dialog.h"
#include "framework/ui/SpinButtonCtrl.h"

class CJogParaTab2 : public CDialog {
public:
    CJogParaTab2();
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override {}
    void OnCancel() override {}

    CSpinButtonCtrl m_detectionSpin;
    int m_friction = -1;
    int m_observer = -1;
    int m_detectionLevel = 0;

private:
    void OnDetectionChange();
    void OnComboChange();
};
