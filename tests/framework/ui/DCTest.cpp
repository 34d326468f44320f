#include "framework/ui/DC.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/App.h"
#include "framework/ui/Clipboard.h"
#include "framework/ui/Cursor.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include <cstring>
#include <memory>

namespace {

// Fonts and screens need an application object; one for the whole test binary.
void EnsureApp() {
    EnsureQtApplication();
}

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

class DCTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApp();
        image = QImage(40, 30, QImage::Format_RGB32);
        image.fill(Qt::white);
        dc = std::make_unique<CDC>(&image);
    }
    // Ends the painting so the image holds everything drawn.
    COLORREF At(int x, int y) {
        dc.reset();
        QColor c = image.pixelColor(x, y);
        return RGB(c.red(), c.green(), c.blue());
    }
    QImage image;
    std::unique_ptr<CDC> dc;
};

TEST_F(DCTest, LineToLeavesOutItsEndPoint) {
    struct Case {
        CPoint from, to, lastDrawn;
    };
    const Case cases[] = {
        {{2, 5}, {12, 5}, {11, 5}},   // right
        {{12, 7}, {2, 7}, {3, 7}},    // left
        {{20, 2}, {20, 10}, {20, 9}}, // down
        {{25, 2}, {31, 8}, {30, 7}},  // diagonal
    };
    CPen red(PS_SOLID, 1, kRed);
    dc->SelectObject(&red);
    for (const Case& c : cases) {
        dc->MoveTo(c.from);
        dc->LineTo(c.to);
        EXPECT_EQ(dc->GetCurrentPosition(), c.to);
    }
    dc.reset();
    for (const Case& c : cases) {
        EXPECT_EQ(image.pixelColor(c.from.x, c.from.y), QColor(Qt::red));
        EXPECT_EQ(image.pixelColor(c.lastDrawn.x, c.lastDrawn.y), QColor(Qt::red));
        EXPECT_EQ(image.pixelColor(c.to.x, c.to.y), QColor(Qt::white)) << c.to.x << "," << c.to.y;
    }
}

TEST_F(DCTest, RectangleLeavesOutRightAndBottomAndHonoursHollowAndNullObjects) {
    CPen red(PS_SOLID, 1, kRed);
    CBrush blue(kBlue);
    dc->SelectObject(&red);
    dc->SelectObject(&blue);
    dc->Rectangle(2, 2, 8, 6);
    dc->SelectStockObject(NULL_BRUSH);
    dc->Rectangle(12, 2, 18, 6);
    dc->SelectStockObject(NULL_PEN);
    dc->SelectObject(&blue);
    dc->Rectangle(22, 2, 28, 6);
    dc.reset();
    auto px = [&](int x, int y) { return image.pixelColor(x, y); };
    // Outline on the first and last pixel inside, brush within, nothing at right/bottom.
    EXPECT_EQ(px(2, 2), QColor(Qt::red));
    EXPECT_EQ(px(7, 5), QColor(Qt::red));
    EXPECT_EQ(px(7, 3), QColor(Qt::red));
    EXPECT_EQ(px(4, 3), QColor(Qt::blue));
    EXPECT_EQ(px(8, 3), QColor(Qt::white));
    EXPECT_EQ(px(4, 6), QColor(Qt::white));
    // Hollow brush: outline only.
    EXPECT_EQ(px(12, 2), QColor(Qt::red));
    EXPECT_EQ(px(14, 3), QColor(Qt::white));
    // Null pen: the fill is one pixel smaller on the right and bottom.
    EXPECT_EQ(px(22, 2), QColor(Qt::blue));
    EXPECT_EQ(px(26, 4), QColor(Qt::blue));
    EXPECT_EQ(px(27, 4), QColor(Qt::white));
    EXPECT_EQ(px(26, 5), QColor(Qt::white));
}

TEST_F(DCTest, FillAndFrameRectCoverExactlyTheRectangle) {
    CBrush green(kGreen), blue(kBlue);
    dc->FillRect(CRect(1, 1, 5, 4), &green);
    dc->FrameRect(CRect(10, 10, 15, 14), &blue);
    dc.reset();
    EXPECT_EQ(image.pixelColor(4, 3), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(5, 3), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(4, 4), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(14, 13), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(12, 12), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(15, 12), QColor(Qt::white));
}

