// The six mechanism calculators' arithmetic: results, rounding, the 64-bit gear products, the
// Reduction steps and what OK accepts.
#include "wizard/MechanismCalculators.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace {

MechanismInputs BallScrew(int travelMm, int pulseUm) {
    MechanismInputs in;
    in.loadTravel = travelMm;
    in.pulseTravel = pulseUm;
    return in;
}

MechanismInputs Conveyor(int diameter, int pulseUm, int n, int m) {
    MechanismInputs in;
    in.rollerDiameter = diameter;
    in.pulseTravel = pulseUm;
    in.loadTurns = n;
    in.motorTurns = m;
    return in;
}

MechanismInputs IndexPlate(int degrees, int pulseTenths, int n, int m) {
    MechanismInputs in;
    in.loadTravel = degrees;
    in.pulseTravel = pulseTenths;
    in.loadTurns = n;
    in.motorTurns = m;
    return in;
}

struct PulsesCase {
    const char* what;
    Mechanism mechanism;
    MechanismInputs inputs;
    int maxPulses;
    std::int64_t expected;
    bool accepted;
};

TEST(CalcMechanism, PulsesPerRevolutionAndWhatOkAccepts) {
    const PulsesCase cases[] = {
        {"ball screw 10 mm / 1 um", Mechanism::BallScrew, BallScrew(10, 1), 131072, 10000, true},
        {"the same above a lower maximum", Mechanism::BallScrew, BallScrew(10, 1), 9999, 10000, false},
        {"the same at the maximum", Mechanism::BallScrew, BallScrew(10, 1), 10000, 10000, true},
        {"ball screw 1 mm / 100 um is below 64", Mechanism::BallScrew, BallScrew(1, 100), 131072, 10, false},
        {"conveyor 100 mm, 10 um, 1/10", Mechanism::ConveyorBelt, Conveyor(100, 10, 1, 10), 131072, 3140,
         true},
        {"index plate 360, 0.1, 1/10", Mechanism::IndexPlate, IndexPlate(360, 1, 1, 10), 131072, 360, true},
        {"index plate rounding half up", Mechanism::IndexPlate, IndexPlate(7, 2, 1, 1), 131072, 35, false},
        {"an empty field gives nothing", Mechanism::ConveyorBelt, Conveyor(100, 10, 0, 10), 131072, 0, false},
        {"all empty", Mechanism::BallScrew, BallScrew(0, 0), 131072, 0, false},
    };
    for (const PulsesCase& c : cases) {
        SCOPED_TRACE(c.what);
        const PulsesResult result = CalculatePulsesPerRevolution(c.mechanism, c.inputs);
        EXPECT_EQ(c.expected, result.rounded);
        EXPECT_EQ(c.accepted, PulsesResultAccepted(result, c.maxPulses));
    }
}

TEST(CalcMechanism, ResultsBeyondIntAreBoundedAndRefused) {
    // 9999 mm roller over 1 um with n 9999: about 3.1e11 pulses, far beyond int.
    const PulsesResult pulses =
        CalculatePulsesPerRevolution(Mechanism::ConveyorBelt, Conveyor(9999, 1, 9999, 1));
    EXPECT_GT(pulses.rounded, std::int64_t{INT32_MAX});
    EXPECT_FALSE(PulsesResultAccepted(pulses, INT32_MAX));

    const GearResult gear = CalculateGearRatio(Mechanism::ConveyorBelt, Conveyor(9999, 1, 9999, 1), 131072);
    EXPECT_GT(gear.denominator, GearValueMax);
    EXPECT_FALSE(GearResultAccepted(gear));

    EXPECT_EQ(std::int64_t{9007199254740992}, RoundTrialResult(1e300));
    EXPECT_EQ(0, RoundTrialResult(0.0 / 0.0));
}

using Ratio = std::pair<std::int64_t, std::int64_t>;

std::vector<Ratio> ReductionClicks(GearResult result, int clicks) {
    std::vector<Ratio> seen;
    for (int i = 0; i < clicks; ++i) {
        ReduceGearRatio(result);
        seen.emplace_back(result.numerator, result.denominator);
    }
    return seen;
}

