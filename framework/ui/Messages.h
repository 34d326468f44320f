#pragma once
// Window message numbers, notification codes and the small records that travel with messages.
// Private messages of the program keep the numbers the rest of the code gives them, counted from
// WM_USER or WM_APP, so the ranges below must not move.
//
// Parameters that name a window carry its handle (HWND as a number), never an object pointer, so a
// message posted to a queue cannot reach a window object that has gone in the meantime: WM_COMMAND's
// lParam is the control's handle, WM_HSCROLL/WM_VSCROLL's lParam the scrolling control's handle.
#include "framework/core/Geometry.h"
#include "framework/core/Types.h"

#include <cstdint>
#include <string>

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;
using DWORD_PTR = std::uintptr_t;

// A window handle: an opaque number that stays unique for the program's life, so a handle kept by a
// thread after its window is gone never reaches another window. nullptr is no window.
struct HWND__;
using HWND = HWND__*;

class CBrush;
// What a colour handler returns: the brush that paints the control's background, or nullptr for the
// default background.
using HBRUSH = CBrush*;

// An icon: an image of the resource module (nullptr: none).
struct ImageResource;
using HICON = const ImageResource*;

constexpr WORD LOWORD(std::uintptr_t v) {
    return static_cast<WORD>(v & 0xFFFF);
}
constexpr WORD HIWORD(std::uintptr_t v) {
    return static_cast<WORD>((v >> 16) & 0xFFFF);
}
constexpr WPARAM MAKEWPARAM(unsigned lo, unsigned hi) {
    return (lo & 0xFFFFu) | ((hi & 0xFFFFu) << 16);
}
constexpr LPARAM MAKELPARAM(unsigned lo, unsigned hi) {
    return static_cast<LPARAM>(static_cast<std::int32_t>((lo & 0xFFFFu) | ((hi & 0xFFFFu) << 16)));
}
// Signed coordinates packed into an LPARAM (mouse messages).
constexpr int GET_X_LPARAM(LPARAM l) {
    return static_cast<std::int16_t>(l & 0xFFFF);
}
constexpr int GET_Y_LPARAM(LPARAM l) {
    return static_cast<std::int16_t>((l >> 16) & 0xFFFF);
}

// ---- Window messages ----
enum : UINT {
    WM_NULL = 0x0000,
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,
    WM_MOVE = 0x0003,
    WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006,
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_ENABLE = 0x000A,
    WM_SETTEXT = 0x000C,
    WM_GETTEXT = 0x000D,
    WM_GETTEXTLENGTH = 0x000E,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_ERASEBKGND = 0x0014,
    WM_SHOWWINDOW = 0x0018,
    WM_SETCURSOR = 0x0020,
    WM_DRAWITEM = 0x002B,
    WM_MEASUREITEM = 0x002C,
    WM_SETFONT = 0x0030,
    WM_GETFONT = 0x0031,
    WM_QUERYDRAGICON = 0x0037,
    WM_WINDOWPOSCHANGED = 0x0047,
    WM_NOTIFY = 0x004E,
    WM_GETDLGCODE = 0x0087,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_SYSCHAR = 0x0106,
    WM_INITDIALOG = 0x0110,
    WM_COMMAND = 0x0111,
    WM_SYSCOMMAND = 0x0112,
    WM_TIMER = 0x0113,
    WM_HSCROLL = 0x0114,
    WM_VSCROLL = 0x0115,
    WM_CTLCOLORMSGBOX = 0x0132,
    WM_CTLCOLOREDIT = 0x0133,
    WM_CTLCOLORLISTBOX = 0x0134,
    WM_CTLCOLORBTN = 0x0135,
    WM_CTLCOLORDLG = 0x0136,
    WM_CTLCOLORSCROLLBAR = 0x0137,
    WM_CTLCOLORSTATIC = 0x0138,
    WM_MOUSEFIRST = 0x0200,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206,
    WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208,
    WM_MBUTTONDBLCLK = 0x0209,
    WM_MOUSEWHEEL = 0x020A,
    WM_MOUSELAST = 0x020A,
    WM_SIZING = 0x0214,
    WM_CAPTURECHANGED = 0x0215,
    WM_DEVICECHANGE = 0x0219,
    WM_CANCELMODE = 0x001F,
    WM_CUT = 0x0300,
    WM_COPY = 0x0301,
    WM_PASTE = 0x0302,
    WM_CLEAR = 0x0303,
    WM_UNDO = 0x0304,
    WM_USER = 0x0400,
    WM_APP = 0x8000,
    // The colour query sent to a parent (and reflected to the control that asks); lParam is a
    // CtlColorRequest*, the answer an HBRUSH.
    WM_CTLCOLOR = 0x0019,
};

