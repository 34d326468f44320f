// The page order of the three reference-input chains, forwards and backwards.
#include "wizard/ReferenceChains.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

std::vector<int> WalkForward(int controlMode, const ReferenceChoices& choices) {
    std::vector<int> pages{FirstReferencePage(controlMode, choices)};
    while (int next = NextReferencePage(pages.back(), choices)) {
        pages.push_back(next);
        if (pages.size() > 40)
            break; // a loop would otherwise never end
    }
    return pages;
}

std::vector<int> WalkBack(int from, const ReferenceChoices& choices) {
    std::vector<int> pages{from};
    while (int previous = PreviousReferencePage(pages.back(), choices)) {
        pages.push_back(previous);
        if (pages.size() > 40)
            break;
    }
    return pages;
}

struct ChainCase {
    const char* what;
    int controlMode;
    ReferenceChoices choices;
    std::vector<int> pages;
};

ReferenceChoices Choices(void (*set)(ReferenceChoices&)) {
    ReferenceChoices c;
    set(c);
    return c;
}

TEST(RefChains, EachChainForwardAndTheSameWayBack) {
    const ChainCase cases[] = {
        {"position, pulses per revolution, homing off",
         PositionMode,
         {},
         {40, 41, 42, 43, 44, 46, 47, 48, 49, 55, 56}},
        {"position, electronic gear",
         PositionMode,
         Choices([](ReferenceChoices& c) { c.gearMethod = 1; }),
         {40, 41, 42, 43, 45, 46, 47, 48, 49, 55, 56}},
        {"homing once by method 5 skips 50, 51 and 53",
         PositionMode,
         Choices([](ReferenceChoices& c) {
             c.homeStartMode = 1;
             c.homeMethod = 5;
         }),
         {40, 41, 42, 43, 44, 46, 47, 48, 49, 52, 54, 55, 56}},
        {"homing by Pn317 with reference 7 shows the torque origin page",
         PositionMode,
         Choices([](ReferenceChoices& c) {
             c.homeStartMode = 2;
             c.homeReference = 7;
         }),
         {40, 41, 42, 43, 44, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56}},
        {"reference 3 skips it",
         PositionMode,
         Choices([](ReferenceChoices& c) {
             c.homeStartMode = 1;
             c.homeReference = 3;
         }),
         {40, 41, 42, 43, 44, 46, 47, 48, 49, 50, 51, 52, 54, 55, 56}},
        {"speed without acceleration", SpeedMode, {}, {31, 32, 33, 37}},
        {"speed, S-curve",
         SpeedMode,
         Choices([](ReferenceChoices& c) { c.speedAccelMethod = 3; }),
         {31, 32, 33, 36, 37}},
        {"speed on a drive without analog input",
         SpeedMode,
         Choices([](ReferenceChoices& c) {
             c.noAnalogInput = true;
             c.speedAccelMethod = 1;
         }),
         {32, 33, 34, 37}},
        {"torque, analog, speed limits by SPD1/SPD2", TorqueMode, {}, {60, 62, 63, 64, 68, 69, 71, 72}},
        {"torque, digital, linear accel, limits by Tn114/Tn115",
         TorqueMode,
         Choices([](ReferenceChoices& c) {
             c.torqueSource = 1;
             c.torqueAccelMethod = 2;
             c.limitSwitching = 1;
         }),
         {60, 63, 64, 66, 68, 69}},
        {"torque without analog input skips 71",
         TorqueMode,
         Choices([](ReferenceChoices& c) {
             c.noAnalogInput = true;
             c.torqueAccelMethod = 3;
         }),
         {60, 62, 63, 64, 67, 68, 69, 72}},
    };
    for (const ChainCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<int> forward = WalkForward(c.controlMode, c.choices);
        EXPECT_EQ(c.pages, forward);
        std::vector<int> back = WalkBack(forward.back(), c.choices);
        std::reverse(back.begin(), back.end());
        EXPECT_EQ(c.pages, back);
        EXPECT_TRUE(IsLastReferencePage(forward.back(), c.choices));
        EXPECT_FALSE(IsLastReferencePage(forward.front(), c.choices));
    }
}

TEST(RefChains, PagesThatCheckBeforeLeaving) {
    std::vector<int> checked;
    for (int code = 30; code <= 79; ++code) {
        if (ReferencePageHasCheck(code))
            checked.push_back(code);
    }
    EXPECT_EQ((std::vector<int>{31, 32, 34, 35, 36, 37, 42, 44, 45, 46, 47, 49, 52,
                                53, 55, 56, 60, 62, 63, 65, 66, 67, 68, 69, 71, 72}),
              checked);
}

} // namespace
