#include "shell/ui/KeloServoView.h"

#include "catalogue/DocArchive.h"
#include "catalogue/DocumentGlobals.h"
#include "catalogue/MemoryImage.h"
#include "catalogue/ParamTexts.h"
#include "catalogue/RegisterMap.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/App.h"
#include "framework/ui/CmdUI.h"
#include "framework/ui/DC.h"
#include "framework/ui/FileDialog.h"
#include "link/LinkState.h"
#include "link/SerialExt.h"
#include "link/services/TransferPass.h"
#include "online/ui/OnLineParaEditDlg.h"
#include "paramedit/ParaCustomDlg.h"
#include "paramedit/ParaEditDlg.h"
#include "resources/ids/mainframe.h"
#include "resources/ids/shell.h"
#include "shell/PortChoice.h"
#include "shell/ShellGlobals.h"
#include "shell/monitor/MonAnDlg.h"
#include "shell/monitor/MonDnDlg.h"
#include "shell/monitor/MonitorLifeDialog.h"
#include "shell/ui/ConnectRules.h"
#include "shell/ui/KeloServoApp.h"
#include "shell/ui/KeloServoDocument.h"
#include "shell/ui/LinkComPort.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ShellLinkState.h"
#include "trace/ThreadStop.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <utility>

namespace {

// Registers the connect and the status refresh read.
constexpr int RegControlMode = 0x1702;
constexpr int RegServoStatus = 0x1703;
constexpr int RegFeatureStatus = 0x170A;
constexpr int RegEncoderLow = 0x1706;
constexpr int RegEncoderHigh = 0x1707;
constexpr int RegFirstTypeWord = 0x171B;
constexpr int RegSecondTypeWord = 0x171C;
constexpr int RegModelWord = 0x171D;
constexpr int RegDriveId = 0x171E;
constexpr int RegDn03 = 0x0F03;
constexpr int RegDn04 = 0x0F04;
constexpr int RegMotorCode = 0x0F08;
constexpr int RegMotorMaxSpeed = 0x1101;
constexpr int RegC12 = 0x0C12;
constexpr int RegLimitPlus = 0x0C1B;
constexpr int RegLimitMinus = 0x0C1C;
constexpr int RegMotorParameter = 0x0021;
constexpr int RegAlarm = 0x1711;

// The register of a parameter code; the fallback (-1: none) when the catalogue has no register.
int RegisterOf(const char* code, int fallback) {
    const auto address = ParamCodeRegisterAddress(code);
    return address ? *address : fallback;
}

std::string Text(int id) {
    return LoadResString(id);
}

// The view that LinkLost's notice reaches (none before the first view is up or after it went).
std::atomic<HWND> LinkNoticeWindow{nullptr};

int Signed16(int word) {
    return static_cast<int16_t>(static_cast<uint16_t>(word));
}

} // namespace

const RigidityTable CKeloServoView::RigidityPn310 = {"2",   "3",   "6",   "9",   "12",  "15",  "20",
                                                     "30",  "40",  "50",  "60",  "70",  "85",  "100",
                                                     "120", "140", "160", "180", "200", "225", "250"};
const RigidityTable CKeloServoView::RigiditySn211 = RigidityPn310;
const RigidityTable CKeloServoView::RigiditySn212 = {"28000", "19000", "9000", "6000", "6000", "6000", "4500",
                                                     "3000",  "2000",  "1600", "1500", "1000", "1000", "800",
                                                     "800",   "600",   "600",  "500",  "500",  "400",  "400"};
const RigidityTable CKeloServoView::RigidityCn034 = {"16",  "24",   "48",   "72",   "96",   "120",  "160",
                                                     "240", "320",  "400",  "480",  "560",  "680",  "800",
                                                     "960", "1120", "1280", "1440", "1600", "1800", "2000"};
const RigidityTableSet CKeloServoView::RigidityTables = {&RigidityPn310, &RigiditySn211, &RigiditySn212,
                                                         &RigidityCn034};

CKeloServoView::CKeloServoView() {
    Progress = &progress_;
    OwnerLife = CWnd::Life();
    PeekAndPump = [this] { PeekAndPumpOnce(); };
    // The window that sent the stop told the user; the lost-link box would be a second message.
    Stops.OnUnanswered = [this] { DropLink(std::string()); };
}

CKeloServoView::~CKeloServoView() {
    Progress = nullptr;
}

