// The box viewer against the simulated drive: opening, the ready poll, Trace Setting and Write,
// reading a record with START, stopping, files, the close that stops the thread, and the layout.
#include "BoxViewerFixture.h"

#include "box/ui/BOXSetupDlg.h"
#include "layout/BoxLayoutTable.h"
#include "tests/framework/ui/UiTestSupport.h"
#include "tests/layout/LayoutTableText.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/MessageProbe.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TestTime.h"
#include "tests/support/UserDocument.h"
#include "tests/trace/DriveRecords.h"

#include "catalogue/KeloServoDoc.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/Clipboard.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/SliderCtrl.h"
#include "link/LinkState.h"
#include "resources/ids/box.h"
#include "trace/AcquisitionThreads.h"
#include "trace/GraphServices.h"
#include "trace/TraceDataFile.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

using tracetest::ReadFrame;
using tracetest::WriteFrame;

void BoxViewerFixture::SetUp() {
    OpenWorld("boxviewer", 4, "ttyBOX");
    if (HasFatalFailure())
        return;
    machine = std::make_unique<CSimMachine>(*drive);
    machine->SetDemonstrationProfile(true); // records of a moving motor
    drive->SetServoOn(true);
    view.document = doc.get();
    view.services.Document = doc.get();
    RecordPointCount = 5120;
    TraceMode = -1;
    ChannelReverse.fill(0);
    ClearChannelDeques({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18});
    StopEvent.ResetEvent();
}

void BoxViewerFixture::TearDown() {
    CDialog::SetModalHookForTest(nullptr);
    if (IsOpen())
        viewer->CloseViewer();
    viewer = nullptr;
    CloseWorld();
}

CBOXDlg* BoxViewerFixture::Open() {
    viewer = new CBOXDlg(view, nullptr);
    EXPECT_TRUE(viewer->Create());
    viewer->ShowWindow(SW_SHOW); // as the view's command shows it, so the user can click it
    life_ = viewer->Life();
    return viewer;
}

std::vector<std::string> BoxViewerFixture::MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& shown : messages->Shown())
        texts.push_back(shown.text);
    return texts;
}

void BoxViewerFixture::RecordOnDrive(int interval) {
    for (auto [address, value] :
         {std::pair{0x1525, 0}, {0x1526, 0}, {0x1527, interval}, {0x1521, 0}, {0x1523, 0}, {0x1525, 1}})
        ASSERT_EQ(view.services.WriteDriveRegister(address, value), 1);
    machine->Advance(int64_t{interval} * 100 * 530);
    // The ready poll of an open viewer sees the record.
    if (IsOpen()) {
        ASSERT_TRUE(FireTimerForTest(viewer, RecordReadyTimer));
    }
    drive->ClearLog();
}

void BoxViewerFixture::ConfirmSettings(std::array<int, 4> channelSignals) {
    ui::ModalScript script(
        {{IDD_BOX_SET, [&](CDialog& dialog) {
              auto& setup = static_cast<CBOXSetupDlg&>(dialog);
              ui::Type(setup, IDC_BS_INTERVAL, "50");
              for (size_t k = 0; k < 4; ++k)
                  ui::Choose(setup, IDC_BS_TYPE1 + static_cast<int>(k),
                             BoxDataTypeItemOf(BoxDataTypeList(setup.DioFunctionWords), channelSignals[k]));
              ui::Press(setup, IDOK);
          }}});
    ui::Press(*viewer, IDC_BOX_TRACE_SETTING);
}

void BoxViewerFixture::RunRecordRead() {
    ASSERT_TRUE(FireTimerForTest(viewer, ThreadStartTimer));
    ASSERT_NE(viewer->ReadThread, nullptr);
    for (int i = 0; i < 500 && viewer->ReadThread->ExitCode() == STILL_ACTIVE; ++i)
        viewer->ReadThread->Wait(20);
    ASSERT_TRUE(FireTimerForTest(viewer, RecordCollectTimer));
}

