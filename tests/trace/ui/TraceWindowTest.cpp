// The wave trace window as a user drives it: START in each mode against the simulated drive (the
// requests that reached it, in order), what the display shows, the failures of arming, closing a
// running window, the resize layout on the real template, and the picture.
#include "tests/trace/ui/TraceWindowFixture.h"

#include "layout/TraceLayoutTable.h"
#include "resources/ids/trace.h"
#include "sim/FaultSpec.h"
#include "tests/layout/LayoutTableText.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/LabelFit.h"
#include "tests/support/MessageProbe.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TestTime.h"
#include "tests/trace/DriveRecords.h"
#include "tests/trace/TraceTestSupport.h"
#include "trace/DisplayRing.h"

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

using namespace tracetest;

namespace {

constexpr std::array<int, 8> kSources = {1, 2, 3, 5, 6, 7, 36, 37};

// START's requests for a set-up, as the drive must see them.
std::vector<std::string> ArmingFrames(int mode, bool eight, const std::array<int, 8>& driveCodes,
                                      int interval) {
    std::vector<std::string> frames = {WriteFrame({{0x1505, 0}}), WriteFrame({{0x1503, 0}}),
                                       WriteFrame({{0x150E, eight ? 8u : 4u}}),
                                       WriteFrame({{0x1502, static_cast<unsigned>(mode)}})};
    auto pair = [&](int a, int b) { return static_cast<unsigned>(driveCodes[b] * 256 + driveCodes[a]); };
    frames.push_back(WriteFrame({{0x150A, pair(0, 1)}, {0x150B, pair(2, 3)}}));
    frames.push_back(WriteFrame({{0x1507, static_cast<unsigned>(interval)}, {0x1501, 0}}));
    if (eight)
        frames.push_back(WriteFrame({{0x150C, pair(4, 5)}, {0x150D, pair(6, 7)}}));
    if (mode != TraceModeMonitor) {
        frames.push_back(WriteFrame({{0x1506, 0}, {0x1504, 0}}));
        frames.push_back(WriteFrame({{0x1509, 0}, {0x1508, 0}}));
    }
    frames.push_back(WriteFrame({{0x1505, 1}}));
    return frames;
}

// Drive codes of kSources: 1 -> 25, 2 -> 26, 3 -> 27, 5 -> 29 (wide: its high word 30 on channel 8),
// 6 -> 31, 7 -> 32, 36, 37 unchanged.
constexpr std::array<int, 8> kDriveCodesEight = {25, 26, 27, 29, 31, 32, 36, 30};

// Colours as the screen shows them: near enough, each of red, green and blue within 0x30.
bool Near(QRgb pixel, uint32_t rgb) {
    auto close = [](int a, int b) { return std::abs(a - b) <= 0x30; };
    return close(qRed(pixel), static_cast<int>((rgb >> 16) & 0xFF)) &&
           close(qGreen(pixel), static_cast<int>((rgb >> 8) & 0xFF)) &&
           close(qBlue(pixel), static_cast<int>(rgb & 0xFF));
}

std::vector<std::string> Tail(const std::vector<std::string>& log, size_t n) {
    return {log.end() - static_cast<long>(std::min(n, log.size())), log.end()};
}

} // namespace

TEST(DisplayRing, RollMovesTheStartAndKeepsTheLength) {
    DisplayRing ring;
    ring.Assign(4);
    for (int v : {1, 2, 3, 4, 5, 6})
        ring.Roll(v);
    EXPECT_EQ(ring.Size(), 4);
    EXPECT_EQ(ring.ToVector(), (std::vector<int32_t>{3, 4, 5, 6}));
    EXPECT_EQ(ring.Front(), 3);
    EXPECT_EQ(ring.At(-1), 0);
    EXPECT_EQ(ring.At(4), 0) << "beyond the array reads 0";
    ring.Set(0, 9);
    EXPECT_EQ(ring.At(0), 9);
    ring.Assign(0);
    ring.Roll(1); // an empty ring takes nothing
    EXPECT_EQ(ring.Size(), 0);
}

// The plot's per-column extremes: the same as a walk through the accessor, wherever the ring's start
// stands and however long the stretch (the scan goes eight samples at a time).
TEST(DisplayRing, MinMaxAgreesWithTheAccessorAcrossTheWrap) {
    DisplayRing ring;
    ring.Assign(37);
    for (int k = 0; k < 37 + 23; ++k) // the start stands at 23
        ring.Roll(static_cast<int32_t>((k * 7919) % 201) - 100);
    struct Case {
        int first, end;
    } cases[] = {{0, 37}, {0, 14}, {10, 20}, {12, 15}, {13, 14}, {5, 36}, {-5, 3}, {30, 50}};
    for (const Case& c : cases) {
        int32_t low = 0, high = 0;
        ring.MinMax(c.first, c.end, low, high);
        const int first = std::max(c.first, 0), end = std::min(c.end, ring.Size());
        int32_t expectLow = ring.At(first), expectHigh = ring.At(first);
        for (int i = first; i < end; ++i) {
            expectLow = std::min(expectLow, ring.At(i));
            expectHigh = std::max(expectHigh, ring.At(i));
        }
        EXPECT_EQ(low, expectLow) << c.first << ".." << c.end;
        EXPECT_EQ(high, expectHigh) << c.first << ".." << c.end;
    }
    int32_t low = 5, high = 5;
    ring.MinMax(20, 20, low, high);
    EXPECT_EQ(low, 0) << "an empty stretch";
    EXPECT_EQ(high, 0);
}

class TraceWindow : public TraceWindowFixture {};

TEST_F(TraceWindow, TemplateHoldsEveryControlOfTheLayoutTable) {
    ASSERT_NE(Open(), nullptr);
    int missing = 0;
    for (const LayoutEntry& entry : TraceLayoutTable)
        if (window->GetDlgItem(entry.controlId) == nullptr) {
            ADD_FAILURE() << "template 150 lacks " << entry.controlId;
            ++missing;
        }
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(window->GetWindowText(), "Wave Trace");
    EXPECT_FALSE(ui::Enabled(*window, IDC_TG_START)) << "no set-up yet";
}

