#pragma once
// Documents and their templates: a document holds the data one or more views show, knows its file
// and whether it changed, reads and writes itself through an archive, and asks before unsaved changes
// are lost. A template makes a document with its frame and view; the document manager keeps the
// templates, opens and creates documents, and closes them all when the program ends.
#include "framework/ui/MessageMap.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CArchive;
class CView;
class CFrameWnd;
class CDocTemplate;
class CRecentFileList;

class CDocument : public CCmdTarget {
public:
    CDocument();
    ~CDocument() override;
    const MessageMap* GetMessageMap() const override;
    // Own map first, then the template's.
    bool OnCmdMsg(UINT id, UINT message, UINT code, void* extra, LRESULT* result = nullptr,
                  bool queryOnly = false) override;

    const std::string& GetTitle() const { return title_; }
    virtual void SetTitle(const std::string& title);
    const std::string& GetPathName() const { return path_; }
    // Also makes the file's name the title; adds the path to the recent-file list when asked.
    virtual void SetPathName(const std::string& path, bool addToRecent = true);
    CDocTemplate* GetDocTemplate() const { return template_; }

    virtual bool IsModified() { return modified_; }
    virtual void SetModifiedFlag(bool modified = true) { modified_ = modified; }

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return views_; }
    // The number of frames showing this document.
    int FrameCount() const;
    // Tells every view but the sender (OnUpdate with the hint).
    void UpdateAllViews(CView* sender, LPARAM hint = 0, void* hintObject = nullptr);

    // Empties the document for a new one; false refuses.
    virtual bool OnNewDocument();
    // Reads the file through an archive and Serialize. A file that cannot be opened or read is
    // reported to the user; the document is then emptied and false returned.
    virtual bool OnOpenDocument(const std::string& path);
    // Writes the document through an archive into a new file that replaces the old one only once it
    // is complete, so a failed save never loses the previous file. Failures are reported; false.
    virtual bool OnSaveDocument(const std::string& path);
    // Destroys the document's frames and, with m_bAutoDelete, the document.
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    virtual void Serialize(CArchive& archive);

    // When modified, asks whether to save (Yes saves, No discards, Cancel keeps everything); false
    // when the caller must not go on.
    virtual bool SaveModified();
    virtual bool CanCloseFrame(CFrameWnd* frame);
    virtual void PreCloseFrame(CFrameWnd*) {}
    // Saves under the path, or asks for one when it is empty (Save As).
    virtual bool DoSave(const std::string& path, bool replace = true);
    virtual bool DoFileSave();

    void OnFileSave() { DoFileSave(); }
    void OnFileSaveAs() { DoSave(std::string()); }
    void OnFileClose();

    bool m_bAutoDelete = true;

private:
    friend class CDocTemplate;
    std::string title_;
    std::string path_;
    bool modified_ = false;
    std::vector<CView*> views_;
    CDocTemplate* template_ = nullptr;
};

class CDocTemplate : public CCmdTarget {
public:
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };
    using DocumentFactory = std::function<CDocument*()>;
    using FrameFactory = std::function<CFrameWnd*()>;
    using ViewFactory = std::function<CView*()>;

    // The resource id names the document string ("\nName\nName\nFiles (*.x)\n.x\n..."), the menu and
    // the accelerators of the document windows.
    CDocTemplate(UINT resourceId, DocumentFactory document, FrameFactory frame, ViewFactory view);
    ~CDocTemplate() override;

    UINT GetResourceID() const { return resourceId_; }
    bool GetDocString(std::string& text, DocStringIndex index) const;

    // Makes a document (new when the path is empty) with its frame and view. A file is read before
    // the frame is made, so a document has no view while it loads. nullptr when any part fails; what
    // was made is then destroyed again.
    virtual CDocument* OpenDocumentFile(const std::string& path, bool makeVisible = true);
    virtual CDocument* CreateNewDocument();
    virtual CFrameWnd* CreateNewFrame(CDocument* document, CFrameWnd* other);
    virtual void InitialUpdateFrame(CFrameWnd* frame, CDocument* document, bool makeVisible = true);
    virtual void SetDefaultTitle(CDocument* document);

    void AddDocument(CDocument* document);
    void RemoveDocument(CDocument* document);
    const std::vector<CDocument*>& GetDocuments() const { return documents_; }
    bool SaveAllModified();
    void CloseAllDocuments(bool endSession);

private:
    UINT resourceId_;
    DocumentFactory makeDocument_;
    FrameFactory makeFrame_;
    ViewFactory makeView_;
    std::vector<CDocument*> documents_;
    int untitledCount_ = 0;
};
using CMultiDocTemplate = CDocTemplate;

template <class Doc, class Frame, class View> std::unique_ptr<CDocTemplate> MakeDocTemplate(UINT resourceId) {
    return std::make_unique<CDocTemplate>(
        resourceId, [] { return static_cast<CDocument*>(new Doc); },
        [] { return static_cast<CFrameWnd*>(new Frame); }, [] { return static_cast<CView*>(new View); });
}

// What the command line asks of the program at start: a new document, or to open the file it names.
class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FileDDE, FileNothing };
    // The first argument that is no option ("-x") names the file; "/dde" asks for the shell's open
    // request (which names its file the same way).
    void ParseCommandLine(const std::vector<std::string>& args);

    ShellCommand m_nShellCommand = FileNew;
    std::string m_strFileName;
};

class CDocManager {
public:
    CDocManager();
    ~CDocManager();

    void AddDocTemplate(std::unique_ptr<CDocTemplate> docTemplate);
    const std::vector<std::unique_ptr<CDocTemplate>>& Templates() const { return templates_; }
    void RemoveAllTemplates();

    // The main frame document windows go into (the program's main window when not set).
    void SetMainFrame(CFrameWnd* frame) { mainFrame_ = frame; }
    CFrameWnd* MainFrame() const;

    void OnFileNew();
    void OnFileOpen();
    // Opens the file with the first template; an already open document with this path is activated
    // instead. Adds the path to the recent-file list.
    CDocument* OpenDocumentFile(const std::string& path);
    // Asks for a path with the file dialog; false when cancelled.
    bool DoPromptFileName(std::string& path, bool open, CDocTemplate* docTemplate);

    // Runs what the command line asked for; false when that failed (no document could be made).
    bool ProcessShellCommand(const CCommandLineInfo& info);

    bool SaveAllModified();
    void CloseAllDocuments(bool endSession);
    int GetOpenDocumentCount() const;

    void SetRecentFileList(CRecentFileList* list) { recent_ = list; }
    CRecentFileList* GetRecentFileList() const { return recent_; }
    void AddToRecentFileList(const std::string& path);

private:
    std::vector<std::unique_ptr<CDocTemplate>> templates_;
    CFrameWnd* mainFrame_ = nullptr;
    CRecentFileList* recent_ = nullptr;
};

// The program's document manager.
CDocManager& AfxGetDocManager();
