#include "tests/link/LinkFixture.h"
#include "tests/support/ModbusReplies.h"

#include <cstring>
#include <thread>
#include <vector>

namespace {

std::string WithChecksum(std::string text) {
    text.resize(text.size() + 2);
    CInternalCode::AppendChecksum(text.data(), static_cast<int>(text.size()) - 2);
    return text;
}

std::string WithCrc(std::string bytes) {
    uint16_t crc = CInternalCode::Crc16Modbus(bytes.data(), static_cast<int>(bytes.size()));
    bytes += static_cast<char>(crc & 0xFF);
    bytes += static_cast<char>(crc >> 8);
    return bytes;
}

using SendCommandTest = LinkFixture;

TEST_F(SendCommandTest, ResultsAndTheirEffectOnTheLink) {
    const std::string read = "R1020146";
    const std::string write = "W10201FFFF63";
    struct Case {
        const char* what;
        std::string request, answer;
        int expectedLength, result;
        bool linkUp;
    } cases[] = {
        {"good read", read, "%1234EF", 7, ReplyRead, true},
        {"read with a bad checksum", read, "%1234EE", 7, ReplyFailed, false},
        {"refused read", read, "!", 7, ReplyFailed, true},
        {"refused write", write, "!", 1, ReplyFailed, true},
        {"accepted write", write, "%", 1, ReplyWritten, true},
        {"silent drive", read, "", 7, ReplyFailed, true},
        {"drive stops mid-reply", read, "%12", 7, ReplyFailed, true},
        {"garbage", read, "?x?x?x?", 7, ReplyFailed, false},
        {"checksum error marker", read, "#", 7, ReplyFailed, false},
        {"long read taken unchecked", "R9", "%" + std::string(1400, 'Z'), 1401, ReplyRead, true},
        {"1400 characters are still checked", "R9", "%" + std::string(1399, 'Z'), 1400, ReplyFailed, false},
    };
    std::vector<char> reply(2000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!PortObject.IsOpen())
            OpenPort();
        ConnectedFlag = 1;
        const int noticesBefore = lostNotices;
        peer.ServeFixed(c.answer);
        // A failed case before makes this exchange first wait for a quiet line.
        const long limit =
            static_cast<long>(PortObject.ExchangeTimeoutMs(8, c.expectedLength) + PortObject.QuietLineMs()) +
            100;
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(code.SendCommand(c.request.data(), static_cast<int>(c.request.size()), reply.data(),
                                   c.expectedLength),
                  c.result);
        EXPECT_LE(MsSince(start), limit) << "the exchange ends within its time-out";
        EXPECT_EQ(ConnectedFlag.load() == 1, c.linkUp);
        EXPECT_EQ(PortObject.IsOpen(), c.linkUp);
        EXPECT_EQ(lostNotices - noticesBefore, c.linkUp ? 0 : 1) << "the owner of the link is told once";
        EXPECT_FALSE(PortObject.PortMutex.IsOwnedByCaller()) << "the port mutex is never left held";
    }
}

TEST_F(SendCommandTest, AnyObjectExchangesOnTheDrivePort) {
    peer.ServeFixed("%0001E6");
    CInternalCode other;
    char reply[8];
    EXPECT_EQ(other.SendCommand("R1000130", 8, reply, 7), ReplyRead);
    EXPECT_EQ(peer.Requests(), std::vector<std::string>{"R1000130"});
}

using RecordBlockTest = LinkFixture;

std::string Block(int records, std::vector<int> badRecords) {
    std::string block;
    for (int r = 0; r < records; ++r) {
        std::string record = "%";
        for (int word : {r, r + 1, r + 2, 0x8000 + r, 0, 0xFFFF, r * 3, 0x1234, r * 7}) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%04X", word & 0xFFFF);
            record += hex;
        }
        record = WithChecksum(record);
        for (int bad : badRecords)
            if (bad == r)
                record[38] = record[38] == '0' ? '1' : '0';
        block += record;
    }
    return block;
}

