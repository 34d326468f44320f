#pragma once
// The register services talking to the simulated drive over a pseudo-terminal, with a document, a
// recording progress window and scripted message boxes.
#include "catalogue/KeloServoDoc.h"
#include "framework/core/MessageSeam.h"
#include "link/LinkState.h"
#include "link/SerialExt.h"
#include "link/services/RegisterServices.h"
#include "sim/SimDrive.h"
#include "sim/SimProtocol.h"
#include "sim/SimPtyServer.h"
#include "tests/support/DriveLink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Records what a transfer does with its progress window.
struct RecordingProgress : ITransferProgress {
    void Open(int resourceId, int range, const std::string&) override {
        opened.push_back(resourceId);
        this->range = range;
        position = 0;
        open = true;
    }
    void SetStepText(const std::string& text) override { texts.push_back(text); }
    void SetPosition(int at, bool repaint) override {
        position = at;
        if (repaint) {
            ++repaints;
            shown = at;
        }
    }
    void Close() override { open = false; }
    bool CancelRequested() const override { return cancel; }

    std::vector<int> opened;
    std::vector<std::string> texts;
    int range = 0;
    int position = 0;
    int repaints = 0;
    int shown = 0; // the position the bar was last repainted at
    bool open = false;
    bool cancel = false;
};

struct ServicesFixture : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(LinkToSimulatedDrive(server, "ttyREGSERV"));
        ServoOnFlag = 0;
        services.Document = &doc;
        services.Progress = &progress;
    }
    void TearDown() override { UnlinkSimulatedDrive(server); }
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
