// The series dialog as the user drives it: the real resource library, ports served by the
// simulated drive, a stand-in main program, and scripted message boxes.
#include "launcher/ClientDlg.h"

#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/App.h"
#include "framework/ui/DeviceChange.h"
#include "link/handoff/HandoffFile.h"
#include "resources/ids/launcher.h"
#include "tests/launcher/LauncherTestSupport.h"
#include "tests/support/DialogDriver.h"

#include <gtest/gtest.h>

#include <QTimer>

#include <algorithm>
#include <fcntl.h>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class ClientDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        ASSERT_TRUE(AfxLoadResourceLibrary());
        savedAppDirectory = AppDirectory;
        // The stand-in main program records its arguments, whether a stray descriptor reached it,
        // and the hand-off file it found.
        AppDirectory = temp.Path() + "bin";
        ASSERT_EQ(mkdir(AppDirectory.c_str(), 0700), 0);
        const std::string program = AppDirectory + "/KeloServo";
        std::ofstream(program) << "#!/bin/sh\n"
                                  "out=\"$XDG_RUNTIME_DIR/started.txt\"\n"
                                  "echo \"args=$#\" > \"$out\"\n"
                                  "[ -e /proc/$$/fd/57 ] && echo leaked >> \"$out\"\n"
                                  "cat \"$XDG_RUNTIME_DIR/curfile.ini\" >> \"$out\"\n";
        ASSERT_EQ(chmod(program.c_str(), 0700), 0);
    }
    void TearDown() override {
        CDialog::SetModalHookForTest(nullptr);
        ports.Clear();
        AppDirectory = savedAppDirectory;
    }

    CSimDrive& Serve(int series, const std::string& name, const std::string& description) {
        return ports.Serve(series, name, description);
    }

    // Runs the dialog; `drive` acts in it and ends it. Should a failed check leave it open, a
    // queued Cancel ends it instead of the test hanging.
    INT_PTR Run(CClientDlg& dialog, const std::function<void(CClientDlg&)>& drive) {
        CDialog::SetModalHookForTest([&](CDialog& shown) {
            HWND handle = shown.GetSafeHwnd();
            QTimer::singleShot(0, [handle] {
                if (CWnd* window = CWnd::FromHandle(handle))
                    static_cast<CDialog*>(window)->EndDialog(IDCANCEL);
            });
            if (auto* client = dynamic_cast<CClientDlg*>(&shown))
                drive(*client);
            else if (otherDialog)
                otherDialog(shown);
        });
        return dialog.DoModal();
    }

    static void Press(CClientDlg& dialog, int id) { ui::Press(dialog, id); }

    // Waits for the stand-in and returns what it recorded.
    std::string StartedRecord(int pid) {
        int status = 0;
        EXPECT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status));
        return ReadBytes(temp.Path() + "started.txt");
    }

    TempRuntimeFolder temp;
    ScriptedMessages messages;
    SimPorts ports;
    std::string savedAppDirectory;
    // What the test does with a dialog the series dialog opens.
    std::function<void(CDialog&)> otherDialog;
};

