#pragma once
// The list view control in report view: columns, items with sub-item texts, item data, check boxes,
// images, selection and focus, find, hit tests, the custom-draw stages through which the parent (or
// the control itself, by reflection) chooses per-item and per-sub-item colours and fonts, and the
// notifications a parent expects (LVN_ITEMCHANGED, NM_CLICK, NM_DBLCLK, header end-track, info tips,
// label editing).
//
// Everything the control knows lives with its widget, so a control made from a dialog template and
// later subclassed by an object of a derived class keeps its columns, items and settings.
#include "framework/core/WindowStyles.h"
#include "framework/ui/Wnd.h"

#include <QImage>

#include <string>

class CImageList;

// Column record.
enum : UINT { LVCF_FMT = 0x1, LVCF_WIDTH = 0x2, LVCF_TEXT = 0x4, LVCF_SUBITEM = 0x8, LVCF_IMAGE = 0x10 };
enum : int { LVCFMT_LEFT = 0, LVCFMT_RIGHT = 1, LVCFMT_CENTER = 2, LVCFMT_JUSTIFYMASK = 3 };
// SetColumnWidth's sizes from the column's texts: as wide as its widest cell text needs, or as the
// widest of those and its heading.
enum : int { LVSCW_AUTOSIZE = -1, LVSCW_AUTOSIZE_USEHEADER = -2 };
struct LVCOLUMN {
    UINT mask = 0;
    int fmt = LVCFMT_LEFT;
    int cx = 0;
    char* pszText = nullptr;
    int cchTextMax = 0;
    int iSubItem = 0;
    int iImage = 0;
    int iOrder = 0;
};

// Item record.
enum : UINT { LVIF_TEXT = 0x1, LVIF_IMAGE = 0x2, LVIF_PARAM = 0x4, LVIF_STATE = 0x8 };
enum : UINT { LVIS_FOCUSED = 0x1, LVIS_SELECTED = 0x2, LVIS_STATEIMAGEMASK = 0xF000 };
constexpr UINT INDEXTOSTATEIMAGEMASK(UINT i) {
    return i << 12;
}
struct LVITEM {
    UINT mask = 0;
    int iItem = 0;
    int iSubItem = 0;
    UINT state = 0;
    UINT stateMask = 0;
    // On input the text to set; on output GetItem copies at most cchTextMax - 1 characters here.
    // In LVN_ENDLABELEDIT a null text means the edit was cancelled.
    char* pszText = nullptr;
    int cchTextMax = 0;
    int iImage = -1;
    LPARAM lParam = 0;
};

// Next-item search flags and find records.
enum : UINT { LVNI_ALL = 0x0, LVNI_FOCUSED = 0x1, LVNI_SELECTED = 0x2 };
enum : UINT { LVFI_PARAM = 0x1, LVFI_STRING = 0x2, LVFI_PARTIAL = 0x8, LVFI_WRAP = 0x20 };
struct LVFINDINFO {
    UINT flags = 0;
    const char* psz = nullptr;
    LPARAM lParam = 0;
};

// Hit tests and rectangles.
enum : UINT {
    LVHT_NOWHERE = 0x1,
    LVHT_ONITEMICON = 0x2,
    LVHT_ONITEMLABEL = 0x4,
    LVHT_ONITEMSTATEICON = 0x8,
    LVHT_ONITEM = LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON,
};
struct LVHITTESTINFO {
    CPoint pt;
    UINT flags = 0;
    int iItem = -1;
    int iSubItem = 0;
};
enum : int { LVIR_BOUNDS = 0, LVIR_ICON = 1, LVIR_LABEL = 2 };
enum : int { LVSIL_NORMAL = 0, LVSIL_SMALL = 1, LVSIL_STATE = 2 };

// Custom draw.
enum : DWORD {
    CDDS_PREPAINT = 0x1,
    CDDS_POSTPAINT = 0x2,
    CDDS_ITEM = 0x10000,
    CDDS_ITEMPREPAINT = CDDS_ITEM | CDDS_PREPAINT,
    CDDS_ITEMPOSTPAINT = CDDS_ITEM | CDDS_POSTPAINT,
    CDDS_SUBITEM = 0x20000,
};
enum : LRESULT {
    CDRF_DODEFAULT = 0x0,
    CDRF_NEWFONT = 0x2,
    CDRF_SKIPDEFAULT = 0x4,
    CDRF_NOTIFYPOSTPAINT = 0x10,
    CDRF_NOTIFYITEMDRAW = 0x20,
    CDRF_NOTIFYSUBITEMDRAW = 0x20,
};
enum : UINT { CDIS_SELECTED = 0x1, CDIS_FOCUS = 0x10 };
// "Use the list's own colour" in the custom-draw colours and colour setters.
constexpr COLORREF CLR_DEFAULT = 0xFF000000;
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;

struct NMCUSTOMDRAW {
    NMHDR hdr;
    DWORD dwDrawStage = 0;
    CDC* hdc = nullptr; // carries the font; select a font into it and answer CDRF_NEWFONT
    CRect rc;
    std::uintptr_t dwItemSpec = 0; // the item
    UINT uItemState = 0;
    LPARAM lItemlParam = 0;
};
struct NMLVCUSTOMDRAW {
    NMCUSTOMDRAW nmcd;
    COLORREF clrText = CLR_DEFAULT;
    COLORREF clrTextBk = CLR_DEFAULT;
    int iSubItem = 0;
};

