#include "quillet/Serial.h"
#include "tests/quillet/PtyPeer.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

long MsSince(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// Exposes the descriptor so tests can read back what the port set on the line.
class InspectableSerial : public CSerial {
public:
    termios Attributes() const {
        termios tio{};
        tcgetattr(PortHandle, &tio);
        return tio;
    }
};

TEST(PortMutex, RecursiveOwnedAndForgivingOfStrayReleases) {
    CPortMutex mutex;
    ASSERT_TRUE(mutex.Lock(0));
    ASSERT_TRUE(mutex.Lock(0));
    mutex.Unlock();
    EXPECT_TRUE(mutex.IsOwnedByCaller()) << "one release of two levels keeps it";

    bool otherGotIt = true;
    std::thread([&] {
        mutex.Unlock(); // not the owner: nothing happens
        otherGotIt = mutex.Lock(30);
    }).join();
    EXPECT_FALSE(otherGotIt);
    EXPECT_TRUE(mutex.IsOwnedByCaller());

    mutex.Unlock();
    mutex.Unlock(); // one too many: harmless
    std::thread([&] {
        otherGotIt = mutex.Lock(30);
        mutex.Unlock();
    }).join();
    EXPECT_TRUE(otherGotIt);
}

TEST(PortMutex, AWaiterGetsItBeforeTheOwnerCanTakeItBack) {
    // A block reader gives the port back between two blocks and asks again at once: whoever waited
    // meanwhile goes first, or a reader of short words would wait for the whole run.
    CPortMutex mutex;
    ASSERT_TRUE(mutex.Lock(0));
    std::atomic<bool> otherGotIt{false};
    std::atomic<bool> release{false};
    std::thread other([&] {
        otherGotIt = mutex.Lock(10000);
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        mutex.Unlock();
    });
    const auto end = Clock::now() + std::chrono::seconds(10);
    while (!mutex.HasWaiters() && Clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(mutex.HasWaiters());
    mutex.Unlock();
    EXPECT_FALSE(mutex.Lock(0)) << "the waiter is first in line";
    release = true;
    EXPECT_TRUE(mutex.Lock(10000)) << "and the owner's turn comes after it";
    EXPECT_TRUE(otherGotIt);
    other.join();
    mutex.Unlock();
    EXPECT_FALSE(mutex.HasWaiters());
}

TEST(SerialOpen, ExclusiveOpenAndItsResults) {
    PtyPeer peer;
    CSerial first;
    CSerial second;
    EXPECT_EQ(first.Open(peer.SlavePath().c_str(), 9600, 500, 20000, 20000), ErrNone);
    EXPECT_EQ(first.Open(peer.SlavePath().c_str(), 9600, 2048, 2048), ErrAlreadyOpen);
    int busy = second.Open(peer.SlavePath().c_str(), 9600, 500, 20000, 20000);
    EXPECT_NE(busy, ErrNone);
    EXPECT_NE(busy, ErrAlreadyOpen);
    first.Close();
    EXPECT_EQ(second.Open(peer.SlavePath().c_str(), 19200, 2048, 2048), ErrNone) << "Close releases the port";
}

TEST(SerialOpen, RefusesWhatIsNoSerialPort) {
    CSerial port;
    EXPECT_NE(port.Open("/nonexistent/ttyUSB9", 9600, 500, 20000, 20000), ErrNone);
    char path[] = "/tmp/quillet-notatty-XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    EXPECT_NE(port.Open(path, 9600, 500, 20000, 20000), ErrNone);
    EXPECT_FALSE(port.IsOpen());
    close(fd);
    unlink(path);
}

TEST(SerialSetup, AppliesFrameFormats) {
    struct Case {
        int baud, dataBits, parity, stopBits;
        speed_t speed;
        bool twoStops;
    };
    const Case cases[] = {
        {4800, 8, 0, 0, B4800, false},   {9600, 7, 2, 0, B9600, false},  {19200, 8, 1, 2, B19200, true},
        {38400, 7, 1, 0, B38400, false}, {57600, 8, 2, 2, B57600, true}, {115200, 8, 0, 2, B115200, true},
    };
    PtyPeer peer;
    InspectableSerial port;
    ASSERT_EQ(port.Open(peer.SlavePath().c_str(), 9600, 500, 20000, 20000), ErrNone);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.baud);
        ASSERT_EQ(port.Setup(c.baud, c.dataBits, c.parity, c.stopBits), ErrNone);
        ASSERT_EQ(port.SetupHandshaking(HandshakeOff), ErrNone);
        termios tio = port.Attributes();
        EXPECT_EQ(cfgetospeed(&tio), c.speed);
        // A pseudo-terminal keeps itself 8-bit clean without parity, so those come back through the
        // getters only.
        EXPECT_EQ(port.GetDataBits(), c.dataBits);
        EXPECT_EQ(port.GetParity(), c.parity);
        EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, c.twoStops);
        EXPECT_EQ(tio.c_cflag & CRTSCTS, 0u);
        EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), 0u);
        EXPECT_EQ(port.GetBaudrate(), c.baud);
    }
    EXPECT_EQ(port.Setup(300, 8, 0, 0), ErrBadParameter);
    EXPECT_EQ(port.Setup(9600, 9, 0, 0), ErrBadParameter);
    EXPECT_EQ(port.Setup(9600, 8, 3, 0), ErrBadParameter);
    EXPECT_EQ(port.Setup(9600, 8, 0, 1), ErrBadParameter);
    EXPECT_EQ(port.GetBaudrate(), 115200) << "a refused format leaves the line as it was";
}

