#pragma once
// The RAM editor's file: 1002 lines "AAAA,value", one per register pair from 0x6000 on (the even
// address in hex, the 32-bit value of the pair in signed decimal, high word at the even address).
// The reader refuses a short or damaged file as a whole, before anything would be written to the
// drive.
#include "shell/UserFiles.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

constexpr int RamPairCount = 1002;
constexpr int RamFirstAddress = 0x6000;
using RamValues = std::array<std::int32_t, RamPairCount>;

inline constexpr const char* RamFileExt = "csv";
inline constexpr const char* RamFileFilter = "Ram file (*.csv)|*.csv||";

// Even address of pair k; the low word lives at the next address.
constexpr int RamPairAddress(int pair) {
    return RamFirstAddress + 2 * pair;
}
// The value of a pair from its two words, and back.
std::int32_t RamPairValue(std::uint16_t high, std::uint16_t low);
std::uint16_t RamHighWord(std::int32_t value);
std::uint16_t RamLowWord(std::int32_t value);

// The file's bytes, LF line ends.
std::string RamWordsCsvText(const RamValues& values);

struct RamCsvParse {
    std::optional<RamValues> values; // empty when refused
    std::string error;               // why, for the user
};
// Every one of the 1002 lines must hold its pair's address and a whole signed 32-bit number after
// the comma; lines after the 1002nd are not read.
RamCsvParse ParseRamWordsCsv(const std::vector<std::string>& lines);

// Save dialog result -> file (a name with another extension is refused before anything is created).
UserFileResult WriteRamWordsFile(const std::string& chosen, const RamValues& values);
// Open dialog result -> values; a file not ending in .csv is ignored, a short, damaged or unreadable
// file is refused with a message and gives no values.
std::optional<RamValues> ReadRamWordsFile(const std::string& path, UserFileResult* result = nullptr);
