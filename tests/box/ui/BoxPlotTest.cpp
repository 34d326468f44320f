// The box plot probed pixel by pixel in its back buffer at plot scale 1.
#include "trace/AcquisitionStore.h"

#include "box/ui/BoxPlot.h"

#include "framework/core/ResourceModule.h"
#include "framework/ui/DC.h"
#include "framework/ui/Gdi.h"
#include "tests/support/WindowTestHome.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF White = 0xFFFFFF;
constexpr COLORREF Black = 0x000000;
constexpr std::array<COLORREF, 4> Colours = {0x0000FF, 0x00FF00, 0xFF0000, 0xFF00FF};

class BoxPlot : public ::testing::Test {
protected:
    BoxPlot() {
        EnsureQtApplication();
        model.SetRecordTiming(100.0f, 512);
        model.ChannelScaleIndex = {1, 1, 1, 1};
        look.channelColors = Colours;
        look.cursorColors = {0x00FFFF, 0x808000, 0x800080, 0xC0C0C0};
        look.scaleTexts = {"1", "1", "1", "1"};
        look.traceMode = 0;
        for (int k = 1; k <= 4; ++k)
            model.SampleVectors[static_cast<size_t>(k)].assign(512, 0);
    }
    // Draws into a fresh buffer; false when it has not the plot's size.
    bool Draw() {
        const CSize size = BoxPlotBufferSize(model);
        if (size.cx != 650 || size.cy != 550)
            return false;
        dc = std::make_unique<CDC>();
        dc->CreateCompatibleDC(nullptr);
        bitmap = std::make_unique<CBitmap>();
        bitmap->CreateCompatibleBitmap(dc.get(), size.cx, size.cy);
        dc->SelectObject(bitmap.get());
        DrawBoxPlot(*dc, model, look);
        return true;
    }
    COLORREF At(int x, int y) const { return dc->GetPixel(x, y); }
    int CountColour(COLORREF colour, int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int x = x0; x < x1; ++x)
            for (int y = y0; y < y1; ++y)
                n += At(x, y) == colour ? 1 : 0;
        return n;
    }

    CBoxViewModel model;
    BoxPlotLook look;
    std::unique_ptr<CDC> dc;
    std::unique_ptr<CBitmap> bitmap;
};

TEST_F(BoxPlot, EmptyFrameGridAndAxes) {
    ASSERT_TRUE(Draw());
    // The grid: 450 x 450 from (150, 55); dots 7 pixels apart, rows 45 apart.
    EXPECT_EQ(At(157, 55), White);
    EXPECT_EQ(At(158, 55), Black) << "a dot is one pixel";
    EXPECT_EQ(At(164, 55), White);
    EXPECT_EQ(At(157, 100), White);
    EXPECT_EQ(At(195, 62), White) << "column 1";
    EXPECT_EQ(At(600, 300), White) << "the right border";
    EXPECT_EQ(At(300, 505), White) << "the bottom border";
    EXPECT_EQ(At(300, 506), Black);
    // Without a record the four axes are white.
    for (int x : {30, 70, 110, 150})
        EXPECT_EQ(At(x, 200), White) << x;
}

TEST_F(BoxPlot, CurvesAxesAndCursors) {
    model.RecordShown = 1;
    model.ChannelSignal = {47, 2, 21, 0};
    model.ChannelScale = {1, 1, 100, 1};
    model.ChannelTop = {5, 5, 500, 5};
    // Channel 2: a bit that is 1 for the second 64 samples of every 128.
    for (int i = 0; i < 512; ++i)
        model.SampleVectors[2][static_cast<size_t>(i)] = (i / 64) % 2;
    for (int i = 0; i < 512; ++i)
        model.SampleVectors[3][static_cast<size_t>(i)] = 300;
    model.CursorsOn = model.TimeCursorsOn = model.ValueCursorsOn = 1;
    model.CursorAX = 45;
    model.CursorAY = 405;
    ASSERT_TRUE(Draw());
    // The four axes in their channels' colours.
    EXPECT_EQ(At(12, 200), Colours[0]);
    EXPECT_EQ(At(58, 200), Colours[1]);
    EXPECT_EQ(At(105, 200), Colours[2]);
    EXPECT_EQ(At(150, 200), Colours[3]);
    // The digital square wave: zero line at 55 + 5 x 45 = 280, a set bit 45 pixels above it.
    const int x1 = 150 + 90; // sample ~102: bit 1 (45 pixels = 51.2 samples a division)
    EXPECT_EQ(At(x1, 235), Colours[1]);
    const int x0 = 150 + 30; // sample ~34: bit 0
    EXPECT_EQ(At(x0, 280), Colours[1]);
    EXPECT_NE(At(x0, 235), Colours[1]);
    // Channel 3 stays hidden while channel 1 shows signal 47.
    EXPECT_EQ(CountColour(Colours[2], 151, 56, 600, 505), 0);
    // Cursor A's cross: the value stroke across, the time stroke up and down.
    EXPECT_EQ(At(150 + 45 - 8, 55 + 405), look.cursorColors[2]);
    EXPECT_EQ(At(150 + 45, 55 + 405 - 8), look.cursorColors[0]);
}

// A channel of values far beyond its scale (the largest ints at scale 1) is drawn as strokes billions
// of pixels long: the plot still paints at once, each stroke crossing the whole plot and nothing
// showing above or below it.
TEST_F(BoxPlot, HugeValuesAtScaleOneCrossThePlotAndStayInIt) {
    model.RecordShown = 1;
    model.ChannelSignal = {21, 0, 0, 0};
    model.ChannelScale = {1, 1, 1, 1};
    for (int i = 0; i < 512; ++i)
        model.SampleVectors[1][static_cast<size_t>(i)] = (i / 2) % 2 ? 2147483647 : -2147483647 - 1;
    model.FirstSampleValue[0] = 2147483647;
    ASSERT_TRUE(Draw());
    int crossings = 0;
    for (int x = 151; x < 600; ++x)
        crossings += At(x, 60) == Colours[0] && At(x, 280) == Colours[0] && At(x, 500) == Colours[0];
    EXPECT_GT(crossings, 100) << "strokes from the top of the plot to its bottom";
    EXPECT_EQ(CountColour(Colours[0], 151, 0, 600, 55), 0) << "above the plot";
    EXPECT_EQ(CountColour(Colours[0], 151, 507, 600, 550), 0) << "below the plot";
}

TEST(BoxPlotLabels, AxisAndTimeTexts) {
    EXPECT_EQ(BoxAxisLabelText(2500000, "1M"), "2M");
    EXPECT_EQ(BoxAxisLabelText(2500000, "AUTO"), "2500k");
    EXPECT_EQ(BoxAxisLabelText(2500000, "1000"), "2500000");
    EXPECT_EQ(BoxTimeLabelText(10.0f, 1, 55), "0.10");
    EXPECT_EQ(BoxTimeLabelText(10.0f, 2, 55), "1.00");
    EXPECT_EQ(BoxTimeLabelText(10.0f, 2, 54), "10.00");
}

} // namespace
