#include "framework/ui/Wnd.h"

#include "framework/ui/App.h"
#include "framework/ui/DC.h"
#include "framework/ui/Fonts.h"
#include "framework/ui/Gdi.h"
#include "framework/ui/WndInternal.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPointer>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <unordered_map>

// ---------------------------------------------------------------------------------------------
// Handles

namespace {

std::mutex g_handleMutex;
std::unordered_map<std::uintptr_t, CWnd*> g_handles;
std::uintptr_t g_nextHandle = 0x10000;

HWND NewHandle(CWnd* window) {
    std::lock_guard<std::mutex> lock(g_handleMutex);
    const std::uintptr_t value = g_nextHandle;
    g_nextHandle += 4;
    g_handles[value] = window;
    return reinterpret_cast<HWND>(value);
}

void RebindHandle(HWND handle, CWnd* window) {
    std::lock_guard<std::mutex> lock(g_handleMutex);
    if (window)
        g_handles[reinterpret_cast<std::uintptr_t>(handle)] = window;
    else
        g_handles.erase(reinterpret_cast<std::uintptr_t>(handle));
}

CWnd* LookupHandle(HWND handle) {
    std::lock_guard<std::mutex> lock(g_handleMutex);
    auto it = g_handles.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == g_handles.end() ? nullptr : it->second;
}

bool IsUiThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

// ---------------------------------------------------------------------------------------------
// Posted messages

const QEvent::Type kPostedMessageEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class PostedMessage : public QEvent {
public:
    PostedMessage(HWND h, UINT m, WPARAM w, LPARAM l)
        : QEvent(kPostedMessageEvent), handle(h), message(m), wParam(w), lParam(l) {}
    HWND handle;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Messages posted to the queue and not yet delivered (posted messages and sends from worker
// threads), so that a loop between transfers can tell at once whether it has any to deliver.
std::atomic<int> g_waitingMessages{0};

class MessageQueue : public QObject {
public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::MetaCall || event->type() == kPostedMessageEvent)
            g_waitingMessages.fetch_sub(1, std::memory_order_relaxed);
        if (event->type() != kPostedMessageEvent)
            return QObject::event(event);
        auto* posted = static_cast<PostedMessage*>(event);
        // The window may have gone since the message was posted: then it is dropped.
        if (CWnd* window = LookupHandle(posted->handle))
            window->SendMessage(posted->message, posted->wParam, posted->lParam);
        return true;
    }
};

std::atomic<MessageQueue*> g_queue{nullptr};

} // namespace

void EnsureMessageQueue() {
    if (g_queue.load() || !IsUiThread())
        return;
    auto* queue = new MessageQueue;
    queue->setParent(QCoreApplication::instance());
    g_queue.store(queue);
}

