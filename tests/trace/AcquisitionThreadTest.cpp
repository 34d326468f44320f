// The acquisition threads against the simulated drive over a pseudo-terminal: what they send, in
// what order, what they hand over, how they stop and how they end on a lost link.
#include "trace/AcquisitionThreads.h"
#include "trace/ThreadStop.h"
#include "trace/TraceArming.h"

#include "tests/support/DriveLink.h"
#include "tests/support/TestTime.h"
#include "tests/trace/DriveRecords.h"
#include "tests/trace/TraceTestSupport.h"

#include "link/InternalCode.h"
#include "sim/FaultSpec.h"
#include "sim/SimMachine.h"
#include "sim/SimProtocol.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

using namespace tracetest;

namespace {

void ResetStore() {
    ClearChannelDeques({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18});
    PendingSampleCount = 0;
    ChecksumErrorCount = 0;
    StopEvent.ResetEvent();
}

// Sources whose recorded words are known: a debug source counts the mechanism's 50 us steps times
// a factor, so consecutive samples differ by a fixed amount.
constexpr int kDebugSource = 29; // drive code 21: step count x 6
constexpr int kDebugFactor = 6;

// Where a record word lands: the queue of `slot`, as the unsigned word or sign-extended.
struct SlotWord {
    int slot;
    int word;
    bool isUnsigned = false;
};

// Every sample the program holds equals what the drive sent, in order, and there are at least
// atLeast of them in every queue.
void ExpectTheDriveSamples(const std::vector<RecordWords>& sent, const std::vector<SlotWord>& slots,
                           size_t atLeast) {
    for (const SlotWord& s : slots) {
        const auto& queue = ChannelDeques[static_cast<size_t>(s.slot)];
        EXPECT_GE(queue.size(), atLeast) << "slot " << s.slot;
        ASSERT_LE(queue.size(), sent.size()) << "slot " << s.slot;
        for (size_t i = 0; i < queue.size(); ++i) {
            const uint16_t word = sent[i][static_cast<size_t>(s.word)];
            const int32_t expected = s.isUnsigned ? word : static_cast<int16_t>(word);
            if (queue[i] != expected) {
                ADD_FAILURE() << "slot " << s.slot << ", sample " << i << ": " << queue[i]
                              << ", the drive sent " << expected;
                break;
            }
        }
    }
}

// The trace sources used below, in eight channels: channel 5 (code 36) is taken unsigned.
constexpr std::array<int, 8> kPlainSources = {kDebugSource, 2, 3, 4, 36, 6, 7, 8};
const std::vector<SlotWord> kTraceSlots = {
    {SampleIndexSlot, 0, true}, {1, 1}, {2, 2}, {5, 3}, {6, 4}, {7, 5, true}, {8, 6}, {9, 7}, {10, 8}};

SimFault ParsedFault(const char* spec) {
    std::vector<SimFault> faults;
    EXPECT_TRUE(sim::ParseFaultSpec(spec, faults)) << spec;
    return faults.empty() ? SimFault{} : faults.front();
}

void AddFaults(CSimDrive& drive, const char* spec) {
    std::vector<SimFault> faults;
    EXPECT_TRUE(sim::ParseFaultSpec(spec, faults)) << spec;
    for (const SimFault& fault : faults)
        drive.AddFault(fault);
}

// Blocks 1, 2 and 7 of the lower half damaged on every read: two in a row after block 0, whose
// first sample number is 0 like a zero block's, and the last before the upper half, whose numbers
// start at 0 again.
constexpr const char* kThreeBlocksStayBad = "corrupt:block@1040#3,corrupt:block@1080#3,corrupt:block@11C0#3";

} // namespace

class AcquisitionThreads : public ::testing::Test {
protected:
    explicit AcquisitionThreads(int series = 4) : drive(series), machine(drive), server(drive) {}

    void SetUp() override {
        ResetStore();
        ASSERT_TRUE(LinkToSimulatedDrive(server));
        drive.SetServoOn(true);
        machine.SetDemonstrationProfile(true); // records of a moving motor: every sample tells
    }
    void TearDown() override {
        if (thread)
            StopThread();
        UnlinkSimulatedDrive(server);
        ResetStore();
    }

    TraceThreadSettings Settings(int mode, bool eight, std::array<int, 8> sources) {
        TraceThreadSettings s;
        s.link = &link;
        s.linkMutex = &linkMutex;
        s.traceMode = mode;
        s.eightChannels = eight;
        s.sources = sources;
        s.pointCount = mode == TraceModeMonitor ? MonitorPointCount : (eight ? 1024 : 2048);
        s.statusValueD4 = drive.GetRegister(0x0F04);
        s.driveIdWord = drive.GetRegister(0x171E);
        s.seriesCode = drive.Series();
        return s;
    }

