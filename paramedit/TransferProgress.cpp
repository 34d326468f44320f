#include "paramedit/TransferProgress.h"

#include "paramedit/ProgressParaEdit.h"
#include "paramedit/RWProgressDlg.h"
#include "resources/ids/paramedit.h"

TransferPassOwner PassOwner(CWnd* window, ITransferProgress* progress) {
    TransferPassOwner owner;
    if (window)
        owner.life = window->Life();
    owner.progress = progress;
    return owner;
}

CTransferProgress::~CTransferProgress() {
    Close();
}

void CTransferProgress::Open(int resourceId, int range, const std::string& caption) {
    Close();
    link_.cancelRequest = 0;
    CProgressDlg* window = nullptr;
    if (resourceId == IDD_PROGRESS_PARAEDIT) {
        auto* titled = new CProgressParaEdit(owner_, &link_);
        titled->m_caption = caption;
        window = titled;
    } else if (resourceId == RWProgressDialogResource) {
        window = new CRWProgressDlg(owner_, &link_);
    } else {
        window = new CProgressDlg(owner_, &link_);
    }
    if (!window->Create(static_cast<UINT>(resourceId), owner_)) {
        delete window;
        return;
    }
    link_.window = window;
    if (resourceId != IDD_PROGRESS_PARAEDIT && !caption.empty())
        window->SetWindowText(caption);
    window->m_progress.SetRange32(0, range);
    window->m_progress.SetPos(0);
    window->ShowWindow(SW_SHOW);
}

void CTransferProgress::SetStepText(const std::string& text) {
    if (link_.window)
        link_.window->SetProgressText(text);
}

void CTransferProgress::SetPosition(int position, bool repaint) {
    if (link_.window && repaint)
        link_.window->m_progress.SetPos(position);
}

void CTransferProgress::Close() {
    // The window clears link_.window when it goes (also when Cancel already closed it).
    if (link_.window)
        link_.window->DestroyWindow();
}
