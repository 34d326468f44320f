#include "shell/ui/TransferProgress.h"

#include "paramedit/RWProgressDlg.h"

CTransferProgress::~CTransferProgress() {
    Close();
}

void CTransferProgress::Open(int resourceId, int range) {
    Close();
    link_.cancelRequest = 0;
    CProgressDlg* window = resourceId == RWProgressDialogResource ? new CRWProgressDlg(owner_, &link_)
                                                                  : new CProgressDlg(owner_, &link_);
    if (!window->Create(static_cast<UINT>(resourceId), owner_)) {
        delete window;
        return;
    }
    link_.window = window;
    window->m_progress.SetRange32(0, range);
    window->m_progress.SetPos(0);
    window->ShowWindow(SW_SHOW);
}

void CTransferProgress::SetStepText(const std::string& text) {
    if (link_.window)
        link_.window->SetProgressText(text);
}

void CTransferProgress::Step() {
    if (link_.window)
        link_.window->m_progress.StepIt();
}

void CTransferProgress::Close() {
    // The window clears link_.window when it goes (also when Cancel already closed it).
    if (link_.window)
        link_.window->DestroyWindow();
}
