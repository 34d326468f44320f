// Putting cursors on a curve: the mark search, the choice of the channel a double click means, and
// the window's double click and arrow keys on a real recording.
#include "tests/trace/ui/TraceWindowFixture.h"

#include "trace/CurveMarks.h"

#include <gtest/gtest.h>

TEST(CurveMarks, FindMarkFromTakesTheFirstPointAtOrBeyondAndStaysInThePlot) {
    const std::vector<CurvePoint> list = {{10, 100, 1}, {20, 110, 2}, {30, 200, 3}};
    struct Case {
        const char* name;
        std::vector<CurvePoint> list;
        int position;
        int offset;
        int width;
        std::optional<MarkHit> expected;
    };
    const Case cases[] = {
        {"empty list", {}, 0, 0, 450, std::nullopt},
        {"nothing at or beyond", list, 201, 0, 450, std::nullopt},
        {"exact point", list, 110, 0, 450, MarkHit{110, 20, 2}},
        {"next point after a gap", list, 111, 0, 450, MarkHit{200, 30, 3}},
        {"scroll offset subtracted", list, 105, 100, 450, MarkHit{10, 20, 2}},
        {"beyond the plot: the one before", list, 150, 0, 150, MarkHit{110, 20, 2}},
        {"beyond the plot, nothing before: the edge", list, 0, 0, 50, MarkHit{50, 10, 1}},
    };
    for (const Case& c : cases) {
        const auto hit = FindMarkFrom(c.list, c.position, c.offset, c.width);
        ASSERT_EQ(hit.has_value(), c.expected.has_value()) << c.name;
        if (hit) {
            EXPECT_EQ(hit->x, c.expected->x) << c.name;
            EXPECT_EQ(hit->y, c.expected->y) << c.name;
            EXPECT_EQ(hit->index, c.expected->index) << c.name;
        }
    }
}

TEST(CurveMarks, TheBandsSplitAtTheMidpointsBetweenSortedCurves) {
    const std::vector<std::pair<int, int>> candidates = {{300, 0}, {100, 1}, {200, 2}};
    struct Case {
        int y;
        int channel;
    };
    for (const Case c : {Case{0, 1}, Case{149, 1}, Case{150, 2}, Case{249, 2}, Case{250, 0}, Case{900, 0}})
        EXPECT_EQ(ChooseSnapChannel(candidates, c.y), c.channel) << "y " << c.y;
    EXPECT_EQ(ChooseSnapChannel({{50, 3}, {50, 5}}, 10), 3) << "equal curves keep their order";
    EXPECT_FALSE(ChooseSnapChannel({}, 10));
}

namespace {

void Key(CTraceGraphDlg& window, WPARAM key) {
    MSG msg{};
    msg.hwnd = &window;
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    EXPECT_TRUE(window.PreTranslateMessage(&msg)) << "the arrow key is consumed";
}

} // namespace

class TraceCursorMarks : public TraceWindowWithRecord {
protected:
    // Cursors on, and the picture drawn once so the curves' points are known.
    void ShowCursors() {
        ui::SetChecked(*window, IDC_TG_CURSOR_SHOW, true);
        ASSERT_TRUE(window->CursorsShown());
        window->GetWidget()->grab();
        ASSERT_FALSE(window->CurvePoints(0).empty());
    }
    void DoubleClick(int x, int y) {
        const CPoint o = window->PlotOrigin();
        window->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(o.x + x, o.y + y));
    }
};

TEST_F(TraceCursorMarks, ADoubleClickOnACurvePutsTheCursorsOnItsSamples) {
    ShowCursors();
    const int ax = window->CursorX(0);
    const int bx = window->CursorX(1);
    // The marks as drawn, before the click: the cursors must land on the chosen curve's samples.
    const std::vector<CurvePoint> marks[2] = {window->CurvePoints(0), window->CurvePoints(1)};
    const auto there = FindMarkFrom(marks[1], 225, 0, 450);
    ASSERT_TRUE(there);
    DoubleClick(225, there->y);
    EXPECT_TRUE(window->Snapped());
    const int channel = window->SelectedChannel();
    ASSERT_TRUE(channel == 0 || channel == 1) << channel;
    EXPECT_EQ(FindMarkFrom(marks[channel], 225, 0, 450)->y, there->y) << "the curve under the click";
    const auto a = FindMarkFrom(marks[channel], ax, 0, 450);
    const auto b = FindMarkFrom(marks[channel], bx, 0, 450);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(window->CursorX(0), a->x);
    EXPECT_EQ(window->CursorX(1), b->x);
    EXPECT_EQ(window->CursorY(0), std::clamp(a->y, 5, 445));
    EXPECT_EQ(window->CursorY(1), std::clamp(b->y, 5, 445));
}

TEST_F(TraceCursorMarks, DoubleClicksThatMeanNoCurveChangeNothing) {
    ShowCursors();
    const int x = window->CursorX(0);
    const int y = window->CursorY(0);
    // Channels 3 to 8 draw nothing: their bands lie above the two curves.
    const int topmost = std::min(FindMarkFrom(window->CurvePoints(0), 225, 0, 450)->y,
                                 FindMarkFrom(window->CurvePoints(1), 225, 0, 450)->y);
    ASSERT_GT(topmost, 2);
    DoubleClick(225, 1);
    EXPECT_FALSE(window->Snapped()) << "a band without a channel";
    DoubleClick(225, 500);
    EXPECT_FALSE(window->Snapped()) << "outside the plot";
    ui::Choose(*window, IDC_TG_CURSOR_MODE, 1);
    DoubleClick(225, topmost);
    EXPECT_FALSE(window->Snapped()) << "separate cursor lines";
    EXPECT_EQ(window->CursorX(0), x);
    EXPECT_EQ(window->CursorY(0), y);
    EXPECT_EQ(window->SelectedChannel(), 0);
}

TEST_F(TraceCursorMarks, ArrowKeysMoveTheChosenCursorWithinThePlot) {
    ShowCursors();
    // 102.4 samples per 45-pixel division: less than a pixel per sample, so one pixel per key.
    Key(*window, 39);
    EXPECT_EQ(window->CursorX(0), 46);
    Key(*window, 37);
    Key(*window, 37);
    EXPECT_EQ(window->CursorX(0), 44);
    for (int i = 0; i < 60; ++i)
        Key(*window, 37);
    EXPECT_EQ(window->CursorX(0), 0) << "the left edge holds it";
    EXPECT_EQ(ui::Text(*window, IDC_TG_READOUT_A), "0.10");
    // Snapped onto a curve, the key follows the curve's samples.
    const auto mark = FindMarkFrom(window->CurvePoints(1), 225, 0, 450);
    DoubleClick(225, mark->y);
    ASSERT_TRUE(window->Snapped());
    Key(*window, 39);
    const auto next = FindMarkFrom(window->CurvePoints(1), 1, 0, 450);
    EXPECT_EQ(window->CursorX(0), std::clamp(next->x, 1, 449));
}
