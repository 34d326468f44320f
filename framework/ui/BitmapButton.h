#pragma once
// A push button that shows bitmaps of the resource module for its states: normal, pressed, focused
// and disabled (the last three optional; the normal one stands in for a missing one), filling the
// button whatever its size; a button of quite another shape shows its caption instead.
#include "framework/ui/Button.h"
#include "framework/ui/Gdi.h"

class CBitmapButton : public CButton {
public:
    // False when the normal bitmap cannot be loaded. Makes the button owner-drawn.
    BOOL LoadBitmaps(UINT normal, UINT selected = 0, UINT focus = 0, UINT disabled = 0);
    // Subclasses the dialog's button `id` and loads its bitmaps.
    BOOL AutoLoad(UINT id, CWnd* parent, UINT normal, UINT selected = 0, UINT focus = 0, UINT disabled = 0);
    // Sizes the button to its normal bitmap.
    void SizeToContent();
    void DrawItem(LPDRAWITEMSTRUCT item) override;
    // How far a picture's width-to-height shape may be stretched to fill its button.
    static constexpr double kMostShapeStretch = 1.5;

    CBitmap m_bitmap;
    CBitmap m_bitmapSel;
    CBitmap m_bitmapFocus;
    CBitmap m_bitmapDisabled;
};
