#pragma once
// Message maps: per class a plain table of entries, each naming what it handles (a window message, a
// command id or id range, a control notification, a reflected notification, an update-UI query) and
// holding the member function that handles it. A class's table points at its base class's table, so
// a lookup that finds nothing in the derived table falls back to the base.
//
// A class declares
//     const MessageMap* GetMessageMap() const override;
// and defines it as
//     const MessageMap* CMyDlg::GetMessageMap() const {
//         static const MessageMap map(CDialog::GetMessageMap(), {
//             msg::Command(IDC_APPLY, &CMyDlg::OnApply),
//             msg::Control(EN_CHANGE, IDC_VALUE, &CMyDlg::OnValueChange),
//             msg::Timer(&CMyDlg::OnTimer),
//             msg::Message(WM_ALARM_CLEAR, &CMyDlg::OnAlarmClear),
//         });
//         return &map;
//     }
// (the qualified call to the base's GetMessageMap is not virtual, so it returns the base's table).
#include "framework/ui/Messages.h"

#include <functional>
#include <initializer_list>
#include <vector>

class CCmdTarget;
class CWnd;
class CDC;
class CScrollBar;
class CCmdUI;

// The window object of a handle (nullptr when it is gone); defined with CWnd.
CWnd* WndFromHandle(HWND hwnd);

// What one handler call sees. `result` is what SendMessage returns; `handled` may be cleared by an
// "_EX" style handler that lets the message go on.
struct MessageArgs {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    UINT id = 0;           // command or control id for commands and notifications
    UINT code = 0;         // notification code for commands and notifications
    void* extra = nullptr; // CCmdUI* for update-UI queries
    LRESULT result = 0;
    bool handled = true;
};

enum class MapEntryKind : unsigned char {
    Message,        // a window message (`message`)
    Command,        // WM_COMMAND with `code` from a control or menu whose id lies in [idFirst, idLast]
    Notify,         // WM_NOTIFY with NMHDR::code == `code` from a control in [idFirst, idLast]
    UpdateUI,       // update-UI query for a command id in [idFirst, idLast]
    ReflectCommand, // a WM_COMMAND notification `code` reflected back to the control that sent it
    ReflectNotify,  // a WM_NOTIFY `code` reflected back to the control that sent it
    ReflectMessage, // WM_CTLCOLOR, WM_HSCROLL, WM_VSCROLL reflected back to the control
};

struct MessageMapEntry {
    MapEntryKind kind = MapEntryKind::Message;
    UINT message = 0;
    UINT code = 0;
    UINT idFirst = 0;
    UINT idLast = 0;
    std::function<void(CCmdTarget&, MessageArgs&)> invoke;
};

struct MessageMap {
    MessageMap(const MessageMap* base, std::initializer_list<MessageMapEntry> list)
        : baseMap(base), entries(list) {}
    const MessageMap* baseMap = nullptr;
    std::vector<MessageMapEntry> entries;

    // The first matching entry, searching this table and then the base tables; nullptr when none.
    const MessageMapEntry* Find(MapEntryKind kind, UINT message, UINT code, UINT id) const;
};

// The base of everything that handles commands: windows, documents, the application.
class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    virtual const MessageMap* GetMessageMap() const;

    // Runs the handler of a command (code CN_COMMAND or a WM_COMMAND notification code), a
    // notification (message WM_NOTIFY; extra is the NMHDR*, result receives the handler's answer) or
    // an update-UI query (code CN_UPDATE_COMMAND_UI, extra is the CCmdUI*). With queryOnly it only says
    // whether a handler exists. Frames and views override this to route commands on to other targets.
    virtual bool OnCmdMsg(UINT id, UINT message, UINT code, void* extra, LRESULT* result = nullptr,
                          bool queryOnly = false);

    // The application's wait cursor, counted (see CWinApp).
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();
};

