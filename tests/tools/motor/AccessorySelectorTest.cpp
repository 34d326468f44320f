// The accessory rules: the six motor groups with their selectors and the list they give.
#include "tools/AccessorySelector.h"
#include "MotorTestStrings.h"

#include "framework/core/ResourceModule.h"

#include <gtest/gtest.h>

#include <map>

namespace {

class AccessorySelector : public WithProgramStrings {
protected:
    // Part number by row for a motor and encoder.
    static std::map<int, std::string> Parts(unsigned typeCode, int encoderCode) {
        std::map<int, std::string> parts;
        for (const AccessoryListRow& row : AccessoryList(SelectAccessories(typeCode, encoderCode)))
            parts[row.row] = row.partNumber;
        return parts;
    }
};

TEST_F(AccessorySelector, GroupsOfEveryTypeCode) {
    // Each group's codes, written out once more from the table, with its rows 1, 2, 3, 4, 5, 8.
    struct Group {
        std::vector<unsigned> codes;
        std::array<int, 6> selectors;
    } groups[6] = {
        {{0x1010, 0x1050, 0x1020, 0x1060, 0x1070, 0x1080, 0x1090, 0x1110, 0x11F0, 0x5100, 0x1130, 0x1190,
          0x11A0, 0x1120, 0x1140, 0x1150, 0x11D0, 0x11E0, 0x1220, 0x1260, 0x1200, 0x5200, 0x12F0, 0x1230,
          0x12D0, 0x1210, 0x12E0, 0x1310, 0x13B0, 0x13C0, 0x2010, 0x2020, 0x2030, 0x2040, 0x2110, 0x2120},
         {1, 0, 1, 0, 0, 1}},
        {{0x1240, 0x1250, 0x13E0, 0x1320, 0x1340, 0x1330, 0x1350, 0x13F0, 0x5310, 0x5320, 0x13A0, 0x1440,
          0x1400, 0x1410, 0x1420, 0x1430, 0x1450, 0x1460, 0x1470, 0x5410, 0x5420, 0x5430, 0x5460, 0x5440,
          0x5450, 0x15B0, 0x15D0, 0x5510, 0x15C0, 0x15E0, 0x1510, 0x1520, 0x1530, 0x5520, 0x1540, 0x1550,
          0x1740, 0x1750, 0x5710, 0x1730, 0x1710, 0x1720, 0x2130, 0x2140, 0x2260, 0x2210, 0x2220, 0x2270,
          0x2230, 0x2250, 0x2370, 0x2320, 0x2380, 0x2310, 0x2340, 0x2330, 0x2410, 0x2400, 0x2490, 0x25C0},
         {2, 1, 2, 1, 0, 2}},
        {{0x1760, 0x1850, 0x2360, 0x2440}, {4, 0, 0, 0, 1, 2}},
        {{0x1770, 0x1780, 0x1790, 0x2350}, {8, 0, 3, 0, 1, 2}},
        {{0x1830, 0x18D0, 0x1820, 0x1860, 0x1870, 0x18B0, 0x1840, 0x1930, 0x1940, 0x1920, 0x1950,
          0x19B0, 0x19C0, 0x1A30, 0x1A10, 0x1A60, 0x1B80, 0x2450, 0x2420, 0x2460, 0x2500, 0x2570,
          0x2520, 0x2510, 0x2580, 0x2530, 0x2590, 0x2650, 0x26B0, 0x2660, 0x2610, 0x2690},
         {3, 0, 3, 0, 1, 2}},
        {{0x1A50, 0x1A70, 0x1B50, 0x1B10, 0x1BC0, 0x1B70, 0x1B20, 0x1BB0, 0x2670, 0x26A0, 0x26E0,
          0x2710, 0x2720, 0x2780, 0x27B0, 0x27C0, 0x2730, 0x27A0, 0x2860, 0x2810, 0x2850},
         {5, 0, 3, 0, 1, 2}},
    };
    const int rows[6] = {1, 2, 3, 4, 5, 8};
    for (int g = 0; g < 6; ++g) {
        for (unsigned code : groups[g].codes) {
            EXPECT_EQ(AccessoryGroupOf(code | 0x7), g) << std::hex << code;
            const AccessorySelectors selectors = SelectAccessories(code, 1);
            for (int i = 0; i < 6; ++i)
                EXPECT_EQ(selectors[static_cast<size_t>(rows[i])],
                          groups[g].selectors[static_cast<size_t>(i)])
                    << std::hex << code << " row " << rows[i];
            for (int row : {9, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20})
                EXPECT_EQ(selectors[static_cast<size_t>(row)], 1) << std::hex << code << " row " << row;
            EXPECT_EQ(selectors[6], g == 0 ? 6 : 7) << "optical";
            EXPECT_EQ(SelectAccessories(code, 12)[6], g == 0 ? 1 : 2) << "communication incremental";
            EXPECT_EQ(SelectAccessories(code, 13)[7], g == 0 ? 1 : 2) << "absolute";
            EXPECT_EQ(SelectAccessories(code, 13)[10], 1) << "battery";
        }
    }
    EXPECT_EQ(AccessoryGroupOf(0x1000), -1);
    EXPECT_EQ(SelectAccessories(0, 10), AccessorySelectors{});
}

TEST_F(AccessorySelector, ListsOfTheExamples) {
    auto withB = Parts(0x1010, 1);
    EXPECT_EQ(withB[1], "HBAX-P001 ~ 010");
    EXPECT_EQ(withB[3], "HBAX-P008");
    EXPECT_EQ(withB[6], "HBAX-P015 ~ 010");
    EXPECT_EQ(withB.count(7), 0u);
    EXPECT_EQ(withB.count(10), 0u);
    EXPECT_EQ(withB[9], "HBAX-P021") << "row 9 follows row 8";

    auto withA = Parts(0x1010, 10);
    EXPECT_EQ(withA[7], "HBAX-P017 ~ 010");
    EXPECT_EQ(withA[10], "HBAX-P022");
    EXPECT_EQ(withA.count(6), 0u);

    auto brake = Parts(0x1760, 1);
    EXPECT_EQ(brake.count(3), 0u) << "no power connector";
    EXPECT_EQ(brake[5], "HBAX-P012");

    const std::vector<AccessoryListRow> none = AccessoryList(SelectAccessories(0, 1));
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].row, 1);
    EXPECT_EQ(none[0].partNumber, "");
    EXPECT_EQ(none[0].name, "Motor Power Cable");
}

} // namespace
