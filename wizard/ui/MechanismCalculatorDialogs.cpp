#include "wizard/ui/MechanismCalculatorDialogs.h"

#include "framework/core/Format.h"
#include "framework/ui/App.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/Edit.h"
#include "framework/ui/SpinButtonCtrl.h"
#include "resources/ids/wizardref.h"
#include "wizard/ReferencePageRules.h"

namespace {

struct InputControl {
    int edit;
    int spin;
    MechanismField field;
};

constexpr InputControl InputControls[] = {
    {IDC_CALC_INPUT1, IDC_CALC_SPIN1, MechanismField::LoadTravel},
    {IDC_CALC_INPUT2, IDC_CALC_SPIN_PULSE, MechanismField::PulseTravel},
    {IDC_CALC_INPUT3, IDC_CALC_SPIN2, MechanismField::LoadTurns},
    {IDC_CALC_INPUT4, IDC_CALC_SPIN3, MechanismField::MotorTurns},
};

// The mirror static that repeats an input; the roller diameter's shows the circumference instead.
int MirrorOf(int edit) {
    switch (edit) {
    case IDC_CALC_INPUT1:
        return IDC_CALC_MIRROR_LOAD;
    case IDC_CALC_INPUT2:
        return IDC_CALC_MIRROR_PULSE;
    case IDC_CALC_INPUT3:
        return IDC_CALC_MIRROR_N;
    default:
        return IDC_CALC_MIRROR_M;
    }
}

std::string Whole(std::int64_t value) {
    return Format("%lld", static_cast<long long>(value));
}

} // namespace

CMechanismCalculatorDialog::CMechanismCalculatorDialog(UINT templateId, Mechanism mechanism, bool gear,
                                                       CWnd* parent)
    : CDialog(templateId, parent), mechanism_(mechanism), gear_(gear) {}

const MessageMap* CMechanismCalculatorDialog::GetMessageMap() const {
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::ControlRange(EN_CHANGE, IDC_CALC_INPUT1, IDC_CALC_INPUT4,
                              &CMechanismCalculatorDialog::OnInputEdited),
            msg::Command(IDC_CALC_REDUCTION, &CMechanismCalculatorDialog::OnReduction),
            msg::Control(CBN_SELCHANGE, IDC_CALC_SLOT, &CMechanismCalculatorDialog::OnSlotChanged),
        });
    return &map;
}

int* CMechanismCalculatorDialog::InputMember(int id) {
    switch (id) {
    case IDC_CALC_INPUT1:
        return mechanism_ == Mechanism::ConveyorBelt ? &m_RollerDiameter : &m_LoadTravel;
    case IDC_CALC_INPUT2:
        return &m_PulseTravel;
    case IDC_CALC_INPUT3:
        return mechanism_ == Mechanism::BallScrew ? nullptr : &m_LoadTurns;
    case IDC_CALC_INPUT4:
        return mechanism_ == Mechanism::BallScrew ? nullptr : &m_MotorTurns;
    default:
        return nullptr;
    }
}

void CMechanismCalculatorDialog::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    for (const InputControl& input : InputControls) {
        if (int* member = InputMember(input.edit))
            DDX_Text(dx, input.edit, *member);
    }
}

BOOL CMechanismCalculatorDialog::OnInitDialog() {
    // The up-downs before the data exchange: a buddy takes the up-down's position as its text.
    for (const InputControl& input : InputControls) {
        if (!InputMember(input.edit))
            continue;
        const int bound = MechanismInputBound(mechanism_, input.field == MechanismField::LoadTravel &&
                                                                  mechanism_ == Mechanism::ConveyorBelt
                                                              ? MechanismField::RollerDiameter
                                                              : input.field);
        if (auto* edit = dynamic_cast<CEdit*>(GetDlgItem(input.edit)))
            edit->LimitText(bound > 9999 ? 5 : 4);
        if (auto* spin = dynamic_cast<CSpinButtonCtrl*>(GetDlgItem(input.spin))) {
            spin->SetBase(10);
            spin->SetBuddy(GetDlgItem(input.edit));
            spin->SetRange32(0, bound);
        }
    }
    CDialog::OnInitDialog();
    if (gear_) {
        const std::string resolution = Format("%d", m_EncoderResolution);
        for (int id : {IDC_CALC_RESOLUTION1, IDC_CALC_RESOLUTION2, IDC_CALC_RESOLUTION3})
            SetDlgItemText(id, resolution);
        if (mechanism_ == Mechanism::BallScrew)
            SetDlgItemText(IDC_CALC_FORMULA_NUMERATOR, resolution);
        if (auto* slot = dynamic_cast<CComboBox*>(GetDlgItem(IDC_CALC_SLOT)))
            slot->SetCurSel(m_NumeratorSlot);
    }
    return TRUE;
}

MechanismInputs CMechanismCalculatorDialog::Inputs() const {
    MechanismInputs inputs;
    inputs.loadTravel = m_LoadTravel;
    inputs.rollerDiameter = m_RollerDiameter;
    inputs.pulseTravel = m_PulseTravel;
    inputs.loadTurns = m_LoadTurns;
    inputs.motorTurns = m_MotorTurns;
    return inputs;
}

