#include "wizard/ReferencePageRules.h"

#include "framework/core/Format.h"

#include <cmath>

namespace {

// Doubles hold every whole number up to here exactly.
constexpr double LargestExactWhole = 9007199254740992.0; // 2^53

} // namespace

std::optional<int> ParsePageValue(std::string_view text) {
    if (text.empty() || text == "-")
        return 0;
    return ParseInt(text);
}

std::optional<int> AcceptBoundedInput(std::string_view text, int bound) {
    if (text.empty())
        return 0;
    std::optional<int> value = ParseInt(text);
    if (!value || *value < 0 || *value > bound)
        return std::nullopt;
    return value;
}

std::int64_t RoundTrialResult(double value) {
    if (std::isnan(value))
        return 0;
    const double shifted = value + 0.5;
    if (shifted >= LargestExactWhole)
        return static_cast<std::int64_t>(LargestExactWhole);
    if (shifted <= -LargestExactWhole)
        return -static_cast<std::int64_t>(LargestExactWhole);
    return static_cast<std::int64_t>(shifted);
}

std::optional<double> CalculateTrial(TrialForm form, const TrialInputs& in) {
    if (!in.timeGiven || in.time == 0 || !in.percentGiven || in.percent == 0)
        return std::nullopt;
    const double fraction = in.percent / 100.0;
    if (form == TrialForm::Exponential)
        return in.time / -std::log(1.0 - fraction);
    return (1.0 / fraction) * in.time;
}

bool TrialSetEnabled(std::optional<double> result, int minimum, int maximum) {
    return result && ValueInRange(RoundTrialResult(*result), minimum, maximum);
}

PageCheckResult CheckRanges(const int* values, const ValueRange* ranges, int count) {
    for (int i = 0; i < count; ++i) {
        if (!ValueInRange(values[i], ranges[i].minimum, ranges[i].maximum))
            return {PageCheckFault::OutOfRange, i};
    }
    return {};
}

PageCheckResult CheckGearRatioPage(const std::array<int, 4>& numerators, int denominator, ValueRange range) {
    const int values[5] = {numerators[0], numerators[1], numerators[2], numerators[3], denominator};
    const ValueRange ranges[5] = {range, range, range, range, range};
    if (PageCheckResult ranged = CheckRanges(values, ranges, 5); !ranged.ok())
        return ranged;
    for (int k = 0; k < 4; ++k) {
        const float ratio = static_cast<float>(numerators[k]) / static_cast<float>(denominator);
        if (ratio < 0.001f)
            return {PageCheckFault::GearRatioBelow, k};
        if (ratio > 32000.0f)
            return {PageCheckFault::GearRatioAbove, k};
    }
    return {};
}

PageCheckResult CheckSCurvePage(int ts, int ta, int td, ValueRange tsRange, ValueRange taRange,
                                ValueRange tdRange) {
    const int values[3] = {ts, ta, td};
    const ValueRange ranges[3] = {tsRange, taRange, tdRange};
    if (PageCheckResult ranged = CheckRanges(values, ranges, 3); !ranged.ok())
        return ranged;
    if (!(ts < ta / 2))
        return {PageCheckFault::SCurveAccel, 1};
    if (!(ts < td / 2))
        return {PageCheckFault::SCurveDecel, 2};
    return {};
}

std::optional<HomeControlStates> HomeControlsForStartMode(int startMode) {
    switch (startMode) {
    case 0:
        return HomeControlStates{false, false};
    case 1:
        return HomeControlStates{false, true};
    case 2:
        return HomeControlStates{true, true};
    default:
        return std::nullopt;
    }
}

std::optional<SearchPageStates> SearchPageStatesForReference(int homeReference) {
    SearchPageStates states;
    if (homeReference == 0 || homeReference == 1) {
        // Searching for a limit switch: only the plain search move makes sense.
        states.searchMoveRadios = {true, false, false};
        states.forcedSearchMove = 0;
        states.limitSelectors = true;
        return states;
    }
    if (homeReference == 2 || homeReference == 3) {
        states.searchMoveRadios = {true, true, true};
        states.explanations[0] = true;
        states.originSelector = true;
        return states;
    }
    if (homeReference >= 4 && homeReference <= 9) {
        // The Z pulse and torque references need no search switch at all.
        states.searchMoveRadios = {false, false, true};
        states.forcedSearchMove = 2;
        states.explanations[1 + (homeReference - 4) / 2] = true;
        return states;
    }
    return std::nullopt;
}

unsigned ExcludeSameInput(int* selections, int count, int changed) {
    unsigned cleared = 0;
    if (changed < 0 || changed >= count || selections[changed] <= 0)
        return cleared;
    for (int i = 0; i < count; ++i) {
        if (i != changed && selections[i] == selections[changed]) {
            selections[i] = 0;
            cleared |= 1u << i;
        }
    }
    return cleared;
}