TEST_F(DCTest, DottedPenFillsItsGapsOnlyInOpaqueMode) {
    dc.reset();
    image.fill(QColor(128, 128, 128));
    dc = std::make_unique<CDC>(&image);
    CPen dot(PS_DOT, 1, kBlack);
    dc->SelectObject(&dot);
    dc->SetBkColor(kWhite);
    dc->MoveTo(0, 2);
    dc->LineTo(12, 2);
    dc->SetBkMode(TRANSPARENT);
    dc->MoveTo(0, 4);
    dc->LineTo(12, 4);
    dc.reset();
    int blackOpaque = 0, whiteOpaque = 0, blackTransparent = 0, greyTransparent = 0;
    for (int x = 0; x < 12; ++x) {
        blackOpaque += image.pixelColor(x, 2) == QColor(Qt::black);
        whiteOpaque += image.pixelColor(x, 2) == QColor(Qt::white);
        blackTransparent += image.pixelColor(x, 4) == QColor(Qt::black);
        greyTransparent += image.pixelColor(x, 4) == QColor(128, 128, 128);
    }
    EXPECT_GT(blackOpaque, 0);
    EXPECT_EQ(blackOpaque + whiteOpaque, 12);
    EXPECT_EQ(blackTransparent, blackOpaque);
    EXPECT_EQ(blackTransparent + greyTransparent, 12);
}

// A line that runs out of the picture is cut to it before it is walked: what shows must be exactly
// what the whole line draws there (pixels, the end left out, a dotted pen's phase and its filled gaps).
// Each line is drawn once into the small picture and once into a large one that holds it whole.
TEST(DCLines, ALineCutToThePictureDrawsTheSamePixelsAsTheWholeLine) {
    EnsureApp();
    constexpr int kSmallW = 40, kSmallH = 30, kShift = 400;
    struct Case {
        int pen;
        bool clip; // a clip rectangle inside the small picture as well
    };
    uint32_t seed = 12345;
    const auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<uint32_t>(range)) - range / 2;
    };
    for (const Case c : {Case{PS_SOLID, false}, Case{PS_DOT, false}, Case{PS_DASHDOT, true}}) {
        for (int line = 0; line < 200; ++line) {
            // Ends anywhere within 350 pixels of the picture, some of them on an axis.
            CPoint from(next(700) + kSmallW / 2, next(700) + kSmallH / 2);
            CPoint to(next(700) + kSmallW / 2, next(700) + kSmallH / 2);
            if (line % 10 == 0)
                to.y = from.y;
            if (line % 10 == 1)
                to.x = from.x;
            QImage small(kSmallW, kSmallH, QImage::Format_RGB32);
            QImage large(kSmallW + 2 * kShift, kSmallH + 2 * kShift, QImage::Format_RGB32);
            small.fill(QColor(128, 128, 128));
            large.fill(QColor(128, 128, 128));
            for (QImage* image : {&small, &large}) {
                CDC dc(image);
                const int shift = image == &large ? kShift : 0;
                dc.SetViewportOrg(shift, shift);
                if (c.clip)
                    dc.IntersectClipRect(5, 3, 33, 27);
                CPen pen(c.pen, 1, kRed);
                dc.SelectObject(&pen);
                dc.SetBkColor(kBlue);
                dc.MoveTo(from);
                dc.LineTo(to);
            }
            for (int y = 0; y < kSmallH; ++y)
                for (int x = 0; x < kSmallW; ++x) {
                    const bool inClip = !c.clip || (x >= 5 && x < 33 && y >= 3 && y < 27);
                    const QColor expected =
                        inClip ? large.pixelColor(x + kShift, y + kShift) : QColor(128, 128, 128);
                    ASSERT_EQ(small.pixelColor(x, y), expected)
                        << "pen " << c.pen << " line " << from.x << "," << from.y << " -> " << to.x << ","
                        << to.y << " at " << x << "," << y;
                }
        }
    }
}

