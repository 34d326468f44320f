#include "shell/ui/KeloServoApp.h"

#include "catalogue/DocumentGlobals.h"
#include "framework/core/File.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/Paths.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/CmdUI.h"
#include "framework/ui/Doc.h"
#include "framework/ui/SystemInfo.h"
#include "link/LinkState.h"
#include "link/handoff/HandoffFile.h"
#include "resources/ids/mainframe.h"
#include "resources/ids/shell.h"
#include "shell/ShellGlobals.h"
#include "shell/ui/AboutDlg.h"
#include "shell/ui/ChildFrame.h"
#include "shell/ui/ConnectRules.h"
#include "shell/ui/KeloServoDocument.h"
#include "shell/ui/KeloServoView.h"
#include "shell/ui/MainFrame.h"

#include <spawn.h>

extern char** environ;

namespace {

constexpr int kRecentFileCount = 4;

// The start could not bring the program up: it ends without a message (there may be no texts to
// show one with), but scripts and launchers see the failure in the exit status.
BOOL StartFailed(CWinApp& app) {
    app.SetExitCode(StartFailedExitCode);
    return FALSE;
}

// Opens a file with the desktop's handler, without a shell; failures are silent.
bool OpenWithDesktop(const std::string& path) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    char program[] = "xdg-open";
    std::string argument = path;
    char* argv[] = {program, argument.data(), nullptr};
    pid_t pid = -1;
    const int result = posix_spawnp(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    return result == 0;
}

} // namespace

CKeloServoApp* KeloServoApp() {
    return dynamic_cast<CKeloServoApp*>(AfxGetApp());
}

CKeloServoApp::CKeloServoApp() : CWinApp("KeloServo"), ResourceLibraryName(kResourceLibraryName) {
    SeriesCode = 4;
    OpenWithShell = OpenWithDesktop;
}

CKeloServoApp::~CKeloServoApp() = default;

const MessageMap* CKeloServoApp::GetMessageMap() const {
    static const MessageMap map(
        CWinApp::GetMessageMap(),
        {
            msg::Command(ID_APP_ABOUT, &CKeloServoApp::OnAppAbout),
            msg::Command(ID_FILE_NEW, &CKeloServoApp::OnFileNew),
            msg::Command(ID_FILE_OPEN, &CKeloServoApp::OnFileOpen),
            msg::CommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE4, &CKeloServoApp::OnOpenRecentFile),
            msg::Command(ID_HELP_CONTENT, &CKeloServoApp::OnHelpContent),
            msg::UpdateCommandUI(ID_FILE_MRU_FILE1, &CKeloServoApp::OnUpdateRecentFileMenu),
            msg::UpdateCommandUI(ID_FILE_NEW, &CKeloServoApp::OnUpdateFileNewOpen),
            msg::UpdateCommandUI(ID_FILE_OPEN, &CKeloServoApp::OnUpdateFileNewOpen),
        });
    return &map;
}

bool CKeloServoApp::LoadResourceLibrary() {
    return AfxLoadResourceLibrary(ResourceLibraryName.c_str());
}

std::string CKeloServoApp::SettingsPath() const {
    return SettingsFilePath(BrandMode);
}

bool CKeloServoApp::SaveSettings(std::string* error) const {
    return WriteSettingsFile(SettingsPath(), Settings, BrandMode, SeriesCode, error);
}

CMainFrame* CKeloServoApp::MainFrame() const {
    return dynamic_cast<CMainFrame*>(m_pMainWnd);
}

CKeloServoView* CKeloServoApp::ActiveView() const {
    CMainFrame* frame = MainFrame();
    return frame ? frame->ActiveKeloView() : nullptr;
}

CKeloServoDocument* CKeloServoApp::ActiveDocument() const {
    CKeloServoView* view = ActiveView();
    return view ? view->GetKeloDocument() : nullptr;
}

