#pragma once
// The drive model table: the 20 capacity classes a drive family offers, with the texts the drive
// page shows for them. Pure: the item and detail texts take their fixed words from the string
// table of the resource library (strings 8..27 hold the capacity codes, 1050..1057 the labels).
#include <string>

struct DriveModelRow {
    const char* capacityCode; // "D01" .. "D20", also string CapacityStringId(row)
    const char* outputPower;  // "100W", "1.0kW", ...
    int phasesStringId;       // 1053 single or three phase, 1055 three phase
    int supplyStringId;       // 1056 AC 200~230V, 1057 AC 380~480V
};

inline constexpr int DriveModelCount = 20;
inline constexpr int DriveCapacityFirstStringId = 8;

// The row, or nullptr outside 0..19 (a motor code can name a group past the table).
const DriveModelRow* DriveModelTable(int row);
// String id of a row's capacity code (8 + row); the accessories selection lists them too.
inline int DriveCapacityStringId(int row) {
    return DriveCapacityFirstStringId + row;
}

// Combo item of a row: family prefix + " - " + capacity code + family suffix. Empty outside the table.
std::string DriveModelItemText(int familyCode, int row);
// The three-line summary under the combo: model, output power, input voltage. Empty outside the table.
std::string DriveModelDetailsText(int familyCode, int row);