TEST_F(TraceWindow, ResizingFollowsTheWrittenLayoutTableAndRestores) {
    ASSERT_NE(Open(), nullptr);
    const auto written =
        ReadWrittenLayoutTable(std::string(KELO_SOURCE_DIR) + "/tests/fixtures/layout/trace_layout_table.md");
    ASSERT_EQ(written.size(), 136u);
    auto rects = [&] {
        std::map<int, CRect> out;
        for (const auto& [id, modes] : written) {
            CRect r;
            window->GetDlgItem(id)->GetWindowRect(&r);
            window->ScreenToClient(&r);
            out[id] = r;
        }
        return out;
    };
    const auto before = rects();
    CRect frame;
    window->GetWindowRect(&frame);
    window->MoveWindow(frame.left, frame.top, frame.Width() + 100, frame.Height() + 50);
    Pump();
    const auto grown = rects();
    for (const auto& [id, modes] : written) {
        CRect expected = before.at(id);
        if (modes.horizontal == AxisMode::Move)
            expected.OffsetRect(100, 0);
        else if (modes.horizontal == AxisMode::Stretch)
            expected.right += 100;
        if (modes.vertical == AxisMode::Move)
            expected.OffsetRect(0, 50);
        else if (modes.vertical == AxisMode::Stretch)
            expected.bottom += 50;
        EXPECT_EQ(grown.at(id), expected) << "control " << id;
    }
    EXPECT_GT(PlotZoom, 1.0f);
    EXPECT_TRUE(std::isfinite(PlotZoom));
    window->MoveWindow(frame.left, frame.top, frame.Width(), frame.Height());
    Pump();
    EXPECT_EQ(rects(), before);
    EXPECT_FLOAT_EQ(PlotZoom, 1.0f);
}

TEST_F(TraceWindow, TheSmallestWindowShowsEveryControlWhole) {
    ASSERT_NE(Open(), nullptr);
    window->MoveWindow(0, 0, CTraceGraphDlg::ZoomOneClient.cx + 4, CTraceGraphDlg::ZoomOneClient.cy + 4);
    Pump();
    CRect client;
    window->GetClientRect(&client);
    ASSERT_EQ(client.Size(), CTraceGraphDlg::ZoomOneClient) << "the frame the pixel tests assume";
    EXPECT_TRUE(ui::ControlsClearOfTheEdges(*window));
}

TEST_F(TraceWindow, SizingBelowTheSmallestWindowIsRefused) {
    ASSERT_NE(Open(), nullptr);
    struct Case {
        UINT side;
        CRect proposed;
        CRect kept;
    } cases[] = {
        {WMSZ_RIGHT, CRect(0, 0, 700, 700), CRect(0, 0, 880, 700)},
        {WMSZ_LEFT, CRect(100, 0, 800, 700), CRect(-80, 0, 800, 700)},
        {WMSZ_BOTTOM, CRect(0, 0, 900, 500), CRect(0, 0, 900, 650)},
        {WMSZ_TOPLEFT, CRect(0, 0, 2000, 2000), CRect(820, 1150, 2000, 2000)},
    };
    for (const Case& c : cases) {
        CRect rect = c.proposed;
        window->SendMessage(WM_SIZING, c.side, reinterpret_cast<LPARAM>(&rect));
        EXPECT_EQ(rect, c.kept) << c.side;
    }
}

TEST_F(TraceWindow, SingleStartSendsTheArmingSequenceFillsTheRecordAndStopsByItself) {
    UseSetup(TraceModeSingle, true, kSources);
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(ui::Enabled(*window, IDC_TG_START));
    drive->ClearLog();
    ui::Press(*window, IDC_TG_START);
    EXPECT_TRUE(window->Running());
    EXPECT_TRUE(view.acquiring);
    EXPECT_EQ(Requests(), ArmingFrames(TraceModeSingle, true, kDriveCodesEight, 1));
    EXPECT_TRUE(window->HasTimer(TraceStartTimer));
    EXPECT_FALSE(ui::Enabled(*window, IDC_TG_OPEN)) << "files wait while running";
    machine->Advance(250000); // the record is complete before the thread reads it
    Fire(TraceStartTimer);
    EXPECT_TRUE(window->HasTimer(TraceSingleTimer));
    ASSERT_TRUE(FireUntil(TraceSingleTimer, [&] { return !window->Running(); }));
    EXPECT_FALSE(view.acquiring);
    EXPECT_FALSE(window->HasThread());
    EXPECT_EQ(Tail(Requests(), 2),
              (std::vector<std::string>{WriteFrame({{0x1505, 0}}), WriteFrame({{0x1503, 0}})}));
    EXPECT_EQ(window->Display(0).Size(), 1024);
    const auto samples = window->Display(0).ToVector();
    EXPECT_TRUE(std::any_of(samples.begin(), samples.end(), [](int32_t v) { return v != 0; }))
        << "the speed command was recorded";
    EXPECT_TRUE(ui::Enabled(*window, IDC_TG_OPEN));
    EXPECT_EQ(window->CheckErrorText(), "CheckNG:0");
}

TEST_F(TraceWindow, MonitorScrollsAndStopWritesTheStopRegisters) {
    UseSetup(TraceModeMonitor, false, {1, 2, 3, 6, 0, 0, 0, 0});
    machine->SetStepPerRequest(2000);
    ASSERT_NE(Open(), nullptr);
    // "Trace Parameter..." is a plain button: painted while the run greys it, it must not stay grey.
    QWidget* parameters = window->GetDlgItem(IDC_TG_PARAMETERS)->GetWidget();
    const QImage parametersBefore = parameters->grab().toImage();
    drive->ClearLog();
    ui::Press(*window, IDC_TG_START);
    EXPECT_NE(parameters->grab().toImage(), parametersBefore) << "greyed while running";
    const auto arming = Requests();
    ASSERT_FALSE(arming.empty());
    EXPECT_EQ(arming.back(), WriteFrame({{0x1505, 1}}));
    EXPECT_EQ(std::count_if(arming.begin(), arming.end(),
                            [](const std::string& r) { return r.find("1506") != std::string::npos; }),
              0)
        << "Monitor sends no trigger";
    Fire(TraceStartTimer);
    ASSERT_TRUE(window->HasTimer(TraceMonitorTimer));
    const int32_t newestBefore = window->Display(0).At(MonitorPointCount - 1);
    ASSERT_TRUE(FireUntil(TraceMonitorTimer, [&] {
        return window->Display(0).At(MonitorPointCount - 1) != newestBefore ||
               window->Display(1).At(MonitorPointCount - 1) != 0;
    }));
    EXPECT_EQ(window->Display(0).Size(), MonitorPointCount) << "the display rolls at its length";
    drive->ClearLog();
    PressStopAndWait();
    EXPECT_FALSE(window->HasThread());
    EXPECT_EQ(Tail(Requests(), 2),
              (std::vector<std::string>{WriteFrame({{0x1505, 0}}), WriteFrame({{0x1503, 0}})}));
    EXPECT_FALSE(window->HasTimer(TraceMonitorTimer));
    for (int id : {IDC_TG_START, IDC_TG_OPEN, IDC_TG_SAVE_AS, IDC_TG_SAVE, IDC_TG_SETTING, IDC_TG_PARAMETERS})
        EXPECT_TRUE(ui::Enabled(*window, id)) << id << " after STOP";
    EXPECT_EQ(parameters->grab().toImage(), parametersBefore) << "\"Trace Parameter...\" looks enabled again";
}

