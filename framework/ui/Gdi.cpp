#include "framework/ui/Gdi.h"

#include "framework/core/ResourceModule.h"
#include "framework/ui/DC.h"
#include "framework/ui/Fonts.h"

#include <QColor>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstring>

COLORREF GetSysColor(int index) {
    static constexpr COLORREF table[] = {
        RGB(200, 200, 200), // scroll bar
        RGB(0, 0, 0),       // desktop
        RGB(153, 180, 209), // active caption
        RGB(191, 205, 219), // inactive caption
        RGB(240, 240, 240), // menu
        RGB(255, 255, 255), // window
        RGB(100, 100, 100), // window frame
        RGB(0, 0, 0),       // menu text
        RGB(0, 0, 0),       // window text
        RGB(0, 0, 0),       // caption text
        RGB(180, 180, 180), // active border
        RGB(244, 247, 252), // inactive border
        RGB(171, 171, 171), // application workspace
        RGB(0, 120, 215),   // highlight
        RGB(255, 255, 255), // highlight text
        RGB(240, 240, 240), // button face
        RGB(160, 160, 160), // button shadow
        RGB(109, 109, 109), // grey text
        RGB(0, 0, 0),       // button text
        RGB(0, 0, 0),       // inactive caption text
        RGB(255, 255, 255), // button highlight
        RGB(105, 105, 105), // dark shadow
        RGB(227, 227, 227), // light
        RGB(0, 0, 0),       // tooltip text
        RGB(255, 255, 225), // tooltip background
    };
    if (index < 0 || index >= static_cast<int>(std::size(table)))
        return 0;
    return table[index];
}

QColor ToQColor(COLORREF colour) {
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

COLORREF FromQColor(const QColor& colour) {
    return RGB(colour.red(), colour.green(), colour.blue());
}

QImage ColourKeyed(const QImage& image, COLORREF key) {
    QImage keyed = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb rgb = qRgb(GetRValue(key), GetGValue(key), GetBValue(key)) & 0x00FFFFFF;
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x)
            if ((line[x] & 0x00FFFFFF) == rgb)
                line[x] = 0;
    }
    return keyed;
}

QFont QFontOfLogFont(const LOGFONT& lf, const QPaintDevice* device, double scaleX, double scaleY, int dpi) {
    auto round = [](double v) { return static_cast<int>(std::lround(v)); };
    QFont font;
    if (lf.lfFaceName[0])
        font.setFamilies({FamilyOfFace(lf.lfFaceName)});
    int pixels;
    if (lf.lfHeight < 0) {
        pixels = round(-lf.lfHeight * scaleY);
    } else if (lf.lfHeight > 0) {
        // A cell height: pick the em size whose ascent plus descent comes to it.
        const double cell = lf.lfHeight * scaleY;
        QFont probe = font;
        probe.setPixelSize(100);
        const double height = TemplateCellHeightF(probe);
        pixels = round(height > 0 ? cell * 100.0 / height : cell);
    } else {
        pixels = round(12.0 * dpi / 96.0);
    }
    font.setPixelSize(std::max(1, pixels));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(lf.lfWeight == 0 ? 400 : lf.lfWeight, 1, 1000)));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    // Small painted labels stay crisp in their own colour.
    if (lf.lfQuality == NONANTIALIASED_QUALITY)
        font.setStyleStrategy(QFont::NoAntialias);
    if (lf.lfWidth != 0) {
        const double average = TemplateAverageCharWidth(QFontMetricsF(font, device));
        if (average > 0)
            font.setStretch(std::clamp(round(100.0 * std::abs(lf.lfWidth) * scaleX / average), 1, 4000));
    }
    return font;
}

bool CGdiObject::DeleteObject() {
    if (!created_)
        return false;
    Reset();
    created_ = false;
    return true;
}

bool CGdiObject::CreateStockObject(int index) {
    Reset();
    created_ = FromStock(index);
    return created_;
}

bool CPen::CreatePen(int style, int width, COLORREF colour) {
    if (style < PS_SOLID || style > PS_INSIDEFRAME)
        return false;
    pen_.lopnStyle = style;
    pen_.lopnWidth = CPoint(std::max(width, 0), 0);
    pen_.lopnColor = colour;
    created_ = true;
    return true;
}

bool CPen::CreatePenIndirect(const LOGPEN* pen) {
    return pen && CreatePen(pen->lopnStyle, pen->lopnWidth.x, pen->lopnColor);
}

int CPen::GetLogPen(LOGPEN* pen) const {
    if (!created_ || !pen)
        return 0;
    *pen = pen_;
    return static_cast<int>(sizeof(LOGPEN));
}

bool CPen::FromStock(int index) {
    switch (index) {
    case WHITE_PEN:
        pen_ = {PS_SOLID, CPoint(1, 0), RGB(255, 255, 255)};
        return true;
    case BLACK_PEN:
        pen_ = {PS_SOLID, CPoint(1, 0), RGB(0, 0, 0)};
        return true;
    case NULL_PEN:
        pen_ = {PS_NULL, CPoint(0, 0), 0};
        return true;
    default:
        return false;
    }
}

bool CBrush::CreateSolidBrush(COLORREF colour) {
    brush_ = {BS_SOLID, colour};
    created_ = true;
    return true;
}

int CBrush::GetLogBrush(LOGBRUSH* brush) const {
    if (!created_ || !brush)
        return 0;
    *brush = brush_;
    return static_cast<int>(sizeof(LOGBRUSH));
}

