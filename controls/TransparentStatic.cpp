#include "controls/TransparentStatic.h"

#include "framework/ui/DC.h"

#include <QWidget>

const MessageMap* CTransparentStatic::GetMessageMap() const {
    static const MessageMap map(CStatic::GetMessageMap(), {msg::Paint(&CTransparentStatic::OnPaint)});
    return &map;
}

BOOL CTransparentStatic::LoadBitmap(int bitmapId, COLORREF transparent) {
    image_.DeleteObject();
    if (!image_.LoadBitmap(bitmapId))
        return FALSE;
    transparent_ = transparent;
    return TRUE;
}

void CTransparentStatic::Paint(CDC* dc, const CRect& client) {
    if (!image_.IsCreated() || !dc)
        return;
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap* old = memory.SelectObject(&image_);
    const CSize size = image_.GetBitmapDimension();
    dc->TransparentBlt(client.left, client.top, client.Width(), client.Height(), &memory, 0, 0, size.cx,
                       size.cy, transparent_);
    memory.SelectObject(old);
}

void CTransparentStatic::OnPaint() {
    if (!GetWidget() || !image_.IsCreated())
        return;
    CDC dc(GetWidget());
    CRect client;
    GetClientRect(&client);
    Paint(&dc, client);
}