    void Arm(const TraceThreadSettings& s, int interval = 1) {
        TraceArmingSettings arming;
        arming.traceMode = s.traceMode;
        arming.eightChannels = s.eightChannels;
        arming.sources = s.sources;
        arming.interval = interval;
        const ArmingOutcome outcome = RunArmingRequests(link, BuildArmingRequests(arming));
        ASSERT_EQ(outcome.failure, ArmingFailure::None);
        drive.ClearLog();
    }

    template <typename T, typename S> void Start(const S& settings) {
        thread.reset(AfxBeginThread<T>([&](T& t) { t.Settings = settings; }));
        ASSERT_TRUE(thread);
    }

    // The thread's exit code once it ended by itself (bounded wait).
    DWORD WaitForEnd(DWORD ms = 20000) {
        EXPECT_EQ(thread->Wait(ms), WAIT_OBJECT_0) << "the thread did not end";
        return thread->ExitCode();
    }

    // What the window's stop does: signal until the thread has gone, within a bound.
    DWORD StopThread() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (thread->IsRunning() && std::chrono::steady_clock::now() < end) {
            StopEvent.SetEvent();
            thread->Wait(10);
        }
        EXPECT_FALSE(thread->IsRunning()) << "the thread did not stop";
        const DWORD code = thread->ExitCode();
        thread.reset();
        StopEvent.ResetEvent();
        return code;
    }

    // Waits (bounded) until the drive's clock has passed the time or the predicate holds.
    template <typename P> bool WaitUntil(P done, int seconds = 60) {
        const auto end =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(ScaledMs(1000 * seconds));
        while (!done()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    bool LinkMutexIsFree() {
        // Another thread's ownership would make this wait fail.
        if (linkMutex.Lock(0)) {
            linkMutex.Unlock();
            return true;
        }
        return false;
    }

    std::vector<std::string> RequestsOfKind(char first, char second) {
        std::vector<std::string> out;
        for (const std::string& r : drive.RequestLog())
            if (r.size() >= 2 && r[0] == first && r[1] == second)
                out.push_back(r);
        return out;
    }

    CSimDrive drive;
    CSimMachine machine;
    CSimPtyServer server;
    CInternalCode link;
    CMutex linkMutex;
    std::unique_ptr<CWinThread> thread;
};

static std::string HalfBlockRequest(int half, int block) {
    const auto a = HalfBlockAddresses(half, block);
    return ReadFrame({a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]});
}

static void ExpectSteadySteps(const std::deque<int32_t>& queue, int step, const char* what) {
    ASSERT_GT(queue.size(), 1u) << what;
    for (size_t i = 1; i < queue.size(); ++i)
        if (static_cast<int16_t>(queue[i] - queue[i - 1]) != step) {
            ADD_FAILURE() << what << ": sample " << i << " steps by " << queue[i] - queue[i - 1];
            return;
        }
}

TEST_F(AcquisitionThreads, SingleCaptureReadsTheWholeRecordInOrder) {
    struct Case {
        bool eight;
        size_t perChannel;
        int step; // debug counter step between samples: 100 us (eight) or 50 us (four) per sample
    } cases[] = {{true, 1024, 2 * kDebugFactor}, {false, 2048, kDebugFactor}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.eight ? "eight channels" : "four channels");
        ResetStore();
        const auto s = Settings(TraceModeSingle, c.eight, {1, 2, 3, kDebugSource, 36, 6, 7, kDebugSource});
        Arm(s);
        machine.Advance(250000); // the record is complete before the thread starts
        Start<CMyThread>(s);
        EXPECT_EQ(WaitForEnd(), AcquisitionEndCode);
        thread.reset();

        const auto log = drive.RequestLog();
        ASSERT_EQ(log.size(), 1u + 16u + 1u);
        EXPECT_EQ(log.front(), ReadFrame({0x1503}));
        for (int half = 0; half < 2; ++half)
            for (int block = 0; block < 8; ++block)
                EXPECT_EQ(log[1 + 8 * half + block], HalfBlockRequest(half, block));
        EXPECT_EQ(log.back(), WriteFrame({{0x1505, 0}}));

        for (int slot : {1, 2, 5, 6})
            EXPECT_EQ(ChannelDeques[slot].size(), c.perChannel) << "slot " << slot;
        EXPECT_EQ(ChannelDeques[7].size(), c.eight ? c.perChannel : 0u);
        EXPECT_EQ(ChannelDeques[SampleIndexSlot].size(), std::min<size_t>(1024, c.perChannel));
        EXPECT_EQ(PendingSampleCount.load(), 1024);
        ExpectSteadySteps(ChannelDeques[6], c.step, "debug channel 4");
        EXPECT_TRUE(LinkMutexIsFree());
    }
}

