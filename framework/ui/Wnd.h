#pragma once
// CWnd: every window of the program, a frame, a dialog or a control, over one Qt widget.
//
// A window has a numeric id, a parent, and children found by id. Messages reach it through
// SendMessage (handled now; called from another thread it is handled on the user-interface thread
// while the caller waits) or PostMessage (queued; from any thread it is handled later on the
// user-interface thread). What a
// message does is decided by the class's message map (MessageMap.h); what no entry handles goes to
// DefWindowProc. Events of the widget (paint, mouse, keys, size, close) arrive as the same messages.
//
// Handles (HWND) are numbers that are never reused, so a stale handle finds no window. Child windows
// created from a dialog template get a wrapper object of their class (CEdit for an edit, ...) that the
// parent owns; SubclassDlgItem (or DDX_Control) hands the control to an object of the caller's class.
#include "framework/core/WindowStyles.h"
#include "framework/ui/MessageMap.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

class QEvent;
class QObject;
class QWidget;
class CFont;
class WndBridge;

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;

    const MessageMap* GetMessageMap() const override;

    // ---- Creation and association ----

    // Creates a plain child (or, without WS_CHILD, top-level) window that the class paints itself.
    // className is informative only. Sends WM_CREATE; false when the parent is not a window or the
    // WM_CREATE handler answers -1.
    virtual bool Create(const char* className, const char* windowName, DWORD style, const CRect& rect,
                        CWnd* parent, UINT id);
    bool CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                  const CRect& rect, CWnd* parent, UINT id);

    // Takes over the child control with this id from its current object. False when there is no such
    // control or this object already has a window.
    bool SubclassDlgItem(UINT id, CWnd* parent);
    bool SubclassWindow(HWND hwnd);
    // Gives the window back to a fresh wrapper of the parent (the reverse of subclassing).
    HWND UnsubclassWindow();

    HWND GetSafeHwnd() const { return m_hWnd; }
    static CWnd* FromHandle(HWND hwnd);
    static CWnd* FromWidget(const QWidget* widget);
    QWidget* GetWidget() const { return widget_; }

    // ---- Family ----
    int GetDlgCtrlID() const { return id_; }
    int SetDlgCtrlID(int id);
    CWnd* GetParent() const;
    CWnd* GetOwner() const { return GetParent(); }
    CWnd* GetTopLevelParent() const;
    // The direct child with this id (nullptr when none).
    CWnd* GetDlgItem(int id) const;
    // Direct child windows in creation order.
    std::vector<CWnd*> GetChildren() const;
    bool IsChild(const CWnd* window) const;

    DWORD GetStyle() const { return style_; }
    DWORD GetExStyle() const { return exStyle_; }
    bool ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    bool ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);

    // ---- Messages ----
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Queues the message; safe from any thread. False when this object has no window.
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, bool deep = true);

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Looks the message up in the map; false when no entry handled it.
    virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // WM_COMMAND: offers a control's notification to the control first (reflection), then OnCmdMsg.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: the same order as OnCommand.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A notification this control sent to its parent, offered back to it; true when the control
    // handled it, so the parent does not.
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Called for keyboard and mouse messages before they are dispatched, on the target window and then
    // on each of its parents; true swallows the message.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // What happens to a message no map entry handled.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // From inside a handler: the default processing of the message being handled.
    LRESULT Default();

    // Owner-draw hooks, reached through the parent's WM_DRAWITEM / WM_MEASUREITEM reflection.
    virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT measureItem);

    // ---- Timers ----
    // Starts (or, with an id already running, restarts) the timer; WM_TIMER with the id arrives every
    // `elapse` milliseconds. Returns the id, or 0 when this object has no window.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, void* unused = nullptr);
    BOOL KillTimer(UINT_PTR id);
    bool HasTimer(UINT_PTR id) const;
    // Interval of a running timer, -1 when it does not run.
    int TimerInterval(UINT_PTR id) const;

    // ---- Text ----
    // Goes through the class's WM_SETTEXT handler when it has one (lParam: the text as const char*).
    void SetWindowText(const std::string& text);
    std::string GetWindowText() const;
    void GetWindowText(std::string& text) const { text = GetWindowText(); }
    int GetWindowTextLength() const { return static_cast<int>(GetWindowText().size()); }
    void SetDlgItemText(int id, const std::string& text);
    std::string GetDlgItemText(int id) const;
    void SetDlgItemInt(int id, int value, bool isSigned = true);
    UINT GetDlgItemInt(int id, BOOL* translated = nullptr, bool isSigned = true) const;
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;
    void CheckRadioButton(int firstId, int lastId, int checkId);
    int GetCheckedRadioButton(int firstId, int lastId) const;

    // ---- State ----
    BOOL EnableWindow(BOOL enable = TRUE); // returns whether it was disabled before
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int command); // returns whether it was visible before
    BOOL IsWindowVisible() const;
    bool IsIconic() const;
    bool IsZoomed() const;
    void SetFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetFont() const { return font_; }
    // The extent of a text in the font the window shows it in, as a DC with that font selected
    // measures it: the widest line and the height of all lines ("\n" starts a line). Callers
    // that size a window or column for a text measure it here.
    CSize GetTextExtent(const std::string& text) const;

    // ---- Painting ----
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(const CRect* rect, BOOL erase = TRUE);
    void ValidateRect(const CRect*) {}
    void UpdateWindow();
    BOOL RedrawWindow(const CRect* rect = nullptr, void* region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);

    // ---- Geometry (pixels) ----
    void GetClientRect(CRect* rect) const;
    void GetWindowRect(CRect* rect) const; // screen coordinates
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(const CRect& rect, BOOL repaint = TRUE) {
        MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), repaint);
    }
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    void ClientToScreen(CPoint* point) const;
    void ClientToScreen(CRect* rect) const;
    void ScreenToClient(CPoint* point) const;
    void ScreenToClient(CRect* rect) const;
    void CenterWindow(CWnd* alternateOwner = nullptr);

    // Scroll bars of the window itself (WS_HSCROLL / WS_VSCROLL): range, page and position; the owner
    // moves the position in its WM_HSCROLL / WM_VSCROLL handler, as the platform expects.
    BOOL SetScrollInfo(int bar, SCROLLINFO* info, BOOL redraw = TRUE);
    BOOL GetScrollInfo(int bar, SCROLLINFO* info, UINT mask = SIF_ALL) const;
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE);
    int GetScrollPos(int bar) const;
    void SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw = TRUE);
    void GetScrollRange(int bar, int* minPos, int* maxPos) const;
    void ShowScrollBar(UINT bar, BOOL show = TRUE);
    void ScrollWindow(int dx, int dy, const CRect* rect = nullptr, const CRect* clip = nullptr);

    // ---- Focus and capture ----
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    static CWnd* GetCapture();
    static BOOL ReleaseCapture();
    CWnd* SetActiveWindow();
    static CWnd* GetActiveWindow();

    // ---- Destruction ----
    // Sends WM_DESTROY to the window and then to its children, detaches their objects, removes the
    // widgets and finally calls PostNcDestroy on each object (where self-deleting windows delete
    // themselves). The widgets are deleted once control returns to the event loop.
    virtual BOOL DestroyWindow();
    virtual void PostNcDestroy() {}

    // ---- Default handlers that derived handlers call as CWnd::OnXxx ----
    void OnPaint();
    void OnClose();
    void OnDestroy() {}
    void OnTimer(UINT_PTR) {}
    void OnSize(UINT, int, int) {}
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind);
    BOOL OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
    void OnChar(UINT, UINT, UINT) { Default(); }
    void OnKeyDown(UINT, UINT, UINT) { Default(); }
    void OnKeyUp(UINT, UINT, UINT) { Default(); }
    void OnLButtonDown(UINT, CPoint) { Default(); }
    void OnLButtonUp(UINT, CPoint) { Default(); }
    void OnLButtonDblClk(UINT, CPoint) { Default(); }
    void OnRButtonDown(UINT, CPoint) { Default(); }
    void OnRButtonUp(UINT, CPoint) { Default(); }
    void OnMouseMove(UINT, CPoint) { Default(); }
    BOOL OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
    void OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
    void OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
    void OnSetFocus(CWnd*) { Default(); }
    void OnKillFocus(CWnd*) { Default(); }
    BOOL OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
    UINT OnGetDlgCode() { return static_cast<UINT>(Default()); }

    // The handle; nullptr when this object has no window.
    HWND m_hWnd = nullptr;

    // ---- Layer internals (used by the window layer's own files) ----
    // Binds this object to a widget created for it; `owned` widgets are deleted with the window.
    void AttachWidget(QWidget* widget, int id, DWORD style, DWORD exStyle, bool owned);
    // Called when the widget goes away without DestroyWindow (its Qt parent deleted it).
    void WidgetGone();
    // Adds a wrapper object that this window owns (controls made from templates).
    void AdoptChild(std::unique_ptr<CWnd> child);
    // Handles the message of a widget event that the window's map handles. Default() inside the handler
    // runs the widget's own processing of `event` at once (delivered to `target`); afterwards the
    // caller drops the event.
    void DispatchEvent(UINT message, WPARAM wParam, LPARAM lParam, QEvent* event, QObject* target);
    // The same without the event at hand: returns whether a handler called Default(), in which case the
    // caller lets the widget process the event after the handler.
    bool DispatchFromEvent(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr);
    // Sends a control notification (WM_COMMAND with the code) from this control to its parent.
    void NotifyParent(UINT code);
    // Sends a WM_NOTIFY record from this control to its parent and returns the parent's answer.
    LRESULT NotifyParent(NMHDR* header);
    // Asks for the colours of this window (parent's WM_CTLCOLOR, then reflection) and applies them.
    void ApplyCtlColor();
    virtual UINT CtlColorKind() const { return CTLCOLOR_DLG; }
    // Expires when this object is destroyed; callers that run handlers check it before going on.
    std::weak_ptr<int> Life() const { return life_; }
    struct ScrollState;

