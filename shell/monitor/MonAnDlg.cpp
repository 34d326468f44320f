#include "shell/monitor/MonAnDlg.h"

#include "framework/ui/DC.h"
#include "resources/ids/monitor.h"

CMonAnDlg::CMonAnDlg(CWnd* owner, CMonitorReaders& readers, StringLoader load)
    : CMonitorWindow(IDD, owner, readers), m_load(std::move(load)), m_rows(m_load) {
    m_numberTexts = m_rows.NumberTexts();
    m_nameTexts = m_rows.NameTexts();
}

const MessageMap* CMonAnDlg::GetMessageMap() const {
    static const MessageMap map(CMonitorWindow::GetMessageMap(),
                                {
                                    msg::Command(IDC_ALARM_CLEAR, &CMonAnDlg::OnClear),
                                    msg::Command(IDC_ALARM_UPDATE, &CMonAnDlg::OnUpdate),
                                    msg::CtlColor(&CMonAnDlg::OnCtlColor),
                                });
    return &map;
}

void CMonAnDlg::DoDataExchange(CDataExchange* dx) {
    CMonitorWindow::DoDataExchange(dx);
    for (int row = 0; row < AlarmRowCount; ++row) {
        DDX_Text(dx, IDC_ALARM_NUMBER_FIRST + row, m_numberTexts[row]);
        DDX_Text(dx, IDC_ALARM_NAME_FIRST + row, m_nameTexts[row]);
    }
}

void CMonAnDlg::Register() {
    Slot<IAlarmSink>(m_readers.AlarmWindow, this);
}

void CMonAnDlg::ShowAlarmHistory(const std::array<int, AlarmHistoryCount>& codes,
                                 const std::array<std::string, AlarmHistoryCount>& numberTexts) {
    m_rows.SetHistory(codes, numberTexts);
    m_numberTexts = m_rows.NumberTexts();
    UpdateAlarmDisplay();
}

void CMonAnDlg::UpdateAlarmDisplay() {
    m_rows.UpdateNames(m_load);
    m_nameTexts = m_rows.NameTexts();
    if (!m_hWnd)
        return;
    UpdateData(FALSE);
    Invalidate(FALSE);
}

void CMonAnDlg::OnClear() {
    if (m_pOwner && m_pOwner->GetSafeHwnd())
        m_pOwner->PostMessage(WM_ALARM_CLEAR, AlarmClearCommand, 0);
    m_readers.AlarmReadRequest = 1;
}

void CMonAnDlg::OnUpdate() {
    m_readers.AlarmReadRequest = 1;
}

HBRUSH CMonAnDlg::OnCtlColor(CDC* dc, CWnd* control, UINT kind) {
    const int id = control ? control->GetDlgCtrlID() : 0;
    if (kind == CTLCOLOR_STATIC && id >= IDC_ALARM_NUMBER_FIRST &&
        id < IDC_ALARM_NUMBER_FIRST + AlarmRowCount) {
        dc->SetTextColor(AlarmNumberColour);
        dc->SetBkMode(TRANSPARENT);
    } else if (kind == CTLCOLOR_STATIC && id >= IDC_ALARM_NAME_FIRST &&
               id < IDC_ALARM_NAME_FIRST + AlarmRowCount) {
        dc->SetTextColor(m_rows.NameColour(id - IDC_ALARM_NAME_FIRST));
        dc->SetBkMode(TRANSPARENT);
    }
    return nullptr;
}