TEST_F(RecordBlockTest, CountsBadRecords) {
    const std::string request = WithChecksum("R9" + std::string(36, '0'));
    ASSERT_EQ(request.size(), 40u);
    std::vector<char> reply(2496);
    struct Case {
        std::vector<int> bad;
        int result;
    } cases[] = {{{}, 2}, {{0, 63}, 34}, {{5}, 18}};
    for (const Case& c : cases) {
        peer.ServeFixed(Block(64, c.bad));
        EXPECT_EQ(code.ReadRecordBlock(request.data(), 40, reply.data(), 2496), c.result);
        EXPECT_EQ(ConnectedFlag.load(), 1);
    }
}

TEST_F(RecordBlockTest, ARecordMustBeWellFormedNotOnlySumRight) {
    // Each damage keeps the record's byte sum right (the checksum is made over the damaged text).
    const std::string request = WithChecksum("R9" + std::string(36, '0'));
    struct Case {
        const char* what;
        size_t at;
        char put;
    } cases[] = {
        {"no percent sign", 0, '&'},
        {"a letter that is no hex digit", 7, 'G'},
        {"a lower-case hex digit", 12, 'a'},
        {"a blank inside a word", 36, ' '},
    };
    std::vector<char> reply(2496);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string block = Block(64, {});
        std::string record = block.substr(5 * 39, 37);
        record[c.at] = c.put;
        block.replace(5 * 39, 39, WithChecksum(record));
        peer.ServeFixed(block);
        EXPECT_EQ(code.ReadRecordBlock(request.data(), 40, reply.data(), 2496), 2 + 16);
        EXPECT_EQ(CInternalCode::JudgeRecordBlock(request.data(), 40, block.data(), 2496), 2 + 16);
    }
}

