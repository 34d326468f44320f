#include "trace/TraceDataFile.h"

#include "trace/GraphServices.h"

#include "framework/core/File.h"
#include "framework/core/Format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace {

constexpr int kTracePointLimit = 299999;
constexpr int kBoxPointLimit = 29999;
// The largest scale any scale list offers; a larger one overflows the offset arithmetic.
constexpr int kLargestScale = 100000000;
// Cursor times and values are read into whole pixels and sample values: beyond this they mean nothing.
constexpr float kCursorLimit = 2147483520.0f;
// What the set-ups of both windows give: an interval of 1 to 1250 and a time base of at least 1 and
// at most the largest interval x 10000 (eight channels or Monitor); no writer stores anything else.
constexpr int kIntervalMax = 1250;
constexpr float kTimeBaseMin = 1.0f;
constexpr float kTimeBaseMax = 1250.0f * 10000.0f;
// The longest time axis a window shows (internal units): its largest record at the largest time
// base, and one division more, which the box viewer's last page may reach. A time of the view or a
// cursor reading beyond it, or before the start, was written by no window (a cursor reading may be
// left from an earlier record, so the record's own length does not bound it).
double LongestTimeAxis(bool trace) {
    return 1.1 * (trace ? kTracePointLimit : kBoxPointLimit) * static_cast<double>(kTimeBaseMax) / 1000.0;
}
const char kHeaderLine2[] = "[Trace Data]";

// The writer and the reader walk the same field list; each knows what to do with a field.
class BodyWriter {
public:
    explicit BodyWriter(TraceFileForm form, size_t expected) : form_(form) { bytes.reserve(expected); }
    static constexpr bool Reading = false;
    void Int(int& v) { Put(&v, 4); }
    void Int32(int32_t& v) { Put(&v, 4); }
    void Float(float& v) { Put(&v, 4); }
    void Byte(uint8_t& v) { Put(&v, 1); }
    void Colour(COLORREF& v) { Put(&v, 4); }
    // n values; a list shorter than that is completed with pad.
    void List(std::vector<int32_t>& list, int n, int32_t pad) {
        const size_t present = std::min(list.size(), static_cast<size_t>(std::max(n, 0)));
        Put(list.data(), 4 * present);
        for (int i = static_cast<int>(present); i < n; ++i)
            Put(&pad, 4);
    }
    template <size_t N> void Block(std::array<int32_t, N>& block, int count) {
        for (int i = 0; i < count; ++i)
            Put(&block[i], 4);
    }
    bool EndsAfterAssignments() const { return form_ == TraceFileForm::BoxStopTime; }
    bool EndsBeforeLastBlock() const { return false; }
    bool Refuse(bool, const char*) { return false; }
    bool Failed() const { return false; }
    std::string bytes;

private:
    void Put(const void* p, size_t n) { bytes.append(static_cast<const char*>(p), n); }
    TraceFileForm form_;
};

class BodyReader {
public:
    BodyReader(const std::string& bytes, size_t start) : in_(bytes), pos_(start) {}
    static constexpr bool Reading = true;
    void Int(int& v) { Get(&v, 4); }
    void Int32(int32_t& v) { Get(&v, 4); }
    void Float(float& v) { Get(&v, 4); }
    void Byte(uint8_t& v) { Get(&v, 1); }
    void Colour(COLORREF& v) { Get(&v, 4); }
    void List(std::vector<int32_t>& list, int n, int32_t) {
        if (failed_)
            return;
        if (n < 0 || in_.size() - pos_ < 4 * static_cast<size_t>(n)) {
            Refuse(true, "the file ends inside a sample list");
            return;
        }
        list.assign(static_cast<size_t>(n), 0);
        std::memcpy(list.data(), in_.data() + pos_, 4 * static_cast<size_t>(n));
        pos_ += 4 * static_cast<size_t>(n);
    }
    template <size_t N> void Block(std::array<int32_t, N>& block, int count) {
        for (int i = 0; i < count && !failed_; ++i)
            Get(&block[i], 4);
    }
    // A file may end cleanly after assignment word 22 (the box viewer's automatic save) and before
    // the last snapshot block.
    bool EndsAfterAssignments() const { return !failed_ && pos_ == in_.size(); }
    bool EndsBeforeLastBlock() const { return !failed_ && pos_ == in_.size(); }
    // Refuses the file with the reason when the condition holds; true when refused.
    bool Refuse(bool condition, const char* reason) {
        if (condition && !failed_) {
            failed_ = true;
            error = reason;
        }
        return failed_;
    }
    bool Failed() const { return failed_; }
    std::string error;

private:
    void Get(void* p, size_t n) {
        if (failed_)
            return;
        if (in_.size() - pos_ < n) {
            Refuse(true, "the file ends before its last field");
            return;
        }
        std::memcpy(p, in_.data() + pos_, n);
        pos_ += n;
    }
    const std::string& in_;
    size_t pos_;
    bool failed_ = false;
};

