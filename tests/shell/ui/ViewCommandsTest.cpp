// The view's commands against the simulated drive: which commands the menu and toolbar offer in
// which state, the windows the commands open and the monitor cycle feeds, the messages of the tool
// windows with their exact requests, and printing the parameter tables.
#include "ShellUiFixture.h"

#include "framework/core/Format.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/Print.h"
#include "paramedit/ParaCustomDlg.h"
#include "paramedit/ParaEditDlg.h"
#include "resources/ids/mainframe.h"
#include "resources/ids/monitor.h"
#include "resources/ids/paraedit.h"
#include "shell/monitor/MonAnDlg.h"
#include "shell/monitor/MonDnDlg.h"
#include "shell/monitor/MonitorLifeDialog.h"
#include "tests/support/PdfPages.h"

#include <QCoreApplication>
#include <QImage>
#include <QPrinter>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

std::string Hex4(int value) {
    return Format("%04X", value & 0xFFFF);
}

struct ViewCommands : ShellUiFixture {
    void CloseEditor() { CloseParameterEditor(); }
    void Command(UINT id) { View()->SendMessage(WM_COMMAND, id); }
    static std::string Write1(int address, int value) { return Maker("W1" + Hex4(address) + Hex4(value)); }
    std::string RestartFrame() const {
        const unsigned char bytes[] = {0x50, 0x05, 0x07, 0x09, 0x03, 0x07, 0x87, 0x83, 0x89, 0x87, 0x85};
        return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
    }
};

TEST_F(ViewCommands, MenuFollowsLinkProjectModeAndOpenWindows) {
    StartDrive();
    ASSERT_TRUE(StartApp()); // no hand-off: the program starts unlinked
    ASSERT_EQ(ConnectedFlag.load(), 0);
    CloseEditor();
    struct Case {
        UINT id;
        bool unlinked;
    };
    // Unlinked: what needs no drive stays on; windows not part of the program stay off.
    for (const Case& c : std::vector<Case>{{ID_CONNECT, true},
                                           {ID_DISCONNECT, false},
                                           {ID_EDIT_PARAMETER, true},
                                           {ID_PROJECT_MODE, true},
                                           {ID_STATUSBAR_SET, true},
                                           {ID_ALARM_PARAMETERS, false},
                                           {ID_DISPLAY_PARAMETER, false},
                                           {ID_LIFE_PREDICTION, false},
                                           {ID_CUSTOM_PARAMETER, false},
                                           {ID_SOFTWARE_RESET, false},
                                           {ID_WAVE_TRACE, true},   // needs no link
                                           {ID_SETUP_WIZARD, true}, // the wizard needs no drive
                                           {ID_HELP_CONTENT, true},
                                           {ID_INSTALLATION_MANUAL, true},
                                           {ID_FILE_PRINT, true}})
        EXPECT_EQ(CommandEnabled(c.id), c.unlinked) << c.id;
    std::vector<std::string> opened;
    app->OpenWithShell = [&](const std::string& path) {
        opened.push_back(path);
        return false;
    };
    Command(ID_INSTALLATION_MANUAL);
    EXPECT_EQ(opened, std::vector<std::string>{app->ProgramFolderText + "/" + InstallationManualName});
    EXPECT_TRUE(messages.Shown().empty()) << "a manual that cannot be shown is not reported";

    app->AutoConnect = {true, Entry(), 0};
    Command(ID_CONNECT);
    ASSERT_EQ(ConnectedFlag.load(), 1);
    EXPECT_FALSE(CommandEnabled(ID_CONNECT));
    EXPECT_TRUE(CommandEnabled(ID_DISCONNECT));
    EXPECT_TRUE(CommandEnabled(ID_ALARM_PARAMETERS));
    EXPECT_TRUE(CommandEnabled(ID_SOFTWARE_RESET));
    EXPECT_TRUE(CommandEnabled(ID_EDIT_ONLINE_PARAMETER));
    // Project Mode unlocks the custom address window, the RAM editor and the memory image copies.
    for (UINT id : {ID_CUSTOM_PARAMETER, ID_EDIT_RAM, ID_COPY_TO_DEVICE})
        EXPECT_FALSE(CommandEnabled(id)) << id;
    DebugModeFlag = 1;
    for (UINT id : {ID_CUSTOM_PARAMETER, ID_EDIT_RAM, ID_COPY_TO_DEVICE})
        EXPECT_TRUE(CommandEnabled(id)) << id;
    // One custom address window; closing it lets the next command build a new one.
    Command(ID_CUSTOM_PARAMETER);
    CParaCustomDlg* custom = View()->CustomWindow;
    ASSERT_NE(custom, nullptr);
    Command(ID_CUSTOM_PARAMETER);
    EXPECT_EQ(View()->CustomWindow, custom);
    custom->SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_EQ(View()->CustomWindow, nullptr);

    // An open window, a monitor window included, locks the commands that need all windows closed.
    Command(ID_ALARM_PARAMETERS);
    ASSERT_NE(View()->AlarmDialog, nullptr);
    EXPECT_FALSE(CommandEnabled(ID_PROJECT_MODE));
    EXPECT_TRUE(CommandEnabled(ID_EDIT_PARAMETER));
    View()->AlarmDialog->SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_EQ(View()->AlarmDialog, nullptr);
    EXPECT_TRUE(CommandEnabled(ID_PROJECT_MODE));
    Command(ID_EDIT_PARAMETER);
    EXPECT_FALSE(CommandEnabled(ID_PROJECT_MODE));
    // The toolbar shows the same rules.
    Frame()->UpdateCommandUI();
    EXPECT_TRUE(CommandEnabled(ID_DISCONNECT));
    EXPECT_TRUE(Frame()->m_wndToolBar.IsButtonEnabled(ID_ALARM_PARAMETERS));
    EXPECT_FALSE(Frame()->m_wndToolBar.IsButtonEnabled(ID_EDIT_ONLINE_PARAMETER)) << "the editor is open";
    EXPECT_FALSE(Frame()->m_wndToolBar.IsButtonEnabled(ID_DIDO_CONTACT_SET));
}

