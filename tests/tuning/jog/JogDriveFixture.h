#pragma once
// A simulated drive with its machine and jog functions, linked over a pseudo-terminal, and the
// register services a window would use.
#include "framework/core/Format.h"
#include "link/services/RegisterServices.h"
#include "sim/SimDrive.h"
#include "sim/SimJog.h"
#include "sim/SimMachine.h"
#include "sim/SimProtocol.h"
#include "sim/SimPtyServer.h"
#include "tests/support/DriveLink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class JogDriveFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(LinkToSimulatedDrive(server, "ttyJOG")); }
    void TearDown() override { UnlinkSimulatedDrive(server); }

    static std::string R1(int address) { return sim::WithMakerChecksum(Format("R1%04X", address)); }
    static std::string W1(int address, int value) {
        return sim::WithMakerChecksum(Format("W1%04X%04X", address, value & 0xFFFF));
    }
    std::vector<std::string> Requests() const { return drive.RequestLog(); }

    CSimDrive drive{4};
    CSimMachine machine{drive};
    CSimJog jog{drive, machine};
    CSimPtyServer server{drive};
    CRegisterServices services;
};
