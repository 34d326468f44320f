#include "wizard/ui/SpeedPages.h"

#include "resources/ids/wizardref.h"
#include "wizard/ReferencePageRules.h"

namespace {

constexpr int SpeedPageCode(int page) {
    return page == 13 ? 37 : 29 + page;
}

} // namespace

CSetSpeedPage2Dialog::CSetSpeedPage2Dialog() : CReferencePage(IDD_SET_SPEED_PAGE2, SpeedPageCode(2)) {
    AddValue({IDC_REF_VALUE1, IDC_REF_SPIN1, &m_AnalogScale, &m_AnalogScaleMin, &m_AnalogScaleMax, 5,
              EditKind::Typed, "Sn216", true});
    AddValue({IDC_REF_VALUE2, IDC_REF_SPIN2, &m_AnalogLimit, &m_AnalogLimitMin, &m_AnalogLimitMax, 4,
              EditKind::Typed, "Sn218", true, IDC_REF_RANGE_SN218});
}

void CSetSpeedPage2Dialog::TakeLimits(const CollectedSet& set) {
    m_AnalogLimitMax = set.Motor().m_PageLimits.analogSpeedLimitMax;
}

CInternalSpeedsPage::CInternalSpeedsPage(UINT templateId, int pageCode, const char* const (&codes)[3],
                                         const int (&rangeLabels)[3], int minimum, int maximum, int maxChars)
    : CReferencePage(templateId, pageCode), m_SpeedMin(minimum), m_SpeedMax(maximum) {
    const int edits[3] = {IDC_REF_VALUE1, IDC_REF_VALUE2, IDC_REF_VALUE3};
    const int spins[3] = {IDC_REF_SPIN1, IDC_REF_SPIN10, IDC_REF_SPIN2};
    for (size_t i = 0; i < 3; ++i)
        AddValue({edits[i], spins[i], &m_InternalSpeed[i], &m_SpeedMin, &m_SpeedMax, maxChars,
                  EditKind::LiveCaret, codes[i], false, rangeLabels[i]});
    AddSelector({IDC_REF_SELECT1, &m_Spd1Input, &m_Spd1Contact, IDC_REF_SPD1_GROUP, IDC_REF_OPTION1,
                 DiFunction::SPD1});
    AddSelector({IDC_REF_SELECT2, &m_Spd2Input, &m_Spd2Contact, IDC_REF_SPD2_GROUP, IDC_REF_OPTION3,
                 DiFunction::SPD2});
}

namespace {
constexpr const char* SpeedCodes[3] = {"Sn201", "Sn202", "Sn203"};
constexpr int SpeedLabels[3] = {IDC_REF_RANGE_SPEED1, IDC_REF_RANGE_SPEED2, IDC_REF_RANGE_SPEED3};
} // namespace

CSetSpeedPage3Dialog::CSetSpeedPage3Dialog()
    : CInternalSpeedsPage(IDD_SET_SPEED_PAGE3, SpeedPageCode(3), SpeedCodes, SpeedLabels, -4500, 4500, 5) {}

void CSetSpeedPage3Dialog::TakeLimits(const CollectedSet& set) {
    const MotorPageLimits& limits = set.Motor().m_PageLimits;
    m_SpeedMin = limits.internalSpeedMin;
    m_SpeedMax = limits.internalSpeedMax;
}

CSetSpeedPage4Dialog::CSetSpeedPage4Dialog() : CReferencePage(IDD_SET_SPEED_PAGE4, SpeedPageCode(4)) {
    AddRadios({IDC_REF_OPTION1, 4, &m_AccelMethod, "Sn205.0"});
}

CTimeConstantPage::CTimeConstantPage(UINT templateId, int pageCode, const char* code, int maximum,
                                     TrialForm form, unsigned percentBound, int percentMirror)
    : CReferencePage(templateId, pageCode), m_TimeConstantMax(maximum) {
    AddValue({IDC_REF_VALUE1, IDC_REF_SPIN1, &m_TimeConstant, &m_TimeConstantMin, &m_TimeConstantMax, 5,
              EditKind::Typed, code, true});
    SetTrial({form, IDC_REF_VALUE2, IDC_REF_SPIN10, IDC_REF_TIME_MIRROR, IDC_REF_VALUE3, IDC_REF_SPIN2,
              percentMirror, percentBound, &m_TimeConstant, &m_TimeConstantMin, &m_TimeConstantMax});
}

CSetSpeedPage5Dialog::CSetSpeedPage5Dialog()
    : CTimeConstantPage(IDD_SET_SPEED_PAGE5, SpeedPageCode(5), "Sn206", 10000, TrialForm::Exponential, 99,
                        IDC_REF_PERCENT_MIRROR_SPEED) {}

CSetSpeedPage6Dialog::CSetSpeedPage6Dialog()
    : CTimeConstantPage(IDD_SET_SPEED_PAGE6, SpeedPageCode(6), "Sn207", 50000, TrialForm::Linear, 100,
                        IDC_REF_PERCENT_MIRROR_SPEED) {}

CSetSpeedPage7Dialog::CSetSpeedPage7Dialog() : CReferencePage(IDD_SET_SPEED_PAGE7, SpeedPageCode(7)) {
    AddValue({IDC_REF_VALUE1, IDC_REF_SPIN1, &m_SCurveTime, &m_SCurveTimeMin, &m_SCurveTimeMax, 5,
              EditKind::Live, "Sn208"});
    AddValue({IDC_REF_VALUE2, IDC_REF_SPIN10, &m_SCurveAccel, &m_SCurveRampMin, &m_SCurveRampMax, 5,
              EditKind::Typed, "Sn209", true});
    AddValue({IDC_REF_VALUE3, IDC_REF_SPIN2, &m_SCurveDecel, &m_SCurveRampMin, &m_SCurveRampMax, 5,
              EditKind::Typed, "Sn210", true});
}

bool CSetSpeedPage7Dialog::CheckRules() {
    const RuleCheck rule = CheckSCurveRule(m_SCurveTime, m_SCurveAccel, m_SCurveDecel);
    if (rule.ok())
        return true;
    RefuseAt(rule.fault == RuleFault::SCurveAccel ? IDC_REF_VALUE2 : IDC_REF_VALUE3,
             rule.fault == RuleFault::SCurveAccel ? IDS_SCURVE_ACCEL_RULE : IDS_SCURVE_DECEL_RULE);
    return false;
}

CSetSpeedPage13Dialog::CSetSpeedPage13Dialog() : CReferencePage(IDD_SET_SPEED_PAGE13, SpeedPageCode(13)) {
    AddRadios({IDC_REF_OPTION1, 2, &m_ZeroSpeedMode, "Sn204.0"});
    AddValue({IDC_REF_VALUE1, IDC_REF_SPIN1, &m_ZeroSpeed, &m_ZeroSpeedMin, &m_ZeroSpeedMax, 4,
              EditKind::Live, "Sn215", false, IDC_REF_RANGE_SN215});
}

void CSetSpeedPage13Dialog::TakeLimits(const CollectedSet& set) {
    m_ZeroSpeedMax = set.Motor().m_PageLimits.zeroSpeedMax;
}
