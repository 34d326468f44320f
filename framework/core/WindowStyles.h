#pragma once
// Window and control style bits, as dialog templates carry them and the window layer reads them.
//
// Layout of a style word: the upper 16 bits are the general window bits (WS_*), the lower 16 bits
// belong to the window's class (ES_* for an edit, BS_* for a button, DS_* for a dialog, ...), so the
// same low bit means different things on different classes. Extended bits (WS_EX_*) travel in their
// own word (exStyle). Some class styles are a small enumerated field rather than single bits (the
// button kind, the static kind, the combo kind, the list view's view): read them through the *_TYPEMASK
// constants. The values are this project's own; nothing outside this program reads them.
#include <cstddef>
#include <cstdint>
#include <string_view>

using WindowStyle = std::uint32_t;

// ---- General window bits (upper half of the style word) ----
inline constexpr WindowStyle WS_OVERLAPPED = 0x00000000u;
inline constexpr WindowStyle WS_TABSTOP = 0x00010000u;
inline constexpr WindowStyle WS_GROUP = 0x00020000u;
inline constexpr WindowStyle WS_THICKFRAME = 0x00040000u;
inline constexpr WindowStyle WS_SYSMENU = 0x00080000u;
inline constexpr WindowStyle WS_HSCROLL = 0x00100000u;
inline constexpr WindowStyle WS_VSCROLL = 0x00200000u;
inline constexpr WindowStyle WS_DLGFRAME = 0x00400000u;
inline constexpr WindowStyle WS_BORDER = 0x00800000u;
inline constexpr WindowStyle WS_CAPTION = 0x01000000u | WS_BORDER | WS_DLGFRAME;
inline constexpr WindowStyle WS_MAXIMIZE = 0x02000000u;
inline constexpr WindowStyle WS_CLIPCHILDREN = 0x04000000u;
inline constexpr WindowStyle WS_CLIPSIBLINGS = 0x08000000u;
inline constexpr WindowStyle WS_DISABLED = 0x10000000u;
inline constexpr WindowStyle WS_VISIBLE = 0x20000000u;
inline constexpr WindowStyle WS_MINIMIZE = 0x40000000u;
inline constexpr WindowStyle WS_CHILD = 0x80000000u;
// The minimize and maximize boxes only exist on captioned top-level windows, where the group and
// tab-stop bits have no use, so they share those bits (decided by WS_CHILD / WS_CAPTION).
inline constexpr WindowStyle WS_MINIMIZEBOX = WS_GROUP;
inline constexpr WindowStyle WS_MAXIMIZEBOX = WS_TABSTOP;
inline constexpr WindowStyle WS_POPUP = 0x00000000u; // a top-level window: simply not WS_CHILD
inline constexpr WindowStyle WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
inline constexpr WindowStyle WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;
inline constexpr WindowStyle WS_CLASS_MASK = 0x0000FFFFu; // the bits that belong to the class

// ---- Extended window bits (exStyle word) ----
inline constexpr WindowStyle WS_EX_DLGMODALFRAME = 0x00000001u;
inline constexpr WindowStyle WS_EX_NOPARENTNOTIFY = 0x00000002u;
inline constexpr WindowStyle WS_EX_TOPMOST = 0x00000004u;
inline constexpr WindowStyle WS_EX_ACCEPTFILES = 0x00000008u;
inline constexpr WindowStyle WS_EX_TRANSPARENT = 0x00000010u;
inline constexpr WindowStyle WS_EX_TOOLWINDOW = 0x00000020u;
inline constexpr WindowStyle WS_EX_WINDOWEDGE = 0x00000040u;
inline constexpr WindowStyle WS_EX_CLIENTEDGE = 0x00000080u;
inline constexpr WindowStyle WS_EX_CONTEXTHELP = 0x00000100u;
inline constexpr WindowStyle WS_EX_RIGHT = 0x00000200u;
inline constexpr WindowStyle WS_EX_CONTROLPARENT = 0x00000400u;
inline constexpr WindowStyle WS_EX_STATICEDGE = 0x00000800u;
inline constexpr WindowStyle WS_EX_APPWINDOW = 0x00001000u;

// ---- Dialog template bits ----
inline constexpr WindowStyle DS_ABSALIGN = 0x0001u;
inline constexpr WindowStyle DS_SYSMODAL = 0x0002u;
inline constexpr WindowStyle DS_LOCALEDIT = 0x0004u;
inline constexpr WindowStyle DS_SETFONT = 0x0008u;
inline constexpr WindowStyle DS_MODALFRAME = 0x0010u;
inline constexpr WindowStyle DS_NOIDLEMSG = 0x0020u;
inline constexpr WindowStyle DS_SETFOREGROUND = 0x0040u;
inline constexpr WindowStyle DS_3DLOOK = 0x0080u;
inline constexpr WindowStyle DS_FIXEDSYS = 0x0100u;
inline constexpr WindowStyle DS_NOFAILCREATE = 0x0200u;
inline constexpr WindowStyle DS_CONTROL = 0x0400u; // a dialog used as a child (tab page, wizard page)
inline constexpr WindowStyle DS_CENTER = 0x0800u;
inline constexpr WindowStyle DS_CENTERMOUSE = 0x1000u;
inline constexpr WindowStyle DS_CONTEXTHELP = 0x2000u;
inline constexpr WindowStyle DS_SHELLFONT = DS_SETFONT | DS_FIXEDSYS;

