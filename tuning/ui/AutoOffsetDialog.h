#pragma once
// CAutoOffsetDialog: asks before the drive adjusts its analog voltage-command offset ("Auto Offset
// Adjustment (dn-07)", template 6074) and starts the adjustment on Yes.
#include "framework/ui/Dialog.h"
#include "tuning/ui/TuningViewLink.h"

#include <functional>

class CAutoOffsetDialog : public CDialogEx {
public:
    explicit CAutoOffsetDialog(ITuningViewLink& view);
    BOOL Create(CWnd* parent);
    void OnOK() override;
    void OnCancel() override;

    std::function<void()> OnClosed;

protected:
    void PostNcDestroy() override { delete this; }

private:
    ITuningViewLink& view_;
};
