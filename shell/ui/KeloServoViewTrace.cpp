// The view's Wave Trace command and its hold on the trace window.
#include "shell/ui/KeloServoView.h"

#include "framework/ui/Wnd.h"
#include "link/LinkState.h"
#include "trace/ThreadStop.h"
#include "trace/ui/TraceGraphDlg.h"

CKeloServoDoc* CKeloServoView::TraceLink::Document() {
    return view_.GetDoc();
}

void CKeloServoView::TraceLink::OpenOnlineEditorFor(CWnd*) {
    // The button opens the view's one kept editor, as the menu command does (a second press brings
    // it to the front instead of opening another).
    view_.OnEditOnlineParameter();
}

void CKeloServoView::TraceLink::TraceWindowClosed(CTraceGraphDlg* window) {
    if (window != view_.TraceWindow)
        return;
    view_.TraceWindow = nullptr;
    view_.TraceWindowPresent = false;
    view_.TraceAcquiring = false;
    view_.ToolWindowOpenFlags[ToolTrace] = false;
}

void CKeloServoView::CloseTraceWindow() {
    if (TraceWindow != nullptr && IsWindow(TraceWindow->GetSafeHwnd()))
        TraceWindow->CloseWindow(); // stops the drive and the thread, then forgets itself here
    TraceWindow = nullptr;
    TraceWindowPresent = false;
    TraceAcquiring = false;
    ToolWindowOpenFlags[ToolTrace] = false;
    ReapEndedThreads();
}

void CKeloServoView::OnWaveTrace() {
    // Replacing a running window must not leave its thread reading freed members: close it
    // properly first.
    CloseTraceWindow();
    auto* window = new CTraceGraphDlg(traceLink_, this);
    if (!window->Create()) {
        if (!IsWindow(window->GetSafeHwnd()))
            delete window;
        return;
    }
    TraceWindow = window;
    TraceWindowPresent = true;
    ToolWindowOpenFlags[ToolTrace] = true;
}

void CKeloServoView::EnableTraceOnlineEdit() {
    if (TraceWindow != nullptr && IsWindow(TraceWindow->GetSafeHwnd()))
        TraceWindow->EnableOnlineEditButton(ConnectedFlag != 0);
}