const MessageMap* CKeloServoView::GetMessageMap() const {
    static const MessageMap map(
        CView::GetMessageMap(),
        {
            msg::Destroy(&CKeloServoView::OnDestroy),
            msg::Timer(&CKeloServoView::OnTimer),
            msg::Command(ID_CONNECT, &CKeloServoView::OnConnect),
            msg::Command(ID_PORT_SETTING, &CKeloServoView::OnConnect),
            msg::Command(ID_DISCONNECT, &CKeloServoView::OnDisconnect),
            msg::Command(ID_EDIT_PARAMETER, &CKeloServoView::OnEditParameter),
            msg::Command(ID_EDIT_ONLINE_PARAMETER, &CKeloServoView::OnEditOnlineParameter),
            msg::Command(ID_BOX_FUNCTION, &CKeloServoView::OnBoxFunction),
            msg::Command(ID_WAVE_TRACE, &CKeloServoView::OnWaveTrace),
            msg::Command(ID_COPY_TO_DEVICE, &CKeloServoView::OnCopyToDevice),
            msg::Command(ID_COPY_TO_COMPUTER, &CKeloServoView::OnCopyToComputer),
            msg::Command(ID_CUSTOM_PARAMETER, &CKeloServoView::OnCustomParameter),
            msg::Command(ID_ALARM_PARAMETERS, &CKeloServoView::OnAlarmParameters),
            msg::Command(ID_DIAGNOSTICS_PARAMETERS, &CKeloServoView::OnDiagnosticsParameters),
            msg::Command(ID_LIFE_PREDICTION, &CKeloServoView::OnLifePrediction),
            msg::Command(ID_DISPLAY_PARAMETER, &CKeloServoView::OnDisplayParameter),
            msg::Command(ID_STATUSBAR_SET, &CKeloServoView::OnStatusbarSet),
            msg::Command(ID_PROJECT_MODE, &CKeloServoView::OnProjectMode),
            msg::Command(ID_EDIT_RAM, &CKeloServoView::OnEditRam),
            msg::Command(ID_INSTALLATION_MANUAL, &CKeloServoView::OnInstallationManual),
            msg::Command(ID_SOFTWARE_RESET, &CKeloServoView::OnSoftwareReset),
            msg::Command(ID_FACTORY_RESET, &CKeloServoView::OnFactoryReset),
            msg::Command(ID_FILE_PRINT, &CKeloServoView::OnFilePrintCommand),
            msg::Command(ID_FILE_PRINT_PREVIEW, &CKeloServoView::OnFilePrintPreviewCommand),
            msg::Command(ID_SETUP_WIZARD, &CKeloServoView::OnSetupWizard),
            msg::Command(ID_SELF_BUILT_MOTOR, &CKeloServoView::OnSelfBuiltMotor),
            msg::Command(ID_POLE_ALIGNMENT, &CKeloServoView::OnPoleAlignment),
            msg::Command(ID_ACCESSORIES_SELECT, &CKeloServoView::OnAccessoriesSelect),
            msg::Command(ID_POSITION_CONTROL, &CKeloServoView::OnPositionControl),
            msg::Command(ID_MULTI_POSITION, &CKeloServoView::OnMultiPosition),
            msg::Command(ID_POSITION_PROGRAMMING, &CKeloServoView::OnPositionProgramming),
            msg::Command(ID_DIDO_CONTACT_SET, &CKeloServoView::OnDioContactSet),
            msg::Command(ID_PROGRAM_JOG, &CKeloServoView::OnProgramJog),
            msg::Command(ID_MECHANICAL_ANALYSIS, &CKeloServoView::OnMechanicalAnalysis),
            // Every command of the view asks the enabling rules; the rules leave the framework's
            // own commands alone.
            msg::UpdateCommandUIRange(ID_PORT_SETTING, ID_INERTIA_ESTIMATION,
                                      &CKeloServoView::OnUpdateViewCommand),
            msg::Message(WM_JOG_COMMAND, &CKeloServoView::OnJogCommand),
            msg::Command(ID_INERTIA_ESTIMATION, &CKeloServoView::OnInertiaEstimation),
            msg::Command(ID_JOG_MODE, &CKeloServoView::OnJogMode),
            msg::Command(ID_AUTO_GAIN_ADJUST, &CKeloServoView::OnAutoGainAdjust),
            msg::Command(ID_ONLINE_NOTCH, &CKeloServoView::OnOnlineNotch),
            msg::Command(ID_ONLINE_LOW_FREQUENCY, &CKeloServoView::OnOnlineLowFrequency),
            msg::Command(ID_RIGID_ADJUST, &CKeloServoView::OnRigidAdjust),
            msg::Command(ID_AUTO_OFFSET_ADJUST, &CKeloServoView::OnAutoOffsetAdjust),
            msg::Message(WM_ALARM_CLEAR, &CKeloServoView::OnAlarmClear),
            msg::Message(WM_STEP_MONITOR, &CKeloServoView::OnStepMonitor),
            msg::Message(WM_TRIPLE_VALUE_WRITE, &CKeloServoView::OnTripleValueWrite),
            msg::Message(WM_SINGLE_VALUE_WRITE, &CKeloServoView::OnSingleValueWrite),
            msg::Message(WM_LINK_LOST, &CKeloServoView::OnLinkLost),
            msg::Message(WM_CYCLE_READ, &CKeloServoView::OnCycleRead),
            msg::SetCursor(&CKeloServoView::OnSetCursor),
        });
    return &map;
}

CKeloServoDocument* CKeloServoView::GetKeloDocument() const {
    return dynamic_cast<CKeloServoDocument*>(m_pDocument);
}

CKeloServoDoc* CKeloServoView::GetDoc() const {
    return GetKeloDocument();
}

// ---- Framework ----------------------------------------------------------------------------------

void CKeloServoView::OnInitialUpdate() {
    CView::OnInitialUpdate();
    progress_.SetOwner(this);
    Document = GetDoc();
    // A loss may be found on an acquisition thread: the notice only posts, by handle, which is safe
    // from any thread and finds no window once this one has gone.
    LinkNoticeWindow = GetSafeHwnd();
    SetLinkLostNotice([] {
        if (HWND window = LinkNoticeWindow.load())
            ::PostMessage(window, WM_LINK_LOST);
    });
    // Posted by handle from the reader's thread, like the link's notice.
    cycleReader_ = std::make_unique<CBackgroundReader>(
        [window = GetSafeHwnd()] { ::PostMessage(window, WM_CYCLE_READ); });
    if (LinkOpenIndicator)
        RecheckLink();
    SetTimer(LinkSupervisionTimer, LinkSupervisionPeriodMs);
    // Newer drives answer fast enough for the quicker servo status poll.
    SetTimer(ServoStatusTimer, DriveSoftwareVersion > 57 || DriveFeatureLevel > 0 ? 400 : 800);
}

