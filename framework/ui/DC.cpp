#include "framework/ui/DC.h"

#include "framework/ui/Static.h"
#include "framework/ui/Wnd.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPrinter>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

template <typename T> T& Stock(int index) {
    // One instance per stock index and type; they are never deleted.
    static std::vector<std::unique_ptr<T>> objects(32);
    auto& slot = objects.at(static_cast<std::size_t>(index));
    if (!slot) {
        slot = std::make_unique<T>();
        slot->CreateStockObject(index);
    }
    return *slot;
}

int Round(double v) {
    return static_cast<int>(std::lround(v));
}

// On/off run lengths of the styled pens one pixel wide, and of wider pens in units of their width.
const std::vector<int>& CosmeticPattern(int style) {
    static const std::vector<int> none;
    static const std::vector<int> dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6}, dashDotDot{9, 3, 3, 3, 3, 3};
    switch (style) {
    case PS_DASH:
        return dash;
    case PS_DOT:
        return dot;
    case PS_DASHDOT:
        return dashDot;
    case PS_DASHDOTDOT:
        return dashDotDot;
    default:
        return none;
    }
}

QList<qreal> GeometricPattern(int style) {
    switch (style) {
    case PS_DASH:
        return {3, 1};
    case PS_DOT:
        return {1, 1};
    case PS_DASHDOT:
        return {3, 1, 1, 1};
    case PS_DASHDOTDOT:
        return {3, 1, 1, 1, 1, 1};
    default:
        return {};
    }
}

bool PatternOn(const std::vector<int>& pattern, int position) {
    if (pattern.empty())
        return true;
    int period = 0;
    for (int run : pattern)
        period += run;
    int p = position % period;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (p < pattern[i])
            return i % 2 == 0;
        p -= pattern[i];
    }
    return true;
}

QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int RegionKind(const QRegion& region) {
    if (region.isEmpty())
        return NULLREGION;
    return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// The part of the segment from p to q inside box (Liang-Barsky); false when none is.
bool ClipSegment(QPointF& p, QPointF& q, const QRectF& box) {
    double t0 = 0.0, t1 = 1.0;
    const double dx = q.x() - p.x(), dy = q.y() - p.y();
    const double edges[4][2] = {{-dx, p.x() - box.left()},
                                {dx, box.right() - p.x()},
                                {-dy, p.y() - box.top()},
                                {dy, box.bottom() - p.y()}};
    for (const auto& [along, room] : edges) {
        if (along == 0.0) {
            if (room < 0.0)
                return false;
            continue;
        }
        const double t = room / along;
        if (along < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    q = QPointF(p.x() + t1 * dx, p.y() + t1 * dy);
    p = QPointF(p.x() + t0 * dx, p.y() + t0 * dy);
    return true;
}

} // namespace

CDC::CDC() {
    ResetState();
}

CDC::CDC(QPaintDevice* device) {
    ResetState();
    Attach(device);
}

CDC::~CDC() {
    DeleteDC();
}

void CDC::ResetState() {
    state_ = State{};
    pen_ = &Stock<CPen>(BLACK_PEN);
    brush_ = &Stock<CBrush>(WHITE_BRUSH);
    font_ = &Stock<CFont>(SYSTEM_FONT);
    state_.pen = pen_->Data();
    state_.brush = brush_->Data();
    state_.font = font_->Data();
}

namespace {
PaintedLabels* g_widgetLabels = nullptr;
} // namespace

void CDC::RecordWidgetLabels(PaintedLabels* labels) {
    g_widgetLabels = labels;
}

bool CDC::Attach(QPaintDevice* device) {
    if (!device)
        return false;
    End();
    if (device->devType() == QInternal::Widget && g_widgetLabels)
        labels_ = g_widgetLabels;
    if (device->devType() == QInternal::Image)
        image_ = static_cast<QImage*>(device);
    printing_ = device->devType() == QInternal::Printer;
    return Begin(device);
}

void CDC::Detach() {
    End();
    image_ = nullptr;
}

bool CDC::CreateCompatibleDC(CDC* dc) {
    DeleteDC();
    resolution_ = dc ? dc->GetDeviceCaps(LOGPIXELSX) : 96;
    return true;
}

bool CDC::DeleteDC() {
    if (bitmap_)
        bitmap_->selectedInto_ = nullptr;
    bitmap_ = nullptr;
    Detach();
    saved_.clear();
    return true;
}

bool CDC::Begin(QPaintDevice* device) {
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(device)) {
        painter_.reset();
        return false;
    }
    device_ = device;
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
    ApplyClip();
    return true;
}

void CDC::End() {
    if (painter_ && painter_->isActive())
        painter_->end();
    painter_.reset();
    device_ = nullptr;
}

bool CDC::IsRaster() const {
    return painter_ && painter_->paintEngine()->type() == QPaintEngine::Raster;
}

// ---- objects

namespace {
// Puts the object in the slot and its description in the state; returns what the slot held.
template <class Object, class Data> Object* Select(Object*& slot, Data& state, Object* object) {
    if (!object || !object->IsCreated())
        return nullptr;
    state = object->Data();
    return std::exchange(slot, object);
}
} // namespace

CPen* CDC::SelectObject(CPen* pen) {
    return Select(pen_, state_.pen, pen);
}
CBrush* CDC::SelectObject(CBrush* brush) {
    return Select(brush_, state_.brush, brush);
}
CFont* CDC::SelectObject(CFont* font) {
    return Select(font_, state_.font, font);
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    if (!bitmap)
        return nullptr;
    const bool none = bitmap == &Stock<CBitmap>(0);
    if (!none && (!bitmap->IsCreated() || bitmap->Image().isNull() || bitmap->selectedInto_))
        return nullptr;
    CBitmap* previous = bitmap_ ? bitmap_ : &Stock<CBitmap>(0);
    if (bitmap_)
        bitmap_->selectedInto_ = nullptr;
    Detach();
    bitmap_ = nullptr;
    if (!none) {
        bitmap_ = bitmap;
        bitmap->selectedInto_ = this;
        image_ = &bitmap->Image();
        Begin(image_);
    }
    return previous;
}

void CDC::ReleaseBitmap(CBitmap* bitmap) {
    bitmap->selectedInto_ = nullptr;
    if (bitmap_ == bitmap) {
        Detach();
        bitmap_ = nullptr;
    }
}

CGdiObject* CDC::SelectObject(CGdiObject* object) {
    if (auto* pen = dynamic_cast<CPen*>(object))
        return SelectObject(pen);
    if (auto* brush = dynamic_cast<CBrush*>(object))
        return SelectObject(brush);
    if (auto* font = dynamic_cast<CFont*>(object))
        return SelectObject(font);
    if (auto* bitmap = dynamic_cast<CBitmap*>(object))
        return SelectObject(bitmap);
    return nullptr;
}

CGdiObject* CDC::SelectStockObject(int index) {
    switch (index) {
    case WHITE_PEN:
    case BLACK_PEN:
    case NULL_PEN:
        return SelectObject(&Stock<CPen>(index));
    case WHITE_BRUSH:
    case LTGRAY_BRUSH:
    case GRAY_BRUSH:
    case DKGRAY_BRUSH:
    case BLACK_BRUSH:
    case NULL_BRUSH:
        return SelectObject(&Stock<CBrush>(index));
    case SYSTEM_FONT:
    case DEFAULT_GUI_FONT:
        return SelectObject(&Stock<CFont>(index));
    default:
        return nullptr;
    }
}

int CDC::SaveDC() {
    saved_.push_back({state_, pen_, brush_, font_});
    return static_cast<int>(saved_.size());
}

bool CDC::RestoreDC(int savedLevel) {
    const int count = static_cast<int>(saved_.size());
    const int index = savedLevel < 0 ? count + savedLevel : savedLevel - 1;
    if (savedLevel == 0 || index < 0 || index >= count)
        return false;
    const Saved& saved = saved_[static_cast<std::size_t>(index)];
    state_ = saved.state;
    pen_ = saved.pen;
    brush_ = saved.brush;
    font_ = saved.font;
    saved_.resize(static_cast<std::size_t>(index));
    ApplyClip();
    return true;
}

// ---- colours and modes

COLORREF CDC::SetTextColor(COLORREF colour) {
    return std::exchange(state_.textColour, colour);
}
COLORREF CDC::SetBkColor(COLORREF colour) {
    return std::exchange(state_.bkColour, colour);
}

int CDC::SetBkMode(int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    return std::exchange(state_.bkMode, mode);
}

unsigned CDC::SetTextAlign(unsigned flags) {
    return std::exchange(state_.textAlign, flags);
}

// ---- mapping

int CDC::SetMapMode(int mode) {
    const int dpiX = GetDeviceCaps(LOGPIXELSX);
    const int dpiY = GetDeviceCaps(LOGPIXELSY);
    auto fixed = [&](int unitsPerInch) {
        state_.windowExt = CSize(unitsPerInch, unitsPerInch);
        state_.viewportExt = CSize(dpiX, -dpiY);
    };
    switch (mode) {
    case MM_TEXT:
        state_.windowExt = CSize(1, 1);
        state_.viewportExt = CSize(1, 1);
        break;
    case MM_LOMETRIC:
        fixed(254);
        break;
    case MM_HIMETRIC:
        fixed(2540);
        break;
    case MM_LOENGLISH:
        fixed(100);
        break;
    case MM_HIENGLISH:
        fixed(1000);
        break;
    case MM_TWIPS:
        fixed(1440);
        break;
    case MM_ISOTROPIC:
    case MM_ANISOTROPIC:
        break; // keeps the extents until the caller sets them
    default:
        return 0;
    }
    return std::exchange(state_.mapMode, mode);
}

CPoint CDC::SetViewportOrg(int x, int y) {
    return std::exchange(state_.viewportOrg, CPoint(x, y));
}

CPoint CDC::OffsetViewportOrg(int dx, int dy) {
    CPoint old = state_.viewportOrg;
    state_.viewportOrg = CPoint(old.x + dx, old.y + dy);
    return old;
}

CPoint CDC::SetWindowOrg(int x, int y) {
    return std::exchange(state_.windowOrg, CPoint(x, y));
}

CSize CDC::SetWindowExt(int cx, int cy) {
    if (state_.mapMode != MM_ISOTROPIC && state_.mapMode != MM_ANISOTROPIC)
        return state_.windowExt;
    if (cx == 0 || cy == 0)
        return {};
    return std::exchange(state_.windowExt, CSize(cx, cy));
}

CSize CDC::SetViewportExt(int cx, int cy) {
    if (state_.mapMode != MM_ISOTROPIC && state_.mapMode != MM_ANISOTROPIC)
        return state_.viewportExt;
    if (cx == 0 || cy == 0)
        return {};
    return std::exchange(state_.viewportExt, CSize(cx, cy));
}

double CDC::ScaleX() const {
    return double(state_.viewportExt.cx) / state_.windowExt.cx;
}
double CDC::ScaleY() const {
    return double(state_.viewportExt.cy) / state_.windowExt.cy;
}

bool CDC::PlainMapping() const {
    return state_.windowExt == state_.viewportExt;
}

QPointF CDC::ToDevice(double x, double y) const {
    if (PlainMapping())
        return {x - state_.windowOrg.x + state_.viewportOrg.x, y - state_.windowOrg.y + state_.viewportOrg.y};
    return {(x - state_.windowOrg.x) * ScaleX() + state_.viewportOrg.x,
            (y - state_.windowOrg.y) * ScaleY() + state_.viewportOrg.y};
}

QPoint CDC::ToDevicePoint(int x, int y) const {
    // One logical unit a pixel (MM_TEXT and equal extents): whole numbers need no rounding.
    if (PlainMapping())
        return {x - state_.windowOrg.x + state_.viewportOrg.x, y - state_.windowOrg.y + state_.viewportOrg.y};
    QPointF p = ToDevice(x, y);
    return {Round(p.x()), Round(p.y())};
}

CDC::LineEnd CDC::ToLineEnd(int x, int y) const {
    if (PlainMapping())
        return {int64_t{x} - state_.windowOrg.x + state_.viewportOrg.x,
                int64_t{y} - state_.windowOrg.y + state_.viewportOrg.y};
    // A scaled end beyond any device is held at a bound far outside it.
    constexpr double far = 1e15;
    const QPointF p = ToDevice(x, y);
    return {std::llround(std::clamp(p.x(), -far, far)), std::llround(std::clamp(p.y(), -far, far))};
}

QRect CDC::ToDeviceRect(int left, int top, int right, int bottom) const {
    QPoint a = ToDevicePoint(left, top);
    QPoint b = ToDevicePoint(right, bottom);
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()) - 1, std::max(a.y(), b.y()) - 1));
}

