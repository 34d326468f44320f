#include "catalogue/MotorTables.h"

#include <gtest/gtest.h>

#include <set>

TEST(MotorModelTable, EveryTypeCodeFindsItsRowAgain) {
    std::set<unsigned> seen;
    int total = 0;
    for (int group = 0; group < MotorGroupCount; ++group) {
        for (int row = 0; row < MotorModelRowsHeld(group); ++row) {
            const MotorModelRow* r = MotorModelTable(group, row);
            ASSERT_NE(r, nullptr);
            SCOPED_TRACE(r->typeCode);
            EXPECT_EQ(r->typeCode & 0xF, 0u);
            EXPECT_TRUE(seen.insert(r->typeCode).second) << "duplicate type code";
            // Any encoder nibble leads to the same place.
            for (unsigned enc : {0u, 1u, 13u}) {
                EXPECT_EQ(MotorCodeToGroup(r->typeCode + enc), group);
                EXPECT_EQ(MotorCodeToRow(r->typeCode + enc), row);
            }
            ++total;
        }
    }
    EXPECT_EQ(total, MotorTypeCodeCount);
}

TEST(MotorModelTable, OfferedRowsAndModelNumbering) {
    const int offered[MotorGroupCount] = {7, 11, 11, 12, 14, 11, 10, 8, 6, 5, 7, 4, 4, 6, 8, 7, 8, 8, 7, 3};
    for (int g = 0; g < MotorGroupCount; ++g)
        EXPECT_EQ(MotorModelCount(g), offered[g]) << g;
    EXPECT_EQ(MotorModelCount(-1), 0);
    EXPECT_EQ(MotorModelCount(20), 0);
    EXPECT_EQ(MotorModelRowsHeld(13), 14);

    MotorTables t;
    EXPECT_EQ(t.MotorModelAt(0, 0), "HBMQ - M001");
    EXPECT_EQ(t.MotorModelAt(13, 5), "HBMQ - M116");
    EXPECT_EQ(t.MotorModelAt(13, 10), "HBMQ - M121");
    EXPECT_EQ(t.MotorModelAt(13, 13), "HBMQ - M124");
    EXPECT_EQ(t.MotorModelAt(14, 0), "HBMQ - M125");
    EXPECT_EQ(t.MotorModelAt(19, 2), "HBMQ - M165");
    EXPECT_EQ(t.m_CapacityText, "15.0 kW");
    EXPECT_EQ(t.m_RatedSpeedText, "1500 rpm");
    EXPECT_EQ(t.m_RatedSpeed, 1500);
    EXPECT_EQ(t.m_MaxTorque, 220);
}

