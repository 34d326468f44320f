#pragma once
// The alarm selection mask of Cn054 and Cn082: a hexadecimal entry and sixteen check boxes, one per
// alarm bit, kept in step with each other.
#include "valueedit/ValueEntryDlg.h"

class CEditCn054Dialog : public CValueEntryDlg {
public:
    CEditCn054Dialog();

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void ShowBits() override;
    // A click on check box 1217 + k toggles bit k.
    void OnBitClicked(int k);
};
