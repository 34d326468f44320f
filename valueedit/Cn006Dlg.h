#pragma once
// Cn006: the two analog monitor outputs (m_RangeText and m_Max given).
#include "resources/ids/valueedit.h"
#include "valueedit/DigitEditorDlg.h"

class CCn006Dlg : public CFixedDigitDlg {
public:
    CCn006Dlg() : CFixedDigitDlg(ValueEditorKind::Cn006, IDD_VE_CN006) {}
};
