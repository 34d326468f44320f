// The digit steps, the Cn008 value map and the writes that follow a rigidity level.
#include "online/OnlineSteps.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

struct StepCase {
    const char* what;
    bool up;
    std::int32_t value;
    int position;
    bool hexParameter;
    std::int32_t limit;
    bool changed;
    std::int32_t expected;
};

TEST(OnlineSteps, EachPressStepsOneDigitWithinTheLimit) {
    const StepCase cases[] = {
        {"995 + 10 reaches the maximum", true, 995, 1, false, 1000, true, 1000},
        {"at the maximum nothing changes", true, 1000, 0, false, 1000, false, 1000},
        {"above the maximum comes down to it", true, 1200, 2, false, 1000, true, 1000},
        {"down from 3 by 10 stops at 0", false, 3, 1, false, 0, true, 0},
        {"below the minimum goes up to it", false, -40, 0, false, -10, true, -10},
        {"at the minimum nothing changes", false, -10, 3, false, -10, false, -10},
        {"hex digit 2 up to the maximum's digit", true, 0x0925, 1, true, 0x0F3F, true, 0x0935},
        {"hex digit 2 already at the maximum's digit", true, 0x0935, 1, true, 0x0F3F, false, 0x0935},
        {"hex digit above the maximum's is pulled down", true, 0x0955, 1, true, 0x0F3F, true, 0x0935},
        {"hex digit 4 steps 0x1000", true, 0x0925, 3, true, 0xFFFF, true, 0x1925},
        {"hex pull clears the bits above 15", true, 0x12340955, 1, true, 0x0F3F, true, 0x0935},
        {"hex digit down to the minimum's digit", false, 0x0105, 1, true, 0x0120, true, 0x0125},
        {"hex digit 1 down", false, 0x0107, 0, true, 0x0000, true, 0x0106},
        {"the fifth digit steps in decimal for hex parameters", true, 0x10, 4, true, 0x7FFFFFFF, true, 10016},
        {"up near the 32-bit maximum does not wrap", true, INT_MAX - 5, 1, false, INT_MAX, true, INT_MAX},
        {"down near the 32-bit minimum does not wrap", false, INT_MIN + 5, 8, false, INT_MIN, true, INT_MIN},
        {"the ninth digit steps 10^8", true, 5, 8, false, 999999999, true, 100000005},
    };
    for (const StepCase& c : cases) {
        const DigitStep step = StepOfPosition(c.position, c.hexParameter);
        std::int32_t value = c.value;
        const bool changed = c.up ? StepValueUp(value, step.step, c.limit, step.hex, step.hexDigit)
                                  : StepValueDown(value, step.step, c.limit, step.hex, step.hexDigit);
        EXPECT_EQ(changed, c.changed) << c.what;
        EXPECT_EQ(value, c.expected) << c.what;
    }
}

TEST(OnlineSteps, StepsOfThePositions) {
    EXPECT_EQ(StepOfPosition(0, true).step, 1);
    EXPECT_EQ(StepOfPosition(1, true).step, 0x10);
    EXPECT_EQ(StepOfPosition(3, true).hexDigit, 4);
    EXPECT_FALSE(StepOfPosition(4, true).hex);
    EXPECT_EQ(StepOfPosition(3, false).step, 1000);
    EXPECT_FALSE(StepOfPosition(3, false).hex);
    EXPECT_EQ(StepOfPosition(8, false).step, 100000000);
}

TEST(OnlineSteps, Cn008TravelsMapped) {
    EXPECT_EQ(Cn008WireValue(5), 7);
    EXPECT_EQ(Cn008WireValue(3), 3);
    EXPECT_EQ(Cn008WireValue(4), 6);
    EXPECT_EQ(Cn008WireValue(0x14), 0x16) << "the forced-action digit stays";
    EXPECT_EQ(Cn008WireValue(0x1203), 0x1203);
    EXPECT_EQ(Cn008WireValue(15), 15) << "no carry into the digit above";
}

TEST(OnlineSteps, OnlyRigidityLevelsOneToTwentyOneWriteTheirGains) {
    // Entry n - 1 of table t holds "t0n" so a wrong row or table shows.
    RigidityTable tables[4];
    static std::string texts[4][RigidityLevelCount];
    for (int t = 0; t < 4; ++t)
        for (int n = 1; n <= RigidityLevelCount; ++n) {
            texts[t][n - 1] = std::to_string((t + 1) * 100 + n);
            tables[t][static_cast<size_t>(n - 1)] = texts[t][n - 1].c_str();
        }
    const RigidityTableSet set = {&tables[0], &tables[1], &tables[2], &tables[3]};
    const std::vector<ParameterWrite> level7 = {
        {"Pn310", 107}, {"Sn211", 207}, {"Sn212", 307}, {"Cn034", 407}};
    EXPECT_EQ(RigidityFollowUpWrites("Cn026", 7, set), level7);
    EXPECT_EQ(RigidityFollowUpWrites("Cn026", 21, set).back(), (ParameterWrite{"Cn034", 421}));
    EXPECT_EQ(RigidityFollowUpWrites("Cn026", 1, set).front(), (ParameterWrite{"Pn310", 101}));
    for (int level : {22, 0, -1, INT_MIN})
        EXPECT_TRUE(RigidityFollowUpWrites("Cn026", level, set).empty()) << level;
    EXPECT_TRUE(RigidityFollowUpWrites("cn026", 7, set).empty());
    EXPECT_TRUE(RigidityFollowUpWrites("Cn025", 7, set).empty());
}

} // namespace
