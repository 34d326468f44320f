#pragma once
// Buttons over Qt buttons: push (and default push), check box (two or three states, automatic or
// not), radio button (automatic ones uncheck the others of their group, which runs from a WS_GROUP
// control to the next), group box, icon and bitmap faces, and owner-draw through DrawItem.
// BN_CLICKED reaches the parent when the user clicks (or BM_CLICK is sent), never for SetCheck.
#include "framework/ui/Wnd.h"

class CBitmap;

class CButton : public CWnd {
public:
    BOOL Create(const char* caption, DWORD style, const CRect& rect, CWnd* parent, UINT id);
    static void CreateWidget(CWnd* wrapper, const std::string& text, DWORD style, DWORD exStyle,
                             const CRect& rect, CWnd* parent, int id);

    int GetCheck() const;
    void SetCheck(int check);
    UINT GetState() const;
    void SetState(BOOL highlight);
    UINT GetButtonStyle() const { return GetStyle() & 0xFFFF; }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE);
    // Faces: an icon of the resource module, or a bitmap (kept by the caller).
    HICON SetIcon(HICON icon);
    HICON GetIcon() const { return icon_; }
    CBitmap* SetBitmap(CBitmap* bitmap);
    CBitmap* GetBitmap() const { return bitmap_; }
    // Clicks the button as the user would: BN_CLICKED reaches the parent.
    void Click();

private:
    HICON icon_ = nullptr;
    CBitmap* bitmap_ = nullptr;
};

// The radio buttons of the group that `member` belongs to, in creation order.
std::vector<CWnd*> RadioGroupOf(CWnd* member);
