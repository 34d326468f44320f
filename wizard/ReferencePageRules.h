#pragma once
// What the reference-input pages decide from their members alone: how a typed text becomes a value,
// the trial calculations with the state of their Set button, the gear ratio and S-curve checks, and
// the enabled states of the homing pages. Pure functions; the pages call them and show the outcome.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// ---- typed values ----

// The value of a page edit's text: "" and a lone "-" (a number being typed) read 0; any other text
// must be a whole number that fits 32 bits. Nothing for a text that is not: the page then treats it
// as out of range instead of reading some number out of it.
std::optional<int> ParsePageValue(std::string_view text);

inline bool ValueInRange(std::int64_t value, std::int64_t minimum, std::int64_t maximum) {
    return value >= minimum && value <= maximum;
}

// A bounded input (a trial block's time or percent, a calculator field): its value when the text is
// empty (0) or a whole number within 0..bound, nothing when it must be refused (the field then gets
// its previous value back). Negative, unparsable and oversized texts are refused.
std::optional<int> AcceptBoundedInput(std::string_view text, int bound);

// The whole number nearest a non-negative result, rounded as the pages round (value + 0.5,
// truncated), bounded to +-2^53 before the conversion so that no result is undefined; a result that
// large is outside every range a page has.
std::int64_t RoundTrialResult(double value);

// ---- trial calculation blocks ----

enum class TrialForm {
    Exponential, // time in which a first-order delay reaches the percentage: time / -ln(1 - p/100)
    Linear,      // time of a linear ramp to 100 % that reaches p % in the given time: time x 100 / p
};

struct TrialInputs {
    bool timeGiven = false; // the time mirror holds text
    int time = 0;
    bool percentGiven = false;
    int percent = 0;
};

// The result, or nothing when an input is missing or 0 (the result static stays empty).
std::optional<double> CalculateTrial(TrialForm form, const TrialInputs& inputs);
// Set is enabled exactly when the rounded result lies in [minimum, maximum]; no result disables it.
bool TrialSetEnabled(std::optional<double> result, int minimum, int maximum);

// ---- page checks ----

// Outcome of a page check after the texts were found to be numbers: which edit failed and why.
enum class PageCheckFault { None, OutOfRange, GearRatioBelow, GearRatioAbove, SCurveAccel, SCurveDecel };
struct PageCheckResult {
    PageCheckFault fault = PageCheckFault::None;
    int field = -1; // index of the edit to focus, in the page's own order
    bool ok() const { return fault == PageCheckFault::None; }
};

struct ValueRange {
    int minimum = 0;
    int maximum = 0;
};

// The values in their stated order, each against its range: the first outside fails.
PageCheckResult CheckRanges(const int* values, const ValueRange* ranges, int count);

// The electronic gear page: numerators 1..4 then the denominator against the one range (fields 0..4),
// then each numerator's ratio to the denominator, in single precision as the drive computes it:
// below 1/1000 or above 32000 fails on that numerator's field.
PageCheckResult CheckGearRatioPage(const std::array<int, 4>& numerators, int denominator, ValueRange range);

// The S-curve page: ts, ta, td against their ranges (fields 0..2), then ts < ta / 2 (field 1) and
// ts < td / 2 (field 2), the halves truncated toward zero.
PageCheckResult CheckSCurvePage(int ts, int ta, int td, ValueRange tsRange, ValueRange taRange,
                                ValueRange tdRange);

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

// A selector of a pair or triple took a new DI: every other selector that held the same DI (above 0)
// goes back to "not in use". Returns the indexes that changed, as a bit mask.
unsigned ExcludeSameInput(int* selections, int count, int changed);
