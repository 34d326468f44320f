#include "catalogue/ParamAttributes.h"

#include "catalogue/NumberSets.h"
#include "catalogue/ParamCode.h"

using catalogue_detail::Between;
using catalogue_detail::InSet;

namespace {

// Series sets.
constexpr unsigned ALL = 0xEF000;
constexpr unsigned NO7 = 0xE7000;
constexpr unsigned NO35 = 0xE9000;
constexpr unsigned NO3 = 0xED000;
constexpr unsigned S4689 = 0xE1000;
constexpr unsigned S7 = 0x8000;
constexpr unsigned S6 = 0x40000;
constexpr unsigned S35 = 0x6000;
constexpr unsigned X = FormatHex4;
constexpr unsigned V = FormatVersion;

bool Restricted(const CatalogueContext& c) {
    return c.driveControlMode == 11 || c.driveControlMode == 12 || c.driveControlMode == 13 ||
           c.seriesCode == 5;
}

bool ModeRestricted(const CatalogueContext& c) {
    return c.driveControlMode == 11 || c.driveControlMode == 12;
}

unsigned CnFlags(int n, const CatalogueContext& c) {
    if (!Between(n, 1, 99))
        return 0;
    if (InSet(n, {1, 2, 4, 8, 9, 15, 30, 31, 41, 84, 90, 91, 97}))
        return ALL | X;
    if (n == 5)
        return NO35 | 2;
    if (n == 6)
        return S4689 | X;
    if (n == 19 || n == 24)
        return ALL | 3;
    if (InSet(n, {27, 28, 43, 44}))
        return S4689;
    if (InSet(n, {36, 39, 40, 87}))
        return S7;
    if (n == 37 || n == 38)
        return S7 | X;
    if (InSet(n, {42, 45, 46, 47, 54, 55, 62, 79, 82, 83, 88, 92, 93, 95, 96}))
        return 0;
    if (n == 78)
        return (c.driveControlMode == 13 || c.seriesCode == 5) ? 0 : X;
    if (n == 80)
        return NO7;
    if (n == 86)
        return Restricted(c) ? 0 : S4689;
    return ALL;
}

unsigned SnFlags(int n, const CatalogueContext& c) {
    if (!Between(n, 1, 29))
        return 0;
    if (n == 2 || n == 3)
        return Restricted(c) ? 0 : NO7;
    if (n == 5)
        return NO7 | X;
    if (Between(n, 6, 10))
        return NO7;
    if (InSet(n, {16, 17, 18, 26}))
        return Restricted(c) ? 0 : S4689;
    if (Between(n, 19, 25))
        return 0;
    return ALL;
}

unsigned TnFlags(int n, const CatalogueContext& c) {
    if (!Between(n, 1, 18))
        return 0;
    if (InSet(n, {6, 7, 13, 14, 15}))
        return Restricted(c) ? 0 : NO7;
    if (n == 1)
        return NO7 | X;
    if (InSet(n, {2, 5, 10, 17}))
        return NO7;
    if (InSet(n, {3, 4, 9, 16}))
        return Restricted(c) ? 0 : S4689;
    if (n == 11 || n == 12)
        return 0;
    return ALL;
}

unsigned Pn3Flags(int n, const CatalogueContext& c) {
    if (!Between(n, 1, 85))
        return 0;
    const bool r = Restricted(c);
    auto unlessR = [r](unsigned flags) { return r ? 0u : flags; };
    if (n == 1 || n == 17)
        return unlessR(NO35 | X);
    if (Between(n, 2, 6))
        return unlessR(NO35 | 3);
    if (n == 7)
        return ALL | 3;
    if (InSet(n, {14, 16, 32}))
        return ALL | X;
    if (n == 15 || n == 81)
        return unlessR(ALL | X);
    if (InSet(n, {18, 19, 22, 23, 34}))
        return unlessR(NO35);
    if (n == 55)
        return NO35;
    if (InSet(n, {20, 21, 33}))
        return unlessR(NO35 | 2);
    if (InSet(n, {24, 27, 31, 51, 52, 59, 60, 78, 79, 80}))
        return unlessR(S4689);
    if (InSet(n, {25, 26, 35}))
        return unlessR(S4689 | 2);
    if (n == 48)
        return S4689 | 2;
    if (InSet(n, {28, 45, 64, 66, 67, {70, 77}}))
        return 0;
    if (InSet(n, {29, 36, 38, 39, 41, 42, 44}))
        return ALL | 2;
    if (n == 30)
        return (c.driveControlMode == 13 || c.seriesCode == 5) ? 0 : (ALL | 2);
    if (n == 46)
        return NO7 | X;
    if (n == 47 || n == 49)
        return S4689;
    if (n == 50)
        return unlessR(S4689 | X);
    if (InSet(n, {53, 63, 68, 69}))
        return 2;
    if (n == 54)
        return NO35 | 2;
    if (n == 61 || n == 62)
        return S7;
    if (n == 65)
        return X;
    if (n == 84 || n == 85)
        return unlessR(NO7);
    return ALL;
}

unsigned Pn4Flags(int n, const CatalogueContext& c) {
    if (!Between(n, 0, 99) || Restricted(c))
        return 0;
    if (n >= 97)
        return S4689;
    return n % 3 == 0 ? ALL : (ALL | 2);
}

unsigned HnFlags(int n) {
    if (!Between(n, 1, 24))
        return 0;
    return InSet(n, {{7, 12}, 16, {19, 22}}) ? (NO3 | X) : (ALL | X);
}

unsigned EnFlags(int n) {
    if (!Between(n, 1, 24))
        return 0;
    if (InSet(n, {9, 18, 19}))
        return NO7 | X;
    return n == 24 ? S6 : NO7;
}

unsigned ECFlags(int n, const CatalogueContext& c) {
    if (!Between(n, 1, 99) || Restricted(c))
        return 0;
    if (n == 2)
        return NO7 | X;
    if (InSet(n, {{7, 12}, 16, 17, 26}))
        return NO7 | 2;
    if (n == 31)
        return 0;
    return NO7;
}

unsigned tnFlags(int n) {
    if (!Between(n, 26, 63))
        return 0;
    return InSet(n, {30, 32, 37, 45}) ? (ALL | X) : ALL;
}

unsigned UnFlags(int n, const CatalogueContext& c) {
    if (!Between(n, 1, 97))
        return 0;
    if (InSet(n, {8, 15, 17, 19, 21, 23, 26, {32, 42}, 48, 51, {60, 70}, {77, 83}, {85, 87}}))
        return 0;
    if (InSet(n, {9, 11, 22, 50, 52, {91, 95}}))
        return S4689;
    if (InSet(n, {12, 13, 58, 59}))
        return NO7;
    if (n == 54)
        return ModeRestricted(c) ? 0 : NO7;
    if (n == 57)
        return Restricted(c) ? 0 : S4689;
    if (Between(n, 71, 76))
        return NO35;
    return ALL;
}

unsigned dnFlags(int n) {
    if (n == 4 || n == 9)
        return ALL | V;
    if (n == 7)
        return S35;
    if (n == 8)
        return ALL | X;
    return 0;
}

unsigned OnGroupFlags(int group, int n) {
    switch (group) {
    case GrouponA:
        if (!Between(n, 1, 38) || n == 36)
            return 0;
        return n == 1 ? (ALL | X) : ALL;
    case GrouponC:
        if (!Between(n, 1, 69) || InSet(n, {44, 45, {63, 67}}))
            return 0;
        return InSet(n, {2, 9, 12, 18, 19, 30, 37, 42, 52, 54, 59, 60, 61}) ? (ALL | X) : ALL;
    case GrouponE:
        if (n == 1 || n == 2)
            return ALL | X;
        return InSet(n, {{3, 11}, {14, 17}}) ? ALL : 0;
    case GrouponS:
        if (!Between(n, 1, 18) || n == 4)
            return 0;
        return InSet(n, {2, 6, 8, 11}) ? (ALL | X) : ALL;
    case GrouponT:
        if (!Between(n, 1, 24))
            return 0;
        return InSet(n, {7, 8, 10, 14}) ? (ALL | X) : ALL;
    case GrouponU:
        if (!Between(n, 1, 52))
            return 0;
        return n == 52 ? (ALL | X) : ALL;
    case Groupond:
        return (n == 1 || n == 2) ? ALL : 0;
    case Groupono:
        if (!Between(n, 1, 26) || n == 18)
            return 0;
        return InSet(n, {3, 7, 11, 15, 20, 21, 22, 25}) ? ALL : (ALL | X);
    default:
        return 0;
    }
}

} // namespace

