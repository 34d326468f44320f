#include "valueedit/ValueText.h"

#include <gtest/gtest.h>

#include <climits>

TEST(ValueText, HexAndDecimalSums) {
    struct Case {
        const char* text;
        int hex;
        int dec;
    };
    const Case cases[] = {
        {"", 0, 0},
        {"7FFF", 32767, 7 * 1000 + 15 * 100 + 15 * 10 + 15},
        {"G1", -15, -9},
        {"0105", 0x105, 105},
        {"1A", 26, 20},
        {"a", 10, 10},
        // Beyond 32 bits the sums wrap modulo 2^32 instead of overflowing.
        {"FFFFFFFF", -1, 166666665},
        {"100000000", 0, 100000000},
        {"4294967296", -1802079594, 0},
        {"99999999999", -1717986919, 1215752191},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HexToInt(c.text), c.hex) << c.text;
        EXPECT_EQ(DecToInt(c.text), c.dec) << c.text;
    }
}

TEST(ValueText, IsIntegerText) {
    for (const char* yes : {"", "-", "0", "-12", "0042"})
        EXPECT_TRUE(IsIntegerText(yes)) << yes;
    for (const char* no : {"1-", "--1", "1a", " 1", "+1", "1.5"})
        EXPECT_FALSE(IsIntegerText(no)) << no;
}

TEST(ValueText, DecimalEntryReadsPrefixAndRefusesOverflow) {
    EXPECT_EQ(ParseDecimalEntry(""), 0);
    EXPECT_EQ(ParseDecimalEntry("-"), 0);
    EXPECT_EQ(ParseDecimalEntry("12ab"), 12);
    EXPECT_EQ(ParseDecimalEntry("-2147483648"), INT_MIN);
    EXPECT_EQ(ParseDecimalEntry("2147483647"), INT_MAX);
    EXPECT_FALSE(ParseDecimalEntry("2147483648"));
    EXPECT_FALSE(ParseDecimalEntry("9999999999"));
    EXPECT_FALSE(ParseDecimalEntry("-99999999999999999999999"));

    int value = 0;
    EXPECT_EQ(CheckDecimalText("-", &value), EntryCheck::NotInteger);
    EXPECT_EQ(CheckDecimalText("", &value), EntryCheck::NotInteger);
    EXPECT_EQ(CheckDecimalText("12x", &value), EntryCheck::NotInteger);
    EXPECT_EQ(CheckDecimalText("4294967296", &value), EntryCheck::TooLarge);
    EXPECT_EQ(CheckDecimalText("-42", &value), EntryCheck::Ok);
    EXPECT_EQ(value, -42);
}
