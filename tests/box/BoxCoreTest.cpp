// The box viewer's rules without windows: the settings dialog's lists, level ranges and Write
// plan; channel placement, time base, zoom and scroll; cursors and readouts.
#include "box/BoxReadouts.h"
#include "box/BoxSetupRules.h"
#include "box/BoxViewModel.h"

#include "trace/AcquisitionStore.h"
#include "trace/GraphServices.h"

#include "framework/core/ResourceModule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

class BoxResources : public ::testing::Test {
protected:
    ScopedResourceModule module{CResourceModule::LoadLibrary(kResourceLibraryName)};
};

// ---- Settings dialog rules ----------------------------------------------------------------------

TEST_F(BoxResources, DataTypeListNumbersItsItemsAndLeavesOutTheHighWords) {
    std::array<int, 24> words{};
    words[0] = 1;        // DI-1: function 0
    words[12] = 257 + 2; // DO-1: function 2
    const auto list = BoxDataTypeList(words);
    ASSERT_EQ(list.size(), 45u);
    EXPECT_EQ(list[0].code, 0);
    EXPECT_EQ(list[0].text, "None");
    EXPECT_EQ(list[1].code, 1);
    EXPECT_EQ(list[1].text.rfind("1.DI-1 - ", 0), 0u) << list[1].text;
    EXPECT_EQ(list[13].code, 13);
    EXPECT_EQ(list[13].text.rfind("13.DO-1 - ", 0), 0u) << list[13].text;
    EXPECT_EQ(list[21].code, 21);
    EXPECT_EQ(list[21].text, "21.Speed Command");
    EXPECT_EQ(list[44].code, 46);
    EXPECT_EQ(list[44].text, "44.CIA402 status word 6041");
    for (const auto& item : list)
        EXPECT_TRUE(item.code != 26 && item.code != 44) << item.text;
    EXPECT_EQ(BoxDataTypeItemOf(list, 27), 26);
    EXPECT_EQ(BoxDataTypeItemOf(list, 26), 0) << "a code not offered selects None";
}

TEST(BoxSetupRules, LevelRangeFollowsTheTriggerSource) {
    struct Case {
        int source;
        int min, max, chars;
        const char* text;
        bool levelEnabled, edgeEnabled;
    };
    const Case cases[] = {
        {5, 0, 1, 3, "[]", false, true},
        {21, -3000, 3000, 5, "[rpm]  (-3000~3000)", true, true},
        {23, -100, 100, 4, "[%]  (-100~100)", true, true},
        {25, -32768, 32767, 6, "[pulse]  (-32768~32767)", true, true},
        {26, -32768, 32767, 6, "[-]  (-32768~32767)", true, true},
        {27, 0, 359, 3, "[degree]  (0~359)", true, true},
        {32, 0, 500, 3, "[v]  (0~500)", true, true},
        {45, 0, 100, 3, "(0~100)", true, true},
        {33, -32768, 32767, 6, "(-32768~32767)", true, true},
        {47, -32768, 32767, 6, "(-32768~32767)", true, true},
    };
    for (const Case& c : cases) {
        const BoxLevelRule rule = BoxTriggerLevelRule(c.source, 3000, false);
        EXPECT_EQ(rule.levelMin.value_or(-999), c.min) << c.source;
        EXPECT_EQ(rule.levelMax, c.max) << c.source;
        EXPECT_EQ(rule.textLimit, c.chars) << c.source;
        EXPECT_EQ(rule.unitText, c.text) << c.source;
        EXPECT_EQ(rule.levelEnabled, c.levelEnabled) << c.source;
        EXPECT_EQ(rule.edgeAndPositionEnabled, c.edgeEnabled) << c.source;
    }
    const BoxLevelRule none = BoxTriggerLevelRule(0, 3000, false);
    EXPECT_FALSE(none.levelMin.has_value()) << "None keeps the previous minimum";
    EXPECT_FALSE(none.levelEnabled);
    EXPECT_FALSE(none.edgeAndPositionEnabled);
    EXPECT_EQ(BoxTriggerLevelRule(32, 3000, true).levelMax, 1000);
    // Which levels the rule resets.
    EXPECT_TRUE(BoxLevelForcedToZero(BoxTriggerLevelRule(5, 3000, false), 0));
    EXPECT_TRUE(BoxLevelForcedToZero(BoxTriggerLevelRule(23, 3000, false), 101));
    EXPECT_FALSE(BoxLevelForcedToZero(BoxTriggerLevelRule(23, 3000, false), -100));
    EXPECT_TRUE(BoxLevelForcedToZero(BoxTriggerLevelRule(27, 3000, false), 360));
    EXPECT_FALSE(BoxLevelForcedToZero(BoxTriggerLevelRule(21, 3000, false), 9999)) << "speed levels are kept";
}

