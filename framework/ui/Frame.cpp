#include "framework/ui/Frame.h"

#include "framework/core/ResourceModule.h"
#include "framework/ui/App.h"
#include "framework/ui/CmdUI.h"
#include "framework/ui/Doc.h"
#include "framework/ui/StatusBar.h"
#include "framework/ui/ToolBar.h"
#include "framework/ui/View.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTimer>

#include <cctype>

namespace {

constexpr int kIdleUpdateMs = 250;

// A command's enabled state, asked through update-UI before an accelerator runs it.
class ProbeCmdUI : public CCmdUI {};

std::string KeyName(const AcceleratorEntry& entry) {
    int key = entry.key;
    if (!entry.virtKey && key >= 'a' && key <= 'z')
        key = std::toupper(key);
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return std::string(1, static_cast<char>(key));
    if (entry.virtKey && key >= int(VK_F1) && key <= int(VK_F12))
        return "F" + std::to_string(key - int(VK_F1) + 1);
    switch (key) {
    case VK_DELETE:
        return "Del";
    case VK_INSERT:
        return "Ins";
    case VK_RETURN:
        return "Enter";
    case VK_ESCAPE:
        return "Esc";
    case VK_BACK:
        return "Backspace";
    case VK_TAB:
        return "Tab";
    case VK_SPACE:
        return "Space";
    case VK_HOME:
        return "Home";
    case VK_END:
        return "End";
    case VK_PRIOR:
        return "PgUp";
    case VK_NEXT:
        return "PgDown";
    case VK_LEFT:
        return "Left";
    case VK_RIGHT:
        return "Right";
    case VK_UP:
        return "Up";
    case VK_DOWN:
        return "Down";
    default:
        return "#" + std::to_string(key);
    }
}

// The outermost frame holding the window (the main frame of a document window).
CFrameWnd* TopFrameOf(CFrameWnd* frame) {
    CFrameWnd* top = frame;
    for (CWnd* w = frame->GetParent(); w; w = w->GetParent())
        if (auto* outer = dynamic_cast<CFrameWnd*>(w))
            top = outer;
    return top;
}

// Shows the menu on the window's menu bar. An existing bar is refilled, never replaced: a maximised
// document window keeps its buttons on it, and a new bar stays hidden until the event loop shows it,
// meanwhile the maximised window draws a title bar and a frame of its own.
void ShowMenuOn(QMainWindow* window, CMenu& menu, CWnd* owner) {
    if (auto* bar = qobject_cast<QMenuBar*>(window->menuWidget()))
        menu.FillMenuBar(bar, owner);
    else
        window->setMenuBar(menu.BuildMenuBar(window, owner));
}

// The property holding the title a frame gave its window.
constexpr char kFrameTitleProperty[] = "keloFrameTitle";

// Keeps a window's title at what its frame last gave it. A maximised MDI subwindow whose buttons
// sit on the menu bar writes "<title it remembered> - [<its own title>]" into the window title
// whenever its own title changes; the remembered title may be long out of date.
class TitleKeeper : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = qobject_cast<QWidget*>(watched);
        if (window && event->type() == QEvent::WindowTitleChange) {
            const QString wanted = window->property(kFrameTitleProperty).toString();
            if (!wanted.isEmpty() && window->windowTitle() != wanted)
                window->setWindowTitle(wanted);
        }
        return false;
    }
};

// Whether a bar shows in its frame: its widget's own state, which Qt's toolbar menu changes too.
bool BarShows(const CWnd* bar) {
    return bar && bar->GetWidget() && !bar->GetWidget()->isHidden();
}

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

} // namespace

std::string AcceleratorText(const AcceleratorEntry& entry) {
    std::string text;
    if (entry.control)
        text += "Ctrl+";
    if (entry.shift)
        text += "Shift+";
    if (entry.alt)
        text += "Alt+";
    return text + KeyName(entry);
}

// ---- CFrameWnd