unsigned ParamTableFlags(std::string_view code, const CatalogueContext& context) {
    const int index = ParamIndexFromCode(code);
    if (index <= 0)
        return 0;
    const int group = ParamGroupOfIndex(index);
    const int n = index % 100;
    switch (group) {
    case GroupCn:
        return CnFlags(n, context);
    case GroupTn:
        return TnFlags(n, context);
    case GroupSn:
        return SnFlags(n, context);
    case GroupPn3:
        return Pn3Flags(n, context);
    case GroupPn4:
        return Pn4Flags(n, context);
    case Groupqn:
        return Between(n, 1, 7) ? ALL : 0;
    case GroupHn:
        return HnFlags(n);
    case GroupEn:
        return EnFlags(n);
    case GroupEC:
        return ECFlags(n, context);
    case Grouptn:
        return tnFlags(n);
    case GroupMAb:
        return X;
    case GroupUn:
        return UnFlags(n, context);
    case Groupdn:
        return dnFlags(n);
    case GroupAL:
        return 0;
    default:
        return OnGroupFlags(group, n);
    }
}

unsigned ParamFlags(std::string_view code, const CatalogueContext& context) {
    if (!ParamVisible(code, -1, context))
        return 0;
    return ParamTableFlags(code, context);
}

unsigned SeriesBit(int seriesCode) {
    switch (seriesCode) {
    case 3:
        return AttrSeries3;
    case 4:
        return AttrSeries4;
    case 5:
        return AttrSeries5;
    case 6:
        return AttrSeries6;
    case 7:
        return AttrSeries7;
    case 8:
        return AttrSeries8;
    case 9:
        return AttrSeries9;
    default:
        return 0;
    }
}