void CKeloServoView::OnDestroy() {
    // The cycle reader's reads use the view's members and the windows' plans: it stops first.
    if (cycleReader_)
        cycleReader_->Stop();
    // The feature windows hold on to the view's members: they go first, the graph windows (and
    // their reading threads) before all.
    CloseBoxWindow();
    CloseTraceWindow();
    WaitForKeptThreads();
    CloseToolDialogs();
    // A newer view may have taken the notice already.
    HWND mine = GetSafeHwnd();
    LinkNoticeWindow.compare_exchange_strong(mine, nullptr);
    KillTimer(LinkSupervisionTimer);
    KillTimer(ServoStatusTimer);
    progress_.Close();
    Document = nullptr;
}

void CKeloServoView::OnDraw(CDC* dc) {
    // The view is only a grey backdrop behind the feature windows.
    if (!dc || dc->IsPrinting())
        return;
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(client, ViewBackground);
}

void CKeloServoView::OnTimer(UINT_PTR id) {
    if (id == LinkSupervisionTimer)
        LinkSupervisionTick();
    else if (id == ServoStatusTimer)
        ServoStatusTick();
}

int CKeloServoView::PeekAndPumpOnce() {
    DispatchMessagesBetweenTransfers();
    return 1;
}

// ---- Reads --------------------------------------------------------------------------------------

bool CKeloServoView::ReadWord(int address, int& value) {
    if (!ConnectedFlag)
        return false;
    if (ModbusMode)
        return ModbusReadRegister(address, ModbusAsciiFlag, value);
    return ProbeWord(address, value);
}

bool CKeloServoView::ProbeWord(int address, int& value) {
    char request[8];
    BuildReadWord(request, static_cast<uint16_t>(address));
    return ReadWords(request, 8, 1, &value);
}

bool CKeloServoView::ReadParameterWord(const char* code, int fallbackAddress, int& value) {
    const int address = RegisterOf(code, fallbackAddress);
    return address >= 0 && ReadWord(address, value);
}

bool CKeloServoView::ReadDoubleWord(int address, int& value) {
    if (address < 0 || !ConnectedFlag)
        return false;
    if (!ModbusMode) {
        // One request carries both words, so they belong to the same moment.
        const std::optional<int> both = ReadDriveRegister32(address);
        if (!both)
            return false;
        value = *both;
        return true;
    }
    // Modbus reads a word per request: when the high word changed meanwhile the low word carried
    // over, and it is read again under the new high word.
    int high = 0, low = 0, highAfter = 0;
    if (!ReadWord(address + 1, high) || !ReadWord(address, low) || !ReadWord(address + 1, highAfter))
        return false;
    if (highAfter != high && !ReadWord(address, low))
        return false;
    value = static_cast<int32_t>((static_cast<uint32_t>(highAfter) << 16) | static_cast<uint32_t>(low));
    return true;
}

bool CKeloServoView::ProbeVersionAndDn03(int& dn03) {
    int version = 0;
    if (!ProbeWord(RegDn04, version))
        return false;
    StoreVersion(version);
    return ProbeWord(RegDn03, dn03);
}

void CKeloServoView::StoreVersion(int version) {
    DriveSoftwareVersion = version;
    if (CKeloServoDoc* doc = GetDoc())
        doc->m_DriveSoftwareVersion = version;
}

// ---- Connect ------------------------------------------------------------------------------------

void CKeloServoView::OnConnect() {
    Connect();
}

void CKeloServoView::OnDisconnect() {
    Disconnect();
}

void CKeloServoView::Connect() {
    CKeloServoApp* app = KeloServoApp();
    if (!app)
        return;
    ShellSettings& settings = app->Settings;
    // A link found lost and not yet shown so (a USB arrival can come first) goes down before this
    // Connect, which would otherwise take the link for open and disconnect.
    TakeLinkLoss();
    ViewBusyFlag = 1;
    CLinkComPort dialog(this);
    dialog.m_BaudIndex = settings.BaudRateIndex;
    dialog.m_PortText = app->AutoConnect.entry;
    dialog.m_LinkOpen = LinkOpenIndicator != 0;
    const bool automatic = app->AutoConnect.flag;
    std::string entry;
    int index = 0;
    int baudIndex = settings.BaudRateIndex;
    if (automatic) {
        entry = app->AutoConnect.entry;
        index = app->AutoConnect.index;
        SavePortChoice(entry);
    } else {
        dialog.m_PortIndex = settings.ComPort;
        if (dialog.DoModal() != IDOK || dialog.m_PortIndex == -1) {
            ViewBusyFlag = 0;
            return;
        }
        entry = dialog.m_PortText;
        index = dialog.m_PortIndex;
        baudIndex = dialog.m_BaudIndex;
    }

    const bool disconnecting = LinkOpenIndicator != 0;
    if (disconnecting) {
        // Connect while linked is the dialog's Disconnect.
        stopsAfterLoss_ = false;
        LinkOpenIndicator = 0;
        ConnectedFlag = 0;
        DriveIdentifiedFlag = 0;
        if (PortOpenFlag) {
            PortObject.Close();
            PortOpenFlag = 0;
        }
        RefreshAllPanes();
    } else {
        if (index != settings.ComPort || !ConnectedFlag || baudIndex != settings.BaudRateIndex || automatic) {
            settings.ComPort = index;
            settings.BaudRateIndex = BoundedBaudRateIndex(baudIndex);
            app->CurrentPortEntry = entry;
            if (PortOpenFlag) {
                PortObject.Close();
                ConnectedFlag = 0;
                PortOpenFlag = 0;
            }
            OpenAndProbe(entry);
        }
        if (ConnectedFlag)
            CheckSeries();
        if (ConnectedFlag) {
            ++LinkEpoch;
            ReadDriveWords();
            RefreshStatus();
        }
        if (!ConnectedFlag)
            RefreshAllPanes();
    }

    RefreshPanes({PaneLink});
    RefreshStatus();
    RefreshEditorAfterLink(!disconnecting);
    ReportKeptStops();
    if (automatic)
        app->AutoConnect.flag = false;
    else if (!disconnecting)
        dialog.SavePortChoice(); // a Disconnect chose no port: the remembered one stays

    ViewBusyFlag = 0;
}

