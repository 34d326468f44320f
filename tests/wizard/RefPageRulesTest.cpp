// The reference pages' own rules: typed values, trial blocks, the gear ratio and S-curve checks, the
// homing pages' enabled states and the selector exclusion.
#include "wizard/ReferencePageRules.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

TEST(RefPageRules, TypedTextsAndBoundedInputs) {
    struct Case {
        const char* text;
        std::optional<int> value;
    };
    const Case cases[] = {{"", 0},
                          {"-", 0},
                          {"30001", 30001},
                          {"-4501", -4501},
                          {"12a", std::nullopt},
                          {"--1", std::nullopt},
                          {"2147483648", std::nullopt},
                          {"-2147483648", INT_MIN}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.value, ParsePageValue(c.text));
    }
    EXPECT_EQ(99, AcceptBoundedInput("99", 99));
    EXPECT_EQ(std::nullopt, AcceptBoundedInput("100", 99));
    EXPECT_EQ(std::nullopt, AcceptBoundedInput("-1", 99999)) << "a negative time is refused";
    EXPECT_EQ(0, AcceptBoundedInput("", 99999));
}

TEST(RefPageRules, TrialBlocksAndTheSetButton) {
    struct Case {
        const char* what;
        TrialForm form;
        TrialInputs inputs;
        std::optional<std::int64_t> rounded;
        int minimum;
        int maximum;
        bool setEnabled;
    };
    const Case cases[] = {
        {"63 % of 100 ms, one-time smoothing",
         TrialForm::Exponential,
         {true, 100, true, 63},
         101,
         1,
         10000,
         true},
        {"50 % in 300 ms, linear", TrialForm::Linear, {true, 300, true, 50}, 600, 1, 50000, true},
        {"100 % in 300 ms, linear", TrialForm::Linear, {true, 300, true, 100}, 300, 1, 50000, true},
        {"a result above the maximum", TrialForm::Linear, {true, 50001, true, 100}, 50001, 1, 50000, false},
        {"below the page's 64", TrialForm::Linear, {true, 63, true, 100}, 63, 64, 131072, false},
        {"percent 0", TrialForm::Linear, {true, 300, true, 0}, std::nullopt, 1, 50000, false},
        {"time 0", TrialForm::Exponential, {true, 0, true, 63}, std::nullopt, 1, 10000, false},
        {"percent missing", TrialForm::Linear, {true, 300, false, 0}, std::nullopt, 0, 50000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<double> result = CalculateTrial(c.form, c.inputs);
        ASSERT_EQ(c.rounded.has_value(), result.has_value());
        if (result) {
            EXPECT_EQ(*c.rounded, RoundTrialResult(*result));
        }
        EXPECT_EQ(c.setEnabled, TrialSetEnabled(result, c.minimum, c.maximum));
    }
    EXPECT_NEAR(100.6, *CalculateTrial(TrialForm::Exponential, {true, 100, true, 63}), 0.05);
}

TEST(RefPageRules, GearRatioCheck) {
    const ValueRange range{1, 536870912};
    struct Case {
        const char* what;
        std::array<int, 4> numerators;
        int denominator;
        PageCheckFault fault;
        int field;
    };
    const Case cases[] = {
        {"1 / 2000 is below 1/1000", {1, 1, 1, 1}, 2000, PageCheckFault::GearRatioBelow, 0},
        {"1 / 1000 passes", {1, 1, 1, 1}, 1000, PageCheckFault::None, -1},
        {"32001 / 1 is above 32000", {32001, 1, 1, 1}, 1, PageCheckFault::GearRatioAbove, 0},
        {"the third numerator is named", {1, 1, 70000, 1}, 2, PageCheckFault::GearRatioAbove, 2},
        {"numerator 0 is out of range before any ratio", {0, 1, 1, 1}, 2000, PageCheckFault::OutOfRange, 0},
        {"the denominator's range", {1, 1, 1, 1}, 536870913, PageCheckFault::OutOfRange, 4},
        {"the largest values",
         {536870912, 536870912, 536870912, 536870912},
         536870912,
         PageCheckFault::None,
         -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PageCheckResult result = CheckGearRatioPage(c.numerators, c.denominator, range);
        EXPECT_EQ(c.fault, result.fault);
        EXPECT_EQ(c.field, result.field);
    }
}

TEST(RefPageRules, SCurveCheck) {
    const ValueRange ts{0, 10000}, ta{1, 20000}, td{1, 20000};
    struct Case {
        const char* what;
        int ts, ta, td;
        PageCheckFault fault;
        int field;
    };
    const Case cases[] = {
        {"ts 50 / ta 100", 50, 100, 200, PageCheckFault::SCurveAccel, 1},
        {"ts 50 / ta 101: the half is truncated", 50, 101, 200, PageCheckFault::SCurveAccel, 1},
        {"ts 50 / ta 102 passes, td 101 fails", 50, 102, 101, PageCheckFault::SCurveDecel, 2},
        {"ts 50 / ta 102 / td 102", 50, 102, 102, PageCheckFault::None, -1},
        {"ts 0 / ta 1", 0, 1, 1, PageCheckFault::SCurveAccel, 1},
        {"ranges first: ta 0", 0, 0, 10, PageCheckFault::OutOfRange, 1},
        {"ranges first: ts 10001", 10001, 1, 1, PageCheckFault::OutOfRange, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PageCheckResult result = CheckSCurvePage(c.ts, c.ta, c.td, ts, ta, td);
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
    int three[3] = {3, 5, 0};
    three[2] = 3;
    EXPECT_EQ(1u, ExcludeSameInput(three, 3, 2));
    EXPECT_EQ(0, three[0]);
    EXPECT_EQ(5, three[1]);
    int pair[2] = {0, 0};
    EXPECT_EQ(0u, ExcludeSameInput(pair, 2, 1)) << "\"Not in use\" takes nothing from the other";
}

} // namespace
