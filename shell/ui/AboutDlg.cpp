#include "shell/ui/AboutDlg.h"

#include "catalogue/DocumentGlobals.h"
#include "framework/core/ResourceModule.h"
#include "resources/ids/mainframe.h"
#include "shell/ui/ConnectRules.h"

CAboutDlg::CAboutDlg(CWnd* parent) : CDialog(IDD_ABOUTBOX, parent) {}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_ABOUT_VERSION, LoadResString(AboutStringId(SeriesCode)));
    return TRUE;
}
