// The alarm, diagnostics and life prediction windows fed by the monitor cycle readers from the
// simulated drive.
#include "WindowsFixture.h"

#include "catalogue/ParamCode.h"
#include "catalogue/ParamTexts.h"
#include "catalogue/RegisterMap.h"
#include "framework/ui/DC.h"
#include "resources/ids/monitor.h"
#include "shell/monitor/MonAnDlg.h"
#include "shell/monitor/MonDnDlg.h"
#include "shell/monitor/MonitorLifeDialog.h"
#include "tests/support/LabelFit.h"
#include "tests/support/Screenshot.h"

#include <QImage>

namespace {

// The view as the alarm window sees it: a window that records the alarm clears posted to it.
class CRecordingView : public CWnd {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CWnd::GetMessageMap(),
                                    {msg::Message(WM_ALARM_CLEAR, &CRecordingView::OnClear)});
        return &map;
    }
    LRESULT OnClear(WPARAM wParam, LPARAM lParam) {
        clears.push_back({wParam, lParam});
        return 0;
    }
    std::vector<std::pair<WPARAM, LPARAM>> clears;
};

using MonitorWindows = WindowsFixture;

constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

TEST_F(MonitorWindows, AlarmWindowShowsTheHistoryWithNamesAndColours) {
    CRecordingView view;
    ASSERT_TRUE(view.Create("view", "view", WS_OVERLAPPED, CRect(0, 0, 100, 100), nullptr, 0));
    auto* window = new CMonAnDlg(&view, readers);
    int closed = 0;
    window->OnClosed = [&closed] { ++closed; };
    ASSERT_TRUE(window->Create());
    EXPECT_EQ(readers.AlarmWindow, window);
    // A new window: every row "00" and "Normal" in grey until the first read.
    EXPECT_EQ(window->GetDlgItemText(IDC_ALARM_NUMBER_FIRST + 3), "00");
    EXPECT_EQ(window->GetDlgItemText(IDC_ALARM_NAME_FIRST + 3), "   Normal");
    EXPECT_EQ(LookOf(*window, IDC_ALARM_NAME_FIRST + 3).text, kGrey);

    struct Row {
        int code;
        const char* number;
        const char* name;
        COLORREF colour;
    };
    const Row rows[AlarmRowCount] = {
        {5, "05", "Encoder Signal Error", kRed},
        {0, "00", "Normal", kGrey},
        {91, "91", "-----", kRed}, // no entry
        {1000, "1000", "-----", kRed},
        {24, "24", "-----", kRed}, // an entry whose text is the dashes
        {11, "11", "Excessive Position Error", kRed},
        {74, "74", "The second section of the motor is overspeeded", kRed},
        {90, "90", "MCU and FPGA synchronization error", kRed},
        {997, "997", "Positive/negative driving prohibits exceptions", kRed},
        {999, "999", "Positive driving prohibits exceptions", kRed},
    };
    for (int i = 0; i < AlarmRowCount; ++i) {
        const auto address = ParameterRegisterAddress('A', i + 1, GroupAL * 100 + i + 1);
        ASSERT_TRUE(address);
        drive.SetRegister(*address, static_cast<uint16_t>(rows[i].code));
    }

    EXPECT_EQ(readers.ReadAlarmHistory(), 1);
    EXPECT_TRUE(drive.RequestLog().empty()) << "nothing is read before the window asks";
    Click(*window, IDC_ALARM_UPDATE);
    EXPECT_EQ(readers.AlarmReadRequest, 1);
    ASSERT_EQ(readers.ReadAlarmHistory(), 1);
    for (int i = 0; i < AlarmRowCount; ++i) {
        SCOPED_TRACE(rows[i].code);
        EXPECT_EQ(window->GetDlgItemText(IDC_ALARM_NUMBER_FIRST + i), rows[i].number);
        EXPECT_EQ(window->GetDlgItemText(IDC_ALARM_NAME_FIRST + i), std::string("   ") + rows[i].name);
        const Look name = LookOf(*window, IDC_ALARM_NAME_FIRST + i);
        EXPECT_EQ(name.text, rows[i].colour);
        EXPECT_EQ(name.bkMode, TRANSPARENT);
        EXPECT_EQ(LookOf(*window, IDC_ALARM_NUMBER_FIRST + i).text, kBlue);
    }

    // "clear" has the view clear the history (one message) and asks for a new read.
    QCoreApplication::processEvents();
    EXPECT_TRUE(view.clears.empty()) << "update posts nothing";
    Click(*window, IDC_ALARM_CLEAR);
    QCoreApplication::processEvents();
    ASSERT_EQ(view.clears.size(), 1u);
    EXPECT_EQ(view.clears[0].first, 4u);
    EXPECT_EQ(view.clears[0].second, 0);
    EXPECT_EQ(readers.AlarmReadRequest, 1);

    // Closing tells the view once and stops the feeding; a new window starts from "Normal" again.
    Click(*window, IDCANCEL);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(readers.AlarmWindow, nullptr);
    auto* again = new CMonAnDlg(&view, readers);
    ASSERT_TRUE(again->Create());
    EXPECT_EQ(again->GetDlgItemText(IDC_ALARM_NUMBER_FIRST), "00");
    EXPECT_EQ(again->GetDlgItemText(IDC_ALARM_NAME_FIRST), "   Normal");
    again->DestroyWindow();
    EXPECT_EQ(readers.AlarmWindow, nullptr) << "a window the view destroys is taken out as well";
}

