// The position control window: its system page (position mode, function assignment, virtual inputs
// with their ON/OFF buttons), the homing page and the path-program page, and its closing.
#include "PositionFixture.h"

#include "tests/controls/ControlsTestSupport.h"
#include "tests/support/DialogDriver.h"

#include "framework/ui/TabCtrl.h"
#include "link/LinkState.h"
#include "link/services/StopKeeper.h"
#include "resources/ids/tools.h"
#include "tools/MultiPositionRun.h"
#include "tools/ui/PosAllDlg.h"
#include "tools/ui/PositionPageSupport.h"

namespace {

class PositionWindow : public PositionFixture {
protected:
    void TearDown() override {
        if (!life_.expired())
            window->DestroyWindow();
        PositionFixture::TearDown();
    }
    CPosAllDlg* Open() {
        window = new CPosAllDlg(view, nullptr);
        EXPECT_TRUE(window->Create());
        window->ShowWindow(SW_SHOW);
        life_ = window->Life();
        return window;
    }
    // The path-program page with a one-target program written for the virtual inputs, the servo
    // enabled and PTRG on: the drive runs 100 revolutions at 600 rpm.
    CMulPosDlg1& StartPathRun() {
        drive->SetRegister32(0x1706, 8388608);
        SetDrive("Hn601", 0x01);
        SetDrive("Hn603", 0x12);
        SetDrive("Hn617", 0xFC5);
        SetDrive("Pn381", 0x100);
        Open();
        CMulPosDlg1& page = window->m_multiIo;
        ui::ChooseTab(*window, IDC_POS_TAB, 3);
        ui::Type(page, IDC_MP_UNITS, "10");
        ui::Type(page, IDC_MP_TARGET1, "1000");
        ui::Type(page, IDC_MP_SPEED1, "100");
        ui::Press(page, IDC_MP_WRITE);
        ui::Press(page, IDC_MP_ENABLE);
        ui::Press(page, IDC_MP_START);
        EXPECT_EQ(Drive("Hn618") & 0x5, 0x5);
        EXPECT_EQ(ui::Text(page, IDC_MP_START), "Stop");
        RunMachine(200000);
        EXPECT_NE(machine->Signal(SimSignal::SpeedFeedback), 0) << "the drive runs the program";
        messages->Clear();
        return page;
    }
    // The drive follows its inputs, the machine takes the servo state at the next request, then runs.
    void Settle() {
        RunMachine(10000);
        view.services.ReadDriveRegister(0x1703);
        RunMachine(3000000); // a coasting motor needs a while
    }
    // The run's stop went: the buttons offer a new run and nothing of it is left on.
    void ExpectRunEnded(CMulPosDlg1& page) {
        EXPECT_EQ(ui::Text(page, IDC_MP_ENABLE), "Enable");
        EXPECT_EQ(ui::Text(page, IDC_MP_START), "Start");
        EXPECT_FALSE(page.HasTimer(CMulPosDlg1::ServoWatchTimerId));
        EXPECT_EQ(MultiPositionIoRunFlag, 0);
    }
    // The homing page shown, with the limits its write checks against.
    CHomeDlg& OpenHoming() {
        Limits("Pn355", 0, 37);
        Limits("Pn318", 0, 2000);
        Limits("Pn319", 0, 500);
        Open();
        ui::ChooseTab(*window, IDC_POS_TAB, 1);
        return window->m_home;
    }
    CPosAllDlg* window = nullptr;
    std::weak_ptr<int> life_;
};

const std::vector<std::string> kAssignmentAfterMask = {
    PositionFixture::Write("Hn602", 0x14),  PositionFixture::Write("Hn610", 0),
    PositionFixture::Write("Hn606", 0x15),  PositionFixture::Write("Hn611", 0),
    PositionFixture::Write("Hn604", 0x104), PositionFixture::Write("Hn605", 0x105),
    PositionFixture::Write("Hn603", 0x12),  PositionFixture::Write("Hn612", 0x13),
    PositionFixture::Write("Hn616", 6)};

// The button's mean colour inside its frame: the face dominates, whatever the style's shading and
// the text take.
QColor MeanFace(CWnd& button) {
    const QImage image = Grab(button);
    long r = 0, g = 0, b = 0, n = 0;
    for (int y = 3; y < image.height() - 3; ++y)
        for (int x = 3; x < image.width() - 3; ++x) {
            const QRgb p = image.pixel(x, y);
            r += qRed(p);
            g += qGreen(p);
            b += qBlue(p);
            ++n;
        }
    return n ? QColor(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n)) : QColor();
}

