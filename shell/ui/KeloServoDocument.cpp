#include "shell/ui/KeloServoDocument.h"

#include "framework/core/Paths.h"
#include "link/LinkState.h"
#include "link/handoff/HandoffFile.h"
#include "shell/ShellGlobals.h"
#include "shell/ui/KeloServoApp.h"
#include "shell/ui/KeloServoView.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ShellLinkState.h"

CKeloServoDocument::CKeloServoDocument() {
    SetHost(this);
}

CKeloServoView* CKeloServoDocument::View() const {
    return GetViews().empty() ? nullptr : dynamic_cast<CKeloServoView*>(GetViews().front());
}

CKeloServoView* CKeloServoDocument::HostView() const {
    if (CKeloServoView* view = View())
        return view;
    // A file is read before its window is made: meanwhile the window the user works in answers (its
    // link is the program's, and it is the one a document of another series unlinks).
    CKeloServoApp* app = KeloServoApp();
    return app ? app->ActiveView() : nullptr;
}

bool CKeloServoDocument::IsConnected() const {
    return ConnectedFlag != 0;
}

bool CKeloServoDocument::ReadRegister(int address, int& value) {
    CKeloServoView* view = HostView();
    return view && view->ReadRegister(address, value);
}

void CKeloServoDocument::FillContext(CatalogueContext& context) const {
    if (CKeloServoView* view = HostView()) {
        view->FillContext(context);
        return;
    }
    // The document a start-up opens before any window: the program-wide words still count.
    DocumentHost::FillContext(context);
    context.driveIdWord = DriveFeatureLevel;
    context.brandMode = BrandMode;
    context.debugMode = DebugModeFlag != 0;
}

void CKeloServoDocument::OnSeriesChanged(int seriesCode) {
    if (CKeloServoView* view = HostView())
        view->OnSeriesChanged(seriesCode);
    else if (CKeloServoApp* app = KeloServoApp())
        app->ShowSeriesTitle(seriesCode);
}

bool CKeloServoDocument::DocumentGiven() const {
    CKeloServoApp* app = KeloServoApp();
    return app && app->DocumentGivenFlag;
}

bool CKeloServoDocument::StartNewInstance() {
    return StartProgram(ProgramFolder() + "/KeloServo") > 0;
}

bool CKeloServoDocument::OnNewDocument() {
    if (!CDocument::OnNewDocument())
        return false;
    return CKeloServoDoc::OnNewDocument();
}

bool CKeloServoDocument::OnOpenDocument(const std::string& path) {
    return CKeloServoDoc::OnOpenDocument(path);
}

bool CKeloServoDocument::OnSaveDocument(const std::string& path) {
    return CKeloServoDoc::OnSaveDocument(path);
}

void CKeloServoDocument::Serialize(CArchive& archive) {
    CKeloServoDoc::Serialize(archive);
}

void CKeloServoDocument::SetModifiedFlag(bool modified) {
    CDocument::SetModifiedFlag(modified);
    CKeloServoDoc::SetModifiedFlag(modified);
}

bool CKeloServoDocument::SaveModified() {
    CMainFrame* frame = KeloServoApp() ? KeloServoApp()->MainFrame() : nullptr;
    const std::string stored = frame ? frame->StoredPath() : std::string();
    return CKeloServoDoc::SaveModified(stored, [frame]() -> std::string {
        if (!frame || !frame->PromptSavePath())
            return {};
        return frame->StoredPath();
    });
}

bool CKeloServoDocument::DoSave(const std::string& path, bool replace) {
    CMainFrame* frame = KeloServoApp() ? KeloServoApp()->MainFrame() : nullptr;
    std::string target = path;
    if (target.empty()) {
        if (!frame || !frame->PromptSavePath())
            return false;
        target = frame->StoredPath();
    }
    if (!OnSaveDocument(target))
        return false;
    if (replace) {
        SetPathName(target, false);
        if (KeloServoApp())
            KeloServoApp()->AddToRecentFileList(target);
        if (frame) {
            frame->SetStoredPath(target);
            if (CFrameWnd* child = frame->GetActiveFrame(); child && child != frame)
                child->SetWindowText(frame->GetCurrentFileName());
        }
    }
    return true;
}

bool CKeloServoDocument::DoFileSave() {
    CMainFrame* frame = KeloServoApp() ? KeloServoApp()->MainFrame() : nullptr;
    return DoSave(frame ? frame->StoredPath() : std::string());
}
