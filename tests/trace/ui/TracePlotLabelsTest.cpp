// The texts the trace window paints into its plot (value, time and legend labels) stand apart and
// inside the window, clear of its controls: without a set-up, with all eight channels on in Single
// and in Monitor, and at the smallest window.
#include "tests/support/LabelFit.h"
#include "tests/support/Screenshot.h"
#include "tests/trace/ui/TraceWindowFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// Eight sources without a wide one, so every channel is drawn.
constexpr std::array<int, 8> kEightSources = {1, 2, 3, 6, 7, 8, 36, 37};

bool Drew(const PaintedLabels& labels, const std::string& text) {
    return std::any_of(labels.begin(), labels.end(), [&](const PaintedLabel& l) { return l.text == text; });
}

} // namespace

class TracePlotLabels : public TraceWindowFixture {
protected:
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
        ui::Screenshot(*window, "trace-single-" + std::to_string(size.cx));
    }
}

TEST_F(TracePlotLabels, EightChannelsOfAMonitorRunFit) {
    UseSetup(TraceModeMonitor, true, kEightSources);
    machine->SetStepPerRequest(2000);
    ASSERT_NE(Open(), nullptr);
    window->MoveWindow(0, 0, 1000, 650);
    ui::Press(*window, IDC_TG_START);
    Fire(TraceStartTimer);
    ASSERT_TRUE(
        FireUntil(TraceMonitorTimer, [&] { return window->Display(0).At(MonitorPointCount - 1) != 0; }));
    const PaintedLabels& labels = Paint();
    EXPECT_TRUE(ui::LabelsFit(labels, *window));
    ui::Screenshot(*window, "trace-monitor");
    PressStopAndWait();
}
