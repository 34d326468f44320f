#include "tools/ui/PositionCommAPDlg.h"

#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/Button.h"
#include "framework/ui/Edit.h"
#include "resources/ids/tools.h"
#include "tools/ui/PositionPageSupport.h"
#include "tuning/ui/ChildPage.h"

namespace {
constexpr int OverRangeText = 61551;
} // namespace

CPositionCommAPDlg::CPositionCommAPDlg(CKeloServoDoc& doc, CWnd* parent)
    : CDialog(IDD_PATH_PROGRAMMING, parent), m_page1(doc), m_page2(doc) {}

const MessageMap* CPositionCommAPDlg::GetMessageMap() const {
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::CommandRange(IDC_PC_ABSOLUTE, IDC_PC_PHOLD_CURRENT, &CPositionCommAPDlg::OnModeRadio),
            msg::Notify(TCN_SELCHANGE, IDC_PC_TAB, &CPositionCommAPDlg::OnTabChange),
        });
    return &map;
}

void CPositionCommAPDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PC_TAB, m_tab);
    DDX_Control(dx, IDC_PC_SMOOTHING_SPIN, m_spin);
    DDX_Text(dx, IDC_PC_SMOOTHING, m_smoothing);
}

BOOL CPositionCommAPDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_tab.InsertItem(0, LoadResString(IDS_POS_PATH_PLANNING) + " 1 - 16 ");
    m_tab.InsertItem(1, "    17 - 32    ");
    CreateChildPage(m_page1, IDD_PATH_PAGE1, &m_tab);
    CreateChildPage(m_page2, IDD_PATH_PAGE2, &m_tab);
    CRect page;
    m_tab.GetClientRect(&page);
    page.left += 4;
    page.top += 30;
    page.right -= 4;
    page.bottom -= 4;
    m_page1.MoveWindow(page);
    m_page2.MoveWindow(page);
    m_tab.SetCurSel(0);
    m_page1.ShowWindow(SW_SHOW);
    m_page2.ShowWindow(SW_HIDE);
    CheckRadios();
    if (auto* edit = dynamic_cast<CEdit*>(GetDlgItem(IDC_PC_SMOOTHING)))
        edit->LimitText(5);
    m_spin.SetBuddy(GetDlgItem(IDC_PC_SMOOTHING));
    m_spin.SetRange32(0, MaxSmoothingMs);
    UpdateData(FALSE);
    return TRUE;
}

void CPositionCommAPDlg::CheckRadios() {
    CheckRadioButton(IDC_PC_ABSOLUTE, IDC_PC_RELATIVE,
                     m_positionMode == 1 ? IDC_PC_RELATIVE : IDC_PC_ABSOLUTE);
    CheckRadioButton(IDC_PC_PHOLD_RESUME, IDC_PC_PHOLD_CURRENT,
                     m_pholdSelect == 1 ? IDC_PC_PHOLD_CURRENT : IDC_PC_PHOLD_RESUME);
}

void CPositionCommAPDlg::OnModeRadio(UINT id) {
    switch (id) {
    case IDC_PC_ABSOLUTE:
        m_positionMode = 0;
        break;
    case IDC_PC_RELATIVE:
        m_positionMode = 1;
        break;
    case IDC_PC_PHOLD_RESUME:
        m_pholdSelect = 0;
        break;
    default:
        m_pholdSelect = 1;
        break;
    }
    CheckRadios();
}

void CPositionCommAPDlg::OnTabChange(NMHDR*, LRESULT* result) {
    const bool first = m_tab.GetCurSel() == 0;
    m_page1.ShowWindow(first ? SW_SHOW : SW_HIDE);
    m_page2.ShowWindow(first ? SW_HIDE : SW_SHOW);
    (first ? static_cast<CWnd&>(m_page1) : static_cast<CWnd&>(m_page2)).SetFocus();
    if (result)
        *result = 0;
}

void CPositionCommAPDlg::OnOK() {
    if (!UpdateData(TRUE))
        return;
    if (static_cast<unsigned>(m_smoothing) > static_cast<unsigned>(MaxSmoothingMs)) {
        ShowMessage(LoadResString(IDS_PC_SMOOTHING_NAME) + " " + LoadResString(OverRangeText));
        return;
    }
    m_page1.Store();
    m_page2.Store();
    EndDialog(IDOK);
}