// Command codes of OnCmdMsg beside the WM_COMMAND notification codes: a command proper (menu,
// accelerator, button click) and the update-UI query whose extra argument is a CCmdUI*.
enum : UINT { CN_COMMAND = 0, CN_UPDATE_COMMAND_UI = 0xFFFFFFFFu };

// Control messages the window layer answers (the wrapper classes call the same operations directly).
enum : UINT {
    BM_GETCHECK = 0x00F0,
    BM_SETCHECK = 0x00F1,
    BM_GETSTATE = 0x00F2,
    BM_SETSTATE = 0x00F3,
    BM_CLICK = 0x00F5,
    EM_GETSEL = 0x00B0,
    EM_SETSEL = 0x00B1,
    EM_REPLACESEL = 0x00C2,
    EM_LIMITTEXT = 0x00C5,
    EM_SETREADONLY = 0x00CF,
    CB_GETCOUNT = 0x0146,
    CB_GETCURSEL = 0x0147,
    CB_SETCURSEL = 0x014E,
    LB_SETCURSEL = 0x0186,
    LB_GETCURSEL = 0x0188,
    LB_GETCOUNT = 0x018B,
    TBM_GETPOS = WM_USER + 0,
    TBM_SETPOS = WM_USER + 5,
    PBM_SETRANGE = WM_USER + 1,
    PBM_SETPOS = WM_USER + 2,
    PBM_GETPOS = WM_USER + 8,
    UDM_SETRANGE = WM_USER + 101,
    UDM_GETRANGE = WM_USER + 102,
    UDM_SETPOS = WM_USER + 103,
    UDM_GETPOS = WM_USER + 104,
    UDM_SETBUDDY = WM_USER + 105,
    UDM_SETBASE = WM_USER + 109,
    UDM_SETRANGE32 = WM_USER + 111,
    UDM_GETRANGE32 = WM_USER + 112,
    UDM_SETPOS32 = WM_USER + 113,
    UDM_GETPOS32 = WM_USER + 114,
};

// Dialog-manager messages.
enum : UINT { DM_GETDEFID = WM_USER + 0, DM_SETDEFID = WM_USER + 1 };
// DM_GETDEFID answers with this in the high word when a default button exists.
constexpr WORD DC_HASDEFID = 0x534B;

// Offset added to a notification that a parent reflects back to the control that sent it.
constexpr UINT WM_REFLECT_BASE = 0xBC00;

// ---- WM_COMMAND notification codes (high word of wParam) ----
enum : UINT {
    BN_CLICKED = 0,
    BN_DOUBLECLICKED = 5,
    BN_SETFOCUS = 6,
    BN_KILLFOCUS = 7,
    STN_CLICKED = 0,
    STN_DBLCLK = 1,
    EN_SETFOCUS = 0x0100,
    EN_KILLFOCUS = 0x0200,
    EN_CHANGE = 0x0300,
    EN_UPDATE = 0x0400,
    EN_MAXTEXT = 0x0501,
    CBN_SELCHANGE = 1,
    CBN_DBLCLK = 2,
    CBN_SETFOCUS = 3,
    CBN_KILLFOCUS = 4,
    CBN_EDITCHANGE = 5,
    CBN_EDITUPDATE = 6,
    CBN_DROPDOWN = 7,
    CBN_CLOSEUP = 8,
    CBN_SELENDOK = 9,
    CBN_SELENDCANCEL = 10,
    LBN_SELCHANGE = 1,
    LBN_DBLCLK = 2,
    LBN_SELCANCEL = 3,
    LBN_SETFOCUS = 4,
    LBN_KILLFOCUS = 5,
};

