#pragma once
// What the seven-segment display shows: the text of a value in a fixed number of places, the glyph
// cell of each place in the 19-cell strip, and the control's size around its glyphs.
#include "framework/core/Geometry.h"

#include <string>
#include <vector>

// Cells of the glyph strip.
enum : int { kDigitGlyphBlank = 10, kDigitGlyphMinus = 11, kDigitGlyphA = 12, kDigitGlyphH = 18 };
inline constexpr int kDigitGlyphCount = 19;
// Margin around the glyphs, in pixels.
inline constexpr int kDigitMargin = 3;

// Decimal: right-aligned in `places` characters, keeping the last `places` (leading digits of a value
// too wide are lost). Hexadecimal: "H" then the upper-case digits right-aligned in places - 1,
// keeping the low ones; a negative value shows its two's-complement digits.
std::string DigitText(int value, int places, bool hexadecimal);

// The strip cell for one character of that text.
int DigitGlyph(char c, bool zeroFill, int value);

// The cells of every place; all blank when the digits are hidden.
std::vector<int> DigitGlyphs(int value, int places, bool hexadecimal, bool zeroFill, bool showDigits);

// Alignment flags of the display.
enum : int { kDigitKeepLeft = 4, kDigitKeepTop = 8 };

// The control's new rectangle (parent coordinates) after a resize to fit `places` glyphs.
CRect DigitControlRect(const CRect& current, int places, int glyphWidth, int glyphHeight, int alignment);
