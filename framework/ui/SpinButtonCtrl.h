#pragma once
// Up-down (spin) control: two arrow buttons that step a 32-bit position inside a range, optionally
// writing it into a buddy window (UDS_SETBUDDYINT) in base 10 or 16 ("0x" and four hex digits).
// Each step first asks the parent with UDN_DELTAPOS, whose handler may change the delta or refuse the
// step (non-zero answer); then the parent gets WM_VSCROLL (WM_HSCROLL with UDS_HORZ) with
// SB_THUMBPOSITION and the new position.
#include "framework/ui/Wnd.h"

#include <string>

struct UDACCEL {
    UINT nSec = 0;
    UINT nInc = 1;
};

class CSpinButtonCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    static void CreateWidget(CWnd* wrapper, DWORD style, DWORD exStyle, const CRect& rect, CWnd* parent,
                             int id);

    // Lower and upper may be given in either order; the up arrow moves towards `upper`.
    void SetRange(short lower, short upper) { SetRange32(lower, upper); }
    void SetRange32(int lower, int upper);
    void GetRange32(int& lower, int& upper) const;
    DWORD GetRange() const;
    int SetPos(int pos) { return SetPos32(pos); }
    int SetPos32(int pos); // returns the previous position
    // With a buddy that shows the position, reads it back from the buddy's text first.
    int GetPos() const { return GetPos32(); }
    int GetPos32(BOOL* error = nullptr) const;
    CWnd* SetBuddy(CWnd* buddy);
    CWnd* GetBuddy() const;
    int SetBase(int base); // 10 or 16; returns the previous base, 0 for any other
    UINT GetBase() const;
    BOOL SetAccel(int count, UDACCEL* accel);

    // Steps as a click on an arrow does (+1 up, -1 down): UDN_DELTAPOS, then the move and WM_VSCROLL.
    void Step(int direction);
};

// The text a spin writes into its buddy: base 16 as "0x" and at least four upper-case digits, base
// 10 with thousands separators unless `noThousands`.
std::string SpinBuddyText(int pos, int base, bool noThousands);
// Parses a buddy's text back; false when it is no number in that base.
bool ParseSpinBuddyText(const std::string& text, int base, int* value);
