#pragma once
// Progress bar over QProgressBar, with the platform's 32-bit range, step and wrap-around StepIt.
#include "framework/ui/Wnd.h"

class CProgressCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    static void CreateWidget(CWnd* wrapper, DWORD style, DWORD exStyle, const CRect& rect, CWnd* parent,
                             int id);

    void SetRange(short lower, short upper) { SetRange32(lower, upper); }
    void SetRange32(int lower, int upper);
    void GetRange(int& lower, int& upper) const;
    int SetPos(int pos); // returns the previous position
    int GetPos() const;
    int OffsetPos(int delta);
    int SetStep(int step);
    // Advances by the step; past the upper end it starts again from the lower end.
    int StepIt();
    COLORREF SetBarColor(COLORREF colour);
    COLORREF SetBkColor(COLORREF colour);
};
