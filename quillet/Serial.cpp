#include "quillet/Serial.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned kTcpConnectMs = 3000;

int MillisecondsLeft(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
    if (left <= 0)
        return 0;
    return static_cast<int>((left + 999) / 1000);
}

bool BaudConstant(int baud, speed_t& speed) {
    switch (baud) {
    case 1200:
        speed = B1200;
        return true;
    case 2400:
        speed = B2400;
        return true;
    case 4800:
        speed = B4800;
        return true;
    case 9600:
        speed = B9600;
        return true;
    case 19200:
        speed = B19200;
        return true;
    case 38400:
        speed = B38400;
        return true;
    case 57600:
        speed = B57600;
        return true;
    case 115200:
        speed = B115200;
        return true;
    case 230400:
        speed = B230400;
        return true;
    default:
        return false;
    }
}

// 0 once fd takes output, else why not before the deadline.
int WaitWritable(int fd, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, POLLOUT, 0};
        int ready = poll(&p, 1, MillisecondsLeft(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0)
            return ErrTimeout;
        if (ready < 0 || (p.revents & (POLLERR | POLLHUP | POLLNVAL)))
            return ErrIo;
        return ErrNone;
    }
}

// Writes everything before the deadline. The descriptor is in blocking mode; poll keeps a stalled
// line from holding us past the deadline. With writeAtOnce the first write goes out without that
// poll: the caller knows the line cannot stall it (one system call less per exchange).
int SendAll(int fd, bool socket, bool writeAtOnce, const char* data, int length, Clock::time_point deadline,
            int* count) {
    int sent = 0;
    int result = ErrNone;
    bool waitFirst = !writeAtOnce;
    while (sent < length) {
        if (std::exchange(waitFirst, true)) {
            result = WaitWritable(fd, deadline);
            if (result != ErrNone)
                break;
        }
        // A socket whose peer went away must fail the send, not raise SIGPIPE.
        ssize_t n = socket ? ::send(fd, data + sent, length - sent, MSG_NOSIGNAL)
                           : ::write(fd, data + sent, length - sent);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            result = ErrIo;
            break;
        }
        sent += static_cast<int>(n);
    }
    if (count)
        *count = sent;
    return result;
}

// Reads until `length` bytes arrived or the deadline passed. With gapMs > 0, a silence of that
// long after the first byte also ends the read. With stopOnMarker, a reply that begins with "!" or
// "#" ends at once: the drive sends nothing after them.
int ReceiveInto(int fd, char* data, int length, Clock::time_point deadline, int gapMs, bool stopOnMarker,
                int* count) {
    int got = 0;
    int result = ErrNone;
    while (got < length) {
        int wait = MillisecondsLeft(deadline);
        if (wait == 0)
            break;
        if (got > 0 && gapMs > 0 && gapMs < wait)
            wait = gapMs;
        pollfd p{fd, POLLIN, 0};
        int ready = poll(&p, 1, wait);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            result = ErrIo;
            break;
        }
        if (ready == 0) {
            if (got > 0 && gapMs > 0)
                break;
            continue;
        }
        if (!(p.revents & POLLIN)) {
            result = ErrIo; // hang-up or error with nothing left to read
            break;
        }
        ssize_t n = ::read(fd, data + got, length - got);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            result = ErrIo;
            break;
        }
        if (n == 0) {
            result = ErrIo; // the peer closed the connection
            break;
        }
        got += static_cast<int>(n);
        if (stopOnMarker && (data[0] == '!' || data[0] == '#'))
            break;
    }
    if (count)
        *count = got;
    return result;
}

// Argument checks shared by the plain transfers; the count starts at 0 whatever happens.
int CheckTransfer(int fd, const void* buffer, int length, int* count) {
    if (count)
        *count = 0;
    if (fd < 0)
        return ErrNotOpen;
    if (length < 0 || (length > 0 && !buffer))
        return ErrBadParameter;
    return ErrNone;
}

// A time-out of all bits set means "as long as this transfer needs": never for ever.
Clock::time_point DeadlineAfter(unsigned timeoutMs, unsigned ownTimeoutMs) {
    return Clock::now() +
           std::chrono::milliseconds(timeoutMs == CSerial::kAllBitsSet ? ownTimeoutMs : timeoutMs);
}

// The receiving half of an exchange: true when the reply is complete or is a refusal marker. The
// unfilled rest of the expected length is zeroed, so nothing stale is ever judged.
bool ReceiveReply(int fd, char* reply, int expectedLength, Clock::time_point deadline, int gapMs) {
    int got = 0;
    ReceiveInto(fd, reply, expectedLength, deadline, gapMs, true, &got);
    if (got < expectedLength)
        std::memset(reply + got, 0, expectedLength - got);
    return got == expectedLength || (got > 0 && (reply[0] == '!' || reply[0] == '#'));
}

} // namespace

