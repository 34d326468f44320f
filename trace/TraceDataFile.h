#pragma once
// Recordings of the graph windows (.trd) and their CSV export: one codec for the trace window's
// form (stamp 260416), the box viewer's form (240126) and the box viewer's stop-time form (240126,
// ending after assignment word 22), with the version rules of older files.
//
// Readers fill a copy of the caller's record and hand it over only when the whole file was good,
// so a refused file changes nothing. Writers refuse names that end in neither "trd" nor "csv"
// before anything is created, and write beside the target and rename, so a failed save leaves the
// old file as it was. No file error escapes: every failure comes back as text.
#include "framework/core/File.h" // ReplaceFileContents: bytes beside the target, renamed over it
#include "framework/core/Geometry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class TraceFileForm {
    Trace,       // the trace window's full form
    Box,         // the box viewer's form: four channels, ends after the extra word blocks
    BoxStopTime, // the box viewer's automatic save: ends after assignment word 22
};

constexpr int TraceFileVersion = 260416;
constexpr int BoxFileVersion = 240126;
// The largest recording: the trace form's body with 300,000 samples per channel, and room for the
// header lines.
constexpr size_t TraceFileMaxBytes = 1166 + 8 * 4 * size_t{300000} + 1024;

// Everything a recording holds. The trace window and the box viewer name some fields differently
// (noted); the box forms use channels 1..4 only.
struct TraceRecording {
    int traceMode = 0;
    std::array<int, 8> sources{}; // box: channel signal codes
    std::array<int, 8> colorIndices{};
    float timeBase = 100.0f; // box: the raw sample period
    int interval = 1;
    int pointCount = 0; // every sample list holds pointCount + 1 values
    std::array<int, 8> scaleSelections{};
    int timeDivisionSelection = 0;
    std::array<int, 4> baseScales{1, 1, 1, 1}; // channels 1..4, before zooming
    std::array<int, 8> sliderPositions{};      // offset sliders; box: ChannelOffset (1..4)
    std::array<int, 4> baseOffsets{};          // vertical offsets before zooming; box: top values
    int baseScroll = 0;
    int frontChannel = 0;
    std::array<std::vector<int32_t>, 8> samples; // pointCount + 1 values each
    std::array<int, 24> dioCodes{};              // 1..22 travel through the file
    int triggerSource = 0;
    int triggerLevel = 0;
    int seriesCode = 0;
    int triggerEdge = 0;
    int triggerPosition = 0;
    std::array<float, 4> cursors{};      // box: A time, B time, A value, B value
    uint8_t snapshotValid = 0;           // box: ExtraFlag
    std::array<int32_t, 63> snapshot1{}; // box: ExtraWordsA
    std::array<int32_t, 20> snapshot2{}; // box: ExtraWordsB
    uint8_t zoomed = 0;
    float timePerDivision = 1.0f;
    std::array<int, 4> scales{1, 1, 1, 1}; // channels 1..4, current
    float leftTime = 0.0f;
    std::array<int, 4> offsets{}; // channels 1..4, current
    int scroll = 0;
    float baseTimePerDivision = 1.0f;
    float baseLeftTime = 0.0f;
    std::array<int, 4> upperOffsets{};          // channels 5..8, current
    std::array<int, 4> upperScales{1, 1, 1, 1}; // channels 5..8, current
    int channelCountMode = 1;
    std::array<COLORREF, 8> colors{};
    std::array<int32_t, 99> snapshot3{};
};

// The bytes of a .trd file of the given form.
std::string EncodeTraceFile(const TraceRecording& recording, TraceFileForm form);

struct TraceFileRead {
    bool ok = false;
    int version = 0;
    std::string error; // why the file was refused
};
// Reads a .trd file's bytes into record (only on success). Trace reads every field its version
// has (points 0..299,999, front channel 0..7); the box forms read up to the extra word blocks
// (points 0..29,999, front channel 0..3). Refused besides: a file larger than TraceFileMaxBytes
// (ReadTraceFile looks at the size before reading), a time base or interval no set-up gives (time
// base 1 .. 12,500,000, interval 1 .. 1250), a cursor time or a time of the view before 0 or beyond
// the longest record the window holds, a cursor value that is no finite number within the 32-bit
// range, a scale above the largest scale entry (100M), and a form of 240215 or later that ends after
// DI/DO word 22 (only the box viewer's older form ends there).
TraceFileRead DecodeTraceFile(const std::string& bytes, TraceFileForm reader, TraceRecording& record);
TraceFileRead ReadTraceFile(const std::string& path, TraceFileForm reader, TraceRecording& record);

// The CSV export: the two header lines, the column line ("time(ms)," then each title and ","),
// then one row for each sample firstRow .. firstRow + rows - 1: "%.2f  ," of the row's time and
// "%d  ," of each column's value at that sample.
struct TraceCsvTable {
    int version = TraceFileVersion;
    std::vector<std::string> titles;                  // "ch1 Speed Command(rpm)" ...
    std::vector<const std::vector<int32_t>*> columns; // one per title
    int firstRow = 0;
    int rows = 0;
    std::vector<float> times; // one per row
};
std::string EncodeTraceCsv(const TraceCsvTable& table);
// Row times in ms, as the time axis shows them: sample i lies at i x (time base / 1000) / divisor
// (TimeDisplayDivisorOf; BoxTimeDivisor for a box record), for i = firstRow .. firstRow + rows - 1.
std::vector<float> CsvRowTimes(int firstRow, int rows, float timeBase, int divisor);
// The export of a recording from its own samples, so the CSV and the .trd of one recording hold the
// same rows: rows firstRow .. pointCount - 1 (the front a run never reached left out), one column
// per title from channel 1 on, times by the recording's time base over divisor. The table points
// into recording, which must outlive it.
TraceCsvTable RecordingCsvTable(const TraceRecording& recording, std::vector<std::string> titles,
                                int firstRow, int divisor, int version = TraceFileVersion);
// A column title: "ch<k> " + name + "(" + unit + ")".
std::string CsvColumnTitle(int channel, const std::string& name, const std::string& unit);

// Saves by the name's ending (any case): "trd" the recording, "csv" the export. A name ending in
// anything else is refused before any file is created. false with the reason in *error.
bool SaveTraceFile(const std::string& path, const TraceRecording& recording, TraceFileForm form,
                   const TraceCsvTable& csv, std::string* error = nullptr);
// The path of a numbered recording: folder + "/" + name + "%.3d_%.3d.trd" of the two numbers.
// Only the numbers are formatted; the folder and name are taken as they are.
std::string NumberedRecordingPath(const std::string& folder, const std::string& name, int fileNumber,
                                  int subNumber);
