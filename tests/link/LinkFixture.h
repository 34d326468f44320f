#pragma once
// The drive port opened on a scripted pty peer, at 115200 baud with a short turnaround so that
// failed exchanges end quickly.
#include "link/InternalCode.h"
#include "link/LinkState.h"
#include "link/SerialExt.h"
#include "tests/quillet/PtyPeer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>

struct LinkFixture : ::testing::Test {
    void SetUp() override {
        OpenPort();
        ConnectedFlag = 1;
        SetLinkLostNotice([this] { ++lostNotices; });
    }
    void TearDown() override {
        SetLinkLostNotice({});
        peer.Stop();
        PortObject.Close();
        ConnectedFlag = 0;
    }
    void OpenPort() {
        ASSERT_EQ(PortObject.Open(peer.SlavePath().c_str(), 115200, 500, 20000, 20000), ErrNone);
        // The program's own turnaround: anything shorter fails now and then on a loaded machine.
        ASSERT_EQ(PortObject.SetupReadTimer(115200, 177), ErrNone);
    }
    static long MsSince(std::chrono::steady_clock::time_point start) {
        return static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                .count());
    }

    PtyPeer peer;
    CInternalCode code;
    // How often the link told its owner that the link is lost.
    std::atomic<int> lostNotices{0};
};

// The same link in Modbus mode at station 1, framed as the test's parameter says (0 RTU, 1 ASCII).
struct ModbusLinkFixture : LinkFixture, ::testing::WithParamInterface<int> {
    void SetUp() override {
        LinkFixture::SetUp();
        ModbusMode = 1;
        ModbusAsciiFlag = GetParam();
        StationNumber = 1;
    }
    void TearDown() override {
        ModbusMode = 0;
        LinkFixture::TearDown();
    }
    static std::string FramingName(const ::testing::TestParamInfo<int>& info) {
        return info.param ? "Ascii" : "Rtu";
    }
};
