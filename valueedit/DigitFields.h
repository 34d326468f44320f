#pragma once
// The shared edit contract of the digit and bit editors: a value is a set of fields (a hexadecimal
// digit, a bit, the function byte of a pin), each shown in one combo whose entries stand for field
// values. The editors compose the value from the fields after every change and show it as "%04X".
// Pure code: the dialogs only copy these layouts into their controls.
#include "catalogue/ParamTexts.h"

#include <string>
#include <string_view>
#include <vector>

// A list of consecutive string-table entries: entry k is string first + k.
struct OptionList {
    int first = 0;
    int count = 0;
};

// Digit n of a value: (value >> 4n) & 0xF; bit k: (value >> k) & 1.
inline int DigitOf(int value, int n) {
    return (value >> (4 * n)) & 0xF;
}
inline int BitOf(int value, int k) {
    return (value >> k) & 1;
}
// "%04X" of the value (the composed value of every digit and bit editor).
std::string FormatHexValue(int value);
// Range text as the editors show it: "(" + text + ")".
std::string Parenthesized(std::string_view text);

// One combo of an editor.
struct FieldCombo {
    int controlId = 0;
    int shift = 0;        // position of the field's lowest bit in the value
    int mask = 0xF;       // the field's bits after shifting (0xF digit, 1 bit, 0xFF function byte)
    bool composes = true; // false: the field is shown but never part of the composed value
    bool enabled = true;
    std::vector<std::string> entries;
    std::vector<int> entryValues; // field value of each entry; empty: entry index = field value

    int FieldOf(int value) const { return (value >> shift) & mask; }
    // The entry standing for a field value, -1 when none does.
    int EntryOfField(int field) const;
    // The field value an entry stands for.
    int FieldOfEntry(int entry) const;
};

// Fills entries from consecutive strings.
std::vector<std::string> LoadOptions(const OptionList& list, const StringLoader& load);
// Entries "0".."F" ("%X") for the field values from..15.
std::vector<std::string> HexEntries(int from = 0);

// The fields of one editor and the current field values (kept apart from the value, so a field whose
// entry is missing keeps its value until the user picks one).
class DigitComposer {
public:
    DigitComposer() = default;
    DigitComposer(std::vector<FieldCombo> combos, int value);

    const std::vector<FieldCombo>& Combos() const { return combos_; }
    std::vector<FieldCombo>& Combos() { return combos_; }
    int Value() const { return value_; }
    int Field(std::size_t combo) const { return fields_.at(combo); }
    // The entry each combo shows now (-1: none).
    int Selection(std::size_t combo) const;
    // The user chose an entry: that field takes its value and the value is composed again from the
    // composing fields (so fields that do not compose are dropped). An entry outside the list is
    // ignored. Returns the new value.
    int Choose(std::size_t combo, int entry);
    // Replaces the value (and every field) from outside, as a rebuild after a change does.
    void SetValue(int value);
    // Index of the combo with this control id, -1 when none.
    int ComboIndexOf(int controlId) const;

private:
    std::vector<FieldCombo> combos_;
    std::vector<int> fields_;
    int value_ = 0;
};
