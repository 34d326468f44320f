// The shared input rules of the tuning windows.
#include "tuning/TuningInputs.h"

#include <gtest/gtest.h>

TEST(TuningInputs, GuardTakesWholeNumbersOnly) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"120", 120},
        {"", 0},
        {"-", 0},
        {"-500", -500},
        {"0012", 12},
        {"12a", std::nullopt},
        {"1.5", std::nullopt},
        {" 7", std::nullopt},
        {"--1", std::nullopt},
        {"99999999999", std::nullopt}, // beyond 32 bits: refused, never wrapped
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(GuardedEntry(text), expected) << '"' << text << '"';
}

TEST(TuningInputs, RefusedKeystrokeMovesTheCaretBackOnePlace) {
    EXPECT_EQ(SelectionAfterRefusal({3, 3}).start, 2);
    EXPECT_EQ(SelectionAfterRefusal({3, 3}).end, 2);
    EXPECT_EQ(SelectionAfterRefusal({0, 0}).start, 0);
}

TEST(TuningInputs, SpeedMaximumAndLinearMotors) {
    EXPECT_EQ(JogSpeedMaximum(3000), 4500);
    EXPECT_EQ(JogSpeedMaximum(2000), 3000);
    EXPECT_EQ(JogSpeedMaximum(1), 2);
    EXPECT_EQ(RangeText(0, 4500), "(0~4500)");
    for (int word : {0x3000, 0x4FFF})
        EXPECT_TRUE(IsLinearMotorWord(word)) << word;
    for (int word : {0x0000, 0x2FFF, 0x5000, 0x0003})
        EXPECT_FALSE(IsLinearMotorWord(word)) << word;
}
