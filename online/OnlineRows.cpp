#include "online/OnlineRows.h"

#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamCode.h"

#include <algorithm>
#include <cstdint>

namespace {

// The number in the last three characters of a code ("Pn401" -> 401); -1 when they are no number.
int LastThreeDigits(std::string_view code) {
    if (code.size() < 3)
        return -1;
    int number = 0;
    for (char c : code.substr(code.size() - 3)) {
        if (c < '0' || c > '9')
            return -1;
        number = number * 10 + (c - '0');
    }
    return number;
}

std::optional<DocGroup> DocGroupOfCode(std::string_view code) {
    switch (ParamGroupLetter(code)) {
    case 'C':
        return DocCn;
    case 'T':
        return DocTn;
    case 'S':
        return DocSn;
    case 'q':
        return Docqn;
    case 'H':
        return DocHn;
    case 't':
        return Doctn;
    case 'M':
        return DocMAb;
    case 'P':
    case 'L':
        return LastThreeDigits(code) < 400 ? DocPn3 : DocPn4;
    case 'E':
        return LastThreeDigits(code) < 901 ? DocEn : DocEC;
    case 'o':
        // The other "on" groups are no parameters of this editor.
        if (code.starts_with("ono"))
            return Docono;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<ParameterLimits> LimitsOfCode(std::string_view code, const CKeloServoDoc* doc) {
    if (!doc || code.size() < 5)
        return std::nullopt;
    const std::optional<DocGroup> group = DocGroupOfCode(code);
    if (!group)
        return std::nullopt;
    const int number = ParamNumber(code);
    if (number < 1 || number > DocGroupSize(*group))
        return std::nullopt;
    return ParameterLimits{doc->Minimum(*group, number), doc->Maximum(*group, number),
                           doc->Default(*group, number)};
}

RowTexts RowTextsOf(std::string_view code, const CKeloServoDoc* doc, const CatalogueContext& context,
                    const StringLoader& load) {
    RowTexts texts;
    if (code.empty())
        return texts;
    texts.title = ParamTitle(code, load);
    texts.unit = ParamUnitText(code, context, load);
    texts.limits = LimitsOfCode(code, doc);
    if (texts.limits) {
        texts.range = ParamRangeText(code, texts.limits->minimum, texts.limits->maximum, context);
        texts.defaultValue = FormatParamValue(code, texts.limits->defaultValue, context);
    }
    return texts;
}

int DisplayWidthOfFlags(unsigned flags) {
    if ((flags & 7u) == 7u)
        return 9;
    if ((flags & 3u) == 3u)
        return 8;
    if (flags & 2u)
        return 6;
    return 5;
}

RowControlPlan PlanRowControls(bool active, bool limitsKnown, unsigned flags, int minimum, int maximum) {
    RowControlPlan plan;
    // Digits 2..5 stand (disabled) in every row; 6..9 only where the limits reach them.
    for (int digit = 1; digit <= 4; ++digit)
        plan.shown[digit] = true;
    plan.shown[0] = true;
    plan.enabled[0] = active && limitsKnown;
    plan.showDigits = active;
    if (!active || !limitsKnown)
        return plan;

    int width = DisplayWidthOfFlags(flags);
    plan.sixDigit = width != 5;
    const std::int64_t low = minimum;
    const std::int64_t high = maximum;
    auto reaches = [&](std::int64_t n) { return high >= n || high <= -n || low >= n || low <= -n; };
    auto offer = [&](int digit) { plan.shown[digit - 1] = plan.enabled[digit - 1] = true; };
    auto widen = [&](int w) { width = std::max(width, w); };

    if (flags & AttrFormatHexBit) {
        plan.hex = true;
        const std::array<std::int64_t, 3> reach = {0x10, 0x100, 0x1000};
        for (int digit = 2; digit <= 4; ++digit)
            plan.enabled[digit - 1] = reaches(reach[static_cast<size_t>(digit - 2)]);
        for (int digit = 2; digit <= 5; ++digit)
            plan.shown[digit - 1] = plan.enabled[digit - 1];
        plan.width = width;
        return plan;
    }

    if (reaches(100000000)) {
        offer(9);
        widen(9);
    }
    if (reaches(10000000)) {
        offer(8);
        if (low <= -10000000) {
            widen(9);
        } else if (low <= -1000000) {
            widen(9);
            plan.sixDigit = true;
        }
    }
    if (reaches(1000000)) {
        offer(7);
        if (low <= -1000000) {
            widen(8);
        } else if (low <= -100000) {
            widen(8);
            plan.sixDigit = true;
        }
    }
    if (reaches(10000)) {
        plan.enabled[4] = true;
        if (low <= -100000) {
            widen(7);
        } else if (low <= -10000) {
            widen(6);
            plan.sixDigit = true;
        }
    }
    plan.enabled[3] = reaches(1000);
    plan.enabled[2] = reaches(100);
    plan.enabled[1] = reaches(10);
    if (reaches(1000000) || (reaches(10000) && low <= -100000))
        offer(6);
    for (int digit = 2; digit <= 5; ++digit)
        plan.shown[digit - 1] = plan.enabled[digit - 1];
    plan.width = width;
    return plan;
}
