// The box viewer with a recording: opened as the user opens one (Open and the file dialog), painted
// offscreen, then the user's steps the input names (cursors, arrow keys, zoom in and out, the time bar,
// time base, scales and offsets, drags and double clicks, resizing), painted again. A file the reader
// refuses leaves the viewer as it was; nothing the viewer does with one it takes may overflow, read out
// of bounds or walk a line for ever (the sanitizers and the fuzzer's time-out judge).
//
// Input: the steps first (tests/fuzz/GraphWindowSteps.h), then the .trd file.
#include "trace/AcquisitionStore.h"

#include "box/ui/BOXDlg.h"
#include "box/ui/BoxViewLink.h"
#include "framework/core/Sync.h"
#include "link/services/RegisterServices.h"
#include "tests/fuzz/GraphWindowSteps.h"

namespace {

struct StandInView : IBoxViewLink {
    CRegisterServices& Services() override { return services; }
    CKeloServoDoc* Document() override { return document; }
    CSyncObject& LinkMutex() override { return mutex; }
    BoxKeptSettings& KeptSettings() override { return kept; }
    bool SettingsKept() const override { return false; }
    void SetSettingsKept() override {}
    void SetAlternateTraceRead(int) override {}
    void SetBoxCapture(int) override {}
    int StatusValueD4() override { return 55; }
    void OpenOnlineEditor(CWnd*) override {}
    void BoxWindowClosed(CBOXDlg*) override {}

    CRegisterServices services;
    CMutex mutex;
    CKeloServoDoc* document = nullptr;
    BoxKeptSettings kept;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static StandInView view;
    RunInNewGraphWindow(
        data, size, TraceFileForm::Box,
        [](CKeloServoDoc& document) -> CWnd* {
            // As the view opens one.
            view.document = &document;
            RecordPointCount = 5120;
            TraceMode = -1;
            auto* viewer = new CBOXDlg(view, nullptr);
            if (!viewer->Create()) {
                delete viewer;
                return nullptr;
            }
            return viewer;
        },
        [](CWnd& viewer) { static_cast<CBOXDlg&>(viewer).CloseViewer(); });
    return 0;
}
