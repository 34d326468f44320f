#pragma once
// The texts a painter drew, each with the rectangle it covers, so that a window can be checked for
// labels that run into each other or out of the window. A painter's device context lists them
// (CDC::RecordLabels); the check itself is plain geometry.
#include "framework/core/Geometry.h"

#include <string>
#include <vector>

struct PaintedLabel {
    std::string text;
    CRect rect;         // device pixels of what was drawn into; right and bottom outside
    COLORREF colour{0}; // of the text, which tells whose label it is where texts repeat
    // The rectangle the painter cut the text to (a DrawText rectangle), empty when it cut nothing.
    CRect clip{};
};
using PaintedLabels = std::vector<PaintedLabel>;

// What is wrong with labels drawn into a client area, one line each: every pair that overlaps, every
// label not wholly inside `client` or not wholly inside the rectangle it was cut to (a rectangle lower
// than the font's line cuts its text), and every label under one of the `covered` rectangles (the
// child controls drawn over the painting). Empty when they all fit.
std::vector<std::string> LabelLayoutFaults(const PaintedLabels& labels, const CRect& client,
                                           const std::vector<CRect>& covered = {});