BOOL CKeloServoApp::InitInstance() {
    ProgramFolderText = ProgramFolder();
    RecentFiles = std::make_unique<CRecentFileList>(ID_FILE_MRU_FILE1, "My Recent File List", "MyFile%d",
                                                    kRecentFileCount, 30);
    RecentFiles->ReadList();
    AfxGetDocManager().SetRecentFileList(RecentFiles.get());

    if (!LoadResourceLibrary())
        return StartFailed(*this);

    if (const std::optional<HandoffRequest> handoff = ReadHandoffFile()) {
        SeriesCode = handoff->seriesCode;
        AutoConnect.flag = handoff->autoConnect;
        AutoConnect.entry = handoff->portEntry;
        AutoConnect.index = handoff->entryIndex;
    }

    AfxGetDocManager().AddDocTemplate(
        MakeDocTemplate<CKeloServoDocument, CChildFrame, CKeloServoView>(IDR_KELOSERVO_DOC));

    auto* frame = new CMainFrame;
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        delete frame;
        return StartFailed(*this);
    }
    m_pMainWnd = frame;
    AfxGetDocManager().SetMainFrame(frame);

    BrandString = LoadResString(IDS_PRODUCT_NAME);
    BrandMode = BrandString == "KeloServo" ? BrandNormal : BrandOem;

    ReadSettingsFile(SettingsPath(), BrandMode, Settings);
    ModbusMode = Settings.ModbusMode;
    ModbusAsciiFlag = Settings.ModbusAsciiFlag;
    StationNumber = Settings.StationNumber;

    std::string documentPath;
    for (const std::string& argument : m_args)
        if (!argument.empty() && argument.front() != '-') {
            documentPath = argument;
            break;
        }
    if (!documentPath.empty())
        DocumentGivenFlag = 1;

    if (DocumentGivenFlag) {
        CDocTemplate* docTemplate = AfxGetDocManager().Templates().front().get();
        if (!docTemplate->OpenDocumentFile(documentPath, true))
            return FALSE;
        frame->SetStoredPath(documentPath);
        AddToRecentFileList(documentPath);
    } else {
        OnFileNew();
        if (!ActiveView())
            return StartFailed(*this);
    }

    if (!DocumentGivenFlag)
        ModelCode = StartModelCode;
    SetTitleBySeries(SeriesCode);
    // Without a window manager a maximise request does nothing: cover the screen's work area first.
    if (CRect area; SystemParametersInfo(SPI_GETWORKAREA, 0, &area, 0))
        frame->MoveWindow(area.left, area.top, area.Width(), area.Height());
    frame->ShowWindow(SW_SHOWMAXIMIZED);

    if (CKeloServoDocument* doc = ActiveDocument()) {
        doc->InitSeriesDefaults();
        doc->InitDependentDefaults();
    }
    CKeloServoView* view = ActiveView();
    if (!DocumentGivenFlag && view)
        view->Connect();
    if ((view = ActiveView()) != nullptr)
        view->SendMessage(WM_COMMAND, ID_EDIT_PARAMETER);
    frame->Invalidate();
    frame->UpdateWindow();
    return TRUE;
}

int CKeloServoApp::ExitInstance() {
    if (RecentFiles) {
        RecentFiles->WriteList();
        AfxGetDocManager().SetRecentFileList(nullptr);
        RecentFiles.reset();
    }
    return CWinApp::ExitInstance();
}

void CKeloServoApp::ShowSeriesTitle(int seriesCode) {
    CMainFrame* frame = MainFrame();
    if (!frame)
        return;
    frame->SetTitle(LoadResString(TitleStringId(seriesCode)));
    frame->OnUpdateFrameTitle(true);
}

void CKeloServoApp::SetTitleBySeries(int seriesCode) {
    ShowSeriesTitle(seriesCode);
    CKeloServoDocument* doc = ActiveDocument();
    if (!doc || DocumentGivenFlag)
        return;
    doc->InitSeriesDefaults();
    doc->InitDependentDefaults();
    doc->ResetCn0Defaults();
    doc->ResetHn6Defaults();
    doc->ResetTn1Defaults();
    doc->ResetSn2Defaults();
    doc->ResetPn3Defaults();
    doc->ResetPn4Defaults();
    doc->ResetQn5Defaults();
    doc->ResetEn7Defaults();
    doc->ResetTn8Defaults();
    doc->ResetEC9Defaults();
    doc->ResetOnGroupsDefaults();
    doc->ResetMAbDefaults();
}

void CKeloServoApp::AddToRecentFileList(const std::string& path) {
    if (RecentFiles && !path.empty())
        RecentFiles->Add(path);
}

// ---- Commands -----------------------------------------------------------------------------------

void CKeloServoApp::OnAppAbout() {
    CAboutDlg dialog(m_pMainWnd);
    dialog.DoModal();
}

bool CKeloServoApp::AskToSaveActiveDocument(unsigned icon) {
    if (AfxGetDocManager().GetOpenDocumentCount() == 0)
        return true;
    CKeloServoDocument* doc = ActiveDocument();
    if (!doc)
        return true;
    if (doc->IsModified()) {
        const int answer =
            ShowMessage(LoadResString(IDS_SAVE_QUESTION), std::string(), MB_YESNOCANCEL | icon);
        if (answer == IDCANCEL)
            return false;
        // A save that fails (or whose file dialog is cancelled) keeps the document: nothing is lost.
        if (answer == IDYES && !doc->DoFileSave())
            return false;
    }
    // After No the flag stays: the document goes with its window once the new one is there, and a
    // cancelled or refused open leaves it, unsaved edits and all, as it was.
    return true;
}

void CKeloServoApp::EditParameterUnlinked() {
    CKeloServoView* view = ActiveView();
    if (!view)
        return;
    // The editor opens without reading the drive; the link is restored as it was.
    const int connected = ConnectedFlag;
    if (connected)
        ConnectedFlag = 0;
    view->OnEditParameter();
    if (connected) {
        ConnectedFlag = 1;
        view->PortOpenFlag = 1;
        view->LinkOpenIndicator = 1;
    }
}

