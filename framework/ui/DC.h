#pragma once
// A device context over QPainter that keeps the drawing rules the rest of the code was written
// against: a line leaves out its end point, rectangles leave out their right and bottom edges,
// styled pens fill their gaps with the background colour in opaque mode, and logical coordinates go
// through a mapping mode (pixels, or 0.01 inch with y growing upward for printed pages).
#include "framework/core/Geometry.h"
#include "framework/core/PaintedLabels.h"
#include "framework/ui/Gdi.h"

#include <QFont>
#include <QPainter>
#include <QRegion>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPaintDevice;
class QImage;

// Mapping modes.
enum : int {
    MM_TEXT = 1,
    MM_LOMETRIC = 2,
    MM_HIMETRIC = 3,
    MM_LOENGLISH = 4,
    MM_HIENGLISH = 5,
    MM_TWIPS = 6,
    MM_ISOTROPIC = 7,
    MM_ANISOTROPIC = 8,
};

// Background modes.
enum : int { TRANSPARENT = 1, OPAQUE = 2 };

// Text alignment of TextOut.
enum : unsigned {
    TA_NOUPDATECP = 0,
    TA_UPDATECP = 1,
    TA_LEFT = 0,
    TA_RIGHT = 2,
    TA_CENTER = 6,
    TA_TOP = 0,
    TA_BOTTOM = 8,
    TA_BASELINE = 24,
};

// DrawText format flags.
enum : unsigned {
    DT_TOP = 0x0,
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_PATH_ELLIPSIS = 0x4000,
    DT_END_ELLIPSIS = 0x8000,
    DT_WORD_ELLIPSIS = 0x40000,
};

// Raster operations of the block transfers.
enum : unsigned {
    SRCCOPY = 0x00CC0020,
    SRCPAINT = 0x00EE0086,
    SRCAND = 0x008800C6,
    SRCINVERT = 0x00660046,
    NOTSRCCOPY = 0x00330008,
    DSTINVERT = 0x00550009,
    PATCOPY = 0x00F00021,
    BLACKNESS = 0x00000042,
    WHITENESS = 0x00FF0062,
};

// Device capability indexes.
enum : int {
    HORZSIZE = 4,
    VERTSIZE = 6,
    HORZRES = 8,
    VERTRES = 10,
    BITSPIXEL = 12,
    PLANES = 14,
    LOGPIXELSX = 88,
    LOGPIXELSY = 90,
    PHYSICALWIDTH = 110,
    PHYSICALHEIGHT = 111,
    PHYSICALOFFSETX = 112,
    PHYSICALOFFSETY = 113,
};

// Region kinds returned by clipping calls.
enum : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

class CDC {
public:
    CDC();
    // Draws on a device: a QImage (tests probe its pixels), a widget inside its paint event, a printer.
    explicit CDC(QPaintDevice* device);
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    bool Attach(QPaintDevice* device);
    void Detach();
    // A device-less memory DC; it draws once a bitmap is selected into it.
    bool CreateCompatibleDC(CDC* dc);
    bool DeleteDC();
    bool IsValid() const { return painter_ != nullptr; }

    bool IsPrinting() const { return printing_; }
    void SetPrinting(bool printing) { printing_ = printing; }

    // The image drawn on, when the device is an image (memory DCs and image DCs); else null.
    const QImage* TargetImage() const { return image_; }
    QPainter* Painter() { return painter_.get(); }

    // Objects. Each returns the object it replaces (the stock object at first).
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    int SelectObject(CRgn* region) { return SelectClipRgn(region); }
    CGdiObject* SelectObject(CGdiObject* object);
    CGdiObject* SelectStockObject(int index);
    CPen* GetCurrentPen() const { return pen_; }
    CBrush* GetCurrentBrush() const { return brush_; }
    CFont* GetCurrentFont() const { return font_; }
    CBitmap* GetCurrentBitmap() const { return bitmap_; }

    int SaveDC();
    // A negative level restores that many steps back; a positive one the state SaveDC numbered so.
    bool RestoreDC(int savedLevel);

