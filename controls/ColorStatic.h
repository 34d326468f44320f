#pragma once
// CColorStatic: a static control that shows one colour as a swatch inside a black frame. The owner
// sets m_color and repaints the control.
#include "framework/ui/Static.h"

class CColorStatic : public CStatic {
public:
    CColorStatic() = default;
    const MessageMap* GetMessageMap() const override;

    // The control becomes owner-drawn when it is attached.
    bool SubclassDlgItem(UINT id, CWnd* parent);
    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

    COLORREF m_color = 0;

protected:
    void OnPaint();
};