void CKeloServoView::OpenAndProbe(const std::string& entry) {
    CKeloServoApp* app = KeloServoApp();
    const std::string device = PortDeviceOfEntry(entry);
    const int opened = PortObject.Open(device.c_str(), 9600, 500, 20000, 20000);
    if (opened == ErrAlreadyOpen) {
        SendKeptStops();
        if (ModbusMode)
            return;
        int dn03 = 0, version = 0;
        if (ProbeWord(RegDn03, dn03)) {
            if (CKeloServoDoc* doc = GetDoc())
                doc->m_Dn03Value = dn03;
            if (ProbeWord(RegDn04, version)) {
                ConnectedFlag = 1;
                LinkOpenIndicator = 1;
            }
        } else {
            ConnectedFlag = 0;
            if (PortOpenFlag) {
                PortObject.Close();
                PortOpenFlag = 0;
            }
        }
        return;
    }
    if (opened != ErrNone) {
        ConnectedFlag = 0;
        ShowMessage(Text(IDS_COMMUNICATE_ERROR) + "\n" + Text(IDS_CANT_OPEN_PORT),
                    Text(IDS_COMMUNICATION_MESSAGE), MB_OK | MB_ICONSTOP);
        return;
    }
    const int baud = BaudRateFromIndex(app->Settings.BaudRateIndex);
    const LineFormat format = LineFormatOf(ModbusMode != 0, app->Settings.ModbusFormat);
    PortObject.Setup(baud, format.dataBits, format.parity, format.stopBits);
    PortObject.SetupReadTimeouts(ReadEndsAtGap);
    PortObject.SetupHandshaking(HandshakeOff);
    PortObject.SetupReadTimer(baud, 177);
    PortOpenFlag = 1;
    SendKeptStops();
    auto refuse = [this](int textId) {
        PortObject.Close();
        ConnectedFlag = 0;
        PortOpenFlag = 0;
        ShowMessage(Text(textId), Text(IDS_COMMUNICATION_MESSAGE), MB_OK | MB_ICONSTOP);
    };

    if (ModbusMode) {
        int word = 0;
        if (!ModbusReadRegister(0, ModbusAsciiFlag, word)) {
            refuse(IDS_PC_SERVO_ERROR);
            return;
        }
        // A drive that answered the probe is linked; the transfers refuse everything otherwise.
        ConnectedFlag = 1;
        LinkOpenIndicator = 1;
        return;
    }

    CView::BeginWaitCursor();
    int dn03 = 0;
    const bool good = ProbeVersionAndDn03(dn03);
    CView::EndWaitCursor();
    if (!good) {
        refuse(IDS_PC_SERVO_ERROR);
        return;
    }
    CKeloServoDoc* doc = GetDoc();
    if (doc)
        doc->m_Dn03Value = dn03;
    ConnectedFlag = 1;
    LinkOpenIndicator = 1;
    int word = 0;
    if (ReadParameterWord("onU48", -1, word) && doc)
        doc->m_ExtendedVersion = word;
    if (ReadWord(RegMotorParameter, word) && doc)
        doc->m_ArchivedWord1 = word;
    int low = 0, high = 0;
    if (ReadWord(RegEncoderLow, low) && ReadWord(RegEncoderHigh, high))
        MotorEncoderResolution = high * 65536 + low;
}

void CKeloServoView::CheckSeries() {
    int modelWord = 0;
    if (!ReadWord(RegModelWord, modelWord)) {
        PortObject.Close();
        ConnectedFlag = 0;
        LinkOpenIndicator = 0;
        PortOpenFlag = 0;
        ShowMessage(Text(IDS_PC_SERVO_ERROR), Text(IDS_COMMUNICATION_MESSAGE), MB_OK | MB_ICONSTOP);
        return;
    }
    if (SeriesFromModelWord(modelWord, SeriesCode) != SeriesCode) {
        PortObject.Close();
        ConnectedFlag = 0;
        LinkOpenIndicator = 0;
        PortOpenFlag = 0;
        ShowMessage(Text(IDS_SERIES_MISMATCH), Text(IDS_COMMUNICATION_MESSAGE), MB_OK | MB_ICONSTOP);
    }
}

void CKeloServoView::ReadDriveWords() {
    DriveIdentifiedFlag = 1;
    int word = 0;
    if (ReadWord(RegLimitPlus, word))
        ForwardTorqueLimit = word;
    if (ReadWord(RegLimitMinus, word))
        ReverseTorqueLimit = Signed16(word);
    if (ReadWord(RegControlMode, word))
        DriveControlMode = word;
    DriveFeatureLevel = ReadWord(RegDriveId, word) ? word : 0;
    if (ReadWord(RegMotorCode, word) && word != ModelCode) {
        CKeloServoDoc* doc = GetDoc();
        CMainFrame* frame = KeloServoApp() ? KeloServoApp()->MainFrame() : nullptr;
        const bool keep = (doc && doc->IsModified()) || (frame && !frame->StoredPath().empty());
        if (keep) {
            ShowMessage(MotorTypeChangedText, std::string(), MB_OK);
        } else if (doc) {
            ModelCode = word;
            doc->InitSeriesDefaults();
            doc->InitDependentDefaults();
        }
    }
}

