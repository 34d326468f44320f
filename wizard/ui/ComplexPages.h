#pragma once
// The pages of the comprehensive step: brake mode (Cn008, Cn003, the BI output), regenerative
// resistor (Cn012, Cn089), absolute encoder battery alarm (Cn031 digit 2), limits (Cn002 digit 1).
#include "wizard/ui/WizardPage.h"

class CComplexPage1Dialog : public CWizardPage {
public:
    CComplexPage1Dialog();
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void LoadPage() override;
    bool CheckPage() override;
    void TakeChoices(const CollectedSet& set) override;
    void GiveChoices(CollectedSet& set) const override;
    bool DiffersFrom(const CollectedSet& set) const override;
    std::vector<DioAssignment> DoAssignments() const override;
    int UnsetChoiceControl() const override;

    int m_BrakeMode = 0;
    int m_BrakeForce = 0;
    int m_BrakeTime = 0;
    int m_BrakeTimeMin = -3000;
    int m_BrakeTimeMax = 3000;
    int m_BiOutput = 0;
    int m_BiContact = 0;
    int m_FamilyCode = 2;

    // Forced action, brake time and the BI output count only with a mechanical brake (1, 3, 5).
    void EnableBrakeControls();

protected:
    void OnBrakeModeSelected();
    void OnBrakeForceSelected();
    void OnInputSelected();
    void OnBrakeTimeEdited();
    void OnContact(UINT id);
};

class CComplexPage2Dialog : public CWizardPage {
public:
    CComplexPage2Dialog();
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    bool CheckPage() override;
    void TakeChoices(const CollectedSet& set) override;
    void GiveChoices(CollectedSet& set) const override;
    bool DiffersFrom(const CollectedSet& set) const override;

    int m_RegenPower = 0;
    int m_RegenResistance = 0;
    int m_RegenMin = 0;
    int m_RegenMax = 10000;

protected:
    void OnPowerEdited();
    void OnResistanceEdited();
};

// A page of one radio group over one digit choice (pages 3 and 4).
class CComplexRadioPage : public CWizardPage {
public:
    CComplexRadioPage(UINT templateId, int pageCode, const char* key, int buttons);
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void TakeChoices(const CollectedSet& set) override;
    void GiveChoices(CollectedSet& set) const override;
    bool DiffersFrom(const CollectedSet& set) const override;
    int UnsetChoiceControl() const override;

    int m_Choice = 0;

protected:
    void OnChoice(UINT id);

private:
    const char* key_;
    int buttons_;
};

class CComplexPage3Dialog : public CComplexRadioPage {
public:
    CComplexPage3Dialog();
};

class CComplexPage4Dialog : public CComplexRadioPage {
public:
    CComplexPage4Dialog();
    void LoadPage() override { EnableNoLimitChoice(); }
    void TakeChoices(const CollectedSet& set) override;
    // Ignoring POT and NOT is offered unless the return to origin uses them as its reference.
    void EnableNoLimitChoice();

    int m_HomeStartMode = 0;
    int m_HomeMethod = 0;
    int m_HomeReference = 0;
};
