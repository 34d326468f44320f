#include "sim/SimDrive.h"

#include "SimTestSupport.h"
#include "catalogue/MotorTables.h"
#include "catalogue/ParamTexts.h"
#include "framework/core/Format.h"
#include "sim/SimMechanism.h"

#include <gtest/gtest.h>

using namespace simtest;

TEST(SimDriveMaker, ReadsAndWritesWords) {
    CSimDrive drive(4);
    drive.SetRegister(0x0201, 0xFFFF);
    EXPECT_EQ(drive.Handle("R1020146"), Maker("%FFFF"));
    EXPECT_EQ(drive.Handle(Maker("W102011234")), "%");
    EXPECT_EQ(drive.GetRegister(0x0201), 0x1234);

    // "R2" answers in the order asked (high word first, as the program asks for 32-bit values).
    drive.SetRegister32(0x0500, 0x00010002);
    EXPECT_EQ(drive.Handle(Maker("R205010500")), Maker("%00010002"));
    // "W2" writes low word then high word.
    EXPECT_EQ(drive.Handle(Maker("W2030400FF0305ABCD")), "%");
    EXPECT_EQ(drive.GetRegister32(0x0304), 0xABCD00FFu);

    EXPECT_EQ(drive.Handle(Maker("R0")), Maker("%"));
    EXPECT_EQ(drive.Handle(Maker("W0")), "%");
}

TEST(SimDriveMaker, GroupFormsShareTheWordAddresses) {
    CSimDrive drive(4);
    // A hex group character is the plain address 0gnn.
    drive.SetRegister(0x0C36, 77);
    EXPECT_EQ(drive.Handle(Maker("R10C36")), Maker("%004D"));
    // A group letter names the parameter: T 0x0100 plain, P packed around 32-bit parameters.
    drive.SetRegister(0x0105, 5);
    drive.SetRegister(0x0304, 0x0304);
    EXPECT_EQ(drive.Handle(Maker("R10T05")), Maker("%0005"));
    EXPECT_EQ(drive.Handle(Maker("R10P03")), Maker("%0304"));
    EXPECT_EQ(drive.Handle(Maker("W10q0300C8")), "%");
    EXPECT_EQ(drive.GetRegister(0x0403), 200);
    // A letter without a group, or a number the group lacks, is refused.
    EXPECT_EQ(drive.Handle(Maker("R10Z01")), "!");
    EXPECT_EQ(drive.Handle(Maker("R10T40")), "!");
}

TEST(SimDriveMaker, RefusesWhatTheDriveWouldNotTake) {
    CSimDrive drive(4);
    drive.SetRange(0x0010, -5, 5, true);
    drive.RefuseAddress(0x0020);
    struct Case {
        std::string request;
        std::string reply;
    } const cases[] = {
        {"R1020147", "!"},                   // checksum does not hold
        {Maker("R1G201"), "!"},              // not a hex address
        {Maker("R10201") + "0", "!"},        // too long for its count
        {Maker("W10F040001"), "!"},          // software version is the drive's own
        {Maker("W100100006"), "!"},          // above the range
        {Maker("W10010FFFA"), "!"},          // -6: below the signed range
        {Maker("W10010FFFB"), "%"},          // -5
        {Maker("R10020"), "!"},              // refused address
        {Maker("W200300001002000002"), "!"}, // one refused word refuses the whole write...
    };
    for (const Case& c : cases)
        EXPECT_EQ(drive.Handle(c.request), c.reply) << c.request;
    EXPECT_EQ(drive.GetRegister(0x0030), 0); // ...and nothing of it is written
}

