#include "tuning/ui/FRAReadDlg.h"

#include "framework/core/MessageSeam.h"
#include "resources/ids/paramedit.h"
#include "resources/ids/tuning.h"

CFRAReadDlg::CFRAReadDlg(CWnd* parent) : CProgressDlg(parent, nullptr, IDD_FRA_READ, IDC_PROGRESS_TEXT) {}

const MessageMap* CFRAReadDlg::GetMessageMap() const {
    static const MessageMap map(CProgressDlg::GetMessageMap(), {msg::Timer(&CFRAReadDlg::OnTimer)});
    return &map;
}

BOOL CFRAReadDlg::OnInitDialog() {
    CProgressDlg::OnInitDialog();
    SetTimer(FraReadTimer, FraReadTimerPeriodMs);
    return TRUE;
}

void CFRAReadDlg::OnTimer(UINT_PTR id) {
    if (id != FraReadTimer || m_started)
        return;
    m_started = true;
    if (CWnd* parent = GetParent())
        parent->PostMessage(FraProgressMessage, FraReadDataCode, 0);
}

void CFRAReadDlg::OnCancel() {
    KillTimer(FraReadTimer);
    EndDialog(IDCANCEL);
}

BOOL CFRAReadDlg::PreTranslateMessage(MSG* msg) {
    // The read ends this window; a key must not end it first.
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
        return TRUE;
    return CProgressDlg::PreTranslateMessage(msg);
}
