#include "valueedit/DigitFields.h"

#include <cstdio>

std::string FormatHexValue(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(value));
    return text;
}

std::string Parenthesized(std::string_view text) {
    return "(" + std::string(text) + ")";
}

int FieldCombo::EntryOfField(int field) const {
    if (entryValues.empty())
        return field >= 0 && field < static_cast<int>(entries.size()) ? field : -1;
    for (std::size_t i = 0; i < entryValues.size() && i < entries.size(); ++i)
        if (entryValues[i] == field)
            return static_cast<int>(i);
    return -1;
}

int FieldCombo::FieldOfEntry(int entry) const {
    if (entryValues.empty() || entry < 0 || entry >= static_cast<int>(entryValues.size()))
        return entry;
    return entryValues[static_cast<std::size_t>(entry)];
}

std::vector<std::string> LoadOptions(const OptionList& list, const StringLoader& load) {
    std::vector<std::string> entries;
    for (int k = 0; k < list.count; ++k)
        entries.push_back(load ? load(list.first + k) : std::string());
    return entries;
}

std::vector<std::string> HexEntries(int from) {
    std::vector<std::string> entries;
    for (int v = from; v < 16; ++v) {
        char text[4];
        std::snprintf(text, sizeof text, "%X", v);
        entries.emplace_back(text);
    }
    return entries;
}

DigitComposer::DigitComposer(std::vector<FieldCombo> combos, int value) : combos_(std::move(combos)) {
    SetValue(value);
}

void DigitComposer::SetValue(int value) {
    value_ = value;
    fields_.clear();
    for (const auto& combo : combos_)
        fields_.push_back(combo.FieldOf(value));
}

int DigitComposer::Selection(std::size_t combo) const {
    return combos_.at(combo).EntryOfField(fields_.at(combo));
}

int DigitComposer::Choose(std::size_t combo, int entry) {
    const auto& chosen = combos_.at(combo);
    if (entry < 0 || entry >= static_cast<int>(chosen.entries.size()))
        return value_;
    fields_[combo] = chosen.FieldOfEntry(entry) & chosen.mask;
    unsigned composed = 0;
    for (std::size_t i = 0; i < combos_.size(); ++i)
        if (combos_[i].composes)
            composed |= static_cast<unsigned>(fields_[i] & combos_[i].mask) << combos_[i].shift;
    value_ = static_cast<int>(composed);
    return value_;
}

int DigitComposer::ComboIndexOf(int controlId) const {
    for (std::size_t i = 0; i < combos_.size(); ++i)
        if (combos_[i].controlId == controlId)
            return static_cast<int>(i);
    return -1;
}
