#pragma once
// Where each parameter lives in the drive: its register address for the maker commands, its
// Modbus address, whether it spans two registers, how a raw word becomes its value, and the
// property flags behind the editor's legend icons. Pure functions of their arguments.
//
// The group letter is the catalogue's: 'C', 'T', 'S', 'P' (or 'L'; the index tells Pn3 from Pn4),
// 'q', 'H', 'E' (index up to 899 En, from 900 EC), 't', 'U', 'd', 'A'/'r' (alarm history), 'M',
// 'O', 'B', 'R' and 'o' (the "on" groups, told apart by the index's hundreds). A caller without an
// index passes 0 and gets the Pn3, En and no-"on" rules.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The register address, or nothing when the parameter has no register: callers must not send a
// request for it.
std::optional<std::uint16_t> ParameterRegisterAddress(char letter, int number, int index);

// As ParameterRegisterAddress, but an unmapped parameter is also reported to the user as "%c-%d".
std::optional<std::uint16_t> GetRegisterAddress(char letter, int number, int index);

// The text of the unmapped-parameter message: "C-42".
std::string UnmappedParameterText(char letter, int number);

// Register address of a parameter code ("Cn025" -> 0x001C), or nothing.
std::optional<std::uint16_t> ParamCodeRegisterAddress(std::string_view code);

// True for a 32-bit parameter (low word at the address, high word at the next one).
bool IsDoubleWordParameter(char letter, int number, int index);

// The Modbus register address: number + the group's block base, for the groups C, T, S, P, q, H, U
// and E; nothing for any other letter.
std::optional<std::uint16_t> GroupBlockBase(char letter, int number);

// The value of a raw register word (taken as signed 16-bit): unsigned for the unsigned parameters,
// one bit for the bit groups, signed otherwise.
int ConvertRawParameterValue(char letter, int number, std::int16_t raw, int index);

// Cn008 as read: the drive numbers brake modes 4 and 5 as 6 and 7, so a low digit 6 reads as 4 and 7
// as 5 (only the low byte is kept then); any other value stays. Every read of Cn008 goes through it.
int Cn008FromDrive(int value);

// onC07 and onC29 are unsigned 16-bit; every other value is returned unchanged.
int MaskUnsignedParameter(char letter, int value, int index);

// 0-15 for '0'-'9', 'A'-'F', 'a'-'f'; -1 for anything else.
int HexDigitValue(char c);

// The value of four hexadecimal digits (a reply word), or -1 when there are fewer than four
// characters or one of them is not a hexadecimal digit.
int HexWordValue(std::string_view digits);

// Row of an address in the drive's parameter table: the low byte plus the address block's offset.
int ParameterTableIndex(std::uint16_t address);

// Property flag bits.
enum : int {
    PropertyRestart = 1,       // takes effect after the drive is powered on again
    PropertyImmediate = 2,     // takes effect at once, without the ENTER key
    PropertyNoReset = 4,       // not reset by the factory reset
    PropertyAfterServoOff = 8, // takes effect after Servo Off
};

// 1 for a parameter that takes effect only after the drive is powered on again, else 0.
int ParameterBaseProperty(char letter, int number, int index);

// All property bits of a code.
int ParameterPropertyFlags(std::string_view code);

// The legend icon of a row: 4 for bit 3, else 0 for bits 0 and 2 together, else 3 for bit 2, 2 for
// bit 1, 1 for bit 0; -1 when no bit is set.
int ParameterLegendIcon(int propertyFlags);