TEST(BoxSetupRules, OnlyOneThirtyTwoBitTypeFitsTheRecorder) {
    EXPECT_FALSE(HasSecondWideType({25, 21, 22, 23}));
    EXPECT_FALSE(HasSecondWideType({43, 0, 0, 0}));
    EXPECT_TRUE(HasSecondWideType({25, 43, 0, 0}));
    EXPECT_TRUE(HasSecondWideType({21, 25, 0, 25}));
}

TEST(BoxSetupRules, WritePlanDisarmsSetsAndArmsLast) {
    const BoxRecorderSettings settings{.triggerSource = 21,
                                       .triggerPosition = 10,
                                       .triggerLevel = -100,
                                       .triggerEdge = 1,
                                       .sampleInterval = 5};
    const auto plan = BoxWritePlan(settings, true);
    using Words = std::vector<std::pair<uint16_t, int>>;
    const std::vector<Words> expected = {
        {{0x1525, 0}},
        {{0x1526, 21}, {0x1524, 10}},
        {{0x1529, -100}, {0x1528, 1}},
        {{0x1527, 5}},
        {{0x1521, 0}},
        {{0x1523, 0}},
        {{0x1525, 1}},
    };
    ASSERT_EQ(plan.size(), expected.size());
    for (size_t i = 0; i < plan.size(); ++i)
        EXPECT_EQ(plan[i].words, expected[i]) << i;
    const auto off = BoxWritePlan(settings, false);
    ASSERT_EQ(off.size(), 1u);
    EXPECT_EQ(off[0].words, (Words{{0x1525, 0}}));
    EXPECT_EQ(BoxIntervalText(5), "0.5");
    EXPECT_EQ(BoxRecordTimeText(5, 512), "256.00");
}

// ---- Channel placement --------------------------------------------------------------------------

// What the record thread handed over becomes the shown record; a read that handed over nothing
// leaves the record empty, with nothing to save.
TEST(BoxRecord, TheQueuedSamplesBecomeTheRecordAndNoneLeaveItEmpty) {
    CBoxViewModel m;
    m.RecordShown = 1;
    m.RecordEmpty = true;
    for (auto& vector : m.SampleVectors)
        vector.assign(static_cast<size_t>(RecordPointCount), 0);
    EXPECT_FALSE(m.TakeQueuedRecord());
    EXPECT_FALSE(m.CanSaveRecord());

    ChannelDeques[1] = {5, 6, 7};
    ChannelDeques[6] = {1, 2, 3};
    ChannelDeques[7] = {9, 8, 7};
    ASSERT_TRUE(m.TakeQueuedRecord());
    EXPECT_TRUE(m.CanSaveRecord());
    const auto& channel1 = m.SampleVectors[1];
    ASSERT_EQ(channel1.size(), static_cast<size_t>(RecordPointCount));
    EXPECT_EQ(std::vector<int32_t>(channel1.end() - 3, channel1.end()), (std::vector<int32_t>{5, 6, 7}));
    EXPECT_EQ(m.SampleVectors[5].back(), 7) << "the extra words in step with channel 4";
    EXPECT_EQ(m.FirstSampleValue[0], 5);
    EXPECT_TRUE(ChannelDeques[1].empty() && ChannelDeques[6].empty() && ChannelDeques[7].empty());
}

