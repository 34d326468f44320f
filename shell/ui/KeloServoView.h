#pragma once
// CKeloServoView: the one view of the one document type. It owns the drive link for the whole
// program: it opens the drive port, identifies the drive and refuses one of another series, keeps
// ConnectedFlag, supervises the link with its two timers, runs the monitor cycle over the open
// monitor windows and refreshes the drive's status words for the status bar. Every window reaches
// the drive through its register services.
#include "catalogue/CatalogueContext.h"
#include "framework/core/Sync.h"
#include "framework/ui/View.h"
#include "link/MonitorReaders.h"
#include "link/RegisterServices.h"
#include "shell/CommandRules.h"
#include "shell/ui/TransferProgress.h"

#include <array>
#include <functional>
#include <string>

class CKeloServoDocument;
class CKeloServoDoc;

constexpr UINT_PTR LinkSupervisionTimer = 1114;
constexpr UINT LinkSupervisionPeriodMs = 800;
constexpr UINT_PTR ServoStatusTimer = 1117;
// The life data are read at most once in this many monitor cycles.
constexpr int LifeCyclePeriod = 75;
// A linked, idle view re-checks the link after this many supervision ticks.
constexpr int RecheckTickCount = 10;

class CKeloServoView : public CView, public CRegisterServices {
public:
    CKeloServoView();
    ~CKeloServoView() override;
    const MessageMap* GetMessageMap() const override;

    CKeloServoDocument* GetKeloDocument() const;
    CKeloServoDoc* GetDoc() const;

    // --- Link ------------------------------------------------------------------------------------
    void Connect();
    void Disconnect();
    void RecheckLink();
    // Reads the status words for the status bar; 1 when every read succeeded.
    int RefreshStatus();
    // One monitor cycle over the open monitor windows; 0 when a step's reads failed.
    int MonitorCycle();
    // Sends the Cancel command to the view's monitor and tool windows.
    void CloseToolDialogs();
    // Dispatches at most one waiting message.
    int PeekAndPumpOnce();
    // Closes the port after the drive's port went away (USB removal) and tells the user.
    void OnDrivePortRemoved();
    // The port the view is linked to ("" when none).
    std::string LinkedPortName() const;

    // The progress window of the running transfer, if any.
    CProgressDlg* TransferWindow() const { return progress_.Window(); }

    // Whether the view enables a command (the enabling rules over its state).
    ViewCommandState CommandState() const;

    // --- View members of the link ----------------------------------------------------------------
    CMutex LinkMutex;
    int PortOpenFlag = 0;
    int LinkOpenIndicator = 0;
    int RecheckCounter = 0;
    int MonitorCycleStep = 0;
    int DioDialogBusyFlag = 0;
    ToolWindowFlags ToolWindowOpenFlags{};
    CMonitorReaders Readers{*this};
    // The wave trace window (it belongs to a later subsystem): while it exists only one monitor step
    // runs per tick.
    bool TraceWindowPresent = false;
    // The wave trace window is acquiring (New and Open wait meanwhile).
    bool TraceAcquiring = false;
    // The custom address window's monitoring step, while that window monitors (0 on a failed read).
    std::function<int()> CustomAddressStep;
    // Words of the status refresh the status bar shows.
    int FirstTypeWord = 0;
    int SecondTypeWord = 1;
    // Text tables of the rigidity rule.
    static const std::array<const char*, 21> RigidityBandwidth;
    static const std::array<const char*, 21> RigidityResponse;
    static const std::array<const char*, 21> RigidityInertiaLimit;
    static const std::array<const char*, 21> RigidityPositionGain;

    // --- What the document asks of the program (its host forwards here) -------------------------
    bool IsConnected() const;
    bool ReadRegister(int address, int& value);
    void FillContext(CatalogueContext& context) const;
    void OnSeriesChanged(int seriesCode);

    // --- Framework -------------------------------------------------------------------------------
    void OnInitialUpdate() override;
    void OnDestroy();
    void OnTimer(UINT_PTR id);
    void OnDraw(CDC* dc) override;

    // Commands.
    void OnConnect();
    void OnDisconnect();
    void OnEditParameter();
    void OnCopyToDevice();   // memory image file -> drive
    void OnCopyToComputer(); // drive -> memory image file
    void OnUpdateViewCommand(CCmdUI* ui);

private:
    void LinkSupervisionTick();
    void ServoStatusTick();
    // Closes the port and clears the link flags after a failed cycle or re-check, and tells the user
    // once.
    void DropLink(bool showMessage);
    void ShowLostLinkMessage();
    // Opens, sets up and probes the port of the entry; leaves ConnectedFlag set on success.
    void OpenAndProbe(const std::string& entry);
    void CheckSeries();
    void ReadDriveWords();
    void RefreshPanes(std::initializer_list<int> panes);
    void RefreshAllPanes();
    // Reads a register into value; false when not connected or the read failed.
    bool ReadWord(int address, int& value);
    bool ReadParameterWord(const char* code, int fallbackAddress, int& value);
    // One "R1" exchange whatever the link state (the connect and the re-check probe with it).
    bool ProbeWord(int address, int& value);
    // dn-04 (kept as the drive's version), then dn-03.
    bool ProbeVersionAndDn03(int& dn03);
    void StoreVersion(int version);

    CTransferProgress progress_;
};
