#pragma once
// CJogParaTab1: the auto gain window's first condition page (template 6003): load inertia ratio,
// command number, operation speed, stop time, rigidity, response mode and load inertia estimate. It
// holds values only; the owner reads and writes its members and sets its ranges.
#include "framework/ui/Dialog.h"
#include "framework/ui/Edit.h"
#include "framework/ui/SpinButtonCtrl.h"

#include <string>

class CJogParaTab1 : public CDialog {
public:
    CJogParaTab1();
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override {}
    void OnCancel() override {}

    int m_maxSpeed = 0;
    CSpinButtonCtrl m_inertiaSpin, m_commandSpin, m_speedSpin, m_stopTimeSpin, m_rigiditySpin;
    int m_rigidity = 0;
    int m_commandNumber = 0;
    int m_speed = 0;
    int m_inertiaRatio = 0;
    std::string m_commandUnit;
    std::string m_speedUnit;
    std::string m_speedRange;
    int m_stopTime = 0;
    int m_responseMode = -1;
    int m_inertiaEstimate = -1;

private:
    void OnEditChange(UINT id);
    void OnComboChange(UINT id);
};
