#pragma once
// The layouts of the fixed digit and bit editors: which combo shows which field with which entries,
// which combos are enabled, and the texts the editors set at start. Pure code over the string table.
#include "valueedit/DigitOptionTable.h"
#include "valueedit/EditDispatch.h"

#include <string>
#include <utility>
#include <vector>

struct FixedEditorInput {
    std::string code;
    int value = 0;
    int min = 0;
    int max = 0;
    int seriesCode = 0;
    int controlMode = 0;        // the drive's control mode code
    std::string rangeText;      // the caller's range text, already in parentheses
    std::string limitRangeText; // pin editor: the catalogue's range text of (min & 0xFF, max)
    OptionVisibility visible;   // option visibility of the document (pin functions)
};

struct FixedLayout {
    DigitComposer composer;
    std::vector<std::pair<int, std::string>> texts; // static id and the text it shows at start
};

// The layout of a fixed editor (Cn002, Cn031, Cn015, Cn037, Cn006, Pn301, Pn316, Homing, Pn345,
// PinFunction, DiControl, Bits16). Other kinds give an empty layout.
FixedLayout BuildFixedLayout(ValueEditorKind kind, const FixedEditorInput& input, const StringLoader& load);

// Splits a list text before every blank that follows its first character (" 0:a\n 1:b" gives
// " 0:a\n" and " 1:b").
std::vector<std::string> SplitBeforeBlanks(const std::string& text);

// "%s" filled with the code (every occurrence); "%d" with the number.
std::string FillCode(const std::string& format, std::string_view code);