bool Reddish(const QColor& c) {
    return c.red() > 150 && c.green() < c.red() / 2 && c.blue() < c.red() / 2;
}

bool Greenish(const QColor& c) {
    return c.green() > 150 && c.red() < c.green() / 2 && c.blue() < c.green() / 2;
}

} // namespace

TEST_F(PositionWindow, OpensWithFourPagesAndItsSnapshot) {
    SetDrive("Cn001", 6);
    SetDrive("Hn617", 0x0FC5);
    Open();
    ASSERT_EQ(window->m_tab.GetItemCount(), 4);
    TCITEM item;
    item.mask = TCIF_TEXT;
    window->m_tab.GetItem(3, &item);
    EXPECT_EQ(item.pszText, "position control2");
    EXPECT_EQ(window->Snapshot[1], 0x0FC5) << "Hn617";
    EXPECT_EQ(window->Snapshot[9], 6) << "Cn001";
    EXPECT_FALSE(ui::Enabled(window->m_system, IDC_PS_WRITE_MODE)) << "already in position mode";
    EXPECT_TRUE(ui::Enabled(window->m_system, IDOK));
    EXPECT_TRUE(window->m_system.IsWindowVisible());
    EXPECT_FALSE(window->m_home.IsWindowVisible());
    for (int id : {IDC_PS_PC_SVON, IDC_PS_ORG, IDC_PS_SVON, IDC_PS_INP})
        EXPECT_FALSE(ui::Enabled(window->m_system, id));
}

TEST_F(PositionWindow, SetWritesTheMaskAndTheAssignment) {
    SetDrive("Cn001", 6);
    Open();
    drive->ClearLog();
    messages->Answer(IDNO);
    ui::Press(window->m_system, IDOK);
    std::vector<std::string> expected = {Write("Hn617", 0xFC0)};
    expected.insert(expected.end(), kAssignmentAfterMask.begin(), kAssignmentAfterMask.end());
    expected.push_back(Read("Hn618"));
    expected.push_back(ReadRegister(0x1703));
    EXPECT_EQ(Requests(), expected) << "no Hn601 without SVON, and no restart after No";
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{"Do you want to restart for the parameters to take effect?"}));
    EXPECT_TRUE(ui::Checked(window->m_system, IDC_PS_CHECK_PC_SVON)) << "Set enables PC-SVON";
    EXPECT_TRUE(ui::Enabled(window->m_system, IDC_PS_PC_SVON));
    EXPECT_FALSE(ui::Enabled(window->m_system, IDC_PS_ORG));
    EXPECT_FALSE(ui::Enabled(window->m_system, IDC_PS_INP));

    // With the SVON row: DI1 becomes SON after the mask.
    ui::SetChecked(window->m_system, IDC_PS_CHECK_SVON, true);
    drive->ClearLog();
    messages->Answer(IDYES);
    ui::Press(window->m_system, IDOK);
    const std::vector<std::string> log = Requests();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], Write("Hn617", 0xFC1));
    EXPECT_EQ(log[1], Write("Hn601", 1));
    EXPECT_EQ(Drive("Hn603"), 0x12);
    EXPECT_TRUE(ui::Enabled(window->m_system, IDC_PS_SVON));
}

TEST_F(PositionWindow, ARefusedAssignmentSaysSoAndEnablesNothing) {
    SetDrive("Cn001", 6);
    drive->RefuseAddress(*ParamCodeRegisterAddress("Hn606"));
    Open();
    ui::Press(window->m_system, IDC_PS_ALL);
    ui::Press(window->m_system, IDOK);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Write Failed!"}));
    EXPECT_FALSE(ui::Enabled(window->m_system, IDC_PS_PC_SVON));
    EXPECT_FALSE(ui::Enabled(window->m_system, IDC_PS_ORG));
}

