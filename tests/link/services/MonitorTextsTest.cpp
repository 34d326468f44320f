// The texts of the monitor windows, as tables of value and expected text.
#include "link/services/MonitorTexts.h"

#include <gtest/gtest.h>

namespace {

struct TextCase {
    int number;
    int value;
    const char* text;
};

TEST(MonitorTexts, DiagnosticsItems) {
    const TextCase cases[] = {
        {1, 0, "0: Torque(T)"},
        {1, 3, "3: Position(Pe)-Speed(S)"},
        {1, 4, "4: Speed(S)-Torque(T)"},
        {1, 8, "8: Position(Pi)-Torque(T)"},
        {1, 9, "9: Tool Turret Control Mode (Pt)"},
        {1, 10, "A: Position(Pi)-Position(Pe)"},
        {1, 11, "B: CANopen"},
        {1, 13, "D: EtherCAT"},
        {1, 14, "E: DIO CNC"},
        {1, 15, "F"},
        {1, 0x10, "10"},
        {2, 0x1A, "001AH"},
        {3, 0xFFFF, "FFFFH"},
        {4, 105, "A01.05"},
        {9, 0, "A00.00"},
        {14, 1234, "A12.34"},
        {8, 0x0202, "0202H"},
        {8, 0x12345, "2345H"}, // too long: the last five characters stay
        {5, 77, ""},
        {6, 1, ""},
        {13, 1, ""},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "dn" << c.number << " = " << c.value);
        EXPECT_EQ(DiagnosticsText(c.number, c.value), c.text);
    }
}

TEST(MonitorTexts, TerminalRows) {
    EXPECT_EQ(OutputBitRow(0), "00000000");
    EXPECT_EQ(OutputBitRow(0x81), "10000001");
    EXPECT_EQ(OutputBitRow(0x1FF05), "00000101"); // bits above R8 are not terminals
    EXPECT_EQ(InputBitRow(0x001), "000000000001");
    EXPECT_EQ(InputBitRow(0x400), "010000000000");
    EXPECT_EQ(InputBitRow(0xFFFF), "011111111111"); // the twelfth input is never on
    EXPECT_FALSE(InputTerminalOn(0xFFFF, 11));
    EXPECT_TRUE(OutputTerminalOn(0x80, 7));
}

struct RowCase {
    int index;
    int value;
    const char* text;
};

TEST(MonitorTexts, StatusListRows) {
    const RowCase cases[] = {
        {1009, 1234, "12.34"}, {1009, 5, "00.05"},     {1011, 123456, "1234.56"}, {1009, -5, "-00.05"},
        {1021, 0x1A, "001A"},  {1048, 0xBEEF, "BEEF"}, {1001, -300, "-300"},      {1020, 0x1A, "26"},
        {2013, 0x2F, "002F"},  {2028, 1, "0001"},      {2052, 0xABCD, "ABCD"},    {2001, 42, "42"},
        {2009, 1234, "1234"}, // onU09 is no version
    };
    for (const RowCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "index " << c.index << " = " << c.value);
        EXPECT_EQ(MonitorRowText(c.index, c.value), c.text);
    }
}

TEST(MonitorTexts, AlarmNumbers) {
    EXPECT_EQ(AlarmNumberText(0), "00");
    EXPECT_EQ(AlarmNumberText(5), "05");
    EXPECT_EQ(AlarmNumberText(999), "999");
}

} // namespace
