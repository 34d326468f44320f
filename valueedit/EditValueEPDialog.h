#pragma once
// The control mode Cn001: one list of the modes the drive series offers.
#include "framework/ui/Dialog.h"

#include <string>

class CEditValueEPDialog : public CDialog {
public:
    CEditValueEPDialog();

    std::string m_Code;
    std::string m_Title;
    std::string m_Unit;
    int m_Min = 0;
    int m_Max = 99999;
    int m_Value = 0;

    BOOL OnInitDialog() override;
    void OnOK() override;
};