TEST_F(AcquisitionThreads, CycleReadsTwoHalvesThenAcknowledgesAndHandsOverInOneHold) {
    const auto s = Settings(TraceModeCycle, true, {kDebugSource, 2, 3, 4, 36, 6, 7, 8});
    Arm(s);
    machine.Advance(250000);
    // The window holds the lock meanwhile: the thread reads the whole buffer without it.
    ASSERT_TRUE(linkMutex.Lock(0));
    Start<CMyThread>(s);
    const std::string ack = WriteFrame({{0x1503, 2}});
    ASSERT_TRUE(WaitUntil([&] {
        const auto log = drive.RequestLog();
        return std::find(log.begin(), log.end(), ack) != log.end();
    }));
    EXPECT_TRUE(ChannelDeques[1].empty()) << "nothing may be handed over without the lock";
    linkMutex.Unlock();
    ASSERT_TRUE(WaitUntil([] { return PendingSampleCount.load() >= 1024; }, 20));
    EXPECT_EQ(StopThread(), AcquisitionEndCode);

    // Blocks of the lower half, a status read, the upper half, then the acknowledgement.
    std::vector<std::string> expected;
    for (int block = 0; block < 8; ++block)
        expected.push_back(HalfBlockRequest(0, block));
    expected.push_back(ReadFrame({0x1503}));
    for (int block = 0; block < 8; ++block)
        expected.push_back(HalfBlockRequest(1, block));
    expected.push_back(ack);
    const auto log = drive.RequestLog();
    auto first = std::find(log.begin(), log.end(), expected.front());
    ASSERT_NE(first, log.end());
    EXPECT_EQ(std::vector<std::string>(first, first + static_cast<long>(expected.size())), expected);
    EXPECT_EQ(ChannelDeques[1].size(), 1024u) << "a full queue takes no more";
    ExpectSteadySteps(ChannelDeques[1], 2 * kDebugFactor, "debug channel 1");
    EXPECT_TRUE(LinkMutexIsFree());
}

// A line that damages a share of the block answers (one wrong digit in one record): the thread
// reads such a block again and keeps every sample the drive sent; only a block that stays bad is
// counted and stands as zeros.
TEST_F(AcquisitionThreads, ADamagedBlockIsReadAgainAndEverySampleIsTheDrives) {
    struct Case {
        int mode;
        const char* fault;
        int stayedBad;
    } const cases[] = {
        {TraceModeSingle, "corrupt=10:block~11", 0},
        {TraceModeCycle, "corrupt=10:block~5", 0},
        // The first block damaged three times running: the first read and both re-reads.
        {TraceModeSingle, "corrupt:block#3", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        ResetStore();
        drive.ClearFaults();
        const auto s = Settings(c.mode, true, kPlainSources);
        Arm(s);
        machine.Advance(250000);
        drive.AddFault(ParsedFault(c.fault));
        Start<CMyThread>(s);
        if (c.mode == TraceModeSingle) {
            EXPECT_EQ(WaitForEnd(), AcquisitionEndCode);
            thread.reset();
        } else {
            ASSERT_TRUE(WaitUntil([] { return PendingSampleCount.load() >= 1024; }, 20));
            EXPECT_EQ(StopThread(), AcquisitionEndCode);
        }
        const DriveRecords sent = RecordsTheDriveSent(drive.Log());
        EXPECT_GT(sent.damaged, 0) << "the line damaged nothing: the test shows nothing";
        EXPECT_EQ(sent.stayedBad, c.stayedBad);
        EXPECT_EQ(ChecksumErrorCount.load(), c.stayedBad) << "one wrong digit is one bad record";
        ExpectTheDriveSamples(sent.records, kTraceSlots, 1024);
        if (c.stayedBad > 0) {
            EXPECT_EQ(ChannelDeques[1][63], 0) << "the block that stayed bad stands as zeros";
            EXPECT_NE(ChannelDeques[1][64], 0);
        }
    }
}

// Both Monitor hand-overs: series 3 (older firmware) takes halves, series 4 takes segments.
class MonitorThreads : public AcquisitionThreads, public ::testing::WithParamInterface<int> {
protected:
    MonitorThreads() : AcquisitionThreads(GetParam()) {}
};

// Memory that fills in real time, answers that take their wire time at 115200 baud: the paused
// status polls lose nothing and stay few.
TEST_P(MonitorThreads, RealTimeOverTheWireWithoutAGapOrARepeat) {
    auto s = Settings(TraceModeMonitor, true, {kDebugSource, 2, 3, 4, 36, 6, 7, 8});
    EXPECT_EQ(CMyThread::UsesSegments(s), GetParam() != 3);
    // A record every 5 ms (39 characters each, two thirds of the wire) where Monitor counts the
    // interval in milliseconds; every 10 ms on the older drive, which counts it in 10 ms.
    const bool older = GetParam() == 3;
    const int64_t recordUs = older ? 10000 : 5000;
    s.interval = older ? 1 : 5;
    drive.SetWireBaud(115200);
    Arm(s, s.interval);
    machine.SetRealTime(true);
    Start<CMyThread>(s);
    const int64_t runUs = 640 * recordUs; // five hand-overs of 128 records
    ASSERT_TRUE(WaitUntil([&] { return machine.NowUs() >= runUs; }, 120));
    EXPECT_EQ(StopThread(), AcquisitionEndCode);

    const auto& numbers = ChannelDeques[SampleIndexSlot];
    ASSERT_GE(numbers.size(), 512u);
    for (size_t i = 1; i < numbers.size(); ++i)
        if (static_cast<uint16_t>(numbers[i] - numbers[i - 1]) != 1) {
            ADD_FAILURE() << "sample number " << numbers[i - 1] << " followed by " << numbers[i];
            break;
        }
    EXPECT_EQ(numbers.front(), 0);
    EXPECT_EQ(machine.TraceDroppedRecords(), 0);
    EXPECT_EQ(ChannelDeques[1].size(), numbers.size());
    ExpectSteadySteps(ChannelDeques[1], static_cast<int>(recordUs / CSimMechanism::StepUs) * kDebugFactor,
                      "debug channel 1");
    const auto writes = RequestsOfKind('W', '1');
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.front(), WriteFrame({{0x1503, GetParam() == 3 ? 2u : 255u}}));
    // Polling at once would be hundreds a second; paused, no more than the pause lets through.
    const auto log = drive.RequestLog();
    EXPECT_LT(std::count(log.begin(), log.end(), ReadFrame({0x1503})),
              runUs / 1000 / CMyThread::NotReadyPauseMs(s) + 40);
}

