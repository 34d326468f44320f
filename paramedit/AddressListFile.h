#pragma once
// The custom address window's pure side: the address list file (.adr) with its ten address/value
// pairs, the reading of the Value cells before a write or a save, the write pass over the rows and
// the texts the cells show.
#include <array>
#include <functional>
#include <optional>
#include <string>

constexpr int AddressRowCount = 10;

// Header written before the pairs (string 62118 of the English resources).
inline constexpr const char* AddressListHeader = "KeloServo(ZR3-E) V0.1.260416";
inline constexpr int IDS_ADDRESS_LIST_HEADER = 62118;
// Longest header line the reader accepts before the first LF.
constexpr std::size_t AddressListHeaderCap = 4096;

struct AddressRows {
    std::array<int, AddressRowCount> address{};
    std::array<int, AddressRowCount> value{};
    bool operator==(const AddressRows&) const = default;
};

// The file's bytes: header, LF, then ten little-endian 32-bit pairs (address, value).
std::string AddressListBytes(const AddressRows& rows, const std::string& header = AddressListHeader);
bool WriteAddressList(const std::string& path, const AddressRows& rows,
                      const std::string& header = AddressListHeader, std::string* error = nullptr);

enum class AddressListRead {
    Loaded,     // the ten pairs were read
    Empty,      // no header line could be read (an empty file): nothing loaded
    Malformed,  // the header has no LF within its cap, or the pairs are cut short: nothing loaded
    CannotOpen, // nothing loaded
};

// Reads a file: everything up to the first LF is the header, taken without a check; then the ten
// pairs. rows is changed only when the result is Loaded; *error holds the reason otherwise.
AddressListRead ReadAddressList(const std::string& path, AddressRows& rows, std::string* error = nullptr);

// Reads a file for the window: true when the pairs were loaded. A file that cannot be opened or is
// malformed is reported; an empty file loads nothing without a message.
bool LoadAddressList(const std::string& path, AddressRows& rows);

// Whether a chosen path names an address list: its last three characters are "ADR" in any case.
bool IsAddressListPath(const std::string& path);

// One Value cell as written or saved: an empty cell is 0; in HEX mode up to eight hexadecimal
// digits; in DEX mode an optional '-' and up to ten decimal digits that fit 32 bits. Nothing for any
// other text, which is refused before anything is written.
std::optional<int> ParseAddressValue(const std::string& text, bool hex);

// All ten Value cells; false with the 1-based number of the first bad row in *badRow.
bool ParseAddressValues(const std::array<std::string, AddressRowCount>& cells, bool hex,
                        std::array<int, AddressRowCount>& values, int* badRow = nullptr);
// The message for a Value cell that could not be read.
std::string InvalidAddressValueText(int row, bool hex);

// Cell texts: an address always "%.4X", a value "%.4X" in HEX mode and "%d" in DEX mode.
std::string AddressCellText(int address);
std::string AddressValueText(int value, bool hex);

// The write pass: rows 1 to 10 in order, rows with address 0 skipped, stopping at the first refused
// write. Returns 0 when every write was accepted, else the 1-based number of the refused row.
int WriteAddressRows(const AddressRows& rows, const std::function<bool(int address, int value)>& write);
// The message of a refused write (row 1 to 10).
std::string AddressWriteFailedText(int row);