    // Colours and modes.
    COLORREF SetTextColor(COLORREF colour);
    COLORREF GetTextColor() const { return state_.textColour; }
    COLORREF SetBkColor(COLORREF colour);
    COLORREF GetBkColor() const { return state_.bkColour; }
    int SetBkMode(int mode);
    int GetBkMode() const { return state_.bkMode; }
    unsigned SetTextAlign(unsigned flags);
    unsigned GetTextAlign() const { return state_.textAlign; }

    // Mapping.
    int SetMapMode(int mode);
    int GetMapMode() const { return state_.mapMode; }
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(CPoint p) { return SetViewportOrg(p.x, p.y); }
    CPoint GetViewportOrg() const { return state_.viewportOrg; }
    CPoint OffsetViewportOrg(int dx, int dy);
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(CPoint p) { return SetWindowOrg(p.x, p.y); }
    CPoint GetWindowOrg() const { return state_.windowOrg; }
    CSize SetWindowExt(int cx, int cy);
    CSize SetViewportExt(int cx, int cy);
    void LPtoDP(CPoint* points, int count = 1) const;
    void LPtoDP(CRect* rect) const;
    void DPtoLP(CPoint* points, int count = 1) const;
    void DPtoLP(CRect* rect) const;
    // A device distance (no origin) in logical units, magnitude only.
    CPoint DPtoLPSize(CPoint deviceSize) const;

    int GetDeviceCaps(int index) const;

    // Clipping, in logical coordinates.
    int IntersectClipRect(int left, int top, int right, int bottom);
    int IntersectClipRect(const CRect& rect) {
        return IntersectClipRect(rect.left, rect.top, rect.right, rect.bottom);
    }
    int ExcludeClipRect(int left, int top, int right, int bottom);
    int ExcludeClipRect(const CRect& rect) {
        return ExcludeClipRect(rect.left, rect.top, rect.right, rect.bottom);
    }
    // Null removes the clipping.
    int SelectClipRgn(CRgn* region);
    int GetClipBox(CRect* rect) const;

    // Lines and shapes.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(CPoint p) { return MoveTo(p.x, p.y); }
    bool LineTo(int x, int y);
    bool LineTo(CPoint p) { return LineTo(p.x, p.y); }
    CPoint GetCurrentPosition() const { return state_.position; }
    bool Polyline(const CPoint* points, int count);
    bool Polygon(const CPoint* points, int count);
    bool Rectangle(int left, int top, int right, int bottom);
    bool Rectangle(const CRect& rect) { return Rectangle(rect.left, rect.top, rect.right, rect.bottom); }
    bool Ellipse(int left, int top, int right, int bottom);
    bool Ellipse(const CRect& rect) { return Ellipse(rect.left, rect.top, rect.right, rect.bottom); }
    void FillRect(const CRect& rect, CBrush* brush);
    // Fills with a colour; like the original it leaves that colour as the background colour.
    void FillSolidRect(const CRect& rect, COLORREF colour);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF colour) {
        FillSolidRect(CRect(x, y, x + cx, y + cy), colour);
    }
    void FrameRect(const CRect& rect, CBrush* brush);
    void Draw3dRect(const CRect& rect, COLORREF topLeft, COLORREF bottomRight);
    void InvertRect(const CRect& rect);
    // A dotted frame drawn by inverting pixels, so drawing it twice removes it.
    void DrawFocusRect(const CRect& rect);
    COLORREF SetPixel(int x, int y, COLORREF colour);
    COLORREF SetPixel(CPoint p, COLORREF colour) { return SetPixel(p.x, p.y, colour); }
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(CPoint p) const { return GetPixel(p.x, p.y); }

    // Text (UTF-8).
    bool TextOut(int x, int y, const std::string& text);
    // Returns the height of the text in logical units; with DT_CALCRECT it only measures and sets the
    // rectangle's right and bottom edges.
    int DrawText(const std::string& text, CRect* rect, unsigned format);
    int DrawText(const std::string& text, CRect& rect, unsigned format) {
        return DrawText(text, &rect, format);
    }
    CSize GetTextExtent(const std::string& text) const;
    // From now on every text this DC draws is also listed in `labels` (null stops it) with the
    // rectangle it covers in device pixels, so a window can tell where its painter put its labels.
    void RecordLabels(PaintedLabels* labels) { labels_ = labels; }
    // While set, every DC made on a window or control (not a memory DC) lists its texts in `labels`,
    // in the pixels of the widget it paints, so that a check can see what owner-drawn controls draw.
    static void RecordWidgetLabels(PaintedLabels* labels);
    CSize GetOutputTextExtent(const std::string& text) const { return GetTextExtent(text); }
    bool GetTextMetrics(TEXTMETRIC* metrics) const;
    // The Qt font the selected font becomes on this device.
    QFont CurrentQFont() const;

    // Block transfers; the source must draw on an image (a memory DC).
    bool BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, unsigned rop);
    bool StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, unsigned rop);
    // Copies with the pixels of one colour left out.
    bool TransparentBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                        int srcHeight, COLORREF transparent);

