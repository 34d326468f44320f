// The main window while an acquisition thread reads blocks on a slow line: no timer of the window
// waits for the port behind a block of seconds (the window would wait with it). The windows' own
// refreshes keep off the line until the thread has ended; the view's status and monitor windows go
// on following the drive, read away from the window between the blocks.
#include "ShellUiFixture.h"

#include "box/ui/BOXDlg.h"
#include "link/services/TransferPass.h"
#include "online/ui/OnLineParaEditDlg.h"
#include "resources/ids/trace.h"
#include "shell/monitor/MonAnDlg.h"
#include "shell/monitor/MonDnDlg.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/TestTime.h"
#include "trace/AcquisitionStore.h"
#include "trace/ThreadStop.h"
#include "trace/TraceRegisters.h"
#include "trace/ui/TraceGraphDlg.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWireBaud = 9600;
// A block read of 64 records of nine words: the request and its 2496 characters at 10 bits each.
const auto kBlockTime = std::chrono::milliseconds((40 + 2496) * 10 * 1000 / kWireBaud);

// What the servo status poll and the online editor's refresh read first.
const std::vector<int> kStatusRegisters = {0x1702, 0x1703, 0x0F04, 0x0F08, 0x1101};

struct AcquisitionCase {
    const char* name;
    int traceMode; // -1: a box record
    friend void PrintTo(const AcquisitionCase& c, std::ostream* out) { *out << c.name; }
};

class AcquisitionFixture : public ShellUiFixture {
protected:
    void TearDown() override {
        ShellUiFixture::TearDown();
        ClearChannelDeques({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18});
        PendingSampleCount = 0;
    }

    // Starts the record the case names; the drive reports its memory ready at once.
    void StartRecord(const AcquisitionCase& c) {
        if (c.traceMode < 0) {
            drive.SetRegister(0x1523, 1); // the box recorder's record is complete
            View()->SendMessage(WM_COMMAND, ID_BOX_FUNCTION);
            CBOXDlg* viewer = View()->BoxWindow;
            ASSERT_NE(viewer, nullptr);
            viewer->OnStart();
            ASSERT_TRUE(FireTimerForTest(viewer, ThreadStartTimer));
            return;
        }
        TraceSettings& s = View()->TraceSetup;
        s.valid = 1;
        s.traceMode = c.traceMode;
        s.channelCountMode = 1;
        s.points = c.traceMode == TraceModeMonitor ? MonitorPointCount : 1024;
        s.sources = {1, 2, 3, 6, 0, 0, 0, 0};
        s.interval = 1;
        s.timeBase = 100;
        View()->SendMessage(WM_COMMAND, ID_WAVE_TRACE);
        CTraceGraphDlg* window = View()->TraceWindow;
        ASSERT_NE(window, nullptr);
        ui::Press(*window, IDC_TG_START);
        ASSERT_TRUE(window->Running());
        drive.SetRegister(0x1503, 1); // the trace memory holds a record (segment 0, lower half)
        ASSERT_TRUE(FireTimerForTest(window, TraceStartTimer));
    }

    void StopRecord(const AcquisitionCase& c) {
        if (c.traceMode < 0)
            View()->CloseBoxWindow();
        else
            View()->CloseTraceWindow();
    }

