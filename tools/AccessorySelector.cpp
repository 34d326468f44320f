#include "tools/AccessorySelector.h"

#include "framework/core/ResourceModule.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace {

const std::initializer_list<unsigned> Groups[6] = {
    // A
    {0x1010, 0x1050, 0x1020, 0x1060, 0x1070, 0x1080, 0x1090, 0x1110, 0x11F0, 0x5100, 0x1130, 0x1190,
     0x11A0, 0x1120, 0x1140, 0x1150, 0x11D0, 0x11E0, 0x1220, 0x1260, 0x1200, 0x5200, 0x12F0, 0x1230,
     0x12D0, 0x1210, 0x12E0, 0x1310, 0x13B0, 0x13C0, 0x2010, 0x2020, 0x2030, 0x2040, 0x2110, 0x2120},
    // B
    {0x1240, 0x1250, 0x13E0, 0x1320, 0x1340, 0x1330, 0x1350, 0x13F0, 0x5310, 0x5320, 0x13A0, 0x1440,
     0x1400, 0x1410, 0x1420, 0x1430, 0x1450, 0x1460, 0x1470, 0x5410, 0x5420, 0x5430, 0x5460, 0x5440,
     0x5450, 0x15B0, 0x15D0, 0x5510, 0x15C0, 0x15E0, 0x1510, 0x1520, 0x1530, 0x5520, 0x1540, 0x1550,
     0x1740, 0x1750, 0x5710, 0x1730, 0x1710, 0x1720, 0x2130, 0x2140, 0x2260, 0x2210, 0x2220, 0x2270,
     0x2230, 0x2250, 0x2370, 0x2320, 0x2380, 0x2310, 0x2340, 0x2330, 0x2410, 0x2400, 0x2490, 0x25C0},
    // C
    {0x1760, 0x1850, 0x2360, 0x2440},
    // D
    {0x1770, 0x1780, 0x1790, 0x2350},
    // E
    {0x1830, 0x18D0, 0x1820, 0x1860, 0x1870, 0x18B0, 0x1840, 0x1930, 0x1940, 0x1920, 0x1950,
     0x19B0, 0x19C0, 0x1A30, 0x1A10, 0x1A60, 0x1B80, 0x2450, 0x2420, 0x2460, 0x2500, 0x2570,
     0x2520, 0x2510, 0x2580, 0x2530, 0x2590, 0x2650, 0x26B0, 0x2660, 0x2610, 0x2690},
    // F
    {0x1A50, 0x1A70, 0x1B50, 0x1B10, 0x1BC0, 0x1B70, 0x1B20, 0x1BB0, 0x2670, 0x26A0, 0x26E0,
     0x2710, 0x2720, 0x2780, 0x27B0, 0x27C0, 0x2730, 0x27A0, 0x2860, 0x2810, 0x2850},
};

// Selectors of rows 1, 2, 3, 4, 5 and 8 by group A..F.
constexpr int ByGroup[6][6] = {
    {1, 0, 1, 0, 0, 1}, {2, 1, 2, 1, 0, 2}, {4, 0, 0, 0, 1, 2},
    {8, 0, 3, 0, 1, 2}, {3, 0, 3, 0, 1, 2}, {5, 0, 3, 0, 1, 2},
};
constexpr int GroupRows[6] = {1, 2, 3, 4, 5, 8};

struct Part {
    int selector;
    const char* number;
};

struct AccessoryKind {
    std::initializer_list<Part> parts; // selector 0: any selector (row 9 follows row 8)
    const char* lengths;
};

