// The rules of the wizard's write: the Cn008 and Cn002 forms, the range check before sending.
#include "wizard/WizardWritePlan.h"

#include <gtest/gtest.h>

namespace {

TEST(WizardWritePlan, Cn008TravelsInTheDrivesNumbering) {
    struct Case {
        int collected, drive, sent;
    };
    const Case cases[] = {
        {0x0014, 0x1234, 0x1216}, // brake mode 4 travels as 6, the drive keeps its high byte
        {0x0035, 0x0000, 0x0037}, // 5 as 7, the forced action digit kept
        {0x0F05, 0x0000, 0x0007}, // ... and the collected bits above it dropped in those two cases
        {0x0003, 0xAB00, 0xAB03}, // other modes go as they are
        {0x0102, 0x0200, 0x0302},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Cn008ToSend(c.collected, c.drive), c.sent) << std::hex << c.collected;
}

TEST(WizardWritePlan, Cn002AndTheControlModeRegister) {
    EXPECT_TRUE(Cn002MaySend(0x0110, 0x0010));
    EXPECT_FALSE(Cn002MaySend(0x0011, 0x0010));
    EXPECT_TRUE(ControlModeNeedsWrite(2, 1, true));
    EXPECT_FALSE(ControlModeNeedsWrite(1, 1, true));
    EXPECT_FALSE(ControlModeNeedsWrite(2, 1, false));
}

TEST(WizardWritePlan, TheWholeListIsCheckedAndCodesOutsideTheSeriesAreSkipped) {
    const std::vector<WizardEntry> list = {{"Cn001", 1}, {"Cn031", 99}, {"Cn012", 5}, {"Cn089", -1}};
    const auto inSeries = [](std::string_view code) { return code != "Cn031"; };
    const auto inRange = [](std::string_view, int value) { return value >= 0 && value <= 10; };
    EXPECT_EQ(FirstOutOfRange(list, inSeries, inRange), std::optional<size_t>(3));
    EXPECT_EQ(FirstOutOfRange({list.begin(), list.begin() + 3}, inSeries, inRange), std::nullopt);
}

} // namespace