TEST_F(ViewCommands, ProjectModeAndStatusbarSetRunTheirDialogs) {
    StartLinked();
    // The right access code typed into Project Mode unlocks its commands.
    otherModal = [](CDialog& dialog) {
        dialog.SetDlgItemText(IDC_PROJECT_MODE_CODE, "QUARVELM");
        dialog.OnOK();
    };
    EXPECT_FALSE(CommandEnabled(ID_CUSTOM_PARAMETER));
    Command(ID_PROJECT_MODE);
    EXPECT_EQ(DebugModeFlag, 1);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Enter Debug Mode!");
    EXPECT_TRUE(CommandEnabled(ID_CUSTOM_PARAMETER));

    // Statusbar Set: OK takes the chosen pane kinds, Cancel leaves them.
    ShellSettings& settings = app->Settings;
    const std::array<int, StatusbarSetSize> before = settings.StatusbarSet;
    otherModal = [](CDialog& dialog) { dialog.EndDialog(IDCANCEL); };
    Command(ID_STATUSBAR_SET);
    EXPECT_EQ(settings.StatusbarSet, before);
    const int chosen = before[0] == 4 ? 5 : 4;
    otherModal = [chosen](CDialog& dialog) {
        auto* combo = dynamic_cast<CComboBox*>(dialog.GetDlgItem(IDC_STATUSBAR_FIELD_FIRST));
        ASSERT_NE(combo, nullptr);
        combo->SetCurSel(chosen);
        dialog.OnOK();
    };
    Command(ID_STATUSBAR_SET);
    EXPECT_EQ(settings.StatusbarSet[0], chosen);
    for (int pane = 1; pane < StatusbarSetSize; ++pane)
        EXPECT_EQ(settings.StatusbarSet[static_cast<size_t>(pane)], before[static_cast<size_t>(pane)])
            << pane;
}

TEST_F(ViewCommands, ViewPaintsAGreyBackdrop) {
    StartLinked();
    QWidget* widget = View()->GetWidget();
    ASSERT_NE(widget, nullptr);
    widget->resize(120, 80);
    const QImage image = widget->grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixelColor(60, 40), QColor(0x80, 0x80, 0x80));
}

