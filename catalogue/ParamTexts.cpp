#include "catalogue/ParamTexts.h"

#include "catalogue/NumberSets.h"
#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamCode.h"
#include "framework/core/ResourceModule.h"

#include <array>
#include <cstdio>

using catalogue_detail::Between;
using catalogue_detail::InSet;

namespace {

std::string Printf(const char* format, auto... args) {
    char text[64];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

} // namespace

StringLoader ResourceStringLoader() {
    return [](int id) { return LoadResString(id); };
}

std::string FormatIntText(std::string_view format, const std::vector<int>& args) {
    std::string out;
    size_t next = 0;
    size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        // % [flags] [width] [.precision] conversion
        size_t j = i + 1;
        while (j < format.size() &&
               (format[j] == '-' || format[j] == '0' || format[j] == '+' || format[j] == ' '))
            ++j;
        while (j < format.size() && format[j] >= '0' && format[j] <= '9')
            ++j;
        if (j < format.size() && format[j] == '.') {
            ++j;
            while (j < format.size() && format[j] >= '0' && format[j] <= '9')
                ++j;
        }
        const bool convertible =
            j < format.size() && std::string_view("diuxX").find(format[j]) != std::string_view::npos;
        if (!convertible || next >= args.size() || j - i > 8) {
            out += format.substr(i, j - i);
            i = j;
            continue;
        }
        const std::string conversion(format.substr(i, j - i + 1));
        const int arg = args[next++];
        if (format[j] == 'd' || format[j] == 'i')
            out += Printf(conversion.c_str(), arg);
        else
            out += Printf(conversion.c_str(), static_cast<unsigned>(arg));
        i = j + 1;
    }
    return out;
}

std::string FormatIntText(std::string_view format, std::initializer_list<int> args) {
    return FormatIntText(format, std::vector<int>(args));
}

std::string FormatParamValue(std::string_view code, int value, const CatalogueContext& context) {
    const unsigned u = static_cast<unsigned>(value);
    switch (ParamFlags(code, context) & AttrFormatMask) {
    case FormatDecimal:
        return Printf("%d", value);
    case FormatHex:
        return Printf("%X", u);
    case FormatDecimal2:
        return Printf("%02d", value);
    case FormatVersion:
        return Printf("A%.2d.%02d", value / 100, value % 100);
    case FormatHex2:
        return Printf("%02X", u);
    case FormatDecimal3:
        return Printf("%03d", value);
    case FormatHex3:
        return Printf("%03X", u);
    case FormatDecimal4:
        return Printf("%04d", value);
    case FormatHex4:
        return Printf(ParamGroupLetter(code) == 'M' ? "%08X" : "%04X", u);
    default:
        return {};
    }
}

std::string ParamRangeText(std::string_view code, int minimum, int maximum, const CatalogueContext& context) {
    if (minimum == maximum)
        return {};
    return FormatParamValue(code, minimum, context) + "~" + FormatParamValue(code, maximum, context);
}

