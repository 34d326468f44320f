#pragma once
// Mouse cursors: the standard shapes by their ids, and the current cursor. SetCursor shows the shape
// over the window under the mouse until a window sets another one, as WM_SETCURSOR handlers expect.
#include "framework/core/Types.h"

enum : int {
    IDC_ARROW = 32512,
    IDC_IBEAM = 32513,
    IDC_WAIT = 32514,
    IDC_CROSS = 32515,
    IDC_UPARROW = 32516,
    IDC_SIZENWSE = 32642,
    IDC_SIZENESW = 32643,
    IDC_SIZEWE = 32644,
    IDC_SIZENS = 32645,
    IDC_SIZEALL = 32646,
    IDC_NO = 32648,
    IDC_HAND = 32649,
    IDC_APPSTARTING = 32650,
};

struct CursorShape {
    int id;
};
using HCURSOR = const CursorShape*;

// The standard cursor with this id; nullptr for an unknown id. The instance argument is ignored
// (only standard cursors exist).
HCURSOR LoadCursor(const void* instance, int id);
HCURSOR LoadStandardCursor(int id);
// Returns the cursor it replaces (nullptr at first).
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