CWnd* WndFromHandle(HWND hwnd) {
    return hwnd ? LookupHandle(hwnd) : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Bridge

WndBridge::WndBridge(QWidget* w, CWnd* wnd, HWND h) : QObject(w), widget(w), window(wnd), handle(h) {
    widget->setProperty("kelo_bridge", QVariant::fromValue<void*>(this));
    widget->installEventFilter(this);
}

WndBridge::~WndBridge() {
    // The widget is being deleted by its Qt parent without DestroyWindow: let the object go quietly.
    if (window)
        window->WidgetGone();
}

WndBridge* WndBridge::Of(const QWidget* widget) {
    if (!widget)
        return nullptr;
    QVariant v = widget->property("kelo_bridge");
    return v.isValid() ? static_cast<WndBridge*>(v.value<void*>()) : nullptr;
}

CWnd* WindowOfWidget(QWidget* widget) {
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (WndBridge* bridge = WndBridge::Of(w); bridge && bridge->window)
            return bridge->window;
    return nullptr;
}

namespace {

UINT MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    UINT flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

UINT MouseMessage(QEvent::Type type, Qt::MouseButton button) {
    const int index = button == Qt::RightButton ? 1 : button == Qt::MiddleButton ? 2 : 0;
    static const UINT down[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    static const UINT up[] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
    static const UINT dbl[] = {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK};
    switch (type) {
    case QEvent::MouseButtonPress:
        return down[index];
    case QEvent::MouseButtonRelease:
        return up[index];
    case QEvent::MouseButtonDblClick:
        return dbl[index];
    default:
        return WM_MOUSEMOVE;
    }
}

bool MapHandles(const CWnd* window, UINT message) {
    return window->GetMessageMap()->Find(MapEntryKind::Message, message, 0, 0) != nullptr;
}

} // namespace

void WndBridge::WatchViewport(QWidget* area) {
    viewport = area;
    viewport->installEventFilter(this);
    TrackMouseIfHandled();
}

// The platform sends every move of the pointer over a window to it, a button held or not; Qt sends
// a widget the moves without a button only while it tracks the mouse. So a window that handles moves
// (or chooses the cursor on them) tracks it; one that does not keeps what its control set.
void WndBridge::TrackMouseIfHandled() {
    if (!window || !(MapHandles(window, WM_MOUSEMOVE) || MapHandles(window, WM_SETCURSOR)))
        return;
    widget->setMouseTracking(true);
    if (viewport)
        viewport->setMouseTracking(true);
}

bool WndBridge::eventFilter(QObject* watched, QEvent* event) {
    if (!window || bypass)
        return false;
    if (watched != widget) {
        if (watched != viewport)
            return false;
        // From the viewport only the mouse counts, placed in the control's own coordinates.
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
            type != QEvent::MouseButtonDblClick && type != QEvent::MouseMove)
            return false;
    }
    CWnd* wnd = window;
    switch (event->type()) {
    case QEvent::Paint: {
        wnd->ApplyCtlColor();
        if (MapHandles(wnd, WM_ERASEBKGND)) {
            CDC dc(widget);
            wnd->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(&dc));
        }
        if (!MapHandles(wnd, WM_PAINT))
            return false;
        wnd->DispatchEvent(WM_PAINT, 0, 0, event, widget);
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const UINT message = MouseMessage(event->type(), mouse->button());
        QPoint p = mouse->position().toPoint();
        if (watched == viewport)
            p += viewport->geometry().topLeft();
        if (message == WM_MOUSEMOVE && MapHandles(wnd, WM_SETCURSOR)) {
            // The window may choose the cursor for where the pointer is; HTCLIENT is 1.
            const HWND h = handle;
            wnd->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(1, WM_MOUSEMOVE));
            if (!WndFromHandle(h))
                return true;
        }
        MSG msg{wnd, message, MouseFlags(mouse->buttons(), mouse->modifiers()), MAKELPARAM(p.x(), p.y())};
        QPointer<QWidget> guard(widget);
        for (CWnd* w = wnd; w; w = w->GetParent())
            if (w->PreTranslateMessage(&msg))
                return true;
        if (!guard || !window)
            return true;
        if (!MapHandles(window, message))
            return false;
        window->DispatchEvent(message, msg.wParam, msg.lParam, event, watched);
        return true;
    }
    case QEvent::Wheel: {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (!MapHandles(wnd, WM_MOUSEWHEEL))
            return false;
        const QPoint g = wheel->globalPosition().toPoint();
        const int delta = wheel->angleDelta().y();
        wnd->DispatchEvent(
            WM_MOUSEWHEEL,
            MAKEWPARAM(MouseFlags(wheel->buttons(), wheel->modifiers()), static_cast<unsigned>(delta)),
            MAKELPARAM(g.x(), g.y()), event, widget);
        return true;
    }
    case QEvent::Resize: {
        auto* resize = static_cast<QResizeEvent*>(event);
        CRect client;
        wnd->GetClientRect(&client);
        if (widget->isWindow() && !inSizing && MapHandles(wnd, WM_SIZING) && resize->oldSize().isValid()) {
            // Offer the new frame to WM_SIZING; a handler that enforces a minimum changes it.
            CRect frame;
            wnd->GetWindowRect(&frame);
            const UINT edge =
                resize->size().width() != resize->oldSize().width()
                    ? (resize->size().height() != resize->oldSize().height() ? WMSZ_BOTTOMRIGHT : WMSZ_RIGHT)
                    : WMSZ_BOTTOM;
            CRect proposed = frame;
            wnd->SendMessage(WM_SIZING, edge, reinterpret_cast<LPARAM>(&proposed));
            if (!(proposed == frame) && window) {
                inSizing = true;
                widget->resize(proposed.Width() - (frame.Width() - widget->width()),
                               proposed.Height() - (frame.Height() - widget->height()));
                inSizing = false;
                return false;
            }
        }
        if (!window)
            return false;
        const UINT kind = widget->isMaximized()   ? SIZE_MAXIMIZED
                          : widget->isMinimized() ? SIZE_MINIMIZED
                                                  : SIZE_RESTORED;
        window->SendMessage(WM_SIZE, kind, MAKELPARAM(client.Width(), client.Height()));
        return false;
    }
    case QEvent::Close: {
        // The window decides itself: WM_CLOSE's default destroys it (a dialog cancels).
        event->ignore();
        wnd->SendMessage(WM_CLOSE);
        return true;
    }
    case QEvent::FocusIn: {
        const HWND h = handle;
        if (MapHandles(wnd, WM_SETFOCUS))
            wnd->SendMessage(WM_SETFOCUS);
        if (CWnd* w = WndFromHandle(h); w && notifiesFocus)
            w->NotifyParent(setFocusCode);
        return false;
    }
    case QEvent::FocusOut: {
        const HWND h = handle;
        if (MapHandles(wnd, WM_KILLFOCUS))
            wnd->SendMessage(WM_KILLFOCUS);
        if (CWnd* w = WndFromHandle(h); w && notifiesFocus)
            w->NotifyParent(killFocusCode);
        return false;
    }
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------------------------
// Message map lookup and the command target

const MessageMapEntry* MessageMap::Find(MapEntryKind kind, UINT message, UINT code, UINT id) const {
    for (const MessageMap* map = this; map; map = map->baseMap)
        for (const MessageMapEntry& e : map->entries) {
            if (e.kind != kind || e.message != message)
                continue;
            switch (kind) {
            case MapEntryKind::Message:
                return &e;
            case MapEntryKind::ReflectCommand:
            case MapEntryKind::ReflectNotify:
                if (e.code == code)
                    return &e;
                break;
            case MapEntryKind::ReflectMessage:
                return &e;
            default:
                if (e.code == code && id >= e.idFirst && id <= e.idLast)
                    return &e;
            }
        }
    return nullptr;
}

const MessageMap* CCmdTarget::GetMessageMap() const {
    static const MessageMap map(nullptr, {});
    return &map;
}

bool CCmdTarget::OnCmdMsg(UINT id, UINT message, UINT code, void* extra, LRESULT* result, bool queryOnly) {
    const MessageMap* map = GetMessageMap();
    const MessageMapEntry* entry = nullptr;
    if (message == WM_NOTIFY)
        entry = map->Find(MapEntryKind::Notify, WM_NOTIFY, code, id);
    else if (code == CN_UPDATE_COMMAND_UI)
        entry = map->Find(MapEntryKind::UpdateUI, WM_COMMAND, code, id);
    else
        entry = map->Find(MapEntryKind::Command, WM_COMMAND, code, id);
    if (!entry)
        return false;
    if (queryOnly)
        return true;
    MessageArgs args;
    args.message = message;
    args.id = id;
    args.code = code;
    args.extra = extra;
    if (message == WM_NOTIFY)
        args.lParam = reinterpret_cast<LPARAM>(extra);
    entry->invoke(*this, args);
    if (result)
        *result = args.result;
    return args.handled;
}

// ---------------------------------------------------------------------------------------------
// CWnd

struct CWnd::ScrollState {
    QScrollBar* bars[2] = {nullptr, nullptr};
};

CWnd::CWnd() = default;

CWnd::~CWnd() {
    // An object that goes while its window still exists takes the window with it, quietly: no
    // messages, since the derived parts of this object are already gone.
    if (!m_hWnd)
        return;
    if (!QCoreApplication::instance()) {
        // After the application ended its widgets are gone with it: only the handle is let go.
        RebindHandle(m_hWnd, nullptr);
        m_hWnd = nullptr;
        return;
    }
    std::vector<CWnd*> detached;
    DetachTree(&detached, true);
}

const MessageMap* CWnd::GetMessageMap() const {
    static const MessageMap map(CCmdTarget::GetMessageMap(), {});
    return &map;
}

void CWnd::AttachWidget(QWidget* widget, int id, DWORD style, DWORD exStyle, bool owned) {
    EnsureMessageQueue();
    widget_ = widget;
    id_ = id;
    style_ = style;
    exStyle_ = exStyle;
    ownsWidget_ = owned;
    m_hWnd = NewHandle(this);
    bridge_ = new WndBridge(widget, this, m_hWnd);
    bridge_->TrackMouseIfHandled();
}

void CWnd::WidgetGone() {
    if (!m_hWnd)
        return;
    RebindHandle(m_hWnd, nullptr);
    if (bridge_)
        bridge_->window = nullptr;
    bridge_ = nullptr;
    widget_ = nullptr;
    m_hWnd = nullptr;
}

void CWnd::AdoptChild(std::unique_ptr<CWnd> child) {
    ownedChildren_.push_back(std::move(child));
}

bool CWnd::Create(const char* className, const char* windowName, DWORD style, const CRect& rect, CWnd* parent,
                  UINT id) {
    return CreateEx(0, className, windowName, style, rect, parent, id);
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    const CRect& rect, CWnd* parent, UINT id) {
    if (m_hWnd)
        return false;
    QWidget* parentWidget = parent ? parent->GetWidget() : nullptr;
    if (parent && !parentWidget)
        return false;
    QWidget* widget = (style & WS_CHILD) ? new QWidget(parentWidget) : new QWidget(parentWidget, Qt::Window);
    widget->setGeometry(rect.left, rect.top, std::max(0, rect.Width()), std::max(0, rect.Height()));
    if (windowName)
        widget->setWindowTitle(QString::fromUtf8(windowName));
    AttachWidget(widget, static_cast<int>(id), style, exStyle, true);
    if (style & WS_DISABLED)
        widget->setEnabled(false);
    CREATESTRUCT cs;
    cs.hwndParent = parent;
    cs.id = static_cast<int>(id);
    cs.x = rect.left, cs.y = rect.top, cs.cx = rect.Width(), cs.cy = rect.Height();
    cs.style = style;
    cs.exStyle = exStyle;
    cs.name = windowName ? windowName : "";
    cs.className = className ? className : "";
    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow();
        return false;
    }
    if (style & WS_VISIBLE)
        widget->show();
    return true;
}