void CDC::LPtoDP(CPoint* points, int count) const {
    for (int i = 0; points && i < count; ++i) {
        QPoint p = ToDevicePoint(points[i].x, points[i].y);
        points[i] = CPoint(p.x(), p.y());
    }
}

void CDC::LPtoDP(CRect* rect) const {
    if (!rect)
        return;
    LPtoDP(reinterpret_cast<CPoint*>(rect), 2);
}

void CDC::DPtoLP(CPoint* points, int count) const {
    for (int i = 0; points && i < count; ++i) {
        const double x = (points[i].x - state_.viewportOrg.x) / ScaleX() + state_.windowOrg.x;
        const double y = (points[i].y - state_.viewportOrg.y) / ScaleY() + state_.windowOrg.y;
        points[i] = CPoint(Round(x), Round(y));
    }
}

void CDC::DPtoLP(CRect* rect) const {
    if (!rect)
        return;
    DPtoLP(reinterpret_cast<CPoint*>(rect), 2);
}

CPoint CDC::DPtoLPSize(CPoint deviceSize) const {
    return {Round(std::abs(deviceSize.x / ScaleX())), Round(std::abs(deviceSize.y / ScaleY()))};
}

int CDC::GetDeviceCaps(int index) const {
    const QPaintDevice* device = device_;
    auto screenSize = []() {
        QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? screen->geometry().size() : QSize(1024, 768);
    };
    switch (index) {
    case LOGPIXELSX:
        return device ? device->logicalDpiX() : resolution_;
    case LOGPIXELSY:
        return device ? device->logicalDpiY() : resolution_;
    case BITSPIXEL:
        return 32;
    case PLANES:
        return 1;
    default:
        break;
    }
    if (!device || device->devType() == QInternal::Widget) {
        // A window's device is the screen it is on.
        const QSize screen = screenSize();
        switch (index) {
        case HORZRES:
            return screen.width();
        case VERTRES:
            return screen.height();
        case HORZSIZE:
            return screen.width() * 254 / (resolution_ * 10);
        case VERTSIZE:
            return screen.height() * 254 / (resolution_ * 10);
        default:
            return 0;
        }
    }
    switch (index) {
    case HORZRES:
        return device->width();
    case VERTRES:
        return device->height();
    case HORZSIZE:
        return device->widthMM();
    case VERTSIZE:
        return device->heightMM();
    default:
        break;
    }
    if (device->devType() == QInternal::Printer) {
        const auto* printer = static_cast<const QPrinter*>(device);
        const QRectF paper = printer->paperRect(QPrinter::DevicePixel);
        const QRectF page = printer->pageRect(QPrinter::DevicePixel);
        switch (index) {
        case PHYSICALWIDTH:
            return Round(paper.width());
        case PHYSICALHEIGHT:
            return Round(paper.height());
        case PHYSICALOFFSETX:
            return Round(page.left() - paper.left());
        case PHYSICALOFFSETY:
            return Round(page.top() - paper.top());
        default:
            return 0;
        }
    }
    switch (index) {
    case PHYSICALWIDTH:
        return device->width();
    case PHYSICALHEIGHT:
        return device->height();
    default:
        return 0;
    }
}

// ---- clipping

void CDC::ApplyClip() {
    if (!painter_)
        return;
    if (state_.clip)
        painter_->setClipRegion(*state_.clip);
    else
        painter_->setClipping(false);
}

int CDC::IntersectClipRect(int left, int top, int right, int bottom) {
    const QRect rect = ToDeviceRect(left, top, right, bottom);
    state_.clip = state_.clip ? state_.clip->intersected(rect) : QRegion(rect);
    ApplyClip();
    return RegionKind(*state_.clip);
}

int CDC::ExcludeClipRect(int left, int top, int right, int bottom) {
    const QRect rect = ToDeviceRect(left, top, right, bottom);
    QRegion base = state_.clip
                       ? *state_.clip
                       : QRegion(device_ ? QRect(0, 0, device_->width(), device_->height()) : QRect());
    state_.clip = base.subtracted(rect);
    ApplyClip();
    return RegionKind(*state_.clip);
}

int CDC::SelectClipRgn(CRgn* region) {
    if (!region) {
        state_.clip.reset();
        ApplyClip();
        return SIMPLEREGION;
    }
    if (!region->IsCreated())
        return RGN_ERROR;
    // Regions are in device coordinates.
    const CRect& r = region->Rect();
    state_.clip = QRegion(QRect(r.left, r.top, r.Width(), r.Height()));
    ApplyClip();
    return RegionKind(*state_.clip);
}

