#pragma once
// Text-to-number rules of the value editors and of the custom address window. Pure functions; none of
// them overflows: sums wrap modulo 2^32 and a decimal entry that does not fit 32 bits is refused.
#include <optional>
#include <string_view>

// Every character is one hexadecimal digit (a character that is none counts as -1 at its place),
// most significant first; the sum wraps modulo 2^32 into a signed 32-bit int ("FFFFFFFF" gives -1).
// An empty text gives 0.
int HexToInt(std::string_view text);

// The same with base 10; 'A'..'F' and 'a'..'f' still count 10..15 ("1A" gives 20).
int DecToInt(std::string_view text);

// True when every character is a decimal digit, a leading '-' allowed; "" and "-" are true.
bool IsIntegerText(std::string_view text);

// A decimal entry as the numeric editors read it while typing: leading blanks, an optional sign, then
// the digits up to the first other character ("" and "-" give 0). Nothing when the number does not
// fit a signed 32-bit int, so a long text can never wrap into the range.
std::optional<int> ParseDecimalEntry(std::string_view text);

// A whole decimal text as OK reads it: IsIntegerText and at least one digit, and fits 32 bits.
enum class EntryCheck { Ok, NotInteger, TooLarge };
EntryCheck CheckDecimalText(std::string_view text, int* value);