// Four channels: every record gives each of the four shown channels one sample, and nothing piles
// up in the queues of channels 5 to 8, which the window does not take in this mode.
TEST_P(MonitorThreads, FourChannelsHandOverFourQueuesInStep) {
    auto s = Settings(TraceModeMonitor, false, {kDebugSource, 2, 3, 4, 36, 6, 7, 8});
    s.interval = 1;
    Arm(s, s.interval);
    machine.SetRealTime(true);
    Start<CMyThread>(s);
    // Past the first hand-over: 128 samples of 1 ms, or on the older drive 128 records of two
    // 10 ms samples.
    const int64_t runUs = GetParam() == 3 ? 3000000 : 1000000;
    ASSERT_TRUE(WaitUntil([&] { return machine.NowUs() >= runUs; }, 60));
    EXPECT_EQ(StopThread(), AcquisitionEndCode);

    const size_t samples = ChannelDeques[static_cast<size_t>(ChannelSlots[0])].size();
    ASSERT_GT(samples, 0u);
    for (size_t ch = 1; ch < 4; ++ch)
        EXPECT_EQ(ChannelDeques[static_cast<size_t>(ChannelSlots[ch])].size(), samples)
            << "channel " << ch + 1;
    for (size_t ch = 4; ch < 8; ++ch)
        EXPECT_TRUE(ChannelDeques[static_cast<size_t>(ChannelSlots[ch])].empty()) << "channel " << ch + 1;
}

TEST_P(MonitorThreads, ADamagedBlockIsReadAgainAndEverySampleIsTheDrives) {
    const auto s = Settings(TraceModeMonitor, true, kPlainSources);
    Arm(s);
    // A half or segment fills in a few requests, whichever unit the drive counts Monitor in.
    machine.SetStepPerRequest(32 * CSimTrace::MonitorUnitUs(drive.GetRegister(0x0F04), GetParam()));
    drive.AddFault(ParsedFault("corrupt=10:block~11"));
    Start<CMyThread>(s);
    ASSERT_TRUE(WaitUntil([] { return PendingSampleCount.load() >= 2048; }, 30));
    EXPECT_EQ(StopThread(), AcquisitionEndCode);
    const DriveRecords sent = RecordsTheDriveSent(drive.Log());
    EXPECT_GT(sent.damaged, 0);
    EXPECT_EQ(sent.stayedBad, 0);
    EXPECT_EQ(ChecksumErrorCount.load(), 0);
    ExpectTheDriveSamples(sent.records, kTraceSlots, 2048);
}

// Block 1 of the first half or segment stays bad right after block 0, which starts at sample 0: it
// stands as zeros in its place and the samples after it keep theirs.
TEST_P(MonitorThreads, ABlockThatStaysBadStandsAsZerosInItsPlace) {
    const auto s = Settings(TraceModeMonitor, true, kPlainSources);
    Arm(s);
    machine.SetStepPerRequest(32 * CSimTrace::MonitorUnitUs(drive.GetRegister(0x0F04), GetParam()));
    AddFaults(drive, "corrupt:block@1040#3");
    Start<CMyThread>(s);
    ASSERT_TRUE(WaitUntil([] { return PendingSampleCount.load() >= 512; }, 30));
    EXPECT_EQ(StopThread(), AcquisitionEndCode);
    const DriveRecords sent = RecordsTheDriveSent(drive.Log());
    EXPECT_EQ(sent.stayedBad, 1);
    EXPECT_EQ(ChecksumErrorCount.load(), 1);
    ExpectTheDriveSamples(sent.records, kTraceSlots, 512);
    EXPECT_EQ(ChannelDeques[1][64], 0) << "the bad block at its place";
}

