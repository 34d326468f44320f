#pragma once
// The rows of the two live filter windows (online notch and online low-frequency suppression): per
// parameter its controls, how far a typed value may go, the range a write demands and whether an
// empty entry is written as 0. The orders in which the windows read, validate and write them.
#include <array>
#include <optional>
#include <string>
#include <vector>

struct FilterRow {
    const char* code;
    int current;   // static with the drive's value
    int set;       // edit of the value to write
    int write;     // the row's Write button
    int typingMax; // a typed value above (or below 0) is undone at once
    int limit;     // characters
    int minimum;   // the range a write demands; none when minimum > maximum
    int maximum;
    bool zeroRule; // an empty entry is written as 0 and shows "0"
    int original;  // static of the value read at opening, 0 for none
    bool Ranged() const { return minimum <= maximum; }
    bool InRange(int value) const { return !Ranged() || (value >= minimum && value <= maximum); }
    bool TypingAllowed(int value) const { return value >= 0 && value <= typingMax; }
};

struct FilterTable {
    std::vector<FilterRow> rows;    // in the order the window reads them
    std::vector<int> writeOrder;    // row indexes, Write (all)
    std::vector<int> validateOrder; // ranged rows, the first failure is reported
    int detectionRow = 0;           // the switch whose write of 1 or more shows the "Original" column
};

const FilterTable& NotchTable();
const FilterTable& LowFrequencyTable();

// The range message of a row: the code, a blank, "Over Range!!\n\n" and "\n".
std::string FilterRangeMessage(const FilterRow& row, const std::string& overRange);
// The first row of the validate order whose value is out of its range, or nothing.
std::optional<int> FirstOutOfRange(const FilterTable& table, const std::vector<int>& values);
