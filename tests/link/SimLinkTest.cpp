// The link against the simulated drive on a real pseudo-terminal.
#include "link/InternalCode.h"
#include "link/LinkState.h"
#include "link/SerialExt.h"
#include "sim/SimDrive.h"
#include "sim/SimPtyServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

class SimLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(server.Start({.name = "ttyLINKTEST", .registerVirtualPort = false}, &error)) << error;
        Connect();
    }
    void TearDown() override {
        PortObject.Close();
        ConnectedFlag = 0;
        server.Stop();
    }
    void Connect() {
        ASSERT_EQ(PortObject.Open(server.DevicePath().c_str(), 9600, 500, 20000, 20000), ErrNone);
        ASSERT_EQ(PortObject.Setup(9600, 8, 0, 0), ErrNone);
        ASSERT_EQ(PortObject.SetupHandshaking(2), ErrNone);
        ASSERT_EQ(PortObject.SetupReadTimeouts(0), ErrNone);
        ASSERT_EQ(PortObject.SetupReadTimer(9600, 177), ErrNone);
        ConnectedFlag = 1;
    }

    CSimDrive drive{4};
    CSimPtyServer server{drive};
    CInternalCode code;
    char reply[64] = {};
};

TEST_F(SimLinkTest, ReadAndWriteAWord) {
    drive.SetRegister(0x0201, 0x1234);
    char request[12];
    CInternalCode::BuildReadWord(request, 0x0201);
    ASSERT_EQ(code.SendCommand(request, 8, reply, 7), ReplyRead);
    EXPECT_EQ(std::string(reply, 7), "%1234EF");
    CInternalCode::BuildWriteWord(request, 0x0201, -1);
    EXPECT_EQ(code.SendCommand(request, 12, reply, 1), ReplyWritten);
    EXPECT_EQ(drive.GetRegister(0x0201), 0xFFFF);
    EXPECT_EQ(drive.RequestLog(), (std::vector<std::string>{"R1020146", "W10201FFFF63"}));
}

TEST_F(SimLinkTest, FaultyDriveEndsTheExchangeInTimeAndDecidesTheLink) {
    struct Case {
        const char* what;
        SimFaultKind fault;
        bool linkUp;
    } cases[] = {
        {"silent drive", SimFaultKind::Silent, true}, {"drive stops mid-reply", SimFaultKind::Truncate, true},
        {"garbage", SimFaultKind::Garbage, false},    {"bad checksum", SimFaultKind::BadChecksum, false},
        {"refused", SimFaultKind::Refuse, true},
    };
    char request[8];
    CInternalCode::BuildReadWord(request, 0x0201);
    // A failed case before makes the exchange first wait for a quiet line.
    const long limit = static_cast<long>(PortObject.ExchangeTimeoutMs(8, 7) + PortObject.QuietLineMs()) + 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!PortObject.IsOpen())
            Connect();
        drive.ClearFaults();
        drive.AddFault({.kind = c.fault, .address = 0x0201});
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(code.SendCommand(request, 8, reply, 7), ReplyFailed);
        auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                .count();
        EXPECT_LE(elapsed, limit);
        EXPECT_EQ(ConnectedFlag.load() == 1, c.linkUp);
        EXPECT_EQ(PortObject.IsOpen(), c.linkUp);
        EXPECT_FALSE(PortObject.PortMutex.IsOwnedByCaller());
    }
    // After all that the line still carries good exchanges.
    drive.ClearFaults();
    if (!PortObject.IsOpen())
        Connect();
    EXPECT_EQ(code.SendCommand(request, 8, reply, 7), ReplyRead);
}

TEST_F(SimLinkTest, ExchangesOfTwoThreadsDoNotMix) {
    drive.SetRegister(0x0100, 0x1111);
    drive.SetRegister(0x0200, 0x2222);
    auto reader = [](uint16_t address, const char* expected, int* good) {
        CInternalCode own;
        char request[8];
        char answer[8];
        CInternalCode::BuildReadWord(request, address);
        for (int i = 0; i < 40; ++i) {
            if (own.SendCommand(request, 8, answer, 7) == ReplyRead && std::string(answer, 5) == expected)
                ++*good;
        }
    };
    int first = 0;
    int second = 0;
    std::thread other(reader, 0x0200, "%2222", &second);
    reader(0x0100, "%1111", &first);
    other.join();
    EXPECT_EQ(first, 40);
    EXPECT_EQ(second, 40);
    EXPECT_EQ(ConnectedFlag.load(), 1);
}

