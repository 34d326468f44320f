// The JOG window opened by the program's own command, against the simulated drive's motor: what a
// press and every way a press can end post to the view, and what the motor does meanwhile.
#include "tests/shell/ui/ShellUiFixture.h"

#include "framework/core/Format.h"
#include "link/InternalCode.h"
#include "resources/ids/tools.h"
#include "resources/ids/tuning.h"
#include "resources/ids/tuningwindows.h"
#include "sim/SimJog.h"
#include "sim/SimMachine.h"
#include "tests/support/DialogDriver.h"
#include "tools/ui/MulPosDlg.h"
#include "tools/ui/ProgramJogDlg.h"
#include "tuning/JogRun.h"
#include "tuning/ui/AutoOffsetDialog.h"
#include "tuning/ui/JOGRigidityDlg.h"
#include "tuning/ui/JogAutotuningDlg.h"
#include "tuning/ui/JogDlg.h"
#include "tuning/ui/LowfreDlg.h"
#include "tuning/ui/NotchDlg.h"
#include "tuning/ui/Un45JogDlg.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

struct JogModeWindow : ShellUiFixture {
    void SetUp() override {
        ShellUiFixture::SetUp();
        machine = std::make_unique<CSimMachine>(drive);
        jog = std::make_unique<CSimJog>(drive, *machine);
    }
    CJogDlg* OpenJog() {
        View()->SendMessage(WM_COMMAND, ID_JOG_MODE);
        window = View()->JogWindow;
        if (window)
            life = window->Life();
        return window;
    }
    // The view handles what the window posted.
    void Deliver() {
        for (int i = 0; i < 5; ++i)
            DispatchPendingMessages();
        jog->Sync();
    }
    void Press(CPTZButton& button) { button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0); }
    double SpeedAfter(int64_t us) {
        machine->Advance(us);
        return machine->Signal(SimSignal::SpeedFeedback);
    }
    // Opens the JOG window with this jog speed, enters the jog servo and holds CW down.
    void HoldClockwise(int speed) {
        drive.SetRegisterSigned(0x0201, speed);
        ASSERT_NE(OpenJog(), nullptr);
        ui::Press(*window, IDC_JM_SERVO);
        Press(window->m_cw);
        Deliver();
    }
    // Stroke settings the two stroke jog windows accept, and run registers to put back.
    void SetStrokeRegisters() {
        drive.SetRegister(jogreg::RunModeA, 5);
        drive.SetRegister(jogreg::RunModeB, 7);
        drive.SetRegister(jogreg::CurrentStopTime, 100);
        drive.SetRegister(jogreg::CurrentAccelerationTime, 200);
        drive.SetRegister(jogreg::CurrentMovingSpeed, 300);
        drive.SetRegister(jogreg::CurrentMovingDistance, 100);
        drive.SetRegister(jogreg::CurrentDirection, 0x0020);
    }
    // The user connects again to the same drive.
    void Reconnect() {
        app->AutoConnect = {true, Entry(), 0};
        View()->SendMessage(WM_COMMAND, ID_CONNECT);
    }
    // A stop delivered after a loss is not sent again: neither by the next tick nor by the next
    // Connect, and nothing more is said.
    void ExpectNoStopLeftToSend() {
        drive.ClearLog();
        messages.Clear();
        Tick();
        EXPECT_TRUE(Requests().empty());
        Reconnect();
        ASSERT_EQ(ConnectedFlag.load(), 1);
        EXPECT_NE(Requests().front(), JogSpeedWrite(0));
        EXPECT_TRUE(messages.Shown().empty());
    }
    static std::string WriteWord(int address, int value) {
        char text[16] = {};
        CInternalCode::BuildWriteWord(text, static_cast<uint16_t>(address), value);
        return std::string(text, 12);
    }
    static std::string JogSpeedWrite(int speed) {
        char text[16] = {};
        CInternalCode::BuildWriteParam(text, '2', 1, speed);
        return std::string(text, 12);
    }
    int WritesTo(int address) const {
        const std::string prefix = Format("W1%04X", address);
        const auto log = Requests();
        return static_cast<int>(std::count_if(log.begin(), log.end(),
                                              [&](const std::string& r) { return r.rfind(prefix, 0) == 0; }));
    }

    std::unique_ptr<CSimMachine> machine;
    std::unique_ptr<CSimJog> jog;
    CJogDlg* window = nullptr;
    std::weak_ptr<int> life;
};

