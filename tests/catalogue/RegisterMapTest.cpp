#include "catalogue/RegisterMap.h"
#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamCode.h"
#include "framework/core/MessageSeam.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(RegisterMap, AddressesOfCodes) {
    const struct {
        const char* code;
        int address;
    } cases[] = {
        {"Cn001", 0x0001},          {"Cn025", 0x001C}, {"Cn041", 0x002C},
        {"Cn043", 0x002E},          {"Tn118", 0x0112}, {"Sn226", 0x021A},
        {"Pn301", 0x0301},          {"Pn303", 0x0304}, {"Pn385", 0x0300 + 85 + 16},
        {"qn507", 0x0407},          {"Hn624", 0x0518}, {"Pn401", 0x0701},
        {"Pn498", 0x0782},          {"Pn499", 0x0783}, {"EC934", 0x0800 + 34 + 12},
        {"onT04", 0x0905},          {"onC69", 0x0C45}, {"dn-04", 0x0F04},
        {"onE17", 0x1000 + 17 + 7}, {"onU48", 0x113B}, {"tn826", 0x131A},
        {"En701", 0x1401},          {"En702", 0x1403}, {"MAb01", 0x1901},
        {"MAb16", 0x191F},          {"AL01", 0x1711},  {"AL02", 0x1201},
        {"AL10", 0x1209},           {"Un-01", 0x0601}, {"Un-08", 0x0609},
        {"Un-09", 0x060B},          {"Un-97", 0x066E},
    };
    for (const auto& c : cases) {
        auto address = ParamCodeRegisterAddress(c.code);
        ASSERT_TRUE(address.has_value()) << c.code;
        EXPECT_EQ(*address, c.address) << c.code;
    }
}

TEST(RegisterMap, UnmappedParametersHaveNoAddress) {
    for (const char* code : {"Cn042", "Cn088", "Sn219", "Pn372", "Pn386", "tn825", "onC63", "Un-32", "Un-64",
                             "dn-16", "AL11", "MAb17", "onX01", "Xx101", "Cn000", ""})
        EXPECT_FALSE(ParamCodeRegisterAddress(code).has_value()) << code;
    EXPECT_FALSE(ParameterRegisterAddress('B', 1, 0).has_value());
    EXPECT_EQ(*ParameterRegisterAddress('O', 6, 0), 0x35D4);
    EXPECT_FALSE(ParameterRegisterAddress('O', 5, 0).has_value());
    EXPECT_EQ(*ParameterRegisterAddress('L', 12, 412), *ParamCodeRegisterAddress("Pn412"));
    EXPECT_EQ(*ParameterRegisterAddress('r', 1, 1201), 0x1711);
}

TEST(RegisterMap, UnmappedParameterIsReportedOnlyThroughTheReportingLookup) {
    ScriptedMessages messages;
    EXPECT_FALSE(ParameterRegisterAddress('C', 42, 42).has_value());
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_FALSE(GetRegisterAddress('C', 42, 42).has_value());
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "C-42");
    EXPECT_EQ(*GetRegisterAddress('C', 25, 25), 0x001C);
    EXPECT_EQ(messages.Shown().size(), 1u);
}

// Whatever a table or pass offers must be readable: every parameter in any series has an address,
// and no two parameters of one series share a register.
TEST(RegisterMap, EveryOfferedParameterHasItsOwnRegister) {
    for (int series = 3; series <= 9; ++series) {
        for (int mode : {0, 11, 13}) {
            CatalogueContext context;
            context.seriesCode = series;
            context.driveControlMode = mode;
            context.driveIdWord = 6;
            std::set<int> used;
            for (int g = 0; g < ParamGroupCount; ++g) {
                const ParamGroupInfo& info = ParamGroupTable(static_cast<ParamGroup>(g));
                if (g == GroupUn || g == GroupAL)
                    continue; // monitor items share no space with parameters; checked below
                for (int n = 1; n <= info.count; ++n) {
                    const std::string code = ParamCodeFromIndex(info.base + n);
                    if (!ParamInSeries(code, context))
                        continue;
                    auto address = ParamCodeRegisterAddress(code);
                    ASSERT_TRUE(address.has_value()) << code << " series " << series;
                    const bool wide = IsDoubleWordParameter(ParamGroupLetter(code), n, info.base + n);
                    EXPECT_TRUE(used.insert(*address).second) << code;
                    if (wide) {
                        EXPECT_TRUE(used.insert(*address + 1).second) << code << " high word";
                    }
                }
            }
            for (int n = 1; n <= 97; ++n) {
                const std::string code = ParamCodeFromIndex(1000 + n);
                if (ParamInSeries(code, context)) {
                    EXPECT_TRUE(ParamCodeRegisterAddress(code).has_value()) << code;
                }
            }
        }
    }
}

TEST(RegisterMap, DoubleWordParameters) {
    auto wide = [](const char* code) {
        return IsDoubleWordParameter(ParamGroupLetter(code), ParamNumber(code), ParamIndexFromCode(code));
    };
    for (const char* code : {"Cn005", "Cn019", "Cn024", "Pn302", "Pn307", "Pn359", "Pn402", "Pn495", "EC907",
                             "EC934", "onT03", "onE15", "onU45", "En723", "Un-07", "Un-97", "MAb16"})
        EXPECT_TRUE(wide(code)) << code;
    for (const char* code : {"Cn001", "Pn301", "Pn360", "Pn401", "Pn498", "Pn499", "EC906", "onT04", "Tn101",
                             "Sn201", "En724", "Un-06", "onC07", "AL01"})
        EXPECT_FALSE(wide(code)) << code;
}

