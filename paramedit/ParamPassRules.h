#pragma once
// The rules of the editor's read and write passes that do not touch the drive: which parameters a
// read-all covers, the range test, how a Value cell's text becomes the value to send, the Cn008
// digit rules and where a parameter lives on Modbus. Pure functions.
#include "catalogue/CatalogueContext.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CKeloServoDoc;

// A code of the newer "on" groups (onT, onS, ond, onC, ono, onA, onE); false for texts shorter than
// three characters.
bool IsNewerGroupCode(std::string_view code);

// Codes that Select All leaves alone: the motor code and the drive's identity and access settings.
bool IsSelectAllExcluded(std::string_view code);

// The codes a read-all reads, in order: every group but qn, each kept when the series has it.
std::vector<std::string> ReadAllCodes(const CatalogueContext& context);

// Whether a value lies in the parameter's present range (the document's limits). Cn030 always
// passes, tn830 is tested against onC42's limits, hexadecimal parameters digit by digit (the digital
// input/output pins by their low byte only).
bool IsValueInRange(std::string_view code, int value, CKeloServoDoc& doc, const CatalogueContext& context);

// The value a Value cell shows: hexadecimal digits (every character must be one; at most eight) or a
// decimal integer. Nothing for a text that is not such a number.
std::optional<int> ParseCellValue(std::string_view text, bool hex);

// Cn008 as sent over Modbus from the drive's present value and the entered choice.
int Cn008ModbusValue(int present, int entered);
// Cn008 as sent by maker command: the present value's upper bytes with the entered low byte, whose
// low digit 4 becomes 6 and 5 becomes 7.
int Cn008MakerValue(int present, int entered);

// The Modbus register of a parameter: number + the block base of its group. Nothing for a parameter
// that has no Modbus register of its own (groups without a block base, Pn4 and EC, which would land
// on Pn3 and En registers, and 32-bit values, which one register cannot hold).
std::optional<std::uint16_t> ModbusParameterAddress(std::string_view code);

// The codes of a message, comma-separated in their order; three or more neighbours of one group
// (Pn401, Pn402, ... Pn499) show as one run "Pn401-Pn499", so whole groups stay readable in a box.
std::string CodeListText(const std::vector<std::string>& codes);

// The over-range text of a read-checked row: "Over Range!!\n\n" + code + ":" + value (hex or decimal).
std::string OverRangeDetail(std::string_view code, int value, bool hex);