TEST_F(MonitorWindows, DiagnosticsWindowLabelsTerminalsAndShowsTheirStates) {
    drive.SetRegister(0x0F01, 0x10);
    drive.SetRegister(0x0F02, 0x0011); // R1 and R5 on
    drive.SetRegister(0x0F03, 0x0004); // S3 on
    drive.SetRegister(0x0F04, 105);
    drive.SetRegister(0x0501, 3);   // Hn601: S1
    drive.SetRegister(0x0502, 259); // Hn602: S2, the same function as 3
    drive.SetRegister(0x0511, 7);   // Hn617: no terminal shown here
    drive.SetRegister(0x0513, 4);   // Hn619: R5

    auto* window = new CMonDnDlg(nullptr, readers, &doc);
    int closed = 0;
    window->OnClosed = [&closed] { ++closed; };
    ASSERT_TRUE(window->Create());
    EXPECT_EQ(readers.DiagnosticsWindow, window);
    EXPECT_EQ(readers.ContactReadRequest, 1) << "the first refresh reads the terminal assignments";

    // Before the first refresh every terminal is OFF, white on black.
    for (int id :
         {IDC_DIAG_INPUT_STATE_FIRST, IDC_DIAG_INPUT_STATE_FIRST + 11, IDC_DIAG_OUTPUT_STATE_FIRST + 7}) {
        EXPECT_EQ(window->GetDlgItemText(id), "OFF");
        const Look look = LookOf(*window, id);
        EXPECT_EQ(look.text, RGB(255, 255, 255));
        ASSERT_NE(look.brush, nullptr);
        EXPECT_EQ(look.brush->Data().lbColor, RGB(0, 0, 0));
    }
    // The thirteenth input is not shown; this series has no dn-14, whose statics stay shown but off.
    EXPECT_FALSE(window->GetDlgItem(IDC_DIAG_INPUT_STATE_FIRST + 12)->IsWindowVisible());
    EXPECT_FALSE(window->GetDlgItem(IDC_DIAG_INPUT_LABEL_FIRST + 12)->IsWindowVisible());
    for (int id : {IDC_DIAG_ITEM_14, IDC_DIAG_ITEM_14_LABEL, IDC_DIAG_ITEM_14_UNIT}) {
        EXPECT_TRUE(window->GetDlgItem(id)->IsWindowVisible());
        EXPECT_FALSE(window->GetDlgItem(id)->IsWindowEnabled());
    }

    ASSERT_EQ(readers.RefreshDiagnosticsDisplay(), 1);
    EXPECT_EQ(window->GetDlgItemText(IDC_DIAG_ITEM_FIRST), "10");
    EXPECT_EQ(window->GetDlgItemText(IDC_DIAG_ITEM_FIRST + 3), "A01.05");
    EXPECT_EQ(LookOf(*window, IDC_DIAG_ITEM_FIRST).text, kBlue);
    EXPECT_EQ(LookOf(*window, IDC_DIAG_ITEM_8).text, kBlue);

    EXPECT_EQ(window->GetDlgItemText(IDC_DIAG_INPUT_LABEL_FIRST), "S1: " + DiFunctionName(2));
    EXPECT_EQ(window->GetDlgItemText(IDC_DIAG_INPUT_LABEL_FIRST + 1), "S2: " + DiFunctionName(2));
    EXPECT_EQ(window->GetDlgItemText(IDC_DIAG_OUTPUT_LABEL_FIRST + 4), "R5: " + DoFunctionName(3));

    struct State {
        int id;
        bool on;
    };
    for (const State& s :
         {State{IDC_DIAG_INPUT_STATE_FIRST, false}, State{IDC_DIAG_INPUT_STATE_FIRST + 2, true},
          State{IDC_DIAG_OUTPUT_STATE_FIRST, true}, State{IDC_DIAG_OUTPUT_STATE_FIRST + 1, false},
          State{IDC_DIAG_OUTPUT_STATE_FIRST + 4, true}}) {
        SCOPED_TRACE(s.id);
        EXPECT_EQ(window->GetDlgItemText(s.id), s.on ? "ON" : "OFF");
        const Look look = LookOf(*window, s.id);
        EXPECT_EQ(look.text, s.on ? RGB(0, 0, 0) : RGB(255, 255, 255));
        ASSERT_NE(look.brush, nullptr);
        EXPECT_EQ(look.brush->Data().lbColor, s.on ? RGB(250, 0, 0) : RGB(0, 0, 0));
    }

    Click(*window, IDCANCEL);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(readers.DiagnosticsWindow, nullptr);
}

