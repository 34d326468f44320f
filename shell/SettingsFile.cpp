#include "shell/SettingsFile.h"

#include "catalogue/ParamCode.h"
#include "framework/core/Format.h"
#include "framework/core/Paths.h"
#include "framework/core/StdioFile.h"
#include "shell/ShellGlobals.h"

#include <optional>

namespace {

constexpr const char* kVersionLine = "Version=v0.1.240117";

// Lines of the file one after another; past the end there is no line.
class LineSource {
public:
    explicit LineSource(CStdioFile& file) : file_(file) {}
    std::optional<std::string> Next() {
        std::string line;
        try {
            if (file_.ReadString(line))
                return line;
        } catch (const CFileException&) {
            // An unreadable rest counts as the end of the file: what was read so far stands.
        }
        return std::nullopt;
    }

private:
    CStdioFile& file_;
};

bool Contains(const std::optional<std::string>& line, const char* key) {
    return line && Find(*line, key) >= 0;
}

// Keys may stand anywhere in a line, but the value always starts right after the key's length
// counted from the start of the line.
int ValueAfter(const std::string& line, int keyLength) {
    return AtoI(Mid(line, keyLength));
}

// Reads count value lines into values[0..count); a missing line leaves the rest unchanged.
template <typename Array> void ReadValues(LineSource& lines, Array& values, int count) {
    for (int i = 0; i < count; ++i) {
        std::optional<std::string> line = lines.Next();
        if (!line)
            return;
        values[static_cast<size_t>(i)] = AtoI(*line);
    }
}

int BoundedPaneKind(int kind) {
    return kind >= 0 && kind <= 10 ? kind : StatusPaneKindNone;
}

void ReadDefiniteList(LineSource& lines, ShellSettings& s) {
    std::optional<std::string> countLine = lines.Next();
    if (!countLine)
        return;
    const int count = AtoI(*countLine);
    int stored = 0;
    // Every pair the count announces is consumed (so the next section is found where the writer
    // put it), but only valid entries are kept, and never more than the arrays hold.
    for (int i = 0; i < count; ++i) {
        std::optional<std::string> groupLine = lines.Next();
        std::optional<std::string> numberLine = lines.Next();
        if (!groupLine || !numberLine)
            break;
        const int group = AtoI(*groupLine);
        const int number = AtoI(*numberLine);
        if (stored < DefiniteListCapacity && IsValidDefiniteEntry(group, number)) {
            s.DefiniteGroup[static_cast<size_t>(stored)] = group;
            s.DefiniteNumber[static_cast<size_t>(stored)] = number;
            ++stored;
        }
    }
    for (int i = stored; i < DefiniteListCapacity; ++i) {
        s.DefiniteGroup[static_cast<size_t>(i)] = 0;
        s.DefiniteNumber[static_cast<size_t>(i)] = 0;
    }
    s.DefiniteListSize = stored;
}

void ReadDisplaySettings(LineSource& lines, ShellSettings& s) {
    for (int slot = 0; slot < DisplaySettingCount; ++slot) {
        if (slot == DisplayMemoryOnlySlot)
            continue;
        std::optional<std::string> line = lines.Next();
        if (!line)
            return;
        s.DisplaySettings[static_cast<size_t>(slot)] = AtoI(*line);
    }
}

void ReadLineSettings(LineSource& lines, ShellSettings& s) {
    std::optional<std::string> line = lines.Next();
    if (!line)
        return;
    if (Contains(line, "StationID=")) {
        s.StationNumber = ValueAfter(*line, 10);
        line = lines.Next();
    }
    if (Contains(line, "RS485Port=")) {
        s.ModbusMode = ValueAfter(*line, 10);
        line = lines.Next();
    }
    if (Contains(line, "BaudRateIndex=")) {
        s.BaudRateIndex = ValueAfter(*line, 14);
        line = lines.Next();
    }
    if (Contains(line, "RTUMode=")) {
        const int format = ValueAfter(*line, 8);
        s.ModbusFormat = format >= 0 && format <= 8 ? format : 0;
        s.ModbusAsciiFlag = s.ModbusFormat <= 5 ? 1 : 0;
    }
}

} // namespace

ShellSettings::ShellSettings() {
    DisplaySettings.fill(1);
    DisplaySettings[0] = 0;
    DisplaySettings[DisplayMemoryOnlySlot] = 0;
    DisplaySettings[DisplayPackedSlot] = 0x11111;
    for (int i = 0; i < StatusbarSetSize; ++i)
        StatusbarSet[static_cast<size_t>(i)] = i;
}