namespace {

bool Enabled(CWnd& window, int id) {
    return window.GetDlgItem(id)->IsWindowEnabled() != 0;
}

using BoxViewer = BoxViewerFixture;

TEST_F(BoxViewer, OpensWithTheKeptSettingsAndPollsTheRecordFlag) {
    view.keptFlag = true;
    view.kept.channelSignals = {21, 2, 0, 32};
    view.kept.colorIndices = {0, 1, 2, 3};
    view.kept.scaleIndices = {4, 0, 0, 1};
    view.kept.sampleInterval = 50;
    view.kept.samplePeriodRaw = 500000;
    view.kept.pointCount = 512;
    view.kept.triggerSource = 21;
    view.kept.triggerEdge = 1;
    view.kept.triggerPosition = 10;
    RecordPointCount = 512;
    Open();
    EXPECT_EQ(viewer->ChannelSignal, view.kept.channelSignals);
    EXPECT_EQ(ui::SelectedText(*viewer, IDC_BOX_SCALE1), "10");
    EXPECT_EQ(ui::SelectedText(*viewer, IDC_BOX_SCALE2), "AUTO");
    EXPECT_EQ(ui::SelectedText(*viewer, IDC_BOX_TIME_BASE), "256.00") << "512 x 5 ms / 10 per division";
    EXPECT_EQ(viewer->ChannelLegend[0], "Speed Command [rpm]");
    EXPECT_EQ(viewer->GetDlgItem(IDC_BOX_TRIGGER_EDGE)->GetWindowText(), "Fall");
    EXPECT_TRUE(Enabled(*viewer, IDC_BOX_ZOOM_IN));
    EXPECT_TRUE(viewer->RecordShown);

    // Timer 2000: START only while 0x1523 reads non-zero.
    drive->ClearLog();
    ASSERT_TRUE(FireTimerForTest(viewer, RecordReadyTimer));
    EXPECT_FALSE(Enabled(*viewer, IDC_BOX_START));
    EXPECT_EQ(Requests(), std::vector<std::string>{Read1(0x1523)});
    RecordOnDrive();
    ASSERT_TRUE(FireTimerForTest(viewer, RecordReadyTimer));
    EXPECT_TRUE(Enabled(*viewer, IDC_BOX_START));
}

TEST_F(BoxViewer, AFailedReadAtOpeningLeavesTheMemberAsItWas) {
    drive->SetRegister(0x1525, 1);
    drive->SetRegister(0x1527, 7);
    drive->AddFault(
        {.kind = SimFaultKind::Refuse, .address = 0x1526, .requestKind = SimRequestKind::MakerRead});
    Open();
    EXPECT_EQ(viewer->TriggerSource, 0) << "not the 1 that 0x1525 read";
    EXPECT_EQ(viewer->SampleInterval, 7);
}

// A drive as it leaves the factory: the interval it holds is one BOX Set takes as it stands.
TEST_F(BoxViewer, TheFactoryIntervalPassesTheFirstOk) {
    Open();
    EXPECT_EQ(viewer->SampleInterval, 1);
    ui::ModalScript script({{IDD_BOX_SET, [&](CDialog& dialog) {
                                 EXPECT_EQ(dialog.GetDlgItem(IDC_BS_INTERVAL)->GetWindowText(), "1");
                                 EXPECT_EQ(dialog.GetDlgItem(IDC_BS_INTERVAL_MS)->GetWindowText(), "0.1");
                                 ui::Press(dialog, IDOK);
                             }}});
    ui::Press(*viewer, IDC_BOX_TRACE_SETTING);
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_TRUE(view.keptFlag) << "OK took the settings";
    EXPECT_EQ(view.kept.sampleInterval, 1);
}

TEST_F(BoxViewer, TraceSettingReadsTheRecorderAndWriteArmsItInOrder) {
    drive->SetRegister(0x1526, 21);
    drive->SetRegister(0x1524, 10);
    drive->SetRegisterSigned(0x1529, -100);
    drive->SetRegister(0x1528, 1);
    drive->SetRegister(0x1527, 5);
    Open();
    drive->ClearLog();
    std::vector<std::string> atWrite;
    ui::ModalScript script(
        {{IDD_BOX_SET, [&](CDialog& dialog) {
              EXPECT_EQ(ui::SelectedText(dialog, IDC_BS_TRIGGER_SOURCE), "21.Speed Command");
              EXPECT_EQ(dialog.GetDlgItem(IDC_BS_LEVEL)->GetWindowText(), "-100");
              EXPECT_EQ(dialog.GetDlgItem(IDC_BS_INTERVAL_MS)->GetWindowText(), "0.5");
              atWrite = Requests();
              drive->ClearLog();
              ui::SetChecked(dialog, IDC_BS_ENABLE, true);
              ui::Press(dialog, IDC_BS_WRITE);
              const std::vector<std::string> armed = {Write1(0x1525, 0),
                                                      WriteFrame({{0x1526, 21}, {0x1524, 10}}),
                                                      WriteFrame({{0x1529, 0xFF9C}, {0x1528, 1}}),
                                                      Write1(0x1527, 5),
                                                      Write1(0x1521, 0),
                                                      Write1(0x1523, 0),
                                                      Write1(0x1525, 1)};
              EXPECT_EQ(Requests(), armed);
              drive->ClearLog();
              ui::SetChecked(dialog, IDC_BS_ENABLE, false);
              ui::Press(dialog, IDC_BS_WRITE);
              EXPECT_EQ(Requests(), std::vector<std::string>{Write1(0x1525, 0)});
          }}});
    ui::Press(*viewer, IDC_BOX_TRACE_SETTING);
    ASSERT_EQ(script.Opened(), std::vector<UINT>{IDD_BOX_SET});
    const std::vector<std::string> reads = {Read1(0x1526), Read1(0x1524), Read1(0x1529), Read1(0x1528),
                                            Read1(0x1527)};
    ASSERT_GE(atWrite.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(atWrite.begin(), atWrite.begin() + 5), reads);
    EXPECT_GT(atWrite.size(), 7u) << "the contact block lies between";
    EXPECT_EQ(atWrite.back(), Read1(0x1525)) << "the dialog's own read of the enable";
    EXPECT_TRUE(MessageTexts().empty());
}

// The signal lists name the functions the drive runs its pins with (its contact block); the
// user's own Hn values, unsaved edits included, stay in the document, in what a save writes and in
// its modified mark.
TEST_F(BoxViewer, TraceSettingListsTheDrivesFunctionsAndLeavesTheUsersValues) {
    const UserDocument before = EditPinFunctions(*doc, home_->Path("before.zpf"));
    ASSERT_FALSE(before.saved.empty());
    Open();
    ui::ModalScript script({{IDD_BOX_SET, [&](CDialog& dialog) {
                                 auto* list = static_cast<CComboBox*>(dialog.GetDlgItem(IDC_BS_TYPE1));
                                 EXPECT_EQ(list->GetLBText(1), "1.DI-1 - SON");
                                 EXPECT_EQ(list->GetLBText(13), "13.DO-1 - RDY");
                                 EXPECT_EQ(list->GetLBText(14), "14.DO-2 - ALM");
                                 ui::Choose(dialog, IDC_BS_TYPE1, 1);
                                 ui::Choose(dialog, IDC_BS_TYPE2, 13);
                                 ui::Screenshot(dialog, "box-set-contact-functions");
                                 ui::Press(dialog, IDCANCEL);
                             }}});
    ui::Press(*viewer, IDC_BOX_TRACE_SETTING);
    ASSERT_EQ(script.Opened(), std::vector<UINT>{IDD_BOX_SET});
    EXPECT_EQ(TakeUserDocument(*doc, home_->Path("after.zpf")), before);
}

TEST_F(BoxViewer, ARefusedStepStopsTheArmingWithAMessage) {
    Open();
    drive->AddFault(
        {.kind = SimFaultKind::Refuse, .address = 0x1527, .requestKind = SimRequestKind::MakerWrite});
    ui::ModalScript script({{IDD_BOX_SET, [&](CDialog& dialog) {
                                 drive->ClearLog();
                                 ui::SetChecked(dialog, IDC_BS_ENABLE, true);
                                 ui::Press(dialog, IDC_BS_WRITE);
                                 const auto log = Requests();
                                 ASSERT_EQ(log.size(), 4u);
                                 EXPECT_EQ(log.back().substr(0, 6), "W11527");
                                 // A second 32-bit type is refused before anything is sent.
                                 drive->ClearLog();
                                 ui::Choose(dialog, IDC_BS_TYPE1, 5); // 25 Position Error... by item
                                 auto& setup = static_cast<CBOXSetupDlg&>(dialog);
                                 setup.ChannelSignal = {25, 43, 0, 0};
                                 ui::Press(dialog, IDC_BS_WRITE);
                                 EXPECT_TRUE(Requests().empty());
                             }}});
    ui::Press(*viewer, IDC_BOX_TRACE_SETTING);
    const auto texts = MessageTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find("the interval"), std::string::npos) << texts[0];
    EXPECT_EQ(texts[1], LoadResString(IDS_BOX_SECOND_WIDE));
}