TEST_F(ViewCommands, EditParameterOpensOneEditorThatReadsTheDrive) {
    StartLinked();
    Command(ID_EDIT_PARAMETER);
    CParaEditDlg* editor = View()->EditorWindow;
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(View()->ToolWindowOpenFlags[ToolEditor]);
    Command(ID_EDIT_PARAMETER);
    EXPECT_EQ(View()->EditorWindow, editor) << "the second command re-activates the same window";

    // The editor's first timer tick reads every parameter of the drive.
    drive.SetRegister(0x0001, 0x0002);
    ASSERT_TRUE(FireTimerForTest(editor, ParaEditReadTimer));
    const std::vector<std::string> requests = Requests();
    EXPECT_GT(requests.size(), 100u);
    EXPECT_NE(std::find(requests.begin(), requests.end(), Read1(0x0001)), requests.end());

    // A disconnect and a new connect reach the open editor without a crash; closing it clears the
    // view's hold, and the next command builds a new one.
    Command(ID_DISCONNECT);
    app->AutoConnect = {true, Entry(), 0};
    Command(ID_CONNECT);
    ASSERT_EQ(ConnectedFlag.load(), 1);
    editor->SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_EQ(View()->EditorWindow, nullptr);
    EXPECT_FALSE(View()->ToolWindowOpenFlags[ToolEditor]);
    Command(ID_EDIT_PARAMETER);
    EXPECT_NE(View()->EditorWindow, nullptr);
}

TEST_F(ViewCommands, MonitorWindowsOpenFromTheirCommandsAndTheCycleFeedsThem) {
    StartLinked();
    HoldViewTimers();
    CKeloServoView* view = View();
    // Life values are read once before the window is made.
    for (int i = 0; i < 4; ++i)
        drive.SetRegister(static_cast<uint16_t>(0x0647 + i), static_cast<uint16_t>(9000 + i));
    Command(ID_LIFE_PREDICTION);
    ASSERT_NE(view->LifeDialog, nullptr);
    EXPECT_EQ(view->LifeDialog->Values()[0], 9000);
    EXPECT_EQ(view->Readers.LifeWindow, view->LifeDialog);

    Command(ID_ALARM_PARAMETERS);
    Command(ID_DIAGNOSTICS_PARAMETERS);
    Command(ID_DISPLAY_PARAMETER);
    ASSERT_NE(view->AlarmDialog, nullptr);
    ASSERT_NE(view->DiagnosticsDialog, nullptr);
    ASSERT_NE(view->UnListDialog, nullptr);
    EXPECT_EQ(view->Readers.AlarmWindow, view->AlarmDialog);
    EXPECT_EQ(view->Readers.DiagnosticsWindow, view->DiagnosticsDialog);
    EXPECT_EQ(view->Readers.MonitorListWindow, view->UnListDialog);
    for (ToolWindow flag : {ToolAlarm, ToolDiag, ToolUnList, ToolLife})
        EXPECT_TRUE(view->ToolWindowOpenFlags[flag]) << flag;

    // One supervision tick reads the alarm history, the dn items and the life data into the windows.
    drive.SetRegister(0x0647, 7000);
    view->Readers.LifeCycleCounter = LifeCyclePeriod - 1;
    drive.ClearLog();
    Tick();
    EXPECT_EQ(view->Readers.AlarmReadRequest, 0) << "the alarm history was read";
    EXPECT_EQ(view->Readers.ContactReadRequest, 0) << "the diagnostics were read";
    EXPECT_EQ(view->LifeDialog->Values()[0], 7000);
    const std::vector<std::string> requests = Requests();
    EXPECT_NE(std::find(requests.begin(), requests.end(), Read1(0x0F01)), requests.end());
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_EQ(ConnectedFlag.load(), 1);

    // Closing clears the view's hold; a second command while open only re-activates.
    CMonAnDlg* alarm = view->AlarmDialog;
    Command(ID_ALARM_PARAMETERS);
    EXPECT_EQ(view->AlarmDialog, alarm);
    view->CloseToolDialogs();
    EXPECT_EQ(view->AlarmDialog, nullptr);
    EXPECT_EQ(view->LifeDialog, nullptr);
    EXPECT_EQ(view->Readers.AlarmWindow, nullptr);
    EXPECT_FALSE(view->ToolWindowOpenFlags[ToolAlarm]);
}

