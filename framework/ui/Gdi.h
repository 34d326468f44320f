#pragma once
// Drawing objects (pens, brushes, fonts, bitmaps, regions), their creation records and the system
// colours. They hold plain descriptions; a CDC turns them into Qt painting state when it draws, so an
// object may be created before any device exists and selected into several devices.
#include "framework/core/Geometry.h"
#include "framework/core/ResourceTypes.h"

#include <QFont>
#include <QImage>

#include <cstdint>
#include <string>

class CDC;
class QPaintDevice;

// Pen styles.
enum : int {
    PS_SOLID = 0,
    PS_DASH = 1,
    PS_DOT = 2,
    PS_DASHDOT = 3,
    PS_DASHDOTDOT = 4,
    PS_NULL = 5,
    PS_INSIDEFRAME = 6,
};

// Brush styles.
enum : int { BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = BS_NULL };

// Stock objects.
enum : int {
    WHITE_BRUSH = 0,
    LTGRAY_BRUSH = 1,
    GRAY_BRUSH = 2,
    DKGRAY_BRUSH = 3,
    BLACK_BRUSH = 4,
    NULL_BRUSH = 5,
    HOLLOW_BRUSH = NULL_BRUSH,
    WHITE_PEN = 6,
    BLACK_PEN = 7,
    NULL_PEN = 8,
    SYSTEM_FONT = 13,
    DEFAULT_GUI_FONT = 17,
};

// Font weights, character sets and pitch values used when fonts are described by callers.
enum : int {
    FW_DONTCARE = 0,
    FW_THIN = 100,
    FW_LIGHT = 300,
    FW_NORMAL = 400,
    FW_MEDIUM = 500,
    FW_SEMIBOLD = 600,
    FW_BOLD = 700,
    FW_HEAVY = 900,
    ANSI_CHARSET = 0,
    DEFAULT_CHARSET = 1,
    OUT_DEFAULT_PRECIS = 0,
    CLIP_DEFAULT_PRECIS = 0,
    DEFAULT_QUALITY = 0,
    NONANTIALIASED_QUALITY = 3,
    DEFAULT_PITCH = 0,
    FIXED_PITCH = 1,
    VARIABLE_PITCH = 2,
    FF_DONTCARE = 0,
    FF_ROMAN = 16,
    FF_SWISS = 32,
    FF_MODERN = 48,
};

constexpr int LF_FACESIZE = 32;

// A font description. A negative height asks for that character height (em size); a positive one
// for that cell height (ascent plus descent); both in logical units of the device it is used on.
struct LOGFONT {
    int lfHeight = 0;
    int lfWidth = 0; // average character width; 0 keeps the face's own proportions
    int lfEscapement = 0;
    int lfOrientation = 0;
    int lfWeight = FW_NORMAL;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = DEFAULT_CHARSET;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    char lfFaceName[LF_FACESIZE] = {};
};
using LPLOGFONT = LOGFONT*;

struct LOGPEN {
    int lopnStyle = PS_SOLID;
    CPoint lopnWidth;
    COLORREF lopnColor = 0;
};

struct LOGBRUSH {
    int lbStyle = BS_SOLID;
    COLORREF lbColor = 0;
};

struct BITMAP {
    int bmType = 0;
    int bmWidth = 0;
    int bmHeight = 0;
    int bmWidthBytes = 0;
    int bmPlanes = 1;
    int bmBitsPixel = 32;
};

// Returned by GetPixel when the point lies outside the device or the device cannot be read.
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// System colour indexes.
enum : int {
    COLOR_SCROLLBAR = 0,
    COLOR_BACKGROUND = 1,
    COLOR_ACTIVECAPTION = 2,
    COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4,
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9,
    COLOR_ACTIVEBORDER = 10,
    COLOR_INACTIVEBORDER = 11,
    COLOR_APPWORKSPACE = 12,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_INACTIVECAPTIONTEXT = 19,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
    COLOR_3DFACE = COLOR_BTNFACE,
    COLOR_3DSHADOW = COLOR_BTNSHADOW,
    COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT,
    COLOR_3DHIGHLIGHT = COLOR_BTNHIGHLIGHT,
};

// A fixed light palette, so pictures (and tests that probe them) do not depend on the desktop theme.
// Unknown indexes give black.
COLORREF GetSysColor(int index);

// Colour conversions at the drawing boundary.
QColor ToQColor(COLORREF colour);
COLORREF FromQColor(const QColor& colour);
// A copy with alpha whose pixels of the key colour are transparent (transparent blits, masked images).
QImage ColourKeyed(const QImage& image, COLORREF key);