TEST_F(JogModeWindow, HeldButtonTurnsTheMotorAndEveryEndOfThePressStopsIt) {
    StartLinked();
    drive.SetRegisterSigned(0x0201, 500);
    ASSERT_NE(OpenJog(), nullptr);
    EXPECT_EQ(ui::Text(*window, IDC_JM_SPEED), "500");
    EXPECT_EQ(ui::Text(*window, IDC_JM_SERVO), "Enter SON");
    ui::Press(*window, IDC_JM_SERVO);
    EXPECT_EQ(ui::Text(*window, IDC_JM_SERVO), "Cancel SON");
    Deliver();
    EXPECT_EQ(drive.GetRegister(0x1803), 1);
    EXPECT_EQ(drive.GetRegister(0x1801), 1);

    Press(window->m_ccw);
    Deliver();
    EXPECT_EQ(drive.GetRegisterSigned(0x0201), -500) << "CCW posts 7 with -500";
    EXPECT_EQ(jog->SpeedCommand(), -500.0);
    EXPECT_LT(SpeedAfter(1'000'000), -400);
    window->m_ccw.SendMessage(WM_LBUTTONUP, 0, 0);
    Deliver();
    EXPECT_EQ(jog->SpeedCommand(), 0.0);
    EXPECT_LT(std::abs(SpeedAfter(1'000'000)), 20.0) << "released: the motor is back at rest";

    // A press that ends without a release still stops: capture lost, focus lost, the link gone.
    const std::function<void()> endings[] = {
        [&] { window->m_cw.SendMessage(WM_CAPTURECHANGED, 0, 0); },
        [&] { window->m_cw.SendMessage(WM_KILLFOCUS, 0, 0); },
        // The exchange layer clears the flag on a reply that shows the link gone; the view tells
        // its windows, and the stop is handled once the link is back.
        [&] {
            ConnectedFlag = 0;
            View()->TuningWindowsLinkChanged();
            ConnectedFlag = 1;
        },
    };
    for (const auto& end : endings) {
        Press(window->m_cw);
        Deliver();
        EXPECT_EQ(jog->SpeedCommand(), 500.0);
        EXPECT_GT(SpeedAfter(500'000), 300);
        end();
        Deliver();
        EXPECT_EQ(jog->SpeedCommand(), 0.0);
        EXPECT_LT(std::abs(SpeedAfter(1'000'000)), 20.0);
    }
}

TEST_F(JogModeWindow, OneDamagedReplyWhileJoggingStopsTheMotorOnTheSameLineWithoutConnect) {
    StartLinked();
    HoldClockwise(100);
    ASSERT_GT(SpeedAfter(1'000'000), 80);

    // One status reply comes back with one digit wrong; the line is clean again at once.
    drive.AddFault({.kind = SimFaultKind::Corrupt, .address = 0x1703, .count = 1});
    drive.ClearLog();
    messages.Clear();
    Tick(ServoStatusTimer);
    Deliver(); // the loss is taken: nothing else, no tick, no Connect

    const auto log = drive.Log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0].request, Read1(0x1703));
    EXPECT_TRUE(log[0].faulted);
    EXPECT_EQ(log[1].request, JogSpeedWrite(0)) << "the stop is the first request after the damaged reply";
    EXPECT_EQ(log[1].reply, "%");
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const SimLogEntry& e) { return e.request[0] == 'W'; }),
              1)
        << "the release the loss posted sends nothing more";
    EXPECT_EQ(jog->SpeedCommand(), 0.0);
    EXPECT_LT(std::abs(SpeedAfter(1'000'000)), 20.0);
    EXPECT_EQ(ConnectedFlag.load(), 0) << "the link stays down until the user connects";
    EXPECT_EQ(portDialogs, 0);
    ASSERT_EQ(messages.Shown().size(), 1u) << "the lost-link message alone";
    EXPECT_EQ(messages.Shown()[0].text, "Communicate Error!\n\nDisconnect !!");

    ExpectNoStopLeftToSend();
}

