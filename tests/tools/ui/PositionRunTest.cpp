// The multi-position test run, driven by its timers against the simulated machine: the two-target
// legs, the cycle count, PHOLD and EMC, and the refusals and lost links that end a run.
#include "PositionFixture.h"

#include "tests/support/DialogDriver.h"

#include "link/services/StopKeeper.h"
#include "resources/ids/tools.h"
#include "tools/MultiPositionRun.h"
#include "tools/ui/MulPosDlg.h"

#include <cstdlib>

namespace {

constexpr int64_t R = 8388608;

class PositionRun : public PositionFixture {
protected:
    void SetUp() override {
        PositionFixture::SetUp();
        if (HasFatalFailure())
            return;
        drive->SetRegister32(0x1706, static_cast<uint32_t>(R));
        // As the system page leaves the drive: DI1 SON, DI3 PTRG, DI12 PHOLD, all virtual.
        SetDrive("Hn601", 0x01);
        SetDrive("Hn603", 0x12);
        SetDrive("Hn612", 0x13);
        SetDrive("Hn617", 0xFC5);
    }
    void TearDown() override {
        if (!life_.expired())
            page->SendMessage(WM_CLOSE);
        PositionFixture::TearDown();
    }
    // The page alone, as view command 32805 opens it.
    CMulPosDlg& Open() {
        page = new CMulPosDlg(view);
        EXPECT_TRUE(page->CreateAlone(nullptr));
        page->ShowWindow(SW_SHOW); // on the screen, as the command leaves it, so the user can click it
        life_ = page->Life();
        return *page;
    }
    void Fill(const std::string& cycles, const std::string& dwell) {
        ui::Type(*page, IDC_MP_UNITS, "10");
        ui::Choose(*page, IDC_MP_PULSES, 1);
        ui::Type(*page, IDC_MP_TARGET1, "10");
        ui::Type(*page, IDC_MP_SPEED1, "100");
        ui::SetChecked(*page, IDC_MP_SECOND, true);
        ui::Type(*page, IDC_MP_TARGET2, "30");
        ui::Type(*page, IDC_MP_SPEED2, "100");
        ui::Type(*page, IDC_MP_CYCLES, cycles);
        ui::Type(*page, IDC_MP_DWELL, dwell);
    }
    void EnableAndStart() {
        ui::Press(*page, IDC_MP_ENABLE);
        ASSERT_EQ(ui::Text(*page, IDC_MP_ENABLE), "Disable");
        RunMachine(50000);
        ui::Press(*page, IDC_MP_START);
    }
    // Ends the PTRG pulse and lets the machine arrive.
    void Arrive() {
        if (page->HasTimer(PtrgPulseTimer)) {
            ASSERT_TRUE(FireTimerForTest(page, PtrgPulseTimer));
        }
        RunMachine(1000000);
    }
    bool Near(int64_t pulses) const { return std::llabs(position->PositionPulses() - pulses) <= R / 1000; }
    bool Runs(int timer) const { return page->HasTimer(static_cast<UINT_PTR>(timer)); }

    CMulPosDlg* page = nullptr;
    std::weak_ptr<int> life_;
};

} // namespace

TEST_F(PositionRun, TenUnitsAtTenPerRevolutionIsOneRevolution) {
    Open();
    Fill("1", "1");
    ui::SetChecked(*page, IDC_MP_SECOND, false);
    ui::Press(*page, IDC_MP_ENABLE);
    drive->ClearLog();
    ui::Press(*page, IDC_MP_START);
    const std::vector<std::string> log = Requests();
    ASSERT_GE(log.size(), 10u);
    EXPECT_EQ(log[2], Write("Pn316", 0));
    EXPECT_EQ(log[5], Write("Pn401", 1));
    EXPECT_EQ(log[6], Write("Pn402", 0));
    EXPECT_EQ(log[7], Write("Pn403", 600));
    EXPECT_EQ(log[8], Read("Hn618"));
    EXPECT_EQ(log[9], Write("Hn618", 0x0004)) << "PTRG on; the servo is the PC's run command";
    EXPECT_TRUE(Runs(PtrgPulseTimer));
    EXPECT_FALSE(Runs(PollTimer)) << "one target: a single move";
    Arrive();
    EXPECT_EQ(Drive("Hn618") & 4, 0) << "the pulse ended";
    EXPECT_TRUE(Near(R));
    EXPECT_EQ(MultiPositionRunFlag, 1);
}