void CKeloServoView::Disconnect() {
    stopsAfterLoss_ = false;
    LinkOpenIndicator = 0;
    DisableAnalysisStart();
    if (ConnectedFlag) {
        ConnectedFlag = 0;
        DriveIdentifiedFlag = 0;
    }
    if (PortOpenFlag) {
        PortObject.Close();
        PortOpenFlag = 0;
    }
    if (!ConnectedFlag)
        RefreshAllPanes();
    RefreshPanes({PaneLink});
    RefreshEditorAfterLink(false);
}

void CKeloServoView::RecheckLink() {
    CKeloServoApp* app = KeloServoApp();
    ViewBusyFlag = 1;
    const std::string device = PortDeviceOfEntry(app ? app->CurrentPortEntry : std::string());
    const int opened = PortObject.Open(device.c_str(), 19200, 2048, 2048);
    if (opened == ErrAlreadyOpen) {
        SendKeptStops();
        int dn03 = 0;
        bool good;
        if (ModbusMode) {
            good = ModbusReadRegister(RegDn03, ModbusAsciiFlag, dn03);
        } else {
            good = ProbeWord(RegDn03, dn03);
        }
        if (good) {
            if (CKeloServoDoc* doc = GetDoc())
                doc->m_Dn03Value = dn03;
            ConnectedFlag = 1;
        } else {
            DropLink(LostLinkText());
        }
    } else if (opened != ErrNone) {
        // The port is gone from under the link: as lost as a drive that does not answer.
        DropLink(LostLinkText());
    } else {
        SetUpReopenedPort();
        PortOpenFlag = 1;
        SendKeptStops();
        int dn03 = 0;
        if (ProbeVersionAndDn03(dn03)) {
            if (CKeloServoDoc* doc = GetDoc())
                doc->m_Dn03Value = dn03;
            ConnectedFlag = 1;
            ++LinkEpoch; // the port was opened anew: it may lead to another drive
        } else {
            DropLink(LostLinkText());
        }
    }
    RefreshPanes({PaneLink});
    RefreshEditorAfterLink(false); // the same link, or none: the editor keeps its table
    ReportKeptStops();
    if (!ConnectedFlag) {
        RefreshPanes({0, 1, 2, 4, 5, 6});
        // Posted: the re-check may run inside a tick that is feeding these very windows.
        for (CWnd* window : std::array<CWnd*, 3>{DiagnosticsDialog, UnListDialog, AlarmDialog})
            if (window && IsWindow(window->GetSafeHwnd()))
                window->PostMessage(WM_COMMAND, IDCANCEL);
    }
    ViewBusyFlag = 0;
}

void CKeloServoView::SetUpReopenedPort() {
    CKeloServoApp* app = KeloServoApp();
    ShellSettings* settings = app ? &app->Settings : nullptr;
    if (settings && (settings->ModbusFormat < 0 || settings->ModbusFormat >= ModbusFormatCount))
        settings->ModbusFormat = 0;
    const int format = settings ? settings->ModbusFormat : 0;
    ModbusAsciiFlag = format <= 5 ? 1 : 0;
    const LineFormat line = LineFormatOf(ModbusMode != 0, format);
    PortObject.Setup(BaudRateFromIndex(settings ? settings->BaudRateIndex : DefaultBaudRateIndex),
                     line.dataBits, line.parity, line.stopBits);
    PortObject.SetupHandshaking(HandshakeOff);
}

bool CKeloServoView::ReopenLinkPort() {
    CKeloServoApp* app = KeloServoApp();
    if (!app || app->CurrentPortEntry.empty())
        return false;
    const std::string device = PortDeviceOfEntry(app->CurrentPortEntry);
    if (PortObject.Open(device.c_str(), 19200, 2048, 2048) != ErrNone)
        return false;
    SetUpReopenedPort();
    return true;
}

CStopKeeper::Delivery CKeloServoView::DeliverKeptStops() {
    // The services send only on a link: the kept stops are this port's first exchanges.
    const int connected = ConnectedFlag;
    ConnectedFlag = 1;
    CStopKeeper::Delivery delivery = Stops.SendKept();
    if (ConnectedFlag)
        ConnectedFlag = connected;
    return delivery;
}

void CKeloServoView::SendStopsAfterLoss(bool onTick) {
    // Never into a transfer or an acquisition that holds the line, nor while a connect is under way;
    // on a tick only when the keeper says a retry is due (a drive silent for long is asked less often).
    if (!stopsAfterLoss_ || ConnectedFlag || !Stops.HasKept() || AcquisitionThreadCount.load() > 0 ||
        (cycleReader_ && cycleReader_->Busy()) || (onTick && (ViewBusyFlag || !Stops.RetryDueOnTick())))
        return;
    // The link is down and its port closed: it is opened for the stops alone (the port may be gone).
    if (PortObject.IsOpen() || !ReopenLinkPort())
        return;
    const CStopKeeper::Delivery delivery = DeliverKeptStops();
    PortObject.Close();
    // Stops the drive refused are not sent again; those it did not answer are, on the next tick.
    if (onTick && !delivery.taken.empty())
        ShowMessage(CStopKeeper::DeliveryText({delivery.taken, {}}), CStopKeeper::Caption(),
                    MB_OK | MB_ICONINFORMATION);
}

