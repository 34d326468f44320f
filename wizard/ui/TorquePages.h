#pragma once
// The torque pages of the reference-input step (page codes 60, 62..69, 71, 72): torque source,
// analog scaling, torque limits, the acceleration method with one page per method, the torque
// reached output, and the speed limits in torque control. Each page only lists its pieces; the
// shared behaviour is CReferencePage's.
#include "wizard/ui/SpeedPages.h"

class CSetTorquePage1Dialog : public CReferencePage {
public:
    CSetTorquePage1Dialog();
    int m_TorqueSource = 0;
    int m_DigitalTorque = 0;
    int m_DigitalTorqueMin = -3000;
    int m_DigitalTorqueMax = 3000;
    // The drive has no analog command input. No drive row sets this yet, so it stays 0.
    int m_NoAnalogInput = 0;

protected:
    void RefreshStates() override;
};

class CSetTorquePage3Dialog : public CReferencePage {
public:
    CSetTorquePage3Dialog();
    int m_AnalogTorqueScale = 0;
    int m_AnalogTorqueScaleMin = 0;
    int m_AnalogTorqueScaleMax = 600;
};

class CSetTorquePage4Dialog : public CReferencePage {
public:
    CSetTorquePage4Dialog();
    int m_CcwTorqueLimit = 0;
    int m_CcwTorqueLimitMin = 0;
    int m_CcwTorqueLimitMax = 300;
    int m_CwTorqueLimit = 0;
    int m_CwTorqueLimitMin = -300;
    int m_CwTorqueLimitMax = 0;

protected:
    void TakeLimits(const CollectedSet& set) override;
};

class CSetTorquePage5Dialog : public CReferencePage {
public:
    CSetTorquePage5Dialog();
    int m_AccelMethod = 0;
};

// Torque pages 6 and 8 both hold Tn102; each stands for it only when page 5 chose its method.
class CSetTorquePage6Dialog : public CTimeConstantPage {
public:
    CSetTorquePage6Dialog();
    const CSetTorquePage5Dialog* m_AccelPage = nullptr;
};

class CSetTorquePage7Dialog : public CTimeConstantPage {
public:
    CSetTorquePage7Dialog();
};

class CSetTorquePage8Dialog : public CReferencePage {
public:
    CSetTorquePage8Dialog();
    int m_AccelTime = 0;
    int m_DecelTime = 0;
    int m_TimeMin = 1;
    int m_TimeMax = 50000;
    const CSetTorquePage5Dialog* m_AccelPage = nullptr;
};

class CSetTorquePage9Dialog : public CReferencePage {
public:
    CSetTorquePage9Dialog();
    int m_TorqueReached = 0;
    int m_TorqueReachedMin = 0;
    int m_TorqueReachedMax = 300;
    int m_IntOutput = 0;
    int m_IntContact = 0;
};

class CSetTorquePage10Dialog : public CReferencePage {
public:
    CSetTorquePage10Dialog();
    int m_LimitSwitching = 0;
    int m_FwdSpeedLimit = 0;
    int m_FwdSpeedLimitMin = 0;
    int m_FwdSpeedLimitMax = 4500;
    int m_RevSpeedLimit = 0;
    int m_RevSpeedLimitMin = -4500;
    int m_RevSpeedLimitMax = 0;

protected:
    void RefreshStates() override;
    void OnRadioChosen(int group) override;
    void TakeLimits(const CollectedSet& set) override;
};

class CSetTorquePage12Dialog : public CReferencePage {
public:
    CSetTorquePage12Dialog();
    int m_AnalogLimitScale = 0;
    int m_AnalogLimitScaleMin = 100;
    int m_AnalogLimitScaleMax = 10000;
};

class CSetTorquePage13Dialog : public CInternalSpeedsPage {
public:
    CSetTorquePage13Dialog();
    std::vector<DioAssignment> DiAssignments() const override;
    // SPD1 and SPD2 choose the speed limits only while page 10 switches by them.
    const CSetTorquePage10Dialog* m_SwitchingPage = nullptr;

protected:
    void TakeLimits(const CollectedSet& set) override;
};
