#pragma once
// The self-built motor file (.par): one text header line, then 32-bit little-endian signed values.
// The layout grew over the versions; the reader follows the version in the header's last three
// characters. The header is written byte for byte as other installations write it.
#include <array>
#include <string>

inline constexpr const char* ParFileHeader = "KeloServo(ZR3-E) V0.1.250728";
inline constexpr int ParSlotCount = 34;
// The longest header line accepted; a file without a line end within it is no motor file.
inline constexpr int ParHeaderLimit = 256;

// Slot k (1-based in the file's description) at index k - 1.
using ParSlots = std::array<int, ParSlotCount>;

// Whether the path ends in "par" (any case), the only ending a file is saved under or read from.
bool HasParExtension(const std::string& path);

// Writes the header and the 34 values beside the file and renames it over it; the old file stays
// when that fails. An empty text on success, else the reason.
std::string WriteParFile(const std::string& path, const ParSlots& values);

struct ParReadResult {
    bool ok = false;
    std::string error; // why the file was refused (nothing of it is to be used then)
    int version = 0;   // the header's last three characters
    ParSlots values{}; // slots not in the file stay 0
    int slotsRead = 0; // how many slots the file held (the read stops at the first missing one)
    bool RecordRead() const { return slotsRead == ParSlotCount; }
    bool Read(int slot) const; // 1-based; whether that slot came from the file
    std::array<bool, ParSlotCount> read{};
};

ParReadResult ReadParFile(const std::string& path);