// ---- Edit ----
inline constexpr WindowStyle ES_LEFT = 0x0000u;
inline constexpr WindowStyle ES_CENTER = 0x0001u;
inline constexpr WindowStyle ES_RIGHT = 0x0002u;
inline constexpr WindowStyle ES_ALIGNMASK = 0x0003u;
inline constexpr WindowStyle ES_MULTILINE = 0x0004u;
inline constexpr WindowStyle ES_UPPERCASE = 0x0008u;
inline constexpr WindowStyle ES_LOWERCASE = 0x0010u;
inline constexpr WindowStyle ES_PASSWORD = 0x0020u;
inline constexpr WindowStyle ES_AUTOVSCROLL = 0x0040u;
inline constexpr WindowStyle ES_AUTOHSCROLL = 0x0080u;
inline constexpr WindowStyle ES_NOHIDESEL = 0x0100u;
inline constexpr WindowStyle ES_OEMCONVERT = 0x0400u;
inline constexpr WindowStyle ES_READONLY = 0x0800u;
inline constexpr WindowStyle ES_WANTRETURN = 0x1000u;
inline constexpr WindowStyle ES_NUMBER = 0x2000u;

// ---- Button: the kind is a field, the rest are bits ----
inline constexpr WindowStyle BS_PUSHBUTTON = 0x0000u;
inline constexpr WindowStyle BS_DEFPUSHBUTTON = 0x0001u;
inline constexpr WindowStyle BS_CHECKBOX = 0x0002u;
inline constexpr WindowStyle BS_AUTOCHECKBOX = 0x0003u;
inline constexpr WindowStyle BS_RADIOBUTTON = 0x0004u;
inline constexpr WindowStyle BS_3STATE = 0x0005u;
inline constexpr WindowStyle BS_AUTO3STATE = 0x0006u;
inline constexpr WindowStyle BS_GROUPBOX = 0x0007u;
inline constexpr WindowStyle BS_AUTORADIOBUTTON = 0x0009u;
inline constexpr WindowStyle BS_OWNERDRAW = 0x000Bu;
inline constexpr WindowStyle BS_TYPEMASK = 0x000Fu;
inline constexpr WindowStyle BS_LEFTTEXT = 0x0020u;
inline constexpr WindowStyle BS_RIGHTBUTTON = BS_LEFTTEXT;
inline constexpr WindowStyle BS_ICON = 0x0040u;
inline constexpr WindowStyle BS_BITMAP = 0x0080u;
inline constexpr WindowStyle BS_LEFT = 0x0100u;
inline constexpr WindowStyle BS_RIGHT = 0x0200u;
inline constexpr WindowStyle BS_CENTER = BS_LEFT | BS_RIGHT;
inline constexpr WindowStyle BS_TOP = 0x0400u;
inline constexpr WindowStyle BS_BOTTOM = 0x0800u;
inline constexpr WindowStyle BS_VCENTER = BS_TOP | BS_BOTTOM;
inline constexpr WindowStyle BS_PUSHLIKE = 0x1000u;
inline constexpr WindowStyle BS_MULTILINE = 0x2000u;
inline constexpr WindowStyle BS_NOTIFY = 0x4000u;
inline constexpr WindowStyle BS_FLAT = 0x8000u;

// ---- Static: the kind is a field, the rest are bits ----
inline constexpr WindowStyle SS_LEFT = 0x0000u;
inline constexpr WindowStyle SS_CENTER = 0x0001u;
inline constexpr WindowStyle SS_RIGHT = 0x0002u;
inline constexpr WindowStyle SS_ICON = 0x0003u;
inline constexpr WindowStyle SS_BLACKRECT = 0x0004u;
inline constexpr WindowStyle SS_GRAYRECT = 0x0005u;
inline constexpr WindowStyle SS_WHITERECT = 0x0006u;
inline constexpr WindowStyle SS_BLACKFRAME = 0x0007u;
inline constexpr WindowStyle SS_GRAYFRAME = 0x0008u;
inline constexpr WindowStyle SS_WHITEFRAME = 0x0009u;
inline constexpr WindowStyle SS_SIMPLE = 0x000Bu;
inline constexpr WindowStyle SS_LEFTNOWORDWRAP = 0x000Cu;
inline constexpr WindowStyle SS_OWNERDRAW = 0x000Du;
inline constexpr WindowStyle SS_BITMAP = 0x000Eu;
inline constexpr WindowStyle SS_ETCHEDHORZ = 0x0010u;
inline constexpr WindowStyle SS_ETCHEDVERT = 0x0011u;
inline constexpr WindowStyle SS_ETCHEDFRAME = 0x0012u;
inline constexpr WindowStyle SS_TYPEMASK = 0x001Fu;
inline constexpr WindowStyle SS_REALSIZEIMAGE = 0x0040u;
inline constexpr WindowStyle SS_NOPREFIX = 0x0080u;
inline constexpr WindowStyle SS_NOTIFY = 0x0100u;
inline constexpr WindowStyle SS_CENTERIMAGE = 0x0200u;
inline constexpr WindowStyle SS_SUNKEN = 0x1000u;
inline constexpr WindowStyle SS_ENDELLIPSIS = 0x4000u;