// A value far off the scale makes a line of a billion pixels: only its part in the picture costs
// anything, so it paints at once (walked pixel by pixel it took minutes and gigabytes), and ends
// beyond the int range after the origin shift keep their direction.
TEST_F(DCTest, ALineOfABillionPixelsPaintsAtOnce) {
    CPen red(PS_SOLID, 1, kRed);
    CPen dot(PS_DOT, 1, kBlue);
    CPen wide(PS_SOLID, 3, kGreen);
    dc->SelectObject(&red);
    dc->MoveTo(0, 0);
    dc->LineTo(1000000000, 1000000000); // the diagonal
    dc->MoveTo(1, 29);
    dc->LineTo(1, -1000000000); // a column, upwards
    dc->SelectObject(&dot);
    dc->SetBkColor(kWhite);
    dc->MoveTo(-1000000000, 20);
    dc->LineTo(1000000000, 20); // through the picture, from far left to far right
    dc->SelectObject(&wide);
    dc->MoveTo(30, 0);
    dc->LineTo(30, 2000000000);
    dc->SetViewportOrg(-10, 0);
    dc->SelectObject(&red);
    dc->MoveTo(35, 10);
    dc->LineTo(2147483647, 10); // beyond int once the origin moves it; still a row to the right
    dc->SetViewportOrg(0, 0);
    dc->DrawFocusRect(CRect(5, 25, 1000000000, 1000000000)); // only its corner shows
    dc.reset();
    for (int i = 2; i < 20; ++i)
        EXPECT_EQ(image.pixelColor(i, i), QColor(Qt::red)) << i;
    for (int y = 0; y < 30; ++y) {
        if (y == 20)
            continue; // where the dotted row crosses it
        EXPECT_EQ(image.pixelColor(1, y), QColor(Qt::red)) << y;
    }
    int dots = 0, gaps = 0;
    for (int x = 2; x < 28; ++x) {
        dots += image.pixelColor(x, 20) == QColor(Qt::blue);
        gaps += image.pixelColor(x, 20) == QColor(Qt::white);
    }
    EXPECT_GT(dots, 8);
    EXPECT_GT(gaps, 8);
    EXPECT_EQ(image.pixelColor(30, 25), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(26, 10), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(24, 10), QColor(Qt::white)) << "the row starts at 35 - 10";
    EXPECT_EQ(image.pixelColor(7, 25), QColor(Qt::black)) << "a focus dot on white";
    EXPECT_EQ(image.pixelColor(5, 27), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(6, 25), QColor(Qt::white)) << "every other pixel";
}

TEST_F(DCTest, SelectObjectReturnsThePreviousObjectAndRestoreDcUndoesChanges) {
    CPen a(PS_SOLID, 1, kRed), b(PS_SOLID, 2, kBlue);
    CPen* stock = dc->SelectObject(&a);
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(dc->SelectObject(&b), &a);
    EXPECT_EQ(dc->SelectObject(stock), &b);

    CPen uncreated;
    EXPECT_EQ(dc->SelectObject(&uncreated), nullptr) << "an object never created cannot be selected";

    const int level = dc->SaveDC();
    dc->SelectObject(&a);
    dc->SetTextColor(kRed);
    dc->SetMapMode(MM_LOENGLISH);
    dc->SaveDC();
    dc->SetTextColor(kBlue);
    EXPECT_TRUE(dc->RestoreDC(level));
    EXPECT_EQ(dc->GetCurrentPen(), stock);
    EXPECT_EQ(dc->GetTextColor(), kBlack);
    EXPECT_EQ(dc->GetMapMode(), MM_TEXT);
    EXPECT_FALSE(dc->RestoreDC(-1)) << "nothing is left to restore";
}

TEST_F(DCTest, LowEnglishMappingIsHundredthsOfAnInchWithYUpward) {
    QImage page(300, 300, QImage::Format_RGB32);
    page.fill(Qt::white);
    page.setDotsPerMeterX(7874); // 200 dpi
    page.setDotsPerMeterY(7874);
    CDC printer(&page);
    ASSERT_EQ(printer.GetDeviceCaps(LOGPIXELSX), 200);
    printer.SetMapMode(MM_LOENGLISH);
    CPoint p(100, -50);
    printer.LPtoDP(&p);
    EXPECT_EQ(p, CPoint(200, 100));
    CBrush red(kRed);
    printer.FillRect(CRect(10, -10, 20, -20), &red); // 0.1 inch square, 0.1 inch from the corner
    LOGFONT lf{};
    lf.lfHeight = -14;
    std::strcpy(lf.lfFaceName, "Courier New");
    CFont font;
    font.CreateFontIndirect(&lf);
    printer.SelectObject(&font);
    EXPECT_EQ(printer.CurrentQFont().pixelSize(), 28) << "14 hundredths of an inch at 200 dpi";
    EXPECT_NEAR(printer.GetTextExtent("Code").cy, 16, 3) << "extents come back in logical units";
    printer.Detach();
    EXPECT_EQ(page.pixelColor(20, 20), QColor(Qt::red));
    EXPECT_EQ(page.pixelColor(39, 39), QColor(Qt::red));
    EXPECT_EQ(page.pixelColor(40, 30), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(19, 25), QColor(Qt::white));
}