void CKeloServoView::SendKeptStops() {
    if (!Stops.HasKept())
        return;
    const CStopKeeper::Delivery delivery = DeliverKeptStops();
    keptDelivery_.taken.insert(keptDelivery_.taken.end(), delivery.taken.begin(), delivery.taken.end());
    keptDelivery_.notTaken.insert(keptDelivery_.notTaken.end(), delivery.notTaken.begin(),
                                  delivery.notTaken.end());
}

void CKeloServoView::ReportKeptStops() {
    // Told once the link is up; a link that did not come up has its own message, and the stops that
    // got no answer stay kept for the next one.
    if (!ConnectedFlag || keptDelivery_.Empty())
        return;
    const CStopKeeper::Delivery delivery = std::exchange(keptDelivery_, {});
    ShowMessage(CStopKeeper::DeliveryText(delivery), CStopKeeper::Caption(),
                MB_OK | (delivery.notTaken.empty() ? MB_ICONINFORMATION : MB_ICONSTOP));
}

std::string CKeloServoView::LostLinkText() const {
    return Text(IDS_COMMUNICATE_ERROR) + "\n\n" + Text(IDS_DISCONNECT) + " !!";
}

void CKeloServoView::DropLink(const std::string& message) {
    ConnectedFlag = 0;
    linkLossPending_ = false;
    DisableAnalysisStart();
    PortObject.Close();
    PortOpenFlag = 0;
    LinkOpenIndicator = 0;
    Stops.LinkDropped();
    stopsAfterLoss_ = true;
    std::string text = message;
    if (!message.empty()) {
        SendStopsAfterLoss(false);
        // The one message says so when a motion may go on: its stop is still on its way.
        if (const std::vector<std::string> owed = Stops.KeptMotionsToTell(); !owed.empty())
            text += "\n\n" + CStopKeeper::StillOwedText(owed);
    }
    TuningWindowsLinkChanged();
    EnableBoxOnlineEdit();
    EnableTraceOnlineEdit();
    // The panes first: the box may stay open a while, and what lies behind it must be true.
    RefreshAllPanes();
    if (!text.empty())
        ShowMessage(text, Text(IDS_COMMUNICATION_MESSAGE), MB_OK | MB_ICONSTOP);
}

LRESULT CKeloServoView::OnLinkLost(WPARAM, LPARAM) {
    linkLossPending_ = true;
    TakeLinkLoss();
    return 0;
}

void CKeloServoView::TakeLinkLoss() {
    if (!linkLossPending_)
        return;
    if (ConnectedFlag) {
        linkLossPending_ = false; // a new link is up
        return;
    }
    if (!LinkOpenIndicator && !PortOpenFlag) {
        linkLossPending_ = false; // already shown down (a failed cycle, a refused connect)
        return;
    }
    RefreshAllPanes();
    // A transfer pass reports its failure first; the next supervision tick after it ends the link.
    if (ViewBusyFlag)
        return;
    DropLink(LostLinkText());
}

void CKeloServoView::OnDrivePortRemoved() {
    DropLink(Text(IDS_COMMUNICATE_ERROR) + "\n\n" + Text(IDS_USB_REMOVED) + "\n\n" + Text(IDS_DISCONNECT) +
             " !!");
}

std::string CKeloServoView::LinkedPortName() const {
    CKeloServoApp* app = KeloServoApp();
    if (!app || !PortOpenFlag)
        return {};
    return PortNameFromEntry(app->CurrentPortEntry);
}

// ---- Supervision --------------------------------------------------------------------------------

void CKeloServoView::LinkSupervisionTick() {
    SendStopsAfterLoss(true);
    TakeLinkLoss();
    if (!ConnectedFlag)
        return;
    // The re-check keeps off a line an acquisition thread holds: its probe would wait for the port
    // behind the block reads, and the window with it.
    if (!LinkOpenIndicator || LineBusy() || RecheckCounter < RecheckTickCount) {
        if (++RecheckCounter >= 1000)
            RecheckCounter = 0;
    } else {
        RecheckCounter = 0;
        RecheckLink();
    }
    ShowCycleReads();
    const bool readsOut = cycleReader_ && cycleReader_->Busy();
    if (ConnectedFlag && !ViewBusyFlag && !DioDialogBusyFlag && !readsOut) {
        ++MonitorCycleStep;
        if (AcquisitionThreadCount.load() > 0 && cycleReader_) {
            StartCycleReads();
        } else {
            ViewBusyFlag = 1;
            if (!MonitorCycle())
                DropLink(LostLinkText());
            ViewBusyFlag = 0;
        }
    }
    EnableBoxOnlineEdit();
}

void CKeloServoView::StartCycleReads() {
    const std::vector<CycleStep> steps = DueCycleSteps(true);
    const unsigned epoch = LinkEpoch;
    cycleReader_->Start([this, steps, epoch]() -> CBackgroundReader::Show {
        std::vector<std::function<void()>> shows;
        bool good = true;
        for (const CycleStep& step : steps) {
            CycleRead read = step();
            shows.push_back(std::move(read.show));
            if (!read.good) {
                good = false; // a failed step ends the cycle
                break;
            }
        }
        return [this, shows, good, epoch] {
            if (LinkEpoch != epoch)
                return; // read on an earlier link
            for (const std::function<void()>& show : shows)
                show();
            // A lost link also sends its notice; whichever comes first shows it, once. During a
            // transfer pass the notice waits for the pass.
            if (!good && !ViewBusyFlag && (LinkOpenIndicator || PortOpenFlag))
                DropLink(LostLinkText());
        };
    });
}