// ---- Combo box: the kind is a field, the rest are bits ----
inline constexpr WindowStyle CBS_SIMPLE = 0x0001u;
inline constexpr WindowStyle CBS_DROPDOWN = 0x0002u;
inline constexpr WindowStyle CBS_DROPDOWNLIST = 0x0003u;
inline constexpr WindowStyle CBS_TYPEMASK = 0x0003u;
inline constexpr WindowStyle CBS_OWNERDRAWFIXED = 0x0010u;
inline constexpr WindowStyle CBS_OWNERDRAWVARIABLE = 0x0020u;
inline constexpr WindowStyle CBS_AUTOHSCROLL = 0x0040u;
inline constexpr WindowStyle CBS_OEMCONVERT = 0x0080u;
inline constexpr WindowStyle CBS_SORT = 0x0100u;
inline constexpr WindowStyle CBS_HASSTRINGS = 0x0200u;
inline constexpr WindowStyle CBS_NOINTEGRALHEIGHT = 0x0400u;
inline constexpr WindowStyle CBS_DISABLENOSCROLL = 0x0800u;
inline constexpr WindowStyle CBS_UPPERCASE = 0x2000u;
inline constexpr WindowStyle CBS_LOWERCASE = 0x4000u;

// ---- List box ----
inline constexpr WindowStyle LBS_NOTIFY = 0x0001u;
inline constexpr WindowStyle LBS_SORT = 0x0002u;
inline constexpr WindowStyle LBS_NOREDRAW = 0x0004u;
inline constexpr WindowStyle LBS_MULTIPLESEL = 0x0008u;
inline constexpr WindowStyle LBS_OWNERDRAWFIXED = 0x0010u;
inline constexpr WindowStyle LBS_OWNERDRAWVARIABLE = 0x0020u;
inline constexpr WindowStyle LBS_HASSTRINGS = 0x0040u;
inline constexpr WindowStyle LBS_USETABSTOPS = 0x0080u;
inline constexpr WindowStyle LBS_NOINTEGRALHEIGHT = 0x0100u;
inline constexpr WindowStyle LBS_MULTICOLUMN = 0x0200u;
inline constexpr WindowStyle LBS_WANTKEYBOARDINPUT = 0x0400u;
inline constexpr WindowStyle LBS_EXTENDEDSEL = 0x0800u;
inline constexpr WindowStyle LBS_DISABLENOSCROLL = 0x1000u;
inline constexpr WindowStyle LBS_NODATA = 0x2000u;
inline constexpr WindowStyle LBS_NOSEL = 0x4000u;
inline constexpr WindowStyle LBS_STANDARD = LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER;

// ---- Scroll bar ----
inline constexpr WindowStyle SBS_HORZ = 0x0000u;
inline constexpr WindowStyle SBS_VERT = 0x0001u;

// ---- List view: the view is a field, the rest are bits ----
inline constexpr WindowStyle LVS_ICON = 0x0000u;
inline constexpr WindowStyle LVS_REPORT = 0x0001u;
inline constexpr WindowStyle LVS_SMALLICON = 0x0002u;
inline constexpr WindowStyle LVS_LIST = 0x0003u;
inline constexpr WindowStyle LVS_TYPEMASK = 0x0003u;
inline constexpr WindowStyle LVS_SINGLESEL = 0x0004u;
inline constexpr WindowStyle LVS_SHOWSELALWAYS = 0x0008u;
inline constexpr WindowStyle LVS_SORTASCENDING = 0x0010u;
inline constexpr WindowStyle LVS_SORTDESCENDING = 0x0020u;
inline constexpr WindowStyle LVS_SHAREIMAGELISTS = 0x0040u;
inline constexpr WindowStyle LVS_NOLABELWRAP = 0x0080u;
inline constexpr WindowStyle LVS_AUTOARRANGE = 0x0100u;
inline constexpr WindowStyle LVS_EDITLABELS = 0x0200u;
inline constexpr WindowStyle LVS_OWNERDRAWFIXED = 0x0400u;
inline constexpr WindowStyle LVS_ALIGNLEFT = 0x0800u;
inline constexpr WindowStyle LVS_OWNERDATA = 0x1000u;
inline constexpr WindowStyle LVS_NOSCROLL = 0x2000u;
inline constexpr WindowStyle LVS_NOCOLUMNHEADER = 0x4000u;
inline constexpr WindowStyle LVS_NOSORTHEADER = 0x8000u;

// List view extended styles are set at run time (SetExtendedStyle), not in templates.
inline constexpr std::uint32_t LVS_EX_GRIDLINES = 0x0001u;
inline constexpr std::uint32_t LVS_EX_SUBITEMIMAGES = 0x0002u;
inline constexpr std::uint32_t LVS_EX_CHECKBOXES = 0x0004u;
inline constexpr std::uint32_t LVS_EX_TRACKSELECT = 0x0008u;
inline constexpr std::uint32_t LVS_EX_HEADERDRAGDROP = 0x0010u;
inline constexpr std::uint32_t LVS_EX_FULLROWSELECT = 0x0020u;
inline constexpr std::uint32_t LVS_EX_ONECLICKACTIVATE = 0x0040u;
inline constexpr std::uint32_t LVS_EX_FLATSB = 0x0100u;
inline constexpr std::uint32_t LVS_EX_INFOTIP = 0x0400u;
inline constexpr std::uint32_t LVS_EX_LABELTIP = 0x4000u;
inline constexpr std::uint32_t LVS_EX_DOUBLEBUFFER = 0x10000u;