// However the frozen drive was found, the stop goes out on the first supervision tick after it
// answers again, with no Connect, and once.
TEST_F(JogModeWindow, StopOwedDuringAFreezeGoesOutOnTheFirstTickAfterTheThaw) {
    struct Case {
        const char* loss;
        std::function<void()> lose;
        std::string message; // what the user is told when the link goes
    };
    const Case cases[] = {
        {"the supervision finds the drive silent while CW is held",
         [&] {
             Tick();
             Deliver();
         },
         "Communicate Error!\n\nDisconnect !!\n\nThe jog stop did not reach the drive: it is sent again "
         "until the drive takes it.\nThe motor may still turn: switch the servo off or the power off."},
        {"the release falls into the freeze",
         [&] {
             window->m_cw.SendMessage(WM_LBUTTONUP, 0, 0);
             Deliver();
         },
         CStopKeeper::NoAnswerText("jog")},
    };
    StartLinked();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.loss);
        if (!ConnectedFlag)
            Reconnect();
        if (window)
            window->SendMessage(WM_COMMAND, IDCANCEL);
        Deliver();
        ServoOnFlag = 0; // the jog servo the window released
        HoldClockwise(100);
        ASSERT_GT(SpeedAfter(1'000'000), 80);

        drive.Freeze(std::chrono::seconds(30));
        messages.Clear();
        c.lose();
        ASSERT_EQ(messages.Shown().size(), 1u);
        EXPECT_EQ(messages.Shown()[0].text, c.message);
        EXPECT_EQ(ConnectedFlag.load(), 0);
        EXPECT_GT(SpeedAfter(1'000'000), 80) << "the stop never reached the drive";

        drive.Thaw(); // the drive answers again, with its state kept
        drive.ClearLog();
        messages.Clear();
        Tick();
        const auto log = Requests();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.front(), JogSpeedWrite(0));
        jog->Sync();
        EXPECT_EQ(jog->SpeedCommand(), 0.0);
        EXPECT_LT(std::abs(SpeedAfter(1'000'000)), 20.0);
        EXPECT_EQ(ConnectedFlag.load(), 0) << "no Connect";
        ASSERT_EQ(messages.Shown().size(), 1u);
        EXPECT_EQ(messages.Shown()[0].text,
                  "The jog stop that had not reached the drive was sent now: the drive took it.");

        ExpectNoStopLeftToSend();
    }
}

// The two stroke jog windows (inertia estimation and program jog) share their Start and Stop.
struct StrokeWindowCase {
    const char* motion;
    UINT command;
    std::function<CJogRunDialog*(CKeloServoView&)> window;
};
const StrokeWindowCase StrokeWindows[] = {
    {"stroke jog", ID_INERTIA_ESTIMATION,
     [](CKeloServoView& view) -> CJogRunDialog* { return view.InertiaWindow; }},
    {"program jog", ID_PROGRAM_JOG,
     [](CKeloServoView& view) -> CJogRunDialog* { return view.ProgramJogWindow; }},
};