TEST(BoxChannels, SignalKindsScaleStepsAndDrawOrder) {
    EXPECT_EQ(ChannelSignalKind(0), 0);
    EXPECT_EQ(ChannelSignalKind(1), 2);
    EXPECT_EQ(ChannelSignalKind(20), 2);
    EXPECT_EQ(ChannelSignalKind(21), 1);
    EXPECT_EQ(ChannelSignalKind(-1), 1);
    EXPECT_EQ(BoxScaleStep(0), 100);
    EXPECT_EQ(BoxScaleStep(15), 100000);
    EXPECT_EQ(BoxScaleStep(18), 100000000);
    EXPECT_EQ(BoxScaleStep(-1), 100);
    EXPECT_EQ(BoxScaleStep(19), 100);

    CBoxViewModel m;
    m.MoveChannelToFront(3);
    EXPECT_EQ(m.ChannelDrawOrder, (std::array<int, 4>{0, 1, 2, 3})) << "already last";
    m.MoveChannelToFront(0);
    EXPECT_EQ(m.ChannelDrawOrder, (std::array<int, 4>{1, 2, 3, 0}));

    std::array<std::pair<int, int>, 4> pairs = {{{5, 1}, {3, 2}, {5, 3}, {1, 4}}};
    SortPairsByKey(pairs);
    EXPECT_EQ(pairs, (std::array<std::pair<int, int>, 4>{{{1, 4}, {3, 2}, {5, 1}, {5, 3}}}));
}

TEST(BoxChannels, OffsetButtonsStopAtTheirLimits) {
    CBoxViewModel m; // scale 1, range 500,000,000: slider 0 .. 999,999,990 at 499,999,995
    EXPECT_EQ(m.SliderMax(0), 999999990);
    struct Case {
        bool up;
        int position;
        int offset, top;
    };
    const Case cases[] = {
        {true, 1, 0, 10 - 500000000},             // to 0: the lowest top exactly
        {true, 0, 0, 10 - 500000000},             // at 0 it stays
        {true, 100, 99, 4},                       // one division up the screen
        {false, 999999989, 999999990, 500000000}, // one below the maximum: the range exactly
        {false, 100, 101, 6},
    };
    for (const Case& c : cases) {
        CBoxViewModel v;
        v.StepChannelOffset(0, c.up, c.position);
        EXPECT_EQ(v.ChannelOffset[0], c.offset) << c.up << " " << c.position;
        EXPECT_EQ(v.ChannelTop[0], c.top) << c.up << " " << c.position;
        EXPECT_EQ(v.ChannelDrawOrder[3], 0);
    }
    CBoxViewModel centre;
    centre.ChannelScale[1] = 50;
    centre.CentreChannelZero(1);
    EXPECT_EQ(centre.ChannelTop[1], 250);
    EXPECT_EQ(centre.ChannelOffset[1], 10000000 - 5);
    EXPECT_EQ(centre.ChannelDrawOrder, (std::array<int, 4>{0, 1, 2, 3})) << "->0 leaves the order";
}

TEST(BoxChannels, ScaleChangesKeepTheCentreOnTheNearestStep) {
    CBoxViewModel m;
    m.ChannelSignal = {21, 22, 3, 0};
    m.PointCount = 4;
    const std::vector<int32_t> samples = {0, 0, 0, 0, 0};
    bool changed = false;
    // Scale 10, top 80 (centre 30) -> 20: 20 and 40 are equally near 30; 20 wins.
    m.ChannelScale[0] = 10;
    m.ChannelTop[0] = 80;
    EXPECT_EQ(m.ChangeChannelScale(0, 5, true, samples, changed), 5);
    EXPECT_TRUE(changed);
    EXPECT_EQ(m.ChannelScale[0], 20);
    EXPECT_EQ(m.ChannelTop[0], 120);
    EXPECT_EQ(m.ChannelTop[0], (m.ChannelOffset[0] + 10) * 20 - m.ChannelRange[0]) << "slider invariant";
    // The same step again changes nothing.
    m.ChangeChannelScale(0, 5, true, samples, changed);
    EXPECT_FALSE(changed);
    // AUTO over zeros: step 1, zero in the middle.
    m.ChangeChannelScale(1, 0, true, samples, changed);
    EXPECT_EQ(m.ChannelScale[1], 1);
    EXPECT_EQ(m.ChannelTop[1], 5);
    // AUTO over a large sample.
    const std::vector<int32_t> large = {0, -2600, 10, 0, 0};
    m.ChangeChannelScale(1, 0, true, large, changed);
    EXPECT_EQ(m.ChannelScale[1], SelectScaleStep(2600));
    // A bit channel keeps only AUTO or "1" and is re-centred when its top lies outside 1..10.
    m.ChannelTop[2] = 50;
    EXPECT_EQ(m.ChangeChannelScale(2, 7, true, samples, changed), 1);
    EXPECT_EQ(m.ChannelScale[2], 1);
    EXPECT_EQ(m.ChannelTop[2], 5);
    EXPECT_EQ(m.ChangeChannelScale(2, 7, false, samples, changed), 0) << "a list without AUTO";
    EXPECT_EQ(m.ChannelDrawOrder[3], 2);
}

