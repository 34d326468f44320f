// The view's monitor cycle over the open monitor windows and the status bar it keeps.
#include "ShellUiFixture.h"

#include "catalogue/RegisterMap.h"
#include "shell/SettingsFile.h"

namespace {

struct FakeMonitorWindows : IAlarmSink, IDiagnosticsSink, ILifeSink, IMonitorListSink {
    void ShowAlarmHistory(const std::array<int, AlarmHistoryCount>&,
                          const std::array<std::string, AlarmHistoryCount>&) override {
        log.push_back("alarm");
    }
    void SetDiagnostics(const DiagnosticsFrame&) override { log.push_back("diagnostics"); }
    void ShowIoLabels() override {}
    void ShowIoStates() override {}
    void SetLifeValues(const std::array<int, LifeItemCount>&, bool) override { log.push_back("life"); }
    int RowItemIndex(int row) const override { return row == 0 ? 1001 : 0; }
    bool RowEnabled(int row) const override { return row == 0; }
    void SetRowTexts(const std::array<std::string, MonitorRowCount>&) override { log.push_back("list"); }
    std::vector<std::string> log;
};

struct ShellMonitorCycle : ShellUiFixture {
    void SetUp() override {
        ShellUiFixture::SetUp();
        StartDrive();
        HandOff("1");
        ASSERT_TRUE(StartApp());
        ASSERT_EQ(ConnectedFlag.load(), 1);
        HoldViewTimers();
        CMonitorReaders& readers = View()->Readers;
        readers.MonitorListWindow = &windows;
        readers.DiagnosticsWindow = &windows;
        readers.AlarmWindow = &windows;
    }
    void TearDown() override {
        if (CKeloServoView* view = View()) {
            view->Readers.MonitorListWindow = nullptr;
            view->Readers.DiagnosticsWindow = nullptr;
            view->Readers.AlarmWindow = nullptr;
            view->Readers.LifeWindow = nullptr;
        }
        ShellUiFixture::TearDown();
    }
    // What one supervision tick read: "status" for the status refresh, then the windows served.
    std::vector<std::string> TickLog() {
        windows.log.clear();
        drive.ClearLog();
        View()->Readers.AlarmReadRequest = 1;
        Tick();
        std::vector<std::string> done;
        const std::vector<std::string> requests = Requests();
        if (std::find(requests.begin(), requests.end(), Read1(0x1702)) != requests.end())
            done.push_back("status");
        done.insert(done.end(), windows.log.begin(), windows.log.end());
        return done;
    }
    FakeMonitorWindows windows;
};

using Steps = std::vector<std::string>;

TEST_F(ShellMonitorCycle, WithTheTraceWindowOneReaderRunsPerTickInOrder) {
    View()->TraceWindowPresent = true;
    View()->Readers.AlarmWindow = nullptr;
    EXPECT_EQ(TickLog(), Steps{"status"});
    EXPECT_EQ(TickLog(), Steps{"list"});
    EXPECT_EQ(TickLog(), Steps{"diagnostics"});
    EXPECT_EQ(TickLog(), Steps{"status"}) << "the cycle starts again";
    EXPECT_TRUE(messages.Shown().empty());
}

// Four steps of 0.8 s would leave the alarm word unread for 3.2 s: the status takes every other tick.
TEST_F(ShellMonitorCycle, WithTheTraceWindowAndManyWindowsTheStatusComesEveryOtherTick) {
    View()->TraceWindowPresent = true;
    for (const char* step : {"status", "list", "status", "diagnostics", "status", "alarm", "status", "list"})
        EXPECT_EQ(TickLog(), Steps{step});
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(ShellMonitorCycle, WithoutTheTraceWindowEveryReaderRunsEveryTick) {
    const Steps all{"status", "list", "diagnostics", "alarm"};
    EXPECT_EQ(TickLog(), all);
    EXPECT_EQ(TickLog(), all);

    // The life data come once in 75 cycles.
    View()->Readers.LifeWindow = &windows;
    View()->Readers.LifeCycleCounter = LifeCyclePeriod - 2;
    EXPECT_EQ(TickLog(), all);
    Steps withLife = all;
    withLife.push_back("life");
    EXPECT_EQ(TickLog(), withLife);
    EXPECT_EQ(TickLog(), all);
}

TEST_F(ShellMonitorCycle, FailedReaderEndsTheCycleWithTheLostLinkMessage) {
    drive.AddFault({.kind = SimFaultKind::Silent, .address = 0x0F01});
    Tick();
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Communicate Error!\n\nDisconnect !!");
    EXPECT_EQ(ConnectedFlag.load(), 0);
}

TEST_F(ShellMonitorCycle, StatusBarShowsTheDrivesWordsInThePanesKinds) {
    drive.SetServoOn(true);
    drive.SetAlarm(15);
    Tick();
    EXPECT_EQ(PaneText(0), "Servo Status:Servo On");
    EXPECT_EQ(PaneText(6), "Message: Driver Overheat");
    EXPECT_EQ(PaneColour(6), PaneYellow);
    EXPECT_EQ(PaneText(8), "RST Power Normal");

    // Another pane kind for pane 2, and a kind out of range that leaves pane 1 as it is.
    app->Settings.StatusbarSet[1] = StatusPaneKindNone;
    app->Settings.StatusbarSet[2] = PaneActualSpeed;
    Frame()->SetScreenWidthForTesting(2400);
    UINT id = 0, style = 0;
    int widthBefore = 0, width = 0;
    Frame()->m_wndStatusBar.GetPaneInfo(1, id, style, widthBefore);
    const std::string textBefore = PaneText(1);
    drive.SetRegister(0x1702, 5);
    Frame()->SendMessage(WM_PAINT);
    Tick();
    Frame()->m_wndStatusBar.GetPaneInfo(2, id, style, width);
    EXPECT_EQ(id, 61502u);
    EXPECT_EQ(width, 2400 / 12);
    EXPECT_EQ(PaneText(2).rfind("Actual Speed: ", 0), 0u);
    EXPECT_EQ(PaneText(1), textBefore);
    Frame()->m_wndStatusBar.GetPaneInfo(1, id, style, width);
    EXPECT_EQ(width, widthBefore);
}

TEST_F(ShellMonitorCycle, ActualPositionIsShownWholePastSixteenBits) {
    for (const int position : {40000, -40000, 1234567, -5, 0}) {
        SCOPED_TRACE(position);
        drive.SetRegister32(0x066C, static_cast<uint32_t>(position));
        Tick();
        EXPECT_EQ(app->ActiveDocument()->m_Un[95], position);
        EXPECT_EQ(PaneText(5), "Actual Position: " + std::to_string(position) + " unit/PLS");
    }
    EXPECT_TRUE(messages.Shown().empty());
}

// Over Modbus the two words come in two requests while the motor moves: the value shown is one the
// position really held, never a mix of the words of two moments.
TEST_F(ShellUiFixture, ActualPositionOverModbusIsOneTheMovingPositionHeld) {
    ShellSettings settings;
    settings.ModbusMode = 1;
    settings.ModbusFormat = 6;
    ASSERT_TRUE(WriteSettingsFile(SettingsFilePath(BrandNormal), settings, BrandNormal, 4));
    drive.SetModbusAddressTranslation(false);
    StartDrive();
    HandOff("1");
    ASSERT_TRUE(StartApp());
    ASSERT_EQ(ConnectedFlag.load(), 1);

    drive.SetRegister32(0x066C, 1234567);
    Tick();
    EXPECT_EQ(PaneText(5), "Actual Position: 1234567 unit/PLS");

    // Every read of either word finds the position one step on, across a carry into the high word.
    auto position = std::make_shared<uint32_t>(0x1FFFE);
    SimRegisterRule moving;
    moving.onRead = [position](uint16_t address) {
        ++*position;
        return static_cast<uint16_t>(address == 0x066C ? *position & 0xFFFF : *position >> 16);
    };
    drive.SetRule(0x066C, moving);
    drive.SetRule(0x066D, moving);
    Tick();
    const int shown = app->ActiveDocument()->m_Un[95];
    EXPECT_GE(shown, 0x1FFFF);
    EXPECT_LE(static_cast<uint32_t>(shown), *position);
    EXPECT_TRUE(messages.Shown().empty());
}

} // namespace

namespace {

using ShellReadAll = ShellUiFixture;

// Boxes shown when a transfer is over must not hold the line: the status refresh goes on under them.
TEST_F(ShellReadAll, StatusReadsGoOnWhileTheOverRangeBoxIsOpen) {
    StartDrive();
    drive.SetRegister(*ParamCodeRegisterAddress("Cn025"), 2500); // range 0~2000
    HandOff("1");
    ASSERT_TRUE(StartApp());
    CParaEditDlg* editor = View()->EditorWindow;
    ASSERT_NE(editor, nullptr);
    bool boxShown = false;
    int busyUnderTheBox = -1;
    size_t readsUnderTheBox = 0;
    MessagePresenter scripted;
    scripted = SetMessagePresenter([&](const MessageRequest& request) {
        if (request.text == "Parameter(s) in Red Over Range!") {
            boxShown = true;
            busyUnderTheBox = View()->ViewBusyFlag;
            drive.ClearLog();
            for (int tick = 0; tick < 2; ++tick)
                Tick();
            readsUnderTheBox = Requests().size();
        }
        return scripted(request);
    });
    messages.Answer(IDYES); // read everything
    ASSERT_TRUE(FireTimerForTest(editor, ParaEditReadTimer));
    SetMessagePresenter(scripted);
    ASSERT_TRUE(boxShown);
    EXPECT_EQ(busyUnderTheBox, 0);
    EXPECT_GT(readsUnderTheBox, 0u) << "the status refresh reads while the box waits for OK";
    EXPECT_EQ(ConnectedFlag.load(), 1);
}

} // namespace
