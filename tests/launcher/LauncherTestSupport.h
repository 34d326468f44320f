#pragma once
// What the launcher's tests share: a private temporary folder, file helpers, and ports served by the
// simulated drive.
#include "framework/core/PortEnumeration.h"
#include "sim/SimDrive.h"
#include "sim/SimPtyServer.h"
#include "tests/support/PrivateHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

// XDG_RUNTIME_DIR points at a fresh folder for the test's life, so the hand-off file and the
// virtual ports of different tests never meet.
class TempRuntimeFolder {
public:
    // With the trailing '/'.
    std::string Path() const { return folder_.Path() + "/"; }

private:
    ScratchFolder folder_{"kelo-launcher"};
    EnvOverride runtime_{"XDG_RUNTIME_DIR", folder_.Path()};
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline bool Exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

// Simulated drives on virtual ports, and nothing else: no port of the machine running the test
// takes part while this object lives.
class SimPorts {
public:
    SimPorts() {
        SetTtyDeviceSourceForTesting([] { return std::vector<TtyDeviceInfo>{}; });
    }
    ~SimPorts() {
        Clear();
        SetTtyDeviceSourceForTesting(nullptr);
    }
    SimPorts(const SimPorts&) = delete;
    SimPorts& operator=(const SimPorts&) = delete;

    // A drive of the series on a virtual port of that name and description.
    CSimDrive& Serve(int series, const std::string& name, const std::string& description) {
        drives_.push_back(std::make_unique<CSimDrive>(series));
        servers_.push_back(std::make_unique<CSimPtyServer>(*drives_.back()));
        SimPtyOptions options;
        options.name = name;
        options.description = description;
        std::string error;
        EXPECT_TRUE(servers_.back()->Start(options, &error)) << error;
        return *drives_.back();
    }
    // Unplugs every drive.
    void Clear() {
        servers_.clear();
        drives_.clear();
    }

private:
    std::vector<std::unique_ptr<CSimDrive>> drives_;
    std::vector<std::unique_ptr<CSimPtyServer>> servers_;
};
