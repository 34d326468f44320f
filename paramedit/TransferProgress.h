#pragma once
// The progress window of a transfer pass: the plain progress window, the one with Cancel for the
// memory image, or the parameter editor's titled one, created modeless while the pass runs. The bar
// follows the pass's position when the pass asks for a repaint.
#include "link/services/RegisterServices.h"
#include "link/services/TransferPass.h"
#include "paramedit/ProgressDlg.h"

class CWnd;

// The owner of a transfer pass run for a window (none: a pass that outlives no window) with its
// progress window.
TransferPassOwner PassOwner(CWnd* window, ITransferProgress* progress);

class CTransferProgress : public ITransferProgress {
public:
    explicit CTransferProgress(CWnd* owner = nullptr) : owner_(owner) {}
    ~CTransferProgress() override;
    CTransferProgress(const CTransferProgress&) = delete;
    CTransferProgress& operator=(const CTransferProgress&) = delete;
    void SetOwner(CWnd* owner) { owner_ = owner; }

    void Open(int resourceId, int range, const std::string& caption) override;
    void SetStepText(const std::string& text) override;
    void SetPosition(int position, bool repaint) override;
    void Close() override;
    bool CancelRequested() const override { return link_.cancelRequest != 0; }

    // The window while it is open (tests press its Cancel).
    CProgressDlg* Window() const { return link_.window; }

private:
    CWnd* owner_;
    ProgressOwnerLink link_;
};