INSTANTIATE_TEST_SUITE_P(Series, MonitorThreads, ::testing::Values(3, 4));

TEST_F(AcquisitionThreads, StopEndsAPollingThreadWithinOnePass) {
    for (int mode : {TraceModeSingle, TraceModeCycle, TraceModeMonitor}) {
        SCOPED_TRACE(mode);
        ResetStore();
        const auto s = Settings(mode, true, {1, 2, 3, 4, 36, 6, 7, 8});
        Arm(s); // the clock stands still: nothing is ever ready
        Start<CMyThread>(s);
        ASSERT_TRUE(WaitUntil([&] { return drive.RequestCount() > 3; }, 10));
        const auto before = std::chrono::steady_clock::now();
        StopEvent.SetEvent();
        EXPECT_EQ(WaitForEnd(5000), AcquisitionEndCode);
        EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
        thread.reset();
        EXPECT_TRUE(RequestsOfKind('R', '9').empty());
    }
}

// A quarter of the next hand-over at the rate the drive samples in the mode: Monitor counts the
// interval in 1 ms on drives from software 55 on and on series 6, 8 and 9, in 10 ms on the others.
TEST(AcquisitionPause, AQuarterOfTheNextHandOverAtTheDrivesSampleRate) {
    constexpr DWORD cap = CMyThread::NotReadyPauseCapMs;
    struct Case {
        int mode;
        bool eight;
        int interval;
        int version; // dn-04
        int series;
        DWORD pauseMs;
    } cases[] = {
        {TraceModeMonitor, true, 1, 120, 4, 32}, // 128 records of 1 ms
        {TraceModeMonitor, true, 1, 55, 3, 32},
        {TraceModeMonitor, true, 1, 54, 6, 32},
        {TraceModeMonitor, true, 3, 120, 4, 96},
        {TraceModeMonitor, true, 0, 120, 4, 32},  // interval 0 records as 1
        {TraceModeMonitor, true, 1, 54, 3, cap},  // 10 ms a record: 1.28 s a hand-over
        {TraceModeMonitor, false, 1, 54, 6, 64},  // four channels in halves: two samples a record
        {TraceModeMonitor, false, 1, 120, 4, 32}, // four channels in segments: one
        // Single and Cycle: 100 us a record with either channel count (one sample of 100 us or
        // two of 50 us), half a record of 512 at a time; the Monitor unit plays no part.
        {TraceModeSingle, true, 1, 120, 4, 12},
        {TraceModeCycle, false, 1, 120, 4, 12},
        {TraceModeCycle, true, 1, 52, 3, 12},
        {TraceModeSingle, true, 7, 120, 4, 89}, // 358.4 ms, rounded down: never later than a quarter
        {TraceModeSingle, false, 8, 120, 4, cap},
    };
    for (const Case& c : cases) {
        TraceThreadSettings s;
        s.traceMode = c.mode;
        s.eightChannels = c.eight;
        s.interval = c.interval;
        s.statusValueD4 = c.version;
        s.seriesCode = c.series;
        EXPECT_EQ(CMyThread::NotReadyPauseMs(s), c.pauseMs)
            << c.mode << " " << c.eight << " " << c.interval << " " << c.version << " " << c.series;
    }
}

// A drive that counts Monitor in milliseconds hands over 128 records every 128 ms at interval 1:
// the thread asks for the status a few times a hand-over, not hundreds, and loses no sample.
TEST_F(AcquisitionThreads, MonitorAtIntervalOnePollsAFewTimesAHandOverAndLosesNothing) {
    auto s = Settings(TraceModeMonitor, true, kPlainSources);
    ASSERT_TRUE(CMyThread::UsesSegments(s));
    s.interval = 1;
    Arm(s, s.interval);
    machine.SetRealTime(true);
    Start<CMyThread>(s);
    ASSERT_TRUE(WaitUntil([&] { return machine.TraceRecords() >= 10 * 128; }, 60));
    EXPECT_EQ(StopThread(), AcquisitionEndCode);

    const auto log = drive.RequestLog();
    const auto polls = std::count(log.begin(), log.end(), ReadFrame({0x1503}));
    const auto handOvers = std::count(log.begin(), log.end(), WriteFrame({{0x1503, 255}}));
    ASSERT_GE(handOvers, 8);
    // One poll finds the segment ready, about four come while the next one fills.
    EXPECT_LE(polls, 6 * (handOvers + 1)) << polls << " status polls for " << handOvers << " hand-overs";

    const auto& numbers = ChannelDeques[SampleIndexSlot];
    ASSERT_GE(numbers.size(), static_cast<size_t>(handOvers) * 128);
    EXPECT_EQ(numbers.front(), 0);
    for (size_t i = 1; i < numbers.size(); ++i)
        if (static_cast<uint16_t>(numbers[i] - numbers[i - 1]) != 1) {
            ADD_FAILURE() << "sample number " << numbers[i - 1] << " followed by " << numbers[i];
            break;
        }
    EXPECT_EQ(machine.TraceDroppedRecords(), 0);
    EXPECT_EQ(ChannelDeques[1].size(), numbers.size());
}