CSerial::CSerial() = default;

CSerial::~CSerial() {
    Close();
    CloseTCPIP();
}

CSerial* CSerial::Route() {
    if (PortHandle < 0 && ioPort_ && ioPort_ != this)
        return ioPort_;
    return nullptr;
}

double CSerial::CharTimeMs() const {
    int baud = timerBaud_ > 0 ? timerBaud_ : baud_;
    if (baud <= 0)
        baud = 9600;
    int bits = 1 + dataBits_ + (parity_ != 0 ? 1 : 0) + (stopBits_ == 2 ? 2 : 1);
    return 1000.0 * bits / baud;
}

unsigned CSerial::ExchangeTimeoutMs(int requestLength, int expectedLength) const {
    double wire = 2.0 * (std::max(requestLength, 0) + std::max(expectedLength, 0)) * CharTimeMs();
    return static_cast<unsigned>(turnaroundMs_ + std::ceil(wire));
}

bool CSerial::WritesAtOnce(int length) const {
    // Without flow control nothing holds the line back, and a short request always fits the
    // terminal's output buffer, so its write cannot block.
    return handshake_ == HandshakeOff && length <= 256;
}

unsigned CSerial::GapMs() const {
    return static_cast<unsigned>(50 + std::ceil(4 * CharTimeMs()));
}

int CSerial::Open(const char* device, int baud, int turnaroundMs, int inputQueue, int outputQueue) {
    if (PortHandle >= 0)
        return Result(ErrAlreadyOpen);
    if (!device || !*device)
        return Result(ErrOpenFailed);
    int fd = ::open(device, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return Result(errno == EBUSY ? ErrPortBusy : ErrOpenFailed);
    termios tio{};
    if (!isatty(fd) || tcgetattr(fd, &tio) != 0) {
        ::close(fd);
        return Result(ErrOpenFailed);
    }
    // TIOCEXCL keeps other users out; it does not bind root, so the lock is what makes a second
    // opener (another program, or another CSerial of ours) fail.
    ioctl(fd, TIOCEXCL);
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ioctl(fd, TIOCNXCL);
        ::close(fd);
        return Result(ErrPortBusy);
    }
    int flags = fcntl(fd, F_GETFL);
    fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    tcsetattr(fd, TCSANOW, &tio);
    PortHandle = fd;
    turnaroundMs_ = turnaroundMs > 0 ? turnaroundMs : kDefaultTurnaroundMs;
    inputQueue_ = inputQueue;
    outputQueue_ = outputQueue;
    int setup = Setup(baud, 8, 0, 0);
    if (setup != ErrNone) {
        Close();
        return Result(setup);
    }
    SetupHandshaking(HandshakeOff);
    tcflush(fd, TCIOFLUSH);
    return Result(ErrNone);
}

int CSerial::Open(const char* device, int baud, int inputQueue, int outputQueue) {
    return Open(device, baud, kDefaultTurnaroundMs, inputQueue, outputQueue);
}

int CSerial::InitComm(const char* device) {
    return InitComm(device, 9600, 8, 0, 0);
}

int CSerial::InitComm(const char* device, int baud, int dataBits, int parity, int stopBits) {
    int result = Open(device, baud, kDefaultTurnaroundMs, 0, 0);
    if (result != ErrNone)
        return result;
    result = Setup(baud, dataBits, parity, stopBits);
    if (result != ErrNone)
        Close();
    return Result(result);
}

int CSerial::InitTcpIp(int port) {
    return InitTcpIp(ipAddress_.c_str(), port);
}

int CSerial::InitTcpIp(const char* address, int port) {
    if (TcpHandle >= 0)
        return Result(ErrAlreadyOpen);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<uint16_t>(port));
    if (!address || port <= 0 || port > 65535 || inet_pton(AF_INET, address, &peer.sin_addr) != 1)
        return Result(ErrBadParameter);
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return Result(ErrOpenFailed);
    int rc = ::connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer);
    if (rc != 0 && errno == EINPROGRESS) {
        pollfd p{fd, POLLOUT, 0};
        int error = 0;
        socklen_t size = sizeof error;
        if (poll(&p, 1, kTcpConnectMs) == 1 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 &&
            error == 0)
            rc = 0;
    }
    if (rc != 0) {
        ::close(fd);
        return Result(ErrOpenFailed);
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    TcpHandle = fd;
    return Result(ErrNone);
}