TEST_F(PositionRun, OneCycleEndsAtTargetTwo) {
    Open();
    Fill("1", "1");
    EnableAndStart();
    ASSERT_TRUE(Runs(PollTimer));
    Arrive();
    ASSERT_TRUE(Near(R));
    ASSERT_TRUE(FireTimerForTest(page, PollTimer));
    EXPECT_FALSE(Runs(PollTimer));
    ASSERT_TRUE(Runs(LeaveForSecondTimer));
    EXPECT_EQ(page->TimerInterval(LeaveForSecondTimer), 100);
    ASSERT_TRUE(FireTimerForTest(page, LeaveForSecondTimer));
    EXPECT_EQ(Drive("Pn401"), 3);
    EXPECT_FALSE(Runs(PollTimer)) << "the count is reached";
    Arrive();
    EXPECT_TRUE(Near(3 * R)) << "the motor stays at target 2";
    EXPECT_TRUE(messages->Shown().empty());
}

TEST_F(PositionRun, CyclesZeroRepeatsAndDwellZeroStays) {
    Open();
    Fill("0", "2");
    EnableAndStart();
    for (int cycle = 0; cycle < 2; ++cycle) {
        Arrive();
        ASSERT_TRUE(FireTimerForTest(page, PollTimer));
        ASSERT_TRUE(FireTimerForTest(page, LeaveForSecondTimer));
        Arrive();
        ASSERT_TRUE(Near(3 * R));
        ASSERT_TRUE(FireTimerForTest(page, PollTimer));
        EXPECT_EQ(page->TimerInterval(ReturnToFirstTimer), 200);
        ASSERT_TRUE(FireTimerForTest(page, ReturnToFirstTimer));
        Arrive();
        ASSERT_TRUE(Near(R)) << "back at target 1, cycle " << cycle;
        ASSERT_TRUE(Runs(PollTimer));
    }
    EXPECT_EQ(page->Legs().Cycles(), 2);
    ui::Type(*page, IDC_MP_DWELL, "0");
    ASSERT_TRUE(FireTimerForTest(page, PollTimer));
    EXPECT_TRUE(Runs(PollTimer)) << "a dwell of 0 never leaves target 1";
    EXPECT_FALSE(Runs(LeaveForSecondTimer));
}

TEST_F(PositionRun, PholdSuspendsAndResumesWithAPulseAndEmcStopsAll) {
    Open();
    Fill("0", "1");
    EnableAndStart();
    ui::Press(*page, IDC_MP_PHOLD);
    EXPECT_EQ(Drive("Hn618") & 0x800, 0x800);
    EXPECT_EQ(ui::Text(*page, IDC_MP_PHOLD), "Continue");
    EXPECT_FALSE(ui::Enabled(*page, IDC_MP_START));
    Arrive();
    EXPECT_FALSE(Near(R)) << "held before target 1";
    drive->ClearLog();
    ASSERT_TRUE(FireTimerForTest(page, PollTimer));
    EXPECT_TRUE(Requests().empty()) << "the poll rests while held";

    ui::Press(*page, IDC_MP_PHOLD);
    EXPECT_EQ(Drive("Hn618") & 0x804, 0x004) << "PHOLD off, a new PTRG pulse";
    EXPECT_EQ(ui::Text(*page, IDC_MP_PHOLD), "PHOLD");
    Arrive();
    EXPECT_TRUE(Near(R));

    ui::Press(*page, IDC_MP_EMC);
    for (int timer : {PollTimer, LeaveForSecondTimer, ReturnToFirstTimer, PtrgPulseTimer})
        EXPECT_FALSE(Runs(timer));
    EXPECT_EQ(Drive("Hn618") & 0x801, 0x800) << "PHOLD on, DI1 off";
    EXPECT_EQ(ui::Text(*page, IDC_MP_EMC), "----");
    EXPECT_FALSE(ui::Enabled(*page, IDC_MP_START));
    EXPECT_FALSE(ui::Enabled(*page, IDC_MP_ENABLE));
    ui::Press(*page, IDC_MP_EMC);
    EXPECT_EQ(ui::Text(*page, IDC_MP_EMC), "EMC");
    EXPECT_TRUE(ui::Enabled(*page, IDC_MP_START));
}

TEST_F(PositionRun, ARefusedTargetEndsTheRunWithoutATrigger) {
    Open();
    Fill("0", "1");
    EnableAndStart();
    Arrive();
    ASSERT_TRUE(FireTimerForTest(page, PollTimer));
    drive->RefuseAddress(*ParamCodeRegisterAddress("Pn403"));
    drive->ClearLog();
    ASSERT_TRUE(FireTimerForTest(page, LeaveForSecondTimer));
    EXPECT_FALSE(Sent(Read("Hn618"))) << "no PTRG towards a target the drive did not take";
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Pn403 \nWrite Failed!"}));
    for (int timer : {PollTimer, LeaveForSecondTimer, ReturnToFirstTimer, PtrgPulseTimer, ServoWatchTimer})
        EXPECT_FALSE(Runs(timer));
    EXPECT_EQ(MultiPositionRunFlag, 0);
    RunMachine(1000000);
    EXPECT_TRUE(Near(R)) << "the motor stays where it was";
}

