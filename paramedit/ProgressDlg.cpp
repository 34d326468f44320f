#include "paramedit/ProgressDlg.h"

#include "resources/ids/paramedit.h"

CProgressDlg::CProgressDlg(CWnd* owner, ProgressOwnerLink* link)
    : CProgressDlg(owner, link, IDD_PROGRESS, IDC_PROGRESS_TEXT) {}

CProgressDlg::CProgressDlg(CWnd* owner, ProgressOwnerLink* link, UINT templateId, int messageId)
    : CDialog(templateId, owner), m_pOwner(owner), m_link(link), m_messageId(messageId) {}

void CProgressDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PROGRESS_BAR, m_progress);
    DDX_Text(dx, m_messageId, m_message);
}

BOOL CProgressDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_progress.SetStep(1);
    return TRUE;
}

void CProgressDlg::SetProgressText(const std::string& text) {
    m_message = text;
    UpdateData(FALSE);
}

void CProgressDlg::PostNcDestroy() {
    // Only the owner's reference to this very window is cleared: the owner may already hold the
    // next one.
    if (m_link && m_link->window == this)
        m_link->window = nullptr;
    delete this;
}
