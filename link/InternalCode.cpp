#include "link/InternalCode.h"

#include "link/LinkState.h"
#include "link/SerialExt.h"

#include <algorithm>
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
    PortObject.AwaitQuietLine();
    if (PortObject.CommandSend(request, requestLength, reply, expectedLength) != ErrNone) {
        // Whatever is left of the reply may still come: the next exchange waits for it to pass.
        PortObject.NoteUnfinishedExchange();
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
    LinkLost();
    PortObject.Close();
    return ReplyFailed;
}

int CInternalCode::ReadRecordBlock(const char* request, int requestLength, char* reply, int expectedLength) {
    reply[0] = 1;
    PortObject.AwaitQuietLine();
    if (PortObject.CommandSend(request, requestLength, reply, expectedLength) != ErrNone) {
        PortObject.NoteUnfinishedExchange();
        // The link is given up before the port is let go: a reader waiting for it (the monitor cycle
        // during a run) must find the link lost, not send into the line the block left unfinished.
        LinkLost(); // the port stays open: its owner closes it
        PortObject.PortMutex.Unlock();
        return 0;
    }
    if (reply[0] == '!' || reply[0] == '#')
        PortObject.NoteUnfinishedExchange(); // the port stops at the marker; the rest may follow
    return JudgeRecordBlock(request, requestLength, reply, expectedLength);
}

int CInternalCode::JudgeRecordBlock(const char* request, int requestLength, const char* reply,
                                    int expectedLength) {
    // A record is "%", one word per requested address and the checksum: 39 characters for "R9",
    // 23 for "R5".
    const int recordLength = requestLength >= 2 && request[1] >= '1' && request[1] <= '9'
                                 ? 4 * (request[1] - '0') + 3
                                 : kRecordLength;
    int bad = 0;
    for (int record = 0; record < expectedLength / recordLength; ++record) {
        const char* text = reply + record * recordLength;
        bool good = text[0] == '%' && ChecksumHolds(text, recordLength - 2);
        for (int i = 1; good && i < recordLength - 2; ++i)
            good = UpperHexValue(text[i]) >= 0;
        if (!good)
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

namespace {

constexpr int kModbusRequestBytes = 6;

// The six bytes of one of our requests, from its RTU bytes or its ASCII text.
void RequestBytes(const char* request, int asciiFlag, uint8_t (&bytes)[kModbusRequestBytes]) {
    for (int i = 0; i < kModbusRequestBytes; ++i) {
        bytes[i] =
            asciiFlag ? static_cast<uint8_t>((static_cast<unsigned>(UpperHexValue(request[1 + 2 * i])) << 4) |
                                             (static_cast<unsigned>(UpperHexValue(request[2 + 2 * i])) & 0xF))
                      : static_cast<uint8_t>(request[i]);
    }
}

// The bytes of an ASCII frame of `length` characters between ':' and the LRC, into `bytes` (room
// for (length - 5) / 2); the count, or -1 when the frame is unsound: shorter than ':' + station +
// function + LRC + CR LF, an odd digit count, no CR LF, a character other than an upper-case hex
// digit, or a wrong LRC.
int AsciiFrameBytes(const char* reply, int length, uint8_t* bytes) {
    if (length < 9 || (length - 5) % 2 != 0 || reply[length - 2] != '\r' || reply[length - 1] != '\n')
        return -1;
    for (int i = 1; i < length - 2; ++i) {
        if (UpperHexValue(reply[i]) < 0)
            return -1;
    }
    char lrc[2];
    PutHex2(lrc, static_cast<unsigned>(CInternalCode::ModbusLrc(reply, length)) & 0xFF);
    if (reply[length - 4] != lrc[0] || reply[length - 3] != lrc[1])
        return -1;
    const int count = (length - 5) / 2;
    for (int i = 0; i < count; ++i)
        bytes[i] =
            static_cast<uint8_t>((UpperHexValue(reply[1 + 2 * i]) << 4) | UpperHexValue(reply[2 + 2 * i]));
    return count;
}

// Judges the bytes of a sound frame (station .. last data byte) against the request's bytes.
int MatchModbusReply(const uint8_t (&asked)[kModbusRequestBytes], const uint8_t* reply, int count,
                     uint16_t* words) {
    if (count < 2)
        return ModbusCheckError;
    const uint8_t function = asked[1];
    if (reply[0] != asked[0])
        return ModbusMismatch;
    if (reply[1] == (function | 0x80))
        return count == 3 ? ModbusException : ModbusCheckError; // station, function, exception code
    if (reply[1] != function)
        return ModbusMismatch;
    if (function == 0x06) {
        if (count != kModbusRequestBytes)
            return ModbusCheckError;
        return std::equal(asked, asked + kModbusRequestBytes, reply) ? ModbusGood : ModbusMismatch;
    }
    if (function != 0x03)
        return ModbusMismatch;
    // station, function, byte count, the data: the frame must end where its count says.
    if (count < 3 || count != 3 + reply[2])
        return ModbusCheckError;
    const int registers = (asked[4] << 8) | asked[5];
    if (reply[2] != 2 * registers)
        return ModbusMismatch;
    for (int i = 0; words && i < registers; ++i)
        words[i] = static_cast<uint16_t>((reply[3 + 2 * i] << 8) | reply[4 + 2 * i]);
    return ModbusGood;
}

// Buffer sizes of a read of kMaxReadRegisters (the longest reply we ask for).
constexpr int kMaxRtuReply = 5 + 2 * CInternalCode::kMaxReadRegisters;
constexpr int kMaxAsciiReply = 11 + 4 * CInternalCode::kMaxReadRegisters;

} // namespace

int CInternalCode::CheckModbusReply(const char* request, const char* reply, int received, int asciiFlag,
                                    uint16_t* words) {
    uint8_t asked[kModbusRequestBytes];
    RequestBytes(request, asciiFlag, asked);
    if (!asciiFlag) {
        // Anything longer than the longest reply we ask for is not a reply of ours.
        if (received < 2 || received > kMaxRtuReply)
            return received < 2 ? ModbusNoReply : ModbusCheckError;
        const uint16_t crc = Crc16Modbus(reply, received - 2);
        if (static_cast<uint8_t>(reply[received - 2]) != (crc & 0xFF) ||
            static_cast<uint8_t>(reply[received - 1]) != (crc >> 8))
            return ModbusCheckError;
        return MatchModbusReply(asked, reinterpret_cast<const uint8_t*>(reply), received - 2, words);
    }
    if (received <= 0 || reply[0] != ':')
        return ModbusNoReply;
    if (received > kMaxAsciiReply)
        return ModbusCheckError;
    uint8_t bytes[kMaxAsciiReply / 2];
    const int count = AsciiFrameBytes(reply, received, bytes);
    if (count < 0)
        return ModbusCheckError;
    return MatchModbusReply(asked, bytes, count, words);
}

int CInternalCode::TransferModbusRtu(const char* request, int requestLength, char* reply, int expectedLength,
                                     unsigned timeoutMs) {
    RtuReceivedCount = 0;
    RtuRequestSent = 0;
    PortObject.AwaitQuietLine();
    if (Write(request, requestLength, nullptr, nullptr, timeoutMs) != ErrNone)
        return 0;
    RtuRequestSent = 1;
    int received = 0;
    if (Read(reply, expectedLength, &received, nullptr, timeoutMs) != ErrNone)
        return 0;
    RtuReceivedCount = received;
    return received;
}

int CInternalCode::TransferModbusAscii(const char* request, int requestLength, char* reply,
                                       int expectedLength, int attempts) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        PortObject.AwaitQuietLine();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        int received = 0;
        if (Write(request, requestLength, nullptr, nullptr, kAsciiWriteTimeoutMs) == ErrNone)
            Read(reply, expectedLength, &received, nullptr, kAsciiReadTimeoutMs);
        if (received > 0 && reply[0] == ':')
            return received;
        PortObject.NoteUnfinishedExchange();
    }
    return 0;
}