TEST_F(PositionRun, ALostLinkEndsTheRunWithOneMessage) {
    Open();
    Fill("0", "1");
    EnableAndStart();
    Arrive();
    drive->AddFault({.kind = SimFaultKind::Silent});
    ASSERT_TRUE(FireTimerForTest(page, PollTimer)); // its read gets no answer
    for (int timer : {PollTimer, ServoWatchTimer})
        if (Runs(timer))
            FireTimerForTest(page, timer);
    for (int timer : {PollTimer, LeaveForSecondTimer, ReturnToFirstTimer, PtrgPulseTimer, ServoWatchTimer})
        EXPECT_FALSE(Runs(timer));
    // The motor may be on its way: the run's stop is kept and the user told once.
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{CStopKeeper::NoAnswerText("multi-position run")}));
    EXPECT_EQ(ui::Text(*page, IDC_MP_ENABLE), "Enable");
}

TEST_F(PositionRun, AStopThatFellIntoAFreezeIsSentFirstWhenTheLinkComesBack) {
    Open();
    Fill("0", "1");
    EnableAndStart();
    ASSERT_TRUE(FireTimerForTest(page, PtrgPulseTimer));
    RunMachine(100000);
    ASSERT_NE(machine->Signal(SimSignal::SpeedFeedback), 0) << "on its way to target 1";

    drive->Freeze(std::chrono::seconds(7));
    messages->Clear();
    ui::Press(*page, IDC_MP_EMC);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{CStopKeeper::NoAnswerText("multi-position run")}));
    EXPECT_EQ(ui::Text(*page, IDC_MP_EMC), "EMC") << "EMC does not claim what the drive never got";
    for (int timer : {PollTimer, LeaveForSecondTimer, ReturnToFirstTimer, PtrgPulseTimer, ServoWatchTimer})
        EXPECT_FALSE(Runs(timer));
    EXPECT_EQ(drive->GetRegister(0x170E), 1) << "the servo is still on in the drive";

    // The link comes back: the view sends the kept stops before anything else.
    drive->Thaw();
    drive->ClearLog();
    messages->Clear();
    const CStopKeeper::Delivery delivery = view.services.Stops.SendKept();
    EXPECT_EQ(delivery.taken, (std::vector<std::string>{"multi-position run"}));
    EXPECT_EQ(Requests(), (std::vector<std::string>{WriteRegister(0x170E, 0)}));
    RunMachine(1000000);
    EXPECT_EQ(machine->Signal(SimSignal::SpeedFeedback), 0);
    EXPECT_FALSE(view.services.Stops.HasKept());
}

TEST_F(PositionRun, ALinkTheViewDroppedStopsTheNextTimer) {
    Open();
    Fill("0", "1");
    EnableAndStart();
    Arrive();
    ASSERT_TRUE(FireTimerForTest(page, PollTimer));
    ASSERT_TRUE(Runs(LeaveForSecondTimer));
    ConnectedFlag = 0; // as the view's link supervision leaves it
    drive->ClearLog();
    ASSERT_TRUE(FireTimerForTest(page, LeaveForSecondTimer));
    EXPECT_TRUE(Requests().empty());
    for (int timer : {PollTimer, LeaveForSecondTimer, ReturnToFirstTimer, PtrgPulseTimer, ServoWatchTimer})
        EXPECT_FALSE(Runs(timer));
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{CStopKeeper::NoLinkText("multi-position run")}));
    EXPECT_TRUE(view.services.Stops.HasKept());

    // Start without a link says so and sends nothing.
    messages->Clear();
    ui::Press(*page, IDC_MP_START);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Communicate Error!"}));
    EXPECT_TRUE(Requests().empty());
    ConnectedFlag = 1;
}

TEST_F(PositionRun, TheOtherPagesRunLocksThisOneOut) {
    Open();
    Fill("1", "1");
    MultiPositionIoRunFlag = 1;
    SetDrive("Hn618", 0x0001);
    drive->ClearLog();
    ui::Press(*page, IDC_MP_START);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Position control is working!"}));
    EXPECT_EQ(Requests(), (std::vector<std::string>{Read("Hn618")}));
}

TEST_F(PositionRun, UnitsOfZeroAreRefusedBeforeAnyTarget) {
    Open();
    Fill("1", "1");
    ui::Type(*page, IDC_MP_UNITS, "0");
    ui::Press(*page, IDC_MP_START);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"The units per revolution must not be 0."}));
    EXPECT_FALSE(Sent(Write("Pn401", 0)));
}
