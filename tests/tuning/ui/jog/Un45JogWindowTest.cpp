// The inertia estimation window as the user drives it: what it reads at opening, the stroke checks,
// Parameter Write's order and reports, the shared Start and Stop, Enter in the edits, the estimate
// and Close.
#include "tests/tuning/ui/jog/JogWindowFixture.h"

#include "catalogue/RegisterMap.h"
#include "framework/ui/Messages.h"
#include "resources/ids/tuningwindows.h"
#include "tests/support/Screenshot.h"
#include "tuning/JogRun.h"
#include "tuning/ui/Un45JogDlg.h"

namespace {

int Cn059() {
    return ParamCodeRegisterAddress("Cn059").value_or(0);
}

class Un45Window : public JogWindowFixture {
protected:
    void SetUp() override {
        OpenJogWorld("un45win");
        if (HasFatalFailure())
            return;
        drive->SetRegister(jogreg::RunModeA, 5);
        drive->SetRegister(jogreg::RunModeB, 7);
        drive->SetRegister(jogreg::CurrentStopTime, 100);
        drive->SetRegister(jogreg::CurrentAccelerationTime, 200);
        drive->SetRegister(jogreg::CurrentMovingSpeed, 300);
        drive->SetRegister(jogreg::CurrentMovingDistance, 10);
        drive->SetRegister(jogreg::CurrentDirection, 0x0020);
        drive->SetRegister(jogreg::JogModeWord, 0x0000);
    }
    void TearDown() override {
        if (window && !life_.expired())
            window->DestroyWindow();
        CloseJogWorld();
    }
    CUn45JogDlg* Open() {
        window = new CUn45JogDlg(view, true);
        window->OnClosed = [this] { ++closedCount; };
        EXPECT_TRUE(window->Create(nullptr));
        window->ShowWindow(SW_SHOW); // on the screen, as the command leaves it, so the user can click it
        life_ = window->Life();
        return window;
    }
    void WriteParameters() {
        messages->Clear();
        ui::Press(*window, IDC_JOG_PARAMETER_WRITE);
    }

