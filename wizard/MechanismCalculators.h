#pragma once
// The arithmetic of the six mechanism calculators that the pulse position pages open: ball screw,
// conveyor belt and index plate, each once for the pulses per motor revolution and once for an
// electronic gear ratio. Pure functions; the dialogs only show what these return.
//
// Every product that can leave 32 bits is taken in 64 bits, and every double is bounded before it is
// turned into an integer, so a long travel over a fine pulse or a large encoder times many motor turns
// is reported as out of range instead of wrapping into the range.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "wizard/ReferencePageRules.h"

enum class Mechanism { BallScrew, ConveyorBelt, IndexPlate };

// Inputs as typed; 0 stands for an empty or zero field. The ball screw uses loadTravel (mm per load
// revolution) and pulseTravel (um); the conveyor belt rollerDiameter (mm), pulseTravel (um) and the
// reduction n (loadTurns) / m (motorTurns); the index plate loadTravel (degree per load revolution),
// pulseTravel (0.1 degree) and the reduction.
struct MechanismInputs {
    int loadTravel = 0;
    int rollerDiameter = 0;
    int pulseTravel = 0;
    int loadTurns = 0;
    int motorTurns = 0;
};

// Upper bound of one input field (the field refuses anything above it, and anything negative).
enum class MechanismField { LoadTravel, RollerDiameter, PulseTravel, LoadTurns, MotorTurns };
int MechanismInputBound(Mechanism mechanism, MechanismField field);

// The mirror text of the roller diameter: its circumference (diameter x 3.14) with two decimals,
// one decimal when the second is 0, none when that one is 0 too ("314", "31.4", "3.14").
std::string CircumferenceText(int rollerDiameter);

// The pulses calculators (result in pulses per motor revolution).
struct PulsesResult {
    bool computed = false;  // every input was given and non-zero
    double trialResult = 0; // shown "%.f"
    std::int64_t rounded = 0;
};
PulsesResult CalculatePulsesPerRevolution(Mechanism mechanism, const MechanismInputs& inputs);
// OK accepts a result from 64 (below that the drive reads "not used") up to maxPulses.
bool PulsesResultAccepted(const PulsesResult& result, int maxPulses);

// The gear calculators. The numerator is the encoder resolution (times m where a reduction applies);
// the denominator the load pulses (times n), rounded.
inline constexpr std::int64_t GearValueMin = 1;
inline constexpr std::int64_t GearValueMax = 536870912;
struct GearResult {
    bool computed = false;
    double loadPulses = 0;             // the trial result shown "%.f"
    std::int64_t formulaNumerator = 0; // unreduced numerator shown inside the formula
    std::int64_t numerator = 0;
    std::int64_t denominator = 0;
    bool reduced = false;
};
GearResult CalculateGearRatio(Mechanism mechanism, const MechanismInputs& inputs, int encoderResolution);
// One click of Reduction: both values divided once by the first of 2, 3, 5 that divides both, only
// while both are 2 or more. Returns false (nothing changed) when none divides both.
bool ReduceGearRatio(GearResult& result);
// OK accepts numerator and denominator within 1..536870912 and a ratio within 0.001..32000.
bool GearResultAccepted(const GearResult& result);
