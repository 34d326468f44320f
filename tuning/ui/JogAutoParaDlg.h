#pragma once
// CJogAutoParaDlg: the "Instruction" of the auto gain conditions (template 6012).
#include "framework/ui/Dialog.h"

class CJogAutoParaDlg : public CDialog {
public:
    explicit CJogAutoParaDlg(CWnd* parent = nullptr);
};