    // Index of the first block read in the log, once the thread has sent one (-1 when none came).
    long AwaitBlockRead() {
        const auto end = Clock::now() + std::chrono::milliseconds(ScaledMs(10000));
        while (Clock::now() < end) {
            const std::vector<std::string> log = Requests();
            for (size_t i = 0; i < log.size(); ++i)
                if (log[i].rfind("R9", 0) == 0)
                    return static_cast<long>(i);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return -1;
    }

    void AwaitLinkShownDown() {
        const auto end = Clock::now() + std::chrono::milliseconds(ScaledMs(10000));
        while (PaneText(3) != "Servo Offline" && Clock::now() < end) {
            DispatchPendingMessages(); // the link's notice comes from the thread
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    bool AwaitThreadsEnded() {
        const auto end = Clock::now() + std::chrono::milliseconds(ScaledMs(20000));
        while (AcquisitionThreadCount.load() > 0 && Clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ReapEndedThreads();
        return AcquisitionThreadCount.load() == 0;
    }

    bool IsStatusRead(const std::string& request) const {
        for (int address : kStatusRegisters)
            if (request == Read1(address))
                return true;
        return false;
    }
};

class LineDuringAcquisition : public AcquisitionFixture,
                              public ::testing::WithParamInterface<AcquisitionCase> {};

TEST_P(LineDuringAcquisition, TheWindowsRefreshesKeepOffTheLineWhileTheThreadReadsBlocks) {
    drive.SetWireBaud(kWireBaud);
    StartLinked();
    HoldViewTimers();
    ASSERT_EQ(PortObject.GetBaudrate(), kWireBaud);
    View()->ToolWindowOpenFlags[ToolJog] = true; // the servo status poll reads while a jog window is open
    const OnlineCodes selection = std::exchange(OnlineSelection, OnlineCodes{"Cn025"});
    View()->SendMessage(WM_COMMAND, ID_EDIT_ONLINE_PARAMETER);
    COnLineParaEditDlg* online = View()->OnlineEditorWindow;
    OnlineSelection = selection;
    ASSERT_NE(online, nullptr);
    StartRecord(GetParam());
    const long firstBlock = AwaitBlockRead();
    ASSERT_GE(firstBlock, 0) << "the thread reads blocks";

    // The timers fire while the block is on the wire: they are handled at once and read nothing.
    const auto start = Clock::now();
    Tick(ServoStatusTimer);
    ASSERT_TRUE(FireTimerForTest(online, OnlineRefreshTimer));
    if (View()->BoxWindow) {
        ASSERT_TRUE(FireTimerForTest(View()->BoxWindow, RecordReadyTimer)); // the viewer's ready poll
    }
    EXPECT_TRUE(CommandEnabled(ID_DISCONNECT));
    const auto handled = Clock::now() - start;
    EXPECT_LT(handled, kBlockTime / 2) << "handled well inside one block time";

    StopRecord(GetParam());
    ASSERT_TRUE(AwaitThreadsEnded());
    // The window's stop path reads what it needs once the thread has gone: the block reads are what
    // must stay together.
    const std::vector<std::string> log = Requests();
    size_t lastBlock = static_cast<size_t>(firstBlock);
    for (size_t i = lastBlock; i < log.size(); ++i)
        if (log[i].rfind("R9", 0) == 0)
            lastBlock = i;
    for (size_t i = static_cast<size_t>(firstBlock); i <= lastBlock; ++i)
        EXPECT_FALSE(IsStatusRead(log[i])) << "a status read between the block reads: " << log[i];
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_EQ(ConnectedFlag.load(), 1);

    // The thread has ended: the next tick refreshes the status again.
    drive.ClearLog();
    Tick();
    EXPECT_FALSE(Requests().empty());
    EXPECT_EQ(Requests().front(), Read1(0x1702));
}

INSTANTIATE_TEST_SUITE_P(
    Records, LineDuringAcquisition,
    ::testing::Values(AcquisitionCase{"Single", TraceModeSingle}, AcquisitionCase{"Cycle", TraceModeCycle},
                      AcquisitionCase{"Monitor", TraceModeMonitor}, AcquisitionCase{"Box", -1}),
    [](const ::testing::TestParamInfo<AcquisitionCase>& info) { return std::string(info.param.name); });

using StatusDuringMonitorRun = AcquisitionFixture;

// A Monitor run lasts as long as the user lets it: the status bar and the open monitor windows go on
// showing the drive's state, an alarm included, and the window answers at once on a slow line.
TEST_F(StatusDuringMonitorRun, StatusBarAndMonitorWindowsFollowTheDriveWhileTheWindowAnswers) {
    drive.SetWireBaud(kWireBaud);
    StartLinked();
    HoldViewTimers();
    drive.SetRegister(0x0F03, 0);
    View()->SendMessage(WM_COMMAND, ID_DIAGNOSTICS_PARAMETERS);
    CMonDnDlg* diagnostics = View()->DiagnosticsDialog;
    ASSERT_NE(diagnostics, nullptr);
    Tick(); // before the run: status, contact group and dn items
    ASSERT_EQ(diagnostics->States()[0], 0);
    ASSERT_NE(PaneText(6), "Message: Driver Overheat");
    StartRecord({"Monitor", TraceModeMonitor});
    ASSERT_GE(AwaitBlockRead(), 0);

    // The drive moves on, an input comes on and an alarm is raised while the blocks are read.
    drive.SetRegister32(0x066C, 123456);
    drive.SetRegister(0x0F03, 1);
    drive.SetAlarm(15);
    drive.ClearLog();
    const auto shown = [&] {
        return PaneText(5) == "Actual Position: 123456 unit/PLS" &&
               PaneText(6) == "Message: Driver Overheat" && diagnostics->States()[0] == 1;
    };
    // A window opened during the run is served as well: the alarm history comes.
    View()->PostMessage(WM_COMMAND, ID_ALARM_PARAMETERS);
    Clock::duration slowest{};
    const auto end = Clock::now() + std::chrono::milliseconds(ScaledMs(30000));
    while (!(shown() && View()->Readers.AlarmReadRequest == 0) && Clock::now() < end) {
        const auto start = Clock::now();
        Tick();
        DispatchPendingMessages();
        slowest = std::max(slowest, Clock::now() - start);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(shown()) << PaneText(5) << " / " << PaneText(6);
    ASSERT_NE(View()->AlarmDialog, nullptr);
    EXPECT_EQ(View()->Readers.AlarmReadRequest, 0) << "the alarm history was read";
    EXPECT_LT(slowest, kBlockTime / 2) << "every tick and message handled well inside one block time";

    // All of it was read while the run went on: the thread's block reads and status polls (it waits
    // for the drive's next half) share the line with the status and dn reads.
    const auto threadAfter = [](const std::vector<std::string>& log, const std::string& request) {
        const auto at = std::find(log.begin(), log.end(), request);
        return at != log.end() && std::any_of(at, log.end(), [](const std::string& r) {
                   return r.rfind("R9", 0) == 0 || r == Read1(TraceStatusRegister);
               });
    };
    const auto readDuringTheRun = [&] {
        const std::vector<std::string> log = Requests();
        return threadAfter(log, Read1(0x1702)) && threadAfter(log, Read1(0x0F03)) &&
               std::count_if(log.begin(), log.end(),
                             [](const std::string& r) { return r.rfind("R9", 0) == 0; });
    };
    const auto runEnd = Clock::now() + std::chrono::milliseconds(ScaledMs(10000));
    while (!readDuringTheRun() && Clock::now() < runEnd)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(readDuringTheRun());
    EXPECT_GT(AcquisitionThreadCount.load(), 0);
    EXPECT_TRUE(messages.Shown().empty());

    StopRecord({"Monitor", TraceModeMonitor});
    ASSERT_TRUE(AwaitThreadsEnded());
    EXPECT_EQ(ConnectedFlag.load(), 1);
}

struct LinkLostByTheThread : AcquisitionFixture {
    // A Monitor record whose drive stops answering in the middle: the thread's block read fails.
    void LoseTheLinkInARecord() {
        StartLinked();
        drive.AddFault(
            {.kind = SimFaultKind::Silent, .requestKind = SimRequestKind::MakerBlockRead, .skip = 1});
        StartRecord({"Monitor", TraceModeMonitor});
        AwaitLinkShownDown();
    }
};

TEST_F(LinkLostByTheThread, TheViewShowsTheLinkDownAndConnectBringsItBack) {
    LoseTheLinkInARecord();
    EXPECT_EQ(PaneText(3), "Servo Offline");
    EXPECT_FALSE(PortObject.IsOpen());
    EXPECT_TRUE(CommandEnabled(ID_CONNECT));
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Communicate Error!\n\nDisconnect !!");
    ASSERT_TRUE(AwaitThreadsEnded());

    drive.ClearFaults();
    app->AutoConnect = {true, Entry(), 0};
    View()->SendMessage(WM_COMMAND, ID_CONNECT);
    EXPECT_EQ(ConnectedFlag.load(), 1);
    EXPECT_EQ(PaneText(3), "Servo Online");
    StopRecord({"Monitor", TraceModeMonitor});
    EXPECT_EQ(messages.Shown().size(), 1u);
}

// The drive stays armed after the thread lost the link: STOP's writes go out on the line once the
// thread has left it, with no Connect.
TEST_F(LinkLostByTheThread, TheArmedDriveIsDisarmedOnTheLineWithoutConnect) {
    LoseTheLinkInARecord();
    ASSERT_EQ(PaneText(3), "Servo Offline");
    ASSERT_TRUE(AwaitThreadsEnded());
    drive.ClearFaults();
    Tick();
    DispatchPendingMessages();

    const std::vector<std::string> log = Requests();
    const auto lastBlock =
        std::find_if(log.rbegin(), log.rend(), [](const std::string& r) { return r.rfind("R9", 0) == 0; });
    ASSERT_NE(lastBlock, log.rend());
    const std::vector<std::string> after(lastBlock.base(), log.end());
    EXPECT_EQ(after, (std::vector<std::string>{Maker("W115050000"), Maker("W115030000")}))
        << "the stop writes, and nothing else, after the failed block read";
    EXPECT_EQ(drive.GetRegister(0x1505), 0);
    EXPECT_EQ(ConnectedFlag.load(), 0);
    ASSERT_EQ(messages.Shown().size(), 1u) << "the lost-link message alone: a disarm moves nothing";
    EXPECT_EQ(messages.Shown()[0].text, "Communicate Error!\n\nDisconnect !!");

    // Sent once: Connect sends no stop ahead of its reads.
    drive.ClearLog();
    app->AutoConnect = {true, Entry(), 0};
    View()->SendMessage(WM_COMMAND, ID_CONNECT);
    ASSERT_EQ(ConnectedFlag.load(), 1);
    EXPECT_NE(Requests().front(), Maker("W115050000"));
    StopRecord({"Monitor", TraceModeMonitor});
}

} // namespace
