#pragma once
// What the catalogue's answers depend on besides the code: the drive series and motor, the words
// read from the drive at connect and by the status poll, and the Project Mode flag. Callers fill it
// from the program's globals and the active document; the catalogue itself keeps no state.

struct CatalogueContext {
    int seriesCode = 0;             // drive series, 3..9 for real series
    int modelCode = 0;              // motor code; its family nibble decides rotary or linear units
    bool connected = false;         // a drive link is open
    int driveControlMode = 0;       // register 0x1702 at connect
    int driveIdWord = 0;            // register 0x171E at connect (0 when that read failed)
    int driveSoftwareVersion = 246; // dn-04 at connect
    int extendedVersion = 2460;     // onU48 at connect
    int featureStatusWord = 0;      // register 0x170A as the status poll last read it
    int brandMode = 0;              // 0 normal, 3 OEM brand
    bool debugMode = false;         // Project Mode access granted
};