    CUn45JogDlg* window = nullptr;
    std::weak_ptr<int> life_;
    int closedCount = 0;
};

TEST_F(Un45Window, OpeningReadsTheStrokeAndWaitsForParameterWrite) {
    drive->ClearLog();
    Open();
    EXPECT_EQ(Requests(), (std::vector<std::string>{R1(0x1704), R1(0x1705), R1(0x0F08), R1(0x1321),
                                                    R1(0x1322), R1(0x1323), R1(0x1324), R1(0x1719)}));
    EXPECT_EQ(ui::Text(*window, IDC_JOG_STOP_TIME), "100");
    ui::Screenshot(*window, "inertia-estimation");
    EXPECT_EQ(ui::Text(*window, IDC_JOG_ACCEL_TIME), "200");
    EXPECT_EQ(ui::Text(*window, IDC_JOG_SPEED), "300");
    EXPECT_EQ(ui::Text(*window, IDC_JOG_DISTANCE), "10");
    EXPECT_EQ(ui::SelectedText(*window, IDC_JOG_DIRECTION), "2: Forward=>Forward");
    EXPECT_EQ(ui::Text(*window, IDC_JOG_SPEED_RANGE), "(0~4500)");
    EXPECT_EQ(ui::Text(*window, IDC_JOG_SPEED_UNIT), "rpm");
    EXPECT_FALSE(ui::Enabled(*window, IDC_JOG_START));
    EXPECT_FALSE(ui::Enabled(*window, IDC_JOG_STOP));
}

TEST_F(Un45Window, FailedReadsLeaveTheirEditsEmptyAndLinearMotorsShowPitch) {
    drive->SetRegister(jogreg::MotorKind, 0x3000);
    drive->AddFault(
        {.kind = SimFaultKind::Silent, .address = 0x1323, .requestKind = SimRequestKind::MakerRead});
    Open();
    EXPECT_EQ(ui::Text(*window, IDC_JOG_SPEED), "");
    EXPECT_EQ(ui::Text(*window, IDC_JOG_DISTANCE), "10");
    EXPECT_EQ(ui::Text(*window, IDC_JOG_SPEED_UNIT), "mm/s");
    EXPECT_EQ(ui::Text(*window, IDC_JOG_DISTANCE_UNIT), "0.1pitch");
}

TEST_F(Un45Window, StrokeChecksNameTheFieldsAndWriteNothing) {
    Open();
    struct Case {
        int edit;
        const char* text;
        std::string message;
    };
    const Case cases[] = {
        {IDC_JOG_DISTANCE, "0", "Program Jog Stroke Moving Distance\nOver Range!!\n\n"},
        {IDC_JOG_SPEED, "4501", "Program Jog Stroke Moving Speed\nOver Range!!\n\n"},
        {IDC_JOG_STOP_TIME, "4", "Program Jog Stroke Stop Time\nOver Range!!\n\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string before = ui::Text(*window, c.edit);
        ui::Type(*window, c.edit, c.text);
        drive->ClearLog();
        WriteParameters();
        EXPECT_EQ(LastMessage(), c.message);
        EXPECT_EQ(messages->Shown().size(), 1u);
        EXPECT_FALSE(AnyWriteTo(0x0C26) || AnyWriteTo(0x0C29) || AnyWriteTo(0x0C25));
        ui::Type(*window, c.edit, before);
    }
}

TEST_F(Un45Window, NoDirectionIsRefusedNotWrittenAsABitField) {
    drive->SetRegister(jogreg::CurrentDirection, 0x0070);
    Open();
    EXPECT_EQ(ui::Selected(*window, IDC_JOG_DIRECTION), -1);
    WriteParameters();
    EXPECT_EQ(LastMessage(), "PosCmdAt_En\nOver Range!!\n\n");
    EXPECT_FALSE(AnyWriteTo(0x0C25));
}

TEST_F(Un45Window, ParameterWriteVerifiesInOrderAndArmsTheRun) {
    drive->SetRegister(jogreg::JogModeWord, 0x0105);
    Open();
    drive->ClearLog();
    WriteParameters();
    EXPECT_EQ(Requests(), (std::vector<std::string>{R1(0x1703), W1(0x0C26, 100), R1(0x0C26), W1(0x0C27, 200),
                                                    R1(0x0C27), W1(0x0C28, 300), R1(0x0C28), W1(0x0C29, 10),
                                                    R1(0x0C29), R1(0x0C25), W1(0x0C25, 0x0125), R1(0x0C25),
                                                    W1(Cn059(), 2), R1(0x0C25), W1(0x0C25, 0x0120)}));
    EXPECT_EQ(LastMessage(), "Write successfully!!");
    EXPECT_TRUE(ui::Enabled(*window, IDC_JOG_START));
    EXPECT_FALSE(ui::Enabled(*window, IDC_JOG_STOP));
    WriteParameters();
    EXPECT_EQ(drive->GetRegister(0x0C25), 0x0121) << "the second write arms digit 0";
}

TEST_F(Un45Window, RefusedWriteIsAFailureWithItsLabel) {
    Open();
    drive->RefuseAddress(0x0C27);
    WriteParameters();
    EXPECT_EQ(LastMessage(), "Program Jog Stroke Acceleration and Deceleration Time\nWrite Failed!");
    EXPECT_EQ(messages->Shown().size(), 1u);
    EXPECT_FALSE(ui::Enabled(*window, IDC_JOG_START));
}

TEST_F(Un45Window, ServoOnRefusesTheWrite) {
    Open();
    drive->SetServoOn(true);
    drive->ClearLog();
    WriteParameters();
    EXPECT_EQ(LastMessage(), "Servo ON! Writing parameter failed!");
    EXPECT_EQ(messages->Shown().back().caption, "Auto Gain Adjust Message");
    EXPECT_FALSE(AnyWriteTo(0x0C26));
}

TEST_F(Un45Window, StartRunsTheStrokeAndStopEndsIt) {
    Open();
    WriteParameters();
    drive->ClearLog();
    ui::Press(*window, IDC_JOG_START);
    EXPECT_FALSE(ui::Enabled(*window, IDC_JOG_START));
    EXPECT_FALSE(ui::Enabled(*window, IDCANCEL));
    EXPECT_FALSE(ui::Enabled(*window, IDC_JOG_PARAMETER_WRITE));
    EXPECT_TRUE(ui::Enabled(*window, IDC_JOG_STOP));
    jog->Sync();
    EXPECT_TRUE(jog->StrokeRunning());

    // The estimate settles on the machine's inertia ratio while the stroke runs.
    machine->Advance(6'000'000);
    ASSERT_TRUE(FireTimerForTest(window, InertiaDisplayTimer));
    ASSERT_TRUE(FireTimerForTest(window, InertiaDisplayTimer));
    EXPECT_EQ(ui::Text(*window, IDC_UN45_INERTIA), Format("%.1f", jog->InertiaRatioTimesTen() / 10.0));

    ui::Press(*window, IDC_JOG_STOP);
    jog->Sync();
    EXPECT_FALSE(jog->StrokeRunning());
    EXPECT_TRUE(ui::Enabled(*window, IDC_JOG_START));
    EXPECT_TRUE(ui::Enabled(*window, IDCANCEL));
    EXPECT_FALSE(ui::Enabled(*window, IDC_JOG_STOP));
    EXPECT_EQ(drive->GetRegister(0x1704), 5);
    EXPECT_EQ(drive->GetRegister(0x1705), 7);
}

TEST_F(Un45Window, RefusedStopIsToldAndStopStaysTheWayOn) {
    Open();
    WriteParameters();
    ui::Press(*window, IDC_JOG_START);
    drive->RefuseAddress(0x170E);
    messages->Clear();
    ui::Press(*window, IDC_JOG_STOP);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_NE(LastMessage().find("did not accept the stop"), std::string::npos);
    EXPECT_TRUE(ui::Enabled(*window, IDC_JOG_STOP));
    EXPECT_FALSE(ui::Enabled(*window, IDC_JOG_START));
    drive->RefuseAddress(0x170E, false);
    ui::Press(*window, IDC_JOG_STOP);
    EXPECT_FALSE(ui::Enabled(*window, IDC_JOG_STOP));
}

TEST_F(Un45Window, AlarmRefusesStart) {
    Open();
    WriteParameters();
    drive->SetRegister(0x1712, 1);
    drive->ClearLog();
    ui::Press(*window, IDC_JOG_START);
    EXPECT_EQ(LastMessage(), "Warning, please remove the alarm and try to tuning again.");
    EXPECT_FALSE(AnyWriteTo(0x170E));
}

TEST_F(Un45Window, EnterInAnEditRunsItsGuardAndKeepsTheWindow) {
    Open();
    CWnd* speed = window->GetDlgItem(IDC_JOG_SPEED);
    speed->SetFocus();
    SimulateKeyPress('A');
    DispatchPendingMessages();
    EXPECT_EQ(ui::Text(*window, IDC_JOG_SPEED), "300") << "a letter is refused at once";
    SimulateKeyPress(VK_RETURN);
    DispatchPendingMessages();
    EXPECT_FALSE(life_.expired());
    EXPECT_EQ(closedCount, 0);
    EXPECT_EQ(window->m_speed, 300);
}

TEST_F(Un45Window, CloseStopsARunRestoresAndClearsCn059) {
    Open();
    WriteParameters();
    ui::Press(*window, IDC_JOG_START);
    ui::Press(*window, IDC_JOG_STOP);
    drive->ClearLog();
    window->SendMessage(WM_CLOSE);
    const auto log = Requests();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), W1(0x170E, 0)) << "the running flag stays set: Close stops again";
    EXPECT_EQ(log.back(), W1(Cn059(), 0));
    EXPECT_EQ(closedCount, 1);
    EXPECT_TRUE(life_.expired());
    window = nullptr;
}

TEST_F(Un45Window, OnlineParameterOpensAnEditorOnEveryPressAndHelpShows) {
    Open();
    ui::Press(*window, IDC_JOG_ONLINE_PARAMETER);
    ui::Press(*window, IDC_JOG_ONLINE_PARAMETER);
    EXPECT_EQ(view.editorOwners, (std::vector<CWnd*>{window, window}));
    ui::ModalScript script;
    ui::Press(*window, IDC_UN45_HELP);
    EXPECT_EQ(script.Opened(), std::vector<UINT>{IDD_JOG_HELP});
}

TEST_F(Un45Window, LostLinkWritesNothingAndSaysSo) {
    Open();
    ConnectedFlag = 0;
    drive->ClearLog();
    WriteParameters();
    EXPECT_EQ(LastMessage(), "Communicate Error!");
    EXPECT_TRUE(Requests().empty());
    ConnectedFlag = 1;
}

} // namespace
