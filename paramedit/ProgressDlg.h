#pragma once
// The small modeless windows that show the progress of a long drive transfer while it runs on the
// user-interface thread: one progress bar and one line of message text.
//
// The transfer creates the window on the heap, shows it, steps the bar between requests and
// destroys it at the end; the window then deletes itself. CProgressDlg and CRWProgressDlg tell
// their owner when they are gone, through the ProgressOwnerLink the owner keeps, so the owner never
// holds a stale pointer; the memory-image window also passes its Cancel on through that link.
#include "framework/ui/Dialog.h"
#include "framework/ui/ProgressCtrl.h"

#include <string>

class CProgressDlg;

// What an owner of a progress window keeps: its current progress window (none once the window is
// gone) and the cancel request that Cancel of the memory-image window sets to 1. The owner tests
// the request between requests.
struct ProgressOwnerLink {
    CProgressDlg* window = nullptr;
    int cancelRequest = 0;
};

// Progress window of the view's alarm-history, contact-planning and path-planning transfers and of
// the RAM editor (template 171); also the base of the two others, which share SetProgressText.
class CProgressDlg : public CDialog {
public:
    // owner: the owner window (not owned); link: where the owner keeps its reference (may be null).
    CProgressDlg(CWnd* owner, ProgressOwnerLink* link);

    // Shows the text on the message line (an empty text clears it).
    void SetProgressText(const std::string& text);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    CWnd* m_pOwner;
    CProgressCtrl m_progress;
    std::string m_message;

protected:
    CProgressDlg(CWnd* owner, ProgressOwnerLink* link, UINT templateId, int messageId);

    // The transfer ends the window: Enter, Esc and the close box do nothing here.
    void OnOK() override {}
    void OnCancel() override {}
    void PostNcDestroy() override;

    ProgressOwnerLink* m_link;

private:
    int m_messageId;
};
