#pragma once
// Small helpers shared by the simulated drive's tests.
#include "sim/SimProtocol.h"

#include <string>

namespace simtest {

inline std::string Maker(const std::string& text) {
    return sim::WithMakerChecksum(text);
}

inline std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}

// Modbus request bytes (without check) for station, function, two 16-bit fields.
inline std::string Pdu(int station, int function, int first, int second) {
    return Bytes({station, function, first >> 8, first & 0xFF, second >> 8, second & 0xFF});
}

inline std::string Rtu(int station, int function, int first, int second) {
    return sim::WithCrc16(Pdu(station, function, first, second));
}

inline std::string Ascii(int station, int function, int first, int second) {
    return sim::ToModbusAscii(Pdu(station, function, first, second));
}

} // namespace simtest