TEST_F(ClientDlgTest, ManualOkWritesTheChoiceAndStartsTheMainProgramBareHanded) {
    int stray = open("/dev/null", O_RDONLY); // no close-on-exec: the start must not pass it on
    ASSERT_EQ(dup2(stray, 57), 57);
    close(stray);

    CClientDlg dialog;
    INT_PTR result = Run(dialog, [](CClientDlg& d) {
        EXPECT_EQ(d.GetWindowText(), "Series Select");
        EXPECT_EQ(d.ComboBox.GetCount(), 6);
        EXPECT_EQ(d.ComboBox.GetCurSel(), 0);
        EXPECT_FALSE(d.CheckBox.IsWindowEnabled()) << "no suitable port";
        d.ComboBox.SetCurSel(3); // "UK3"
        Press(d, IDOK);
    });
    close(57);
    EXPECT_EQ(result, IDOK);
    ASSERT_GT(dialog.StartedProcess, 0);
    EXPECT_EQ(StartedRecord(dialog.StartedProcess), "args=0\n3\r\n0\r\n\r\n-1\r\n");
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(ClientDlgTest, CancelWritesNothingAndStartsNothing) {
    Serve(4, "ttyUSB0", "USB-SERIAL CH340");
    CClientDlg dialog;
    INT_PTR result = Run(dialog, [](CClientDlg& d) {
        EXPECT_TRUE(d.CheckBox.IsWindowEnabled());
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.StartedProcess, -1);
    EXPECT_FALSE(Exists(HandoffFilePath()));
    EXPECT_FALSE(Exists(temp.Path() + "started.txt"));
}

TEST_F(ClientDlgTest, FailedDetectionIsReportedAndUnticksTheBox) {
    CSimDrive& drive = Serve(4, "ttyUSB0", "USB-SERIAL CH340");
    drive.AddFault({.kind = SimFaultKind::Silent});
    CClientDlg dialog;
    Run(dialog, [&](CClientDlg& d) {
        d.CheckBox.Click();
        ASSERT_EQ(messages.Shown().size(), 1u);
        EXPECT_EQ(messages.Shown()[0].text, "Servo drive not found!!");
        EXPECT_EQ(messages.Shown()[0].caption, "Auto connection detection");
        EXPECT_EQ(messages.Shown()[0].type & MB_ICONMASK, static_cast<unsigned>(MB_ICONSTOP));
        EXPECT_EQ(d.CheckBox.GetCheck(), BST_UNCHECKED);
        EXPECT_EQ(d.AutoDetectFlag, 0);
        EXPECT_TRUE(d.ComboBox.IsWindowEnabled());
        Press(d, IDCANCEL);
    });
    EXPECT_FALSE(Exists(HandoffFilePath()));
}

TEST_F(ClientDlgTest, DetectedSeriesIsShownAndHandedOverForAutomaticConnection) {
    Serve(7, "ttyUSB0", "USB-SERIAL CH340");
    CClientDlg dialog;
    INT_PTR result = Run(dialog, [&](CClientDlg& d) {
        d.CheckBox.Click();
        EXPECT_TRUE(messages.Shown().empty());
        EXPECT_EQ(d.ComboBox.GetCurSel(), 5); // "YM3"
        EXPECT_FALSE(d.ComboBox.IsWindowEnabled());
        Press(d, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    ASSERT_GT(dialog.StartedProcess, 0);
    EXPECT_EQ(StartedRecord(dialog.StartedProcess), "args=0\n4\r\n1\r\nttyUSB0 : USB-SERIAL CH340\r\n0\r\n");
}

TEST_F(ClientDlgTest, OkInAutomaticModeWithTheDriveGoneKeepsTheDialogOpen) {
    CSimDrive& drive = Serve(7, "ttyUSB0", "USB-SERIAL CH340");
    CClientDlg dialog;
    INT_PTR result = Run(dialog, [&](CClientDlg& d) {
        d.CheckBox.Click();
        drive.AddFault({.kind = SimFaultKind::Silent});
        Press(d, IDOK);
        EXPECT_FALSE(Exists(HandoffFilePath()));
        EXPECT_EQ(d.StartedProcess, -1);
        ASSERT_EQ(messages.Shown().size(), 1u);
        EXPECT_EQ(messages.Shown()[0].text, "Servo drive not found!!");
        EXPECT_EQ(d.CheckBox.GetCheck(), BST_CHECKED);
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(Exists(HandoffFilePath()));
}

TEST_F(ClientDlgTest, PluggingAndUnpluggingFollowsThePorts) {
    CClientDlg dialog;
    Run(dialog, [&](CClientDlg& d) {
        EXPECT_FALSE(d.CheckBox.IsWindowEnabled());
        Serve(4, "ttyUSB0", "USB-SERIAL CH340");
        InjectDeviceChange(true, "ttyUSB0");
        EXPECT_TRUE(d.CheckBox.IsWindowEnabled());
        EXPECT_EQ(d.SelectedEntryText, "ttyUSB0 : USB-SERIAL CH340");
        ports.Clear();
        InjectDeviceChange(false, "ttyUSB0");
        EXPECT_FALSE(d.CheckBox.IsWindowEnabled());
        EXPECT_EQ(d.CheckBox.GetCheck(), BST_UNCHECKED);
        Press(d, IDCANCEL);
    });
}

TEST_F(ClientDlgTest, FailuresOfTheHandOverAreReported) {
    // The hand-off file cannot be created (a folder stands in its way) and there is no program.
    ASSERT_EQ(mkdir(HandoffFilePath().c_str(), 0700), 0);
    ASSERT_EQ(unlink((AppDirectory + "/KeloServo").c_str()), 0);
    CClientDlg dialog;
    INT_PTR result = Run(dialog, [](CClientDlg& d) { Press(d, IDOK); });
    EXPECT_EQ(result, IDOK) << "the launcher ends all the same";
    EXPECT_EQ(dialog.StartedProcess, -1);
    ASSERT_EQ(messages.Shown().size(), 2u);
    EXPECT_EQ(messages.Shown()[0].text.rfind("authority is not enough and open file failed!", 0), 0u);
    EXPECT_EQ(messages.Shown()[1].text.rfind("process failed!\n\n" + AppDirectory + "/KeloServo: ", 0), 0u);
    EXPECT_EQ(messages.Shown()[1].type & MB_ICONMASK, static_cast<unsigned>(MB_ICONSTOP));
}

TEST_F(ClientDlgTest, AboutCommandShowsTheVersion) {
    std::vector<std::string> texts;
    otherDialog = [&](CDialog& about) {
        texts.push_back(about.GetWindowText());
        for (CWnd* child : about.GetChildren())
            texts.push_back(child->GetWindowText());
        about.EndDialog(IDOK);
    };
    CClientDlg dialog;
    Run(dialog, [](CClientDlg& d) {
        d.SendMessage(WM_SYSCOMMAND, CClientDlg::kAboutCommand);
        Press(d, IDCANCEL);
    });
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Version 0.1.221101"), texts.end());
}

} // namespace