// ---- Time axis, zoom and scroll -----------------------------------------------------------------

CBoxViewModel Record512() {
    CBoxViewModel m;
    m.SetRecordTiming(100.0f, 512); // RecordSpan 51.2, TimeStep 0.1
    m.ChannelScale = {1, 1, 1, 1};
    return m;
}

TEST(BoxTimeAxis, TimeBaseListAndScrollInProportion) {
    CBoxViewModel m = Record512();
    const auto items = m.TimeBaseItems();
    ASSERT_GE(items.size(), 2u);
    EXPECT_EQ(items.front(), "0.05");
    EXPECT_EQ(items.size(), 52u) << "5.12 down to 0.12, then one time step";
    CBoxViewModel stuck;
    stuck.SetRecordTiming(0.0f, 512);
    EXPECT_EQ(stuck.TimeBaseItems().size(), 1u) << "a zero sample period ends the list";

    // Old maximum 40 at 20, new maximum 10: position 5.
    CBoxViewModel t;
    t.SetRecordTiming(100.0f, 512);
    t.TimeScrollMax = 40;
    t.TimeScrollPos = 20;
    t.TimeStep = 0.1f;
    t.RecordSpan = 51.2f;
    // Item i stands for 5.12 - 0.1 i per division; 51.2 / t - 10 = 10 at t = 2.56.
    t.ChangeTimeBase(26);
    EXPECT_NEAR(t.TimePerDivision, 2.52f, 1e-4);
    EXPECT_EQ(t.TimeScrollMax, 11);
    EXPECT_EQ(t.TimeScrollPos, 5);
    EXPECT_NEAR(t.TimeOrigin, 5 * 2.52f, 1e-3);
}

TEST(BoxTimeAxis, ZoomInSteppingAndZoomOutRestoring) {
    CBoxViewModel m = Record512();
    m.ChannelScale = {100, 1, 5, 1};
    m.ChannelTop = {500, 5, 25, 5};
    ASSERT_TRUE(m.ZoomIn(false, 0));
    EXPECT_NEAR(m.TimePerDivision, 4.096f, 1e-5);
    EXPECT_EQ(m.TimeScrollMax, 3);
    EXPECT_EQ(m.TimeScrollPos, 1);
    EXPECT_NEAR(m.TimeOrigin, 5.12f, 1e-5);
    EXPECT_EQ(m.ChannelScale, (std::array<int, 4>{80, 1, 4, 1}));
    EXPECT_EQ(m.ChannelTop[0], 400);
    EXPECT_EQ(m.ChannelTop[1], 5) << "scale 1 is not zoomed";
    EXPECT_TRUE(m.Zoomed);
    m.ZoomIn(false, 0);
    m.ZoomIn(false, 0);
    ASSERT_TRUE(m.ZoomOut());
    EXPECT_FALSE(m.Zoomed);
    EXPECT_EQ(m.ChannelScale, (std::array<int, 4>{100, 1, 5, 1}));
    EXPECT_EQ(m.ChannelTop, (std::array<int, 4>{500, 5, 25, 5}));
    EXPECT_NEAR(m.TimePerDivision, 5.12f, 1e-5);
    EXPECT_FALSE(m.ZoomOut()) << "one saved state";

    // A band one division high on scale 5: 0.5 truncates to 0, raised to 1.
    CBoxViewModel band = Record512();
    band.ChannelScale[0] = 5;
    band.ZoomLeft = 2;
    band.ZoomTop = 3;
    band.ZoomWidth = 4;
    band.ZoomHeight = 1;
    ASSERT_TRUE(band.ZoomIn(true, 0));
    EXPECT_EQ(band.ChannelScale[0], 1);
    EXPECT_EQ(band.ChannelTop[0], 5 - 15);
    EXPECT_NEAR(band.TimePerDivision, 4 * 5.12f / 10, 1e-5);

    // Nothing left: time per division at the step and every scale 1.
    CBoxViewModel flat = Record512();
    flat.TimePerDivision = flat.TimeStep;
    EXPECT_FALSE(flat.CanZoomIn());
    EXPECT_FALSE(flat.ZoomIn(false, 50));
}

