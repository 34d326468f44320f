#include "wizard/ui/TorquePages.h"

#include "resources/ids/wizardref.h"
#include "wizard/ui/SaveWritePageDialog.h" // WM_WIZARD_STEP_TOGGLE

namespace {

constexpr int TorquePageCode(int page) {
    return 59 + page;
}

} // namespace

CSetTorquePage1Dialog::CSetTorquePage1Dialog() : CReferencePage(IDD_SET_TORQUE_PAGE1, TorquePageCode(1)) {
    AddRadios({IDC_REF_OPTION1, 2, &m_TorqueSource, "Tn101.1"});
    // Checked also while the analog command is chosen and the edit is greyed.
    AddValue({IDC_REF_VALUE1, IDC_REF_SPIN1, &m_DigitalTorque, &m_DigitalTorqueMin, &m_DigitalTorqueMax, 5,
              EditKind::Live, "Tn113"});
}

void CSetTorquePage1Dialog::RefreshStates() {
    EnableControls({IDC_REF_VALUE1, IDC_REF_SPIN1}, m_TorqueSource == 1);
    EnableControls({IDC_REF_OPTION1}, m_NoAnalogInput == 0);
}

CSetTorquePage3Dialog::CSetTorquePage3Dialog() : CReferencePage(IDD_SET_TORQUE_PAGE3, TorquePageCode(3)) {
    AddValue({IDC_REF_VALUE1, IDC_REF_SPIN1, &m_AnalogTorqueScale, &m_AnalogTorqueScaleMin,
              &m_AnalogTorqueScaleMax, 3, EditKind::Live, "Tn103"});
}

CSetTorquePage4Dialog::CSetTorquePage4Dialog() : CReferencePage(IDD_SET_TORQUE_PAGE4, TorquePageCode(4)) {
    AddValue({IDC_REF_VALUE1, IDC_REF_SPIN1, &m_CcwTorqueLimit, &m_CcwTorqueLimitMin, &m_CcwTorqueLimitMax, 3,
              EditKind::Live, "Cn010", false, IDC_REF_RANGE_CN010});
    AddValue({IDC_REF_VALUE2, IDC_REF_SPIN2, &m_CwTorqueLimit, &m_CwTorqueLimitMin, &m_CwTorqueLimitMax, 4,
              EditKind::Live, "Cn011", false, IDC_REF_RANGE_CN011});
}

void CSetTorquePage4Dialog::TakeLimits(const CollectedSet& set) {
    const MotorPageLimits& limits = set.Motor().m_PageLimits;
    m_CcwTorqueLimitMax = limits.torqueLimitMax;
    m_CwTorqueLimitMin = limits.torqueLimitMin;
}

CSetTorquePage5Dialog::CSetTorquePage5Dialog() : CReferencePage(IDD_SET_TORQUE_PAGE5, TorquePageCode(5)) {
    AddRadios({IDC_REF_OPTION1, 4, &m_AccelMethod, "Tn101.0"});
}

CSetTorquePage6Dialog::CSetTorquePage6Dialog()
    : CTimeConstantPage(IDD_SET_TORQUE_PAGE6, TorquePageCode(6), "Tn102", 50000, TrialForm::Linear, 99,
                        IDC_REF_PERCENT_MIRROR_TORQUE) {
    SetValueActive(IDC_REF_VALUE1, [this] { return !m_AccelPage || m_AccelPage->m_AccelMethod == 1; });
}

CSetTorquePage7Dialog::CSetTorquePage7Dialog()
    : CTimeConstantPage(IDD_SET_TORQUE_PAGE7, TorquePageCode(7), "Tn110", 10000, TrialForm::Exponential, 99,
                        IDC_REF_PERCENT_MIRROR_TORQUE) {}

CSetTorquePage8Dialog::CSetTorquePage8Dialog() : CReferencePage(IDD_SET_TORQUE_PAGE8, TorquePageCode(8)) {
    AddValue({IDC_REF_VALUE1, IDC_REF_SPIN1, &m_AccelTime, &m_TimeMin, &m_TimeMax, 5, EditKind::Typed,
              "Tn102", true, 0, true, [this] { return !m_AccelPage || m_AccelPage->m_AccelMethod == 3; }});
    AddValue({IDC_REF_VALUE2, IDC_REF_SPIN10, &m_DecelTime, &m_TimeMin, &m_TimeMax, 5, EditKind::Typed,
              "Tn117", true});
    SetTrial({TrialForm::Linear, IDC_REF_VALUE3, IDC_REF_SPIN2, IDC_REF_TIME_MIRROR, IDC_REF_VALUE4,
              IDC_REF_SPIN3, IDC_REF_PERCENT_MIRROR_TORQUE, 99, &m_AccelTime, &m_TimeMin, &m_TimeMax});
}

