#pragma once
// The rules the wizard's question pages share: live revert of a value edit, the check order on
// leaving a page, the trial calculation, the DI/DO selector and the range label. Pure: the page
// windows (wizard/ui) feed them texts and members and act on the answers.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// ---- Value edit with live revert --------------------------------------------------------------

// What an edit's change leaves in its member: the typed number (atoi reading, clamped to int), or
// the old value back with the page rewritten when the number lies outside [min, max].
struct LiveEditResult {
    int value;
    bool revert; // true: restore the old value and rewrite the page's controls
};
LiveEditResult LiveRevert(std::string_view text, int oldValue, int min, int max);

// ---- Page check on leaving --------------------------------------------------------------------

// One value edit of a page, in the order the page tests them.
struct CheckedValue {
    std::string text; // the edit's text
    int min;
    int max;
};
enum class PageCheckVerdict {
    Ok,
    Malformed,  // an empty or non-integer text: the data exchange speaks, the page stays
    OutOfRange, // focus and select `failingIndex`, "Out of range!", the page stays
};
struct PageCheckResult {
    PageCheckVerdict verdict = PageCheckVerdict::Ok;
    int failingIndex = -1;
};
// First every text must be a whole decimal number; then the values are tested in order.
PageCheckResult CheckPageValues(const std::vector<CheckedValue>& values);
inline constexpr int OutOfRangeStringId = 62009; // "Out of range!"

// ---- Trial calculation ------------------------------------------------------------------------

inline constexpr int TrialTimeBound = 99999;
// A trial input's change: the typed number when its unsigned reading stays within the bound and the
// text is an integer text, else the old value back (negative numbers fail the bound).
LiveEditResult TrialInputEdit(std::string_view text, int oldValue, unsigned bound);

enum class TrialForm { Exponential, Linear };
struct TrialResult {
    bool computed = false; // false: no result (an input missing or 0); the result static is empty
    double result = 0;
};
// timeText/percentText are the mirror statics: an empty mirror means the input was never accepted.
TrialResult TrialCalculate(TrialForm form, std::string_view timeText, int time, std::string_view percentText,
                           int percent);
// The value Set stores: the result rounded half up, bounded to int before converting.
int TrialRounded(double result);
// Set is enabled exactly when the rounded result lies within [min, max] (and there is one).
bool TrialSetEnabled(const TrialResult& trial, int min, int max);
// The result static's text ("%.f"), empty without a result.
std::string TrialResultText(const TrialResult& trial);

// ---- Assignment selector ----------------------------------------------------------------------

inline constexpr int NotInUseStringId = 1100; // "Not in use"
// Items of a DI (12) or DO (8) selector: "Not in use", then "DI-%d= " / "DO-%d= " and the name of
// the function each pin carries now. The name lookups are the catalogue's (DI: CodeNameText, DO:
// TypeNameText), handed in so the rule stays free of the application.
std::vector<std::string> SelectorItems(bool outputs, const std::vector<int>& assignments,
                                       const std::function<std::string(int functionCode)>& nameOf);
// A pair page: the other combo gives way when both would point at the same pin.
struct PairSelection {
    int first;
    int second;
};
PairSelection SelectInPair(PairSelection current, bool changedFirst, int selection);
// The contact radios show only for a pin in use.
inline bool ContactControlsShown(int selection) {
    return selection != 0;
}

// ---- Range label ------------------------------------------------------------------------------

// "(min ~ max)".
std::string RangeLabel(int min, int max);

// ---- Digits of packed parameters --------------------------------------------------------------

// Digit n (4 bits) of a value, and the value with digit n replaced; the new digit is masked to
// 0..15 so an unset choice (-1) can never spill into the neighbouring digits.
inline int DigitAt(int value, int n) {
    return (value >> (4 * n)) & 0xF;
}
inline int WithDigit(int value, int n, int digit) {
    const unsigned mask = 0xFu << (4 * n);
    return static_cast<int>((static_cast<unsigned>(value) & ~mask) |
                            ((static_cast<unsigned>(digit) & 0xFu) << (4 * n)));
}
