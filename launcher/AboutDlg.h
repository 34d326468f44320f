#pragma once
// The launcher's About box: its icon, its name and its version.
#include "framework/ui/Dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
