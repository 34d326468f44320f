#pragma once
// CSetCtrlPageDialog: the control mode page (step "Control Mode Select"): torque, speed or position
// by external pulse command, with a description of the chosen mode.
#include "wizard/ui/WizardPage.h"

class CSetCtrlPageDialog : public CWizardPage {
public:
    CSetCtrlPageDialog();
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void LoadPage() override;
    std::optional<int> Choice(std::string_view key) const override;

    int m_FamilyCode;
    int m_ModeIndex = 1;
    int m_ShownMode = 1;

    void ShowModeText();

protected:
    void OnModeSelected();
};

// The name of a control mode (strings 1011, 1010, 1012); "" for another value.
std::string ControlModeName(int mode);