TEST_F(SimLinkTest, ModbusReadsInBothFramings) {
    drive.SetStationNumber(1);
    drive.SetModbusAddressTranslation(false);
    drive.SetRegister(0x0010, 0xBEEF);
    char request[17];
    char modbusReply[32] = {};
    int expected = CInternalCode::BuildModbusRead(request, 1, 0x0010, 1, 0);
    ASSERT_EQ(code.ExchangeModbusRtu(request, 8, modbusReply, expected, CInternalCode::kRtuTimeoutMs),
              ModbusGood);
    EXPECT_EQ(std::string(modbusReply, 5), std::string("\x01\x03\x02\xBE\xEF", 5));
    expected = CInternalCode::BuildModbusRead(request, 1, 0x0010, 1, 1);
    ASSERT_EQ(code.ExchangeModbusAscii(request, 17, modbusReply, expected, 1), ModbusGood);
    EXPECT_EQ(std::string(modbusReply, 11), ":010302BEEF");

    drive.AddFault({.kind = SimFaultKind::BadChecksum, .requestKind = SimRequestKind::ModbusRead});
    EXPECT_EQ(code.ExchangeModbusAscii(request, 17, modbusReply, expected, 1), ModbusCheckError);
    EXPECT_EQ(ConnectedFlag.load(), 1);
}

// The drive answers after the exchange gave up. Neither a maker reply nor a Modbus read reply names
// its register, so that reply would pass for the next request's, and every later reply for the one
// before it: the next exchange first lets the late reply pass.
TEST_F(SimLinkTest, LateReplyIsNotTakenForTheNextRequests) {
    drive.SetStationNumber(1);
    drive.SetModbusAddressTranslation(false);
    drive.SetRegister(0x0201, 0x1111);
    drive.SetRegister(0x0202, 0x2222);
    // Late by less than the quiet time that the next exchange waits for.
    const auto late = std::chrono::milliseconds(PortObject.QuietLineMs() / 4);

    char request[8];
    const auto makerRead = [&](uint16_t address) {
        CInternalCode::BuildReadWord(request, address);
        return code.SendCommand(request, 8, reply, 7) == ReplyRead ? std::string(reply, 5)
                                                                   : std::string("failed");
    };
    drive.AddFault({.kind = SimFaultKind::Delay,
                    .address = 0x0201,
                    .count = 1,
                    .delay = std::chrono::milliseconds(PortObject.ExchangeTimeoutMs(8, 7)) + late});
    EXPECT_EQ(makerRead(0x0201), "failed");
    EXPECT_EQ(makerRead(0x0202), "%2222");
    EXPECT_EQ(makerRead(0x0201), "%1111");
    EXPECT_EQ(ConnectedFlag.load(), 1);

    const auto modbusRead = [&](uint16_t address) {
        uint16_t word = 0;
        return code.ReadHoldingRegisters(1, address, 1, 0, &word) == ModbusGood ? word : -1;
    };
    drive.ClearFaults();
    drive.AddFault({.kind = SimFaultKind::Delay,
                    .address = 0x0201,
                    .requestKind = SimRequestKind::ModbusRead,
                    .count = 1,
                    .delay = std::chrono::milliseconds(CInternalCode::kRtuTimeoutMs) + late});
    EXPECT_EQ(modbusRead(0x0201), -1);
    EXPECT_EQ(modbusRead(0x0202), 0x2222);
    EXPECT_EQ(modbusRead(0x0201), 0x1111);
}

// How late a reply comes decides where it lands: within a gap it falls into the next exchange's quiet
// wait, a little later into the next exchange's own window. Up to about one turnaround late, no read
// ever returns another register's value and the reads after the late one succeed.
TEST_F(SimLinkTest, ReplyLateByUpToATurnaroundPassesForNoOtherRequest) {
    drive.SetRegister(0x0201, 0x1111);
    drive.SetRegister(0x0202, 0x2222);
    drive.SetRegister(0x0203, 0x3333);
    const long gap = PortObject.GapMs();
    const long turnaround = PortObject.TurnaroundMs();
    char request[8];
    const auto read = [&](uint16_t address) {
        CInternalCode::BuildReadWord(request, address);
        return code.SendCommand(request, 8, reply, 7) == ReplyRead ? std::string(reply, 5)
                                                                   : std::string("failed");
    };
    for (const long late : {gap / 4, 2 * gap, turnaround * 4 / 5}) {
        SCOPED_TRACE("late by " + std::to_string(late) + " ms");
        drive.ClearFaults();
        drive.AddFault({.kind = SimFaultKind::Delay,
                        .address = 0x0201,
                        .count = 1,
                        .delay = std::chrono::milliseconds(PortObject.ExchangeTimeoutMs(8, 7) + late)});
        EXPECT_EQ(read(0x0201), "failed");
        EXPECT_EQ(read(0x0202), "%2222");
        EXPECT_EQ(read(0x0203), "%3333");
        EXPECT_EQ(read(0x0201), "%1111");
        EXPECT_EQ(ConnectedFlag.load(), 1);
    }
}

} // namespace
