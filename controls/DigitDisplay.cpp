#include "controls/DigitDisplay.h"

#include <cstdio>

std::string DigitText(int value, int places, bool hexadecimal) {
    if (places < 1)
        return std::string();
    char buffer[64];
    if (!hexadecimal) {
        std::snprintf(buffer, sizeof buffer, "%*d", places, value);
        const std::string text = buffer;
        return text.substr(text.size() - static_cast<std::size_t>(places));
    }
    std::snprintf(buffer, sizeof buffer, "%*X", places, static_cast<unsigned>(value));
    std::string digits = buffer;
    digits = digits.substr(digits.size() - static_cast<std::size_t>(places - 1));
    return "H" + digits;
}

int DigitGlyph(char c, bool zeroFill, int value) {
    if (c == '-')
        return kDigitGlyphMinus;
    if (c == 'H')
        return kDigitGlyphH;
    if (c >= 'A' && c <= 'F')
        return kDigitGlyphA + (c - 'A');
    if (c >= '0' && c <= '9')
        return c - '0';
    return zeroFill && value >= 0 ? 0 : kDigitGlyphBlank;
}

std::vector<int> DigitGlyphs(int value, int places, bool hexadecimal, bool zeroFill, bool showDigits) {
    std::vector<int> cells;
    const std::string text = DigitText(value, places, hexadecimal);
    for (char c : text)
        cells.push_back(showDigits ? DigitGlyph(c, zeroFill, value) : kDigitGlyphBlank);
    return cells;
}

CRect DigitControlRect(const CRect& current, int places, int glyphWidth, int glyphHeight, int alignment) {
    const int width = places * glyphWidth + 2 * kDigitMargin;
    const int height = glyphHeight + 2 * kDigitMargin;
    CRect r = current;
    if (alignment & kDigitKeepLeft)
        r.right = r.left + width;
    else
        r.left = r.right - width;
    if (alignment & kDigitKeepTop)
        r.bottom = r.top + height;
    else
        r.top = r.bottom - height;
    return r;
}