TEST_F(DCTest, MemoryDcBlitsAndTransparentBlitLeavesTheKeyColourOut) {
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(dc.get()));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(dc.get(), 4, 4));
    CBitmap* old = memory.SelectObject(&bitmap);
    ASSERT_NE(old, nullptr);
    CBrush magenta(RGB(255, 0, 255)), blue(kBlue);
    memory.FillRect(CRect(0, 0, 4, 4), &magenta);
    memory.FillRect(CRect(1, 1, 3, 3), &blue);
    EXPECT_EQ(memory.GetPixel(0, 0), RGB(255, 0, 255));

    EXPECT_TRUE(dc->BitBlt(0, 0, 4, 4, &memory, 0, 0, SRCCOPY));
    EXPECT_TRUE(dc->TransparentBlt(10, 0, 8, 8, &memory, 0, 0, 4, 4, RGB(255, 0, 255)));
    EXPECT_TRUE(dc->StretchBlt(20, 0, 8, 8, &memory, 0, 0, 4, 4, SRCCOPY));
    memory.SelectObject(old);
    EXPECT_FALSE(dc->BitBlt(0, 0, 4, 4, &memory, 0, 0, SRCCOPY)) << "no bitmap selected any more";
    dc.reset();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(255, 0, 255));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::blue));
    // Stretched twice: the key colour shows the white background, the blue square grows to 4x4.
    EXPECT_EQ(image.pixelColor(10, 0), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(11, 1), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(12, 2), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(15, 5), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(16, 6), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(20, 0), QColor(255, 0, 255));
    EXPECT_EQ(image.pixelColor(25, 5), QColor(Qt::blue));
}

TEST_F(DCTest, ABitmapDestroyedWhileSelectedLeavesItsDcSafely) {
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    {
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(nullptr, 8, 8);
        memory.SelectObject(&bitmap);
        EXPECT_TRUE(memory.IsValid());
    }
    EXPECT_FALSE(memory.IsValid());
    EXPECT_FALSE(memory.LineTo(5, 5));
}

