#pragma once
// The DI/DO assignment grid: each of the 12 inputs and 8 outputs has one function and a contact type
// (B normally closed, A normally open). A cell click puts the pin on the cell's function (state
// none) and then advances B, A, B, ...; the check finds pins of one group with the same function and
// different contact types; the commit turns the pins back into the 24 Hn601..Hn624 words. A drive
// value whose function has no row in the grid is shown in no cell and written back as it was read.
#include <array>
#include <optional>
#include <string>
#include <vector>

inline constexpr int DioRows = 46;      // function rows 0x00..0x2D
inline constexpr int DioInputPins = 12; // DI-1..DI-12 (a 13th column exists and stays hidden)
inline constexpr int DioInputColumns = 13;
inline constexpr int DioOutputPins = 8;        // DO-1..DO-8
inline constexpr int DioOutputRowsUsed = 34;   // output functions 0..33
inline constexpr int DioFirstInputCell = 1168; // 1168 + pin x 46 + function
inline constexpr int DioFirstOutputCell = 1766;
inline constexpr int DioLastCell = 2133; // 1766 + 8 x 46 - 1
inline constexpr int DioValueCount = 24;

enum DioState : int { DioNone = 0, DioContactB = 1, DioContactA = 2 };

struct DioCell {
    bool output = false;
    int pin = 0;
    int function = 0;
    bool operator==(const DioCell&) const = default;
};

// The cell of a command id, nothing outside 1168..2133.
std::optional<DioCell> CellOfId(int id);
int IdOfCell(const DioCell& cell);
// The slot (0..23) of a pin's word: DI-n at n-1, DO-1..4 at 12..15, DO-5..8 at 18..21.
int SlotOfPin(bool output, int pin);

struct DioPin {
    int function = 0;
    int state = DioNone;
    // The function has a row in the grid; otherwise the pin shows in no cell and keeps its word.
    bool shown = true;
    int read = 0; // the word as read
    bool changed = false;
};

class DioGrid {
public:
    explicit DioGrid(const std::array<int, DioValueCount>& values);

    const DioPin& Pin(bool output, int pin) const;
    // The state a cell shows (DioNone for every cell but the pin's own).
    int CellState(const DioCell& cell) const;
    // A click on a cell; false for a cell that is no pin's (the hidden 13th input, unused rows).
    bool Toggle(const DioCell& cell);

    // Pins of a group that share a function with another pin of another contact type.
    std::vector<int> Conflicts(bool outputs) const;
    // Their parameter codes, each followed by a blank ("Hn601 Hn602 ").
    std::string ConflictList(bool outputs) const;
    // The 24 words: the pins' words in their slots, Hn617, Hn618, Hn623, Hn624 as read.
    std::array<int, DioValueCount> Values() const;

private:
    std::array<int, DioValueCount> values_{};
    std::array<DioPin, DioInputPins> inputs_{};
    std::array<DioPin, DioOutputPins> outputs_{};
};

// The texts of the conflict box.
inline constexpr const char* DioInputConflictNote =
    "[Note: The pin function can be repeated, but the action potential must be the same. ]";
inline constexpr const char* DioOutputConflictNote = "[Note: The pin function cannot be repeated. ]";
inline constexpr const char* DioInputConflictCaption = "Input Contact Signal Setting";
inline constexpr const char* DioOutputConflictCaption = "Output Contact Signal Setting";

// Scrolling of the grid window on one axis: range = content - window - origin; a line is range / 20
// and a page range / 10, each at least 5 when below 6; the thumb codes go to the track position. The
// new position, always within 0..range. Codes: 0 line up, 1 line down, 2 page up, 3 page down,
// 4 and 5 thumb; anything else stays.
int DioScrollRange(int content, int window, int origin);
int DioScrollPosition(unsigned code, int range, int position, int track);
// The mouse wheel: one line up for a positive delta, down for a negative one.
int DioWheelPosition(int delta, int range, int position);
