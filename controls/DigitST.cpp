#include "controls/DigitST.h"

#include "controls/DigitDisplay.h"
#include "framework/ui/DC.h"

#include <QWidget>

const MessageMap* CDigitST::GetMessageMap() const {
    static const MessageMap map(CStatic::GetMessageMap(), {msg::Paint(&CDigitST::OnPaint)});
    return &map;
}

BOOL CDigitST::SetBitmap(int bitmapId, int digitCount) {
    strip_.DeleteObject();
    glyphWidth_ = glyphHeight_ = 0;
    if (!strip_.LoadBitmap(bitmapId))
        return FALSE;
    const CSize size = strip_.GetBitmapDimension();
    glyphWidth_ = size.cx / kDigitGlyphCount;
    glyphHeight_ = size.cy;
    if (glyphWidth_ <= 0 || glyphHeight_ <= 0) {
        strip_.DeleteObject();
        glyphWidth_ = glyphHeight_ = 0;
        return FALSE;
    }
    SetDigitCount(digitCount, TRUE);
    return TRUE;
}

void CDigitST::SetDigitCount(int count, BOOL resize) {
    if (count >= 1 && count <= 10)
        digits_ = count;
    if (resize == TRUE)
        Resize();
}

void CDigitST::SetAlignment(int flags, BOOL resize) {
    alignment_ = flags;
    if (resize == TRUE)
        Resize();
}

void CDigitST::SetValue(int value, BOOL repaint) {
    value_ = value;
    if (repaint == TRUE)
        Invalidate(TRUE);
}

void CDigitST::Resize() {
    if (!GetSafeHwnd())
        return;
    Invalidate(TRUE);
    CRect rect;
    GetWindowRect(&rect);
    if (CWnd* parent = GetParent())
        parent->ScreenToClient(&rect);
    const CRect fitted = DigitControlRect(rect, digits_, glyphWidth_, glyphHeight_, alignment_);
    MoveWindow(fitted, TRUE);
}

void CDigitST::OnPaint() {
    if (!strip_.IsCreated() || !GetWidget())
        return;
    CDC dc(GetWidget());
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    CBitmap* old = memory.SelectObject(&strip_);
    const std::vector<int> cells = DigitGlyphs(value_, digits_, m_bHex, zeroFill_ == 1, showDigits_);
    for (std::size_t i = 0; i < cells.size(); ++i)
        dc.BitBlt(kDigitMargin + static_cast<int>(i) * glyphWidth_, kDigitMargin, glyphWidth_, glyphHeight_,
                  &memory, cells[i] * glyphWidth_, 0, SRCCOPY);
    memory.SelectObject(old);
}
