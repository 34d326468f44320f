#pragma once
// CServoTypePageDialog: the drive model page (step "Servo Drive Model Select"): the 20 capacity
// classes of the drive family and the summary of the chosen one.
#include "wizard/ui/WizardPage.h"

class CServoTypePageDialog : public CWizardPage {
public:
    CServoTypePageDialog();
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void LoadPage() override;

    int m_FamilyCode;
    int m_DriveRow = 0;

    void ShowDriveDetails();

protected:
    void OnDriveSelected();
};
