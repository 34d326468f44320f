#include "sim/SimPtyServer.h"

#include "PtyClient.h"
#include "SimTestSupport.h"
#include "framework/core/Paths.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <thread>

using namespace simtest;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

class SimPtyServerTest : public ::testing::Test {
protected:
    ScopedTempFolder temp;
    CSimDrive drive{4};
    CSimPtyServer server{drive};

    void StartServer(SimPtyOptions options = {}) {
        std::string error;
        ASSERT_TRUE(server.Start(options, &error)) << error;
    }
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST_F(SimPtyServerTest, RegistersAVirtualPortAndRemovesItOnStop) {
    StartServer({.name = "ttySIM7"});
    const std::string link = VirtualPortsFolder() + "ttySIM7";
    EXPECT_EQ(link.rfind(temp.Path(), 0), 0u) << "under the temporary folder";
    EXPECT_EQ(server.VirtualPortPath(), link);
    EXPECT_EQ(server.PortName(), "ttySIM7");
    ASSERT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link).string(), server.DevicePath());
    EXPECT_EQ(ReadFile(link + ".description"), "KeloServo simulated drive (USB Serial)\n");
    EXPECT_EQ(fs::status(fs::path(link).parent_path()).permissions() & fs::perms::all, fs::perms::owner_all);

    // Clients open the link, as the port list hands it out.
    PtyClient client(link);
    ASSERT_TRUE(client.IsOpen());
    EXPECT_EQ(client.Exchange(Maker("R1171D"), 7), Maker("%0202"));

    server.Stop();
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    EXPECT_FALSE(fs::exists(link + ".description"));
    EXPECT_FALSE(server.IsRunning());
}

TEST_F(SimPtyServerTest, ReplacesAStaleLinkAndCanStayUnregistered) {
    fs::create_directories(VirtualPortsFolder());
    fs::create_symlink("/dev/pts/999999", VirtualPortsFolder() + "ttySIM0");
    StartServer();
    EXPECT_EQ(fs::read_symlink(VirtualPortsFolder() + "ttySIM0").string(), server.DevicePath());
    server.Stop();

    StartServer({.registerVirtualPort = false});
    EXPECT_EQ(server.VirtualPortPath(), "");
    EXPECT_FALSE(fs::exists(fs::symlink_status(VirtualPortsFolder() + "ttySIM0")));
    PtyClient client(server.DevicePath());
    EXPECT_EQ(client.Exchange(Maker("R10F04"), 7).size(), 7u);
}

TEST_F(SimPtyServerTest, FramesEveryRequestKindFromTheStream) {
    // A generous pause, so a busy machine does not split the request sent in pieces.
    StartServer({.interByteGap = 150ms});
    PtyClient client(server.DevicePath());
    ASSERT_TRUE(client.IsOpen());
    drive.SetRegister(0x0201, 0xFFFF);

    // Two requests in one write, and one request in pieces.
    ASSERT_TRUE(client.Send(Maker("R10201") + Maker("W102010005")));
    EXPECT_EQ(client.Receive(8), Maker("%FFFF") + "%");
    const std::string pieces = Maker("R20F040F03");
    ASSERT_TRUE(client.Send(pieces.substr(0, 5)));
    std::this_thread::sleep_for(10ms);
    ASSERT_TRUE(client.Send(pieces.substr(5)));
    EXPECT_EQ(client.Receive(11).size(), 11u);

    EXPECT_EQ(client.Exchange(Rtu(1, 0x03, 0x0201, 1), 7), sim::WithCrc16(Bytes({1, 3, 2, 0, 5})));
    EXPECT_EQ(client.Exchange(Ascii(1, 0x06, 0x0201, 7), 17), Ascii(1, 0x06, 0x0201, 7));
    EXPECT_EQ(client.Exchange(Maker("R9500010001200140016004000420044004600"), 2496).size(), 2496u);

    // The fixed 11-byte frame fits no request form: it ends with the pause after it, unanswered.
    const std::string fixed = Bytes({0x50, 0x05, 0x07, 0x09, 0x03, 0x07, 0x87, 0x83, 0x89, 0x87, 0x85});
    EXPECT_EQ(client.Exchange(fixed, 1, 400ms), "");
    EXPECT_EQ(client.Exchange(Maker("R10201"), 7), Maker("%0007")) << "the line recovers after it";

    EXPECT_EQ(
        drive.RequestLog(),
        (std::vector<std::string>{Maker("R10201"), Maker("W102010005"), pieces, Rtu(1, 0x03, 0x0201, 1),
                                  Ascii(1, 0x06, 0x0201, 7), Maker("R9500010001200140016004000420044004600"),
                                  fixed, Maker("R10201")}));
}

