#include "trace/ui/TraceReadDlg.h"

#include "framework/ui/ProgressCtrl.h"
#include "resources/ids/trace.h"
#include "trace/ui/TraceGraphDlg.h"

CTraceReadDlg::CTraceReadDlg(CWnd* parent) : CDialog(IDD_TRACE_READ, parent) {}

const MessageMap* CTraceReadDlg::GetMessageMap() const {
    static const MessageMap map(CDialog::GetMessageMap(), {msg::Timer(&CTraceReadDlg::OnTimer)});
    return &map;
}

BOOL CTraceReadDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    static_cast<CProgressCtrl*>(GetDlgItem(IDC_TR_PROGRESS))->SetStep(1);
    SetTimer(TraceReadTimer, 100);
    return TRUE;
}

void CTraceReadDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_TR_TEXT, text_);
}

void CTraceReadDlg::OnTimer(UINT_PTR id) {
    if (id == TraceReadTimer && started_ == 0) {
        started_ = 1;
        if (CWnd* parent = GetParent())
            parent->PostMessage(AcquisitionMessage, 4, 0);
    }
}

void CTraceReadDlg::OnCancel() {
    KillTimer(TraceReadTimer);
    DestroyWindow();
}

void CTraceReadDlg::PostNcDestroy() {
    delete this;
}
