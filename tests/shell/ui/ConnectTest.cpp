// Connect, disconnect, re-check and the link supervision against the simulated drive.
#include "ShellUiFixture.h"

#include "catalogue/RegisterMap.h"
#include "framework/ui/DeviceChange.h"
#include "link/services/TransferPass.h"
#include "paramedit/ParaEditDlg.h"
#include "resources/ids/paraedit.h"
#include "shell/SettingsFile.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/Screenshot.h"

#include <QTimer>

#include <algorithm>

namespace {

using ShellConnect = ShellUiFixture;

std::vector<std::string> Prefix(const std::vector<std::string>& log, size_t count) {
    return {log.begin(), log.begin() + static_cast<long>(std::min(count, log.size()))};
}

bool Contains(const std::vector<std::string>& log, const std::string& request) {
    return std::find(log.begin(), log.end(), request) != log.end();
}

// The Port Set window is answered with the drive's entry and OK.
void ChooseTheDrivesEntry(ShellUiFixture& t) {
    t.portChoice = [&t](CLinkComPort& dialog) {
        const auto found = std::find(dialog.m_Entries.begin(), dialog.m_Entries.end(), t.Entry());
        ASSERT_NE(found, dialog.m_Entries.end());
        dialog.m_PortCombo.SetCurSel(static_cast<int>(found - dialog.m_Entries.begin()));
        dialog.OnOK();
    };
}

TEST_F(ShellConnect, MakerConnectIdentifiesTheDriveInOrder) {
    StartDrive();
    HandOff("1");
    ASSERT_TRUE(StartApp());
    ASSERT_EQ(ConnectedFlag.load(), 1);
    const std::vector<std::string> log = Requests();
    // Version and dn-03 first, the encoder words, then the series check and the drive's words.
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(log[0], Read1(0x0F04));
    EXPECT_EQ(log[1], Read1(0x0F03));
    const auto at = [&](const std::string& request) {
        return std::find(log.begin(), log.end(), request) - log.begin();
    };
    EXPECT_LT(at(Read1(0x1706)), at(Read1(0x1707)));
    EXPECT_LT(at(Read1(0x1707)), at(Read1(0x171D)));
    EXPECT_LT(at(Read1(0x171D)), at(Read1(0x0C1B)));
    EXPECT_LT(at(Read1(0x0C1B)), at(Read1(0x0C1C)));
    EXPECT_LT(at(Read1(0x0C1C)), at(Read1(0x171E)));
    EXPECT_LT(static_cast<size_t>(at(Read1(0x171E))), log.size());
    EXPECT_EQ(DriveFeatureLevel, drive.GetRegister(0x171E));
    EXPECT_EQ(ReverseTorqueLimit, -300);
    EXPECT_EQ(PaneText(2), "Version: A" + std::string(drive.GetRegister(0x0F04) / 100 < 10 ? "0" : "") +
                               std::to_string(drive.GetRegister(0x0F04) / 100) + "." +
                               (drive.GetRegister(0x0F04) % 100 < 10 ? "0" : "") +
                               std::to_string(drive.GetRegister(0x0F04) % 100));
}

TEST_F(ShellConnect, DriveOfAnotherSeriesIsRefusedAndTheSeriesStays) {
    drive.SetRegister(0x171D, CSimDrive::ModelCodeForSeries(6));
    StartDrive();
    HandOff("1");
    ASSERT_TRUE(StartApp());
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Series do not match! Connection failed!");
    EXPECT_EQ(messages.Shown()[0].caption, "Communication Message");
    EXPECT_EQ(messages.Shown()[0].type & MB_ICONMASK, unsigned(MB_ICONSTOP));
    EXPECT_EQ(ConnectedFlag.load(), 0);
    EXPECT_EQ(SeriesCode, 4);
    EXPECT_FALSE(PortObject.IsOpen());
    EXPECT_EQ(View()->LinkOpenIndicator, 0);
    EXPECT_EQ(PaneText(3), "Servo Offline");
    EXPECT_EQ(PaneColour(3), PaneRed);
}

TEST_F(ShellConnect, UnknownModelWordConnectsUnderTheCurrentSeriesAndZeroIsRefused) {
    drive.SetRegister(0x171D, 0x7777);
    StartDrive();
    HandOff("1");
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(ConnectedFlag.load(), 1);
    View()->SendMessage(WM_COMMAND, ID_DISCONNECT);
    drive.SetRegister(0x171D, 0);
    app->AutoConnect.flag = true;
    View()->SendMessage(WM_COMMAND, ID_CONNECT);
    EXPECT_EQ(ConnectedFlag.load(), 0);
    ASSERT_FALSE(messages.Shown().empty());
    EXPECT_EQ(messages.Shown().back().text, "Series do not match! Connection failed!");
}

struct ModbusCase {
    int format;
    bool ascii;
};

class ShellModbusConnect : public ShellUiFixture, public ::testing::WithParamInterface<ModbusCase> {};

TEST_P(ShellModbusConnect, ProbeOfStationRegisterZeroLeavesTheProgramLinked) {
    ShellSettings settings;
    settings.ModbusMode = 1;
    settings.ModbusFormat = GetParam().format;
    settings.StationNumber = 3;
    ASSERT_TRUE(WriteSettingsFile(SettingsFilePath(BrandNormal), settings, BrandNormal, 4));
    drive.SetStationNumber(3);
    StartDrive();
    HandOff("1");
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(ModbusAsciiFlag, GetParam().ascii ? 1 : 0);
    char probe[32] = {};
    const int length = GetParam().ascii ? 17 : 8;
    CInternalCode::BuildModbusRead(probe, 3, 0, 1, ModbusAsciiFlag);
    const std::vector<std::string> log = Requests();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0], std::string(probe, static_cast<size_t>(length)));
    EXPECT_EQ(ConnectedFlag.load(), 1) << "a drive that answered the probe is linked";
    EXPECT_EQ(PaneText(3), "Servo Online");
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_EQ(PortObject.GetParity(), GetParam().format % 3 == 0 ? 0 : (GetParam().format % 3 == 1 ? 2 : 1));
    // Every later word goes over Modbus as well.
    for (const std::string& request : log)
        EXPECT_NE(request.front(), 'R');
}

