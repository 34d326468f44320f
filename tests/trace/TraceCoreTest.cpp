// The pure rules of the trace core: channel codes and high-word placement, the arming request
// list, record decoding, the graph services and the signal captions.
#include "trace/AcquisitionStore.h"
#include "trace/GraphServices.h"
#include "trace/TraceArming.h"
#include "trace/TraceCaptions.h"
#include "trace/TraceRecords.h"
#include "trace/TraceRegisters.h"
#include "trace/TriggerSummary.h"

#include "tests/trace/TraceTestSupport.h"

#include "catalogue/ParamTexts.h"
#include "controls/ColorTable.h"
#include "framework/core/ResourceModule.h"

#include <gtest/gtest.h>

using namespace tracetest;

TEST(TraceChannels, DriveCodesOfSources) {
    const std::pair<int, int> cases[] = {{0, 0},   {1, 25},  {5, 29},  {6, 31},  {8, 33},  {9, 1},
                                         {28, 20}, {32, 24}, {33, 30}, {34, 34}, {40, 40}, {56, 56}};
    for (auto [source, code] : cases)
        EXPECT_EQ(TraceChannelCode(source), code) << "source " << source;
}

TEST(TraceChannels, WideCountsAndKinds) {
    const std::array<int, 8> sources = {5, 47, 51, 1, 2, 3, 4, 6};
    EXPECT_EQ(CountWideChannels(sources, -1), 3);
    EXPECT_EQ(CountWideChannels(sources, 0), 2);
    for (auto [code, kind] : {std::pair{0, 0}, {8, 1}, {9, 2}, {28, 2}, {29, 1}})
        EXPECT_EQ(SourceKind(code), kind) << code;
}

TEST(TraceChannels, HighWordPlacement) {
    struct Case {
        const char* name;
        bool eight;
        std::array<int, 8> sources;
        std::array<int, 8> codes;
        std::array<int, 8> slots; // wide slot channel per place 0..2, then unused
    } cases[] = {
        {"eight: 5 on ch2, 51 on ch4",
         true,
         {1, 5, 3, 51, 6, 7, 36, 37},
         {25, 29, 27, 51, 31, 32, 52, 30},
         {1, 3, -1}},
        {"eight: three wide", true, {5, 47, 51, 1, 2, 3, 4, 8}, {29, 47, 51, 25, 26, 52, 48, 30}, {0, 1, 2}},
        {"four: 5 on ch1 replaces ch4",
         false,
         {5, 2, 3, 36, 0, 0, 0, 0},
         {29, 26, 27, 30, 0, 0, 0, 0},
         {-1, -1, -1}},
        {"four: the last rule wins",
         false,
         {5, 47, 1, 2, 0, 0, 0, 0},
         {29, 47, 25, 48, 0, 0, 0, 0},
         {-1, -1, -1}},
    };
    for (const Case& c : cases) {
        const TraceChannelPlacement placement = PlaceTraceChannels(c.sources, c.eight);
        EXPECT_EQ(placement.driveCodes, c.codes) << c.name;
        const auto slots = WideSlots(c.sources, c.eight);
        EXPECT_EQ(slots[0], c.slots[0]) << c.name;
        EXPECT_EQ(slots[1], c.slots[1]) << c.name;
        EXPECT_EQ(slots[2], c.slots[2]) << c.name;
    }
}

