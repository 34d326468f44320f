// The program jog's checks and its jog mode word.
#include "tools/ProgramJogChecks.h"

#include <gtest/gtest.h>

TEST(PositionProgramJog, SpeedLimitAndRanges) {
    EXPECT_EQ(ProgramJogMaxSpeed(3000), 4500);
    EXPECT_EQ(ProgramJogMaxSpeed(2001), 3002);
    EXPECT_TRUE(OutOfRangeFields({5, 25000, 4500, 1}, 4500).empty());
    EXPECT_EQ(OutOfRangeFields({4, 5, 0, 0}, 4500), (std::vector<ProgramJogField>{JogStopTime, JogDistance}));
    EXPECT_EQ(OutOfRangeFields({5, 25001, 4501, 2001}, 4500),
              (std::vector<ProgramJogField>{JogAccelTime, JogSpeed, JogDistance}));
}

TEST(PositionProgramJog, ModeWordIsNeverGuessed) {
    EXPECT_EQ(JogDirectionWord(0x0031, 2), 0x0021);
    EXPECT_EQ(JogDirectionWord(0xFFFF, 0), 0xFF0F);
    EXPECT_EQ(JogDirectionWord(std::nullopt, 1), std::nullopt) << "unreadable: no write";
    EXPECT_EQ(JogDirectionWord(0x0031, -1), std::nullopt) << "no pattern chosen";
    EXPECT_EQ(JogArmedWord(0x0020), 0x0021);
    EXPECT_EQ(JogStoppedWord(0x0021), 0x0020);
    EXPECT_EQ(JogArmedWord(std::nullopt), std::nullopt);
    EXPECT_TRUE(IsLinearMotorWord(0x3000));
    EXPECT_TRUE(IsLinearMotorWord(0x4ABC));
    EXPECT_FALSE(IsLinearMotorWord(0x2000));
}
