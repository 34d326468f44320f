#pragma once
// List box over QListWidget. A selection set by code sends no LBN_SELCHANGE; one made by the user
// does (with LBS_NOTIFY), as does LBN_DBLCLK.
#include "framework/ui/Wnd.h"

#include <string>
#include <vector>

class CListBox : public CWnd {
public:
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    static void CreateWidget(CWnd* wrapper, DWORD style, DWORD exStyle, const CRect& rect, CWnd* parent,
                             int id);

    int AddString(const std::string& text);
    int InsertString(int index, const std::string& text);
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    int GetText(int index, std::string& text) const;
    std::string GetText(int index) const;
    int GetTextLen(int index) const;
    int FindString(int startAfter, const std::string& prefix) const;
    int FindStringExact(int startAfter, const std::string& text) const;
    int SelectString(int startAfter, const std::string& prefix);
    int SetItemData(int index, DWORD_PTR data);
    DWORD_PTR GetItemData(int index) const;
    int GetSel(int index) const;
    int SetSel(int index, BOOL select = TRUE); // multiple-selection lists; -1 means every item
    int GetSelCount() const;
    int GetSelItems(int maxItems, int* items) const;
    int GetTopIndex() const;
    int SetTopIndex(int index);
    // The scrollable width in pixels: a horizontal scroll bar appears when it exceeds the list's width.
    void SetHorizontalExtent(int extent);
    int GetHorizontalExtent() const;
};