int CDC::GetClipBox(CRect* rect) const {
    if (!rect)
        return RGN_ERROR;
    QRect box = state_.clip ? state_.clip->boundingRect()
                            : (device_ ? QRect(0, 0, device_->width(), device_->height()) : QRect());
    CPoint corners[2] = {CPoint(box.left(), box.top()),
                         CPoint(box.left() + box.width(), box.top() + box.height())};
    DPtoLP(corners, 2);
    *rect = CRect(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
    return state_.clip ? RegionKind(*state_.clip) : SIMPLEREGION;
}

// ---- lines and shapes

int CDC::DevicePenWidth() const {
    if (state_.pen.lopnStyle == PS_NULL)
        return 0;
    const int logical = state_.pen.lopnWidth.x;
    if (logical <= 1 && state_.mapMode == MM_TEXT)
        return 1;
    if (logical == 0)
        return 1;
    return std::max(1, Round(logical * std::abs(ScaleX())));
}

// One pixel wide lines are set pixel by pixel, so the end point is left out exactly and styled pens
// keep their pattern (and, in opaque mode, paint their gaps in the background colour). A solid
// horizontal or vertical line covers exactly the rectangle of its pixels, so it is filled at once;
// the point buffers are kept between calls because a plot draws thousands of short lines a frame.
//
// Only the part of a line inside the picture is walked: a line whose end lies millions of pixels
// away (a large value at a small scale) costs no more than one across the picture. The walk starts
// where the line enters the picture, with the pixels, the error term and the pen's pattern it would
// have had there, so the pixels drawn are those of the whole line.
void CDC::PixelLine(LineEnd from, LineEnd to) {
    // The walk below is the all-octant Bresenham: a = |dx|, b = |dy|; n = max(a, b) pixels, the end
    // left out. Along the major axis every step moves one pixel; the minor axis has moved
    // floor((2 x minor x i + major) / (2 x major)) pixels after i steps.
    using Wide = __int128;
    const std::vector<int>& pattern = CosmeticPattern(state_.pen.lopnStyle);
    const int64_t a = from.x < to.x ? to.x - from.x : from.x - to.x;
    const int64_t b = from.y < to.y ? to.y - from.y : from.y - to.y;
    if (a == 0 && b == 0)
        return;
    const QRect box = DrawableBox();
    const int64_t boxLeft = box.left(), boxTop = box.top();
    const int64_t boxRight = boxLeft + box.width() - 1, boxBottom = boxTop + box.height() - 1;
    const int64_t startPattern = state_.patternPos;
    const int64_t n = std::max(a, b);
    state_.patternPos = startPattern + n;
    if (box.isEmpty())
        return;
    if (pattern.empty() && (a == 0 || b == 0)) {
        const int64_t left = std::max(std::min(from.x, to.x + (to.x < from.x ? 1 : 0)), boxLeft);
        const int64_t top = std::max(std::min(from.y, to.y + (to.y < from.y ? 1 : 0)), boxTop);
        const int64_t right = std::min(
            std::min(from.x, to.x + (to.x < from.x ? 1 : 0)) + std::max<int64_t>(a, 1) - 1, boxRight);
        const int64_t bottom = std::min(
            std::min(from.y, to.y + (to.y < from.y ? 1 : 0)) + std::max<int64_t>(b, 1) - 1, boxBottom);
        if (left <= right && top <= bottom)
            painter_->fillRect(QRect(static_cast<int>(left), static_cast<int>(top),
                                     static_cast<int>(right - left + 1), static_cast<int>(bottom - top + 1)),
                               ToQColor(state_.pen.lopnColor));
        return;
    }
    const int sx = from.x < to.x ? 1 : -1;
    const int sy = from.y < to.y ? 1 : -1;
    const bool xMajor = a >= b;
    const int64_t major = xMajor ? a : b, minor = xMajor ? b : a;
    // Moves along each axis after i steps.
    const auto minorMoves = [&](int64_t i) {
        return static_cast<int64_t>((Wide{2} * minor * i + major) / (Wide{2} * major));
    };
    const auto xAt = [&](int64_t i) { return from.x + sx * (xMajor ? i : minorMoves(i)); };
    const auto yAt = [&](int64_t i) { return from.y + sy * (xMajor ? minorMoves(i) : i); };
    // The first step whose coordinate (moving in direction s, monotone in i) has reached the bound:
    // lower bound for the steps at or past low, upper for the steps beyond high.
    const auto firstReaching = [&](const auto& at, int s, int64_t bound, bool beyond) {
        int64_t lo = 0, hi = n; // the answer lies in [lo, hi]; hi means none of the steps
        while (lo < hi) {
            const int64_t mid = lo + (hi - lo) / 2;
            const int64_t c = at(mid);
            const bool reached =
                s > 0 ? (beyond ? c > bound : c >= bound) : (beyond ? c < bound : c <= bound);
            if (reached)
                hi = mid;
            else
                lo = mid + 1;
        }
        return lo;
    };
    // Steps inside the box along one axis: from where the coordinate enters to where it leaves.
    const auto inside = [&](const auto& at, int s, int64_t low, int64_t high) {
        return s > 0 ? std::pair{firstReaching(at, s, low, false), firstReaching(at, s, high, true)}
                     : std::pair{firstReaching(at, s, high, false), firstReaching(at, s, low, true)};
    };
    const auto [x0, x1] = inside(xAt, sx, boxLeft, boxRight);
    const auto [y0, y1] = inside(yAt, sy, boxTop, boxBottom);
    const int64_t first = std::max(x0, y0), last = std::min(x1, y1);
    if (first >= last)
        return;

    const bool fillGaps = !pattern.empty() && state_.bkMode == OPAQUE;
    static thread_local std::vector<QPoint> on, off;
    on.clear();
    off.clear();
    int64_t x = xAt(first), y = yAt(first);
    // The error term the walk from the line's start has at this step.
    const Wide moved = Wide{a} - b - Wide{(x - from.x) * sx} * b + Wide{(y - from.y) * sy} * a;
    int64_t err = static_cast<int64_t>(moved);
    int64_t patternPos = startPattern + first;
    for (int64_t i = first; i < last; ++i) {
        if (PatternOn(pattern, patternPos++))
            on.emplace_back(static_cast<int>(x), static_cast<int>(y));
        else if (fillGaps)
            off.emplace_back(static_cast<int>(x), static_cast<int>(y));
        const int64_t e2 = 2 * err;
        if (e2 >= -b)
            err -= b, x += sx;
        if (e2 <= a)
            err += a, y += sy;
    }
    painter_->setPen(QPen(ToQColor(state_.pen.lopnColor), 0));
    painter_->drawPoints(on.data(), static_cast<int>(on.size()));
    if (!off.empty()) {
        painter_->setPen(QPen(ToQColor(state_.bkColour), 0));
        painter_->drawPoints(off.data(), static_cast<int>(off.size()));
    }
}

QRect CDC::DrawableBox() const {
    QRect box = device_ ? QRect(0, 0, device_->width(), device_->height()) : QRect();
    if (state_.clip)
        box &= state_.clip->boundingRect();
    return box;
}

void CDC::DeviceLine(LineEnd from, LineEnd to) {
    const int width = DevicePenWidth();
    if (!painter_ || width == 0 || (from.x == to.x && from.y == to.y))
        return;
    if (width == 1 && IsRaster()) {
        PixelLine(from, to);
        return;
    }
    QPen pen(ToQColor(state_.pen.lopnColor), width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    const QList<qreal> dashes = GeometricPattern(state_.pen.lopnStyle);
    if (!dashes.isEmpty())
        pen.setDashPattern(dashes);
    painter_->setPen(pen);
    painter_->setBrush(Qt::NoBrush);
    // A wide line far beyond the device is cut to a margin around it first, which leaves what shows
    // as it was (a printer's page is large, but not millions of pixels).
    const QRect device = device_ ? QRect(0, 0, device_->width(), device_->height()) : QRect();
    const QRectF near =
        QRectF(device).adjusted(-4.0 * width - 16, -4.0 * width - 16, 4.0 * width + 16, 4.0 * width + 16);
    QPointF p(static_cast<double>(from.x), static_cast<double>(from.y));
    QPointF q(static_cast<double>(to.x), static_cast<double>(to.y));
    if (near.contains(p) && near.contains(q)) {
        painter_->drawLine(QPoint(static_cast<int>(from.x), static_cast<int>(from.y)),
                           QPoint(static_cast<int>(to.x), static_cast<int>(to.y)));
        return;
    }
    if (ClipSegment(p, q, near))
        painter_->drawLine(QLineF(p, q));
}

CPoint CDC::MoveTo(int x, int y) {
    state_.patternPos = 0;
    return std::exchange(state_.position, CPoint(x, y));
}

bool CDC::LineTo(int x, int y) {
    const CPoint from = state_.position;
    state_.position = CPoint(x, y);
    if (!painter_)
        return false;
    DeviceLine(ToLineEnd(from.x, from.y), ToLineEnd(x, y));
    return true;
}

bool CDC::Polyline(const CPoint* points, int count) {
    if (!points || count < 2)
        return false;
    const CPoint saved = state_.position;
    MoveTo(points[0]);
    for (int i = 1; i < count; ++i)
        LineTo(points[i]);
    state_.position = saved;
    return painter_ != nullptr;
}

bool CDC::Polygon(const CPoint* points, int count) {
    if (!painter_ || !points || count < 2)
        return false;
    QPolygon polygon;
    for (int i = 0; i < count; ++i)
        polygon << ToDevicePoint(points[i].x, points[i].y);
    const int width = DevicePenWidth();
    painter_->setPen(width ? QPen(ToQColor(state_.pen.lopnColor), width == 1 ? 0 : width) : QPen(Qt::NoPen));
    painter_->setBrush(state_.brush.lbStyle == BS_NULL ? QBrush(Qt::NoBrush)
                                                       : QBrush(ToQColor(state_.brush.lbColor)));
    painter_->drawPolygon(polygon);
    return true;
}

void CDC::FillDevice(const QRect& rect, COLORREF colour) {
    if (painter_ && rect.isValid())
        painter_->fillRect(rect, ToQColor(colour));
}

// The pen's outline of a device rectangle whose right and bottom edges lie outside it.
void CDC::DeviceFrame(const QRect& r) {
    const int width = DevicePenWidth();
    if (width == 0)
        return;
    if (width == 1 && IsRaster()) {
        state_.patternPos = 0;
        const int64_t right = int64_t{r.left()} + r.width() - 1, bottom = int64_t{r.top()} + r.height() - 1;
        const int64_t left = r.left(), top = r.top();
        PixelLine({left, top}, {right, top});
        PixelLine({right, top}, {right, bottom});
        PixelLine({right, bottom}, {left, bottom});
        PixelLine({left, bottom}, {left, top});
        // A one-pixel rectangle has no edges to walk; its single pixel is still drawn.
        if (r.width() == 1 || r.height() == 1)
            PixelLine({right, bottom}, {right + 1, bottom});
        return;
    }
    QPen pen(ToQColor(state_.pen.lopnColor), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    const QList<qreal> dashes = GeometricPattern(state_.pen.lopnStyle);
    if (!dashes.isEmpty())
        pen.setDashPattern(dashes);
    painter_->setPen(pen);
    painter_->setBrush(Qt::NoBrush);
    if (state_.pen.lopnStyle == PS_INSIDEFRAME)
        painter_->drawRect(r.adjusted(width / 2, width / 2, -(width + 1) / 2, -(width + 1) / 2));
    else
        painter_->drawRect(QRect(r.left(), r.top(), r.width() - 1, r.height() - 1));
}

bool CDC::Rectangle(int left, int top, int right, int bottom) {
    if (!painter_)
        return false;
    const QRect r = ToDeviceRect(left, top, right, bottom);
    if (r.isEmpty())
        return true;
    const bool brush = state_.brush.lbStyle != BS_NULL;
    if (DevicePenWidth() == 0) {
        // Without a pen the filled area is one pixel smaller on the right and bottom.
        if (brush)
            FillDevice(r.adjusted(0, 0, -1, -1), state_.brush.lbColor);
        return true;
    }
    if (brush)
        FillDevice(r, state_.brush.lbColor);
    DeviceFrame(r);
    return true;
}

bool CDC::Ellipse(int left, int top, int right, int bottom) {
    if (!painter_)
        return false;
    const QRect r = ToDeviceRect(left, top, right, bottom);
    if (r.isEmpty())
        return true;
    const int width = DevicePenWidth();
    painter_->setPen(width ? QPen(ToQColor(state_.pen.lopnColor), width == 1 ? 0 : width) : QPen(Qt::NoPen));
    painter_->setBrush(state_.brush.lbStyle == BS_NULL ? QBrush(Qt::NoBrush)
                                                       : QBrush(ToQColor(state_.brush.lbColor)));
    painter_->drawEllipse(QRect(r.left(), r.top(), r.width() - 1, r.height() - 1));
    return true;
}

void CDC::FillRect(const CRect& rect, CBrush* brush) {
    if (!brush || !brush->IsCreated() || brush->Data().lbStyle == BS_NULL)
        return;
    FillDevice(ToDeviceRect(rect.left, rect.top, rect.right, rect.bottom), brush->Data().lbColor);
}

void CDC::FillSolidRect(const CRect& rect, COLORREF colour) {
    SetBkColor(colour);
    FillDevice(ToDeviceRect(rect.left, rect.top, rect.right, rect.bottom), colour);
}

void CDC::FrameRect(const CRect& rect, CBrush* brush) {
    if (!brush || !brush->IsCreated() || brush->Data().lbStyle == BS_NULL)
        return;
    const QRect r = ToDeviceRect(rect.left, rect.top, rect.right, rect.bottom);
    if (r.isEmpty())
        return;
    const COLORREF c = brush->Data().lbColor;
    FillDevice(QRect(r.left(), r.top(), r.width(), 1), c);
    FillDevice(QRect(r.left(), r.bottom(), r.width(), 1), c);
    FillDevice(QRect(r.left(), r.top(), 1, r.height()), c);
    FillDevice(QRect(r.right(), r.top(), 1, r.height()), c);
}

void CDC::Draw3dRect(const CRect& rect, COLORREF topLeft, COLORREF bottomRight) {
    const QRect r = ToDeviceRect(rect.left, rect.top, rect.right, rect.bottom);
    if (r.isEmpty())
        return;
    FillDevice(QRect(r.left(), r.top(), r.width() - 1, 1), topLeft);
    FillDevice(QRect(r.left(), r.top(), 1, r.height() - 1), topLeft);
    FillDevice(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
    FillDevice(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
}

void CDC::InvertRect(const CRect& rect) {
    if (!IsRaster())
        return;
    painter_->save();
    painter_->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter_->fillRect(ToDeviceRect(rect.left, rect.top, rect.right, rect.bottom), Qt::white);
    painter_->restore();
}

void CDC::DrawFocusRect(const CRect& rect) {
    if (!IsRaster())
        return;
    const QRect r = ToDeviceRect(rect.left, rect.top, rect.right, rect.bottom);
    if (r.isEmpty())
        return;
    QList<QPoint> points;
    // Only the dots inside the picture are walked, however large the rectangle.
    const QRect box = DrawableBox();
    auto dot = [&](int x, int y) {
        if ((x + y) % 2 == 0 && box.contains(x, y))
            points.push_back(QPoint(x, y));
    };
    for (int x = std::max(r.left(), box.left()); x <= std::min(r.right(), box.right()); ++x) {
        dot(x, r.top());
        if (r.bottom() != r.top())
            dot(x, r.bottom());
    }
    for (int y = std::max(r.top() + 1, box.top()); y < std::min(r.bottom(), box.bottom() + 1); ++y) {
        dot(r.left(), y);
        if (r.right() != r.left())
            dot(r.right(), y);
    }
    painter_->save();
    painter_->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter_->setPen(QPen(Qt::white, 0));
    painter_->drawPoints(points.data(), static_cast<int>(points.size()));
    painter_->restore();
}

COLORREF CDC::SetPixel(int x, int y, COLORREF colour) {
    if (!painter_)
        return CLR_INVALID;
    const QPoint p = ToDevicePoint(x, y);
    painter_->fillRect(QRect(p, QSize(1, 1)), ToQColor(colour));
    return colour;
}

COLORREF CDC::GetPixel(int x, int y) const {
    if (!image_)
        return CLR_INVALID;
    const QPoint p = ToDevicePoint(x, y);
    if (!image_->rect().contains(p) || (state_.clip && !state_.clip->contains(p)))
        return CLR_INVALID;
    return FromQColor(image_->pixelColor(p));
}

// ---- text

QFont CDC::MakeQFont(const LOGFONT& lf) const {
    return QFontOfLogFont(lf, device_, std::abs(ScaleX()), std::abs(ScaleY()), GetDeviceCaps(LOGPIXELSY));
}

QFont CDC::CurrentQFont() const {
    return MakeQFont(state_.font);
}

CSize CDC::GetTextExtent(const std::string& text) const {
    QFontMetricsF metrics(CurrentQFont(), device_);
    const CPoint size = DPtoLPSize(CPoint(Round(std::ceil(metrics.horizontalAdvance(ToQString(text)))),
                                          Round(std::ceil(metrics.height()))));
    return {size.x, size.y};
}

bool CDC::GetTextMetrics(TEXTMETRIC* tm) const {
    if (!tm)
        return false;
    const QFont font = CurrentQFont();
    QFontMetricsF m(font, device_);
    auto ly = [&](double v) { return DPtoLPSize(CPoint(0, Round(v))).y; };
    auto lx = [&](double v) { return DPtoLPSize(CPoint(Round(v), 0)).x; };
    tm->tmAscent = ly(std::ceil(m.ascent()));
    tm->tmDescent = ly(std::ceil(m.descent()));
    tm->tmHeight = tm->tmAscent + tm->tmDescent;
    tm->tmInternalLeading = std::max(0, tm->tmHeight - ly(font.pixelSize()));
    tm->tmExternalLeading = std::max(0, ly(m.leading()));
    tm->tmAveCharWidth = lx(m.averageCharWidth());
    tm->tmMaxCharWidth = lx(m.maxWidth());
    tm->tmWeight = state_.font.lfWeight == 0 ? FW_NORMAL : state_.font.lfWeight;
    tm->tmItalic = state_.font.lfItalic;
    tm->tmUnderlined = state_.font.lfUnderline;
    tm->tmStruckOut = state_.font.lfStrikeOut;
    tm->tmPitchAndFamily = state_.font.lfPitchAndFamily;
    return true;
}

bool CDC::TextOut(int x, int y, const std::string& text) {
    if (!painter_)
        return false;
    const bool updateCp = (state_.textAlign & TA_UPDATECP) != 0;
    const QPoint origin =
        updateCp ? ToDevicePoint(state_.position.x, state_.position.y) : ToDevicePoint(x, y);
    const QFont font = CurrentQFont();
    QFontMetricsF metrics(font, device_);
    const QString s = ToQString(text);
    const double width = metrics.horizontalAdvance(s);
    const double height = metrics.height();
    double left = 0;
    if ((state_.textAlign & TA_CENTER) == TA_CENTER)
        left = -width / 2;
    else if (state_.textAlign & TA_RIGHT)
        left = -width;
    double top = 0;
    if ((state_.textAlign & TA_BASELINE) == TA_BASELINE)
        top = -metrics.ascent();
    else if (state_.textAlign & TA_BOTTOM)
        top = -height;

    painter_->save();
    painter_->translate(origin);
    if (state_.font.lfEscapement != 0)
        painter_->rotate(-state_.font.lfEscapement / 10.0);
    if (state_.bkMode == OPAQUE)
        painter_->fillRect(QRectF(left, top, width, height), ToQColor(state_.bkColour));
    painter_->setFont(font);
    painter_->setPen(ToQColor(state_.textColour));
    painter_->drawText(QPointF(left, top + metrics.ascent()), s);
    painter_->restore();
    if (labels_ && !s.trimmed().isEmpty() && state_.font.lfEscapement == 0)
        labels_->push_back({text,
                            CRect(origin.x() + static_cast<int>(std::floor(left)),
                                  origin.y() + static_cast<int>(std::floor(top)),
                                  origin.x() + static_cast<int>(std::ceil(left + width)),
                                  origin.y() + static_cast<int>(std::ceil(top + height))),
                            state_.textColour});
    if (updateCp) {
        const int advance = DPtoLPSize(CPoint(Round(width), 0)).x;
        state_.position.x +=
            (state_.textAlign & TA_RIGHT) && (state_.textAlign & TA_CENTER) != TA_CENTER ? -advance : advance;
    }
    return true;
}

std::vector<std::string> CDC::LayoutLines(const std::string& text, unsigned format, int deviceWidth,
                                          const QFontMetrics& metrics) const {
    std::string body = (format & DT_NOPREFIX) ? text : StripMnemonic(text);
    if (format & DT_EXPANDTABS) {
        std::string expanded;
        for (char c : body)
            expanded += c == '\t' ? std::string(8, ' ') : std::string(1, c);
        body = expanded;
    }
    std::vector<std::string> lines;
    if (format & DT_SINGLELINE) {
        std::erase_if(body, [](char c) { return c == '\r' || c == '\n'; });
        lines.push_back(body);
        return lines;
    }
    std::size_t start = 0;
    while (true) {
        std::size_t end = body.find('\n', start);
        std::string paragraph =
            body.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::erase(paragraph, '\r');
        if (!(format & DT_WORDBREAK) || deviceWidth <= 0) {
            lines.push_back(paragraph);
        } else {
            // Greedy word wrap; a word wider than the rectangle stands on its own line.
            std::string line;
            std::size_t pos = 0;
            while (pos <= paragraph.size()) {
                std::size_t space = paragraph.find(' ', pos);
                std::string word =
                    paragraph.substr(pos, space == std::string::npos ? std::string::npos : space - pos);
                std::string candidate = line.empty() ? word : line + " " + word;
                if (!line.empty() && metrics.horizontalAdvance(ToQString(candidate)) > deviceWidth) {
                    lines.push_back(line);
                    line = word;
                } else {
                    line = candidate;
                }
                if (space == std::string::npos)
                    break;
                pos = space + 1;
            }
            lines.push_back(line);
        }
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

int CDC::DrawText(const std::string& text, CRect* rect, unsigned format) {
    if (!rect)
        return 0;
    const QFont font = CurrentQFont();
    QFontMetrics metrics(font, device_);
    const QRect r = ToDeviceRect(rect->left, rect->top, rect->right, rect->bottom);
    const QPoint origin = ToDevicePoint(rect->left, rect->top);
    std::vector<std::string> lines = LayoutLines(text, format, r.width(), metrics);
    const int lineHeight = metrics.height();
    const int total = lineHeight * static_cast<int>(lines.size());
    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const std::string& line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(ToQString(line)));
        CPoint corner(origin.x() + widest, origin.y() + total);
        DPtoLP(&corner, 1);
        rect->right = corner.x;
        rect->bottom = corner.y;
        return DPtoLPSize(CPoint(0, total)).y;
    }
    if (!painter_)
        return 0;
    int y = r.top();
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = r.top() + (r.height() - lineHeight) / 2;
        else if (format & DT_BOTTOM)
            y = r.top() + r.height() - lineHeight;
    }
    painter_->save();
    if (!(format & DT_NOCLIP))
        painter_->setClipRect(r, state_.clip ? Qt::IntersectClip : Qt::ReplaceClip);
    painter_->setFont(font);
    for (const std::string& line : lines) {
        QString s = ToQString(line);
        if (format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS))
            s = metrics.elidedText(s, Qt::ElideRight, r.width());
        const int width = metrics.horizontalAdvance(s);
        int x = r.left();
        if (format & DT_CENTER)
            x = r.left() + (r.width() - width) / 2;
        else if (format & DT_RIGHT)
            x = r.left() + r.width() - width;
        if (state_.bkMode == OPAQUE)
            painter_->fillRect(QRect(x, y, width, lineHeight), ToQColor(state_.bkColour));
        painter_->setPen(ToQColor(state_.textColour));
        painter_->drawText(QPoint(x, y + metrics.ascent()), s);
        if (labels_ && !s.trimmed().isEmpty())
            labels_->push_back(
                {s.toStdString(), CRect(x, y, x + width, y + lineHeight), state_.textColour,
                 (format & DT_NOCLIP) ? CRect() : CRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1)});
        y += lineHeight;
    }
    painter_->restore();
    return DPtoLPSize(CPoint(0, total)).y;
}

// ---- block transfers

bool CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, unsigned rop) {
    if (!painter_)
        return false;
    const QRect target = ToDeviceRect(x, y, x + width, y + height);
    switch (rop) {
    case BLACKNESS:
        FillDevice(target, RGB(0, 0, 0));
        return true;
    case WHITENESS:
        FillDevice(target, RGB(255, 255, 255));
        return true;
    case PATCOPY:
        if (state_.brush.lbStyle != BS_NULL)
            FillDevice(target, state_.brush.lbColor);
        return true;
    case DSTINVERT:
        InvertRect(CRect(x, y, x + width, y + height));
        return true;
    default:
        break;
    }
    return StretchBlt(x, y, width, height, source, xSrc, ySrc, width, height, rop);
}

// The source pixels of a transfer, scaled to the target's device size (null when either is empty).
// A copy, so a transfer within one image reads the pixels as they were.
QImage CDC::SourcePart(int x, int y, int width, int height, CDC* source, const CRect& from,
                       QRect* target) const {
    *target = ToDeviceRect(x, y, x + width, y + height);
    const QRect area = source->ToDeviceRect(from.left, from.top, from.right, from.bottom);
    if (target->isEmpty() || area.isEmpty())
        return {};
    QImage part = source->image_->copy(area);
    if (part.size() != target->size())
        part = part.scaled(target->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return part;
}

bool CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                     int srcHeight, unsigned rop) {
    if (!painter_ || !source || !source->image_)
        return false;
    QRect target;
    QImage part = SourcePart(x, y, width, height, source,
                             CRect(xSrc, ySrc, xSrc + srcWidth, ySrc + srcHeight), &target);
    if (part.isNull())
        return true;
    QPainter::CompositionMode mode = QPainter::CompositionMode_Source;
    switch (rop) {
    case SRCCOPY:
        break;
    case NOTSRCCOPY:
        part.invertPixels();
        break;
    case SRCAND:
        mode = QPainter::RasterOp_SourceAndDestination;
        break;
    case SRCPAINT:
        mode = QPainter::RasterOp_SourceOrDestination;
        break;
    case SRCINVERT:
        mode = QPainter::RasterOp_SourceXorDestination;
        break;
    default:
        return false;
    }
    if (mode != QPainter::CompositionMode_Source && !IsRaster())
        return false;
    PaintImage(target.topLeft(), part, mode);
    return true;
}

void CDC::PaintImage(QPoint at, const QImage& image, QPainter::CompositionMode mode) {
    painter_->save();
    painter_->setCompositionMode(mode);
    painter_->drawImage(at, image);
    painter_->restore();
}

bool CDC::TransparentBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                         int srcHeight, COLORREF transparent) {
    if (!painter_ || !source || !source->image_)
        return false;
    QRect target;
    QImage part = SourcePart(x, y, width, height, source,
                             CRect(xSrc, ySrc, xSrc + srcWidth, ySrc + srcHeight), &target);
    if (part.isNull())
        return true;
    PaintImage(target.topLeft(), ColourKeyed(part, transparent), QPainter::CompositionMode_SourceOver);
    return true;
}

CPaintDC::CPaintDC(CWnd* window) : window_(window) {
    if (window && window->GetWidget())
        Attach(window->GetWidget());
}

CClientDC::CClientDC(CWnd* window) {
    CreateCompatibleDC(nullptr);
    if (window && window->GetWidget())
        SetResolution(window->GetWidget()->logicalDpiX());
}