TEST_F(PositionWindow, TogglesWriteTheInputsAndPaintTheirState) {
    SetDrive("Cn001", 6);
    Open();
    ui::Press(window->m_system, IDC_PS_ALL);
    messages->Answer(IDNO);
    ui::Press(window->m_system, IDOK);
    CMFCButton& org = window->m_system.m_buttons[CPosSysDlg::RowOrg];
    EXPECT_EQ(org.GetFaceColor(), StateOffColour);
    EXPECT_TRUE(Reddish(MeanFace(org))) << "OFF on red";

    drive->ClearLog();
    ui::Press(window->m_system, IDC_PS_ORG);
    EXPECT_EQ(Requests(),
              (std::vector<std::string>{Write("Hn618", 0x20), Read("Hn618"), ReadRegister(0x1703)}));
    EXPECT_EQ(ui::Text(window->m_system, IDC_PS_ORG), "ON");
    EXPECT_TRUE(Greenish(MeanFace(org))) << "ON on green";

    // A row whose enable check is cleared does not change.
    ui::SetChecked(window->m_system, IDC_PS_CHECK_ORG, false);
    drive->ClearLog();
    ui::Press(window->m_system, IDC_PS_ORG);
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(ui::Text(window->m_system, IDC_PS_ORG), "ON");

    // "All" cleared leaves PC-SVON enabled; its button is the drive's run command.
    ui::SetChecked(window->m_system, IDC_PS_ALL, false);
    EXPECT_TRUE(ui::Checked(window->m_system, IDC_PS_CHECK_PC_SVON));
    EXPECT_FALSE(ui::Checked(window->m_system, IDC_PS_CHECK_SHOME));
    drive->ClearLog();
    ui::Press(window->m_system, IDC_PS_PC_SVON);
    EXPECT_EQ(Requests().front(), WriteRegister(0x170E, 1));
    EXPECT_EQ(ui::Text(window->m_system, IDC_PS_PC_SVON), "ON") << "the drive's servo is on";
    EXPECT_EQ(drive->GetRegister(0x1703) & 1, 1);
}

TEST_F(PositionWindow, WriteModeAsksForThePowerCycle) {
    SetDrive("Cn001", 0);
    Open();
    EXPECT_TRUE(ui::Enabled(window->m_system, IDC_PS_WRITE_MODE));
    EXPECT_FALSE(ui::Enabled(window->m_system, IDOK));
    ui::Press(window->m_system, IDC_PS_WRITE_MODE);
    EXPECT_EQ(Drive("Cn001"), 6);
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{"Write parameters when power on after writing mode!"}));
    EXPECT_TRUE(ui::Enabled(window->m_system, IDOK));
}

TEST_F(PositionWindow, ClosingSwitchesThePcServoOffAndFreesTheWindow) {
    Open();
    drive->ClearLog();
    window->SendMessage(WM_CLOSE);
    EXPECT_EQ(Requests(), (std::vector<std::string>{WriteRegister(0x170E, 0)}));
    ASSERT_EQ(view.closed.size(), 1u);
    EXPECT_TRUE(life_.expired());
}

TEST_F(PositionWindow, HomingWriteSetsTheHomingDigit) {
    SetDrive("Pn317", 0x1534);
    SetDrive("Pn355", 3);
    CHomeDlg& home = OpenHoming();
    EXPECT_EQ(ui::Text(home, IDC_HM_MODE), "3");
    EXPECT_EQ(ui::Text(home, IDC_HM_HIGH_RANGE), "(0~2000)");
    EXPECT_FALSE(ui::Enabled(home, IDC_HM_ORG));

    ui::Type(home, IDC_HM_MODE, "0");
    ui::Press(home, IDC_HM_WRITE);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Pn355 Over Range!!\n\n"}))
        << "mode 0 though the minimum is 0";
    messages->Clear();
    ui::Type(home, IDC_HM_LOW_SPEED, "");
    drive->ClearLog();
    ui::Press(home, IDC_HM_WRITE);
    EXPECT_TRUE(Requests().empty());
    EXPECT_TRUE(messages->Shown().empty()) << "an empty edit does nothing";

    ui::Type(home, IDC_HM_MODE, "5");
    ui::Type(home, IDC_HM_HIGH_SPEED, "1000");
    ui::Type(home, IDC_HM_LOW_SPEED, "50");
    ui::Press(home, IDC_HM_WRITE);
    EXPECT_EQ(Drive("Pn317"), 0x1234);
    EXPECT_EQ(Drive("Pn318"), 1000);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Write Finish!"}));
    EXPECT_TRUE(ui::Enabled(home, IDC_HM_ORG));

    // Toggling ORG clears every input but the homing ones.
    SetDrive("Hn618", 0x0805);
    ui::Press(home, IDC_HM_ORG);
    EXPECT_EQ(Drive("Hn618"), 0x20);
    EXPECT_EQ(ui::Text(home, IDC_HM_ORG), "ON");

    // Without a Pn317 read there is nothing to modify: no write, and the failure is reported.
    messages->Clear();
    drive->AddFault({.kind = SimFaultKind::Refuse,
                     .address = *ParamCodeRegisterAddress("Pn317"),
                     .requestKind = SimRequestKind::MakerRead});
    drive->ClearLog();
    SetDrive("Pn317", 0x0000);
    ui::Press(home, IDC_HM_WRITE);
    EXPECT_FALSE(Sent(Write("Pn317", 0x0200)));
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Write Failed!"}));
}

