// The reference pages' own rules: bounded inputs, the gear ratio and S-curve rules, the homing pages'
// enabled states and the three-way selector.
#include "wizard/ReferencePageRules.h"

#include <gtest/gtest.h>

namespace {

TEST(RefPageRules, BoundedInputs) {
    EXPECT_EQ(99, AcceptBoundedInput("99", 99));
    EXPECT_EQ(std::nullopt, AcceptBoundedInput("100", 99));
    EXPECT_EQ(std::nullopt, AcceptBoundedInput("-1", 99999)) << "a negative entry is refused";
    EXPECT_EQ(std::nullopt, AcceptBoundedInput("12a", 99999));
    EXPECT_EQ(std::nullopt, AcceptBoundedInput("4294967297", 99999)) << "no wrap into the bound";
    EXPECT_EQ(0, AcceptBoundedInput("", 99999));
}

TEST(RefPageRules, GearRatioRule) {
    struct Case {
        const char* what;
        std::array<int, 4> numerators;
        int denominator;
        RuleFault fault;
        int field;
    };
    const Case cases[] = {
        {"1 / 2000 is below 1/1000", {1, 1, 1, 1}, 2000, RuleFault::GearRatioBelow, 0},
        {"1 / 1000 passes", {1, 1, 1, 1}, 1000, RuleFault::None, -1},
        {"32001 / 1 is above 32000", {32001, 1, 1, 1}, 1, RuleFault::GearRatioAbove, 0},
        {"the third numerator is named", {1, 1, 70000, 1}, 2, RuleFault::GearRatioAbove, 2},
        {"the largest values", {536870912, 536870912, 536870912, 536870912}, 536870912, RuleFault::None, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RuleCheck result = CheckGearRatios(c.numerators, c.denominator);
        EXPECT_EQ(c.fault, result.fault);
        EXPECT_EQ(c.field, result.field);
    }
}

TEST(RefPageRules, SCurveRule) {
    struct Case {
        const char* what;
        int ts, ta, td;
        RuleFault fault;
        int field;
    };
    const Case cases[] = {
        {"ts 50 / ta 100", 50, 100, 200, RuleFault::SCurveAccel, 1},
        {"ts 50 / ta 101: the half is truncated", 50, 101, 200, RuleFault::SCurveAccel, 1},
        {"ts 50 / ta 102 passes, td 101 fails", 50, 102, 101, RuleFault::SCurveDecel, 2},
        {"ts 50 / ta 102 / td 102", 50, 102, 102, RuleFault::None, -1},
        {"ts 0 / ta 1", 0, 1, 1, RuleFault::SCurveAccel, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RuleCheck result = CheckSCurveRule(c.ts, c.ta, c.td);
        EXPECT_EQ(c.fault, result.fault);
        EXPECT_EQ(c.field, result.field);
    }
}

TEST(RefPageRules, HomingPagesEnabledStates) {
    EXPECT_FALSE(HomeControlsForStartMode(0)->homeMethod);
    EXPECT_TRUE(HomeControlsForStartMode(1)->homeMethod);
    EXPECT_FALSE(HomeControlsForStartMode(1)->shomeSelector);
    EXPECT_TRUE(HomeControlsForStartMode(2)->shomeSelector);
    EXPECT_FALSE(HomeControlsForStartMode(-1)) << "no choice leaves the states alone";

    struct Case {
        int reference;
        std::array<bool, 3> radios;
        std::optional<int> forced;
        std::array<bool, 4> explanations;
        bool limits, origin;
    };
    const Case cases[] = {
        {0, {true, false, false}, 0, {false, false, false, false}, true, false},
        {1, {true, false, false}, 0, {false, false, false, false}, true, false},
        {3, {true, true, true}, std::nullopt, {true, false, false, false}, false, true},
        {4, {false, false, true}, 2, {false, true, false, false}, false, false},
        {7, {false, false, true}, 2, {false, false, true, false}, false, false},
        {9, {false, false, true}, 2, {false, false, false, true}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reference);
        const std::optional<SearchPageStates> states = SearchPageStatesForReference(c.reference);
        ASSERT_TRUE(states);
        EXPECT_EQ(c.radios, states->searchMoveRadios);
        EXPECT_EQ(c.forced, states->forcedSearchMove);
        EXPECT_EQ(c.explanations, states->explanations);
        EXPECT_EQ(c.limits, states->limitSelectors);
        EXPECT_EQ(c.origin, states->originSelector);
    }
    EXPECT_FALSE(SearchPageStatesForReference(-1));
    EXPECT_FALSE(SearchPageStatesForReference(10));
}

TEST(RefPageRules, ASelectorTakesItsInputFromTheOthers) {
    std::array<int, 3> selectors = {3, 5, 3};
    EXPECT_EQ(1u, ExcludeFromOtherSelectors(selectors, 2));
    EXPECT_EQ((std::array<int, 3>{0, 5, 3}), selectors);
    selectors = {0, 0, 0};
    EXPECT_EQ(0u, ExcludeFromOtherSelectors(selectors, 1)) << "\"Not in use\" takes nothing from the others";
}

} // namespace