TEST_F(BoxViewer, StartReadsOneRecordAndEndsByItself) {
    Open();
    ConfirmSettings({21, 2, 0, 0});
    ASSERT_EQ(RecordPointCount, 512);
    EXPECT_TRUE(view.keptFlag);
    EXPECT_EQ(view.kept.channelSignals, (std::array<int, 4>{21, 2, 0, 0}));
    RecordOnDrive();
    ui::Press(*viewer, IDC_BOX_START);
    EXPECT_EQ(viewer->AcquisitionRunning, 1);
    EXPECT_FALSE(Enabled(*viewer, IDC_BOX_OPEN)) << "the file buttons wait";
    EXPECT_EQ(view.services.ViewBusyFlag, 0) << "put back when the toggle returns";
    RunRecordRead();
    EXPECT_EQ(viewer->AcquisitionRunning, 0) << "the run ended by itself";
    EXPECT_EQ(viewer->ReadThread, nullptr);
    EXPECT_TRUE(Enabled(*viewer, IDC_BOX_OPEN));
    const auto log = Requests();
    ASSERT_EQ(log.size(), 11u);
    EXPECT_EQ(log[0], Read1(0x1523));
    for (int block = 0; block < 8; ++block)
        EXPECT_EQ(log[1 + static_cast<size_t>(block)].substr(0, 2), "R9") << block;
    EXPECT_EQ(log[9], Write1(0x1525, 0));
    EXPECT_EQ(log[10], Write1(0x1505, 0)) << "the stop routine";
    const auto& sine = viewer->SampleVectors[1];
    ASSERT_EQ(sine.size(), 512u);
    EXPECT_GT(*std::max_element(sine.begin(), sine.end()), 1000);
    EXPECT_LT(*std::min_element(sine.begin(), sine.end()), -1000);
    const auto& bits = viewer->SampleVectors[2];
    EXPECT_TRUE(std::all_of(bits.begin(), bits.end(), [](int v) { return v == 0 || v == 1; }));
    EXPECT_NE(std::count(bits.begin(), bits.end(), 1), 0);
    EXPECT_NE(std::count(bits.begin(), bits.end(), 0), 0);
    EXPECT_EQ(TraceSampleBuffers[0][100], sine[100]) << "the saved copy";
    viewer->MoveWindow(0, 0, 910, 609); // the size a small screen opens it at
    QCoreApplication::processEvents();
    ui::Screenshot(*viewer, "box-viewer-small");
}