TEST(SimDriveMaker, TuningRegistersKeepTheirRangeAndTheMotorSpeedReads) {
    CSimDrive drive(4);
    EXPECT_EQ(drive.Handle(Maker("W1001D0016")), "!"); // Cn026 rigidity level 22
    EXPECT_EQ(drive.Handle(Maker("W1001D0000")), "!"); // ... and 0
    EXPECT_EQ(drive.Handle(Maker("W1001D0015")), "%"); // 21
    EXPECT_EQ(drive.GetRegister(0x001D), 21);
    EXPECT_EQ(drive.Handle(Maker("W1020BC350")), "!"); // Sn211 50000
    EXPECT_EQ(drive.Handle(Maker("W1020CC350")), "%"); // Sn212 50000
    EXPECT_EQ(drive.Handle(Maker("R11101")), Maker("%0BB8"));
}

namespace {
// Checks the layout of a block read answer: `records` records of "%" + one word per address + CC,
// word k of record r holding register (address k + r).
void ExpectBlock(const CSimDrive& drive, const std::string& reply, const std::vector<uint16_t>& addresses,
                 int records) {
    const size_t recordLength = 3 + 4 * addresses.size();
    ASSERT_EQ(reply.size(), recordLength * static_cast<size_t>(records));
    for (int r = 0; r < records; ++r) {
        std::string record = reply.substr(recordLength * static_cast<size_t>(r), recordLength);
        ASSERT_EQ(record[0], '%') << r;
        EXPECT_TRUE(sim::HasValidMakerChecksum(record)) << r;
        for (size_t k = 0; k < addresses.size(); ++k)
            EXPECT_EQ(sim::ParseHex4(record, 1 + 4 * k),
                      drive.GetRegister(static_cast<uint16_t>(addresses[k] + r)))
                << "record " << r << " word " << k;
    }
}
} // namespace

TEST(SimDriveMaker, BlockReadsAnswerSixtyFourRecords) {
    CSimDrive drive(4);
    for (int i = 0; i < 0x200; ++i) {
        drive.SetRegister(static_cast<uint16_t>(0x5000 + i), static_cast<uint16_t>(i));
        drive.SetRegister(static_cast<uint16_t>(0x1000 + i), static_cast<uint16_t>(0x8000 + 3 * i));
        drive.SetRegister(static_cast<uint16_t>(0x4000 + i), static_cast<uint16_t>(0xFFFF - i));
    }
    const std::vector<uint16_t> nine = {0x5040, 0x1040, 0x1240, 0x1440, 0x1640,
                                        0x4040, 0x4240, 0x4440, 0x4640};
    std::string request = "R9";
    for (uint16_t a : nine)
        request += sim::Hex4(a);
    std::string reply = drive.Handle(Maker(request));
    EXPECT_EQ(reply.size(), 2496u);
    ExpectBlock(drive, reply, nine, 64);

    const std::vector<uint16_t> five = {0x5000, 0x1000, 0x1400, 0x4000, 0x4400};
    request = "R5";
    for (uint16_t a : five)
        request += sim::Hex4(a);
    reply = drive.Handle(Maker(request));
    EXPECT_EQ(reply.size(), 1472u);
    ExpectBlock(drive, reply, five, 64);

    drive.SetBlockReadRecords(2);
    ExpectBlock(drive, drive.Handle(Maker(request)), five, 2);
}

TEST(SimDriveMaker, BlockReadTouchingARefusedAddressIsRefused) {
    CSimDrive drive(4);
    drive.RefuseAddress(0x503F); // record 63 of a block from 0x5000
    EXPECT_EQ(drive.Handle(Maker("R550001000140040004400")), "!");
}