// A slow line, each block answer seconds on the wire: a stop while a block comes in ends the
// thread with that block, well before another block could have come, and nothing more is sent.
TEST_F(AcquisitionThreads, StopInTheMiddleOfASlowBlockEndsWithThatBlock) {
    constexpr auto kBlockTime = std::chrono::milliseconds(3000);
    ASSERT_EQ(PortObject.SetupReadTimer(4800, ScaledMs(177)), ErrNone) << "time-outs of a slow line";
    drive.AddFault(
        {.kind = SimFaultKind::Slow, .requestKind = SimRequestKind::MakerBlockRead, .delay = kBlockTime});
    for (int mode : {TraceModeSingle, TraceModeCycle, TraceModeMonitor}) {
        SCOPED_TRACE(mode);
        ResetStore();
        const auto s = Settings(mode, true, {1, 2, 3, 4, 36, 6, 7, 8});
        Arm(s);
        machine.Advance(250000); // a record (or segment) waits
        Start<CMyThread>(s);
        ASSERT_TRUE(WaitUntil([&] { return !RequestsOfKind('R', '9').empty(); }, 20));
        drive.ClearLog();
        const auto stopped = std::chrono::steady_clock::now();
        StopEvent.SetEvent();
        EXPECT_EQ(WaitForEnd(ScaledMs(20000)), AcquisitionEndCode);
        EXPECT_LT(std::chrono::steady_clock::now() - stopped, kBlockTime * 3 / 2)
            << "the block under way, not one more";
        thread.reset();
        EXPECT_TRUE(RequestsOfKind('R', '9').empty()) << "no block after the one under way";
        EXPECT_TRUE(RequestsOfKind('W', '1').empty()) << "no acknowledgement, no disarm after a stop";
        EXPECT_TRUE(LinkMutexIsFree());
    }
}

// A window gives its thread at least the time one block read may take on the line as the port is
// set: on a slow line more than the block's own time on the wire.
TEST_F(AcquisitionThreads, AStopWaitsForTheBlockUnderWayHoweverSlowTheLine) {
    EXPECT_EQ(StopBoundMs(0), 0u) << "no wait stays no wait";
    EXPECT_GE(StopBoundMs(AcquisitionStopBoundMs), AcquisitionStopBoundMs);
    for (int baud : {4800, 9600}) {
        ASSERT_EQ(PortObject.SetupReadTimer(baud, 177), ErrNone);
        const DWORD wireMs = 2536 * 10 * 1000 / static_cast<DWORD>(baud);
        EXPECT_GT(StopBoundMs(AcquisitionStopBoundMs), wireMs + 177) << baud;
    }
}

TEST_F(AcquisitionThreads, ALostLinkEndsTheThreadWithoutTheLock) {
    // A block read that finds the port gone.
    const auto s = Settings(TraceModeSingle, true, {1, 2, 3, 4, 36, 6, 7, 8});
    Arm(s);
    machine.Advance(250000);
    drive.AddFault(
        {.kind = SimFaultKind::DropLink, .requestKind = SimRequestKind::MakerBlockRead, .skip = 3});
    Start<CMyThread>(s);
    EXPECT_EQ(WaitForEnd(), AcquisitionEndCode);
    thread.reset();
    EXPECT_EQ(ConnectedFlag.load(), 0);
    EXPECT_TRUE(LinkMutexIsFree());
    EXPECT_EQ(ChannelDeques[1].size(), 3u * 64u) << "the blocks read before stay";
}

TEST_F(AcquisitionThreads, SegmentPollsEndWhenTheViewFindsTheLinkLost) {
    const auto s = Settings(TraceModeMonitor, true, {1, 2, 3, 4, 36, 6, 7, 8});
    Arm(s);
    drive.AddFault({.kind = SimFaultKind::Silent});
    Start<CMyThread>(s);
    ASSERT_TRUE(WaitUntil([&] { return drive.RequestCount() >= 2; }, 10));
    // The view's supervision drops the link while the thread polls.
    ConnectedFlag = 0;
    PortObject.Close();
    EXPECT_EQ(WaitForEnd(5000), AcquisitionEndCode);
    thread.reset();
    EXPECT_TRUE(LinkMutexIsFree());
}

