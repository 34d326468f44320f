#pragma once
// The pages of the encoder step: the dividing output (Cn005, Pn316 digit 2), then one rotation
// direction page by control mode (speed with the SPDINV input, position, torque with TRQINV, RS1, RS2).
#include "wizard/ui/WizardPage.h"

class CMotorEncoderPage1Dialog : public CWizardPage {
public:
    CMotorEncoderPage1Dialog();
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    bool CheckPage() override;
    void TakeChoices(const CollectedSet& set) override;
    void GiveChoices(CollectedSet& set) const override;
    bool DiffersFrom(const CollectedSet& set) const override;

    int m_DividingOutput = 32768;
    int m_DividingMin = 16;
    int m_DividingMax = 2097152;
    int m_PhaseOrder = 0;

protected:
    void OnValueTyped();
    void OnPhaseOrder(UINT id);
};

// A rotation direction page; the speed and torque forms add their DI selectors.
class CMotorEncoderDirectionPage : public CWizardPage {
public:
    // The functions of the page's selectors, in combo order (combos 2009, 2010, 2011).
    // groups: the contact group box of each selector.
    CMotorEncoderDirectionPage(UINT templateId, int pageCode, const char* directionKey,
                               std::vector<int> functions, std::vector<int> groups);
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void LoadPage() override;
    void TakeChoices(const CollectedSet& set) override;
    void GiveChoices(CollectedSet& set) const override;
    bool DiffersFrom(const CollectedSet& set) const override;
    std::vector<DioAssignment> DiAssignments() const override;

    int m_Direction = 1;
    int m_Input[3] = {};
    int m_Contact[3] = {};

protected:
    void OnDirection(UINT id);
    void OnContact(UINT id);
    void OnInputSelected(UINT id);

private:
    void ShowAllContactControls();
    const char* directionKey_;
    std::vector<int> functions_;
    std::vector<int> groups_;
};

class CMotorEncoderPage2Dialog : public CMotorEncoderDirectionPage {
public:
    CMotorEncoderPage2Dialog();
};
class CMotorEncoderPage3Dialog : public CMotorEncoderDirectionPage {
public:
    CMotorEncoderPage3Dialog();
};
class CMotorEncoderPage4Dialog : public CMotorEncoderDirectionPage {
public:
    CMotorEncoderPage4Dialog();
};