const AccessoryKind Kinds[AccessoryRowCount + 1] = {
    {{}, ""},
    {{{1, "HBAX-P001 ~ 010"},
      {2, "HBAX-P002 ~ 010"},
      {3, "HBAX-P003 ~ 010"},
      {4, "HBAX-P004 ~ 010"},
      {5, "HBAX-P005 ~ 010"},
      {8, "HBAX-P006 ~ 010"}},
     "1, 3, 5, 10"},
    {{{1, "HBAX-P007 ~ 010"}}, "1, 3, 5, 10"},
    {{{1, "HBAX-P008"}, {2, "HBAX-P009"}, {3, "HBAX-P010"}}, ""},
    {{{1, "HBAX-P011"}}, ""},
    {{{1, "HBAX-P012"}}, ""},
    {{{1, "HBAX-P013 ~ 010"}, {2, "HBAX-P014 ~ 010"}, {6, "HBAX-P015 ~ 010"}, {7, "HBAX-P016 ~ 010"}},
     "1, 3, 5, 10"},
    {{{1, "HBAX-P017 ~ 010"}, {2, "HBAX-P018 ~ 010"}}, "1, 3, 5, 10"},
    {{{1, "HBAX-P019"}, {2, "HBAX-P020"}}, ""},
    {{{0, "HBAX-P021"}}, ""},
    {{{1, "HBAX-P022"}}, ""},
    {{{1, "HBAX-P023"}}, ""},
    {{{1, "HBAX-P024 ~ 002"}}, "0.5, 1, 2"},
    {{{1, "HBAX-P025"}}, ""},
    {{{1, "HBAX-P026 ~ 010"}}, "1, 3, 5, 10"},
    {{{1, "HBAX-P027 ~ 002"}}, "1, 2"},
    {{{1, "HBAX-P028 ~ 0050"}}, "0.1, 0.3, 0.5, 1, 2, 3, 4, 5"},
    {{{1, "HBAX-P028 ~ 0050"}}, "0.1, 0.3, 0.5, 1, 2, 3, 4, 5"},
    {{{1, "HBAX-P029 ~ 002"}}, "1, 2"},
    {{{1, "HBAX-P030"}}, ""},
    {{{1, "HBAX-P030"}}, ""},
};

} // namespace

int AccessoryGroupOf(unsigned typeCode) {
    const unsigned code = typeCode & ~0xFu & 0xFFFFu;
    for (int group = 0; group < 6; ++group)
        if (std::find(Groups[group].begin(), Groups[group].end(), code) != Groups[group].end())
            return group;
    return -1;
}

AccessorySelectors SelectAccessories(unsigned typeCode, int encoderCode) {
    AccessorySelectors selectors{};
    const int group = AccessoryGroupOf(typeCode);
    if (group < 0)
        return selectors;
    for (int i = 0; i < 6; ++i)
        selectors[static_cast<size_t>(GroupRows[i])] = ByGroup[group][i];
    const bool groupA = group == 0;
    if (encoderCode == 1 || encoderCode == 2) {
        selectors[6] = groupA ? 6 : 7; // optical
    } else if (encoderCode == 7 || encoderCode == 12) {
        selectors[6] = groupA ? 1 : 2; // communication incremental
    } else if (encoderCode == 5 || encoderCode == 10 || encoderCode == 13) {
        selectors[7] = groupA ? 1 : 2; // absolute, with its battery
        selectors[10] = 1;
    }
    for (int row : {9, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20})
        selectors[static_cast<size_t>(row)] = 1;
    return selectors;
}

std::vector<AccessoryListRow> AccessoryList(const AccessorySelectors& selectors) {
    std::vector<AccessoryListRow> rows;
    for (int row = 1; row <= AccessoryRowCount; ++row) {
        const int selector = selectors[static_cast<size_t>(row)];
        if (selector == 0 && row != 1)
            continue;
        AccessoryListRow line;
        line.row = row;
        line.name = LoadResString(AccessoryNameFirstStringId + row - 1);
        for (const Part& part : Kinds[row].parts)
            if (selector != 0 && (part.selector == 0 || part.selector == selector))
                line.partNumber = part.number;
        line.lengths = Kinds[row].lengths;
        rows.push_back(line);
    }
    return rows;
}
