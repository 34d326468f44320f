#pragma once
// CChildFrame: the document window, always shown maximised inside the main frame.
#include "framework/ui/Frame.h"

class CChildFrame : public CMDIChildWnd {
public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void ActivateFrame(int showCommand = -1) override;
};