TEST(SimDriveMaker, IdentifiesAsItsSeries) {
    // What a drive of each series reports about itself, and the motor behind it. The motor words
    // agree with what the program's motor tables say the motor code stands for, and the factory
    // defaults were figured for that motor (Cn061 defaults to two thirds of its rated speed).
    struct Case {
        int series;
        uint16_t model;
        uint16_t controlMode;
        bool typeWords; // version above 56 or a drive id: the limit and power words are read
    } const cases[] = {{3, CSimDrive::ModelCodeForSeries(3), 13, false},
                       {4, 0x0202, 2, true},
                       {5, 0x0204, 13, true},
                       {6, 0x0400, 13, true},
                       {7, 0x0303, 2, true},
                       {8, 0x0302, 13, true},
                       {9, 0x0502, 13, true},
                       {0, 0, 2, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.series);
        CSimDrive drive(c.series);
        EXPECT_EQ(drive.Series(), c.series);
        EXPECT_EQ(drive.Handle(Maker("R1171D")), Maker("%" + sim::Hex4(c.model)));
        EXPECT_EQ(drive.GetRegister(0x1702), c.controlMode);
        EXPECT_EQ(drive.GetRegister(0x0F01), c.controlMode);
        EXPECT_EQ(drive.GetRegister(0x0F04) > 56 || drive.GetRegister(0x171E) > 0, c.typeWords);

        const int motor = drive.GetRegister(0x0F08);
        EXPECT_EQ(motor, 0x1157);
        EXPECT_EQ(drive.GetRegister(0x0021), motor) << "Cn030";
        MotorTables tables;
        ASSERT_FALSE(tables.MotorModelAt(MotorCodeToGroup(motor), MotorCodeToRow(motor)).empty());
        EXPECT_EQ(tables.m_RatedSpeed, 3000);
        EXPECT_EQ(drive.GetRegister(0x0B01), tables.m_RatedSpeed) << "ond01";
        EXPECT_EQ(drive.GetRegister(0x1101), tables.m_RatedSpeed) << "onU01";
        if (c.series != 0) { // a drive of no known series has no factory defaults
            EXPECT_EQ(drive.GetRegister(0x0040), 2000) << "Cn061";
        }
        EXPECT_EQ(drive.GetRegister32(0x1706), static_cast<uint32_t>(EncoderPulses(motor)));
        EXPECT_EQ(drive.GetRegister(0x0C1B), tables.m_MaxTorque);
        EXPECT_EQ(drive.GetRegisterSigned(0x0C1C), -tables.m_MaxTorque);
        const SimMechanismParams mechanism;
        EXPECT_EQ(static_cast<int>(drive.GetRegister32(0x1706)), mechanism.encoderPulses);
        EXPECT_EQ(drive.GetRegister(0x1102), mechanism.polePairs) << "onU02";
        EXPECT_EQ(drive.GetRegister32(0x110D), 1200u) << "onU08, 0.001 kg cm^2";
        EXPECT_DOUBLE_EQ(drive.GetRegister32(0x110D) * 1e-7, mechanism.motorInertia);
        EXPECT_EQ(drive.GetRegister(0x171C), 1);
    }

    CSimDrive drive(4);
    drive.SetServoOn(true);
    EXPECT_EQ(drive.Handle(Maker("R11703")), Maker("%0001"));
    drive.SetServoOn(false);
    EXPECT_EQ(drive.GetRegister(0x1703), 0);
}

// The contact block names the functions the drive runs its inputs and outputs with: those of its
// Hn parameters when it started. A later Hn write waits for the next power-up, and the block itself
// takes no write.
TEST(SimDriveMaker, ContactBlockHoldsTheFunctionsOfItsInputsAndOutputs) {
    for (int series : {4, 5, 9}) {
        SCOPED_TRACE(series);
        CSimDrive drive(series);
        for (uint16_t n = 1; n <= 24; ++n)
            EXPECT_EQ(drive.GetRegister(static_cast<uint16_t>(0x1A00 + n)),
                      drive.GetRegister(static_cast<uint16_t>(0x0500 + n)))
                << "Hn6" << n;
    }
    CSimDrive drive(4);
    EXPECT_EQ(DiFunctionName(PinFunctionNumber(drive.GetRegister(0x1A01))), "SON") << "DI-1";
    EXPECT_EQ(DoFunctionName(PinFunctionNumber(drive.GetRegister(0x1A0D))), "RDY") << "DO-1";
    const std::string before = drive.Handle(Maker("R11A01"));
    EXPECT_EQ(drive.Handle(Maker("W105010002")), "%");
    EXPECT_EQ(drive.Handle(Maker("R11A01")), before);
    EXPECT_EQ(drive.Handle(Maker("W11A010002")), "!");
}