TEST(BoxTimeAxis, ScrollBarAndSlidersAtTheirEnds) {
    CBoxViewModel m = Record512();
    m.TimePerDivision = 2.0f;
    m.TimeScrollMax = 16;
    m.TimeScrollPos = 16;
    m.TimeOrigin = 30.0f;
    ASSERT_TRUE(m.ScrollTime(BoxLineDown, 0));
    EXPECT_EQ(m.TimeScrollPos, 16);
    EXPECT_FLOAT_EQ(m.TimeOrigin, 32.0f) << "the maximum times the time per division";
    m.ScrollTime(BoxPageUp, 0);
    EXPECT_EQ(m.TimeScrollPos, 6);
    EXPECT_FLOAT_EQ(m.TimeOrigin, 12.0f);
    m.ScrollTime(BoxThumbTrack, 0);
    EXPECT_FLOAT_EQ(m.TimeOrigin, 0.0f);
    EXPECT_FALSE(m.ScrollTime(8, 0)) << "end of scrolling changes nothing";

    CBoxViewModel s;
    s.ChannelScale[2] = 10;
    s.ChannelOffset[2] = 1234;
    ASSERT_TRUE(s.ScrollChannel(2, BoxThumbTrack, 0));
    EXPECT_EQ(s.ChannelTop[2], 10 * 10 - 500000000) << "whatever the previous offset";
    EXPECT_EQ(s.ChannelOffset[2], 0);
    EXPECT_EQ(s.ChannelDrawOrder[3], 2);
}

// ---- Cursors and readouts -----------------------------------------------------------------------

TEST(BoxCursors, ArrowStepsStayInsideAndNeverDivideByZero) {
    CBoxViewModel m = Record512(); // 51.2 samples per division: a sample is under a pixel wide
    m.CursorAX = 0;
    ASSERT_TRUE(m.StepTimeCursor(false, false));
    EXPECT_EQ(m.CursorAX, 0);
    m.CursorBX = 450;
    m.StepTimeCursor(true, true);
    EXPECT_EQ(m.CursorBX, 450);
    m.TimePerDivision = 0.5f; // five samples per division: 9 pixels a step
    m.CursorAX = 100;
    m.StepTimeCursor(false, true);
    EXPECT_EQ(m.CursorAX, 109);

    int moved = 0;
    CBoxViewModel zero = Record512();
    zero.SampleInterval = 0;
    zero.CursorAX = 100;
    EXPECT_FALSE(zero.KeyStepCursorA(moved));
    EXPECT_EQ(zero.CursorAX, 100);
    CBoxViewModel thin = Record512();
    thin.TimePerDivision = 0.05f; // below one time step
    thin.CursorAX = 100;
    EXPECT_FALSE(thin.KeyStepCursorA(moved));
    EXPECT_EQ(thin.CursorAX, 100);
    CBoxViewModel ok;
    ok.SetRecordTiming(10000.0f, 512); // interval 1: TimeStep 10, 512 per division
    ok.SampleInterval = 1;
    ok.CursorAX = 45;
    ASSERT_TRUE(ok.KeyStepCursorA(moved));
    EXPECT_FLOAT_EQ(ok.CursorATime, 510.0f) << "512 + 0 rounded down to whole intervals";
}

