#include "valueedit/NumericEditRules.h"

#include <gtest/gtest.h>

#include <climits>

TEST(NumericRules, GenericModeSpinAndLimit) {
    EXPECT_EQ(GenericEntryMode("MAb03", 0xE0), EntryMode::Hex8);
    EXPECT_EQ(GenericEntryMode("Cn054", 0x00), EntryMode::Hex4);
    EXPECT_EQ(GenericEntryMode("Cn003", 0xE3), EntryMode::Hex4);
    EXPECT_EQ(GenericEntryMode("Cn003", 0x20), EntryMode::Decimal);
    EXPECT_EQ(FormatEntry(EntryMode::Hex8, 0x1A), "000001A");
    EXPECT_EQ(FormatEntry(EntryMode::Hex4, 0x1A), "001A");

    EXPECT_EQ(GenericSpinRange(-100, 200).lower, -100);
    EXPECT_EQ(GenericSpinRange(5, 200).lower, 0);

    EXPECT_EQ(GenericTextLimit("Cn003", 0, 5000), 7);
    EXPECT_EQ(GenericTextLimit("Pn401", 0, 100), 8);
    EXPECT_EQ(GenericTextLimit("onE05", 0, 100), 9);
    EXPECT_EQ(GenericTextLimit("onE10", 0, 100), 9);
    // 32-bit parameters outside the long list still fit their whole range.
    EXPECT_EQ(GenericTextLimit("Pn321", -2147483647, 2147483647), 11);
    EXPECT_EQ(GenericTextLimit("En720", 0, 2147483647), 10);
}

TEST(NumericRules, TypingDecimal) {
    // min <= 0: out-of-range values are put back at once.
    EXPECT_EQ(TypeDecimal("200", 7, -100, 100).revert, true);
    EXPECT_EQ(TypeDecimal("200", 7, -100, 100).value, 7);
    EXPECT_EQ(TypeDecimal("-50", 7, -100, 100).value, -50);
    EXPECT_FALSE(TypeDecimal("-", 7, -100, 100).revert);
    EXPECT_TRUE(TypeDecimal("99999999999", 7, -100, INT_MAX).revert);
    // min > 0: nothing is checked while typing.
    EXPECT_FALSE(TypeDecimal("0", 50, 1, 100).revert);
    EXPECT_EQ(TypeDecimal("0", 50, 1, 100).value, 0);
    EXPECT_EQ(TypeDecimal("9999999999", 50, 1, 100).value, 50);
}

TEST(NumericRules, TypingHex) {
    EXPECT_EQ(StripHexPrefix("0x0010"), "0010");
    EXPECT_EQ(TypeHexGeneric("0010", EntryMode::Hex4, 15, 0xFFFF).value, 16);
    // Above max puts the previous value back only when that one was in range.
    EXPECT_TRUE(TypeHexGeneric("0200", EntryMode::Hex4, 0x10, 0x100).revert);
    EXPECT_FALSE(TypeHexGeneric("0200", EntryMode::Hex4, 0x150, 0x100).revert);
    // Eight digits above 0x7FFFFFFF are refused rather than wrapped into range.
    EXPECT_TRUE(TypeHexGeneric("FFFFFFFF", EntryMode::Hex8, 5, 0x7FFFFFFF).revert);
    EXPECT_EQ(TypeHexGeneric("7FFFFFFF", EntryMode::Hex8, 5, 0x7FFFFFFF).value, 0x7FFFFFFF);
    EXPECT_TRUE(TypeHexAlarmMask("0200", 0x150, 0x100).revert);
}

TEST(NumericRules, OkVerdicts) {
    int v = 0;
    EXPECT_EQ(JudgeOk("Cn003", false, "0", 0, 1, 100, &v), OkVerdict::OutOfRange);
    EXPECT_EQ(JudgeOk("Cn003", false, "50", 50, 1, 100, &v), OkVerdict::Accept);
    EXPECT_EQ(v, 50);
    EXPECT_EQ(JudgeOk("Cn003", false, "", 0, 1, 100, &v), OkVerdict::NotInteger);
    EXPECT_EQ(JudgeOk("Cn003", false, "5a", 5, 1, 100, &v), OkVerdict::NotInteger);
    EXPECT_EQ(JudgeOk("Cn003", false, "4294967297", 1, 0, INT_MAX, &v), OkVerdict::OutOfRange);
    EXPECT_EQ(JudgeOk("Pn354", false, "0", 0, 5, 100, &v), OkVerdict::Accept);
    EXPECT_EQ(JudgeOk("Pn354", false, "3", 3, 5, 100, &v), OkVerdict::OutOfRange);
    EXPECT_EQ(JudgeOk("Cn082", true, "", 0x13, 0, 0xFFFF, &v), OkVerdict::Accept);
    EXPECT_EQ(v, 0x13);
}

TEST(NumericRules, AlarmBitToggle) {
    EXPECT_EQ(ToggleAlarmBit(0x0005, 2), 0x0001);
    EXPECT_EQ(ToggleAlarmBit(0x0001, 2), 0x0005);
    EXPECT_EQ(ToggleAlarmBit(0x10004, 2), 0x0000);
}

TEST(NumericRules, ControlModeChoices) {
    auto s7 = BuildControlModeChoices(7, 6, 0, 10);
    EXPECT_EQ(s7.entries, (std::vector<std::string>{"2", "6", "A"}));
    EXPECT_EQ(s7.selection, 1);
    EXPECT_EQ(ControlModeValue(7, 2, 0), 10);
    auto s3 = BuildControlModeChoices(3, 6, 0, 13);
    EXPECT_EQ(s3.rangeText, "6-D");
    EXPECT_EQ(s3.selection, 0);
    EXPECT_EQ(ControlModeValue(3, 0, 0), 13);
    EXPECT_EQ(ControlModeValue(5, 0, 0), 13);
    // Other series: entries min..max, the value's own entry selected, OK stores its number.
    auto s4 = BuildControlModeChoices(4, 3, 2, 12);
    EXPECT_EQ(s4.entries.front(), "2");
    EXPECT_EQ(s4.entries.back(), "C");
    EXPECT_EQ(s4.selection, 1);
    EXPECT_EQ(ControlModeValue(4, 4, 2), 6);
    EXPECT_FALSE(ControlModeValue(4, -1, 2));
    EXPECT_EQ(BuildControlModeChoices(4, 1, 2, 12).selection, -1);
    EXPECT_EQ(BuildControlModeChoices(4, 0, INT_MIN, INT_MAX).entries.size(),
              static_cast<std::size_t>(kMaxControlModeEntries));
}

TEST(NumericRules, RigidityLevels) {
    EXPECT_EQ(RigidityEntryOf(0x0105), 4);
    EXPECT_EQ(RigidityEntryOf(22), -1);
    EXPECT_EQ(RigidityEntryOf(0), -1);
    const auto five = RigidityGainsOf(5);
    EXPECT_EQ(five.pn310, 12);
    EXPECT_EQ(five.sn211, 12);
    EXPECT_EQ(five.sn212, 6000);
    EXPECT_EQ(five.cn034, 96);
    // Level 21 is the last row; levels outside 1..21 show row 1.
    EXPECT_EQ(RigidityGainsOf(21).cn034, 2000);
    EXPECT_EQ(RigidityGainsOf(22).sn212, 28000);
    EXPECT_EQ(RigidityGainsOf(0).pn310, 2);
}
