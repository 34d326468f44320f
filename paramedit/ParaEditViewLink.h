#pragma once
// What the parameter editor needs of the view that opens it. The view implements this; the editor
// asks it every time instead of keeping the document, since the view may change its document.
#include <string>

class CKeloServoDoc;
class CRegisterServices;
struct DefinedList;

class IParaEditViewLink {
public:
    virtual ~IParaEditViewLink() = default;

    // The register services (and their busy flag, pass state and protocol) of the view.
    virtual CRegisterServices& Services() = 0;
    // The active view's document; nullptr when there is none (the editor then does nothing).
    virtual CKeloServoDoc* Document() = 0;
    // Saves the document to its current file through the framework; false when it was not saved.
    virtual bool SaveDocument() = 0;
    // The editor is closing: clear the view's editor pointer and editor-open flag.
    virtual void EditorClosed() = 0;
    // Register 0x1101 as the connect read it.
    virtual int MotorMaxSpeed() const = 0;
    // Encoder pulses of the motor whose Cn030 was just read.
    virtual void SetEncoderPulsesPerTurn(int pulses) = 0;
    // The defined-parameter list that the settings file keeps.
    virtual DefinedList& DefinedParameters() = 0;
};