bool CBrush::FromStock(int index) {
    switch (index) {
    case WHITE_BRUSH:
        brush_ = {BS_SOLID, RGB(255, 255, 255)};
        return true;
    case LTGRAY_BRUSH:
        brush_ = {BS_SOLID, RGB(192, 192, 192)};
        return true;
    case GRAY_BRUSH:
        brush_ = {BS_SOLID, RGB(128, 128, 128)};
        return true;
    case DKGRAY_BRUSH:
        brush_ = {BS_SOLID, RGB(64, 64, 64)};
        return true;
    case BLACK_BRUSH:
        brush_ = {BS_SOLID, RGB(0, 0, 0)};
        return true;
    case NULL_BRUSH:
        brush_ = {BS_NULL, 0};
        return true;
    default:
        return false;
    }
}

bool CFont::CreateFontIndirect(const LOGFONT* font) {
    if (!font)
        return false;
    font_ = *font;
    font_.lfFaceName[LF_FACESIZE - 1] = '\0';
    created_ = true;
    return true;
}

bool CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       std::uint8_t italic, std::uint8_t underline, std::uint8_t strikeOut,
                       std::uint8_t charSet, std::uint8_t outPrecision, std::uint8_t clipPrecision,
                       std::uint8_t quality, std::uint8_t pitchAndFamily, const char* faceName) {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = outPrecision;
    lf.lfClipPrecision = clipPrecision;
    lf.lfQuality = quality;
    lf.lfPitchAndFamily = pitchAndFamily;
    if (faceName)
        std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

bool CFont::CreatePointFont(int pointSizeTenths, const char* faceName, CDC* dc) {
    LOGFONT lf;
    lf.lfHeight = pointSizeTenths;
    if (faceName)
        std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreatePointFontIndirect(&lf, dc);
}

bool CFont::CreatePointFontIndirect(const LOGFONT* font, CDC* dc) {
    if (!font)
        return false;
    LOGFONT lf = *font;
    // Tenths of a point to device pixels, then to the device's logical units.
    int dpi = 96;
    if (dc)
        dpi = dc->GetDeviceCaps(LOGPIXELSY);
    const int pixels = (std::abs(lf.lfHeight) * dpi + 360) / 720;
    CPoint size(0, pixels);
    if (dc)
        size = dc->DPtoLPSize(CPoint(0, pixels));
    lf.lfHeight = -std::abs(size.y);
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* font) const {
    if (!created_ || !font)
        return 0;
    *font = font_;
    return static_cast<int>(sizeof(LOGFONT));
}

bool CFont::FromStock(int index) {
    if (index != SYSTEM_FONT && index != DEFAULT_GUI_FONT)
        return false;
    font_ = {};
    font_.lfHeight = -11;
    std::strncpy(font_.lfFaceName, "MS Shell Dlg", LF_FACESIZE - 1);
    return true;
}

CBitmap::~CBitmap() {
    if (selectedInto_)
        selectedInto_->ReleaseBitmap(this);
}

void CBitmap::Reset() {
    if (selectedInto_)
        selectedInto_->ReleaseBitmap(this);
    image_ = QImage();
}

bool CBitmap::CreateCompatibleBitmap(CDC*, int width, int height) {
    if (width <= 0 || height <= 0)
        return false;
    if (selectedInto_)
        selectedInto_->ReleaseBitmap(this);
    image_ = QImage(width, height, QImage::Format_RGB32);
    if (image_.isNull())
        return false;
    image_.fill(Qt::black);
    created_ = true;
    return true;
}

bool CBitmap::CreateBitmap(int width, int height, unsigned, unsigned bitsPerPixel, const void* bits) {
    if (!CreateCompatibleBitmap(nullptr, width, height))
        return false;
    if (bits && bitsPerPixel == 32) {
        for (int y = 0; y < height; ++y)
            std::memcpy(image_.scanLine(y),
                        static_cast<const std::uint8_t*>(bits) + std::size_t(y) * width * 4,
                        std::size_t(width) * 4);
    }
    return true;
}

bool CBitmap::LoadBitmap(int resourceId) {
    const ImageResource* resource = FindImage(resourceId);
    if (!resource || resource->bytes.empty())
        return false;
    return LoadFromBytes(resource->bytes.data(), resource->bytes.size());
}

bool CBitmap::LoadFromBytes(const std::uint8_t* bytes, std::size_t size) {
    QImage decoded;
    if (!bytes || size == 0 || !decoded.loadFromData(bytes, static_cast<int>(size)))
        return false;
    return CreateFromImage(decoded);
}

bool CBitmap::CreateFromImage(const QImage& image) {
    if (image.isNull())
        return false;
    if (selectedInto_)
        selectedInto_->ReleaseBitmap(this);
    // Bitmaps are opaque device pixels; transparency comes from colour keys, never from alpha.
    image_ = image.convertToFormat(QImage::Format_RGB32);
    created_ = true;
    return true;
}

int CBitmap::GetBitmap(BITMAP* info) const {
    if (!created_ || !info)
        return 0;
    info->bmType = 0;
    info->bmWidth = image_.width();
    info->bmHeight = image_.height();
    info->bmWidthBytes = static_cast<int>(image_.bytesPerLine());
    info->bmPlanes = 1;
    info->bmBitsPixel = 32;
    return static_cast<int>(sizeof(BITMAP));
}

bool CRgn::CreateRectRgn(int left, int top, int right, int bottom) {
    rect_ = CRect(left, top, right, bottom);
    rect_.NormalizeRect();
    created_ = true;
    return true;
}