// ---- Tab control ----
inline constexpr WindowStyle TCS_TABS = 0x0000u;
inline constexpr WindowStyle TCS_SINGLELINE = 0x0000u;
inline constexpr WindowStyle TCS_SCROLLOPPOSITE = 0x0001u;
inline constexpr WindowStyle TCS_BOTTOM = 0x0002u;
inline constexpr WindowStyle TCS_RIGHT = 0x0002u; // with TCS_VERTICAL
inline constexpr WindowStyle TCS_MULTISELECT = 0x0004u;
inline constexpr WindowStyle TCS_FLATBUTTONS = 0x0008u;
inline constexpr WindowStyle TCS_FORCEICONLEFT = 0x0010u;
inline constexpr WindowStyle TCS_FORCELABELLEFT = 0x0020u;
inline constexpr WindowStyle TCS_HOTTRACK = 0x0040u;
inline constexpr WindowStyle TCS_VERTICAL = 0x0080u;
inline constexpr WindowStyle TCS_BUTTONS = 0x0100u;
inline constexpr WindowStyle TCS_MULTILINE = 0x0200u;
inline constexpr WindowStyle TCS_FIXEDWIDTH = 0x0400u;
inline constexpr WindowStyle TCS_RAGGEDRIGHT = 0x0800u;
inline constexpr WindowStyle TCS_FOCUSONBUTTONDOWN = 0x1000u;
inline constexpr WindowStyle TCS_OWNERDRAWFIXED = 0x2000u;
inline constexpr WindowStyle TCS_TOOLTIPS = 0x4000u;
inline constexpr WindowStyle TCS_FOCUSNEVER = 0x8000u;

// ---- Up-down (spin) ----
inline constexpr WindowStyle UDS_WRAP = 0x0001u;
inline constexpr WindowStyle UDS_SETBUDDYINT = 0x0002u;
inline constexpr WindowStyle UDS_ALIGNRIGHT = 0x0004u;
inline constexpr WindowStyle UDS_ALIGNLEFT = 0x0008u;
inline constexpr WindowStyle UDS_AUTOBUDDY = 0x0010u;
inline constexpr WindowStyle UDS_ARROWKEYS = 0x0020u;
inline constexpr WindowStyle UDS_HORZ = 0x0040u;
inline constexpr WindowStyle UDS_NOTHOUSANDS = 0x0080u;
inline constexpr WindowStyle UDS_HOTTRACK = 0x0100u;

// ---- Trackbar: TOP/LEFT and BOTTOM/RIGHT name the same tick side for the two orientations ----
inline constexpr WindowStyle TBS_AUTOTICKS = 0x0001u;
inline constexpr WindowStyle TBS_HORZ = 0x0000u;
inline constexpr WindowStyle TBS_VERT = 0x0002u;
inline constexpr WindowStyle TBS_BOTTOM = 0x0000u;
inline constexpr WindowStyle TBS_RIGHT = 0x0000u;
inline constexpr WindowStyle TBS_TOP = 0x0004u;
inline constexpr WindowStyle TBS_LEFT = 0x0004u;
inline constexpr WindowStyle TBS_BOTH = 0x0008u;
inline constexpr WindowStyle TBS_NOTICKS = 0x0010u;
inline constexpr WindowStyle TBS_ENABLESELRANGE = 0x0020u;
inline constexpr WindowStyle TBS_FIXEDLENGTH = 0x0040u;
inline constexpr WindowStyle TBS_NOTHUMB = 0x0080u;
inline constexpr WindowStyle TBS_TOOLTIPS = 0x0100u;
inline constexpr WindowStyle TBS_REVERSED = 0x0200u;
inline constexpr WindowStyle TBS_DOWNISLEFT = 0x0400u;

// ---- Progress bar ----
inline constexpr WindowStyle PBS_SMOOTH = 0x0001u;
inline constexpr WindowStyle PBS_VERTICAL = 0x0004u;
inline constexpr WindowStyle PBS_MARQUEE = 0x0008u;
inline constexpr WindowStyle PBS_SMOOTHREVERSE = 0x0010u;

// ---- Control class names as templates write them ----
inline constexpr std::string_view kClassButton = "BUTTON";
inline constexpr std::string_view kClassEdit = "EDIT";
inline constexpr std::string_view kClassStatic = "STATIC";
inline constexpr std::string_view kClassComboBox = "COMBOBOX";
inline constexpr std::string_view kClassListBox = "LISTBOX";
inline constexpr std::string_view kClassScrollBar = "SCROLLBAR";
inline constexpr std::string_view kClassListView = "SysListView32";
inline constexpr std::string_view kClassTab = "SysTabControl32";
inline constexpr std::string_view kClassUpDown = "msctls_updown32";
inline constexpr std::string_view kClassTrackbar = "msctls_trackbar32";
inline constexpr std::string_view kClassProgress = "msctls_progress32";

// Which class a style name belongs to. Window bits apply to every window; a class's own bits only
// to that class (the compiler refuses ES_* on a button, since the low bits would mean something else).
enum class StyleFamily : std::uint8_t {
    Window,   // WS_*: style word, any window
    WindowEx, // WS_EX_*: exStyle word, any window
    Dialog,   // DS_*
    Edit,
    Button,
    Static,
    ComboBox,
    ListBox,
    ScrollBar,
    ListView,
    Tab,
    UpDown,
    Trackbar,
    Progress,
    Custom, // a class the program registers itself: only window bits are checked
};

struct StyleName {
    std::string_view name;
    WindowStyle value;
    StyleFamily family;
};

