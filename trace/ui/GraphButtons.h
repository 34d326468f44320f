#pragma once
// The picture buttons both graph windows (trace and box viewer) show: the tool row on the trace
// window's faces and the channels' step arrows.
#include "framework/ui/BitmapButton.h"

#include <span>

class CWnd;

// The tool row of a graph window. Each window hands its own controls to the buttons.
struct GraphToolRow {
    // Loads the faces: normal, pressed, focused, disabled.
    GraphToolRow();
    // START's face: STOP while a run goes on, else START. The focused face follows the run too: a
    // record that ends by itself leaves the focus on START.
    void ShowRunning(bool running);

    CBitmapButton start;
    CBitmapButton setting;
    CBitmapButton open;
    CBitmapButton save;
    CBitmapButton saveAs;
    CBitmapButton online;
};

// Puts the up arrow on the window's buttons upIds and the down arrow on downIds.
void ShowStepArrows(CWnd& window, std::span<const int> upIds, std::span<const int> downIds);
