#include "framework/ui/Doc.h"

#include "framework/core/Archive.h"
#include "framework/core/File.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/App.h"
#include "framework/ui/CmdUI.h"
#include "framework/ui/FileDialog.h"
#include "framework/ui/Frame.h"
#include "framework/ui/RecentFileList.h"
#include "framework/ui/View.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace {

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Segment(const std::string& text, int index) {
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = text.find('\n', start);
        if (start == std::string::npos)
            return {};
        ++start;
    }
    return text.substr(start, text.find('\n', start) - start);
}

} // namespace

// ---- CDocument

CDocument::CDocument() = default;

CDocument::~CDocument() {
    for (CView* view : views_)
        view->m_pDocument = nullptr;
    if (template_)
        template_->RemoveDocument(this);
}

const MessageMap* CDocument::GetMessageMap() const {
    static const MessageMap map(CCmdTarget::GetMessageMap(),
                                {
                                    msg::Command(ID_FILE_SAVE, &CDocument::OnFileSave),
                                    msg::Command(ID_FILE_SAVE_AS, &CDocument::OnFileSaveAs),
                                    msg::Command(ID_FILE_CLOSE, &CDocument::OnFileClose),
                                });
    return &map;
}

bool CDocument::OnCmdMsg(UINT id, UINT message, UINT code, void* extra, LRESULT* result, bool queryOnly) {
    if (CCmdTarget::OnCmdMsg(id, message, code, extra, result, queryOnly))
        return true;
    return template_ && template_->OnCmdMsg(id, message, code, extra, result, queryOnly);
}

void CDocument::SetTitle(const std::string& title) {
    title_ = title;
    std::set<CFrameWnd*> frames;
    for (CView* view : views_)
        if (CFrameWnd* frame = view->GetParentFrame())
            frames.insert(frame);
    for (CFrameWnd* frame : frames)
        frame->OnUpdateFrameTitle(true);
}

void CDocument::SetPathName(const std::string& path, bool addToRecent) {
    path_ = path;
    SetTitle(FileNameOf(path));
    if (addToRecent && !path.empty())
        AfxGetDocManager().AddToRecentFileList(path);
}

void CDocument::AddView(CView* view) {
    if (!view || std::find(views_.begin(), views_.end(), view) != views_.end())
        return;
    views_.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view) {
    auto it = std::find(views_.begin(), views_.end(), view);
    if (it == views_.end())
        return;
    views_.erase(it);
    view->m_pDocument = nullptr;
}

int CDocument::FrameCount() const {
    std::set<CFrameWnd*> frames;
    for (CView* view : views_)
        if (CFrameWnd* frame = view->GetParentFrame())
            frames.insert(frame);
    return static_cast<int>(frames.size());
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, void* hintObject) {
    const std::vector<CView*> views = views_;
    for (CView* view : views)
        if (view != sender)
            view->OnUpdate(sender, hint, hintObject);
}

bool CDocument::OnNewDocument() {
    DeleteContents();
    path_.clear();
    SetModifiedFlag(false);
    return true;
}

void CDocument::Serialize(CArchive&) {}

