#include "wizard/ui/ExtPosPages.h"

#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/ui/Edit.h"
#include "framework/ui/Messages.h"
#include "framework/ui/SpinButtonCtrl.h"
#include "framework/ui/Static.h"
#include "resources/ids/wizardref.h"
#include "wizard/ReferencePageRules.h"
#include "wizard/ui/MechanismCalculatorDialogs.h"

namespace {

constexpr int PositionPageCode(int page) {
    return 39 + page;
}

// The four waveform pictures of a pulse type: positive forward, positive reverse, negative forward,
// negative reverse. The two A/B phase types share theirs.
std::array<int, 4> PulsePictures(int pulseType) {
    switch (pulseType) {
    case 0:
        return {IDB_PULSE_SIGN_POS_FWD, IDB_PULSE_SIGN_POS_REV, IDB_PULSE_SIGN_NEG_FWD,
                IDB_PULSE_SIGN_NEG_REV};
    case 1:
        return {IDB_PULSE_CWCCW_POS_FWD, IDB_PULSE_CWCCW_POS_REV, IDB_PULSE_CWCCW_NEG_FWD,
                IDB_PULSE_CWCCW_NEG_REV};
    case 2:
    case 3:
        return {IDB_PULSE_AB_POS_FWD, IDB_PULSE_AB_POS_REV, IDB_PULSE_AB_NEG_FWD, IDB_PULSE_AB_NEG_REV};
    default:
        return {0, 0, 0, 0};
    }
}

void FocusAndSelect(CWnd* page, int editId) {
    if (CWnd* edit = page->GetDlgItem(editId)) {
        edit->SetFocus();
        edit->SendMessage(EM_SETSEL, 0, -1);
    }
}

} // namespace

// ---- page 1: pulse type ----

CSetExtPosPage1Dialog::CSetExtPosPage1Dialog() : CReferencePage(IDD_SET_EXT_POS_PAGE1, PositionPageCode(1)) {
    AddRadios({IDC_REF_OPTION1, 4, &m_PulseType, "Pn301.0"});
}

// ---- page 2: pulse logic and INH ----

CSetExtPosPage2Dialog::CSetExtPosPage2Dialog() : CReferencePage(IDD_SET_EXT_POS_PAGE2, PositionPageCode(2)) {
    AddRadios({IDC_REF_OPTION1, 2, &m_PulseLogic, "Pn301.1"});
    AddSelector(
        {IDC_REF_SELECT1, &m_InhInput, &m_InhContact, IDC_REF_INH_GROUP, IDC_REF_OPTION3, DiFunction::INH});
}

void CSetExtPosPage2Dialog::LoadPage() {
    CReferencePage::LoadPage();
    const std::array<int, 4> ids = PulsePictures(m_PulseType);
    const int statics[4] = {IDC_REF_PICTURE1, IDC_REF_PICTURE2, IDC_REF_PICTURE3, IDC_REF_PICTURE4};
    for (size_t i = 0; i < 4; ++i) {
        auto* picture = dynamic_cast<CStatic*>(GetDlgItem(statics[i]));
        if (!picture)
            continue;
        pictures_[i].DeleteObject();
        if (ids[i] && pictures_[i].LoadBitmap(ids[i]))
            picture->SetBitmap(&pictures_[i]);
        else
            picture->SetBitmap(nullptr);
    }
}

void CSetExtPosPage2Dialog::OnEntered() {
    // The pictures follow the pulse type chosen on page 1 in this pass.
    if (m_PulseTypePage && m_PulseTypePage->m_PulseType != m_PulseType) {
        m_PulseType = m_PulseTypePage->m_PulseType;
        LoadPage();
    }
}

// ---- page 3: filters ----

CSetExtPosPage3Dialog::CSetExtPosPage3Dialog() : CReferencePage(IDD_SET_EXT_POS_PAGE3, PositionPageCode(3)) {
    AddRadios({IDC_REF_OPTION1, 2, &m_AfterProhibit, "Pn301.2"});
    AddCombo({IDC_REF_SELECT1, &m_FilterWidth, "Pn301.3"});
    AddRadios({IDC_REF_OPTION3, 2, &m_ResponseFilterOn, "Pn332.3"});
    // Checked also while the filter is off: the edit still holds a value that is written.
    AddValue({IDC_REF_VALUE1, IDC_REF_SPIN1, &m_ResponseFilter, &m_ResponseFilterMin, &m_ResponseFilterMax, 4,
              EditKind::Typed, "Pn356", true});
}