bool CWnd::SubclassWindow(HWND hwnd) {
    CWnd* current = WndFromHandle(hwnd);
    if (m_hWnd || !current || current == this)
        return false;
    // The new object takes over the widget, its handle, its timers and its place in the family.
    widget_ = current->widget_;
    bridge_ = current->bridge_;
    id_ = current->id_;
    style_ = current->style_;
    exStyle_ = current->exStyle_;
    ownsWidget_ = current->ownsWidget_;
    font_ = current->font_;
    m_hWnd = hwnd;
    bridge_->window = this;
    bridge_->TrackMouseIfHandled();
    RebindHandle(hwnd, this);
    current->widget_ = nullptr;
    current->bridge_ = nullptr;
    current->m_hWnd = nullptr;
    // A wrapper that the parent kept for the control is no longer needed.
    if (CWnd* parent = GetParent()) {
        auto& owned = parent->ownedChildren_;
        for (auto it = owned.begin(); it != owned.end(); ++it)
            if (it->get() == current) {
                owned.erase(it);
                break;
            }
    }
    return true;
}

bool CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    if (!parent)
        return false;
    CWnd* item = parent->GetDlgItem(static_cast<int>(id));
    return item && SubclassWindow(item->m_hWnd);
}

HWND CWnd::UnsubclassWindow() {
    if (!m_hWnd)
        return nullptr;
    HWND handle = m_hWnd;
    CWnd* parent = GetParent();
    auto plain = std::make_unique<CWnd>();
    plain->widget_ = widget_;
    plain->bridge_ = bridge_;
    plain->id_ = id_;
    plain->style_ = style_;
    plain->exStyle_ = exStyle_;
    plain->ownsWidget_ = ownsWidget_;
    plain->m_hWnd = handle;
    bridge_->window = plain.get();
    RebindHandle(handle, plain.get());
    widget_ = nullptr;
    bridge_ = nullptr;
    m_hWnd = nullptr;
    if (parent)
        parent->AdoptChild(std::move(plain));
    else
        plain.release(); // NOLINT: a top-level window without owner lives until it is destroyed
    return handle;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    return WndFromHandle(hwnd);
}

CWnd* CWnd::FromWidget(const QWidget* widget) {
    WndBridge* bridge = WndBridge::Of(widget);
    return bridge ? bridge->window : nullptr;
}

int CWnd::SetDlgCtrlID(int id) {
    const int old = id_;
    id_ = id;
    return old;
}

CWnd* CWnd::GetParent() const {
    if (!widget_ || (widget_->isWindow() && !widget_->parentWidget()))
        return nullptr;
    return WindowOfWidget(widget_->parentWidget());
}

CWnd* CWnd::GetTopLevelParent() const {
    const CWnd* w = this;
    while (CWnd* p = w->GetParent())
        w = p;
    return const_cast<CWnd*>(w);
}

CWnd* CWnd::GetDlgItem(int id) const {
    if (!widget_)
        return nullptr;
    // Dialogs ask for their controls on every exchange and timer tick; a walk over a few hundred
    // children with a property lookup each costs more than the work. The map remembers where each
    // id was found and is checked before use, since controls come, go, move and change their ids.
    WndBridge* self = bridge_ ? bridge_ : WndBridge::Of(widget_);
    if (self) {
        auto it = self->childIds.find(id);
        if (it != self->childIds.end()) {
            CWnd* known = WndFromHandle(it->second);
            if (known && known->id_ == id && known->widget_ && known->widget_->parentWidget() == widget_)
                return known;
            self->childIds.erase(it);
        }
    }
    CWnd* found = nullptr;
    for (QObject* child : widget_->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w)
            continue;
        WndBridge* bridge = WndBridge::Of(w);
        if (!bridge || !bridge->window)
            continue;
        // The first child with an id answers for it, as the walk does.
        if (self)
            self->childIds.try_emplace(bridge->window->id_, bridge->window->m_hWnd);
        if (!found && bridge->window->id_ == id)
            found = bridge->window;
    }
    return found;
}

std::vector<CWnd*> CWnd::GetChildren() const {
    std::vector<CWnd*> result;
    if (!widget_)
        return result;
    for (QObject* child : widget_->children())
        if (auto* w = qobject_cast<QWidget*>(child))
            if (WndBridge* bridge = WndBridge::Of(w); bridge && bridge->window)
                result.push_back(bridge->window);
    return result;
}

bool CWnd::IsChild(const CWnd* window) const {
    for (const CWnd* w = window ? window->GetParent() : nullptr; w; w = w->GetParent())
        if (w == this)
            return true;
    return false;
}

bool CWnd::ModifyStyle(DWORD remove, DWORD add, UINT) {
    const DWORD old = style_;
    style_ = (style_ & ~remove) | add;
    if (widget_ && ((old ^ style_) & WS_DISABLED))
        widget_->setEnabled(!(style_ & WS_DISABLED));
    return old != style_;
}

bool CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT) {
    const DWORD old = exStyle_;
    exStyle_ = (exStyle_ & ~remove) | add;
    return old != exStyle_;
}

// ---- Messages ----

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsUiThread() && QCoreApplication::instance()) {
        // From a worker thread the message is handled on the user-interface thread while the sender waits.
        LRESULT result = 0;
        HWND handle = m_hWnd;
        EnsureMessageQueue();
        if (MessageQueue* queue = g_queue.load()) {
            g_waitingMessages.fetch_add(1, std::memory_order_relaxed);
            QMetaObject::invokeMethod(
                queue,
                [&] {
                    if (CWnd* w = WndFromHandle(handle))
                        result = w->WindowProc(message, wParam, lParam);
                },
                Qt::BlockingQueuedConnection);
        }
        return result;
    }
    CurrentMessage current{message, wParam, lParam, false};
    CurrentMessage* previous = current_;
    current_ = &current;
    std::weak_ptr<int> alive = life_;
    LRESULT result = WindowProc(message, wParam, lParam);
    if (!alive.expired())
        current_ = previous;
    return result;
}

void CWnd::DispatchEvent(UINT message, WPARAM wParam, LPARAM lParam, QEvent* event, QObject* target) {
    CurrentMessage current{message, wParam, lParam, true};
    current.event = event;
    current.target = target;
    CurrentMessage* previous = current_;
    current_ = &current;
    std::weak_ptr<int> alive = life_;
    WindowProc(message, wParam, lParam);
    if (!alive.expired())
        current_ = previous;
}

