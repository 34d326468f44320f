// The analysis window against the simulated drive: the run's requests in order, its refusals and
// failures (one message each), the response of two mechanisms, the dump file and the Bode plot's
// pixels.
#include "AnalysisFixture.h"

#include "link/services/StopKeeper.h"

#include "framework/core/File.h"
#include "framework/ui/Clipboard.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/WindowImage.h"
#include "resources/ids/paramedit.h"
#include "resources/ids/tuning.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/LabelFit.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TestTime.h"
#include "tuning/BodePlot.h"
#include "tuning/ui/FRADlg.h"
#include "tuning/ui/FRAReadDlg.h"

#include <QColor>
#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>

namespace {

class AnalysisWindow : public AnalysisFixture {
protected:
    // Opens the window modally and acts in it as the user; the read window's first tick is fired
    // as its timer would.
    void Session(const std::function<void(CFRADlg&)>& user) {
        CFRADlg window(nullptr, services);
        ui::ModalScript script({{IDD_FRA, [&](CDialog& dialog) { user(static_cast<CFRADlg&>(dialog)); }},
                                {IDD_FRA_READ, [](CDialog& read) {
                                     // Enter and Esc do not end the read window: only the read does.
                                     QWidget* bar = read.GetDlgItem(IDC_PROGRESS_BAR)->GetWidget();
                                     for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
                                         QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
                                         QCoreApplication::sendEvent(bar, &press);
                                     }
                                     EXPECT_TRUE(read.HasTimer(FraReadTimer)) << "the read window ended";
                                     FireTimerForTest(&read, FraReadTimer);
                                 }}});
        window.DoModal();
    }
    // Types the load torque and presses Start with a fresh request log.
    void Start(CFRADlg& window, const std::string& torque = "50") {
        ui::Type(window, IDC_FRA_LOAD_TORQUE, torque);
        drive->ClearLog();
        messages->Clear();
        ui::Press(window, IDOK);
    }
    static std::vector<std::string> RunRequests(int polls, int savedJogSpeed) {
        std::vector<std::string> expected = {
            Read(0x1712), Write(0x1603, 100), Write(0x1606, 0), Write(0x1605, 0), Write(0x1601, 50),
            Read(0x0201), Write(0x0201, 0),   Write(0x1803, 1), Write(0x170E, 1), Write(0x1602, 1)};
        for (int i = 0; i < polls; ++i)
            expected.push_back(Read(0x1602));
        for (const std::string& r : {Write(0x170E, 0), Write(0x1803, 0), Write(0x0201, savedJogSpeed)})
            expected.push_back(r);
        for (int n = 0; n < AnalysisBlockCount; ++n)
            expected.push_back(AnalysisBlockRequest(n));
        for (const std::string& r : {Read(0x1607), Write(0x1604, 0), Write(0x1606, 0), Write(0x1602, 0),
                                     Maker("R211041103"), Maker("R2110C110B")})
            expected.push_back(r);
        return expected;
    }
    static COLORREF Pixel(const QImage& image, int x, int y) {
        const QColor c = image.pixelColor(x, y);
        return RGB(c.red(), c.green(), c.blue());
    }
    // Whether a pixel of the colour lies within one pixel of (x, y).
    static bool Near(const QImage& image, int x, int y, COLORREF colour) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (Pixel(image, x + dx, y + dy) == colour)
                    return true;
        return false;
    }
    static QImage Picture(CFRADlg& window) {
        CBitmap bitmap;
        EXPECT_TRUE(RenderClientArea(&window, bitmap, CFRADlg::ClipboardSize.cx, CFRADlg::ClipboardSize.cy));
        return bitmap.Image();
    }
};

