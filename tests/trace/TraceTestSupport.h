#pragma once
// Small helpers of the trace tests, written apart from the program's own frame builders.
#include <cstdio>
#include <initializer_list>
#include <string>

namespace tracetest {

inline std::string WithSum(const std::string& text) {
    unsigned sum = 0;
    for (unsigned char c : text)
        sum += c;
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", sum & 0xFF);
    return text + digits;
}

inline std::string Hex4(unsigned value) {
    char digits[5];
    std::snprintf(digits, sizeof digits, "%04X", value & 0xFFFF);
    return digits;
}

// "W" n, then address/value pairs, then the checksum.
inline std::string WriteFrame(std::initializer_list<std::pair<unsigned, unsigned>> pairs) {
    std::string text = "W" + std::to_string(pairs.size());
    for (const auto& [address, value] : pairs)
        text += Hex4(address) + Hex4(value);
    return WithSum(text);
}

inline std::string ReadFrame(std::initializer_list<unsigned> addresses) {
    std::string text = "R" + std::to_string(addresses.size());
    for (unsigned address : addresses)
        text += Hex4(address);
    return WithSum(text);
}

} // namespace tracetest