// A slow line, each block answer 3.5 s on the wire (longer than the 3 s a stop waits at the least),
// memory filling in real time: STOP while a block comes in returns at once, the window keeps
// handling messages while the block still comes, the run ends with that block (well before another
// could have come, and without giving up on it), a press meanwhile is dropped, and the only writes
// after STOP are the stop registers.
TEST_F(TraceWindow, StopDuringASlowBlockEndsWithThatBlockKeepsTheWindowAnsweringAndNeverArms) {
    using Clock = std::chrono::steady_clock;
    constexpr auto kBlockTime = std::chrono::milliseconds(3500);
    ASSERT_EQ(PortObject.SetupReadTimer(4800, ScaledMs(177)), ErrNone) << "time-outs of a slow line";
    MessageProbe probe;
    machine->SetRealTime(true);
    drive->AddFault(
        {.kind = SimFaultKind::Slow, .requestKind = SimRequestKind::MakerBlockRead, .delay = kBlockTime});
    auto count = [](const std::vector<std::string>& log, const char* prefix) {
        return std::count_if(log.begin(), log.end(),
                             [&](const std::string& r) { return r.rfind(prefix, 0) == 0; });
    };
    for (int mode : {TraceModeSingle, TraceModeCycle, TraceModeMonitor}) {
        SCOPED_TRACE(mode);
        UseSetup(mode, true, kSources);
        ASSERT_NE(Open(), nullptr);
        ui::Press(*window, IDC_TG_START);
        Fire(TraceStartTimer);
        ASSERT_TRUE(window->HasThread());
        // The first block is on its way.
        ASSERT_TRUE(SpinUntil([&] { return count(Requests(), "R9") >= 1; }));
        drive->ClearLog();

        const Clock::time_point pressed = Clock::now();
        ui::Press(*window, IDC_TG_START);
        EXPECT_LT(Clock::now() - pressed, kBlockTime / 2) << "STOP does not wait for the block";
        EXPECT_TRUE(window->Stopping());
        EXPECT_FALSE(ui::Enabled(*window, IDC_TG_START));
        // A click that was on its way before the button went grey.
        window->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TG_START, BN_CLICKED), 0);
        probe.Post();
        ASSERT_TRUE(SpinUntil([&] { return probe.Handled(); }));
        EXPECT_TRUE(window->Stopping()) << "messages are handled while the block still comes in";

        ASSERT_TRUE(SpinUntil([&] { return !window->Running(); }));
        EXPECT_LT(Clock::now() - pressed, kBlockTime * 3 / 2) << "the block under way, not one more";
        EXPECT_TRUE(messages->Shown().empty()) << "the stop was seen through";
        EXPECT_TRUE(ui::Enabled(*window, IDC_TG_START));
        EXPECT_FALSE(window->HasThread());
        Pump(300); // anything still on its way
        const auto log = Requests();
        EXPECT_EQ(count(log, "R9"), 0) << "no block after the one under way";
        const std::vector<std::string> stopWrites = {WriteFrame({{0x1505, 0}}), WriteFrame({{0x1503, 0}})};
        for (const std::string& request : log) {
            if (request[0] == 'W') {
                EXPECT_NE(std::find(stopWrites.begin(), stopWrites.end(), request), stopWrites.end())
                    << request;
            }
        }
        EXPECT_EQ(Tail(log, 2), stopWrites);
        window->CloseWindow();
        Pump();
        window = nullptr;
    }
}

// A line that damages a share of the block answers (one wrong digit in one record): the window
// draws what the drive sampled, sample for sample; a block that stays bad however often it is read
// is counted in "CheckNG" and stands as zeros.
TEST_F(TraceWindow, ADamagedBlockIsReadAgainSoTheWindowShowsTheDrivesSamples) {
    struct Case {
        int mode;
        const char* fault;
        int stayedBad;
    } const cases[] = {
        {TraceModeMonitor, "corrupt=10:block~11", 0},
        {TraceModeSingle, "corrupt:block#3", 1}, // the first block, read three times
        // Blocks 1, 2 and 7 of the lower half: each stands in its own rows, the rest in theirs.
        {TraceModeSingle, "corrupt:block@1040#3,corrupt:block@1080#3,corrupt:block@11C0#3", 3},
    };
    machine->SetStepPerRequest(2000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        UseSetup(c.mode, true, kSources);
        ASSERT_NE(Open(), nullptr);
        window->MoveWindow(0, 0, 1000, 650);
        ui::Press(*window, IDC_TG_START);
        std::vector<SimFault> faults;
        ASSERT_TRUE(sim::ParseFaultSpec(c.fault, faults));
        for (const SimFault& fault : faults)
            drive->AddFault(fault);
        drive->ClearLog();
        Fire(TraceStartTimer);
        if (c.mode == TraceModeMonitor) {
            ASSERT_TRUE(FireUntil(TraceMonitorTimer, [&] {
                const auto log = drive->Log();
                return std::count_if(log.begin(), log.end(), [](const SimLogEntry& e) {
                           return e.kind == SimRequestKind::MakerBlockRead;
                       }) >= 40;
            }));
            PressStopAndWait();
        } else {
            ASSERT_TRUE(FireUntil(TraceSingleTimer, [&] { return !window->Running(); }));
        }
        const DriveRecords sent = RecordsTheDriveSent(drive->Log());
        EXPECT_GT(sent.damaged, 0);
        EXPECT_EQ(sent.stayedBad, c.stayedBad);
        EXPECT_EQ(window->CheckErrorText(), "CheckNG:" + std::to_string(c.stayedBad));
        // Channels 1 to 3 show their words as the drive sent them (signed), from the first on; the
        // newest at the end.
        for (int ch = 0; ch < 3; ++ch) {
            const DisplayRing& shown = window->Display(ch);
            const int count = shown.Rolled();
            EXPECT_GE(count, 1024);
            ASSERT_LE(static_cast<size_t>(count), sent.records.size());
            const int first = shown.Size() - count;
            for (int i = 0; i < count; ++i) {
                const auto word = sent.records[static_cast<size_t>(i)][static_cast<size_t>(ch) + 1];
                if (shown.At(first + i) != static_cast<int16_t>(word)) {
                    ADD_FAILURE() << "channel " << ch + 1 << ", sample " << i << " shows "
                                  << shown.At(first + i) << ", the drive sent " << static_cast<int16_t>(word);
                    break;
                }
            }
        }
        if (c.stayedBad == 1) {
            EXPECT_EQ(window->Display(0).At(63), 0) << "the block that stayed bad";
            ui::Screenshot(*window, "trace_single_check_ng");
        }
        CloseForNextCase();
        drive->ClearFaults();
    }
}

