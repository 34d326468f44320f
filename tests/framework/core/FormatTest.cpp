#include "framework/core/Format.h"

#include <clocale>
#include <gtest/gtest.h>
#include <limits>

TEST(Format, FormatsShortAndLongTexts) {
    EXPECT_EQ(Format("%.3d_%.3d.trd", 7, 12), "007_012.trd");
    EXPECT_EQ(Format("%04X", 0xBEEF), "BEEF");
    std::string longText(1000, 'z');
    EXPECT_EQ(Format("[%s]", longText.c_str()), "[" + longText + "]");
}

TEST(Format, SubstringsClipTheirIndexes) {
    EXPECT_EQ(Left("Cn025", 2), "Cn");
    EXPECT_EQ(Left("Cn", 9), "Cn");
    EXPECT_EQ(Left("Cn", -1), "");
    EXPECT_EQ(Right("Cn025", 3), "025");
    EXPECT_EQ(Right("Cn", 5), "Cn");
    EXPECT_EQ(Mid("Cn025", 2), "025");
    EXPECT_EQ(Mid("Cn025", 9), "");
    EXPECT_EQ(Mid("Cn025", -3, 2), "Cn");
    EXPECT_EQ(Mid("Cn025", 3, 99), "25");
    EXPECT_EQ(Find("ttyUSB0 : USB", ":"), 8);
    EXPECT_EQ(Find("abc", "c", 99), -1);
    EXPECT_EQ(ReverseFindChar("a.b.c", '.'), 3);
}

TEST(Format, TrimCaseReplaceSplit) {
    EXPECT_EQ(Trim(" \t x y \r\n"), "x y");
    EXPECT_EQ(ToUpper("ttyUSB0.trd"), "TTYUSB0.TRD");
    EXPECT_EQ(ToLower("ABC-1"), "abc-1");
    std::string text = "a--b--c";
    EXPECT_EQ(Replace(text, "--", "-"), 2);
    EXPECT_EQ(text, "a-b-c");
    EXPECT_EQ(Replace(text, "", "x"), 0);
    EXPECT_EQ(Split("1,,2", ','), (std::vector<std::string>{"1", "", "2"}));
    EXPECT_EQ(Split("", ','), (std::vector<std::string>{""}));
}

TEST(Format, WholeTextParsesRefuseJunkAndOverflow) {
    struct Case {
        const char* text;
        int base;
        std::optional<int> value;
    };
    const Case cases[] = {
        {"42", 10, 42},
        {" -17 ", 10, -17},
        {"+5", 10, 5},
        {"2147483647", 10, std::numeric_limits<int>::max()},
        {"-2147483648", 10, std::numeric_limits<int>::min()},
        {"2147483648", 10, {}},
        {"99999999999999999999999", 10, {}},
        {"12a", 10, {}},
        {"", 10, {}},
        {"-", 10, {}},
        {"0x1F", 16, 31},
        {"ff", 16, 255},
        {"0x", 16, {}},
        {"1 2", 10, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseInt(c.text, c.base), c.value) << c.text;
    EXPECT_EQ(ParseHex32("FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseHex32("100000000"), std::nullopt);
    const struct {
        const char* text;
        std::optional<std::int64_t> value;
    } wide[] = {
        {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
        {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
        {"9223372036854775808", {}},
        {"-9223372036854775809", {}},
        {"-99999999999999999999", {}},
    };
    for (const auto& c : wide)
        EXPECT_EQ(ParseInt64(c.text), c.value) << c.text;
    EXPECT_EQ(ParseInt64("-8000000000000000", 16), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(ParseInt64("-8000000000000001", 16), std::nullopt);

    EXPECT_EQ(ParseDouble(" 1.5 "), 1.5);
    EXPECT_EQ(ParseDouble("+2.5"), 2.5);
    EXPECT_EQ(ParseDouble("-2.5"), -2.5);
    for (const char* junk : {"1,5", "+-5", "++5", "-+5", "--5", "+", ""})
        EXPECT_EQ(ParseDouble(junk), std::nullopt) << junk;
}

TEST(Format, LeadingNumberParsesStopAtJunkAndClamp) {
    EXPECT_EQ(AtoI("  12abc"), 12);
    EXPECT_EQ(AtoI("abc"), 0);
    EXPECT_EQ(AtoI("-99999999999999"), std::numeric_limits<int>::min());
    EXPECT_EQ(AtoI("99999999999999"), std::numeric_limits<int>::max());
    EXPECT_EQ(HexToU32("0x1a2B;"), 0x1A2Bu);
    EXPECT_EQ(HexToU32("123456789ABC"), 0xFFFFFFFFu);
}

TEST(Format, NumericLocaleCKeepsTheDecimalPoint) {
    SetNumericLocaleC();
    EXPECT_EQ(Format("%.2f", 1.5), "1.50");
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
}
