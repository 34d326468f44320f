// The trace window with a recording: opened as the user opens one (Open and the file dialog), painted
// offscreen, then the user's steps the input names (cursors, arrow keys, zoom in and out, the time bar,
// time base, scales and offsets, drags and double clicks, resizing), painted again. A file the reader
// refuses leaves the window as it was; nothing the window does with one it takes may overflow, read out
// of bounds or walk a line for ever (the sanitizers and the fuzzer's time-out judge).
//
// Input: the steps first (tests/fuzz/GraphWindowSteps.h), then the .trd file.
#include "trace/AcquisitionStore.h"

#include "bench/trace/TraceBenchView.h"
#include "tests/fuzz/GraphWindowSteps.h"
#include "trace/ui/TraceGraphDlg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TraceBenchView view;
    RunInNewGraphWindow(
        data, size, TraceFileForm::Trace,
        [](CKeloServoDoc& document) -> CWnd* {
            // At the size the plot is drawn at first.
            view.document = &document;
            PlotZoom = 1.0f;
            TraceMode = -1;
            auto* window = new CTraceGraphDlg(view, nullptr);
            if (!window->Create()) {
                delete window;
                return nullptr;
            }
            window->MoveWindow(0, 0, 1000, 650);
            return window;
        },
        [](CWnd& window) { static_cast<CTraceGraphDlg&>(window).CloseWindow(); });
    return 0;
}