private:
    friend class WndBridge;
    void SetTextDirect(const std::string& text);
    void DetachTree(std::vector<CWnd*>* detached, bool root);
    void ReleaseWindow();
    void FireTimer(UINT_PTR id);

    QWidget* widget_ = nullptr;
    WndBridge* bridge_ = nullptr;
    int id_ = 0;
    DWORD style_ = 0;
    DWORD exStyle_ = 0;
    bool ownsWidget_ = false;
    CFont* font_ = nullptr;
    std::vector<std::unique_ptr<CWnd>> ownedChildren_;
    std::unique_ptr<ScrollState> scroll_;
    // Expires with the object, so code that called out to handlers can tell whether it is still there.
    std::shared_ptr<int> life_ = std::make_shared<int>(0);

    // The message being handled, for Default().
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool fromEvent;             // it came from a widget event
        bool defaultWanted = false; // a handler called Default() and no event is at hand
        QEvent* event = nullptr;    // the event whose default processing Default() runs
        QObject* target = nullptr;
        bool defaultDone = false;
    };
    LRESULT DefaultForEvent(CurrentMessage& current);
    CurrentMessage* current_ = nullptr;

    friend bool FireTimerForTest(CWnd* window, UINT_PTR id);
};

// The handle of a window object that may be null (a view member whose window was never made).
inline HWND SafeHwnd(const CWnd* window) {
    return window ? window->m_hWnd : nullptr;
}

