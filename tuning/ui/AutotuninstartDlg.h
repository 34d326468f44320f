#pragma once
// CAutotuninstartDlg: the "Note" before an auto gain run (template 6008). With its buttons shown
// "Operate" goes on and "Stop" cancels; shown again from the auto gain window it has no buttons.
#include "framework/core/MessageSeam.h"
#include "framework/ui/Dialog.h"

class CAutotuninstartDlg : public CDialog {
public:
    CAutotuninstartDlg();
    BOOL OnInitDialog() override;
    void OnOK() override { EndDialog(IDOK); }

    int m_showButtons = 1;
};
