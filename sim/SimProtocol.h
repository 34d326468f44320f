#pragma once
// Wire-level helpers of the simulated drive: checksums of the maker's ASCII commands, the Modbus
// CRC-16 and LRC, and finding where one request ends in a byte stream. Written independently of
// link/, so the two sides check each other.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sim {

// Two upper-case hex digits of the byte sum of the text, modulo 256 ("R10201" -> "46").
std::string MakerChecksum(std::string_view text);

// Text followed by its maker checksum.
std::string WithMakerChecksum(std::string_view text);

// Whether the last two characters are the maker checksum of everything before them.
bool HasValidMakerChecksum(std::string_view text);

// CRC-16/MODBUS (start 0xFFFF, reflected polynomial 0xA001) of all bytes.
uint16_t Crc16(std::string_view bytes);

// Bytes followed by their CRC, low byte first.
std::string WithCrc16(std::string_view bytes);

// Whether the last two bytes are the CRC of the bytes before them (low byte first).
bool HasValidCrc16(std::string_view frame);

// Modbus ASCII LRC of raw bytes: low byte of the two's complement of their sum.
uint8_t Lrc(std::string_view bytes);

// ":" + hex pairs of the bytes + LRC pair + CR LF.
std::string ToModbusAscii(std::string_view bytes);

// Decodes ":" hex-pairs LRC CR LF into the bytes before the LRC. False when the frame is not
// well formed (no ':', no CR LF, odd digit count, a character that is not an upper-case hex digit)
// or the LRC does not hold.
bool FromModbusAscii(std::string_view frame, std::string& bytes);

// Four upper-case hex digits of the low 16 bits.
std::string Hex4(unsigned value);
// Two upper-case hex digits of the low 8 bits.
std::string Hex2(unsigned value);
// Value of four hex digits at text[pos], or -1 when any is not a hex digit or the text is short.
int ParseHex4(std::string_view text, size_t pos);

// Where the first request in a received byte stream ends.
enum class FrameState {
    Complete, // `length` bytes form one request
    NeedMore, // a known request has started but is not complete yet
    Unknown,  // no known request form: only a pause on the line can end it
};

struct FrameScan {
    FrameState state = FrameState::NeedMore;
    size_t length = 0; // valid with Complete
};

// Maker requests: "R"/"W" followed by the digit n have fixed lengths (R: 4 + 4n, W: 4 + 8n; the
// "R10"/"W10" forms share the lengths of "R1"/"W1"). Modbus ASCII runs from ':' to CR LF. With
// `modbus` set, anything else is taken as Modbus RTU: 8 bytes for functions 0x03 and 0x06,
// Unknown for other functions.
FrameScan ScanRequest(std::string_view buffer, bool modbus);

// Longest Modbus ASCII request accepted before the line is treated as garbage.
constexpr size_t kMaxAsciiFrame = 513;

} // namespace sim