CFrameWnd::CFrameWnd() = default;
CFrameWnd::~CFrameWnd() {
    delete idleTimer_.data();
}

const MessageMap* CFrameWnd::GetMessageMap() const {
    static const MessageMap map(
        CWnd::GetMessageMap(),
        {
            msg::Close(&CFrameWnd::OnClose),
            msg::CommandEx(ID_VIEW_TOOLBAR, &CFrameWnd::OnBarCheck),
            msg::CommandEx(ID_VIEW_STATUS_BAR, &CFrameWnd::OnBarCheck),
            msg::UpdateCommandUI(ID_VIEW_TOOLBAR, &CFrameWnd::OnUpdateControlBarMenu),
            msg::UpdateCommandUI(ID_VIEW_STATUS_BAR, &CFrameWnd::OnUpdateControlBarMenu),
        });
    return &map;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT&) {
    return TRUE;
}

QWidget* CFrameWnd::MakeWidget(CWnd* parent, const CREATESTRUCT&) {
    auto* main = new QMainWindow(parent ? parent->GetWidget() : nullptr, Qt::Window);
    return main;
}

void CFrameWnd::PlaceClient(QWidget* client) {
    if (auto* main = qobject_cast<QMainWindow*>(GetWidget()))
        main->setCentralWidget(client);
}

bool CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context) {
    if (GetSafeHwnd())
        return false;
    CREATESTRUCT cs;
    cs.hwndParent = parent;
    cs.style = style;
    cs.cx = 800;
    cs.cy = 600;
    title_ = FirstLine(LoadResString(static_cast<int>(resourceId)));
    cs.name = title_;
    if (!PreCreateWindow(cs))
        return false;
    QWidget* widget = MakeWidget(parent, cs);
    if (!widget)
        return false;
    widget->resize(cs.cx, cs.cy);
    AttachWidget(widget, 0, cs.style, cs.exStyle, true);
    widget->setWindowTitle(QString::fromStdString(title_));
    if (const MenuTemplate* menu = FindMenu(static_cast<int>(resourceId)))
        SetMenu(*menu);
    LoadAccelTable(resourceId);
    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        const bool autoDelete = m_bAutoDelete;
        m_bAutoDelete = false; // the caller still holds the object and deletes it
        DestroyWindow();
        m_bAutoDelete = autoDelete;
        return false;
    }
    if (context && context->newView && !CreateView(context))
        return false;
    if (!IsDocumentWindow())
        StartIdleUpdates();
    return true;
}

void CFrameWnd::StartIdleUpdates() {
    auto* timer = new QTimer(GetWidget());
    idleTimer_ = timer;
    QObject::connect(timer, &QTimer::timeout, timer, [this] {
        if (GetWidget() && GetWidget()->isVisible())
            UpdateCommandUI();
    });
    timer->start(kIdleUpdateMs);
}

void CFrameWnd::SetMenu(const MenuTemplate& menu) {
    menu_.LoadMenuIndirect(menu);
    if (auto* main = qobject_cast<QMainWindow*>(GetWidget()))
        ShowMenuOn(main, menu_, this);
}

void CFrameWnd::LoadAccelTable(UINT resourceId) {
    if (const AcceleratorTable* table = FindAccelerators(static_cast<int>(resourceId)))
        accelerators_ = table->entries;
}

bool CFrameWnd::TranslateAccelerator(UINT virtualKey, bool control, bool shift, bool alt) {
    for (const AcceleratorEntry& entry : accelerators_) {
        int key = entry.key;
        if (!entry.virtKey && key >= 'a' && key <= 'z')
            key = std::toupper(key);
        if (static_cast<UINT>(key) != virtualKey || entry.control != control || entry.shift != shift ||
            entry.alt != alt)
            continue;
        // A disabled command does not run from its shortcut either.
        ProbeCmdUI probe;
        probe.m_nID = static_cast<UINT>(entry.command);
        CFrameWnd* target = TopFrameOf(this);
        probe.DoUpdate(target, m_bAutoMenuEnable);
        if (probe.m_bEnabled)
            target->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<UINT>(entry.command), 0), 0);
        return true;
    }
    return false;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg) {
    if (msg && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) && !accelerators_.empty()) {
        const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
        if (TranslateAccelerator(static_cast<UINT>(msg->wParam), mods & Qt::ControlModifier,
                                 mods & Qt::ShiftModifier, mods & Qt::AltModifier))
            return TRUE;
    }
    return CWnd::PreTranslateMessage(msg);
}

