#pragma once
// What the Display Digital I/O page shows of a pin value (bits 0-7 function code, bit 8 contact B).
#include <string>
#include <string_view>

// "B" when the contact nibble holds exactly contact B, else "A".
inline const char* DioContactText(int value) {
    return (value & 0xF00) == 0x100 ? "B" : "A";
}
// The diagram draws a closed blade for any bit of the contact nibble.
inline bool DioBladeClosed(int value) {
    return (value & 0xF00) != 0;
}
// The short name of a function text: from the first blank up to the second ("01: SON - ..." gives "SON").
std::string DioShortName(std::string_view nameText);