protected:
    // Resolution of a device-less DC (the screen a window is on, for instance).
    void SetResolution(int dpi) { resolution_ = dpi; }

private:
    friend class CBitmap;
    void ReleaseBitmap(CBitmap* bitmap);

    struct State {
        LOGPEN pen;
        LOGBRUSH brush;
        LOGFONT font;
        COLORREF textColour = RGB(0, 0, 0);
        COLORREF bkColour = RGB(255, 255, 255);
        int bkMode = OPAQUE;
        unsigned textAlign = TA_LEFT | TA_TOP;
        int mapMode = MM_TEXT;
        CPoint windowOrg;
        CPoint viewportOrg;
        CSize windowExt{1, 1};
        CSize viewportExt{1, 1};
        CPoint position;
        int64_t patternPos = 0;      // pixels a styled pen has walked since MoveTo
        std::optional<QRegion> clip; // device coordinates
    };
    struct Saved {
        State state;
        CPen* pen;
        CBrush* brush;
        CFont* font;
    };

    void ResetState();
    bool Begin(QPaintDevice* device);
    void End();
    void ApplyClip();
    // Logical units are device pixels (equal extents): coordinates only shift by the origins.
    bool PlainMapping() const;
    double ScaleX() const;
    double ScaleY() const;
    QPointF ToDevice(double x, double y) const;
    QPoint ToDevicePoint(int x, int y) const;
    // A line's end in device pixels, with room beyond int: a far end keeps the line's direction.
    struct LineEnd {
        int64_t x = 0;
        int64_t y = 0;
    };
    LineEnd ToLineEnd(int x, int y) const;
    // What a line can touch: the device, within the clip region's bounds.
    QRect DrawableBox() const;
    QRect ToDeviceRect(int left, int top, int right, int bottom) const; // normalised, right/bottom outside
    int DevicePenWidth() const;
    QFont MakeQFont(const LOGFONT& font) const;
    void DeviceLine(LineEnd from, LineEnd to);
    void PaintImage(QPoint at, const QImage& image, QPainter::CompositionMode mode);
    QImage SourcePart(int x, int y, int width, int height, CDC* source, const CRect& from,
                      QRect* target) const;
    void PixelLine(LineEnd from, LineEnd to);
    void FillDevice(const QRect& rect, COLORREF colour);
    void DeviceFrame(const QRect& rect);
    bool IsRaster() const;
    std::vector<std::string> LayoutLines(const std::string& text, unsigned format, int deviceWidth,
                                         const QFontMetrics& metrics) const;

    std::unique_ptr<QPainter> painter_;
    QPaintDevice* device_ = nullptr;
    QImage* image_ = nullptr;
    bool printing_ = false;
    int resolution_ = 96; // for a device-less memory DC, inherited from the DC it was made for
    State state_;
    CPen* pen_ = nullptr;
    CBrush* brush_ = nullptr;
    CFont* font_ = nullptr;
    CBitmap* bitmap_ = nullptr;
    std::vector<Saved> saved_;
    PaintedLabels* labels_ = nullptr;
};

class CWnd;

// The DC of a window's paint handler: valid only while the window handles WM_PAINT.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* window);
    CWnd* Window() const { return window_; }

private:
    CWnd* window_;
};

// A window's DC outside its paint handler. The widget can only be painted while it handles a paint
// event, so this DC measures (fonts, text extents, device capabilities) but draws nothing; windows
// draw in WM_PAINT (invalidate to have it run).
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* window);
};
using CWindowDC = CClientDC;
