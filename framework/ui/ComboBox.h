#pragma once
// Combo box over QComboBox: drop-down list (CBS_DROPDOWNLIST), drop-down with an edit (CBS_DROPDOWN),
// item data, sorted insertion, prefix search and an owner-draw hook. A selection set by code sends no
// CBN_SELCHANGE; one made by the user does.
#include "framework/ui/Wnd.h"

#include <string>

class CComboBox : public CWnd {
public:
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    static void CreateWidget(CWnd* wrapper, DWORD style, DWORD exStyle, const CRect& rect, CWnd* parent,
                             int id);

    int AddString(const std::string& text);               // index of the new item
    int InsertString(int index, const std::string& text); // -1 appends
    int DeleteString(int index);                          // items left, or CB_ERR
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;    // CB_ERR when none
    int SetCurSel(int index); // the index, or CB_ERR (and no selection) when out of range
    int GetLBText(int index, std::string& text) const; // length, or CB_ERR
    std::string GetLBText(int index) const;
    int GetLBTextLen(int index) const;
    // The first item after `startAfter` (-1: from the top) whose text begins with `prefix`, ignoring
    // case and wrapping around; CB_ERR when none.
    int FindString(int startAfter, const std::string& prefix) const;
    int FindStringExact(int startAfter, const std::string& text) const;
    int SelectString(int startAfter, const std::string& prefix); // selects what FindString finds
    int SetItemData(int index, DWORD_PTR data);
    DWORD_PTR GetItemData(int index) const;
    int SetItemDataPtr(int index, void* data) {
        return SetItemData(index, reinterpret_cast<DWORD_PTR>(data));
    }
    void* GetItemDataPtr(int index) const { return reinterpret_cast<void*>(GetItemData(index)); }
    void ShowDropDown(BOOL show = TRUE);
    BOOL GetDroppedState() const;
    int SetDroppedWidth(UINT width);
    BOOL LimitText(int maxChars);
    BOOL SetEditSel(int start, int end);
    int SetItemHeight(int index, UINT height);
};