TEST(TraceArming, RequestListsInTheirOrder) {
    TraceArmingSettings s;
    s.traceMode = TraceModeCycle;
    s.eightChannels = true;
    s.sources = {1, 5, 3, 51, 6, 7, 36, 37};
    s.interval = 20;
    s.triggerSource = 2;
    s.triggerLevel = -100;
    s.triggerEdge = 1;
    s.triggerPosition = 25;
    std::vector<std::string> frames;
    for (const ArmingRequest& r : BuildArmingRequests(s))
        frames.push_back(r.frame);
    const std::vector<std::string> expected = {
        WriteFrame({{0x1505, 0}}),
        WriteFrame({{0x1503, 0}}),
        WriteFrame({{0x150E, 8}}),
        WriteFrame({{0x1502, 1}}),
        WriteFrame({{0x150A, 29 * 256 + 25}, {0x150B, 51 * 256 + 27}}),
        WriteFrame({{0x1507, 20}, {0x1501, 0}}),
        WriteFrame({{0x150C, 32 * 256 + 31}, {0x150D, 30 * 256 + 52}}),
        WriteFrame({{0x1506, 2}, {0x1504, 25}}),
        WriteFrame({{0x1509, 0xFF9C}, {0x1508, 1}}),
        WriteFrame({{0x1505, 1}}),
    };
    EXPECT_EQ(frames, expected);
    EXPECT_EQ(ArmingHighCodes(s), (std::array<int, 3>{30, 52, 0}));

    // Monitor mode sends no trigger; four channels send no 0x150C/0x150D.
    s.traceMode = TraceModeMonitor;
    s.eightChannels = false;
    s.sources = {5, 2, 3, 4, 0, 0, 0, 0};
    frames.clear();
    for (const ArmingRequest& r : BuildArmingRequests(s))
        frames.push_back(r.frame);
    const std::vector<std::string> monitor = {
        WriteFrame({{0x1505, 0}}),
        WriteFrame({{0x1503, 0}}),
        WriteFrame({{0x150E, 4}}),
        WriteFrame({{0x1502, 2}}),
        WriteFrame({{0x150A, 26 * 256 + 29}, {0x150B, 30 * 256 + 27}}),
        WriteFrame({{0x1507, 20}, {0x1501, 0}}),
        WriteFrame({{0x1505, 1}}),
    };
    EXPECT_EQ(frames, monitor);
    EXPECT_EQ(BuildStopRequests()[0].frame, WriteFrame({{0x1505, 0}}));
    EXPECT_EQ(BuildStopRequests()[1].frame, WriteFrame({{0x1503, 0}}));
}

// ---- Records -----------------------------------------------------------------------------------

TEST(TraceRecords, BlockVerdictsAndZeroFill) {
    EXPECT_TRUE(JudgeBlockResult(0).failed);
    EXPECT_TRUE(JudgeBlockResult(1).failed);
    EXPECT_EQ(JudgeBlockResult(2).badRecords, 0);
    EXPECT_EQ(JudgeBlockResult(2 + 16 * 3).badRecords, 3);

    std::string reply;
    for (int r = 0; r < 64; ++r)
        reply += WithSum("%" + Hex4(100 + r) + Hex4(0xFFFF) + Hex4(r) + Hex4(0) + Hex4(0) + Hex4(0) +
                         Hex4(0) + Hex4(0) + Hex4(0xABCD));
    const auto good = ParseBlock(reply.data(), 9, JudgeBlockResult(2));
    ASSERT_EQ(good.size(), 64u);
    EXPECT_EQ(good[5][0], 105);
    EXPECT_EQ(good[5][1], 0xFFFF);
    EXPECT_EQ(good[63][8], 0xABCD);
    const auto bad = ParseBlock(reply.data(), 9, JudgeBlockResult(2 + 16 * 3));
    ASSERT_EQ(bad.size(), 64u);
    for (const RecordWords& words : bad)
        EXPECT_EQ(words, RecordWords{});

    const BlockVerdict read = JudgeBlockResult(2), stayedBad = JudgeBlockResult(2 + 16);
    StaleBlockGuard guard;
    EXPECT_FALSE(guard.Repeats(read, 0));
    EXPECT_TRUE(guard.Repeats(read, 0));
    EXPECT_FALSE(guard.Repeats(stayedBad, 0)) << "a bad block's zeros are no repeat of block 0";
    EXPECT_FALSE(guard.Repeats(stayedBad, 0)) << "nor of another bad block";
    EXPECT_TRUE(guard.Repeats(read, 0)) << "the last good block is still the one to compare with";
    EXPECT_FALSE(guard.Repeats(read, 64));
    guard.Reset();
    EXPECT_FALSE(guard.Repeats(read, 64));
}

