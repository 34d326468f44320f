// The shared page rules: live revert, leave check, trial calculation, selectors, digits.
#include "wizard/WizardBlocks.h"

#include "framework/core/ResourceModule.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(WizardBlocks, LiveRevertKeepsTheLastGoodValue) {
    struct Case {
        const char* text;
        int min, max;
        int value;
        bool revert;
    };
    const Case cases[] = {
        {"150", 0, 200, 150, false}, {"250", 0, 200, 7, true}, // above max: old value back
        {"", 1, 200, 7, true},                                 // cleared, 0 outside the range
        {"", 0, 200, 0, false},                                // cleared, 0 allowed: left empty
        {"-5", -10, 10, -5, false},  {"99999999999", 0, INT_MAX, INT_MAX, false}, // no overflow
        {"12ab", 0, 20, 12, false},
    };
    for (const Case& c : cases) {
        const LiveEditResult r = LiveRevert(c.text, 7, c.min, c.max);
        EXPECT_EQ(r.value, c.value) << c.text;
        EXPECT_EQ(r.revert, c.revert) << c.text;
    }
}

TEST(WizardBlocks, PageCheckTestsFormFirstThenRangesInOrder) {
    EXPECT_EQ(CheckPageValues({{"5", 0, 10}, {"20", 0, 30}}).verdict, PageCheckVerdict::Ok);
    // A malformed text anywhere wins over an earlier value out of range.
    EXPECT_EQ(CheckPageValues({{"50", 0, 10}, {"", 0, 30}}).verdict, PageCheckVerdict::Malformed);
    EXPECT_EQ(CheckPageValues({{"5", 0, 10}, {"1-2", 0, 30}}).verdict, PageCheckVerdict::Malformed);
    EXPECT_EQ(CheckPageValues({{"-", 0, 10}}).verdict, PageCheckVerdict::Malformed);
    EXPECT_EQ(CheckPageValues({{"99999999999", 0, 10}}).verdict, PageCheckVerdict::Malformed);
    const PageCheckResult r = CheckPageValues({{"5", 0, 10}, {"40", 0, 30}, {"-1", 0, 30}});
    EXPECT_EQ(r.verdict, PageCheckVerdict::OutOfRange);
    EXPECT_EQ(r.failingIndex, 1);
}

TEST(WizardBlocks, TrialCalculation) {
    const TrialResult exp = TrialCalculate(TrialForm::Exponential, "100", 100, "63", 63);
    ASSERT_TRUE(exp.computed);
    EXPECT_EQ(TrialResultText(exp), "101");
    EXPECT_EQ(TrialRounded(exp.result), 101);
    EXPECT_TRUE(TrialSetEnabled(exp, 0, 200));
    EXPECT_FALSE(TrialSetEnabled(exp, 0, 100));

    const TrialResult lin = TrialCalculate(TrialForm::Linear, "300", 300, "50", 50);
    EXPECT_EQ(TrialResultText(lin), "600");

    for (const TrialResult& none : {TrialCalculate(TrialForm::Linear, "300", 300, "0", 0),
                                    TrialCalculate(TrialForm::Linear, "0", 0, "50", 50),
                                    TrialCalculate(TrialForm::Linear, "", 300, "50", 50)}) {
        EXPECT_FALSE(none.computed);
        EXPECT_EQ(TrialResultText(none), "");
        EXPECT_FALSE(TrialSetEnabled(none, INT_MIN, INT_MAX));
    }
    // Results beyond int are bounded before the conversion.
    EXPECT_EQ(TrialRounded(1e30), INT_MAX);
    EXPECT_EQ(TrialRounded(-1e30), INT_MIN);
}

TEST(WizardBlocks, TrialInputsRefuseNegativeAndOversizedNumbers) {
    EXPECT_EQ(TrialInputEdit("250", 5, TrialTimeBound).value, 250);
    EXPECT_TRUE(TrialInputEdit("100000", 5, TrialTimeBound).revert);
    EXPECT_TRUE(TrialInputEdit("-1", 5, 99).revert);
    EXPECT_TRUE(TrialInputEdit("1a", 5, 99).revert);
    EXPECT_FALSE(TrialInputEdit("", 5, 99).revert); // an empty input is allowed while typing
}

TEST(WizardBlocks, SelectorsAndPairs) {
    ASSERT_TRUE(AfxLoadResourceLibrary());
    const auto items =
        SelectorItems(false, {0x101, 0x0A}, [](int code) { return "F" + std::to_string(code); });
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0], "Not in use");
    EXPECT_EQ(items[1], "DI-1= F1");
    EXPECT_EQ(items[2], "DI-2= F10");
    EXPECT_EQ(SelectorItems(true, {6}, [](int) { return std::string("INP"); })[1], "DO-1= INP");

    // The other combo gives way to a pin chosen twice, never to "not in use".
    EXPECT_EQ(SelectInPair({3, 0}, false, 3).first, 0);
    EXPECT_EQ(SelectInPair({3, 0}, false, 3).second, 3);
    EXPECT_EQ(SelectInPair({0, 0}, true, 0).second, 0);
    EXPECT_EQ(SelectInPair({2, 5}, true, 5).second, 0);
    EXPECT_FALSE(ContactControlsShown(0));
    EXPECT_EQ(RangeLabel(-4500, 4500), "(-4500 ~ 4500)");
}

TEST(WizardBlocks, UnsetDigitChoiceNeverSpillsIntoNeighbours) {
    EXPECT_EQ(WithDigit(0x1234, 1, 7), 0x1274);
    EXPECT_EQ(WithDigit(0x1234, 1, -1), 0x12F4); // masked to its own digit
    EXPECT_EQ(WithDigit(-1, 0, 0), -16);
    EXPECT_EQ(DigitAt(0x1234, 3), 1);
}

} // namespace
