#include "tests/link/LinkFixture.h"

#include "framework/core/MessageSeam.h"

#include <arpa/inet.h>
#include <atomic>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using PortReadTest = LinkFixture;

TEST_F(PortReadTest, ReadsUpTo20000BytesReachThePortLongerOnesPurgeAndFail) {
    std::vector<char> buffer(20001);
    int count = -1;
    peer.Send("abcdefghij");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(PortObject.Read(buffer.data(), 20000, &count, nullptr, 200), ErrNone);
    EXPECT_EQ(count, 10);

    peer.Send("0123456789");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    count = -1;
    EXPECT_NE(code.Read(buffer.data(), 20001, &count, nullptr, 200), ErrNone)
        << "a protocol object's read goes through the port object's limit";
    EXPECT_EQ(count, 0);
    EXPECT_EQ(PortObject.Read(buffer.data(), 10, &count, nullptr, 50), ErrNone);
    EXPECT_EQ(count, 0) << "the pending input was discarded";
}

using QuietLineTest = LinkFixture;

// The wait for a quiet line costs nothing on the normal path, at most the quiet time after an
// unfinished exchange, and it ends even while the line keeps chattering.
TEST_F(QuietLineTest, WaitIsBoundedAndFreeWithoutAnUnfinishedExchange) {
    const long quiet = PortObject.QuietLineMs();
    auto start = std::chrono::steady_clock::now();
    PortObject.AwaitQuietLine();
    EXPECT_LE(MsSince(start), 2);

    PortObject.NoteUnfinishedExchange();
    peer.Send("%12"); // the rest of a late reply
    start = std::chrono::steady_clock::now();
    PortObject.AwaitQuietLine();
    EXPECT_GE(MsSince(start), quiet - 1);
    EXPECT_LE(MsSince(start), quiet + 50);
    EXPECT_FALSE(PortObject.LateReplyPossible());
    int count = -1;
    char buffer[8];
    EXPECT_EQ(PortObject.Read(buffer, sizeof buffer, &count, nullptr, 20), ErrNone);
    EXPECT_EQ(count, 0) << "what came was discarded";

    // Time that passed since the unfinished exchange counts as quiet.
    PortObject.NoteUnfinishedExchange();
    std::this_thread::sleep_for(std::chrono::milliseconds(quiet));
    start = std::chrono::steady_clock::now();
    PortObject.AwaitQuietLine();
    EXPECT_LE(MsSince(start), 5);

    std::atomic<bool> chattering{true};
    std::thread noise([&] {
        while (chattering) {
            peer.Send("x");
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    PortObject.NoteUnfinishedExchange();
    start = std::chrono::steady_clock::now();
    PortObject.AwaitQuietLine();
    const long took = MsSince(start);
    chattering = false;
    noise.join();
    EXPECT_GE(took, static_cast<long>(CSerialExt::kQuietLineLimitFactor * quiet) - 1);
    EXPECT_LE(took, static_cast<long>(CSerialExt::kQuietLineLimitFactor * quiet) + 50);
    EXPECT_FALSE(PortObject.PortMutex.IsOwnedByCaller());
}

TEST(PortLibraryCheck, MissingLibraryIsReportedOnceAndThePortStillWorks) {
    ScriptedMessages messages;
    CSerialExt present;
    EXPECT_TRUE(present.PortLibraryLoaded());
    EXPECT_TRUE(messages.Shown().empty());

    CSerialExt missing("libNoSuchPortLibrary.so");
    EXPECT_FALSE(missing.PortLibraryLoaded());
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Fail to load dll!");
    PtyPeer peer;
    EXPECT_EQ(missing.Open(peer.SlavePath().c_str(), 9600, 500, 20000, 20000), ErrNone);
}

// A device on loopback that answers the discovery query with a scripted run of datagrams.
class LoopbackDevice {
public:
    explicit LoopbackDevice(std::vector<std::string> answers) {
        fd_ = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t size = sizeof address;
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this, answers] {
            unsigned char query[64];
            sockaddr_in from{};
            socklen_t fromSize = sizeof from;
            ssize_t n = recvfrom(fd_, query, sizeof query, 0, reinterpret_cast<sockaddr*>(&from), &fromSize);
            if (n > 0)
                query_.assign(reinterpret_cast<char*>(query), static_cast<size_t>(n));
            for (const std::string& answer : answers) {
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
                sendto(fd_, answer.data(), answer.size(), 0, reinterpret_cast<sockaddr*>(&from), fromSize);
            }
        });
    }
    ~LoopbackDevice() {
        shutdown(fd_, SHUT_RDWR);
        thread_.join();
        close(fd_);
    }
    uint16_t Port() const { return port_; }
    std::string Query() const { return query_; }

private:
    int fd_ = -1;
    uint16_t port_ = 0;
    std::string query_;
    std::thread thread_;
};

std::string DiscoveryReply(unsigned char kind, size_t size = 30) {
    std::string datagram(size, '\0');
    datagram[3] = static_cast<char>(kind);
    const unsigned char mac[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    for (size_t i = 0; i < 6 && 24 + i < size; ++i)
        datagram[24 + i] = static_cast<char>(mac[i]);
    return datagram;
}

TEST(Discovery, OnLoopbackKeepsEveryReplyAndIgnoresOtherDatagrams) {
    LoopbackDevice device(
        {DiscoveryReply(0xF5), DiscoveryReply(0xF7, 12), DiscoveryReply(0xF7), DiscoveryReply(0xF7)});
    std::vector<MAC_IP_STRUCT> found(3);
    PortObject.SearchTcpIp(found, "127.0.0.1", device.Port(), 0, 300);
    EXPECT_EQ(device.Query(), std::string("\x00\x00\x00\xF6", 4));
    ASSERT_EQ(found.size(), 2u) << "two replies of one device give two entries";
    for (const MAC_IP_STRUCT& entry : found) {
        EXPECT_EQ(entry.MacAddress, "00-1a-2b-3c-4d-5e");
        EXPECT_EQ(entry.IpAddress, "127.0.0.1");
        EXPECT_EQ(entry.Extra, "");
        EXPECT_EQ(ntohs(entry.Address.sin_port), device.Port());
    }
}

TEST(Discovery, EndsEvenWhileDatagramsKeepComing) {
    LoopbackDevice device(std::vector<std::string>(25, DiscoveryReply(0x01)));
    std::vector<MAC_IP_STRUCT> found;
    auto start = std::chrono::steady_clock::now();
    PortObject.SearchTcpIp(found, "127.0.0.1", device.Port(), 0, 60);
    auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count();
    EXPECT_LT(elapsed, 600) << "at most five waits of 60 ms";
    EXPECT_TRUE(found.empty());
}

TEST(Discovery, BindFailureEndsWithAnEmptyList) {
    int holder = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    socklen_t size = sizeof address;
    getsockname(holder, reinterpret_cast<sockaddr*>(&address), &size);
    const uint16_t taken = ntohs(address.sin_port);
    std::vector<MAC_IP_STRUCT> found(2);
    PortObject.SearchTcpIp(found, "127.0.0.1", taken, taken, 100);
    EXPECT_TRUE(found.empty());
    close(holder);
}

} // namespace
