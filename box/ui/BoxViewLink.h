#pragma once
// What the box viewer needs of the view that opened it: its register services and link mutex, its
// document, the box settings it keeps between two openings, its flags for the trace window's
// thread, the online editor, and the word that the viewer has gone.
#include "box/BoxKeptSettings.h"

class CRegisterServices;
class CKeloServoDoc;
class CSyncObject;
class CWnd;
class CBOXDlg;

class IBoxViewLink {
public:
    virtual ~IBoxViewLink() = default;
    virtual CRegisterServices& Services() = 0;
    // Null when the view has no document: the viewer then makes no drive access.
    virtual CKeloServoDoc* Document() = 0;
    virtual CSyncObject& LinkMutex() = 0;
    // The settings kept for the next viewer; kept is false until the settings were confirmed.
    virtual BoxKeptSettings& KeptSettings() = 0;
    virtual bool SettingsKept() const = 0;
    virtual void SetSettingsKept() = 0;
    virtual void SetAlternateTraceRead(int value) = 0;
    virtual void SetBoxCapture(int value) = 0;
    // dn-04 as the document keeps it.
    virtual int StatusValueD4() = 0;
    virtual void OpenOnlineEditor(CWnd* owner) = 0;
    // The viewer closed; the view forgets (and frees) it.
    virtual void BoxWindowClosed(CBOXDlg* window) = 0;
};
