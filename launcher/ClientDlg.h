#pragma once
// CClientDlg: the launcher's one dialog ("Series Select"). The user picks the drive series, or ticks
// "Auto Connection Detection" to have the drive asked for it; OK hands the choice to the main program
// and starts it.
#include "framework/ui/Button.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/Dialog.h"
#include "launcher/PortProbeFlow.h"
#include "link/InternalCode.h"

#include <string>

// Folder of the launcher's own executable, without the trailing '/'; the main program is started
// from here. Tests point it elsewhere.
extern std::string AppDirectory;

class CClientDlg : public CDialog, public CInternalCode, public CPortProbeFlow {
public:
    // The main program, beside the launcher.
    static constexpr const char* kMainProgramName = "KeloServo";
    // System command of the About item.
    static constexpr UINT kAboutCommand = 0x10;

    explicit CClientDlg(CWnd* parent = nullptr);
    ~CClientDlg() override;

    const MessageMap* GetMessageMap() const override;

    static int ModelCodeToSeries(int modelCode) { return ::ModelCodeToSeries(modelCode); }
    // Writes the hand-off file from the dialog's choice; when it cannot be written and reportFailure
    // is non-zero the user is told. TRUE when written.
    BOOL WriteHandoffFile(int reportFailure);
    // The launcher's judgement of one exchange (see ProbeSendCommand).
    int SendCommand(const char* request, int requestLength, char* reply, int expectedLength);

    // Process id of the main program started by OK; -1 before (or when the start failed).
    int StartedProcess = -1;

    CButton CheckBox;
    CComboBox ComboBox;
    HICON Icon = nullptr;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnAutoDetectClicked();
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnRButtonUp(UINT flags, CPoint point);
    BOOL OnDeviceChange(UINT event, std::uintptr_t data);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    void OnDestroy();

    int ProbeExchange(const char* request, int requestLength, char* reply, int expectedLength) override;
    void ShowWaitCursor(bool wait) override;
    void SetAutoDetectCheck(bool checked) override;
    void EnableAutoDetectCheck(bool enable) override;
    void EnableSeriesList(bool enable) override;
    void ShowSeries() override;
    void TakeSeries() override;
    void ReportDriveNotFound() override;
};
