#pragma once
// The world a window test stands in: a private home, the program's resource library, scripted
// message boxes and file dialogs, a simulated drive linked over a pseudo-terminal, and a new
// document that asks the link whether it is connected. Window fixtures derive from it and add their
// window.
#include "catalogue/DocumentGlobals.h"
#include "catalogue/DocumentHost.h"
#include "catalogue/KeloServoDoc.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "link/LinkState.h"
#include "shell/ShellGlobals.h"
#include "sim/SimDrive.h"
#include "sim/SimPtyServer.h"
#include "tests/support/DriveLink.h"
#include "tests/support/WindowTestHome.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

struct LinkedDocumentHost : DocumentHost {
    bool IsConnected() const override { return ConnectedFlag != 0; }
};

class LinkedWindowFixture : public ::testing::Test {
protected:
    // From SetUp; a failure here is fatal to the test (the caller checks HasFatalFailure()).
    void OpenWorld(const std::string& homePrefix, int series, const std::string& portName) {
        home_ = std::make_unique<PrivateHome>(homePrefix);
        ASSERT_TRUE(home_->Ok());
        const std::shared_ptr<const CResourceModule> module = ProgramResources();
        ASSERT_NE(module, nullptr) << "libVimbra.so beside the test";
        resources_ = std::make_unique<ScopedResourceModule>(module);
        messages = std::make_unique<ScriptedMessages>();
        drive = std::make_unique<CSimDrive>(series);
        server = std::make_unique<CSimPtyServer>(*drive);
        ASSERT_TRUE(LinkToSimulatedDrive(*server, portName));
        DebugModeFlag = 0;
        SeriesCode = series;
        ModelCode = CSimDrive::ModelCodeForSeries(series);
        doc = std::make_unique<CKeloServoDoc>(&host);
        doc->OnNewDocument();
        doc->SetModifiedFlag(false);
    }
    // From TearDown, once the fixture's window is gone.
    void CloseWorld() {
        DebugModeFlag = 0;
        if (server)
            UnlinkSimulatedDrive(*server);
        messages.reset();
        resources_.reset();
        home_.reset();
    }

    std::unique_ptr<PrivateHome> home_;
    std::unique_ptr<CSimDrive> drive;
    std::unique_ptr<CSimPtyServer> server;
    std::unique_ptr<ScriptedMessages> messages;
    std::unique_ptr<ScopedResourceModule> resources_;
    LinkedDocumentHost host;
    std::unique_ptr<CKeloServoDoc> doc;
};