bool ParamInSeries(std::string_view code, const CatalogueContext& context) {
    return (ParamFlags(code, context) & SeriesBit(context.seriesCode)) != 0;
}

bool ParamEditable(std::string_view code, const CatalogueContext& context) {
    const int i = ParamIndexFromCode(code);
    if (i > 900)
        return i != 2100;
    if (i == 900)
        return false;
    if (i == 400)
        return context.seriesCode != 5;
    if (i == 700)
        return context.seriesCode != 7;
    return true;
}

bool ParamVisible(std::string_view code, int option, const CatalogueContext& c) {
    const int index = ParamIndexFromCode(code);
    const int series = c.seriesCode;
    const bool whole = option < 0;
    auto optionIn = [&](std::initializer_list<catalogue_detail::Span> options) {
        return !whole && InSet(option, options);
    };
    switch (index) {
    case 9:
        return !(series == 3 && optionIn({2, 3}));
    case 37:
        return !(InSet(series, {4, 5, 6, 8, 9}) && optionIn({1}));
    case 41:
        return !(series == 3 && optionIn({2}));
    case 78:
    case 79:
    case 95:
    case 96:
        return !(series == 4 || series == 5);
    case 80:
        return c.driveSoftwareVersion >= 60 || c.driveIdWord >= 1;
    case 81:
        return c.driveIdWord >= 6;
    case 97:
        return !optionIn({1, 2});
    case 205:
        return !(series == 3 && optionIn({1}));
    case 315:
        return !(series == 5 && optionIn({2}));
    case 316:
        return !(series == 5 && optionIn({2, 3}));
    case 332:
        if (optionIn({0}) && InSet(c.driveControlMode, {11, 12, 13}))
            return false;
        return !(series == 3 && optionIn({3}));
    case 346:
        return !(series == 5 && optionIn({0}));
    case 382:
        return c.driveSoftwareVersion >= 60 || c.driveIdWord >= 1;
    case 383:
    case 384:
    case 385:
        return c.driveIdWord >= 1;
    case 709:
        return !optionIn({1}) || c.extendedVersion >= 909 || c.driveIdWord >= 1;
    case 1008:
        return false;
    case 1917:
        return !(c.extendedVersion < 908 && c.driveIdWord < 1);
    default:
        break;
    }
    if (Between(index, 359, 362))
        return series != 5;
    if (Between(index, 1319, 1324))
        return c.driveIdWord >= 6;
    if (Between(index, 601, 612)) {
        if (series == 5 && optionIn({1, {6, 8}, {10, 14}, {16, 20}, {22, 31}, 33, {37, 42}}))
            return false;
        if (series == 7 && optionIn({6, 8, 10, 11, 14, {26, 29}, {33, 40}}))
            return false;
        return true;
    }
    if (Between(index, 613, 616) || Between(index, 619, 622)) {
        if (optionIn({20, 30}))
            return false;
        if (Between(index, 613, 616) && InSet(series, {3, 5, 7}) && optionIn({{9, 14}, 19, 24, 26, 27}))
            return false;
        return true;
    }
    return true;
}

bool SeriesHasFeature(const CatalogueContext& context) {
    if (context.connected)
        return context.featureStatusWord != 0;
    switch (context.modelCode & 0xF000) {
    case 0x2000:
    case 0x4000:
    case 0x6000:
    case 0x8000:
    case 0xE000:
        return true;
    default:
        return false;
    }
}

int MapPositionIndex(int n) {
    if (n == 0)
        return 16;
    if (n == 1)
        return 13;
    return n - 1;
}
