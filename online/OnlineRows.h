#pragma once
// The rules behind one row of the online editor: the limits of a code from the document, the texts
// a row or a slot shows for it, and which digit display and which digit buttons the row offers.
// Pure functions of the code, the document and the catalogue.
#include "catalogue/CatalogueContext.h"
#include "catalogue/ParamTexts.h"
#include "online/OnlineSteps.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

class CKeloServoDoc;

// The editor's rows and the selection's codes.
constexpr int OnlineRowCount = 8;

// Display widths of a row's five overlapping digit displays, narrowest first.
inline constexpr std::array<int, 5> OnlineDisplayWidths = {5, 6, 7, 8, 9};

struct ParameterLimits {
    int minimum = 0;
    int maximum = 0;
    int defaultValue = 0;
};

// The document's limits and default of a code, looked up by its group letter: C, T, S, q, H, t, M
// from their groups; P and L from Pn3 below number 400, else Pn4; E from En below number 901, else
// EC; o only for the ono group. Nothing without a document, for any other letter or "on" group, and
// for a number outside its group's size (a code from a file may name any number).
std::optional<ParameterLimits> LimitsOfCode(std::string_view code, const CKeloServoDoc* doc);

// What a row or a slot shows for a code.
struct RowTexts {
    std::string title;
    std::string unit;
    std::string range;        // "" when the limits are unknown or equal
    std::string defaultValue; // "" when the limits are unknown
    std::optional<ParameterLimits> limits;
};
// The texts of a code; an empty code gives empty texts and no limits. The qn titles come from
// their fixed strings (the catalogue's title of the code).
RowTexts RowTextsOf(std::string_view code, const CKeloServoDoc* doc, const CatalogueContext& context,
                    const StringLoader& load);

// The display width that a parameter's attribute word asks for: all three low bits 9, bits 0 and 1
// 8, bit 1 6, else 5.
int DisplayWidthOfFlags(unsigned flags);

// What one row shows: which display, which digit buttons (index 0 = the units digit).
struct RowControlPlan {
    int width = 5;         // the visible display
    bool sixDigit = false; // the step handlers feed the 6-digit display before the others
    bool hex = false;      // the 5-digit display draws hexadecimal
    bool showDigits = false;
    std::array<bool, OnlineDigitCount> shown{};
    std::array<bool, OnlineDigitCount> enabled{};
    bool operator==(const RowControlPlan&) const = default;
};

// The plan of a row: an inactive row, or one whose limits are unknown (stepping it would write 0),
// shows the digit 1..5 buttons disabled; an active one offers the digits its limits reach.
RowControlPlan PlanRowControls(bool active, bool limitsKnown, unsigned flags, int minimum, int maximum);