void CMechanismCalculatorDialog::OnInputEdited(UINT id) {
    int* member = InputMember(static_cast<int>(id));
    if (!member)
        return;
    const MechanismField field = id == IDC_CALC_INPUT1
                                     ? (mechanism_ == Mechanism::ConveyorBelt ? MechanismField::RollerDiameter
                                                                              : MechanismField::LoadTravel)
                                 : id == IDC_CALC_INPUT2 ? MechanismField::PulseTravel
                                 : id == IDC_CALC_INPUT3 ? MechanismField::LoadTurns
                                                         : MechanismField::MotorTurns;
    const std::string text = GetDlgItemText(static_cast<int>(id));
    if (const std::optional<int> accepted =
            AcceptBoundedInput(text, MechanismInputBound(mechanism_, field))) {
        *member = *accepted;
        if (field == MechanismField::RollerDiameter) {
            // The roller's mirrors show the travel of one roller revolution, not the diameter.
            const std::string circumference = text.empty() ? std::string() : CircumferenceText(*accepted);
            SetDlgItemText(IDC_CALC_CIRCUMFERENCE, circumference);
            SetDlgItemText(IDC_CALC_MIRROR_LOAD, circumference);
        } else {
            SetDlgItemText(MirrorOf(static_cast<int>(id)), text);
        }
    } else {
        UpdateData(FALSE); // the member still holds the last good value
    }
    Recalculate();
}

void CMechanismCalculatorDialog::Recalculate() {
    m_TrialResult = 0;
    SetDlgItemText(IDC_CALC_RESULT, "");
    if (!gear_) {
        const PulsesResult result = CalculatePulsesPerRevolution(mechanism_, Inputs());
        if (result.computed) {
            m_TrialResult = result.trialResult;
            SetDlgItemText(IDC_CALC_RESULT, Format("%.f", result.trialResult));
        }
        return;
    }
    m_Reduced = false;
    m_ResultNumerator = 0;
    m_ResultDenominator = 0;
    SetDlgItemText(IDC_CALC_NUMERATOR, "");
    SetDlgItemText(IDC_CALC_DENOMINATOR, "");
    const GearResult result = CalculateGearRatio(mechanism_, Inputs(), m_EncoderResolution);
    if (!result.computed)
        return;
    m_TrialResult = result.loadPulses;
    m_ResultNumerator = result.numerator;
    m_ResultDenominator = result.denominator;
    SetDlgItemText(IDC_CALC_RESULT, Format("%.f", result.loadPulses));
    if (mechanism_ != Mechanism::BallScrew)
        SetDlgItemText(IDC_CALC_FORMULA_NUMERATOR, Whole(result.formulaNumerator));
    ShowGearResults();
}

void CMechanismCalculatorDialog::ShowGearResults() {
    SetDlgItemText(IDC_CALC_NUMERATOR, Whole(m_ResultNumerator));
    SetDlgItemText(IDC_CALC_DENOMINATOR, Whole(m_ResultDenominator));
}

void CMechanismCalculatorDialog::OnReduction() {
    GearResult result;
    result.numerator = m_ResultNumerator;
    result.denominator = m_ResultDenominator;
    if (!ReduceGearRatio(result))
        return;
    m_ResultNumerator = result.numerator;
    m_ResultDenominator = result.denominator;
    m_Reduced = true;
    ShowGearResults();
}

void CMechanismCalculatorDialog::OnSlotChanged() {
    if (auto* slot = dynamic_cast<CComboBox*>(GetDlgItem(IDC_CALC_SLOT)))
        m_NumeratorSlot = slot->GetCurSel();
}

void CMechanismCalculatorDialog::OnOK() {
    if (!gear_) {
        Recalculate();
        PulsesResult result;
        result.rounded = RoundTrialResult(m_TrialResult);
        if (!PulsesResultAccepted(result, m_MaxPulses)) {
            AfxMessageBox(IDS_OUT_OF_RANGE);
            return;
        }
        m_Result = static_cast<int>(result.rounded); // within 64..m_MaxPulses
        CDialog::OnOK();
        return;
    }
    // A reduction made since the last input change is kept.
    if (!m_Reduced)
        Recalculate();
    GearResult result;
    result.numerator = m_ResultNumerator;
    result.denominator = m_ResultDenominator;
    if (m_ResultNumerator < m_GearMin || m_ResultNumerator > m_GearMax || m_ResultDenominator < m_GearMin ||
        m_ResultDenominator > m_GearMax || !GearResultAccepted(result)) {
        AfxMessageBox(IDS_OUT_OF_RANGE);
        return;
    }
    CDialog::OnOK();
}

CSetBallScrew1Dialog::CSetBallScrew1Dialog(CWnd* parent)
    : CMechanismCalculatorDialog(IDD_SET_BALL_SCREW1, Mechanism::BallScrew, false, parent) {}
CSetIndexPlate1Dialog::CSetIndexPlate1Dialog(CWnd* parent)
    : CMechanismCalculatorDialog(IDD_SET_INDEX_PLATE1, Mechanism::IndexPlate, false, parent) {}
CSetConveyorBelt1Dialog::CSetConveyorBelt1Dialog(CWnd* parent)
    : CMechanismCalculatorDialog(IDD_SET_CONVEYOR_BELT1, Mechanism::ConveyorBelt, false, parent) {}
CSetBallScrew2Dialog::CSetBallScrew2Dialog(CWnd* parent)
    : CMechanismCalculatorDialog(IDD_SET_BALL_SCREW2, Mechanism::BallScrew, true, parent) {}
CSetIndexPlate2Dialog::CSetIndexPlate2Dialog(CWnd* parent)
    : CMechanismCalculatorDialog(IDD_SET_INDEX_PLATE2, Mechanism::IndexPlate, true, parent) {}
CSetConveyorBelt2Dialog::CSetConveyorBelt2Dialog(CWnd* parent)
    : CMechanismCalculatorDialog(IDD_SET_CONVEYOR_BELT2, Mechanism::ConveyorBelt, true, parent) {}