TEST(TraceRecords, HalfRecordsOfEightChannels) {
    // Wide channels 2 and 5: channel 2 takes word 8, channel 5 word 7; 36 reads unsigned.
    const auto setup = MakeTraceChannelSetup(true, {36, 5, 1, 2, 47, 3, 4, 6}, {false, false, true, false});
    const RecordWords words = {9, 0xFFFF, 0x8001, 0xFFFE, 0x0010, 0x0002, 0x1234, 0x0003, 0xFFFF};
    SampleSet sets[2];
    ASSERT_EQ(DecodeHalfRecord(words, setup, sets), 1);
    EXPECT_EQ(sets[0][0], 65535);
    EXPECT_EQ(sets[0][1], static_cast<int32_t>(0xFFFF8001u));
    EXPECT_EQ(sets[0][2], 2) << "reversed";
    EXPECT_EQ(sets[0][3], 16);
    EXPECT_EQ(sets[0][4], 0x00030002);
    EXPECT_EQ(sets[0][7], -1) << "channel 8 is only ever a high word: taken as it is";

    // A fourth wide channel lies in no slot: its signed word, unconverted.
    const auto four = MakeTraceChannelSetup(true, {5, 5, 5, 5, 1, 1, 1, 1}, {});
    const RecordWords w4 = {0, 1, 2, 3, 0xFFFF, 0, 0xC, 0xB, 0xA};
    ASSERT_EQ(DecodeHalfRecord(w4, four, sets), 1);
    EXPECT_EQ(sets[0][0], 0x000A0001);
    EXPECT_EQ(sets[0][1], 0x000B0002);
    EXPECT_EQ(sets[0][2], 0x000C0003);
    EXPECT_EQ(sets[0][3], -1);
}

TEST(TraceRecords, HalfRecordsOfFourChannels) {
    const auto setup = MakeTraceChannelSetup(false, {51, 2, 3, 5}, {false, true, false, false});
    const RecordWords words = {7, 0x0001, 0x0005, 0x0006, 0xFFFF, 0x0002, 0x0007, 0x0008, 0x0004};
    SampleSet sets[2];
    ASSERT_EQ(DecodeHalfRecord(words, setup, sets), 2);
    EXPECT_EQ(sets[0][0], static_cast<int32_t>(0xFFFF0001u)) << "first set: high word is word 4";
    EXPECT_EQ(sets[0][1], -5);
    EXPECT_EQ(sets[0][2], 6);
    EXPECT_EQ(sets[0][3], -1) << "a wide channel 4 gives its signed word";
    EXPECT_EQ(sets[1][0], 0x00040002) << "second set: high word is word 8";
    EXPECT_EQ(sets[1][1], -7);
    EXPECT_EQ(sets[1][3], 4) << "word 8 always by channel 4's code";
}

TEST(TraceRecords, SegmentAndReReadRecords) {
    const RecordWords words = {3, 0x0001, 0x0002, 0x0003, 0x0004, 0xFFFF, 0x0006, 0x0007, 0xFFFF};
    const auto four = MakeTraceChannelSetup(false, {1, 2, 3, 5, 47, 6, 7, 36}, {});
    const SampleSet s4 = DecodeSegmentRecord(words, four);
    EXPECT_EQ(s4[3], 0x00030004) << "wide channel 4: word 3 high, word 4 low";
    EXPECT_EQ(s4[4], -1) << "wide channel 5 in four-channel mode: signed word";
    EXPECT_EQ(s4[7], 65535) << "word 8 by channel 8's code";
    const auto four1 = MakeTraceChannelSetup(false, {5, 2, 3, 4, 1, 1, 1, 1}, {});
    EXPECT_EQ(DecodeSegmentRecord(words, four1)[0], 0x00040001);

    const auto reread = MakeTraceChannelSetup(false, {5, 36, 3, 4}, {false, false, false, true});
    const RecordWords five = {0, 0xFFFF, 0xFFFF, 0x0003, 0x0004};
    const SampleSet r = DecodeReReadRecord(five, reread);
    EXPECT_EQ(r[0], -1) << "no 32-bit handling in the re-read";
    EXPECT_EQ(r[1], 65535);
    EXPECT_EQ(r[3], -4);
}

