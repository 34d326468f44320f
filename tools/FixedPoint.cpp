#include "tools/FixedPoint.h"

#include <cstdint>
#include <cstdio>
#include <limits>

std::optional<int> ParseFixedPoint(std::string_view text, int decimals) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    int64_t value = 0;
    bool seenPoint = false;
    int decimalsSeen = 0;
    for (char c : text) {
        if (c == '.') {
            if (seenPoint)
                return std::nullopt;
            seenPoint = true;
            continue;
        }
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (seenPoint)
            ++decimalsSeen;
        // Checked per digit: a long text would overflow even a 64-bit number.
        if (value > std::numeric_limits<int>::max())
            return std::nullopt;
    }
    for (int i = decimalsSeen; i < decimals; ++i) {
        value *= 10;
        if (value > std::numeric_limits<int>::max())
            return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}

std::string FixedPointEditText(int value, int digits) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*d", digits, value);
    return text;
}

std::string FixedPointShownText(int value, int decimals, const char* format) {
    double scale = 1.0;
    for (int i = 0; i < decimals; ++i)
        scale *= 10.0;
    char text[64];
    std::snprintf(text, sizeof text, format, value / scale);
    return text;
}
