// The position tools' pure rules: the target conversion, the virtual-input words, the legs of a
// multi-position run and the path program a page writes.
#include "tools/MultiPositionRun.h"
#include "tools/PathCommand.h"
#include "tools/PathProgram.h"
#include "tools/VirtualInputs.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct ConversionCase {
    std::int64_t target, speed, units, pulses, resolution;
    std::int64_t revolutions, remainder, rpm;
};

} // namespace

TEST(PositionConversion, TargetsLandOnTheirPulse) {
    const ConversionCase cases[] = {
        // 10 units of 10 per revolution at 8388608 pulses: exactly one revolution.
        {10, 1, 10, 8388608, 8388608, 1, 0, 6},
        // A third of a revolution per unit: single precision would land 171 pulses off here.
        {1001, 500, 3, 8388608, 8388608, 333, 5592405, 10000},
        // Negative targets keep the sign in both words (division toward zero).
        {-15, 10, 10, 131072, 131072, -1, -65536, 60},
        // The combo's pulses differ from the drive's resolution.
        {1, 100, 1, 131072, 8388608, 0, 131072, 93},
        {99999999999, 1, 1, 131072, 131072, 99999999999, 0, 60},
    };
    for (const ConversionCase& c : cases) {
        const PathCommandResult r = ToPathCommand(c.target, c.speed, c.units, c.pulses, c.resolution);
        ASSERT_TRUE(r.command) << c.target;
        EXPECT_EQ(r.command->revolutions, c.revolutions) << c.target;
        EXPECT_EQ(r.command->remainder, c.remainder) << c.target;
        EXPECT_EQ(r.command->rpm, c.rpm) << c.target;
    }
}

TEST(PositionConversion, RefusesWhatCannotBeConverted) {
    EXPECT_EQ(ToPathCommand(10, 1, 0, 131072, 131072).error, PathCommandError::ZeroUnits);
    EXPECT_EQ(ToPathCommand(10, 1, 10, 131072, 0).error, PathCommandError::ZeroResolution);
    // An rpm beyond int: refused rather than undefined.
    EXPECT_EQ(ToPathCommand(1, 1000000000, 1, 8388608, 1).error, PathCommandError::OutOfReach);
    EXPECT_EQ(ToPathCommand(99999999999, 1, 1, std::numeric_limits<int>::max(), 1).error,
              PathCommandError::OutOfReach);
    EXPECT_FALSE(ToPathCommand(10, 1, 0, 131072, 131072).command);
    EXPECT_STRNE(PathCommandErrorText(PathCommandError::ZeroUnits), "");
}

TEST(PositionConversion, PulseChoicesAndLimits) {
    EXPECT_EQ(PulsesOfChoice(0, ""), 131072);
    EXPECT_EQ(PulsesOfChoice(1, ""), 8388608);
    EXPECT_EQ(PulsesOfChoice(-1, "4096"), 4096);
    EXPECT_EQ(PulsesOfChoice(-1, "x"), std::nullopt);
    EXPECT_EQ(PulsesOfChoice(-1, "0"), std::nullopt);
    EXPECT_EQ(PulseChoiceForResolution(131072), 0);
    EXPECT_EQ(PulseChoiceForResolution(8388608), 1);
    EXPECT_EQ(PulseChoiceForResolution(0), 1);
    const PathCommandLimits limits{-30000, 30000, -8388608, 8388608, 0, 5000};
    EXPECT_TRUE(WithinLimits({30000, -8388608, 5000}, limits));
    EXPECT_FALSE(WithinLimits({30001, 0, 0}, limits));
    EXPECT_FALSE(WithinLimits({0, 8388609, 0}, limits));
    EXPECT_FALSE(WithinLimits({0, 0, -1}, limits));
}

TEST(PositionVirtualInputs, SetWritesTheMaskThenTheAssignment) {
    EXPECT_EQ(VirtualInputMask({}), 0xFC0);
    EXPECT_EQ(VirtualInputMask({true, true, true, true, true, true, true}), 0xFFF);
    EXPECT_EQ(VirtualInputMask({.ptrg = true, .org = true}), 0xFC0 + 4 + 32);

    const std::vector<PositionWrite> withoutServo = SystemPageAssignment({});
    const std::vector<PositionWrite> expected = {
        {"Hn617", 0xFC0}, {"Hn602", 0x14},  {"Hn610", 0},    {"Hn606", 0x15}, {"Hn611", 0},
        {"Hn604", 0x104}, {"Hn605", 0x105}, {"Hn603", 0x12}, {"Hn612", 0x13}, {"Hn616", 6}};
    EXPECT_EQ(withoutServo, expected);
    const std::vector<PositionWrite> withServo = SystemPageAssignment({.servoOn = true});
    ASSERT_EQ(withServo.size(), expected.size() + 1);
    EXPECT_EQ(withServo[0], (PositionWrite{"Hn617", 0xFC1}));
    EXPECT_EQ(withServo[1], (PositionWrite{"Hn601", 1}));
}