// What a file may carry (cursor readings of an earlier record, top values at the ends of the int
// range) and what a set-up of almost no time gives are worked out without overflow: far positions
// are held, slider positions and top values stay within their range.
TEST(BoxCursors, FarReadingsAndTopValuesStayWithinWhatAnIntHolds) {
    CBoxViewModel m;
    m.SetRecordTiming(1.0f, 512);
    m.CursorATime = 1e8f;
    m.CursorBTime = 3e8f;
    m.CursorAValue = 2e9f;
    m.CursorBValue = -2e9f;
    m.UpdateCursorPixels();
    EXPECT_EQ(m.CursorAX, WholeLimit);
    EXPECT_EQ(m.CursorBX, WholeLimit);
    EXPECT_EQ(m.CursorAY, 5) << "a value above the plot: its top line";
    EXPECT_EQ(m.CursorBY, 445) << "below it: its bottom line";

    // The left arrow at the largest interval a file could name rounds to whole intervals, wide.
    m.CursorAX = 45;
    m.SampleInterval = 805371904;
    int moved = 0;
    ASSERT_TRUE(m.KeyStepCursorA(moved));
    EXPECT_EQ(m.CursorATime, 0.0f);

    const int intMax = std::numeric_limits<int>::max(), intMin = std::numeric_limits<int>::min();
    m.ChannelScale = {1, 1, 100000000, 100};
    m.ChannelTop = {intMax, intMin, intMax, intMin};
    m.ChannelSignal = {21, 21, 21, 21};
    ASSERT_TRUE(m.ZoomIn(false, 0));
    EXPECT_EQ(m.ChannelOffset[1], 500000000 + int64_t{intMin} - 10) << "worked out wide";
    ASSERT_TRUE(m.ZoomOut());
    for (int k = 0; k < 4; ++k) {
        const size_t c = static_cast<size_t>(k);
        EXPECT_GE(m.ChannelOffset[c], 0) << k;
        EXPECT_LE(m.ChannelOffset[c], m.SliderMax(k)) << k;
        EXPECT_GE(m.ChannelTop[c], 10 * m.ChannelScale[c] - m.ChannelRange[c]) << k;
        EXPECT_LE(m.ChannelTop[c], m.ChannelRange[c]) << k;
    }
    // A slider thumb at the far end and the buttons at the int's ends.
    m.ChannelTop[0] = intMax;
    ASSERT_TRUE(m.ScrollChannel(0, BoxThumbTrack, intMax));
    EXPECT_EQ(m.ChannelTop[0], intMax);
    m.StepChannelOffset(1, false, intMax);
    EXPECT_EQ(m.ChannelOffset[1], m.SliderMax(1));
    m.ChannelTop[2] = 500000000;
    m.ChannelScale[2] = 1;
    bool changed = false;
    m.ChangeChannelScale(2, 18, true, {}, changed); // "100M" from the top at scale 1
    EXPECT_TRUE(changed);
    EXPECT_EQ(m.ChannelScale[2], 100000000);
}

// A set-up of almost no time (a time base the reader refuses, but a model must survive) leaves the
// time axis without a step: the time-base list, zoom, scroll and arrow keys do nothing harmful.
TEST(BoxTimeAxis, ATimeBaseOfAlmostNothingStaysUsable) {
    for (const float period : {1.4e-45f, 1e-30f, 3e38f}) {
        CBoxViewModel m;
        m.SetRecordTiming(period, 512);
        m.RecordShown = 1;
        m.ChangeTimeBase(3);
        m.ApplyScrollExtent(m.TimePerDivision);
        m.ZoomIn(false, 0);
        m.ScrollTime(BoxBottom, 0);
        m.ZoomOut();
        m.StepTimeCursor(false, true);
        int moved = 0;
        m.KeyStepCursorA(moved);
        m.UpdateCursorPixels();
        EXPECT_GE(m.TimeScrollPos, 0) << period;
        EXPECT_LE(m.TimeScrollPos, std::max(m.TimeScrollMax, 0)) << period;
        EXPECT_LE(std::abs(m.ScrollPixels()), WholeLimit) << period;
    }
}

