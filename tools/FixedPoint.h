#pragma once
// The masked decimal fields of the self-built motor pages hold whole numbers of the shown value times
// 10^decimals; these turn a field's text into that number and back.
#include <optional>
#include <string>
#include <string_view>

// "1.5" with 3 decimals gives 1500, "12" gives 12000; more decimals than asked for keep all their
// digits ("1.2345" gives 12345). An empty text gives 0. Nothing for a text that is no decimal number
// or whose value does not fit an int (a text longer than its mask).
std::optional<int> ParseFixedPoint(std::string_view text, int decimals);

// The edit text of a scaled value: zero-padded to `digits` digits ("%.9d"), which the field's mask
// turns back into "000001.500".
std::string FixedPointEditText(int value, int digits);

// The value shown beside a field: value / 10^decimals printed with `format` ("%6.3f").
std::string FixedPointShownText(int value, int decimals, const char* format);