struct NMLISTVIEW {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    CPoint ptAction;
    LPARAM lParam = 0;
};
struct NMITEMACTIVATE : NMLISTVIEW {
    UINT uKeyFlags = 0;
};
struct NMLVDISPINFO {
    NMHDR hdr;
    LVITEM item;
};
struct NMLVKEYDOWN {
    NMHDR hdr;
    WORD wVKey = 0;
    UINT flags = 0;
};
// LVN_GETINFOTIP: the parent may replace the text (the cell's full text when it is cut off).
struct NMLVGETINFOTIP {
    NMHDR hdr;
    DWORD dwFlags = 0;
    std::string text;
    int iItem = -1;
    int iSubItem = 0;
    LPARAM lParam = 0;
};

// Header notifications: sent by the list to its parent with the header's id 0.
enum : UINT { HDI_WIDTH = 0x1 };
struct HDITEM {
    UINT mask = 0;
    int cxy = 0;
};
struct NMHEADER {
    NMHDR hdr;
    int iItem = -1;
    int iButton = 0;
    HDITEM* pitem = nullptr;
};

// A view of the list's header.
class CHeaderCtrl {
public:
    explicit CHeaderCtrl(QWidget* list = nullptr) : list_(list) {}
    int GetItemCount() const;
    bool GetItemRect(int index, CRect* rect) const; // in the list's client coordinates
    // A disabled header takes no clicks and its columns cannot be dragged to another width.
    void EnableWindow(bool enable);
    bool IsWindowEnabled() const;

private:
    QWidget* list_;
};

class CListCtrl : public CWnd {
public:
    CListCtrl() = default;
    const MessageMap* GetMessageMap() const override;

    // Creates the control as a child of the parent; style holds LVS_* (report view is the only view).
    bool Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    bool CreateEx(DWORD exStyle, DWORD style, const CRect& rect, CWnd* parent, UINT id);

    DWORD GetExtendedStyle() const;
    DWORD SetExtendedStyle(DWORD exStyle);

    // Columns.
    int InsertColumn(int column, const LVCOLUMN* info);
    int InsertColumn(int column, const std::string& heading, int format = LVCFMT_LEFT, int width = -1,
                     int subItem = -1);
    bool DeleteColumn(int column);
    bool GetColumn(int column, LVCOLUMN* info) const;
    bool SetColumn(int column, const LVCOLUMN* info);
    int GetColumnWidth(int column) const;
    bool SetColumnWidth(int column, int width); // or LVSCW_AUTOSIZE, LVSCW_AUTOSIZE_USEHEADER
    int GetColumnCount() const;
    CHeaderCtrl* GetHeaderCtrl();

    // Items.
    int GetItemCount() const;
    int InsertItem(const LVITEM* item);
    int InsertItem(int index, const std::string& text);
    int InsertItem(int index, const std::string& text, int image);
    bool SetItem(const LVITEM* item);
    bool GetItem(LVITEM* item) const;
    bool SetItemText(int item, int subItem, const std::string& text);
    std::string GetItemText(int item, int subItem) const;
    bool SetItemData(int item, std::uintptr_t data);
    std::uintptr_t GetItemData(int item) const;
    bool DeleteItem(int item);
    bool DeleteAllItems();
    int FindItem(const LVFINDINFO* find, int start = -1) const;

    // State. Changes of selection, focus or check state send LVN_ITEMCHANGED, whether by code or user.
    bool SetItemState(int item, UINT state, UINT mask);
    UINT GetItemState(int item, UINT mask) const;
    bool SetCheck(int item, bool check = true);
    bool GetCheck(int item) const;
    int GetSelectedCount() const;
    int GetSelectionMark() const;
    int SetSelectionMark(int item);
    int GetNextItem(int start, UINT flags) const;

    // Colours of the text and its background (CLR_NONE / CLR_DEFAULT as the original accepts).
    COLORREF GetTextColor() const;
    bool SetTextColor(COLORREF colour);
    COLORREF GetTextBkColor() const;
    bool SetTextBkColor(COLORREF colour);
    COLORREF GetBkColor() const;
    bool SetBkColor(COLORREF colour);

    CImageList* SetImageList(CImageList* list, int kind);
    CImageList* GetImageList(int kind) const;

    // Geometry, in client coordinates (the header, when shown, lies at the top of the client area).
    bool GetItemRect(int item, CRect* rect, int code) const;
    bool GetSubItemRect(int item, int subItem, int code, CRect& rect) const;
    // The part of a cell its text is drawn in (and cut to, with "..."), in client coordinates:
    // after the check box and the small image, inside the cell's margins.
    bool GetCellTextRect(int item, int subItem, CRect* rect) const;
    // The extent of a cell's text as the cell draws it.
    CSize GetCellTextExtent(int item, int subItem) const;
    int HitTest(CPoint point, UINT* flags = nullptr) const;
    int HitTest(LVHITTESTINFO* info) const;
    int SubItemHitTest(LVHITTESTINFO* info) const;
    int GetTopIndex() const;
    int GetCountPerPage() const;
    bool EnsureVisible(int item, bool partialOk);
    bool Scroll(CSize size);
    bool RedrawItems(int first, int last);
    bool Update(int item) { return RedrawItems(item, item); }

    // Label editing of column 0: LVN_BEGINLABELEDIT (a non-zero answer refuses), then, when the edit
    // ends, LVN_ENDLABELEDIT with the text (null text when cancelled by Esc); a non-zero answer keeps
    // the new text. Returns false when the item does not exist or the parent refused.
    bool EditLabel(int item);
    // Ends a running label edit as Enter (true) or Esc (false) would; false when none runs.
    bool EndLabelEdit(bool accept);

    // Paints the control into an image, as it shows now (tests probe the custom-drawn colours).
    QImage Render();
};