TEST(TraceRecords, ReversingTheLowest32BitValueGivesTheHighest) {
    // Words that make 0x80000000 on a reversed 32-bit channel: its opposite does not exist.
    SampleSet sets[2];
    const auto eight = MakeTraceChannelSetup(true, {5, 1, 1, 1, 1, 1, 1, 1}, {true});
    ASSERT_EQ(DecodeHalfRecord(RecordWords{0, 0, 0, 0, 0, 0, 0, 0, 0x8000}, eight, sets), 1);
    EXPECT_EQ(sets[0][0], INT32_MAX) << "eight channels";
    EXPECT_EQ(DecodeSegmentRecord(RecordWords{0, 0, 0, 0, 0, 0, 0, 0, 0x8000}, eight)[0], INT32_MAX);

    const auto four = MakeTraceChannelSetup(false, {5, 1, 1, 5, 1, 1, 1, 1}, {true, false, false, true});
    ASSERT_EQ(DecodeHalfRecord(RecordWords{0, 0, 0, 0, 0x8000, 0, 0, 0, 0x8000}, four, sets), 2);
    EXPECT_EQ(sets[0][0], INT32_MAX) << "four channels, first set";
    EXPECT_EQ(sets[1][0], INT32_MAX) << "four channels, second set";
    EXPECT_EQ(DecodeSegmentRecord(RecordWords{0, 1, 0, 0x8000, 0, 0, 0, 0, 0}, four)[3], INT32_MAX)
        << "wide channel 4 of a segment";

    const RecordWords box = {0, 0, 0, 0, 0, 0, 0, 0x8000, 0};
    EXPECT_EQ(DecodeBoxRecord(box, {25, 1, 1, 43}, {true, false, false, true}).channels,
              (std::array<int32_t, 4>{INT32_MAX, 0, 0, INT32_MAX}));
    // Every other value still reverses exactly.
    EXPECT_EQ(DecodeBoxRecord(RecordWords{0, 1, 0, 0, 0, 0, 0, 0x8000, 0}, {25, 1, 1, 1}, {true}).channels[0],
              0x7FFFFFFF);
}

TEST(TraceRecords, BlockAddressesAndSegments) {
    const auto half = HalfBlockAddresses(1, 2);
    EXPECT_EQ(half[0], 0x5080);
    EXPECT_EQ(half[1], 0x1280);
    EXPECT_EQ(half[8], 0x4680);
    EXPECT_EQ(SegmentBlockAddresses(5, 0)[0], 0x5080) << "segment 5 reads its numbers from 0x5080";
    EXPECT_EQ(SegmentBlockAddresses(5, 1)[2], 0x1400 + 5 * 128 + 64);
    EXPECT_EQ(SegmentBlockAddresses(3, 1)[0], 0x5000 + 3 * 128 + 64);
    EXPECT_EQ(ReReadBlockAddresses(1, 3), (std::array<uint16_t, 5>{0x50C0, 0x12C0, 0x16C0, 0x42C0, 0x46C0}));

    const std::pair<int, std::optional<int>> statuses[] = {
        {0, std::nullopt},   {255, std::nullopt},   {1, 0}, {6, 5}, {8, 7}, {9, std::nullopt},
        {254, std::nullopt}, {0xFFFF, std::nullopt}};
    for (auto [status, segment] : statuses)
        EXPECT_EQ(ReadySegment(status), segment) << "status " << status;
}

