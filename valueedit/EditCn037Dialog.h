#pragma once
// Cn037: communication rates and write target (m_Min and m_Max given).
#include "resources/ids/valueedit.h"
#include "valueedit/DigitEditorDlg.h"

class CEditCn037Dialog : public CFixedDigitDlg {
public:
    CEditCn037Dialog() : CFixedDigitDlg(ValueEditorKind::Cn037, IDD_VE_CN037) {}
};
