#pragma once
// Tab control: a strip of tabs over a framed display area; the pages are the program's own child
// windows placed in the area (AdjustRect). A selection made by the user sends TCN_SELCHANGING (a
// non-zero answer keeps the old tab) and then TCN_SELCHANGE; SetCurSel sends neither.
#include "framework/ui/Wnd.h"

#include <string>

enum : UINT { TCIF_TEXT = 0x0001, TCIF_IMAGE = 0x0002, TCIF_PARAM = 0x0008 };

struct TCITEM {
    UINT mask = 0;
    std::string pszText;
    int iImage = -1;
    LPARAM lParam = 0;
};

class CTabCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    static void CreateWidget(CWnd* wrapper, DWORD style, DWORD exStyle, const CRect& rect, CWnd* parent,
                             int id);

    int InsertItem(int index, const std::string& text); // the new index, -1 on failure
    int InsertItem(int index, const TCITEM* item);
    BOOL DeleteItem(int index);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    int GetCurSel() const;
    int SetCurSel(int index); // the previous selection, -1 when none or the index is invalid
    BOOL GetItem(int index, TCITEM* item) const;
    BOOL SetItem(int index, const TCITEM* item);
    BOOL GetItemRect(int index, CRect* rect) const;
    // larger = FALSE: the display area inside a window rectangle; TRUE: the window for an area.
    void AdjustRect(BOOL larger, CRect* rect) const;
};