bool CWnd::DispatchFromEvent(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    CurrentMessage current{message, wParam, lParam, true};
    CurrentMessage* previous = current_;
    current_ = &current;
    std::weak_ptr<int> alive = life_;
    LRESULT r = WindowProc(message, wParam, lParam);
    if (result)
        *result = r;
    if (alive.expired())
        return false;
    current_ = previous;
    return current.defaultWanted;
}

bool CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessage(m_hWnd, message, wParam, lParam) != FALSE;
}

LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* item = GetDlgItem(id);
    return item ? item->SendMessage(message, wParam, lParam) : 0;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, bool deep) {
    for (CWnd* child : GetChildren()) {
        child->SendMessage(message, wParam, lParam);
        if (deep)
            child->SendMessageToDescendants(message, wParam, lParam, true);
    }
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return false;
        *result = 1;
        return true;
    }
    if (message == WM_NOTIFY) {
        LRESULT r = 0;
        if (!OnNotify(wParam, lParam, &r))
            return false;
        *result = r;
        return true;
    }
    if (message == WM_CTLCOLOR) {
        // The control's own colours come first; then the parent's handler.
        auto* request = reinterpret_cast<CtlColorRequest*>(lParam);
        if (request && request->control && request->control != this &&
            request->control->OnChildNotify(message, wParam, lParam, result))
            return true;
    }
    if ((message == WM_HSCROLL || message == WM_VSCROLL) && lParam) {
        if (CWnd* control = WndFromHandle(reinterpret_cast<HWND>(lParam)); control && control != this)
            if (control->OnChildNotify(message, wParam, lParam, result))
                return true;
    }
    if (message == WM_DRAWITEM || message == WM_MEASUREITEM) {
        if (const MessageMapEntry* entry = GetMessageMap()->Find(MapEntryKind::Message, message, 0, 0)) {
            MessageArgs args{message, wParam, lParam};
            entry->invoke(*this, args);
            *result = TRUE;
            return true;
        }
        if (message == WM_DRAWITEM) {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (item && item->hwndItem) {
                item->hwndItem->DrawItem(item);
                *result = TRUE;
                return true;
            }
        } else {
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (CWnd* control = item ? GetDlgItem(static_cast<int>(item->CtlID)) : nullptr) {
                control->MeasureItem(item);
                *result = TRUE;
                return true;
            }
        }
        return false;
    }
    const MessageMapEntry* entry = GetMessageMap()->Find(MapEntryKind::Message, message, 0, 0);
    if (!entry)
        return false;
    MessageArgs args{message, wParam, lParam};
    entry->invoke(*this, args);
    *result = args.result;
    return args.handled;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (lParam) {
        CWnd* control = WndFromHandle(reinterpret_cast<HWND>(lParam));
        if (control && control != this && control->OnChildNotify(WM_COMMAND, wParam, lParam, nullptr))
            return TRUE;
    }
    return OnCmdMsg(id, WM_COMMAND, code, nullptr) ? TRUE : FALSE;
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header)
        return FALSE;
    CWnd* control = WndFromHandle(header->hwndFrom);
    if (control && control != this && control->OnChildNotify(WM_NOTIFY, 0, lParam, result))
        return TRUE;
    return OnCmdMsg(static_cast<UINT>(header->idFrom), WM_NOTIFY, header->code, header, result) ? TRUE
                                                                                                : FALSE;
}

bool CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const MessageMap* map = GetMessageMap();
    const MessageMapEntry* entry = nullptr;
    if (message == WM_COMMAND)
        entry = map->Find(MapEntryKind::ReflectCommand, WM_COMMAND, HIWORD(wParam), 0);
    else if (message == WM_NOTIFY)
        entry = map->Find(MapEntryKind::ReflectNotify, WM_NOTIFY, reinterpret_cast<NMHDR*>(lParam)->code, 0);
    else
        entry = map->Find(MapEntryKind::ReflectMessage, message, 0, 0);
    if (!entry)
        return false;
    MessageArgs args{message, wParam, lParam};
    entry->invoke(*this, args);
    if (result)
        *result = args.result;
    return args.handled;
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

LRESULT CWnd::Default() {
    if (!current_)
        return 0;
    if (current_->fromEvent)
        return DefaultForEvent(*current_);
    return DefWindowProc(current_->message, current_->wParam, current_->lParam);
}

LRESULT CWnd::DefaultForEvent(CurrentMessage& current) {
    if (!current.event) {
        // The caller lets the widget do the default work once the handler returns.
        current.defaultWanted = true;
        return 0;
    }
    if (current.defaultDone)
        return 0;
    current.defaultDone = true;
    if (current.message == WM_KEYDOWN || current.message == WM_KEYUP || current.message == WM_CHAR) {
        // One key event carries both the key and its character: the default of each part is made
        // separately, so a WM_KEYDOWN default does not type the character a WM_CHAR handler refused.
        std::unique_ptr<QKeyEvent> key(
            MakeDefaultKeyEvent(current.message, current.wParam, static_cast<QKeyEvent*>(current.event)));
        if (key && current.target && current.target->isWidgetType())
            SendKeyToWidget(static_cast<QWidget*>(current.target), key.get());
        return 0;
    }
    if ((current.event->type() == QEvent::KeyPress || current.event->type() == QEvent::KeyRelease) &&
        current.target && current.target->isWidgetType()) {
        // A key's clipboard message (WM_PASTE, WM_CUT): the widget handles the key itself.
        SendKeyToWidget(static_cast<QWidget*>(current.target), static_cast<QKeyEvent*>(current.event));
        return 0;
    }
    if (bridge_ && current.target) {
        ++bridge_->bypass;
        WndBridge* bridge = bridge_;
        QPointer<QObject> guard(bridge);
        QCoreApplication::sendEvent(current.target, current.event);
        if (guard)
            --bridge->bypass;
    }
    return 0;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (bridge_ && bridge_->procedure) {
        LRESULT result = 0;
        if (bridge_->procedure(message, wParam, lParam, &result))
            return result;
    }
    switch (message) {
    case WM_CLOSE:
        DestroyWindow();
        return 0;
    case WM_SETTEXT:
        SetTextDirect(lParam ? reinterpret_cast<const char*>(lParam) : "");
        return TRUE;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        if (widget_) {
            // Sent by code: the widget handles the key as if it had been typed.
            std::unique_ptr<QKeyEvent> key(MakeDefaultKeyEvent(message, wParam, nullptr));
            if (key)
                SendKeyToWidget(widget_, key.get());
        }
        return 0;
    default:
        return 0;
    }
}

void CWnd::DrawItem(LPDRAWITEMSTRUCT) {}
void CWnd::MeasureItem(LPMEASUREITEMSTRUCT) {}

void CWnd::NotifyParent(UINT code) {
    CWnd* parent = GetParent();
    if (parent && m_hWnd)
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(id_), code),
                            reinterpret_cast<LPARAM>(m_hWnd));
}

