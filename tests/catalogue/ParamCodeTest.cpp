#include "catalogue/ParamCode.h"

#include <gtest/gtest.h>

namespace {

TEST(ParamCode, EveryIndexOfEveryGroupRoundTrips) {
    for (int g = 0; g < ParamGroupCount; ++g) {
        const ParamGroupInfo& info = ParamGroupTable(static_cast<ParamGroup>(g));
        ASSERT_EQ(info.base, g * 100);
        for (int n = 1; n <= info.count; ++n) {
            const int index = ParamIndexOf(info.group, n);
            const std::string code = ParamCodeFromIndex(index);
            ASSERT_GE(code.size(), g == GroupAL ? 4u : 5u) << index;
            EXPECT_EQ(ParamIndexFromCode(code), index) << code;
            EXPECT_EQ(ParamNumber(code), n) << code;
            EXPECT_EQ(ParamGroupLetter(code), info.letter) << code;
        }
    }
}

TEST(ParamCode, CodeToIndex) {
    const struct {
        const char* code;
        int index;
    } cases[] = {
        {"Cn05", -1},
        {"", -1},
        {"Xx123", 0},
        {"Cn000", 0},
        {"Cn025", 25},
        {"Tn105", 105},
        {"Sn229", 229},
        {"Pn305", 305},
        {"Pn412", 412},
        {"FnL12", 412},
        {"FnC05", 5},
        {"FnP05", 305},
        {"FnU03", 1003},
        {"qn507", 507},
        {"Hn624", 624},
        {"En705", 705},
        {"EC905", 905},
        {"tn863", 863},
        {"Err03", 1203},
        {"AL03", 1203},
        {"AL3", -1},
        {"Un-05", 1005},
        {"dn-05", 1105},
        {"onT24", 1324},
        {"onS18", 1418},
        {"ond02", 1502},
        {"onC07", 1607},
        {"ono26", 1726},
        {"onA38", 1838},
        {"onE17", 1917},
        {"onU48", 2048},
        {"onX07", 0},
        {"MAb16", 2116},
        // Only leading digits count, as a text-to-integer conversion reads them; no sign is taken.
        {"Cn0-5", 0},
        {"Cn05x", 5},
        {"Pn4x2", 4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParamIndexFromCode(c.code), c.index) << c.code;
}

TEST(ParamCode, IndexToCode) {
    const struct {
        int index;
        const char* code;
    } cases[] = {
        {25, "Cn025"},  {412, "Pn412"},  {900, "EC900"},  {1005, "Un-05"}, {1105, "dn-05"},
        {1203, "AL03"}, {1607, "onC07"}, {2105, "MAb05"}, {2205, ""},      {-1, ""},
        {-5, ""},       {-100, ""},      {2199, "MAb99"}, {2200, ""},      {999999, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParamCodeFromIndex(c.index), c.code) << c.index;
}

TEST(ParamCode, ShortCodesNeverReadOutOfBounds) {
    EXPECT_EQ(ParamGroupLetter(""), '\0');
    EXPECT_EQ(ParamNumber(""), 0);
    EXPECT_EQ(ParamNumber("7"), 0);
    EXPECT_EQ(ParamNumber("07"), 7);
    EXPECT_EQ(ParamText("Cn025"), "Cn025");
}

TEST(ParamCode, DocumentParametersAndDefinedListGroups) {
    EXPECT_TRUE(IsDocumentParameterIndex(1));
    EXPECT_TRUE(IsDocumentParameterIndex(2116));
    EXPECT_FALSE(IsDocumentParameterIndex(0));
    EXPECT_FALSE(IsDocumentParameterIndex(119));  // beyond Tn118
    EXPECT_FALSE(IsDocumentParameterIndex(1005)); // monitor item
    EXPECT_FALSE(IsDocumentParameterIndex(2001)); // onU is monitor data
    EXPECT_FALSE(IsDocumentParameterIndex(-3));
    for (int g = 0; g < ParamGroupCount; ++g) {
        const int id = DefiniteGroupId(static_cast<ParamGroup>(g));
        if (id != 0) {
            EXPECT_EQ(ParamGroupFromDefiniteId(id), g);
        }
    }
    EXPECT_EQ(DefiniteGroupId(GroupPn4), 8);
    EXPECT_EQ(DefiniteGroupId(GroupMAb), 12);
    EXPECT_EQ(DefiniteGroupId(GrouponC), 0);
    EXPECT_EQ(ParamGroupFromDefiniteId(7), -1);
}

} // namespace
