#pragma once
// Progress window of the view's read and write of the drive memory image (template 176): the
// progress window with a Cancel button that asks the owner to stop.
#include "paramedit/ProgressDlg.h"

class CRWProgressDlg : public CProgressDlg {
public:
    CRWProgressDlg(CWnd* owner, ProgressOwnerLink* link);

protected:
    // Cancel (and Esc): sets the owner's cancel request, then the window goes at once.
    void OnCancel() override;
};