TEST_F(AcquisitionThreads, ReReadJudgesFiveWordRecordsAndKeepsTheirData) {
    const auto s = Settings(TraceModeSingle, true, {kDebugSource, 2, 3, 4, 36, 6, 7, 8});
    Arm(s);
    machine.Advance(250000);
    auto reread = s;
    reread.reRead = true;
    reread.eightChannels = false;
    Start<CMyThread>(reread);
    EXPECT_EQ(WaitForEnd(), AcquisitionEndCode);
    thread.reset();
    const auto blocks = RequestsOfKind('R', '5');
    ASSERT_EQ(blocks.size(), 16u);
    EXPECT_EQ(blocks[9], ReadFrame({0x5040, 0x1240, 0x1640, 0x4240, 0x4640}));
    EXPECT_EQ(drive.RequestCount(), 16u) << "no status read, no write";
    EXPECT_EQ(ChecksumErrorCount.load(), 0);
    ASSERT_EQ(ChannelDeques[1].size(), 1024u);
    ExpectSteadySteps(ChannelDeques[1], 2 * kDebugFactor, "channel 1 of the re-read");
}

TEST_F(AcquisitionThreads, NotConnectedReturnsEarlyAndSignalsTheStop) {
    ConnectedFlag = 0;
    Start<CMyThread>(Settings(TraceModeSingle, true, {}));
    EXPECT_NE(WaitForEnd(), AcquisitionEndCode);
    thread.reset();
    EXPECT_TRUE(IsStopRequested());
    EXPECT_EQ(drive.RequestCount(), 0u);
}

// ---- Box ---------------------------------------------------------------------------------------

class BoxThread : public AcquisitionThreads {
protected:
    void ArmRecorder() {
        for (auto [address, value] :
             {std::pair{0x1525, 0}, {0x1526, 0}, {0x1527, 1}, {0x1521, 0}, {0x1523, 0}, {0x1525, 1}}) {
            char request[12], reply[2];
            CInternalCode::BuildWriteWord(request, static_cast<uint16_t>(address), value);
            ASSERT_EQ(link.SendCommand(request, 12, reply, 1), ReplyWritten);
        }
        machine.Advance(60000); // 512 samples of 100 us
        drive.ClearLog();
    }
    BoxThreadSettings Box(std::array<int, 4> types) {
        BoxThreadSettings b;
        b.link = &link;
        b.linkMutex = &linkMutex;
        b.types = types;
        return b;
    }
};

TEST_F(BoxThread, OneRecordIsOnePollEightBlocksAndTheDisarm) {
    ArmRecorder();
    const std::array<int, 4> types = {21, 25, 3, 32};
    Start<CBOXThread>(Box(types));
    EXPECT_EQ(WaitForEnd(), AcquisitionEndCode);
    thread.reset();
    const auto log = drive.RequestLog();
    ASSERT_EQ(log.size(), 10u);
    EXPECT_EQ(log[0], ReadFrame({0x1523}));
    for (int block = 0; block < 8; ++block) {
        const auto a = BoxBlockAddresses(types, block);
        EXPECT_EQ(log[1 + block], ReadFrame({a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]}));
    }
    EXPECT_EQ(log[9], WriteFrame({{0x1525, 0}}));
    ASSERT_EQ(ChannelDeques[SampleIndexSlot].size(), 512u);
    for (int k = 0; k < 512; ++k)
        ASSERT_EQ(ChannelDeques[SampleIndexSlot][k], k);
    for (int slot : {1, 2, 5, 6, 7, 8, 9, 10})
        EXPECT_EQ(ChannelDeques[slot].size(), 512u) << slot;
    for (int32_t bit : ChannelDeques[5])
        ASSERT_TRUE(bit == 0 || bit == 1);
    EXPECT_TRUE(std::any_of(ChannelDeques[6].begin(), ChannelDeques[6].end(), [](int32_t v) {
        return v > 280;
    })) << "the bus voltage";
}

TEST_F(BoxThread, ABadBlockIsReadTwiceMoreThenCountedAndStandsAsZeros) {
    ArmRecorder();
    // Record 3 of block 2, bad however often it is read.
    drive.AddFault({.kind = SimFaultKind::BadChecksum,
                    .address = 0x5483,
                    .requestKind = SimRequestKind::MakerBlockRead});
    const std::array<int, 4> types = {21, 22, 23, 32};
    Start<CBOXThread>(Box(types));
    EXPECT_EQ(WaitForEnd(), AcquisitionEndCode);
    thread.reset();
    const auto blocks = RequestsOfKind('R', '9');
    ASSERT_EQ(blocks.size(), 10u);
    const auto a = BoxBlockAddresses(types, 2);
    const std::string block2 = ReadFrame({a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]});
    EXPECT_EQ(std::count(blocks.begin(), blocks.end(), block2), 3) << "read, then read again twice";
    EXPECT_EQ(ChecksumErrorCount.load(), 1);
    ASSERT_EQ(ChannelDeques[6].size(), 512u);
    for (int k = 128; k < 192; ++k)
        ASSERT_EQ(ChannelDeques[6][k], 0) << "block 2 stands as zeros";
    EXPECT_GT(ChannelDeques[6][10], 0);
}