namespace {

// The string id of n in runs of consecutive ids; 0 (no text) outside them.
int FromIdRuns(std::initializer_list<catalogue_detail::Run> runs, int n) {
    return catalogue_detail::FromRuns(runs, n).value_or(0);
}

int CnTitleId(int n) {
    if (n <= 40)
        return n + 61963;
    if (n == 41)
        return n + 62073;
    if (n <= 47)
        return n + 62082;
    if (n <= 55)
        return n + 62092;
    return n + 62142;
}

int Pn3TitleId(int n) {
    if (n <= 16)
        return n + 62033;
    if (n <= 23)
        return n + 62080;
    if (n <= 28)
        return n + 62082;
    if (n <= 30)
        return n + 62091;
    if (n <= 32)
        return n + 62127;
    if (Between(n, 33, 49) || n == 53 || Between(n, 63, 77))
        return n + 62616;
    return FromIdRuns({{50, 52, 63401},
                       {54, 54, 62741},
                       {55, 55, 63462},
                       {56, 56, 63614},
                       {57, 57, 63817},
                       {58, 58, 63819},
                       {59, 59, 63861},
                       {60, 62, 63878},
                       {78, 80, 63900},
                       {81, 81, 159},
                       {82, 82, 127},
                       {83, 83, 144},
                       {84, 84, 163},
                       {85, 85, 189}},
                      n);
}

TextPiece Pn4Title(int n) {
    if (n >= 97)
        return {1017 + n - 97, {}};
    switch (n % 3) {
    case 1:
        return {62111, {n / 3 + 1}};
    case 2:
        return {62112, {n / 3 + 1}};
    default:
        return {62113, {(n - 1) / 3 + 1}};
    }
}

int SnTitleId(int n) {
    if (n <= 18)
        return n + 61619;
    if (n <= 25)
        return n + 62624;
    return FromIdRuns({{26, 26, 63605}, {27, 27, 63780}, {28, 28, 63961}, {29, 29, 63964}}, n);
}

int TnTitleId(int n) {
    if (n <= 8)
        return n + 61734;
    if (n == 9)
        return n + 62122;
    if (n <= 12)
        return n + 62146;
    return FromIdRuns({{13, 13, 63354},
                       {14, 14, 63356},
                       {15, 15, 63358},
                       {16, 16, 63603},
                       {17, 17, 63626},
                       {18, 18, 63778}},
                      n);
}

} // namespace

TextPiece ParamTitleId(std::string_view code) {
    const int index = ParamIndexFromCode(code);
    const int group = ParamGroupOfIndex(index);
    if (index <= 0 || group < 0)
        return {};
    const int n = index % 100;
    if (n < 1 || n > ParamGroupTable(static_cast<ParamGroup>(group)).count)
        return {};
    switch (group) {
    case GroupCn:
        return {CnTitleId(n), {}};
    case GroupPn3:
        return {Pn3TitleId(n), {}};
    case GroupPn4:
        return Pn4Title(n);
    case GroupSn:
        return {SnTitleId(n), {}};
    case GroupTn:
        return {TnTitleId(n), {}};
    case Groupqn:
        return {n + 61611, {}};
    case GroupHn:
        return {FromIdRuns({{1, 18, 61526}, {19, 22, 63464}, {23, 24, 63670}}, n), {}};
    case GroupMAb:
        return {63863, {}};
    case Groupdn:
        return {FromIdRuns({{4, 4, 61959}, {8, 8, 63967}, {9, 9, 63335}}, n), {}};
    case GroupEn:
        return {FromIdRuns({{1, 6, 62774}}, n), {}};
    case GroupEC:
        return {FromIdRuns({{1, 32, 63693}}, n), {}};
    case GroupUn:
        return {FromIdRuns({{1, 13, 61919}, {14, 27, 61938}}, n), {}};
    case GrouponC:
        return {FromIdRuns({{1, 34, 62913}}, n), {}};
    case GrouponA:
        return {FromIdRuns({{1, 34, 63063}}, n), {}};
    case GrouponT:
        return {FromIdRuns({{1, 15, 62807}}, n), {}};
    case GrouponS:
        return {FromIdRuns({{1, 16, 62875}, {17, 18, 63648}}, n), {}};
    case GrouponE:
        return {FromIdRuns({{1, 16, 63132}, {17, 17, 152}}, n), {}};
    case Groupond:
        return {FromIdRuns({{1, 2, 62909}}, n), {}};
    case Groupono:
        return {FromIdRuns({{1, 24, 63015}, {25, 25, 63394}, {26, 26, 231}}, n), {}};
    case GrouponU:
        return {FromIdRuns({{1, 12, 63370}}, n), {}};
    case Grouptn:
        return {FromIdRuns({{26, 63, 63478}}, n), {}};
    default:
        return {};
    }
}

namespace {

std::string LoadPiece(const TextPiece& piece, const StringLoader& load) {
    if (piece.id == 0 || !load)
        return {};
    std::string text = load(piece.id);
    return piece.args.empty() ? text : FormatIntText(text, piece.args);
}

} // namespace

