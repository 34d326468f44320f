// The program jog window as the user drives it: what it reads at opening, Parameter Write with its
// read-back and the jog mode word, the refusals, the shared Start and Stop in order, and Close.
#include "tests/tuning/ui/jog/JogWindowFixture.h"

#include "resources/ids/tools.h"
#include "resources/ids/tuningwindows.h"
#include "tools/ui/ProgramJogDlg.h"
#include "tuning/JogRun.h"

namespace {

class ProgramJogWindow : public JogWindowFixture {
protected:
    void SetUp() override {
        OpenJogWorld("progjog");
        if (HasFatalFailure())
            return;
        drive->SetRegister(jogreg::RunModeA, 5);
        drive->SetRegister(jogreg::RunModeB, 7);
        drive->SetRegister(jogreg::CurrentStopTime, 100);
        drive->SetRegister(jogreg::CurrentAccelerationTime, 200);
        drive->SetRegister(jogreg::CurrentMovingSpeed, 300);
        drive->SetRegister(jogreg::CurrentMovingDistance, 10);
        drive->SetRegister(jogreg::CurrentDirection, 0x0020);
        drive->SetRegister(jogreg::JogModeWord, 0x0031);
    }
    void TearDown() override {
        if (window && !life_.expired())
            window->DestroyWindow();
        CloseJogWorld();
    }
    CProgramJogDlg* Open() {
        window = new CProgramJogDlg(view);
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
    // The writes that reached the drive, in order.
    std::vector<std::string> Writes() const {
        std::vector<std::string> writes;
        for (const std::string& request : Requests())
            if (request.rfind("W1", 0) == 0)
                writes.push_back(request);
        return writes;
    }

    CProgramJogDlg* window = nullptr;
    std::weak_ptr<int> life_;
    int closedCount = 0;
};

TEST_F(ProgramJogWindow, ParameterWriteVerifiesEachSettingAndPutsPatternTwoIntoTheModeWord) {
    drive->ClearLog();
    Open();
    EXPECT_EQ(Requests(), (std::vector<std::string>{R1(0x1704), R1(0x1705), R1(0x0F08), R1(0x1321),
                                                    R1(0x1322), R1(0x1323), R1(0x1324), R1(0x1719)}));
    EXPECT_EQ(window->GetWindowText(), "Program Jog");
    EXPECT_EQ(ui::SelectedText(*window, IDC_JOG_DIRECTION), "2: Forward=>Forward");
    EXPECT_EQ(ui::Text(*window, IDC_JOG_SPEED_RANGE), "(0~4500)");
    EXPECT_FALSE(ui::Enabled(*window, IDC_JOG_START));
    EXPECT_FALSE(ui::Enabled(*window, IDC_JOG_STOP));

    ui::Type(*window, IDC_JOG_DISTANCE, "25");
    drive->ClearLog();
    WriteParameters();
    EXPECT_EQ(Requests(),
              (std::vector<std::string>{R1(0x1703), W1(0x0C26, 100), R1(0x0C26), W1(0x0C27, 200), R1(0x0C27),
                                        W1(0x0C28, 300), R1(0x0C28), W1(0x0C29, 25), R1(0x0C29), R1(0x0C25),
                                        W1(0x0C25, 0x0021), R1(0x0C25), R1(0x0C25), W1(0x0C25, 0x0021)}));
    EXPECT_EQ(LastMessage(), "Write successfully!!");
    EXPECT_EQ(drive->GetRegister(0x0C29), 25);
    EXPECT_TRUE(ui::Enabled(*window, IDC_JOG_START));
    EXPECT_FALSE(ui::Enabled(*window, IDC_JOG_STOP));
}

TEST_F(ProgramJogWindow, RefusalsWriteNoGuessedModeWord) {
    struct Case {
        const char* name;
        int direction;   // 0x1719 at opening
        bool unreadable; // 0x0C25 gives no answer
        int distance;
        std::string message;
        bool anyWrite;
    };
    const Case cases[] = {
        {"unreadable mode word", 0x0020, true, 10, "PosCmdAt_En\nWrite Failed!", true},
        {"no direction selected", 0x0070, false, 10, "PosCmdAt_En\nOver Range!!\n\n", false},
        {"distance of zero", 0x0020, false, 0, "Program Jog Stroke Moving Distance\nOver Range!!\n\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        drive->SetRegister(jogreg::CurrentDirection, c.direction);
        Open();
        ui::Type(*window, IDC_JOG_DISTANCE, std::to_string(c.distance));
        if (c.unreadable)
            drive->AddFault({.kind = SimFaultKind::Silent,
                             .address = jogreg::JogModeWord,
                             .requestKind = SimRequestKind::MakerRead});
        drive->ClearLog();
        WriteParameters();
        EXPECT_EQ(LastMessage(), c.message);
        EXPECT_EQ(messages->Shown().size(), 1u);
        EXPECT_FALSE(AnyWriteTo(jogreg::JogModeWord));
        EXPECT_EQ(drive->GetRegister(jogreg::JogModeWord), 0x0031);
        EXPECT_EQ(AnyWriteTo(jogreg::StopTime), c.anyWrite);
        EXPECT_FALSE(ui::Enabled(*window, IDC_JOG_START));
        drive->ClearFaults();
        window->DestroyWindow();
        window = nullptr;
    }
}

TEST_F(ProgramJogWindow, StartAndStopReachTheDriveInOrderAndCloseRestores) {
    Open();
    WriteParameters();
    drive->ClearLog();
    ui::Press(*window, IDC_JOG_START);
    EXPECT_EQ(Writes(),
              (std::vector<std::string>{W1(0x1704, 2), W1(0x1705, 2), W1(0x170E, 1), W1(0x0C25, 0x0021)}));
    EXPECT_FALSE(ui::Enabled(*window, IDC_JOG_START));
    EXPECT_FALSE(ui::Enabled(*window, IDC_JOG_PARAMETER_WRITE));
    EXPECT_FALSE(ui::Enabled(*window, IDCANCEL));
    EXPECT_TRUE(ui::Enabled(*window, IDC_JOG_STOP));
    jog->Sync();
    EXPECT_TRUE(jog->StrokeRunning());

    drive->ClearLog();
    ui::Press(*window, IDC_JOG_STOP);
    EXPECT_EQ(Writes(),
              (std::vector<std::string>{W1(0x170E, 0), W1(0x0C25, 0x0020), W1(0x1704, 5), W1(0x1705, 7)}));
    jog->Sync();
    EXPECT_FALSE(jog->StrokeRunning());
    EXPECT_TRUE(ui::Enabled(*window, IDC_JOG_START));
    EXPECT_TRUE(ui::Enabled(*window, IDCANCEL));
    EXPECT_FALSE(ui::Enabled(*window, IDC_JOG_STOP));

    drive->SetRegister(jogreg::RunModeA, 2);
    window->SendMessage(WM_CLOSE);
    EXPECT_EQ(drive->GetRegister(jogreg::RunModeA), 5) << "Close puts the run registers back";
    EXPECT_EQ(closedCount, 1);
    EXPECT_TRUE(life_.expired());
    window = nullptr;
}

TEST_F(ProgramJogWindow, AlarmRefusesStartAndOnlineParameterOpensAnEditor) {
    Open();
    WriteParameters();
    drive->SetRegister(0x1712, 1);
    drive->ClearLog();
    ui::Press(*window, IDC_JOG_START);
    EXPECT_EQ(LastMessage(), "Warning, please remove the alarm and try to tuning again.");
    EXPECT_FALSE(AnyWriteTo(0x170E));
    ui::Press(*window, IDC_JOG_ONLINE_PARAMETER);
    EXPECT_EQ(view.editorOwners, std::vector<CWnd*>{window});
}

} // namespace
