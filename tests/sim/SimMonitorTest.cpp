// The monitor words of the simulated drive as the program reads them (by code, through the
// register map): they follow the one machine while the motor jogs, and every inertia estimation
// run estimates afresh.
#include "link/services/RegisterServices.h"
#include "sim/SimJog.h"
#include "tests/support/SimulatedDrive.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace {

class SimMonitorWords : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sim.Link()); }

    int Read(const char* code) {
        const std::optional<int> value = services.ReadDriveParameter(code);
        EXPECT_TRUE(value) << code;
        return value.value_or(0);
    }
    void Write(int address, int value) { ASSERT_TRUE(services.WriteDriveRegister(address, value)); }
    // The drive takes a write into effect before the requests after it; a second read lets the
    // machine see the servo state the jog set.
    void Settle(int64_t us) {
        for (int i = 0; i < 2; ++i)
            ASSERT_TRUE(services.ReadDriveRegister(0x1703));
        sim.machine.Advance(us);
    }

    SimulatedDrive sim;
    CRegisterServices services;
};

TEST_F(SimMonitorWords, FollowTheJoggingMotor) {
    EXPECT_EQ(Read("Un-01"), 0);
    EXPECT_EQ(Read("Un-96"), 0);

    // JOG mode: excite, enable, then hold CW at 500 rpm for a second.
    Write(0x1803, 1);
    Write(0x1801, 1);
    Write(0x0201, 500);
    Settle(1000000);
    EXPECT_NEAR(Read("Un-01"), 500, 5) << "actual speed";
    EXPECT_EQ(Read("Un-06"), 500) << "speed command";
    EXPECT_EQ(Read("Un-01"), sim.machine.Signal(SimSignal::SpeedFeedback));
    EXPECT_EQ(Read("Un-02"), sim.machine.Signal(SimSignal::TorqueFeedback)) << "torque";
    // About eight turns of a 17-bit encoder: past sixteen bits, read whole.
    const int position = Read("Un-96");
    EXPECT_GT(position, 7 * 131072);
    EXPECT_LT(position, 9 * 131072);
    EXPECT_EQ(position, sim.machine.Signal(SimSignal::FeedbackPulses));
    EXPECT_EQ(Read("Un-07"), position) << "feedback pulses";
    EXPECT_EQ(Read("Un-25"), sim.machine.Signal(SimSignal::EncoderAbsolute));
    EXPECT_EQ(Read("Un-24"), position / 131072) << "turns";
    const int error = Read("Un-14");
    EXPECT_EQ(error, sim.machine.Signal(SimSignal::PositionError)) << "position error";
    EXPECT_LE(std::abs(Read("Un-08") - position - error), 1) << "command pulses";

    // CCW: the speed reads signed, the position counts back.
    Write(0x0201, -300);
    Settle(1000000);
    EXPECT_NEAR(Read("Un-01"), -300, 5);
    EXPECT_LT(Read("Un-96"), position);

    // Servo off: the command follows the motor, nothing is left to correct.
    Write(0x1803, 0);
    Settle(2000000);
    EXPECT_EQ(Read("Un-06"), 0);
    EXPECT_EQ(Read("Un-14"), 0);
}

// A motor left with the servo off coasts to a stop and stays there, however the jog left it
// turning: friction holds it, no speed too small for friction to act on creeps on.
TEST_F(SimMonitorWords, AMotorLeftWithTheServoOffStaysPut) {
    struct Case {
        int rpm;
        int64_t jogUs;
    } const cases[] = {{500, 1000000}, {-300, 700000}, {37, 1300000}, {1500, 2200000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rpm);
        Write(0x1803, 1);
        Write(0x1801, 1);
        Write(0x0201, c.rpm);
        Settle(c.jogUs);
        ASSERT_NE(Read("Un-01"), 0) << "the jog did not turn the motor: the case shows nothing";
        Write(0x1801, 0);
        Write(0x1803, 0);
        Settle(5000000); // coasting out
        const int stopped = Read("Un-07");
        for (int minute = 1; minute <= 3; ++minute) {
            sim.machine.Advance(60000000);
            EXPECT_EQ(Read("Un-07"), stopped) << minute << " min later";
        }
        EXPECT_EQ(Read("Un-01"), 0);
    }
}