void CSetExtPosPage3Dialog::RefreshStates() {
    EnableControls({IDC_REF_VALUE1, IDC_REF_SPIN1}, m_ResponseFilterOn == 1);
}

// ---- page 4: pulses per revolution or electronic gear ----

CSetExtPosPage4Dialog::CSetExtPosPage4Dialog() : CReferencePage(IDD_SET_EXT_POS_PAGE4, PositionPageCode(4)) {
    AddRadios({IDC_REF_OPTION1, 2, &m_GearMethod, "GearMethod"});
}

// ---- page 5: pulses per revolution ----

CSetExtPosPage5Dialog::CSetExtPosPage5Dialog() : CReferencePage(IDD_SET_EXT_POS_PAGE5, PositionPageCode(5)) {
    AddValue({IDC_REF_VALUE1, IDC_REF_SPIN1, &m_PulsesPerRev, &m_PulsesPerRevMin, &m_PulsesPerRevMax, 7,
              EditKind::LiveCaret, "Pn354", false, IDC_REF_PULSES_RANGE});
}

const MessageMap* CSetExtPosPage5Dialog::GetMessageMap() const {
    static const MessageMap map(
        CReferencePage::GetMessageMap(),
        {
            msg::ControlRange(EN_CHANGE, IDC_REF_VALUE2, IDC_REF_VALUE6,
                              &CSetExtPosPage5Dialog::OnTrialInput),
            msg::Command(IDC_REF_CALCULATE, &CSetExtPosPage5Dialog::OnCalculatePulses),
            msg::Command(IDC_REF_SET, &CSetExtPosPage5Dialog::OnSetPulses),
            msg::Command(IDC_REF_BALL_SCREW, &CSetExtPosPage5Dialog::OnBallScrew),
            msg::Command(IDC_REF_INDEX_PLATE, &CSetExtPosPage5Dialog::OnIndexPlate),
            msg::Command(IDC_REF_CONVEYOR, &CSetExtPosPage5Dialog::OnConveyorBelt),
        });
    return &map;
}

void CSetExtPosPage5Dialog::DoDataExchange(CDataExchange* dx) {
    CReferencePage::DoDataExchange(dx);
    DDX_Text(dx, IDC_REF_VALUE3, m_LoadTravel);
    DDX_Text(dx, IDC_REF_VALUE2, m_PulseTravel);
    DDX_Text(dx, IDC_REF_VALUE4, m_LoadTurns);
    DDX_Text(dx, IDC_REF_VALUE6, m_MotorTurns);
}

BOOL CSetExtPosPage5Dialog::OnInitDialog() {
    // The trial inputs' up-downs first, before the data exchange (see CReferencePage).
    const struct {
        int edit, spin, chars, bound;
    } inputs[] = {{IDC_REF_VALUE3, IDC_REF_SPIN3, 5, 99999},
                  {IDC_REF_VALUE2, IDC_REF_SPIN2, 5, 99999},
                  {IDC_REF_VALUE4, IDC_REF_SPIN4, 4, 9999},
                  {IDC_REF_VALUE6, IDC_REF_SPIN5, 4, 9999}};
    for (const auto& input : inputs) {
        if (auto* edit = dynamic_cast<CEdit*>(GetDlgItem(input.edit)))
            edit->LimitText(input.chars);
        if (auto* spin = dynamic_cast<CSpinButtonCtrl*>(GetDlgItem(input.spin))) {
            spin->SetBase(10);
            spin->SetBuddy(GetDlgItem(input.edit));
            spin->SetRange32(0, input.bound);
        }
    }
    CReferencePage::OnInitDialog();
    EnableControls({IDC_REF_SET}, SetAllowed());
    return TRUE;
}

void CSetExtPosPage5Dialog::TakeLimits(const CollectedSet& set) {
    m_PulsesPerRevMax = set.Motor().m_PageLimits.pulsesPerRevMax;
}

bool CSetExtPosPage5Dialog::SetAllowed() const {
    // Below 64 the drive reads the value as "not used", so Set never offers it.
    const std::int64_t rounded = RoundTrialResult(m_TrialResult);
    return m_TrialResult != 0 && rounded >= 64 && rounded <= m_PulsesPerRevMax;
}