namespace {

// The printed name of a classic parameter group; nullptr for the newer groups and for the monitor
// and alarm items.
const char* ClassicGroupTitle(int group) {
    switch (group) {
    case GroupCn:
        return "Control Parameter";
    case GroupTn:
        return "Torque Parameter";
    case GroupSn:
        return "Speed Parameter";
    case GroupPn3:
    case GroupPn4:
        return "Position Parameter";
    case Groupqn:
        return "Quick Parameter";
    case GroupHn:
        return "Multi-function Contact Planning Parameter";
    case GroupEn:
        return "CiA 402 Parameter";
    case Grouptn:
        return "Tunning Parameter";
    case GroupEC:
        return "ECAM Parametere";
    case GroupMAb:
        return "Mapping Parameter";
    default:
        return nullptr;
    }
}

bool IsNewerParamGroup(int group) {
    return group >= GrouponT && group <= GrouponU;
}

} // namespace

std::string ParamGroupTitle(std::string_view code) {
    const int group = ParamGroupOfIndex(ParamIndexFromCode(code));
    if (group < 0)
        return {};
    if (const char* title = ClassicGroupTitle(group))
        return title;
    if (IsNewerParamGroup(group))
        return std::string(ParamGroupTable(static_cast<ParamGroup>(group)).prefix) + " Parameter";
    return {};
}

std::string ParamTitle(std::string_view code, const StringLoader& load) {
    const TextPiece title = ParamTitleId(code);
    if (title.id != 0)
        return LoadPiece(title, load);
    // An untitled parameter is named like the other untitled rows: its group's printed name and its
    // number (the global index for the classic groups, the two digits for the newer ones).
    const int index = ParamIndexFromCode(code);
    const int group = ParamGroupOfIndex(index);
    const std::string name = ParamGroupTitle(code);
    const int n = index % 100;
    if (name.empty() || n < 1 || n > ParamGroupTable(static_cast<ParamGroup>(group)).count)
        return {};
    return IsNewerParamGroup(group) ? Printf("%s %02d", name.c_str(), n)
                                    : Printf("%s %d", name.c_str(), index);
}

std::vector<TextPiece> ParamExplanationPieces(std::string_view code) {
    const int index = ParamIndexFromCode(code);
    // Pin assignment words: Hn601-Hn612 are the inputs DI-1..DI-12, Hn613-Hn616 and Hn619-Hn622 the
    // outputs DO-1..DO-8. Each explanation lists the pin's functions and its two contact levels.
    const int n = index - 600;
    const bool input = Between(n, 1, 12);
    const bool output = Between(n, 13, 16) || Between(n, 19, 22);
    if (input || output) {
        std::vector<TextPiece> pieces{{61852, {n, n}}};
        if (input) {
            pieces.push_back(ParamTitleId(code));
            for (int id = 61557; id <= 61584; ++id)
                pieces.push_back({id, {}});
            pieces.push_back({61556, {n}});
            pieces.push_back({61588, {}});
            pieces.push_back({61589, {}});
        } else {
            const int pin = n <= 16 ? n - 12 : n - 14;
            pieces.push_back({61590, {pin}});
            for (int id = 61591; id <= 61598; ++id)
                pieces.push_back({id, {}});
            pieces.push_back({61605, {pin}});
            pieces.push_back({61606, {}});
            pieces.push_back({61607, {}});
        }
        return pieces;
    }
    TextPiece title = ParamTitleId(code);
    if (title.id == 0)
        return {};
    return {title};
}

std::string ParamExplanation(std::string_view code, const StringLoader& load) {
    std::string text;
    for (const TextPiece& piece : ParamExplanationPieces(code))
        text += LoadPiece(piece, load);
    return text;
}

bool IsLinearModel(int modelCode) {
    const int family = modelCode & 0xF000;
    return family == 0x3000 || family == 0x4000;
}

