// Our Modbus RTU requests answered by an independent Modbus server (libmodbus) on a pty.
#include "tests/link/LinkFixture.h"

#include <modbus.h>

#include <atomic>
#include <thread>

namespace {

class ModbusServerTest : public LinkFixture {
protected:
    void SetUp() override {
        LinkFixture::SetUp();
        context_ = modbus_new_rtu("/dev/null", 115200, 'N', 8, 1); // the device is never opened
        ASSERT_NE(context_, nullptr);
        modbus_set_slave(context_, 1);
        modbus_set_socket(context_, peer.MasterFd());
        modbus_set_indication_timeout(context_, 0, 50000);
        map_ = modbus_mapping_new(0, 0, 0x200, 0);
        ASSERT_NE(map_, nullptr);
        map_->tab_registers[0x0000] = 0x002A;
        map_->tab_registers[0x0101] = 0xBEEF;
        server_ = std::thread([this] {
            uint8_t query[MODBUS_RTU_MAX_ADU_LENGTH];
            while (!stop_) {
                int length = modbus_receive(context_, query);
                if (length > 0)
                    modbus_reply(context_, query, length, map_);
            }
        });
    }
    void TearDown() override {
        stop_ = true;
        server_.join();
        modbus_mapping_free(map_);
        modbus_free(context_); // not modbus_close: the pty belongs to the peer
        LinkFixture::TearDown();
    }

    modbus_t* context_ = nullptr;
    modbus_mapping_t* map_ = nullptr;
    std::thread server_;
    std::atomic<bool> stop_{false};
};

TEST_F(ModbusServerTest, ReadHoldingRegisters) {
    char request[8];
    char reply[16] = {};
    int expected = CInternalCode::BuildModbusRead(request, 1, 0x0100, 2, 0);
    ASSERT_EQ(expected, 9);
    ASSERT_EQ(code.ExchangeModbusRtu(request, 8, reply, expected, CInternalCode::kRtuTimeoutMs), ModbusGood);
    EXPECT_EQ(code.RtuReceivedCount, 9);
    EXPECT_EQ(std::string(reply, 7), std::string("\x01\x03\x04\x00\x00\xBE\xEF", 7));
}

TEST_F(ModbusServerTest, WriteSingleRegisterIsEchoed) {
    char request[8];
    char reply[16] = {};
    int expected = CInternalCode::BuildModbusWrite(request, 1, 0x0000, 0x8001, 0);
    ASSERT_EQ(code.ExchangeModbusRtu(request, 8, reply, expected, CInternalCode::kRtuTimeoutMs), ModbusGood);
    EXPECT_EQ(std::string(reply, 8), std::string(request, 8));
    EXPECT_EQ(map_->tab_registers[0], 0x8001);
}

TEST_F(ModbusServerTest, ExceptionForAnAddressOutsideTheMap) {
    char request[8];
    char reply[16] = {};
    int expected = CInternalCode::BuildModbusRead(request, 1, 0x0300, 1, 0);
    EXPECT_EQ(code.ExchangeModbusRtu(request, 8, reply, expected, CInternalCode::kRtuTimeoutMs),
              ModbusException);
    EXPECT_EQ(static_cast<uint8_t>(reply[1]), 0x83);
    EXPECT_EQ(reply[2], MODBUS_EXCEPTION_ILLEGAL_DATA_ADDRESS);
}

} // namespace
