#pragma once
// The life prediction window's bar gauges as data: from a remaining-life value (0.01 %) the level,
// the colours and every rectangle, line and text of one bar, in client coordinates. The window only
// draws what this returns.
#include "framework/core/Geometry.h"

#include <string>
#include <vector>

constexpr int LifeGaugeCount = 4;
constexpr int LifeFullScale = 10000; // 100.00 %
constexpr int LifeNoData = -1;       // what a new window holds

enum class LifeLevel { High, Middle, Low, NoData };

// NoData when the value, read as unsigned, is above 10000 (so every negative value too); else
// High from 3000, Middle from 1000, Low below.
LifeLevel LifeLevelOf(int value);

struct LifeColours {
    COLORREF fill;
    COLORREF frame; // also the colour of the bar's depth and tube lines
    COLORREF text;
    bool operator==(const LifeColours&) const = default;
};
LifeColours LifeColoursOf(LifeLevel level);

// "85.50%"; "--" without data.
std::string LifeValueText(int value);

enum class GaugePen {
    Solid,  // 1 pixel, the level's frame colour
    Dotted, // 1 pixel dotted, the level's frame colour
    White,  // 1 pixel, white
};

struct GaugeLine {
    CPoint from;
    CPoint to; // left out, as a line is drawn
    GaugePen pen;
    bool operator==(const GaugeLine&) const = default;
};

enum class GaugeTextAlign {
    RightMiddle,  // right edge at the anchor's x, centred vertically on its y
    CentreMiddle, // centred on the anchor both ways
};

struct GaugeText {
    std::string text;
    CPoint anchor;
    GaugeTextAlign align;
    COLORREF colour;
    bool operator==(const GaugeText&) const = default;
};

struct LifeGaugeDrawing {
    LifeLevel level;
    int shownValue; // the value the geometry uses: 10000 without data
    int height;     // bar height in pixels, 0..200
    LifeColours colours;
    CRect erase; // filled with the button-face colour first
    CRect bar;   // filled with colours.fill and framed with colours.frame
    std::vector<GaugeLine> lines;
    std::vector<GaugeText> texts;
};

// Where bar i (0..3) stands: its left edge and the top of its scale.
CPoint LifeGaugeOrigin(int gauge);

// One bar with its left edge at origin.x, the scale from origin.y (100 %) to origin.y + 200 (0 %).
LifeGaugeDrawing LifeGauge(CPoint origin, int value);
