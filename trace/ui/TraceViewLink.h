#pragma once
// What the wave trace window needs of the view that opens it. The view implements it; the window
// asks for the link and the settings every time instead of keeping copies.
#include "trace/TraceIni.h"

class CKeloServoDoc;
class CRegisterServices;
class CSyncObject;
class CTraceGraphDlg;
class CWnd;

class ITraceViewLink {
public:
    virtual ~ITraceViewLink() = default;

    // The view's register services; also the protocol object the sampling thread exchanges through.
    virtual CRegisterServices& Services() = 0;
    // The lock the sampling thread and the window's timers share (the view's LinkMutex).
    virtual CSyncObject& LinkLock() = 0;
    // The trace set-up the view keeps between windows.
    virtual TraceSettings& Settings() = 0;
    // The view's document; nullptr when there is none.
    virtual CKeloServoDoc* Document() = 0;
    // The window acquires (true from START until it stopped).
    virtual void TraceAcquiringChanged(bool acquiring) = 0;
    // Opens a new online editor owned by the window (button "Online Parameter Editing").
    virtual void OpenOnlineEditorFor(CWnd* owner) = 0;
    // The window is going; the view forgets it when it is the one it holds.
    virtual void TraceWindowClosed(CTraceGraphDlg* window) = 0;
};