TEST(SimDriveMaker, MemoryImageThroughItsSelectAndWriteRegisters) {
    CSimDrive drive(4);
    drive.SetImageWord(10, 0xBEEF);
    EXPECT_EQ(drive.Handle(Maker("W21714000117150010")), "%");
    EXPECT_EQ(drive.Handle(Maker("R11716")), Maker("%0000"));
    EXPECT_EQ(drive.Handle(Maker("W2171400011715000A")), "%");
    EXPECT_EQ(drive.Handle(Maker("R11716")), Maker("%BEEF"));
    EXPECT_EQ(drive.Handle(Maker("W2171703FF17181234")), "%");
    EXPECT_EQ(drive.GetImageWord(1023), 0x1234);
    // An index past the image changes nothing.
    EXPECT_EQ(drive.Handle(Maker("W2171704001718FFFF")), "%");
    EXPECT_EQ(drive.GetImageWord(0), 0);
}

TEST(SimDriveMaker, RegisterRulesCanComputeAndWatch) {
    CSimDrive drive(4);
    int reads = 0;
    std::vector<uint16_t> written;
    SimRegisterRule rule;
    rule.onRead = [&reads](uint16_t) { return static_cast<uint16_t>(++reads); };
    rule.onWrite = [&written](uint16_t, uint16_t value) { written.push_back(value); };
    drive.SetRule(0x1603, rule);
    EXPECT_EQ(drive.Handle(Maker("R11603")), Maker("%0001"));
    EXPECT_EQ(drive.Handle(Maker("R11603")), Maker("%0002"));
    EXPECT_EQ(drive.Handle(Maker("W116030007")), "%");
    EXPECT_EQ(written, std::vector<uint16_t>{7});
    // A status word made writable by a rule.
    drive.SetReadOnly(0x0F04, false);
    EXPECT_EQ(drive.Handle(Maker("W10F040001")), "%");
}

TEST(SimDriveModbus, RtuAndAsciiReadAndWrite) {
    CSimDrive drive(4);
    drive.SetStationNumber(3);
    drive.SetRegister(0x001C, 0x1234); // Cn025 sits behind the three 32-bit Cn parameters below it
    drive.SetRegister(0x001D, 0x5678);

    EXPECT_EQ(drive.Handle(Rtu(3, 0x03, 0x0019, 2)),
              sim::WithCrc16(Bytes({3, 3, 4, 0x12, 0x34, 0x56, 0x78})));
    EXPECT_EQ(drive.Handle(Ascii(3, 0x03, 0x0019, 1)), ":0303021234B2\r\n");

    EXPECT_EQ(drive.Handle(Rtu(3, 0x06, 0x0501, 0x00FF)), Rtu(3, 0x06, 0x0501, 0x00FF));
    EXPECT_EQ(drive.GetRegister(0x0501), 0x00FF);
    EXPECT_EQ(drive.Handle(Ascii(3, 0x06, 0x0702, 0xFFFE)), Ascii(3, 0x06, 0x0702, 0xFFFE));
    EXPECT_EQ(drive.GetRegister(0x1403), 0xFFFE) << "En02 sits behind the 32-bit En01";
}

TEST(SimDriveModbus, AddressTranslation) {
    CSimDrive drive(4);
    struct Case {
        uint16_t modbus, reg;
    } const cases[] = {
        {0x0019, 0x001C}, {0x0029, 0x002C}, {0x002A, 0x002A}, {0x0000, 0x0000}, {0x0301, 0x0301},
        {0x0303, 0x0304}, {0x0105, 0x0105}, {0x0601, 0x0601}, {0x0608, 0x0609}, {0x0660, 0x066C},
        {0x0701, 0x1401}, {0x0702, 0x1403}, {0x0901, 0x0901},
    };
    for (const Case& c : cases)
        EXPECT_EQ(drive.ModbusToRegister(c.modbus), c.reg) << std::hex << c.modbus;
    drive.SetModbusAddressTranslation(false);
    EXPECT_EQ(drive.ModbusToRegister(0x0019), 0x0019);
}