// ---- WM_NOTIFY codes (NMHDR::code), kept as the negative numbers of their families ----
enum : UINT {
    NM_FIRST = 0u,
    NM_CLICK = NM_FIRST - 2,
    NM_DBLCLK = NM_FIRST - 3,
    NM_RETURN = NM_FIRST - 4,
    NM_RCLICK = NM_FIRST - 5,
    NM_RDBLCLK = NM_FIRST - 6,
    NM_SETFOCUS = NM_FIRST - 7,
    NM_KILLFOCUS = NM_FIRST - 8,
    NM_CUSTOMDRAW = NM_FIRST - 12,
    NM_HOVER = NM_FIRST - 13,

    LVN_FIRST = 0u - 100u,
    LVN_ITEMCHANGING = LVN_FIRST - 0,
    LVN_ITEMCHANGED = LVN_FIRST - 1,
    LVN_INSERTITEM = LVN_FIRST - 2,
    LVN_DELETEITEM = LVN_FIRST - 3,
    LVN_DELETEALLITEMS = LVN_FIRST - 4,
    LVN_BEGINLABELEDIT = LVN_FIRST - 5,
    LVN_ENDLABELEDIT = LVN_FIRST - 6,
    LVN_COLUMNCLICK = LVN_FIRST - 8,
    LVN_BEGINDRAG = LVN_FIRST - 9,
    LVN_ITEMACTIVATE = LVN_FIRST - 14,
    LVN_ODSTATECHANGED = LVN_FIRST - 15,
    LVN_KEYDOWN = LVN_FIRST - 55,
    LVN_GETINFOTIP = LVN_FIRST - 58,

    HDN_FIRST = 0u - 300u,
    HDN_ITEMCHANGING = HDN_FIRST - 0,
    HDN_ITEMCHANGED = HDN_FIRST - 1,
    HDN_ITEMCLICK = HDN_FIRST - 2,
    HDN_BEGINTRACK = HDN_FIRST - 6,
    HDN_ENDTRACK = HDN_FIRST - 7,
    HDN_TRACK = HDN_FIRST - 8,

    TCN_FIRST = 0u - 550u,
    TCN_KEYDOWN = TCN_FIRST - 0,
    TCN_SELCHANGE = TCN_FIRST - 1,
    TCN_SELCHANGING = TCN_FIRST - 2,

    UDN_FIRST = 0u - 721u,
    UDN_DELTAPOS = UDN_FIRST - 1,

    TTN_FIRST = 0u - 520u,
    TTN_GETDISPINFO = TTN_FIRST - 0,
    TTN_SHOW = TTN_FIRST - 1,
    TTN_POP = TTN_FIRST - 2,
};

// ---- Scroll codes of WM_HSCROLL / WM_VSCROLL (low word of wParam) ----
enum : UINT {
    SB_LINEUP = 0,
    SB_LINELEFT = 0,
    SB_LINEDOWN = 1,
    SB_LINERIGHT = 1,
    SB_PAGEUP = 2,
    SB_PAGELEFT = 2,
    SB_PAGEDOWN = 3,
    SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_LEFT = 6,
    SB_BOTTOM = 7,
    SB_RIGHT = 7,
    SB_ENDSCROLL = 8,
    // Trackbar codes share the numbers.
    TB_LINEUP = 0,
    TB_LINEDOWN = 1,
    TB_PAGEUP = 2,
    TB_PAGEDOWN = 3,
    TB_THUMBPOSITION = 4,
    TB_THUMBTRACK = 5,
    TB_TOP = 6,
    TB_BOTTOM = 7,
    TB_ENDTRACK = 8,
};
// Which scroll bar of a window (GetScrollPos and friends).
enum : int { SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3 };