TEST_F(ViewCommands, RecheckThatFindsTheLinkGoneClosesTheMonitorWindowsAndTheEditorFollows) {
    StartLinked();
    CKeloServoView* view = View();
    Command(ID_EDIT_PARAMETER);
    for (UINT id : {ID_ALARM_PARAMETERS, ID_DIAGNOSTICS_PARAMETERS, ID_DISPLAY_PARAMETER, ID_LIFE_PREDICTION})
        Command(id);
    CParaEditDlg* editor = view->EditorWindow;
    ASSERT_NE(editor, nullptr);
    ASSERT_NE(view->AlarmDialog, nullptr);
    ASSERT_NE(view->DiagnosticsDialog, nullptr);
    ASSERT_NE(view->UnListDialog, nullptr);
    EXPECT_TRUE(editor->GetDlgItem(IDC_PE_READ)->IsWindowEnabled());

    // A re-check that finds the link up leaves every window as it is.
    view->RecheckLink();
    EXPECT_EQ(ConnectedFlag.load(), 1);
    EXPECT_TRUE(editor->GetDlgItem(IDC_PE_WRITE)->IsWindowEnabled());

    messages.Clear();
    drive.AddFault({.kind = SimFaultKind::Silent, .address = 0x0F03});
    view->RecheckLink();
    ASSERT_EQ(ConnectedFlag.load(), 0);
    EXPECT_FALSE(editor->GetDlgItem(IDC_PE_READ)->IsWindowEnabled());
    EXPECT_FALSE(editor->GetDlgItem(IDC_PE_WRITE)->IsWindowEnabled());
    EXPECT_NE(view->AlarmDialog, nullptr) << "the Cancel commands are posted, not sent";
    QCoreApplication::processEvents();
    EXPECT_EQ(view->AlarmDialog, nullptr);
    EXPECT_EQ(view->DiagnosticsDialog, nullptr);
    EXPECT_EQ(view->UnListDialog, nullptr);
    EXPECT_NE(view->LifeDialog, nullptr) << "the life prediction window is not among them";
    EXPECT_EQ(view->EditorWindow, editor);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Communicate Error!\n\nDisconnect !!");
}

TEST_F(ViewCommands, MonitorWindowsNeedTheLink) {
    StartDrive();
    ASSERT_TRUE(StartApp());
    CloseEditor();
    for (UINT id : {ID_ALARM_PARAMETERS, ID_DIAGNOSTICS_PARAMETERS, ID_LIFE_PREDICTION, ID_DISPLAY_PARAMETER,
                    ID_CUSTOM_PARAMETER, ID_EDIT_RAM})
        Command(id);
    EXPECT_EQ(View()->AlarmDialog, nullptr);
    EXPECT_EQ(View()->DiagnosticsDialog, nullptr);
    EXPECT_EQ(View()->LifeDialog, nullptr);
    EXPECT_EQ(View()->UnListDialog, nullptr);
    EXPECT_EQ(View()->CustomWindow, nullptr);
    EXPECT_TRUE(Requests().empty());
}

