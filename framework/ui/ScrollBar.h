#pragma once
// Scroll bar control over QScrollBar. As on the platform, the bar does not move by itself: the parent
// receives WM_HSCROLL / WM_VSCROLL with the scroll code and sets the position.
#include "framework/ui/Wnd.h"

class CScrollBar : public CWnd {
public:
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    static void CreateWidget(CWnd* wrapper, DWORD style, DWORD exStyle, const CRect& rect, CWnd* parent,
                             int id);

    int GetScrollPos() const;
    int SetScrollPos(int pos, BOOL redraw = TRUE);
    void GetScrollRange(int* minPos, int* maxPos) const;
    void SetScrollRange(int minPos, int maxPos, BOOL redraw = TRUE);
    BOOL SetScrollInfo(SCROLLINFO* info, BOOL redraw = TRUE);
    BOOL GetScrollInfo(SCROLLINFO* info, UINT mask = SIF_ALL) const;
    int GetScrollLimit() const;
    void ShowScrollBar(BOOL show = TRUE) { ShowWindow(show ? SW_SHOW : SW_HIDE); }
    BOOL EnableScrollBar(UINT arrows = 0);
};
