#include "sim/SimProtocol.h"

#include "framework/core/Format.h"

namespace sim {

namespace {
const char kHexDigits[] = "0123456789ABCDEF";
}

std::string Hex2(unsigned value) {
    return {kHexDigits[(value >> 4) & 0xF], kHexDigits[value & 0xF]};
}

std::string Hex4(unsigned value) {
    return Hex2(value >> 8) + Hex2(value);
}

int ParseHex4(std::string_view text, size_t pos) {
    if (pos + 4 > text.size())
        return -1;
    int value = 0;
    for (size_t i = 0; i < 4; ++i) {
        int digit = ParseHexChar(text[pos + i]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

std::string MakerChecksum(std::string_view text) {
    unsigned sum = 0;
    for (char c : text)
        sum += static_cast<unsigned char>(c);
    return Hex2(sum & 0xFF);
}

std::string WithMakerChecksum(std::string_view text) {
    return std::string(text) + MakerChecksum(text);
}

bool HasValidMakerChecksum(std::string_view text) {
    if (text.size() < 2)
        return false;
    return MakerChecksum(text.substr(0, text.size() - 2)) == text.substr(text.size() - 2);
}

uint16_t Crc16(std::string_view bytes) {
    uint16_t crc = 0xFFFF;
    for (char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
    }
    return crc;
}

std::string WithCrc16(std::string_view bytes) {
    uint16_t crc = Crc16(bytes);
    std::string frame(bytes);
    frame += static_cast<char>(crc & 0xFF);
    frame += static_cast<char>(crc >> 8);
    return frame;
}

bool HasValidCrc16(std::string_view frame) {
    if (frame.size() < 3)
        return false;
    uint16_t crc = Crc16(frame.substr(0, frame.size() - 2));
    return static_cast<unsigned char>(frame[frame.size() - 2]) == (crc & 0xFF) &&
           static_cast<unsigned char>(frame[frame.size() - 1]) == (crc >> 8);
}

uint8_t Lrc(std::string_view bytes) {
    unsigned sum = 0;
    for (char c : bytes)
        sum += static_cast<unsigned char>(c);
    return static_cast<uint8_t>(0x100 - (sum & 0xFF));
}

std::string ToModbusAscii(std::string_view bytes) {
    std::string frame = ":";
    for (char c : bytes)
        frame += Hex2(static_cast<unsigned char>(c));
    frame += Hex2(Lrc(bytes));
    frame += "\r\n";
    return frame;
}

bool FromModbusAscii(std::string_view frame, std::string& bytes) {
    bytes.clear();
    // ':' + at least one byte + LRC pair + CR LF.
    if (frame.size() < 7 || frame.front() != ':' || frame.substr(frame.size() - 2) != "\r\n")
        return false;
    std::string_view digits = frame.substr(1, frame.size() - 3);
    if (digits.size() % 2 != 0)
        return false;
    std::string decoded;
    for (size_t i = 0; i < digits.size(); i += 2) {
        // Modbus ASCII is upper-case hex: a lower-case digit is a character error.
        auto upper = [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); };
        if (!upper(digits[i]) || !upper(digits[i + 1]))
            return false;
        decoded += static_cast<char>(ParseHexChar(digits[i]) * 16 + ParseHexChar(digits[i + 1]));
    }
    uint8_t lrc = static_cast<uint8_t>(decoded.back());
    decoded.pop_back();
    if (Lrc(decoded) != lrc)
        return false;
    bytes = std::move(decoded);
    return true;
}

FrameScan ScanRequest(std::string_view buffer, bool modbus) {
    if (buffer.empty())
        return {FrameState::NeedMore, 0};
    char first = buffer[0];
    if (first == 'R' || first == 'W') {
        if (buffer.size() < 2)
            return {FrameState::NeedMore, 0};
        char second = buffer[1];
        if (second >= '0' && second <= '9') {
            size_t n = static_cast<size_t>(second - '0');
            size_t length = first == 'R' ? 4 + 4 * n : 4 + 8 * n;
            if (buffer.size() < length)
                return {FrameState::NeedMore, 0};
            return {FrameState::Complete, length};
        }
    }
    if (first == ':') {
        size_t end = buffer.find("\r\n");
        if (end != std::string_view::npos && end + 2 <= kMaxAsciiFrame)
            return {FrameState::Complete, end + 2};
        if (buffer.size() >= kMaxAsciiFrame)
            return {FrameState::Unknown, 0};
        return {FrameState::NeedMore, 0};
    }
    if (modbus) {
        if (buffer.size() < 2)
            return {FrameState::NeedMore, 0};
        unsigned char function = static_cast<unsigned char>(buffer[1]);
        if (function == 0x03 || function == 0x06) {
            if (buffer.size() < 8)
                return {FrameState::NeedMore, 0};
            return {FrameState::Complete, 8};
        }
    }
    return {FrameState::Unknown, 0};
}

} // namespace sim