int CSerial::Close() {
    if (PortHandle < 0)
        return Result(ErrNone);
    // Not while another thread is inside an exchange on this port; the wait is bounded.
    bool locked = PortMutex.Lock(kMutexWaitMs);
    int fd = PortHandle;
    PortHandle = -1;
    if (fd >= 0) {
        ioctl(fd, TIOCNXCL); // the flag outlives our descriptor on a pseudo-terminal
        flock(fd, LOCK_UN);
        ::close(fd);
    }
    if (locked)
        PortMutex.Unlock();
    return Result(ErrNone);
}

int CSerial::CloseTCPIP() {
    if (TcpHandle >= 0) {
        ::close(TcpHandle);
        TcpHandle = -1;
    }
    return Result(ErrNone);
}

int CSerial::Setup(int baud, int dataBits, int parity, int stopBits) {
    speed_t speed;
    if (!BaudConstant(baud, speed) || dataBits < 5 || dataBits > 8 || parity < 0 || parity > 2 ||
        (stopBits != 0 && stopBits != 2))
        return Result(ErrBadParameter);
    baud_ = baud;
    dataBits_ = dataBits;
    parity_ = parity;
    stopBits_ = stopBits;
    if (PortHandle < 0)
        return Result(ErrNone); // kept for the next open and for the time-outs
    termios tio{};
    if (tcgetattr(PortHandle, &tio) != 0)
        return Result(ErrIo);
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    static constexpr tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    tio.c_cflag = (tio.c_cflag & ~(CSIZE | PARENB | PARODD | CSTOPB)) | sizes[dataBits - 5];
    if (parity != 0)
        tio.c_cflag |= PARENB | (parity == 1 ? PARODD : 0);
    if (stopBits == 2)
        tio.c_cflag |= CSTOPB;
    return Result(tcsetattr(PortHandle, TCSANOW, &tio) == 0 ? ErrNone : ErrBadParameter);
}

int CSerial::SetEventChar(char eventChar) {
    eventChar_ = eventChar;
    return Result(ErrNone);
}

int CSerial::SetMask(unsigned mask) {
    eventMask_ = mask;
    return Result(ErrNone);
}

int CSerial::WaitEvent(unsigned timeoutMs) {
    if (PortHandle < 0)
        return Result(ErrNotOpen);
    pollfd p{PortHandle, POLLIN, 0};
    int ready = poll(&p, 1,
                     timeoutMs == kAllBitsSet ? static_cast<int>(ExchangeTimeoutMs(0, 1))
                                              : static_cast<int>(std::min(timeoutMs, 0x7FFFFFFFu)));
    return Result(ready > 0 ? ErrNone : ErrTimeout);
}

int CSerial::SetupHandshaking(int handshake) {
    if (handshake < HandshakeHardware || handshake > HandshakeOff)
        return Result(ErrBadParameter);
    handshake_ = handshake;
    if (PortHandle < 0)
        return Result(ErrNone);
    termios tio{};
    if (tcgetattr(PortHandle, &tio) != 0)
        return Result(ErrIo);
    tio.c_cflag &= ~CRTSCTS;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (handshake == HandshakeHardware)
        tio.c_cflag |= CRTSCTS;
    else if (handshake == HandshakeSoftware)
        tio.c_iflag |= IXON | IXOFF;
    return Result(tcsetattr(PortHandle, TCSANOW, &tio) == 0 ? ErrNone : ErrIo);
}

int CSerial::SetupReadTimeouts(int mode) {
    if (mode != ReadEndsAtGap && mode != ReadFullLength)
        return Result(ErrBadParameter);
    readMode_ = mode;
    return Result(ErrNone);
}

int CSerial::Write(const char* text) {
    int length = text ? static_cast<int>(std::strlen(text)) : 0;
    return Write(text, length, nullptr, nullptr, static_cast<unsigned>(100 + 2 * length * CharTimeMs()));
}

int CSerial::Write(const void* buffer, int length, int* count, void* overlapped, unsigned timeoutMs) {
    if (CSerial* port = Route())
        return Result(port->Write(buffer, length, count, overlapped, timeoutMs));
    if (int invalid = CheckTransfer(PortHandle, buffer, length, count))
        return Result(invalid);
    auto deadline = DeadlineAfter(timeoutMs, ExchangeTimeoutMs(length, 0));
    return Result(SendAll(PortHandle, false, WritesAtOnce(length), static_cast<const char*>(buffer), length,
                          deadline, count));
}

int CSerial::WriteTcpip(const void* buffer, int length) {
    if (int invalid = CheckTransfer(TcpHandle, buffer, length, nullptr))
        return Result(invalid);
    auto deadline = DeadlineAfter(kTcpConnectMs, kTcpConnectMs);
    return Result(
        SendAll(TcpHandle, true, false, static_cast<const char*>(buffer), length, deadline, nullptr));
}

