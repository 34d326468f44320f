#pragma once
// Pn301: position pulse command form, logic, inhibit behaviour and filter.
#include "resources/ids/valueedit.h"
#include "valueedit/DigitEditorDlg.h"

class CFnP01APDlg : public CFixedDigitDlg {
public:
    CFnP01APDlg() : CFixedDigitDlg(ValueEditorKind::Pn301, IDD_VE_FNP01) {}
};
