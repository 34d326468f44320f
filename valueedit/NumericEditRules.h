#pragma once
// Rules of the numeric editors: entry mode, spin range, text limit, what typing does, what OK
// accepts; the control-mode choices of Cn001 and the rigidity levels of Cn026. Pure code.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class EntryMode {
    Decimal, // edit 1044
    Hex4,    // hexadecimal entry 1113, mask "####", "%.4X"
    Hex8,    // hexadecimal entry 1113, mask "########", "%.7X" (the MAb codes)
};

// The generic editor's mode by code and the display format nibble (bits 4..7 of the attribute word).
EntryMode GenericEntryMode(std::string_view code, unsigned attributeFlags);
const char* EntryMask(EntryMode mode);
std::string FormatEntry(EntryMode mode, int value); // "%.4X" / "%.7X" / "%d"

struct SpinRange {
    int lower;
    int upper;
};
// Generic editor: lower bound min when min <= 0, else 0; upper bound max.
SpinRange GenericSpinRange(int min, int max);

// Characters the decimal entry of the generic editor accepts: 8 for Pn321, Pn331 and Pn4xx, 9 for
// onE05..onE10, 7 otherwise, but never fewer than the widest of min and max needs, so a value inside
// the range can always be typed whole.
int GenericTextLimit(std::string_view code, int min, int max);
// The digits and sign of a value as decimal text.
int DecimalWidth(int value);

// What typing in the decimal entry leaves as the value. `text` is the entry's text after the
// change; revert is set when the previous value must be put back into the member and the entry.
struct TypedValue {
    int value;
    bool revert;
};
// Generic and 32-bit editor: with min <= 0 a value outside min..max (or one beyond 32 bits) is put
// back; with min > 0 nothing is checked while typing (a text beyond 32 bits keeps the old value).
TypedValue TypeDecimal(std::string_view text, int previous, int min, int max);
// Hexadecimal entry of the generic editor; text is the entry's text with the spin's "0x" removed.
TypedValue TypeHexGeneric(std::string_view text, EntryMode mode, int previous, int max);
// Hexadecimal entry of the alarm-mask editor: above max always puts the previous value back.
TypedValue TypeHexAlarmMask(std::string_view text, int previous, int max);
// Removes the first "0x" of a text.
std::string StripHexPrefix(std::string text);

// OK of the numeric editors.
enum class OkVerdict { Accept, OutOfRange, NotInteger };
// hexMode: the value as edited is checked; otherwise the decimal text is examined first. Pn354
// also accepts 0 below its minimum.
OkVerdict JudgeOk(std::string_view code, bool hexMode, std::string_view decimalText, int value, int min,
                  int max, int* accepted);

// The alarm-mask editor's click on bit k: a set bit is cleared with value & (0xFFFF - 2^k) (which
// also clears everything above bit 15), a clear bit is set.
int ToggleAlarmBit(int value, int k);

// Cn001: the choices by drive series.
struct ControlModeChoices {
    std::vector<std::string> entries;
    std::string rangeText;
    int selection = -1;
};
// Lists of more than this many entries are cut (a corrupt range must not build a huge list).
constexpr int kMaxControlModeEntries = 256;
ControlModeChoices BuildControlModeChoices(int seriesCode, int value, int min, int max);
// The value OK stores for the chosen entry; nothing when no entry is chosen (the value stays).
std::optional<int> ControlModeValue(int seriesCode, int entry, int min);

// Cn026: rigidity levels 1..21 and their gains.
struct RigidityGains {
    int pn310;
    int sn211;
    int sn212;
    int cn034;
};
constexpr int kRigidityLevels = 21;
// The gains of a level; a level outside 1..21 gives the row of level 1.
RigidityGains RigidityGainsOf(int level);
// The combo entry of a value (level = value & 0xFF): level - 1, -1 outside 1..21.
int RigidityEntryOf(int value);
