#pragma once
// The About box: the program's title line for the current series.
#include "framework/ui/Dialog.h"

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* parent = nullptr);
    BOOL OnInitDialog() override;
};
