// The main frame's status bar on the screens technicians' laptops have: every pane on the window,
// each the share of the screen its kind is given.
#include "ShellUiFixture.h"

#include "framework/ui/TextFit.h"
#include "tests/support/Screenshot.h"

#include <QApplication>
#include <QWidget>

namespace {

struct StatusBar : ShellUiFixture {
    void SetUp() override {
        ShellUiFixture::SetUp();
        StartLinked();
    }
    CStatusBar& Bar() const { return Frame()->m_wndStatusBar; }
    // The frame on a screen of the width, covering it as start-up makes it; the panes follow the
    // screen on the frame's next repaint. (The test's own screen is smaller: the frame is restored
    // from maximised to take the size.)
    void OnScreen(int width) {
        Frame()->SetScreenWidthForTesting(width);
        Frame()->ShowWindow(SW_RESTORE);
        Frame()->MoveWindow(0, 0, width, 720);
        Frame()->SendMessage(WM_PAINT);
        QApplication::processEvents();
    }
};

TEST_F(StatusBar, EveryPaneLiesOnTheWindowAt1280And1600) {
    drive.SetServoOn(true);
    Tick();
    const int divisors[StatusPaneCount] = {12, 16, 16, 15, 12, 9, 7, 9, 7};
    for (int screen : {1280, 1600}) {
        SCOPED_TRACE(screen);
        OnScreen(screen);
        const int barWidth = Bar().GetWidget()->width();
        ASSERT_GE(barWidth, screen - 16) << "the frame covers the screen";
        ASSERT_EQ(Bar().GetCount(), StatusPaneCount);
        for (int pane = 0; pane < StatusPaneCount; ++pane) {
            UINT id = 0, style = 0;
            int width = 0;
            Bar().GetPaneInfo(pane, id, style, width);
            EXPECT_EQ(width, screen / divisors[pane]) << pane;
            CRect box;
            ASSERT_TRUE(Bar().GetItemRect(pane, &box));
            EXPECT_LE(box.right, barWidth) << "pane " << pane << " \"" << PaneText(pane) << "\"";
        }
        ui::Screenshot(Bar(), "status_bar_" + std::to_string(screen));
    }
}

// On a 1600 px screen the texts of a drive that runs without alarm are whole; a long alarm name or
// a limit alarm may be cut at the pane's end.
TEST_F(StatusBar, ARunningDrivesTextsAreWholeAt1600) {
    drive.SetServoOn(true);
    drive.SetRegister(0x1702, 7); // Pi-S
    Tick();
    OnScreen(1600);
    Frame()->RefreshStatusPanes(0, StatusPaneCount - 1);
    ASSERT_EQ(PaneText(PaneServoStatus), "Servo Status:Servo On");
    ASSERT_EQ(PaneText(PaneMessage), "Message: Normal");
    for (int pane = 0; pane < StatusPaneCount; ++pane) {
        const ControlText text = MeasurePaneTexts(Bar()).at(static_cast<size_t>(pane));
        EXPECT_TRUE(text.Fits()) << "\"" << text.text << "\" needs " << text.extent.cx << ", has "
                                 << text.room.cx;
    }
}

} // namespace
