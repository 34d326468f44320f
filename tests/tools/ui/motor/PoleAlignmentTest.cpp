// The encoder magnetic pole alignment: the checks before the start, the detection followed to its end
// (on the motor data alone and on the drive as it is served), an alarm while aligning, and a refused
// detection level.
#include "MotorFixture.h"

#include "link/LinkState.h"
#include "link/services/StopKeeper.h"
#include "resources/ids/motortools.h"
#include "sim/SimDriveFunctions.h"
#include "tools/ui/LinearPowDlg.h"

#include <QApplication>
#include <QKeyEvent>

#include <functional>

namespace {

class PoleAlignment : public MotorWindowFixture {
protected:
    void Run(const std::function<void(CLinearPowDlg&)>& user) {
        ui::ModalScript script(
            {{IDD_POLE_ALIGNMENT, [&](CDialog& dialog) { user(static_cast<CLinearPowDlg&>(dialog)); }}});
        CLinearPowDlg dialog(&services, doc.get());
        dialog.DoModal();
    }
    bool Tick(CLinearPowDlg& d, UINT_PTR timer) { return FireTimerForTest(&d, timer); }
    int Count(const std::string& request) const {
        int count = 0;
        for (const std::string& text : Requests())
            count += text == request;
        return count;
    }
};

TEST_F(PoleAlignment, AlignsUntilTheDriveReportsTheEnd) {
    drive->SetRegister(0x0058, 40);
    motor->SetAlignmentReads(2);
    Run([&](CLinearPowDlg& d) {
        EXPECT_EQ(ui::Text(d, IDC_POLE_LEVEL), "40");
        ui::Type(d, IDC_POLE_LEVEL, "60");
        ui::Press(d, IDC_POLE_START);
        ASSERT_TRUE(Tick(d, PoleAlignmentStartTimer));
        EXPECT_FALSE(Tick(d, PoleAlignmentStartTimer)) << "timer 1 handed over to timer 2";
        ASSERT_TRUE(Tick(d, PoleAlignmentPollTimer));
        EXPECT_EQ(ui::Text(d, IDC_POLE_STATUS), "Aligning");
        ASSERT_TRUE(Tick(d, PoleAlignmentPollTimer));
        ASSERT_TRUE(Tick(d, PoleAlignmentPollTimer));
        EXPECT_EQ(ui::Text(d, IDC_POLE_STATUS), "Alignment Successfully");
        EXPECT_FALSE(Tick(d, PoleAlignmentPollTimer));
        drive->ClearLog();
        ui::Press(d, IDC_POLE_CLOSE);
    });
    EXPECT_EQ(drive->GetRegister(0x0058), 60);
    EXPECT_EQ(Requests(), (std::vector<std::string>{W1(0x0F0B, 0)}));
    EXPECT_TRUE(messages->Shown().empty());
}

TEST_F(PoleAlignment, EscapeDuringTheAlignmentStopsItAsCloseDoes) {
    motor->SetAlignmentReads(100);
    Run([&](CLinearPowDlg& d) {
        ui::Press(d, IDC_POLE_START);
        ASSERT_TRUE(Tick(d, PoleAlignmentStartTimer));
        ASSERT_EQ(drive->GetRegister(0x0F0B), 1);
        drive->ClearLog();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(d.GetDlgItem(IDC_POLE_LEVEL)->GetWidget(), &escape);
    });
    EXPECT_EQ(Requests(), (std::vector<std::string>{W1(0x0F0B, 0)}));
    EXPECT_EQ(drive->GetRegister(0x0F0B), 0);
}

TEST_F(PoleAlignment, CloseWithTheLinkDownUnderWaySaysSoAndKeepsTheStop) {
    motor->SetAlignmentReads(100);
    Run([&](CLinearPowDlg& d) {
        ui::Press(d, IDC_POLE_START);
        ASSERT_TRUE(Tick(d, PoleAlignmentStartTimer));
        ASSERT_EQ(drive->GetRegister(0x0F0B), 1);
        ConnectedFlag = 0; // as the view's link supervision leaves it
        drive->ClearLog();
        EXPECT_TRUE(Tick(d, PoleAlignmentPollTimer));
        ui::Press(d, IDC_POLE_CLOSE);
    });
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(Shown(), (std::vector<std::string>{CStopKeeper::NoLinkText("pole alignment")}));
    EXPECT_EQ(services.Stops.KeptMotions(), std::vector<std::string>{"pole alignment"});

    ConnectedFlag = 1;
    EXPECT_EQ(services.Stops.SendKept().taken, std::vector<std::string>{"pole alignment"});
    EXPECT_EQ(Requests(), (std::vector<std::string>{W1(0x0F0B, 0)}));
}

TEST_F(PoleAlignment, StartWhileExcitedWarnsOnceAndWritesNothing) {
    motor->SetServoExcited(true);
    Run([&](CLinearPowDlg& d) {
        ui::Press(d, IDC_POLE_START);
        drive->ClearLog();
        ASSERT_TRUE(Tick(d, PoleAlignmentStartTimer));
        EXPECT_FALSE(Tick(d, PoleAlignmentStartTimer));
    });
    EXPECT_EQ(Shown(),
              (std::vector<std::string>{"Warning!\n\nDuring servo excitation, please release the excitation, "
                                        "and then perform the magnetic pole alignment."}));
    EXPECT_FALSE(AnyWrite());
}

TEST_F(PoleAlignment, AnAlarmBeforeOrDuringTheAlignment) {
    motor->SetAlarmActive(true);
    Run([&](CLinearPowDlg& d) {
        ui::Press(d, IDC_POLE_START);
        ASSERT_TRUE(Tick(d, PoleAlignmentStartTimer));
        EXPECT_FALSE(Tick(d, PoleAlignmentStartTimer));
    });
    EXPECT_EQ(Shown(),
              (std::vector<std::string>{"Warning!\n\nDuring the servo alarm, please cancel the alarm, and "
                                        "then perform the magnetic pole alignment."}));
    EXPECT_FALSE(AnyWrite());

    motor->SetAlarmActive(false);
    motor->SetAlignmentAlarm(true);
    Run([&](CLinearPowDlg& d) {
        ui::Press(d, IDC_POLE_START);
        ASSERT_TRUE(Tick(d, PoleAlignmentStartTimer));
        // 0x0F0B still reads 1 in this tick: the alarm overrides "Aligning".
        ASSERT_TRUE(Tick(d, PoleAlignmentPollTimer));
        EXPECT_EQ(ui::Text(d, IDC_POLE_STATUS), "Alignment Fail");
        EXPECT_FALSE(Tick(d, PoleAlignmentPollTimer));
        // Cancel closes without the stop write.
        drive->ClearLog();
        ui::Press(d, IDCANCEL);
    });
    EXPECT_FALSE(AnyWrite());
}

TEST_F(PoleAlignment, LevelOutsideItsRangeOrRefusedStartsNothing) {
    Run([&](CLinearPowDlg& d) {
        ui::Type(d, IDC_POLE_LEVEL, "101");
        ui::Press(d, IDC_POLE_START);
        EXPECT_FALSE(Tick(d, PoleAlignmentStartTimer));
    });
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_NE(Shown()[0].find("100"), std::string::npos) << Shown()[0];
    EXPECT_FALSE(AnyWrite());

    messages->Clear();
    motor->RefuseDetectionLevel(true);
    Run([&](CLinearPowDlg& d) {
        ui::Press(d, IDC_POLE_START);
        ASSERT_TRUE(Tick(d, PoleAlignmentStartTimer));
        EXPECT_FALSE(Tick(d, PoleAlignmentStartTimer)) << "no box every 500 ms";
    });
    EXPECT_EQ(Shown(), (std::vector<std::string>{"write Cn085 error!"}));
    EXPECT_EQ(Count(W1(0x0F0B, 1)), 0);
}

// The drive with every function kelo-drive-sim gives it, the window's alignment taken to its end.
class ServedPoleAlignment : public LinkedWindowFixture {
protected:
    void SetUp() override {
        OpenWorld("kelo-pole-served", 4, "ttyPOLESRV");
        if (HasFatalFailure())
            return;
        functions = std::make_unique<CSimDriveFunctions>(*drive);
    }
    void TearDown() override {
        CloseWorld();
        functions.reset();
    }

