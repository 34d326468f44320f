#pragma once
// CTransparentStatic: a static control that paints a bitmap of the resources stretched to its client
// area, with one colour left out so the background shows through.
#include "framework/ui/Gdi.h"
#include "framework/ui/Static.h"

class CDC;

class CTransparentStatic : public CStatic {
public:
    CTransparentStatic() = default;
    const MessageMap* GetMessageMap() const override;

    // 1 when the bitmap was loaded; 0 leaves the control without an image (it then paints nothing).
    BOOL LoadBitmap(int bitmapId, COLORREF transparent);
    bool HasImage() const { return image_.IsCreated(); }
    // Paints onto a device the size of the client area.
    void Paint(CDC* dc, const CRect& client);

protected:
    void OnPaint();

private:
    CBitmap image_;
    COLORREF transparent_ = 0;
};