bool CFrameWnd::OnCmdMsg(UINT id, UINT message, UINT code, void* extra, LRESULT* result, bool queryOnly) {
    if (CView* view = GetActiveView())
        if (view->OnCmdMsg(id, message, code, extra, result, queryOnly))
            return true;
    if (CWnd::OnCmdMsg(id, message, code, extra, result, queryOnly))
        return true;
    if (!IsDocumentWindow())
        if (CWinApp* app = AfxGetApp())
            return app->OnCmdMsg(id, message, code, extra, result, queryOnly);
    return false;
}

CView* CFrameWnd::GetActiveView() const {
    return activeView_;
}

void CFrameWnd::SetActiveView(CView* view, bool) {
    activeView_ = view;
}

CDocument* CFrameWnd::GetActiveDocument() const {
    CView* view = const_cast<CFrameWnd*>(this)->GetActiveFrame()->GetActiveView();
    return view ? view->GetDocument() : nullptr;
}

CView* CFrameWnd::CreateView(CCreateContext* context, UINT id) {
    if (!context || !context->newView)
        return nullptr;
    CView* view = context->newView();
    if (!view)
        return nullptr;
    CRect client;
    GetClientRect(&client);
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, client, this, id)) {
        delete view;
        return nullptr;
    }
    PlaceClient(view->GetWidget());
    if (context->currentDoc)
        context->currentDoc->AddView(view);
    if (!activeView_)
        activeView_ = view;
    return view;
}

void CFrameWnd::InitialUpdateFrame(CDocument* document, bool makeVisible) {
    std::vector<CView*> views;
    if (document)
        views = document->GetViews();
    for (CView* view : views)
        if (view->GetParentFrame() == this)
            view->OnInitialUpdate();
    if (!activeView_)
        for (CView* view : views)
            if (view->GetParentFrame() == this) {
                activeView_ = view;
                break;
            }
    if (makeVisible)
        ActivateFrame();
    OnUpdateFrameTitle(true);
}

void CFrameWnd::ActivateFrame(int showCommand) {
    ShowWindow(showCommand == -1 ? SW_SHOW : showCommand);
}

void CFrameWnd::SetTitle(const std::string& title) {
    title_ = title;
    OnUpdateFrameTitle(true);
}

void CFrameWnd::OnUpdateFrameTitle(bool addToTitle) {
    std::string text = title_;
    CDocument* document = GetActiveDocument();
    if (addToTitle && (GetStyle() & FWS_ADDTOTITLE) && document && !document->GetTitle().empty())
        text = title_.empty() ? document->GetTitle() : title_ + " - " + document->GetTitle();
    if (GetWidget())
        GetWidget()->setWindowTitle(QString::fromStdString(text));
}

void CFrameWnd::UpdateCommandUI() {
    CMenu* menu = GetMenu();
    if (auto* mdi = dynamic_cast<CMDIFrameWnd*>(this))
        if (CMDIChildWnd* child = mdi->MDIGetActive())
            if (CMenu* childMenu = child->GetMenu())
                menu = childMenu;
    if (menu)
        menu->UpdateCommandUI(this, m_bAutoMenuEnable);
    for (CWnd* child : GetChildren())
        if (auto* bar = dynamic_cast<CToolBar*>(child))
            bar->OnUpdateCmdUI(this, true);
}

