#pragma once
// Pn345: mute gain decrement and online adjustment learning rates.
#include "resources/ids/valueedit.h"
#include "valueedit/DigitEditorDlg.h"

class CPn345Dlg : public CFixedDigitDlg {
public:
    CPn345Dlg() : CFixedDigitDlg(ValueEditorKind::Pn345, IDD_VE_PN345) {}
};