bool CDocument::OnOpenDocument(const std::string& path) {
    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary, &error)) {
        ShowMessage("Cannot open the file " + path + ".", std::string(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    DeleteContents();
    SetModifiedFlag(true); // in case reading stops half-way
    try {
        CArchive archive(&file, CArchive::load);
        Serialize(archive);
        archive.Close();
        file.Close();
    } catch (const CArchiveException&) {
        file.Abort();
        DeleteContents();
        ShowMessage("Unexpected file format.", std::string(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    } catch (const CFileException&) {
        file.Abort();
        DeleteContents();
        ShowMessage("Failed to read the file " + path + ".", std::string(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const std::string& path) {
    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeReplace | CFile::modeWrite | CFile::typeBinary, &error)) {
        ShowMessage("Cannot write the file " + path + ".", std::string(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    try {
        CArchive archive(&file, CArchive::store);
        Serialize(archive);
        archive.Close();
        file.Close();
    } catch (const std::exception&) {
        file.Abort();
        ShowMessage("Failed to save the file " + path + ".", std::string(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

void CDocument::OnCloseDocument() {
    // Frames go first; their views let go of this document as they are destroyed.
    const bool autoDelete = m_bAutoDelete;
    m_bAutoDelete = false;
    std::set<CFrameWnd*> frames;
    for (CView* view : views_)
        if (CFrameWnd* frame = view->GetParentFrame())
            frames.insert(frame);
    for (CFrameWnd* frame : frames) {
        PreCloseFrame(frame);
        frame->DestroyWindow();
    }
    DeleteContents();
    m_bAutoDelete = autoDelete;
    if (m_bAutoDelete)
        delete this;
}

bool CDocument::SaveModified() {
    if (!IsModified())
        return true;
    std::string name = title_.empty() ? std::string("Untitled") : title_;
    switch (
        ShowMessage("Save changes to " + name + "?", std::string(), MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
        return false;
    case IDYES:
        return DoFileSave();
    default:
        return true; // No: the changes are dropped
    }
}

bool CDocument::CanCloseFrame(CFrameWnd*) {
    return FrameCount() > 1 || SaveModified();
}

bool CDocument::DoSave(const std::string& path, bool replace) {
    std::string target = path;
    if (target.empty()) {
        target = path_.empty() ? title_ : path_;
        if (!AfxGetDocManager().DoPromptFileName(target, false, template_))
            return false;
    }
    if (!OnSaveDocument(target))
        return false;
    if (replace)
        SetPathName(target);
    return true;
}

bool CDocument::DoFileSave() {
    return DoSave(path_);
}

void CDocument::OnFileClose() {
    if (!SaveModified())
        return;
    OnCloseDocument();
}

// ---- CDocTemplate

CDocTemplate::CDocTemplate(UINT resourceId, DocumentFactory document, FrameFactory frame, ViewFactory view)
    : resourceId_(resourceId), makeDocument_(std::move(document)), makeFrame_(std::move(frame)),
      makeView_(std::move(view)) {}

CDocTemplate::~CDocTemplate() {
    for (CDocument* document : documents_)
        document->template_ = nullptr;
}

bool CDocTemplate::GetDocString(std::string& text, DocStringIndex index) const {
    text = Segment(LoadResString(static_cast<int>(resourceId_)), static_cast<int>(index));
    return !text.empty();
}

void CDocTemplate::AddDocument(CDocument* document) {
    if (!document || std::find(documents_.begin(), documents_.end(), document) != documents_.end())
        return;
    documents_.push_back(document);
    document->template_ = this;
}

void CDocTemplate::RemoveDocument(CDocument* document) {
    auto it = std::find(documents_.begin(), documents_.end(), document);
    if (it != documents_.end())
        documents_.erase(it);
    if (document && document->template_ == this)
        document->template_ = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument() {
    CDocument* document = makeDocument_ ? makeDocument_() : nullptr;
    if (document)
        AddDocument(document);
    return document;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* document, CFrameWnd*) {
    CFrameWnd* frame = makeFrame_ ? makeFrame_() : nullptr;
    if (!frame)
        return nullptr;
    CCreateContext context;
    context.newView = makeView_;
    context.currentDoc = document;
    context.newDocTemplate = this;
    if (!frame->LoadFrame(resourceId_, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, AfxGetDocManager().MainFrame(),
                          &context)) {
        delete frame;
        return nullptr;
    }
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* document, bool makeVisible) {
    frame->InitialUpdateFrame(document, makeVisible);
}

void CDocTemplate::SetDefaultTitle(CDocument* document) {
    std::string name;
    if (!GetDocString(name, docName))
        name = "Untitled";
    document->SetTitle(name + std::to_string(++untitledCount_));
}

CDocument* CDocTemplate::OpenDocumentFile(const std::string& path, bool makeVisible) {
    CDocument* document = CreateNewDocument();
    if (!document)
        return nullptr;
    // The file is read before its window is made: a window made and destroyed again for a file that
    // is refused would take the activation, the title and the menu bar from the user's window.
    if (!path.empty()) {
        if (!document->OnOpenDocument(path)) {
            delete document;
            return nullptr;
        }
        document->SetPathName(path);
    }
    CFrameWnd* frame = CreateNewFrame(document, nullptr);
    if (!frame) {
        delete document;
        return nullptr;
    }
    if (path.empty()) {
        if (!document->OnNewDocument()) {
            frame->DestroyWindow();
            delete document;
            return nullptr;
        }
        SetDefaultTitle(document);
    }
    InitialUpdateFrame(frame, document, makeVisible);
    return document;
}

bool CDocTemplate::SaveAllModified() {
    const std::vector<CDocument*> documents = documents_;
    for (CDocument* document : documents)
        if (!document->SaveModified())
            return false;
    return true;
}

void CDocTemplate::CloseAllDocuments(bool) {
    const std::vector<CDocument*> documents = documents_;
    for (CDocument* document : documents)
        document->OnCloseDocument();
}

// ---- CDocManager

CDocManager::CDocManager() = default;
CDocManager::~CDocManager() = default;

CDocManager& AfxGetDocManager() {
    static CDocManager manager;
    return manager;
}

void CDocManager::AddDocTemplate(std::unique_ptr<CDocTemplate> docTemplate) {
    if (docTemplate)
        templates_.push_back(std::move(docTemplate));
}

void CDocManager::RemoveAllTemplates() {
    templates_.clear();
}

CFrameWnd* CDocManager::MainFrame() const {
    if (mainFrame_)
        return mainFrame_;
    return dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
}

void CDocManager::OnFileNew() {
    if (!templates_.empty())
        templates_.front()->OpenDocumentFile(std::string());
}

void CDocManager::OnFileOpen() {
    std::string path;
    if (DoPromptFileName(path, true, templates_.empty() ? nullptr : templates_.front().get()))
        OpenDocumentFile(path);
}

CDocument* CDocManager::OpenDocumentFile(const std::string& path) {
    if (templates_.empty() || path.empty())
        return nullptr;
    for (const auto& docTemplate : templates_)
        for (CDocument* document : docTemplate->GetDocuments())
            if (document->GetPathName() == path) {
                for (CView* view : document->GetViews())
                    if (CFrameWnd* frame = view->GetParentFrame())
                        frame->ActivateFrame();
                return document;
            }
    return templates_.front()->OpenDocumentFile(path);
}

bool CDocManager::DoPromptFileName(std::string& path, bool open, CDocTemplate* docTemplate) {
    std::string filter, extension;
    if (docTemplate) {
        std::string name;
        docTemplate->GetDocString(name, CDocTemplate::filterName);
        docTemplate->GetDocString(extension, CDocTemplate::filterExt);
        if (!name.empty() && !extension.empty())
            filter = name + "|*" + extension + "|";
    }
    filter += "All Files (*.*)|*.*||";
    CFileDialog dialog(
        open ? TRUE : FALSE, extension.empty() ? nullptr : extension.c_str() + (extension[0] == '.'),
        path.empty() ? nullptr : path.c_str(),
        open ? (OFN_HIDEREADONLY | OFN_FILEMUSTEXIST) : (OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT),
        filter.c_str());
    if (dialog.DoModal() != IDOK)
        return false;
    path = dialog.GetPathName();
    return !path.empty();
}

void CCommandLineInfo::ParseCommandLine(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        std::string lower = arg;
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        // Paths begin with '/' here, so only the one known slash option is taken as an option.
        if (lower == "/dde" || lower == "-dde") {
            m_nShellCommand = FileDDE;
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-')
            continue;
        if (m_strFileName.empty()) {
            m_strFileName = arg;
            if (m_nShellCommand == FileNew)
                m_nShellCommand = FileOpen;
        }
    }
}

bool CDocManager::ProcessShellCommand(const CCommandLineInfo& info) {
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        return !templates_.empty() && templates_.front()->OpenDocumentFile(std::string()) != nullptr;
    case CCommandLineInfo::FileOpen:
    case CCommandLineInfo::FileDDE:
        return info.m_strFileName.empty() || OpenDocumentFile(info.m_strFileName) != nullptr;
    default:
        return true;
    }
}

bool CDocManager::SaveAllModified() {
    for (const auto& docTemplate : templates_)
        if (!docTemplate->SaveAllModified())
            return false;
    return true;
}

void CDocManager::CloseAllDocuments(bool endSession) {
    for (const auto& docTemplate : templates_)
        docTemplate->CloseAllDocuments(endSession);
}

int CDocManager::GetOpenDocumentCount() const {
    int count = 0;
    for (const auto& docTemplate : templates_)
        count += static_cast<int>(docTemplate->GetDocuments().size());
    return count;
}

void CDocManager::AddToRecentFileList(const std::string& path) {
    if (recent_)
        recent_->Add(path);
}
