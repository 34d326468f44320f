#pragma once
// CMonAnDlg: the "Alarm Parameters" window. Ten rows, the current alarm and nine past alarms, each
// with its code as a number and its name; "clear" has the view clear the drive's history, "update"
// has the next monitor cycle read it again.
#include "catalogue/ParamTexts.h"
#include "shell/AlarmNames.h"
#include "shell/monitor/MonitorWindow.h"

#include <array>
#include <string>

// Posted to the view by "clear" (wParam 4, lParam 0); the view clears the drive's alarm history.
inline constexpr UINT WM_ALARM_CLEAR = 0x720;
inline constexpr WPARAM AlarmClearCommand = 4;

class CMonAnDlg : public CMonitorWindow, public IAlarmSink {
public:
    static constexpr UINT IDD = 143;

    // owner: the view, which receives WM_ALARM_CLEAR (may be null).
    CMonAnDlg(CWnd* owner, CMonitorReaders& readers, StringLoader load = ResourceStringLoader());

    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;

    // IAlarmSink: the history the monitor cycle read, then the names redrawn.
    void ShowAlarmHistory(const std::array<int, AlarmHistoryCount>& codes,
                          const std::array<std::string, AlarmHistoryCount>& numberTexts) override;
    // Names of every row from its code, pushed to the controls.
    void UpdateAlarmDisplay();

    const AlarmMonitorRows& Rows() const { return m_rows; }

protected:
    void Register() override;

private:
    void OnClear();
    void OnUpdate();
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind);

    StringLoader m_load;
    AlarmMonitorRows m_rows;
    std::array<std::string, AlarmRowCount> m_numberTexts;
    std::array<std::string, AlarmRowCount> m_nameTexts;
};
