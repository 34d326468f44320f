#pragma once
// The fifteen channel colours: the colour combo offers them in this order, and the graph windows
// store a channel's colour as its index here.
#include "framework/core/Geometry.h"

#include <array>

inline constexpr int kChannelColourCount = 15;
// Red, green, yellow, blue, magenta, cyan, teal, purple, silver, light yellow, spring green, light
// cyan, light blue, rose, orange.
inline constexpr std::array<COLORREF, kChannelColourCount> kChannelColours = {
    RGB(255, 0, 0),   RGB(0, 255, 0),     RGB(255, 255, 0),   RGB(0, 0, 255),     RGB(255, 0, 255),
    RGB(0, 255, 255), RGB(0, 128, 128),   RGB(128, 0, 128),   RGB(192, 192, 192), RGB(255, 255, 128),
    RGB(0, 255, 128), RGB(128, 255, 255), RGB(128, 128, 255), RGB(255, 0, 128),   RGB(255, 128, 64)};

// The table entry that shows `colour`: its own index when the colour is one of the table's, so a
// colour list and a swatch of the same channel agree; else `kept` (a free colour picked in the colour
// dialog leaves the list where it was).
constexpr int ChannelColourIndexOf(COLORREF colour, int kept) {
    for (int i = 0; i < kChannelColourCount; ++i)
        if (kChannelColours[static_cast<std::size_t>(i)] == colour)
            return i;
    return kept;
}
