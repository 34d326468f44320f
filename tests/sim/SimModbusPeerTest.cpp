// The simulator's Modbus RTU side checked against an independent client library over the pty.
#include "sim/SimPtyServer.h"

#include "PtyClient.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <modbus.h>

using namespace simtest;

namespace {

class SimModbusPeerTest : public ::testing::Test {
protected:
    ScopedTempFolder temp;
    CSimDrive drive{4};
    CSimPtyServer server{drive};
    modbus_t* ctx = nullptr;

    void SetUp() override {
        drive.SetStationNumber(5);
        drive.SetModbusAddressTranslation(false); // plain addresses keep the library's view simple
        std::string error;
        ASSERT_TRUE(server.Start({.registerVirtualPort = false}, &error)) << error;
        ctx = modbus_new_rtu(server.DevicePath().c_str(), 115200, 'N', 8, 1);
        ASSERT_NE(ctx, nullptr);
        ASSERT_EQ(modbus_set_slave(ctx, 5), 0);
        modbus_set_response_timeout(ctx, 0, 300000);
        ASSERT_EQ(modbus_connect(ctx), 0) << modbus_strerror(errno);
    }
    void TearDown() override {
        if (ctx) {
            modbus_close(ctx);
            modbus_free(ctx);
        }
    }
};

} // namespace

TEST_F(SimModbusPeerTest, ReadsAndWritesHoldingRegisters) {
    for (int i = 0; i < 10; ++i)
        drive.SetRegister(static_cast<uint16_t>(0x0300 + i), static_cast<uint16_t>(0x1000 * i + i));
    uint16_t values[10] = {};
    ASSERT_EQ(modbus_read_registers(ctx, 0x0300, 10, values), 10) << modbus_strerror(errno);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(values[i], 0x1000 * i + i) << i;

    ASSERT_EQ(modbus_write_register(ctx, 0x0205, 0xBEEF), 1) << modbus_strerror(errno);
    EXPECT_EQ(drive.GetRegister(0x0205), 0xBEEF);
    EXPECT_EQ(drive.RequestCount(), 2u);
}

TEST_F(SimModbusPeerTest, ExceptionsReachTheClientAsModbusErrors) {
    drive.RefuseAddress(0x0207);
    uint16_t value = 0;
    EXPECT_EQ(modbus_read_registers(ctx, 0x0207, 1, &value), -1);
    EXPECT_EQ(errno, EMBXILADD);
    EXPECT_EQ(modbus_write_register(ctx, 0x0F04, 1), -1); // the drive's own software version
    EXPECT_EQ(errno, EMBXSFAIL);
    uint8_t bits[8];
    EXPECT_EQ(modbus_read_bits(ctx, 0, 8, bits), -1); // function 0x01 is not served
    EXPECT_EQ(errno, EMBXILFUN);
}

TEST_F(SimModbusPeerTest, OtherStationAndSilenceTimeOut) {
    modbus_set_slave(ctx, 6);
    uint16_t value = 0;
    EXPECT_EQ(modbus_read_registers(ctx, 0, 1, &value), -1);
    EXPECT_EQ(errno, ETIMEDOUT);

    modbus_set_slave(ctx, 5);
    drive.AddFault({.kind = SimFaultKind::BadChecksum, .count = 1});
    EXPECT_EQ(modbus_read_registers(ctx, 0, 1, &value), -1);
    EXPECT_EQ(errno, EMBBADCRC);
    modbus_flush(ctx);
    EXPECT_EQ(modbus_read_registers(ctx, 0x0F04, 1, &value), 1) << modbus_strerror(errno);
    EXPECT_EQ(value, drive.GetRegister(0x0F04));
}
