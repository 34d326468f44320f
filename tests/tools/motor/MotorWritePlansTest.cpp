// The self-built motor write sequences against the simulated drive over a pseudo-terminal: the
// requests in order, a refusal at every step, and the read-back of the encoder record.
#include "tools/MotorWritePlans.h"
#include "catalogue/RegisterMap.h"
#include "link/services/RegisterServices.h"
#include "sim/SimDrive.h"
#include "sim/SimMotorData.h"
#include "sim/SimPtyServer.h"
#include "tests/support/DriveLink.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

class MotorWritePlans : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(LinkToSimulatedDrive(server, "ttyMOTOR")); }
    void TearDown() override { UnlinkSimulatedDrive(server); }

    // The requests without their checksums: "W10021F21A", "R11001", ...
    std::vector<std::string> Requests() const {
        std::vector<std::string> texts;
        for (const std::string& request : drive.RequestLog())
            texts.push_back(request.substr(0, request.size() - 2));
        return texts;
    }

    static std::string W1(int address, int value) {
        char text[16];
        std::snprintf(text, sizeof text, "W1%04X%04X", address, value & 0xFFFF);
        return text;
    }
    static std::string W2(int address, int value) {
        char text[32];
        const auto word = static_cast<uint32_t>(value);
        std::snprintf(text, sizeof text, "W2%04X%04X%04X%04X", address, word & 0xFFFF, address + 1,
                      word >> 16);
        return text;
    }
    static std::string R1(int address) {
        char text[16];
        std::snprintf(text, sizeof text, "R1%04X", address);
        return text;
    }
    static std::string R2(int address) {
        char text[16];
        std::snprintf(text, sizeof text, "R2%04X%04X", address + 1, address);
        return text;
    }
    static int Address(const MotorWriteStep& step) {
        return step.kind == MotorWriteStep::Kind::Parameter ? *ParamCodeRegisterAddress(step.code)
                                                            : step.address;
    }

    CSimDrive drive{4};
    CSimMotorData motor{drive};
    CSimPtyServer server{drive};
    CRegisterServices services;
};

RotaryMotorValues Rotary() {
    RotaryMotorValues v;
    v.motorId = 3;
    v.ratedSpeed = 3000;
    v.polePairs = 4;
    v.constants = {2500, 1100, 2200, 30000, 640, 1200000};
    v.maxCurrent = 300;
    v.maxSpeed = 120;
    v.encoderCode = 10;
    return v;
}

TEST_F(MotorWritePlans, RotaryWritesEveryRegisterInOrder) {
    drive.SetRegister(0x1001, 0xF3A7);
    for (const int word170A : {0, 1}) {
        drive.ClearLog();
        const MotorWritePlan plan = RotaryWritePlan(Rotary(), word170A, 5);
        std::vector<MotorField> shown;
        const MotorWriteOutcome outcome = RunMotorWritePlan(
            services, plan, [&](const MotorWriteStep& step) { shown.push_back(step.shown); });
        EXPECT_TRUE(outcome.finished);
        EXPECT_EQ(outcome.message, "Write Finish!");
        const int motorCode = (word170A == 0 ? 0xF000 : 0xE000) + 5 * 256 + 3 * 16 + 10;
        EXPECT_EQ(Requests(), (std::vector<std::string>{
                                  W1(0x0021, motorCode), W1(0x1003, 3000), W1(0x1004, 4), W2(0x1005, 2500),
                                  W2(0x1007, 1100), W2(0x1009, 2200), W2(0x100B, 30000), W2(0x100D, 640),
                                  W2(0x100F, 1200000), W1(0x1011, 300), W1(0x1018, 120), W1(0x1017, 1),
                                  W1(0x0020, 1), R1(0x1001), W1(0x1001, 0x3A7)}))
            << word170A;
        EXPECT_EQ(drive.GetRegister(0x0021), motorCode);
        EXPECT_EQ(shown.front(), MotorField::MotorCode);
    }
}

TEST_F(MotorWritePlans, LinearWritesItsOwnOrder) {
    LinearMotorValues v;
    v.motorId = 2;
    v.ratedSpeed = 2000;
    v.constants = {1, 2, 3, 4, 5, 6};
    v.maxCurrent = 250;
    v.polePitch = 320;
    v.resolution = 2147483;
    drive.SetRegister(0x1001, 0x1234);
    for (const int word170A : {0, 7}) {
        drive.ClearLog();
        const MotorWriteOutcome outcome = RunMotorWritePlan(services, LinearWritePlan(v, word170A, 8));
        EXPECT_EQ(outcome.message, "Write Finish!");
        const int motorCode = (word170A == 0 ? 0x3000 : 0x4000) + 8 * 256 + 2 * 16 + 0xE;
        EXPECT_EQ(Requests(), (std::vector<std::string>{
                                  W1(0x1004, 1), W1(0x0021, motorCode), W1(0x1003, 2000), W2(0x1005, 1),
                                  W2(0x1007, 2), W2(0x1009, 3), W2(0x100B, 4), W2(0x100D, 5), W2(0x100F, 6),
                                  W1(0x1011, 250), W1(0x1014, 320), W2(0x1015, 2147483), W1(0x1017, 1),
                                  W1(0x0020, 1), R1(0x1001), W1(0x1001, 0x234)}));
    }
}

