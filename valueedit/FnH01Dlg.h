#pragma once
// Digital input and output pin functions (Hn6xx): the function byte and its operation potential.
// The caller gives m_Code and m_Value; the limits come from the document (EditorLimits).
#include "resources/ids/valueedit.h"
#include "valueedit/DigitEditorDlg.h"

class CFnH01Dlg : public CDigitEditorDlg {
public:
    CFnH01Dlg() : CDigitEditorDlg(IDD_VE_FNH01) {}

protected:
    FixedLayout BuildLayout() override;
};
