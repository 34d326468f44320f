#include "shell/ui/MainFrame.h"

#include "catalogue/DocumentGlobals.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/PortEnumeration.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/DC.h"
#include "framework/ui/DeviceChange.h"
#include "framework/ui/FileDialog.h"
#include "link/LinkState.h"
#include "link/SerialExt.h"
#include "resources/ids/mainframe.h"
#include "resources/ids/shell.h"
#include "shell/PortChoice.h"
#include "shell/ShellGlobals.h"
#include "shell/ui/KeloServoApp.h"
#include "shell/ui/KeloServoDocument.h"
#include "shell/ui/KeloServoView.h"
#include "shell/ui/ShellLinkState.h"

namespace {

constexpr UINT kIndicators[StatusPaneCount] = {
    IDS_PANE_SERVO_STATUS, IDS_PANE_NO_CONTROL, IDS_PANE_VERSION,  IDS_PANE_SERVO_OFFLINE, IDS_PANE_TYPE,
    IDS_PANE_MOTOR_TYPE,   IDS_PANE_MESSAGE,    IDS_PANE_POSITION, IDS_PANE_ALARM,
};

int PaneKind(int pane) {
    CKeloServoApp* app = KeloServoApp();
    if (!app || pane < 0 || pane >= StatusbarSetStored)
        return pane;
    return app->Settings.StatusbarSet[static_cast<size_t>(pane)];
}

} // namespace

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() = default;

const MessageMap* CMainFrame::GetMessageMap() const {
    static const MessageMap map(CMDIFrameWnd::GetMessageMap(),
                                {
                                    msg::Create(&CMainFrame::OnCreate),
                                    msg::Paint(&CMainFrame::OnPaint),
                                    msg::Close(&CMainFrame::OnClose),
                                    msg::Destroy(&CMainFrame::OnDestroy),
                                    msg::DeviceChange(&CMainFrame::OnDeviceChange),
                                    msg::Command(IDS_PANE_SERVO_OFFLINE, &CMainFrame::OnLinkPaneDoubleClick),
                                });
    return &map;
}

int CMainFrame::OnCreate(LPCREATESTRUCT) {
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                               WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY |
                                   CBRS_SIZE_DYNAMIC) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    if (!m_wndStatusBar.Create(this))
        return -1;
    statusFont_.CreateStockObject(DEFAULT_GUI_FONT);
    m_wndStatusBar.SetFont(&statusFont_);
    if (!m_wndStatusBar.SetIndicators(kIndicators, StatusPaneCount))
        return -1;
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    // Without the system's device monitor the frame still works; it just cannot follow the cable.
    RegisterDeviceChangeWindow(this);
    for (int pane = 0; pane < StatusPaneCount; ++pane)
        LayoutStatusPane(pane);
    RefreshStatusPanes(0, StatusPaneCount - 1);
    return 0;
}

void CMainFrame::OnPaint() {
    for (int pane = 0; pane < StatusPaneCount; ++pane)
        LayoutStatusPane(pane);
    RecalcLayout();
    Default();
}

int CMainFrame::ScreenWidth() const {
    if (screenWidth_ > 0)
        return screenWidth_;
    // The paint device of a window is the screen it is on.
    CClientDC dc(const_cast<CMainFrame*>(this));
    return dc.GetDeviceCaps(HORZRES);
}

void CMainFrame::LayoutStatusPane(int pane) {
    if (pane < 0 || pane >= m_wndStatusBar.GetCount())
        return;
    const int kind = PaneKind(pane);
    const std::optional<StatusPaneLayout> layout = StatusPaneLayoutOf(kind, ScreenWidth());
    if (!layout)
        return;
    m_wndStatusBar.SetPaneInfo(pane, static_cast<UINT>(layout->id), SBPS_NORMAL, layout->width);
}

void CMainFrame::RefreshStatusPane(int pane) {
    if (pane < 0)
        return;
    FormatStatusPane(PaneKind(pane), pane);
}

void CMainFrame::RefreshStatusPanes(int first, int last) {
    for (int pane = first; pane <= last; ++pane)
        RefreshStatusPane(pane);
}