std::string ParamUnitText(std::string_view code, const CatalogueContext& context, const StringLoader& load) {
    const int index = ParamIndexFromCode(code);
    const int group = ParamGroupOfIndex(index);
    if (index <= 0 || group < 0)
        return {};
    const int n = index % 100;
    const bool linear = IsLinearModel(context.modelCode);
    const std::string speed = linear ? "mm/s" : "rpm";
    const std::string position = linear ? "pitch" : "rev";
    auto text = [&](int id) { return load ? load(id) : std::string(); };

    switch (group) {
    case GroupCn:
        if (InSet(n, {3, 87, 94, 98}))
            return "ms";
        if (InSet(n, {5, 19, 24}))
            return "pulse";
        if (InSet(n, {7, 17, 22, 61}))
            return speed;
        if (InSet(n, {10, 11, 16, 21, 43, 44, 56, 57, 81, 85, 99}))
            return "%";
        if (n == 12)
            return "W";
        if (InSet(n, {13, {32, 34}, 66, 69, 72, 75}))
            return "Hz";
        if (n == 18 || n == 23)
            return linear ? "mm/s^2" : "rps/s";
        if (InSet(n, {20, {48, 50}}))
            return "0.2ms";
        if (n == 25)
            return "0.1";
        if (n == 27 || n == 28)
            return "40mV";
        if (n == 39)
            return "sec";
        if (n == 40)
            return "0.5ms";
        if (n == 51)
            return "Volt";
        if (n == 52)
            return "250ms";
        if (n == 55)
            return "10ms";
        if (n == 58)
            return "4ms";
        if (n == 60)
            return "0.1" + position;
        if (n == 62)
            return "0.01rev";
        if (n == 80)
            return "rev";
        if (n == 86)
            return "0.01V";
        if (n == 89)
            return "0.1ohm";
        return {};
    case GroupPn3:
        if (InSet(n, {7, 21, 25, 31, 47, 52, 54, 59}))
            return "pulse";
        if (n == 8 || n == 9)
            return "1/1000rev";
        if (InSet(n, {10, 11, 51}))
            return "rad/s";
        if (InSet(n, {12, 38, 61}))
            return "%";
        if (InSet(n, {13, 37, 60, 62, {78, 80}, 82}))
            return "ms";
        if (InSet(n, {18, 19, 27, 28, 35}))
            return speed;
        if (n == 20)
            return position;
        if (InSet(n, {22, 23, 30, 33, 83}))
            return "0.4ms";
        if (n == 29)
            return "2ms";
        if (n == 34)
            return "4ms";
        if (InSet(n, {39, 41, 43}))
            return "0.1Hz";
        if (n == 45)
            return "bit";
        if (n == 48)
            return "pulse/rev";
        if (n == 56)
            return "Hz";
        if (n == 57 || n == 58)
            return "unit/PLS";
        if (n == 84)
            return "x/1V";
        if (n == 85)
            return "0.1V";
        return {};
    case GroupPn4:
        if (Between(n, 97, 99))
            return "ms";
        if (n == 0)
            return {};
        return n % 3 == 1 ? position : n % 3 == 2 ? std::string("pulse") : speed;
    case GroupSn:
        if (InSet(n, {1, 2, 3, 15, 18}))
            return speed;
        if (InSet(n, {6, 7, 27, 28}))
            return "ms";
        if (InSet(n, {11, 13, 26}))
            return "Hz";
        if (n == 12 || n == 14)
            return "0.01ms";
        if (n == 16)
            return speed + "/10V";
        if (n == 17)
            return "mV";
        if (n == 19)
            return "bit";
        if (n == 20)
            return "0.1ms";
        if (n == 21)
            return "%";
        if (n == 29)
            return "rpm";
        return {};
    case GroupTn:
        if (InSet(n, {2, 10, 17, 18}))
            return "ms";
        if (n == 3)
            return "%/10V";
        if (n == 4)
            return "mV";
        if (n == 8)
            return "%";
        if (n == 13)
            return "0.1%";
        if (n == 16)
            return "Hz";
        if (InSet(n, {5, 6, 7, 9, 14, 15}))
            return speed;
        return {};
    case Groupqn:
        if (n == 2 || n == 4)
            return "0.01ms";
        if (n == 5 || n == 6)
            return "rad/s";
        if (n == 7)
            return "%";
        if (n == 1 || n == 3)
            return "Hz";
        return {};
    case GroupEn:
        if (n == 15 || n == 16)
            return "rpm";
        if (Between(n, 20, 23))
            return "Pos. Unit";
        if (n == 24)
            return "0.01";
        return {};
    case GroupEC:
        if (n == 5)
            return "deg";
        if (n == 6)
            return "0.01deg";
        if (n == 7 || n == 8)
            return "ppr";
        if (InSet(n, {{9, 12}, 16, 17, 33, 34}))
            return "0.01mm";
        if (InSet(n, {13, 14, 21}))
            return "ms";
        if (n == 15)
            return "200us";
        if (n == 18 || n == 20)
            return "rpm";
        if (InSet(n, {19, 28, 32}))
            return "pulse";
        if (n == 23)
            return "0.01";
        return {};
    case Grouptn:
        if (n == 27 || n == 36)
            return "0.1rev";
        if (n == 28 || n == 35)
            return "rpm";
        if (n == 29)
            return "100ms";
        if (n == 33 || n == 34)
            return "ms";
        if (InSet(n, {40, {42, 44}, 47, 52, 53}))
            return "%";
        if (InSet(n, {48, 54, {56, 58}, 60}))
            return "Hz";
        if (InSet(n, {51, 62, 63}))
            return "rad/s";
        if (n == 55)
            return "0.1";
        if (n == 59 || n == 61)
            return "0.01ms";
        return {};
    case GroupUn:
        if (n == 1 || n == 6)
            return speed;
        if (InSet(n, {{2, 5}, 12, 13, 28, 57, 90}))
            return "%";
        if (InSet(n, {7, 8, 14, 15, 18, 19, 22, 23, 25, 26, {50, 52}, 56, 92}))
            return "pulse";
        if (n == 9 || n == 11)
            return "V";
        if (n == 10)
            return "0.1V";
        if (InSet(n, {16, 17, 20, 21, 24, 37, 38}))
            return position;
        if (n == 29 || n == 45)
            return "0.1";
        if (Between(n, 39, 42))
            return "mV";
        if (n == 43)
            return "degree";
        if (n == 49)
            return "deg C";
        if (n == 55)
            return "rev";
        if (Between(n, 60, 63))
            return "0.01%";
        if (n == 88 || n == 89)
            return "hour";
        if (n == 91)
            return "0.1mm";
        if (n == 94)
            return "0.01deg";
        if (n == 95)
            return "times";
        if (n == 96 || n == 97)
            return "unit/PLS";
        return {};
    case GrouponC:
        if (n == 1)
            return "10ns";
        if (InSet(n, {6, 51, 58, 62}))
            return "ms";
        if (n == 11)
            return "100ms";
        if (n == 22)
            return "sec";
        if (InSet(n, {23, 24, 27, 28, 33, 46, 69}))
            return "%";
        if (n == 25 || n == 26)
            return "mV";
        if (n == 29)
            return "0.001";
        if (n == 38 || n == 39)
            return "1ms";
        if (n == 40)
            return speed;
        if (n == 41)
            return "0.1rev";
        if (n == 47)
            return "us";
        if (n == 48)
            return "4ms";
        if (InSet(n, {49, 57, 68}))
            return "Hz";
        if (n == 56)
            return "0.1us";
        return {};
    case GrouponE:
        switch (n) {
        case 3:
            return speed;
        case 5:
            return "0.001Arms";
        case 6:
            return "0.001\u03A9/2\u03C6";
        case 7:
            return "0.001mH/2\u03C6";
        case 8:
            return "0.001Vpk(phase)/krpm";
        case 9:
            return "0.001Nm/Arms";
        case 10:
            return "0.001kg-cm^2";
        case 11:
        case 17:
            return "%";
        case 14:
            return "mm/360deg";
        case 15:
            return "0.01um/PLS";
        default:
            return {};
        }
    case GrouponS:
        if (InSet(n, {1, 7, 9, 10, 16, 17}))
            return "%";
        if (n == 3)
            return "0.1%" + text(62909);
        if (InSet(n, {5, 15, 18}))
            return "Hz";
        return {};
    case GrouponT:
        if (InSet(n, {1, 6, 13, 15, 18, 21, 23, 24}))
            return "Hz";
        if (n == 2)
            return "us";
        if (n == 11)
            return "pulse";
        if (InSet(n, {12, 16, 19, 20}))
            return "%";
        if (n == 17)
            return "50us";
        if (n == 22)
            return "ms";
        return {};
    case GrouponU:
        switch (n) {
        case 1:
            return speed;
        case 2:
            return text(63396);
        case 3:
            return "0.001Arms";
        case 4:
            return text(63397);
        case 5:
            return text(63398);
        case 6:
            return "0.001Vpk(phase)/krpm";
        case 7:
            return "0.001Nm/Arms";
        case 8:
            return "0.001kg-cm^2";
        case 44:
            return "%";
        case 47:
            return "rpm";
        case 48:
            return "0.001";
        default:
            return InSet(n, {{9, 12}, {49, 51}}) ? std::string("0.1us") : std::string();
        }
    case Groupond:
        return n == 1 ? speed : std::string();
    case Groupono:
        return n == 25 ? std::string("4ms") : std::string();
    default:
        return {};
    }
}

