#include "catalogue/ParamTexts.h"

#include <gtest/gtest.h>

#include <map>

namespace {

CatalogueContext Rotary() {
    CatalogueContext c;
    c.seriesCode = 4;
    c.modelCode = 0x1157;
    return c;
}

CatalogueContext Linear() {
    CatalogueContext c = Rotary();
    c.modelCode = 0x3157;
    return c;
}

// A string table with the texts the rules below compose.
StringLoader Table() {
    static const std::map<int, std::string> texts{
        {61964, "Control Mode Selection"},
        {62034, "Position Pulse Command Type and Logic Selection"},
        {62111, "Internal Position Command %d-Rotation Number"},
        {62112, "Internal Position Command %d-Pulse Number"},
        {62113, "Internal Position Command %d-Move Speed"},
        {1017, "Internal position point automatic operation delay time 1"},
        {61620, "Internal Speed Command 1"},
        {61612, "Speed Loop Gain 1"},
        {61526, "DI-1 Pin Function Planning"},
        {61852, "Hn6%02d.1 && Hn6%02d.0"},
        {61556, "DI-%d Pin Function Operation Potential"},
        {61557, "01: SON - Servo On"},
        {62193, "00: NULL - Not Used"},
        {61591, "01: RDY - Servo Ready\n"},
        {6075, "21: IPBUSY - Internal position operating signal"},
        {62909, "Rated Speed"},
        {63396, "pole-pair"},
        {63863, "Mapping Parameter Address Setting"},
    };
    return [](int id) {
        auto it = texts.find(id);
        return it == texts.end() ? std::string() : it->second;
    };
}

TEST(ParamTexts, ValuesInTheirFormats) {
    const struct {
        const char* code;
        int value;
        const char* text;
    } cases[] = {
        {"dn-04", 246, "A02.46"},  {"Cn001", 0x1234, "1234"},
        {"Cn001", 0xA, "000A"},    {"MAb05", 0x1234, "00001234"},
        {"Cn003", -5, "-5"},       {"Cn003", 12, "12"},
        {"tn805", 7, "7"},         {"Cn042", 0x1F, "31"},
        {"Cn001", -1, "FFFFFFFF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatParamValue(c.code, c.value, Rotary()), c.text) << c.code;

    // A hidden parameter has no attributes and falls back to plain decimal.
    CatalogueContext old = Rotary();
    old.driveSoftwareVersion = 10;
    EXPECT_EQ(FormatParamValue("Cn080", 17, old), "17");
}

TEST(ParamTexts, RangeTexts) {
    EXPECT_EQ(ParamRangeText("Cn003", 0, 2, Rotary()), "0~2");
    EXPECT_EQ(ParamRangeText("Cn001", 0, 0xFFFF, Rotary()), "0000~FFFF");
    EXPECT_EQ(ParamRangeText("Cn003", -100, 100, Rotary()), "-100~100");
    EXPECT_EQ(ParamRangeText("Cn003", 5, 5, Rotary()), "");
}

TEST(ParamTexts, FormatsFromTheStringTableAreFilledSafely) {
    EXPECT_EQ(FormatIntText("Hn6%02d.1 && Hn6%02d.0", {5, 5}), "Hn605.1 && Hn605.0");
    EXPECT_EQ(FormatIntText("100%% at %d", {3}), "100% at 3");
    EXPECT_EQ(FormatIntText("%s and %d", {3}), "%s and 3");
    EXPECT_EQ(FormatIntText("%d %d", {3}), "3 %d");
    EXPECT_EQ(FormatIntText("%04X", {255}), "00FF");
    EXPECT_EQ(FormatIntText("tail %", {1}), "tail %");
    EXPECT_EQ(FormatIntText("%999999999d", {1}), "%999999999d");
}

TEST(ParamTexts, TitleIds) {
    const struct {
        const char* code;
        int id;
        std::vector<int> args;
    } cases[] = {
        {"Cn001", 61964, {}},  {"Cn040", 62003, {}},  {"Cn041", 62114, {}},  {"Cn042", 62124, {}},
        {"Cn048", 62140, {}},  {"Cn056", 62198, {}},  {"Cn099", 62241, {}},  {"Pn301", 62034, {}},
        {"Pn317", 62097, {}},  {"Pn324", 62106, {}},  {"Pn329", 62120, {}},  {"Pn331", 62158, {}},
        {"Pn333", 62649, {}},  {"Pn353", 62669, {}},  {"Pn377", 62693, {}},  {"Pn350", 63401, {}},
        {"Pn352", 63403, {}},  {"Pn354", 62741, {}},  {"Pn361", 63879, {}},  {"Pn380", 63902, {}},
        {"Pn381", 159, {}},    {"Pn385", 189, {}},    {"Pn401", 62111, {1}}, {"Pn402", 62112, {1}},
        {"Pn403", 62113, {1}}, {"Pn404", 62111, {2}}, {"Pn406", 62113, {2}}, {"Pn496", 62113, {32}},
        {"Pn497", 1017, {}},   {"Pn499", 1019, {}},   {"Sn201", 61620, {}},  {"Sn219", 62643, {}},
        {"Sn229", 63964, {}},  {"Tn108", 61742, {}},  {"Tn109", 62131, {}},  {"Tn110", 62156, {}},
        {"Tn118", 63778, {}},  {"qn501", 61612, {}},  {"Hn618", 61543, {}},  {"Hn619", 63464, {}},
        {"Hn624", 63671, {}},  {"MAb09", 63863, {}},  {"dn-04", 61959, {}},  {"dn-05", 0, {}},
        {"En706", 62779, {}},  {"En707", 0, {}},      {"EC932", 63724, {}},  {"EC933", 0, {}},
        {"Un-13", 61931, {}},  {"Un-14", 61938, {}},  {"Un-27", 61951, {}},  {"Un-28", 0, {}},
        {"onC34", 62946, {}},  {"onA34", 63096, {}},  {"onT15", 62821, {}},  {"onS18", 63649, {}},
        {"onE17", 152, {}},    {"ond02", 62910, {}},  {"ono25", 63394, {}},  {"ono26", 231, {}},
        {"onU12", 63381, {}},  {"tn825", 0, {}},      {"tn863", 63515, {}},  {"Cn000", 0, {}},
        {"Pn400", 0, {}},      {"Xx101", 0, {}},      {"", 0, {}},           {"AL01", 0, {}},
    };
    for (const auto& c : cases) {
        const TextPiece title = ParamTitleId(c.code);
        EXPECT_EQ(title.id, c.id) << c.code;
        EXPECT_EQ(title.args, c.args) << c.code;
    }
}

TEST(ParamTexts, TitlesAndExplanations) {
    const StringLoader load = Table();
    EXPECT_EQ(ParamTitle("Cn001", load), "Control Mode Selection");
    EXPECT_EQ(ParamTitle("Pn404", load), "Internal Position Command 2-Rotation Number");
    EXPECT_EQ(ParamTitle("Pn406", load), "Internal Position Command 2-Move Speed");
    EXPECT_EQ(ParamTitle("Pn494", load), "Internal Position Command 32-Rotation Number");
    // Untitled parameters are named by their group's printed name and number; monitor items are not.
    EXPECT_EQ(ParamTitle("En707", load), "CiA 402 Parameter 707");
    EXPECT_EQ(ParamTitle("EC933", load), "ECAM Parametere 933");
    EXPECT_EQ(ParamTitle("onC35", load), "onC Parameter 35");
    EXPECT_EQ(ParamTitle("onU52", load), "onU Parameter 52");
    EXPECT_EQ(ParamTitle("dn-05", load), "");
    EXPECT_EQ(ParamTitle("En725", load), "");
    EXPECT_EQ(ParamTitle("Cn001", StringLoader()), "");

    EXPECT_EQ(ParamExplanation("qn501", load), "Speed Loop Gain 1");
    const std::vector<TextPiece> di = ParamExplanationPieces("Hn605");
    ASSERT_EQ(di.size(), 2u + 28u + 3u);
    EXPECT_EQ(di.front(), (TextPiece{61852, {5, 5}}));
    EXPECT_EQ(di[1].id, 61530);
    EXPECT_EQ(di[2].id, 61557);
    EXPECT_EQ(di[29].id, 61584);
    EXPECT_EQ(di[30], (TextPiece{61556, {5}}));
    EXPECT_EQ(ParamExplanation("Hn601", load), "Hn601.1 && Hn601.0DI-1 Pin Function Planning01: SON - Servo "
                                               "OnDI-1 Pin Function Operation Potential");
    const std::vector<TextPiece> dout = ParamExplanationPieces("Hn614");
    ASSERT_EQ(dout.size(), 2u + 8u + 3u);
    EXPECT_EQ(dout[1], (TextPiece{61590, {2}}));
    EXPECT_EQ(dout[2].id, 61591);
    EXPECT_EQ(dout[10], (TextPiece{61605, {2}}));
    // Hn613 is the first output pin, Hn619 the fifth; Hn617 and Hn618 are no pins.
    EXPECT_EQ(ParamExplanationPieces("Hn613")[1], (TextPiece{61590, {1}}));
    EXPECT_EQ(ParamExplanationPieces("Hn619")[1], (TextPiece{61590, {5}}));
    EXPECT_EQ(ParamExplanationPieces("Hn617").size(), 1u);
    EXPECT_TRUE(ParamExplanationPieces("En707").empty());
}

TEST(ParamTexts, UnitsFollowTheDrive) {
    const StringLoader load = Table();
    const struct {
        const char* code;
        const char* rotary;
        const char* linear;
    } cases[] = {
        {"Cn018", "rps/s", "mm/s^2"},
        {"Sn216", "rpm/10V", "mm/s/10V"},
        {"Cn060", "0.1rev", "0.1pitch"},
        {"Pn404", "rev", "pitch"},
        {"Pn405", "pulse", "pulse"},
        {"Pn406", "rpm", "mm/s"},
        {"Pn497", "ms", "ms"},
        {"Cn003", "ms", "ms"},
        {"Cn001", "", ""},
        {"Sn229", "rpm", "rpm"},
        {"Un-16", "rev", "pitch"},
        {"onS03", "0.1%Rated Speed", "0.1%Rated Speed"},
        {"onU02", "pole-pair", "pole-pair"},
        {"onU04", "", ""},
        {"onE06", "0.001\u03A9/2\u03C6", "0.001\u03A9/2\u03C6"},
        {"ond01", "rpm", "mm/s"},
        {"ono25", "4ms", "4ms"},
        {"Hn601", "", ""},
        {"MAb01", "", ""},
        {"", "", ""},
        {"Tn111", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParamUnitText(c.code, Rotary(), load), c.rotary) << c.code;
        EXPECT_EQ(ParamUnitText(c.code, Linear(), load), c.linear) << c.code;
    }
    CatalogueContext family4 = Rotary();
    family4.modelCode = 0x4000;
    EXPECT_EQ(ParamUnitText("Cn007", family4, load), "mm/s");
}

TEST(ParamTexts, DigitalInputAndOutputFunctions) {
    EXPECT_EQ(DiFunctionName(PinFunctionNumber(0x101)), "SON");
    EXPECT_EQ(DiFunctionName(PinFunctionNumber(1)), "SON");
    EXPECT_EQ(DiFunctionName(44), "KTI2");
    EXPECT_EQ(DiFunctionName(45), "NULL");
    EXPECT_EQ(DiFunctionName(-1), "NULL");
    EXPECT_EQ(DoFunctionName(0), "RDY");
    EXPECT_EQ(DoFunctionName(28), "SLIT");
    EXPECT_EQ(DoFunctionName(29), "");
    EXPECT_EQ(DoFunctionName(32), "IPBUSY");
    EXPECT_EQ(DoFunctionName(263), "BB/A3");
    EXPECT_EQ(DoFunctionName(-1), "NON");
    EXPECT_EQ(DoFunctionName(-2), "");

    const struct {
        int code;
        int di;
        int dout;
    } ids[] = {{0, 62193, 62193},
               {1, 61557, 61591},
               {14, 61570, 61604},
               {15, 61571, 62718},
               {31, 61587, 63931 - 32 + 31},
               {32, 62713, 63931},
               {33, 62714, 6075},
               {37, 63473, 0},
               {39, 63628, 0},
               {43, 63777, 0},
               {45, 63928, 0},
               {46, 0, 0},
               {0x101, 61557, 61591}};
    for (const auto& c : ids) {
        EXPECT_EQ(CodeNameTextId(c.code), c.di) << c.code;
        EXPECT_EQ(TypeNameTextId(c.code), c.dout) << c.code;
    }
    const StringLoader load = Table();
    EXPECT_EQ(CodeNameText(0, load), "00: NULL - Not Used");
    EXPECT_EQ(TypeNameText(33, load), "21: IPBUSY - Internal position operating signal");
    EXPECT_EQ(CodeNameText(46, load), "");
}

TEST(ParamTexts, EncoderPulses) {
    EXPECT_EQ(EncoderPulses(0x11), 2500);
    EXPECT_EQ(EncoderPulses(0x2), 8192);
    EXPECT_EQ(EncoderPulses(0x15), 32768);
    EXPECT_EQ(EncoderPulses(0), 131072);
    EXPECT_EQ(EncoderPulses(3), 131072);
}

} // namespace
