#pragma once
// What the online editor needs of the view that opens it. The view implements this; the editor asks
// it every time instead of keeping the document, since the view may change its document.
#include "catalogue/CatalogueContext.h"
#include "online/OnlineSteps.h"

class CKeloServoDoc;
class CRegisterServices;
class COnLineParaEditDlg;

class IOnlineViewLink {
public:
    virtual ~IOnlineViewLink() = default;

    // The register services (busy flag, reads) of the view.
    virtual CRegisterServices& Services() = 0;
    // The view's document; nullptr when there is none (rows then have no limits).
    virtual CKeloServoDoc* Document() = 0;
    // The catalogue's view of the connected drive: the document's, or the program's words without one.
    virtual CatalogueContext Context() const = 0;
    // The view's rigidity tables: Pn310, Sn211, Sn212, Cn034.
    virtual const RigidityTableSet& RigidityTables() const = 0;
    // Register 0x1101 as the editor read it: the motor's maximum speed the tools use.
    virtual void SetMotorMaxSpeed(int value) = 0;
    // An editor is closing; the view forgets it only when it is the one the view keeps.
    virtual void OnlineEditorClosed(COnLineParaEditDlg* editor) = 0;
};