// An open port at 115200 baud with a 30 ms turnaround, so failed exchanges end quickly.
struct ExchangeFixture : ::testing::Test {
    void SetUp() override {
        ASSERT_EQ(port.Open(peer.SlavePath().c_str(), 115200, 500, 20000, 20000), ErrNone);
        ASSERT_EQ(port.SetupReadTimer(115200, 30), ErrNone);
    }
    PtyPeer peer;
    CSerial port;
    char reply[64] = {};
};

TEST_F(ExchangeFixture, CompleteReplyReleasesTheMutex) {
    // A whole reply must arrive even when the peer thread is scheduled late on a loaded machine.
    ASSERT_EQ(port.SetupReadTimer(115200, 2000), ErrNone);
    peer.ServeFixed("%12345");
    EXPECT_EQ(port.CommandSend("R1020146", 8, reply, 6), ErrNone);
    EXPECT_EQ(std::string(reply, 6), "%12345");
    EXPECT_FALSE(port.PortMutex.IsOwnedByCaller());
    EXPECT_EQ(peer.Requests(), std::vector<std::string>{"R1020146"});
}

TEST_F(ExchangeFixture, RefusalEndsTheReadAtOnce) {
    ASSERT_EQ(port.SetupReadTimer(115200, 2000), ErrNone);
    for (const char* marker : {"!", "#"}) {
        peer.ServeFixed(marker);
        auto start = Clock::now();
        EXPECT_EQ(port.CommandSend("R1020146", 8, reply, 7), ErrNone);
        EXPECT_LT(MsSince(start), 1000) << "no waiting for the expected length";
        EXPECT_EQ(reply[0], marker[0]);
        EXPECT_FALSE(port.PortMutex.IsOwnedByCaller());
    }
}

TEST_F(ExchangeFixture, MissingOrShortReplyFailsWithTwoWithinTheTimeout) {
    const unsigned timeout = port.ExchangeTimeoutMs(8, 7);
    for (const char* answer : {"", "%12"}) {
        SCOPED_TRACE(answer);
        peer.ServeFixed(answer);
        std::memset(reply, 'x', sizeof reply);
        auto start = Clock::now();
        EXPECT_EQ(port.CommandSend("R1020146", 8, reply, 7), ErrNoReply);
        EXPECT_LE(MsSince(start), static_cast<long>(timeout) + 50);
        EXPECT_TRUE(port.PortMutex.IsOwnedByCaller()) << "after a failure the caller releases";
        port.PortMutex.Unlock();
        EXPECT_EQ(std::string(reply + std::strlen(answer), 7 - std::strlen(answer)),
                  std::string(7 - std::strlen(answer), '\0'))
            << "nothing stale is left behind what arrived";
        EXPECT_EQ(reply[7], 'x') << "nothing written past the expected length";
    }
}

TEST_F(ExchangeFixture, LateBytesOfAnEarlierExchangeAreDiscarded) {
    peer.Send("%FFFF");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    peer.ServeFixed("%");
    EXPECT_EQ(port.CommandSend("W1020100005E", 12, reply, 1), ErrNone);
    EXPECT_EQ(reply[0], '%');
}

