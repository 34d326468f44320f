// A recording's times as every part of the trace window shows them after a run in each mode: the
// set-up's figures, the time-per-division list, the cursor readout and the CSV time column.
#include "tests/trace/ui/TraceWindowFixture.h"

#include "framework/ui/ComboBox.h"
#include "resources/ids/trace.h"
#include "tests/support/DialogDriver.h"
#include "trace/ui/TraceSetupDlg.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

// The CSV's rows: the time cell and the first channel's cell of each.
struct CsvRows {
    std::vector<double> times;
    std::vector<long> firstChannel;
};

CsvRows ReadCsv(const std::string& path) {
    CsvRows rows;
    std::ifstream in(path);
    std::string line;
    for (int header = 0; header < 3 && std::getline(in, line); ++header) {
    }
    while (std::getline(in, line)) {
        const size_t comma = line.find(',');
        rows.times.push_back(std::strtod(line.c_str(), nullptr));
        rows.firstChannel.push_back(std::strtol(line.c_str() + comma + 1, nullptr, 10));
    }
    return rows;
}

class TraceTimes : public TraceWindowFixture {
protected:
    // Runs the mode until the display holds samples and the run has ended (STOP where it goes on).
    void Run(int mode) {
        UseSetup(mode, true, {1, 2, 0, 0, 0, 0, 0, 0});
        machine->SetStepPerRequest(2000);
        ASSERT_NE(Open(), nullptr);
        window->MoveWindow(0, 0, 1000, 650);
        ui::Press(*window, IDC_TG_START);
        if (mode == TraceModeSingle)
            machine->Advance(250000);
        Fire(TraceStartTimer);
        if (mode == TraceModeSingle) {
            ASSERT_TRUE(FireUntil(TraceSingleTimer, [&] { return !window->Running(); }));
            return;
        }
        if (mode == TraceModeCycle) {
            ASSERT_TRUE(FireUntil(TraceCycleTimer, [&] { return window->HasTimer(TraceCycleRepeatTimer); }));
        } else {
            ASSERT_TRUE(FireUntil(TraceMonitorTimer, [&] { return window->Display(0).Rolled() > 500; }));
        }
        PressStopAndWait();
    }
};

TEST_F(TraceTimes, SetupListCursorAndCsvAgreeInEveryMode) {
    struct Case {
        int mode;
        const char* interval; // the set-up's figures, ms
        const char* record;
        double step; // ms from one sample to the next
        int points;
    } cases[] = {
        {TraceModeSingle, "0.10", "102.40", 0.1, 1024},
        {TraceModeCycle, "0.10", "102.40", 0.1, 1024},
        {TraceModeMonitor, "1.0", "102400.00", 1.0, MonitorPointCount}, // the document's drive: 1 ms a sample
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Run(c.mode);
        if (HasFatalFailure())
            return;
        const double record = c.step * c.points;

        ui::ModalScript script({{IDD_TRACE_SETUP, [&](CDialog& d) {
                                     EXPECT_EQ(ui::Text(d, IDC_TS_INTERVAL_MS), c.interval);
                                     EXPECT_EQ(ui::Text(d, IDC_TS_RECORD_MS), c.record);
                                     ui::Press(d, IDCANCEL);
                                 }}});
        ui::Press(*window, IDC_TG_SETTING);

        auto* list = static_cast<CComboBox*>(window->GetDlgItem(IDC_TG_TIME_BASE));
        EXPECT_NEAR(std::strtod(list->GetLBText(0).c_str(), nullptr), record / 10, 0.005)
            << "a tenth of the axis";

        ui::SetChecked(*window, IDC_TG_CURSOR_SHOW, true);
        const double cursorB = record * window->CursorX(1) / (10.0 * window->Division());
        EXPECT_NEAR(std::strtod(ui::Text(*window, IDC_TG_READOUT_B).c_str(), nullptr), cursorB, c.step);

        const std::string path = home_->Path("times.csv");
        messages->AnswerFile(path);
        ui::Press(*window, IDC_TG_SAVE_AS);
        const CsvRows csv = ReadCsv(path);
        ASSERT_GE(csv.times.size(), 2u);
        EXPECT_NEAR(csv.times[1] - csv.times[0], c.step, 0.0051);
        EXPECT_NEAR(csv.times.back(), record - c.step, 0.0051) << "the last row at the axis' end";
        if (c.mode == TraceModeMonitor) {
            // Only the samples the run brought, the newest one included; each at its place on the axis.
            EXPECT_EQ(static_cast<int>(csv.times.size()), window->Display(0).Rolled());
            EXPECT_NEAR(csv.times[0], c.step * (c.points - static_cast<int>(csv.times.size())), 0.0051);
            EXPECT_TRUE(ChannelDeques[static_cast<size_t>(ChannelSlots[0])].empty())
                << "nothing left unshown";
            EXPECT_EQ(csv.firstChannel.back(), window->Display(0).At(c.points - 1));
        } else {
            EXPECT_EQ(csv.times.size(), static_cast<size_t>(c.points));
        }
        CloseForNextCase();
    }
}

} // namespace
