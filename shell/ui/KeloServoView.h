#pragma once
// CKeloServoView: the one view of the one document type. It owns the drive link for the whole
// program: it opens the drive port, identifies the drive and refuses one of another series, keeps
// ConnectedFlag, supervises the link with its two timers, runs the monitor cycle over the open
// monitor windows and refreshes the drive's status words for the status bar. Every window reaches
// the drive through its register services.
#include "box/BoxKeptSettings.h"
#include "box/ui/BoxViewLink.h"
#include "catalogue/CatalogueContext.h"
#include "framework/core/Sync.h"
#include "framework/ui/View.h"
#include "link/services/BackgroundReader.h"
#include "link/services/MonitorReaders.h"
#include "link/services/RegisterServices.h"
#include "online/ui/OnlineViewLink.h"
#include "paramedit/DefinedList.h"
#include "paramedit/ParaEditViewLink.h"
#include "paramedit/TransferProgress.h"
#include "shell/CommandRules.h"
#include "shell/monitor/MonUnAPDlg.h"
#include "shell/monitor/ParameterTablePrinter.h"
#include "trace/ui/TraceViewLink.h"
#include "tuning/ui/TuningViewLink.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CKeloServoDocument;
class CKeloServoDoc;
class CParaEditDlg;
class CParaCustomDlg;
class CMonAnDlg;
class CMonDnDlg;
class CMonitorLifeDialog;
class COnLineParaEditDlg;
class CPosAllDlg;
class CMulPosDlg;
class CProgramJogDlg;
class IPositionToolsLink;
class CUn45JogDlg;
class CJogDlg;
class CJogAutotuningDlg;
class CNotchDlg;
class CLowfreDlg;
class CJOGRigidityDlg;
class CAutoOffsetDialog;
class CFRADlg;
class CBOXDlg;
class CTraceGraphDlg;

// Private messages the tool windows send the view.
inline constexpr UINT WM_JOG_COMMAND = 0x784;
inline constexpr UINT WM_STEP_MONITOR = 0x914;
inline constexpr UINT WM_TRIPLE_VALUE_WRITE = 0x8B0;
inline constexpr UINT WM_SINGLE_VALUE_WRITE = 0x84C;
// The link found the link lost (LinkLost, from any thread); the view shows it down.
inline constexpr UINT WM_LINK_LOST = WM_APP + 0x114;
// The cycle's reads made while an acquisition held the line are in; the view shows them.
inline constexpr UINT WM_CYCLE_READ = WM_APP + 0x115;

// The step dialog that WM_STEP_MONITOR drives.
class IStepDialog {
public:
    virtual ~IStepDialog() = default;
    // Only code StepValueCode carries a value to show.
    virtual void ShowStepValue(int value, int code) = 0;
    virtual void ShowWaitHint() = 0;
    virtual void EnableOkCancel() = 0;
};
inline constexpr int StepValueCode = 844;

// A window showing values the view wrote and read back, by field id.
class IValueFieldWindow {
public:
    virtual ~IValueFieldWindow() = default;
    virtual void ShowFieldValue(int fieldId, int value) = 0;
};

// The view's own colour outside printing.
inline constexpr COLORREF ViewBackground = 0x808080;

// The installation manual, a PDF beside the program.
inline constexpr const char* InstallationManualName = "KeloServo-Installation-Manual.pdf";

constexpr UINT_PTR LinkSupervisionTimer = 1114;
constexpr UINT LinkSupervisionPeriodMs = 800;
// The longest a drive alarm may wait to be read while the monitor cycle goes one step a tick.
constexpr UINT MaxAlarmAgeMs = 3000;
constexpr UINT_PTR ServoStatusTimer = 1117;
// The life data are read at most once in this many monitor cycles.
constexpr int LifeCyclePeriod = 75;
// A linked, idle view re-checks the link after this many supervision ticks.
constexpr int RecheckTickCount = 10;

class CKeloServoView : public CView, public CRegisterServices {
    // The parameter editor's hold on the view (the view's own Document member would clash with the
    // link's Document()).
    class EditorLink : public IParaEditViewLink {
    public:
        explicit EditorLink(CKeloServoView& view) : view_(view) {}
        CRegisterServices& Services() override { return view_; }
        CKeloServoDoc* Document() override;
        bool SaveDocument() override;
        void EditorClosed() override;
        int MotorMaxSpeed() const override;
        void SetEncoderPulsesPerTurn(int pulses) override;
        DefinedList& DefinedParameters() override;

    private:
        CKeloServoView& view_;
    };
    // The online editors' hold on the view.
    class OnlineLink : public IOnlineViewLink {
    public:
        explicit OnlineLink(CKeloServoView& view) : view_(view) {}
        CRegisterServices& Services() override { return view_; }
        CKeloServoDoc* Document() override;
        CatalogueContext Context() const override;
        const RigidityTableSet& RigidityTables() const override { return CKeloServoView::RigidityTables; }
        void SetMotorMaxSpeed(int value) override;
        void OnlineEditorClosed(COnLineParaEditDlg* editor) override;