TEST_F(ExchangeFixture, ClosedPortFailsWithTwo) {
    port.Close();
    EXPECT_EQ(port.CommandSend("R1020146", 8, reply, 7), ErrNoReply);
    port.PortMutex.Unlock();
}

TEST_F(ExchangeFixture, ReadEndsAtTheGapOrWaitsForTheFullLength) {
    int count = -1;
    peer.Send("abc");
    auto start = Clock::now();
    EXPECT_EQ(port.Read(reply, 10, &count, nullptr, 1000), ErrNone);
    EXPECT_EQ(count, 3);
    EXPECT_LT(MsSince(start), 500) << "the gap after the last byte ends the read";

    ASSERT_EQ(port.SetupReadTimeouts(ReadFullLength), ErrNone);
    peer.Send("abc");
    start = Clock::now();
    EXPECT_EQ(port.Read(reply, 10, &count, nullptr, 300), ErrNone);
    EXPECT_EQ(count, 3);
    EXPECT_GE(MsSince(start), 290);
}

TEST_F(ExchangeFixture, ReadWithAllBitsSetIsBounded) {
    int count = -1;
    auto start = Clock::now();
    EXPECT_EQ(port.Read(reply, 10, &count, nullptr, CSerial::kAllBitsSet), ErrNone);
    EXPECT_EQ(count, 0);
    EXPECT_LE(MsSince(start), static_cast<long>(port.ExchangeTimeoutMs(0, 10)) + 50);
}

TEST_F(ExchangeFixture, WaitEventClearAndReadOnly) {
    EXPECT_EQ(port.WaitEvent(20), ErrTimeout);
    EXPECT_EQ(port.CheckErr(), ErrTimeout);
    peer.Send("stale");
    EXPECT_EQ(port.WaitEvent(500), ErrNone);
    EXPECT_EQ(port.clear(), ErrNone);
    EXPECT_EQ(port.WaitEvent(20), ErrTimeout) << "clear discarded the pending input";

    peer.Send("%0001E6");
    EXPECT_EQ(port.ReadOnly(reply, 7), ErrNone);
    EXPECT_EQ(std::string(reply, 7), "%0001E6");
    EXPECT_EQ(port.ReadOnly(reply, 7), ErrNoReply);
}

TEST(SerialRouting, AnObjectWithoutPortUsesTheOneItIsRoutedTo) {
    PtyPeer peer;
    CSerial port;
    CSerial protocol;
    ASSERT_EQ(port.Open(peer.SlavePath().c_str(), 115200, 500, 20000, 20000), ErrNone);
    char buffer[8] = {};
    int count = 0;
    EXPECT_EQ(protocol.Write("ping", 4, &count, nullptr, 100), ErrNotOpen);
    protocol.SetIoPort(&port);
    peer.ServeFixed("pong");
    EXPECT_EQ(protocol.Write("ping", 4, &count, nullptr, 100), ErrNone);
    EXPECT_EQ(protocol.Read(buffer, 4, &count, nullptr, 500), ErrNone);
    EXPECT_EQ(std::string(buffer, count), "pong");
}

TEST(SerialTcp, ExchangeWithALoopbackPeer) {
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    socklen_t size = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    listen(listener, 1);
    const int port = ntohs(address.sin_port);
    std::thread server([listener] {
        int client = accept(listener, nullptr, nullptr);
        char request[8];
        if (client >= 0 && recv(client, request, sizeof request, MSG_WAITALL) == 8)
            send(client, "%0001", 5, 0);
        char drain;
        recv(client, &drain, 1, 0); // until the client closes
        close(client);
    });

    CSerial link;
    link.setIPAddress("127.0.0.1");
    ASSERT_EQ(link.InitTcpIp(port), ErrNone);
    EXPECT_EQ(link.InitTcpIp("127.0.0.1", port), ErrAlreadyOpen);
    char reply[8] = {};
    EXPECT_EQ(link.TcpIpSend("R1000130", 8, reply, 5), ErrNone);
    EXPECT_EQ(std::string(reply, 5), "%0001");
    link.CloseTCPIP();
    server.join();
    close(listener);

    EXPECT_NE(link.InitTcpIp("127.0.0.1", port), ErrNone) << "nobody listens any more";
    EXPECT_EQ(link.TcpIpSend("R1000130", 8, reply, 5), ErrNoReply);
    link.PortMutex.Unlock();
}

} // namespace