// Base of every drawing object: created or not, and deletable so it can be created again.
class CGdiObject {
public:
    virtual ~CGdiObject() = default;
    bool IsCreated() const { return created_; }
    // A stand-in for the native handle: non-null once the object has been created.
    const void* GetSafeHandle() const { return created_ ? this : nullptr; }
    bool DeleteObject();
    // Makes this object a copy of a stock object; false for an unknown index.
    bool CreateStockObject(int index);

protected:
    virtual void Reset() = 0;
    virtual bool FromStock(int index) = 0;
    bool created_ = false;
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF colour) { CreatePen(style, width, colour); }
    bool CreatePen(int style, int width, COLORREF colour);
    bool CreatePenIndirect(const LOGPEN* pen);
    int GetLogPen(LOGPEN* pen) const;
    const LOGPEN& Data() const { return pen_; }

private:
    void Reset() override { pen_ = {}; }
    bool FromStock(int index) override;
    LOGPEN pen_;
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF colour) { CreateSolidBrush(colour); }
    bool CreateSolidBrush(COLORREF colour);
    bool CreateSysColorBrush(int index) { return CreateSolidBrush(GetSysColor(index)); }
    int GetLogBrush(LOGBRUSH* brush) const;
    const LOGBRUSH& Data() const { return brush_; }

private:
    void Reset() override { brush_ = {}; }
    bool FromStock(int index) override;
    LOGBRUSH brush_;
};

class CFont : public CGdiObject {
public:
    bool CreateFontIndirect(const LOGFONT* font);
    bool CreateFont(int height, int width, int escapement, int orientation, int weight, std::uint8_t italic,
                    std::uint8_t underline, std::uint8_t strikeOut, std::uint8_t charSet,
                    std::uint8_t outPrecision, std::uint8_t clipPrecision, std::uint8_t quality,
                    std::uint8_t pitchAndFamily, const char* faceName);
    // Size in tenths of a point; the height is converted with the device's (or the screen's) resolution.
    bool CreatePointFont(int pointSizeTenths, const char* faceName, CDC* dc = nullptr);
    bool CreatePointFontIndirect(const LOGFONT* font, CDC* dc = nullptr);
    int GetLogFont(LOGFONT* font) const;
    const LOGFONT& Data() const { return font_; }

private:
    void Reset() override { font_ = {}; }
    bool FromStock(int index) override;
    LOGFONT font_;
};

class CBitmap : public CGdiObject {
public:
    CBitmap() = default;
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;
    // A bitmap that goes while selected first leaves its DC, so the DC never paints on freed pixels.
    ~CBitmap() override;
    // A bitmap of the given size in the format of the device (device colours, initially black).
    bool CreateCompatibleBitmap(CDC* dc, int width, int height);
    bool CreateBitmap(int width, int height, unsigned planes = 1, unsigned bitsPerPixel = 32,
                      const void* bits = nullptr);
    // Loads a bitmap of the resource module; false when there is no such image or it cannot be decoded.
    bool LoadBitmap(int resourceId);
    // Decodes image file bytes (PNG, BMP, ...); false when they are not an image.
    bool LoadFromBytes(const std::uint8_t* bytes, std::size_t size);
    bool CreateFromImage(const QImage& image);
    int GetBitmap(BITMAP* info) const;
    CSize GetBitmapDimension() const { return {image_.width(), image_.height()}; }

    // The pixels; a memory DC with this bitmap selected draws straight into it.
    QImage& Image() { return image_; }
    const QImage& Image() const { return image_; }

private:
    friend class CDC;
    void Reset() override;
    bool FromStock(int) override { return false; }
    QImage image_;
    CDC* selectedInto_ = nullptr;
};

// A rectangular region, which is all that clipping needs here.
class CRgn : public CGdiObject {
public:
    bool CreateRectRgn(int left, int top, int right, int bottom);
    bool CreateRectRgnIndirect(const CRect* rect) {
        return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
    }
    const CRect& Rect() const { return rect_; }

private:
    void Reset() override { rect_ = {}; }
    bool FromStock(int) override { return false; }
    CRect rect_;
};

// The Qt font a font description becomes on a device whose logical units are scaleX by scaleY device
// pixels (1 by 1 for pixels); dpi sizes the default font of a zero height.
QFont QFontOfLogFont(const LOGFONT& font, const QPaintDevice* device = nullptr, double scaleX = 1.0,
                     double scaleY = 1.0, int dpi = 96);

// Text metrics, in logical units.
struct TEXTMETRIC {
    int tmHeight = 0;
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
    int tmWeight = FW_NORMAL;
    std::uint8_t tmItalic = 0;
    std::uint8_t tmUnderlined = 0;
    std::uint8_t tmStruckOut = 0;
    std::uint8_t tmPitchAndFamily = 0;
};