    std::unique_ptr<CSimDriveFunctions> functions;
    CRegisterServices services;
};

TEST_F(ServedPoleAlignment, RunsToItsEndThroughTheWindow) {
    std::vector<std::string> statuses;
    ui::ModalScript script({{IDD_POLE_ALIGNMENT, [&](CDialog& dialog) {
                                 auto& d = static_cast<CLinearPowDlg&>(dialog);
                                 ui::Press(d, IDC_POLE_START);
                                 ASSERT_TRUE(FireTimerForTest(&d, PoleAlignmentStartTimer));
                                 EXPECT_FALSE(FireTimerForTest(&d, PoleAlignmentStartTimer))
                                     << "the drive took the start at the first attempt";
                                 for (int tick = 0; tick < 20 && FireTimerForTest(&d, PoleAlignmentPollTimer);
                                      ++tick)
                                     statuses.push_back(ui::Text(d, IDC_POLE_STATUS));
                                 drive->ClearLog();
                                 ui::Press(d, IDC_POLE_CLOSE);
                             }}});
    CLinearPowDlg dialog(&services, doc.get());
    dialog.DoModal();
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(statuses.front(), "Aligning");
    EXPECT_EQ(statuses.back(), "Alignment Successfully");
    EXPECT_TRUE(messages->Shown().empty());
    ASSERT_EQ(drive->RequestLog().size(), 1u);
    EXPECT_EQ(drive->RequestLog()[0].substr(0, 10), "W10F0B0000") << "Close's stop, taken";
    EXPECT_EQ(drive->GetRegister(0x0F0B), 0);
}

} // namespace
