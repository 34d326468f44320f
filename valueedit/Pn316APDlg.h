#pragma once
// Pn316: internal position command mode, PHOLD program and feedback dividing.
#include "resources/ids/valueedit.h"
#include "valueedit/DigitEditorDlg.h"

class CPn316APDlg : public CFixedDigitDlg {
public:
    CPn316APDlg() : CFixedDigitDlg(ValueEditorKind::Pn316, IDD_VE_PN316) {}
};
