#pragma once
// Pieces of the window layer shared by its own files: the object that ties a widget to its window
// object, event translation and font conversion. Not for use outside framework/ui.
#include "framework/ui/Wnd.h"

#include <QApplication>
#include <QFont>
#include <QObject>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <unordered_map>

class QTimer;
class QKeyEvent;
struct LOGFONT;

// Lives as a child of the widget, so it goes when the widget goes; filters the widget's events into
// messages and holds the window's timers.
class WndBridge : public QObject {
public:
    WndBridge(QWidget* widget, CWnd* window, HWND handle);
    ~WndBridge() override;

    static WndBridge* Of(const QWidget* widget);
    // Also takes the mouse input of a scroll area's viewport, in the widget's coordinates.
    void WatchViewport(QWidget* viewport);
    // Lets the window hear the pointer's moves without a button when its message map handles them.
    void TrackMouseIfHandled();

    bool eventFilter(QObject* watched, QEvent* event) override;

    QWidget* widget;
    CWnd* window; // nullptr once the window object let go of the widget
    HWND handle;
    std::map<UINT_PTR, QTimer*> timers;
    // Where CWnd::GetDlgItem last found each child id of this widget (checked before use).
    std::unordered_map<int, HWND> childIds;
    bool inSizing = false;
    int bypass = 0; // events re-sent for their default processing pass the filter untouched
    QWidget* viewport = nullptr;

    // What the widget's kind does, whatever object wraps it (as a window class's procedure would):
    // its text, the notifications of focus changes, its colour query kind, and messages it answers.
    std::function<void(const std::string&)> setText;
    std::function<std::string()> getText;
    std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)> procedure;
    UINT setFocusCode = 0;
    UINT killFocusCode = 0;
    bool notifiesFocus = false;
    UINT ctlColorKind = CTLCOLOR_DLG;
};

// The Qt application of the program: keys pass through PreTranslateMessage and the window's
// WM_KEYDOWN / WM_CHAR handlers before the widget sees them.
class KeloApplication : public QApplication {
public:
    KeloApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Translates a key event into the platform's virtual key and character; 0 when there is none.
UINT VirtualKeyOf(const QKeyEvent& event);
UINT CharacterOf(const QKeyEvent& event);
// The inverse, for messages sent by code (WM_CHAR / WM_KEYDOWN to an edit): a key event for Qt.
QKeyEvent* MakeKeyEvent(UINT message, WPARAM wParam);

// The key event that does the default work of one key message of `original`: the key without its
// character for WM_KEYDOWN (nothing for Backspace and Enter, whose work is their character's), the
// character for WM_CHAR (nothing for other control characters, whose work the key did).
QKeyEvent* MakeDefaultKeyEvent(UINT message, WPARAM wParam, const QKeyEvent* original);

// Hands a key event made by code straight to the widget, past the keyboard path.
void SendKeyToWidget(QWidget* widget, QKeyEvent* event);

// Runs the keyboard path for one key event at `target`; true when it was swallowed.
bool RouteKeyEvent(QWidget* target, QKeyEvent* event);

QFont QFontFromLogFont(const LOGFONT& font);

// The nearest window object at or above the widget.
CWnd* WindowOfWidget(QWidget* widget);

// Sends the platform's scroll codes for what the user does to the bar; the bar itself keeps its
// position until the owner sets it.
class QScrollBar;
void ForwardScrollActions(QScrollBar* bar, std::function<void(UINT code, int pos)> send);

// The last step of making a control's widget: enabled and visible as its style says.
inline void ApplyInitialState(QWidget* widget, DWORD style) {
    if (style & WS_DISABLED)
        widget->setEnabled(false);
    widget->setVisible(style & WS_VISIBLE);
}

// Whether `self` may create a child window of `parent` now (it has none yet, the parent is a window).
inline bool CanCreateWindow(const CWnd* self, const CWnd* parent) {
    return !self->m_hWnd && (!parent || parent->GetWidget());
}

// List helpers shared by the combo box and the list box.
// The first item after `startAfter` (-1: from the top) that matches, wrapping around; -1 when none.
int FindListItem(int count, int startAfter, const std::function<bool(int)>& matches);
// Where a text goes in a list kept sorted without regard to case (after equal texts).
int SortedListPosition(int count, const std::function<QString(int)>& textAt, const QString& text);
// An item of a list or combo box, or a report-view cell, is drawn on one line, as the platform's
// controls do: a line break at the end shows nothing and one inside reads as a blank. The item keeps
// its text; only what is drawn changes.
QString ShownLine(QString text);

// The scroll code (SB_* / TB_*, the same numbers) of a slider action.
UINT ScrollCodeOfAction(int action);

// A control's own state object: a child of its widget, found again from the widget.
template <class T> T* AttachState(QWidget* widget, T* state) {
    state->setParent(widget);
    widget->setProperty("kelo_state", QVariant::fromValue<void*>(state));
    return state;
}
template <class T> T* StateOf(const QWidget* widget) {
    if (!widget)
        return nullptr;
    const QVariant v = widget->property("kelo_state");
    return v.isValid() ? static_cast<T*>(v.value<void*>()) : nullptr;
}

// The queue object that receives posted messages on the user-interface thread.
void EnsureMessageQueue();
