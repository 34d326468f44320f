#include "wizard/MechanismCalculators.h"

#include "framework/core/Format.h"

#include <cmath>

namespace {

// The dialogs' own text says "3.14 * Roller Diameter"; the results must agree with that text.
constexpr double RollerPi = 3.14;

bool AllGiven(Mechanism mechanism, const MechanismInputs& in) {
    switch (mechanism) {
    case Mechanism::BallScrew:
        return in.loadTravel != 0 && in.pulseTravel != 0;
    case Mechanism::ConveyorBelt:
        return in.rollerDiameter != 0 && in.pulseTravel != 0 && in.loadTurns != 0 && in.motorTurns != 0;
    case Mechanism::IndexPlate:
        return in.loadTravel != 0 && in.pulseTravel != 0 && in.loadTurns != 0 && in.motorTurns != 0;
    }
    return false;
}

// Pulses for one revolution of the load axis.
double LoadPulses(Mechanism mechanism, const MechanismInputs& in) {
    switch (mechanism) {
    case Mechanism::BallScrew:
        return in.loadTravel * 1000.0 / in.pulseTravel;
    case Mechanism::ConveyorBelt:
        return in.rollerDiameter * RollerPi * 1000.0 / in.pulseTravel;
    case Mechanism::IndexPlate:
        return in.loadTravel * 10.0 / in.pulseTravel;
    }
    return 0;
}

} // namespace

int MechanismInputBound(Mechanism mechanism, MechanismField field) {
    // The ball screw takes five digits for its travels; everything else four.
    if (mechanism == Mechanism::BallScrew &&
        (field == MechanismField::LoadTravel || field == MechanismField::PulseTravel))
        return 99999;
    return 9999;
}

std::string CircumferenceText(int rollerDiameter) {
    const double circumference = rollerDiameter * RollerPi;
    std::string text = Format("%.2f", circumference);
    if (text.back() == '0')
        text = Format("%.1f", circumference);
    if (text.back() == '0')
        text = Format("%.f", circumference);
    return text;
}

PulsesResult CalculatePulsesPerRevolution(Mechanism mechanism, const MechanismInputs& inputs) {
    PulsesResult result;
    if (!AllGiven(mechanism, inputs))
        return result;
    result.computed = true;
    result.trialResult = LoadPulses(mechanism, inputs);
    if (mechanism != Mechanism::BallScrew)
        result.trialResult *= static_cast<double>(inputs.loadTurns) / inputs.motorTurns;
    result.rounded = RoundTrialResult(result.trialResult);
    return result;
}

bool PulsesResultAccepted(const PulsesResult& result, int maxPulses) {
    return result.rounded >= 64 && result.rounded <= maxPulses;
}

GearResult CalculateGearRatio(Mechanism mechanism, const MechanismInputs& inputs, int encoderResolution) {
    GearResult result;
    if (!AllGiven(mechanism, inputs))
        return result;
    result.computed = true;
    result.loadPulses = LoadPulses(mechanism, inputs);
    result.numerator = encoderResolution;
    if (mechanism != Mechanism::BallScrew) {
        result.loadPulses *= inputs.loadTurns;
        result.numerator = static_cast<std::int64_t>(encoderResolution) * inputs.motorTurns;
    }
    result.formulaNumerator = result.numerator;
    result.denominator = RoundTrialResult(result.loadPulses);
    return result;
}

bool ReduceGearRatio(GearResult& result) {
    if (result.numerator < 2 || result.denominator < 2)
        return false;
    for (const std::int64_t divisor : {2, 3, 5}) {
        if (result.numerator % divisor == 0 && result.denominator % divisor == 0) {
            result.numerator /= divisor;
            result.denominator /= divisor;
            result.reduced = true;
            return true;
        }
    }
    return false;
}

bool GearResultAccepted(const GearResult& result) {
    const auto inRange = [](std::int64_t value) { return value >= GearValueMin && value <= GearValueMax; };
    if (!inRange(result.numerator) || !inRange(result.denominator))
        return false;
    const double ratio = static_cast<double>(result.numerator) / static_cast<double>(result.denominator);
    return ratio >= 0.001 && ratio <= 32000;
}
