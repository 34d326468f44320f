#include "launcher/ClientDlg.h"

#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/App.h"
#include "framework/ui/DeviceChange.h"
#include "framework/ui/Menu.h"
#include "launcher/AboutDlg.h"
#include "launcher/ClientApp.h"
#include "link/handoff/HandoffFile.h"
#include "resources/ids/launcher.h"

#include <cerrno>
#include <cstring>

std::string AppDirectory;

CClientDlg::CClientDlg(CWnd* parent) : CDialog(IDD_CLIENT_DIALOG, parent) {
    if (auto* app = dynamic_cast<CClientApp*>(AfxGetApp()))
        LinkFlag = &app->ConnectedFlag;
    if (CWinApp* app = AfxGetApp())
        Icon = app->LoadIcon(IDI_CLIENT);
}

CClientDlg::~CClientDlg() {
    UnregisterDeviceChangeWindow(this);
}

const MessageMap* CClientDlg::GetMessageMap() const {
    static const MessageMap map(CDialog::GetMessageMap(),
                                {
                                    msg::SysCommand(&CClientDlg::OnSysCommand),
                                    msg::Mouse(WM_RBUTTONUP, &CClientDlg::OnRButtonUp),
                                    msg::Message(WM_QUERYDRAGICON, &CClientDlg::OnQueryDragIcon),
                                    msg::DeviceChange(&CClientDlg::OnDeviceChange),
                                    msg::Destroy(&CClientDlg::OnDestroy),
                                    msg::Command(IDC_AUTO_DETECT, &CClientDlg::OnAutoDetectClicked),
                                });
    return &map;
}

void CClientDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_CBIndex(dx, IDC_SERIES_COMBO, SeriesIndex);
    DDX_Control(dx, IDC_AUTO_DETECT, CheckBox);
    DDX_Control(dx, IDC_SERIES_COMBO, ComboBox);
}

BOOL CClientDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // Plugged and unplugged ports arrive as device-change messages from now on. Without the
    // system's device monitor the dialog works on, only without following the ports.
    RegisterDeviceChangeWindow(this);
    SelectedEntryIndex = EnumerateSerialPorts();
    CheckBox.SetCheck(AutoDetectFlag ? BST_CHECKED : BST_UNCHECKED);
    if (SelectedEntryIndex == -1)
        CheckBox.EnableWindow(FALSE);
    return TRUE;
}

void CClientDlg::OnDestroy() {
    UnregisterDeviceChangeWindow(this);
}

void CClientDlg::OnAutoDetectClicked() {
    AutoDetectClicked(CheckBox.GetCheck() == BST_CHECKED);
}

void CClientDlg::OnOK() {
    if (!PrepareHandOver())
        return;
    WriteHandoffFile(1);
    const std::string program = AppDirectory + "/" + kMainProgramName;
    std::string error;
    StartedProcess = StartProgram(program, &error);
    if (StartedProcess < 0)
        ShowMessage(LoadResString(IDS_START_FAILED) + "\n\n" + program + ": " + error, std::string(),
                    MB_OK | MB_ICONSTOP);
    EndDialog(IDOK);
}

BOOL CClientDlg::WriteHandoffFile(int reportFailure) {
    const std::string path = HandoffFilePath();
    if (::WriteHandoffFile(SeriesIndex, AutoDetectFlag, SelectedEntryText, SelectedEntryIndex, path))
        return TRUE;
    const std::string reason =
        path.empty() ? std::string("no private temporary folder") : std::strerror(errno);
    if (reportFailure)
        ShowMessage(LoadResString(IDS_HANDOFF_WRITE_FAILED) + "\n\n" + (path.empty() ? "curfile.ini" : path) +
                        ": " + reason,
                    std::string(), MB_OK | MB_ICONSTOP);
    return FALSE;
}

int CClientDlg::SendCommand(const char* request, int requestLength, char* reply, int expectedLength) {
    return ProbeSendCommand(request, requestLength, reply, expectedLength, LinkFlag);
}

int CClientDlg::ProbeExchange(const char* request, int requestLength, char* reply, int expectedLength) {
    return SendCommand(request, requestLength, reply, expectedLength);
}

void CClientDlg::OnSysCommand(UINT id, LPARAM) {
    if ((id & 0xFFF0) == kAboutCommand) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    Default();
}

// The window manager's menu cannot take items of ours; a right click offers the About item instead.
void CClientDlg::OnRButtonUp(UINT, CPoint point) {
    const std::string text = LoadResString(IDS_CLIENT_ABOUT_ITEM);
    if (text.empty())
        return;
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, kAboutCommand, text);
    ClientToScreen(&point);
    if (menu.TrackPopupMenu(TPM_RETURNCMD, point.x, point.y, this) == static_cast<int>(kAboutCommand))
        SendMessage(WM_SYSCOMMAND, kAboutCommand);
}

BOOL CClientDlg::OnDeviceChange(UINT event, std::uintptr_t data) {
    const auto* port = reinterpret_cast<const DEV_BROADCAST_PORT*>(data);
    const std::string name =
        port && port->dbcp_devicetype == DBT_DEVTYP_PORT ? port->dbcp_name : std::string();
    if (event == DBT_DEVICEARRIVAL)
        DeviceArrived(name);
    else if (event == DBT_DEVICEREMOVECOMPLETE)
        DeviceRemoved(name);
    return TRUE;
}

LRESULT CClientDlg::OnQueryDragIcon(WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>(Icon);
}

void CClientDlg::ShowWaitCursor(bool wait) {
    if (wait)
        BeginWaitCursor();
    else
        EndWaitCursor();
}

void CClientDlg::SetAutoDetectCheck(bool checked) {
    CheckBox.SetCheck(checked ? BST_CHECKED : BST_UNCHECKED);
}

void CClientDlg::EnableAutoDetectCheck(bool enable) {
    CheckBox.EnableWindow(enable);
}

void CClientDlg::EnableSeriesList(bool enable) {
    ComboBox.EnableWindow(enable);
}

void CClientDlg::ShowSeries() {
    UpdateData(FALSE);
}

void CClientDlg::TakeSeries() {
    UpdateData(TRUE);
}

void CClientDlg::ReportDriveNotFound() {
    ShowMessage(LoadResString(IDS_DRIVE_NOT_FOUND), LoadResString(IDS_AUTO_DETECT_CAPTION),
                MB_OK | MB_ICONSTOP);
}
