#pragma once
// The settings file: what the program keeps from one run to the next (last port entry, the
// editor's own parameter list and display settings, Modbus line settings, status-bar panes and the
// monitor list). Read once at start-up, written once when the main frame closes, both in one fixed
// line order. Pure file logic; the application object owns one ShellSettings.
#include <array>
#include <string>

constexpr int DefiniteListCapacity = 500;
constexpr int DisplaySettingCount = 19;
// DisplaySettings[DisplayMemoryOnlySlot] is kept in memory and never written to the file.
constexpr int DisplayMemoryOnlySlot = 12;
constexpr int DisplayPackedSlot = 13;
constexpr int StatusbarSetSize = 11; // entry 10 exists in memory only
constexpr int StatusbarSetStored = 10;
constexpr int MonitorUnSetSize = 20;
// Kinds a status-bar pane may show are 0..10; anything else read from the file becomes this value,
// which the frame treats as "leave the pane alone".
constexpr int StatusPaneKindNone = 11;

struct ShellSettings {
    ShellSettings();

    int ComPort = 0;
    int DefiniteListSize = 0;
    std::array<int, DefiniteListCapacity> DefiniteGroup{};
    std::array<int, DefiniteListCapacity> DefiniteNumber{};
    // Mode value; eleven values; the memory-only value; the packed value; five values.
    std::array<int, DisplaySettingCount> DisplaySettings{};
    int StationNumber = 1;
    int ModbusMode = 0;
    int BaudRateIndex = 1;
    int ModbusFormat = 0;
    int ModbusAsciiFlag = 1; // derived from ModbusFormat, not stored
    std::array<int, StatusbarSetSize> StatusbarSet{};
    std::array<int, MonitorUnSetSize> MonitorUnSet{};
};

// "[Kelo Servo]", or "[Ombrix]" for the OEM brand.
std::string SettingsHeader(int brandMode);
// Where the settings file of the brand lives ("KeloServo.ini" / "Ombrix.ini" in the program folder).
std::string SettingsFilePath(int brandMode);

// Whether a defined-list entry names a parameter that the list can hold: a known group id (1 Cn,
// 2 Tn, 3 Sn, 4 Pn3, 5 qn, 6 Hn, 8 Pn4, 9 En, 10 tn, 11 EC, 12 MAb) and a number index (number - 1)
// inside that group.
bool IsValidDefiniteEntry(int groupId, int numberIndex);

// Reads the file into settings. Settings whose lines are missing, cut off or behind a wrong header
// keep the values they had. Returns false when the file could not be opened or its header does not
// match the brand (nothing is changed then).
bool ReadSettingsFile(const std::string& path, int brandMode, ShellSettings& settings);

// The file's text as the writer stores it ("\n" line ends; the file gets CR LF as a text file).
std::string SettingsText(const ShellSettings& settings, int brandMode, int seriesCode);

// Writes the file (the series code goes to "SerialNum="). The old file is replaced only once the new
// one is complete. Returns false with a message for the user in *error when it cannot be written.
bool WriteSettingsFile(const std::string& path, const ShellSettings& settings, int brandMode, int seriesCode,
                       std::string* error = nullptr);