void CKeloServoView::ShowCycleReads() {
    if (!cycleReader_)
        return;
    if (const CBackgroundReader::Show show = cycleReader_->Take())
        show();
}

LRESULT CKeloServoView::OnCycleRead(WPARAM, LPARAM) {
    ShowCycleReads();
    return 0;
}

void CKeloServoView::ServoStatusTick() {
    // A transfer pass pumps messages between its requests: a read of ours would land in the middle
    // of it, so the tick waits for the next one after the pass (or the acquisition).
    if (!ConnectedFlag || LineBusy())
        return;
    if (!ToolWindowOpenFlags[ToolJog] && !ToolWindowOpenFlags[ToolProgJog])
        return;
    CBusyHold busy(*this);
    int word = 0;
    if (ReadWord(RegServoStatus, word))
        ServoOnFlag = word & 1;
}

std::vector<CycleStep> CKeloServoView::DueCycleSteps(bool offThread) {
    // The present steps in their order; only the due ones are made.
    std::vector<std::function<CycleStep()>> present;
    present.emplace_back([this] { return StatusStep(); });
    if (Readers.MonitorListWindow)
        present.emplace_back([this] { return Readers.MonitorDisplayStep(); });
    if (Readers.DiagnosticsWindow)
        present.emplace_back([this, offThread] { return Readers.DiagnosticsStep(offThread); });
    if (Readers.AlarmWindow)
        present.emplace_back([this, offThread] { return Readers.AlarmHistoryStep(offThread); });
    if (CustomAddressStep) {
        // The custom address window reads and keeps its values on this thread: off it, its turn
        // reads nothing (its own timer keeps off the line meanwhile as well).
        present.emplace_back([this, offThread]() -> CycleStep {
            if (offThread)
                return [] { return CycleRead{}; };
            return [step = CustomAddressStep] { return CycleRead{step() != 0, [] {}}; };
        });
    }
    if (Readers.LifeWindow) {
        ++Readers.LifeCycleCounter;
        if (Readers.LifeCycleCounter >= LifeCyclePeriod)
            present.emplace_back([this] { return Readers.LifeDataStep(); });
    }
    const int count = static_cast<int>(present.size());
    std::vector<CycleStep> due;
    if (!TraceWindowPresent) {
        for (const auto& make : present)
            due.push_back(make());
        MonitorCycleStep = 0;
        return due;
    }
    // One step a tick. A round of many windows would leave the status words (the alarm among them)
    // unread for longer than the user may wait to see an alarm: the status then takes every other
    // tick, and the windows share the rest.
    const bool statusBetween = count * LinkSupervisionPeriodMs > MaxAlarmAgeMs;
    const int round = statusBetween ? 2 * (count - 1) : count;
    const int index =
        !statusBetween ? MonitorCycleStep - 1 : (MonitorCycleStep % 2 ? 0 : MonitorCycleStep / 2);
    if (index >= 0 && index < count)
        due.push_back(present[static_cast<size_t>(index)]());
    if (MonitorCycleStep >= round)
        MonitorCycleStep = 0;
    return due;
}

int CKeloServoView::MonitorCycle() {
    for (const CycleStep& step : DueCycleSteps(false))
        if (!RunStepHere(step))
            return 0;
    return 1;
}

int CKeloServoView::RefreshStatus() {
    return RunStepHere(StatusStep());
}

namespace {

// The status words as one refresh read them, up to its first failed read.
struct StatusRead {
    std::optional<int> controlMode, servo, version, motor, onC18, feature, un01, un96, maxSpeed, c12, alarm,
        firstType, secondType;
    bool good = false;
};

} // namespace

CycleStep CKeloServoView::StatusStep() {
    const int featureLevel = DriveFeatureLevel;
    return [this, featureLevel]() -> CycleRead {
        if (!ConnectedFlag)
            return {false, [] {}};
        StatusRead w;
        const auto read = [this](int address, std::optional<int>& into) {
            int word = 0;
            if (ReadWord(address, word))
                into = word;
            return into.has_value();
        };
        const auto readParameter = [this](const char* code, int fallback, std::optional<int>& into) {
            int word = 0;
            if (ReadParameterWord(code, fallback, word))
                into = word;
            return into.has_value();
        };
        [&] {
            if (!read(RegControlMode, w.controlMode) || !read(RegServoStatus, w.servo) ||
                !read(RegDn04, w.version))
                return;
            read(RegMotorCode, w.motor);
            readParameter("onC18", RegC12, w.onC18);
            read(RegFeatureStatus, w.feature);
            if (!w.motor || !readParameter("Un-01", -1, w.un01))
                return;
            // The position is a 32-bit count: one word of it wraps at +-32767.
            int position = 0;
            if (!ReadDoubleWord(RegisterOf("Un-96", -1), position))
                return;
            w.un96 = position;
            if (!read(RegMotorMaxSpeed, w.maxSpeed) || !read(RegC12, w.c12) ||
                !readParameter("AL01", RegAlarm, w.alarm))
                return;
            // Older drives have no limit and power words: their panes show the normal states.
            if (*w.version > 56 || featureLevel > 0) {
                if (!read(RegFirstTypeWord, w.firstType) || !read(RegSecondTypeWord, w.secondType))
                    return;
            } else {
                w.firstType = 0;
                w.secondType = 1;
            }
            w.good = true;
        }();
        return {w.good, [this, w] {
                    CKeloServoDoc* doc = GetDoc();
                    if (w.controlMode) {
                        DriveControlMode = *w.controlMode;
                        RefreshPanes({PaneControlMode});
                    }
                    if (w.servo) {
                        ServoOnFlag = *w.servo & 1;
                        RefreshPanes({PaneServoStatus});
                    }
                    if (w.version) {
                        StoreVersion(*w.version);
                        RefreshPanes({PaneVersion});
                    }
                    if (w.onC18 && doc)
                        doc->m_OnC18Status = *w.onC18;
                    if (w.feature)
                        FeatureStatusWord = *w.feature;
                    if (w.un01) {
                        if (doc)
                            doc->m_Un[0] = Signed16(*w.un01);
                        RefreshPanes({PaneActualSpeed});
                        EncoderPulsesPerTurn = EncoderPulses(*w.motor);
                        ModelCode = *w.motor;
                    }
                    if (w.un96) {
                        if (doc)
                            doc->m_Un[95] = *w.un96;
                        RefreshPanes({PaneActualPosition});
                    }
                    if (w.maxSpeed)
                        MotorMaxSpeed = *w.maxSpeed;
                    if (w.c12)
                        RegisterC12Nibble = *w.c12 & 0xF;
                    if (w.alarm) {
                        CurrentAlarmCode = *w.alarm;
                        RefreshPanes({PaneMessage});
                    }
                    if (w.firstType) {
                        FirstTypeWord = *w.firstType;
                        RefreshPanes({PaneLimit});
                    }
                    if (w.secondType) {
                        SecondTypeWord = *w.secondType;
                        RefreshPanes({PanePower});
                    }
                }};
    };
}

