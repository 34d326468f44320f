#include "link/InternalCode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Text(const char* buffer, int length) {
    return std::string(buffer, static_cast<size_t>(length));
}

TEST(MakerFrames, BuildersWriteTheExactRequests) {
    char b[80];
    const uint16_t two[] = {0x000A, 0x000B};
    const int values[] = {0x1234, 0xAB};
    struct Case {
        const char* what;
        std::string built;
        std::string expected;
    } cases[] = {
        {"read word", (CInternalCode::BuildReadWord(b, 0x0201), Text(b, 8)), "R1020146"},
        {"write -1", (CInternalCode::BuildWriteWord(b, 0x0201, -1), Text(b, 12)), "W10201FFFF63"},
        {"read two", (CInternalCode::BuildReadWords(b, 2, two), Text(b, 12)), "R2000A000B27"},
        {"read none", (CInternalCode::BuildReadWords(b, 0, two), Text(b, 4)), "R082"},
        {"write two", (CInternalCode::BuildWriteWords(b, 2, two, values), Text(b, 20)),
         "W2000A1234000B00ABD9"},
        {"write none", (CInternalCode::BuildWriteWords(b, 0, two, values), Text(b, 4)), "W087"},
        {"write 32-bit low word first", (CInternalCode::BuildWriteDWord(b, 0x1234, 0x000189AB), Text(b, 20)),
         "W2123489AB12350001D3"},
        {"read parameter", (CInternalCode::BuildReadParam(b, 'T', 5), Text(b, 8)), "R10T056C"},
        {"write parameter", (CInternalCode::BuildWriteParam(b, 'T', 5, 7), Text(b, 12)), "W10T05000738"},
        {"image select", (CInternalCode::BuildMemoryImageSelect(b, 0x2A), Text(b, 20)),
         "W2171400011715002AB8"},
        {"image write", (CInternalCode::BuildMemoryImageWrite(b, 5, 0x12AB), Text(b, 20)),
         "W217170005171812ABD5"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.built, c.expected) << c.what;
}

TEST(MakerFrames, HexGroupParameterIsTheSameRequestAsItsAddress) {
    char byParam[12], byAddress[12];
    CInternalCode::BuildReadParam(byParam, 'C', 0x19);
    CInternalCode::BuildReadWord(byAddress, 0x0C19);
    EXPECT_EQ(Text(byParam, 8), Text(byAddress, 8));
    CInternalCode::BuildWriteParam(byParam, 'C', 0x19, -2);
    CInternalCode::BuildWriteWord(byAddress, 0x0C19, -2);
    EXPECT_EQ(Text(byParam, 12), Text(byAddress, 12));
    EXPECT_EQ(Text(byParam, 12), "W10C19FFFE7C");
}

TEST(MakerFrames, ChecksumIsTheByteSumModulo256) {
    char text[] = "%FFFF..";
    CInternalCode::AppendChecksum(text, 5);
    EXPECT_EQ(Text(text, 7), "%FFFF3D");
    char empty[2];
    CInternalCode::AppendChecksum(empty, 0);
    EXPECT_EQ(Text(empty, 2), "00");
}

TEST(ModbusFrames, ReadAndWriteRequests) {
    char b[20];
    EXPECT_EQ(CInternalCode::BuildModbusRead(b, 1, 0, 1, 0), 7);
    EXPECT_EQ(Text(b, 8), std::string("\x01\x03\x00\x00\x00\x01\x84\x0A", 8));
    EXPECT_EQ(CInternalCode::BuildModbusRead(b, 1, 0, 1, 1), 15);
    EXPECT_EQ(Text(b, 17), ":010300000001FB\r\n");
    EXPECT_EQ(CInternalCode::BuildModbusRead(b, 1, 0x0100, 4, 0), 13);
    EXPECT_EQ(CInternalCode::BuildModbusRead(b, 1, 0x0100, 4, 1), 27);

    EXPECT_EQ(CInternalCode::BuildModbusWrite(b, 1, 0x0001, 0x0003, 0), 8);
    EXPECT_EQ(Text(b, 8), std::string("\x01\x06\x00\x01\x00\x03\x98\x0B", 8));
    EXPECT_EQ(CInternalCode::BuildModbusWrite(b, 0x11, 0x0201, 0xFFFF, 1), 17);
    EXPECT_EQ(Text(b, 17), ":11060201FFFFE8\r\n");
}

TEST(ModbusFrames, CrcCountIsTakenModulo256) {
    std::vector<unsigned char> bytes(257, 0x5A);
    EXPECT_EQ(CInternalCode::Crc16Modbus(bytes.data(), 256), 0xFFFF) << "256 counts as none";
    EXPECT_EQ(CInternalCode::Crc16Modbus(bytes.data(), 257), CInternalCode::Crc16Modbus(bytes.data(), 1));
    const unsigned char check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(CInternalCode::Crc16Modbus(check, 9), 0x4B37) << "the catalogued CRC-16/MODBUS check value";
}

TEST(ModbusFrames, LrcOfTheHexPairs) {
    const char frame[] = ":010300000001FB\r\n";
    EXPECT_EQ(CInternalCode::ModbusLrc(frame, 17), 0x10000 - 5);
}

} // namespace
