#pragma once
// printf-style formatting into std::string, checked by the compiler, and the small string helpers
// the program needs. Every helper takes any index or count and never reads out of bounds.
#include <cstdarg>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* format, va_list args) __attribute__((format(printf, 1, 0)));

std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);
std::string Trim(std::string_view text);    // blanks, tabs, CR and LF
std::string ToUpper(std::string_view text); // ASCII letters only
std::string ToLower(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);

// Position of what in text at or after start, or -1.
int Find(std::string_view text, std::string_view what, int start = 0);
int FindChar(std::string_view text, char what, int start = 0);
int ReverseFindChar(std::string_view text, char what);
// Replaces every occurrence (left to right, not overlapping); returns how many were replaced.
int Replace(std::string& text, std::string_view from, std::string_view to);
// Pieces between separators; an empty text gives one empty piece.
std::vector<std::string> Split(std::string_view text, char separator);

// First / last count characters, or the piece from first on; counts outside the text are clipped.
std::string Left(std::string_view text, int count);
std::string Right(std::string_view text, int count);
std::string Mid(std::string_view text, int first);
std::string Mid(std::string_view text, int first, int count);

// Whole-text integer parse (surrounding blanks allowed; base 16 accepts an optional "0x"); empty on
// junk, an empty text or a value outside the type.
std::optional<std::int64_t> ParseInt64(std::string_view text, int base = 10);
std::optional<int> ParseInt(std::string_view text, int base = 10);
std::optional<std::uint32_t> ParseHex32(std::string_view text);
// '0'-'9', 'A'-'F', 'a'-'f' to 0..15; any other character to -1.
int ParseHexChar(char c);
// Leading-number parse as atoi reads it (blanks, sign, digits; stops at the first other character;
// 0 without digits), clamped to int instead of overflowing.
int AtoI(std::string_view text);
// The same for hexadecimal digits (optional "0x"), clamped to 32 bits unsigned.
std::uint32_t HexToU32(std::string_view text);
// Whole-text floating-point parse, independent of the locale; empty on junk.
std::optional<double> ParseDouble(std::string_view text);

// Sets LC_NUMERIC to "C", so "%f" and number parsing never use a decimal comma.
void SetNumericLocaleC();
