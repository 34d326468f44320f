#pragma once
// The six mechanism calculators that the pulse position pages open modally: ball screw, index plate
// and conveyor belt, each once for the pulses per motor revolution (Pn354) and once for an electronic
// gear ratio (Pn302..Pn306). The six differ only in their inputs and formulas, so one window class
// does the work and the six named classes choose the mechanism, the result and the template.
//
// Every run starts from zero inputs. The opening page sets m_MaxPulses (pulses calculators) or
// m_EncoderResolution (gear calculators) first and reads the results after IDOK.
#include "framework/ui/Dialog.h"
#include "wizard/MechanismCalculators.h"

#include <cstdint>

class CMechanismCalculatorDialog : public CDialog {
public:
    CMechanismCalculatorDialog(UINT templateId, Mechanism mechanism, bool gear, CWnd* parent);
    const MessageMap* GetMessageMap() const override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;

    // Inputs (0 = empty).
    int m_LoadTravel = 0;
    int m_RollerDiameter = 0;
    int m_PulseTravel = 0;
    int m_LoadTurns = 0;
    int m_MotorTurns = 0;

    double m_TrialResult = 0;
    // Pulses calculators.
    int m_Result = 0;
    int m_MaxPulses = 131072;
    // Gear calculators. Numerator and denominator stay 64-bit so that a product beyond 32 bits shows
    // and is refused as it is, never wrapped into the range.
    int m_EncoderResolution = 131072;
    int m_NumeratorSlot = 0;
    std::int64_t m_ResultNumerator = 0;
    std::int64_t m_ResultDenominator = 0;
    bool m_Reduced = false;
    std::int64_t m_GearMin = GearValueMin;
    std::int64_t m_GearMax = GearValueMax;

protected:
    void OnInputEdited(UINT id);
    void OnReduction();
    void OnSlotChanged();

private:
    int* InputMember(int id);
    void Recalculate();
    void ShowGearResults();
    MechanismInputs Inputs() const;

    Mechanism mechanism_;
    bool gear_;
};

class CSetBallScrew1Dialog : public CMechanismCalculatorDialog {
public:
    explicit CSetBallScrew1Dialog(CWnd* parent = nullptr);
};
class CSetIndexPlate1Dialog : public CMechanismCalculatorDialog {
public:
    explicit CSetIndexPlate1Dialog(CWnd* parent = nullptr);
};
class CSetConveyorBelt1Dialog : public CMechanismCalculatorDialog {
public:
    explicit CSetConveyorBelt1Dialog(CWnd* parent = nullptr);
};
class CSetBallScrew2Dialog : public CMechanismCalculatorDialog {
public:
    explicit CSetBallScrew2Dialog(CWnd* parent = nullptr);
};
class CSetIndexPlate2Dialog : public CMechanismCalculatorDialog {
public:
    explicit CSetIndexPlate2Dialog(CWnd* parent = nullptr);
};
class CSetConveyorBelt2Dialog : public CMechanismCalculatorDialog {
public:
    explicit CSetConveyorBelt2Dialog(CWnd* parent = nullptr);
};