// Every name a template may write. LBS_STANDARD carries window bits too; that is fine, since the
// compiler only ORs values together.
inline constexpr StyleName kStyleNames[] = {
    {"WS_OVERLAPPED", WS_OVERLAPPED, StyleFamily::Window},
    {"WS_TABSTOP", WS_TABSTOP, StyleFamily::Window},
    {"WS_GROUP", WS_GROUP, StyleFamily::Window},
    {"WS_THICKFRAME", WS_THICKFRAME, StyleFamily::Window},
    {"WS_SYSMENU", WS_SYSMENU, StyleFamily::Window},
    {"WS_HSCROLL", WS_HSCROLL, StyleFamily::Window},
    {"WS_VSCROLL", WS_VSCROLL, StyleFamily::Window},
    {"WS_DLGFRAME", WS_DLGFRAME, StyleFamily::Window},
    {"WS_BORDER", WS_BORDER, StyleFamily::Window},
    {"WS_CAPTION", WS_CAPTION, StyleFamily::Window},
    {"WS_MAXIMIZE", WS_MAXIMIZE, StyleFamily::Window},
    {"WS_CLIPCHILDREN", WS_CLIPCHILDREN, StyleFamily::Window},
    {"WS_CLIPSIBLINGS", WS_CLIPSIBLINGS, StyleFamily::Window},
    {"WS_DISABLED", WS_DISABLED, StyleFamily::Window},
    {"WS_VISIBLE", WS_VISIBLE, StyleFamily::Window},
    {"WS_MINIMIZE", WS_MINIMIZE, StyleFamily::Window},
    {"WS_CHILD", WS_CHILD, StyleFamily::Window},
    {"WS_MINIMIZEBOX", WS_MINIMIZEBOX, StyleFamily::Window},
    {"WS_MAXIMIZEBOX", WS_MAXIMIZEBOX, StyleFamily::Window},
    {"WS_POPUP", WS_POPUP, StyleFamily::Window},
    {"WS_OVERLAPPEDWINDOW", WS_OVERLAPPEDWINDOW, StyleFamily::Window},
    {"WS_POPUPWINDOW", WS_POPUPWINDOW, StyleFamily::Window},
    {"WS_EX_DLGMODALFRAME", WS_EX_DLGMODALFRAME, StyleFamily::WindowEx},
    {"WS_EX_NOPARENTNOTIFY", WS_EX_NOPARENTNOTIFY, StyleFamily::WindowEx},
    {"WS_EX_TOPMOST", WS_EX_TOPMOST, StyleFamily::WindowEx},
    {"WS_EX_ACCEPTFILES", WS_EX_ACCEPTFILES, StyleFamily::WindowEx},
    {"WS_EX_TRANSPARENT", WS_EX_TRANSPARENT, StyleFamily::WindowEx},
    {"WS_EX_TOOLWINDOW", WS_EX_TOOLWINDOW, StyleFamily::WindowEx},
    {"WS_EX_WINDOWEDGE", WS_EX_WINDOWEDGE, StyleFamily::WindowEx},
    {"WS_EX_CLIENTEDGE", WS_EX_CLIENTEDGE, StyleFamily::WindowEx},
    {"WS_EX_CONTEXTHELP", WS_EX_CONTEXTHELP, StyleFamily::WindowEx},
    {"WS_EX_RIGHT", WS_EX_RIGHT, StyleFamily::WindowEx},
    {"WS_EX_CONTROLPARENT", WS_EX_CONTROLPARENT, StyleFamily::WindowEx},
    {"WS_EX_STATICEDGE", WS_EX_STATICEDGE, StyleFamily::WindowEx},
    {"WS_EX_APPWINDOW", WS_EX_APPWINDOW, StyleFamily::WindowEx},
    {"DS_ABSALIGN", DS_ABSALIGN, StyleFamily::Dialog},
    {"DS_SYSMODAL", DS_SYSMODAL, StyleFamily::Dialog},
    {"DS_LOCALEDIT", DS_LOCALEDIT, StyleFamily::Dialog},
    {"DS_SETFONT", DS_SETFONT, StyleFamily::Dialog},
    {"DS_MODALFRAME", DS_MODALFRAME, StyleFamily::Dialog},
    {"DS_NOIDLEMSG", DS_NOIDLEMSG, StyleFamily::Dialog},
    {"DS_SETFOREGROUND", DS_SETFOREGROUND, StyleFamily::Dialog},
    {"DS_3DLOOK", DS_3DLOOK, StyleFamily::Dialog},
    {"DS_FIXEDSYS", DS_FIXEDSYS, StyleFamily::Dialog},
    {"DS_NOFAILCREATE", DS_NOFAILCREATE, StyleFamily::Dialog},
    {"DS_CONTROL", DS_CONTROL, StyleFamily::Dialog},
    {"DS_CENTER", DS_CENTER, StyleFamily::Dialog},
    {"DS_CENTERMOUSE", DS_CENTERMOUSE, StyleFamily::Dialog},
    {"DS_CONTEXTHELP", DS_CONTEXTHELP, StyleFamily::Dialog},
    {"DS_SHELLFONT", DS_SHELLFONT, StyleFamily::Dialog},
    {"ES_LEFT", ES_LEFT, StyleFamily::Edit},
    {"ES_CENTER", ES_CENTER, StyleFamily::Edit},
    {"ES_RIGHT", ES_RIGHT, StyleFamily::Edit},
    {"ES_MULTILINE", ES_MULTILINE, StyleFamily::Edit},
    {"ES_UPPERCASE", ES_UPPERCASE, StyleFamily::Edit},
    {"ES_LOWERCASE", ES_LOWERCASE, StyleFamily::Edit},
    {"ES_PASSWORD", ES_PASSWORD, StyleFamily::Edit},
    {"ES_AUTOVSCROLL", ES_AUTOVSCROLL, StyleFamily::Edit},
    {"ES_AUTOHSCROLL", ES_AUTOHSCROLL, StyleFamily::Edit},
    {"ES_NOHIDESEL", ES_NOHIDESEL, StyleFamily::Edit},
    {"ES_OEMCONVERT", ES_OEMCONVERT, StyleFamily::Edit},
    {"ES_READONLY", ES_READONLY, StyleFamily::Edit},
    {"ES_WANTRETURN", ES_WANTRETURN, StyleFamily::Edit},
    {"ES_NUMBER", ES_NUMBER, StyleFamily::Edit},
    {"BS_PUSHBUTTON", BS_PUSHBUTTON, StyleFamily::Button},
    {"BS_DEFPUSHBUTTON", BS_DEFPUSHBUTTON, StyleFamily::Button},
    {"BS_CHECKBOX", BS_CHECKBOX, StyleFamily::Button},
    {"BS_AUTOCHECKBOX", BS_AUTOCHECKBOX, StyleFamily::Button},
    {"BS_RADIOBUTTON", BS_RADIOBUTTON, StyleFamily::Button},
    {"BS_3STATE", BS_3STATE, StyleFamily::Button},
    {"BS_AUTO3STATE", BS_AUTO3STATE, StyleFamily::Button},
    {"BS_GROUPBOX", BS_GROUPBOX, StyleFamily::Button},
    {"BS_AUTORADIOBUTTON", BS_AUTORADIOBUTTON, StyleFamily::Button},
    {"BS_OWNERDRAW", BS_OWNERDRAW, StyleFamily::Button},
    {"BS_LEFTTEXT", BS_LEFTTEXT, StyleFamily::Button},
    {"BS_RIGHTBUTTON", BS_RIGHTBUTTON, StyleFamily::Button},
    {"BS_ICON", BS_ICON, StyleFamily::Button},
    {"BS_BITMAP", BS_BITMAP, StyleFamily::Button},
    {"BS_LEFT", BS_LEFT, StyleFamily::Button},
    {"BS_RIGHT", BS_RIGHT, StyleFamily::Button},
    {"BS_CENTER", BS_CENTER, StyleFamily::Button},
    {"BS_TOP", BS_TOP, StyleFamily::Button},
    {"BS_BOTTOM", BS_BOTTOM, StyleFamily::Button},
    {"BS_VCENTER", BS_VCENTER, StyleFamily::Button},
    {"BS_PUSHLIKE", BS_PUSHLIKE, StyleFamily::Button},
    {"BS_MULTILINE", BS_MULTILINE, StyleFamily::Button},
    {"BS_NOTIFY", BS_NOTIFY, StyleFamily::Button},
    {"BS_FLAT", BS_FLAT, StyleFamily::Button},
    {"SS_LEFT", SS_LEFT, StyleFamily::Static},
    {"SS_CENTER", SS_CENTER, StyleFamily::Static},
    {"SS_RIGHT", SS_RIGHT, StyleFamily::Static},
    {"SS_ICON", SS_ICON, StyleFamily::Static},
    {"SS_BLACKRECT", SS_BLACKRECT, StyleFamily::Static},
    {"SS_GRAYRECT", SS_GRAYRECT, StyleFamily::Static},
    {"SS_WHITERECT", SS_WHITERECT, StyleFamily::Static},
    {"SS_BLACKFRAME", SS_BLACKFRAME, StyleFamily::Static},
    {"SS_GRAYFRAME", SS_GRAYFRAME, StyleFamily::Static},
    {"SS_WHITEFRAME", SS_WHITEFRAME, StyleFamily::Static},
    {"SS_SIMPLE", SS_SIMPLE, StyleFamily::Static},
    {"SS_LEFTNOWORDWRAP", SS_LEFTNOWORDWRAP, StyleFamily::Static},
    {"SS_OWNERDRAW", SS_OWNERDRAW, StyleFamily::Static},
    {"SS_BITMAP", SS_BITMAP, StyleFamily::Static},
    {"SS_ETCHEDHORZ", SS_ETCHEDHORZ, StyleFamily::Static},
    {"SS_ETCHEDVERT", SS_ETCHEDVERT, StyleFamily::Static},
    {"SS_ETCHEDFRAME", SS_ETCHEDFRAME, StyleFamily::Static},
    {"SS_REALSIZEIMAGE", SS_REALSIZEIMAGE, StyleFamily::Static},
    {"SS_NOPREFIX", SS_NOPREFIX, StyleFamily::Static},
    {"SS_NOTIFY", SS_NOTIFY, StyleFamily::Static},
    {"SS_CENTERIMAGE", SS_CENTERIMAGE, StyleFamily::Static},
    {"SS_SUNKEN", SS_SUNKEN, StyleFamily::Static},
    {"SS_ENDELLIPSIS", SS_ENDELLIPSIS, StyleFamily::Static},
    {"CBS_SIMPLE", CBS_SIMPLE, StyleFamily::ComboBox},
    {"CBS_DROPDOWN", CBS_DROPDOWN, StyleFamily::ComboBox},
    {"CBS_DROPDOWNLIST", CBS_DROPDOWNLIST, StyleFamily::ComboBox},
    {"CBS_OWNERDRAWFIXED", CBS_OWNERDRAWFIXED, StyleFamily::ComboBox},
    {"CBS_OWNERDRAWVARIABLE", CBS_OWNERDRAWVARIABLE, StyleFamily::ComboBox},
    {"CBS_AUTOHSCROLL", CBS_AUTOHSCROLL, StyleFamily::ComboBox},
    {"CBS_OEMCONVERT", CBS_OEMCONVERT, StyleFamily::ComboBox},
    {"CBS_SORT", CBS_SORT, StyleFamily::ComboBox},
    {"CBS_HASSTRINGS", CBS_HASSTRINGS, StyleFamily::ComboBox},
    {"CBS_NOINTEGRALHEIGHT", CBS_NOINTEGRALHEIGHT, StyleFamily::ComboBox},
    {"CBS_DISABLENOSCROLL", CBS_DISABLENOSCROLL, StyleFamily::ComboBox},
    {"CBS_UPPERCASE", CBS_UPPERCASE, StyleFamily::ComboBox},
    {"CBS_LOWERCASE", CBS_LOWERCASE, StyleFamily::ComboBox},
    {"LBS_NOTIFY", LBS_NOTIFY, StyleFamily::ListBox},
    {"LBS_SORT", LBS_SORT, StyleFamily::ListBox},
    {"LBS_NOREDRAW", LBS_NOREDRAW, StyleFamily::ListBox},
    {"LBS_MULTIPLESEL", LBS_MULTIPLESEL, StyleFamily::ListBox},
    {"LBS_OWNERDRAWFIXED", LBS_OWNERDRAWFIXED, StyleFamily::ListBox},
    {"LBS_OWNERDRAWVARIABLE", LBS_OWNERDRAWVARIABLE, StyleFamily::ListBox},
    {"LBS_HASSTRINGS", LBS_HASSTRINGS, StyleFamily::ListBox},
    {"LBS_USETABSTOPS", LBS_USETABSTOPS, StyleFamily::ListBox},
    {"LBS_NOINTEGRALHEIGHT", LBS_NOINTEGRALHEIGHT, StyleFamily::ListBox},
    {"LBS_MULTICOLUMN", LBS_MULTICOLUMN, StyleFamily::ListBox},
    {"LBS_WANTKEYBOARDINPUT", LBS_WANTKEYBOARDINPUT, StyleFamily::ListBox},
    {"LBS_EXTENDEDSEL", LBS_EXTENDEDSEL, StyleFamily::ListBox},
    {"LBS_DISABLENOSCROLL", LBS_DISABLENOSCROLL, StyleFamily::ListBox},
    {"LBS_NODATA", LBS_NODATA, StyleFamily::ListBox},
    {"LBS_NOSEL", LBS_NOSEL, StyleFamily::ListBox},
    {"LBS_STANDARD", LBS_STANDARD, StyleFamily::ListBox},
    {"SBS_HORZ", SBS_HORZ, StyleFamily::ScrollBar},
    {"SBS_VERT", SBS_VERT, StyleFamily::ScrollBar},
    {"LVS_ICON", LVS_ICON, StyleFamily::ListView},
    {"LVS_REPORT", LVS_REPORT, StyleFamily::ListView},
    {"LVS_SMALLICON", LVS_SMALLICON, StyleFamily::ListView},
    {"LVS_LIST", LVS_LIST, StyleFamily::ListView},
    {"LVS_SINGLESEL", LVS_SINGLESEL, StyleFamily::ListView},
    {"LVS_SHOWSELALWAYS", LVS_SHOWSELALWAYS, StyleFamily::ListView},
    {"LVS_SORTASCENDING", LVS_SORTASCENDING, StyleFamily::ListView},
    {"LVS_SORTDESCENDING", LVS_SORTDESCENDING, StyleFamily::ListView},
    {"LVS_SHAREIMAGELISTS", LVS_SHAREIMAGELISTS, StyleFamily::ListView},
    {"LVS_NOLABELWRAP", LVS_NOLABELWRAP, StyleFamily::ListView},
    {"LVS_AUTOARRANGE", LVS_AUTOARRANGE, StyleFamily::ListView},
    {"LVS_EDITLABELS", LVS_EDITLABELS, StyleFamily::ListView},
    {"LVS_OWNERDRAWFIXED", LVS_OWNERDRAWFIXED, StyleFamily::ListView},
    {"LVS_ALIGNLEFT", LVS_ALIGNLEFT, StyleFamily::ListView},
    {"LVS_OWNERDATA", LVS_OWNERDATA, StyleFamily::ListView},
    {"LVS_NOSCROLL", LVS_NOSCROLL, StyleFamily::ListView},
    {"LVS_NOCOLUMNHEADER", LVS_NOCOLUMNHEADER, StyleFamily::ListView},
    {"LVS_NOSORTHEADER", LVS_NOSORTHEADER, StyleFamily::ListView},
    {"TCS_TABS", TCS_TABS, StyleFamily::Tab},
    {"TCS_SINGLELINE", TCS_SINGLELINE, StyleFamily::Tab},
    {"TCS_SCROLLOPPOSITE", TCS_SCROLLOPPOSITE, StyleFamily::Tab},
    {"TCS_BOTTOM", TCS_BOTTOM, StyleFamily::Tab},
    {"TCS_RIGHT", TCS_RIGHT, StyleFamily::Tab},
    {"TCS_MULTISELECT", TCS_MULTISELECT, StyleFamily::Tab},
    {"TCS_FLATBUTTONS", TCS_FLATBUTTONS, StyleFamily::Tab},
    {"TCS_FORCEICONLEFT", TCS_FORCEICONLEFT, StyleFamily::Tab},
    {"TCS_FORCELABELLEFT", TCS_FORCELABELLEFT, StyleFamily::Tab},
    {"TCS_HOTTRACK", TCS_HOTTRACK, StyleFamily::Tab},
    {"TCS_VERTICAL", TCS_VERTICAL, StyleFamily::Tab},
    {"TCS_BUTTONS", TCS_BUTTONS, StyleFamily::Tab},
    {"TCS_MULTILINE", TCS_MULTILINE, StyleFamily::Tab},
    {"TCS_FIXEDWIDTH", TCS_FIXEDWIDTH, StyleFamily::Tab},
    {"TCS_RAGGEDRIGHT", TCS_RAGGEDRIGHT, StyleFamily::Tab},
    {"TCS_FOCUSONBUTTONDOWN", TCS_FOCUSONBUTTONDOWN, StyleFamily::Tab},
    {"TCS_OWNERDRAWFIXED", TCS_OWNERDRAWFIXED, StyleFamily::Tab},
    {"TCS_TOOLTIPS", TCS_TOOLTIPS, StyleFamily::Tab},
    {"TCS_FOCUSNEVER", TCS_FOCUSNEVER, StyleFamily::Tab},
    {"UDS_WRAP", UDS_WRAP, StyleFamily::UpDown},
    {"UDS_SETBUDDYINT", UDS_SETBUDDYINT, StyleFamily::UpDown},
    {"UDS_ALIGNRIGHT", UDS_ALIGNRIGHT, StyleFamily::UpDown},
    {"UDS_ALIGNLEFT", UDS_ALIGNLEFT, StyleFamily::UpDown},
    {"UDS_AUTOBUDDY", UDS_AUTOBUDDY, StyleFamily::UpDown},
    {"UDS_ARROWKEYS", UDS_ARROWKEYS, StyleFamily::UpDown},
    {"UDS_HORZ", UDS_HORZ, StyleFamily::UpDown},
    {"UDS_NOTHOUSANDS", UDS_NOTHOUSANDS, StyleFamily::UpDown},
    {"UDS_HOTTRACK", UDS_HOTTRACK, StyleFamily::UpDown},
    {"TBS_AUTOTICKS", TBS_AUTOTICKS, StyleFamily::Trackbar},
    {"TBS_HORZ", TBS_HORZ, StyleFamily::Trackbar},
    {"TBS_VERT", TBS_VERT, StyleFamily::Trackbar},
    {"TBS_BOTTOM", TBS_BOTTOM, StyleFamily::Trackbar},
    {"TBS_RIGHT", TBS_RIGHT, StyleFamily::Trackbar},
    {"TBS_TOP", TBS_TOP, StyleFamily::Trackbar},
    {"TBS_LEFT", TBS_LEFT, StyleFamily::Trackbar},
    {"TBS_BOTH", TBS_BOTH, StyleFamily::Trackbar},
    {"TBS_NOTICKS", TBS_NOTICKS, StyleFamily::Trackbar},
    {"TBS_ENABLESELRANGE", TBS_ENABLESELRANGE, StyleFamily::Trackbar},
    {"TBS_FIXEDLENGTH", TBS_FIXEDLENGTH, StyleFamily::Trackbar},
    {"TBS_NOTHUMB", TBS_NOTHUMB, StyleFamily::Trackbar},
    {"TBS_TOOLTIPS", TBS_TOOLTIPS, StyleFamily::Trackbar},
    {"TBS_REVERSED", TBS_REVERSED, StyleFamily::Trackbar},
    {"TBS_DOWNISLEFT", TBS_DOWNISLEFT, StyleFamily::Trackbar},
    {"PBS_SMOOTH", PBS_SMOOTH, StyleFamily::Progress},
    {"PBS_VERTICAL", PBS_VERTICAL, StyleFamily::Progress},
    {"PBS_MARQUEE", PBS_MARQUEE, StyleFamily::Progress},
    {"PBS_SMOOTHREVERSE", PBS_SMOOTHREVERSE, StyleFamily::Progress},
};

