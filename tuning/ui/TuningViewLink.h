#pragma once
// What the jog and tuning windows need of the view that opens them. The view implements it; a
// window asks it every time rather than keeping the document, since the view may change it.
#include "link/services/RegisterServices.h"

class CKeloServoDoc;
class CWnd;

class ITuningViewLink {
public:
    virtual ~ITuningViewLink() = default;
    // The register services (busy flag, reads, writes) of the view.
    virtual CRegisterServices& Services() = 0;
    // The view's document; nullptr when there is none (the windows then do nothing).
    virtual CKeloServoDoc* Document() = 0;
    // Reads the drive's status words (ServoOnFlag, the rated speed); 0 when a read failed.
    virtual int RefreshStatus() = 0;
    // A new online parameter editor owned by `owner`, on every call.
    virtual void OpenOnlineEditor(CWnd* owner) = 0;
    // The window the JOG window's commands are posted to (the view).
    virtual CWnd* CommandWindow() = 0;
    // The mechanical characteristic analysis, run modally from the auto gain window; the window offers
    // it only while the program has it.
    virtual bool CanRunAnalysis() const = 0;
    virtual void RunAnalysis() = 0;
};
