#include "catalogue/RegisterMap.h"

#include "catalogue/NumberSets.h"
#include "catalogue/ParamCode.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"

#include <cstdio>

using catalogue_detail::Between;
using catalogue_detail::InSet;

namespace {

enum class RegGroup {
    None,
    Cn,
    Tn,
    Sn,
    Pn3,
    Pn4,
    qn,
    Hn,
    En,
    EC,
    tn,
    Un,
    dn,
    AL,
    M,
    O,
    B,
    R,
    onT,
    onS,
    ond,
    onC,
    ono,
    onA,
    onE,
    onU,
};

RegGroup Resolve(char letter, int index) {
    switch (letter) {
    case 'C':
        return RegGroup::Cn;
    case 'T':
        return RegGroup::Tn;
    case 'S':
        return RegGroup::Sn;
    case 'P':
    case 'L':
        return index < 400 ? RegGroup::Pn3 : RegGroup::Pn4;
    case 'q':
        return RegGroup::qn;
    case 'H':
        return RegGroup::Hn;
    case 'E':
        return index <= 899 ? RegGroup::En : RegGroup::EC;
    case 't':
        return RegGroup::tn;
    case 'U':
        return RegGroup::Un;
    case 'd':
        return RegGroup::dn;
    case 'A':
    case 'r':
        return RegGroup::AL;
    case 'M':
        return RegGroup::M;
    case 'O':
        return RegGroup::O;
    case 'B':
        return RegGroup::B;
    case 'R':
        return RegGroup::R;
    case 'o':
        switch (index / 100) {
        case 13:
            return RegGroup::onT;
        case 14:
            return RegGroup::onS;
        case 15:
            return RegGroup::ond;
        case 16:
            return RegGroup::onC;
        case 17:
            return RegGroup::ono;
        case 18:
            return RegGroup::onA;
        case 19:
            return RegGroup::onE;
        case 20:
            return RegGroup::onU;
        default:
            return RegGroup::None;
        }
    default:
        return RegGroup::None;
    }
}

// 32-bit numbers of the groups that have any.
bool Is32(RegGroup g, int n) {
    switch (g) {
    case RegGroup::Cn:
        return InSet(n, {5, 19, 24});
    case RegGroup::Pn3:
        return InSet(n, {{2, 7}, 21, 25, 31, 47, 48, 52, 54, {57, 59}});
    case RegGroup::Pn4:
        return Between(n, 1, 99) && n % 3 == 2 && n != 98;
    case RegGroup::EC:
        return InSet(n, {{7, 12}, 16, 17, 26, 28, {32, 34}});
    case RegGroup::onT:
        return n == 3;
    case RegGroup::onE:
        return InSet(n, {{5, 10}, 15});
    case RegGroup::onU:
        return InSet(n, {{3, 8}, 20, 22, 32, 43, 45});
    case RegGroup::En:
        return InSet(n, {{1, 6}, {10, 13}, 17, {20, 23}});
    case RegGroup::Un:
        return InSet(n, {7, 8, {14, 22}, 25, 26, 50, 52, 56, 94, 96, 97});
    case RegGroup::M:
        return Between(n, 1, 16);
    default:
        return false;
    }
}

struct Layout {
    int base;
    bool packed;
};

// Groups laid out as base + number (plain) or with 32-bit values taking two registers (packed).
std::optional<Layout> TableLayout(RegGroup g, int n) {
    switch (g) {
    case RegGroup::Cn:
        if (InSet(n, {{1, 41}, 43, 44, {48, 87}, {89, 91}, {94, 99}}))
            return Layout{0x0000, true};
        break;
    case RegGroup::Tn:
        if (Between(n, 1, 18))
            return Layout{0x0100, false};
        break;
    case RegGroup::Sn:
        if (InSet(n, {{1, 18}, {26, 29}}))
            return Layout{0x0200, false};
        break;
    case RegGroup::Pn3:
        if (InSet(n, {{1, 71}, {78, 85}}))
            return Layout{0x0300, true};
        break;
    case RegGroup::qn:
        if (Between(n, 1, 7))
            return Layout{0x0400, false};
        break;
    case RegGroup::Hn:
        if (Between(n, 1, 24))
            return Layout{0x0500, false};
        break;
    case RegGroup::Pn4:
        if (Between(n, 1, 99))
            return Layout{0x0700, true};
        break;
    case RegGroup::EC:
        if (Between(n, 1, 34))
            return Layout{0x0800, true};
        break;
    case RegGroup::onT:
        if (Between(n, 1, 24))
            return Layout{0x0900, true};
        break;
    case RegGroup::onS:
        if (Between(n, 1, 18))
            return Layout{0x0A00, false};
        break;
    case RegGroup::ond:
        if (Between(n, 1, 2))
            return Layout{0x0B00, false};
        break;
    case RegGroup::onC:
        if (InSet(n, {{1, 62}, 68, 69}))
            return Layout{0x0C00, false};
        break;
    case RegGroup::ono:
        if (Between(n, 1, 26))
            return Layout{0x0D00, false};
        break;
    case RegGroup::onA:
        if (Between(n, 1, 38))
            return Layout{0x0E00, false};
        break;
    case RegGroup::dn:
        if (Between(n, 1, 15))
            return Layout{0x0F00, false};
        break;
    case RegGroup::onE:
        if (Between(n, 1, 17))
            return Layout{0x1000, true};
        break;
    case RegGroup::onU:
        if (Between(n, 1, 52))
            return Layout{0x1100, true};
        break;
    case RegGroup::tn:
        if (Between(n, 26, 63))
            return Layout{0x1300, false};
        break;
    case RegGroup::En:
        if (Between(n, 1, 24))
            return Layout{0x1400, true};
        break;
    default:
        break;
    }
    return std::nullopt;
}

std::optional<std::uint16_t> FromRuns(std::initializer_list<catalogue_detail::Run> runs, int n) {
    if (auto address = catalogue_detail::FromRuns(runs, n))
        return static_cast<std::uint16_t>(*address);
    return std::nullopt;
}

std::optional<std::uint16_t> ListedAddress(RegGroup g, int n) {
    switch (g) {
    case RegGroup::AL:
        return FromRuns({{1, 1, 0x1711}, {2, 10, 0x1201}}, n);
    case RegGroup::Un:
        return FromRuns({{1, 7, 0x0601},
                         {8, 8, 0x0609},
                         {9, 14, 0x060B},
                         {15, 16, 0x0612},
                         {17, 18, 0x0615},
                         {19, 20, 0x0618},
                         {21, 22, 0x061B},
                         {23, 25, 0x061E},
                         {26, 31, 0x0622},
                         {39, 50, 0x062F},
                         {51, 52, 0x063C},
                         {53, 56, 0x063F},
                         {57, 63, 0x0644},
                         {71, 76, 0x0652},
                         {84, 84, 0x065F},
                         {88, 94, 0x0663},
                         {95, 96, 0x066B},
                         {97, 97, 0x066E}},
                        n);
    case RegGroup::O:
        return FromRuns({{1, 4, 0x35BA}, {6, 6, 0x35D4}, {7, 7, 0x35D3}, {8, 8, 0x35D2}}, n);
    case RegGroup::M:
        if (Between(n, 1, 16))
            return static_cast<std::uint16_t>(0x1900 + 2 * n - 1);
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<std::uint16_t> ParameterRegisterAddress(char letter, int number, int index) {
    const RegGroup g = Resolve(letter, index);
    if (auto layout = TableLayout(g, number)) {
        int address = layout->base + number;
        if (layout->packed)
            for (int m = 1; m < number; ++m)
                address += Is32(g, m) ? 1 : 0;
        return static_cast<std::uint16_t>(address);
    }
    return ListedAddress(g, number);
}

std::string UnmappedParameterText(char letter, int number) {
    char text[32];
    std::snprintf(text, sizeof text, "%c-%d", letter, number);
    return text;
}

std::optional<std::uint16_t> GetRegisterAddress(char letter, int number, int index) {
    auto address = ParameterRegisterAddress(letter, number, index);
    if (!address)
        ShowMessage(UnmappedParameterText(letter, number));
    return address;
}

std::optional<std::uint16_t> ParamCodeRegisterAddress(std::string_view code) {
    const int index = ParamIndexFromCode(code);
    if (index <= 0)
        return std::nullopt;
    return ParameterRegisterAddress(ParamGroupLetter(code), ParamNumber(code), index);
}

bool IsDoubleWordParameter(char letter, int number, int index) {
    return Is32(Resolve(letter, index), number);
}

std::optional<std::uint16_t> GroupBlockBase(char letter, int number) {
    int base;
    switch (letter) {
    case 'C':
        base = 0x000;
        break;
    case 'T':
        base = 0x100;
        break;
    case 'S':
        base = 0x200;
        break;
    case 'P':
        base = 0x300;
        break;
    case 'q':
        base = 0x400;
        break;
    case 'H':
        base = 0x500;
        break;
    case 'U':
        base = 0x600;
        break;
    case 'E':
        base = 0x700;
        break;
    default:
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(base + number);
}

namespace {

bool IsUnsigned(RegGroup g, int n) {
    switch (g) {
    case RegGroup::Cn:
        return InSet(n, {1, 2, {6, 9}, {12, 18}, {20, 23}, 25, 26, {30, 40}, 54, 87, 99});
    case RegGroup::Tn:
        return Between(n, 1, 17) && n != 4 && !Between(n, 10, 15);
    case RegGroup::Sn:
        return InSet(n, {{4, 16}, 18, 28});
    case RegGroup::Pn3:
        return InSet(n, {1, {8, 16}, 28, 34, 37, 40, 43, 46, 49, 55, {64, 67}, 70, 71});
    case RegGroup::Pn4:
        return n % 3 == 0;
    case RegGroup::qn:
    case RegGroup::Hn:
        return true;
    case RegGroup::Un:
        return n == 3 || n == 10;
    case RegGroup::En:
        return n == 7 || n == 8;
    case RegGroup::EC:
        return InSet(n, {3, 14, 15, 23, 29});
    case RegGroup::dn:
        return InSet(n, {{1, 4}, 8});
    case RegGroup::tn:
        return InSet(n, {33, 34, 36, 42, 47, 59, 61});
    case RegGroup::AL:
        return Between(n, 1, 10);
    case RegGroup::O:
        return InSet(n, {{1, 4}, {6, 8}});
    case RegGroup::R:
        return n == 36;
    case RegGroup::onS:
        return InSet(n, {1, 4, 5, 9});
    case RegGroup::onC:
        return InSet(n, {3, 4, {6, 8}, 14, 23, 24, 29, 33, {38, 41}, 52});
    case RegGroup::ono:
        return InSet(n, {{1, 16}, 25});
    case RegGroup::onE:
        return n == 2;
    case RegGroup::onU:
        return !InSet(n, {{3, 11}, 18, 20, 22, 29, 30, 32, 43, 45});
    default:
        return false;
    }
}

// The bit a bit-group parameter shows, or -1 for a word parameter.
int BitOf(RegGroup g, int n) {
    if (g == RegGroup::B) {
        if (Between(n, 1, 12))
            return n - 1;
        if (Between(n, 13, 20))
            return n - 13;
        return -1;
    }
    if ((g == RegGroup::ono && n == 17) || (g == RegGroup::onE && n == 16))
        return 0;
    return -1;
}

} // namespace

int ConvertRawParameterValue(char letter, int number, std::int16_t raw, int index) {
    const RegGroup g = Resolve(letter, index);
    const int word = static_cast<std::uint16_t>(raw);
    if (const int bit = BitOf(g, number); bit >= 0)
        return (word >> bit) & 1;
    return IsUnsigned(g, number) ? word : raw;
}

int Cn008FromDrive(int value) {
    switch (value & 0xF) {
    case 6:
        return (value & 0xF0) | 4;
    case 7:
        return (value & 0xF0) | 5;
    default:
        return value;
    }
}

int MaskUnsignedParameter(char letter, int value, int index) {
    if (letter == 'o' && (index == 1607 || index == 1629))
        return value & 0xFFFF;
    return value;
}

int HexDigitValue(char c) {
    return ParseHexChar(c);
}

int HexWordValue(std::string_view digits) {
    if (digits.size() < 4)
        return -1;
    int value = 0;
    for (int i = 0; i < 4; ++i) {
        const int d = HexDigitValue(digits[i]);
        if (d < 0)
            return -1;
        value = value * 16 + d;
    }
    return value;
}

int ParameterTableIndex(std::uint16_t address) {
    const int block = address & 0xFF00;
    int offset = 512;
    if (block == 0x0500 || block == 0x3500)
        offset = 0;
    else if (block == 0x0C00 || block == 0x4300)
        offset = 256;
    else if (block == 0x2300)
        offset = 768;
    return (address & 0xFF) + offset;
}

int ParameterBaseProperty(char letter, int number, int index) {
    const int n = number;
    switch (Resolve(letter, index)) {
    case RegGroup::Cn:
        return InSet(n, {1, 2, 4, 5, 9, {29, 31}, {36, 40}, {45, 47}, {78, 80}, 84, 88, 90, {95, 97}});
    case RegGroup::Hn:
        return !InSet(n, {17, 18, 23, 24});
    case RegGroup::Pn3:
        return InSet(n, {1, 6, 13, 14, 16, 22, 29, 46, {48, 50}, 54, 57, 58});
    case RegGroup::onC:
        return Between(n, 53, 61);
    case RegGroup::onA:
        return n == 1;
    case RegGroup::onE:
        return 1;
    default:
        return 0;
    }
}

int ParameterPropertyFlags(std::string_view code) {
    const int index = ParamIndexFromCode(code);
    if (index <= 0)
        return 0;
    const char letter = ParamGroupLetter(code);
    const int n = ParamNumber(code);
    const RegGroup g = Resolve(letter, index);
    int flags = ParameterBaseProperty(letter, n, index);
    if (g == RegGroup::qn)
        flags |= PropertyImmediate;
    bool noReset = false;
    switch (g) {
    case RegGroup::Cn:
        noReset = InSet(n, {1, 27, 28, 30, 84, 90});
        break;
    case RegGroup::onC:
        noReset = InSet(n, {9, 18, 29, 51, 60, 61});
        break;
    case RegGroup::ono:
        noReset = Between(n, 1, 16) || n == 23;
        break;
    case RegGroup::onA:
        noReset = n != 36;
        break;
    case RegGroup::onE:
        noReset = n == 1;
        break;
    default:
        break;
    }
    if (noReset)
        flags |= PropertyNoReset;
    if ((g == RegGroup::Tn && InSet(n, {1, 2, 10, 17})) ||
        (g == RegGroup::EC && Between(n, 1, 27) && !InSet(n, {3, 15, 19})))
        flags |= PropertyAfterServoOff;
    return flags;
}

int ParameterLegendIcon(int flags) {
    if (flags & PropertyAfterServoOff)
        return 4;
    if ((flags & PropertyRestart) && (flags & PropertyNoReset))
        return 0;
    if (flags & PropertyNoReset)
        return 3;
    if (flags & PropertyImmediate)
        return 2;
    if (flags & PropertyRestart)
        return 1;
    return -1;
}
