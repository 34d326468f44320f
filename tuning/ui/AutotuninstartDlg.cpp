#include "tuning/ui/AutotuninstartDlg.h"

#include "resources/ids/tuningwindows.h"

CAutotuninstartDlg::CAutotuninstartDlg() : CDialog(IDD_AG_NOTE) {}

BOOL CAutotuninstartDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (int id : {IDOK, IDCANCEL})
        if (CWnd* button = GetDlgItem(id))
            button->ShowWindow(m_showButtons ? SW_SHOW : SW_HIDE);
    return TRUE;
}
