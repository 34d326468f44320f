#pragma once
// The trace set-up that outlives the program: "trace.ini" in the program folder, 78 text lines,
// read by the version digit of its second line.
#include "framework/core/Geometry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The trace set-up the view keeps (its fields in the order the settings file knows them).
struct TraceSettings {
    uint8_t valid = 0;              // a set-up was accepted or loaded
    std::array<int, 24> dioCodes{}; // DI/DO function codes
    int traceMode = 0;
    int points = 0;
    int channelCountMode = 1; // not stored in the file
    std::array<int, 8> sources{};
    int triggerSource = 0;
    int triggerLevel = 0;
    int triggerEdge = 0;
    int triggerPosition = 0;
    std::array<int, 8> colorIndices{};
    int timeBase = 0;
    int interval = 0;
    int carried = 0;                      // a number only this file reads and writes
    std::array<int, 8> scaleSelections{}; // 1..4 kept by the view; 5..8 the window's own
    std::array<COLORREF, 8> colors{};
    std::array<uint8_t, 4> cursorColorUsed{};
    std::array<COLORREF, 4> cursorColors{};
};

// The 78 lines, each ended by CR LF.
std::string EncodeTraceIni(const TraceSettings& settings);

// Far more than the 78 lines take; a larger file is opened but not taken.
constexpr std::size_t TraceIniMaxBytes = 64 * 1024;

struct TraceIniLoad {
    bool opened = false;     // the file could be read (the redisplay flag is then set)
    bool recognised = false; // its first line was right and the settings were taken
    int version = 0;
};
// Reads the text into settings, which change only when the first line is right. A value outside
// what its field can hold keeps the field's previous value.
TraceIniLoad DecodeTraceIni(const std::string& text, TraceSettings& settings);
TraceIniLoad LoadTraceIni(const std::string& path, TraceSettings& settings);
// Writes beside the file and renames it over; false with the reason in *error.
bool SaveTraceIni(const std::string& path, const TraceSettings& settings, std::string* error = nullptr);