// A line that damages a share of the block answers: the viewer plots the record as the drive
// sampled it, sample for sample (channel 1 a sine, channel 2 a whole signed word).
TEST_F(BoxViewer, ADamagedBlockIsReadAgainSoTheRecordIsTheDrives) {
    Open();
    ConfirmSettings({21, 32, 0, 0});
    RecordOnDrive();
    drive->AddFault({.kind = SimFaultKind::Corrupt,
                     .requestKind = SimRequestKind::MakerBlockRead,
                     .percent = 25,
                     .seed = 2});
    drive->ClearLog();
    ui::Press(*viewer, IDC_BOX_START);
    RunRecordRead();
    const tracetest::DriveRecords sent = tracetest::RecordsTheDriveSent(drive->Log());
    EXPECT_GT(sent.damaged, 0);
    EXPECT_EQ(sent.stayedBad, 0);
    ASSERT_EQ(sent.records.size(), 512u);
    for (size_t channel : {1u, 2u}) {
        const auto& shown = viewer->SampleVectors[channel];
        ASSERT_EQ(shown.size(), 512u) << channel;
        for (size_t k = 0; k < shown.size(); ++k)
            if (shown[k] != static_cast<int16_t>(sent.records[k][channel])) {
                ADD_FAILURE() << "channel " << channel << ", sample " << k << " shows " << shown[k]
                              << ", the drive sent " << static_cast<int16_t>(sent.records[k][channel]);
                break;
            }
    }
}

// A damaged status reply right after START drops the link before any block is read: the record
// holds nothing, so there is nothing to save, as before any record.
TEST_F(BoxViewer, ALinkLostBeforeTheFirstBlockLeavesNothingToSave) {
    Open();
    ConfirmSettings({21, 32, 0, 0});
    RecordOnDrive();
    drive->AddFault({.kind = SimFaultKind::Corrupt,
                     .address = 0x1523,
                     .requestKind = SimRequestKind::MakerRead,
                     .count = 1});
    drive->ClearLog();
    ui::Press(*viewer, IDC_BOX_START);
    RunRecordRead();
    ASSERT_EQ(ConnectedFlag.load(), 0) << "the damaged reply dropped the link";
    const auto log = drive->Log();
    ASSERT_TRUE(std::none_of(log.begin(), log.end(),
                             [](const SimLogEntry& e) { return e.kind == SimRequestKind::MakerBlockRead; }));
    EXPECT_EQ(viewer->AcquisitionRunning, 0);
    EXPECT_TRUE(Enabled(*viewer, IDC_BOX_OPEN));
    EXPECT_FALSE(Enabled(*viewer, IDC_BOX_SAVE_AS));
    EXPECT_FALSE(Enabled(*viewer, IDC_BOX_SAVE));
    ui::Screenshot(*viewer, "box-viewer-nothing-to-save");
    // Not even a command that reaches the window some other way writes zeros as a record.
    const std::string path = home_->Path("nothing.csv");
    messages->AnswerFile(path);
    for (int id : {IDC_BOX_SAVE_AS, IDC_BOX_SAVE})
        viewer->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    EXPECT_TRUE(messages->FileRequests().empty());
    EXPECT_FALSE(std::filesystem::exists(path));
}

// The link drops in the middle of the read: the viewer shows the blocks it read, and both forms of
// Save As write what it shows, row for row.
TEST_F(BoxViewer, ALinkLostAfterSomeBlocksSavesWhatTheViewerShows) {
    Open();
    ConfirmSettings({21, 32, 0, 0});
    RecordOnDrive();
    drive->AddFault(
        {.kind = SimFaultKind::DropLink, .requestKind = SimRequestKind::MakerBlockRead, .skip = 3});
    ui::Press(*viewer, IDC_BOX_START);
    RunRecordRead();
    ASSERT_EQ(ConnectedFlag.load(), 0) << "the link dropped";
    const auto& sine = viewer->SampleVectors[1];
    ASSERT_GT(std::count_if(sine.begin(), sine.end(), [](int32_t v) { return v != 0; }), 100)
        << "the three blocks read are shown";
    ASSERT_TRUE(Enabled(*viewer, IDC_BOX_SAVE_AS));
    const std::string csvPath = home_->Path("lost.csv"), trdPath = home_->Path("lost.trd");
    for (const std::string& path : {csvPath, trdPath}) {
        messages->AnswerFile(path);
        ui::Press(*viewer, IDC_BOX_SAVE_AS);
    }
    std::ifstream csv(csvPath);
    std::string line;
    for (int header = 0; header < 3; ++header)
        std::getline(csv, line);
    TraceRecording saved;
    ASSERT_TRUE(ReadTraceFile(trdPath, TraceFileForm::Box, saved).ok);
    for (size_t row = 0; row < sine.size(); ++row) {
        ASSERT_TRUE(std::getline(csv, line)) << "row " << row;
        const size_t comma = line.find(',');
        const long cell = std::strtol(line.c_str() + comma + 1, nullptr, 10);
        ASSERT_EQ(cell, sine[row]) << "CSV row " << row;
        ASSERT_EQ(saved.samples[0][row], sine[row]) << ".trd row " << row;
        ASSERT_EQ(saved.samples[1][row], viewer->SampleVectors[2][row]) << ".trd row " << row;
    }
}

