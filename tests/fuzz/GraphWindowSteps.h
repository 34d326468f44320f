#pragma once
// What the two graph-window targets share: the input split into the user's steps and a recording, the
// world a graph window opens in (Qt, the resource library, a new document, every message box and
// file dialog answered at once), and the user's steps themselves. The trace window and the box
// viewer give their controls the same numbers, so one list of steps drives both.
#include "framework/ui/Wnd.h"
#include "tests/fuzz/FuzzSupport.h"
#include "trace/TraceDataFile.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CKeloServoDoc;

// One thing the user does: what (any byte; taken modulo the number of actions) and where or how much.
struct GraphStep {
    std::uint8_t action = 0;
    std::uint8_t a = 0;
    std::uint8_t b = 0;
};

struct GraphWindowInput {
    std::vector<GraphStep> steps;
    std::string recording; // the bytes of the .trd file the window opens
};
// The first byte says how many steps follow (at most 24), three bytes each; the rest is the file.
GraphWindowInput SplitGraphWindowInput(const std::uint8_t* data, std::size_t size);

// Runs the window's own paint handler into an image (the window alone: its controls paint
// themselves), as a repaint of the screen would.
void PaintOffscreen(CWnd& window);

// In a window made by open (a new one for each input, so no input depends on the one before):
// opens the recording with "Open" (the window must take it exactly when its reader of form does),
// paints, runs the steps (painting where a step says so), paints, and closes the window with close.
void RunInNewGraphWindow(const std::uint8_t* data, std::size_t size, TraceFileForm form,
                         const std::function<CWnd*(CKeloServoDoc&)>& open,
                         const std::function<void(CWnd&)>& close);