TEST(CalcMechanism, GearRatiosAndTheirReductions) {
    const GearResult conveyor = CalculateGearRatio(Mechanism::ConveyorBelt, Conveyor(100, 10, 1, 10), 131072);
    EXPECT_EQ(Ratio(1310720, 31400), Ratio(conveyor.numerator, conveyor.denominator));
    EXPECT_DOUBLE_EQ(31400, conveyor.loadPulses);
    EXPECT_FALSE(conveyor.reduced);
    EXPECT_EQ((std::vector<Ratio>{
                  {655360, 15700}, {327680, 7850}, {163840, 3925}, {32768, 785}, {32768, 785}, {32768, 785}}),
              ReductionClicks(conveyor, 6));

    const GearResult index = CalculateGearRatio(Mechanism::IndexPlate, IndexPlate(360, 1, 1, 10), 131072);
    EXPECT_EQ(Ratio(1310720, 3600), Ratio(index.numerator, index.denominator));
    EXPECT_EQ((std::vector<Ratio>{
                  {655360, 1800}, {327680, 900}, {163840, 450}, {81920, 225}, {16384, 45}, {16384, 45}}),
              ReductionClicks(index, 6));

    GearResult reduced = index;
    ASSERT_TRUE(ReduceGearRatio(reduced));
    EXPECT_TRUE(reduced.reduced);
    EXPECT_EQ(1310720, reduced.formulaNumerator) << "the formula keeps the unreduced numerator";
    EXPECT_TRUE(GearResultAccepted(reduced));

    // The ball screw has no reduction: the numerator is the encoder resolution itself.
    const GearResult screw = CalculateGearRatio(Mechanism::BallScrew, BallScrew(10, 1), 131072);
    EXPECT_EQ(Ratio(131072, 10000), Ratio(screw.numerator, screw.denominator));
    EXPECT_TRUE(GearResultAccepted(screw));

    GearResult one;
    one.numerator = 1;
    one.denominator = 7;
    EXPECT_FALSE(ReduceGearRatio(one)) << "nothing below 2 is reduced";
}

TEST(CalcMechanism, GearOkRefusesWrappedAndOversizedProducts) {
    struct Case {
        const char* what;
        int resolution;
        int motorTurns;
        std::int64_t numerator;
        bool accepted;
    };
    const Case cases[] = {
        {"23-bit encoder x 64", 8388608, 64, 536870912, true},
        {"23-bit encoder x 100", 8388608, 100, 838860800, false},
        // In 32 bits this product wraps to 8388608 and would pass the range check.
        {"23-bit encoder x 513", 8388608, 513, 4303355904, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const GearResult result =
            CalculateGearRatio(Mechanism::IndexPlate, IndexPlate(3600, 1, 100, c.motorTurns), c.resolution);
        EXPECT_EQ(c.numerator, result.numerator);
        EXPECT_EQ(c.accepted, GearResultAccepted(result));
    }

    GearResult empty = CalculateGearRatio(Mechanism::ConveyorBelt, MechanismInputs{}, 131072);
    EXPECT_FALSE(empty.computed);
    EXPECT_FALSE(GearResultAccepted(empty)) << "numerator and denominator 0";

    GearResult ratio;
    ratio.numerator = 1;
    ratio.denominator = 1001;
    EXPECT_FALSE(GearResultAccepted(ratio)) << "below 1/1000";
    ratio.denominator = 1000;
    EXPECT_TRUE(GearResultAccepted(ratio));
    ratio.numerator = 32000;
    ratio.denominator = 1;
    EXPECT_TRUE(GearResultAccepted(ratio));
    ratio.numerator = 32001;
    EXPECT_FALSE(GearResultAccepted(ratio)) << "above 32000";
}

TEST(CalcMechanism, InputsAndTheCircumferenceText) {
    EXPECT_EQ(99999, MechanismInputBound(Mechanism::BallScrew, MechanismField::LoadTravel));
    EXPECT_EQ(99999, MechanismInputBound(Mechanism::BallScrew, MechanismField::PulseTravel));
    EXPECT_EQ(9999, MechanismInputBound(Mechanism::ConveyorBelt, MechanismField::PulseTravel));
    EXPECT_EQ(9999, MechanismInputBound(Mechanism::IndexPlate, MechanismField::LoadTravel));

    struct Case {
        const char* text;
        std::optional<int> accepted;
    };
    const Case cases[] = {{"", 0},
                          {"0", 0},
                          {"9999", 9999},
                          {"10000", std::nullopt},
                          {"-1", std::nullopt},
                          {"12a", std::nullopt},
                          {"99999999999", std::nullopt},
                          {"4294967297", std::nullopt}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.accepted, AcceptBoundedInput(c.text, 9999));
    }

    EXPECT_EQ("314", CircumferenceText(100));
    EXPECT_EQ("31.4", CircumferenceText(10));
    EXPECT_EQ("3.14", CircumferenceText(1));
    EXPECT_EQ("3140", CircumferenceText(1000));
    EXPECT_EQ("0", CircumferenceText(0));
}

} // namespace