TEST(BoxCursors, PickZones) {
    CBoxViewModel m;
    m.TimeCursorsOn = m.ValueCursorsOn = m.CursorsOn = 1;
    m.CursorAX = 100;
    m.CursorAY = 200;
    m.CursorBX = 300;
    m.CursorBY = 50;
    using Pick = std::array<bool, 4>;
    EXPECT_EQ(m.PickCursors(109, 190), (Pick{true, false, true, false}));
    EXPECT_EQ(m.PickCursors(110, 200), (Pick{}));
    EXPECT_EQ(m.PickCursors(300, 50), (Pick{false, true, false, true}));
    m.CursorBX = 105;
    m.CursorBY = 205;
    EXPECT_EQ(m.PickCursors(104, 204), (Pick{true, false, true, false})) << "A wins";
    m.CursorShape = 1;
    m.CursorBX = 300;
    m.CursorBY = 50;
    EXPECT_EQ(m.PickCursors(20, 188), (Pick{false, false, true, false})) << "12 above line A";
    EXPECT_EQ(m.PickCursors(20, 204), (Pick{})) << "4 below it";
    EXPECT_EQ(m.PickCursors(98, 199), (Pick{true, false, true, false})) << "both lines";
    m.CursorShape = 0;
    m.ValueCursorsOn = 0;
    EXPECT_EQ(m.PickCursors(100, 200), (Pick{})) << "a cross needs both kinds";
}

TEST(BoxCursors, PlottedPointsAndSnapping) {
    int y = -1, index = -1, px = -1;
    EXPECT_FALSE(FindPlottedPoint({}, 10, 0, 450.0f, y, index, px));
    const std::vector<PlottedPoint> points = {{10, 5}, {20, 15}, {30, 460}};
    EXPECT_FALSE(FindPlottedPoint(points, 500, 0, 450.0f, y, index, px));
    ASSERT_TRUE(FindPlottedPoint(points, 6, 0, 450.0f, y, index, px));
    EXPECT_EQ(y, 20);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(px, 15);
    ASSERT_TRUE(FindPlottedPoint(points, 400, 0, 450.0f, y, index, px));
    EXPECT_EQ(px, 15) << "past the width: the point before";
    EXPECT_EQ(index, 2);
    ASSERT_TRUE(FindPlottedPoint({{7, 470}}, 0, 0, 450.0f, y, index, px));
    EXPECT_EQ(px, 450) << "the first point past the width: the width";

    CBoxViewModel m;
    m.TimeCursorsOn = m.ValueCursorsOn = m.CursorsOn = 1;
    m.CursorAX = 10;
    m.CursorBX = 40;
    m.PlotPoints[1] = {{100, 10}, {110, 20}, {120, 41}};
    m.PlotPoints[3] = {{300, 10}, {310, 50}};
    // Channels 1 and 3 have no points: they take no part (no channel -1).
    ASSERT_TRUE(m.SnapCursors(10, 150));
    EXPECT_EQ(m.CursorSnapChannel, 2);
    EXPECT_EQ(m.SelectedChannel, 1);
    EXPECT_EQ(m.CursorAY, 100);
    EXPECT_EQ(m.CursorAIndex, 0);
    EXPECT_EQ(m.CursorBX, 41);
    EXPECT_EQ(m.CursorBY, 120);
    EXPECT_EQ(m.CursorBIndex, 2);
    EXPECT_EQ(m.ChannelDrawOrder[3], 1);
    ASSERT_TRUE(m.SnapCursors(10, 250));
    EXPECT_EQ(m.CursorSnapChannel, 4);
    CBoxViewModel none;
    none.TimeCursorsOn = none.ValueCursorsOn = none.CursorsOn = 1;
    EXPECT_FALSE(none.SnapCursors(10, 150)) << "no channel has points";
    EXPECT_EQ(none.SelectedChannel, 0);
    EXPECT_EQ(none.ChannelDrawOrder, (std::array<int, 4>{0, 1, 2, 3}));
}

