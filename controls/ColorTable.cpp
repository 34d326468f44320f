#include "controls/ColorTable.h"

const std::array<COLORREF, kSwatchColourCount>& SwatchColours() {
    static const std::array<COLORREF, kSwatchColourCount> colours = {
        RGB(255, 0, 0),   RGB(0, 255, 0),     RGB(255, 255, 0),   RGB(0, 0, 255),     RGB(255, 0, 255),
        RGB(0, 255, 255), RGB(0, 128, 128),   RGB(128, 0, 128),   RGB(192, 192, 192), RGB(255, 255, 128),
        RGB(0, 255, 128), RGB(128, 255, 255), RGB(128, 128, 255), RGB(255, 0, 128),   RGB(255, 128, 64)};
    return colours;
}