TEST_F(PositionWindow, HomingServoOffWithoutALinkSaysSoAndKeepsTheStop) {
    SetDrive("Pn355", 3);
    CHomeDlg& home = OpenHoming();
    ui::Press(home, IDC_HM_WRITE); // the servo button answers only after a write
    ui::Press(home, IDC_HM_SERVO);
    ASSERT_EQ(drive->GetRegister(0x170E), 1);
    ConnectedFlag = 0; // as the view's link supervision leaves it
    drive->ClearLog();
    messages->Clear();
    ui::Press(home, IDC_HM_SERVO);
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{CStopKeeper::NoLinkText("homing")}));
    EXPECT_EQ(view.services.Stops.KeptMotions(), std::vector<std::string>{"homing"});
    EXPECT_EQ(ui::Text(home, IDC_HM_SERVO), "OFF");

    ConnectedFlag = 1;
    EXPECT_EQ(view.services.Stops.SendKept().taken, std::vector<std::string>{"homing"});
    EXPECT_EQ(Requests(), (std::vector<std::string>{WriteRegister(0x170E, 0)}));
}

TEST_F(PositionWindow, PathProgramWriteForOneAndTwoTargets) {
    drive->SetRegister32(0x1706, 8388608);
    SetDrive("Hn617", 0xFFFF);
    SetDrive("Pn381", 0);
    Open();
    CMulPosDlg1& page = window->m_multiIo;
    ui::ChooseTab(*window, IDC_POS_TAB, 3);
    EXPECT_FALSE(ui::Enabled(page, IDC_MP_START)) << "no path mode yet";
    EXPECT_FALSE(ui::Enabled(page, IDC_MP_ENABLE));
    ui::Type(page, IDC_MP_UNITS, "10");
    ui::Type(page, IDC_MP_TARGET1, "10");
    ui::Type(page, IDC_MP_SPEED1, "100");
    ui::Type(page, IDC_MP_DWELL, "700");
    drive->ClearLog();
    ui::Press(page, IDC_MP_WRITE);
    EXPECT_TRUE(Sent(Write("Pn401", 1)));
    EXPECT_TRUE(Sent(Write("Pn402", 0)));
    EXPECT_TRUE(Sent(Write("Pn403", 600)));
    EXPECT_TRUE(Sent(Write("Pn499", 700)));
    EXPECT_TRUE(Sent(Write("Pn406", 0)) && Sent(Write("Pn496", 0)));
    EXPECT_FALSE(Sent(Write("Pn497", 700)));
    EXPECT_EQ(Drive("Pn381"), 0x100);
    EXPECT_EQ(Drive("Hn617"), 0xFFFF) << "(0xFFFF & 0xFFFA) + 5";
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Write Finish!"}));
    EXPECT_TRUE(ui::Enabled(page, IDC_MP_START));
    EXPECT_TRUE(ui::Enabled(page, IDC_MP_ENABLE));

    // Two targets, cyclic, from the terminals: positions 3..32 cleared, Start and Enable off.
    ui::SetChecked(page, IDC_MP_SECOND, true);
    ui::Type(page, IDC_MP_TARGET2, "30");
    ui::Type(page, IDC_MP_SPEED2, "100");
    ui::Type(page, IDC_MP_DWELL2, "800");
    ui::SetChecked(page, IDC_MP_CYCLIC, true);
    ui::Press(page, IDC_MP_HARDWARE_IO);
    messages->Clear();
    drive->ClearLog();
    ui::Press(page, IDC_MP_WRITE);
    EXPECT_TRUE(Sent(Write("Pn404", 3)));
    EXPECT_TRUE(Sent(Write("Pn497", 700)));
    EXPECT_TRUE(Sent(Write("Pn499", 800)));
    EXPECT_FALSE(Sent(Write("Pn406", 0)));
    EXPECT_TRUE(Sent(Write("Pn409", 0)));
    EXPECT_EQ(Drive("Pn381"), 0x200);
    EXPECT_EQ(Drive("Hn617"), 0xFFFA);
    EXPECT_FALSE(ui::Enabled(page, IDC_MP_START));
    EXPECT_FALSE(ui::Enabled(page, IDC_MP_ENABLE));
}