CWnd* CFrameWnd::GetControlBar(UINT id) {
    for (CWnd* child : GetChildren())
        if (child->GetDlgCtrlID() == static_cast<int>(id) &&
            (dynamic_cast<CToolBar*>(child) || dynamic_cast<CStatusBar*>(child)))
            return child;
    if (IsDocumentWindow())
        if (CFrameWnd* main = TopFrameOf(this); main != this)
            return main->GetControlBar(id);
    return nullptr;
}

void CFrameWnd::ShowControlBar(CWnd* bar, bool show) {
    if (bar)
        bar->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

BOOL CFrameWnd::OnBarCheck(UINT id) {
    CWnd* bar = GetControlBar(id);
    if (!bar)
        return FALSE;
    ShowControlBar(bar, !BarShows(bar));
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* ui) {
    CWnd* bar = GetControlBar(ui->m_nID);
    ui->Enable(bar != nullptr);
    ui->SetCheck(BarShows(bar) ? 1 : 0);
}

void CFrameWnd::OnClose() {
    if (!IsDocumentWindow()) {
        // The main window: every document may refuse (Cancel), then all close with it.
        CDocManager& manager = AfxGetDocManager();
        const CWinApp* app = AfxGetApp();
        const bool sessionEnding = app && app->IsSessionEnding();
        if (!sessionEnding && !manager.SaveAllModified())
            return;
        manager.CloseAllDocuments(sessionEnding);
        DestroyWindow();
        return;
    }
    CDocument* document = GetActiveDocument();
    if (document && !document->CanCloseFrame(this))
        return;
    if (document && document->FrameCount() <= 1) {
        document->OnCloseDocument(); // destroys this frame
        return;
    }
    DestroyWindow();
}

void CFrameWnd::PostNcDestroy() {
    if (m_bAutoDelete)
        delete this;
}

// ---- CMDIFrameWnd

const MessageMap* CMDIFrameWnd::GetMessageMap() const {
    static const MessageMap map(CFrameWnd::GetMessageMap(),
                                {
                                    msg::Command(ID_WINDOW_CASCADE, &CMDIFrameWnd::OnWindowCascade),
                                    msg::Command(ID_WINDOW_TILE_HORZ, &CMDIFrameWnd::OnWindowTile),
                                    msg::Command(ID_WINDOW_ARRANGE, &CMDIFrameWnd::OnWindowTile),
                                });
    return &map;
}

QWidget* CMDIFrameWnd::MakeWidget(CWnd* parent, const CREATESTRUCT& cs) {
    auto* main = static_cast<QMainWindow*>(CFrameWnd::MakeWidget(parent, cs));
    auto* area = new QMdiArea(main);
    area->setObjectName(QStringLiteral("mdiArea"));
    main->setCentralWidget(area);
    main->installEventFilter(new TitleKeeper(main));
    QObject::connect(area, &QMdiArea::subWindowActivated, main, [this](QMdiSubWindow*) {
        if (!GetWidget())
            return;
        // The active document window's menu shows while it is active, the frame's own otherwise.
        CMDIChildWnd* child = MDIGetActive();
        CMenu* menu = child && child->GetMenu() ? child->GetMenu() : GetMenu();
        if (auto* window = qobject_cast<QMainWindow*>(GetWidget()); window && menu)
            ShowMenuOn(window, *menu, this);
        OnUpdateFrameTitle(true);
    });
    return main;
}

QMdiArea* CMDIFrameWnd::Area() const {
    auto* main = qobject_cast<QMainWindow*>(GetWidget());
    return main ? qobject_cast<QMdiArea*>(main->centralWidget()) : nullptr;
}

bool CMDIFrameWnd::OnCmdMsg(UINT id, UINT message, UINT code, void* extra, LRESULT* result, bool queryOnly) {
    if (CMDIChildWnd* child = MDIGetActive())
        if (child->OnCmdMsg(id, message, code, extra, result, queryOnly))
            return true;
    return CFrameWnd::OnCmdMsg(id, message, code, extra, result, queryOnly);
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* maximized) const {
    QMdiArea* area = Area();
    QMdiSubWindow* sub = area ? area->activeSubWindow() : nullptr;
    if (!sub && area && !area->subWindowList().isEmpty())
        sub = area->subWindowList().last();
    auto* child = sub ? dynamic_cast<CMDIChildWnd*>(CWnd::FromWidget(sub)) : nullptr;
    if (maximized)
        *maximized = child && sub->isMaximized();
    return child;
}

void CMDIFrameWnd::MDIActivate(CWnd* child) {
    QMdiArea* area = Area();
    if (auto* sub = child ? qobject_cast<QMdiSubWindow*>(child->GetWidget()) : nullptr; area && sub)
        area->setActiveSubWindow(sub);
}

void CMDIFrameWnd::MDIMaximize(CWnd* child) {
    if (child && child->GetWidget())
        child->GetWidget()->showMaximized();
}

void CMDIFrameWnd::MDICascade() {
    if (QMdiArea* area = Area())
        area->cascadeSubWindows();
}

void CMDIFrameWnd::MDITile() {
    if (QMdiArea* area = Area())
        area->tileSubWindows();
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
    CMDIChildWnd* child = MDIGetActive();
    return child ? static_cast<CFrameWnd*>(child) : this;
}

void CMDIFrameWnd::OnUpdateFrameTitle(bool addToTitle) {
    std::string text = GetTitle();
    CMDIChildWnd* child = MDIGetActive();
    CDocument* document = child ? child->GetActiveDocument() : nullptr;
    if (addToTitle && (GetStyle() & FWS_ADDTOTITLE) && document && !document->GetTitle().empty())
        text += " - " + document->GetTitle();
    if (QWidget* window = GetWidget()) {
        window->setProperty(kFrameTitleProperty, QString::fromStdString(text));
        window->setWindowTitle(QString::fromStdString(text));
    }
}

// ---- CMDIChildWnd

const MessageMap* CMDIChildWnd::GetMessageMap() const {
    static const MessageMap map(CFrameWnd::GetMessageMap(), {});
    return &map;
}

QWidget* CMDIChildWnd::MakeWidget(CWnd* parent, const CREATESTRUCT&) {
    mainFrame_ = dynamic_cast<CMDIFrameWnd*>(parent);
    QMdiArea* area = mainFrame_ ? mainFrame_->Area() : nullptr;
    if (!area)
        return nullptr;
    auto* sub = new QMdiSubWindow;
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    area->addSubWindow(sub);
    return sub;
}

bool CMDIChildWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context) {
    if (!dynamic_cast<CMDIFrameWnd*>(parent))
        return false;
    return CFrameWnd::LoadFrame(resourceId, style | WS_CHILD, parent, context);
}

void CMDIChildWnd::PlaceClient(QWidget* client) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(GetWidget()))
        sub->setWidget(client);
}

void CMDIChildWnd::ActivateFrame(int showCommand) {
    auto* sub = qobject_cast<QMdiSubWindow*>(GetWidget());
    if (!sub)
        return;
    if (showCommand == SW_SHOWMAXIMIZED || showCommand == SW_MAXIMIZE)
        sub->showMaximized();
    else if (showCommand == SW_HIDE)
        sub->hide();
    else
        sub->show();
    MDIActivate();
}

void CMDIChildWnd::MDIActivate() {
    if (mainFrame_)
        mainFrame_->MDIActivate(this);
}

void CMDIChildWnd::MDIMaximize() {
    if (mainFrame_)
        mainFrame_->MDIMaximize(this);
}

void CMDIChildWnd::OnUpdateFrameTitle(bool addToTitle) {
    std::string text = GetTitle();
    CDocument* document = GetActiveDocument();
    if (addToTitle && document)
        text = document->GetTitle();
    if (GetWidget())
        GetWidget()->setWindowTitle(QString::fromStdString(text));
    if (mainFrame_)
        mainFrame_->OnUpdateFrameTitle(true);
}
