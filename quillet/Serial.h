#pragma once
// CSerial: the port library's class. Serial ports are POSIX termios devices; the network forms are
// plain TCP. The virtual operations keep their slot order, because the link's classes derive from
// this one and override some of them.
//
// Results are ErrType values: 0 is success. CommandSend and TcpIpSend return only 0 or ErrNoReply,
// so a failed exchange can never read as anything else.
//
// Timing figures (Tc = one character on the wire: start bit + data bits + parity bit + stop bits,
// divided by the baud rate; the baud rate is the one given to SetupReadTimer, else Setup, else 9600):
//   - exchange time-out: the reply of CommandSend must be complete within
//         turnaround + 2 x (request length + expected length) x Tc
//     counted from the start of the write. The turnaround is 177 ms unless the 4-number Open or
//     SetupReadTimer set another (Open at connect passes 500, SetupReadTimer 177).
//   - inter-character gap: once a reply has started, a silence of 50 ms + 4 x Tc ends it. The gap
//     also ends Read in the default read mode, so a short reply (a Modbus exception) costs one gap
//     and not the whole time-out.
//   - write time-out of CommandSend: 100 ms + 2 x request length x Tc.
//   - PortMutex: CommandSend waits at most 30 s for it (longer than any exchange at 4800 baud).
//   - Read with a time-out of all bits set waits for the exchange time-out of its length, never for
//     ever. TCP connect waits 3 s unless told otherwise.
#include "quillet/PortMutex.h"

#include <netinet/in.h>

#include <atomic>
#include <string>
#include <vector>

enum ErrType : int {
    ErrNone = 0,
    ErrFailed = 1,  // never returned by CommandSend or TcpIpSend
    ErrNoReply = 2, // exchange: missing or short reply, or the request could not be sent
    ErrNotOpen = 3,
    ErrOpenFailed = 4,   // no such device, not a terminal, no permission
    ErrPortBusy = 5,     // another program (or another CSerial) holds the port
    ErrBadParameter = 6, // a frame format or argument the port cannot take
    ErrTimeout = 7,
    ErrIo = 8, // the device went away or reported an error
    ErrNotSupported = 9,
    ErrAlreadyOpen = 1247,
};

// SetupHandshaking: 2, what the program passes, is no flow control, since Modbus RTU frames are
// binary and must not lose XON/XOFF bytes.
enum HandshakeType : int { HandshakeHardware = 0, HandshakeSoftware = 1, HandshakeOff = 2 };

// SetupReadTimeouts: 0 (the program's choice) ends a Read at the inter-character gap once
// something has arrived; 1 waits for the full length or the time-out.
enum ReadMode : int { ReadEndsAtGap = 0, ReadFullLength = 1 };

// One device found by network discovery.
struct MAC_IP_STRUCT {
    std::string MacAddress; // "00-1a-2b-3c-4d-5e"
    std::string IpAddress;  // dotted form of the responder's address
    std::string Extra;      // left empty
    sockaddr_in Address{};  // the responder's socket address
};

class CSerial {
public:
    static constexpr unsigned kAllBitsSet = 0xFFFFFFFFu;
    static constexpr int kDefaultTurnaroundMs = 177;
    static constexpr unsigned kMutexWaitMs = 30000;

    CSerial();
    CSerial(const CSerial&) = delete;
    CSerial& operator=(const CSerial&) = delete;
    virtual ~CSerial();