INSTANTIATE_TEST_SUITE_P(Framing, ShellModbusConnect,
                         ::testing::Values(ModbusCase{6, false}, ModbusCase{7, false}, ModbusCase{0, true},
                                           ModbusCase{4, true}),
                         [](const ::testing::TestParamInfo<ModbusCase>& info) {
                             return std::string(info.param.ascii ? "Ascii" : "Rtu") +
                                    std::to_string(info.param.format);
                         });

TEST_F(ShellConnect, ModbusProbeWithoutAnswerIsReported) {
    ShellSettings settings;
    settings.ModbusMode = 1;
    settings.ModbusFormat = 6;
    settings.StationNumber = 9; // the drive answers station 1 only
    ASSERT_TRUE(WriteSettingsFile(SettingsFilePath(BrandNormal), settings, BrandNormal, 4));
    StartDrive();
    HandOff("1");
    ASSERT_TRUE(StartApp());
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Communicate between PC and Servo Error!");
    EXPECT_EQ(ConnectedFlag.load(), 0);
    EXPECT_FALSE(PortObject.IsOpen());
}

TEST_F(ShellConnect, PortAlreadyOpenGoesOnWithDn03AndDn04) {
    StartDrive();
    HandOff("1");
    ASSERT_EQ(PortObject.Open(server.VirtualPortPath().c_str(), 9600, 500, 20000, 20000), ErrNone);
    ASSERT_TRUE(StartApp());
    const std::vector<std::string> log = Requests();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(Prefix(log, 2), (std::vector<std::string>{Read1(0x0F03), Read1(0x0F04)}));
    EXPECT_EQ(ConnectedFlag.load(), 1);
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(ShellConnect, PortThatCannotBeOpenedIsReported) {
    HandOff("1"); // no drive: the port does not exist
    ASSERT_TRUE(StartApp());
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Communicate Error!\nCan't open COM port!");
    EXPECT_EQ(ConnectedFlag.load(), 0);
}

TEST_F(ShellConnect, DisconnectClosesThePortAndTheStatusBarShowsOffline) {
    StartDrive();
    HandOff("1");
    ASSERT_TRUE(StartApp());
    ASSERT_EQ(ConnectedFlag.load(), 1);
    Frame()->UpdateCommandUI();
    EXPECT_FALSE(Frame()->m_wndToolBar.IsButtonEnabled(ID_EDIT_ONLINE_PARAMETER))
        << "windows of later parts are not there: their commands stay disabled";
    EXPECT_FALSE(CommandEnabled(ID_CONNECT));
    EXPECT_TRUE(CommandEnabled(ID_DISCONNECT));
    View()->SendMessage(WM_COMMAND, ID_DISCONNECT);
    EXPECT_EQ(ConnectedFlag.load(), 0);
    EXPECT_EQ(View()->LinkOpenIndicator, 0);
    EXPECT_FALSE(PortObject.IsOpen());
    EXPECT_EQ(PaneText(3), "Servo Offline");
    EXPECT_EQ(PaneText(6), "Message: Disconnect");
    EXPECT_TRUE(CommandEnabled(ID_CONNECT));
    EXPECT_FALSE(CommandEnabled(ID_DISCONNECT));
    const size_t before = Requests().size();
    Tick();
    Tick(ServoStatusTimer);
    EXPECT_EQ(Requests().size(), before) << "an unlinked view leaves the drive alone";

    // Connect again through the dialog, choosing the drive's entry.
    ChooseTheDrivesEntry(*this);
    View()->SendMessage(WM_COMMAND, ID_CONNECT);
    EXPECT_EQ(portDialogs, 1);
    EXPECT_EQ(ConnectedFlag.load(), 1);
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(ShellConnect, LinkedIdleViewRechecksEveryEleventhTick) {
    StartDrive();
    HandOff("1");
    ASSERT_TRUE(StartApp());
    drive.ClearLog();
    for (int tick = 1; tick <= 10; ++tick)
        Tick();
    EXPECT_FALSE(Contains(Requests(), Read1(0x0F03))) << "ten ticks run only the status refresh";
    Tick();
    EXPECT_TRUE(Contains(Requests(), Read1(0x0F03))) << "the eleventh re-checks the link";
    EXPECT_EQ(ConnectedFlag.load(), 1);

    // A busy view never re-checks, and runs no cycle.
    drive.ClearLog();
    View()->ViewBusyFlag = 1;
    for (int tick = 0; tick < 15; ++tick)
        Tick();
    EXPECT_TRUE(Requests().empty());
    View()->ViewBusyFlag = 0;
}

TEST_F(ShellConnect, SilentDriveDuringSupervisionShowsOneMessageThenDisconnect) {
    StartDrive();
    HandOff("1");
    ASSERT_TRUE(StartApp());
    drive.AddFault({.kind = SimFaultKind::Silent});
    Tick();
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Communicate Error!\n\nDisconnect !!");
    EXPECT_EQ(messages.Shown()[0].caption, "Communication Message");
    EXPECT_EQ(ConnectedFlag.load(), 0);
    EXPECT_EQ(View()->LinkOpenIndicator, 0);
    EXPECT_FALSE(PortObject.IsOpen());
    for (int tick = 0; tick < 12; ++tick)
        Tick();
    EXPECT_EQ(messages.Shown().size(), 1u) << "the supervision stops until the next connect";
    EXPECT_EQ(PaneText(6), "Message: Disconnect");
}

TEST_F(ShellConnect, OneFailedCycleDropsTheLinkAtOnceAndNoLateValueGoesAstray) {
    StartDrive();
    HandOff("1");
    ASSERT_TRUE(StartApp());
    const int modeBefore = DriveControlMode;
    // The control-mode read is answered after its exchange gave up, by most of a turnaround.
    drive.SetRegister(0x1702, 2);
    drive.AddFault({.kind = SimFaultKind::Delay,
                    .address = 0x1702,
                    .count = 1,
                    .delay = std::chrono::milliseconds(PortObject.ExchangeTimeoutMs(8, 7) +
                                                       PortObject.TurnaroundMs() * 4 / 5)});
    drive.ClearLog();
    Tick();
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Communicate Error!\n\nDisconnect !!");
    EXPECT_EQ(ConnectedFlag.load(), 0);
    EXPECT_FALSE(PortObject.IsOpen());
    EXPECT_EQ(Requests(), (std::vector<std::string>{Read1(0x1702)})) << "the cycle is not run again";
    EXPECT_EQ(DriveControlMode, modeBefore);
    EXPECT_EQ(PaneText(3), "Servo Offline");

    // Connect brings the link back, and the late answer is not taken for a later request.
    app->AutoConnect = {true, Entry(), 0};
    View()->SendMessage(WM_COMMAND, ID_CONNECT);
    ASSERT_EQ(ConnectedFlag.load(), 1);
    EXPECT_EQ(DriveControlMode, 2);
    EXPECT_EQ(messages.Shown().size(), 1u);
}

TEST_F(ShellConnect, ALossFoundInsideATransferIsShownDownAtOnceAndEndedAfterIt) {
    StartLinked();
    drive.AddFault({.kind = SimFaultKind::BadChecksum, .address = 0x0201, .count = 1});
    {
        CBusyHold pass(*View());
        EXPECT_FALSE(View()->ReadDriveRegister(0x0201));
        DispatchPendingMessages(); // the notice arrives while the transfer still runs
        EXPECT_EQ(PaneText(3), "Servo Offline") << "the status bar does not wait for the transfer";
        EXPECT_TRUE(messages.Shown().empty()) << "the transfer reports its failure first";
        Tick();
        EXPECT_TRUE(messages.Shown().empty());
    }
    Tick();
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Communicate Error!\n\nDisconnect !!");
    EXPECT_EQ(View()->LinkOpenIndicator, 0);
    EXPECT_TRUE(CommandEnabled(ID_CONNECT));
    Tick();
    EXPECT_EQ(messages.Shown().size(), 1u);
}

TEST_F(ShellConnect, UnpluggedDriveDuringSupervisionShowsOneMessage) {
    StartDrive();
    HandOff("1");
    ASSERT_TRUE(StartApp());
    server.Unplug();
    Tick();
    Tick();
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Communicate Error!\n\nDisconnect !!");
    EXPECT_EQ(ConnectedFlag.load(), 0);
}

TEST_F(ShellConnect, RemovalOfTheDrivesPortRunsTheLostLinkSequenceAnotherPortsDoesNothing) {
    StartDrive();
    HandOff("1");
    ASSERT_TRUE(StartApp());
    InjectDeviceChange(false, "ttyUSB77");
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_EQ(ConnectedFlag.load(), 1);

    InjectDeviceChange(false, portName);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text,
              "Communicate Error!\n\nThe USB port hardware device has been removed! "
              "!\n\nDisconnect !!");
    EXPECT_EQ(ConnectedFlag.load(), 0);
    EXPECT_FALSE(PortObject.IsOpen());
    EXPECT_EQ(PaneText(3), "Servo Offline");

    // The drive's port coming back reconnects without asking.
    messages.Clear();
    InjectDeviceChange(true, portName);
    EXPECT_EQ(portDialogs, 0);
    EXPECT_EQ(ConnectedFlag.load(), 1);
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(ShellConnect, ArrivalBeforeAnyDriveWasIdentifiedDoesNotConnect) {
    StartDrive();
    ASSERT_TRUE(StartApp()); // the port dialog is cancelled
    ASSERT_TRUE(SavePortChoice(Entry()));
    InjectDeviceChange(true, portName);
    EXPECT_EQ(ConnectedFlag.load(), 0);
    EXPECT_TRUE(Requests().empty());
}

TEST_F(ShellConnect, ArrivalOfAnotherUsbPortIsKeptForTheNextConnect) {
    StartDrive();
    HandOff("1");
    ASSERT_TRUE(StartApp());
    InjectDeviceChange(false, portName);
    ASSERT_EQ(ConnectedFlag.load(), 0);
    messages.Clear();

    // The same drive comes back on another USB port; a port that is no USB interface says nothing.
    CSimDrive moved{4};
    CSimPtyServer movedServer{moved};
    CSimDrive modem{4};
    CSimPtyServer modemServer{modem};
    std::string error;
    ASSERT_TRUE(movedServer.Start({.name = portName + "m", .description = "KeloServo drive (USB)"}, &error))
        << error;
    ASSERT_TRUE(modemServer.Start({.name = portName + "s", .description = "Communications Port"}, &error))
        << error;
    InjectDeviceChange(true, portName + "s");
    EXPECT_FALSE(app->AutoConnect.flag);
    InjectDeviceChange(true, portName + "m");
    EXPECT_EQ(ConnectedFlag.load(), 0) << "only the remembered port connects at once";
    EXPECT_TRUE(app->AutoConnect.flag);
    EXPECT_TRUE(moved.RequestLog().empty());

    View()->SendMessage(WM_COMMAND, ID_CONNECT);
    EXPECT_EQ(portDialogs, 0) << "the next Connect takes the arrived port without asking";
    EXPECT_EQ(ConnectedFlag.load(), 1);
    EXPECT_EQ(app->CurrentPortEntry, portName + "m : KeloServo drive (USB)");
    EXPECT_FALSE(app->AutoConnect.flag);
    EXPECT_FALSE(moved.RequestLog().empty());
    EXPECT_TRUE(modem.RequestLog().empty());
    EXPECT_TRUE(messages.Shown().empty());
    View()->SendMessage(WM_COMMAND, ID_DISCONNECT);
}

TEST_F(ShellConnect, DrivesRatedSpeedIsTheOneSpeedEveryWindowUses) {
    drive.SetRegister(0x1101, 2000);
    StartDrive();
    HandOff("1");
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(RatedSpeed, 2000);
    EXPECT_EQ(MotorMaxSpeed, 2000);

    // A new value reaches the document's defaults through the editor's refresh.
    CParaEditDlg* editor = View()->EditorWindow;
    ASSERT_NE(editor, nullptr);
    messages.Answer(IDNO); // the editor's offer to read the drive
    drive.SetRegister(0x1101, 2400);
    Tick();
    EXPECT_EQ(RatedSpeed, 2400);
    ASSERT_TRUE(FireTimerForTest(editor, ParaEditReadTimer));
    EXPECT_EQ(*app->ActiveDocument()->FindDefault("Cn007"), 800) << "a third of the rated speed";
}

TEST_F(ShellConnect, ServoStatusTimerReadsOnlyForTheJogWindows) {
    StartDrive();
    HandOff("1");
    ASSERT_TRUE(StartApp());
    drive.ClearLog();
    Tick(ServoStatusTimer);
    EXPECT_TRUE(Requests().empty());
    drive.SetServoOn(true);
    View()->ToolWindowOpenFlags[ToolJog] = true;
    Tick(ServoStatusTimer);
    EXPECT_EQ(Requests(), (std::vector<std::string>{Read1(0x1703)}));
    EXPECT_EQ(ServoOnFlag.load(), 1);
    EXPECT_EQ(View()->TimerInterval(ServoStatusTimer), 400) << "newer drives are polled faster";

    // A transfer pass holds the line: the tick that fires between two of its requests stays off it.
    drive.SetServoOn(false);
    drive.ClearLog();
    {
        CBusyHold pass(*View());
        Tick(ServoStatusTimer);
        EXPECT_TRUE(Requests().empty());
        EXPECT_EQ(ServoOnFlag.load(), 1);
    }
    EXPECT_EQ(View()->ViewBusyFlag, 0);
    Tick(ServoStatusTimer);
    EXPECT_EQ(Requests(), (std::vector<std::string>{Read1(0x1703)}));
    EXPECT_EQ(ServoOnFlag.load(), 0);
}

} // namespace

namespace {

TEST_F(ShellConnect, ChangedMotorKeepsAnEditedDocumentAndTellsTheUser) {
    drive.SetRegister(0x0F08, 0x1234);
    StartDrive();
    ASSERT_TRUE(StartApp()); // the start-up dialog is cancelled
    CKeloServoDocument* doc = app->ActiveDocument();
    doc->Value(DocCn, 2) = 3;
    doc->SetModifiedFlag();
    app->AutoConnect = {true, Entry(), 0};
    View()->SendMessage(WM_COMMAND, ID_CONNECT);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Motor Type changed!");
    EXPECT_EQ(messages.Shown()[0].type & MB_ICONMASK, 0u);
    EXPECT_EQ(doc->Value(DocCn, 2), 3);
    EXPECT_EQ(ConnectedFlag.load(), 1);
}

TEST_F(ShellConnect, StopsKeptWhileUnlinkedOutliveANewDocument) {
    StartDrive();
    HandOff("1");
    ASSERT_TRUE(StartApp());
    View()->SendMessage(WM_COMMAND, ID_DISCONNECT);
    View()->Stops.Send("jog", [](CRegisterServices& s) { return s.WriteDriveRegister(0x0201, 0) != 0; });
    Frame()->SendMessage(WM_COMMAND, ID_FILE_NEW);
    EXPECT_EQ(View()->Stops.KeptMotions(), std::vector<std::string>{"jog"});
    drive.ClearLog();
    app->AutoConnect = {true, Entry(), 0};
    View()->SendMessage(WM_COMMAND, ID_CONNECT);
    ASSERT_EQ(ConnectedFlag.load(), 1);
    ASSERT_FALSE(Requests().empty());
    EXPECT_EQ(Requests().front(), Maker("W102010000")) << "the new view sends it first";
}

TEST_F(ShellConnect, NewDocumentKeepsTheLinkAndTheLinkPaneOffersConnect) {
    StartDrive();
    HandOff("1");
    ASSERT_TRUE(StartApp());
    Frame()->SendMessage(WM_COMMAND, ID_FILE_NEW);
    EXPECT_EQ(ConnectedFlag.load(), 1);
    EXPECT_EQ(View()->LinkOpenIndicator, 1);
    Tick();
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_EQ(PaneText(3), "Servo Online");

    // A double-click on the link pane while linked does nothing; unlinked it asks for the port.
    CRect pane;
    ASSERT_TRUE(Frame()->m_wndStatusBar.GetItemRect(3, &pane));
    Frame()->m_wndStatusBar.OnPaneDoubleClick(CPoint(pane.left + 2, pane.top + 2));
    EXPECT_EQ(portDialogs, 0);
    View()->SendMessage(WM_COMMAND, ID_DISCONNECT);
    Frame()->m_wndStatusBar.OnPaneDoubleClick(CPoint(pane.left + 2, pane.top + 2));
    EXPECT_EQ(portDialogs, 1);
    EXPECT_TRUE(messages.Shown().empty());
}

} // namespace

namespace {

// A reply that fails its check, wherever it comes: the link is down as after any lost link (status
// bar, menus, one message beside the window's own), and Connect brings it back.
struct CorruptReplyCase {
    const char* name;
    SimFault fault;
    // What the user does that meets the bad reply, and how the boxes of his window begin.
    std::function<void(ShellUiFixture&)> act;
    std::vector<std::string> windowBoxes;
    friend void PrintTo(const CorruptReplyCase& c, std::ostream* out) { *out << c.name; }
};

const std::string kReadQuestion = "Do you want to read the parameters of the Servo drive?";

class CorruptReply : public ShellUiFixture, public ::testing::WithParamInterface<CorruptReplyCase> {};

void ReadAll(ShellUiFixture& t) {
    // The editor asks whether to read the drive; the first button is Yes.
    t.View()->SendMessage(WM_COMMAND, ID_EDIT_PARAMETER);
}

void StatusRefresh(ShellUiFixture& t) {
    t.Tick();
}

void WriteRow(ShellUiFixture& t) {
    t.messages.Answer(IDNO); // no read-all on opening
    t.View()->SendMessage(WM_COMMAND, ID_EDIT_PARAMETER);
    CParaEditDlg* editor = t.View()->EditorWindow;
    ASSERT_NE(editor, nullptr);
    const int row = editor->FindRow("Cn025");
    ASSERT_GE(row, 0);
    editor->m_list.SetCheck(row, TRUE);
    ui::Press(*editor, IDC_PE_WRITE);
}

TEST_P(CorruptReply, TheLinkIsDownEverywhereAndConnectBringsItBack) {
    const CorruptReplyCase& c = GetParam();
    StartLinked();
    const uint16_t cn025 = static_cast<uint16_t>(*ParamCodeRegisterAddress("Cn025"));
    drive.AddFault(c.fault);
    c.act(*this);
    DispatchPendingMessages(); // the link's notice of the loss

    EXPECT_EQ(ConnectedFlag.load(), 0);
    EXPECT_FALSE(PortObject.IsOpen());
    EXPECT_EQ(View()->LinkOpenIndicator, 0);
    EXPECT_EQ(PaneText(3), "Servo Offline");
    EXPECT_EQ(PaneColour(3), PaneRed);
    EXPECT_EQ(PaneText(6), "Message: Disconnect");
    EXPECT_TRUE(CommandEnabled(ID_CONNECT));
    EXPECT_FALSE(CommandEnabled(ID_DISCONNECT));
    ui::Screenshot(*Frame(), std::string("LinkLost-") + c.name);
    // What the window said (its failure box, if its exchange met the reply), then the one lost-link
    // box.
    std::vector<std::string> expected = c.windowBoxes;
    expected.push_back("Communicate Error!\n\nDisconnect !!");
    ASSERT_EQ(messages.Shown().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(messages.Shown()[i].text.substr(0, expected[i].size()), expected[i]);
    EXPECT_EQ(messages.Shown().back().caption, "Communication Message");

    // Nothing more goes out and nothing more is said until the user connects.
    drive.ClearLog();
    for (int tick = 0; tick < 12; ++tick)
        Tick();
    Tick(ServoStatusTimer);
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(messages.Shown().size(), expected.size());

    drive.SetRegister(0x1702, 2);
    drive.SetRegister(cn025, 321);
    ChooseTheDrivesEntry(*this);
    View()->SendMessage(WM_COMMAND, ID_CONNECT);
    EXPECT_EQ(portDialogs, 1) << "the Port Set window opens";
    ASSERT_EQ(ConnectedFlag.load(), 1);
    EXPECT_EQ(PaneText(3), "Servo Online");
    EXPECT_EQ(DriveControlMode, 2);
    EXPECT_EQ(View()->ReadDriveParameter("Cn025"), 321);
    EXPECT_EQ(messages.Shown().size(), expected.size());
}

INSTANTIATE_TEST_SUITE_P(
    Where, CorruptReply,
    ::testing::Values(CorruptReplyCase{"ReadAll",
                                       {.kind = SimFaultKind::BadChecksum,
                                        .requestKind = SimRequestKind::MakerRead,
                                        .skip = 40,
                                        .count = 1},
                                       ReadAll,
                                       {kReadQuestion, "Error:\n\n"}},
                      CorruptReplyCase{"StatusRefresh",
                                       {.kind = SimFaultKind::BadChecksum, .address = 0x1703, .count = 1},
                                       StatusRefresh,
                                       {}},
                      CorruptReplyCase{"Write",
                                       {.kind = SimFaultKind::Garbage,
                                        .requestKind = SimRequestKind::MakerWrite,
                                        .count = 1},
                                       WriteRow,
                                       {kReadQuestion, "Error:\n\nWriting parameters...Cn025"}}),
    [](const ::testing::TestParamInfo<CorruptReplyCase>& info) { return std::string(info.param.name); });

} // namespace
