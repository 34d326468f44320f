// trace.ini through the settings reader. Settings taken from a file lie within what their fields
// can hold, and a saved file reads back the same.
#include "tests/fuzz/FuzzSupport.h"

#include "trace/TraceIni.h"
#include "trace/TraceRegisters.h"

namespace {

bool Within(int value, int low, int high) {
    return value >= low && value <= high;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = FuzzInputFile(data, size, "trace.ini");
    TraceSettings s;
    s.points = 1000;
    s.interval = 1;
    s.timeBase = 100;
    const TraceIniLoad load = LoadTraceIni(path, s);
    FuzzCheck(load.opened, "an existing file reads as missing");
    if (!load.recognised)
        return 0;
    FuzzCheck(Within(s.points, 1, 327689) && Within(s.interval, 1, 1250) && Within(s.timeBase, 1, 12500000),
              "a sampling figure out of range");
    FuzzCheck(Within(s.traceMode, -1, 2) && Within(s.triggerSource, 0, 16) && Within(s.triggerEdge, 0, 2) &&
                  Within(s.triggerPosition, 0, 51),
              "a trigger or mode field out of range");
    for (int k = 0; k < 8; ++k) {
        FuzzCheck(Within(s.sources[k], 0, 56) && Within(s.colorIndices[k], 0, 14),
                  "a channel field out of range");
        FuzzCheck(s.colors[k] <= 0xFFFFFF, "a colour out of range");
    }
    FuzzCheck(!IsWideSource(s.sources[6]) && !IsWideSource(s.sources[7]),
              "a 32-bit source in channel 7 or 8");

    const std::string saved = EncodeTraceIni(s);
    TraceSettings again;
    FuzzCheck(DecodeTraceIni(saved, again).recognised, "a saved file is not recognised");
    FuzzCheck(EncodeTraceIni(again) == saved, "a saved file reads back with other values");
    return 0;
}
