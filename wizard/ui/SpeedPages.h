#pragma once
// The speed pages of the reference-input step (page codes 31..37): analog scaling and limit, the
// three internal speeds with their inputs, the acceleration method with one page per method, and the
// zero speed. Each page only lists its pieces; the shared behaviour is CReferencePage's.
#include "wizard/ui/ReferencePage.h"

#include <array>

class CSetSpeedPage2Dialog : public CReferencePage {
public:
    CSetSpeedPage2Dialog();
    int m_AnalogScale = 0;
    int m_AnalogScaleMin = 100;
    int m_AnalogScaleMax = 10000;
    int m_AnalogLimit = 0;
    int m_AnalogLimitMin = 100;
    int m_AnalogLimitMax = 3060;

protected:
    void TakeLimits(const CollectedSet& set) override;
};

// Three internal speeds (or speed limits) with the SPD1/SPD2 inputs that choose them; the torque
// chain's last page has the same layout.
class CInternalSpeedsPage : public CReferencePage {
public:
    CInternalSpeedsPage(UINT templateId, int pageCode, const char* const (&codes)[3],
                        const int (&rangeLabels)[3], int minimum, int maximum, int maxChars);
    std::array<int, 3> m_InternalSpeed{};
    int m_SpeedMin;
    int m_SpeedMax;
    int m_Spd1Input = 0;
    int m_Spd2Input = 0;
    int m_Spd1Contact = 0;
    int m_Spd2Contact = 0;
};

class CSetSpeedPage3Dialog : public CInternalSpeedsPage {
public:
    CSetSpeedPage3Dialog();

protected:
    void TakeLimits(const CollectedSet& set) override;
};

class CSetSpeedPage4Dialog : public CReferencePage {
public:
    CSetSpeedPage4Dialog();
    int m_AccelMethod = 0;
};

// One time value with a trial calculation beside it (speed pages 5 and 6, torque pages 6 and 7).
class CTimeConstantPage : public CReferencePage {
public:
    CTimeConstantPage(UINT templateId, int pageCode, const char* code, int maximum, TrialForm form,
                      unsigned percentBound, int percentMirror);
    int m_TimeConstant = 0;
    int m_TimeConstantMin = 1;
    int m_TimeConstantMax;
};

class CSetSpeedPage5Dialog : public CTimeConstantPage {
public:
    CSetSpeedPage5Dialog();
};

class CSetSpeedPage6Dialog : public CTimeConstantPage {
public:
    CSetSpeedPage6Dialog();
};

class CSetSpeedPage7Dialog : public CReferencePage {
public:
    CSetSpeedPage7Dialog();
    int m_SCurveTime = 0;
    int m_SCurveTimeMin = 0;
    int m_SCurveTimeMax = 10000;
    int m_SCurveAccel = 0;
    int m_SCurveDecel = 0;
    int m_SCurveRampMin = 1;
    int m_SCurveRampMax = 20000;

protected:
    bool CheckRules() override;
};

class CSetSpeedPage13Dialog : public CReferencePage {
public:
    CSetSpeedPage13Dialog();
    int m_ZeroSpeedMode = 0;
    int m_ZeroSpeed = 0;
    int m_ZeroSpeedMin = 0;
    int m_ZeroSpeedMax = 4500;

protected:
    void TakeLimits(const CollectedSet& set) override;
};
