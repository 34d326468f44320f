#pragma once
// Small text-to-number helpers shared by the controls and the dialogs that read them.
#include "framework/core/Format.h"

#include <string>

// A decimal number as the C library's atol reads it: leading blanks skipped, an optional sign, then
// digits up to the first non-digit; 0 when no digit follows. Saturates instead of overflowing.
long ParseDecimalPrefix(const std::string& text);

// The 16-bit word of a hexadecimal cell text: padded with leading zeros to four characters, then its
// first four characters read as hex digits, most significant first. A character that is not a hex
// digit counts as 0, so a stray character never turns the word into a negative or oversized value.
int HexCellWord(const std::string& text);
