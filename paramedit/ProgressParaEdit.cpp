#include "paramedit/ProgressParaEdit.h"

#include "resources/ids/paramedit.h"

CProgressParaEdit::CProgressParaEdit(CWnd* parent, ProgressOwnerLink* link)
    : CProgressDlg(parent, link, IDD_PROGRESS_PARAEDIT, IDC_PARAEDIT_PROGRESS_TEXT) {}

BOOL CProgressParaEdit::OnInitDialog() {
    CProgressDlg::OnInitDialog();
    SetWindowText(m_caption);
    return TRUE;
}
