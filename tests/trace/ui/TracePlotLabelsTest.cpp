// The texts the trace window paints into its plot (value, time and legend labels) stand apart and
// inside the window, clear of its controls, each channel's value labels on its side of the plot and
// around the lines they name: without a set-up, with all eight channels on in Single and in Monitor,
// and at the smallest window. The texts it shows in controls (the record's clock time, the trigger
// condition while a run waits for it) stand clear of the other controls.
#include "tests/support/LabelFit.h"
#include "tests/support/Screenshot.h"
#include "tests/trace/ui/TraceWindowFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

namespace {

// Eight sources without a wide one, so every channel is drawn.
constexpr std::array<int, 8> kEightSources = {1, 2, 3, 6, 7, 8, 36, 37};

bool Drew(const PaintedLabels& labels, const std::string& text) {
    return std::any_of(labels.begin(), labels.end(), [&](const PaintedLabel& l) { return l.text == text; });
}

// Channels 1, 2, 5 and 6 scale the left side, 3, 4, 7 and 8 the right.
::testing::AssertionResult ScalesBesideTheirLines(CTraceGraphDlg& window, const PaintedLabels& labels) {
    const CPoint origin = window.PlotOrigin();
    const float d = window.Division();
    const int w = static_cast<int>(10.0f * d);
    const CRect plot(origin.x, origin.y, origin.x + w + 1, origin.y + w + 1);
    std::vector<int> lines;
    for (int j = 0; j <= 10; ++j)
        lines.push_back(origin.y + static_cast<int>(static_cast<float>(j) * d));
    const int reach = std::max(static_cast<int>(d) / 2, 26);
    for (int ch = 0; ch < 8; ++ch) {
        const ui::PlotSide side =
            ch == 2 || ch == 3 || ch == 6 || ch == 7 ? ui::PlotSide::Right : ui::PlotSide::Left;
        if (auto fit =
                ui::ScaleLabelsBesideTheirLines(labels, window.ChannelColour(ch), side, plot, lines, reach);
            !fit)
            return fit << "\n  (channel " << ch + 1 << ")";
    }
    return ::testing::AssertionSuccess();
}

// The time caption under the plot stands a digit's width or more from the legend beside it.
::testing::AssertionResult CaptionStandsApart(const PaintedLabels& labels) {
    const auto caption = std::find_if(labels.rbegin(), labels.rend(),
                                      [](const PaintedLabel& l) { return l.text == "Time [ms]"; });
    if (caption == labels.rend())
        return ::testing::AssertionFailure() << "no time caption";
    const CRect& c = caption->rect;
    for (const PaintedLabel& other : labels) {
        const CRect& r = other.rect;
        if (&other == &*caption || r.bottom <= c.top || r.top >= c.bottom)
            continue;
        const int gap = std::max(r.left - c.right, c.left - r.right);
        if (gap < 5)
            return ::testing::AssertionFailure()
                   << "\"" << other.text << "\" is " << gap << " pixels from the time caption";
    }
    return ::testing::AssertionSuccess();
}

} // namespace

class TracePlotLabels : public TraceWindowFixture {
protected:
    // Opens the window at 1000 x 650 on eight channels in this mode and presses START; `adjust` may
    // change the set-up first.
    void StartEightChannels(int mode, const std::function<void(TraceSettings&)>& adjust = nullptr) {
        UseSetup(mode, true, kEightSources);
        if (adjust)
            adjust(view.settings);
        if (mode != TraceModeSingle) // a Single run waits for its record
            machine->SetStepPerRequest(2000);
        ASSERT_NE(Open(), nullptr);
        window->MoveWindow(0, 0, 1000, 650);
        ui::Press(*window, IDC_TG_START);
        Fire(TraceStartTimer);
    }
    // Paints the window as it is shown and returns what the plot drew.
    const PaintedLabels& Paint() {
        Pump();
        window->GetWidget()->grab();
        return window->PlotLabels();
    }
};

TEST_F(TracePlotLabels, WithoutASetUpTheAxisLabelsFit) {
    ASSERT_NE(Open(), nullptr);
    for (const CSize size : {CSize(1000, 650), CSize(880, 650)}) {
        window->MoveWindow(0, 0, size.cx, size.cy);
        const PaintedLabels& labels = Paint();
        EXPECT_TRUE(Drew(labels, "Time [ms]"));
        EXPECT_TRUE(ui::LabelsFit(labels, *window)) << size.cx << " x " << size.cy;
    }
    ui::Screenshot(*window, "trace-without-setup");
}