void CSetExtPosPage5Dialog::OnTrialInput(UINT id) {
    const struct {
        int edit;
        int* member;
        unsigned bound;
        int mirror;
    } inputs[] = {{IDC_REF_VALUE3, &m_LoadTravel, 99999, IDC_REF_LOAD_MIRROR},
                  {IDC_REF_VALUE2, &m_PulseTravel, 99999, IDC_REF_PULSE_MIRROR},
                  {IDC_REF_VALUE4, &m_LoadTurns, 9999, IDC_REF_N_MIRROR},
                  {IDC_REF_VALUE6, &m_MotorTurns, 9999, IDC_REF_M_MIRROR}};
    for (const auto& input : inputs) {
        if (input.edit != static_cast<int>(id))
            continue;
        const std::string text = GetDlgItemText(input.edit);
        const LiveEditResult result = TrialInputEdit(text, *input.member, input.bound);
        *input.member = result.value;
        if (result.revert)
            UpdateData(FALSE);
        else
            SetDlgItemText(input.mirror, text);
    }
}

void CSetExtPosPage5Dialog::OnCalculatePulses() {
    m_TrialResult = 0;
    SetDlgItemText(IDC_REF_CALC_PULSES, "");
    const bool given = !GetDlgItemText(IDC_REF_LOAD_MIRROR).empty() &&
                       !GetDlgItemText(IDC_REF_PULSE_MIRROR).empty() &&
                       !GetDlgItemText(IDC_REF_N_MIRROR).empty() && !GetDlgItemText(IDC_REF_M_MIRROR).empty();
    if (given && m_LoadTravel != 0 && m_PulseTravel != 0 && m_LoadTurns != 0 && m_MotorTurns != 0) {
        m_TrialResult =
            m_LoadTravel * 1000.0 / m_PulseTravel * (static_cast<double>(m_LoadTurns) / m_MotorTurns);
        SetDlgItemText(IDC_REF_CALC_PULSES, Format("%.f", m_TrialResult));
    }
    EnableControls({IDC_REF_SET}, SetAllowed());
}

void CSetExtPosPage5Dialog::OnSetPulses() {
    if (!SetAllowed())
        return;
    TakeCalculatorResult(static_cast<int>(RoundTrialResult(m_TrialResult)));
}

void CSetExtPosPage5Dialog::TakeCalculatorResult(int result) {
    m_PulsesPerRev = result;
    SetDlgItemText(IDC_REF_VALUE1, Format("%d", result));
    FocusAndSelect(this, IDC_REF_VALUE1);
}

void CSetExtPosPage5Dialog::OnBallScrew() {
    CSetBallScrew1Dialog calculator(this);
    calculator.m_MaxPulses = m_PulsesPerRevMax;
    if (calculator.DoModal() == IDOK)
        TakeCalculatorResult(calculator.m_Result);
}

void CSetExtPosPage5Dialog::OnIndexPlate() {
    CSetIndexPlate1Dialog calculator(this);
    calculator.m_MaxPulses = m_PulsesPerRevMax;
    if (calculator.DoModal() == IDOK)
        TakeCalculatorResult(calculator.m_Result);
}

void CSetExtPosPage5Dialog::OnConveyorBelt() {
    CSetConveyorBelt1Dialog calculator(this);
    calculator.m_MaxPulses = m_PulsesPerRevMax;
    if (calculator.DoModal() == IDOK)
        TakeCalculatorResult(calculator.m_Result);
}

// ---- page 6: electronic gear ----

CSetExtPosPage6Dialog::CSetExtPosPage6Dialog() : CReferencePage(IDD_SET_EXT_POS_PAGE6, PositionPageCode(6)) {
    const int edits[5] = {IDC_REF_VALUE1, IDC_REF_VALUE2, IDC_REF_VALUE3, IDC_REF_VALUE4, IDC_REF_VALUE5};
    const int spins[5] = {IDC_REF_SPIN1, IDC_REF_SPIN6, IDC_REF_SPIN7, IDC_REF_SPIN8, IDC_REF_SPIN9};
    const char* keys[5] = {"Pn302", "Pn303", "Pn304", "Pn305", "Pn306"};
    for (int i = 0; i < 5; ++i) {
        int* member = i < 4 ? &m_Numerator[static_cast<size_t>(i)] : &m_Denominator;
        AddValue({edits[i], spins[i], member, &m_GearMin, &m_GearMax, 9, EditKind::Typed, keys[i], true});
    }
    AddSelector(
        {IDC_REF_SELECT1, &m_Gn1Input, &m_Gn1Contact, IDC_REF_GN1_GROUP, IDC_REF_OPTION1, DiFunction::GN1});
    AddSelector(
        {IDC_REF_SELECT2, &m_Gn2Input, &m_Gn2Contact, IDC_REF_GN2_GROUP, IDC_REF_OPTION3, DiFunction::GN2});
}

