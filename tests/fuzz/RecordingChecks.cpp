#include "tests/fuzz/RecordingChecks.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

namespace {

constexpr int kLargestScale = 100000000;

template <size_t N> bool ScalesUsable(const std::array<int, N>& scales) {
    return std::all_of(scales.begin(), scales.end(), [](int s) { return s >= 1 && s <= kLargestScale; });
}

// The int32 at offset of the input; -1 past its end.
int32_t WordAt(std::string_view text, size_t offset) {
    if (offset > text.size() || text.size() - offset < 4)
        return -1;
    int32_t word = 0;
    std::memcpy(&word, text.data() + offset, 4);
    return word;
}

} // namespace

void CheckRecordingReader(const std::uint8_t* data, std::size_t size, TraceFileForm reader) {
    const bool trace = reader == TraceFileForm::Trace;
    const std::string path = FuzzInputFile(data, size, "input.trd");
    TraceRecording r;
    const TraceFileRead read = ReadTraceFile(path, reader, r);
    if (!read.ok) {
        FuzzCheck(!read.error.empty(), "a refused file comes without a reason");
        return;
    }
    const int v = read.version;
    FuzzCheck(r.pointCount >= 0 && r.pointCount <= (trace ? 299999 : 29999), "point count out of range");
    FuzzCheck(std::isfinite(r.timeBase) && r.timeBase >= 1.0f && r.timeBase <= 12500000.0f,
              "a time base no set-up gives");
    FuzzCheck(r.interval >= 1 && r.interval <= 1250, "an interval no set-up gives");
    FuzzCheck(r.frontChannel >= 0 && r.frontChannel <= (trace ? 7 : 3), "front channel out of range");
    FuzzCheck(ScalesUsable(r.baseScales), "a base scale the window cannot use");
    FuzzCheck(std::all_of(r.cursors.begin(), r.cursors.end(),
                          [](float c) { return std::isfinite(c) && std::fabs(c) < 2.2e9f; }),
              "a cursor the window cannot convert");
    const size_t n = static_cast<size_t>(r.pointCount) + 1;
    const int lists = trace && v >= 240215 ? 8 : 4;
    for (int k = 0; k < lists; ++k)
        FuzzCheck(r.samples[static_cast<size_t>(k)].size() == n, "a sample list not read in full");
    // A file of the later forms must have held every field its reader takes (the box viewer's short
    // form ends after DI/DO word 22 only under its own, older stamp).
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const size_t body = text.find('\n', text.find('\n') + 1) + 1;
    if (v >= 240215)
        FuzzCheck(size >= body + 257 + 16 * n, "a later form accepted without its cursors and word blocks");
    if (trace && v >= 240215) {
        FuzzCheck(ScalesUsable(r.scales) && ScalesUsable(r.upperScales),
                  "a current scale the window cannot use");
        FuzzCheck(r.channelCountMode == 0 || r.channelCountMode == 1, "channel count mode out of range");
        // The two word blocks before the zoom flag are counted: each count says how many words
        // follow (writers put 63 and 20), so channels 5 to 8 end where the counts put them.
        const size_t count1At = body + 257 + 16 * n;
        const int32_t count1 = WordAt(text, count1At);
        const int32_t count2 = WordAt(text, count1At + 4 + 4 * static_cast<size_t>(std::max(count1, 0)));
        FuzzCheck(count1 >= 0 && count1 <= 63 && count2 >= 0 && count2 <= 20,
                  "a word block count out of range");
        const size_t upperEnd = count1At + 8 + 4 * static_cast<size_t>(count1 + count2) + 137 + 16 * n;
        FuzzCheck(size >= upperEnd, "a trace form accepted without channels 5 to 8");
    }

    // Saved in the reader's own form and read again: the same record.
    const TraceFileForm form = trace ? TraceFileForm::Trace : TraceFileForm::Box;
    const std::string bytes = EncodeTraceFile(r, form);
    TraceRecording again;
    const TraceFileRead back = DecodeTraceFile(bytes, reader, again);
    FuzzCheck(back.ok, "a record read from a file does not read back after a save");
    FuzzCheck(EncodeTraceFile(again, form) == bytes, "a saved record reads back with other values");
}