LRESULT CWnd::NotifyParent(NMHDR* header) {
    CWnd* parent = GetParent();
    if (!parent || !m_hWnd)
        return 0;
    header->hwndFrom = m_hWnd;
    header->idFrom = static_cast<UINT_PTR>(id_);
    return parent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(id_), reinterpret_cast<LPARAM>(header));
}

void CWnd::ApplyCtlColor() {
    if (!widget_)
        return;
    // Only windows whose colours someone handles pay for the question.
    CWnd* parent = GetParent();
    const bool parentAsks = parent && (bridge_ ? bridge_->ctlColorKind : CtlColorKind()) != CTLCOLOR_DLG &&
                            parent->GetMessageMap()->Find(MapEntryKind::Message, WM_CTLCOLOR, 0, 0);
    const bool selfAsks = GetMessageMap()->Find(MapEntryKind::ReflectMessage, WM_CTLCOLOR, 0, 0) ||
                          GetMessageMap()->Find(MapEntryKind::Message, WM_CTLCOLOR, 0, 0);
    if (!parentAsks && !selfAsks)
        return;
    // The handler starts from the enabled colours: a disabled widget's palette answers with its grey
    // group, which written back below would leave the control grey once it is enabled again.
    CDC dc;
    dc.SetTextColor(FromQColor(widget_->palette().color(QPalette::Active, QPalette::WindowText)));
    dc.SetBkColor(FromQColor(widget_->palette().color(QPalette::Active, QPalette::Window)));
    const UINT kind = bridge_ ? bridge_->ctlColorKind : CtlColorKind();
    CtlColorRequest request{&dc, this, kind};
    const LPARAM l = reinterpret_cast<LPARAM>(&request);
    // A control asks its parent (which offers the question back to the control first); a dialog or
    // plain window answers for its own background.
    LRESULT answer = 0;
    if (kind != CTLCOLOR_DLG && parent)
        answer = parent->SendMessage(WM_CTLCOLOR, 0, l);
    else
        answer = SendMessage(WM_CTLCOLOR, 0, l);
    if (!widget_)
        return;
    auto* brush = reinterpret_cast<CBrush*>(answer);
    QPalette palette = widget_->palette();
    const QColor text = ToQColor(dc.GetTextColor());
    // A disabled control keeps the system's grey text whatever colour the handler chose, as the
    // platform draws it: the handler's colour goes to the enabled states only.
    for (auto group : {QPalette::Active, QPalette::Inactive})
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(group, role, text);
    bool fill = false;
    if (brush && brush->IsCreated() && brush->Data().lbStyle != BS_NULL) {
        const QColor back = ToQColor(brush->Data().lbColor);
        // The brush paints a check box's or radio button's face, not the box it is ticked in.
        const bool indicator = qobject_cast<QCheckBox*>(widget_) || qobject_cast<QRadioButton*>(widget_);
        for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
            if (!(indicator && role == QPalette::Base))
                palette.setColor(role, back);
        fill = true;
    } else if (dc.GetBkMode() == OPAQUE && brush) {
        const QColor back = ToQColor(dc.GetBkColor());
        palette.setColor(QPalette::Base, back);
    }
    // Setting an equal palette again would only schedule another paint.
    if (palette != widget_->palette())
        widget_->setPalette(palette);
    if (fill != widget_->autoFillBackground() && !widget_->isWindow())
        widget_->setAutoFillBackground(fill);
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) {
    // The default: let the control answer for itself (reflection), else default colours.
    return reinterpret_cast<HBRUSH>(Default());
}

// ---- Timers ----

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, void*) {
    if (!bridge_)
        return 0;
    QTimer*& timer = bridge_->timers[id];
    if (!timer) {
        timer = new QTimer(bridge_);
        HWND handle = m_hWnd;
        QObject::connect(timer, &QTimer::timeout, bridge_, [handle, id] {
            if (CWnd* w = WndFromHandle(handle))
                w->FireTimer(id);
        });
    }
    timer->start(static_cast<int>(elapse));
    return id;
}

BOOL CWnd::KillTimer(UINT_PTR id) {
    if (!bridge_)
        return FALSE;
    auto it = bridge_->timers.find(id);
    if (it == bridge_->timers.end())
        return FALSE;
    it->second->stop();
    it->second->deleteLater();
    bridge_->timers.erase(it);
    return TRUE;
}

bool CWnd::HasTimer(UINT_PTR id) const {
    return bridge_ && bridge_->timers.count(id) != 0;
}

int CWnd::TimerInterval(UINT_PTR id) const {
    if (!bridge_)
        return -1;
    auto it = bridge_->timers.find(id);
    return it == bridge_->timers.end() ? -1 : it->second->interval();
}

void CWnd::FireTimer(UINT_PTR id) {
    SendMessage(WM_TIMER, id);
}

bool FireTimerForTest(CWnd* window, UINT_PTR id) {
    if (!window || !window->HasTimer(id))
        return false;
    window->FireTimer(id);
    return true;
}

// ---- Text ----

void CWnd::SetWindowText(const std::string& text) {
    // A class that filters text set by code sees it as WM_SETTEXT first.
    if (GetMessageMap()->Find(MapEntryKind::Message, WM_SETTEXT, 0, 0)) {
        SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        return;
    }
    SetTextDirect(text);
}

void CWnd::SetTextDirect(const std::string& text) {
    if (bridge_ && bridge_->setText)
        bridge_->setText(text);
    else if (widget_)
        widget_->setWindowTitle(QString::fromStdString(text));
}

std::string CWnd::GetWindowText() const {
    if (bridge_ && bridge_->getText)
        return bridge_->getText();
    return widget_ ? widget_->windowTitle().toStdString() : std::string();
}

void CWnd::SetDlgItemText(int id, const std::string& text) {
    if (CWnd* item = GetDlgItem(id))
        item->SetWindowText(text);
}

std::string CWnd::GetDlgItemText(int id) const {
    CWnd* item = GetDlgItem(id);
    return item ? item->GetWindowText() : std::string();
}

void CWnd::SetDlgItemInt(int id, int value, bool isSigned) {
    SetDlgItemText(id, isSigned ? std::to_string(value) : std::to_string(static_cast<unsigned>(value)));
}

UINT CWnd::GetDlgItemInt(int id, BOOL* translated, bool isSigned) const {
    if (translated)
        *translated = FALSE;
    CWnd* item = GetDlgItem(id);
    if (!item)
        return 0;
    const std::string text = item->GetWindowText();
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    bool negative = false;
    if (isSigned && pos < text.size() && text[pos] == '-')
        negative = true, ++pos;
    const std::size_t start = pos;
    long long value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        if (value > 0xFFFFFFFFLL)
            return 0;
        ++pos;
    }
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    if (pos == start || pos != text.size())
        return 0;
    if (negative)
        value = -value;
    if (isSigned ? (value < INT32_MIN || value > INT32_MAX) : value > 0xFFFFFFFFLL)
        return 0;
    if (translated)
        *translated = TRUE;
    return static_cast<UINT>(value);
}

void CWnd::CheckDlgButton(int id, UINT check) {
    SendDlgItemMessage(id, 0x00F1 /* BM_SETCHECK */, check);
}

