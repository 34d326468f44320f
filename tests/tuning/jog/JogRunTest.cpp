// The stroke jog run against the simulated drive: the order of its requests, what a refusal at each
// step leaves behind, and that a read-modify-write never writes after a failed read.
#include "tuning/JogRun.h"
#include "tests/tuning/jog/JogDriveFixture.h"

#include <algorithm>

namespace {

class JogRun : public JogDriveFixture {
protected:
    void SetUp() override {
        JogDriveFixture::SetUp();
        drive.SetRegister(jogreg::RunModeA, 5);
        drive.SetRegister(jogreg::RunModeB, 7);
        drive.SetRegister(jogreg::JogModeWord, 0x0030);
        drive.SetRegister(jogreg::MovingSpeed, 300);
        drive.SetRegister(jogreg::MovingDistance, 10);
        drive.SetRegister(jogreg::StopTime, 100);
        drive.ClearLog();
    }
    bool Sent(const std::string& request) const {
        const auto log = Requests();
        return std::find(log.begin(), log.end(), request) != log.end();
    }
    bool AnyWriteTo(int address) const {
        const std::string prefix = Format("W1%04X", address);
        const auto log = Requests();
        return std::any_of(log.begin(), log.end(),
                           [&](const std::string& r) { return r.rfind(prefix, 0) == 0; });
    }
    JogRunState state;
};

TEST_F(JogRun, StartAndStopDriveTheRunAndPutTheModeWordsBack) {
    ASSERT_EQ(StartJogRun(services, state), JogStartResult::Started);
    EXPECT_EQ(Requests(),
              (std::vector<std::string>{R1(0x1712), R1(0x1704), R1(0x1705), W1(0x1704, 2), W1(0x1705, 2),
                                        W1(0x170E, 1), R1(0x0C25), W1(0x0C25, 0x0031)}));
    EXPECT_TRUE(state.running);
    jog.Sync();
    EXPECT_TRUE(jog.StrokeRunning());
    EXPECT_EQ(jog.SpeedCommand(), -300.0) << "pattern 3 runs reverse only";

    drive.ClearLog();
    const JogStopResult stop = StopJogRunOnDrive(services, state);
    EXPECT_TRUE(stop.stopped);
    EXPECT_TRUE(stop.registersRestored);
    EXPECT_EQ(Requests(), (std::vector<std::string>{W1(0x170E, 0), R1(0x0C25), W1(0x0C25, 0x0030),
                                                    W1(0x1704, 5), W1(0x1705, 7)}));
    jog.Sync();
    EXPECT_FALSE(jog.StrokeRunning());
    EXPECT_EQ(jog.SpeedCommand(), 0.0);
    EXPECT_TRUE(state.running) << "a stop on close goes out again";
}

TEST_F(JogRun, StartRefusalsLeaveTheDriveAsTheyFoundIt) {
    struct Case {
        const char* name;
        std::function<void(CSimDrive&)> arrange;
        JogStartResult expected;
        bool modeWritten;
    };
    const Case cases[] = {
        {"alarm present", [](CSimDrive& d) { d.SetRegister(0x1712, 1); }, JogStartResult::AlarmActive, false},
        {"alarm unreadable", [](CSimDrive& d) { d.RefuseAddress(0x1712); }, JogStartResult::AlarmUnknown,
         false},
        {"run mode unreadable",
         [](CSimDrive& d) {
             d.AddFault(
                 {.kind = SimFaultKind::Silent, .address = 0x1705, .requestKind = SimRequestKind::MakerRead});
         },
         JogStartResult::NotSaved, false},
        {"run mode refused",
         [](CSimDrive& d) {
             d.AddFault({.address = 0x1705, .requestKind = SimRequestKind::MakerWrite, .count = 1});
         },
         JogStartResult::ModeRefused, true},
        {"start refused", [](CSimDrive& d) { d.RefuseAddress(0x170E); }, JogStartResult::CommandRefused,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JogRunState fresh;
        c.arrange(drive);
        drive.ClearLog();
        EXPECT_EQ(StartJogRun(services, fresh), c.expected);
        EXPECT_FALSE(fresh.running);
        EXPECT_FALSE(Sent(W1(0x170E, 1)) && c.expected != JogStartResult::CommandRefused);
        EXPECT_EQ(AnyWriteTo(0x1704), c.modeWritten);
        EXPECT_FALSE(AnyWriteTo(0x0C25));
        EXPECT_EQ(drive.GetRegister(0x1704), 5);
        EXPECT_EQ(drive.GetRegister(0x1705), 7);
        drive.ClearFaults();
        drive.RefuseAddress(0x1712, false);
        drive.RefuseAddress(0x170E, false);
        drive.SetRegister(0x1712, 0);
    }
}

TEST_F(JogRun, RefusedStopKeepsTheRunArmedButStillRestores) {
    ASSERT_EQ(StartJogRun(services, state), JogStartResult::Started);
    drive.RefuseAddress(0x170E);
    drive.ClearLog();
    const JogStopResult stop = StopJogRunOnDrive(services, state);
    EXPECT_FALSE(stop.stopped);
    EXPECT_FALSE(AnyWriteTo(0x0C25)) << "the jog mode word stays armed";
    EXPECT_EQ(drive.GetRegister(0x0C25), 0x0031);
    EXPECT_TRUE(stop.registersRestored);
    EXPECT_EQ(drive.GetRegister(0x1704), 5);
}

TEST_F(JogRun, FailedModeWordReadWritesNothing) {
    drive.AddFault(
        {.kind = SimFaultKind::Silent, .address = 0x0C25, .requestKind = SimRequestKind::MakerRead});
    ASSERT_EQ(StartJogRun(services, state), JogStartResult::Started);
    EXPECT_FALSE(AnyWriteTo(0x0C25));
    EXPECT_FALSE(SetJogModeDigit(services, 0));
    EXPECT_FALSE(AnyWriteTo(0x0C25));
}

TEST_F(JogRun, RestoreWithoutSavedValuesWritesNothing) {
    drive.RefuseAddress(0x1704);
    EXPECT_FALSE(SaveRunRegisters(services, state));
    EXPECT_FALSE(state.registersSaved);
    EXPECT_TRUE(RestoreRunRegisters(services, state));
    EXPECT_FALSE(AnyWriteTo(0x1704));
    EXPECT_FALSE(AnyWriteTo(0x1705));
}

} // namespace
