#pragma once
// Pn317 and Pn365: the homing routine (m_Code and m_RangeText given).
#include "resources/ids/valueedit.h"
#include "valueedit/DigitEditorDlg.h"

class CFnP65Dlg : public CFixedDigitDlg {
public:
    CFnP65Dlg() : CFixedDigitDlg(ValueEditorKind::Homing, IDD_VE_FNP65) {}
};