// The drive stalls in the middle of a Monitor run (memory filling in real time): the run ends with
// the lost-link message, and the window is left stopped and usable.
// The view tells the user of the lost link once; the window's own "Communicate Error!" would be a
// second box for the same loss.
TEST_F(TraceWindow, AFreezeDuringMonitorEndsTheRunAndLeavesTheLostLinkMessageToTheView) {
    UseSetup(TraceModeMonitor, true, kSources, 10);
    machine->SetRealTime(true);
    ASSERT_NE(Open(), nullptr);
    ui::Press(*window, IDC_TG_START);
    Fire(TraceStartTimer);
    ASSERT_TRUE(SpinUntil([&] { return window->Display(0).At(MonitorPointCount - 1) != 0; }));
    messages->Clear();
    drive->Freeze(std::chrono::seconds(6));
    ASSERT_TRUE(SpinUntil([&] { return !window->Running(); }));
    EXPECT_TRUE(messages->Shown().empty());
    EXPECT_EQ(ConnectedFlag.load(), 0);
    EXPECT_FALSE(window->HasThread());
    EXPECT_FALSE(window->HasTimer(TraceMonitorTimer));
    EXPECT_TRUE(ui::Enabled(*window, IDC_TG_START));
    EXPECT_TRUE(ui::Enabled(*window, IDC_TG_OPEN)) << "the files are the user's again";
    EXPECT_FALSE(view.acquiring);
}

TEST_F(TraceWindow, ClosingARunningWindowStopsTheDriveBeforeItGoes) {
    UseSetup(TraceModeMonitor, true, kSources);
    machine->SetStepPerRequest(2000);
    ASSERT_NE(Open(), nullptr);
    ui::Press(*window, IDC_TG_START);
    Fire(TraceStartTimer);
    ASSERT_TRUE(window->HasThread());
    Fire(TraceMonitorTimer);
    drive->ClearLog();
    CTraceGraphDlg* closing = window;
    window->CloseWindow();
    Pump();
    EXPECT_FALSE(IsOpen());
    window = nullptr;
    EXPECT_EQ(view.closed, std::vector<CTraceGraphDlg*>{closing});
    const auto log = Requests();
    ASSERT_GE(log.size(), 2u);
    EXPECT_NE(std::find(log.begin(), log.end(), WriteFrame({{0x1505, 0}})), log.end());
    EXPECT_EQ(log.back(), WriteFrame({{0x1503, 0}}));
    EXPECT_FALSE(view.acquiring);
    EXPECT_TRUE(ReapEndedThreads()) << "no thread outlives the window";
}

TEST_F(TraceWindow, ArmingFailuresGiveTheirMessageAndState) {
    struct Case {
        uint16_t refused;
        std::string message; // "" for none
        bool runningAfter;
    } cases[] = {
        {0x1502, "", false},
        {0x1507,
         "servo trigger parameters"
         "Over Range!!\n\n",
         false},
        {0x150C,
         "servo trigger parameters"
         "Over Range!!\n\n",
         false},
        {0x1506,
         "servo trigger parameters"
         "trigger parameters"
         "Over Range!!\n\n",
         false},
        {0x150A, "setup command send error!", true},
    };
    for (const Case& c : cases) {
        UseSetup(TraceModeCycle, true, kSources);
        ASSERT_NE(Open(), nullptr);
        messages->Clear();
        drive->RefuseAddress(c.refused);
        ui::Press(*window, IDC_TG_START);
        const auto shown = messages->Shown();
        if (c.message.empty()) {
            EXPECT_TRUE(shown.empty()) << std::hex << c.refused;
        } else {
            ASSERT_EQ(shown.size(), 1u) << std::hex << c.refused;
            EXPECT_EQ(shown[0].text, c.message);
        }
        EXPECT_EQ(window->Running(), c.runningAfter) << std::hex << c.refused;
        EXPECT_FALSE(window->HasTimer(TraceStartTimer));
        drive->RefuseAddress(c.refused, false);
        if (window->Running()) {
            drive->ClearLog();
            ui::Press(*window, IDC_TG_START); // the next press stops
            EXPECT_FALSE(window->Running());
            EXPECT_EQ(Tail(Requests(), 2),
                      (std::vector<std::string>{WriteFrame({{0x1505, 0}}), WriteFrame({{0x1503, 0}})}));
        }
        window->CloseWindow();
        Pump();
        window = nullptr;
    }
}