bool UsableTimeBase(float t) {
    return std::isfinite(t) && t >= kTimeBaseMin && t <= kTimeBaseMax;
}

// A time of the view: from 0 (above it for a time per division) up to the longest time axis.
bool TimeOnAxis(float t, bool trace, bool positive = false) {
    return std::isfinite(t) && (positive ? t > 0 : t >= 0) && t <= LongestTimeAxis(trace);
}

bool UsableCursorValue(float c) {
    return std::isfinite(c) && std::fabs(c) <= kCursorLimit;
}

bool UsableCursorTime(float c, bool trace) {
    return TimeOnAxis(c, trace) && UsableCursorValue(c);
}

template <size_t N> bool ScalesInRange(const std::array<int, N>& scales) {
    return std::all_of(scales.begin(), scales.end(), [](int scale) { return scale <= kLargestScale; });
}

void AtLeastOne(int& scale) {
    if (scale < 1)
        scale = 1;
}

template <typename IO> void WalkBody(IO& io, TraceRecording& r, int v, TraceFileForm form) {
    const bool trace = form == TraceFileForm::Trace;
    if (v > 160800) {
        io.Int(r.traceMode);
        io.Refuse(r.traceMode < -1 || r.traceMode > 2, "the trace mode is out of range");
    } else if (!trace) {
        r.traceMode = 0;
    }
    io.Int(r.sources[0]);
    io.Int(r.sources[1]);
    io.Int(r.colorIndices[0]);
    io.Int(r.colorIndices[1]);
    io.Float(r.timeBase);
    io.Refuse(!UsableTimeBase(r.timeBase), "the time base is not one a set-up gives");
    io.Int(r.interval);
    io.Refuse(r.interval < 1 || r.interval > kIntervalMax, "the interval is not one a set-up gives");
    io.Int(r.pointCount);
    io.Refuse(r.pointCount < 0 || r.pointCount > (trace ? kTracePointLimit : kBoxPointLimit),
              "the point count is out of range");
    if (io.Failed())
        return;
    const int n = r.pointCount + 1;
    const int32_t pad = trace ? r.pointCount : 0;
    io.Int(r.scaleSelections[0]);
    io.Int(r.scaleSelections[1]);
    io.Int(r.timeDivisionSelection);
    io.Int(r.baseScales[0]);
    io.Int(r.baseScales[1]);
    io.Int(r.sliderPositions[0]);
    io.Int(r.baseOffsets[0]);
    io.Int(r.sliderPositions[1]);
    io.Int(r.baseOffsets[1]);
    io.Int(r.baseScroll);
    io.Int(r.frontChannel);
    io.Refuse(r.frontChannel < 0 || r.frontChannel > (trace ? 7 : 3), "the front channel is out of range");
    io.List(r.samples[0], n, pad);
    io.List(r.samples[1], n, pad);
    if (v > 160200) {
        io.Int(r.scaleSelections[2]);
        io.Int(r.scaleSelections[3]);
        io.Int(r.baseScales[2]);
        io.Int(r.baseScales[3]);
        io.Int(r.sliderPositions[2]);
        io.Int(r.baseOffsets[2]);
        io.Int(r.sliderPositions[3]);
        io.Int(r.baseOffsets[3]);
    } else if (!trace) {
        r.scaleSelections[2] = r.scaleSelections[3] = 0;
        r.baseScales[2] = r.baseScales[3] = 1;
        r.sliderPositions[2] = r.sliderPositions[3] = 0;
        r.baseOffsets[2] = r.baseOffsets[3] = 0;
    }
    io.Refuse(!ScalesInRange(r.baseScales), "a channel scale is out of range");
    io.Int(r.sources[2]);
    io.Int(r.sources[3]);
    io.Int(r.colorIndices[2]);
    io.Int(r.colorIndices[3]);
    // The offsets of channels 3 and 4 once more; readers take them from the fields above.
    int repeated[2] = {r.baseOffsets[2], r.baseOffsets[3]};
    io.Int(repeated[0]);
    io.Int(repeated[1]);
    for (int i = 0; i < 20; ++i)
        io.Int(r.dioCodes[i]);
    io.List(r.samples[2], n, pad);
    io.List(r.samples[3], n, pad);
    io.Int(r.triggerSource);
    io.Int(r.triggerLevel);
    io.Int(r.seriesCode);
    if (v > 181114) {
        io.Int(r.triggerEdge);
        io.Int(r.triggerPosition);
        io.Int(r.dioCodes[20]);
        io.Int(r.dioCodes[21]);
    } else if (!trace) {
        r.triggerEdge = r.triggerPosition = 0;
    }
    if (IO::Reading)
        for (int& scale : r.baseScales)
            AtLeastOne(scale);
    if (v < 240126) {
        if (IO::Reading)
            r.snapshotValid = 0;
    } else {
        // Only the box viewer's form ends here; a later trace form cut here lost its fields.
        if (v < 240215 && io.EndsAfterAssignments()) {
            if (IO::Reading)
                r.snapshot2.fill(0);
            return;
        }
        for (float& cursor : r.cursors)
            io.Float(cursor);
        io.Refuse(!UsableCursorTime(r.cursors[0], trace) || !UsableCursorTime(r.cursors[1], trace) ||
                      !UsableCursorValue(r.cursors[2]) || !UsableCursorValue(r.cursors[3]),
                  "a cursor lies outside any record");
        io.Byte(r.snapshotValid);
        int count1 = static_cast<int>(r.snapshot1.size());
        io.Int(count1);
        if (io.Refuse(count1 < 0 || count1 > static_cast<int>(r.snapshot1.size()),
                      "a word block is too long"))
            return;
        io.Block(r.snapshot1, count1);
        int count2 = static_cast<int>(r.snapshot2.size());
        io.Int(count2);
        if (io.Refuse(count2 < 0 || count2 > static_cast<int>(r.snapshot2.size()),
                      "a word block is too long"))
            return;
        io.Block(r.snapshot2, count2);
    }
    if (!trace)
        return;
    if (v < 240215) {
        if (IO::Reading)
            r.zoomed = 0;
        return;
    }
    io.Byte(r.zoomed);
    io.Float(r.timePerDivision);
    for (int& scale : r.scales)
        io.Int(scale);
    io.Float(r.leftTime);
    for (int& offset : r.offsets)
        io.Int(offset);
    io.Int(r.scroll);
    io.Float(r.baseTimePerDivision);
    io.Float(r.baseLeftTime);
    io.Refuse(!TimeOnAxis(r.timePerDivision, trace, true) ||
                  !TimeOnAxis(r.baseTimePerDivision, trace, true) || !TimeOnAxis(r.leftTime, trace) ||
                  !TimeOnAxis(r.baseLeftTime, trace),
              "a time of the view lies outside any record");
    for (int k = 4; k < 8; ++k)
        io.Int(r.scaleSelections[k]);
    for (int k = 4; k < 8; ++k)
        io.Int(r.sliderPositions[k]);
    for (int k = 4; k < 8; ++k)
        io.Int(r.sources[k]);
    for (int& offset : r.upperOffsets)
        io.Int(offset);
    for (int& scale : r.upperScales)
        io.Int(scale);
    io.Int(r.channelCountMode);
    io.Refuse(r.channelCountMode < 0, "the channel count is out of range");
    io.Refuse(!ScalesInRange(r.scales) || !ScalesInRange(r.upperScales), "a channel scale is out of range");
    if (IO::Reading) {
        r.channelCountMode = std::min(r.channelCountMode, 1);
        for (int& scale : r.scales)
            AtLeastOne(scale);
        for (int& scale : r.upperScales)
            AtLeastOne(scale);
    }
    for (int k = 4; k < 8; ++k)
        io.List(r.samples[k], n, pad);
    if (v > 250318)
        for (COLORREF& colour : r.colors)
            io.Colour(colour);
    if (v > 260415) {
        if (io.EndsBeforeLastBlock())
            return;
        int count3 = static_cast<int>(r.snapshot3.size());
        io.Int(count3);
        if (io.Refuse(count3 < 0 || count3 > static_cast<int>(r.snapshot3.size()),
                      "a word block is too long"))
            return;
        io.Block(r.snapshot3, count3);
    }
}

