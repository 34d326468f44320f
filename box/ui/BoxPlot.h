#pragma once
// The box viewer's plot: the whole picture drawn into a back buffer of (P + 200) x (P + 100)
// pixels, P being ten divisions at the window's plot scale. Only the paint handler calls it.
#include "box/BoxViewModel.h"

#include "framework/core/Geometry.h"

#include <array>
#include <string>

class CDC;

struct BoxPlotLook {
    std::array<COLORREF, 4> channelColors{};
    std::array<COLORREF, 4> cursorColors{}; // time A, time B, value A, value B
    std::array<std::string, 4> legends;
    std::array<std::string, 4> scaleTexts; // the scale lists' current texts (label divisors)
    int traceMode = 0;
    int statusValueD4 = 55;
    std::string captureTime;
    int fontHeight = 11; // pixels of the dialog font
    bool zoomDragActive = false;
    CPoint zoomStart, zoomEnd; // in back-buffer pixels
};

// A value-axis label: the value divided by its scale text's divisor, with "k" or "M".
std::string BoxAxisLabelText(int value, const std::string& scaleText);
// A time label: /100 in Single and Cycle mode, else /10 with dn-04 above 54, else as it is.
std::string BoxTimeLabelText(float time, int traceMode, int statusValueD4);

// The size of the back buffer at the model's plot scale.
CSize BoxPlotBufferSize(const CBoxViewModel& model);
// Draws the frame and grid, and with RecordShown the curves, axes, labels, legends and cursors.
// Refills model.PlotPoints while the cursors are shown.
void DrawBoxPlot(CDC& dc, CBoxViewModel& model, const BoxPlotLook& look);