    private:
        CKeloServoView& view_;
    };

    // The jog and tuning windows' hold on the view.
    class TuningLink : public ITuningViewLink {
    public:
        explicit TuningLink(CKeloServoView& view) : view_(view) {}
        CRegisterServices& Services() override { return view_; }
        CKeloServoDoc* Document() override;
        int RefreshStatus() override { return view_.RefreshStatus(); }
        void OpenOnlineEditor(CWnd* owner) override { view_.OpenOnlineEditor(owner); }
        CWnd* CommandWindow() override { return &view_; }
        bool CanRunAnalysis() const override { return true; }
        void RunAnalysis() override { view_.OnMechanicalAnalysis(); }

    private:
        CKeloServoView& view_;
    };

    // The box viewer's hold on the view.
    class BoxLink : public IBoxViewLink {
    public:
        explicit BoxLink(CKeloServoView& view) : view_(view) {}
        CRegisterServices& Services() override { return view_; }
        CKeloServoDoc* Document() override;
        CSyncObject& LinkMutex() override { return view_.LinkMutex; }
        BoxKeptSettings& KeptSettings() override { return view_.BoxSettings; }
        bool SettingsKept() const override { return view_.BoxSettingsKept != 0; }
        void SetSettingsKept() override { view_.BoxSettingsKept = 1; }
        void SetAlternateTraceRead(int value) override { view_.AlternateTraceReadFlag = value; }
        void SetBoxCapture(int value) override { view_.BoxCaptureFlag = value; }
        int StatusValueD4() override;
        void OpenOnlineEditor(CWnd* owner) override;
        void BoxWindowClosed(CBOXDlg* window) override;

    private:
        CKeloServoView& view_;
    };

    // The wave trace window's hold on the view.
    class TraceLink : public ITraceViewLink {
    public:
        explicit TraceLink(CKeloServoView& view) : view_(view) {}
        CRegisterServices& Services() override { return view_; }
        CSyncObject& LinkLock() override { return view_.LinkMutex; }
        TraceSettings& Settings() override { return view_.TraceSetup; }
        CKeloServoDoc* Document() override;
        void TraceAcquiringChanged(bool acquiring) override { view_.TraceAcquiring = acquiring; }
        void OpenOnlineEditorFor(CWnd* owner) override;
        void TraceWindowClosed(CTraceGraphDlg* window) override;

    private:
        CKeloServoView& view_;
    };

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
    // The box record viewer (null when none; ToolWindowOpenFlags[ToolBox] is its open flag), the
    // settings kept for the next one, and the flags the trace window's thread reads.
    CBOXDlg* BoxWindow = nullptr;
    BoxKeptSettings BoxSettings;
    uint8_t BoxSettingsKept = 0;
    int AlternateTraceReadFlag = 0;
    int BoxCaptureFlag = 0;
    // The wave trace window the view holds (null when none), the trace set-up it keeps between
    // windows, and the trace's redisplay and read-resume flags.
    CTraceGraphDlg* TraceWindow = nullptr;
    TraceSettings TraceSetup;
    bool TraceRedisplayFlag = false;
    bool TraceReadResumeFlag = false;
    // The custom address window's monitoring step, while that window monitors (0 on a failed read).
    std::function<int()> CustomAddressStep;
    // Words of the status refresh the status bar shows.
    int FirstTypeWord = 0;
    int SecondTypeWord = 1;
    // Text tables of the rigidity rule: what each Cn026 level writes to Pn310, Sn211, Sn212 and
    // Cn034 (entry n - 1 for level n).
    static const RigidityTable RigidityPn310;
    static const RigidityTable RigiditySn211;
    static const RigidityTable RigiditySn212;
    static const RigidityTable RigidityCn034;
    static const RigidityTableSet RigidityTables;

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
    // Edit Online Parameter: the one editor the view keeps, brought to the front when it exists.
    void OnEditOnlineParameter();
    // A new online editor owned by a tool window (jog, trace, box); the view does not keep it.
    COnLineParaEditDlg* OpenOnlineEditor(CWnd* owner);
    // Box Function: the one box viewer, brought to the front when it exists.
    void OnBoxFunction();
    // Closes the box viewer through its close path (its reading thread stops first).
    void CloseBoxWindow();
    // The box viewer's "Online Parameter Editing" button follows the link.
    void EnableBoxOnlineEdit();
    // Wave Trace: a held window is closed through its close path (stopping it) before a new one opens.
    void OnWaveTrace();
    // Closes the trace window the view holds, stopping its acquisition first.
    void CloseTraceWindow();
    // The trace window's "Online Parameter Editing" button follows the link.
    void EnableTraceOnlineEdit();
    void OnCopyToDevice();   // memory image file -> drive
    void OnCopyToComputer(); // drive -> memory image file
    void OnUpdateViewCommand(CCmdUI* ui);
    void OnCustomParameter();
    void OnAlarmParameters();
    void OnDiagnosticsParameters();
    void OnLifePrediction();
    void OnDisplayParameter();
    void OnStatusbarSet();
    void OnProjectMode();
    void OnEditRam();
    void OnInstallationManual();
    void OnSoftwareReset();
    void OnFactoryReset();
    void OnFilePrintCommand();
    void OnFilePrintPreviewCommand();
    // Teaching Parameter Setting Wizard: a local wizard on the document's values.
    void OnSetupWizard();
    // Self-built motor data, encoder pole alignment, accessories selection (KeloServoViewMotor.cpp).
    void OnSelfBuiltMotor();
    void OnPoleAlignment();
    void OnAccessoriesSelect();
    // Mechanical Characteristic Analysis: the modal analysis window, refused while the servo is on.
    void OnMechanicalAnalysis();
    // The link went: the running analysis window's Start goes grey.
    void DisableAnalysisStart();
    BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    // The position tools (KeloServoViewPosition.cpp).
    void OnPositionControl();
    void OnMultiPosition();
    void OnPositionProgramming();
    void OnDioContactSet();
    void OnProgramJog();