void CKeloServoView::CloseToolDialogs() {
    // Each window clears its own pointer as it closes.
    const std::array<CWnd*, 6> windows = {AlarmDialog,  DiagnosticsDialog, LifeDialog,
                                          UnListDialog, EditorWindow,      CustomWindow};
    for (CWnd* window : windows)
        if (window && IsWindow(window->GetSafeHwnd()))
            window->SendMessage(WM_COMMAND, IDCANCEL);
    CloseTuningWindows();
    // The box viewer takes its close path: its thread stops and the object goes.
    CloseBoxWindow();
    // The online editor ignores Cancel (Esc must not close it); it closes as its close box does.
    if (OnlineEditorWindow && IsWindow(OnlineEditorWindow->GetSafeHwnd()))
        OnlineEditorWindow->SendMessage(WM_CLOSE);
}

void CKeloServoView::RefreshPanes(std::initializer_list<int> panes) {
    CKeloServoApp* app = KeloServoApp();
    CMainFrame* frame = app ? app->MainFrame() : nullptr;
    if (!frame)
        return;
    for (int pane : panes)
        frame->RefreshStatusPane(pane);
}

void CKeloServoView::RefreshAllPanes() {
    // Every pane: the limit and power panes show the link's state as much as the others.
    RefreshPanes({0, 1, 2, 3, 4, 5, 6, 7, 8});
}

// ---- Commands -----------------------------------------------------------------------------------

void CKeloServoView::OnCopyToComputer() {
    CKeloServoDoc* doc = GetDoc();
    if (!ConnectedFlag || !doc)
        return;
    CFileDialog dialog(FALSE, "dat", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       "Kelo Servo Files (*.dat)|*.dat||", this);
    if (dialog.DoModal() != IDOK)
        return;
    if (!ReadMemoryImage())
        return;
    if (!ExportMemoryImage(dialog.GetPathName(), doc->m_MemoryImage[0]))
        ShowMessage("Cannot save the file \"" + dialog.GetPathName() + "\".", std::string(),
                    MB_OK | MB_ICONEXCLAMATION);
}

void CKeloServoView::OnCopyToDevice() {
    CKeloServoDoc* doc = GetDoc();
    if (!ConnectedFlag || !doc)
        return;
    CFileDialog dialog(TRUE, "dat", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                       "Kelo Servo Files (*.dat)|*.dat|All Files (*.*)|*.*||", this);
    if (dialog.DoModal() != IDOK)
        return;
    const MemoryImageImport result = ImportMemoryImage(dialog.GetPathName(), doc->m_MemoryImage[0]);
    if (!result.valid) {
        ShowMessage(Text(IDS_MEMORY_IMAGE_INVALID), std::string(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    WriteMemoryImage();
}

// ---- DocumentHost -------------------------------------------------------------------------------

bool CKeloServoView::IsConnected() const {
    return ConnectedFlag != 0;
}

bool CKeloServoView::ReadRegister(int address, int& value) {
    if (!ReadWord(address, value))
        return false;
    if (IsSignedRegister(address))
        value = static_cast<int16_t>(value);
    return true;
}

void CKeloServoView::FillContext(CatalogueContext& context) const {
    context.connected = ConnectedFlag != 0;
    context.driveIdWord = DriveFeatureLevel;
    context.driveControlMode = DriveControlMode;
    context.featureStatusWord = FeatureStatusWord;
    context.brandMode = BrandMode;
    context.debugMode = DebugModeFlag != 0;
}

void CKeloServoView::OnSeriesChanged(int seriesCode) {
    if (CKeloServoApp* app = KeloServoApp())
        app->ShowSeriesTitle(seriesCode);
    if (LinkOpenIndicator || PortOpenFlag) {
        PortObject.Close();
        ConnectedFlag = 0;
        PortOpenFlag = 0;
        LinkOpenIndicator = 0;
    }
    RefreshAllPanes();
    RefreshPanes({PaneLink});
}