void CMainFrame::FormatStatusPane(int kind, int pane) {
    if (pane < 0 || pane >= m_wndStatusBar.GetCount())
        return;
    const CKeloServoView* view = ActiveKeloView();
    const CKeloServoDoc* doc = view ? view->GetDoc() : nullptr;
    StatusWords words;
    words.Connected = ConnectedFlag != 0;
    words.LinkOpenIndicator = view && view->LinkOpenIndicator;
    words.ServoOn = ServoOnFlag != 0;
    words.ControlMode = DriveControlMode;
    words.DriveSoftwareVersion = DriveSoftwareVersion;
    words.ActualSpeed = doc ? doc->m_Un[0] : 0;
    words.ActualPosition = doc ? doc->m_Un[95] : 0;
    words.CurrentAlarmCode = CurrentAlarmCode;
    words.FirstTypeWord = view ? view->FirstTypeWord : 0;
    words.SecondTypeWord = view ? view->SecondTypeWord : 1;
    words.DriveTypeWord = doc ? doc->m_OnC18Status : 0;
    words.MotorCode = ModelCode;
    words.BrandMode = BrandMode;
    const std::optional<StatusPaneContent> content =
        ::FormatStatusPane(kind, words, [](int id) { return LoadResString(id); });
    if (!content)
        return;
    m_wndStatusBar.SetPaneBackgroundColor(pane, content->background.value_or(kPaneDefaultColour));
    m_wndStatusBar.SetPaneText(pane, content->text);
}

CKeloServoView* CMainFrame::ActiveKeloView() const {
    CMDIChildWnd* child = MDIGetActive();
    return child ? dynamic_cast<CKeloServoView*>(child->GetActiveView()) : nullptr;
}

// ---- Documents ----------------------------------------------------------------------------------

bool CMainFrame::PromptOpenPath() {
    CFileDialog dialog(TRUE, "zpf", "*.zpf", OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                       LoadResString(IDS_DOCUMENT_FILTER).c_str(), this);
    if (dialog.DoModal() != IDOK)
        return false;
    storedPath_ = dialog.GetPathName();
    return true;
}

bool CMainFrame::PromptSavePath() {
    CFileDialog dialog(FALSE, "zpf", "*.zpf", OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY,
                       LoadResString(IDS_DOCUMENT_FILTER).c_str(), this);
    if (dialog.DoModal() != IDOK)
        return false;
    storedPath_ = dialog.GetPathName();
    return true;
}

std::string CMainFrame::GetCurrentFileName() const {
    const auto slash = storedPath_.find_last_of('/');
    return slash == std::string::npos ? std::string() : storedPath_.substr(slash + 1);
}

// ---- Closing ------------------------------------------------------------------------------------

void CMainFrame::OnClose() {
    // A long transfer lets messages through between its requests; closing under it would pull the
    // windows it works with away. The user can close once it has ended.
    if (const CKeloServoView* view = ActiveKeloView(); view && view->ViewBusyFlag)
        return;
    if (CKeloServoApp* app = KeloServoApp()) {
        std::string error;
        // A settings file that cannot be written must not keep the program from closing.
        if (!app->SaveSettings(&error))
            ShowMessage(error, std::string(), MB_OK | MB_ICONEXCLAMATION);
    }
    CMDIFrameWnd::OnClose();
}

void CMainFrame::OnDestroy() {
    UnregisterDeviceChangeWindow(this);
    // Also a port whose link was found lost: a failed block read leaves it open for the view to close.
    PortObject.Close();
    ConnectedFlag = 0;
}

// ---- The drive's cable --------------------------------------------------------------------------

BOOL CMainFrame::OnDeviceChange(UINT event, std::uintptr_t data) {
    const auto* port = reinterpret_cast<const DEV_BROADCAST_PORT*>(data);
    if (!port)
        return TRUE;
    if (event == DBT_DEVICEREMOVECOMPLETE)
        OnPortRemoved(port->dbcp_name);
    else if (event == DBT_DEVICEARRIVAL)
        OnPortArrived(port->dbcp_name);
    return TRUE;
}

void CMainFrame::OnPortRemoved(const std::string& port) {
    CKeloServoView* view = ActiveKeloView();
    if (!ConnectedFlag || !view || port.empty() || view->LinkedPortName() != port)
        return;
    view->OnDrivePortRemoved();
}

void CMainFrame::OnPortArrived(const std::string& port) {
    CKeloServoApp* app = KeloServoApp();
    if (ConnectedFlag || !DriveIdentifiedFlag || !app || port.empty())
        return;
    std::optional<PortInfo> arrived;
    for (const PortInfo& info : EnumeratePorts())
        if (info.name == port)
            arrived = info;
    // The port the user last connected to is the drive coming back: connect at once. Another USB
    // port may be the drive on a new port: the next Connect takes it without asking.
    const bool remembered = PortNameFromEntry(ReadPortChoice().value_or(std::string())) == port;
    if (!remembered && !(arrived && IsUsbPort(*arrived)))
        return;
    app->AutoConnect.flag = true;
    app->AutoConnect.entry = arrived ? PortEntry(*arrived) : port;
    if (!remembered)
        return;
    if (CKeloServoView* view = ActiveKeloView())
        view->Connect();
}

void CMainFrame::OnLinkPaneDoubleClick() {
    // A double-click on the link pane is a shortcut to Connect while no link is open.
    CKeloServoView* view = ActiveKeloView();
    if (view && !view->LinkOpenIndicator)
        view->Connect();
}
