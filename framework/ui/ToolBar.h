#pragma once
// Control bars: the toolbar (buttons from a toolbar resource and the bitmap of the same id) with
// update-UI of its buttons, and the styles frames pass when they create their bars.
#include "framework/ui/Wnd.h"

#include <vector>

class QToolBar;
class CFrameWnd;

// Bar styles (positions, tool tips, docking); docking is Qt's own, so they are kept for reading only.
enum : DWORD {
    CBRS_TOOLTIPS = 0x0010,
    CBRS_FLYBY = 0x0020,
    CBRS_SIZE_DYNAMIC = 0x0040,
    CBRS_ALIGN_LEFT = 0x1000,
    CBRS_ALIGN_TOP = 0x2000,
    CBRS_ALIGN_RIGHT = 0x4000,
    CBRS_ALIGN_BOTTOM = 0x8000,
    CBRS_ALIGN_ANY = 0xF000,
    CBRS_TOP = CBRS_ALIGN_TOP,
    CBRS_BOTTOM = CBRS_ALIGN_BOTTOM,
    CBRS_GRIPPER = 0x00400000,
    TBSTYLE_FLAT = 0x0800,
};

// Toolbar bitmaps are drawn on light grey, which shows as transparent.
constexpr COLORREF kToolbarMaskColour = RGB(192, 192, 192);

class CToolBar : public CWnd {
public:
    bool Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = 0xE800);
    bool CreateEx(CWnd* parent, DWORD ctrlStyle = TBSTYLE_FLAT,
                  DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect borders = CRect(), UINT id = 0xE800);
    // Buttons from the toolbar resource, images from the bitmap with the same id (cut to the button
    // width). False when the resource is missing; a missing bitmap leaves text buttons.
    bool LoadToolBar(int resourceId);
    bool SetButtons(const std::vector<UINT>& ids);

    int GetCount() const { return static_cast<int>(buttons_.size()); }
    UINT GetItemID(int index) const;
    int CommandToIndex(UINT id) const;
    bool IsButtonEnabled(UINT id) const;
    bool IsButtonChecked(UINT id) const;
    // Presses the button as a click would (sends its command to the owner).
    bool PressButton(UINT id);

    void EnableDocking(DWORD) {}
    DWORD GetBarStyle() const { return barStyle_; }
    void SetBarStyle(DWORD style) { barStyle_ = style; }

    // Update-UI of every button against the target's command route.
    void OnUpdateCmdUI(CCmdTarget* target, bool disableIfNoHandler);

private:
    QToolBar* Bar() const;
    std::vector<UINT> buttons_;
    DWORD barStyle_ = 0;
};