TEST_F(PositionWindow, PathProgramStartTogglesPtrgAndRefusalsAreReported) {
    drive->SetRegister32(0x1706, 131072);
    SetDrive("Pn381", 0x100);
    SetDrive("Hn618", 0x0001);
    Open();
    CMulPosDlg1& page = window->m_multiIo;
    ui::ChooseTab(*window, IDC_POS_TAB, 3);
    ui::Press(page, IDC_MP_START);
    EXPECT_EQ(Drive("Hn618"), 0x0005);
    EXPECT_EQ(ui::Text(page, IDC_MP_START), "Stop");
    EXPECT_EQ(MultiPositionIoRunFlag, 1);
    ui::Press(page, IDC_MP_START);
    EXPECT_EQ(Drive("Hn618"), 0x0001);
    EXPECT_EQ(ui::Text(page, IDC_MP_START), "Start");
    EXPECT_EQ(MultiPositionIoRunFlag, 0);

    // A refused program write is no "Write Finish!".
    drive->RefuseAddress(*ParamCodeRegisterAddress("Pn381"));
    ui::Press(page, IDC_MP_WRITE);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(MessageTexts()[0], "Pn381 \nWrite Failed!");
    EXPECT_FALSE(ui::Enabled(page, IDC_MP_START));

    // The other page's run locks this one out.
    messages->Clear();
    MultiPositionRunFlag = 1;
    drive->SetServoOn(true);
    drive->ClearLog();
    ui::Press(page, IDC_MP_WRITE);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Position control is working!"}));
    EXPECT_EQ(Requests(), (std::vector<std::string>{ReadRegister(0x1703)}));
}

TEST_F(PositionWindow, PathRunStopThatFellIntoAFreezeIsSentFirstWhenTheLinkComesBack) {
    CMulPosDlg1& page = StartPathRun();
    drive->Freeze(std::chrono::seconds(7));
    ui::Press(page, IDC_MP_START); // "Stop"
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{CStopKeeper::NoAnswerText("path program run")}));
    ExpectRunEnded(page);
    EXPECT_EQ(Drive("Hn618") & 0x5, 0x5) << "the drive never got the stop";

    // The link comes back: the kept stop switches servo on and PTRG off, the other inputs stay.
    drive->Thaw();
    SetDrive("Hn618", 0x0805);
    drive->ClearLog();
    const CStopKeeper::Delivery delivery = view.services.Stops.SendKept();
    EXPECT_EQ(delivery.taken, (std::vector<std::string>{"path program run"}));
    EXPECT_EQ(Requests(), (std::vector<std::string>{Read("Hn618"), Write("Hn618", 0x0800)}));
    Settle();
    EXPECT_EQ(machine->Signal(SimSignal::SpeedFeedback), 0);
    EXPECT_EQ(drive->GetRegister(0x1703) & 1, 0);
}

TEST_F(PositionWindow, PathRunStopsWithoutALinkSaySoAndSendNothing) {
    struct Case {
        const char* what;
        std::function<void(CMulPosDlg1&)> act;
    };
    const Case cases[] = {
        {"Disable", [](CMulPosDlg1& page) { ui::Press(page, IDC_MP_ENABLE); }},
        {"Stop", [](CMulPosDlg1& page) { ui::Press(page, IDC_MP_START); }},
        {"servo watch", [](CMulPosDlg1& page) { FireTimerForTest(&page, CMulPosDlg1::ServoWatchTimerId); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CMulPosDlg1& page = StartPathRun();
        ConnectedFlag = 0; // as the view's link supervision leaves it
        drive->ClearLog();
        c.act(page);
        EXPECT_TRUE(Requests().empty());
        EXPECT_EQ(MessageTexts(), (std::vector<std::string>{CStopKeeper::NoLinkText("path program run")}));
        ExpectRunEnded(page);
        EXPECT_EQ(view.services.Stops.KeptMotions(), std::vector<std::string>{"path program run"});

        // A second press is a start, not a stop: still one message.
        ui::Press(page, IDC_MP_START);
        EXPECT_EQ(messages->Shown().size(), 1u);
        EXPECT_TRUE(Requests().empty());

        ConnectedFlag = 1;
        EXPECT_EQ(view.services.Stops.SendKept().taken, std::vector<std::string>{"path program run"});
        EXPECT_EQ(Drive("Hn618") & 0x5, 0);
        window->DestroyWindow();
        messages->Clear();
    }
}

TEST_F(PositionWindow, ClosingUnderAPathRunSwitchesItsInputsOffToo) {
    StartPathRun();
    SetDrive("Hn618", 0x0805);
    drive->ClearLog();
    window->SendMessage(WM_CLOSE);
    EXPECT_EQ(Requests(),
              (std::vector<std::string>{WriteRegister(0x170E, 0), Read("Hn618"), Write("Hn618", 0x0800)}));
    EXPECT_EQ(MultiPositionIoRunFlag, 0) << "no run outlives its window";
    Settle();
    EXPECT_EQ(machine->Signal(SimSignal::SpeedFeedback), 0);
}