// nullptr when the name is unknown. A linear scan: callers that look up many names cache a map.
constexpr const StyleName* FindStyleName(std::string_view name) {
    for (const StyleName& entry : kStyleNames)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

namespace window_styles_detail {
constexpr bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}
} // namespace window_styles_detail

// Class name (case-insensitive) -> family; Custom when the class is not one of the standard ones.
constexpr StyleFamily StyleFamilyOfClass(std::string_view className) {
    struct Entry {
        std::string_view name;
        StyleFamily family;
    };
    constexpr Entry kClasses[] = {
        {kClassButton, StyleFamily::Button},     {kClassEdit, StyleFamily::Edit},
        {kClassStatic, StyleFamily::Static},     {kClassComboBox, StyleFamily::ComboBox},
        {kClassListBox, StyleFamily::ListBox},   {kClassScrollBar, StyleFamily::ScrollBar},
        {kClassListView, StyleFamily::ListView}, {kClassTab, StyleFamily::Tab},
        {kClassUpDown, StyleFamily::UpDown},     {kClassTrackbar, StyleFamily::Trackbar},
        {kClassProgress, StyleFamily::Progress},
    };
    for (const Entry& entry : kClasses)
        if (window_styles_detail::EqualsNoCase(entry.name, className))
            return entry.family;
    return StyleFamily::Custom;
}