TEST(BoxCursors, PixelsFromReadingsAndReadoutTexts) {
    CBoxViewModel m = Record512();
    m.CursorATime = 5.12f;
    m.CursorBTime = 10.24f;
    m.ChannelScale[0] = 100;
    m.ChannelTop[0] = 500;
    m.CursorAValue = 500.0f;   // the top line: clamped to 5
    m.CursorBValue = -1000.0f; // far below: clamped to 445
    m.UpdateCursorPixels();
    EXPECT_EQ(m.CursorAX, 45);
    EXPECT_EQ(m.CursorBX, 90);
    EXPECT_EQ(m.CursorAY, 5);
    EXPECT_EQ(m.CursorBY, 445);
    m.CursorAY = 45;
    EXPECT_FLOAT_EQ(m.ValueReading(m.CursorAY, -1, {}), 400.0f);
    EXPECT_FLOAT_EQ(m.ValueReading(m.CursorAY, 0, {-7}), -7.0f) << "a snapped cursor shows its sample";

    EXPECT_EQ(BoxTimeReadoutText(512.0f), "5.12");
    EXPECT_EQ(BoxTimeReadoutText(-25.0f), "-0.25");
    EXPECT_EQ(ValueReadoutText(-2.25f), "-2.2");
    EXPECT_EQ(CursorUnitText(21), "[rpm]");
    EXPECT_EQ(CursorUnitText(27), "[deg]");
    EXPECT_EQ(CursorUnitText(33), "[degree]");
    EXPECT_EQ(CursorUnitText(0), "[ ]");
}

TEST(BoxWindowPlacement, SmallScreensOpenTheViewerCentredAt910By609) {
    const struct {
        CRect screen;
        std::optional<CRect> placed;
    } cases[] = {
        {{0, 0, 1024, 768}, CRect(57, 79, 967, 688)},
        {{0, 0, 1366, 799}, CRect(228, 95, 1138, 704)},
        {{0, 0, 800, 600}, CRect(-55, -4, 855, 605)}, // narrower than the window: centred all the same
        {{100, 50, 1124, 818}, CRect(157, 129, 1067, 738)},
        {{0, 0, 1280, 800}, std::nullopt},
        {{0, 0, 1920, 1080}, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto placed = SmallScreenWindowRect(c.screen);
        ASSERT_EQ(placed.has_value(), c.placed.has_value()) << c.screen.Height();
        if (placed) {
            EXPECT_EQ(*placed, *c.placed) << c.screen.Height();
        }
    }
}

TEST_F(BoxResources, LegendsAndTriggerDescription) {
    const std::array<int, 24> words{};
    EXPECT_EQ(BoxChannelLegend(21, words, 0x1157), "Speed Command [rpm]");
    EXPECT_EQ(BoxChannelLegend(3, words, 0x1157).find('['), std::string::npos) << "a bit has no unit";
    int level = 77;
    const BoxTriggerDescription five = DescribeBoxTrigger(5, level, 1, 12, words, 0x1157);
    EXPECT_EQ(level, 0);
    EXPECT_EQ(five.level, "");
    EXPECT_EQ(five.edge, "Fall");
    EXPECT_EQ(five.position, "12");
    level = 3;
    const BoxTriggerDescription none = DescribeBoxTrigger(0, level, 2, 12, words, 0x1157);
    EXPECT_EQ(none.edge, "");
    EXPECT_EQ(none.position, "");
    level = 1;
    EXPECT_EQ(DescribeBoxTrigger(2, level, 2, 0, words, 0x1157).edge, "Rise/Fall");
    // A word signal keeps its level and shows it with its unit.
    level = 500;
    const BoxTriggerDescription speed = DescribeBoxTrigger(21, level, 0, 3, words, 0x1157);
    EXPECT_EQ(level, 500);
    EXPECT_EQ(speed.level, " 500 rpm");
}

} // namespace
