#include "controls/ScrollMath.h"

#include <algorithm>
#include <cstdint>

int ScrollStep(unsigned code, const ScrollAxis& axis, int trackPosition) {
    // Without a bar the contents fit: nothing to scroll, whatever message arrives.
    if (code > 5 || axis.page <= 0)
        return 0;
    int step = 0;
    switch (code) {
    case 0:
        step = -kScrollLineStep;
        break;
    case 1:
        step = kScrollLineStep;
        break;
    case 2:
        step = -axis.page;
        break;
    case 3:
        step = axis.page;
        break;
    default:
        step = trackPosition - axis.position;
        break;
    }
    const int maximum = axis.display - axis.page;
    if (axis.position + step > maximum)
        step = maximum - axis.position;
    if (axis.position + step < 0)
        step = -axis.position;
    return step;
}

ScrollAxisUpdate UpdateScrollAxis(const ScrollAxis& old, int newPage, int barPosition) {
    ScrollAxisUpdate u;
    u.axis.display = old.display;
    if (newPage < old.display) {
        int position = old.position;
        if (old.page > 0 && old.position > 0)
            position = static_cast<int>(static_cast<std::int64_t>(old.position) * newPage / old.page);
        u.axis.page = newPage;
        position = std::min(position, old.display - newPage - 1);
        u.axis.position = std::max(position, 0);
        u.move = barPosition - u.axis.position;
        u.rangeMax = old.display - 1;
    } else {
        u.axis.page = 0;
        u.axis.position = 0;
        u.move = barPosition;
        u.rangeMax = 0;
    }
    return u;
}
