#pragma once
// The register services talking to the simulated drive over a pseudo-terminal, with a document, a
// recording progress window and scripted message boxes.
#include "catalogue/KeloServoDoc.h"
#include "framework/core/MessageSeam.h"
#include "link/LinkState.h"
#include "link/RegisterServices.h"
#include "link/SerialExt.h"
#include "sim/SimDrive.h"
#include "sim/SimProtocol.h"
#include "sim/SimPtyServer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Records what a transfer does with its progress window.
struct RecordingProgress : ITransferProgress {
    void Open(int resourceId, int range) override {
        opened.push_back(resourceId);
        this->range = range;
        position = 0;
        open = true;
    }
    void SetStepText(const std::string& text) override { texts.push_back(text); }
    void Step() override { ++position; }
    void Close() override { open = false; }
    bool CancelRequested() const override { return cancel; }

    std::vector<int> opened;
    std::vector<std::string> texts;
    int range = 0;
    int position = 0;
    bool open = false;
    bool cancel = false;
};

struct ServicesFixture : ::testing::Test {
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(server.Start({.name = "ttyREGSERV", .registerVirtualPort = false}, &error)) << error;
        ASSERT_EQ(PortObject.Open(server.DevicePath().c_str(), 115200, 500, 20000, 20000), ErrNone);
        // The program's own turnaround: anything shorter fails now and then on a loaded machine.
        ASSERT_EQ(PortObject.SetupReadTimer(115200, 177), ErrNone);
        ConnectedFlag = 1;
        ModbusMode = 0;
        ModbusAsciiFlag = 0;
        StationNumber = 1;
        ServoOnFlag = 0;
        services.Document = &doc;
        services.Progress = &progress;
    }
    void TearDown() override {
        PortObject.Close();
        ConnectedFlag = 0;
        ModbusMode = 0;
        server.Stop();
    }
    std::vector<std::string> Requests() const { return drive.RequestLog(); }
    static std::string Maker(const std::string& text) { return sim::WithMakerChecksum(text); }
    // The single message shown, or a failure when there was none or more than one.
    MessageRequest OnlyMessage() const {
        EXPECT_EQ(messages.Shown().size(), 1u);
        return messages.Shown().empty() ? MessageRequest{} : messages.Shown().front();
    }

    CSimDrive drive{4};
    CSimPtyServer server{drive};
    ScriptedMessages messages;
    CKeloServoDoc doc;
    RecordingProgress progress;
    CRegisterServices services;
};
