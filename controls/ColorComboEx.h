#pragma once
// CColorComboEx: an owner-drawn drop-down list of the 15 channel colour swatches. The selection index
// is the colour index; the item data hold the colours. Owners read the selection when they need the
// colour: the control keeps its selection changes to itself. The dialog template must give the
// combo CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED so the swatches are drawn.
#include "framework/ui/ComboBox.h"

class CColorComboEx : public CComboBox {
public:
    CColorComboEx() = default;
    const MessageMap* GetMessageMap() const override;

    // Attaching to a template control (or creating one) fills the swatches and selects the first.
    bool SubclassDlgItem(UINT id, CWnd* parent);
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    // One item per table colour (stops when the list is full), then item 0 selected.
    void FillColours();

    // A combo attached some other way (data exchange) is filled on its first use.
    int GetCount();
    int GetCurSel();
    int SetCurSel(int index);
    DWORD_PTR GetItemData(int index);

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

protected:
    void OnSelChange() {}

private:
    void EnsureFilled();
    bool filled_ = false;
};