UINT CWnd::IsDlgButtonChecked(int id) const {
    CWnd* item = GetDlgItem(id);
    return item ? static_cast<UINT>(item->SendMessage(0x00F0 /* BM_GETCHECK */)) : 0;
}

void CWnd::CheckRadioButton(int firstId, int lastId, int checkId) {
    for (int id = firstId; id <= lastId; ++id)
        CheckDlgButton(id, id == checkId ? BST_CHECKED : BST_UNCHECKED);
}

int CWnd::GetCheckedRadioButton(int firstId, int lastId) const {
    for (int id = firstId; id <= lastId; ++id)
        if (IsDlgButtonChecked(id) == BST_CHECKED)
            return id;
    return 0;
}

// ---- State ----

BOOL CWnd::EnableWindow(BOOL enable) {
    if (!widget_)
        return FALSE;
    const BOOL wasDisabled = !widget_->isEnabled();
    widget_->setEnabled(enable != FALSE);
    style_ = enable ? (style_ & ~WS_DISABLED) : (style_ | WS_DISABLED);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
    return widget_ && widget_->isEnabled();
}

BOOL CWnd::ShowWindow(int command) {
    if (!widget_)
        return FALSE;
    const BOOL wasVisible = !widget_->isHidden();
    if (command == SW_HIDE) {
        if (wasVisible && MapHandles(this, WM_SHOWWINDOW))
            SendMessage(WM_SHOWWINDOW, FALSE, 0);
        if (widget_)
            widget_->hide();
        style_ &= ~WS_VISIBLE;
        return wasVisible;
    }
    if (!wasVisible && MapHandles(this, WM_SHOWWINDOW))
        SendMessage(WM_SHOWWINDOW, TRUE, 0);
    if (!widget_)
        return wasVisible;
    switch (command) {
    case SW_SHOWMAXIMIZED:
        widget_->showMaximized();
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        widget_->showMinimized();
        break;
    case SW_RESTORE:
        widget_->showNormal();
        break;
    default:
        widget_->show();
    }
    style_ |= WS_VISIBLE;
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const {
    return widget_ && widget_->isVisible();
}
bool CWnd::IsIconic() const {
    return widget_ && widget_->isMinimized();
}
bool CWnd::IsZoomed() const {
    return widget_ && widget_->isMaximized();
}

void CWnd::SetFont(CFont* font, BOOL redraw) {
    font_ = font;
    if (widget_ && font && font->IsCreated()) {
        widget_->setFont(QFontFromLogFont(font->Data()));
        if (redraw)
            widget_->update();
    }
}

CSize CWnd::GetTextExtent(const std::string& text) const {
    const QFontMetrics metrics(widget_ ? widget_->font() : QFont());
    const QSize size = metrics.size(0, QString::fromStdString(text));
    return {size.width(), size.height()};
}

QFont QFontFromLogFont(const LOGFONT& lf) {
    QFont font(FamilyOfFace(lf.lfFaceName));
    if (lf.lfHeight < 0)
        font.setPixelSize(-lf.lfHeight);
    else if (lf.lfHeight > 0)
        font.setPixelSize(std::max(1, lf.lfHeight * 4 / 5)); // a cell height holds the leading too
    font.setWeight(lf.lfWeight >= 600 ? QFont::Bold : lf.lfWeight <= 300 ? QFont::Light : QFont::Normal);
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    return font;
}

// ---- Painting ----

void CWnd::Invalidate(BOOL) {
    if (widget_)
        widget_->update();
}

void CWnd::InvalidateRect(const CRect* rect, BOOL) {
    if (!widget_)
        return;
    if (rect)
        widget_->update(rect->left, rect->top, rect->Width(), rect->Height());
    else
        widget_->update();
}

void CWnd::UpdateWindow() {
    if (widget_ && widget_->isVisible())
        widget_->repaint();
}

BOOL CWnd::RedrawWindow(const CRect* rect, void*, UINT flags) {
    if (!widget_)
        return FALSE;
    if (flags & RDW_INVALIDATE)
        InvalidateRect(rect);
    if (flags & RDW_ALLCHILDREN)
        for (CWnd* child : GetChildren())
            child->RedrawWindow(nullptr, nullptr, flags);
    if ((flags & RDW_UPDATENOW) && widget_->isVisible())
        widget_->repaint();
    return TRUE;
}

void CWnd::OnPaint() {
    // Nothing of our own to draw: the widget paints itself.
    Default();
}

void CWnd::OnClose() {
    Default();
}

// ---- Geometry ----

void CWnd::GetClientRect(CRect* rect) const {
    if (!widget_) {
        *rect = CRect();
        return;
    }
    int width = widget_->width();
    int height = widget_->height();
    if (scroll_) {
        if (scroll_->bars[SB_VERT] && scroll_->bars[SB_VERT]->isVisibleTo(widget_))
            width -= scroll_->bars[SB_VERT]->width();
        if (scroll_->bars[SB_HORZ] && scroll_->bars[SB_HORZ]->isVisibleTo(widget_))
            height -= scroll_->bars[SB_HORZ]->height();
    }
    *rect = CRect(0, 0, std::max(0, width), std::max(0, height));
}

void CWnd::GetWindowRect(CRect* rect) const {
    if (!widget_) {
        *rect = CRect();
        return;
    }
    if (widget_->isWindow()) {
        const QRect frame = widget_->frameGeometry();
        *rect = CRect(frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height());
        return;
    }
    const QPoint origin = widget_->mapToGlobal(QPoint(0, 0));
    *rect = CRect(origin.x(), origin.y(), origin.x() + widget_->width(), origin.y() + widget_->height());
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    if (!widget_)
        return;
    if (widget_->isWindow()) {
        widget_->move(x, y);
        const QRect frame = widget_->frameGeometry();
        widget_->resize(std::max(0, width - (frame.width() - widget_->width())),
                        std::max(0, height - (frame.height() - widget_->height())));
    } else {
        widget_->setGeometry(x, y, std::max(0, width), std::max(0, height));
    }
    if (repaint && widget_)
        widget_->update();
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
    if (!widget_)
        return FALSE;
    CRect current;
    GetWindowRect(&current);
    if (!widget_->isWindow()) {
        CPoint topLeft = current.TopLeft();
        if (CWnd* parent = GetParent())
            parent->ScreenToClient(&topLeft);
        current = CRect(topLeft, current.Size());
    }
    if (flags & SWP_NOMOVE)
        x = current.left, y = current.top;
    if (flags & SWP_NOSIZE)
        cx = current.Width(), cy = current.Height();
    if (!(flags & (SWP_NOMOVE)) || !(flags & SWP_NOSIZE))
        MoveWindow(x, y, cx, cy, !(flags & SWP_NOREDRAW));
    if (!(flags & SWP_NOZORDER) && insertAfter == nullptr && widget_)
        widget_->raise();
    if (flags & SWP_SHOWWINDOW)
        ShowWindow(SW_SHOW);
    if (flags & SWP_HIDEWINDOW)
        ShowWindow(SW_HIDE);
    return TRUE;
}

void CWnd::ClientToScreen(CPoint* point) const {
    if (!widget_)
        return;
    const QPoint p = widget_->mapToGlobal(QPoint(point->x, point->y));
    *point = CPoint(p.x(), p.y());
}

void CWnd::ClientToScreen(CRect* rect) const {
    CPoint a = rect->TopLeft(), b = rect->BottomRight();
    ClientToScreen(&a);
    ClientToScreen(&b);
    *rect = CRect(a.x, a.y, b.x, b.y);
}

void CWnd::ScreenToClient(CPoint* point) const {
    if (!widget_)
        return;
    const QPoint p = widget_->mapFromGlobal(QPoint(point->x, point->y));
    *point = CPoint(p.x(), p.y());
}

void CWnd::ScreenToClient(CRect* rect) const {
    CPoint a = rect->TopLeft(), b = rect->BottomRight();
    ScreenToClient(&a);
    ScreenToClient(&b);
    *rect = CRect(a.x, a.y, b.x, b.y);
}

void CWnd::CenterWindow(CWnd* alternateOwner) {
    if (!widget_)
        return;
    CWnd* owner = alternateOwner ? alternateOwner : GetParent();
    CRect area;
    if (owner && owner->GetWidget())
        owner->GetWindowRect(&area);
    else if (QScreen* screen = widget_->screen()) {
        const QRect g = screen->availableGeometry();
        area = CRect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height());
    }
    CRect mine;
    GetWindowRect(&mine);
    int x = area.left + (area.Width() - mine.Width()) / 2;
    int y = area.top + (area.Height() - mine.Height()) / 2;
    if (widget_->isWindow()) {
        // An owner smaller than the window (or partly off the screen) would centre it off the
        // screen's edge: keep a window on the screen wherever it fits.
        if (QScreen* screen = widget_->screen()) {
            const QRect g = screen->availableGeometry();
            x = std::max(g.left(), std::min(x, g.left() + g.width() - mine.Width()));
            y = std::max(g.top(), std::min(y, g.top() + g.height() - mine.Height()));
        }
    } else {
        CPoint p(x, y);
        if (CWnd* parent = GetParent())
            parent->ScreenToClient(&p);
        x = p.x, y = p.y;
    }
    MoveWindow(x, y, mine.Width(), mine.Height());
}

