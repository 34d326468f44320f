#pragma once
// Hn617 and Hn618: one bit per digital input DI-1..DI-12 (m_Code given).
#include "resources/ids/valueedit.h"
#include "valueedit/DigitEditorDlg.h"

class CFnH17Dlg : public CFixedDigitDlg {
public:
    CFnH17Dlg() : CFixedDigitDlg(ValueEditorKind::DiControl, IDD_VE_FNH17) {}
};