TEST_F(BoxThread, ADamagedBlockIsReadAgainAndEverySampleIsTheDrives) {
    ArmRecorder();
    drive.AddFault(ParsedFault("corrupt=25:block~2"));
    Start<CBOXThread>(Box({21, 22, 23, 32}));
    EXPECT_EQ(WaitForEnd(), AcquisitionEndCode);
    thread.reset();
    const DriveRecords sent = RecordsTheDriveSent(drive.Log());
    EXPECT_GT(sent.damaged, 0);
    EXPECT_EQ(sent.stayedBad, 0);
    EXPECT_EQ(ChecksumErrorCount.load(), 0);
    // Types 21 and up are whole signed words on every channel.
    ExpectTheDriveSamples(
        sent.records,
        {{SampleIndexSlot, 0, true}, {1, 1}, {2, 2}, {5, 3}, {6, 4}, {7, 5}, {8, 6}, {9, 7}, {10, 8}}, 512);
}

// Blocks that stay bad after their re-reads stand as zeros at their own places of the record;
// every other row holds the drive's sample of that row, in a Single or Cycle record and in the box
// recorder's.
TEST_F(BoxThread, BlocksThatStayBadStandAsZerosInTheirPlaces) {
    const std::vector<SlotWord> boxSlots = {
        {SampleIndexSlot, 0, true}, {1, 1}, {2, 2}, {5, 3}, {6, 4}, {7, 5}, {8, 6}, {9, 7}, {10, 8}};
    struct Case {
        int mode; // -1: the box recorder
        const char* fault;
        int stayedBad;
        size_t rows;
    } const cases[] = {
        {TraceModeSingle, kThreeBlocksStayBad, 3, 1024},
        {TraceModeCycle, kThreeBlocksStayBad, 3, 1024},
        // The box's blocks 1 and 2, after block 0 whose first sample number is 0.
        {-1, "corrupt:block@5440#3,corrupt:block@5480#3", 2, 512},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        ResetStore();
        drive.ClearFaults();
        if (c.mode < 0) {
            ArmRecorder();
            AddFaults(drive, c.fault);
            Start<CBOXThread>(Box({21, 22, 23, 32}));
        } else {
            const auto s = Settings(c.mode, true, kPlainSources);
            Arm(s);
            machine.Advance(250000);
            AddFaults(drive, c.fault);
            Start<CMyThread>(s);
        }
        if (c.mode == TraceModeCycle) {
            ASSERT_TRUE(WaitUntil([] { return PendingSampleCount.load() >= 1024; }, 20));
            EXPECT_EQ(StopThread(), AcquisitionEndCode);
        } else {
            EXPECT_EQ(WaitForEnd(), AcquisitionEndCode);
            thread.reset();
        }
        const DriveRecords sent = RecordsTheDriveSent(drive.Log());
        EXPECT_EQ(sent.stayedBad, c.stayedBad);
        EXPECT_EQ(ChecksumErrorCount.load(), c.stayedBad);
        EXPECT_EQ(ChannelDeques[1].size(), c.rows) << "every row of the record";
        ExpectTheDriveSamples(sent.records, c.mode < 0 ? boxSlots : kTraceSlots, c.rows);
        for (int row : {64, 127, 128, 191})
            EXPECT_EQ(ChannelDeques[1][static_cast<size_t>(row)], 0) << "row " << row;
        if (c.mode >= 0) {
            EXPECT_EQ(ChannelDeques[1][448], 0) << "block 7 in its place";
        }
        EXPECT_NE(ChannelDeques[1][192], 0) << "block 3 in its place";
    }
}

// Every answer the corrupt fault damages fails the program's record check.
TEST(CorruptFault, EveryDamagedBlockFailsTheRecordCheck) {
    CSimDrive drive(4);
    drive.AddFault(ParsedFault("corrupt:block~9"));
    for (const char* request : {"R9500010001200140016004000420044004600", "R550001000140040004400"}) {
        const std::string frame = WithSum(request);
        const int length = 4 * (request[1] - '0') + 3;
        for (int i = 0; i < 500; ++i) {
            const std::string reply = drive.Handle(frame);
            ASSERT_EQ(reply.size(), 64u * static_cast<size_t>(length));
            ASSERT_EQ(CInternalCode::JudgeRecordBlock(frame.c_str(), static_cast<int>(frame.size()),
                                                      reply.c_str(), 64 * length),
                      2 + 16)
                << reply;
        }
    }
}
