#include "sim/SimProtocol.h"

#include "framework/core/Format.h"

#include <gtest/gtest.h>

using namespace sim;

namespace {
std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}
} // namespace

TEST(SimProtocol, MakerChecksumIsByteSumModulo256) {
    EXPECT_EQ(MakerChecksum("R10201"), "46");
    EXPECT_EQ(MakerChecksum("W10201FFFF"), "63");
    EXPECT_EQ(WithMakerChecksum("R10201"), "R1020146");
    EXPECT_TRUE(HasValidMakerChecksum("W10201FFFF63"));
    EXPECT_FALSE(HasValidMakerChecksum("W10201FFFF64"));
    EXPECT_FALSE(HasValidMakerChecksum("4"));
}

TEST(SimProtocol, ModbusCrcAndLrcMatchKnownFrames) {
    std::string read = Bytes({0x01, 0x03, 0x00, 0x00, 0x00, 0x01});
    EXPECT_EQ(WithCrc16(read), read + Bytes({0x84, 0x0A}));
    EXPECT_TRUE(HasValidCrc16(read + Bytes({0x84, 0x0A})));
    EXPECT_FALSE(HasValidCrc16(read + Bytes({0x0A, 0x84})));
    EXPECT_EQ(ToModbusAscii(read), ":010300000001FB\r\n");

    std::string decoded;
    EXPECT_TRUE(FromModbusAscii(":010300000001FB\r\n", decoded));
    EXPECT_EQ(decoded, read);
    EXPECT_FALSE(FromModbusAscii(":010300000001FC\r\n", decoded));  // LRC
    EXPECT_FALSE(FromModbusAscii(":01030000000aFA\r\n", decoded));  // lower-case digit
    EXPECT_FALSE(FromModbusAscii(":010300000001FB", decoded));      // no CR LF
    EXPECT_FALSE(FromModbusAscii(":0103000000001FB\r\n", decoded)); // odd digit count
}

TEST(SimProtocol, HexHelpers) {
    EXPECT_EQ(Hex4(0x1A2B), "1A2B");
    EXPECT_EQ(Hex4(-1), "FFFF");
    EXPECT_EQ(ParseHex4("xx0f0A", 2), 0x0F0A);
    EXPECT_EQ(ParseHex4("0g00", 0), -1);
    EXPECT_EQ(ParseHex4("012", 0), -1);
    EXPECT_EQ(ParseHexChar('g'), -1);
}

TEST(SimProtocol, ScanRequestFindsTheEndOfEachForm) {
    struct Case {
        std::string buffer;
        bool modbus;
        FrameState state;
        size_t length;
    };
    const std::string rtuRead = Bytes({0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A});
    const Case cases[] = {
        {"R1020146", false, FrameState::Complete, 8},
        {"R1020146R1", false, FrameState::Complete, 8}, // the next request waits its turn
        {"R10C3600", false, FrameState::Complete, 8},   // "R10" form has the length of "R1"
        {"R102", false, FrameState::NeedMore, 0},
        {"R", false, FrameState::NeedMore, 0},
        {"R025", false, FrameState::Complete, 4},
        {std::string("R9") + std::string(38, '0'), false, FrameState::Complete, 40},
        {"W10201FFFF63", false, FrameState::Complete, 12},
        {std::string("W2") + std::string(18, '0'), false, FrameState::Complete, 20},
        {"W2" + std::string(10, '0'), false, FrameState::NeedMore, 0},
        {":010300000001FB\r\n:01", true, FrameState::Complete, 17},
        {":010300000001FB", true, FrameState::NeedMore, 0},
        {":" + std::string(kMaxAsciiFrame, '0'), true, FrameState::Unknown, 0},
        {rtuRead + "x", true, FrameState::Complete, 8},
        {rtuRead.substr(0, 5), true, FrameState::NeedMore, 0},
        {rtuRead, false, FrameState::Unknown, 0},
        {Bytes({0x50, 0x05, 0x07, 0x09}), true, FrameState::Unknown, 0},
        {"RX", false, FrameState::Unknown, 0},
    };
    for (const Case& c : cases) {
        FrameScan scan = ScanRequest(c.buffer, c.modbus);
        EXPECT_EQ(scan.state, c.state) << c.buffer;
        if (c.state == FrameState::Complete) {
            EXPECT_EQ(scan.length, c.length) << c.buffer;
        }
    }
}