TEST_F(ViewCommands, JogCodesSendTheirRequests) {
    StartLinked();
    struct Case {
        WPARAM code;
        LPARAM speed;
        std::vector<std::string> requests;
    };
    const std::vector<Case> cases = {
        {1, 0, {Read1(0x0201)}},
        {3, 300, {Write1(0x0201, 300)}},
        {5, -300, {Write1(0x0201, -300)}},
        {7, 50, {Write1(0x0201, 50)}},
        {11, 500, {Write1(0x0201, 0)}},
        {12, 250, {Write1(0x1801, 0), Write1(0x0201, 250), Write1(0x1803, 0)}},
        {13, 250, {Write1(0x1803, 1), Write1(0x0201, 0), Write1(0x1801, 1)}},
        {2, 100, {}},
    };
    for (const Case& c : cases) {
        drive.ClearLog();
        EXPECT_EQ(View()->SendMessage(WM_JOG_COMMAND, c.code, c.speed), 0);
        EXPECT_EQ(Requests(), c.requests) << "code " << c.code;
        EXPECT_EQ(View()->ViewBusyFlag, 0);
    }
    // A refusal ends the sequence.
    drive.RefuseAddress(0x1801);
    drive.ClearLog();
    View()->SendMessage(WM_JOG_COMMAND, 12, 250);
    EXPECT_EQ(Requests(), std::vector<std::string>{Write1(0x1801, 0)});
    drive.RefuseAddress(0x1801, false);
    drive.RefuseAddress(0x0201);
    drive.ClearLog();
    View()->SendMessage(WM_JOG_COMMAND, 13, 250);
    EXPECT_EQ(Requests(), (std::vector<std::string>{Write1(0x1803, 1), Write1(0x0201, 0)}));
}

TEST_F(ViewCommands, AlarmClearKeepsTheCurrentAlarm) {
    StartLinked();
    CKeloServoView* view = View();
    Command(ID_ALARM_PARAMETERS);
    ASSERT_NE(view->AlarmDialog, nullptr);
    for (int i = 0; i < AlarmHistoryCount; ++i)
        view->Readers.AlarmHistory[static_cast<size_t>(i)] = 10 + i;

    drive.ClearLog();
    view->SendMessage(WM_ALARM_CLEAR, 5, 0);
    EXPECT_TRUE(Requests().empty()) << "only code 4 clears";

    view->SendMessage(WM_ALARM_CLEAR, AlarmClearCommand, 0);
    EXPECT_EQ(Requests(), std::vector<std::string>{Write1(0x1713, 3)});
    EXPECT_EQ(view->Readers.AlarmHistory[0], 10);
    for (int i = 1; i < AlarmHistoryCount; ++i)
        EXPECT_EQ(view->Readers.AlarmHistory[static_cast<size_t>(i)], 0);
    // The open window shows the cleared history at once.
    EXPECT_EQ(view->AlarmDialog->Rows().NumberTexts()[0], "10");
    EXPECT_EQ(view->AlarmDialog->Rows().NumberTexts()[1], "00");
    EXPECT_EQ(view->AlarmDialog->Rows().Codes()[9], 0);
    EXPECT_TRUE(messages.Shown().empty());

    // A refusal is reported with its own caption and keeps the history.
    view->Readers.AlarmHistory[3] = 42;
    drive.RefuseAddress(0x1713);
    view->SendMessage(WM_ALARM_CLEAR, AlarmClearCommand, 0);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Error:\n\nCommunicate Error!");
    EXPECT_EQ(messages.Shown()[0].caption, "Clear Alarm Message");
    EXPECT_EQ(messages.Shown()[0].type & MB_ICONMASK, static_cast<unsigned>(MB_ICONSTOP));
    EXPECT_EQ(view->Readers.AlarmHistory[3], 42);
    EXPECT_EQ(view->ViewBusyFlag, 0);
}

struct FakeStepDialog : IStepDialog {
    void ShowStepValue(int value, int code) override { log.push_back(Format("value %d %d", value, code)); }
    void ShowWaitHint() override { log.push_back("hint"); }
    void EnableOkCancel() override { log.push_back("enable"); }
    std::vector<std::string> log;
};

TEST_F(ViewCommands, StepMonitorWatchesFromServoOnToServoOff) {
    StartLinked();
    FakeStepDialog dialog;
    View()->StepDialogPointer = &dialog;
    drive.SetRegister(0x0625, 123);

    // Servo off: no value until the drive has reported servo on once.
    View()->SendMessage(WM_STEP_MONITOR, 1, 0);
    EXPECT_TRUE(dialog.log.empty());
    EXPECT_EQ(Requests(), std::vector<std::string>{Read1(0x1703)});

    drive.SetServoOn(true);
    View()->SendMessage(WM_STEP_MONITOR, 2, 0); // only code 1 acts
    View()->SendMessage(WM_STEP_MONITOR, 1, 0);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"hint", "value 123 844"}));

    drive.SetRegister(0x0625, 124);
    drive.SetServoOn(false);
    View()->SendMessage(WM_STEP_MONITOR, 1, 0);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"hint", "value 123 844", "value 124 844", "enable"}));
    EXPECT_FALSE(View()->StepWatching);
    View()->StepDialogPointer = nullptr;
}

