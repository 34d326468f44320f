#pragma once
// Static control over QLabel: text (left, centred, right), bitmap and icon faces, frames, owner-draw
// through DrawItem, and STN_CLICKED / STN_DBLCLK with SS_NOTIFY.
#include "framework/ui/Wnd.h"

class CBitmap;

class CStatic : public CWnd {
public:
    BOOL Create(const char* text, DWORD style, const CRect& rect, CWnd* parent, UINT id = 0xFFFF);
    static void CreateWidget(CWnd* wrapper, const std::string& text, DWORD style, DWORD exStyle,
                             const CRect& rect, CWnd* parent, int id);

    CBitmap* SetBitmap(CBitmap* bitmap);
    CBitmap* GetBitmap() const { return bitmap_; }
    HICON SetIcon(HICON icon);
    HICON GetIcon() const { return icon_; }

private:
    CBitmap* bitmap_ = nullptr;
    HICON icon_ = nullptr;
};

// "&File" -> "File", "a && b" -> "a & b": the platform's static underlines the marked letter; here
// the marker is dropped.
std::string StripMnemonic(const std::string& text);
