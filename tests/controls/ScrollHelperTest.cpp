// The dialog scrolling helper: its arithmetic and a real window's bars and contents.
#include "ControlsTestSupport.h"
#include "controls/DialogScrollHelper.h"
#include "controls/ScrollMath.h"

namespace {

struct StepCase {
    unsigned code;
    ScrollAxis axis;
    int track;
    int step;
};

class ScrollStepTable : public ::testing::TestWithParam<StepCase> {};

TEST_P(ScrollStepTable, ClampsToTheContents) {
    const StepCase& c = GetParam();
    EXPECT_EQ(ScrollStep(c.code, c.axis, c.track), c.step);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScrollStepTable,
                         ::testing::Values(StepCase{1, {200, 500, 0}, 0, 60},     // line down
                                           StepCase{1, {200, 500, 280}, 0, 20},   // clamped at display - page
                                           StepCase{0, {200, 500, 30}, 0, -30},   // clamped at 0
                                           StepCase{3, {200, 500, 0}, 0, 200},    // page down
                                           StepCase{2, {200, 500, 250}, 0, -200}, // page up
                                           StepCase{5, {200, 500, 100}, 250, 150}, // thumb track
                                           StepCase{4, {200, 500, 100}, 900, 200}, // thumb beyond the end
                                           StepCase{6, {200, 500, 100}, 0, 0},     // top: not handled
                                           StepCase{1, {0, 500, 0}, 0, 0}));       // no bar, nothing moves

TEST(ScrollMath, NewPageRescalesPositionOrRemovesTheBar) {
    ScrollAxisUpdate u = UpdateScrollAxis({400, 1000, 100}, 200, 100);
    EXPECT_EQ(u.axis.page, 200);
    EXPECT_EQ(u.axis.position, 50);
    EXPECT_EQ(u.move, 50);
    EXPECT_EQ(u.rangeMax, 999);
    u = UpdateScrollAxis({400, 1000, 600}, 600, 600); // clamped one short of display - page
    EXPECT_EQ(u.axis.position, 399);
    u = UpdateScrollAxis({400, 1000, 300}, 1200, 300);
    EXPECT_EQ(u.axis.page, 0);
    EXPECT_EQ(u.axis.position, 0);
    EXPECT_EQ(u.move, 300);
    EXPECT_EQ(u.rangeMax, 0);
}

class ScrollHelperTest : public ControlsWindowTest {
protected:
    void SetUp() override {
        ControlsWindowTest::SetUp();
        ASSERT_TRUE(
            child.Create(nullptr, "content", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 40), &parent, 1600));
        helper.AttachWnd(&parent);
    }
    CPoint ChildAt() {
        CRect r;
        child.GetWindowRect(&r);
        parent.ScreenToClient(&r);
        return {r.left, r.top};
    }
    CWnd child;
    DialogScrollHelper helper;
};

TEST_F(ScrollHelperTest, FittingContentsShowNoBars) {
    EXPECT_EQ(helper.GetDisplaySize(), CSize(0, 0));
    helper.SetDisplaySize(300, 200);
    EXPECT_EQ(helper.GetPageSize(), CSize(0, 0));
    EXPECT_EQ(helper.GetScrollPos(), CSize(0, 0));
    helper.OnHScroll(SB_LINERIGHT, 0, nullptr);
    EXPECT_EQ(ChildAt(), CPoint(0, 0));
}

TEST_F(ScrollHelperTest, LineRightStopsAtTheOverflow) {
    helper.SetDisplaySize(780, 320); // 300 pixels wider than the window
    ASSERT_EQ(helper.GetPageSize().cx, 480);
    const int expected[] = {60, 120, 180, 240, 300, 300};
    for (int position : expected) {
        helper.OnHScroll(SB_LINERIGHT, 0, nullptr);
        EXPECT_EQ(helper.GetScrollPos().cx, position);
        EXPECT_EQ(parent.GetScrollPos(SB_HORZ), position);
        EXPECT_EQ(ChildAt().x, -position);
    }
    helper.OnHScroll(9, 0, nullptr); // unknown codes change nothing
    EXPECT_EQ(helper.GetScrollPos().cx, 300);
}

TEST_F(ScrollHelperTest, GrowingTheWindowBringsContentsBack) {
    helper.SetDisplaySize(780, 320);
    helper.OnHScroll(SB_PAGERIGHT, 0, nullptr);
    ASSERT_EQ(ChildAt().x, -300);
    parent.MoveWindow(0, 0, 800, 320);
    helper.OnSize(SIZE_RESTORED, 800, 320);
    EXPECT_EQ(helper.GetScrollPos(), CSize(0, 0));
    EXPECT_EQ(ChildAt(), CPoint(0, 0));
    helper.SetDisplaySize(800, 900);
    helper.OnVScroll(SB_PAGEDOWN, 0, nullptr);
    EXPECT_EQ(ChildAt().y, -helper.GetPageSize().cy);
    helper.ScrollToOrigin(false, true);
    EXPECT_EQ(ChildAt(), CPoint(0, 0));
    EXPECT_EQ(parent.GetScrollPos(SB_VERT), 0);
}

} // namespace
