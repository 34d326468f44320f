#pragma once
// Cn031: cooling fan, low-voltage, battery fault and motor kind settings.
#include "resources/ids/valueedit.h"
#include "valueedit/DigitEditorDlg.h"

class CCn031APDlg : public CFixedDigitDlg {
public:
    CCn031APDlg() : CFixedDigitDlg(ValueEditorKind::Cn031, IDD_VE_CN031) {}
};
