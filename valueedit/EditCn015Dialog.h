#pragma once
// Cn015: the two PI/P and gain switching conditions.
#include "resources/ids/valueedit.h"
#include "valueedit/DigitEditorDlg.h"

class CEditCn015Dialog : public CFixedDigitDlg {
public:
    CEditCn015Dialog() : CFixedDigitDlg(ValueEditorKind::Cn015, IDD_VE_CN015) {}
};
