#include "shell/ui/ChildFrame.h"

BOOL CChildFrame::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CMDIChildWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style = WS_CHILD | WS_CAPTION | WS_THICKFRAME;
    return TRUE;
}

void CChildFrame::ActivateFrame(int) {
    CMDIChildWnd::ActivateFrame(SW_SHOWMAXIMIZED);
}