// Entry builders. T is the class whose member handles the entry.
namespace msg {

namespace detail {
template <class T> T& Self(CCmdTarget& target) {
    return static_cast<T&>(target);
}
} // namespace detail

// ---- Commands and control notifications ----

// A command: a menu item, an accelerator or a button click (BN_CLICKED).
template <class T> MessageMapEntry Command(UINT id, void (T::*fn)()) {
    return {MapEntryKind::Command, WM_COMMAND, CN_COMMAND, id, id, [fn](CCmdTarget& t, MessageArgs&) {
                (detail::Self<T>(t).*fn)();
            }};
}
// A command whose handler may decline it (returns false) so routing goes on.
template <class T> MessageMapEntry CommandEx(UINT id, BOOL (T::*fn)(UINT)) {
    return {MapEntryKind::Command, WM_COMMAND, CN_COMMAND, id, id, [fn](CCmdTarget& t, MessageArgs& a) {
                a.handled = (detail::Self<T>(t).*fn)(a.id) != 0;
            }};
}
template <class T> MessageMapEntry CommandRange(UINT first, UINT last, void (T::*fn)(UINT)) {
    return {MapEntryKind::Command, WM_COMMAND, CN_COMMAND, first, last, [fn](CCmdTarget& t, MessageArgs& a) {
                (detail::Self<T>(t).*fn)(a.id);
            }};
}
// A control notification through WM_COMMAND: EN_CHANGE, CBN_SELCHANGE, LBN_DBLCLK, STN_CLICKED, ...
template <class T> MessageMapEntry Control(UINT code, UINT id, void (T::*fn)()) {
    return {MapEntryKind::Command, WM_COMMAND, code, id, id, [fn](CCmdTarget& t, MessageArgs&) {
                (detail::Self<T>(t).*fn)();
            }};
}
template <class T> MessageMapEntry ControlRange(UINT code, UINT first, UINT last, void (T::*fn)(UINT)) {
    return {MapEntryKind::Command, WM_COMMAND, code, first, last, [fn](CCmdTarget& t, MessageArgs& a) {
                (detail::Self<T>(t).*fn)(a.id);
            }};
}
// A WM_NOTIFY notification: LVN_*, NM_*, TCN_SELCHANGE, UDN_DELTAPOS, ...
template <class T> MessageMapEntry Notify(UINT code, UINT id, void (T::*fn)(NMHDR*, LRESULT*)) {
    return {MapEntryKind::Notify, WM_NOTIFY, code, id, id, [fn](CCmdTarget& t, MessageArgs& a) {
                (detail::Self<T>(t).*fn)(reinterpret_cast<NMHDR*>(a.lParam), &a.result);
            }};
}
template <class T>
MessageMapEntry NotifyRange(UINT code, UINT first, UINT last, void (T::*fn)(UINT, NMHDR*, LRESULT*)) {
    return {MapEntryKind::Notify, WM_NOTIFY, code, first, last, [fn](CCmdTarget& t, MessageArgs& a) {
                (detail::Self<T>(t).*fn)(a.id, reinterpret_cast<NMHDR*>(a.lParam), &a.result);
            }};
}
template <class T> MessageMapEntry UpdateCommandUI(UINT id, void (T::*fn)(CCmdUI*)) {
    return {MapEntryKind::UpdateUI,
            WM_COMMAND,
            CN_UPDATE_COMMAND_UI,
            id,
            id,
            [fn](CCmdTarget& t, MessageArgs& a) { (detail::Self<T>(t).*fn)(static_cast<CCmdUI*>(a.extra)); }};
}
template <class T> MessageMapEntry UpdateCommandUIRange(UINT first, UINT last, void (T::*fn)(CCmdUI*)) {
    return {MapEntryKind::UpdateUI,
            WM_COMMAND,
            CN_UPDATE_COMMAND_UI,
            first,
            last,
            [fn](CCmdTarget& t, MessageArgs& a) { (detail::Self<T>(t).*fn)(static_cast<CCmdUI*>(a.extra)); }};
}

// ---- Reflected notifications, handled by the control itself; the parent does not see them ----
template <class T> MessageMapEntry ControlReflect(UINT code, void (T::*fn)()) {
    return {MapEntryKind::ReflectCommand, WM_COMMAND, code, 0, 0, [fn](CCmdTarget& t, MessageArgs&) {
                (detail::Self<T>(t).*fn)();
            }};
}
// A reflected notification whose handler returns false to let the parent see it as well.
template <class T> MessageMapEntry ControlReflectEx(UINT code, BOOL (T::*fn)()) {
    return {MapEntryKind::ReflectCommand, WM_COMMAND, code, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                a.handled = (detail::Self<T>(t).*fn)() != 0;
            }};
}
template <class T> MessageMapEntry NotifyReflect(UINT code, void (T::*fn)(NMHDR*, LRESULT*)) {
    return {MapEntryKind::ReflectNotify, WM_NOTIFY, code, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                (detail::Self<T>(t).*fn)(reinterpret_cast<NMHDR*>(a.lParam), &a.result);
            }};
}
template <class T> MessageMapEntry NotifyReflectEx(UINT code, BOOL (T::*fn)(NMHDR*, LRESULT*)) {
    return {MapEntryKind::ReflectNotify, WM_NOTIFY, code, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                a.handled = (detail::Self<T>(t).*fn)(reinterpret_cast<NMHDR*>(a.lParam), &a.result) != 0;
            }};
}
// The control's own colours: returns the background brush, or nullptr to leave the question to the
// parent.
template <class T> MessageMapEntry CtlColorReflect(HBRUSH (T::*fn)(CDC*, UINT)) {
    return {MapEntryKind::ReflectMessage, WM_CTLCOLOR, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                auto* request = reinterpret_cast<CtlColorRequest*>(a.lParam);
                HBRUSH brush = (detail::Self<T>(t).*fn)(request->dc, request->kind);
                a.result = reinterpret_cast<LRESULT>(brush);
                a.handled = brush != nullptr;
            }};
}
template <class T> MessageMapEntry HScrollReflect(void (T::*fn)(UINT, UINT)) {
    return {MapEntryKind::ReflectMessage, WM_HSCROLL, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                (detail::Self<T>(t).*fn)(LOWORD(a.wParam), HIWORD(a.wParam));
            }};
}
template <class T> MessageMapEntry VScrollReflect(void (T::*fn)(UINT, UINT)) {
    return {MapEntryKind::ReflectMessage, WM_VSCROLL, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                (detail::Self<T>(t).*fn)(LOWORD(a.wParam), HIWORD(a.wParam));
            }};
}

