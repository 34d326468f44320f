#pragma once
// What the reference-input pages decide beyond the shared page blocks: the calculators' bounded
// inputs and rounding, the gear ratio and S-curve rules, the enabled states of the homing pages and
// the three-way selector. Pure functions; the pages call them and show the outcome.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// A bounded input (a trial block's time or percent, a calculator field): its value when the text is
// empty (0) or a whole number within 0..bound, nothing when it must be refused (the field then gets
// its previous value back). Negative, unparsable and oversized texts are refused.
std::optional<int> AcceptBoundedInput(std::string_view text, int bound);

// The whole number nearest a non-negative result, rounded as the pages round (value + 0.5,
// truncated), bounded to +-2^53 before the conversion so that no result is undefined; a result that
// large is outside every range a page has.
std::int64_t RoundTrialResult(double value);

// ---- page checks ----

// The rules a page checks after every value passed its range test: which edit to focus and why.
enum class RuleFault { None, GearRatioBelow, GearRatioAbove, SCurveAccel, SCurveDecel };
struct RuleCheck {
    RuleFault fault = RuleFault::None;
    int field = -1; // index of the edit to focus, in the page's own order
    bool ok() const { return fault == RuleFault::None; }
};

// The electronic gear page: each numerator's ratio to the denominator, in single precision as the
// drive computes it; below 1/1000 or above 32000 fails on that numerator (fields 0..3).
RuleCheck CheckGearRatios(const std::array<int, 4>& numerators, int denominator);
// String ids of the gear page's two messages.
inline constexpr int GearRatioBelowStringId = 1072;
inline constexpr int GearRatioAboveStringId = 1073;

// The S-curve page (fields ts 0, ta 1, td 2): ts < ta / 2 and ts < td / 2, the halves truncated
// toward zero.
RuleCheck CheckSCurveRule(int ts, int ta, int td);
inline constexpr int SCurveAccelStringId = 1070;
inline constexpr int SCurveDecelStringId = 1071;

// ---- enabled states of the homing pages ----

// The start-mode page: whether the SHOME selector and the homing method edit are enabled, nothing
// for a start mode outside 0..2 (the states stay as they are).
struct HomeControlStates {
    bool shomeSelector = false;
    bool homeMethod = false;
};
std::optional<HomeControlStates> HomeControlsForStartMode(int startMode);

// The search page by the chosen origin reference (Pn317.0): the three search-move radios, the move
// it forces, the four explanation statics (references 2/3, 4/5, 6/7, 8/9) and the selectors; nothing
// for a reference outside 0..9.
struct SearchPageStates {
    std::array<bool, 3> searchMoveRadios{};
    std::optional<int> forcedSearchMove;
    std::array<bool, 4> explanations{};
    bool limitSelectors = false; // POT and NOT
    bool originSelector = false; // ORG
};
std::optional<SearchPageStates> SearchPageStatesForReference(int homeReference);

// The pages that offer the torque-based origin (Pn361/Pn362) need a reference of 6..9.
inline bool ReferenceUsesTorqueOrigin(int homeReference) {
    return homeReference >= 6 && homeReference <= 9;
}

// ---- assignment selectors ----

// One of the three limit/origin selectors (POT, NOT, ORG) took a new DI: each other one that held
// the same DI (above 0) goes back to "not in use". Returns the indexes that changed, as a bit mask.
unsigned ExcludeFromOtherSelectors(std::array<int, 3>& selections, int changed);