TEST_F(ViewCommands, ValueWritesWriteAndReadBack) {
    StartLinked();
    struct FakeValueWindow : IValueFieldWindow {
        void ShowFieldValue(int field, int value) override { shown.emplace_back(field, value); }
        std::vector<std::pair<int, int>> shown;
    } window;
    View()->TripleValueWindow = &window;
    View()->SendMessage(WM_TRIPLE_VALUE_WRITE, 2, 77);
    // The number travels in hex: Cn053 is parameter 0x35 of group C.
    EXPECT_EQ(Requests(), (std::vector<std::string>{Maker("W10C35" + Hex4(77)), Maker("R10C35")}));
    EXPECT_EQ(window.shown, (std::vector<std::pair<int, int>>{{407, 77}}));
    drive.ClearLog();
    View()->SendMessage(WM_TRIPLE_VALUE_WRITE, 4, 77);
    EXPECT_TRUE(Requests().empty());
    View()->TripleValueWindow = nullptr;
}

TEST_F(ViewCommands, SoftwareResetSendsTheRestartFrameOnlyWhenConfirmedAndServoOff) {
    StartLinked();
    messages.Answer(IDNO);
    Command(ID_SOFTWARE_RESET);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text,
              "Do you want to restart? \nIt will be automatically connected after rebooting");
    EXPECT_TRUE(Requests().empty());

    messages.Answer(IDYES);
    Command(ID_SOFTWARE_RESET);
    // The frame carries no answer: wait until the drive has taken it.
    for (int i = 0; i < 100 && Requests().empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(Requests().size(), 1u);
    EXPECT_EQ(Requests()[0], RestartFrame());

    // The servo on refuses before asking.
    ServoOnFlag = 1;
    messages.Clear();
    drive.ClearLog();
    Command(ID_SOFTWARE_RESET);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "System Servo ON!\nPlease Servo Off again!");
    EXPECT_TRUE(Requests().empty());
    ServoOnFlag = 0;
}

TEST_F(ViewCommands, FactoryResetWritesCn029BeforeRestarting) {
    StartLinked();
    messages.Answer(IDYES);
    Command(ID_FACTORY_RESET);
    for (int i = 0; i < 100 && Requests().size() < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(Requests().size(), 2u);
    EXPECT_EQ(Requests()[0].substr(0, 2), "W1");
    EXPECT_EQ(Requests()[1], RestartFrame());
}

TEST_F(ViewCommands, PrintCommandPrintsEveryPageOfTheTables) {
    StartLinked();
    const std::string path = tree.Path("tables.pdf");
    int dialogs = 0;
    PrintPresenter presenter;
    presenter.dialog = [&](CPrintDialog& dialog, QPrinter& printer) {
        ++dialogs;
        EXPECT_EQ(dialog.m_nMaxPage, View()->TablePrinter.PageCount());
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(path));
        return IDOK;
    };
    PrintPresenter previous = SetPrintPresenter(presenter);
    Command(ID_FILE_PRINT);
    SetPrintPresenter(previous);
    AfxGetPrinter().setOutputFileName(QString());
    EXPECT_EQ(dialogs, 1);
    const int count = View()->TablePrinter.PageCount();
    ASSERT_GT(count, 1);
    EXPECT_EQ(PdfPageCount(path), count);
    EXPECT_TRUE(Requests().empty()) << "printing reads nothing from the drive";

    // Without printer settings the user is told and nothing prints.
    View()->PrinterAvailable = [] { return false; };
    std::filesystem::remove(path);
    Command(ID_FILE_PRINT);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Printer Error!");
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
