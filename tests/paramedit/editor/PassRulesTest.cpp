// The pure rules of the passes: range test, cell parsing, Cn008 digits, Modbus addresses, the
// remembered display values.
#include "catalogue/DocumentGlobals.h"
#include "catalogue/KeloServoDoc.h"
#include "catalogue/RegisterMap.h"
#include "paramedit/ParaEditState.h"
#include "paramedit/ParamPassRules.h"

#include <gtest/gtest.h>

TEST(PassRules, RangeTestByFormat) {
    SeriesCode = 4;
    CKeloServoDoc doc;
    const CatalogueContext context = doc.Context();
    *doc.FindMinimum("Hn601") = 0x0110;
    *doc.FindMaximum("Hn601") = 0x01F0;
    *doc.FindMinimum("Cn002") = 0x0000;
    *doc.FindMaximum("Cn002") = 0x1011;
    *doc.FindMinimum("Cn025") = 0;
    *doc.FindMaximum("Cn025") = 2000;
    *doc.FindMinimum("Cn030") = 0;
    *doc.FindMaximum("Cn030") = 1;
    struct Case {
        const char* code;
        int value;
        bool inRange;
    } cases[] = {
        {"Hn601", 0x0280, true}, // pins compare their low byte only
        {"Hn601", 0x0105, false},
        {"Cn002", 0x0020, false}, // digit by digit: the second digit may only be 0
                                  // or 1
        {"Cn002", 0x1011, true},
        {"Cn002", 0x0011, true},
        {"Cn025", 2000, true},
        {"Cn025", 2001, false},
        {"Cn025", -1, false},
        {"Cn030", 0x1157, true}, // the motor code always passes
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValueInRange(c.code, c.value, doc, context), c.inRange) << c.code << " " << c.value;
}

TEST(PassRules, CellTextBecomesTheValueSent) {
    EXPECT_EQ(ParseCellValue("00A1", true), 0xA1);
    EXPECT_EQ(ParseCellValue("FFFFFFFB", true), -5);
    EXPECT_EQ(ParseCellValue("-5", false), -5);
    EXPECT_EQ(ParseCellValue("12x", false), std::nullopt);
    EXPECT_EQ(ParseCellValue("0G", true), std::nullopt);
    EXPECT_EQ(ParseCellValue("", true), std::nullopt);
    EXPECT_EQ(ParseCellValue("123456789", true), std::nullopt);
}

TEST(PassRules, Cn008Digits) {
    EXPECT_EQ(Cn008FromDrive(0x1236), 0x34);
    EXPECT_EQ(Cn008FromDrive(0x17), 0x15);
    EXPECT_EQ(Cn008FromDrive(0x12), 0x12);
    EXPECT_EQ(Cn008MakerValue(0x1230, 4), 0x1206);
    EXPECT_EQ(Cn008MakerValue(0x1230, 5), 0x1207);
    EXPECT_EQ(Cn008MakerValue(0x1230, 2), 0x1202);
    EXPECT_EQ(Cn008ModbusValue(0x1230, 4), 6);
    EXPECT_EQ(Cn008ModbusValue(0x1230, 9), 7);
    EXPECT_EQ(Cn008ModbusValue(0x1232, 1), 0x1231);
    EXPECT_EQ(Cn008ModbusValue(0x1231, 3), 0x1233);
}

TEST(PassRules, ModbusAddressOnlyForParametersWithTheirOwnRegister) {
    EXPECT_TRUE(ModbusParameterAddress("Cn025").has_value());
    EXPECT_TRUE(ModbusParameterAddress("Pn310").has_value());
    for (const char* code : {"Pn401", "EC901", "tn826", "onC11", "MAb01", "Pn302"})
        EXPECT_FALSE(ModbusParameterAddress(code).has_value()) << code;
}

TEST(PassRules, SelectAllExclusions) {
    for (const char* code : {"Cn030", "onC18", "onA05", "onC29"})
        EXPECT_TRUE(IsSelectAllExcluded(code)) << code;
    for (const char* code : {"Cn025", "onC19", "on"})
        EXPECT_FALSE(IsSelectAllExcluded(code)) << code;
    EXPECT_FALSE(IsNewerGroupCode("on"));
    EXPECT_TRUE(IsNewerGroupCode("onS06"));
}

TEST(PassRules, DisplayValuesRoundTrip) {
    EditorDisplaySet set;
    set.mode = DisplayControlModes;
    set.groups[ShowAll] = 0;
    set.groups[ShowSpeed] = 0;
    set.modes[ModeTorque] = 0;
    set.mask = ModeBitSpeed | ModeBitInternal;
    std::array<int, DisplayValueCount> values{};
    DisplaySetToValues(set, 3, values);
    EXPECT_EQ(values[13], static_cast<int>(ModeBitSpeed | ModeBitInternal));
    EditorDisplaySet back;
    int tab = 0;
    DisplaySetFromValues(values, back, tab);
    EXPECT_EQ(tab, 3);
    EXPECT_EQ(back.mode, set.mode);
    EXPECT_EQ(back.groups, set.groups);
    EXPECT_EQ(back.modes, set.modes);
    EXPECT_EQ(back.mask, set.mask);

    values[0] = 7; // a hand-edited file
    DisplaySetFromValues(values, back, tab);
    EXPECT_EQ(back.mode, DisplayGroups);
}