TEST_F(BoxViewer, StartDuringThePollStopsIt) {
    Open();
    ConfirmSettings({21, 0, 0, 0});
    // START is enabled by a finished record; the next record is then being waited for.
    RecordOnDrive();
    ASSERT_TRUE(FireTimerForTest(viewer, RecordReadyTimer));
    view.services.WriteDriveRegister(0x1523, 0);
    ui::Press(*viewer, IDC_BOX_START);
    ASSERT_TRUE(FireTimerForTest(viewer, ThreadStartTimer));
    ASSERT_NE(viewer->ReadThread, nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    drive->ClearLog();
    ui::Press(*viewer, IDC_BOX_START);
    ASSERT_TRUE(SpinUntil([&] { return viewer->AcquisitionRunning == 0; }));
    EXPECT_EQ(viewer->ReadThread, nullptr) << "ended and deleted";
    const auto log = Requests();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), Write1(0x1505, 0));
    EXPECT_EQ(
        std::count_if(log.begin(), log.end(), [](const std::string& r) { return r.substr(0, 2) == "R9"; }),
        0);
}

// A slow line, each block answer 3.5 s on the wire (longer than the 3 s a stop waits at the least):
// STOP while a block of the record comes in returns at once, the window keeps handling messages
// while the block still comes, the read ends with that block (well before another could have come,
// and without giving up on it), a press meanwhile starts nothing, and the only write after STOP is
// the stop register.
TEST_F(BoxViewer, StopDuringASlowBlockEndsWithThatBlockAndStartsNothing) {
    using Clock = std::chrono::steady_clock;
    constexpr auto kBlockTime = std::chrono::milliseconds(3500);
    ASSERT_EQ(PortObject.SetupReadTimer(4800, ScaledMs(177)), ErrNone) << "time-outs of a slow line";
    MessageProbe probe;
    Open();
    ConfirmSettings({21, 2, 0, 0});
    RecordOnDrive();
    drive->AddFault(
        {.kind = SimFaultKind::Slow, .requestKind = SimRequestKind::MakerBlockRead, .delay = kBlockTime});
    auto blockReads = [&] {
        const auto log = Requests();
        return std::count_if(log.begin(), log.end(),
                             [](const std::string& r) { return r.substr(0, 2) == "R9"; });
    };
    ui::Press(*viewer, IDC_BOX_START);
    ASSERT_TRUE(FireTimerForTest(viewer, ThreadStartTimer));
    // The first block is on its way.
    ASSERT_TRUE(SpinUntil([&] { return blockReads() >= 1; }, ScaledMs(20000)));
    drive->ClearLog();

    const Clock::time_point pressed = Clock::now();
    ui::Press(*viewer, IDC_BOX_START);
    EXPECT_LT(Clock::now() - pressed, kBlockTime / 2) << "STOP does not wait for the block";
    EXPECT_TRUE(viewer->Stopping());
    EXPECT_FALSE(Enabled(*viewer, IDC_BOX_START));
    viewer->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BOX_START, BN_CLICKED), 0);
    probe.Post();
    ASSERT_TRUE(SpinUntil([&] { return probe.Handled(); }, ScaledMs(20000)));
    EXPECT_TRUE(viewer->Stopping()) << "messages are handled while the block still comes in";

    ASSERT_TRUE(
        SpinUntil([&] { return viewer->AcquisitionRunning == 0 && !viewer->Stopping(); }, ScaledMs(20000)));
    EXPECT_LT(Clock::now() - pressed, kBlockTime * 3 / 2) << "the block under way, not one more";
    EXPECT_TRUE(messages->Shown().empty());
    EXPECT_EQ(viewer->ReadThread, nullptr);
    SpinUntil([] { return false; }, 300); // anything still on its way
    EXPECT_EQ(viewer->AcquisitionRunning, 0);
    const auto log = Requests();
    EXPECT_EQ(blockReads(), 0) << "no block after the one under way";
    std::vector<std::string> writes;
    std::copy_if(log.begin(), log.end(), std::back_inserter(writes),
                 [](const std::string& r) { return r[0] == 'W'; });
    EXPECT_EQ(writes, std::vector<std::string>{Write1(0x1505, 0)});
}

