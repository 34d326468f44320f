#pragma once
// The view a trace window benchmark opens the window on: the register services, the lock the
// sampling thread hands over under, the trace set-up and the document; the rest does nothing.
#include "catalogue/KeloServoDoc.h"
#include "framework/core/Sync.h"
#include "link/services/RegisterServices.h"
#include "trace/ui/TraceViewLink.h"

struct TraceBenchView : ITraceViewLink {
    CRegisterServices& Services() override { return services; }
    CSyncObject& LinkLock() override { return lock; }
    TraceSettings& Settings() override { return settings; }
    CKeloServoDoc* Document() override { return document; }
    void TraceAcquiringChanged(bool) override {}
    void OpenOnlineEditorFor(CWnd*) override {}
    void TraceWindowClosed(CTraceGraphDlg*) override {}
    CRegisterServices services;
    CMutex lock;
    TraceSettings settings;
    CKeloServoDoc* document = nullptr;
};
