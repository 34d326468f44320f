#pragma once
// Ids of the custom controls' resources.

// Seven-segment glyph strip of the digit displays: 19 cells of 27 x 43 pixels.
inline constexpr int IDB_DIGIT_STRIP = 133;
