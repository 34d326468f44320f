#pragma once
// CChangeDlg: the modal "Display Set" dialog. The owner copies its display set and defined list in,
// runs it, and on IDOK reads them back. The rules live in DisplaySet.h.
#include "catalogue/CatalogueContext.h"
#include "framework/ui/Dialog.h"
#include "paramedit/DefinedList.h"
#include "paramedit/DisplaySet.h"

class CChangeDlg : public CDialog {
public:
    explicit CChangeDlg(CWnd* parent = nullptr);
    const MessageMap* GetMessageMap() const override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;

    DefinedList m_custom;      // the custom list the Add/Remove dialog edits
    DisplaySetChoice m_choice; // display type, the 16 choice flags, the availability flags
    // The series the Add/Remove dialog offers parameters of.
    CatalogueContext m_context;

protected:
    void OnDisplayType(UINT id);
    void OnAll();
    void OnChoice(UINT id);
    void OnAddRemove();

private:
    void Show(const DisplaySetControls& controls);
};

// Runs the dialog over an editor's choice and defined list; true (and both updated) on OK.
bool RunDisplaySetDialog(CWnd* parent, DisplaySetChoice& choice, DefinedList& defined,
                         const CatalogueContext& context);
