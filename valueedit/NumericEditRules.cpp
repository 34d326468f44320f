#include "valueedit/NumericEditRules.h"

#include "valueedit/ValueText.h"

#include <algorithm>
#include <cstdio>
#include <string>

EntryMode GenericEntryMode(std::string_view code, unsigned attributeFlags) {
    if (code.substr(0, 3) == "MAb")
        return EntryMode::Hex8;
    if (code == "Cn054" || ((attributeFlags >> 4) & 0xF) == 0xE)
        return EntryMode::Hex4;
    return EntryMode::Decimal;
}

const char* EntryMask(EntryMode mode) {
    switch (mode) {
    case EntryMode::Hex8:
        return "########";
    case EntryMode::Hex4:
        return "####";
    default:
        return "";
    }
}

std::string FormatEntry(EntryMode mode, int value) {
    char text[24];
    const char* format = mode == EntryMode::Hex8 ? "%.7X" : mode == EntryMode::Hex4 ? "%.4X" : "%d";
    if (mode == EntryMode::Decimal)
        std::snprintf(text, sizeof text, format, value);
    else
        std::snprintf(text, sizeof text, format, static_cast<unsigned>(value));
    return text;
}

SpinRange GenericSpinRange(int min, int max) {
    return {min <= 0 ? min : 0, max};
}

int DecimalWidth(int value) {
    return static_cast<int>(std::to_string(value).size());
}

int GenericTextLimit(std::string_view code, int min, int max) {
    int limit = 7;
    if (code == "Pn321" || code == "Pn331" || code.substr(0, 3) == "Pn4")
        limit = 8;
    else if (code.size() == 5 && code.substr(0, 4) == "onE0" && code[4] >= '5' && code[4] <= '9')
        limit = 9;
    else if (code == "onE10")
        limit = 9;
    return std::max({limit, DecimalWidth(min), DecimalWidth(max)});
}

TypedValue TypeDecimal(std::string_view text, int previous, int min, int max) {
    const auto parsed = ParseDecimalEntry(text);
    if (min <= 0) {
        if (!parsed || *parsed < min || *parsed > max)
            return {previous, true};
        return {*parsed, false};
    }
    return {parsed.value_or(previous), false};
}

std::string StripHexPrefix(std::string text) {
    const auto at = text.find("0x");
    if (at != std::string::npos)
        text.erase(at, 2);
    return text;
}

TypedValue TypeHexGeneric(std::string_view text, EntryMode mode, int previous, int max) {
    const int value = HexToInt(text);
    if (mode == EntryMode::Hex8) {
        // Eight digits above 0x7FFFFFFF wrap below 0, so they are refused here too.
        if (value > max || value < 0)
            return {previous, true};
        return {value, false};
    }
    if (value > max && previous <= max)
        return {previous, true};
    return {value, false};
}

TypedValue TypeHexAlarmMask(std::string_view text, int previous, int max) {
    const int value = HexToInt(text);
    if (value > max)
        return {previous, true};
    return {value, false};
}

OkVerdict JudgeOk(std::string_view code, bool hexMode, std::string_view decimalText, int value, int min,
                  int max, int* accepted) {
    int candidate = value;
    if (!hexMode) {
        const EntryCheck check = CheckDecimalText(decimalText, &candidate);
        if (check == EntryCheck::NotInteger)
            return OkVerdict::NotInteger;
        if (check == EntryCheck::TooLarge)
            return OkVerdict::OutOfRange;
    }
    bool inRange = candidate >= min && candidate <= max;
    if (!hexMode && code == "Pn354")
        inRange = candidate <= max && (candidate >= min || candidate == 0);
    if (!inRange)
        return OkVerdict::OutOfRange;
    if (accepted)
        *accepted = candidate;
    return OkVerdict::Accept;
}

int ToggleAlarmBit(int value, int k) {
    const int bit = 1 << k;
    return (value & bit) ? (value & (0xFFFF - bit)) : (value | bit);
}

ControlModeChoices BuildControlModeChoices(int seriesCode, int value, int min, int max) {
    ControlModeChoices choices;
    if (seriesCode == 3) {
        choices.entries = {"6", "D"};
        choices.rangeText = "6-D";
        choices.selection = value == 6 ? 0 : 1;
        return choices;
    }
    if (seriesCode == 7) {
        choices.entries = {"2", "6", "A"};
        choices.rangeText = "(2,6,A)";
        choices.selection = value == 2 ? 0 : value == 6 ? 1 : 2;
        return choices;
    }
    for (long long n = min; n <= max && static_cast<int>(choices.entries.size()) < kMaxControlModeEntries;
         ++n) {
        char text[16];
        std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(n));
        choices.entries.emplace_back(text);
    }
    // The entry of the value itself: entries start at min.
    const long long index = static_cast<long long>(value) - min;
    choices.selection =
        index >= 0 && index < static_cast<long long>(choices.entries.size()) ? static_cast<int>(index) : -1;
    return choices;
}

std::optional<int> ControlModeValue(int seriesCode, int entry, int min) {
    if (entry < 0)
        return std::nullopt;
    switch (seriesCode) {
    case 3:
    case 5:
    case 6:
    case 8:
    case 9:
        return 13;
    case 7: {
        static const int values[] = {2, 6, 10};
        return entry < 3 ? std::optional<int>(values[entry]) : std::nullopt;
    }
    default:
        return min + entry;
    }
}

namespace {
constexpr RigidityGains kRigidityTable[kRigidityLevels] = {
    {2, 2, 28000, 16},     {3, 3, 19000, 24},     {6, 6, 9000, 48},      {9, 9, 6000, 72},
    {12, 12, 6000, 96},    {15, 15, 6000, 120},   {20, 20, 4500, 160},   {30, 30, 3000, 240},
    {40, 40, 2000, 320},   {50, 50, 1600, 400},   {60, 60, 1500, 480},   {70, 70, 1000, 560},
    {85, 85, 1000, 680},   {100, 100, 800, 800},  {120, 120, 800, 960},  {140, 140, 600, 1120},
    {160, 160, 600, 1280}, {180, 180, 500, 1440}, {200, 200, 500, 1600}, {225, 225, 400, 1800},
    {250, 250, 400, 2000}};
} // namespace

RigidityGains RigidityGainsOf(int level) {
    if (level < 1 || level > kRigidityLevels)
        level = 1;
    return kRigidityTable[level - 1];
}

int RigidityEntryOf(int value) {
    const int level = value & 0xFF;
    return level >= 1 && level <= kRigidityLevels ? level - 1 : -1;
}
