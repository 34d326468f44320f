#include "shell/LifeGauge.h"

#include "framework/core/Format.h"

#include <cstdint>

namespace {
constexpr int kBarWidth = 60;
constexpr int kDepth = 6;
constexpr int kScaleHeight = 200;
constexpr int kValuePerPixel = LifeFullScale / kScaleHeight;
constexpr COLORREF kBlack = RGB(0, 0, 0);
} // namespace

LifeLevel LifeLevelOf(int value) {
    if (static_cast<std::uint32_t>(value) > static_cast<std::uint32_t>(LifeFullScale))
        return LifeLevel::NoData;
    if (value >= 3000)
        return LifeLevel::High;
    if (value >= 1000)
        return LifeLevel::Middle;
    return LifeLevel::Low;
}

LifeColours LifeColoursOf(LifeLevel level) {
    switch (level) {
    case LifeLevel::High:
        return {RGB(0, 0, 255), RGB(0, 0, 128), RGB(255, 255, 255)};
    case LifeLevel::Middle:
        return {RGB(255, 255, 0), RGB(128, 128, 0), kBlack};
    case LifeLevel::Low:
        return {RGB(255, 0, 0), RGB(128, 0, 0), RGB(160, 160, 160)};
    case LifeLevel::NoData:
        break;
    }
    return {RGB(192, 192, 192), RGB(128, 128, 128), kBlack};
}

std::string LifeValueText(int value) {
    if (LifeLevelOf(value) == LifeLevel::NoData)
        return "--";
    return Format("%d.%02d%%", value / 100, value % 100);
}

CPoint LifeGaugeOrigin(int gauge) {
    return {100 + 110 * gauge, 100};
}

LifeGaugeDrawing LifeGauge(CPoint origin, int value) {
    const int x = origin.x;
    const int y = origin.y;
    LifeGaugeDrawing d;
    d.level = LifeLevelOf(value);
    d.shownValue = d.level == LifeLevel::NoData ? LifeFullScale : value;
    d.height = d.shownValue / kValuePerPixel;
    d.colours = LifeColoursOf(d.level);
    const int h = d.height;
    const bool full = h == kScaleHeight;
    const int bottom = y + kScaleHeight;
    const int top = bottom - h;
    d.erase = CRect(x - 30, y - 35, x + 75, y + 215);
    d.bar = CRect(x, top, x + kBarWidth, bottom);

    auto line = [&d](int x1, int y1, int x2, int y2, GaugePen pen) {
        d.lines.push_back({CPoint(x1, y1), CPoint(x2, y2), pen});
    };
    // Top face of the bar: its edges in the level's colour, the inside white; the far edge is only
    // solid when the bar reaches the top of the tube, which otherwise shows through.
    for (int k = 0; k <= kDepth; ++k) {
        GaugePen pen = GaugePen::White;
        if (k == 0)
            pen = GaugePen::Solid;
        else if (k == kDepth)
            pen = full ? GaugePen::Solid : GaugePen::Dotted;
        line(x + k, top - k, x + kBarWidth + k, top - k, pen);
    }
    // Right face.
    for (int k = 0; k <= kDepth; ++k)
        line(x + kBarWidth + k, top - k, x + kBarWidth + k, bottom - k, GaugePen::Solid);
    // Edges.
    line(x, top, x + kDepth, top - kDepth, full ? GaugePen::Solid : GaugePen::Dotted);
    line(x + kBarWidth, top, x + kBarWidth + kDepth, top - kDepth, GaugePen::Solid);
    line(x + kBarWidth, bottom - kDepth, x + kBarWidth + kDepth, bottom - kDepth, GaugePen::Solid);
    // The full-scale tube above the bar; its hidden back edge dotted.
    line(x, y, x + kBarWidth, y, GaugePen::Solid);
    line(x + kDepth, y - kDepth, x + kBarWidth + kDepth, y - kDepth, GaugePen::Solid);
    line(x, y, x, bottom - h, GaugePen::Solid);
    line(x + kBarWidth, y, x + kBarWidth, bottom - h, GaugePen::Solid);
    line(x + kBarWidth + kDepth, y - kDepth, x + kBarWidth + kDepth, bottom - h - kDepth, GaugePen::Solid);
    line(x, y, x + kDepth, y - kDepth, GaugePen::Solid);
    line(x + kBarWidth, y, x + kBarWidth + kDepth, y - kDepth, GaugePen::Solid);
    line(x + kDepth, y - kDepth, x + kDepth, bottom - h - kDepth, GaugePen::Dotted);

    d.texts.push_back({"100", CPoint(x - 5, y), GaugeTextAlign::RightMiddle, kBlack});
    d.texts.push_back({"0", CPoint(x - 5, y + kScaleHeight), GaugeTextAlign::RightMiddle, kBlack});
    // A bar lower than a line of text cannot hold its value: centred on it, the bar's edges would
    // cross the text. It stands in the empty tube just above the bar's top face instead, in black,
    // as the light grey of a low level could hardly be read on the window's face.
    constexpr int kTextLine = 14;
    const bool above = h < kTextLine;
    d.texts.push_back({LifeValueText(value),
                       CPoint(x + kBarWidth / 2, above ? top - kDepth - kTextLine / 2 - 1 : bottom - h / 2),
                       GaugeTextAlign::CentreMiddle, above ? kBlack : d.colours.text});
    return d;
}