namespace {

constexpr std::array<const char*, 45> kDiNames{
    "SON",      "ALRS",     "PCNT",  "POT",  "NOT",  "TLMT", "CLR",   "LOK",   "EMC",  "SPD1", "SPD2", "MDC",
    "INH",      "SPDINV",   "G-SEL", "GN1",  "GN2",  "PTRG", "PHOLD", "SHOME", "ORG",  "POS1", "POS2", "POS3",
    "POS4",     "TRQINV",   "RS1",   "RS2",  "MDC2", "POS5", "POS6",  "VDI",   "ECUT", "HS_U", "HS_V", "HS_W",
    "E-STOPIN", "gantryDI", "KSPD",  "MDC3", "JOG1", "JOG2", "MDC4",  "KTI1",  "KTI2"};

constexpr std::array<const char*, 29> kDoNames{
    "RDY", "ALM", "ZS",   "BI",  "INS",     "INP",    "HOME",    "INT", "P1",   "P2",
    "P3",  "P4",  "P5",   "P6",  "OL",      "BAT",    "LIT",     "VDO", "ESYN", "ALDO",
    "LM",  "PC",  "SOFF", "KCF", "ABSHOME", "E-CLAM", "STOPOUT", "ENC", "SLIT"};

} // namespace

std::string DiFunctionName(int n) {
    if (n < 0 || n >= static_cast<int>(kDiNames.size()))
        return "NULL";
    return kDiNames[n];
}