const MessageMap* CSetExtPosPage6Dialog::GetMessageMap() const {
    static const MessageMap map(CReferencePage::GetMessageMap(),
                                {
                                    msg::Command(IDC_REF_BALL_SCREW, &CSetExtPosPage6Dialog::OnBallScrew),
                                    msg::Command(IDC_REF_INDEX_PLATE, &CSetExtPosPage6Dialog::OnIndexPlate),
                                    msg::Command(IDC_REF_CONVEYOR, &CSetExtPosPage6Dialog::OnConveyorBelt),
                                });
    return &map;
}

void CSetExtPosPage6Dialog::TakeLimits(const CollectedSet& set) {
    m_EncoderResolution = set.EncoderResolution();
}

bool CSetExtPosPage6Dialog::CheckRules() {
    const RuleCheck ratio = CheckGearRatios(m_Numerator, m_Denominator);
    if (ratio.ok())
        return true;
    RefuseAt(IDC_REF_VALUE1 + ratio.field,
             ratio.fault == RuleFault::GearRatioBelow ? IDS_GEAR_RATIO_BELOW : IDS_GEAR_RATIO_ABOVE);
    return false;
}

template <class Calculator> void CSetExtPosPage6Dialog::RunCalculator() {
    Calculator calculator(this);
    calculator.m_EncoderResolution = m_EncoderResolution;
    if (calculator.DoModal() != IDOK)
        return;
    // The calculator accepted both within 1..536870912, so they fit.
    const int slot = calculator.m_NumeratorSlot;
    if (slot >= 0 && slot < 4) {
        m_Numerator[static_cast<size_t>(slot)] = static_cast<int>(calculator.m_ResultNumerator);
        SetDlgItemText(IDC_REF_VALUE1 + slot, Format("%d", m_Numerator[static_cast<size_t>(slot)]));
        FocusAndSelect(this, IDC_REF_VALUE1 + slot);
    }
    m_Denominator = static_cast<int>(calculator.m_ResultDenominator);
    SetDlgItemText(IDC_REF_VALUE5, Format("%d", m_Denominator));
}

void CSetExtPosPage6Dialog::OnBallScrew() {
    RunCalculator<CSetBallScrew2Dialog>();
}

void CSetExtPosPage6Dialog::OnIndexPlate() {
    RunCalculator<CSetIndexPlate2Dialog>();
}

void CSetExtPosPage6Dialog::OnConveyorBelt() {
    RunCalculator<CSetConveyorBelt2Dialog>();
}

// ---- page 7: command smoothing ----

CSetExtPosPage7Dialog::CSetExtPosPage7Dialog() : CReferencePage(IDD_SET_EXT_POS_PAGE7, PositionPageCode(7)) {
    AddValue({IDC_REF_VALUE1, IDC_REF_SPIN1, &m_SmoothTime, &m_SmoothTimeMin, &m_SmoothTimeMax, 5,
              EditKind::Live, "Pn313"});
    SetTrial({TrialForm::Exponential, IDC_REF_VALUE2, IDC_REF_SPIN10, IDC_REF_TIME_MIRROR, IDC_REF_VALUE3,
              IDC_REF_SPIN2, IDC_REF_PERCENT_MIRROR_POS, 99, &m_SmoothTime, &m_SmoothTimeMin,
              &m_SmoothTimeMax});
}

// ---- page 8: command filters ----

CSetExtPosPage8Dialog::CSetExtPosPage8Dialog() : CReferencePage(IDD_SET_EXT_POS_PAGE8, PositionPageCode(8)) {
    AddValue({IDC_REF_VALUE1, IDC_REF_SPIN1, &m_SmoothFilter, &m_SmoothFilterMin, &m_SmoothFilterMax, 4,
              EditKind::Live, "Pn329"});
    AddValue({IDC_REF_VALUE2, IDC_REF_SPIN2, &m_MovingFilter, &m_MovingFilterMin, &m_MovingFilterMax, 3,
              EditKind::Live, "Pn330"});
}

// ---- page 9: pulse error clearing ----