TEST_F(TraceWindow, PictureWithoutDataShowsGridTicksAndBorders) {
    ASSERT_NE(Open(), nullptr);
    window->MoveWindow(0, 0, 1000, 650);
    Pump();
    ASSERT_FLOAT_EQ(PlotZoom, 1.0f);
    const QImage image = window->GetWidget()->grab().toImage();
    const CPoint o = window->PlotOrigin();
    auto at = [&](int x, int y) { return image.pixel(o.x + x, o.y + y); };
    constexpr uint32_t white = 0xFFFFFF;
    constexpr uint32_t black = 0x000000;
    // Dotted grid: a dot every 7 pixels on the grid lines, black between.
    EXPECT_TRUE(Near(at(7, 45), white));
    EXPECT_TRUE(Near(at(14, 45), white));
    EXPECT_TRUE(Near(at(10, 45), black));
    EXPECT_TRUE(Near(at(45, 7 * 3), white));
    // The bottom axis and its ticks.
    EXPECT_TRUE(Near(at(100, 450), white));
    // No data: the border lines stand apart from the plot (buffer x 12 and 55).
    EXPECT_TRUE(Near(at(12 - PlotBufferLeft, 100), white));
    EXPECT_TRUE(Near(at(55 - PlotBufferLeft, 100), white));
    EXPECT_TRUE(Near(at(0, 100), black)) << "no border at the plot's edge without data";
}

TEST_F(TraceWindow, ASineChannelIsDrawnInItsColour) {
    OpenWithSingleRecord({1, 0, 0, 0, 0, 0, 0, 0});
    if (HasFatalFailure())
        return;
    Pump();
    const QImage image = window->GetWidget()->grab().toImage();
    const CPoint o = window->PlotOrigin();
    int red = 0;
    for (int x = 1; x < 450; ++x)
        for (int y = 0; y <= 450; ++y)
            if (Near(image.pixel(o.x + x, o.y + y), 0xFF0000))
                ++red;
    EXPECT_GT(red, 100) << "channel 1 (0x0000FF as COLORREF) is drawn across the plot";
}

TEST_F(TraceWindow, SaveAsNamesTheWindowOnlyWhenWrittenAndAZoomedRecordingReopensZoomed) {
    UseSetup(TraceModeSingle, true, {1, 2, 0, 0, 0, 0, 0, 0});
    ASSERT_NE(Open(), nullptr);
    ui::Press(*window, IDC_TG_START);
    machine->Advance(250000);
    Fire(TraceStartTimer);
    ASSERT_TRUE(FireUntil(TraceSingleTimer, [&] { return !window->Running(); }));
    const std::vector<int32_t> recorded = window->Display(0).ToVector();
    ui::Press(*window, IDC_TG_ZOOM_IN);
    ASSERT_TRUE(window->Zoomed());
    const float zoomedDivision = window->TimePerDivision();

    // A folder that does not exist: the write fails, the user is told, the caption stays.
    messages->AnswerFile(home_->Path("missing/run.trd"));
    ui::Press(*window, IDC_TG_SAVE_AS);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_NE(messages->Shown()[0].text.find("could not be saved"), std::string::npos);
    EXPECT_EQ(window->GetWindowText(), "Wave Trace");
    EXPECT_TRUE(window->TitleText().empty());

    const std::string path = home_->Path("run.trd");
    messages->AnswerFile(path);
    ui::Press(*window, IDC_TG_SAVE_AS);
    EXPECT_EQ(window->GetWindowText(), "Wave Trace - [" + path + "]");
    window->CloseWindow();
    Pump();

    ASSERT_NE(Open(), nullptr);
    messages->Clear();
    messages->AnswerFile(path);
    ui::Press(*window, IDC_TG_OPEN);
    EXPECT_TRUE(messages->Shown().empty());
    EXPECT_TRUE(window->Zoomed());
    EXPECT_FLOAT_EQ(window->TimePerDivision(), zoomedDivision);
    EXPECT_TRUE(ui::Enabled(*window, IDC_TG_ZOOM_OUT));
    const auto reopened = window->Display(0).ToVector();
    ASSERT_GE(reopened.size(), recorded.size());
    EXPECT_TRUE(std::equal(recorded.begin(), recorded.end(), reopened.begin()));
    EXPECT_EQ(window->GetWindowText(), "Wave Trace - [" + path + "]");
}

TEST_F(TraceWindow, AFileThatIsNoRecordingIsRefusedAndChangesNothing) {
    ASSERT_NE(Open(), nullptr);
    for (const std::string& content :
         {std::string(), std::string("; Kelo Servo ZR3 v0.1.260416\n[Trace Data]\n\x01")}) {
        const std::string path = home_->Path("bad.trd");
        FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(content.data(), 1, content.size(), file);
        std::fclose(file);
        messages->Clear();
        messages->AnswerFile(path);
        ui::Press(*window, IDC_TG_OPEN);
        ASSERT_EQ(messages->Shown().size(), 1u);
        EXPECT_EQ(messages->Shown()[0].text, "The file is not a valid Kelo Servo data file.");
        EXPECT_FALSE(window->DataPresent());
        EXPECT_EQ(window->GetWindowText(), "Wave Trace");
    }
}

TEST_F(TraceWindowWithRecord, ZoomInStepsDownToOneIntervalAndZoomOutRestores) {
    const float full = window->TimePerDivision();
    ASSERT_GT(full, 0.0f);
    ui::Press(*window, IDC_TG_ZOOM_IN);
    EXPECT_FLOAT_EQ(window->TimePerDivision(), 0.8f * full);
    EXPECT_FALSE(ui::Enabled(*window, IDC_TG_TIME_BASE)) << "the combos wait while zoomed";
    for (int i = 0; i < 100 && ui::Enabled(*window, IDC_TG_ZOOM_IN); ++i)
        ui::Press(*window, IDC_TG_ZOOM_IN);
    EXPECT_FLOAT_EQ(window->TimePerDivision(), 10.0f) << "one sample interval is the smallest";
    ui::Press(*window, IDC_TG_ZOOM_OUT);
    EXPECT_FALSE(window->Zoomed());
    EXPECT_FLOAT_EQ(window->TimePerDivision(), full);
    EXPECT_FALSE(ui::Enabled(*window, IDC_TG_ZOOM_OUT));
    EXPECT_TRUE(ui::Enabled(*window, IDC_TG_TIME_BASE));
}