// The servo switched on from the PC in the drive's position control, with no command: the motor
// holds where it stands, over seconds, with its position loop on the factory gains.
TEST_F(SimMonitorWords, AMotorWithTheServoOnAndNoCommandHoldsItsPosition) {
    ASSERT_EQ(Read("dn-01"), 2) << "position control";
    Write(0x170E, 1);
    Settle(0);
    ASSERT_EQ(services.ReadDriveRegister(0x1703).value_or(0) & 1, 1) << "the servo is on";
    const int held = Read("Un-96");
    for (int read = 0; read < 50; ++read) {
        sim.machine.Advance(200000);
        SCOPED_TRACE(read);
        EXPECT_LE(std::abs(Read("Un-01")), 1) << "rpm";
        EXPECT_EQ(Read("Un-06"), 0) << "speed command";
        EXPECT_LE(std::abs(Read("Un-96") - held), 10) << "pulses from where it stood";
    }
}

// What a powered drive at rest shows beside the machine: the DC bus of a drive on 220 V mains
// (0.01 V), the remaining life of its wearing parts (0.01 %, 10000 when new; the life window warns
// below 3000) and its hour counters. None reads zero, each life its own.
TEST_F(SimMonitorWords, APoweredDriveAtRestShowsItsBusItsWearAndItsHours) {
    struct Case {
        const char* code;
        int min, max;
    } const cases[] = {
        {"Un-09", 30500, 31600}, // 311 V with the rectifier's ripple
        {"Un-60", 3000, 9999},   {"Un-61", 3000, 9999}, {"Un-62", 3000, 9999},
        {"Un-63", 3000, 9999},   {"Un-88", 1, 30000},   {"Un-89", 1, 30000},
    };
    std::set<int> lives;
    for (int read = 0; read < 8; ++read) {
        for (const Case& c : cases) {
            const int value = Read(c.code);
            EXPECT_GE(value, c.min) << c.code;
            EXPECT_LE(value, c.max) << c.code;
            if (std::string_view(c.code).starts_with("Un-6"))
                lives.insert(value);
        }
        sim.machine.Advance(1700); // another phase of the ripple
    }
    EXPECT_EQ(lives.size(), 4u) << "every part wears at its own rate, and each keeps its value";
}

// The drive has one alarm word: a tuning run that fails raises it, whichever other functions (the
// motor data with its pole alignment among them) are attached, and the alignment's own alarm too.
TEST_F(SimMonitorWords, EveryFunctionRaisesTheOneAlarmWord) {
    sim.jog->SetTuningSteps({1, 2, 0});
    sim.jog->SetTuningAlarmAtStep(2);
    Write(0x003E, 1); // Cn059
    Write(0x170E, 1);
    for (int read = 0; read < 3; ++read)
        ASSERT_TRUE(services.ReadDriveRegister(0x1710));
    EXPECT_EQ(services.ReadDriveRegister(0x1712), 1);
    EXPECT_EQ(services.ReadDriveRegister(0x1711), 35);

    sim.drive.SetRegister(0x1712, 0);
    sim.motor->SetAlignmentAlarm(true);
    Write(0x0F0B, 1);
    EXPECT_EQ(services.ReadDriveRegister(0x1712), 1);
    EXPECT_EQ(services.ReadDriveRegister(0x0F0B), 1) << "an alignment that met its alarm does not end";
}

TEST_F(SimMonitorWords, EveryInertiaRunEstimatesAfresh) {
    Write(0x0C25, 0x0001); // stroke jog on, forward then reverse
    Write(0x0C26, 100);    // rest, ms
    Write(0x0C28, 1000);   // rpm
    Write(0x0C29, 10);     // one turn
    Write(0x1704, 2);
    Write(0x1705, 2);
    const int settled = sim.jog->InertiaRatioTimesTen();
    ASSERT_GT(settled, 10);
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        Write(0x170E, 1);
        EXPECT_EQ(Read("Un-45"), 0) << "the run starts from no estimate";
        sim.machine.Advance(500000);
        const int early = Read("Un-45");
        EXPECT_GT(early, 0);
        EXPECT_LT(early, settled * 3 / 4) << "half a second in, still settling";
        sim.machine.Advance(8000000);
        EXPECT_EQ(Read("Un-45"), settled);
        Write(0x170E, 0);
        EXPECT_EQ(Read("Un-45"), settled) << "the estimate is kept after the run";
    }
}

} // namespace