TEST(BoxRecords, AreasAndDecoding) {
    for (auto [type, area] : {std::pair{1, 0x6000},
                              {12, 0x6000},
                              {13, 0x6200},
                              {20, 0x6200},
                              {21, 0x6400},
                              {25, 0x6C00},
                              {26, 0x6E00},
                              {43, 0x9000},
                              {46, 0x9600},
                              {0, 0x6000},
                              {47, 0x6000}})
        EXPECT_EQ(BoxChannelBaseAddress(type), area) << type;
    EXPECT_EQ(BoxExtraType({21, 22, 23, 24}), 7);
    EXPECT_EQ(BoxExtraType({25, 22, 23, 24}), 26);
    EXPECT_EQ(BoxExtraType({43, 25, 23, 24}), 44);
    EXPECT_EQ(
        BoxBlockAddresses({3, 25, 13, 36}, 1),
        (std::array<uint16_t, 9>{0x5440, 0x6040, 0x6C40, 0x6240, 0x8240, 0x6040, 0x6040, 0x6E40, 0x6040}));

    const RecordWords words = {5, 0x0004, 0x0002, 0x8000, 0x0004, 0xFFFF, 1, 0xFFFF, 2};
    const BoxSample s = DecodeBoxRecord(words, {3, 25, 14, 3}, {false, true, false, false});
    EXPECT_EQ(s.channels[0], 1) << "input 3: its bit";
    EXPECT_EQ(s.channels[1], -static_cast<int32_t>(0xFFFF0002u)) << "32-bit type, reversed as a whole";
    EXPECT_EQ(s.channels[2], 0) << "output 2: bit 1 of 0x8000";
    EXPECT_EQ(s.channels[3], 1) << "the same type on channel 4: its bit too, never the whole word";
    EXPECT_EQ(s.extra, (std::array<int32_t, 4>{-1, 1, -1, 2}));
}

// ---- Graph services ----------------------------------------------------------------------------

TEST(GraphServices, PaletteIsThePickersColours) {
    for (unsigned i = 0; i < 15; ++i)
        EXPECT_EQ(ChannelColor(i), SwatchColours()[i]) << i;
    EXPECT_EQ(ChannelColor(0), 0x0000FFu);
    EXPECT_EQ(ChannelColor(15), 0xFFFFFFu);
    EXPECT_EQ(ChannelColor(static_cast<unsigned>(-1)), 0xFFFFFFu);
}

TEST(GraphServices, TimeDivisorByModeDriveAndSeries) {
    struct Case {
        int mode, version, series, divisor;
    } cases[] = {{0, 40, 1, 100}, {1, 60, 6, 100}, {-1, 55, 1, 100}, // Single, Cycle, none
                 {2, 55, 1, 10},  {2, 54, 1, 1},   {2, 54, 8, 10}};
    for (const Case& c : cases)
        EXPECT_EQ(TimeDisplayDivisorOf(c.mode, c.version, c.series), c.divisor) << c.mode << " " << c.version;
}

TEST(GraphServices, ScaleStepsAndDivisors) {
    const std::pair<int, int> steps[] = {{-7, 1},
                                         {0, 1},
                                         {5, 1},
                                         {6, 5},
                                         {10, 5},
                                         {11, 10},
                                         {50, 10},
                                         {51, 50},
                                         {4000, 1000},
                                         {4001, 4000},
                                         {200000, 100000},
                                         {200001, 200000},
                                         {10000001, 10000000},
                                         {50000000, 10000000},
                                         {50000001, 100000000}};
    for (auto [value, step] : steps)
        EXPECT_EQ(SelectScaleStep(value), step) << value;
    struct {
        const char* text;
        int value, divisor;
    } divisors[] = {{"AUTO", 999999, 1},  {"AUTO", 1000000, 1000}, {"AUTO", -10000000, 1000000},
                    {"auto", 5000000, 1}, {"10000", 5000000, 1},   {"100k", 0, 1000},
                    {"1M", 0, 1000000},   {"100M", 0, 1000000},    {"AUTO", -9999999, 1000}};
    for (const auto& d : divisors)
        EXPECT_EQ(AxisUnitDivisor(d.text, d.value), d.divisor) << d.text << " " << d.value;
    for (auto [stored, code] : {std::pair{8, 8}, {9, 34}, {10, 35}, {11, 9}, {36, 34}, {-3, -3}})
        EXPECT_EQ(TraceFileChannelCode(stored), code) << stored;
}

