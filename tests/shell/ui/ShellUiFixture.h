#pragma once
// The program brought up as a user starts it, against the simulated drive on a pseudo-terminal:
// fresh program, temporary, home and configuration folders per test (so hand-off, port choice,
// settings and profile files never meet another test's), the drive registered as a virtual port
// named after the test, and scripted message boxes and file dialogs.
#include "catalogue/DocumentGlobals.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/Paths.h"
#include "framework/ui/App.h"
#include "framework/ui/CmdUI.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/Doc.h"
#include "link/LinkState.h"
#include "link/SerialExt.h"
#include "link/handoff/HandoffFile.h"
#include "link/services/RegisterServices.h"
#include "paramedit/ParaEditDlg.h"
#include "resources/ids/shell.h"
#include "shell/PortChoice.h"
#include "shell/ShellGlobals.h"
#include "shell/ui/KeloServoApp.h"
#include "shell/ui/KeloServoDocument.h"
#include "shell/ui/KeloServoView.h"
#include "shell/ui/LinkComPort.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ShellLinkState.h"
#include "sim/SimDrive.h"
#include "sim/SimProtocol.h"
#include "sim/SimPtyServer.h"
#include "tests/support/PrivateHome.h"
#include "tests/support/ProgramShutdown.h"
#include "tests/support/TestTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

struct ShellUiFixture : ::testing::Test {
    void SetUp() override {
        EnsureQtApplication();
        ASSERT_TRUE(tree.Ok());
        std::filesystem::create_directory(tree.Path("program"));
        SetProgramFolderForTesting(tree.Path("program"));
        ConnectedFlag = 0;
        ServoOnFlag = 0;
        ModbusMode = 0;
        ModbusAsciiFlag = 0;
        StationNumber = 1;
        DriveIdentifiedFlag = 0;
        DebugModeFlag = 0;
        BrandMode = 0;
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        portName = "ttyUI" + std::to_string(std::hash<std::string>{}(std::string(info->test_suite_name()) +
                                                                     "." + info->name()) %
                                            1000000);
        previousHook = CDialog::SetModalHookForTest([this](CDialog& dialog) { OnModal(dialog); });
    }

    void TearDown() override {
        CDialog::SetModalHookForTest(previousHook);
        StopApp();
        PortObject.Close();
        ConnectedFlag = 0;
        ModbusMode = 0;
        server.Stop();
        SetProgramFolderForTesting("");
    }

    void StartDrive(const std::string& description = "KeloServo simulated drive (USB)") {
        std::string error;
        ASSERT_TRUE(server.Start({.name = portName, .description = description}, &error)) << error;
    }

    std::string Entry() const { return portName + " : KeloServo simulated drive (USB)"; }

    // The hand-off file the launcher writes for an automatic connection to the drive.
    void HandOff(const std::string& seriesLine, bool autoConnect = true) {
        ASSERT_TRUE(WriteHandoffLines({seriesLine, autoConnect ? "1" : "0", Entry(), "0"}));
    }

    // Runs the program's start-up; false when InitInstance refused.
    bool StartApp(const std::vector<std::string>& args = {}) {
        app = std::make_unique<CKeloServoApp>();
        app->m_args = args;
        configure(*app);
        return app->InitInstance();
    }

    void StopApp() {
        if (!app)
            return;
        EndProgramInstance(*app);
        app.reset();
    }

    // The program started linked to the drive, without the parameter editor that start-up opens.
    void StartLinked() {
        StartDrive();
        HandOff("1");
        ASSERT_TRUE(StartApp());
        ASSERT_EQ(ConnectedFlag.load(), 1);
        CloseParameterEditor();
        drive.ClearLog();
        messages.Clear();
    }
    void CloseParameterEditor() {
        if (CParaEditDlg* editor = View()->EditorWindow)
            editor->SendMessage(WM_COMMAND, IDCANCEL);
        ASSERT_EQ(View()->EditorWindow, nullptr);
    }

    CMainFrame* Frame() const { return app ? app->MainFrame() : nullptr; }
    CKeloServoView* View() const { return app ? app->ActiveView() : nullptr; }

    std::vector<std::string> Requests() const { return drive.RequestLog(); }
    static std::string Maker(const std::string& text) { return sim::WithMakerChecksum(text); }
    static std::string Read1(int address) {
        char text[8];
        std::snprintf(text, sizeof text, "R1%04X", address);
        return Maker(text);
    }

    std::string PaneText(int pane) const { return Frame()->m_wndStatusBar.GetPaneText(pane); }
    COLORREF PaneColour(int pane) const { return Frame()->m_wndStatusBar.GetPaneBackgroundColor(pane); }

    // Whether the frame's command route enables the command (as its menu item would show).
    bool CommandEnabled(UINT id) const {
        CCmdUI ui;
        ui.m_nID = id;
        ui.DoUpdate(Frame(), true);
        return ui.m_bEnabled;
    }

    void Tick(UINT_PTR timer = LinkSupervisionTimer) {
        if (viewTimersHeld)
            View()->SendMessage(WM_TIMER, timer);
        else
            ASSERT_TRUE(FireTimerForTest(View(), timer));
    }

    // For a test that counts what ticks do: the view's timers fire only through Tick, and the drive
    // is given the time a loaded machine stretches its answer to, so a tick neither runs beside one
    // of the machine's timers nor finds a slow reply taken for a lost link.
    void HoldViewTimers() {
        View()->KillTimer(LinkSupervisionTimer);
        View()->KillTimer(ServoStatusTimer);
        viewTimersHeld = true;
        ASSERT_EQ(PortObject.SetupReadTimer(PortObject.GetBaudrate(), ScaledMs(177)), ErrNone);
    }

    // What the modal dialogs do: the port choice is answered by `portChoice` (Cancel when empty).
    void OnModal(CDialog& dialog) {
        if (auto* ports = dynamic_cast<CLinkComPort*>(&dialog)) {
            ++portDialogs;
            lastPortEntries = ports->m_Entries;
            lastPortSelection = ports->m_PortIndex;
            if (portChoice)
                portChoice(*ports);
            else
                ports->EndDialog(IDCANCEL);
            return;
        }
        if (otherModal) {
            otherModal(dialog);
            return;
        }
        dialog.EndDialog(IDOK);
    }

    PrivateHome tree{"kelo-shell-ui"};
    std::string portName;
    CSimDrive drive{4};
    CSimPtyServer server{drive};
    ScriptedMessages messages;
    std::unique_ptr<CKeloServoApp> app;
    std::function<void(CKeloServoApp&)> configure = [](CKeloServoApp&) {};
    CDialog::ModalHook previousHook;
    std::function<void(CLinkComPort&)> portChoice;
    // What any other modal dialog does (OK when empty).
    std::function<void(CDialog&)> otherModal;
    int portDialogs = 0;
    bool viewTimersHeld = false;
    std::vector<std::string> lastPortEntries;
    int lastPortSelection = -2;
};