// Scroll information masks.
enum : UINT {
    SIF_RANGE = 0x1,
    SIF_PAGE = 0x2,
    SIF_POS = 0x4,
    SIF_DISABLENOSCROLL = 0x8,
    SIF_TRACKPOS = 0x10,
    SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS,
};
struct SCROLLINFO {
    UINT cbSize = sizeof(SCROLLINFO);
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

// ---- WM_SIZE kinds, WM_SIZING edges ----
enum : UINT { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };
enum : UINT {
    WMSZ_LEFT = 1,
    WMSZ_RIGHT = 2,
    WMSZ_TOP = 3,
    WMSZ_TOPLEFT = 4,
    WMSZ_TOPRIGHT = 5,
    WMSZ_BOTTOM = 6,
    WMSZ_BOTTOMLEFT = 7,
    WMSZ_BOTTOMRIGHT = 8,
};

// ---- Colour query kinds ----
enum : UINT {
    CTLCOLOR_MSGBOX = 0,
    CTLCOLOR_EDIT = 1,
    CTLCOLOR_LISTBOX = 2,
    CTLCOLOR_BTN = 3,
    CTLCOLOR_DLG = 4,
    CTLCOLOR_SCROLLBAR = 5,
    CTLCOLOR_STATIC = 6,
};

// ---- Mouse key state flags (wParam of mouse messages) ----
enum : UINT {
    MK_LBUTTON = 0x0001,
    MK_RBUTTON = 0x0002,
    MK_SHIFT = 0x0004,
    MK_CONTROL = 0x0008,
    MK_MBUTTON = 0x0010,
};

// ---- Virtual keys ----
enum : UINT {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_PAUSE = 0x13,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_NUMPAD0 = 0x60,
    VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B,
    VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70,
    VK_F2 = 0x71,
    VK_F3 = 0x72,
    VK_F4 = 0x73,
    VK_F5 = 0x74,
    VK_F6 = 0x75,
    VK_F7 = 0x76,
    VK_F8 = 0x77,
    VK_F9 = 0x78,
    VK_F10 = 0x79,
    VK_F11 = 0x7A,
    VK_F12 = 0x7B,
    VK_OEM_MINUS = 0xBD,
    VK_OEM_PERIOD = 0xBE,
};

// ---- WM_GETDLGCODE answers ----
enum : UINT {
    DLGC_WANTARROWS = 0x0001,
    DLGC_WANTTAB = 0x0002,
    DLGC_WANTALLKEYS = 0x0004,
    DLGC_WANTMESSAGE = 0x0004,
    DLGC_HASSETSEL = 0x0008,
    DLGC_WANTCHARS = 0x0080,
};

// ---- Device change events (wParam of WM_DEVICECHANGE) ----
enum : UINT {
    DBT_DEVICEARRIVAL = 0x8000,
    DBT_DEVICEREMOVECOMPLETE = 0x8004,
    DBT_DEVTYP_PORT = 3,
    DBT_DEVTYP_DEVICEINTERFACE = 5,
};

// lParam of WM_DEVICECHANGE for arrival and removal: the port (the device's name below /dev).
struct DEV_BROADCAST_PORT {
    DWORD dbcp_devicetype = DBT_DEVTYP_PORT;
    std::string dbcp_name;  // "ttyUSB0"
    std::string devicePath; // the device's system path, for callers that look at the bus ids
};

class CWnd;

// Header of every WM_NOTIFY record.
struct NMHDR {
    HWND hwndFrom = nullptr; // the control that sends it
    UINT_PTR idFrom = 0;     // its id
    UINT code = 0;           // NM_*, LVN_*, ...
};

// UDN_DELTAPOS: the handler may change iDelta, or return nonzero to refuse the step.
struct NMUPDOWN {
    NMHDR hdr;
    int iPos = 0;
    int iDelta = 0;
};

// A window message as the message loop hands it to PreTranslateMessage.
struct MSG {
    CWnd* hwnd = nullptr; // the window the message is for
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// The colour query: the handler sets the text and background colours and returns a brush.
class CDC;
struct CtlColorRequest {
    CDC* dc = nullptr; // attribute-only device context the handler writes colours into
    CWnd* control = nullptr;
    UINT kind = CTLCOLOR_STATIC;
};

// Owner-draw records (WM_DRAWITEM / WM_MEASUREITEM), handed to the control's DrawItem/MeasureItem.
enum : UINT { ODT_MENU = 1, ODT_LISTBOX = 2, ODT_COMBOBOX = 3, ODT_BUTTON = 4, ODT_STATIC = 5 };
enum : UINT { ODA_DRAWENTIRE = 1, ODA_SELECT = 2, ODA_FOCUS = 4 };
enum : UINT {
    ODS_SELECTED = 0x0001,
    ODS_GRAYED = 0x0002,
    ODS_DISABLED = 0x0004,
    ODS_CHECKED = 0x0008,
    ODS_FOCUS = 0x0010,
    ODS_DEFAULT = 0x0020,
    ODS_COMBOBOXEDIT = 0x1000,
};
struct DRAWITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0; // item index, or (UINT)-1 for an empty list
    UINT itemAction = ODA_DRAWENTIRE;
    UINT itemState = 0;
    CWnd* hwndItem = nullptr;
    CDC* hDC = nullptr;
    CRect rcItem;
    std::uintptr_t itemData = 0;
};
using LPDRAWITEMSTRUCT = DRAWITEMSTRUCT*;
struct MEASUREITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemWidth = 0;
    UINT itemHeight = 0;
    std::uintptr_t itemData = 0;
};
using LPMEASUREITEMSTRUCT = MEASUREITEMSTRUCT*;

