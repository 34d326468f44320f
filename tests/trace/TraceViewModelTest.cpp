// The trace plot's view model and the plot rules both graph windows share, without a window.
#include "trace/TraceViewModel.h"
#include "trace/GraphPlotRules.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ctime>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <vector>

TEST(GraphPlotRules, TimeBaseListRunsFromATenthOfTheRecordDownToOneStep) {
    EXPECT_EQ(TimeBaseItems(10.0f, 0.3f, 1), (std::vector<std::string>{"1.00", "0.70", "0.40", "0.30"}));
    EXPECT_EQ(TimeBaseItems(1000.0f, 10.0f, 100),
              (std::vector<std::string>{"1.00", "0.90", "0.80", "0.70", "0.60", "0.50", "0.40", "0.30",
                                        "0.20", "0.10"}));
    EXPECT_EQ(TimeBaseItems(10.0f, 0.0f, 1), (std::vector<std::string>{"1.00"})) << "no step to walk by";
    EXPECT_EQ(TimeBaseItems(1.0e6f, 1.0e-3f, 1).size(), 4097u) << "a tiny step stays bounded";
    EXPECT_FLOAT_EQ(TimePerDivisionAt(10.0f, 0.3f, 2), 0.4f);
    EXPECT_FLOAT_EQ(TimePerDivisionAt(10.0f, 0.3f, 50), 0.3f) << "never under one step";
}

TEST(GraphPlotRules, ScrollLimitAndSteps) {
    EXPECT_EQ(TimeScrollLimit(105.0f, 10.0f, false), 0) << "the trace window leaves a part division out";
    EXPECT_EQ(TimeScrollLimit(105.0f, 10.0f, true), 1) << "the box viewer counts it";
    EXPECT_EQ(TimeScrollLimit(300.0f, 10.0f, false), 20);
    EXPECT_EQ(TimeScrollLimit(50.0f, 10.0f, true), 0);
    EXPECT_EQ(TimeScrollLimit(50.0f, 0.0f, true), 0) << "no time base";
    struct Case {
        int code;
        unsigned thumb;
        int from;
        std::optional<int> to;
    };
    const Case cases[] = {
        {GraphLineUp, 0, 0, 0},          {GraphLineUp, 0, 5, 4},         {GraphLineDown, 0, 20, 20},
        {GraphPageUp, 0, 7, 0},          {GraphPageDown, 0, 15, 20},     {GraphThumbTrack, 25, 3, 20},
        {GraphThumbPosition, 12, 3, 12}, {GraphTop, 0, 3, std::nullopt}, {8, 0, 3, std::nullopt}};
    for (const Case& c : cases)
        EXPECT_EQ(ScrolledPosition(c.code, c.thumb, c.from, 20), c.to)
            << "code " << c.code << " from " << c.from;
}

// A far value (a cursor reading, a time base of almost nothing, a huge sample at scale 1) becomes a
// whole number the plots can still add to, never an int overflow.
TEST(GraphPlotRules, FarValuesBecomeWholeNumbersHeldWithinTheirLimit) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double value;
        int whole;
    };
    for (const Case c :
         {Case{2.7, 2}, Case{-2.7, -2}, Case{1e30, WholeLimit}, Case{-1e30, -WholeLimit},
          Case{inf, WholeLimit}, Case{-inf, -WholeLimit}, Case{std::numeric_limits<double>::quiet_NaN(), 0}})
        EXPECT_EQ(SaturatedInt(c.value), c.whole) << c.value;
    EXPECT_EQ(ClampedInt(int64_t{1} << 40), std::numeric_limits<int>::max());
    EXPECT_EQ(ClampedInt(-(int64_t{1} << 40)), std::numeric_limits<int>::min());
    // More divisions than an int counts.
    EXPECT_EQ(TimeScrollLimit(1e9f, 1e-30f, false), WholeLimit - 10);
    EXPECT_EQ(TimeScrollLimit(1e9f, 1e-30f, true), WholeLimit);
    EXPECT_EQ(TimeScrollLimit(3e38f, 1.4e-45f, true), WholeLimit);
}