TEST(PositionVirtualInputs, WordsOfThePages) {
    const VirtualInputChecks all{true, true, true, true, true, true, true};
    const VirtualInputStates on{true, true, true, true, true, true, true};
    EXPECT_EQ(SystemPageInputWord(on, all), 0x83F);
    // A row counts only while it is enabled.
    EXPECT_EQ(SystemPageInputWord(on, {.shome = true, .phold = true}), 0x802);
    EXPECT_EQ(DecodeInputWord(0x83F), on);
    EXPECT_EQ(DecodeInputWord(0x004), (VirtualInputStates{.ptrg = true}));
    EXPECT_EQ(HomingInputWord(false, false, false, true), 32);
    EXPECT_EQ(HomingInputWord(true, true, true, true), 2 + 8 + 16 + 32);

    EXPECT_EQ(HomingConfigWord(0x1534), 0x1234);
    EXPECT_EQ(HomingConfigWord(0x0000), 0x0200);
    EXPECT_EQ(WithBit(0x0801, 2, true), 0x0805);
    EXPECT_EQ(WithBit(0x0805, 11, false), 0x0005);
    EXPECT_EQ(WithBit(std::nullopt, 2, true), std::nullopt) << "no read, no write";
    EXPECT_EQ(PathInputMask(0xFFFF, false), 0xFFFA);
    EXPECT_EQ(PathInputMask(0x0FC0, true), 0x0FC5);
}

TEST(PositionLegs, TwoTargetRunEndsAtTargetTwoAfterItsCycles) {
    MultiPositionLegs legs;
    EXPECT_EQ(legs.Started(true, true), Leg({}, 0, PollTimer, 100));
    EXPECT_EQ(legs.Poll(false, 3), LegAction{}) << "not there yet";
    EXPECT_EQ(legs.Poll(std::nullopt, 3), LegAction{}) << "dn02 unreadable";
    EXPECT_EQ(legs.Poll(true, 3), Leg({PollTimer}, 0, LeaveForSecondTimer, 300));
    EXPECT_EQ(legs.DwellOver(LeaveForSecondTimer, 1), Leg({LeaveForSecondTimer}, 2));
    EXPECT_EQ(legs.NextLeg(), 0);
    EXPECT_EQ(legs.Cycles(), 1);
    EXPECT_EQ(legs.Poll(true, 3), LegAction{}) << "the run is over";
}

TEST(PositionLegs, EndlessCyclesDwellZeroHoldAndStop) {
    MultiPositionLegs legs;
    legs.Started(true, true);
    for (int cycle = 1; cycle <= 3; ++cycle) {
        legs.Poll(true, 1);
        EXPECT_EQ(legs.DwellOver(LeaveForSecondTimer, 0), Leg({LeaveForSecondTimer}, 2, PollTimer, 100));
        EXPECT_EQ(legs.Poll(true, 1), Leg({PollTimer}, 0, ReturnToFirstTimer, 100));
        EXPECT_EQ(legs.DwellOver(ReturnToFirstTimer, 0), Leg({ReturnToFirstTimer}, 1, PollTimer, 100));
    }
    EXPECT_EQ(legs.Cycles(), 3);
    EXPECT_EQ(legs.Poll(true, 0), LegAction{}) << "a dwell of 0 never leaves";
    legs.SetHeld(true);
    EXPECT_EQ(legs.Poll(true, 1), LegAction{}) << "PHOLD suspends the poll";
    legs.SetHeld(false);
    EXPECT_EQ(legs.Stop().kill, (std::vector<int>{1, 4, 5, 3, 2}));
    EXPECT_EQ(legs.Poll(true, 1), LegAction{});
    // One target, or the servo off: a single move.
    EXPECT_EQ(legs.Started(false, true), LegAction{});
    EXPECT_EQ(legs.Started(true, false), LegAction{});
}

TEST(PositionPathProgram, OneOrTwoPositionsClearTheRest) {
    const PathCommand first{1, 2, 3};
    const std::vector<PositionWrite> one = PathProgramWrites(first, std::nullopt, 700, 800, false);
    ASSERT_EQ(one.size(), 3u + 1u + 31u + 1u);
    EXPECT_EQ(one[2], (PositionWrite{"Pn403", 3}));
    EXPECT_EQ(one[3], (PositionWrite{"Pn499", 700}));
    EXPECT_EQ(one[4], (PositionWrite{"Pn406", 0}));
    EXPECT_EQ(one[34], (PositionWrite{"Pn496", 0}));
    EXPECT_EQ(one.back(), (PositionWrite{"Pn381", PathModeSingle}));

    const std::vector<PositionWrite> two = PathProgramWrites(first, PathCommand{-4, -5, 6}, 700, 800, true);
    ASSERT_EQ(two.size(), 3u + 3u + 2u + 30u + 1u);
    EXPECT_EQ(two[3], (PositionWrite{"Pn404", -4}));
    EXPECT_EQ(two[6], (PositionWrite{"Pn497", 700}));
    EXPECT_EQ(two[7], (PositionWrite{"Pn499", 800}));
    EXPECT_EQ(two[8], (PositionWrite{"Pn409", 0}));
    EXPECT_EQ(two.back(), (PositionWrite{"Pn381", PathModeCyclic}));

    EXPECT_FALSE(PathModeAllowsRun(0x00FF));
    EXPECT_TRUE(PathModeAllowsRun(0x0100));
}

TEST(PositionPathProgram, TableRules) {
    EXPECT_EQ(PathEntryFirstNumber(1), 401);
    EXPECT_EQ(PathEntryFirstNumber(16), 446);
    EXPECT_EQ(PathEntryFirstNumber(17), 449);
    EXPECT_EQ(PathEntryFirstNumber(32), 494);
    EXPECT_EQ(ClampRevolutions(16001), 16000);
    EXPECT_EQ(ClampRevolutions(-20000), -16000);
    EXPECT_EQ(ClampPulses(-8388609), -8388608);
    EXPECT_EQ(ClampSpeed(5000, 3000), 3000);
    EXPECT_EQ(ClampSpeed(-1, 3000), 0);
    EXPECT_EQ(PathModeWord(1, 0), 0x0001);
    EXPECT_EQ(PathModeWord(0, 1), 0x0010);
}