CSetExtPosPage9Dialog::CSetExtPosPage9Dialog() : CReferencePage(IDD_SET_EXT_POS_PAGE9, PositionPageCode(9)) {
    AddRadios({IDC_REF_OPTION1, 3, &m_ClearMode, "Pn315.0"});
    AddSelector(
        {IDC_REF_SELECT1, &m_ClrInput, &m_ClrContact, IDC_REF_CLR_GROUP, IDC_REF_OPTION4, DiFunction::CLR});
}

// ---- page 10: return to origin start and method ----

CSetExtPosPage10Dialog::CSetExtPosPage10Dialog()
    : CReferencePage(IDD_SET_EXT_POS_PAGE10, PositionPageCode(10)) {
    AddRadios({IDC_REF_OPTION1, 3, &m_HomeStartMode, "Pn317.2"});
    AddSelector({IDC_REF_SELECT1, &m_ShomeInput, &m_ShomeContact, IDC_REF_SHOME_GROUP, IDC_REF_OPTION4,
                 DiFunction::SHOME});
    AddValue({IDC_REF_VALUE1, IDC_REF_SPIN1, &m_HomeMethod, &m_HomeMethodMin, &m_HomeMethodMax, 2,
              EditKind::Live, "Pn355"});
}

void CSetExtPosPage10Dialog::RefreshStates() {
    // The homing method typed before stays in its member while the field is greyed.
    if (const std::optional<HomeControlStates> states = HomeControlsForStartMode(m_HomeStartMode)) {
        EnableControls({IDC_REF_SELECT1, IDC_REF_OPTION4, IDC_REF_OPTION5}, states->shomeSelector);
        EnableControls({IDC_REF_VALUE1, IDC_REF_SPIN1}, states->homeMethod);
    }
}

// ---- page 11: origin reference ----

CSetExtPosPage11Dialog::CSetExtPosPage11Dialog()
    : CReferencePage(IDD_SET_EXT_POS_PAGE11, PositionPageCode(11)) {
    AddRadios({IDC_REF_OPTION1, 10, &m_HomeReference, "Pn317.0"});
}

// ---- page 12: search move, stop and the limit and origin inputs ----

CSetExtPosPage12Dialog::CSetExtPosPage12Dialog()
    : CReferencePage(IDD_SET_EXT_POS_PAGE12, PositionPageCode(12)) {
    AddRadios({IDC_REF_OPTION1, 3, &m_HomeSearchMove, "Pn317.1"});
    AddRadios({IDC_REF_OPTION4, 2, &m_HomeStopMode, "Pn317.3"});
    AddSelector(
        {IDC_REF_SELECT1, &m_PotInput, &m_PotContact, IDC_REF_POT_GROUP, IDC_REF_OPTION6, DiFunction::POT});
    AddSelector(
        {IDC_REF_SELECT2, &m_NotInput, &m_NotContact, IDC_REF_NOT_GROUP, IDC_REF_OPTION8, DiFunction::NOT});
    AddSelector(
        {IDC_REF_SELECT3, &m_OrgInput, &m_OrgContact, IDC_REF_ORG_GROUP, IDC_REF_OPTION10, DiFunction::ORG});
}

void CSetExtPosPage12Dialog::OnEntered() {
    if (m_ReferencePage)
        m_HomeReference = m_ReferencePage->m_HomeReference;
    EnableByReference();
    UpdateData(FALSE);
}

void CSetExtPosPage12Dialog::RefreshStates() {
    EnableByReference();
}

void CSetExtPosPage12Dialog::EnableByReference() {
    const std::optional<SearchPageStates> states = SearchPageStatesForReference(m_HomeReference);
    if (!states)
        return;
    for (int i = 0; i < 3; ++i)
        EnableControls({IDC_REF_OPTION1 + i}, states->searchMoveRadios[static_cast<size_t>(i)]);
    if (states->forcedSearchMove)
        m_HomeSearchMove = *states->forcedSearchMove;
    const int notes[4] = {IDC_REF_NOTE_ORG, IDC_REF_NOTE_Z, IDC_REF_NOTE_TORQUE, IDC_REF_NOTE_TORQUE_Z};
    for (int i = 0; i < 4; ++i)
        EnableControls({notes[i]}, states->explanations[static_cast<size_t>(i)]);
    EnableControls({IDC_REF_SELECT1, IDC_REF_OPTION6, IDC_REF_OPTION7, IDC_REF_SELECT2, IDC_REF_OPTION8,
                    IDC_REF_OPTION9},
                   states->limitSelectors);
    EnableControls({IDC_REF_SELECT3, IDC_REF_OPTION10, IDC_REF_OPTION11}, states->originSelector);
}