CSetTorquePage9Dialog::CSetTorquePage9Dialog() : CReferencePage(IDD_SET_TORQUE_PAGE9, TorquePageCode(9)) {
    AddValue({IDC_REF_VALUE1, IDC_REF_SPIN1, &m_TorqueReached, &m_TorqueReachedMin, &m_TorqueReachedMax, 3,
              EditKind::Live, "Tn108"});
    AddSelector({IDC_REF_SELECT1, &m_IntOutput, &m_IntContact, IDC_REF_INT_GROUP, IDC_REF_OPTION1,
                 DoFunction::INT, true});
}

CSetTorquePage10Dialog::CSetTorquePage10Dialog() : CReferencePage(IDD_SET_TORQUE_PAGE10, TorquePageCode(10)) {
    AddRadios({IDC_REF_OPTION1, 2, &m_LimitSwitching, "Tn101.2"});
    // Checked also while the edits are greyed.
    AddValue({IDC_REF_VALUE1, IDC_REF_SPIN1, &m_FwdSpeedLimit, &m_FwdSpeedLimitMin, &m_FwdSpeedLimitMax, 4,
              EditKind::Live, "Tn114", false, IDC_REF_RANGE_TN114});
    AddValue({IDC_REF_VALUE2, IDC_REF_SPIN2, &m_RevSpeedLimit, &m_RevSpeedLimitMin, &m_RevSpeedLimitMax, 5,
              EditKind::Live, "Tn115", false, IDC_REF_RANGE_TN115});
}

void CSetTorquePage10Dialog::RefreshStates() {
    EnableControls({IDC_REF_VALUE1, IDC_REF_VALUE2, IDC_REF_SPIN1, IDC_REF_SPIN2}, m_LimitSwitching == 1);
}

void CSetTorquePage10Dialog::OnRadioChosen(int) {
    // With Tn114/Tn115 switching this page ends the chain; the wizard swaps Next and Apply.
    if (CWnd* wizard = GetParent())
        wizard->SendMessage(WM_WIZARD_STEP_TOGGLE, static_cast<WPARAM>(m_LimitSwitching), 0);
}

void CSetTorquePage10Dialog::TakeLimits(const CollectedSet& set) {
    const MotorPageLimits& limits = set.Motor().m_PageLimits;
    m_FwdSpeedLimitMax = limits.speedLimitForwardMax;
    m_RevSpeedLimitMin = limits.speedLimitReverseMin;
}

CSetTorquePage12Dialog::CSetTorquePage12Dialog() : CReferencePage(IDD_SET_TORQUE_PAGE12, TorquePageCode(12)) {
    AddValue({IDC_REF_VALUE1, IDC_REF_SPIN1, &m_AnalogLimitScale, &m_AnalogLimitScaleMin,
              &m_AnalogLimitScaleMax, 5, EditKind::Typed, "Tn109", true});
}

namespace {
constexpr const char* LimitCodes[3] = {"Tn105", "Tn106", "Tn107"};
constexpr int LimitLabels[3] = {IDC_REF_RANGE_LIMIT1, IDC_REF_RANGE_LIMIT2, IDC_REF_RANGE_LIMIT3};
} // namespace

CSetTorquePage13Dialog::CSetTorquePage13Dialog()
    : CInternalSpeedsPage(IDD_SET_TORQUE_PAGE13, TorquePageCode(13), LimitCodes, LimitLabels, 0, 4500, 4) {}

std::vector<DioAssignment> CSetTorquePage13Dialog::DiAssignments() const {
    if (m_SwitchingPage && m_SwitchingPage->m_LimitSwitching != 0)
        return {};
    return CInternalSpeedsPage::DiAssignments();
}

void CSetTorquePage13Dialog::TakeLimits(const CollectedSet& set) {
    m_SpeedMax = set.Motor().m_PageLimits.torqueInternalSpeedMax;
}
