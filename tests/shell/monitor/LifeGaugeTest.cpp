#include "shell/LifeGauge.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(LifeGauge, LevelColourHeightAndTextByValue) {
    struct Case {
        int value;
        LifeLevel level;
        COLORREF fill;
        COLORREF text;
        int height;
        const char* label;
    };
    const Case cases[] = {
        {10000, LifeLevel::High, RGB(0, 0, 255), RGB(255, 255, 255), 200, "100.00%"},
        {3000, LifeLevel::High, RGB(0, 0, 255), RGB(255, 255, 255), 60, "30.00%"},
        {2999, LifeLevel::Middle, RGB(255, 255, 0), RGB(0, 0, 0), 59, "29.99%"},
        {1000, LifeLevel::Middle, RGB(255, 255, 0), RGB(0, 0, 0), 20, "10.00%"},
        {999, LifeLevel::Low, RGB(255, 0, 0), RGB(160, 160, 160), 19, "9.99%"},
        {700, LifeLevel::Low, RGB(255, 0, 0), RGB(160, 160, 160), 14, "7.00%"},
        // Too low a bar to hold its text: the value stands on the window's face, in black.
        {699, LifeLevel::Low, RGB(255, 0, 0), RGB(0, 0, 0), 13, "6.99%"},
        {49, LifeLevel::Low, RGB(255, 0, 0), RGB(0, 0, 0), 0, "0.49%"},
        {0, LifeLevel::Low, RGB(255, 0, 0), RGB(0, 0, 0), 0, "0.00%"},
        {10001, LifeLevel::NoData, RGB(192, 192, 192), RGB(0, 0, 0), 200, "--"},
        {LifeNoData, LifeLevel::NoData, RGB(192, 192, 192), RGB(0, 0, 0), 200, "--"},
        {-20000, LifeLevel::NoData, RGB(192, 192, 192), RGB(0, 0, 0), 200, "--"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const LifeGaugeDrawing d = LifeGauge(LifeGaugeOrigin(0), c.value);
        EXPECT_EQ(d.level, c.level);
        EXPECT_EQ(d.colours.fill, c.fill);
        EXPECT_EQ(d.height, c.height);
        ASSERT_EQ(d.texts.size(), 3u);
        EXPECT_EQ(d.texts[2].text, c.label);
        EXPECT_EQ(d.texts[2].colour, c.text);
        EXPECT_EQ(d.bar, CRect(100, 300 - c.height, 160, 300));
        // A value too tall for its bar stands wholly above the bar's top face (6 deep), a line of
        // text being 14 high; one that fits stays inside the bar.
        const int middle = d.texts[2].anchor.y;
        if (c.height < 14)
            EXPECT_LE(middle + 7, d.bar.top - 6);
        else
            EXPECT_TRUE(middle - 7 >= d.bar.top && middle + 7 <= d.bar.bottom) << middle;
    }
}

TEST(LifeGauge, FullBarClosesItsTopEdgesAndALowBarShowsTheTube) {
    const LifeGaugeDrawing full = LifeGauge(LifeGaugeOrigin(1), 10000);
    EXPECT_EQ(full.erase, CRect(180, 65, 285, 315));
    // The far edge of the top face and the left depth edge are solid only on a full bar.
    EXPECT_EQ(full.lines[6], (GaugeLine{CPoint(216, 94), CPoint(276, 94), GaugePen::Solid}));
    EXPECT_EQ(full.lines[14], (GaugeLine{CPoint(210, 100), CPoint(216, 94), GaugePen::Solid}));
    EXPECT_EQ(full.texts[2].anchor, CPoint(240, 200));

    const LifeGaugeDrawing empty = LifeGauge(LifeGaugeOrigin(0), 49);
    ASSERT_EQ(empty.lines.size(), 25u);
    EXPECT_EQ(empty.lines[0], (GaugeLine{CPoint(100, 300), CPoint(160, 300), GaugePen::Solid}));
    EXPECT_EQ(empty.lines[1].pen, GaugePen::White);
    EXPECT_EQ(empty.lines[6], (GaugeLine{CPoint(106, 294), CPoint(166, 294), GaugePen::Dotted}));
    EXPECT_EQ(empty.lines[14].pen, GaugePen::Dotted);
    // The tube runs from the scale top down to the bar; its hidden back edge is dotted.
    EXPECT_EQ(empty.lines[19], (GaugeLine{CPoint(100, 100), CPoint(100, 300), GaugePen::Solid}));
    EXPECT_EQ(empty.lines[24], (GaugeLine{CPoint(106, 94), CPoint(106, 294), GaugePen::Dotted}));
    EXPECT_EQ(std::count_if(empty.lines.begin(), empty.lines.end(),
                            [](const GaugeLine& l) { return l.pen == GaugePen::White; }),
              5);
    EXPECT_EQ(empty.texts[0], (GaugeText{"100", CPoint(95, 100), GaugeTextAlign::RightMiddle, RGB(0, 0, 0)}));
    EXPECT_EQ(empty.texts[1], (GaugeText{"0", CPoint(95, 300), GaugeTextAlign::RightMiddle, RGB(0, 0, 0)}));
    EXPECT_EQ(empty.texts[2].anchor, CPoint(130, 286));
}

} // namespace