TEST_F(AnalysisWindow, StartRunsTheMeasurementInOrderAndShowsTheResponse) {
    SimAnalysisOptions options;
    options.completionPolls = 2;
    machine->SetAnalysisOptions(options);
    Session([&](CFRADlg& window) {
        EXPECT_EQ(ui::Text(window, IDC_FRA_LOAD_TORQUE), "50");
        EXPECT_FALSE(ui::Enabled(window, IDC_FRA_NOTCH_SET));
        EXPECT_FALSE(ui::Enabled(window, IDC_FRA_CURSORS));
        Start(window);
        EXPECT_EQ(Requests(), RunRequests(3, -300));
        EXPECT_TRUE(Shown().empty()) << Shown().front();
        EXPECT_EQ(machine->AnalysisAcknowledged(), 1);
        EXPECT_EQ(drive->GetRegisterSigned(0x0201), -300);
        ASSERT_TRUE(window.AnalysisDataValid);
        EXPECT_EQ(ui::Text(window, IDC_FRA_RESONANCE), Format("%.1f", window.m_resonanceFrequency));
        EXPECT_EQ(ui::Text(window, IDC_FRA_ANTI_RESONANCE), Format("%.1f", window.m_antiResonanceFrequency));
        EXPECT_TRUE(ui::Enabled(window, IDC_FRA_NOTCH_SET));
        EXPECT_TRUE(ui::Enabled(window, IDC_FRA_PROPORTION_COMBO));
        // The dump: two ";" lines, then one line per sample pair as read.
        std::string expected = ";\r\n;\r\n";
        for (int i = 1; i <= AnalysisPoints; ++i)
            expected +=
                Format("\t.DATA.   '%f   ;'%f   ;%04X   \r\n", window.m_torque[i], window.m_speed[i], i);
        std::ifstream file(folder->Path("111.dat"), std::ios::binary);
        const std::string written((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        EXPECT_EQ(written, expected);
        // The excitation peaks at the load torque (0.1 % words, less its small mean).
        EXPECT_NEAR(window.m_torque[1], 500, 20);
    });
}

TEST_F(AnalysisWindow, ResonanceAndAntiResonanceOfTwoMechanisms) {
    struct Mechanism {
        double resonance, antiResonance;
    };
    for (const Mechanism m : {Mechanism{400, 250}, Mechanism{600, 350}}) {
        SimAnalysisOptions options;
        options.resonanceHz = m.resonance;
        options.antiResonanceHz = m.antiResonance;
        options.completionPolls = 0; // complete at the first poll
        machine->SetAnalysisOptions(options);
        Session([&](CFRADlg& window) {
            Start(window);
            const std::vector<std::string> log = Requests();
            ASSERT_GE(log.size(), 13u);
            EXPECT_EQ(log[10], Read(0x1602));
            EXPECT_EQ(log[11], Write(0x170E, 0)) << "the restore follows the first poll";
            ASSERT_TRUE(window.AnalysisDataValid);
            const double binWidth = 1 / (1024 * 0.0001);
            EXPECT_NEAR(window.m_resonanceFrequency, m.resonance, 2 * binWidth) << m.resonance;
            EXPECT_NEAR(window.m_antiResonanceFrequency, m.antiResonance, 2 * binWidth) << m.antiResonance;
        });
    }
}

TEST_F(AnalysisWindow, LoadTorqueOutsideItsRangeWritesNothing) {
    struct Case {
        const char* text;
        const char* message;
    };
    for (const Case& c : {Case{"0", "The loading torque is not within the set range!"},
                          Case{"101", "The loading torque is not within the set range!"},
                          Case{"abc", "The loading torque is not within the set range!"},
                          Case{"", "Please enter the relative magnitude of the loading torque!"}}) {
        Session([&](CFRADlg& window) {
            Start(window, c.text);
            EXPECT_EQ(Shown(), std::vector<std::string>{c.message}) << c.text;
            EXPECT_EQ(Requests(), std::vector<std::string>{Read(0x1712)}) << c.text;
        });
    }
}

TEST_F(AnalysisWindow, AnAlarmRefusesTheRun) {
    drive->SetRegister(0x1712, 1);
    Session([&](CFRADlg& window) {
        Start(window);
        EXPECT_EQ(Shown(),
                  std::vector<std::string>{"Warning, please remove the alarm and try to tuning again."});
        EXPECT_EQ(Requests(), std::vector<std::string>{Read(0x1712)});
    });
}

TEST_F(AnalysisWindow, FailuresShowOneMessageAndEndTheRun) {
    const std::string setting = "Error:\n\nTrace the setting data to the Servo drive.";
    struct Case {
        const char* name;
        SimFault fault;
        std::string message;
        int blockReads;
    };
    const std::vector<Case> cases = {
        {"refusal mid-start", {.kind = SimFaultKind::Refuse, .address = 0x1803}, setting, 0},
        {"silent while polling",
         {.kind = SimFaultKind::Silent,
          .address = 0x1602,
          .requestKind = SimRequestKind::MakerRead,
          .skip = 1},
         setting,
         0},
        {"bad record 5",
         {.kind = SimFaultKind::BadChecksum,
          .address = 0x1005,
          .requestKind = SimRequestKind::MakerBlockRead},
         "Error:\n\n20/1024--->(",
         1},
    };
    for (const Case& c : cases) {
        SimAnalysisOptions options;
        options.completionPolls = 3;
        machine->SetAnalysisOptions(options);
        drive->ClearFaults();
        drive->AddFault(c.fault);
        Session([&](CFRADlg& window) {
            Start(window);
            ASSERT_EQ(Shown().size(), 1u) << c.name;
            EXPECT_EQ(Shown()[0].rfind(c.message, 0), 0u) << c.name << ": " << Shown()[0];
            EXPECT_FALSE(window.AnalysisDataValid) << c.name;
            int blocks = 0;
            for (const std::string& request : Requests())
                blocks += request.rfind("R5", 0) == 0;
            EXPECT_EQ(blocks, c.blockReads) << c.name;
            EXPECT_FALSE(FileExists(folder->Path("111.dat"))) << c.name;
        });
        ConnectedFlag = 1; // a silent drive counts as a lost link
    }
}

TEST_F(AnalysisWindow, ARefusedAcknowledgementReadsTheDataAgain) {
    machine->SetAnalysisOptions({});
    drive->AddFault({.kind = SimFaultKind::Refuse,
                     .address = 0x1604,
                     .requestKind = SimRequestKind::MakerWrite,
                     .count = 1});
    Session([&](CFRADlg& window) {
        Start(window);
        EXPECT_TRUE(Shown().empty());
        int blocks = 0, acknowledgements = 0, restores = 0;
        for (const std::string& request : Requests()) {
            blocks += request.rfind("R5", 0) == 0;
            acknowledgements += request == Write(0x1604, 0);
            restores += request == Write(0x170E, 0);
        }
        EXPECT_EQ(blocks, 16);
        EXPECT_EQ(acknowledgements, 2);
        EXPECT_EQ(restores, 1);
        EXPECT_TRUE(window.AnalysisDataValid);
    });
}

TEST_F(AnalysisWindow, CancelDuringTheWaitStopsTheExcitation) {
    SimAnalysisOptions options;
    options.completionPolls = 1000000; // a drive that never completes
    machine->SetAnalysisOptions(options);
    int pumps = 0;
    services.PeekAndPump = [&] {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        if (++pumps == 3)
            services.CancelRequest = 1; // the wait window's Cancel
    };
    Session([&](CFRADlg& window) {
        Start(window);
        EXPECT_TRUE(Shown().empty());
        EXPECT_FALSE(window.AnalysisDataValid);
        const std::vector<std::string> log = Requests();
        ASSERT_GE(log.size(), 4u);
        EXPECT_EQ(std::vector<std::string>(log.end() - 4, log.end()),
                  (std::vector<std::string>{Write(0x170E, 0), Write(0x1803, 0), Write(0x0201, -300),
                                            Write(0x1602, 0)}));
        for (const std::string& request : log)
            EXPECT_NE(request.rfind("R5", 0), 0u);
    });
    EXPECT_EQ(services.ViewBusyFlag, 0);
}

TEST_F(AnalysisWindow, TheWaitPollsAFewTimesASecondAndCancelEndsItAtOnce) {
    SimAnalysisOptions options;
    options.completionPolls = 1000000; // a drive that never completes
    machine->SetAnalysisOptions(options);
    using Clock = std::chrono::steady_clock;
    Clock::time_point started{}, pressed{};
    std::size_t requestsBefore = 0, requestsAtCancel = 0;
    bool armed = false;
    services.PeekAndPump = [&] {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        const std::vector<std::string> log = Requests();
        if (started == Clock::time_point{})
            started = Clock::now();
        // Well after the drive was due (its pauses at their longest, 100 ms), Cancel is pressed
        // 10 ms into the pause that follows a poll.
        const bool justPolled = log.size() != requestsBefore && log.back() == Read(0x1602);
        requestsBefore = log.size();
        if (!armed && justPolled && Clock::now() - started > std::chrono::milliseconds(600)) {
            armed = true;
            pressed = Clock::now() + std::chrono::milliseconds(10);
            QTimer::singleShot(std::chrono::milliseconds(10), Qt::PreciseTimer, [&] {
                requestsAtCancel = Requests().size();
                services.CancelRequest = 1; // the wait window's Cancel
            });
        }
    };
    Session([&](CFRADlg& window) {
        Start(window);
        const Clock::time_point ended = Clock::now();
        ASSERT_TRUE(armed);
        EXPECT_TRUE(Shown().empty());
        EXPECT_LT(ended - pressed, std::chrono::milliseconds(ScaledMs(40)))
            << "Cancel ends the pause, it does not wait for its end";

        const std::vector<std::string> log = Requests();
        const auto polls = std::count(log.begin(), log.end(), Read(0x1602));
        const double seconds = std::chrono::duration<double>(pressed - started).count();
        EXPECT_GE(polls, 5);
        EXPECT_LT(polls / seconds, 300.0) << polls << " polls in " << seconds << " s";
        // Nothing is polled after Cancel: the excitation is stopped at once.
        ASSERT_LE(requestsAtCancel, log.size());
        EXPECT_EQ(
            std::vector<std::string>(log.begin() + static_cast<std::ptrdiff_t>(requestsAtCancel), log.end()),
            (std::vector<std::string>{Write(0x170E, 0), Write(0x1803, 0), Write(0x0201, -300),
                                      Write(0x1602, 0)}));
    });
    EXPECT_EQ(services.ViewBusyFlag, 0);
}

TEST_F(AnalysisWindow, AnExcitationStopThatFellIntoAFreezeIsSentFirstWhenTheLinkComesBack) {
    SimAnalysisOptions options;
    options.completionPolls = 1000000;
    machine->SetAnalysisOptions(options);
    int pumps = 0;
    services.PeekAndPump = [&] {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        if (++pumps == 3)
            drive->Freeze(std::chrono::seconds(7)); // the drive stalls while it excites the machine
    };
    Session([&](CFRADlg& window) {
        Start(window);
        EXPECT_EQ(Shown(), std::vector<std::string>{CStopKeeper::NoAnswerText("analysis excitation")});
        EXPECT_EQ(drive->GetRegister(0x170E), 1) << "still excited";
    });
    EXPECT_EQ(services.ViewBusyFlag, 0);

    drive->Thaw();
    drive->ClearLog();
    const CStopKeeper::Delivery delivery = services.Stops.SendKept(); // as the view does on a new link
    EXPECT_EQ(delivery.taken, std::vector<std::string>{"analysis excitation"});
    EXPECT_EQ(Requests(), (std::vector<std::string>{Write(0x170E, 0), Write(0x1803, 0), Write(0x0201, -300),
                                                    Write(0x1602, 0)}));
    EXPECT_EQ(drive->GetRegisterSigned(0x0201), -300);
}

TEST_F(AnalysisWindow, WithTheLinkDownTheExcitationStopSaysSoAndIsKept) {
    SimAnalysisOptions options;
    options.completionPolls = 1000000;
    const struct {
        const char* what;
        bool cancel; // the wait window's Cancel; otherwise the next poll finds the link gone
    } cases[] = {{"Cancel", true}, {"poll", false}};
    int pumps = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        machine->SetAnalysisOptions(options);
        pumps = 0;
        services.PeekAndPump = [this, &pumps, cancel = c.cancel] {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            if (++pumps == 3) {
                ConnectedFlag = 0; // as the view leaves a link it gave up
                services.CancelRequest = cancel ? 1 : 0;
                drive->ClearLog();
            }
        };
        Session([&](CFRADlg& window) {
            Start(window);
            EXPECT_TRUE(Requests().empty());
            EXPECT_EQ(Shown(), std::vector<std::string>{CStopKeeper::NoLinkText("analysis excitation")});
            EXPECT_FALSE(window.AnalysisDataValid);
        });
        EXPECT_EQ(services.ViewBusyFlag, 0);
        EXPECT_EQ(services.Stops.KeptMotions(), std::vector<std::string>{"analysis excitation"});

        ConnectedFlag = 1;
        EXPECT_EQ(services.Stops.SendKept().taken, std::vector<std::string>{"analysis excitation"});
        EXPECT_EQ(Requests(), (std::vector<std::string>{Write(0x170E, 0), Write(0x1803, 0),
                                                        Write(0x0201, -300), Write(0x1602, 0)}));
    }
}

TEST_F(AnalysisWindow, ADriveThatNeverCompletesEndsTheWaitAtItsBound) {
    SimAnalysisOptions options;
    options.completionPolls = 1000000;
    machine->SetAnalysisOptions(options);
    Session([&](CFRADlg& window) {
        window.m_completionWaitLimit = std::chrono::milliseconds(300);
        Start(window);
        EXPECT_EQ(Shown(), std::vector<std::string>{"Error:\n\nThe drive did not report the measurement "
                                                    "complete in time.\nThe measurement was ended as Cancel "
                                                    "ends it."});
        EXPECT_FALSE(window.AnalysisDataValid);
        // The same writes as Cancel: excitation off, jog servo off, the user's jog speed back.
        const std::vector<std::string> log = Requests();
        ASSERT_GE(log.size(), 4u);
        EXPECT_EQ(std::vector<std::string>(log.end() - 4, log.end()),
                  (std::vector<std::string>{Write(0x170E, 0), Write(0x1803, 0), Write(0x0201, -300),
                                            Write(0x1602, 0)}));
        EXPECT_EQ(drive->GetRegister(0x170E), 0);
        EXPECT_EQ(drive->GetRegister(0x1803), 0);
        EXPECT_EQ(drive->GetRegister(0x1602), 0);
        EXPECT_EQ(drive->GetRegisterSigned(0x0201), -300) << "the user's jog speed is back";
    });
    EXPECT_EQ(services.ViewBusyFlag, 0);
}

TEST_F(AnalysisWindow, BodePlotPixelsCursorsLabelsAndTheClipboardCopy) {
    machine->SetAnalysisOptions({});
    Session([&](CFRADlg& window) {
        CRect client;
        window.GetClientRect(&client);
        EXPECT_GE(client.Width(), CFRADlg::ClipboardSize.cx);
        EXPECT_GE(client.Height(), CFRADlg::ClipboardSize.cy);
        Start(window);
        ASSERT_TRUE(window.AnalysisDataValid);
        const float ts = window.m_sampleTime;
        const int gainTop = CFRADlg::GainPlotOrigin.y, phaseTop = CFRADlg::PhasePlotOrigin.y;
        const int left = CFRADlg::GainPlotOrigin.x;
        const QImage first = Picture(window);
        // Grid: the 100 Hz line and the first gain row are blue (dotted), the picture black between.
        const int x100 = left + BodeColumn(100, ts);
        for (int top : {gainTop, phaseTop}) {
            int dots = 0;
            for (int y = top; y < top + BodePlotHeight; ++y)
                dots += Pixel(first, x100, y) == RGB(0, 0, 255);
            EXPECT_GT(dots, BodePlotHeight / 4) << "100 Hz line at " << x100;
            EXPECT_EQ(Pixel(first, x100 + 3, top + 20), RGB(0, 0, 0));
        }
        int blue = 0;
        for (int x = 0; x < BodePlotWidth; ++x)
            blue += Pixel(first, left + x, gainTop + 33) == RGB(0, 0, 255);
        EXPECT_GT(blue, BodePlotWidth / 3);
        // The gain curve passes the resonance bin's point.
        const int r = window.m_resonanceBin + 1;
        const int xr = left + BodeColumn(BinFrequency(r, ts), ts);
        const int yr = gainTop + GainRow(window.m_response.gain[r], window.GainOffset, window.m_gainScale);
        EXPECT_TRUE(Near(first, xr, yr, RGB(255, 0, 0))) << xr << "," << yr;
        // The same data paint the same picture.
        EXPECT_EQ(Picture(window), first);

        ui::Press(window, IDC_FRA_CURSORS);
        const QImage cursors = Picture(window);
        for (int top : {gainTop, phaseTop}) {
            EXPECT_TRUE(Near(cursors, window.m_cursor1X, top + 100, RGB(255, 255, 0))) << top;
            EXPECT_TRUE(Near(cursors, window.m_cursor2X, top + 100, RGB(0, 255, 0))) << top;
        }
        EXPECT_EQ(ui::Text(window, IDC_FRA_RESONANCE), Format("%.1f", window.m_resonanceFrequency));

        // Cursor 1 dragged to the 1000 Hz column reads the bin under it: that bin's frequency, gain
        // and phase, all three of one point; dragged out left of the plot it follows without a
        // read-out of its own until it is back.
        const int x1000 = left + BodeColumn(1000, ts);
        window.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(window.m_cursor1X + 1, gainTop + 50));
        window.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x1000, gainTop + 50));
        window.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x1000, gainTop + 50));
        EXPECT_EQ(window.m_cursor1X, x1000);
        const QImage dragged = Picture(window);
        EXPECT_TRUE(Near(dragged, x1000, phaseTop + 100, RGB(255, 255, 0)));
        const int bin1000 = CursorBin(1000, ts);
        ASSERT_TRUE(window.m_response.gainDefined[bin1000] && window.m_response.phaseDefined[bin1000]);
        EXPECT_NE(BinFrequency(bin1000, ts), 1000.0) << "the column's own frequency is not a bin's";
        EXPECT_EQ(ui::Text(window, IDC_FRA_RESONANCE), Format("%.1f", BinFrequency(bin1000, ts)));
        EXPECT_EQ(ui::Text(window, IDC_FRA_RESONANCE_GAIN), Format("%.1f", window.m_response.gain[bin1000]));
        EXPECT_EQ(ui::Text(window, IDC_FRA_RESONANCE_PHASE),
                  Format("%.1f", window.m_response.phase[bin1000]));
        window.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x1000, phaseTop + 50));
        window.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(left - 40, phaseTop + 50));
        window.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(left - 40, phaseTop + 50));
        EXPECT_EQ(window.m_cursor1X, left - 40);
        Picture(window);
        EXPECT_EQ(CursorBin(window.m_resonanceFrequency, ts), 1) << "below the first bin reads bin 1";

        // 60 dB per division with the offset 1: labels 180 down to -180.
        ui::Choose(window, IDC_FRA_GAIN_SCALE, 6);
        EXPECT_EQ(window.m_gainScale, 60);
        std::vector<std::string> texts;
        for (const AxisLabel& label : GainLabels(window.GainOffset, window.m_gainScale))
            texts.push_back(label.text);
        EXPECT_EQ(texts, (std::vector<std::string>{"180", "120", "60", "0", "-60", "-120", "-180"}));
        const QImage scaled = Picture(window);
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        for (const AxisLabel& label : GainLabels(window.GainOffset, window.m_gainScale)) {
            int ink = 0;
            for (int y = gainTop + label.y; y < gainTop + label.y + 12; ++y)
                for (int x = left - 30; x < left; ++x)
                    ink += Pixel(scaled, x, y) != face;
            EXPECT_GT(ink, 0) << "label " << label.text;
        }

        ui::Press(window, IDC_FRA_COPY);
        const QImage copied = GetClipboardImage();
        EXPECT_EQ(copied.width(), CFRADlg::ClipboardSize.cx);
        EXPECT_EQ(copied.height(), CFRADlg::ClipboardSize.cy);
        EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32), Picture(window));
    });
}

