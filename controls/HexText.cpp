#include "controls/HexText.h"

#include <climits>

long ParseDecimalPrefix(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        if (value > (LONG_MAX - digit) / 10)
            return negative ? LONG_MIN : LONG_MAX;
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

int HexCellWord(const std::string& text) {
    std::string padded = text;
    while (padded.size() < 4)
        padded.insert(padded.begin(), '0');
    int word = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = ParseHexChar(padded[static_cast<std::size_t>(i)]);
        word = word * 16 + (digit < 0 ? 0 : digit);
    }
    return word;
}