TEST_F(TracePlotLabels, EightChannelsOfASingleRecordFitAtEverySize) {
    OpenWithSingleRecord(kEightSources);
    ASSERT_FALSE(HasFatalFailure());
    for (const CSize size : {CSize(1000, 650), CSize(880, 650), CSize(1180, 850)}) {
        window->MoveWindow(0, 0, size.cx, size.cy);
        const PaintedLabels& labels = Paint();
        for (int ch = 1; ch <= 8; ++ch)
            EXPECT_TRUE(Drew(labels, std::to_string(ch))) << "legend number of channel " << ch;
        EXPECT_TRUE(ui::LabelsFit(labels, *window)) << size.cx << " x " << size.cy;
        EXPECT_TRUE(ScalesBesideTheirLines(*window, labels)) << size.cx << " x " << size.cy;
        EXPECT_TRUE(CaptionStandsApart(labels)) << size.cx << " x " << size.cy;
        ui::Screenshot(*window, "trace-single-" + std::to_string(size.cx));
    }
}

TEST_F(TracePlotLabels, EightChannelsOfAMonitorRunFit) {
    StartEightChannels(TraceModeMonitor);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(
        FireUntil(TraceMonitorTimer, [&] { return window->Display(0).At(MonitorPointCount - 1) != 0; }));
    const PaintedLabels& labels = Paint();
    EXPECT_TRUE(ui::LabelsFit(labels, *window));
    EXPECT_TRUE(ScalesBesideTheirLines(*window, labels));
    EXPECT_TRUE(CaptionStandsApart(labels));
    ui::Screenshot(*window, "trace-monitor");
    PressStopAndWait();
}

// A Cycle run shows the clock time of the record on the screen, in a place of its own at every size.
TEST_F(TracePlotLabels, TheClockTimeOfACycleRecordStandsClear) {
    StartEightChannels(TraceModeCycle);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(FireUntil(TraceCycleTimer, [&] { return window->HasTimer(TraceCycleRepeatTimer); }));
    ASSERT_TRUE(
        FireUntil(TraceCycleRepeatTimer, [&] { return ui::Text(*window, IDC_TG_UNIT_EXTRA).size() == 8; }));
    for (const CSize size : {CSize(1000, 650), CSize(880, 650), CSize(1180, 850)}) {
        window->MoveWindow(0, 0, size.cx, size.cy);
        EXPECT_TRUE(ui::ControlStandsClear(*window, IDC_TG_UNIT_EXTRA)) << size.cx << " x " << size.cy;
        const PaintedLabels& labels = Paint();
        EXPECT_TRUE(ui::LabelsFit(labels, *window)) << size.cx << " x " << size.cy;
        EXPECT_TRUE(ScalesBesideTheirLines(*window, labels)) << size.cx << " x " << size.cy;
    }
    window->MoveWindow(0, 0, 1000, 650);
    ui::Screenshot(*window, "trace-cycle");
    PressStopAndWait();
}

// While a Single run waits for its trigger, the trigger condition stands in its group, each text
// whole and clear of the other controls.
TEST_F(TracePlotLabels, TheTriggerConditionStandsInItsGroup) {
    StartEightChannels(TraceModeSingle, [&](TraceSettings& s) {
        s.triggerSource = 7; // the longest title of the eight
        s.triggerLevel = -350;
        s.triggerEdge = 2;
        s.triggerPosition = 50;
    });
    ASSERT_FALSE(HasFatalFailure());
    Pump();
    ASSERT_TRUE(window->Running());
    EXPECT_EQ(ui::Text(*window, IDC_TG_UNIT_LEFT), "Rise/Fall");
    EXPECT_EQ(ui::Text(*window, IDC_TG_UNIT_RIGHT), "50");
    CRect group;
    window->GetDlgItem(IDC_TG_TRIGGER_GROUP)->GetWindowRect(&group);
    for (int id : {IDC_TG_UNIT_NONE, IDC_TG_UNIT_TEXT, IDC_TG_UNIT_LEFT, IDC_TG_UNIT_RIGHT}) {
        EXPECT_TRUE(ui::ControlStandsClear(*window, id));
        CRect rect;
        window->GetDlgItem(id)->GetWindowRect(&rect);
        EXPECT_TRUE(rect.left > group.left && rect.right < group.right && rect.top > group.top &&
                    rect.bottom < group.bottom)
            << id << " outside the trigger group";
    }
    ui::Screenshot(*window, "trace-waiting-for-trigger");
    PressStopAndWait();
}