TEST(GraphPlotRules, ZoomRectangleAndWhatIsLeftToZoom) {
    EXPECT_FALSE(ZoomBoxOf({10, 10}, {13, 100}, 45.0f)) << "under four pixels wide";
    EXPECT_FALSE(ZoomBoxOf({1, 1}, {449, 449}, 45.0f)) << "the whole plot";
    const auto box = ZoomBoxOf({200, 300}, {50, 100}, 45.0f); // dragged up and left
    ASSERT_TRUE(box);
    EXPECT_EQ(box->left, 1);
    EXPECT_EQ(box->top, 2);
    EXPECT_EQ(box->width, 4);
    EXPECT_EQ(box->height, 5);

    const std::array<int, 3> ones{1, 1, 1};
    const std::array<int, 3> oneScaled{1, 5, 1};
    EXPECT_FALSE(CanZoomFurther(0.1f, 0.1f, ones));
    EXPECT_TRUE(CanZoomFurther(0.2f, 0.1f, ones));
    EXPECT_TRUE(CanZoomFurther(0.1f, 0.1f, oneScaled));
}

TEST(GraphPlotRules, SharedSmallRules) {
    EXPECT_EQ(GraphScaleStep(0), 1);
    EXPECT_EQ(GraphScaleStep(GraphScaleStepCount - 1), 100000000);
    EXPECT_EQ(GraphScaleStep(GraphScaleStepCount), 1);
    EXPECT_STREQ(GraphScaleText(14), "100k");
    EXPECT_EQ(AutoScaleStep(-700, 30), 500) << "by the larger magnitude";
    EXPECT_EQ(AutoScaleStep(0, 0), 1);
    EXPECT_EQ(AutoScaleStep(INT32_MIN, 0), 100000000);
    EXPECT_EQ(TimeLabelText(250.0f, 100), "2.50");
    std::tm clock{};
    clock.tm_year = 124;
    clock.tm_mday = 1;
    clock.tm_hour = 9;
    clock.tm_min = 5;
    clock.tm_sec = 3;
    clock.tm_isdst = -1;
    EXPECT_EQ(CaptureClockText(std::mktime(&clock)), "09:05:03") << "the local clock, two digits each";
    EXPECT_EQ(TimeLabelText(std::numeric_limits<float>::quiet_NaN(), 1), "0.00");
    for (const char* name : {"a.trd", "B.TRD", "x.Trd", "trd"})
        EXPECT_TRUE(HasRecordingExtension(name)) << name;
    for (const char* name : {"a.csv", "rd", "a.trd.bak"})
        EXPECT_FALSE(HasRecordingExtension(name)) << name;
    std::array<int, 8> order{0, 1, 2, 3, 4, 5, 6, 7};
    MoveChannelToFront(std::span<int>(order.begin(), 4), 1);
    EXPECT_EQ(order, (std::array<int, 8>{0, 2, 3, 1, 4, 5, 6, 7}));
    MoveChannelToFront(std::span<int>(order.begin(), 4), 6);
    EXPECT_EQ(order, (std::array<int, 8>{0, 2, 3, 1, 4, 5, 6, 7})) << "a channel beyond the count stays";
    EXPECT_EQ(PlotScaleForGaps(300, 250, 150, 200, 200, 100), std::optional<float>(1.0f)) << "the smaller";
    EXPECT_EQ(PlotScaleForGaps(300, 150, 150, 200, 200, 100), std::nullopt);
}

namespace {

// A record of 1000 points at 100 units per sample: 100 per division, ten divisions.
CTraceViewModel RecordModel() {
    CTraceViewModel m;
    m.timeBase = 100.0f;
    m.points = 1000;
    m.ResetTimeAxis();
    return m;
}

} // namespace

