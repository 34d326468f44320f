#include "trace/TraceRegisters.h"

int TraceChannelCode(int sourceCode) {
    if (sourceCode >= 1 && sourceCode <= 5)
        return sourceCode + 24;
    if (sourceCode >= 6 && sourceCode <= 8)
        return sourceCode + 25;
    if (sourceCode >= 9 && sourceCode <= 32)
        return sourceCode - 8;
    if (sourceCode == 33)
        return 30;
    return sourceCode;
}

bool IsWideSource(int sourceCode) {
    return sourceCode == 5 || sourceCode == 47 || sourceCode == 51;
}

int CountWideChannels(const std::array<int, 8>& sources, int exclude) {
    int count = 0;
    for (int channel = 0; channel < 8; ++channel)
        if (channel != exclude && IsWideSource(sources[channel]))
            ++count;
    return count;
}

int SourceKind(int sourceCode) {
    if (sourceCode == 0)
        return 0;
    return sourceCode >= 9 && sourceCode <= 28 ? 2 : 1;
}

static bool IsWideDriveCode(int driveCode) {
    return driveCode == 29 || driveCode == 47 || driveCode == 51;
}

TraceChannelPlacement PlaceTraceChannels(const std::array<int, 8>& sources, bool eightChannels) {
    TraceChannelPlacement placement;
    for (int channel = 0; channel < 8; ++channel)
        placement.driveCodes[channel] = TraceChannelCode(sources[channel]);
    int* codes = placement.driveCodes.data();
    if (!eightChannels) {
        // The last rule that applies wins.
        for (int wide : {29, 51, 47})
            for (int channel = 0; channel < 3; ++channel)
                if (codes[channel] == wide)
                    codes[3] = wide + 1;
        return placement;
    }
    const int wideCount = CountWideChannels(sources);
    int placed = 0;
    for (int channel = 0; channel < 8 && placed < wideCount && placed < 3; ++channel) {
        if (!IsWideDriveCode(codes[channel]))
            continue;
        const int high = codes[channel] + 1;
        placement.highCodes[placed] = high;
        codes[7 - placed] = high;
        ++placed;
    }
    return placement;
}

std::array<int, 3> WideSlots(const std::array<int, 8>& sources, bool eightChannels) {
    std::array<int, 3> slots = {-1, -1, -1};
    if (!eightChannels)
        return slots;
    const int wideCount = CountWideChannels(sources);
    int found = 0;
    for (int channel = 0; channel < 8 && found < wideCount && found < 3; ++channel)
        if (IsWideSource(sources[channel]))
            slots[found++] = channel;
    return slots;
}
