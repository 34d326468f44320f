#pragma once
// CDigitST: a static control that shows an integer as seven-segment glyphs cut from one bitmap strip
// of 19 equal cells (0-9, blank, minus, A-F, H), decimal or hexadecimal, in a fixed number of places.
#include "framework/ui/Gdi.h"
#include "framework/ui/Static.h"

class CDigitST : public CStatic {
public:
    CDigitST() = default;
    const MessageMap* GetMessageMap() const override;

    // Loads the strip (a bitmap of the resource module) and sets the places; 1 on success, 0 when
    // the bitmap cannot be loaded (the control then has no strip and paints nothing).
    BOOL SetBitmap(int bitmapId, int digitCount);
    // Counts 1 to 10 are taken, others leave the count unchanged; resize when `resize` is 1.
    void SetDigitCount(int count, BOOL resize);
    int GetDigitCount() const { return digits_; }
    // 4: keep the left edge on resize (else the right), 8: keep the top edge (else the bottom).
    void SetAlignment(int flags, BOOL resize);
    void SetValue(int value, BOOL repaint);
    int GetValue() const { return value_; }
    // FALSE draws every place blank.
    void SetShowDigits(BOOL show) { showDigits_ = show != FALSE; }
    // 1: leading places of a non-negative value show 0 instead of blank.
    void SetZeroFill(int zeroFill) { zeroFill_ = zeroFill; }
    CSize GetGlyphSize() const { return {glyphWidth_, glyphHeight_}; }
    bool HasStrip() const { return strip_.IsCreated(); }

    // Draw "H" and hexadecimal digits instead of decimal ones.
    bool m_bHex = false;

protected:
    void OnPaint();
    void Resize();

private:
    CBitmap strip_;
    int glyphWidth_ = 0;
    int glyphHeight_ = 0;
    int digits_ = 2;
    int value_ = 0;
    int zeroFill_ = 0;
    int alignment_ = 12;
    bool showDigits_ = true;
};