std::string HeaderLines(int version) {
    return Format("; Kelo Servo ZR3 v0.1.%06d\n", version) + kHeaderLine2 + "\n";
}

std::string ReadLine(const std::string& bytes, size_t& pos, bool& found) {
    const size_t end = bytes.find('\n', pos);
    found = end != std::string::npos;
    std::string line = bytes.substr(pos, found ? end - pos : std::string::npos);
    pos = found ? end + 1 : bytes.size();
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

bool EndsWithNoCase(const std::string& path, const char* ending) {
    return path.size() >= 3 && EqualsNoCase(Right(path, 3), ending);
}

} // namespace

std::string EncodeTraceFile(const TraceRecording& recording, TraceFileForm form) {
    const int version = form == TraceFileForm::Trace ? TraceFileVersion : BoxFileVersion;
    const size_t expected = 2048 + 8 * 4 * (static_cast<size_t>(std::max(recording.pointCount, 0)) + 1);
    BodyWriter writer(form, expected);
    // The writer only reads the fields; the walk is shared with the reader, which fills them.
    WalkBody(writer, const_cast<TraceRecording&>(recording), version, form);
    return HeaderLines(version) + writer.bytes;
}

TraceFileRead DecodeTraceFile(const std::string& bytes, TraceFileForm reader, TraceRecording& record) {
    TraceFileRead result;
    if (bytes.size() > TraceFileMaxBytes) {
        result.error = "the file is too large to be a recording";
        return result;
    }
    size_t pos = 0;
    bool found = false;
    const std::string line1 = ReadLine(bytes, pos, found);
    const int semicolon = FindChar(line1, ';');
    if (bytes.empty() || semicolon < 0 || Find(Left(line1, semicolon + 24), "Kelo Servo") < 0) {
        result.error = "the file is not a recording";
        return result;
    }
    result.version = AtoI(Right(line1, 6));
    const std::string line2 = ReadLine(bytes, pos, found);
    if (!found || line2 != kHeaderLine2) {
        result.error = "the file is not a recording";
        return result;
    }
    TraceRecording staged = record;
    BodyReader body(bytes, pos);
    WalkBody(body, staged, result.version, reader == TraceFileForm::Trace ? reader : TraceFileForm::Box);
    if (body.Failed()) {
        result.error = body.error;
        return result;
    }
    if (result.version < 181116)
        for (int k = 0; k < 4; ++k)
            staged.sources[k] = TraceFileChannelCode(staged.sources[k]);
    record = std::move(staged);
    result.ok = true;
    return result;
}

