#pragma once
// A push button with a face colour and a text colour of its own.
#include "framework/ui/Button.h"

class CMFCButton : public CButton {
public:
    void SetFaceColor(COLORREF colour, BOOL redraw = TRUE);
    void SetTextColor(COLORREF colour);
    COLORREF GetFaceColor() const { return face_; }

    BOOL m_bTransparent = FALSE;

private:
    COLORREF face_ = 0;
};