void CKeloServoApp::RetireChildFrame(CFrameWnd* oldChild, bool cancelToolWindows) {
    if (!oldChild)
        return;
    auto* oldView = dynamic_cast<CKeloServoView*>(oldChild->GetActiveView());
    CDocument* oldDoc = oldChild->GetActiveDocument();
    if (oldView) {
        (void)cancelToolWindows;
        oldView->CloseToolDialogs();
        // Stops the old view could not deliver (its windows' last ones among them) go with the link.
        if (CKeloServoView* view = ActiveView(); view && view != oldView)
            view->Stops.TakeOver(oldView->Stops);
    }
    if (oldDoc)
        oldDoc->OnCloseDocument();
    else
        oldChild->DestroyWindow();
}

// The link state belongs to the program, not to one view: a fresh view takes it over.
static void HandOverLink(const CKeloServoView* from, CKeloServoView* to) {
    if (!from || !to)
        return;
    to->PortOpenFlag = from->PortOpenFlag;
    to->LinkOpenIndicator = from->LinkOpenIndicator;
}

void CKeloServoApp::OnFileNew() {
    CMainFrame* frame = MainFrame();
    if (!frame)
        return;
    if (!AskToSaveActiveDocument(MB_ICONWARNING))
        return;
    CMDIChildWnd* oldChild = frame->MDIGetActive();
    CKeloServoView* oldView = ActiveView();
    CDocTemplate* docTemplate = AfxGetDocManager().Templates().front().get();
    if (!docTemplate->OpenDocumentFile(std::string(), true))
        return;
    frame->SetStoredPath(std::string());
    HandOverLink(oldView, ActiveView());
    RetireChildFrame(oldChild, false);
    if (CMDIChildWnd* child = frame->MDIGetActive()) {
        const std::string title = LoadResString(IDS_NEW_PROJECT);
        if (CDocument* doc = child->GetActiveDocument())
            doc->SetTitle(title);
        child->SetWindowText(title);
    }
    EditParameterUnlinked();
    if (!FirstNewFlag) {
        if (CKeloServoView* view = ActiveView())
            view->SendMessage(WM_COMMAND, ID_EDIT_PARAMETER);
    }
    FirstNewFlag = 0;
    frame->RefreshStatusPanes(0, 6);
}

bool CKeloServoApp::OpenDocumentPath(const std::string& path) {
    CMainFrame* frame = MainFrame();
    if (!frame || path.empty())
        return false;
    CMDIChildWnd* oldChild = frame->MDIGetActive();
    CKeloServoView* oldView = ActiveView();
    const std::string previousPath = frame->StoredPath();
    // A new document starts from a cleared feature word; the poll's word stays the user's if the file
    // is refused.
    const int featureWord = FeatureStatusWord;
    frame->SetStoredPath(path);
    CDocTemplate* docTemplate = AfxGetDocManager().Templates().front().get();
    if (!docTemplate->OpenDocumentFile(path, true)) {
        frame->SetStoredPath(previousPath);
        FeatureStatusWord = featureWord;
        return false;
    }
    HandOverLink(oldView, ActiveView());
    RetireChildFrame(oldChild, true);
    if (CMDIChildWnd* child = frame->MDIGetActive())
        child->SetWindowText(FileNameOfPath(path));
    AddToRecentFileList(path);
    EditParameterUnlinked();
    return true;
}

void CKeloServoApp::OnFileOpen() {
    CMainFrame* frame = MainFrame();
    if (!frame || !AskToSaveActiveDocument(MB_ICONINFORMATION))
        return;
    const std::string previousPath = frame->StoredPath();
    if (!frame->PromptOpenPath())
        return;
    const std::string path = frame->StoredPath();
    frame->SetStoredPath(previousPath);
    OpenDocumentPath(path);
}

void CKeloServoApp::OnOpenRecentFile(UINT id) {
    const int index = static_cast<int>(id) - static_cast<int>(ID_FILE_MRU_FILE1);
    if (!RecentFiles || index < 0 || index >= RecentFiles->Count())
        return;
    const std::string path = (*RecentFiles)[index];
    if (path.empty() || !AskToSaveActiveDocument(MB_ICONINFORMATION))
        return;
    if (!OpenDocumentPath(path))
        RecentFiles->Remove(index);
}

void CKeloServoApp::OnHelpContent() {
    std::string name = LoadResString(IDS_HELP_FILE);
    if (name.empty())
        name = "servo";
    const std::string path = ProgramFolderText + "/" + name + ".chm";
    if (!m_pMainWnd || !OpenWithShell)
        return;
    // Without the file the desktop's opener only complains on a terminal the user never sees.
    if (!FileExists(path)) {
        ShowMessage("The help file is not installed:\n" + path, std::string(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!OpenWithShell(path))
        ShowMessage("The help file could not be opened:\n" + path, std::string(), MB_OK | MB_ICONEXCLAMATION);
}

void CKeloServoApp::OnUpdateRecentFileMenu(CCmdUI* ui) {
    if (RecentFiles)
        RecentFiles->UpdateMenu(ui->m_pMenu);
}

void CKeloServoApp::OnUpdateFileNewOpen(CCmdUI* ui) {
    // New and Open wait while a trace acquisition runs.
    const CKeloServoView* view = ActiveView();
    ui->Enable(!(view && view->TraceWindowPresent && view->TraceAcquiring));
}
