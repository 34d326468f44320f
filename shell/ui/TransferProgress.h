#pragma once
// The progress window of the register services' long transfers: the plain progress window, or the
// one with Cancel for the memory image, created modeless while the transfer runs.
#include "link/services/RegisterServices.h"
#include "paramedit/ProgressDlg.h"

class CWnd;

class CTransferProgress : public ITransferProgress {
public:
    explicit CTransferProgress(CWnd* owner = nullptr) : owner_(owner) {}
    ~CTransferProgress() override;
    void SetOwner(CWnd* owner) { owner_ = owner; }

    void Open(int resourceId, int range) override;
    void SetStepText(const std::string& text) override;
    void Step() override;
    void Close() override;
    bool CancelRequested() const override { return link_.cancelRequest != 0; }

    // The window while it is open (tests press its Cancel).
    CProgressDlg* Window() const { return link_.window; }

private:
    CWnd* owner_;
    ProgressOwnerLink link_;
};
