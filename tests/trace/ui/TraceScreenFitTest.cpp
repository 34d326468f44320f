// A low screen gets the smallest trace window; a tall one keeps the size the user gave it.
#include "tests/trace/ui/TraceWindowFixture.h"

#include <gtest/gtest.h>

#include <cmath>

class TraceScreenFit : public TraceWindowFixture {};

TEST_F(TraceScreenFit, OnlyALowScreenShrinksTheWindowToTheSmallestSize) {
    ASSERT_NE(Open(), nullptr);
    struct Case {
        int screenHeight;
        CSize expected;
    };
    for (const Case c : {Case{1080, CSize(1100, 800)}, Case{800, CSize(1100, 800)}, Case{0, CSize(1100, 800)},
                         Case{799, CSize(1000, 650)}, Case{600, CSize(1000, 650)}}) {
        window->MoveWindow(0, 0, 1100, 800);
        window->FitToScreenHeight(c.screenHeight);
        CRect rect;
        window->GetWindowRect(&rect);
        EXPECT_EQ(rect.Size(), c.expected) << c.screenHeight;
        EXPECT_TRUE(std::isfinite(PlotZoom) && PlotZoom > 0.0f) << c.screenHeight;
    }
}