// The copy is the window's own picture from the plot's corner: the grid where the paint put it.
TEST_F(BoxViewer, CopyToClipboardTakesThePlotAsShown) {
    Open();
    ConfirmSettings({21, 0, 0, 0});
    RecordOnDrive();
    ui::Press(*viewer, IDC_BOX_START);
    RunRecordRead();
    ui::Press(*viewer, IDC_BOX_COPY);
    const QImage copied = GetClipboardImage();
    ASSERT_EQ(copied.width(), 650);
    ASSERT_EQ(copied.height(), 550);
    // The window's picture may come in a shallower colour depth: white is any near-white.
    const auto white = [&](int x, int y) {
        const QColor c = copied.pixelColor(x, y);
        return std::min({c.red(), c.green(), c.blue()}) >= 0xF0;
    };
    EXPECT_TRUE(white(157, 55)) << "a grid dot";
    EXPECT_FALSE(white(158, 55)) << "a dot is one pixel";
    EXPECT_TRUE(white(164, 55));
    EXPECT_TRUE(white(300, 505)) << "the bottom border";
    EXPECT_FALSE(white(300, 506));
    EXPECT_TRUE(white(600, 300)) << "the right border";
}

TEST_F(BoxViewer, SavedRecordsOpenAgainWithEveryField) {
    Open();
    ConfirmSettings({21, 2, 0, 32});
    RecordOnDrive();
    ui::Press(*viewer, IDC_BOX_START);
    RunRecordRead();
    viewer->DioFunctionWords[20] = 321;
    viewer->DioFunctionWords[21] = 322;
    viewer->ExtraFlag = 1;
    viewer->ExtraWordsA[62] = -5;
    viewer->ExtraWordsB[19] = 77;
    viewer->CursorATime = 12.5f;
    viewer->ChannelScale[0] = 500;
    viewer->ChannelTop[0] = 2500;
    // Saved while zoomed: the file describes the view before the zoom.
    ui::Press(*viewer, IDC_BOX_ZOOM_IN);
    ASSERT_TRUE(viewer->Zoomed);
    const std::string path = home_->Path("record.trd");
    messages->AnswerFile(path);
    ui::Press(*viewer, IDC_BOX_SAVE);
    EXPECT_NE(viewer->GetWindowText().find(path), std::string::npos);
    const auto sine = viewer->SampleVectors[1];

    // Another record in between; then Open brings the file back.
    viewer->DioFunctionWords = {};
    viewer->ExtraWordsA = {};
    viewer->ExtraWordsB = {};
    viewer->ExtraFlag = 0;
    viewer->ChannelSignal = {0, 0, 0, 0};
    ui::Press(*viewer, IDC_BOX_ZOOM_OUT);
    messages->AnswerFile(path);
    ui::Press(*viewer, IDC_BOX_OPEN);
    EXPECT_EQ(viewer->ChannelSignal, (std::array<int, 4>{21, 2, 0, 32}));
    EXPECT_EQ(viewer->DioFunctionWords[20], 321);
    EXPECT_EQ(viewer->DioFunctionWords[21], 322);
    EXPECT_EQ(viewer->ExtraFlag, 1);
    EXPECT_EQ(viewer->ExtraWordsA[62], -5);
    EXPECT_EQ(viewer->ExtraWordsB[19], 77);
    EXPECT_FLOAT_EQ(viewer->CursorATime, 12.5f);
    EXPECT_FALSE(viewer->Zoomed);
    EXPECT_EQ(viewer->ChannelScale[0], 500) << "the scale before the zoom";
    EXPECT_EQ(viewer->ChannelTop[0], 2500);
    ASSERT_EQ(viewer->SampleVectors[1].size(), 513u);
    EXPECT_TRUE(std::equal(sine.begin(), sine.end(), viewer->SampleVectors[1].begin()));

    // CSV: 512 rows after the header and column lines.
    const std::string csvPath = home_->Path("record.csv");
    messages->AnswerFile(csvPath);
    ui::Press(*viewer, IDC_BOX_SAVE_AS);
    std::ifstream csv(csvPath);
    int lines = 0;
    for (std::string line; std::getline(csv, line);)
        ++lines;
    EXPECT_EQ(lines, 3 + 512);

    // A file that is no record: the message, and the record shown stays.
    const std::string bad = home_->Path("bad.trd");
    std::ofstream(bad) << "not a record\n";
    messages->Clear();
    messages->AnswerFile(bad);
    ui::Press(*viewer, IDC_BOX_OPEN);
    EXPECT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(viewer->DioFunctionWords[20], 321);
}

