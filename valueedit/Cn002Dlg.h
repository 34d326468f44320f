#pragma once
// Cn002: contact auxiliary functions and the EMC reset mode.
#include "resources/ids/valueedit.h"
#include "valueedit/DigitEditorDlg.h"

class CCn002Dlg : public CFixedDigitDlg {
public:
    CCn002Dlg() : CFixedDigitDlg(ValueEditorKind::Cn002, IDD_VE_CN002) {}
};
