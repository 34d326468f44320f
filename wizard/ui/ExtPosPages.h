#pragma once
// The external pulse position pages 1..17 of the reference-input step (page codes 40..56): pulse
// type and logic, filters, pulses per revolution or electronic gear with their calculators, command
// smoothing, error clearing, return to origin and positioning. Each page only lists its pieces; the
// shared behaviour is CReferencePage's.
#include "framework/ui/Gdi.h"
#include "wizard/ui/ReferencePage.h"

#include <array>

class CSetExtPosPage1Dialog : public CReferencePage {
public:
    CSetExtPosPage1Dialog();
    int m_PulseType = 0;
};

class CSetExtPosPage2Dialog : public CReferencePage {
public:
    CSetExtPosPage2Dialog();
    void LoadPage() override;
    int m_PulseLogic = 0;
    int m_PulseType = 0; // page 1's choice; selects the pictures
    int m_InhInput = 0;
    int m_InhContact = 0;
    const CSetExtPosPage1Dialog* m_PulseTypePage = nullptr; // set by the wizard's page list

protected:
    void OnEntered() override;

private:
    std::array<CBitmap, 4> pictures_;
};

class CSetExtPosPage3Dialog : public CReferencePage {
public:
    CSetExtPosPage3Dialog();
    int m_AfterProhibit = 0;
    int m_FilterWidth = 0;
    int m_ResponseFilterOn = 0;
    int m_ResponseFilter = 0;
    int m_ResponseFilterMin = 1;
    int m_ResponseFilterMax = 1000;

protected:
    void RefreshStates() override;
};

class CSetExtPosPage4Dialog : public CReferencePage {
public:
    CSetExtPosPage4Dialog();
    int m_GearMethod = 0;
};

class CSetExtPosPage5Dialog : public CReferencePage {
public:
    CSetExtPosPage5Dialog();
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    int m_PulsesPerRev = 0;
    int m_PulsesPerRevMin = 0;
    int m_PulsesPerRevMax = 131072;
    int m_LoadTravel = 0;
    int m_PulseTravel = 0;
    int m_LoadTurns = 0;
    int m_MotorTurns = 0;

protected:
    void TakeLimits(const CollectedSet& set) override;
    void OnTrialInput(UINT id);
    void OnCalculatePulses();
    void OnSetPulses();
    void OnBallScrew();
    void OnIndexPlate();
    void OnConveyorBelt();

private:
    void TakeCalculatorResult(int result);
    bool SetAllowed() const;
};

class CSetExtPosPage6Dialog : public CReferencePage {
public:
    CSetExtPosPage6Dialog();
    const MessageMap* GetMessageMap() const override;

    std::array<int, 4> m_Numerator = {1, 1, 1, 1};
    int m_Denominator = 1;
    int m_GearMin = 1;
    int m_GearMax = 536870912;
    int m_Gn1Input = 0;
    int m_Gn2Input = 0;
    int m_Gn1Contact = 0;
    int m_Gn2Contact = 0;
    int m_EncoderResolution = 0;

protected:
    void TakeLimits(const CollectedSet& set) override;
    bool CheckRules() override;
    void OnBallScrew();
    void OnIndexPlate();
    void OnConveyorBelt();

private:
    template <class Calculator> void RunCalculator();
};

class CSetExtPosPage7Dialog : public CReferencePage {
public:
    CSetExtPosPage7Dialog();
    int m_SmoothTime = 0;
    int m_SmoothTimeMin = 0;
    int m_SmoothTimeMax = 10000;
};

class CSetExtPosPage8Dialog : public CReferencePage {
public:
    CSetExtPosPage8Dialog();
    int m_SmoothFilter = 0;
    int m_SmoothFilterMin = 0;
    int m_SmoothFilterMax = 2500;
    int m_MovingFilter = 0;
    int m_MovingFilterMin = 0;
    int m_MovingFilterMax = 250;
};

class CSetExtPosPage9Dialog : public CReferencePage {
public:
    CSetExtPosPage9Dialog();
    int m_ClearMode = 0;
    int m_ClrInput = 0;
    int m_ClrContact = 0;
};

class CSetExtPosPage10Dialog : public CReferencePage {
public:
    CSetExtPosPage10Dialog();
    int m_HomeStartMode = 0;
    int m_ShomeInput = 0;
    int m_ShomeContact = 0;
    int m_HomeMethod = 0;
    int m_HomeMethodMin = 0;
    int m_HomeMethodMax = 37;

protected:
    void RefreshStates() override;
};

class CSetExtPosPage11Dialog : public CReferencePage {
public:
    CSetExtPosPage11Dialog();
    int m_HomeReference = 0;
};

class CSetExtPosPage12Dialog : public CReferencePage {
public:
    CSetExtPosPage12Dialog();
    int m_HomeSearchMove = 0;
    int m_HomeStopMode = 0;
    int m_PotInput = 0;
    int m_PotContact = 0;
    int m_NotInput = 0;
    int m_NotContact = 0;
    int m_OrgInput = 0;
    int m_OrgContact = 0;
    int m_HomeReference = 0; // page 11's choice, copied in each time the page is entered
    const CSetExtPosPage11Dialog* m_ReferencePage = nullptr;

    void EnableByReference();

protected:
    void OnEntered() override;
    void RefreshStates() override;
};

class CSetExtPosPage13Dialog : public CReferencePage {
public:
    CSetExtPosPage13Dialog();
    int m_HomeSpeed1 = 0;
    int m_HomeSpeed2 = 0;
    int m_HomeSpeedMin = 1;
    int m_HomeSpeedMax = 3000;
    int m_OffsetRevs = 0;
    int m_OffsetRevsMin = -30000;
    int m_OffsetRevsMax = 30000;
    int m_OffsetPulses = 0;
    int m_OffsetPulsesMin = -131071;
    int m_OffsetPulsesMax = 131071;

protected:
    void TakeLimits(const CollectedSet& set) override;
};

class CSetExtPosPage14Dialog : public CReferencePage {
public:
    CSetExtPosPage14Dialog();
    int m_HomeTorqueLimit = 0;
    int m_HomeTorqueLimitMin = 0;
    int m_HomeTorqueLimitMax = 100;
    int m_HomeTorqueTime = 0;
    int m_HomeTorqueTimeMin = 0;
    int m_HomeTorqueTimeMax = 10000;
};

class CSetExtPosPage15Dialog : public CReferencePage {
public:
    CSetExtPosPage15Dialog();
    int m_HomeOffsetMode = 0;
};

class CSetExtPosPage16Dialog : public CReferencePage {
public:
    CSetExtPosPage16Dialog();
    int m_InPositionWidth = 0;
    int m_InPositionWidthMin = 0;
    int m_InPositionWidthMax = 41943040;
    int m_InpOutput = 0;
    int m_InpContact = 0;
};

class CSetExtPosPage17Dialog : public CReferencePage {
public:
    CSetExtPosPage17Dialog();
    int m_PosErrorPositive = 0;
    int m_PosErrorNegative = 0;
    int m_PosErrorMin = 0;
    int m_PosErrorMax = 50000;
};