TEST(TraceViewModel, ScaleSelectionPutsZeroOnTheMiddleLine) {
    CTraceViewModel m;
    m.ApplyScaleSelection(2, 0, true, -700, 30);
    EXPECT_EQ(m.scale[2], 500) << "AUTO from the record";
    EXPECT_EQ(m.offset[2], 2500);
    m.ApplyScaleSelection(2, 0, false, -700, 30);
    EXPECT_EQ(m.scale[2], 1) << "without AUTO item 0 is the first step";
    m.ApplyScaleSelection(2, 15, true, 0, 0);
    EXPECT_EQ(m.scale[2], 100000);
    EXPECT_EQ(m.scaleSelection[2], 15);
    m.ApplyScaleSelection(3, 15, false, 0, 0);
    EXPECT_EQ(m.scale[3], 1000000);
    EXPECT_EQ(m.offset[3], 5000000);
}

TEST(TraceViewModel, OffsetStepsAndSlidersStayWithinTheirLimit) {
    CTraceViewModel m;
    m.ApplyScaleSelection(0, 3, false, 0, 0); // 10 per division
    m.offsetLimit[0] = 100;
    m.offset[0] = 95;
    m.StepOffset(0, false);
    EXPECT_EQ(m.offset[0], 100);
    m.StepOffset(0, false);
    EXPECT_EQ(m.offset[0], 100) << "the top line stops at the limit";
    m.offset[0] = 0;
    m.StepOffset(0, true);
    EXPECT_EQ(m.offset[0], 0) << "and at ten steps less than minus the limit";
    EXPECT_EQ(m.drawOrder[7], 0) << "the stepped channel comes to the front";
    // The slider runs 0 .. 2 x 100 / 10 - 10 = 10: top 100 at 10, 0 at 0.
    EXPECT_EQ(m.ScrollChannel(0, GraphThumbTrack, 10), 10);
    EXPECT_EQ(m.offset[0], 100);
    EXPECT_EQ(m.ScrollChannel(0, GraphThumbTrack, 40), 10);
    EXPECT_EQ(m.ScrollChannel(0, GraphThumbTrack, 3), 3);
    EXPECT_EQ(m.offset[0], 30);
    EXPECT_EQ(m.ScrollChannel(0, GraphBottom, 0), 10);
    m.ZeroToMiddle(0);
    EXPECT_EQ(m.offset[0], 50);
    m.CentreData(0, 200, 400);
    EXPECT_EQ(m.offset[0], 350) << "the middle (300) on the middle line";
}

TEST(TraceViewModel, TimeBaseScrollAndZoom) {
    CTraceViewModel m = RecordModel();
    EXPECT_FLOAT_EQ(m.timePerDivision, 10.0f);
    EXPECT_EQ(m.TimeBaseList(1).front(), "10.00");
    EXPECT_EQ(m.TimeBaseList(1).back(), "0.10");
    ASSERT_TRUE(m.ChangeTimeBase(50)); // 10 - 50 x 0.1 = 5 per division
    EXPECT_FLOAT_EQ(m.timePerDivision, 5.0f);
    EXPECT_EQ(m.scrollLimit, 10);
    ASSERT_TRUE(m.ScrollTime(GraphPageDown, 0));
    EXPECT_EQ(m.scrollPosition, 10);
    EXPECT_FLOAT_EQ(m.leftTime, 50.0f);
    EXPECT_EQ(m.LeftEdgeOffset(45.0f), 450);
    EXPECT_FALSE(m.ScrollTime(GraphTop, 0));

    m.scale = {10, 1, 1, 1, 1, 1, 1, 1};
    m.offset[0] = 50;
    ASSERT_TRUE(m.ZoomIn(nullptr, 50));
    EXPECT_TRUE(m.zoomed);
    EXPECT_FLOAT_EQ(m.timePerDivision, 4.0f);
    EXPECT_EQ(m.scale[0], 8);
    EXPECT_EQ(m.scale[1], 1) << "one unit per division stays";
    const ZoomBox box{2, 1, 5, 4};
    ASSERT_TRUE(m.ZoomIn(&box, 0));
    EXPECT_FLOAT_EQ(m.timePerDivision, 2.0f);
    EXPECT_EQ(m.scale[0], 3);
    EXPECT_EQ(m.offset[0], 42);
    EXPECT_EQ(m.zoomSave.timeSelection, 50) << "the view before the first zoom is kept";
    ASSERT_TRUE(m.ZoomOut());
    EXPECT_FLOAT_EQ(m.timePerDivision, 5.0f);
    EXPECT_EQ(m.scale[0], 10);
    EXPECT_EQ(m.offset[0], 50);
    EXPECT_EQ(m.scrollPosition, 10);
    EXPECT_FALSE(m.ZoomOut());

    m.timePerDivision = m.intervalTime;
    m.scale.fill(1);
    EXPECT_FALSE(m.ZoomIn(nullptr, 0)) << "nothing left to zoom";
    CTraceViewModel empty;
    empty.points = 0;
    empty.ResetTimeAxis();
    EXPECT_TRUE(empty.TimeBaseList(1).empty());
    EXPECT_FALSE(empty.ChangeTimeBase(0));
}

