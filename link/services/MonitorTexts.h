#pragma once
// The texts the monitor windows show for the values the monitor cycle reads: the diagnostics items
// (control mode, hex words, version numbers, series type, terminal bit rows), the alarm numbers and
// the status list rows. Pure functions, no window code.
#include <string>

// Diagnostics item dn01: "0: Torque(T)" ... "A: Position(Pi)-Position(Pe)", "B: CANopen" ...;
// 15 and above as plain hex ("10" for 16).
std::string ControlModeText(int value);
// "%04XH": dn02, dn03.
std::string HexWordText(int value);
// Version numbers dn04, dn09, dn14: 105 -> "A01.05".
std::string VersionText(int value);
// Series type dn08: "%04XH", of which only the last five characters stay when it is longer.
std::string SeriesTypeText(int value);
// The text of diagnostics item `number` (1..14); empty for the items that show none.
std::string DiagnosticsText(int number, int value);

// Output terminals (dn02): 8 characters, '1' at position 7 - k for each set bit k.
std::string OutputBitRow(int value);
// Input terminals (dn03): 12 characters, '1' at position 11 - k for each set bit k of bits 0..10.
std::string InputBitRow(int value);
constexpr int DiagnosticsOutputCount = 8;
constexpr int DiagnosticsInputCount = 12;
// Whether terminal bit k is on in the word (the inputs use bits 0..10, the twelfth input is never on).
bool OutputTerminalOn(int dn02, int k);
bool InputTerminalOn(int dn03, int k);

// Alarm code as the number column shows it: "%02d".
std::string AlarmNumberText(int code);

// A status list row: index is the global parameter index of the row's code (Un 1001.., onU 2001..).
// Un09 and Un11 as "%.4d" with a '.' before the last two digits ("12.34", "00.05"); the hex items
// as "%04X"; everything else "%d".
std::string MonitorRowText(int index, int value);
