#pragma once
// Links the program's port object to a simulated drive on a pseudo-terminal of its own, as a connect
// leaves it: maker commands, station 1, the program's own turnaround (anything shorter fails now
// and then on a loaded machine). What every test that talks to "the drive" starts from. `baud` is
// the line speed the port's time-outs are figured for: the drive's wire baud when it paces its answers.
// A drive with its machine and real timing in one line: tests/support/SimulatedDrive.h.
#include "link/LinkState.h"
#include "link/SerialExt.h"
#include "sim/SimPtyServer.h"
#include "tests/support/TestTime.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <unistd.h>

inline ::testing::AssertionResult
LinkToSimulatedDrive(CSimPtyServer& server, const std::string& prefix = "ttyTEST", int baud = 115200) {
    static std::atomic<int> serial{0};
    const std::string name = prefix + std::to_string(getpid()) + "_" + std::to_string(serial++);
    std::string error;
    if (!server.Start({.name = name, .registerVirtualPort = false}, &error))
        return ::testing::AssertionFailure() << "simulated drive: " << error;
    if (PortObject.Open(server.DevicePath().c_str(), baud, ScaledMs(500), ScaledMs(20000), ScaledMs(20000)) !=
        ErrNone)
        return ::testing::AssertionFailure() << "cannot open " << server.DevicePath();
    if (PortObject.SetupReadTimer(baud, ScaledMs(177)) != ErrNone)
        return ::testing::AssertionFailure() << "cannot set the read timer";
    ConnectedFlag = 1;
    ++LinkEpoch;
    ModbusMode = 0;
    ModbusAsciiFlag = 0;
    StationNumber = 1;
    return ::testing::AssertionSuccess();
}

inline void UnlinkSimulatedDrive(CSimPtyServer& server) {
    PortObject.Close();
    ConnectedFlag = 0;
    ModbusMode = 0;
    server.Stop();
}
