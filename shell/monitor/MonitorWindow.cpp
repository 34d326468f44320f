#include "shell/monitor/MonitorWindow.h"

CMonitorWindow::CMonitorWindow(UINT templateId, CWnd* owner, CMonitorReaders& readers)
    : CDialog(templateId, owner), m_pOwner(owner), m_readers(readers) {}

CMonitorWindow::~CMonitorWindow() {
    // Normally done when the window ended; an object dropped with its window still up must not stay
    // in the readers' slot either.
    if (takeOut_)
        takeOut_();
}

const MessageMap* CMonitorWindow::GetMessageMap() const {
    static const MessageMap map(CDialog::GetMessageMap(), {msg::Destroy(&CMonitorWindow::OnDestroy)});
    return &map;
}

BOOL CMonitorWindow::Create(CWnd* parent) {
    return CDialog::Create(m_nIDHelp, parent);
}

BOOL CMonitorWindow::OnInitDialog() {
    CDialog::OnInitDialog();
    Register();
    return TRUE;
}

void CMonitorWindow::OnCancel() {
    // The callback may belong to a view that deletes its own references; take what is needed first.
    std::function<void()> closed = std::move(OnClosed);
    OnClosed = nullptr;
    Leave();
    if (closed)
        closed();
    DestroyWindow();
}

void CMonitorWindow::Leave() {
    if (!takeOut_)
        return;
    Leaving();
    takeOut_();
    takeOut_ = nullptr;
}

void CMonitorWindow::OnDestroy() {
    // However the window ends (its close button or the view destroying it), the readers must not
    // keep feeding it.
    Leave();
}

void CMonitorWindow::PostNcDestroy() {
    if (m_bAutoDelete)
        delete this;
}
