#pragma once
// The five resonance notch filters the analysis proposes: per set a frequency, a quality factor and
// a depth, their parameters, ranges and the check of typed values in table order.
#include <array>
#include <optional>
#include <string>

struct NotchField {
    const char* code;
    int minimum;
    int maximum;
    int maxCharacters;
};

constexpr int NotchFieldCount = 15;
extern const std::array<NotchField, NotchFieldCount> NotchFields;

// The values of typed texts, checked in table order: an empty text is 0, anything that is no whole
// number is out of range. The index of the first field out of range, or nothing when all hold.
std::optional<int> FirstBadNotchField(const std::array<std::string, NotchFieldCount>& texts,
                                      std::array<int, NotchFieldCount>& values);