TEST_F(TraceWindowWithRecord, RubberBandZoomsOnlyWhenLargeEnough) {
    const float full = window->TimePerDivision();
    struct Case {
        int x1, y1, x2, y2;
        bool zooms;
    } cases[] = {
        {50, 50, 53, 200, false}, // 3 pixels wide
        {50, 50, 200, 52, false}, // 2 pixels high
        {2, 2, 449, 449, false},  // all ten divisions both ways
        {50, 50, 200, 200, true}, // divisions 1..4: four of ten
    };
    for (const Case& c : cases) {
        Mouse(WM_LBUTTONDOWN, c.x1, c.y1);
        Mouse(WM_MOUSEMOVE, c.x2, c.y2);
        Mouse(WM_LBUTTONUP, c.x2, c.y2);
        EXPECT_EQ(window->Zoomed(), c.zooms) << c.x2 << "," << c.y2;
        if (c.zooms) {
            EXPECT_FLOAT_EQ(window->TimePerDivision(), full * 4 / 10);
        }
    }
    window->SendMessage(WM_RBUTTONDOWN, 0, 0);
    EXPECT_FALSE(window->Zoomed()) << "the right button zooms out";
    EXPECT_FLOAT_EQ(window->TimePerDivision(), full);
}

TEST_F(TraceWindowWithRecord, CursorsStartAtOneAndNineDivisionsAndStopAtThePlotEdge) {
    ui::SetChecked(*window, IDC_TG_CURSOR_SHOW, true);
    ASSERT_TRUE(window->CursorsShown());
    EXPECT_EQ(window->CursorX(0), 45);
    EXPECT_EQ(window->CursorX(1), 405);
    // A at one division of a 102.4 ms record (1,024 samples of 100 us).
    EXPECT_EQ(ui::Text(*window, IDC_TG_READOUT_A), "10.24");
    EXPECT_EQ(ui::Text(*window, IDC_TG_READOUT_B), "92.16");
    EXPECT_EQ(ui::Text(*window, IDC_TG_READOUT_BA), "81.92");
    // Dragging A far beyond the right edge leaves it at the last place inside the plot.
    Mouse(WM_LBUTTONDOWN, 45, 200);
    Mouse(WM_MOUSEMOVE, 300, 200);
    Mouse(WM_MOUSEMOVE, 900, 200);
    Mouse(WM_LBUTTONUP, 900, 200);
    EXPECT_EQ(window->CursorX(0), 300);
    EXPECT_EQ(ui::Text(*window, IDC_TG_READOUT_A), "68.27");
    // Back to the left edge: a time of nothing reads as ten units.
    Mouse(WM_LBUTTONDOWN, 300, 200);
    Mouse(WM_MOUSEMOVE, 0, 200);
    Mouse(WM_LBUTTONUP, 0, 200);
    EXPECT_EQ(window->CursorX(0), 0);
    EXPECT_EQ(ui::Text(*window, IDC_TG_READOUT_A), "0.10");
    ui::SetChecked(*window, IDC_TG_CURSOR_SHOW, false);
    EXPECT_EQ(ui::Text(*window, IDC_TG_READOUT_A), "");
}

struct TraceAutosave : TraceWindow {
    // START of a Monitor run saving numbered recordings named "run", until the first is written while
    // the run goes on (once more than a screenful has queued).
    void RunUntilTheFirstNumberedRecording(bool eight, std::array<int, 8> sources) {
        UseSetup(TraceModeMonitor, eight, sources);
        // A Monitor sample a millisecond, 40 of them a request: a hand-over of 128 takes four
        // requests, so the next one is ready whenever the thread asks and no status poll waits out
        // its pause.
        machine->SetStepPerRequest(40000);
        ASSERT_NE(Open(), nullptr);
        ui::SetChecked(*window, IDC_TG_AUTOSAVE, true);
        ui::Type(*window, IDC_TG_AUTOSAVE_PATH, "run");
        ui::Press(*window, IDC_TG_START);
        Fire(TraceStartTimer);
        ASSERT_TRUE(
            FireUntil(TraceMonitorTimer, [&] { return window->Display(0).At(MonitorPointCount - 1) != 0; }));
        ASSERT_TRUE(FireUntil(TraceMonitorTimer, [&] { return std::filesystem::exists(DuringRun()); }));
    }
    std::string DuringRun() const { return home_->Path("home/run000_000.trd"); }
};

TEST_F(TraceAutosave, MonitorAutosaveWritesNumberedRecordingsDuringTheRunAndAtStop) {
    RunUntilTheFirstNumberedRecording(false, {1, 2, 3, 6, 0, 0, 0, 0});
    if (HasFatalFailure())
        return;
    EXPECT_TRUE(window->Running());
    PressStopAndWait();
    // STOP writes the next sub-number of the same run.
    const std::string first = home_->Path("home/run000_001.trd");
    EXPECT_TRUE(std::filesystem::exists(first));
    TraceRecording recording;
    const TraceFileRead read = ReadTraceFile(first, TraceFileForm::Trace, recording);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(recording.traceMode, TraceModeMonitor);
    EXPECT_EQ(recording.pointCount, MonitorPointCount);
    EXPECT_TRUE(std::any_of(recording.samples[0].begin(), recording.samples[0].end(), [](int32_t v) {
        return v != 0;
    })) << "channel 1 comes from the mirror queue";
    // The next run numbers on.
    ui::Press(*window, IDC_TG_START);
    Fire(TraceStartTimer);
    Fire(TraceMonitorTimer);
    PressStopAndWait();
    EXPECT_TRUE(ReadTraceFile(home_->Path("home/run001_000.trd"), TraceFileForm::Trace, recording).ok);
    // The list offers the numbered recordings; choosing one opens it.
    ui::Press(*window, IDC_TG_AUTOSAVE_UPDATE);
    ASSERT_EQ(ui::SelectedText(*window, IDC_TG_AUTOSAVE_FILES), "run000_000.trd");
    ui::Choose(*window, IDC_TG_AUTOSAVE_FILES, 2); // run000_000, run000_001, run001_000
    EXPECT_EQ(window->GetWindowText(), "Wave Trace - [" + home_->Path("home/run001_000.trd") + "]");
}