TEST_F(JogModeWindow, StrokeStopThatFellIntoAFreezeIsSentFirstWhenTheLinkComesBack) {
    StartLinked();
    for (const StrokeWindowCase& c : StrokeWindows) {
        SetStrokeRegisters();
        View()->SendMessage(WM_COMMAND, c.command);
        CJogRunDialog* stroke = c.window(*View());
        ASSERT_NE(stroke, nullptr) << c.motion;
        ui::Press(*stroke, IDC_JOG_PARAMETER_WRITE);
        ui::Press(*stroke, IDC_JOG_START);
        jog->Sync();
        ASSERT_TRUE(jog->StrokeRunning()) << c.motion;
        machine->Advance(200'000);
        jog->Sync();
        EXPECT_NE(jog->SpeedCommand(), 0.0) << c.motion;

        drive.Freeze(std::chrono::seconds(7));
        messages.Clear();
        ui::Press(*stroke, IDC_JOG_STOP);
        ASSERT_EQ(messages.Shown().size(), 1u) << c.motion;
        EXPECT_EQ(messages.Shown()[0].text, CStopKeeper::NoAnswerText(c.motion));
        EXPECT_EQ(ConnectedFlag.load(), 0) << c.motion;
        jog->Sync();
        EXPECT_TRUE(jog->StrokeRunning()) << c.motion << ": the stop never reached the drive";

        drive.Thaw();
        drive.ClearLog();
        messages.Clear();
        Reconnect();
        ASSERT_EQ(ConnectedFlag.load(), 1) << c.motion;
        const auto log = Requests();
        ASSERT_GE(log.size(), 3u) << c.motion;
        EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 3),
                  (std::vector<std::string>{WriteWord(jogreg::RunCommand, 0), WriteWord(jogreg::RunModeA, 5),
                                            WriteWord(jogreg::RunModeB, 7)}))
            << c.motion << ": the stop and the run registers, before any read";
        jog->Sync();
        EXPECT_FALSE(jog->StrokeRunning()) << c.motion;
        EXPECT_EQ(jog->SpeedCommand(), 0.0) << c.motion;
        EXPECT_LT(std::abs(SpeedAfter(1'000'000)), 20.0) << c.motion;
        ASSERT_EQ(messages.Shown().size(), 1u) << c.motion;
        EXPECT_EQ(messages.Shown()[0].text,
                  "The " + std::string(c.motion) +
                      " stop that had not reached the drive was sent now: the drive took it.");
        stroke->SendMessage(WM_COMMAND, IDCANCEL);
        EXPECT_EQ(c.window(*View()), nullptr) << c.motion;
    }
}

TEST_F(JogModeWindow, WithoutALinkTheStopSaysSoAndSendsNothing) {
    StartLinked();
    ASSERT_NE(OpenJog(), nullptr);
    View()->SendMessage(WM_COMMAND, ID_DISCONNECT);
    drive.ClearLog();
    messages.Clear();
    Press(window->m_cw);
    window->m_cw.SendMessage(WM_LBUTTONUP, 0, 0);
    Deliver();
    EXPECT_TRUE(Requests().empty());
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text,
              "No link to the drive: the jog stop was not sent.\nIt is sent first when the link comes back.");
    EXPECT_EQ(messages.Shown()[0].caption, "Communication Message");
}

