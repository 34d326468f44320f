#include "link/InternalCode.h"

#include "link/LinkState.h"
#include "link/SerialExt.h"

#include <chrono>
#include <thread>

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void PutHex2(char* out, unsigned value) {
    out[0] = kHexDigits[(value >> 4) & 0xF];
    out[1] = kHexDigits[value & 0xF];
}

void PutHex4(char* out, unsigned value) {
    PutHex2(out, (value >> 8) & 0xFF);
    PutHex2(out + 2, value & 0xFF);
}

// Upper-case hex digit only: the drive writes nothing else, so a lower-case digit is a bad frame.
int UpperHexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

unsigned ByteSum(const char* text, int length) {
    unsigned sum = 0;
    for (int i = 0; i < length; ++i)
        sum += static_cast<unsigned char>(text[i]);
    return sum & 0xFF;
}

bool ChecksumHolds(const char* text, int length) {
    char expected[2];
    PutHex2(expected, ByteSum(text, length));
    return text[length] == expected[0] && text[length + 1] == expected[1];
}

int ClampCount(int n) {
    return n < 0 ? 0 : (n > 9 ? 9 : n);
}

} // namespace

CInternalCode::CInternalCode() {
    SetIoPort(&PortObject);
}

CInternalCode::~CInternalCode() = default;

void CInternalCode::AppendChecksum(char* text, int length) {
    PutHex2(text + length, ByteSum(text, length));
}

void CInternalCode::BuildReadWord(char* out, uint16_t address) {
    BuildReadWords(out, 1, &address);
}

void CInternalCode::BuildReadWords(char* out, int n, const uint16_t* addresses) {
    n = ClampCount(n);
    out[0] = 'R';
    out[1] = static_cast<char>('0' + n);
    for (int i = 0; i < n; ++i)
        PutHex4(out + 2 + 4 * i, addresses[i]);
    AppendChecksum(out, 2 + 4 * n);
}

void CInternalCode::BuildReadParam(char* out, char group, int number) {
    out[0] = 'R';
    out[1] = '1';
    out[2] = '0';
    out[3] = group;
    PutHex2(out + 4, static_cast<unsigned>(number) & 0xFF);
    AppendChecksum(out, 6);
}

void CInternalCode::BuildWriteWord(char* out, uint16_t address, int value) {
    BuildWriteWords(out, 1, &address, &value);
}

void CInternalCode::BuildWriteWords(char* out, int n, const uint16_t* addresses, const int* values) {
    n = ClampCount(n);
    out[0] = 'W';
    out[1] = static_cast<char>('0' + n);
    for (int i = 0; i < n; ++i) {
        PutHex4(out + 2 + 8 * i, addresses[i]);
        PutHex4(out + 6 + 8 * i, static_cast<unsigned>(values[i]));
    }
    AppendChecksum(out, 2 + 8 * n);
}

void CInternalCode::BuildWriteDWord(char* out, uint16_t address, int32_t value) {
    const uint16_t addresses[2] = {address, static_cast<uint16_t>(address + 1)};
    const int words[2] = {static_cast<int>(value & 0xFFFF),
                          static_cast<int>((static_cast<uint32_t>(value) >> 16))};
    BuildWriteWords(out, 2, addresses, words);
}

void CInternalCode::BuildWriteParam(char* out, char group, int number, int value) {
    out[0] = 'W';
    out[1] = '1';
    out[2] = '0';
    out[3] = group;
    PutHex2(out + 4, static_cast<unsigned>(number) & 0xFF);
    PutHex4(out + 6, static_cast<unsigned>(value));
    AppendChecksum(out, 10);
}

void CInternalCode::BuildMemoryImageSelect(char* out, int index) {
    const uint16_t addresses[2] = {0x1714, 0x1715};
    const int values[2] = {1, index};
    BuildWriteWords(out, 2, addresses, values);
}

void CInternalCode::BuildMemoryImageWrite(char* out, int index, int value) {
    const uint16_t addresses[2] = {0x1717, 0x1718};
    const int values[2] = {index, value};
    BuildWriteWords(out, 2, addresses, values);
}

int CInternalCode::SendCommand(const char* request, int requestLength, char* reply, int expectedLength) {
    reply[0] = 0;
    if (PortObject.CommandSend(request, requestLength, reply, expectedLength) != ErrNone) {
        // The port library leaves its mutex to us after a failure. Whatever the code, a failed
        // exchange is a failure: never let it pass for an accepted write.
        PortObject.PortMutex.Unlock();
        return ReplyFailed;
    }
    if (reply[0] == '%') {
        if (request[0] == 'W' || request[0] == 'M')
            return ReplyWritten;
        if (expectedLength > kUncheckedReplyLength)
            return ReplyRead;
        // A read reply with no room for a checksum cannot be judged good.
        if (expectedLength >= 3 && ChecksumHolds(reply, expectedLength - 2))
            return ReplyRead;
    } else if (reply[0] == '!') {
        return ReplyFailed; // refused; the link stays up
    }
    ConnectedFlag = 0;
    PortObject.Close();
    return ReplyFailed;
}

