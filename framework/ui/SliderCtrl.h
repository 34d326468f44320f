#pragma once
// Trackbar over QSlider: horizontal or vertical (minimum at the top), 32-bit range, page and line
// sizes. When the user moves it, the parent receives WM_HSCROLL / WM_VSCROLL with the trackbar codes
// after the position has changed, so GetPos in the handler already reads the new value; positions
// set by code send nothing.
#include "framework/ui/Wnd.h"

class CSliderCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    static void CreateWidget(CWnd* wrapper, DWORD style, DWORD exStyle, const CRect& rect, CWnd* parent,
                             int id);

    void SetRange(int minPos, int maxPos, BOOL redraw = FALSE);
    void SetRangeMin(int minPos, BOOL redraw = FALSE);
    void SetRangeMax(int maxPos, BOOL redraw = FALSE);
    void GetRange(int& minPos, int& maxPos) const;
    int GetRangeMin() const;
    int GetRangeMax() const;
    void SetPos(int pos);
    int GetPos() const;
    int SetPageSize(int size); // returns the previous size
    int GetPageSize() const;
    int SetLineSize(int size);
    int GetLineSize() const;
    void SetTicFreq(int frequency);
    void ClearTics(BOOL redraw = FALSE);
};
