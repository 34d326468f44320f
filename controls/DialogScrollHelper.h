#pragma once
// DialogScrollHelper: lets a dialog whose contents are larger than its window scroll them with the
// window's own scroll bars. Not a window: the dialog holds one and forwards WM_HSCROLL, WM_VSCROLL
// and WM_SIZE to it.
#include "controls/ScrollMath.h"
#include "framework/core/Geometry.h"

#include "framework/core/Types.h"

class CWnd;
class CScrollBar;

class DialogScrollHelper {
public:
    DialogScrollHelper() = default;
    ~DialogScrollHelper() { DetachWnd(); }
    DialogScrollHelper(const DialogScrollHelper&) = delete;
    DialogScrollHelper& operator=(const DialogScrollHelper&) = delete;

    void AttachWnd(CWnd* window) { wnd_ = window; }
    void DetachWnd() { wnd_ = nullptr; }

    // The size of the full contents; the bars follow when the window exists.
    void SetDisplaySize(int width, int height);
    CSize GetDisplaySize() const { return {h_.display, v_.display}; }
    CSize GetPageSize() const { return {h_.page, v_.page}; }
    CSize GetScrollPos() const { return {h_.position, v_.position}; }

    void OnHScroll(UINT code, UINT position, CScrollBar* bar);
    void OnVScroll(UINT code, UINT position, CScrollBar* bar);
    void OnSize(UINT type, int width, int height);
    // Back to position 0 on the chosen axes.
    void ScrollToOrigin(bool horizontal, bool vertical);
    // Recomputes both bars from the window's client size.
    void UpdateScrollInfo();

private:
    void Scroll(int bar, UINT code);
    CWnd* wnd_ = nullptr;
    ScrollAxis h_;
    ScrollAxis v_;
};