int CInternalCode::ReadRecordBlock(const char* request, int requestLength, char* reply, int expectedLength) {
    reply[0] = 1;
    if (PortObject.CommandSend(request, requestLength, reply, expectedLength) != ErrNone) {
        PortObject.PortMutex.Unlock();
        ConnectedFlag = 0;
        return 0;
    }
    // A record is "%", one word per requested address and the checksum: 39 characters for "R9",
    // 23 for "R5".
    const int recordLength = requestLength >= 2 && request[1] >= '1' && request[1] <= '9'
                                 ? 4 * (request[1] - '0') + 3
                                 : kRecordLength;
    int bad = 0;
    for (int record = 0; record < expectedLength / recordLength; ++record) {
        if (!ChecksumHolds(reply + record * recordLength, recordLength - 2))
            ++bad;
    }
    return 2 + 16 * bad;
}

// Frames the six bytes of a 0x03 or 0x06 request: RTU with its CRC low byte first (8 bytes), or
// ASCII as ':' + hex pairs + LRC + CR LF (17 characters).
static void FrameModbusRequest(char* out, const uint8_t (&bytes)[6], int asciiFlag) {
    if (!asciiFlag) {
        for (int i = 0; i < 6; ++i)
            out[i] = static_cast<char>(bytes[i]);
        uint16_t crc = CInternalCode::Crc16Modbus(bytes, 6);
        out[6] = static_cast<char>(crc & 0xFF);
        out[7] = static_cast<char>(crc >> 8);
        return;
    }
    out[0] = ':';
    for (int i = 0; i < 6; ++i)
        PutHex2(out + 1 + 2 * i, bytes[i]);
    PutHex2(out + 13, static_cast<unsigned>(CInternalCode::ModbusLrc(out, 17)) & 0xFF);
    out[15] = '\r';
    out[16] = '\n';
}

int CInternalCode::BuildModbusRead(char* out, int station, int address, int count, int asciiFlag) {
    const uint8_t bytes[6] = {static_cast<uint8_t>(station),      0x03,
                              static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address),
                              static_cast<uint8_t>(count >> 8),   static_cast<uint8_t>(count)};
    FrameModbusRequest(out, bytes, asciiFlag);
    return asciiFlag ? 11 + 4 * count : 5 + 2 * count;
}

int CInternalCode::BuildModbusWrite(char* out, int station, int address, int value, int asciiFlag) {
    const uint8_t bytes[6] = {static_cast<uint8_t>(station),      0x06,
                              static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address),
                              static_cast<uint8_t>(value >> 8),   static_cast<uint8_t>(value)};
    FrameModbusRequest(out, bytes, asciiFlag);
    return asciiFlag ? 17 : 8;
}

uint16_t CInternalCode::Crc16Modbus(const void* bytes, int count) {
    const auto* data = static_cast<const uint8_t*>(bytes);
    uint16_t crc = 0xFFFF;
    for (int i = 0; i < (count & 0xFF); ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
    }
    return crc;
}

int CInternalCode::ModbusLrc(const char* text, int length) {
    int sum = 0;
    for (int i = 1; i + 1 <= length - 5; i += 2) {
        int high = UpperHexValue(text[i]);
        int low = UpperHexValue(text[i + 1]);
        sum += ((high < 0 ? 0 : high) << 4) | (low < 0 ? 0 : low);
    }
    return 0x10000 - sum;
}

int CInternalCode::ExchangeModbusRtu(const char* request, int requestLength, char* reply, int expectedLength,
                                     unsigned timeoutMs) {
    RtuReceivedCount = 0;
    RtuRequestSent = 0;
    if (Write(request, requestLength, nullptr, nullptr, timeoutMs) != ErrNone)
        return ModbusNoReply;
    RtuRequestSent = 1;
    int received = 0;
    if (Read(reply, expectedLength, &received, nullptr, timeoutMs) != ErrNone)
        return ModbusNoReply;
    RtuReceivedCount = received;
    if (received < 2)
        return ModbusNoReply;
    uint16_t crc = Crc16Modbus(reply, received - 2);
    if (static_cast<uint8_t>(reply[received - 2]) != (crc & 0xFF) ||
        static_cast<uint8_t>(reply[received - 1]) != (crc >> 8))
        return ModbusCheckError;
    return (static_cast<uint8_t>(reply[1]) & 0x80) ? ModbusException : ModbusGood;
}

// Judges one received ASCII frame of `length` characters that begins with ':'. The shortest frame
// that can be judged is ':' + station + function + LRC + CR LF (9 characters); anything shorter, an
// odd digit count or a missing CR LF is a check error, judged from what arrived only.
static int JudgeAsciiReply(const char* reply, int length) {
    if (length < 9 || (length - 5) % 2 != 0 || reply[length - 2] != '\r' || reply[length - 1] != '\n')
        return ModbusCheckError;
    for (int i = 1; i < length - 2; ++i) {
        if (UpperHexValue(reply[i]) < 0)
            return ModbusCheckError;
    }
    char lrc[2];
    PutHex2(lrc, static_cast<unsigned>(CInternalCode::ModbusLrc(reply, length)) & 0xFF);
    if (reply[length - 4] != lrc[0] || reply[length - 3] != lrc[1])
        return ModbusCheckError;
    return reply[3] >= '8' ? ModbusException : ModbusGood;
}

int CInternalCode::ExchangeModbusAscii(const char* request, int requestLength, char* reply,
                                       int expectedLength, int attempts) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        int received = 0;
        if (Write(request, requestLength, nullptr, nullptr, kAsciiWriteTimeoutMs) == ErrNone)
            Read(reply, expectedLength, &received, nullptr, kAsciiReadTimeoutMs);
        if (received > 0 && reply[0] == ':')
            return JudgeAsciiReply(reply, received);
    }
    return ModbusNoReply;
}
