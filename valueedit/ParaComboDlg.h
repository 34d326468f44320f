#pragma once
// The digit-option editor: four generic combos filled per parameter from the option table, rebuilt
// after every change so lists and enable states follow the value and the document's answers. The
// caller gives m_Code, m_Title, m_RangeText and m_Value.
#include "resources/ids/valueedit.h"
#include "valueedit/DigitEditorDlg.h"

class CParaComboDlg : public CDigitEditorDlg {
public:
    CParaComboDlg() : CDigitEditorDlg(IDD_VE_PARACOMBO) {}

protected:
    FixedLayout BuildLayout() override;
    // FillDigitOptions again for the new value.
    void AfterChange() override;
};