TraceFileRead ReadTraceFile(const std::string& path, TraceFileForm reader, TraceRecording& record) {
    TraceFileRead result;
    if (!EndsWithNoCase(path, "trd")) {
        result.error = "a recording's name ends in .trd";
        return result;
    }
    std::string bytes;
    try {
        CFile file(path, CFile::modeRead | CFile::typeBinary);
        const uint64_t length = file.GetLength();
        // Looked at before anything is read: a huge file is refused without holding it.
        if (length > TraceFileMaxBytes) {
            result.error = "the file is too large to be a recording";
            return result;
        }
        bytes.resize(static_cast<size_t>(length));
        bytes.resize(file.Read(bytes.data(), bytes.size()));
    } catch (const CFileException& e) {
        result.error = e.what();
        return result;
    }
    return DecodeTraceFile(bytes, reader, record);
}

std::string CsvColumnTitle(int channel, const std::string& name, const std::string& unit) {
    return Format("ch%d ", channel) + name + "(" + unit + ")";
}

TraceCsvTable RecordingCsvTable(const TraceRecording& recording, std::vector<std::string> titles,
                                int firstRow, int divisor, int version) {
    TraceCsvTable csv;
    csv.version = version;
    csv.firstRow = std::clamp(firstRow, 0, std::max(recording.pointCount, 0));
    csv.rows = std::max(recording.pointCount, 0) - csv.firstRow;
    csv.titles = std::move(titles);
    for (size_t ch = 0; ch < csv.titles.size() && ch < recording.samples.size(); ++ch)
        csv.columns.push_back(&recording.samples[ch]);
    csv.titles.resize(csv.columns.size());
    csv.times = CsvRowTimes(csv.firstRow, csv.rows, recording.timeBase, divisor);
    return csv;
}