// The axis labels of both plots stand apart and inside the window: before a run, after one, and
// with the widest scale texts.
TEST_F(AnalysisWindow, AxisLabelsFitTheWindow) {
    machine->SetAnalysisOptions({});
    Session([&](CFRADlg& window) {
        Picture(window);
        EXPECT_TRUE(ui::LabelsFit(window.paintedLabels_, window)) << "before a run";
        Start(window);
        ASSERT_TRUE(window.AnalysisDataValid);
        Picture(window); // the drawn response enables the cursors
        ui::Press(window, IDC_FRA_CURSORS);
        Picture(window);
        EXPECT_TRUE(ui::LabelsFit(window.paintedLabels_, window)) << "after a run";
        ui::Screenshot(window, "analysis-after-a-run");
        std::vector<std::string> texts;
        for (const PaintedLabel& label : window.paintedLabels_)
            texts.push_back(label.text);
        for (const char* frequency : {"10Hz", "100Hz", "1000Hz", "2000Hz", "5000Hz"})
            EXPECT_EQ(std::count(texts.begin(), texts.end(), frequency), 2)
                << frequency << " under both plots";
        ui::Choose(window, IDC_FRA_GAIN_SCALE, 6);
        auto* phaseScales = static_cast<CComboBox*>(window.GetDlgItem(IDC_FRA_PHASE_SCALE));
        ui::Choose(window, IDC_FRA_PHASE_SCALE, phaseScales->GetCount() - 1);
        Picture(window);
        EXPECT_TRUE(ui::LabelsFit(window.paintedLabels_, window)) << "widest scales";
    });
}