TEST(RegisterMap, RawValueConversion) {
    const struct {
        char letter;
        int number;
        int index;
        int raw;
        int value;
    } cases[] = {
        {'C', 1, 1, 0xFFFF, 65535},
        {'C', 3, 3, 0xFFFF, -1},
        {'C', 99, 99, 0x8000, 32768},
        {'T', 4, 104, 0xFFFF, -1},
        {'T', 16, 116, 0xFFFF, 65535},
        {'T', 12, 112, 0xFFFF, -1},
        {'P', 1, 301, 0xFFFF, 65535},
        {'P', 2, 302, 0xFFFF, -1},
        {'P', 3, 403, 0xFFFF, 65535},
        {'P', 4, 404, 0xFFFF, -1},
        {'L', 3, 403, 0xFFFF, 65535},
        {'q', 1, 501, 0xFFFF, 65535},
        {'H', 9, 609, 0xFFFF, 65535},
        {'E', 7, 707, 0xFFFF, 65535},
        {'E', 7, 907, 0xFFFF, -1},
        {'E', 3, 903, 0xFFFF, 65535},
        {'o', 1, 2001, 0xFFFF, 65535},
        {'o', 3, 2003, 0xFFFF, -1},
        {'o', 17, 1717, 0x0003, 1},
        {'o', 17, 1717, 0x0002, 0},
        {'o', 16, 1916, 0xFFFF, 1},
        {'B', 1, 0, 0x0001, 1},
        {'B', 12, 0, 0x0800, 1},
        {'B', 13, 0, 0x0001, 1},
        {'B', 20, 0, 0x0080, 1},
        {'B', 20, 0, 0x0040, 0},
        {'B', 21, 0, 0xFFFF, -1},
        {'R', 36, 0, 0xFFFF, 65535},
        {'A', 5, 1205, 0xFFFF, 65535},
        {'O', 5, 0, 0xFFFF, -1},
        // index 0 (the Modbus read) takes the Pn3 and En rules
        {'P', 3, 0, 0xFFFF, -1},
        {'E', 7, 0, 0xFFFF, 65535},
        {'o', 1, 0, 0xFFFF, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConvertRawParameterValue(c.letter, c.number, static_cast<std::int16_t>(c.raw), c.index),
                  c.value)
            << c.letter << c.number << " index " << c.index;

    EXPECT_EQ(MaskUnsignedParameter('o', -1, 1607), 65535);
    EXPECT_EQ(MaskUnsignedParameter('o', -1, 1629), 65535);
    EXPECT_EQ(MaskUnsignedParameter('o', -1, 1608), -1);
    EXPECT_EQ(MaskUnsignedParameter('C', -1, 1607), -1);
}

TEST(RegisterMap, ModbusAddresses) {
    EXPECT_EQ(*GroupBlockBase('C', 25), 25);
    EXPECT_EQ(*GroupBlockBase('P', 12), 0x30C);
    EXPECT_EQ(*GroupBlockBase('E', 1), 0x701);
    EXPECT_EQ(*GroupBlockBase('U', 5), 0x605);
    EXPECT_FALSE(GroupBlockBase('o', 5).has_value());
    EXPECT_FALSE(GroupBlockBase('M', 5).has_value());
}

TEST(RegisterMap, HexDigitsAndTableRows) {
    EXPECT_EQ(HexDigitValue('0'), 0);
    EXPECT_EQ(HexDigitValue('9'), 9);
    EXPECT_EQ(HexDigitValue('a'), 10);
    EXPECT_EQ(HexDigitValue('F'), 15);
    EXPECT_EQ(HexDigitValue('g'), -1);
    EXPECT_EQ(HexDigitValue('\0'), -1);
    EXPECT_EQ(HexWordValue("12aF"), 0x12AF);
    EXPECT_EQ(HexWordValue("FFFF5"), 0xFFFF);
    EXPECT_EQ(HexWordValue("12G4"), -1);
    EXPECT_EQ(HexWordValue("123"), -1);

    EXPECT_EQ(ParameterTableIndex(0x0512), 0x12);
    EXPECT_EQ(ParameterTableIndex(0x35FF), 0xFF);
    EXPECT_EQ(ParameterTableIndex(0x0C01), 257);
    EXPECT_EQ(ParameterTableIndex(0x4300), 256);
    EXPECT_EQ(ParameterTableIndex(0x2310), 768 + 16);
    EXPECT_EQ(ParameterTableIndex(0x0001), 513);
}

TEST(RegisterMap, PropertyFlagsAndLegendIcons) {
    const struct {
        const char* code;
        int flags;
        int icon;
    } cases[] = {
        {"Cn001", 1 | 4, 0}, {"Cn002", 1, 1},  {"Cn027", 4, 3},     {"Cn003", 0, -1},    {"qn501", 2, 2},
        {"Tn101", 8, 4},     {"EC903", 0, -1}, {"EC927", 8, 4},     {"EC928", 0, -1},    {"Hn617", 0, -1},
        {"Hn601", 1, 1},     {"Pn301", 1, 1},  {"onC53", 1, 1},     {"onC60", 1 | 4, 0}, {"onA01", 1 | 4, 0},
        {"onA36", 0, -1},    {"onA02", 4, 3},  {"onE01", 1 | 4, 0}, {"onE02", 1, 1},     {"ono16", 4, 3},
        {"ono17", 0, -1},    {"ono23", 4, 3},  {"", 0, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParameterPropertyFlags(c.code), c.flags) << c.code;
        EXPECT_EQ(ParameterLegendIcon(ParameterPropertyFlags(c.code)), c.icon) << c.code;
    }
    EXPECT_EQ(ParameterLegendIcon(1 | 2 | 4 | 8), 4);
}

} // namespace
