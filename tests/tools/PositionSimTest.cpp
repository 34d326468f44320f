// The simulated drive's position functions: the servo from the PC or a virtual input, moves to the
// internal position command on PTRG, PHOLD, the path program and homing, on the shared machine.
#include "sim/SimMachine.h"
#include "sim/SimPosition.h"
#include "sim/SimProtocol.h"

#include "framework/core/Format.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

using namespace simpos;

class PositionSim : public ::testing::Test {
protected:
    void SetUp() override {
        drive.SetRegister32(RegResolution, 131072);
        // DI1 SON, DI2 SHOME, DI3 PTRG, DI6 ORG, DI12 PHOLD; DI1..DI6 and DI12 virtual.
        drive.SetRegister(RegDiFunctionFirst + 0, 0x01);
        drive.SetRegister(RegDiFunctionFirst + 1, 0x14);
        drive.SetRegister(RegDiFunctionFirst + 2, 0x12);
        drive.SetRegister(RegDiFunctionFirst + 5, 0x15);
        drive.SetRegister(RegDiFunctionFirst + 11, 0x13);
        drive.SetRegister(RegVirtualMask, 0x0FFF);
    }
    // A write as the program sends it.
    bool Write(uint16_t address, uint16_t value) {
        return drive.Handle(sim::WithMakerChecksum(Format("W1%04X%04X", address, value)))[0] == '%';
    }
    void Inputs(uint16_t bits) { ASSERT_TRUE(Write(RegVirtualStates, bits)); }
    void Command(int k, int revolutions, int pulses, int rpm) {
        drive.SetRegister(CommandRevolutions(k), static_cast<uint16_t>(revolutions));
        drive.SetRegister32(CommandPulses(k), static_cast<uint32_t>(pulses));
        drive.SetRegister(CommandSpeed(k), static_cast<uint16_t>(rpm));
    }
    bool InPosition() {
        position.Evaluate();
        return (drive.GetRegister(RegDn02) & InPositionBit) != 0;
    }
    void Run(int64_t us) {
        for (int64_t t = 0; t < us; t += 10000) {
            machine.Advance(10000);
            position.Evaluate();
        }
    }

    CSimDrive drive{4};
    CSimMachine machine{drive};
    CSimPosition position{drive, machine};
};

TEST_F(PositionSim, ServoFollowsTheRunCommandAndVirtualDi1) {
    EXPECT_TRUE(Write(RegRunCommand, 1)) << "the run command takes writes";
    position.Evaluate();
    EXPECT_EQ(drive.GetRegister(RegServoStatus) & 1, 1);
    ASSERT_TRUE(Write(RegRunCommand, 0));
    position.Evaluate();
    EXPECT_EQ(drive.GetRegister(RegServoStatus) & 1, 0);
    Inputs(0x0001);
    position.Evaluate();
    EXPECT_EQ(drive.GetRegister(RegServoStatus) & 1, 1) << "SON on a virtual DI1";
    drive.SetRegister(RegVirtualMask, 0x0FFE);
    position.Evaluate();
    EXPECT_EQ(drive.GetRegister(RegServoStatus) & 1, 0) << "DI1 back on its open terminal";
    position.SetTerminalInputs(0x0001);
    position.Evaluate();
    EXPECT_EQ(drive.GetRegister(RegServoStatus) & 1, 1);
}

TEST_F(PositionSim, PtrgMovesToCommandOneAndPholdHolds) {
    Command(1, 2, 65536, 600); // 2.5 revolutions at 600 rpm
    Inputs(0x0001);
    Run(100000);
    EXPECT_TRUE(InPosition()) << "standing still where it started";
    Inputs(0x0005);
    position.Evaluate();
    EXPECT_FALSE(InPosition()) << "moving";
    Run(600000);
    EXPECT_TRUE(InPosition());
    EXPECT_EQ(position.TargetPulses(), 2 * 131072 + 65536);
    EXPECT_LE(std::llabs(position.PositionPulses() - (2 * 131072 + 65536)), 131);

    // A relative second trigger while held stops short of the target.
    drive.SetRegister(RegPositionMode, 1);
    Inputs(0x0001);
    Inputs(0x0005);
    Run(100000);
    Inputs(0x0805); // PHOLD
    Run(400000);
    const int64_t held = position.PositionPulses();
    EXPECT_LT(held, 5 * 131072);
    EXPECT_GT(held, 3 * 131072);
    Run(200000);
    EXPECT_LE(std::llabs(position.PositionPulses() - held), 131) << "PHOLD keeps it there";
}

TEST_F(PositionSim, PathProgramDwellsAndCycles) {
    Command(1, 1, 0, 600);
    Command(2, 0, 0, 600);
    Command(3, 0, 0, 0); // the program ends after position 2
    drive.SetRegister(RegDwellFirst, 200);
    drive.SetRegister(RegDwellLast, 300);
    drive.SetRegister(RegPathMode, 0x200);
    Inputs(0x0001);
    Run(50000);
    Inputs(0x0005);
    // The positions run, each stretch as long as its move and its dwell.
    std::vector<std::pair<int, int>> stretches; // (path position, ms)
    for (int ms = 0; ms < 2000; ms += 10) {
        Run(10000);
        const int at = position.PathPosition();
        if (stretches.empty() || stretches.back().first != at)
            stretches.push_back({at, 0});
        stretches.back().second += 10;
    }
    ASSERT_GE(stretches.size(), 4u);
    EXPECT_EQ(stretches[0].first, 1);
    EXPECT_EQ(stretches[1].first, 2);
    EXPECT_EQ(stretches[2].first, 1) << "cyclic: back to position 1 while PTRG stays on";
    EXPECT_GE(stretches[0].second, 100 + 200) << "1 revolution at 600 rpm, then 200 ms";
    EXPECT_GE(stretches[1].second, 100 + 300);
    EXPECT_LT(stretches[1].second, 100 + 300 + 200);
    Inputs(0x0001);
    Run(2000000);
    EXPECT_EQ(position.PathPosition(), 0) << "PTRG off: the program ends";
    EXPECT_TRUE(InPosition());
}

TEST_F(PositionSim, HomingStopsWhereOrgComesOn) {
    drive.SetRegister(RegHomingSpeed, 300);
    Inputs(0x0001);
    Run(50000);
    Inputs(0x0003); // SHOME
    Run(300000);
    EXPECT_TRUE(position.Homing());
    EXPECT_FALSE(InPosition());
    Inputs(0x0023); // ORG
    Run(500000);
    EXPECT_FALSE(position.Homing());
    EXPECT_LE(std::llabs(position.PositionPulses()), 2000) << "the point where ORG came on is home";
}

} // namespace