TEST_F(MotorWritePlans, ARefusalStopsAtItsStepWithItsMessage) {
    const MotorWritePlan plans[] = {RotaryWritePlan(Rotary(), 0, 1),
                                    LinearWritePlan(LinearMotorValues{}, 0, 1)};
    for (const MotorWritePlan& plan : plans) {
        for (size_t i = 0; i < plan.steps.size(); ++i) {
            const MotorWriteStep& step = plan.steps[i];
            const int address = Address(step);
            // Steps that write the same register again (0x1004 of the linear plan) are refused at
            // their first write; the table shows the first.
            bool earlier = false;
            for (size_t j = 0; j < i; ++j)
                earlier |= Address(plan.steps[j]) == address;
            if (earlier)
                continue;
            drive.RefuseAddress(static_cast<uint16_t>(address));
            drive.ClearLog();
            const MotorWriteOutcome outcome = RunMotorWritePlan(services, plan);
            drive.RefuseAddress(static_cast<uint16_t>(address), false);
            EXPECT_FALSE(outcome.finished);
            EXPECT_FALSE(outcome.reachedEnd);
            EXPECT_EQ(outcome.message, step.failure) << step.code << " " << address;
            // Nothing after the refused step was sent.
            EXPECT_EQ(drive.RequestLog().size(), i + 1) << step.code << " " << address;
        }
    }
    const MotorWritePlan rotary = RotaryWritePlan(Rotary(), 0, 1);
    EXPECT_EQ(rotary.steps[3].failure, "onE05 Write Failed!");
    EXPECT_EQ(rotary.steps[9].failure, "onE11 Over Range!!\n\n");
    EXPECT_EQ(rotary.steps[12].failure, "Cn029 Write Failed!");
}

TEST_F(MotorWritePlans, OnE01IsNotWrittenWithoutTheDrivesWord) {
    drive.AddFault(
        {.kind = SimFaultKind::Refuse, .address = 0x1001, .requestKind = SimRequestKind::MakerRead});
    drive.SetRegister(0x1001, 0x1234);
    const MotorWriteOutcome outcome = RunMotorWritePlan(services, RotaryWritePlan(Rotary(), 0, 1));
    EXPECT_FALSE(outcome.finished);
    EXPECT_EQ(outcome.message, "onE01 Write Failed!");
    EXPECT_EQ(Requests().back(), R1(0x1001));
    EXPECT_EQ(drive.GetRegister(0x1001), 0x1234);
}

EncoderRecordValues Record() {
    EncoderRecordValues v;
    v.manufacturer = 0x12;
    v.productSeries = 0x3456;
    v.year = 26;
    v.week = 7;
    v.motorId = 0x1001;
    v.version = 3;
    v.ratedSpeed = 3000;
    v.polePairs = 5;
    v.ratedCurrent = 2500;
    v.resistance = 1100;
    v.inductance = 2200;
    v.ke = 30000;
    v.kt = 640;
    v.jm = 536870911;
    v.maxCurrent = 300;
    v.maxSpeed = 150;
    v.crc = 0xBEEF;
    v.voltageLevel = 2;
    v.encoderCode = 12;
    return v;
}

TEST_F(MotorWritePlans, EncoderRecordIsWrittenAndReadBack) {
    const MotorWriteOutcome outcome = RunMotorWritePlan(services, EncoderRecordWritePlan(Record(), 1));
    EXPECT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.message, "Write Finish!");
    EXPECT_EQ(Requests(),
              (std::vector<std::string>{
                  W1(0x1003, 3000),   W1(0x1004, 5),      W2(0x1005, 2500),   W2(0x1007, 1100),
                  W2(0x1009, 2200),   W2(0x100B, 30000),  W2(0x100D, 640),    W2(0x100F, 536870911),
                  W1(0x1011, 300),    W1(0x1018, 150),    W1(0x1019, 0x1252), W1(0x101A, 0x3456),
                  W1(0x101B, 0x020C), W1(0x101C, 0x071A), W1(0x101D, 0x1001), W1(0x101E, 3),
                  W1(0x101F, 0xBEEF), W1(0x1001, 0x1111), W1(0x0020, 1),      R1(0x1003),
                  R1(0x1004),         R2(0x1005),         R2(0x1007),         R2(0x1009),
                  R2(0x100B),         R2(0x100D),         R2(0x100F),         R1(0x1011),
                  R1(0x1018),         R1(0x1019),         R1(0x101A),         R1(0x101B),
                  R1(0x101C),         R1(0x101D),         R1(0x101E)}));
    // The drive kept the record in the encoder.
    EXPECT_EQ(drive.GetRegister(0x1B01), 0x1252);
    EXPECT_EQ(drive.GetRegister(0x1B17), 0xBEEF);
}

TEST_F(MotorWritePlans, EncoderRecordRefusalsAndReadBackMismatch) {
    const MotorWritePlan plan = EncoderRecordWritePlan(Record(), 0);
    for (const int address : {0x1003, 0x100B, 0x101F}) {
        drive.RefuseAddress(static_cast<uint16_t>(address));
        const MotorWriteOutcome outcome = RunMotorWritePlan(services, plan);
        drive.RefuseAddress(static_cast<uint16_t>(address), false);
        char expected[32];
        std::snprintf(expected, sizeof expected, "0x%04X Over Range!!\n\n", address);
        EXPECT_EQ(outcome.message, expected);
        EXPECT_FALSE(outcome.reachedEnd);
    }
    drive.RefuseAddress(0x1001);
    EXPECT_EQ(RunMotorWritePlan(services, plan).message, "onE01 Over Range!!\n\n");
    drive.RefuseAddress(0x1001, false);

    // The drive keeps another product series than the one written.
    SimRegisterRule stale;
    stale.onRead = [](uint16_t) -> uint16_t { return 0x9999; };
    drive.SetRule(0x101A, stale);
    const MotorWriteOutcome outcome = RunMotorWritePlan(services, plan);
    EXPECT_FALSE(outcome.finished);
    EXPECT_TRUE(outcome.reachedEnd);
    EXPECT_EQ(outcome.message, "Write Failed!");
}

} // namespace
