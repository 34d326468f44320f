#pragma once
// The trace window opened by a stand-in view, linked to the simulated drive (with its machine) over
// a pseudo-terminal, with scripted message boxes and a private program folder.
#include "framework/core/Paths.h"
#include "framework/core/Sync.h"
#include "framework/ui/App.h"
#include "link/services/RegisterServices.h"
#include "resources/ids/trace.h"
#include "sim/SimMachine.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/LinkedWindowFixture.h"
#include "tests/support/TestTime.h"
#include "trace/AcquisitionStore.h"
#include "trace/ThreadStop.h"
#include "trace/ui/TraceGraphDlg.h"
#include "trace/ui/TraceViewLink.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

struct TraceStandInView : ITraceViewLink {
    CRegisterServices& Services() override { return services; }
    CSyncObject& LinkLock() override { return lock; }
    TraceSettings& Settings() override { return settings; }
    CKeloServoDoc* Document() override { return document; }
    void TraceAcquiringChanged(bool acquiring) override { this->acquiring = acquiring; }
    void OpenOnlineEditorFor(CWnd*) override { ++editorsOpened; }
    void TraceWindowClosed(CTraceGraphDlg* window) override { closed.push_back(window); }

    CRegisterServices services;
    CMutex lock;
    TraceSettings settings;
    CKeloServoDoc* document = nullptr;
    bool acquiring = false;
    int editorsOpened = 0;
    std::vector<CTraceGraphDlg*> closed;
};

class TraceWindowFixture : public LinkedWindowFixture {
protected:
    void SetUp() override {
        EnsureQtApplication();
        OpenWorld("kelo-trace-ui", 4, "ttyTRACE");
        if (HasFatalFailure())
            return;
        SetProgramFolderForTesting(home_->Path("home"));
        machine = std::make_unique<CSimMachine>(*drive);
        machine->SetDemonstrationProfile(true); // records of a moving motor
        drive->SetServoOn(true);
        view.document = doc.get();
        view.services.Document = doc.get(); // as the view does: its transfers fill this document
        ResetStore();
    }
    void TearDown() override {
        if (window != nullptr && IsOpen())
            window->CloseWindow();
        Pump();
        window = nullptr;
        WaitForKeptThreads();
        ResetStore();
        SetProgramFolderForTesting("");
        machine.reset();
        CloseWorld();
    }

    static void ResetStore() {
        ClearChannelDeques({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18});
        PendingSampleCount = 0;
        ChecksumErrorCount = 0;
        StopEvent.ResetEvent();
    }

    // A set-up accepted once: the window starts from it.
    void UseSetup(int mode, bool eight, std::array<int, 8> sources, int interval = 1) {
        TraceSettings& s = view.settings;
        s.valid = 1;
        s.traceMode = mode;
        s.channelCountMode = eight ? 1 : 0;
        s.points = mode == TraceModeMonitor ? MonitorPointCount : (eight ? 1024 : 2048);
        s.sources = sources;
        s.interval = interval;
        s.timeBase = interval * (eight || mode == TraceModeMonitor ? 10000 : 5000);
        s.colorIndices = {2, 1, 12, 0, 3, 9, 14, 5};
        s.colors = {0x0000FF, 0x00FFFF, 0xFF8080, 0xFF00FF, 0xFF0000, 0x80FFFF, 0x4080FF, 0xFFFF00};
    }

    // A Single recording of these sources (eight channels unless told), in a window at 1000 x 650.
    void OpenWithSingleRecord(std::array<int, 8> sources, bool eight = true) {
        UseSetup(TraceModeSingle, eight, sources);
        ASSERT_NE(Open(), nullptr);
        window->MoveWindow(0, 0, 1000, 650);
        ui::Press(*window, IDC_TG_START);
        machine->Advance(250000);
        Fire(TraceStartTimer);
        ASSERT_TRUE(FireUntil(TraceSingleTimer, [&] { return !window->Running(); }));
    }

    // Closes the window of one case of a table so that the next opens from nothing: its threads
    // gone, the store empty and the set-up it saved at START removed.
    void CloseForNextCase() {
        window->CloseWindow();
        Pump();
        window = nullptr;
        WaitForKeptThreads();
        ResetStore();
        std::remove(ProgramFolderFile("trace.ini").c_str());
    }

    CTraceGraphDlg* Open() {
        auto* created = new CTraceGraphDlg(view, nullptr);
        handle_ = 0;
        if (!created->Create()) {
            delete created;
            return nullptr;
        }
        handle_ = created->GetSafeHwnd();
        window = created;
        return created;
    }
    bool IsOpen() const { return handle_ != 0 && CWnd::FromHandle(handle_) != nullptr; }

    static void Pump(int ms = 20) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        do
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        while (std::chrono::steady_clock::now() < end);
    }
    // Fires a timer of the window as the framework would.
    void Fire(UINT_PTR id) { window->SendMessage(WM_TIMER, id); }
    // Fires the timer every 20 ms until done() or the bound.
    bool FireUntil(UINT_PTR id, const std::function<bool()>& done, int seconds = 30) {
        const auto end =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(ScaledMs(seconds * 1000));
        while (!done()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            if (window->HasTimer(id))
                Fire(id);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }
    // Runs the event loop, so the window's own timers fire, until done() or the bound.
    static bool SpinUntil(const std::function<bool()>& done, int seconds = 30) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    // STOP, then the event loop until the thread has left and the stop path ran.
    void PressStopAndWait() {
        ui::Press(*window, IDC_TG_START);
        ASSERT_TRUE(SpinUntil([&] { return !window->Running(); })) << "the stop did not complete";
    }
    std::vector<std::string> Requests() const { return drive->RequestLog(); }

    std::unique_ptr<CSimMachine> machine;
    TraceStandInView view;
    CTraceGraphDlg* window = nullptr;
    HWND handle_ = 0;
};

// A window holding a finished eight-channel Single recording (channels 1 and 2) at 1000 x 650.
class TraceWindowWithRecord : public TraceWindowFixture {
protected:
    void SetUp() override {
        TraceWindowFixture::SetUp();
        if (HasFatalFailure())
            return;
        OpenWithSingleRecord({1, 2, 0, 0, 0, 0, 0, 0});
    }
    // The left button at (x, y) from the plot's corner, as real mouse events: a press, a move with
    // the button held, or the release.
    void Mouse(UINT message, int x, int y) {
        const CPoint o = window->PlotOrigin();
        const CPoint at(o.x + x, o.y + y);
        if (message == WM_LBUTTONDOWN)
            ui::MouseEvent(*window, at, QEvent::MouseButtonPress, Qt::LeftButton);
        else if (message == WM_LBUTTONUP)
            ui::MouseEvent(*window, at, QEvent::MouseButtonRelease, Qt::NoButton);
        else
            ui::MouseEvent(*window, at, QEvent::MouseMove, Qt::LeftButton);
    }
};
