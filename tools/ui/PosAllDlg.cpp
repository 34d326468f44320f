#include "tools/ui/PosAllDlg.h"

#include "link/LinkState.h"
#include "link/services/RegisterServices.h"
#include "resources/ids/tools.h"
#include "tools/MultiPositionRun.h"
#include "tools/ui/PositionPageSupport.h"
#include "tools/ui/PositionToolsLink.h"
#include "tuning/ui/ChildPage.h"

CPosAllDlg::CPosAllDlg(IPositionToolsLink& link, CWnd* parent)
    : CDialogEx(IDD_POSITION_CONTROL, parent), m_system(link), m_home(link), m_multi(link), m_multiIo(link),
      link_(link), parent_(parent) {}

BOOL CPosAllDlg::Create() {
    return CDialogEx::Create(IDD_POSITION_CONTROL, parent_);
}

const MessageMap* CPosAllDlg::GetMessageMap() const {
    static const MessageMap map(CDialogEx::GetMessageMap(),
                                {
                                    msg::Notify(TCN_SELCHANGE, IDC_POS_TAB, &CPosAllDlg::OnTabChange),
                                });
    return &map;
}

void CPosAllDlg::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, IDC_POS_TAB, m_tab);
}

BOOL CPosAllDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    m_tab.InsertItem(0, ToolText(IDS_POS_TAB_SYSTEM));
    m_tab.InsertItem(1, ToolText(IDS_POS_TAB_HOME));
    m_tab.InsertItem(2, ToolText(IDS_POS_TAB_MULTI));
    m_tab.InsertItem(3, ToolText(IDS_POS_TAB_MULTI) + "2");
    CRect page;
    m_tab.GetClientRect(&page);
    page.left += 4;
    page.right -= 4;
    page.bottom -= 4;
    page.top = 25;
    CreateChildPage(m_system, IDD_POS_SYSTEM, &m_tab);
    CreateChildPage(m_home, IDD_POS_HOME, &m_tab);
    CreateChildPage(m_multi, IDD_POS_MULTI, &m_tab);
    for (CDialog* p :
         {static_cast<CDialog*>(&m_system), static_cast<CDialog*>(&m_home), static_cast<CDialog*>(&m_multi)})
        if (p->GetSafeHwnd())
            p->MoveWindow(page);
    if (!link_.Document()) {
        ShowPage(0);
        return FALSE;
    }
    multiIoCreated_ = CreateChildPage(m_multiIo, IDD_POS_MULTI_IO, &m_tab) != FALSE;
    if (multiIoCreated_)
        m_multiIo.MoveWindow(page);
    ShowPage(0);
    if (ConnectedFlag) {
        CRegisterServices& services = link_.Services();
        for (size_t i = 0; i < SnapshotCodes.size(); ++i)
            Snapshot[i] = services.ReadDriveParameter(SnapshotCodes[i]);
    }
    return TRUE;
}

void CPosAllDlg::ShowPage(int index) {
    CDialog* pages[] = {&m_system, &m_home, &m_multi, &m_multiIo};
    const int shown = index < 0 || index > 3 ? 3 : index;
    for (int i = 0; i < 4; ++i)
        if (pages[i]->GetSafeHwnd())
            pages[i]->ShowWindow(i == shown ? SW_SHOW : SW_HIDE);
}

void CPosAllDlg::OnTabChange(NMHDR*, LRESULT* result) {
    const int index = m_tab.GetCurSel();
    ShowPage(index);
    switch (index) {
    case 0:
        m_system.RefreshInputs();
        break;
    case 1:
        m_home.RefreshInputs();
        break;
    case 2:
        m_multi.ShowEnableState();
        break;
    default:
        if (multiIoCreated_) {
            m_multiIo.ShowEnableState();
            m_multiIo.CheckPathMode();
        }
        break;
    }
    if (result)
        *result = 0;
}

void CPosAllDlg::OnCancel() {
    // The servo goes off with the window; a run that lost its link keeps that stop in the view. A
    // path program run holds the servo on through the virtual inputs: those go off too.
    if (ConnectedFlag || MultiPositionRunFlag || MultiPositionIoRunFlag) {
        const bool pathRun = MultiPositionIoRunFlag != 0;
        link_.Services().Stops.Send("position run", [pathRun](CRegisterServices& services) {
            return WriteServoOnCommand(services, 0) && (!pathRun || WritePathRunInputsOff(services));
        });
    }
    // No run outlives its window: a flag left up would lock the next window's pages out.
    MultiPositionRunFlag = 0;
    MultiPositionIoRunFlag = 0;
    link_.ToolWindowClosed(this);
    DestroyWindow();
}

void CPosAllDlg::PostNcDestroy() {
    delete this;
}
