#pragma once
// A picture of a window's client area as the window paints it (its WM_PAINT and its child controls),
// taken without a screen: what a window copies to the clipboard and what tests probe pixel by pixel.
#include "framework/ui/Gdi.h"

class CWnd;

// Renders width x height pixels of the client area from its top-left corner into `bitmap` (created
// anew); what lies beyond the window stays black. False when the window has no widget or a size is
// not positive.
bool RenderClientArea(CWnd* window, CBitmap& bitmap, int width, int height);