TEST_F(RecordBlockTest, AMarkerAtTheStartLetsTheRestOfTheReplyPassFirst) {
    const std::string request = WithChecksum("R9" + std::string(36, '0'));
    std::vector<char> reply(2496);
    for (char marker : {'!', '#'}) {
        SCOPED_TRACE(marker);
        const std::string good = Block(64, {});
        // The first character is damaged into a marker; the port stops reading there.
        peer.ServeFixed(std::string(1, marker));
        EXPECT_EQ(code.ReadRecordBlock(request.data(), 40, reply.data(), 2496), 2 + 16 * 64);
        EXPECT_EQ(ConnectedFlag.load(), 1);
        EXPECT_TRUE(PortObject.LateReplyPossible());
        // The rest of that reply is still arriving when the next read begins: it must not be taken
        // into that read's reply.
        peer.ServeFixed(good);
        std::thread rest([&] {
            for (size_t at = 1; at < good.size(); at += 250) {
                peer.Send(good.substr(at, 250));
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
        EXPECT_EQ(code.ReadRecordBlock(request.data(), 40, reply.data(), 2496), 2);
        rest.join();
    }
}

TEST_F(RecordBlockTest, FiveAddressRecordsAreJudgedAtTheirOwnLength) {
    // "R5" answers 64 records of 23 characters; judged as 39-character records they would all fail.
    const std::string request = WithChecksum("R5" + std::string(20, '0'));
    std::string block;
    for (int r = 0; r < 64; ++r) {
        char words[24];
        std::snprintf(words, sizeof words, "%%%04X%04X%04X%04X%04X", r, r + 1, 0xFFFF, 0x8000 + r, r * 5);
        std::string record = WithChecksum(words);
        if (r == 7)
            record[22] = record[22] == '0' ? '1' : '0';
        block += record;
    }
    std::vector<char> reply(1472);
    peer.ServeFixed(block);
    EXPECT_EQ(code.ReadRecordBlock(request.data(), 24, reply.data(), 1472), 2 + 16);
}

TEST_F(RecordBlockTest, FailedExchangeClearsTheFlagAndKeepsThePort) {
    const std::string request = WithChecksum("R9" + std::string(36, '0'));
    std::vector<char> reply(2496);
    peer.ServeFixed(Block(10, {}));
    EXPECT_EQ(code.ReadRecordBlock(request.data(), 40, reply.data(), 2496), 0);
    EXPECT_EQ(ConnectedFlag.load(), 0);
    EXPECT_EQ(lostNotices.load(), 1) << "its owner closes the port";
    EXPECT_TRUE(PortObject.IsOpen());
    EXPECT_FALSE(PortObject.PortMutex.IsOwnedByCaller());
}

TEST_F(RecordBlockTest, RefusalIsNotJudgedOnStaleBytes) {
    const std::string request = WithChecksum("R9" + std::string(36, '0'));
    std::vector<char> reply(2496);
    peer.ServeFixed(Block(64, {}));
    ASSERT_EQ(code.ReadRecordBlock(request.data(), 40, reply.data(), 2496), 2);
    peer.ServeFixed("!");
    EXPECT_EQ(code.ReadRecordBlock(request.data(), 40, reply.data(), 2496), 2 + 16 * 64)
        << "the good block of the previous read must not count again";
}

using ModbusExchangeTest = LinkFixture;

TEST_F(ModbusExchangeTest, RtuRepliesAreJudged) {
    const std::string exception = WithCrc(std::string("\x01\x83\x02", 3));
    std::string badCrc = exception;
    badCrc[4] ^= 0x01;
    struct Case {
        const char* what;
        std::string answer;
        int result;
    } cases[] = {
        {"normal reply", WithCrc(std::string("\x01\x03\x02\x00\x2A", 5)), ModbusGood},
        {"exception, good CRC", exception, ModbusException},
        {"exception, bad CRC", badCrc, ModbusCheckError},
        {"one byte", std::string("\x01", 1), ModbusNoReply},
        {"silent", "", ModbusNoReply},
    };
    char request[8];
    const int expected = CInternalCode::BuildModbusRead(request, 1, 0, 1, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        peer.ServeFixed(c.answer);
        char reply[16] = {};
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(code.ExchangeModbusRtu(request, 8, reply, expected, CInternalCode::kRtuTimeoutMs),
                  c.result);
        EXPECT_LE(MsSince(start),
                  static_cast<long>(CInternalCode::kRtuTimeoutMs + PortObject.QuietLineMs()) + 100);
        EXPECT_EQ(code.RtuReceivedCount, static_cast<int>(c.answer.size()));
        EXPECT_EQ(code.RtuRequestSent, 1);
        EXPECT_EQ(ConnectedFlag.load(), 1) << "Modbus exchanges leave the flag to the caller";
    }
}

TEST_F(ModbusExchangeTest, AsciiRepliesAreJudged) {
    struct Case {
        const char* what;
        std::string answer;
        int result;
    } cases[] = {
        {"normal reply", ":0103022A2AA6\r\n", ModbusGood},
        {"exception", ":0183027A\r\n", ModbusException},
        {"lower-case digit", ":0103022a2aA6\r\n", ModbusCheckError},
        {"wrong LRC", ":0103022A2AA7\r\n", ModbusCheckError},
        {"no CR LF", ":0103022A2AA6", ModbusCheckError},
        {"too short for an LRC", ":01\r\n", ModbusCheckError},
        {"odd digit count", ":0103022A2A0A6\r\n", ModbusCheckError},
        {"no colon", "0103022A2AA6\r\n", ModbusNoReply},
        {"silent", "", ModbusNoReply},
    };
    char request[17];
    const int expected = CInternalCode::BuildModbusRead(request, 1, 0, 1, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        peer.ServeFixed(c.answer);
        char reply[32] = {};
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(code.ExchangeModbusAscii(request, 17, reply, expected, 1), c.result);
        EXPECT_LE(MsSince(start), 1500) << "the read is bounded even when nothing comes";
    }
    EXPECT_EQ(peer.Requests().front(), ":010300000001FB\r\n");
}

TEST_F(ModbusExchangeTest, AsciiRetriesUpToTheAttempts) {
    peer.ServeFixed("garbage\r\n");
    char request[17];
    char reply[32];
    const int expected = CInternalCode::BuildModbusWrite(request, 1, 2, 3, 1);
    EXPECT_EQ(code.ExchangeModbusAscii(request, 17, reply, expected, 3), ModbusNoReply);
    EXPECT_EQ(peer.Requests().size(), 3u);
}

// The replies that only a check against the request tells apart, judged without a line.
TEST(ModbusReplyCheck, OnlyTheReplyToTheRequestGivesWords) {
    for (int ascii : {0, 1}) {
        char read[17];
        const int readLength = CInternalCode::BuildModbusRead(read, 1, 0x0019, 1, ascii);
        for (const auto& c : modbus_replies::ReadOfOneRegister(ascii, 0x1234)) {
            SCOPED_TRACE(std::string(ascii ? "ascii " : "rtu ") + c.what);
            uint16_t word = 0xFFFF;
            EXPECT_EQ(CInternalCode::CheckModbusReply(read, c.reply.data(), static_cast<int>(c.reply.size()),
                                                      ascii, &word),
                      c.result);
            EXPECT_EQ(word, c.result == ModbusGood ? 0x1234 : 0xFFFF) << "words only from a good reply";
        }
        EXPECT_EQ(static_cast<int>(modbus_replies::ReadOfOneRegister(ascii, 0)[0].reply.size()), readLength);

        char write[17];
        CInternalCode::BuildModbusWrite(write, 1, 0x0019, 0x8001, ascii);
        for (const auto& c : modbus_replies::WriteOfOneRegister(ascii, 0x0019, 0x8001)) {
            SCOPED_TRACE(std::string(ascii ? "ascii write " : "rtu write ") + c.what);
            EXPECT_EQ(CInternalCode::CheckModbusReply(write, c.reply.data(), static_cast<int>(c.reply.size()),
                                                      ascii, nullptr),
                      c.result);
        }
    }
}

TEST(ModbusReplyCheck, RepliesOnceTakenForWords) {
    char request[17];
    uint16_t word = 0;
    // Station and function, then the CRC: no byte count and no data, though the CRC holds.
    CInternalCode::BuildModbusRead(request, 1, 0, 1, 0);
    const std::string crcOnly("\x01\x03\x40\x21", 4);
    ASSERT_EQ(crcOnly, modbus_replies::Rtu(std::string("\x01\x03", 2)));
    EXPECT_EQ(CInternalCode::CheckModbusReply(request, crcOnly.data(), 4, 0, &word), ModbusCheckError);
    // A count of two bytes with one data byte: "4F" is the LRC, not data.
    CInternalCode::BuildModbusRead(request, 1, 0, 1, 1);
    EXPECT_EQ(CInternalCode::CheckModbusReply(request, ":010302AB4F\r\n", 13, 1, &word), ModbusCheckError);
    EXPECT_EQ(word, 0);
}

TEST(ModbusReplyCheck, ReadsOfSeveralRegisters) {
    char request[17];
    for (int ascii : {0, 1}) {
        SCOPED_TRACE(ascii ? "ascii" : "rtu");
        CInternalCode::BuildModbusRead(request, 7, 0x0100, 2, ascii);
        const std::string two = modbus_replies::Framed(std::string("\x07\x03\x04\xBE\xEF\x00\x2A", 7), ascii);
        uint16_t words[2] = {};
        EXPECT_EQ(
            CInternalCode::CheckModbusReply(request, two.data(), static_cast<int>(two.size()), ascii, words),
            ModbusGood);
        EXPECT_EQ(words[0], 0xBEEF);
        EXPECT_EQ(words[1], 0x002A);
        const std::string one = modbus_replies::Framed(std::string("\x07\x03\x02\xBE\xEF", 5), ascii);
        EXPECT_EQ(
            CInternalCode::CheckModbusReply(request, one.data(), static_cast<int>(one.size()), ascii, words),
            ModbusMismatch)
            << "one register where two were asked";
    }
}

// The same table through the exchange that the decoders use, over the line.
TEST_F(ModbusExchangeTest, ReadHoldingRegistersGivesWordsOfTheGoodReplyOnly) {
    for (int ascii : {0, 1}) {
        for (const auto& c : modbus_replies::ReadOfOneRegister(ascii, 0x1234)) {
            SCOPED_TRACE(std::string(ascii ? "ascii " : "rtu ") + c.what);
            peer.ServeFixed(c.reply);
            uint16_t word = 0xFFFF;
            EXPECT_EQ(code.ReadHoldingRegisters(1, 0x0019, 1, ascii, &word), c.result);
            EXPECT_EQ(word, c.result == ModbusGood ? 0x1234 : 0xFFFF);
        }
    }
    uint16_t words[2];
    EXPECT_EQ(code.ReadHoldingRegisters(1, 0, 0, 0, words), ModbusNoReply);
    EXPECT_EQ(code.ReadHoldingRegisters(1, 0, CInternalCode::kMaxReadRegisters + 1, 0, words), ModbusNoReply);
}

} // namespace
