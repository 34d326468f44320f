#pragma once
// The fixed rules of the drive connection and of the window title, as pure functions: the line
// format of a Modbus character format, the series a drive's model word names, the device of a
// port entry, and the title and About strings of a series.
#include <string>

struct LineFormat {
    int dataBits = 8;
    int parity = 0;   // as the port library takes it: 0 none, 1 odd, 2 even
    int stopBits = 0; // 0 one, 2 two
    bool ascii = false;
};

constexpr int ModbusFormatCount = 9;
// The frame of the line: 8N1 without Modbus, else the Modbus character format (0..5 ASCII, 6..8
// RTU). A format outside 0..8 is taken as 0.
LineFormat LineFormatOf(bool modbus, int modbusFormat);

// The series the drive's model word (register 0x171D) names; an unknown non-zero word keeps the
// current series, 0 gives 0.
int SeriesFromModelWord(int modelWord, int currentSeries);

// The device to open for a port entry ("ttyUSB0 : USB Serial", "ttyUSB0" or a device path).
std::string PortDeviceOfEntry(const std::string& entry);

// String id of the main window's title for a series, and of the About box's version line (where
// series 4 shares the text of the other series).
int TitleStringId(int seriesCode);
int AboutStringId(int seriesCode);

// The part of a path after its last '/', empty when there is none.
std::string FileNameOfPath(const std::string& path);