TEST_F(DCTest, DrawTextAlignsMeasuresAndPaintsInTheTextColour) {
    QImage canvas(200, 40, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    CDC text(&canvas);
    LOGFONT lf{};
    lf.lfHeight = -20;
    lf.lfWeight = FW_BOLD;
    std::strcpy(lf.lfFaceName, "Arial");
    CFont font;
    font.CreateFontIndirect(&lf);
    text.SelectObject(&font);
    text.SetTextColor(kRed);
    text.SetBkMode(TRANSPARENT);

    CRect measure(0, 0, 0, 0);
    const int height = text.DrawText("MMMM", &measure, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_GT(measure.Width(), 20);
    EXPECT_EQ(measure.Height(), height);
    EXPECT_EQ(measure.Width(), text.GetTextExtent("MMMM").cx);

    CRect box(0, 0, 200, 40);
    text.DrawText("MMMM", &box, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    text.Detach();
    // The red ink is centred: its columns lie within one pixel of symmetric about x = 100.
    int first = -1, last = -1, rows = 0;
    for (int x = 0; x < canvas.width(); ++x)
        for (int y = 0; y < canvas.height(); ++y)
            if (canvas.pixelColor(x, y) == QColor(Qt::red)) {
                if (first < 0)
                    first = x;
                last = x;
            }
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (canvas.pixelColor(x, y) == QColor(Qt::red)) {
                ++rows;
                break;
            }
    ASSERT_GE(first, 0) << "text drawn in the text colour";
    EXPECT_NEAR((first + last) / 2.0, 100, 3);
    EXPECT_GT(rows, 8);
}

TEST_F(DCTest, OpaqueTextFillsItsBoxWithTheBackgroundColour) {
    dc->SetBkColor(kGreen);
    dc->SetTextAlign(TA_RIGHT | TA_BOTTOM);
    dc->TextOut(35, 25, "i");
    dc.reset();
    EXPECT_EQ(image.pixelColor(34, 24), QColor(Qt::green)) << "box ends left of and above the point";
    EXPECT_EQ(image.pixelColor(35, 24), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(34, 25), QColor(Qt::white));
}

TEST(FontTest, LogFontFieldsReachTheDrawingFont) {
    EnsureApp();
    QImage canvas(10, 10, QImage::Format_RGB32);
    CDC dc(&canvas);
    LOGFONT lf{};
    lf.lfHeight = -18;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 1;
    lf.lfUnderline = 1;
    lf.lfStrikeOut = 1;
    std::strcpy(lf.lfFaceName, "Times New Roman");
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    dc.SelectObject(&font);
    const QFont q = dc.CurrentQFont();
    EXPECT_EQ(q.pixelSize(), 18);
    EXPECT_EQ(q.weight(), QFont::Bold);
    EXPECT_TRUE(q.italic());
    EXPECT_TRUE(q.underline());
    EXPECT_TRUE(q.strikeOut());
    TEXTMETRIC tm;
    ASSERT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmWeight, FW_BOLD);
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);

    // A positive height is the cell height; a width narrows the characters.
    lf = {};
    lf.lfHeight = 24;
    std::strcpy(lf.lfFaceName, "Arial");
    CFont cell;
    cell.CreateFontIndirect(&lf);
    dc.SelectObject(&cell);
    dc.GetTextMetrics(&tm);
    EXPECT_NEAR(tm.tmHeight, 24, 1);
    const int wide = dc.GetTextExtent("abcdef").cx;
    lf.lfWidth = 3;
    CFont narrow;
    narrow.CreateFontIndirect(&lf);
    dc.SelectObject(&narrow);
    EXPECT_LT(dc.GetTextExtent("abcdef").cx, wide);
}

TEST_F(DCTest, FocusRectInvertsSoDrawingItTwiceRemovesIt) {
    dc->DrawFocusRect(CRect(2, 2, 12, 10));
    dc.reset();
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(3, 2), QColor(Qt::white)) << "dotted";
    dc = std::make_unique<CDC>(&image);
    dc->DrawFocusRect(CRect(2, 2, 12, 10));
    dc.reset();
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
}

TEST_F(DCTest, ClippingAndPixels) {
    dc->IntersectClipRect(0, 0, 10, 10);
    CBrush red(kRed);
    dc->FillRect(CRect(5, 5, 20, 20), &red);
    CRect box;
    dc->GetClipBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 10, 10));
    dc->SelectClipRgn(nullptr);
    EXPECT_EQ(dc->SetPixel(30, 20, kBlue), kBlue);
    EXPECT_EQ(dc->GetPixel(30, 20), kBlue);
    EXPECT_EQ(dc->GetPixel(100, 100), CLR_INVALID);
    dc.reset();
    EXPECT_EQ(image.pixelColor(9, 9), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(10, 9), QColor(Qt::white));
}

TEST(ResourceBitmapTest, LoadsFromTheModuleCopiesToTheClipboardAndRefusesJunk) {
    EnsureApp();
    QImage picture(6, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    ResourceSet set;
    set.images[133] = ImageResource{133, false, std::vector<std::uint8_t>(png.begin(), png.end())};
    set.images[134] = ImageResource{134, false, {'n', 'o', 't', ' ', 'p', 'n', 'g'}};
    ScopedResourceModule module(std::make_shared<CResourceModule>(std::move(set)));

    CBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBitmap(133));
    BITMAP info;
    ASSERT_TRUE(bitmap.GetBitmap(&info));
    EXPECT_EQ(info.bmWidth, 6);
    EXPECT_EQ(info.bmHeight, 4);
    CBitmap junk, missing;
    EXPECT_FALSE(junk.LoadBitmap(134));
    EXPECT_FALSE(missing.LoadBitmap(999));
    EXPECT_FALSE(junk.IsCreated());

    EXPECT_FALSE(SetClipboardData(CF_BITMAP, &bitmap)) << "only while the clipboard is open";
    ASSERT_TRUE(OpenClipboard());
    EXPECT_FALSE(OpenClipboard()) << "already open";
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_TRUE(SetClipboardData(CF_BITMAP, &bitmap));
    EXPECT_TRUE(CloseClipboard());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    const QImage copied = GetClipboardImage();
    ASSERT_EQ(copied.size(), QSize(6, 4));
    EXPECT_EQ(copied.pixelColor(2, 2), QColor(Qt::blue));
}

