#pragma once
// The channel colours offered by the colour combo and the swatch geometry shared by the colour controls.
#include "framework/core/ChannelColours.h"
#include "framework/core/Geometry.h"

#include <array>

inline constexpr int kSwatchColourCount = kChannelColourCount;
inline const std::array<COLORREF, kSwatchColourCount>& SwatchColours() {
    return kChannelColours;
}

// The filled part of a swatch inside its frame.
inline CRect SwatchInner(const CRect& item) {
    CRect r = item;
    r.DeflateRect(2, 2);
    return r;
}
