#pragma once
// CJogHelpDlg: the precautions of the inertia estimation ("Help", template 1018).
#include "framework/ui/Dialog.h"

class CJogHelpDlg : public CDialogEx {
public:
    CJogHelpDlg();
};
