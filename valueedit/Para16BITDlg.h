#pragma once
// En718 and En719: the sixteen touch probe bits (m_Code given).
#include "resources/ids/valueedit.h"
#include "valueedit/DigitEditorDlg.h"

class CPara16BITDlg : public CFixedDigitDlg {
public:
    CPara16BITDlg() : CFixedDigitDlg(ValueEditorKind::Bits16, IDD_VE_16BIT) {}
};
