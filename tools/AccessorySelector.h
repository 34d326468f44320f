#pragma once
// Which accessories go with a motor and its encoder: the motor's type code falls into one of six
// groups, the group and the encoder's class choose a part for each row of the accessory list.
#include <array>
#include <string>
#include <vector>

inline constexpr int AccessoryRowCount = 20;
// Selector of row k (1..20) at index k; 0 leaves the row out.
using AccessorySelectors = std::array<int, AccessoryRowCount + 1>;

// Group 0..5 (A..F) of a motor type code (its low four bits are ignored); -1 outside the groups.
int AccessoryGroupOf(unsigned typeCode);
AccessorySelectors SelectAccessories(unsigned typeCode, int encoderCode);

struct AccessoryListRow {
    int row = 0; // 1..20
    std::string name;
    std::string partNumber;
    std::string lengths;
};
// The list rows in order: a row with selector 0 is left out, except row 1, which is always there
// (with an empty part number when nothing fits). Names come from the string table (1202 + row).
std::vector<AccessoryListRow> AccessoryList(const AccessorySelectors& selectors);

inline constexpr int AccessoryNameFirstStringId = 1203;
