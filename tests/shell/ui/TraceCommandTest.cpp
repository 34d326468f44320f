// Wave Trace in the running program: the command opens the trace window, a second command replaces
// a running window through its close path (the drive's trace stopped first), the online edit button
// follows the link, and the program's exit stops an acquiring window before the view goes.
#include "ShellUiFixture.h"

#include "framework/core/Format.h"
#include "online/ui/OnLineParaEditDlg.h"
#include "resources/ids/trace.h"
#include "sim/SimMachine.h"
#include "trace/AcquisitionStore.h"
#include "trace/ThreadStop.h"
#include "trace/ui/TraceGraphDlg.h"

namespace {

struct TraceCommand : ShellUiFixture {
    void TearDown() override {
        ShellUiFixture::TearDown();
        machine.reset();
        ClearChannelDeques({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18});
        PendingSampleCount = 0;
    }
    void Command(UINT id) { View()->SendMessage(WM_COMMAND, id); }
    static std::string Write1(int address, int value) {
        return Maker("W1" + Format("%04X", address) + Format("%04X", value & 0xFFFF));
    }
    // A Monitor set-up accepted once, then the window acquiring.
    CTraceGraphDlg* OpenAcquiringWindow() {
        TraceSettings& s = View()->TraceSetup;
        s.valid = 1;
        s.traceMode = TraceModeMonitor;
        s.channelCountMode = 1;
        s.points = MonitorPointCount;
        s.sources = {1, 2, 3, 6, 0, 0, 0, 0};
        s.interval = 1;
        s.timeBase = 100;
        Command(ID_WAVE_TRACE);
        CTraceGraphDlg* window = View()->TraceWindow;
        if (window == nullptr)
            return nullptr;
        window->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TG_START, BN_CLICKED));
        FireTimerForTest(window, TraceStartTimer);
        FireTimerForTest(window, TraceMonitorTimer);
        return window;
    }
    std::unique_ptr<CSimMachine> machine;
};

TEST_F(TraceCommand, TheOnlineEditButtonOpensTheViewsOneEditor) {
    StartLinked();
    Command(ID_WAVE_TRACE);
    CTraceGraphDlg* window = View()->TraceWindow;
    ASSERT_NE(window, nullptr);
    window->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TG_ONLINE_EDIT, BN_CLICKED));
    COnLineParaEditDlg* kept = View()->OnlineEditorWindow;
    ASSERT_NE(kept, nullptr) << "the editor the menu command keeps";
    EXPECT_TRUE(View()->ToolWindowOpenFlags[ToolOnline]);
    window->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TG_ONLINE_EDIT, BN_CLICKED));
    EXPECT_EQ(View()->OnlineEditorWindow, kept) << "a second press brings the same editor to the front";
    kept->SendMessage(WM_CLOSE);
    EXPECT_EQ(View()->OnlineEditorWindow, nullptr);
    EXPECT_FALSE(View()->ToolWindowOpenFlags[ToolOnline]);
}

TEST_F(TraceCommand, OpensTheWindowAndReplacesARunningOneThroughItsClosePath) {
    StartLinked();
    machine = std::make_unique<CSimMachine>(drive);
    machine->SetStepPerRequest(2000);
    ASSERT_TRUE(CommandEnabled(ID_WAVE_TRACE));
    CTraceGraphDlg* first = OpenAcquiringWindow();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->IsWindowVisible());
    EXPECT_TRUE(first->Running());
    EXPECT_TRUE(first->HasThread());
    EXPECT_TRUE(View()->TraceWindowPresent);
    EXPECT_TRUE(View()->TraceAcquiring);
    EXPECT_TRUE(View()->ToolWindowOpenFlags[ToolTrace]);
    const HWND firstHandle = first->GetSafeHwnd();

    drive.ClearLog();
    Command(ID_WAVE_TRACE);
    EXPECT_FALSE(IsWindow(firstHandle)) << "the running window went";
    CTraceGraphDlg* second = View()->TraceWindow;
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second->GetSafeHwnd(), firstHandle);
    EXPECT_FALSE(second->Running());
    EXPECT_FALSE(View()->TraceAcquiring);
    EXPECT_TRUE(View()->ToolWindowOpenFlags[ToolTrace]);
    const auto log = Requests();
    ASSERT_GE(log.size(), 2u);
    EXPECT_NE(std::find(log.begin(), log.end(), Write1(0x1505, 0)), log.end()) << "the drive's trace stopped";
    EXPECT_NE(std::find(log.begin(), log.end(), Write1(0x1503, 0)), log.end());
    EXPECT_TRUE(ReapEndedThreads()) << "no thread of the first window is left";

    second->SendMessage(WM_CLOSE);
    EXPECT_EQ(View()->TraceWindow, nullptr);
    EXPECT_FALSE(View()->TraceWindowPresent);
    EXPECT_FALSE(View()->ToolWindowOpenFlags[ToolTrace]);
}

TEST_F(TraceCommand, OnlineEditButtonFollowsTheLink) {
    StartLinked();
    Command(ID_WAVE_TRACE);
    CTraceGraphDlg* window = View()->TraceWindow;
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->GetDlgItem(IDC_TG_ONLINE_EDIT)->IsWindowEnabled());
    Command(ID_DISCONNECT);
    ASSERT_EQ(ConnectedFlag.load(), 0);
    EXPECT_FALSE(window->GetDlgItem(IDC_TG_ONLINE_EDIT)->IsWindowEnabled());
    app->AutoConnect = {true, Entry(), 0};
    Command(ID_CONNECT);
    ASSERT_EQ(ConnectedFlag.load(), 1);
    EXPECT_TRUE(window->GetDlgItem(IDC_TG_ONLINE_EDIT)->IsWindowEnabled());
}

TEST_F(TraceCommand, ProgramExitStopsAnAcquiringWindowFirst) {
    StartLinked();
    machine = std::make_unique<CSimMachine>(drive);
    machine->SetStepPerRequest(2000);
    CTraceGraphDlg* window = OpenAcquiringWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->HasThread());
    drive.ClearLog();
    StopApp(); // the view goes: its trace window and thread must go first
    const auto log = Requests();
    EXPECT_NE(std::find(log.begin(), log.end(), Write1(0x1505, 0)), log.end());
    EXPECT_TRUE(ReapEndedThreads());
}

} // namespace