TEST_F(BoxViewer, TheStopTimeAutosaveFileOpens) {
    Open();
    ConfirmSettings({21, 0, 0, 0});
    RecordOnDrive();
    viewer->AutoSave = 1;
    viewer->AutoSavePath = home_->Path("").substr(0, home_->Path("").size() - 1);
    viewer->AutoSaveName = "box";
    viewer->UpdateData(FALSE);
    TraceMode = 2;
    ui::Press(*viewer, IDC_BOX_START);
    RunRecordRead();
    const std::string path = home_->Path("box000_000.trd");
    std::ifstream file(path);
    ASSERT_TRUE(file.good());
    TraceRecording record;
    const TraceFileRead read = ReadTraceFile(path, TraceFileForm::Box, record);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(record.sources[0], 21);
    EXPECT_EQ(record.samples[0][5], viewer->SampleVectors[1][5]) << "the record, not empty queues";
    EXPECT_TRUE(viewer->LoadTraceFile(path));
    EXPECT_EQ(viewer->AutosaveSetNumber, 1);

    // "Auto Save" lists the numbered files of the folder (others left out); picking one loads it.
    std::ofstream(home_->Path("other.trd")) << "x";
    std::ofstream(home_->Path("box-notes.txt")) << "x";
    viewer->OnAutoSaveCheck();
    auto* list = static_cast<CComboBox*>(viewer->GetDlgItem(IDC_BOX_AUTOSAVE_LIST));
    ASSERT_EQ(list->GetCount(), 1);
    EXPECT_EQ(list->GetLBText(0), "box000_000.trd");
    EXPECT_EQ(list->GetCurSel(), 0);
    EXPECT_TRUE(Enabled(*viewer, IDC_BOX_AUTOSAVE_LIST));
    EXPECT_TRUE(Enabled(*viewer, IDC_BOX_AUTOSAVE_REFRESH));
    viewer->ChannelSignal = {0, 0, 0, 0};
    viewer->OpenAutosaveFile();
    EXPECT_EQ(viewer->ChannelSignal[0], 21);
    EXPECT_NE(viewer->GetWindowText().find(path), std::string::npos);

    // A listed file gone meanwhile: reported, and the record shown stays.
    std::filesystem::remove(path);
    messages->Clear();
    viewer->ChannelSignal = {22, 0, 0, 0};
    viewer->OpenAutosaveFile();
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_NE(MessageTexts()[0].find("no longer there"), std::string::npos);
    EXPECT_EQ(viewer->ChannelSignal[0], 22);
    // The Update button sees the folder as it is now.
    viewer->OnRefreshAutosaveList();
    EXPECT_EQ(list->GetCount(), 0);
}

TEST_F(BoxViewer, OldFilesHaveTheirChannelCodesTranslatedOnce) {
    Open();
    TraceRecording old;
    old.sources = {11, 9, 10, 3};
    old.pointCount = 511;
    std::string bytes = EncodeTraceFile(old, TraceFileForm::BoxStopTime);
    // The same fields under the stamp of a file from before the codes were renumbered.
    bytes.replace(bytes.find("240126"), 6, "181115");
    const std::string path = home_->Path("old.trd");
    std::ofstream(path, std::ios::binary) << bytes;
    messages->AnswerFile(path);
    ui::Press(*viewer, IDC_BOX_OPEN);
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_EQ(viewer->ChannelSignal, (std::array<int, 4>{9, 34, 35, 3}));
}

TEST_F(BoxViewer, ClosingStopsARunningThreadFirst) {
    Open();
    ConfirmSettings({21, 0, 0, 0});
    RecordOnDrive();
    ASSERT_TRUE(FireTimerForTest(viewer, RecordReadyTimer));
    view.services.WriteDriveRegister(0x1523, 0);
    ui::Press(*viewer, IDC_BOX_START);
    ASSERT_TRUE(FireTimerForTest(viewer, ThreadStartTimer));
    ASSERT_NE(viewer->ReadThread, nullptr);
    CBOXDlg* closing = viewer;
    viewer->SendMessage(WM_CLOSE);
    EXPECT_FALSE(IsOpen()) << "the object is freed";
    EXPECT_EQ(view.closed, std::vector<CBOXDlg*>{closing});
    EXPECT_EQ(view.kept.scaleIndices, (std::array<int, 4>{0, 0, 0, 0}));
    // Cancel (the view's answer to a lost link) takes the same path.
    Open();
    viewer->SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_FALSE(IsOpen());
}

