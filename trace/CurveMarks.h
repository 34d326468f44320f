#pragma once
// The points a drawn curve passes through, kept per channel while the cursor lines are shown, so a
// double click or an arrow key can put a cursor exactly on a sample.
#include <optional>
#include <utility>
#include <vector>

struct CurvePoint {
    int y = 0;     // pixels from the plot's top edge
    int x = 0;     // pixel of the sample before the scroll offset is subtracted
    int index = 0; // the sample's index in the display array
};

struct MarkHit {
    int x = 0; // pixels from the plot's left edge
    int y = 0;
    int index = 0;
};

// The first point at or beyond position (pixels before the scroll offset), as a position in the plot
// (leftEdgeOffset subtracted). A point beyond the plot width gives way to the one before it, or to
// the plot's right edge when there is none. Nothing for an empty list or nothing at or beyond.
std::optional<MarkHit> FindMarkFrom(const std::vector<CurvePoint>& list, int position, int leftEdgeOffset,
                                    int plotWidth);

// The channel whose band holds y: candidates are (y, channel), sorted by y (equal y keep their
// order) and split at the midpoints between neighbours; the last one takes everything beyond.
// Nothing without candidates.
std::optional<int> ChooseSnapChannel(std::vector<std::pair<int, int>> candidates, int y);