TEST_F(JogModeWindow, EveryMotionWindowsStopWithoutALinkSaysSoAndSendsNothing) {
    StartLinked();
    SetStrokeRegisters();
    struct Case {
        const char* motion;
        std::function<CWnd*()> open; // opens the window with its run going
        int stop;
    };
    const auto strokeRun = [&](UINT command, std::function<CJogRunDialog*()> window) {
        return [this, command, window]() -> CWnd* {
            View()->SendMessage(WM_COMMAND, command);
            CJogRunDialog* stroke = window();
            if (stroke) {
                ui::Press(*stroke, IDC_JOG_PARAMETER_WRITE);
                ui::Press(*stroke, IDC_JOG_START);
            }
            return stroke;
        };
    };
    const Case cases[] = {
        {"stroke jog", strokeRun(ID_INERTIA_ESTIMATION, [&] { return View()->InertiaWindow; }), IDC_JOG_STOP},
        {"program jog", strokeRun(ID_PROGRAM_JOG, [&] { return View()->ProgramJogWindow; }), IDC_JOG_STOP},
        {"multi-position run",
         [&]() -> CWnd* {
             View()->SendMessage(WM_COMMAND, ID_MULTI_POSITION);
             return View()->MultiPositionWindow;
         },
         IDC_MP_EMC},
    };
    for (const Case& c : cases) {
        if (!ConnectedFlag)
            Reconnect();
        ASSERT_EQ(ConnectedFlag.load(), 1) << c.motion;
        CWnd* motionWindow = c.open();
        ASSERT_NE(motionWindow, nullptr) << c.motion;
        View()->SendMessage(WM_COMMAND, ID_DISCONNECT);
        drive.ClearLog();
        messages.Clear();
        ui::Press(*motionWindow, c.stop);
        EXPECT_TRUE(Requests().empty()) << c.motion;
        ASSERT_EQ(messages.Shown().size(), 1u) << c.motion;
        EXPECT_EQ(messages.Shown()[0].text, CStopKeeper::NoLinkText(c.motion));
        motionWindow->SendMessage(WM_COMMAND, IDCANCEL);
    }
    // Each reconnect above sent the stop kept before it; the last one waits for the next link.
    EXPECT_EQ(View()->Stops.KeptMotions(), std::vector<std::string>{"multi-position run"});
}