// A record of 0.1 ms x 512 after the trace window ran in each mode (or never): the viewer's times
// follow its own record everywhere, "AUTO" fits the new record, the trigger level stays, and a bit
// type on channel 4 shows its bit.
TEST_F(BoxViewer, TheRecordKeepsItsOwnTimesLevelAndBitsWhateverTheTraceWindowRan) {
    Open();
    ui::ModalScript script(
        {{IDD_BOX_SET, [&](CDialog& dialog) {
              auto& setup = static_cast<CBOXSetupDlg&>(dialog);
              const auto list = BoxDataTypeList(setup.DioFunctionWords);
              ui::Type(setup, IDC_BS_INTERVAL, "1");
              EXPECT_EQ(ui::Text(setup, IDC_BS_RECORD_TIME), "51.20");
              for (auto [id, code] :
                   {std::pair{IDC_BS_TYPE1, 21}, {IDC_BS_TYPE2, 0}, {IDC_BS_TYPE3, 0}, {IDC_BS_TYPE4, 5}})
                  ui::Choose(setup, id, BoxDataTypeItemOf(list, code));
              ui::Choose(setup, IDC_BS_TRIGGER_SOURCE, BoxDataTypeItemOf(list, 21));
              ui::SetChecked(setup, IDC_BS_ENABLE, true);
              ui::Type(setup, IDC_BS_LEVEL, "500");
              ui::Press(setup, IDC_BS_WRITE);
              ui::Press(setup, IDOK);
          }}});
    ui::Press(*viewer, IDC_BOX_TRACE_SETTING);
    ASSERT_EQ(drive->GetRegister(0x1529), 500);
    ui::SetChecked(*viewer, IDC_BOX_CURSOR, true);

    for (int mode : {TraceModeUnset, TraceModeSingle, TraceModeCycle, TraceModeMonitor}) {
        SCOPED_TRACE(mode);
        TraceMode = mode;
        RecordOnDrive(1);
        ui::Press(*viewer, IDC_BOX_START);
        RunRecordRead();
        if (HasFatalFailure())
            return;
        EXPECT_EQ(TraceMode, mode) << "the trace window's mode is not the viewer's";

        auto* list = static_cast<CComboBox*>(viewer->GetDlgItem(IDC_BOX_TIME_BASE));
        EXPECT_EQ(list->GetLBText(0), "5.12") << "a tenth of 51.20 ms";
        const double cursorB = 51.2 * viewer->CursorBX / (10.0 * viewer->DivisionPx());
        EXPECT_NEAR(std::stod(ui::Text(*viewer, IDC_BOX_TIME_B)), cursorB, 0.1);

        const std::string csvPath = home_->Path("times.csv");
        messages->AnswerFile(csvPath);
        ui::Press(*viewer, IDC_BOX_SAVE_AS);
        std::ifstream csv(csvPath);
        std::vector<double> times;
        int row = 0;
        for (std::string line; std::getline(csv, line);)
            if (++row > 3)
                times.push_back(std::stod(line));
        ASSERT_EQ(times.size(), 512u);
        EXPECT_NEAR(times[1] - times[0], 0.1, 0.0051);
        EXPECT_NEAR(times.back(), 51.1, 0.0051) << "the last sample at the axis' end";

        // "AUTO" (the lists' first item) fits channel 1 to this record.
        const auto& sine = viewer->SampleVectors[1];
        const int32_t peak = std::max(*std::max_element(sine.begin(), sine.end()),
                                      -*std::min_element(sine.begin(), sine.end()));
        EXPECT_EQ(viewer->ChannelScale[0], SelectScaleStep(peak));

        EXPECT_EQ(ui::Text(*viewer, IDC_BOX_TRIGGER_LEVEL), " 500 rpm");
        const auto& bits = viewer->SampleVectors[4];
        EXPECT_TRUE(std::all_of(bits.begin(), bits.end(), [](int32_t v) { return v == 0 || v == 1; }))
            << "DI-5 on channel 4 is a bit";
    }
    const std::string path = home_->Path("level.trd");
    messages->AnswerFile(path);
    ui::Press(*viewer, IDC_BOX_SAVE_AS);
    TraceRecording record;
    ASSERT_TRUE(ReadTraceFile(path, TraceFileForm::Box, record).ok);
    EXPECT_EQ(record.triggerLevel, 500);
    EXPECT_EQ(record.traceMode, TraceModeSingle) << "the record's own time rule, not the trace window's mode";
}

TEST_F(BoxViewer, LayoutFollowsTheWrittenTable) {
    int duplicates = 0;
    const auto written = ReadWrittenLayoutTable(
        std::string(KELO_SOURCE_DIR) + "/tests/fixtures/layout/box_layout_table.md", &duplicates);
    EXPECT_EQ(duplicates, 0);
    ASSERT_EQ(written.size(), kBoxLayoutEntries);
    for (const LayoutEntry& entry : BoxLayoutTable) {
        const auto it = written.find(entry.controlId);
        ASSERT_NE(it, written.end()) << entry.controlId;
        EXPECT_EQ(entry.horizontal, it->second.horizontal) << entry.controlId;
        EXPECT_EQ(entry.vertical, it->second.vertical) << entry.controlId;
    }
    Open();
    for (const LayoutEntry& entry : BoxLayoutTable)
        EXPECT_NE(viewer->GetDlgItem(entry.controlId), nullptr) << entry.controlId << " is in the template";
    const auto rectOf = [&](int id) {
        CRect r;
        viewer->GetDlgItem(id)->GetWindowRect(&r);
        viewer->ScreenToClient(&r);
        return r;
    };
    const CRect start = rectOf(IDC_BOX_START), open = rectOf(IDC_BOX_OPEN), slider = rectOf(IDC_BOX_SLIDER3),
                down4 = rectOf(IDC_BOX_DOWN4), scale1 = rectOf(IDC_BOX_SCALE1);
    viewer->ShowWindow(SW_SHOW);
    CRect window;
    viewer->GetWindowRect(&window);
    viewer->MoveWindow(window.left, window.top, window.Width() + 40, window.Height() + 30);
    EXPECT_EQ(rectOf(IDC_BOX_START).left, start.left + 40);
    EXPECT_EQ(rectOf(IDC_BOX_START).top, start.top);
    EXPECT_EQ(rectOf(IDC_BOX_OPEN).left, open.left);
    EXPECT_EQ(rectOf(IDC_BOX_OPEN).top, open.top + 30);
    EXPECT_EQ(rectOf(IDC_BOX_SLIDER3).Height(), slider.Height() + 30);
    EXPECT_EQ(rectOf(IDC_BOX_DOWN4).TopLeft(), CPoint(down4.left + 40, down4.top + 30));
    EXPECT_EQ(rectOf(IDC_BOX_SCALE1), scale1);
    EXPECT_GT(viewer->PlotScale, 1.0f) << "the plot grows with the window";
}

} // namespace
