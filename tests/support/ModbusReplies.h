#pragma once
// Modbus replies for the decoder tests: framing of raw bytes (RTU with its CRC, ASCII with its LRC)
// and the table of replies to one request that only a checked decoder tells apart. Every reply of
// the table carries the same data word, so a decoder that takes words from a reply it did not check
// shows a value where it must not.
#include "link/InternalCode.h"

#include <cstdint>
#include <string>
#include <vector>

namespace modbus_replies {

inline std::string Rtu(std::string bytes) {
    const uint16_t crc = CInternalCode::Crc16Modbus(bytes.data(), static_cast<int>(bytes.size()));
    bytes += static_cast<char>(crc & 0xFF);
    bytes += static_cast<char>(crc >> 8);
    return bytes;
}

inline std::string Ascii(const std::string& bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text = ":";
    for (unsigned char b : bytes) {
        text += kHex[b >> 4];
        text += kHex[b & 0xF];
    }
    text += "00\r\n"; // LRC slot
    const int lrc = CInternalCode::ModbusLrc(text.data(), static_cast<int>(text.size())) & 0xFF;
    text[text.size() - 4] = kHex[lrc >> 4];
    text[text.size() - 3] = kHex[lrc & 0xF];
    return text;
}

inline std::string Framed(const std::string& bytes, int asciiFlag) {
    return asciiFlag ? Ascii(bytes) : Rtu(bytes);
}

// The same frame with its check spoiled: the last CRC byte, or the LRC's last digit.
inline std::string SpoilCheck(std::string frame, int asciiFlag) {
    char& c = frame[frame.size() - (asciiFlag ? 3 : 1)];
    c = asciiFlag ? (c == '0' ? '1' : '0') : static_cast<char>(c ^ 0x01);
    return frame;
}

struct Case {
    const char* what;
    std::string reply;
    int result; // what CheckModbusReply says
};

inline std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values)
        bytes += static_cast<char>(v);
    return bytes;
}

// Replies to a read of one register at station 1; only the first is good and carries `word`.
inline std::vector<Case> ReadOfOneRegister(int asciiFlag, uint16_t word) {
    const int hi = word >> 8;
    const int lo = word & 0xFF;
    auto frame = [asciiFlag](std::initializer_list<int> values) { return Framed(Bytes(values), asciiFlag); };
    return {
        {"good", frame({1, 3, 2, hi, lo}), ModbusGood},
        {"other station", frame({2, 3, 2, hi, lo}), ModbusMismatch},
        {"other function", frame({1, 4, 2, hi, lo}), ModbusMismatch},
        {"exception", frame({1, 0x83, 2}), ModbusException},
        {"exception of another station", frame({2, 0x83, 2}), ModbusMismatch},
        {"short: no byte count", frame({1, 3}), ModbusCheckError},
        {"short: count of two, one data byte", frame({1, 3, 2, hi}), ModbusCheckError},
        {"count mismatch: no data", frame({1, 3, 0}), ModbusMismatch},
        {"count mismatch: one byte", frame({1, 3, 1, hi}), ModbusMismatch},
        {"bad check", SpoilCheck(frame({1, 3, 2, hi, lo}), asciiFlag), ModbusCheckError},
    };
}

// Replies to a write of `value` to `address` at station 1; only the first (the echo) is good.
inline std::vector<Case> WriteOfOneRegister(int asciiFlag, uint16_t address, uint16_t value) {
    const int ah = address >> 8;
    const int al = address & 0xFF;
    const int vh = value >> 8;
    const int vl = value & 0xFF;
    auto frame = [asciiFlag](std::initializer_list<int> values) { return Framed(Bytes(values), asciiFlag); };
    return {
        {"echo", frame({1, 6, ah, al, vh, vl}), ModbusGood},
        {"other station", frame({2, 6, ah, al, vh, vl}), ModbusMismatch},
        {"other function", frame({1, 3, 2, vh, vl}), ModbusMismatch},
        {"exception", frame({1, 0x86, 2}), ModbusException},
        {"short", frame({1, 6, ah, al, vh}), ModbusCheckError},
        {"echo of another value", frame({1, 6, ah, al, vh, vl ^ 1}), ModbusMismatch},
        {"echo of another address", frame({1, 6, ah, al ^ 1, vh, vl}), ModbusMismatch},
        {"bad check", SpoilCheck(frame({1, 6, ah, al, vh, vl}), asciiFlag), ModbusCheckError},
    };
}

} // namespace modbus_replies