std::vector<float> CsvRowTimes(int firstRow, int rows, float timeBase, int divisor) {
    std::vector<float> times(static_cast<size_t>(std::max(rows, 0)));
    const float step = timeBase / 1000.0f;
    const float shownDivisor = static_cast<float>(std::max(divisor, 1));
    for (int i = 0; i < rows; ++i)
        times[static_cast<size_t>(i)] = static_cast<float>(firstRow + i) * step / shownDivisor;
    return times;
}

std::string EncodeTraceCsv(const TraceCsvTable& table) {
    std::string out = HeaderLines(table.version) + "time(ms),";
    for (const std::string& title : table.titles)
        out += title + ",";
    out += "\n";
    char cell[64];
    for (int i = 0; i < table.rows; ++i) {
        const float t = i < static_cast<int>(table.times.size()) ? table.times[static_cast<size_t>(i)] : 0.0f;
        out.append(cell,
                   static_cast<size_t>(std::snprintf(cell, sizeof cell, "%.2f  ,", static_cast<double>(t))));
        const int sample = table.firstRow + i;
        for (const std::vector<int32_t>* column : table.columns) {
            const int32_t value = column && sample >= 0 && sample < static_cast<int>(column->size())
                                      ? (*column)[static_cast<size_t>(sample)]
                                      : 0;
            out.append(cell, static_cast<size_t>(std::snprintf(cell, sizeof cell, "%d  ,", value)));
        }
        out += "\n";
    }
    return out;
}

std::string NumberedRecordingPath(const std::string& folder, const std::string& name, int fileNumber,
                                  int subNumber) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path + name + Format("%.3d_%.3d.trd", fileNumber, subNumber);
}

bool SaveTraceFile(const std::string& path, const TraceRecording& recording, TraceFileForm form,
                   const TraceCsvTable& csv, std::string* error) {
    if (EndsWithNoCase(path, "trd"))
        return ReplaceFileContents(path, EncodeTraceFile(recording, form), error);
    if (EndsWithNoCase(path, "csv"))
        return ReplaceFileContents(path, EncodeTraceCsv(csv), error);
    if (error)
        *error = "a recording is saved as .trd or .csv";
    return false;
}