int CSerial::Read(void* buffer, int length, int* count, void* overlapped, unsigned timeoutMs) {
    if (CSerial* port = Route())
        return Result(port->Read(buffer, length, count, overlapped, timeoutMs));
    if (int invalid = CheckTransfer(PortHandle, buffer, length, count))
        return Result(invalid);
    auto deadline = DeadlineAfter(timeoutMs, ExchangeTimeoutMs(0, length));
    int gap = readMode_ == ReadEndsAtGap ? static_cast<int>(GapMs()) : 0;
    return Result(ReceiveInto(PortHandle, static_cast<char*>(buffer), length, deadline, gap, false, count));
}

int CSerial::ReadTcpip(void* buffer, int length, int* count, unsigned timeoutMs) {
    if (int invalid = CheckTransfer(TcpHandle, buffer, length, count))
        return Result(invalid);
    auto deadline = DeadlineAfter(timeoutMs, ExchangeTimeoutMs(0, length));
    return Result(ReceiveInto(TcpHandle, static_cast<char*>(buffer), length, deadline,
                              static_cast<int>(GapMs()), false, count));
}

int CSerial::ReadExtraTcpip(void* buffer, int length, int* count) {
    if (count)
        *count = 0;
    if (TcpHandle < 0)
        return Result(ErrNotOpen);
    if (length <= 0 || !buffer)
        return Result(ErrBadParameter);
    ssize_t n = ::recv(TcpHandle, buffer, length, MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        n = 0;
    if (n < 0)
        return Result(ErrIo);
    if (count)
        *count = static_cast<int>(n);
    return Result(ErrNone);
}

int CSerial::Exchange(int fd, const char* request, int requestLength, char* reply, int expectedLength) {
    if (fd < 0 || !request || !reply || requestLength <= 0 || expectedLength <= 0)
        return Result(ErrNoReply);
    // A late reply to an earlier, timed-out request must not pass for this one's.
    if (fd == PortHandle)
        tcflush(fd, TCIFLUSH);
    else
        ReadExtraTcpip(reply, expectedLength, nullptr);
    auto start = Clock::now();
    auto writeDeadline = start + std::chrono::milliseconds(
                                     static_cast<int>(100 + std::ceil(2 * requestLength * CharTimeMs())));
    if (SendAll(fd, fd == TcpHandle, fd == PortHandle && WritesAtOnce(requestLength), request, requestLength,
                writeDeadline, nullptr) != ErrNone)
        return Result(ErrNoReply);
    auto deadline = start + std::chrono::milliseconds(ExchangeTimeoutMs(requestLength, expectedLength));
    if (ReceiveReply(fd, reply, expectedLength, deadline, static_cast<int>(GapMs()))) {
        PortMutex.Unlock();
        return Result(ErrNone);
    }
    return Result(ErrNoReply);
}

int CSerial::CommandSend(const char* request, int requestLength, char* reply, int expectedLength) {
    if (!PortMutex.Lock(kMutexWaitMs))
        return Result(ErrNoReply);
    return Exchange(PortHandle, request, requestLength, reply, expectedLength);
}

int CSerial::TcpIpSend(const char* request, int requestLength, char* reply, int expectedLength) {
    if (!PortMutex.Lock(kMutexWaitMs))
        return Result(ErrNoReply);
    return Exchange(TcpHandle, request, requestLength, reply, expectedLength);
}

int CSerial::ReadOnly(char* reply, int expectedLength) {
    if (PortHandle < 0 || !reply || expectedLength <= 0)
        return Result(ErrNoReply);
    auto deadline = Clock::now() + std::chrono::milliseconds(ExchangeTimeoutMs(0, expectedLength));
    bool done = ReceiveReply(PortHandle, reply, expectedLength, deadline, static_cast<int>(GapMs()));
    return Result(done ? ErrNone : ErrNoReply);
}

int CSerial::CheckErr() {
    return lastError_;
}

int CSerial::setIPAddress(const char* address) {
    ipAddress_ = address ? address : "";
    return Result(ErrNone);
}

int CSerial::clear() {
    if (CSerial* port = Route())
        return Result(port->clear());
    if (PortHandle < 0)
        return Result(ErrNotOpen);
    return Result(tcflush(PortHandle, TCIOFLUSH) == 0 ? ErrNone : ErrIo);
}

void CSerial::SearchTcpIp(std::vector<MAC_IP_STRUCT>& devices) {
    devices.clear();
}

int CSerial::SetupReadTimer(int baud, int turnaroundMs) {
    speed_t speed;
    if (!BaudConstant(baud, speed) || turnaroundMs < 0)
        return Result(ErrBadParameter);
    timerBaud_ = baud;
    turnaroundMs_ = turnaroundMs;
    return Result(ErrNone);
}
