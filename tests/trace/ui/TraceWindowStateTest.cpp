// What the trace window keeps and shows around a run: the numbered recordings hold the whole window
// state, the autosave list fills when autosave goes on and stays when it goes off, the channel
// controls follow the set-up, and START shows its own face as soon as a record ends by itself.
#include "tests/trace/ui/TraceWindowFixture.h"

#include "framework/ui/ComboBox.h"
#include "resources/ids/trace.h"
#include "tests/support/DialogDriver.h"

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class TraceWindowState : public TraceWindowFixture {};

// Setting "autosave" offers the path, the list and "Update"; clearing it only stops the saving and
// leaves them as they are.
TEST_F(TraceWindowState, ClearingAutosaveLeavesItsControlsAsTheyAre) {
    UseSetup(TraceModeMonitor, true, {1, 2, 0, 0, 0, 0, 0, 0});
    ASSERT_NE(Open(), nullptr);
    window->MoveWindow(0, 0, 1000, 650);
    std::ofstream(home_->Path("home/run003_000.trd")) << "x";
    ui::Type(*window, IDC_TG_AUTOSAVE_PATH, "run");
    for (const bool on : {true, false}) {
        ui::SetChecked(*window, IDC_TG_AUTOSAVE, on);
        for (int id : {IDC_TG_AUTOSAVE_PATH, IDC_TG_AUTOSAVE_FILES, IDC_TG_AUTOSAVE_UPDATE})
            EXPECT_TRUE(ui::Enabled(*window, id)) << id << " with autosave " << (on ? "set" : "cleared");
        EXPECT_EQ(ui::SelectedText(*window, IDC_TG_AUTOSAVE_FILES), "run003_000.trd");
        EXPECT_EQ(ui::Text(*window, IDC_TG_AUTOSAVE_PATH), "run");
    }
}

TEST_F(TraceWindowState, AnAutosaveRecordingReopensLookingAsTheWindowDid) {
    UseSetup(TraceModeMonitor, true, {1, 2, 0, 0, 0, 0, 0, 0});
    machine->SetStepPerRequest(2000);
    ASSERT_NE(Open(), nullptr);
    window->MoveWindow(0, 0, 1000, 650);
    // Turning autosave on lists the numbered recordings already in the autosave folder.
    std::ofstream(home_->Path("home/run007_000.trd")) << "x";
    std::ofstream(home_->Path("home/other.trd")) << "x";
    ui::Type(*window, IDC_TG_AUTOSAVE_PATH, "run");
    ui::SetChecked(*window, IDC_TG_AUTOSAVE, true);
    EXPECT_EQ(ui::SelectedText(*window, IDC_TG_AUTOSAVE_FILES), "run007_000.trd");
    std::filesystem::remove(home_->Path("home/run007_000.trd"));

    // The look the user made: scales, a time division, the front channel and the cursors.
    ui::Choose(*window, TraceScaleCombos[0], 7);  // "100"
    ui::Choose(*window, TraceScaleCombos[1], 10); // "2000"
    ui::Choose(*window, IDC_TG_TIME_BASE, 3);
    ui::Choose(*window, IDC_TG_UNIT_SELECT, 1);
    ui::SetChecked(*window, IDC_TG_CURSOR_SHOW, true);
    const std::string cursorB = ui::Text(*window, IDC_TG_READOUT_B);
    const float perDivision = window->TimePerDivision();
    const int scale1 = window->Scale(0), scale2 = window->Scale(1);
    ASSERT_GT(scale1, 1);

    ui::Press(*window, IDC_TG_START);
    Fire(TraceStartTimer);
    ASSERT_TRUE(FireUntil(TraceMonitorTimer, [&] { return window->Display(0).Rolled() > 100; }));
    PressStopAndWait();
    const std::string path = home_->Path("home/run000_000.trd");
    TraceRecording recording;
    ASSERT_TRUE(ReadTraceFile(path, TraceFileForm::Trace, recording).ok);
    EXPECT_EQ(recording.snapshotValid, 1) << "the parameters read at STOP";
    EXPECT_EQ(recording.frontChannel, 1) << "the channel chosen last is drawn on top";

    // Another look, then the list opens the recording as it was.
    ui::Choose(*window, TraceScaleCombos[0], 0);
    ui::Choose(*window, IDC_TG_TIME_BASE, 0);
    ui::Press(*window, IDC_TG_AUTOSAVE_UPDATE);
    auto* list = static_cast<CComboBox*>(window->GetDlgItem(IDC_TG_AUTOSAVE_FILES));
    ASSERT_EQ(list->GetCount(), 1);
    list->SetCurSel(-1); // so that picking the one entry is a change
    ui::Choose(*window, IDC_TG_AUTOSAVE_FILES, 0);
    EXPECT_EQ(window->GetWindowText(), "Wave Trace - [" + path + "]");
    EXPECT_EQ(window->Scale(0), scale1);
    EXPECT_EQ(window->Scale(1), scale2);
    EXPECT_EQ(ui::Selected(*window, TraceScaleCombos[0]), 7);
    EXPECT_EQ(ui::Selected(*window, IDC_TG_TIME_BASE), 3);
    EXPECT_FLOAT_EQ(window->TimePerDivision(), perDivision);
    EXPECT_EQ(window->SelectedChannel(), 1);
    EXPECT_EQ(ui::Text(*window, IDC_TG_READOUT_B), cursorB);
    EXPECT_TRUE(ui::Enabled(*window, IDC_TG_PARAMETERS));
    EXPECT_EQ(window->Snapshot().valid, 1);
}

TEST_F(TraceWindowState, ChannelControlsFollowTheCountAndTheHighWords) {
    UseSetup(TraceModeSingle, false, {1, 5, 3, 4, 0, 0, 0, 0});
    ASSERT_NE(Open(), nullptr);
    for (size_t ch = 0; ch < 8; ++ch)
        for (int id : {TraceScaleCombos[ch], TraceOffsetSliders[ch], TraceOffsetUpButtons[ch],
                       TraceChannelShowChecks[ch]})
            EXPECT_EQ(ui::Enabled(*window, id), ch < 3) << "channel " << ch + 1 << " control " << id;
}

class TraceWindowLook : public TraceWindowFixture {
protected:
    // The control as the window shows it.
    QImage Grab(int id) {
        Pump();
        CRect r;
        window->GetDlgItem(id)->GetWindowRect(&r);
        window->ScreenToClient(&r);
        return window->GetWidget()->grab().toImage().copy(r.left, r.top, r.Width(), r.Height());
    }
};

TEST_F(TraceWindowLook, StartShowsItsFaceAgainWhenARecordEndsByItself) {
    UseSetup(TraceModeSingle, true, {1, 2, 0, 0, 0, 0, 0, 0});
    ASSERT_NE(Open(), nullptr);
    window->GetDlgItem(IDC_TG_START)->SetFocus();
    const QImage idle = Grab(IDC_TG_START);
    ui::Press(*window, IDC_TG_START);
    window->GetDlgItem(IDC_TG_START)->SetFocus();
    const QImage running = Grab(IDC_TG_START);
    EXPECT_NE(running, idle) << "STOP while running";
    machine->Advance(250000);
    Fire(TraceStartTimer);
    ASSERT_TRUE(FireUntil(TraceSingleTimer, [&] { return !window->Running(); }));
    EXPECT_TRUE(window->GetDlgItem(IDC_TG_START)->GetWidget()->hasFocus());
    EXPECT_NE(Grab(IDC_TG_START), running) << "START again, with the focus still on the button";
}

} // namespace