// ---- page 13: homing speeds and origin offset ----

CSetExtPosPage13Dialog::CSetExtPosPage13Dialog()
    : CReferencePage(IDD_SET_EXT_POS_PAGE13, PositionPageCode(13)) {
    AddValue({IDC_REF_VALUE1, IDC_REF_SPIN1, &m_HomeSpeed1, &m_HomeSpeedMin, &m_HomeSpeedMax, 4,
              EditKind::Typed, "Pn318", true, IDC_REF_RANGE_PN318});
    AddValue({IDC_REF_VALUE2, IDC_REF_SPIN2, &m_HomeSpeed2, &m_HomeSpeedMin, &m_HomeSpeedMax, 4,
              EditKind::Typed, "Pn319", true, IDC_REF_RANGE_PN319});
    AddValue({IDC_REF_VALUE3, IDC_REF_SPIN3, &m_OffsetRevs, &m_OffsetRevsMin, &m_OffsetRevsMax, 6,
              EditKind::LiveCaret, "Pn320"});
    AddValue({IDC_REF_VALUE4, IDC_REF_SPIN4, &m_OffsetPulses, &m_OffsetPulsesMin, &m_OffsetPulsesMax, 8,
              EditKind::LiveCaret, "Pn321", false, IDC_REF_RANGE_PN321});
}

void CSetExtPosPage13Dialog::TakeLimits(const CollectedSet& set) {
    const MotorPageLimits& limits = set.Motor().m_PageLimits;
    m_HomeSpeedMax = limits.homingSpeedMax;
    m_OffsetPulsesMin = limits.originOffsetMin;
    m_OffsetPulsesMax = limits.originOffsetMax;
}

// ---- page 14: origin by torque ----

CSetExtPosPage14Dialog::CSetExtPosPage14Dialog()
    : CReferencePage(IDD_SET_EXT_POS_PAGE14, PositionPageCode(14)) {
    AddValue({IDC_REF_VALUE1, IDC_REF_SPIN1, &m_HomeTorqueLimit, &m_HomeTorqueLimitMin, &m_HomeTorqueLimitMax,
              3, EditKind::LiveCaret, "Pn361"});
    AddValue({IDC_REF_VALUE2, IDC_REF_SPIN2, &m_HomeTorqueTime, &m_HomeTorqueTimeMin, &m_HomeTorqueTimeMax, 5,
              EditKind::LiveCaret, "Pn362"});
}

// ---- page 15: origin offset mode ----

CSetExtPosPage15Dialog::CSetExtPosPage15Dialog()
    : CReferencePage(IDD_SET_EXT_POS_PAGE15, PositionPageCode(15)) {
    AddRadios({IDC_REF_OPTION1, 2, &m_HomeOffsetMode, "Pn315.1"});
}

// ---- page 16: positioning completed ----

CSetExtPosPage16Dialog::CSetExtPosPage16Dialog()
    : CReferencePage(IDD_SET_EXT_POS_PAGE16, PositionPageCode(16)) {
    AddValue({IDC_REF_VALUE1, IDC_REF_SPIN1, &m_InPositionWidth, &m_InPositionWidthMin, &m_InPositionWidthMax,
              8, EditKind::Live, "Pn307"});
    AddSelector({IDC_REF_SELECT1, &m_InpOutput, &m_InpContact, IDC_REF_INP_GROUP, IDC_REF_OPTION1,
                 DoFunction::INP, true});
}

// ---- page 17: position error limits ----

CSetExtPosPage17Dialog::CSetExtPosPage17Dialog()
    : CReferencePage(IDD_SET_EXT_POS_PAGE17, PositionPageCode(17)) {
    AddValue({IDC_REF_VALUE1, IDC_REF_SPIN1, &m_PosErrorPositive, &m_PosErrorMin, &m_PosErrorMax, 5,
              EditKind::LiveCaret, "Pn308"});
    AddValue({IDC_REF_VALUE2, IDC_REF_SPIN2, &m_PosErrorNegative, &m_PosErrorMin, &m_PosErrorMax, 5,
              EditKind::LiveCaret, "Pn309"});
}