    // Opens a serial device exclusively: turnaround in ms, then input and output queue sizes (the
    // kernel sizes its own queues; the figures are kept for the getters only).
    virtual int Open(const char* device, int baud, int turnaroundMs, int inputQueue, int outputQueue);
    virtual int Open(const char* device, int baud, int inputQueue, int outputQueue);
    // Open + Setup in one call: 8 data bits, no parity, one stop bit, no handshaking.
    virtual int InitComm(const char* device);
    virtual int InitComm(const char* device, int baud, int dataBits, int parity, int stopBits);
    // Connects to a TCP peer: the address given by setIPAddress, or the one passed.
    virtual int InitTcpIp(int port);
    virtual int InitTcpIp(const char* address, int port);
    virtual int Close();
    virtual int CloseTCPIP();
    // Baud 1200..230400; data bits 5..8; parity 0 none, 1 odd, 2 even; stop bits 0 one, 2 two.
    virtual int Setup(int baud, int dataBits, int parity, int stopBits);
    virtual int SetEventChar(char eventChar);
    virtual int SetMask(unsigned mask);
    // Waits until input is pending: 0, or ErrTimeout after timeoutMs.
    virtual int WaitEvent(unsigned timeoutMs);
    virtual int SetupHandshaking(int handshake);
    virtual int SetupReadTimeouts(int mode);
    virtual int GetBaudrate() { return baud_; }
    virtual int GetDataBits() { return dataBits_; }
    virtual int GetParity() { return parity_; }
    virtual int GetStopBits() { return stopBits_; }
    virtual int GetHandshaking() { return handshake_; }
    virtual unsigned GetEventMask() { return eventMask_; }
    virtual char GetEventChar() { return eventChar_; }
    virtual int Write(const char* text);
    // Sends the whole buffer within timeoutMs; count (may be null) gets the bytes sent.
    virtual int Write(const void* buffer, int length, int* count, void* overlapped, unsigned timeoutMs);
    virtual int WriteTcpip(const void* buffer, int length);
    // Reads up to length bytes within timeoutMs; 0 with count = bytes received, also when fewer
    // arrived. An error of the device is ErrIo.
    virtual int Read(void* buffer, int length, int* count, void* overlapped, unsigned timeoutMs);
    virtual int ReadTcpip(void* buffer, int length, int* count, unsigned timeoutMs);
    // Takes what the peer has already sent, without waiting.
    virtual int ReadExtraTcpip(void* buffer, int length, int* count);
    // One request/reply exchange under PortMutex (see the header comment for the time-outs). Ends
    // when the expected length arrived (0), when the reply is "!" or "#" (0, the reply in the
    // buffer), or at the gap or time-out (ErrNoReply). The rest of the reply buffer up to the
    // expected length is zeroed, so nothing stale is judged. PortMutex is released on 0; after
    // ErrNoReply the caller releases it.
    virtual int CommandSend(const char* request, int requestLength, char* reply, int expectedLength);
    // The receiving half of CommandSend alone (for a reply that comes unasked).
    virtual int ReadOnly(char* reply, int expectedLength);
    // CommandSend over the TCP connection.
    virtual int TcpIpSend(const char* request, int requestLength, char* reply, int expectedLength);
    // The result of the last operation of this object.
    virtual int CheckErr();
    virtual int setIPAddress(const char* address);
    // Discards pending input and output.
    virtual int clear();
    // The library searches nothing itself: the vector comes back empty.
    virtual void SearchTcpIp(std::vector<MAC_IP_STRUCT>& devices);
    // The baud rate and turnaround (ms) that the exchange time-outs are computed from.
    virtual int SetupReadTimer(int baud, int turnaroundMs);

    // Not part of the slot table. An object without a port of its own may send its Write, Read and
    // clear to another object's open port (the protocol objects use the program's drive port).
    void SetIoPort(CSerial* port) { ioPort_ = port; }
    bool IsOpen() const { return PortHandle >= 0; }

    // Taken by CommandSend and TcpIpSend; see CommandSend for who releases it.
    CPortMutex PortMutex;

    // Time-outs in ms that this object uses for an exchange of these lengths.
    unsigned ExchangeTimeoutMs(int requestLength, int expectedLength) const;
    unsigned GapMs() const;
    // The time the peer is given to start its answer (see SetupReadTimer).
    unsigned TurnaroundMs() const { return static_cast<unsigned>(turnaroundMs_); }

protected:
    // The open device's descriptor, -1 when closed.
    int PortHandle = -1;
    int TcpHandle = -1;

private:
    int Result(int code) {
        lastError_ = code;
        return code;
    }
    double CharTimeMs() const;
    bool WritesAtOnce(int length) const;
    CSerial* Route();
    int Exchange(int fd, const char* request, int requestLength, char* reply, int expectedLength);

    CSerial* ioPort_ = nullptr;
    int baud_ = 9600;
    int dataBits_ = 8;
    int parity_ = 0;
    int stopBits_ = 0;
    int handshake_ = HandshakeOff;
    int readMode_ = ReadEndsAtGap;
    int timerBaud_ = 0;
    int turnaroundMs_ = kDefaultTurnaroundMs;
    int inputQueue_ = 0;
    int outputQueue_ = 0;
    unsigned eventMask_ = 0;
    char eventChar_ = 0;
    std::atomic<int> lastError_{ErrNone};
    std::string ipAddress_;
};