// A reply that is neither good nor a refusal may have been cut short or be an earlier request's:
// the rest, or our own reply, may still come.
static int NoteUnfinished(int result) {
    if (result != ModbusGood && result != ModbusException)
        PortObject.NoteUnfinishedExchange();
    return result;
}

int CInternalCode::ExchangeModbusRtu(const char* request, int requestLength, char* reply, int expectedLength,
                                     unsigned timeoutMs) {
    const int received = TransferModbusRtu(request, requestLength, reply, expectedLength, timeoutMs);
    return NoteUnfinished(CheckModbusReply(request, reply, received, 0));
}

int CInternalCode::ExchangeModbusAscii(const char* request, int requestLength, char* reply,
                                       int expectedLength, int attempts) {
    const int received = TransferModbusAscii(request, requestLength, reply, expectedLength, attempts);
    return NoteUnfinished(CheckModbusReply(request, reply, received, 1));
}

int CInternalCode::ReadHoldingRegisters(int station, int address, int count, int asciiFlag, uint16_t* words) {
    if (count < 1 || count > kMaxReadRegisters)
        return ModbusNoReply;
    char request[17];
    char reply[kMaxAsciiReply];
    const int expected = BuildModbusRead(request, station, address, count, asciiFlag);
    const int received = asciiFlag ? TransferModbusAscii(request, 17, reply, expected, 1)
                                   : TransferModbusRtu(request, 8, reply, expected, kRtuTimeoutMs);
    return NoteUnfinished(CheckModbusReply(request, reply, received, asciiFlag, words));
}

int CInternalCode::WriteSingleRegister(int station, int address, int value, int asciiFlag) {
    char request[17];
    char reply[17];
    const int expected = BuildModbusWrite(request, station, address, value, asciiFlag);
    return asciiFlag ? ExchangeModbusAscii(request, 17, reply, expected, 1)
                     : ExchangeModbusRtu(request, 8, reply, expected, kRtuTimeoutMs);
}