TEST(CursorTest, StandardCursorsAndTheCurrentOne) {
    EnsureApp();
    HCURSOR cross = LoadCursor(nullptr, IDC_CROSS);
    ASSERT_NE(cross, nullptr);
    EXPECT_EQ(LoadStandardCursor(IDC_CROSS), cross);
    EXPECT_EQ(LoadCursor(nullptr, 12345), nullptr);
    HCURSOR before = SetCursor(cross);
    EXPECT_EQ(GetCursor(), cross);
    EXPECT_EQ(SetCursor(LoadStandardCursor(IDC_SIZEWE)), cross);
    SetCursor(before);
}

TEST(SysColorTest, FixedPaletteAndUnknownIndex) {
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHTTEXT), RGB(255, 255, 255));
    EXPECT_NE(GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(GetSysColor(999), 0u);
    EXPECT_EQ(FromQColor(ToQColor(RGB(1, 2, 3))), RGB(1, 2, 3));
}

} // namespace

namespace {

// A recording DC lists each text it draws with the box it covers: TextOut by its alignment and the
// viewport origin, DrawText per line where the line lands; the ink lies inside the box.
TEST(DCLabels, TextsAreListedWhereTheyAreDrawn) {
    EnsureApp();
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    PaintedLabels labels;
    {
        CDC dc(&image);
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(5, 5, "not listed");
        dc.RecordLabels(&labels);
        const CSize size = dc.GetTextExtent("1000Hz");
        dc.TextOut(10, 20, "1000Hz");
        dc.SetTextAlign(TA_RIGHT | TA_BOTTOM);
        dc.TextOut(190, 90, "0.00%");
        dc.SetTextAlign(TA_LEFT | TA_TOP);
        dc.SetViewportOrg(50, 0);
        dc.TextOut(0, 40, " ");
        CRect box(0, 50, 100, 90);
        dc.DrawText("Function\nNULL", &box, DT_CENTER);
        ASSERT_EQ(labels.size(), 4u);
        EXPECT_EQ(labels[0].text, "1000Hz");
        EXPECT_EQ(labels[0].rect, CRect(10, 20, 10 + size.cx, 20 + size.cy));
        EXPECT_EQ(labels[1].rect.right, 190);
        EXPECT_EQ(labels[1].rect.bottom, 90);
        EXPECT_EQ(labels[2].text, "Function");
        EXPECT_EQ(labels[3].text, "NULL");
        EXPECT_EQ(labels[2].rect.bottom, labels[3].rect.top) << "one line under the other";
        EXPECT_GT(labels[3].rect.left, 50) << "centred in the box moved by the viewport origin";
        EXPECT_LT(labels[3].rect.right, 150);
        EXPECT_TRUE(labels[0].clip.IsRectEmpty()) << "TextOut cuts nothing";
        EXPECT_EQ(labels[3].clip, CRect(50, 50, 150, 90)) << "DrawText cuts to its box";
        // A box lower than the line cuts the text it centres.
        CRect low(0, 10, 100, 16);
        dc.DrawText("Load", &low, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        ASSERT_EQ(labels.size(), 5u);
        EXPECT_EQ(LabelLayoutFaults({labels[4]}, CRect(0, 0, 200, 100)).size(), 1u);
    }
    // Every dark pixel lies in one of the listed boxes (or the unlisted first text).
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) > 128 || (y < 20 && x < 100))
                continue;
            bool inside = false;
            for (const PaintedLabel& label : labels)
                inside |= x >= label.rect.left && x < label.rect.right && y >= label.rect.top &&
                          y < label.rect.bottom;
            EXPECT_TRUE(inside) << x << "," << y;
        }
}

} // namespace
