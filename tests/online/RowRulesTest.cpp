// Which display and digit buttons a row offers, and the limits and texts of a code.
#include "online/OnlineRows.h"

#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Digits as the user counts them: "123" = digits 1, 2 and 3.
std::string Digits(const std::array<bool, OnlineDigitCount>& set) {
    std::string digits;
    for (int i = 0; i < OnlineDigitCount; ++i)
        if (set[static_cast<size_t>(i)])
            digits += static_cast<char>('1' + i);
    return digits;
}

struct PlanCase {
    const char* what;
    bool active;
    unsigned flags;
    int minimum;
    int maximum;
    int width;
    bool sixDigit;
    const char* shown;
    const char* enabled;
};

TEST(OnlineRows, DisplayAndButtonsFollowFlagsAndLimits) {
    const PlanCase cases[] = {
        {"inactive row", false, 0, 0, 0, 5, false, "12345", ""},
        {"-200..200", true, 0, -200, 200, 5, false, "123", "123"},
        {"5-digit code, -20,000..20,000", true, 0, -20000, 20000, 6, true, "12345", "12345"},
        {"5-digit code, -200,000..200,000", true, 0, -200000, 200000, 7, false, "123456", "123456"},
        {"0..500,000", true, 0, 0, 500000, 5, false, "12345", "12345"},
        {"hex 0..0xFFFF", true, FormatHex4, 0, 0xFFFF, 5, false, "1234", "1234"},
        {"hex 0..0xFF", true, FormatHex2, 0, 0xFF, 5, false, "12", "12"},
        {"6-digit code", true, 2, 0, 100, 6, true, "123", "123"},
        {"9-digit code", true, 7, 0, 9, 9, true, "1", "1"},
        {"-5,000,000..5,000,000", true, 0, -5000000, 5000000, 8, false, "1234567", "1234567"},
        {"-500,000..5,000,000", true, 0, -500000, 5000000, 8, true, "1234567", "1234567"},
        {"-20,000,000..20,000,000", true, 0, -20000000, 20000000, 9, false, "12345678", "12345678"},
        {"-2,000,000..20,000,000", true, 0, -2000000, 20000000, 9, true, "12345678", "12345678"},
        {"0..200,000,000", true, 0, 0, 200000000, 9, false, "123456789", "123456789"},
        {"32-bit range", true, 0, INT_MIN, INT_MAX, 9, false, "123456789", "123456789"},
    };
    for (const PlanCase& c : cases) {
        const RowControlPlan plan = PlanRowControls(c.active, true, c.flags, c.minimum, c.maximum);
        EXPECT_EQ(plan.width, c.width) << c.what;
        EXPECT_EQ(plan.sixDigit, c.sixDigit) << c.what;
        EXPECT_EQ(Digits(plan.shown), c.shown) << c.what;
        EXPECT_EQ(Digits(plan.enabled), c.enabled) << c.what;
        EXPECT_EQ(plan.showDigits, c.active) << c.what;
        EXPECT_EQ(plan.hex, (c.flags & AttrFormatHexBit) != 0 && c.active) << c.what;
    }
}

TEST(OnlineRows, ARowWithoutLimitsCannotBeStepped) {
    const RowControlPlan plan = PlanRowControls(true, false, 0, 0, 0);
    EXPECT_EQ(Digits(plan.enabled), "");
    EXPECT_TRUE(plan.showDigits);
}

TEST(OnlineRows, DisplayWidthOfTheAttributeWord) {
    EXPECT_EQ(DisplayWidthOfFlags(0), 5);
    EXPECT_EQ(DisplayWidthOfFlags(1), 5);
    EXPECT_EQ(DisplayWidthOfFlags(2), 6);
    EXPECT_EQ(DisplayWidthOfFlags(3), 8);
    EXPECT_EQ(DisplayWidthOfFlags(7), 9);
    EXPECT_EQ(DisplayWidthOfFlags(0xE4), 5);
}

TEST(OnlineRows, LimitsComeFromTheGroupOfTheCodeAndStayInsideIt) {
    CKeloServoDoc doc;
    doc.OnNewDocument();
    // Distinct limits in each group the lookups reach.
    doc.Minimum(DocPn3, 85) = -385;
    doc.Maximum(DocPn4, 1) = 401;
    doc.Maximum(DocEn, 24) = 724;
    doc.Maximum(DocEC, 1) = 901;
    doc.Maximum(Docono, 26) = 1726;
    doc.Maximum(DocMAb, 16) = 2116;
    doc.Default(DocCn, 25) = 77;
    EXPECT_EQ(LimitsOfCode("Pn385", &doc)->minimum, -385);
    EXPECT_EQ(LimitsOfCode("Pn401", &doc)->maximum, 401);
    EXPECT_EQ(LimitsOfCode("En724", &doc)->maximum, 724);
    EXPECT_EQ(LimitsOfCode("EC901", &doc)->maximum, 901);
    EXPECT_EQ(LimitsOfCode("ono26", &doc)->maximum, 1726);
    EXPECT_EQ(LimitsOfCode("MAb16", &doc)->maximum, 2116);
    EXPECT_EQ(LimitsOfCode("Cn025", &doc)->defaultValue, 77);
    // Numbers beyond a group's arrays, "on" groups other than ono, unknown letters, no document.
    for (const char* code :
         {"onC45", "ono27", "Tn119", "Pn386", "En725", "EC935", "Cn000", "Xn001", "", "Cn"})
        EXPECT_FALSE(LimitsOfCode(code, &doc)) << code;
    EXPECT_FALSE(LimitsOfCode("Cn025", nullptr));
}

TEST(OnlineRows, TextsOfACode) {
    CKeloServoDoc doc;
    doc.OnNewDocument();
    doc.Minimum(DocCn, 25) = -20;
    doc.Maximum(DocCn, 25) = 30;
    doc.Default(DocCn, 25) = 5;
    CatalogueContext context;
    context.seriesCode = 4;
    const StringLoader load = [](int id) { return "text " + std::to_string(id); };
    const RowTexts cn025 = RowTextsOf("Cn025", &doc, context, load);
    EXPECT_EQ(cn025.range, "-20~30");
    EXPECT_EQ(cn025.defaultValue, "5");
    EXPECT_EQ(cn025.limits->maximum, 30);
    EXPECT_EQ(RowTextsOf("qn501", &doc, context, load).title, "text 61612");
    const RowTexts other = RowTextsOf("onC45", &doc, context, load);
    EXPECT_FALSE(other.limits);
    EXPECT_EQ(other.range, "");
    EXPECT_EQ(RowTextsOf("", &doc, context, load).title, "");
}

} // namespace