// While a cursor is dragged across the plot its read-outs change with every step; each holds its
// line whole, and the painted labels stay apart.
TEST_F(AnalysisWindow, ReadoutsReadWholeWhileACursorIsDragged) {
    machine->SetAnalysisOptions({});
    Session([&](CFRADlg& window) {
        Start(window);
        ASSERT_TRUE(window.AnalysisDataValid);
        window.ShowWindow(SW_SHOW);
        Picture(window); // the drawn response enables the cursors
        ui::Press(window, IDC_FRA_CURSORS);
        const int y = CFRADlg::GainPlotOrigin.y + 50;
        window.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(window.m_cursor1X + 1, y));
        for (int x = CFRADlg::GainPlotOrigin.x; x <= CFRADlg::GainPlotOrigin.x + BodePlotWidth; x += 50) {
            window.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
            Picture(window);
            ASSERT_FALSE(ui::Text(window, IDC_FRA_RESONANCE_GAIN).empty());
            EXPECT_TRUE(ui::TextsFit(window)) << "cursor at " << x;
            EXPECT_TRUE(ui::LabelsFit(window.paintedLabels_, window)) << "cursor at " << x;
        }
        window.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(CFRADlg::GainPlotOrigin.x + BodePlotWidth, y));
        ui::Screenshot(window, "analysis-cursor-dragged");
    });
}

TEST_F(AnalysisWindow, ClosingTheLinkDisablesStart) {
    Session([&](CFRADlg& window) {
        EXPECT_TRUE(ui::Enabled(window, IDOK));
        DisableOkButton(&window);
        EXPECT_FALSE(ui::Enabled(window, IDOK));
    });
}

} // namespace