TEST(SimDriveModbus, ExceptionsAndSilence) {
    CSimDrive drive(4);
    drive.RefuseAddress(0x0200 + 5);
    struct Case {
        std::string request;
        std::string reply;
    } const cases[] = {
        {Rtu(1, 0x04, 0, 1), sim::WithCrc16(Bytes({1, 0x84, 0x01}))},      // other function
        {Rtu(1, 0x03, 0x0205, 1), sim::WithCrc16(Bytes({1, 0x83, 0x02}))}, // refused address
        {Rtu(1, 0x03, 0x0204, 2), sim::WithCrc16(Bytes({1, 0x83, 0x02}))}, // ...inside the range
        {Rtu(1, 0x03, 0, 0), sim::WithCrc16(Bytes({1, 0x83, 0x03}))},      // no registers
        {Rtu(1, 0x03, 0, 126), sim::WithCrc16(Bytes({1, 0x83, 0x03}))},    // too many
        {Rtu(1, 0x06, 0x0F04, 1), sim::WithCrc16(Bytes({1, 0x86, 0x04}))}, // read-only
        {Ascii(1, 0x06, 0x0205, 1), sim::ToModbusAscii(Bytes({1, 0x86, 0x02}))},
        {Rtu(2, 0x03, 0, 1), ""},                       // another station
        {Rtu(1, 0x03, 0, 1).substr(0, 7) + "\x01", ""}, // CRC wrong
        {":010300000001FC\r\n", ""},                    // LRC wrong
        {":01030000000aFA\r\n", ""},                    // lower-case digit
        {Rtu(0, 0x03, 0, 1), ""},                       // broadcast read
    };
    for (const Case& c : cases)
        EXPECT_EQ(drive.Handle(c.request), c.reply);

    EXPECT_EQ(drive.Handle(Rtu(0, 0x06, 0x0100 + 3, 9)), "") << "a broadcast write is done unanswered";
    EXPECT_EQ(drive.GetRegister(0x0103), 9);

    drive.SetModbusEnabled(false);
    EXPECT_EQ(drive.Handle(Rtu(1, 0x03, 0, 1)), "");
    EXPECT_NE(drive.Handle(Maker("R10000")), "") << "the maker protocol stays";
}

TEST(SimDriveLog, KeepsTheNewestRequestsAndCountsThemAll) {
    CSimDrive drive(4);
    EXPECT_EQ(drive.LogCapacity(), CSimDrive::kDefaultLogCapacity);
    drive.SetLogCapacity(3);
    for (int address = 0x0201; address <= 0x0205; ++address)
        drive.Handle(Maker(Format("R1%04X", address)));
    EXPECT_EQ(drive.RequestLog(),
              (std::vector<std::string>{Maker("R10203"), Maker("R10204"), Maker("R10205")}));
    EXPECT_EQ(drive.Log().back().reply, Maker("%0000"));
    EXPECT_EQ(drive.RequestCount(), 5u);

    // Shrinking drops the oldest; capacity 0 logs nothing but still counts.
    drive.SetLogCapacity(1);
    EXPECT_EQ(drive.RequestLog(), (std::vector<std::string>{Maker("R10205")}));
    drive.SetLogCapacity(0);
    drive.Handle(Maker("R10201"));
    EXPECT_TRUE(drive.Log().empty());
    EXPECT_EQ(drive.RequestCount(), 6u);
    drive.ClearLog();
    EXPECT_EQ(drive.RequestCount(), 0u);
}