// An eight-channel run's numbered recordings hold channels 5 to 8 of the run too, row for row with
// channels 1 to 4 (here the same sources), not what the sample buffers held before the run.
TEST_F(TraceAutosave, MonitorAutosaveOfEightChannelsSavesEveryChannelOfTheRun) {
    RunUntilTheFirstNumberedRecording(true, {1, 2, 3, 6, 1, 2, 3, 6});
    if (HasFatalFailure())
        return;
    PressStopAndWait();
    for (const std::string& path : {DuringRun(), home_->Path("home/run000_001.trd")}) {
        TraceRecording recording;
        const TraceFileRead read = ReadTraceFile(path, TraceFileForm::Trace, recording);
        ASSERT_TRUE(read.ok) << read.error;
        for (size_t ch = 0; ch < 4; ++ch) {
            EXPECT_EQ(recording.samples[ch + 4], recording.samples[ch]) << path << " channel " << ch + 5;
            EXPECT_TRUE(std::any_of(recording.samples[ch + 4].begin(), recording.samples[ch + 4].end(),
                                    [](int32_t v) { return v != 0; }))
                << path << " channel " << ch + 5;
        }
    }
}

TEST_F(TraceWindowWithRecord, LabelsHighlightOneChannelWhichTheWheelAndZeroButtonMove) {
    auto clickLabel = [&](int id) { window->SendMessage(WM_COMMAND, MAKEWPARAM(id, STN_CLICKED), 0); };
    clickLabel(TraceChannelLabels[0]);
    EXPECT_TRUE(window->Highlighted(0));
    const int offset = window->Offset(0);
    const int step = window->Scale(0);
    window->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(window->Offset(0), offset - step) << "the wheel steps the highlighted channel";
    clickLabel(TraceChannelLabels[1]);
    EXPECT_FALSE(window->Highlighted(0));
    EXPECT_TRUE(window->Highlighted(1));
    clickLabel(TraceChannelLabels[1]);
    EXPECT_FALSE(window->Highlighted(1)) << "a second click removes the highlight";
    ui::Press(*window, TraceOffsetZeroButtons[0]);
    EXPECT_EQ(window->Offset(0), 5 * window->Scale(0)) << "zero at the middle line";
}

TEST_F(TraceWindow, CycleRefreshesOnEveryCompleteBuffer) {
    UseSetup(TraceModeCycle, true, {1, 2, 3, 6, 0, 0, 0, 0});
    machine->SetStepPerRequest(2000);
    ASSERT_NE(Open(), nullptr);
    drive->ClearLog();
    ui::Press(*window, IDC_TG_START);
    EXPECT_EQ(Requests(), ArmingFrames(TraceModeCycle, true, {25, 26, 27, 31, 0, 0, 0, 0}, 1));
    Fire(TraceStartTimer);
    ASSERT_TRUE(window->HasTimer(TraceCycleTimer));
    ASSERT_TRUE(FireUntil(TraceCycleTimer, [&] { return window->HasTimer(TraceCycleRepeatTimer); }))
        << "the first complete buffer hands over to the repeat timer";
    const auto first = window->Display(1).ToVector();
    EXPECT_TRUE(std::any_of(first.begin(), first.end(), [](int32_t v) { return v != 0; }));
    ASSERT_TRUE(FireUntil(TraceCycleRepeatTimer, [&] { return window->Display(1).ToVector() != first; }))
        << "the next buffer replaces the display";
    EXPECT_EQ(window->Display(1).Size(), 1024);
    EXPECT_TRUE(window->Running());
    PressStopAndWait();
    EXPECT_FALSE(window->HasTimer(TraceCycleRepeatTimer));
    EXPECT_FALSE(window->HasThread());
}

// The clock time names the record a Cycle run took: a later run shows none until it has a record
// of its own, and a Single record has none.
TEST_F(TraceWindow, StartClearsTheClockTimeOfAnEarlierCycleRecord) {
    UseSetup(TraceModeCycle, true, {1, 2, 3, 6, 0, 0, 0, 0});
    machine->SetStepPerRequest(2000);
    ASSERT_NE(Open(), nullptr);
    ui::Press(*window, IDC_TG_START);
    Fire(TraceStartTimer);
    ASSERT_TRUE(FireUntil(TraceCycleTimer, [&] { return window->HasTimer(TraceCycleRepeatTimer); }));
    ASSERT_TRUE(
        FireUntil(TraceCycleRepeatTimer, [&] { return ui::Text(*window, IDC_TG_UNIT_EXTRA).size() == 8; }));
    PressStopAndWait();
    EXPECT_EQ(ui::Text(*window, IDC_TG_UNIT_EXTRA).size(), 8u) << "the stopped record keeps its time";

    ui::ModalScript script({{IDD_TRACE_SETUP, [](CDialog& d) {
                                 ui::Choose(d, IDC_TS_MODE, 0);
                                 ui::Press(d, IDOK);
                             }}});
    ui::Press(*window, IDC_TG_SETTING);
    ASSERT_EQ(view.settings.traceMode, TraceModeSingle);
    ui::Press(*window, IDC_TG_START);
    EXPECT_EQ(ui::Text(*window, IDC_TG_UNIT_EXTRA), "") << "a new run";
    Fire(TraceStartTimer);
    ASSERT_TRUE(FireUntil(TraceSingleTimer, [&] { return !window->Running(); }));
    EXPECT_EQ(ui::Text(*window, IDC_TG_UNIT_EXTRA), "") << "the Single record";
}

namespace {

// Pixels of a colour (as the screen shows a COLORREF) inside the plot's ten by ten divisions.
struct PlotPixels {
    QImage image;
    CPoint origin;
    int width;
    int Count(COLORREF colour, int top = 0, int bottom = INT32_MAX) const {
        const uint32_t rgb = (colour & 0xFFu) << 16 | (colour & 0xFF00u) | (colour >> 16 & 0xFFu);
        int count = 0;
        for (int x = 1; x < width; ++x)
            for (int y = std::max(0, top); y <= std::min(width, bottom); ++y)
                if (Near(image.pixel(origin.x + x, origin.y + y), rgb))
                    ++count;
        return count;
    }
};

} // namespace

class TraceWindowPicture : public TraceWindowFixture {
protected:
    PlotPixels Grab() {
        Pump();
        return {window->GetWidget()->grab().toImage(), window->PlotOrigin(),
                static_cast<int>(10.0f * window->Division())};
    }
};

