#pragma once
// How both graph windows (trace and box viewer) put their plot on the screen.
#include "framework/core/PaintedLabels.h"

#include <functional>

class CDC;
struct CRect;

// Draws the plot into buffer, keeping the labels it drew, then copies the buffer to where on the
// window's dc; the labels are then in the window's client coordinates, where the user sees them.
void ShowBufferedPlot(CDC& dc, CDC& buffer, const CRect& where, PaintedLabels& labels,
                      const std::function<void(CDC&)>& draw);
