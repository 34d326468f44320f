#pragma once
// CMonDnDlg: the "Diagnostics Parameters (dn-xx)" window: the dn items the monitor cycle reads, and
// the ON/OFF state of the input terminals S1..S12 and output terminals R1..R8, each labelled with the
// function its DI/DO assignment parameter gives it in the document.
#include "shell/DiagnosticsLabels.h"
#include "shell/monitor/MonitorWindow.h"

#include "framework/ui/Gdi.h"

#include <array>
#include <string>

class CKeloServoDoc;

class CMonDnDlg : public CMonitorWindow, public IDiagnosticsSink {
public:
    static constexpr UINT IDD = 140;
    static constexpr int DisplayTextCount = 20;

    // doc: where the terminal labels come from and which series decides about dn-14 (may be null:
    // the labels then stay as they are and dn-14 is offered).
    CMonDnDlg(CWnd* owner, CMonitorReaders& readers, const CKeloServoDoc* doc);

    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    // IDiagnosticsSink.
    void SetDiagnostics(const DiagnosticsFrame& frame) override;
    void ShowIoLabels() override;
    void ShowIoStates() override;

    const std::array<int, DiagStateCount>& States() const { return m_states; }

protected:
    void Register() override;

private:
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind);
    // The terminal state that a state static shows, or -1 for another control.
    int StateOfControl(int id) const;

    const CKeloServoDoc* m_doc;
    std::array<std::string, DisplayTextCount> m_texts;
    std::array<int, DiagStateCount> m_states{};
    CBrush m_onBrush;
    CBrush m_offBrush;
};
