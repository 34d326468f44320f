#include "trace/TraceIni.h"

#include "trace/GraphServices.h"
#include "trace/TraceDataFile.h"
#include "trace/TraceRegisters.h"

#include "framework/core/File.h"
#include "framework/core/Format.h"

#include <vector>

namespace {

constexpr int kLastSource = 56;
constexpr int kLastScaleEntry = 18;
constexpr int kMaxPoints = 327689;

struct Lines {
    std::vector<std::string> lines;
    size_t next = 0;
    bool AtEnd() const { return next >= lines.size(); }
    std::string Take() { return next < lines.size() ? lines[next++] : std::string(); }
    // A missing line reads as empty, which gives 0.
    int Int() { return AtoI(Take()); }
};

// Keeps the previous value when the line's value lies outside [low, high].
void Bounded(int& field, int value, int low, int high) {
    if (value >= low && value <= high)
        field = value;
}

void Colour(COLORREF& field, int value) {
    if (value >= 0 && value <= 0xFFFFFF)
        field = static_cast<COLORREF>(value);
}

} // namespace

std::string EncodeTraceIni(const TraceSettings& s) {
    std::string out;
    auto line = [&out](const std::string& text) { out += text + "\r\n"; };
    auto number = [&line](long value) { line(Format("%ld", value)); };
    line("[Kelo Servo]");
    line("[0005]");
    line("[bsetok]");
    number(s.valid);
    for (int code : s.dioCodes)
        number(code);
    for (int value : {s.points, s.triggerEdge, s.carried, s.interval, s.triggerSource, s.triggerLevel,
                      s.traceMode, s.triggerPosition, s.timeBase})
        number(value);
    for (int k = 0; k < 4; ++k)
        number(s.sources[k]);
    for (int k = 0; k < 4; ++k)
        number(s.colorIndices[k]);
    for (int k = 0; k < 4; ++k)
        number(s.scaleSelections[k]);
    for (int k = 4; k < 8; ++k)
        number(s.sources[k]);
    for (int k = 4; k < 8; ++k)
        number(s.colorIndices[k]);
    for (int k = 4; k < 8; ++k)
        number(s.scaleSelections[k]);
    for (COLORREF colour : s.colors)
        number(static_cast<int32_t>(colour));
    line("[CurserSet]");
    for (int k = 0; k < 4; ++k) {
        number(s.cursorColorUsed[k]);
        number(static_cast<int32_t>(s.cursorColors[k]));
    }
    return out;
}

TraceIniLoad DecodeTraceIni(const std::string& text, TraceSettings& settings) {
    TraceIniLoad result;
    result.opened = true;
    Lines in;
    for (std::string& line : Split(text, '\n')) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        in.lines.push_back(line);
    }
    // A text that ends with its last line's end has no further line after it.
    if (!in.lines.empty() && in.lines.back().empty())
        in.lines.pop_back();
    if (in.Take() != "[Kelo Servo]")
        return result;
    const std::string versionLine = in.Take();
    result.version = versionLine.size() > 5 ? ParseHexChar(versionLine[4]) : 0;
    TraceSettings s = settings;
    in.Take();
    s.valid = in.Int() != 0 ? 1 : 0;
    for (int& code : s.dioCodes)
        code = in.Int();
    Bounded(s.points, in.Int(), 1, kMaxPoints);
    Bounded(s.triggerEdge, in.Int(), 0, 2);
    s.carried = in.Int();
    Bounded(s.interval, in.Int(), 1, 1250);
    Bounded(s.triggerSource, in.Int(), 0, 16);
    s.triggerLevel = in.Int();
    Bounded(s.traceMode, in.Int(), -1, 2);
    Bounded(s.triggerPosition, in.Int(), 0, 51);
    Bounded(s.timeBase, in.Int(), 1, 1250 * 10000);
    for (int k = 0; k < 4; ++k)
        Bounded(s.sources[k], in.Int(), 0, kLastSource);
    for (int k = 0; k < 4; ++k)
        Bounded(s.colorIndices[k], in.Int(), 0, 14);
    if (!in.AtEnd() && result.version > 1)
        for (int k = 0; k < 4; ++k)
            Bounded(s.scaleSelections[k], in.Int(), -1, kLastScaleEntry);
    if (!in.AtEnd() && result.version >= 3) {
        for (int k = 4; k < 8; ++k)
            Bounded(s.sources[k], in.Int(), 0, kLastSource);
        for (int k = 4; k < 8; ++k)
            Bounded(s.colorIndices[k], in.Int(), 0, 14);
        for (int k = 4; k < 8; ++k)
            Bounded(s.scaleSelections[k], in.Int(), -1, kLastScaleEntry);
        // 32-bit sources take two channels' room: channels 7 and 8 cannot carry them.
        for (int k : {6, 7})
            if (IsWideSource(s.sources[k]))
                s.sources[k] = 0;
    } else {
        s.sources[4] = 6;
        s.sources[5] = 7;
        s.sources[6] = 36;
        s.sources[7] = 37;
        s.colorIndices[4] = 4;
        s.colorIndices[5] = 5;
        s.colorIndices[6] = 12;
        s.colorIndices[7] = 14;
    }
    if (result.version > 3) {
        for (COLORREF& colour : s.colors)
            Colour(colour, in.Int());
    } else {
        for (int k = 0; k < 8; ++k)
            s.colors[k] = ChannelColor(static_cast<unsigned>(s.colorIndices[k]));
    }
    if (!in.AtEnd() && result.version > 4) {
        in.Take();
        for (int k = 0; k < 4; ++k) {
            s.cursorColorUsed[k] = in.Int() != 0 ? 1 : 0;
            Colour(s.cursorColors[k], in.Int());
        }
    }
    settings = s;
    result.recognised = true;
    return result;
}

TraceIniLoad LoadTraceIni(const std::string& path, TraceSettings& settings) {
    std::string text;
    try {
        CFile file(path, CFile::modeRead | CFile::typeBinary);
        // 78 short lines; a larger file is no settings file and is not read into memory.
        if (file.GetLength() > TraceIniMaxBytes)
            return {.opened = true};
        text.resize(static_cast<size_t>(file.GetLength()));
        text.resize(file.Read(text.data(), text.size()));
    } catch (const CFileException&) {
        return {};
    }
    return DecodeTraceIni(text, settings);
}

bool SaveTraceIni(const std::string& path, const TraceSettings& settings, std::string* error) {
    return ReplaceFileContents(path, EncodeTraceIni(settings), error);
}