    // Messages of the tool windows.
    LRESULT OnJogCommand(WPARAM code, LPARAM speed);
    // Jog and tuning windows (KeloServoViewTuning.cpp).
    void OnInertiaEstimation();
    void OnJogMode();
    void OnAutoGainAdjust();
    void OnOnlineNotch();
    void OnOnlineLowFrequency();
    void OnRigidAdjust();
    void OnAutoOffsetAdjust();
    // The link opened, closed or went: the tuning windows enable their write buttons by it and a
    // held jog button lets go.
    void TuningWindowsLinkChanged();
    // WM_JOG_COMMAND code 1: the JOG window shows the jog speed read now.
    void FillJogSpeed();
    LRESULT OnAlarmClear(WPARAM code, LPARAM);
    LRESULT OnStepMonitor(WPARAM code, LPARAM);
    LRESULT OnTripleValueWrite(WPARAM which, LPARAM value);
    LRESULT OnSingleValueWrite(WPARAM which, LPARAM value);
    // Clears the nine past alarms of the drive's history; 1 when the drive accepted.
    int ClearAlarmHistory();
    // Sends the drive's restart frame (no answer comes).
    void SendRestartFrame();

    // Printing of the parameter tables.
    BOOL OnPreparePrinting(CPrintInfo* info) override;
    void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr) override;
    void OnPrint(CDC* dc, CPrintInfo* info) override;
    // Whether the printer's default settings are there (the print commands need them).
    std::function<bool()> PrinterAvailable = [] { return true; };

    // Feature windows the view holds (null when none); each clears its own entry when it closes.
    CParaEditDlg* EditorWindow = nullptr;
    CParaCustomDlg* CustomWindow = nullptr;
    COnLineParaEditDlg* OnlineEditorWindow = nullptr;
    CPosAllDlg* PositionWindow = nullptr;
    CMulPosDlg* MultiPositionWindow = nullptr;
    CProgramJogDlg* ProgramJogWindow = nullptr;
    CMonAnDlg* AlarmDialog = nullptr;
    CMonDnDlg* DiagnosticsDialog = nullptr;
    CMonitorLifeDialog* LifeDialog = nullptr;
    CMonUnAPDlg* UnListDialog = nullptr;
    CUn45JogDlg* InertiaWindow = nullptr;
    CJogDlg* JogWindow = nullptr;
    CJogAutotuningDlg* AutoGainWindow = nullptr;
    CNotchDlg* NotchWindow = nullptr;
    CLowfreDlg* LowFrequencyWindow = nullptr;
    CJOGRigidityDlg* RigidityWindow = nullptr;
    CAutoOffsetDialog* AutoOffsetWindow = nullptr;
    // The analysis window while it runs (modal, on the command's stack).
    CFRADlg* AnalysisWindow = nullptr;
    // What the status list window leaves behind for the next one.
    UnListState UnList;
    // The editor's defined-parameter list (the settings file keeps it).
    DefinedList DefinedParams;
    // Step procedure and value windows (no window of the program sets these yet).
    IStepDialog* StepDialogPointer = nullptr;
    bool StepWatching = false;
    int StepValue = 0;
    IValueFieldWindow* TripleValueWindow = nullptr;
    IValueFieldWindow* SingleValueWindow = nullptr;
    CParameterTablePrinter TablePrinter;