// Free forms that take handles, usable from any thread for PostMessage.
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
BOOL IsWindow(HWND hwnd);

// Queues a press and release of the key as if typed, for the window that has the focus; it goes the
// whole keyboard path (PreTranslateMessage, WM_KEYDOWN, WM_CHAR). Digits and letters type their
// character ('0'..'9', 'A'..'Z' as lower case), as do the space, point and minus keys.
void SimulateKeyPress(UINT virtualKey);

// Delivers WM_TIMER for a running timer now, as if it had elapsed; false when the window has no
// timer with this id. Tests use this instead of waiting.
bool FireTimerForTest(CWnd* window, UINT_PTR id);

// Handles the messages waiting in the queue (posted messages, timers, input) and returns at once,
// without waiting for more; false when the application is quitting. Long transfers call it between
// requests to keep the windows alive.
bool DispatchPendingMessages();

// What a loop of device transfers calls between two of them: delivers the posted messages at once
// and everything else as DispatchPendingMessages does, at most every 10 ms. False when the
// application is quitting.
bool DispatchMessagesBetweenTransfers();

// A pause in a loop of device transfers: waits until a message arrives (handling it) or the time is
// up, whichever comes first, so a press on Cancel during the pause is seen at once. False when the
// application is quitting. Away from the user-interface thread it only sleeps.
bool WaitForMessages(std::chrono::milliseconds limit);