TEST(GraphServices, NearestStepTop) {
    struct {
        int value, count, step, top;
    } cases[] = {{23, 10, 10, 70},
                 {25, 10, 10, 70},
                 {-25, 10, 10, 30},
                 {30, 10, 10, 80},
                 {500, 3, 10, 70},
                 {500, 0, 10, 50},
                 {-500, -1, 10, 50},
                 {0, 10, 7, 35},
                 // A slider of half a billion steps (a channel at scale 1): found at once.
                 {123457, 499999995, 2, 123466},
                 {123456789, 499999995, 7, 123456823},
                 {-123456789, 499999995, 7, -123456753}};
    for (const auto& c : cases)
        EXPECT_EQ(NearestStepTop(c.value, c.count, c.step), c.top)
            << c.value << "," << c.count << "," << c.step;
}

// ---- Captions ----------------------------------------------------------------------------------

class Captions : public ::testing::Test {
protected:
    ScopedResourceModule module{CResourceModule::LoadLibrary(kResourceLibraryName)};
};

TEST_F(Captions, TraceSourceTitlesAndUnits) {
    std::array<int, 24> dio{};
    dio[0] = 2;          // input 1: function 1
    dio[12] = 0x100 + 4; // output 1: function 3 inverted
    dio[18] = 5;         // output 5: function 4
    struct {
        int code;
        std::string title;
    } titles[] = {{0, " "},
                  {1, "Speed Command"},
                  {8, "U Phase Current Feedback"},
                  {35, "Position reference speed command(acc. and dec.)"},
                  {36, "Main Loop (Vdc Bus) Voltage "},
                  {43, "d Axis Current Command"},
                  {48, "Encoder pulse absolute value Un25"},
                  {51, "Following Error"},
                  {9, "DI-1 - " + DiFunctionName(1)},
                  {21, "DO-1 - " + DoFunctionName(3)},
                  {25, "DO-5 - " + DoFunctionName(4)},
                  {53, "Debug5 - "},
                  {29, "Debug1 - "},
                  {52, "Debug24 - "}};
    for (const auto& t : titles)
        EXPECT_EQ(ChannelSourceTitle(t.code, dio), t.title) << t.code;
    struct {
        int code, model;
        const char* unit;
    } units[] = {{1, 0x0202, "rpm"}, {2, 0x3101, "mm/s"}, {34, 0x4000, "mm/s"}, {8, 0, "%"},
                 {48, 0, "pulse"},   {37, 0, "degree"},   {36, 0, "V"},         {46, 0, "rev"},
                 {49, 0, " "},       {0, 0, " "},         {60, 0, " "}};
    for (const auto& u : units)
        EXPECT_EQ(ChannelSourceUnit(u.code, u.model), u.unit) << u.code;
}