// A recording may carry offsets anywhere in the int range and a zoomed view of almost no time per
// division; the model's steps keep every position an int holds and the cursors inside the plot.
TEST(TraceViewModel, FarOffsetsAndTinyTimesStayWithinWhatAnIntHolds) {
    CTraceViewModel m;
    m.points = 1024;
    m.timeBase = 1.0f;
    m.ResetTimeAxis();
    m.timePerDivision = 1e-30f;
    m.leftTime = 3e9f;
    EXPECT_EQ(m.LeftEdgeOffset(45.0f), WholeLimit);
    m.UpdateScrollRange();
    EXPECT_EQ(m.scrollLimit, WholeLimit - 10);
    EXPECT_GE(m.scrollPosition, 0);
    m.ShowCursors(true, 45);
    ASSERT_TRUE(m.StepCursor(0, true, 45.0f));
    EXPECT_EQ(m.cursorX[0], 450) << "a step of more pixels than an int holds ends at the plot's edge";

    m.scale[0] = 100000000;
    m.offset[0] = std::numeric_limits<int>::min() + 5;
    const ZoomBox box{0, 9, 2, 2};
    m.timePerDivision = 10.0f;
    ASSERT_TRUE(m.ZoomIn(&box, 0));
    EXPECT_EQ(m.offset[0], std::numeric_limits<int>::min());
    m.CentreData(1, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(m.offset[1], std::numeric_limits<int>::max());
    EXPECT_EQ(m.sliderPosition[1], std::numeric_limits<int>::max());
}

TEST(TraceViewModel, ChannelsDrawnByCountAndHighWords) {
    CTraceViewModel m;
    m.sources = {5, 47, 1, 2, 3, 4, 6, 7}; // two wide sources: channels 7 and 8 carry high words
    const std::array<bool, 8> eight{true, true, true, true, true, true, false, false};
    for (int ch = 0; ch < 8; ++ch)
        EXPECT_EQ(m.ChannelDrawn(ch), eight[static_cast<size_t>(ch)]) << "channel " << ch + 1;
    m.channelCountMode = 0;
    EXPECT_FALSE(m.ChannelDrawn(3)) << "four channels: the fourth carries the high word";
    EXPECT_FALSE(m.ChannelDrawn(4));
    m.sources = {1, 2, 3, 4, 0, 0, 0, 0};
    EXPECT_TRUE(m.ChannelDrawn(3));
    m.shown[3] = FALSE;
    EXPECT_FALSE(m.ChannelDrawn(3));
    m.BringChannelToFront(0);
    EXPECT_EQ(m.drawOrder, (std::array<int, 8>{1, 2, 3, 0, 4, 5, 6, 7})) << "among the four only";
}

TEST(TraceViewModel, CursorsReadTimesAndValues) {
    CTraceViewModel m = RecordModel();
    m.ShowCursors(true, 45);
    EXPECT_EQ(m.cursorX, (std::array<int, 2>{45, 405}));
    EXPECT_EQ(m.cursorY, (std::array<int, 2>{405, 45}));
    m.UpdateCursorTimes(45.0f);
    EXPECT_FLOAT_EQ(m.cursorTime[0], 10.0f);
    EXPECT_FLOAT_EQ(m.cursorTime[1], 90.0f);
    m.cursorX[0] = 0;
    m.UpdateCursorTimes(45.0f);
    EXPECT_FLOAT_EQ(m.cursorTime[0], 10.0f) << "a time of nothing reads as ten units";
    m.selectedChannel = 1;
    m.scale[1] = 100;
    m.offset[1] = 500;
    m.UpdateCursorValues(45.0f);
    EXPECT_FLOAT_EQ(m.cursorValue[0], -400.0f);
    EXPECT_FLOAT_EQ(m.cursorValue[1], 400.0f);
    m.PlaceCursorsAt({20.0f, 0.0f, 0.0f, 250.0f}, 45.0f);
    EXPECT_EQ(m.cursorX[0], 90);
    EXPECT_EQ(m.cursorX[1], 405) << "a reading of 0 leaves its line";
    EXPECT_EQ(m.cursorY[1], 113);

    EXPECT_EQ(m.CursorAt(95, 200, 450), 0);
    EXPECT_EQ(m.CursorAt(200, 110, 450), 3);
    EXPECT_EQ(m.CursorAt(200, 300, 450), -1);
    EXPECT_EQ(m.CursorAt(470, 110, 450), -1) << "outside the plot";
    EXPECT_TRUE(m.DragCursor(0, 300, 450));
    EXPECT_EQ(m.cursorX[0], 390);
    EXPECT_FALSE(m.DragCursor(0, 100, 450)) << "it stops at the last place inside";
    EXPECT_EQ(m.cursorX[0], 390);
    m.cursorsShown = false;
    EXPECT_EQ(m.CursorAt(390, 200, 450), -1);
}

TEST(TraceViewModel, DoubleClickSnapsOntoTheNearestCurveAndKeysFollowIt) {
    CTraceViewModel m = RecordModel();
    m.ShowCursors(true, 45);
    // Channel 1 runs along y 100, channel 3 along y 300; a point every 9 pixels.
    for (int i = 0; i <= 50; ++i) {
        m.curvePoints[0].push_back({100, 9 * i, 2 * i});
        m.curvePoints[2].push_back({300, 9 * i, 2 * i});
    }
    EXPECT_FALSE(m.SnapCursors(0, 250, 45.0f)) << "on the plot's edge";
    ASSERT_TRUE(m.SnapCursors(200, 250, 45.0f));
    EXPECT_EQ(m.selectedChannel, 2);
    EXPECT_TRUE(m.snapped);
    EXPECT_EQ(m.cursorX, (std::array<int, 2>{45, 405}));
    EXPECT_EQ(m.cursorY, (std::array<int, 2>{300, 300}));
    EXPECT_EQ(m.snappedIndex[2], 10);
    EXPECT_EQ(m.drawOrder[7], 2);
    // One sample is 0.45 pixels: a key moves one pixel, then onto the next point of the curve.
    ASSERT_TRUE(m.StepCursor(0, true, 45.0f));
    EXPECT_EQ(m.cursorX[0], 54);
    EXPECT_EQ(m.snappedIndex[0], 12);
    m.curvePoints[2].clear();
    EXPECT_FALSE(m.SnapCursors(200, 10, 45.0f)) << "the band of a channel that drew nothing there";
    EXPECT_EQ(m.selectedChannel, 2);
    m.timeBase = 0.0f;
    m.ResetTimeAxis();
    EXPECT_FALSE(m.StepCursor(0, true, 45.0f)) << "no time base to step by";
}
