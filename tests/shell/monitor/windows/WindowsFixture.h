#pragma once
// The monitor windows against the simulated drive: the drive served on a pseudo-terminal, the
// register services and monitor cycle readers over it, a document, the real resource library and
// scripted message boxes and file dialogs.
#include "catalogue/DocumentGlobals.h"
#include "catalogue/KeloServoDoc.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/App.h"
#include "framework/ui/Button.h"
#include "framework/ui/DC.h"
#include "framework/ui/Messages.h"
#include "link/LinkState.h"
#include "link/SerialExt.h"
#include "link/services/MonitorReaders.h"
#include "link/services/RegisterServices.h"
#include "sim/SimDrive.h"
#include "sim/SimPtyServer.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/DriveLink.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

// Records what a transfer does with its progress window.
struct RecordingProgress : ITransferProgress {
    void Open(int, int range, const std::string&) override {
        this->range = range;
        open = true;
        ++opened;
    }
    void SetStepText(const std::string& text) override { lastText = text; }
    void SetPosition(int position, bool) override { steps = position; }
    void Close() override { open = false; }
    int range = 0;
    int opened = 0;
    int steps = 0;
    bool open = false;
    std::string lastText;
};

struct WindowsFixture : ::testing::Test {
    void SetUp() override {
        EnsureQtApplication();
        std::string error;
        module_ = CResourceModule::LoadLibrary(kResourceLibraryName, &error);
        ASSERT_NE(module_, nullptr) << error;
        scope_ = std::make_unique<ScopedResourceModule>(module_);
        ASSERT_TRUE(LinkToSimulatedDrive(server, "ttyMONWIN"));
        SeriesCode = 4;
        services.Document = &doc;
        services.Progress = &progress;
        folder = std::filesystem::temp_directory_path() /
                 ("kelo-monwin-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        UnlinkSimulatedDrive(server);
        std::filesystem::remove_all(folder);
        // Windows destroyed by a test leave their widgets to the event loop.
        QCoreApplication::processEvents();
    }
    std::string File(const std::string& name) const { return (folder / name).string(); }
    static void Click(CWnd& window, int id) { ui::Press(window, id); }

    // The text colour (and brush) the window's colour handler gives one of its controls.
    struct Look {
        COLORREF text = 0;
        HBRUSH brush = nullptr;
        int bkMode = 0;
    };
    static Look LookOf(CWnd& window, int id) {
        CDC dc;
        CtlColorRequest request{&dc, window.GetDlgItem(id), CTLCOLOR_STATIC};
        Look look;
        look.brush =
            reinterpret_cast<HBRUSH>(window.SendMessage(WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&request)));
        look.text = dc.GetTextColor();
        look.bkMode = dc.GetBkMode();
        return look;
    }

    CSimDrive drive{4};
    CSimPtyServer server{drive};
    ScriptedMessages messages;
    CKeloServoDoc doc;
    RecordingProgress progress;
    CRegisterServices services;
    CMonitorReaders readers{services};
    std::filesystem::path folder;

private:
    std::shared_ptr<const CResourceModule> module_;
    std::unique_ptr<ScopedResourceModule> scope_;
};