std::string SettingsHeader(int brandMode) {
    return brandMode == BrandOem ? "[Ombrix]" : "[Kelo Servo]";
}

std::string SettingsFilePath(int brandMode) {
    return ProgramFolderFile(brandMode == BrandOem ? "Ombrix.ini" : "KeloServo.ini");
}

bool IsValidDefiniteEntry(int groupId, int numberIndex) {
    const int group = ParamGroupFromDefiniteId(groupId);
    if (group < 0)
        return false;
    return numberIndex >= 0 && numberIndex < ParamGroupTable(static_cast<ParamGroup>(group)).count;
}

bool ReadSettingsFile(const std::string& path, int brandMode, ShellSettings& settings) {
    CStdioFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeText))
        return false;
    LineSource lines(file);

    std::optional<std::string> line = lines.Next();
    if (!line || *line != SettingsHeader(brandMode))
        return false;
    lines.Next(); // version stamp, any text
    if (!Contains(lines.Next(), "[System]"))
        return true;
    line = lines.Next();
    if (!Contains(line, "ComPort="))
        return true;
    const int port = ValueAfter(*line, 8);
    settings.ComPort = port >= 0 && port <= 7 ? port : 0;

    if (Contains(lines.Next(), "[Definite Parameter]"))
        ReadDefiniteList(lines, settings);
    if (Contains(lines.Next(), "[Display Setting]"))
        ReadDisplaySettings(lines, settings);
    ReadLineSettings(lines, settings);
    lines.Next(); // "SerialNum=": written for the record, never read back

    if (Contains(lines.Next(), "StatusbarSet=10")) {
        std::array<int, StatusbarSetStored> kinds{};
        for (int i = 0; i < StatusbarSetStored; ++i)
            kinds[static_cast<size_t>(i)] = settings.StatusbarSet[static_cast<size_t>(i)];
        ReadValues(lines, kinds, StatusbarSetStored);
        for (int i = 0; i < StatusbarSetStored; ++i)
            settings.StatusbarSet[static_cast<size_t>(i)] = BoundedPaneKind(kinds[static_cast<size_t>(i)]);
    }
    if (Contains(lines.Next(), "MonitorUnSet=20"))
        ReadValues(lines, settings.MonitorUnSet, MonitorUnSetSize);
    return true;
}

std::string SettingsText(const ShellSettings& s, int brandMode, int seriesCode) {
    std::string text;
    auto line = [&text](const std::string& item) { text += item + "\n"; };
    line(SettingsHeader(brandMode));
    line(kVersionLine);
    line("[System]");
    line(Format("ComPort=%d", s.ComPort));
    line("[Definite Parameter]");
    const int count = s.DefiniteListSize < 0                      ? 0
                      : s.DefiniteListSize > DefiniteListCapacity ? DefiniteListCapacity
                                                                  : s.DefiniteListSize;
    line(Format("%d", count));
    for (int i = 0; i < count; ++i) {
        line(Format("%d", s.DefiniteGroup[static_cast<size_t>(i)]));
        line(Format("%02d", s.DefiniteNumber[static_cast<size_t>(i)]));
    }
    line("[Display Setting]");
    for (int slot = 0; slot < DisplaySettingCount; ++slot)
        if (slot != DisplayMemoryOnlySlot)
            line(Format("%d", s.DisplaySettings[static_cast<size_t>(slot)]));
    line(Format("StationID=%d", s.StationNumber));
    line(Format("RS485Port=%d", s.ModbusMode));
    line(Format("BaudRateIndex=%d", s.BaudRateIndex));
    line(Format("RTUMode=%d", s.ModbusFormat));
    line(Format("SerialNum=%d", seriesCode));
    line("StatusbarSet=10");
    for (int i = 0; i < StatusbarSetStored; ++i)
        line(Format("%d", s.StatusbarSet[static_cast<size_t>(i)]));
    line("MonitorUnSet=20");
    for (int code : s.MonitorUnSet)
        line(Format("%d", code));
    return text;
}

bool WriteSettingsFile(const std::string& path, const ShellSettings& settings, int brandMode, int seriesCode,
                       std::string* error) {
    // A failed write must not cost the user the settings of the last run.
    try {
        CStdioFile file(path, CFile::modeReplace | CFile::modeWrite | CFile::typeText);
        file.WriteString(SettingsText(settings, brandMode, seriesCode));
        file.Close();
    } catch (const CFileException& e) {
        if (error)
            *error = e.what();
        return false;
    }
    return true;
}