// ---- Window messages ----

// Any message, private ones included, with the raw parameters.
template <class T> MessageMapEntry Message(UINT message, LRESULT (T::*fn)(WPARAM, LPARAM)) {
    return {MapEntryKind::Message, message, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                a.result = (detail::Self<T>(t).*fn)(a.wParam, a.lParam);
            }};
}
// Any message handled by a callable taking the object and the arguments.
template <class T> MessageMapEntry MessageFn(UINT message, std::function<LRESULT(T&, WPARAM, LPARAM)> fn) {
    return {MapEntryKind::Message, message, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                a.result = fn(detail::Self<T>(t), a.wParam, a.lParam);
            }};
}
// A message whose handler takes no arguments: WM_PAINT, WM_CLOSE, WM_DESTROY, WM_PASTE, WM_CUT, ...
template <class T> MessageMapEntry Simple(UINT message, void (T::*fn)()) {
    return {MapEntryKind::Message,
            message,
            0,
            0,
            0,
            [fn](CCmdTarget& t, MessageArgs&) { (detail::Self<T>(t).*fn)(); }};
}
template <class T> MessageMapEntry Paint(void (T::*fn)()) {
    return Simple(WM_PAINT, fn);
}
template <class T> MessageMapEntry Close(void (T::*fn)()) {
    return Simple(WM_CLOSE, fn);
}
template <class T> MessageMapEntry Destroy(void (T::*fn)()) {
    return Simple(WM_DESTROY, fn);
}
template <class T> MessageMapEntry Timer(void (T::*fn)(UINT_PTR)) {
    return {MapEntryKind::Message, WM_TIMER, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                (detail::Self<T>(t).*fn)(a.wParam);
            }};
}
template <class T> MessageMapEntry Create(int (T::*fn)(LPCREATESTRUCT)) {
    return {MapEntryKind::Message, WM_CREATE, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                a.result = (detail::Self<T>(t).*fn)(reinterpret_cast<LPCREATESTRUCT>(a.lParam));
            }};
}
template <class T> MessageMapEntry Size(void (T::*fn)(UINT, int, int)) {
    return {MapEntryKind::Message, WM_SIZE, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                (detail::Self<T>(t).*fn)(static_cast<UINT>(a.wParam), LOWORD(a.lParam), HIWORD(a.lParam));
            }};
}
// The edge being dragged and the proposed window rectangle, which the handler may change.
template <class T> MessageMapEntry Sizing(void (T::*fn)(UINT, CRect*)) {
    return {MapEntryKind::Message, WM_SIZING, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                (detail::Self<T>(t).*fn)(static_cast<UINT>(a.wParam), reinterpret_cast<CRect*>(a.lParam));
                a.result = TRUE;
            }};
}
// The parent's colour handler for its controls (and for itself, with the kind CTLCOLOR_DLG).
template <class T> MessageMapEntry CtlColor(HBRUSH (T::*fn)(CDC*, CWnd*, UINT)) {
    return {MapEntryKind::Message, WM_CTLCOLOR, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                auto* request = reinterpret_cast<CtlColorRequest*>(a.lParam);
                a.result = reinterpret_cast<LRESULT>(
                    (detail::Self<T>(t).*fn)(request->dc, request->control, request->kind));
            }};
}
template <class T> MessageMapEntry EraseBkgnd(BOOL (T::*fn)(CDC*)) {
    return {MapEntryKind::Message, WM_ERASEBKGND, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                a.result = (detail::Self<T>(t).*fn)(reinterpret_cast<CDC*>(a.wParam));
            }};
}
// Mouse button and move messages: key-state flags (MK_*) and the point in client coordinates.
template <class T> MessageMapEntry Mouse(UINT message, void (T::*fn)(UINT, CPoint)) {
    return {MapEntryKind::Message, message, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                (detail::Self<T>(t).*fn)(static_cast<UINT>(a.wParam),
                                         CPoint(GET_X_LPARAM(a.lParam), GET_Y_LPARAM(a.lParam)));
            }};
}
// Wheel: key-state flags, the wheel delta (120 per notch) and the point in screen coordinates.
template <class T> MessageMapEntry MouseWheel(BOOL (T::*fn)(UINT, short, CPoint)) {
    return {MapEntryKind::Message, WM_MOUSEWHEEL, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                a.result = (detail::Self<T>(t).*fn)(LOWORD(a.wParam), static_cast<short>(HIWORD(a.wParam)),
                                                    CPoint(GET_X_LPARAM(a.lParam), GET_Y_LPARAM(a.lParam)));
            }};
}
// Key messages (WM_KEYDOWN, WM_KEYUP, WM_CHAR): the key or character, the repeat count, the flags.
template <class T> MessageMapEntry Key(UINT message, void (T::*fn)(UINT, UINT, UINT)) {
    return {MapEntryKind::Message, message, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                (detail::Self<T>(t).*fn)(static_cast<UINT>(a.wParam), static_cast<UINT>(a.lParam & 0xFFFF),
                                         static_cast<UINT>((a.lParam >> 16) & 0xFFFF));
            }};
}
// WM_HSCROLL / WM_VSCROLL: the scroll code, the position (thumb codes) and the control that scrolled
// (nullptr for the window's own scroll bars).
template <class T> MessageMapEntry HScroll(void (T::*fn)(UINT, UINT, CScrollBar*)) {
    return {MapEntryKind::Message, WM_HSCROLL, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                (detail::Self<T>(t).*
                 fn)(LOWORD(a.wParam), HIWORD(a.wParam),
                     reinterpret_cast<CScrollBar*>(WndFromHandle(reinterpret_cast<HWND>(a.lParam))));
            }};
}
template <class T> MessageMapEntry VScroll(void (T::*fn)(UINT, UINT, CScrollBar*)) {
    return {MapEntryKind::Message, WM_VSCROLL, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                (detail::Self<T>(t).*
                 fn)(LOWORD(a.wParam), HIWORD(a.wParam),
                     reinterpret_cast<CScrollBar*>(WndFromHandle(reinterpret_cast<HWND>(a.lParam))));
            }};
}
// WM_DEVICECHANGE: the event (DBT_*) and the DEV_BROADCAST_PORT* as a number.
template <class T> MessageMapEntry DeviceChange(BOOL (T::*fn)(UINT, std::uintptr_t)) {
    return {MapEntryKind::Message, WM_DEVICECHANGE, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                a.result = (detail::Self<T>(t).*fn)(static_cast<UINT>(a.wParam),
                                                    static_cast<std::uintptr_t>(a.lParam));
            }};
}
template <class T> MessageMapEntry SetCursor(BOOL (T::*fn)(CWnd*, UINT, UINT)) {
    return {MapEntryKind::Message, WM_SETCURSOR, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                a.result = (detail::Self<T>(t).*fn)(reinterpret_cast<CWnd*>(a.wParam), LOWORD(a.lParam),
                                                    HIWORD(a.lParam));
            }};
}
// WM_SETFOCUS / WM_KILLFOCUS / WM_CAPTURECHANGED: the other window involved (may be nullptr).
template <class T> MessageMapEntry FocusChange(UINT message, void (T::*fn)(CWnd*)) {
    return {MapEntryKind::Message, message, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                (detail::Self<T>(t).*fn)(reinterpret_cast<CWnd*>(a.wParam));
            }};
}
template <class T> MessageMapEntry ShowWindow(void (T::*fn)(BOOL, UINT)) {
    return {MapEntryKind::Message, WM_SHOWWINDOW, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                (detail::Self<T>(t).*fn)(static_cast<BOOL>(a.wParam), static_cast<UINT>(a.lParam));
            }};
}
template <class T> MessageMapEntry GetDlgCode(UINT (T::*fn)()) {
    return {MapEntryKind::Message, WM_GETDLGCODE, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                a.result = (detail::Self<T>(t).*fn)();
            }};
}
template <class T> MessageMapEntry SysCommand(void (T::*fn)(UINT, LPARAM)) {
    return {MapEntryKind::Message, WM_SYSCOMMAND, 0, 0, 0, [fn](CCmdTarget& t, MessageArgs& a) {
                (detail::Self<T>(t).*fn)(static_cast<UINT>(a.wParam), a.lParam);
            }};
}

} // namespace msg
