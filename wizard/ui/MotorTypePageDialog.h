#pragma once
// CMotorTypePageDialog: the motor model page (step "Servo Motor Model Select"): the motors of the
// drive's capacity group, the encoder type and the Cn030 value they make.
#include "catalogue/MotorTables.h"
#include "wizard/ui/WizardPage.h"

class CMotorTypePageDialog : public CWizardPage {
public:
    CMotorTypePageDialog();
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void LoadPage() override { RefillMotorList(); }

    int m_CapacityGroup = 0;
    int m_MotorRow = 0;
    int m_EncoderIndex = 0;
    unsigned m_MotorCode = 0;
    // Rated speed and maximum torque of the chosen row (also filled when only looked up).
    int m_RatedSpeed = 3000;
    int m_MaxTorque = 300;
    std::string m_ModelName;
    std::string m_CapacityText;

    void RefillMotorList();
    void UpdateMotorSummary();
    // The row's model text; keeps the row's rated speed and maximum torque.
    std::string MotorModelAt(int group, int row);

protected:
    void OnMotorSelected();
    void OnEncoderSelected();

private:
    MotorTables tables_;
};