// WM_CREATE's record.
struct CREATESTRUCT {
    CWnd* hwndParent = nullptr;
    int id = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string name;
    std::string className;
};
using LPCREATESTRUCT = CREATESTRUCT*;

// ShowWindow commands.
enum : int {
    SW_HIDE = 0,
    SW_SHOWNORMAL = 1,
    SW_NORMAL = 1,
    SW_SHOWMINIMIZED = 2,
    SW_SHOWMAXIMIZED = 3,
    SW_MAXIMIZE = 3,
    SW_SHOWNOACTIVATE = 4,
    SW_SHOW = 5,
    SW_MINIMIZE = 6,
    SW_SHOWNA = 8,
    SW_RESTORE = 9
};

// SetWindowPos flags and insert-after markers.
enum : UINT {
    SWP_NOSIZE = 0x0001,
    SWP_NOMOVE = 0x0002,
    SWP_NOZORDER = 0x0004,
    SWP_NOREDRAW = 0x0008,
    SWP_NOACTIVATE = 0x0010,
    SWP_SHOWWINDOW = 0x0040,
    SWP_HIDEWINDOW = 0x0080,
};

// RedrawWindow flags.
enum : UINT {
    RDW_INVALIDATE = 0x0001,
    RDW_ERASE = 0x0004,
    RDW_ALLCHILDREN = 0x0080,
    RDW_UPDATENOW = 0x0100,
    RDW_ERASENOW = 0x0200,
    RDW_FRAME = 0x0400,
};

// Button check states.
enum : int { BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2 };

// Error results of list and combo operations.
enum : int { CB_ERR = -1, CB_ERRSPACE = -2, LB_ERR = -1, LB_ERRSPACE = -2 };
