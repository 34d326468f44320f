#pragma once
// Frame windows: the main frame (a Qt main window with menu bar, toolbars and status bar), the
// multiple-document main frame (its client is an MDI area) and the document windows inside it.
//
// Commands from menus, toolbar buttons and accelerators arrive at the main frame as WM_COMMAND and
// are routed: the active view, its document (and template), the active child frame, the main frame,
// and last the application. Update-UI queries take the same route.
#include "framework/ui/Menu.h"
#include "framework/ui/Wnd.h"

#include <QPointer>

#include <functional>
#include <memory>
#include <string>

class CView;
class CDocument;
class CDocTemplate;
class CMDIChildWnd;
class QMainWindow;
class QMdiArea;

// Frame style bit: the title shows the active document's title after the frame's own.
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;

// What a frame needs to make its view (passed by a document template).
struct CCreateContext {
    std::function<CView*()> newView;
    CDocument* currentDoc = nullptr;
    CDocTemplate* newDocTemplate = nullptr;
};

class CFrameWnd : public CWnd {
public:
    CFrameWnd();
    ~CFrameWnd() override;
    const MessageMap* GetMessageMap() const override;

    // Adjusts the creation record before the window exists; false cancels the creation.
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // Creates the frame with the title (first part of the string with this id), the menu and the
    // accelerators of this resource id, sends WM_CREATE (whose handler creates the bars) and, with
    // a context, makes the view. False when WM_CREATE answers -1 or PreCreateWindow refuses.
    virtual bool LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* parent = nullptr, CCreateContext* context = nullptr);

    // Routing: active view (which asks its document), this frame, then the application unless this
    // is a document window (its main frame asks the application after itself).
    bool OnCmdMsg(UINT id, UINT message, UINT code, void* extra, LRESULT* result = nullptr,
                  bool queryOnly = false) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    CView* GetActiveView() const;
    void SetActiveView(CView* view, bool notify = true);
    CDocument* GetActiveDocument() const;
    virtual CFrameWnd* GetActiveFrame() { return this; }
    // Creates the context's view as this frame's client.
    CView* CreateView(CCreateContext* context, UINT id = 0xE900);
    // Runs the views' initial update and shows the frame.
    virtual void InitialUpdateFrame(CDocument* document, bool makeVisible);
    virtual void ActivateFrame(int showCommand = -1);

    void SetTitle(const std::string& title);
    std::string GetTitle() const { return title_; }
    virtual void OnUpdateFrameTitle(bool addToTitle);
    void RecalcLayout() {}
    void EnableDocking(DWORD) {}
    void DockControlBar(CWnd*) {}

    CMenu* GetMenu() { return menu_.IsCreated() ? &menu_ : nullptr; }
    // Replaces the menu (a copy is realised as the frame's menu bar).
    void SetMenu(const MenuTemplate& menu);
    void LoadAccelTable(UINT resourceId);
    // Looks the key up in the accelerator table and sends its command; true when one matched.
    bool TranslateAccelerator(UINT virtualKey, bool control, bool shift, bool alt);

    // Update-UI of the menu and of every toolbar of this frame.
    void UpdateCommandUI();

    // The toolbar or status bar with this id (AFX_IDW_TOOLBAR, AFX_IDW_STATUS_BAR); a document
    // window answers with its main frame's bars. nullptr when there is none.
    CWnd* GetControlBar(UINT id);
    void ShowControlBar(CWnd* bar, bool show);
    // View > Toolbar and View > Status Bar: the command id is the bar's id. The menu item is checked
    // while the bar shows; without such a bar the command is left to the next target.
    BOOL OnBarCheck(UINT id);
    void OnUpdateControlBarMenu(CCmdUI* ui);

    // Frames made by templates delete themselves when destroyed; one on the stack clears this.
    bool m_bAutoDelete = true;
    bool m_bAutoMenuEnable = true;

    // The main window asks every document whether it may close (unless the session is ending, when
    // nobody can answer), then closes them all and goes; a document window closes its document.
    void OnClose();
    // The frame's own creation step, for derived OnCreate handlers to call first (-1 fails).
    int OnCreate(LPCREATESTRUCT) { return 0; }

protected:
    void PostNcDestroy() override;
    virtual bool IsDocumentWindow() const { return false; }
    // The widget the frame is made of (QMainWindow for main frames).
    virtual QWidget* MakeWidget(CWnd* parent, const CREATESTRUCT& cs);
    // Puts a view widget where the frame shows its client.
    virtual void PlaceClient(QWidget* client);
    // Shows the window without asking the idle update (tests call UpdateCommandUI themselves).
    void StartIdleUpdates();

    CView* activeView_ = nullptr;

private:
    QPointer<QObject> idleTimer_;
    std::string title_;
    CMenu menu_;
    std::vector<AcceleratorEntry> accelerators_;
};

class CMDIFrameWnd : public CFrameWnd {
public:
    const MessageMap* GetMessageMap() const override;
    // The active child's route first (view, document, child frame), then this frame and the application.
    bool OnCmdMsg(UINT id, UINT message, UINT code, void* extra, LRESULT* result = nullptr,
                  bool queryOnly = false) override;
    CMDIChildWnd* MDIGetActive(BOOL* maximized = nullptr) const;
    void MDIActivate(CWnd* child);
    void MDIMaximize(CWnd* child);
    void MDICascade();
    void MDITile();
    CFrameWnd* GetActiveFrame() override;
    void OnUpdateFrameTitle(bool addToTitle) override;
    QMdiArea* Area() const;

    void OnWindowCascade() { MDICascade(); }
    void OnWindowTile() { MDITile(); }

protected:
    QWidget* MakeWidget(CWnd* parent, const CREATESTRUCT& cs) override;
};
using CMDIFrameWndEx = CMDIFrameWnd;

class CMDIChildWnd : public CFrameWnd {
public:
    const MessageMap* GetMessageMap() const override;
    // The parent must be the multiple-document main frame.
    bool LoadFrame(UINT resourceId, DWORD style = WS_CHILD | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* parent = nullptr, CCreateContext* context = nullptr) override;
    void ActivateFrame(int showCommand = -1) override;
    CMDIFrameWnd* GetMDIFrame() const { return mainFrame_; }
    void MDIActivate();
    void MDIMaximize();
    void OnUpdateFrameTitle(bool addToTitle) override;

protected:
    bool IsDocumentWindow() const override { return true; }
    QWidget* MakeWidget(CWnd* parent, const CREATESTRUCT& cs) override;
    void PlaceClient(QWidget* client) override;

private:
    CMDIFrameWnd* mainFrame_ = nullptr;
};
using CMDIChildWndEx = CMDIChildWnd;

// The key sequence an accelerator entry stands for ("Ctrl+O", "F5", "Shift+Del").
std::string AcceleratorText(const AcceleratorEntry& entry);
