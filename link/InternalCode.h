#pragma once
// CInternalCode: the protocol object of the drive link. It builds the maker's ASCII commands and the
// Modbus RTU/ASCII requests, and runs one request/reply exchange at a time. Several windows inherit
// it as a second base.
//
// Maker requests are plain ASCII without terminator; the builders write exactly the characters of
// the request (no NUL) and the caller passes its length:
//   BuildReadWord 8, BuildReadWords 4 + 4n, BuildReadParam 8, BuildWriteWord 12,
//   BuildWriteWords 4 + 8n, BuildWriteDWord 20, BuildWriteParam 12, BuildMemoryImage* 20.
// Every number goes out as four upper-case hex digits of its low 16 bits ("FFFF" for -1).
#include "quillet/Serial.h"

#include <cstdint>

// Results of SendCommand. Readers test for ReplyRead, writers for ReplyWritten.
enum : int { ReplyFailed = 0, ReplyWritten = 1, ReplyRead = 2 };

// Results of the Modbus exchanges. ModbusMismatch: a sound frame that does not answer the request
// (another station or function, another byte count, a write echo that differs); it may be the late
// reply of an earlier request.
enum : int {
    ModbusNoReply = 0,
    ModbusCheckError = 1,
    ModbusGood = 2,
    ModbusException = 3,
    ModbusMismatch = 4
};

class CInternalCode : public CSerial {
public:
    // Expected reply lengths above this are taken without a checksum test (long block reads).
    static constexpr int kUncheckedReplyLength = 1400;
    // One record of a block read: "%" + nine words + checksum.
    static constexpr int kRecordLength = 39;
    // The time-outs the callers give the Modbus exchanges.
    static constexpr unsigned kRtuTimeoutMs = 400;
    static constexpr unsigned kAsciiWriteTimeoutMs = 800;
    static constexpr unsigned kAsciiReadTimeoutMs = 1000;

    // Write and Read of a protocol object reach the program's drive port.
    CInternalCode();
    ~CInternalCode() override;

    // Maker requests (the table above). n is 0..9; a number is 0..255 (its low 8 bits are used).
    static void BuildReadWord(char* out, uint16_t address);
    static void BuildReadWords(char* out, int n, const uint16_t* addresses);
    static void BuildReadParam(char* out, char group, int number);
    static void BuildWriteWord(char* out, uint16_t address, int value);
    static void BuildWriteWords(char* out, int n, const uint16_t* addresses, const int* values);
    static void BuildWriteDWord(char* out, uint16_t address, int32_t value);
    static void BuildWriteParam(char* out, char group, int number, int value);
    static void BuildMemoryImageSelect(char* out, int index);
    static void BuildMemoryImageWrite(char* out, int index, int value);
    // Writes the two checksum digits (byte sum of the first `length` characters, modulo 256) at
    // text[length] and text[length + 1].
    static void AppendChecksum(char* text, int length);

    // One maker exchange on PortObject, whatever object it is called on: ReplyWritten when a 'W' or
    // 'M' request was answered with "%", ReplyRead for a good read reply, ReplyFailed otherwise. A
    // reply that is neither "%" with a good checksum nor "!" means the link is lost: LinkLost
    // (LinkState.h) and the port closed. "!" (refused) leaves the link up. The reply buffer must hold
    // the expected length. An exchange that got no whole reply makes the next one (of any protocol
    // object) first wait for a quiet line (CSerialExt::AwaitQuietLine), so a late reply is not taken
    // for the next request's.
    int SendCommand(const char* request, int requestLength, char* reply, int expectedLength);
    // A block read of records as long as the request's address count makes them (39 characters for
    // nine addresses, 23 for five): 0 when the exchange failed (LinkLost; the port stays open), 2
    // when every record's checksum holds, 2 + 16 x (bad records) otherwise.
    // A record counts as good only when it is "%", upper-case hex digits and its checksum. A reply
    // that starts with the refusal or checksum-error marker counts every record bad, and what may
    // still follow it is let pass before the next exchange.
    int ReadRecordBlock(const char* request, int requestLength, char* reply, int expectedLength);
    // The judgement of ReadRecordBlock on a reply already received: 2 + 16 x (bad records) over the
    // records expectedLength holds at the request's record length.
    static int JudgeRecordBlock(const char* request, int requestLength, const char* reply,
                                int expectedLength);

    // Modbus requests; each returns the expected reply length. RTU frames are 8 bytes, ASCII 17.
    static int BuildModbusRead(char* out, int station, int address, int count, int asciiFlag);
    static int BuildModbusWrite(char* out, int station, int address, int value, int asciiFlag);
    // CRC-16/MODBUS of the first count bytes; the count is taken modulo 256.
    static uint16_t Crc16Modbus(const void* bytes, int count);
    // 0x10000 minus the sum of the hex pairs at positions 1 .. length-5 of an ASCII frame; its low
    // byte is the LRC.
    static int ModbusLrc(const char* text, int length);

    // The most registers one read may ask for.
    static constexpr int kMaxReadRegisters = 125;

    // The one place where a Modbus reply is accepted: judges `received` bytes of a reply (RTU bytes,
    // or ASCII text from ':' to CR LF) against the request it answers, in the same framing. First the
    // frame (CRC, or hex digits, CR LF and LRC), then the request: the station and function must be
    // the request's (that function | 0x80 is ModbusException, the drive's refusal), a read's byte
    // count must be 2 x the registers asked and the frame's length must hold exactly that count, a
    // write must be echoed unchanged. On ModbusGood the registers of a read go to `words` (when
    // given, room for the count asked).
    static int CheckModbusReply(const char* request, const char* reply, int received, int asciiFlag,
                                uint16_t* words = nullptr);

    // Exchanges through Write and Read of this object; no mutex, ConnectedFlag untouched. The reply
    // is judged by CheckModbusReply; a reply that is not good or a refusal leaves the line to be
    // quietened before the next exchange. Results: ModbusNoReply, ModbusCheckError, ModbusGood,
    // ModbusException, ModbusMismatch.
    int ExchangeModbusRtu(const char* request, int requestLength, char* reply, int expectedLength,
                          unsigned timeoutMs);
    int ExchangeModbusAscii(const char* request, int requestLength, char* reply, int expectedLength,
                            int attempts);

    // What the register decoders use: function 0x03 of `count` registers (1 .. kMaxReadRegisters)
    // and function 0x06, built for the station, exchanged in the framing asked (RTU within
    // kRtuTimeoutMs, ASCII in one attempt) and checked by CheckModbusReply. The words are written
    // only on ModbusGood. Results as the exchanges.
    int ReadHoldingRegisters(int station, int address, int count, int asciiFlag, uint16_t* words);
    int WriteSingleRegister(int station, int address, int value, int asciiFlag);

    // Bytes received by the last RTU exchange, and whether its request went out.
    int RtuReceivedCount = 0;
    unsigned char RtuRequestSent = 0;

private:
    // The transfers of the exchanges: the count of bytes received (0: nothing usable), not judged.
    int TransferModbusRtu(const char* request, int requestLength, char* reply, int expectedLength,
                          unsigned timeoutMs);
    int TransferModbusAscii(const char* request, int requestLength, char* reply, int expectedLength,
                            int attempts);
};
