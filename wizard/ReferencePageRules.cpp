#include "wizard/ReferencePageRules.h"

#include "framework/core/Format.h"

#include <cmath>

namespace {

// Doubles hold every whole number up to here exactly.
constexpr double LargestExactWhole = 9007199254740992.0; // 2^53

} // namespace

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

RuleCheck CheckGearRatios(const std::array<int, 4>& numerators, int denominator) {
    for (int k = 0; k < 4; ++k) {
        const float ratio = static_cast<float>(numerators[k]) / static_cast<float>(denominator);
        if (ratio < 0.001f)
            return {RuleFault::GearRatioBelow, k};
        if (ratio > 32000.0f)
            return {RuleFault::GearRatioAbove, k};
    }
    return {};
}

RuleCheck CheckSCurveRule(int ts, int ta, int td) {
    if (!(ts < ta / 2))
        return {RuleFault::SCurveAccel, 1};
    if (!(ts < td / 2))
        return {RuleFault::SCurveDecel, 2};
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

unsigned ExcludeFromOtherSelectors(std::array<int, 3>& selections, int changed) {
    unsigned cleared = 0;
    if (changed < 0 || changed >= 3 || selections[changed] <= 0)
        return cleared;
    for (int i = 0; i < 3; ++i) {
        if (i != changed && selections[i] == selections[changed]) {
            selections[i] = 0;
            cleared |= 1u << i;
        }
    }
    return cleared;
}
