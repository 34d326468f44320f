#pragma once
// The diagnostics window's terminal rows: the label of each input S1..S12 and output R1..R8 (the
// function its DI/DO assignment parameter selects) and the ON/OFF text and colours of each state.
// Pure; the window puts the results into its statics.
#include "framework/core/Geometry.h"

#include <array>
#include <functional>
#include <string>

class CKeloServoDoc;

constexpr int DiagInputCount = 12;
constexpr int DiagOutputCount = 8;
// The window keeps 21 states: 0..11 inputs S1..S12, 12 unused, 13..20 outputs R1..R8.
constexpr int DiagStateCount = 21;
constexpr int DiagFirstOutputState = 13;

constexpr COLORREF DiagItemColour = RGB(0, 0, 255);
constexpr COLORREF DiagOnBrush = RGB(250, 0, 0);
constexpr COLORREF DiagOffBrush = RGB(0, 0, 0);

// Hn number of the assignment parameter of input i (0..11): Hn601..Hn612.
int InputAssignmentNumber(int input);
// Hn number of the assignment parameter of output j (0..7): Hn613..Hn616, then Hn619..Hn622
// (Hn617 and Hn618 assign no terminal shown here).
int OutputAssignmentNumber(int output);

// "S3: " / "R5: " followed by the function's name of the assignment setting.
std::string InputTerminalLabel(int input, int setting);
std::string OutputTerminalLabel(int output, int setting);

struct DiagnosticsTerminalLabels {
    std::array<std::string, DiagInputCount> inputs;   // labels 1040..1051
    std::array<std::string, DiagOutputCount> outputs; // labels 1053..1060
};
// Labels from the Hn values; hnValue(n) gives the value of Hn6nn.
DiagnosticsTerminalLabels TerminalLabels(const std::function<int(int hnNumber)>& hnValue);
DiagnosticsTerminalLabels TerminalLabels(const CKeloServoDoc& doc);

struct TerminalStateLook {
    std::string text; // "ON" / "OFF"
    COLORREF textColour;
    COLORREF background;
    bool operator==(const TerminalStateLook&) const = default;
};
// Non-zero: "ON", black on red; zero: "OFF", white on black.
TerminalStateLook TerminalState(int state);

struct DiagnosticsStateRows {
    std::array<TerminalStateLook, DiagInputCount> inputs;   // statics 1019..1030
    std::array<TerminalStateLook, DiagOutputCount> outputs; // statics 1032..1039
};
DiagnosticsStateRows TerminalStates(const std::array<int, DiagStateCount>& states);
