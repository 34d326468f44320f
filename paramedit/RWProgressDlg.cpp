#include "paramedit/RWProgressDlg.h"

#include "resources/ids/paramedit.h"

CRWProgressDlg::CRWProgressDlg(CWnd* owner, ProgressOwnerLink* link)
    : CProgressDlg(owner, link, IDD_RW_PROGRESS, IDC_PROGRESS_TEXT) {}

void CRWProgressDlg::OnCancel() {
    if (m_link)
        m_link->cancelRequest = 1;
    DestroyWindow();
}
