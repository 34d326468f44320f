#pragma once
// Program-wide words of the application shell. The link's Modbus words (ModbusMode, ModbusAsciiFlag,
// StationNumber) live in link/LinkState.h and the document's (SeriesCode, ModelCode, ...) in
// catalogue/DocumentGlobals.h.

// Brand chosen once at start-up from the product name of the resource library: 0 normal, 3 the OEM
// brand. It picks the settings file, its header and the Project Mode access code.
extern int BrandMode;
constexpr int BrandNormal = 0;
constexpr int BrandOem = 3;

// Set while Project Mode is on (its access code was accepted).
extern int DebugModeFlag;
