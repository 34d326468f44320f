#include "valueedit/ValueText.h"

#include "framework/core/Format.h"

#include <cstdint>
#include <limits>

namespace {

// Digit values as ParseHexChar gives them, weighted by base^(distance from the last character),
// summed in unsigned 32-bit arithmetic so every text has a defined result.
int WeightedSum(std::string_view text, std::uint32_t base) {
    std::uint32_t sum = 0;
    std::uint32_t weight = 1;
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        const auto digit = static_cast<std::uint32_t>(static_cast<std::int32_t>(ParseHexChar(*it)));
        sum += digit * weight;
        weight *= base;
    }
    return static_cast<int>(static_cast<std::int32_t>(sum));
}

} // namespace

int HexToInt(std::string_view text) {
    return WeightedSum(text, 16);
}

int DecToInt(std::string_view text) {
    return WeightedSum(text, 10);
}

bool IsIntegerText(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '-' && i == 0)
            continue;
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

std::optional<int> ParseDecimalEntry(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > std::int64_t{1} << 32)
            return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

EntryCheck CheckDecimalText(std::string_view text, int* value) {
    const bool hasDigit = text.find_first_of("0123456789") != std::string_view::npos;
    if (!hasDigit || !IsIntegerText(text))
        return EntryCheck::NotInteger;
    const auto parsed = ParseDecimalEntry(text);
    if (!parsed)
        return EntryCheck::TooLarge;
    if (value)
        *value = *parsed;
    return EntryCheck::Ok;
}
