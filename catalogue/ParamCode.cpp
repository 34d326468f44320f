#include "catalogue/ParamCode.h"

#include <array>
#include <cstdio>
#include <utility>

namespace {

constexpr std::array<ParamGroupInfo, ParamGroupCount> kGroups{{
    {GroupCn, 0, "Cn0", 99, 'C'},     {GroupTn, 100, "Tn1", 18, 'T'},   {GroupSn, 200, "Sn2", 29, 'S'},
    {GroupPn3, 300, "Pn3", 85, 'P'},  {GroupPn4, 400, "Pn4", 99, 'P'},  {Groupqn, 500, "qn5", 7, 'q'},
    {GroupHn, 600, "Hn6", 24, 'H'},   {GroupEn, 700, "En7", 24, 'E'},   {Grouptn, 800, "tn8", 63, 't'},
    {GroupEC, 900, "EC9", 34, 'E'},   {GroupUn, 1000, "Un-", 97, 'U'},  {Groupdn, 1100, "dn-", 15, 'd'},
    {GroupAL, 1200, "AL", 10, 'A'},   {GrouponT, 1300, "onT", 24, 'o'}, {GrouponS, 1400, "onS", 18, 'o'},
    {Groupond, 1500, "ond", 2, 'o'},  {GrouponC, 1600, "onC", 69, 'o'}, {Groupono, 1700, "ono", 26, 'o'},
    {GrouponA, 1800, "onA", 38, 'o'}, {GrouponE, 1900, "onE", 17, 'o'}, {GrouponU, 2000, "onU", 52, 'o'},
    {GroupMAb, 2100, "MAb", 16, 'M'},
}};

// Decimal value of the leading digits of text (no sign, no blanks): "05" -> 5, "5x" -> 5, "x5" -> 0.
int LeadingDigits(std::string_view text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

const ParamGroupInfo& ParamGroupTable(ParamGroup group) {
    return kGroups.at(static_cast<size_t>(group));
}

int ParamGroupOfIndex(int index) {
    if (index < 0 || index >= ParamGroupCount * 100)
        return -1;
    return index / 100;
}

std::string ParamCodeFromIndex(int index) {
    int group = ParamGroupOfIndex(index);
    if (group < 0)
        return {};
    char text[16];
    std::snprintf(text, sizeof text, "%s%02d", kGroups[group].prefix, index % 100);
    return text;
}

int ParamNumber(std::string_view code) {
    if (code.size() < 2)
        return 0;
    return LeadingDigits(code.substr(code.size() - 2));
}

int ParamIndexFromCode(std::string_view code) {
    // Every form has five characters except the alarm codes ("AL03").
    const bool alarm = code.size() >= 2 && code[0] == 'A' && code[1] == 'L';
    if (code.size() < (alarm ? 4u : 5u))
        return -1;
    const bool prefixed = code[0] == 'F' || (code[0] == 'E' && code[1] == 'r');
    const char letter = code[prefixed ? 2 : 0];
    const int number = ParamNumber(code);
    switch (letter) {
    case 'C':
        return number;
    case 'T':
        return 100 + number;
    case 'S':
        return 200 + number;
    case 'L':
        return 400 + number;
    case 'q':
        return 500 + number;
    case 'H':
        return 600 + number;
    case 't':
        return 800 + number;
    case 'U':
        return 1000 + number;
    case 'd':
        return 1100 + number;
    case 'A':
    case 'r':
        return 1200 + number;
    case 'M':
        return 2100 + number;
    case 'P':
        // "Pn3nn"/"Pn4nn" carry the hundreds in the code itself.
        return prefixed ? 300 + number : LeadingDigits(code.substr(code.size() - 3));
    case 'E':
        return (code[1] == 'n' ? 700 : 900) + number;
    case 'o':
        switch (code[2]) {
        case 'T':
            return 1300 + number;
        case 'S':
            return 1400 + number;
        case 'd':
            return 1500 + number;
        case 'C':
            return 1600 + number;
        case 'o':
            return 1700 + number;
        case 'A':
            return 1800 + number;
        case 'E':
            return 1900 + number;
        case 'U':
            return 2000 + number;
        default:
            return 0;
        }
    default:
        return 0;
    }
}

char ParamGroupLetter(std::string_view code) {
    return code.empty() ? '\0' : code[0];
}

std::string ParamText(std::string_view code) {
    return std::string(code);
}

bool IsDocumentParameterIndex(int index) {
    const int group = ParamGroupOfIndex(index);
    if (group < 0 || group == GroupUn || group == Groupdn || group == GroupAL || group == GrouponU)
        return false;
    const int number = index % 100;
    return number >= 1 && number <= kGroups[group].count;
}

namespace {
constexpr std::array<std::pair<int, ParamGroup>, 11> kDefiniteIds{{
    {1, GroupCn},
    {2, GroupTn},
    {3, GroupSn},
    {4, GroupPn3},
    {5, Groupqn},
    {6, GroupHn},
    {8, GroupPn4},
    {9, GroupEn},
    {10, Grouptn},
    {11, GroupEC},
    {12, GroupMAb},
}};
} // namespace

int DefiniteGroupId(ParamGroup group) {
    for (const auto& [id, g] : kDefiniteIds)
        if (g == group)
            return id;
    return 0;
}

int ParamGroupFromDefiniteId(int definiteId) {
    for (const auto& [id, g] : kDefiniteIds)
        if (id == definiteId)
            return g;
    return -1;
}
