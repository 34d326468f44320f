#include "shell/ui/ConnectRules.h"

#include "framework/core/PortEnumeration.h"
#include "resources/ids/mainframe.h"

LineFormat LineFormatOf(bool modbus, int modbusFormat) {
    if (!modbus)
        return {};
    if (modbusFormat < 0 || modbusFormat >= ModbusFormatCount)
        modbusFormat = 0;
    // Parity by the format's place in its triple: none (two stop bits), even, odd.
    static constexpr int parities[3] = {0, 2, 1};
    LineFormat f;
    f.dataBits = modbusFormat < 3 ? 7 : 8;
    f.parity = parities[modbusFormat % 3];
    f.stopBits = modbusFormat % 3 == 0 ? 2 : 0;
    f.ascii = modbusFormat <= 5;
    return f;
}

int SeriesFromModelWord(int modelWord, int currentSeries) {
    switch (modelWord) {
    case 0x0202:
        return 4;
    case 0x0204:
        return 5;
    case 0x0302:
        return 8;
    case 0x0303:
        return 7;
    case 0x0400:
        return 6;
    case 0x0502:
        return 9;
    case 0:
        return 0;
    default:
        return currentSeries;
    }
}

std::string PortDeviceOfEntry(const std::string& entry) {
    const std::string name = PortNameFromEntry(entry);
    if (name.empty() || name.front() == '/')
        return name;
    return PortDevicePath(name);
}

int TitleStringId(int seriesCode) {
    switch (seriesCode) {
    case 2:
    case 3:
        return IDS_TITLE_ZR3;
    case 4:
        return IDS_TITLE_ZR3E;
    case 6:
        return IDS_TITLE_UK3;
    case 7:
        return IDS_TITLE_YM3;
    case 8:
        return IDS_TITLE_YM3E;
    case 9:
        return IDS_TITLE_YM2NE;
    default:
        return IDS_TITLE_ZR3EL;
    }
}

int AboutStringId(int seriesCode) {
    return seriesCode == 4 ? IDS_TITLE_ZR3EL : TitleStringId(seriesCode);
}

std::string FileNameOfPath(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(slash + 1);
}