TEST_F(Captions, BoxSignalNamesAndUnits) {
    std::array<int, 24> words{};
    words[2] = 0x103; // input 3: function 2
    words[12] = 1;    // output 1: function 0
    words[19] = 9;    // output 8: function 8
    EXPECT_EQ(BoxChannelSignalName(0, words), "none");
    EXPECT_EQ(BoxChannelUnitName(0, 0), " ");
    EXPECT_EQ(BoxChannelSignalName(47, words), "Debug1 - ");
    EXPECT_EQ(BoxChannelUnitName(47, 0), "pulse");
    EXPECT_EQ(BoxChannelSignalName(49, words), "Debug3 - ");
    EXPECT_EQ(BoxChannelUnitName(49, 0), " ");
    EXPECT_EQ(BoxChannelSignalName(3, words), "DI-3 - " + DiFunctionName(2));
    EXPECT_EQ(BoxChannelSignalName(1, words), "DI-1 - " + DiFunctionName(-1));
    EXPECT_EQ(BoxChannelSignalName(13, words), "DO-1 - " + DoFunctionName(0));
    EXPECT_EQ(BoxChannelSignalName(20, words), "DO-8 - " + DoFunctionName(8));
    EXPECT_EQ(BoxChannelSignalName(27, words), "Electrical Angle");
    EXPECT_EQ(BoxChannelSignalName(44, words), BoxChannelSignalName(43, words));
    EXPECT_EQ(BoxChannelUnitName(21, 0x3456), "mm/s");
    EXPECT_EQ(BoxChannelUnitName(21, 0x5456), "rpm");
    EXPECT_EQ(BoxChannelUnitName(42, 0), "rev");
    EXPECT_EQ(BoxChannelUnitName(32, 0), "V");
}

TEST(AcquisitionStore, NumberedRecordingsTakeEveryChannelFromItsMirrorQueue) {
    HandOverRules rules;
    rules.pointCount = 4;
    rules.boundChannelQueues = true;
    rules.mirror = true;
    StagedSamples staged;
    for (int i = 0; i < 6; ++i)
        staged.rows.push_back({i, true, {i, 10 + i, 20 + i, 30 + i, 40 + i, 50 + i, 60 + i, 70 + i}, 8});
    staged.pendingIncrement = 6;
    AppendStaged(staged, rules);
    EXPECT_EQ(ChannelDeques[1].size(), 4u) << "a full channel queue drops further samples";
    EXPECT_EQ(ChannelDeques[MirrorSlot(7)].size(), 6u) << "the mirror is not bounded";
    const auto lists = TakeMirrorSamples(8);
    EXPECT_EQ(lists[4], (std::vector<int32_t>{40, 41, 42, 43, 44, 45, 0, 0}));
    EXPECT_EQ(lists[7][5], 75);
    EXPECT_TRUE(ChannelDeques[MirrorSlot(5)].empty());
    ClearChannelDeques({0, 1, 2, 5, 6, 7, 8, 9, 10});
    PendingSampleCount = 0;
}

TEST_F(Captions, TriggerSummaryKeepsTheSourceInRangeAndNamesTheEdge) {
    const std::array<int, 8> sources{1, 0, 0, 0, 0, 0, 0, 0};
    struct {
        int source, level, edge;
        TriggerSummaryTexts expected;
    } cases[] = {
        {1, 500, 0, {1, 500, "Speed Command ", " 500 rpm", "Rise", "7"}},
        {2, -3, 1, {2, -3, "  ", " -3  ", "Fall", "7"}}, // a channel without a source
        {9, 40, 5, {9, 0, "  ", "", "Rise/Fall", "7"}},  // no channel: no level
        {16, 40, 0, {0, 0, "  ", "", "", ""}},           // out of range: none
        {-1, 40, 0, {0, 0, "  ", "", "", ""}},
    };
    for (const auto& c : cases) {
        const TriggerSummaryTexts t = TriggerSummary(c.source, c.level, c.edge, 7, sources, {}, 0x0202);
        EXPECT_EQ(t.triggerSource, c.expected.triggerSource) << c.source;
        EXPECT_EQ(t.triggerLevel, c.expected.triggerLevel) << c.source;
        EXPECT_EQ(t.signal, c.expected.signal) << c.source;
        EXPECT_EQ(t.level, c.expected.level) << c.source;
        EXPECT_EQ(t.edge, c.expected.edge) << c.source;
        EXPECT_EQ(t.position, c.expected.position) << c.source;
    }
}