TEST_F(TraceWindowPicture, ADigitalChannelIsDrawnBetweenItsZeroAndOneLines) {
    OpenWithSingleRecord({1, 9, 0, 0, 0, 0, 0, 0});
    if (HasFatalFailure())
        return;
    ASSERT_EQ(window->Scale(1), 1) << "a digital channel shows one unit per division";
    const PlotPixels plot = Grab();
    const float d = window->Division();
    const int zeroLine = static_cast<int>(static_cast<float>(window->Offset(1)) * d);
    const int oneLine = static_cast<int>(static_cast<float>(window->Offset(1) - 1) * d);
    ASSERT_GT(oneLine, 0) << "both lines lie inside the plot";
    ASSERT_LT(zeroLine, plot.width);
    const COLORREF yellow = 0x00FFFF; // channel 2
    EXPECT_GT(plot.Count(yellow, oneLine - 1, zeroLine + 1), 100);
    EXPECT_EQ(plot.Count(yellow, 0, oneLine - 2), 0) << "nothing above the 1 line";
    EXPECT_EQ(plot.Count(yellow, zeroLine + 2), 0) << "nothing below the 0 line";
}

TEST_F(TraceWindowPicture, AWideChannelTwoHidesChannelFourOfFour) {
    struct Case {
        int channelTwoSource;
        bool fourDrawn;
    } cases[] = {{5, false}, {2, true}};
    for (const Case& c : cases) {
        OpenWithSingleRecord({1, c.channelTwoSource, 0, 1, 0, 0, 0, 0}, false);
        if (HasFatalFailure())
            return;
        const COLORREF magenta = 0xFF00FF; // channel 4
        const int pixels = Grab().Count(magenta);
        if (c.fourDrawn)
            EXPECT_GT(pixels, 100) << "source " << c.channelTwoSource;
        else
            EXPECT_EQ(pixels, 0) << "source " << c.channelTwoSource;
        CloseForNextCase();
    }
}

TEST_F(TraceWindowPicture, CursorsAToDAppearInTheirColoursAtTheirPlaces) {
    // Colours apart from the curves' (red, yellow) and the white grid.
    view.settings.cursorColorUsed = {1, 1, 1, 1};
    view.settings.cursorColors = {0x00FF00, 0x808000, 0x0080FF, 0x800080};
    OpenWithSingleRecord({1, 2, 0, 0, 0, 0, 0, 0});
    if (HasFatalFailure())
        return;
    EXPECT_EQ(Grab().Count(0x00FF00), 0) << "no cursor before they are shown";
    ui::SetChecked(*window, IDC_TG_CURSOR_SHOW, true);
    ASSERT_TRUE(window->CursorsShown());
    const PlotPixels plot = Grab();
    auto rgbOf = [](COLORREF c) { return (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu); };
    // Two pixels wide: one of three columns (rows) around the place carries the colour.
    auto hit = [&](int x, int y, bool vertical, COLORREF colour) {
        for (int k = -1; k <= 1; ++k) {
            const int px = plot.origin.x + x + (vertical ? k : 0);
            const int py = plot.origin.y + y + (vertical ? 0 : k);
            if (Near(plot.image.pixel(px, py), rgbOf(colour)))
                return true;
        }
        return false;
    };
    for (int k = 0; k < 2; ++k) {
        const int x = window->CursorX(k);
        const int y = window->CursorY(k);
        const int dy = y < plot.width / 2 ? 5 : -5;
        const int dx = x < plot.width / 2 ? 5 : -5;
        const char name[] = {static_cast<char>('A' + k), 0};
        const char crossing[] = {static_cast<char>('C' + k), 0};
        EXPECT_TRUE(hit(x, y + dy, true, view.settings.cursorColors[static_cast<size_t>(k)]))
            << name << " at x " << x;
        EXPECT_TRUE(hit(x + dx, y, false, view.settings.cursorColors[static_cast<size_t>(2 + k)]))
            << crossing << " at y " << y;
    }
}

TEST(TraceAxisLabel, ValuesGetTheirUnit) {
    struct Case {
        const char* scale;
        int64_t value;
        const char* text;
    } cases[] = {
        {"100k", 250000, "250k"},   {"1M", 3000000, "3M"},       {"10M", -3000000, "-3M"},
        {"AUTO", 3000000, "3000k"}, {"AUTO", 30000000, "30M"},   {"AUTO", 999999, "999999"},
        {"500", 250000, "250000"},  {"1M", 5000000000, "5000M"}, // beyond 32 bits: no wrap
    };
    for (const Case& c : cases)
        EXPECT_EQ(AxisLabelText(c.scale, c.value), c.text) << c.scale << " " << c.value;
}

TEST_F(TraceWindowPicture, ValueLabelsStandBesideEachGridLineInTheChannelColour) {
    OpenWithSingleRecord({1, 0, 0, 0, 0, 0, 0, 0});
    if (HasFatalFailure())
        return;
    const PlotPixels plot = Grab();
    ui::Screenshot(*window, "trace_single_value_labels");
    const float d = window->Division();
    // Channel 1's labels end at buffer x 42 (right aligned), 17 pixels above each grid line.
    const int right = plot.origin.x - PlotBufferLeft + 42;
    for (int j = 0; j <= 10; ++j) {
        const int top = plot.origin.y + static_cast<int>(static_cast<float>(j) * d) - 17;
        int red = 0;
        for (int x = right - 40; x <= right; ++x)
            for (int y = top; y < top + 13; ++y)
                if (Near(plot.image.pixel(x, y), 0xFF0000))
                    ++red;
        EXPECT_GT(red, 3) << "label of grid line " << j;
    }
}

TEST_F(TraceWindow, AcquisitionMessageStatePollStopsAfterCodeTwo) {
    ASSERT_NE(Open(), nullptr);
    drive->ClearLog();
    window->SendMessage(AcquisitionMessage, 5, 0);
    EXPECT_FALSE(Requests().empty()) << "code 5 asks the drive for its trace state";
    drive->ClearLog();
    window->SendMessage(AcquisitionMessage, 1, 0); // no set-up child: nothing to close
    window->SendMessage(AcquisitionMessage, 2, 0);
    window->SendMessage(AcquisitionMessage, 5, 0);
    window->SendMessage(AcquisitionMessage, 9, 0);
    EXPECT_TRUE(Requests().empty());
}