// ---- The window's own scroll bars ----

QString ShownLine(QString text) {
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}

namespace {} // namespace

UINT ScrollCodeOfAction(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        return SB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub:
        return SB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd:
        return SB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub:
        return SB_PAGEUP;
    case QAbstractSlider::SliderToMinimum:
        return SB_TOP;
    case QAbstractSlider::SliderToMaximum:
        return SB_BOTTOM;
    default:
        return SB_THUMBTRACK;
    }
}

int FindListItem(int count, int startAfter, const std::function<bool(int)>& matches) {
    if (count <= 0)
        return -1;
    const int first = startAfter < 0 || startAfter >= count ? 0 : startAfter + 1;
    for (int n = 0; n < count; ++n) {
        const int i = (first + n) % count;
        if (matches(i))
            return i;
    }
    return -1;
}

int SortedListPosition(int count, const std::function<QString(int)>& textAt, const QString& text) {
    int index = 0;
    while (index < count && QString::compare(textAt(index), text, Qt::CaseInsensitive) <= 0)
        ++index;
    return index;
}

namespace {} // namespace

static QScrollBar* EnsureBar(CWnd* window, QWidget* widget, std::unique_ptr<CWnd::ScrollState>& state,
                             int bar);

void ForwardScrollActions(QScrollBar* bar, std::function<void(UINT code, int pos)> send) {
    // As on the platform, the bar does not move by itself: the owner's handler sets the position.
    QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [bar, send](int action) {
        const int target = bar->sliderPosition();
        const UINT code = ScrollCodeOfAction(action);
        if (code != SB_THUMBTRACK)
            bar->setSliderPosition(bar->value());
        send(code, target);
    });
    QObject::connect(bar, &QAbstractSlider::sliderReleased, bar, [bar, send] {
        const QPointer<QScrollBar> guard(bar);
        send(SB_THUMBPOSITION, bar->sliderPosition());
        if (guard)
            send(SB_ENDSCROLL, 0);
    });
}

BOOL CWnd::SetScrollInfo(int bar, SCROLLINFO* info, BOOL) {
    if (!widget_ || !info || (bar != SB_HORZ && bar != SB_VERT))
        return FALSE;
    QScrollBar* s = EnsureBar(this, widget_, scroll_, bar);
    const QSignalBlocker block(s);
    if (info->fMask & SIF_PAGE)
        s->setPageStep(static_cast<int>(info->nPage));
    if (info->fMask & SIF_RANGE)
        s->setRange(info->nMin, std::max(info->nMin, info->nMax - std::max(0, s->pageStep() - 1)));
    if (info->fMask & SIF_POS)
        s->setValue(info->nPos);
    s->setVisible(s->maximum() > s->minimum() || (info->fMask & SIF_DISABLENOSCROLL));
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int bar, SCROLLINFO* info, UINT mask) const {
    if (!info || !scroll_ || (bar != SB_HORZ && bar != SB_VERT) || !scroll_->bars[bar])
        return FALSE;
    QScrollBar* s = scroll_->bars[bar];
    info->fMask = mask;
    info->nMin = s->minimum();
    info->nPage = static_cast<UINT>(s->pageStep());
    info->nMax = s->maximum() + std::max(0, s->pageStep() - 1);
    info->nPos = s->value();
    info->nTrackPos = s->sliderPosition();
    return TRUE;
}

int CWnd::SetScrollPos(int bar, int pos, BOOL) {
    if (!widget_ || (bar != SB_HORZ && bar != SB_VERT))
        return 0;
    QScrollBar* s = EnsureBar(this, widget_, scroll_, bar);
    const int old = s->value();
    const QSignalBlocker block(s);
    s->setValue(pos);
    return old;
}

int CWnd::GetScrollPos(int bar) const {
    if (!scroll_ || (bar != SB_HORZ && bar != SB_VERT) || !scroll_->bars[bar])
        return 0;
    return scroll_->bars[bar]->value();
}

void CWnd::SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw) {
    SCROLLINFO info;
    info.fMask = SIF_RANGE;
    info.nMin = minPos;
    info.nMax = maxPos;
    SetScrollInfo(bar, &info, redraw);
}

void CWnd::GetScrollRange(int bar, int* minPos, int* maxPos) const {
    SCROLLINFO info;
    if (!GetScrollInfo(bar, &info)) {
        *minPos = *maxPos = 0;
        return;
    }
    *minPos = info.nMin;
    *maxPos = info.nMax;
}

void CWnd::ShowScrollBar(UINT bar, BOOL show) {
    if (!widget_)
        return;
    for (int b : {SB_HORZ, SB_VERT})
        if (static_cast<int>(bar) == b || bar == SB_BOTH)
            EnsureBar(this, widget_, scroll_, b)->setVisible(show != FALSE);
}

