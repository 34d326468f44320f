#pragma once
// The arithmetic of scrolling a dialog's contents: the step of a scroll request and how a new page
// size changes the position and the bar.

// One axis: the visible part, the full contents and how far they are scrolled (pixels).
struct ScrollAxis {
    int page = 0;
    int display = 0;
    int position = 0;
};

inline constexpr int kScrollLineStep = 60;

// The step a scroll code asks for, already clamped to 0 .. display - page. Codes above 5 (and an axis
// without a bar, page 0) give 0. trackPosition is the bar's track position for the thumb codes.
int ScrollStep(unsigned code, const ScrollAxis& axis, int trackPosition);

// The axis after the page became newPage, with the bar showing barPosition.
struct ScrollAxisUpdate {
    ScrollAxis axis;
    int move = 0;     // how far the contents must move back (bar position - new position)
    int rangeMax = 0; // the bar's range is 0 .. rangeMax (0: no bar)
};
ScrollAxisUpdate UpdateScrollAxis(const ScrollAxis& old, int newPage, int barPosition);
