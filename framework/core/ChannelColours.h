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