void CWnd::ScrollWindow(int dx, int dy, const CRect*, const CRect*) {
    if (!widget_)
        return;
    for (QObject* child : widget_->children())
        if (auto* w = qobject_cast<QWidget*>(child)) {
            if (scroll_ && (w == scroll_->bars[0] || w == scroll_->bars[1]))
                continue;
            w->move(w->x() + dx, w->y() + dy);
        }
    widget_->update();
}

static QScrollBar* EnsureBar(CWnd* window, QWidget* widget, std::unique_ptr<CWnd::ScrollState>& state,
                             int bar) {
    if (!state)
        state = std::make_unique<CWnd::ScrollState>();
    QScrollBar*& s = state->bars[bar];
    if (s)
        return s;
    s = new QScrollBar(bar == SB_VERT ? Qt::Vertical : Qt::Horizontal, widget);
    s->setProperty("kelo_window_bar", true);
    s->setPageStep(0);
    const UINT message = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    HWND handle = window->m_hWnd;
    QScrollBar* self = s;
    auto place = [self, widget, bar] {
        const int extent = bar == SB_VERT ? self->sizeHint().width() : self->sizeHint().height();
        if (bar == SB_VERT)
            self->setGeometry(widget->width() - extent, 0, extent, widget->height());
        else
            self->setGeometry(0, widget->height() - extent, widget->width(), extent);
        self->raise();
    };
    place();
    struct Placer : QObject {
        std::function<void()> fn;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Resize)
                fn();
            return false;
        }
    };
    auto* placer = new Placer;
    placer->fn = place;
    placer->setParent(s);
    widget->installEventFilter(placer);
    ForwardScrollActions(s, [handle, message](UINT code, int pos) {
        if (CWnd* w = WndFromHandle(handle))
            w->SendMessage(message, MAKEWPARAM(code, static_cast<unsigned>(pos)), 0);
    });
    s->setVisible(false);
    return s;
}

// ---- Focus and capture ----

CWnd* CWnd::SetFocus() {
    CWnd* previous = GetFocus();
    if (widget_)
        widget_->setFocus(Qt::OtherFocusReason);
    return previous;
}

CWnd* CWnd::GetFocus() {
    return WindowOfWidget(QApplication::focusWidget());
}

CWnd* CWnd::SetCapture() {
    CWnd* previous = GetCapture();
    if (widget_)
        widget_->grabMouse();
    return previous;
}

CWnd* CWnd::GetCapture() {
    return WindowOfWidget(QWidget::mouseGrabber());
}

BOOL CWnd::ReleaseCapture() {
    QWidget* grabber = QWidget::mouseGrabber();
    if (!grabber)
        return TRUE;
    grabber->releaseMouse();
    if (CWnd* w = CWnd::FromWidget(grabber))
        w->SendMessage(WM_CAPTURECHANGED, 0);
    return TRUE;
}

CWnd* CWnd::SetActiveWindow() {
    CWnd* previous = GetActiveWindow();
    if (widget_)
        widget_->activateWindow();
    return previous;
}

CWnd* CWnd::GetActiveWindow() {
    return WindowOfWidget(QApplication::activeWindow());
}

// ---- Destruction ----

void CWnd::DetachTree(std::vector<CWnd*>* detached, bool root) {
    for (CWnd* child : GetChildren())
        child->DetachTree(detached, false);
    if (bridge_) {
        for (auto& [id, timer] : bridge_->timers)
            timer->stop();
        bridge_->window = nullptr;
    }
    QWidget* widget = widget_;
    const bool owned = ownsWidget_;
    WidgetGone();
    // Child widgets go with the root's widget.
    if (widget && owned && root) {
        widget->hide();
        widget->setParent(nullptr);
        widget->deleteLater();
    }
    detached->push_back(this);
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd)
        return FALSE;
    // WM_DESTROY reaches the window first, then its children.
    std::weak_ptr<int> alive = life_;
    SendMessage(WM_DESTROY);
    if (alive.expired() || !m_hWnd)
        return TRUE;
    for (CWnd* child : GetChildren())
        child->SendMessageToDescendants(WM_DESTROY), child->SendMessage(WM_DESTROY);
    if (alive.expired() || !m_hWnd)
        return TRUE;
    // The program ends when its main window goes.
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        PostQuitMessage(0);
    }
    std::vector<CWnd*> detached;
    std::vector<std::weak_ptr<int>> lives;
    DetachTree(&detached, true);
    for (CWnd* w : detached)
        lives.push_back(w->life_);
    // Wrappers this window owned go with it; objects of the program get PostNcDestroy.
    std::vector<std::unique_ptr<CWnd>> owned = std::move(ownedChildren_);
    for (std::size_t i = 0; i < detached.size(); ++i) {
        if (lives[i].expired())
            continue;
        CWnd* w = detached[i];
        const bool ownedHere =
            std::any_of(owned.begin(), owned.end(), [w](const auto& p) { return p.get() == w; });
        if (!ownedHere)
            w->PostNcDestroy();
    }
    return TRUE;
}

// ---- Free functions ----

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!hwnd || !LookupHandle(hwnd))
        return FALSE;
    MessageQueue* queue = g_queue.load();
    if (!queue)
        return FALSE;
    g_waitingMessages.fetch_add(1, std::memory_order_relaxed);
    QCoreApplication::postEvent(queue, new PostedMessage(hwnd, message, wParam, lParam));
    return TRUE;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* window = WndFromHandle(hwnd);
    return window ? window->SendMessage(message, wParam, lParam) : 0;
}

BOOL IsWindow(HWND hwnd) {
    return hwnd && LookupHandle(hwnd) ? TRUE : FALSE;
}

bool DispatchMessagesBetweenTransfers() {
    if (!QCoreApplication::instance() || !IsUiThread())
        return DispatchPendingMessages();
    // A full pass of the event loop costs about a tenth of a short exchange; input, timers and
    // painting keep their pace at one pass every 10 ms, posted messages go through at once.
    constexpr auto kFullPassInterval = std::chrono::milliseconds(10);
    static std::chrono::steady_clock::time_point lastFullPass{};
    const auto now = std::chrono::steady_clock::now();
    if (now - lastFullPass >= kFullPassInterval) {
        lastFullPass = now;
        return DispatchPendingMessages();
    }
    if (g_waitingMessages.load(std::memory_order_relaxed) > 0)
        if (MessageQueue* queue = g_queue.load())
            QCoreApplication::sendPostedEvents(queue, 0);
    return !QCoreApplication::closingDown();
}

bool WaitForMessages(std::chrono::milliseconds limit) {
    if (!QCoreApplication::instance() || !IsUiThread()) {
        std::this_thread::sleep_for(limit);
        return QCoreApplication::instance() && !QCoreApplication::closingDown();
    }
    // The timer ends the wait when nothing else does.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(std::max(limit, std::chrono::milliseconds::zero()));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return !QCoreApplication::closingDown();
}

bool DispatchPendingMessages() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return !QCoreApplication::closingDown();
}