TEST_F(SimPtyServerTest, PacesAnswersByWireTimeAndDelay) {
    StartServer({.wireBaud = 9600});
    PtyClient client(server.DevicePath());
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.Exchange(Maker("R10F04"), 7).size(), 7u);
    // 15 characters at 9600 baud: 15.6 ms on the wire.
    EXPECT_GE(std::chrono::steady_clock::now() - start, 15ms);

    drive.SetWireBaud(0);
    drive.AddFault({.kind = SimFaultKind::Delay, .count = 1, .delay = 120ms});
    EXPECT_EQ(client.Exchange(Maker("R10F04"), 7, 60ms), "") << "too late for a short time-out";
    EXPECT_EQ(client.Receive(7, 500ms).size(), 7u) << "and arrives afterwards";
}

// A slow answer is on the wire the whole time, piece by piece, and a request sent meanwhile is
// answered only after it.
TEST_F(SimPtyServerTest, SlowAnswerHoldsTheLineAndLaterRequestsQueueBehindIt) {
    constexpr auto kSlow = 2000ms;
    StartServer();
    PtyClient client(server.DevicePath());
    drive.AddFault(
        {.kind = SimFaultKind::Slow, .requestKind = SimRequestKind::MakerBlockRead, .delay = kSlow});
    const std::string block = Maker("R9500010001200140016004000420044004600");
    const std::string whole = CSimDrive(4).Handle(block);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(client.Send(block));
    std::string received = client.Receive(whole.size(), kSlow / 2);
    EXPECT_GT(received.size(), 0u) << "the answer is under way";
    EXPECT_LT(received.size(), whole.size()) << "and not through";
    ASSERT_TRUE(client.Send(Maker("R10F04")));
    received += client.Receive(whole.size() - received.size() + 7, 10 * kSlow);
    EXPECT_GE(std::chrono::steady_clock::now() - start, kSlow);
    EXPECT_EQ(received, whole + Maker("%" + sim::Hex4(drive.GetRegister(0x0F04))));
}

TEST_F(SimPtyServerTest, FrozenDriveStaysSilentAndAnswersOnlyNewRequestsAfter) {
    StartServer();
    PtyClient client(server.DevicePath());
    drive.SetRegister(0x0010, 0);
    drive.Freeze(300ms);
    EXPECT_EQ(client.Exchange(Maker("W100100001"), 1, 100ms), "");
    EXPECT_EQ(client.Exchange(Maker("R10F04"), 7, 100ms), "");
    ASSERT_TRUE(drive.WaitUntilThawed(5s));
    // Nothing of the frozen requests comes late: the next bytes answer the next request.
    EXPECT_EQ(client.Exchange(Maker("R10010"), 7), Maker("%0000"));
    EXPECT_EQ(client.Receive(1, 100ms), "");
}

TEST_F(SimPtyServerTest, DroppedLinkHangsUpAndComesBackUnderTheSameName) {
    StartServer({.replugDelay = 100ms});
    drive.SetRegister(0x0010, 0);
    const std::string link = server.VirtualPortPath();
    const std::string firstDevice = server.DevicePath();
    drive.AddFault({.kind = SimFaultKind::DropLink, .requestKind = SimRequestKind::MakerWrite, .count = 1});
    {
        PtyClient client(link);
        EXPECT_EQ(client.Exchange(Maker("W100100001"), 1), "");
        EXPECT_TRUE(client.HungUp());
    }
    EXPECT_EQ(drive.GetRegister(0x0010), 0);
    for (int i = 0; i < 300 && server.PlugGeneration() < 2; ++i)
        std::this_thread::sleep_for(10ms);
    ASSERT_EQ(server.PlugGeneration(), 2);
    EXPECT_TRUE(fs::is_symlink(link));
    PtyClient again(link);
    EXPECT_EQ(again.Exchange(Maker("W100100001"), 1), "%");
    (void)firstDevice;
}

TEST_F(SimPtyServerTest, UnplugAndReplugOnRequest) {
    StartServer({.replugDelay = -1ms});
    const std::string link = server.VirtualPortPath();
    PtyClient client(link);
    server.Unplug();
    EXPECT_FALSE(server.IsPlugged());
    EXPECT_EQ(server.DevicePath(), "");
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    EXPECT_EQ(client.Exchange(Maker("R10F04"), 7, 100ms), "");
    server.Replug();
    EXPECT_TRUE(server.IsPlugged());
    PtyClient again(link);
    EXPECT_EQ(again.Exchange(Maker("R10F04"), 7).size(), 7u);
}

TEST_F(SimPtyServerTest, ExclusiveUseEndsWithTheClient) {
    StartServer();
    // The port library claims the line with TIOCEXCL; a pty would keep that flag after the close.
    {
        PtyClient client(server.DevicePath());
        ASSERT_EQ(ioctl(client.Fd(), TIOCEXCL), 0);
        EXPECT_EQ(client.Exchange(Maker("R10F04"), 7).size(), 7u);
    }
    int exclusive = 1;
    for (int i = 0; i < 100 && exclusive; ++i) {
        std::this_thread::sleep_for(5ms);
        PtyClient probe(server.DevicePath()); // opens even when set: tests run privileged
        ASSERT_EQ(ioctl(probe.Fd(), TIOCGEXCL, &exclusive), 0);
    }
    EXPECT_EQ(exclusive, 0);
}