// The pixel of the window's client area at a point relative to gauge i's origin.
QColor GaugePixel(const QImage& image, int gauge, int dx, int dy) {
    const CPoint origin = LifeGaugeOrigin(gauge);
    return image.pixelColor(origin.x + dx, origin.y + dy);
}

TEST_F(MonitorWindows, LifeWindowDrawsTheGaugesOfTheValuesRead) {
    auto* window = new CMonitorLifeDialog(nullptr, readers);
    ASSERT_TRUE(window->Create());
    EXPECT_EQ(readers.LifeWindow, window);
    const QColor face = ToQColor(GetSysColor(COLOR_BTNFACE));
    const QColor silver(192, 192, 192);

    // A new window: four full silver bars without data.
    QImage image = window->GetWidget()->grab().toImage();
    ASSERT_GE(image.width(), LifeGaugeOrigin(3).x + 75);
    ASSERT_GE(image.height(), 320);
    for (int gauge = 0; gauge < LifeGaugeCount; ++gauge) {
        EXPECT_EQ(GaugePixel(image, gauge, 10, 195), silver) << gauge;
        EXPECT_EQ(GaugePixel(image, gauge, 10, 5), silver) << gauge;
    }

    drive.SetRegister(0x0647, 10000);
    drive.SetRegister(0x0648, 2999);
    drive.SetRegister(0x0649, 999);
    drive.SetRegister(0x064A, 49);
    readers.LifeRepaintFlag = true;
    ASSERT_EQ(readers.RefreshLifeData(), 1);
    EXPECT_EQ(window->Values(), (std::array<int, 4>{10000, 2999, 999, 49}));
    ui::Screenshot(*window, "life-monitor");
    image = window->GetWidget()->grab().toImage();
    // Scale and value texts, the empty bar's above its top face, stand apart and clear of the labels
    // under the gauges and the Close button.
    PaintedLabels labels;
    {
        QImage canvas(image.size(), QImage::Format_RGB32);
        CDC dc(&canvas);
        dc.RecordLabels(&labels);
        window->DrawGauges(dc);
    }
    EXPECT_EQ(labels.size(), 3u * LifeGaugeCount);
    EXPECT_TRUE(ui::LabelsFit(labels, *window));

    struct Probe {
        int gauge;
        int dx, dy;
        QColor colour;
    };
    const Probe probes[] = {
        // 10000: the whole 200 pixels blue, its right face navy.
        {0, 10, 195, QColor(0, 0, 255)},
        {0, 10, 5, QColor(0, 0, 255)},
        {0, 63, 150, QColor(0, 0, 128)},
        // 2999: yellow up to 59 pixels, the tube above it empty.
        {1, 10, 195, QColor(255, 255, 0)},
        {1, 10, 145, QColor(255, 255, 0)},
        {1, 30, 120, face},
        {1, 63, 180, QColor(128, 128, 0)},
        // 999: red, 19 pixels.
        {2, 10, 195, QColor(255, 0, 0)},
        {2, 30, 170, face},
        // 49: no bar at all, only its frame lines at the bottom.
        {3, 10, 190, face},
        {3, 30, 150, face},
        {3, 10, 197, QColor(255, 255, 255)}, // the top face of an empty bar
        {3, 64, 194, QColor(128, 0, 0)},     // its right face
    };
    for (const Probe& p : probes)
        EXPECT_EQ(GaugePixel(image, p.gauge, p.dx, p.dy), p.colour)
            << "gauge " << p.gauge << " at " << p.dx << "," << p.dy;

    // A value the drive cannot have shows as no data again.
    drive.SetRegister(0x0648, 0xFFFF);
    ASSERT_EQ(readers.RefreshLifeData(), 1);
    image = window->GetWidget()->grab().toImage();
    EXPECT_EQ(GaugePixel(image, 1, 10, 5), silver);

    Click(*window, IDCANCEL);
    EXPECT_EQ(readers.LifeWindow, nullptr);
}

} // namespace
