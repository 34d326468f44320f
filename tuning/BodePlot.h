#pragma once
// Where the Bode plot of the analysis puts things: pixel rows of gains and phases for the scale and
// offset the user chose, the axis labels, the grid, the low-frequency lead-in of the gain curve and
// the bin a cursor reads. Pictures are 500 x 200 pixels with (0, 0) at the top left.
#include "tuning/FrequencyResponse.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

constexpr int BodePlotWidth = 500;
constexpr int BodePlotHeight = 200;

// Frequencies of the vertical grid lines.
extern const std::array<double, 24> BodeGridFrequencies;
// Frequencies labelled under each plot.
extern const std::array<double, 5> BodeLabelFrequencies;

// Column of a frequency: trunc(position x 500 + 0.5).
int BodeColumn(double frequency, float ts);
// Row of a gain (dB) with the gain scale N (dB per division) and the offset S (divisions); rows far
// outside the picture are clamped long before they could leave int.
int GainRow(double gain, int offset, int scale);
// Row of a phase (degrees) with the phase scale O and the offset T.
int PhaseRow(double phase, int offset, int scale);

struct AxisLabel {
    std::string text;
    int y; // relative to the plot's top
};
// "%d" of d x N for d = S - 4 .. S + 2 at 16 + ... : top label first.
std::vector<AxisLabel> GainLabels(int offset, int scale);
std::vector<AxisLabel> PhaseLabels(int offset, int scale);

// The low-frequency lead-in: up to 10 (frequency, gain) points of the first bins up to 5000 Hz
// whose gain lies strictly between -1000 and 1000 dB, and the gain `a` at 0 Hz of the straight line
// fitted through them (the mean when the fit is degenerate), clamped to [-1000, 1000].
struct LeadIn {
    std::vector<std::pair<double, double>> points;
    double startGain = 0;
};
LeadIn FitLeadIn(const FrequencyResponseResult& response, float ts);

// The bin (1..1024) a cursor at this frequency reads: trunc(Ts x f x 1024 + 0.5) + 1, kept within
// the bins.
int CursorBin(double frequency, float ts);

// What a cursor at a picture column reads: the bin under it, and that one bin's frequency, gain and
// phase (no gain or phase where the bin has none), so the three readouts always describe the same
// point of the curve.
struct CursorReading {
    int bin = 1;
    double frequency = 0;
    std::optional<double> gain;
    std::optional<double> phase;
};
CursorReading ReadCursor(const FrequencyResponseResult& response, int column, float ts);

// Left edges of labels along a row (the frequency labels under a plot): each wants to start at its
// own `wanted` edge, but not left of `leftLimit`; one that would run into the label before it moves
// right to `gap` pixels past it, and labels that then end beyond `rightLimit` move back left,
// pushing their neighbours. `wanted` and `widths` are in the labels' order from left to right.
std::vector<int> SpreadLabels(const std::vector<int>& wanted, const std::vector<int>& widths, int gap,
                              int leftLimit, int rightLimit);