private:
    // Whether the print commands may go on; tells the user when not.
    bool PrinterReady();
    // Makes an existing window visible and active; false when the view holds none that still exists.
    static bool ReactivateWindow(CWnd* window);
    // Creates a monitor window the view made with new; the open flag and pointer are set on success.
    template <class Window> void OpenMonitorWindow(Window*& pointer, Window* window, ToolWindow flag);
    // The editor shows the link state; after a new link it also builds its table again.
    void RefreshEditorAfterLink(bool newLink);
    // Writes a Cn parameter by group and number and reads it back; the value read or nothing.
    std::optional<int> WriteAndReadBack(int number, int value);

    // Sends the stops kept while the link was down, before anything else goes out on a port just
    // opened; the delivery is told once the link is known to be up (ReportKeptStops).
    void SendKeptStops();
    void ReportKeptStops();
    CStopKeeper::Delivery keptDelivery_;
    // The kept stops on the line itself; what the drive made of them.
    CStopKeeper::Delivery DeliverKeptStops();
    // After a lost link the stops of the runs that went on are sent on the line of that link, at once
    // and then on every supervision tick until the drive takes them, whether or not the user connects
    // again (a disconnect the user asked for ends that). A stop taken on a tick is told once; one
    // taken at once needs no words beside the lost-link message.
    void SendStopsAfterLoss(bool onTick);
    bool stopsAfterLoss_ = false;
    // Opens the port of the current entry again with the line settings of the link.
    bool ReopenLinkPort();
    void SetUpReopenedPort();

    void LinkSupervisionTick();
    void ServoStatusTick();
    // The steps of this tick's monitor cycle, made now (MonitorCycleStep moves on); offThread: their
    // reads will be made by the cycle reader.
    std::vector<CycleStep> DueCycleSteps(bool offThread);
    CycleStep StatusStep();
    // While an acquisition thread holds the line the cycle's reads wait for the port on the cycle
    // reader's thread, never on this one; their result is shown here when it comes (OnCycleRead, or
    // the next tick, whichever is first), and no cycle starts while one is out.
    void StartCycleReads();
    void ShowCycleReads();
    LRESULT OnCycleRead(WPARAM, LPARAM);
    // The lost-link sequence, the one way the link goes down when it was not asked to: port closed,
    // link flags cleared, the windows told, every status pane showing the link down, and the user
    // told once with the text given ("" when the window whose exchange failed has told him; its stop
    // is then tried again on the next tick, not at once into a drive that just did not answer).
    void DropLink(const std::string& message);
    std::string LostLinkText() const;
    // LinkLost's notice, and what takes it on the user-interface thread: a loss found by a window's
    // exchange (or an acquisition thread's) runs the lost-link sequence, once no transfer pass holds
    // the view (the pass reports its own failure first); until then the panes already show it.
    LRESULT OnLinkLost(WPARAM, LPARAM);
    void TakeLinkLoss();
    bool linkLossPending_ = false;
    // Opens, sets up and probes the port of the entry; leaves ConnectedFlag set on success.
    void OpenAndProbe(const std::string& entry);
    void CheckSeries();
    void ReadDriveWords();
    void RefreshPanes(std::initializer_list<int> panes);
    void RefreshAllPanes();
    // Reads a register into value; false when not connected or the read failed.
    bool ReadWord(int address, int& value);
    bool ReadParameterWord(const char* code, int fallbackAddress, int& value);
    // A 32-bit value from its two registers (low word at address); false when address is -1.
    bool ReadDoubleWord(int address, int& value);
    // One "R1" exchange whatever the link state (the connect and the re-check probe with it).
    bool ProbeWord(int address, int& value);
    // dn-04 (kept as the drive's version), then dn-03.
    bool ProbeVersionAndDn03(int& dn03);
    void StoreVersion(int version);

    CTransferProgress progress_;
    EditorLink editorLink_{*this};
    OnlineLink onlineLink_{*this};
    // The position tools' hold on the view (made on first use).
    IPositionToolsLink& PositionLink();
    std::shared_ptr<IPositionToolsLink> positionLink_;
    TuningLink tuningLink_{*this};
    // Closes the jog and tuning windows (the view is going).
    void CloseTuningWindows();
    // The stroke jog windows open only with the servo off (tells the user when it is on).
    bool ServoOnRefusesStrokeJog();
    // Reports a jog stop or servo-off the drive refused, once per refusal run.
    void ReportJogRefusal(int textId);
    bool jogRefusalShown_ = false;
    BoxLink boxLink_{*this};
    TraceLink traceLink_{*this};
    // Last: it stops (its reads use the members above) before anything else of the view goes.
    std::unique_ptr<CBackgroundReader> cycleReader_;
};