TEST_F(JogModeWindow, HeldPressOutlastsTheLinkRechecks) {
    StartLinked();
    HoldClockwise(300);
    ASSERT_EQ(jog->SpeedCommand(), 300.0);
    drive.ClearLog();
    for (int recheck = 0; recheck < 2; ++recheck) {
        View()->RecheckCounter = RecheckTickCount;
        Tick();
        Deliver();
        EXPECT_EQ(View()->RecheckCounter, 0) << "the re-check ran";
        EXPECT_EQ(jog->SpeedCommand(), 300.0) << "re-check " << recheck;
        EXPECT_GT(SpeedAfter(500'000), 250);
    }
    const auto log = Requests();
    EXPECT_EQ(std::count(log.begin(), log.end(), JogSpeedWrite(0)), 0) << "no stop went out";
    EXPECT_TRUE(window->m_cw.Pressed());
    window->m_cw.SendMessage(WM_LBUTTONUP, 0, 0);
    Deliver();
    EXPECT_EQ(jog->SpeedCommand(), 0.0);
}

TEST_F(JogModeWindow, NegativeSpeedTextAndTooFastSpeed) {
    StartLinked();
    RatedSpeed = 3000;
    drive.SetRegisterSigned(0x0201, 100);
    ASSERT_NE(OpenJog(), nullptr);
    ui::Type(*window, IDC_JM_SPEED, "-500");
    Press(window->m_ccw);
    Deliver();
    EXPECT_EQ(drive.GetRegisterSigned(0x0201), -500);
    window->m_ccw.SendMessage(WM_LBUTTONUP, 0, 0);
    ui::Type(*window, IDC_JM_SPEED, "3001");
    EXPECT_EQ(ui::Text(*window, IDC_JM_SPEED), "-500")
        << "above the rated speed the previous value comes back";
    // A drive speed above the rated speed is shown as the drive has it.
    drive.SetRegisterSigned(0x0201, 4000);
    View()->SendMessage(WM_JOG_COMMAND, 1, 0);
    EXPECT_EQ(ui::Text(*window, IDC_JM_SPEED), "4000");
}

TEST_F(JogModeWindow, TitleBarCloseReleasesTheJogServoExactlyOnce) {
    StartLinked();
    drive.SetRegisterSigned(0x0201, 300);
    ASSERT_NE(OpenJog(), nullptr);
    ui::Press(*window, IDC_JM_SERVO);
    Deliver();
    Press(window->m_cw);
    Deliver();
    drive.ClearLog();
    window->SendMessage(WM_CLOSE);
    Deliver();
    EXPECT_TRUE(life.expired());
    EXPECT_EQ(View()->JogWindow, nullptr);
    EXPECT_EQ(WritesTo(0x1801), 1) << "one 12";
    EXPECT_EQ(WritesTo(0x1803), 1);
    EXPECT_EQ(drive.GetRegister(0x1803), 0);
    EXPECT_EQ(drive.GetRegisterSigned(0x0201), 300) << "the speed the window opened with";
    EXPECT_EQ(jog->SpeedCommand(), 0.0);
    EXPECT_LT(std::abs(SpeedAfter(1'000'000)), 20.0);
}

TEST_F(JogModeWindow, ServoOnRefusesToOpenAndRefusedStopIsTold) {
    StartLinked();
    drive.SetServoOn(true);
    ServoOnFlag = 1;
    View()->SendMessage(WM_COMMAND, ID_JOG_MODE);
    EXPECT_EQ(View()->JogWindow, nullptr);
    ASSERT_FALSE(messages.Shown().empty());
    EXPECT_EQ(messages.Shown().back().text, "The status is Servo ON, JOG mode is invalid.");
    EXPECT_EQ(messages.Shown().back().caption, "JOG Mode (dn-05)");

    drive.SetServoOn(false);
    ServoOnFlag = 0;
    ASSERT_NE(OpenJog(), nullptr);
    Press(window->m_cw);
    Deliver();
    drive.RefuseAddress(0x0201);
    messages.Clear();
    window->m_cw.SendMessage(WM_LBUTTONUP, 0, 0);
    window->m_cw.SendMessage(WM_KILLFOCUS, 0, 0);
    Deliver();
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_NE(messages.Shown().back().text.find("did not accept the jog stop"), std::string::npos);
}

TEST_F(JogModeWindow, CodeOneFillsTheSpeedFromTheDrive) {
    StartLinked();
    drive.SetRegisterSigned(0x0201, 250);
    ASSERT_NE(OpenJog(), nullptr);
    drive.SetRegisterSigned(0x0201, 750);
    View()->SendMessage(WM_JOG_COMMAND, 1, 0);
    EXPECT_EQ(ui::Text(*window, IDC_JM_SPEED), "750");
    EXPECT_EQ(window->m_speed, 750);
}

TEST_F(JogModeWindow, InertiaAndAutoGainCommandsOpenTheirWindowsOnce) {
    StartLinked();
    View()->SendMessage(WM_COMMAND, ID_INERTIA_ESTIMATION);
    CUn45JogDlg* inertia = View()->InertiaWindow;
    ASSERT_NE(inertia, nullptr);
    EXPECT_TRUE(View()->ToolWindowOpenFlags[ToolInertia]);
    View()->SendMessage(WM_COMMAND, ID_INERTIA_ESTIMATION);
    EXPECT_EQ(View()->InertiaWindow, inertia) << "a second command only activates it";
    inertia->SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_EQ(View()->InertiaWindow, nullptr);
    EXPECT_FALSE(View()->ToolWindowOpenFlags[ToolInertia]);

    // The Note comes first: Stop opens nothing, Operate opens the window.
    std::vector<UINT> notes;
    int answer = IDCANCEL;
    otherModal = [&](CDialog& dialog) {
        notes.push_back(dialog.m_nIDHelp);
        dialog.EndDialog(answer);
    };
    View()->SendMessage(WM_COMMAND, ID_AUTO_GAIN_ADJUST);
    EXPECT_EQ(View()->AutoGainWindow, nullptr);
    answer = IDOK;
    View()->SendMessage(WM_COMMAND, ID_AUTO_GAIN_ADJUST);
    ASSERT_NE(View()->AutoGainWindow, nullptr);
    EXPECT_EQ(notes, (std::vector<UINT>{IDD_AG_NOTE, IDD_AG_NOTE}));
    // Its analysis button runs the program's own analysis window, modally.
    notes.clear();
    ui::Press(*View()->AutoGainWindow, IDC_AG_ANALYSIS);
    EXPECT_EQ(notes, (std::vector<UINT>{IDD_FRA}));
    View()->AutoGainWindow->SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_EQ(View()->AutoGainWindow, nullptr);

    drive.SetServoOn(true);
    messages.Clear();
    View()->SendMessage(WM_COMMAND, ID_AUTO_GAIN_ADJUST);
    EXPECT_EQ(View()->AutoGainWindow, nullptr);
    ASSERT_FALSE(messages.Shown().empty());
    EXPECT_EQ(messages.Shown().back().text, "System Servo ON!\nPlease Servo Off again!");
    EXPECT_EQ(messages.Shown().back().caption, "Auto Gain Adjust Message");
}

TEST_F(JogModeWindow, FilterAndAdjustWindowsOpenOnceAndFollowTheLink) {
    StartLinked();
    View()->SendMessage(WM_COMMAND, ID_ONLINE_NOTCH);
    View()->SendMessage(WM_COMMAND, ID_ONLINE_LOW_FREQUENCY);
    View()->SendMessage(WM_COMMAND, ID_RIGID_ADJUST);
    View()->SendMessage(WM_COMMAND, ID_AUTO_OFFSET_ADJUST);
    CNotchDlg* notch = View()->NotchWindow;
    ASSERT_NE(notch, nullptr);
    ASSERT_NE(View()->LowFrequencyWindow, nullptr);
    ASSERT_NE(View()->RigidityWindow, nullptr);
    ASSERT_NE(View()->AutoOffsetWindow, nullptr);
    View()->SendMessage(WM_COMMAND, ID_ONLINE_NOTCH);
    EXPECT_EQ(View()->NotchWindow, notch);
    EXPECT_TRUE(ui::Enabled(*notch, IDC_NF_WRITE_ALL));

    View()->SendMessage(WM_COMMAND, ID_DISCONNECT);
    EXPECT_FALSE(ui::Enabled(*notch, IDC_NF_WRITE_ALL));
    EXPECT_FALSE(ui::Enabled(*notch, 6047));
    EXPECT_FALSE(ui::Enabled(*View()->LowFrequencyWindow, 6060));
    app->AutoConnect = {true, Entry(), 0};
    View()->SendMessage(WM_COMMAND, ID_CONNECT);
    ASSERT_EQ(ConnectedFlag.load(), 1);
    EXPECT_TRUE(ui::Enabled(*notch, IDC_NF_WRITE_ALL)) << "the link is back";
    EXPECT_TRUE(ui::Enabled(*View()->LowFrequencyWindow, 6060));

    for (CWnd* window : std::vector<CWnd*>{notch, View()->LowFrequencyWindow, View()->RigidityWindow,
                                           View()->AutoOffsetWindow})
        window->SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_EQ(View()->NotchWindow, nullptr);
    EXPECT_EQ(View()->LowFrequencyWindow, nullptr);
    EXPECT_EQ(View()->RigidityWindow, nullptr);
    EXPECT_EQ(View()->AutoOffsetWindow, nullptr);
    EXPECT_FALSE(View()->ToolWindowOpenFlags[ToolNotch]);
}

TEST_F(JogModeWindow, EnterStaysAndEscapeClosesWithOneRelease) {
    StartLinked();
    drive.SetRegisterSigned(0x0201, 300);
    ASSERT_NE(OpenJog(), nullptr);
    window->ShowWindow(SW_SHOW);
    window->GetDlgItem(IDC_JM_SPEED)->SetFocus();
    SimulateKeyPress(VK_RETURN);
    Deliver();
    EXPECT_FALSE(life.expired()) << "Enter never reaches a default button";
    drive.ClearLog();
    SimulateKeyPress(VK_ESCAPE);
    Deliver();
    EXPECT_TRUE(life.expired());
    EXPECT_EQ(WritesTo(0x1801), 1);
}

} // namespace
