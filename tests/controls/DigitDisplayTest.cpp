// The seven-segment display: the text and glyph of each place, its size, and what it paints.
#include "controls/DigitDisplay.h"
#include "ControlsTestSupport.h"
#include "controls/DigitST.h"
#include "framework/core/ResourceModule.h"
#include "resources/ids/controls.h"

#include <QBuffer>

#include <string>
#include <vector>

namespace {

struct DigitCase {
    int value;
    int places;
    bool hex;
    bool zeroFill;
    bool show;
    std::string text;
    std::vector<int> glyphs;
};

class DigitTable : public ::testing::TestWithParam<DigitCase> {};

TEST_P(DigitTable, TextAndGlyphs) {
    const DigitCase& c = GetParam();
    EXPECT_EQ(DigitText(c.value, c.places, c.hex), c.text);
    EXPECT_EQ(DigitGlyphs(c.value, c.places, c.hex, c.zeroFill, c.show), c.glyphs);
}

constexpr int B = kDigitGlyphBlank, M = kDigitGlyphMinus, H = kDigitGlyphH, A = kDigitGlyphA;
INSTANTIATE_TEST_SUITE_P(
    Cases, DigitTable,
    ::testing::Values(DigitCase{7, 2, false, false, true, " 7", {B, 7}},
                      DigitCase{123, 2, false, false, true, "23", {2, 3}}, // leading digits lost
                      DigitCase{-5, 2, false, false, true, "-5", {M, 5}},
                      DigitCase{0x1A, 4, true, false, true, "H 1A", {H, B, 1, A}},
                      DigitCase{0x12345, 4, true, false, true, "H345", {H, 3, 4, 5}},
                      DigitCase{-1, 3, true, false, true, "HFF", {H, A + 5, A + 5}}, // two's complement
                      DigitCase{7, 3, false, true, true, "  7", {0, 0, 7}},
                      DigitCase{-5, 3, false, true, true, " -5", {B, M, 5}}, // no zero fill when negative
                      DigitCase{0xBC, 3, true, true, true, "HBC", {H, A + 1, A + 2}},
                      DigitCase{88, 2, false, false, false, "88", {B, B}})); // digits hidden

TEST(DigitDisplay, ResizeKeepsTheChosenEdges) {
    const CRect r(100, 50, 150, 80);
    EXPECT_EQ(DigitControlRect(r, 5, 27, 43, kDigitKeepLeft | kDigitKeepTop), CRect(100, 50, 241, 99));
    EXPECT_EQ(DigitControlRect(r, 5, 27, 43, 0), CRect(9, 31, 150, 80));
}

// A strip whose cell i is one flat colour, so a probe tells which cell a place shows.
constexpr int kCell = 4;

std::vector<std::uint8_t> StripPng() {
    QImage strip(kCell * kDigitGlyphCount, 6, QImage::Format_RGB32);
    for (int cell = 0; cell < kDigitGlyphCount; ++cell)
        for (int x = 0; x < kCell; ++x)
            for (int y = 0; y < 6; ++y)
                strip.setPixelColor(cell * kCell + x, y, QColor(cell * 12, 100, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    strip.save(&buffer, "PNG");
    return {bytes.begin(), bytes.end()};
}

class DigitSTTest : public ControlsWindowTest {
protected:
    void SetUp() override {
        ControlsWindowTest::SetUp();
        ResourceSet set;
        set.images[900] = ImageResource{900, false, StripPng()};
        module = std::make_unique<ScopedResourceModule>(std::make_shared<CResourceModule>(std::move(set)));
        ASSERT_TRUE(digits.Create("", WS_CHILD | WS_VISIBLE, CRect(20, 20, 60, 40), &parent, 1300));
    }
    void TearDown() override {
        module.reset();
        ControlsWindowTest::TearDown();
    }
    std::vector<int> ShownCells() {
        const QImage image = Grab(digits);
        std::vector<int> cells;
        for (int place = 0; place < digits.GetDigitCount(); ++place) {
            const QColor c = image.pixelColor(kDigitMargin + place * kCell + 1, kDigitMargin + 2);
            cells.push_back(c.green() == 100 && c.blue() == 200 ? c.red() / 12 : -1);
        }
        return cells;
    }
    std::unique_ptr<ScopedResourceModule> module;
    CDigitST digits;
};

TEST_F(DigitSTTest, PaintsTheGlyphOfEachPlace) {
    ASSERT_TRUE(digits.SetBitmap(900, 4));
    EXPECT_EQ(digits.GetGlyphSize(), CSize(kCell, 6));
    CRect rect;
    digits.GetClientRect(&rect);
    EXPECT_EQ(rect.Width(), 4 * kCell + 6);
    EXPECT_EQ(rect.Height(), 6 + 6);
    digits.m_bHex = true;
    digits.SetValue(0x1A, TRUE);
    EXPECT_EQ(ShownCells(), (std::vector<int>{H, B, 1, A}));
    digits.m_bHex = false;
    digits.SetValue(-42, TRUE);
    EXPECT_EQ(ShownCells(), (std::vector<int>{B, M, 4, 2}));
    digits.SetShowDigits(FALSE);
    EXPECT_EQ(ShownCells(), (std::vector<int>{B, B, B, B}));
}

TEST_F(DigitSTTest, CountOutsideOneToTenIsRefused) {
    ASSERT_TRUE(digits.SetBitmap(900, 3));
    digits.SetDigitCount(0, TRUE);
    EXPECT_EQ(digits.GetDigitCount(), 3);
    digits.SetDigitCount(11, TRUE);
    EXPECT_EQ(digits.GetDigitCount(), 3);
    digits.SetDigitCount(10, TRUE);
    EXPECT_EQ(digits.GetDigitCount(), 10);
}

TEST_F(DigitSTTest, WithoutAStripNothingIsPainted) {
    EXPECT_FALSE(digits.SetBitmap(901, 3));
    EXPECT_FALSE(digits.HasStrip());
    const QImage image = Grab(digits);
    const QColor probe = image.pixelColor(kDigitMargin + 1, kDigitMargin + 1);
    EXPECT_FALSE(probe.green() == 100 && probe.blue() == 200);
}

TEST(DigitStrip, ResourceLibraryHoldsNineteenGlyphsOf27By43) {
    EnsureQtApplication();
    std::string error;
    auto module = CResourceModule::LoadLibrary(kResourceLibraryName, &error);
    ASSERT_TRUE(module) << error;
    ScopedResourceModule scope(module);
    CBitmap strip;
    ASSERT_TRUE(strip.LoadBitmap(IDB_DIGIT_STRIP));
    EXPECT_EQ(strip.GetBitmapDimension(), CSize(513, 43));
    // Cell 8 lights every segment; the blank cell lights none.
    const QImage& image = strip.Image();
    const int middleBar = 21; // the centre segment's row
    EXPECT_GT(image.pixelColor(8 * 27 + 13, middleBar).red(), 200);
    EXPECT_LT(image.pixelColor(kDigitGlyphBlank * 27 + 13, middleBar).red(), 100);
}

} // namespace
