#pragma once
// The per-parameter table of the digit-option editor (CParaComboDlg) and the layout it builds for a
// value: per digit a description, an option list, an enable state and which entry is selected.
#include "valueedit/DigitFields.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

// One digit of a table row. A digit with no options (count 0 and not hexEntries) is disabled.
struct DigitOptionSpec {
    int descriptionId = 0; // string id, 0: no description
    int firstOptionId = 0; // string id of the entry of the lowest listed value
    int optionCount = 0;
    bool hexEntries = false;       // entries "%X" of the listed values instead of strings
    bool ifVisible = false;        // offered only when the document's visibility allows (code, digit)
    int firstValue = 0;            // the value of entry 0 (1 where the list starts at 1)
    bool needsControlMode = false; // offered only when the drive's control mode is none of 11, 12, 13
};

struct DigitOptionRow {
    const char* code;
    DigitOptionSpec digits[4];
};

// The row of a code (Pn314 shares the row of Cn004); nullptr for a code the table does not know.
const DigitOptionRow* FindDigitOptionRow(std::string_view code);

// Asks whether option n (here: the digit number) of a parameter is offered.
using OptionVisibility = std::function<bool(std::string_view code, int option)>;

struct DigitOptionLayout {
    std::string valueText;                   // "%04X"
    std::array<std::string, 4> descriptions; // texts of statics 6002..6005
    std::array<std::string, 4> digitLabels;  // code + ".0" .. ".3"
    DigitComposer composer;                  // combos of digits 0..3 (ids 2009..2012)
};

// What FillDigitOptions shows for the value. controlMode is the drive's control mode code.
DigitOptionLayout BuildDigitOptions(std::string_view code, int value, const OptionVisibility& visible,
                                    int controlMode, const StringLoader& load);