std::string DoFunctionName(int n) {
    if (n >= 0 && n < static_cast<int>(kDoNames.size()))
        return kDoNames[n];
    switch (n) {
    case 30:
        return "BI2";
    case 31:
        return "INP_T";
    case 32:
        return "IPBUSY";
    case 260:
        return "LM/A0";
    case 261:
        return "PC/A1";
    case 262:
        return "ST/A2";
    case 263:
        return "BB/A3";
    case -1:
        return "NON";
    default:
        return {};
    }
}

int PinFunctionNumber(int setting) {
    return setting < 256 ? setting - 1 : setting - 257;
}

int CodeNameTextId(int c) {
    return FromIdRuns({{0, 0, 62193},
                       {1, 31, 61557},
                       {32, 36, 62713},
                       {37, 38, 63473},
                       {39, 39, 63628},
                       {40, 42, 63661},
                       {43, 43, 63777},
                       {44, 45, 63927}},
                      c & 0xFF);
}

int TypeNameTextId(int c) {
    return FromIdRuns({{0, 0, 62193},
                       {1, 14, 61591},
                       {15, 20, 62718},
                       {21, 24, 63468},
                       {25, 25, 63477},
                       {26, 27, 63659},
                       {28, 28, 63757},
                       {29, 29, 63815},
                       {30, 32, 63929},
                       {33, 33, 6075}},
                      c & 0xFF);
}

std::string CodeNameText(int c, const StringLoader& load) {
    return LoadPiece({CodeNameTextId(c), {}}, load);
}

std::string TypeNameText(int c, const StringLoader& load) {
    return LoadPiece({TypeNameTextId(c), {}}, load);
}

int EncoderPulses(int code) {
    switch (code & 0xF) {
    case 1:
        return 2500;
    case 2:
        return 8192;
    case 5:
        return 32768;
    default:
        return 131072;
    }
}