TEST(MotorCodeLookup, GroupAndRowEdges) {
    struct Case {
        unsigned code;
        int group;
        int row;
    } cases[] = {
        {0x1010, 0, 0},  {0x1FF0, 1, 0},  {0x1600, 1, 0},  {0x1C00, 1, 0}, // classes 6 and 12..15 fall to 1
        {0x1700, 6, 0},  {0x1B00, 10, 0}, {0x2300, 14, 0}, {0x2390, 14, 8}, {0x23D0, 14, 12},
        {0xE000, 11, 0}, {0xA0E0, 0, 1},  {0xA220, 2, 1},  {0x2280, 13, 7}, {0x5100, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(MotorCodeToGroup(c.code), c.group);
        EXPECT_EQ(MotorCodeToRow(c.code), c.row);
    }
}

TEST(MotorModelAt, RowsReachedOnlyThroughACode) {
    MotorTables t;
    // 0x2280 lies in the part of group 13 the list never offers.
    EXPECT_EQ(t.MotorModelAt(MotorCodeToGroup(0x2280), MotorCodeToRow(0x2280)), "HBMQ - XX");
    EXPECT_EQ(t.m_MotorTypeCode, 0x2280u);
    EXPECT_EQ(t.m_RatedSpeed, 3000);
    EXPECT_EQ(t.m_MaxTorque, 300);
    EXPECT_EQ(t.m_CapacityText, "");

    // 0x2390 maps past the rows group 14 holds.
    t.MotorModelAt(17, 7);
    EXPECT_EQ(t.m_RatedSpeed, 4500);
    EXPECT_EQ(t.MotorModelAt(MotorCodeToGroup(0x2390), MotorCodeToRow(0x2390)), "HBMQ-------");
    EXPECT_EQ(t.m_MotorTypeCode, 0u);
    EXPECT_EQ(t.m_RatedSpeedText, "");
    EXPECT_EQ(t.m_RatedSpeed, 3000);
    EXPECT_EQ(t.m_MaxTorque, 300);
    EXPECT_EQ(t.MotorModelAt(20, 0), "HBMQ-------");
    EXPECT_EQ(t.MotorModelAt(0, -1), "HBMQ-------");

    t.MotorModelAt(2, 5);
    EXPECT_EQ(t.m_RatedSpeed, 1000);
}

TEST(EncoderList, ItemsCodesAndIndexes) {
    MotorTables t;
    EXPECT_EQ(t.EncoderSpecAt(0), "B: 2500ppr Optical Type");
    EXPECT_EQ(t.m_EncoderCode, 1);
    EXPECT_EQ(t.m_EncoderText, "2500ppr Optical Type");
    EXPECT_EQ(t.EncoderSpecAt(6), "W: 23bit Communication Absolute Type");
    EXPECT_EQ(t.m_EncoderCode, 13);
    EXPECT_EQ(t.m_EncoderText, "23bit Communication Absolute Type");
    EXPECT_EQ(t.EncoderSpecAt(7), "--------------");
    EXPECT_EQ(t.m_EncoderCode, 0);
    EXPECT_EQ(t.m_EncoderText, "----- ------");

    const int expected[16] = {-1, 0, 1, -1, -1, 2, -1, 3, -1, -1, 4, -1, 5, 6, -1, -1};
    for (int nibble = 0; nibble < 16; ++nibble) {
        EXPECT_EQ(EncoderIndexOf(0x1150 + nibble), expected[nibble]) << nibble;
        if (expected[nibble] >= 0) {
            t.EncoderSpecAt(expected[nibble]);
            EXPECT_EQ(t.m_EncoderCode, nibble);
        }
    }
    EXPECT_EQ(MotorSupplyText(0x1010), "AC 200~230V");
    EXPECT_EQ(MotorSupplyText(0xE000), "AC 380~480V");
    EXPECT_EQ(MotorSupplyText(0x9000), "DC 24V");
    EXPECT_EQ(MotorSupplyText(0xA000), "DC 48V");
    EXPECT_EQ(MotorSupplyText(0xC000), "------");
}

TEST(ApplyMotorDefaults, SpeedsAndRangesFromRatedSpeed) {
    MotorTables t(3000, 131072, 300);
    t.ApplyMotorDefaults(0x1157, 3000);
    const WizardDefaultSet& d = t.m_CollectedDefaults;
    EXPECT_EQ(d.Cn[7 - 1], 1000);
    EXPECT_EQ(d.onC[14 - 1], 1000);
    EXPECT_EQ(d.Cn[61 - 1], 2000);
    EXPECT_EQ(d.tn[828 - 801], 2000);
    EXPECT_EQ(d.Sn[218 - 201], 3060);
    EXPECT_EQ(d.Tn[109 - 101], 3000);
    EXPECT_EQ(d.Sn[216 - 201], 3000);
    EXPECT_EQ(d.Cn[30 - 1], 0x1157);
    EXPECT_EQ(t.m_PageLimits.speedLimitForwardMax, 4500);
    EXPECT_EQ(t.m_PageLimits.speedLimitReverseMin, -4500);
    EXPECT_EQ(t.m_PageLimits.internalSpeedMin, -4500);
    EXPECT_EQ(t.m_PageLimits.internalSpeedMax, 4500);

    // A linear family keeps its rated speed as the limit.
    t.ApplyMotorDefaults(0x3150, 3000);
    EXPECT_EQ(d.Sn[218 - 201], 3000);
    EXPECT_EQ(t.m_PageLimits.internalSpeedMin, -3000);
    EXPECT_EQ(t.m_PageLimits.zeroSpeedMax, 3000);
    EXPECT_EQ(t.m_PageLimits.speedLimitForwardMax, 4500);

    // Odd speeds round the documented way.
    t.ApplyMotorDefaults(0x1157, 1000);
    EXPECT_EQ(d.Cn[7 - 1], 333);
    EXPECT_EQ(d.Cn[61 - 1], 667);
    EXPECT_EQ(d.Sn[218 - 201], 1020);
}

TEST(ApplyMotorDefaults, EncoderAndTorque) {
    struct Case {
        int nibble;
        int startResolution;
        int cn005;
        int resolution;
        bool absolute;
    } cases[] = {
        {1, 0, 2500, 10000, false},     {2, 0, 8192, 32768, false},        {5, 0, 8192, 32768, true},
        {7, 0, 32768, 131072, false},   {10, 0, 32768, 131072, true},      {12, 0, 32768, 8388608, false},
        {13, 0, 32768, 8388608, true},  {0, 131072, 32768, 131072, false}, {0, 262144, 32768, 262144, false},
        {3, 10000, 2500, 10000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nibble);
        MotorTables t(3000, c.startResolution, 250);
        t.ApplyMotorDefaults(0x1150 + c.nibble, 3000);
        const WizardDefaultSet& d = t.m_CollectedDefaults;
        EXPECT_EQ(d.Cn[5 - 1], c.cn005);
        EXPECT_EQ(t.m_EncoderResolution, c.resolution);
        EXPECT_EQ(d.Pn[307 - 301], c.resolution / 1000);
        EXPECT_EQ(t.m_AbsoluteEncoderMotor, c.absolute);
        EXPECT_EQ(d.Cn[31 - 1], c.absolute ? 0 : 256);
        EXPECT_EQ(t.m_PageLimits.pulsesPerRevMax, c.resolution);
        EXPECT_EQ(t.m_PageLimits.originOffsetMax, c.resolution - 1);
        EXPECT_EQ(d.Cn[10 - 1], 250);
        EXPECT_EQ(d.Cn[11 - 1], -250);
        EXPECT_EQ(d.Cn[56 - 1], 250);
        EXPECT_EQ(d.Cn[57 - 1], -250);
    }
}

TEST(ApplyMotorDefaults, CapacityClassTables) {
    struct Case {
        int code;
        int cn012, cn089, cn051, onC05, onC20, onC21;
    } cases[] = {
        {0x2250, 100, 750, 380, 1500, 750, 780}, {0x2350, 100, 500, 380, 1500, 750, 780},
        {0x2650, 200, 200, 380, 1500, 750, 780}, {0x2850, 0, 64, 380, 1500, 750, 780},
        {0xE900, 0, 0, 380, 1500, 750, 780},     {0x1450, 40, 250, 190, 150, 375, 390},
        {0x1550, 60, 200, 190, 150, 375, 390},   {0x1650, 0, 0, 190, 150, 375, 390},
        {0x1750, 60, 125, 190, 150, 375, 390},   {0x1A50, 200, 50, 190, 150, 375, 390},
        {0x1B50, 0, 32, 190, 150, 375, 390},     {0x1C50, 0, 0, 190, 150, 375, 390},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        MotorTables t;
        t.ApplyMotorDefaults(c.code, 3000);
        const WizardDefaultSet& d = t.m_CollectedDefaults;
        EXPECT_EQ(d.Cn[12 - 1], c.cn012);
        EXPECT_EQ(d.Cn[89 - 1], c.cn089);
        EXPECT_EQ(d.Cn[51 - 1], c.cn051);
        EXPECT_EQ(d.onC[5 - 1], c.onC05);
        EXPECT_EQ(d.onC[20 - 1], c.onC20);
        EXPECT_EQ(d.onC[21 - 1], c.onC21);
    }
}

TEST(MotorSummary, ModelEncoderAndMotorCode) {
    MotorTables t;
    t.UpdateMotorSummary(0, 0, 0);
    EXPECT_EQ(t.m_ModelName, "HBMQ - M001B");
    EXPECT_EQ(t.m_MotorCode, 0x1011u);
    EXPECT_EQ(t.m_Cn030Text, "H1011");
    EXPECT_EQ(t.m_SupplyText, "AC 200~230V");

    // A motor code whose encoder kind is not in the list selects no encoder.
    t.UpdateMotorSummary(MotorCodeToGroup(0x2253), MotorCodeToRow(0x2253), EncoderIndexOf(0x2253));
    EXPECT_EQ(t.m_ModelName, "HBMQ - M116-");
    EXPECT_EQ(t.m_EncoderText, "----- ------");
    EXPECT_EQ(t.m_MotorCode, 0x2250u);
    EXPECT_EQ(t.m_SupplyText, "AC 380~480V");
}
