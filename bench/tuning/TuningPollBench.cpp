// The auto gain window's 500 ms poll tick and the online notch window's 1000 ms refresh against the
// simulated drive at 9600 baud with emulated wire time: each tick's time against the time its
// requests and replies take on the wire (10 bit times a character, from the drive's log).
//
// Figures: ratio (all ticks' time over their wire time; goal_ratio_max beside it), tick_ms (the
// mean tick; the auto gain tick must fit its 500 ms period, the notch tick its 1000 ms), wire_ms and
// requests per tick.
//
// The drive's thread inherits this thread's timer slack; it is set to 1 ns so that the emulated wire
// time is slept as given (pass --default-slack to measure with the default).
#include "bench/WireBenchMain.h"
#include "catalogue/DocumentGlobals.h"
#include "catalogue/DocumentHost.h"
#include "catalogue/KeloServoDoc.h"
#include "framework/core/MessageSeam.h"
#include "framework/ui/Wnd.h"
#include "link/LinkState.h"
#include "link/SerialExt.h"
#include "link/services/RegisterServices.h"
#include "resources/ids/tuningwindows.h"
#include "shell/ShellGlobals.h"
#include "sim/SimJog.h"
#include "sim/SimMachine.h"
#include "sim/SimPtyServer.h"
#include "tests/support/WindowTestHome.h"
#include "tuning/ui/JogAutotuningDlg.h"
#include "tuning/ui/NotchDlg.h"
#include "tuning/ui/TuningViewLink.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kBaud = 9600;
constexpr double kGoalRatio = 1.15;

struct Host : DocumentHost {
    bool IsConnected() const override { return ConnectedFlag != 0; }
};

// The view as the windows see it: its services and its document.
struct BenchView : ITuningViewLink {
    CRegisterServices& Services() override { return services; }
    CKeloServoDoc* Document() override { return document; }
    int RefreshStatus() override { return 1; }
    void OpenOnlineEditor(CWnd*) override {}
    CWnd* CommandWindow() override { return nullptr; }
    bool CanRunAnalysis() const override { return false; }
    void RunAnalysis() override {}
    CRegisterServices services;
    CKeloServoDoc* document = nullptr;
};

// The wire time of the logged exchanges, seconds.
double WireSeconds(const CSimDrive& drive) {
    size_t characters = 0;
    for (const SimLogEntry& entry : drive.Log())
        characters += entry.request.size() + entry.reply.size();
    return static_cast<double>(characters) * 10.0 / kBaud;
}

// Runs `tick` once per iteration against a linked drive; which window is opened is `open`'s choice.
template <class Open> void RunTicks(benchmark::State& state, const char* name, UINT_PTR timer, Open open) {
    PrivateHome home(std::string("kelo-bench-") + name);
    std::shared_ptr<const CResourceModule> module = ProgramResources();
    if (!home.Ok() || !module) {
        state.SkipWithError("no home or no libVimbra.so beside the benchmark");
        return;
    }
    ScopedResourceModule resources(module);
    ScriptedMessages messages;
    CSimDrive drive(4);
    CSimMachine machine(drive);
    CSimJog jog(drive, machine);
    // A run that never finishes: every tick reads a step under way.
    jog.SetTuningSteps(std::vector<int>(1000000, 2));
    drive.SetRegister(0x0B01, 3000);
    drive.SetRegister(0x003E, 1);
    CSimPtyServer server(drive);
    std::string error;
    if (!server.Start({.name = std::string("ttyTUNBENCH") + name + std::to_string(getpid()),
                       .registerVirtualPort = false,
                       .wireBaud = kBaud},
                      &error) ||
        PortObject.Open(server.DevicePath().c_str(), kBaud, 500, 20000, 20000) != ErrNone ||
        PortObject.SetupReadTimer(kBaud, 177) != ErrNone) {
        state.SkipWithError("cannot link the simulated drive");
        return;
    }
    ConnectedFlag = 1;
    ModbusMode = 0;
    StationNumber = 1;
    SeriesCode = 4;
    ModelCode = CSimDrive::ModelCodeForSeries(4);
    Host host;
    CKeloServoDoc doc(&host);
    doc.OnNewDocument();
    BenchView view;
    view.document = &doc;
    view.services.Document = &doc;
    CDialog* window = open(view);
    if (!window) {
        state.SkipWithError("the window did not open");
        return;
    }
    double wall = 0, wire = 0;
    int ticks = 0;
    size_t requests = 0;
    for (auto _ : state) {
        drive.ClearLog();
        const auto start = std::chrono::steady_clock::now();
        FireTimerForTest(window, timer);
        const auto end = std::chrono::steady_clock::now();
        wall += std::chrono::duration<double>(end - start).count();
        wire += WireSeconds(drive);
        requests += drive.RequestCount();
        ++ticks;
    }
    window->DestroyWindow();
    PortObject.Close();
    ConnectedFlag = 0;
    server.Stop();
    state.counters["ratio"] = wall / wire;
    state.counters["goal_ratio_max"] = kGoalRatio;
    state.counters["tick_ms"] = wall / ticks * 1000.0;
    state.counters["wire_ms"] = wire / ticks * 1000.0;
    state.counters["requests"] = static_cast<double>(requests) / ticks;
}

void BM_AutoGainPollTick(benchmark::State& state) {
    RunTicks(state, "autogain", AutoGainPollTimer, [](BenchView& view) -> CDialog* {
        auto* window = new CJogAutotuningDlg(view);
        if (!window->Create(nullptr))
            return nullptr;
        SendMessage(window->GetSafeHwnd(), WM_COMMAND, IDC_AG_START, 0);
        return window->Poll().Running() ? window : nullptr;
    });
}
BENCHMARK(BM_AutoGainPollTick)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_NotchRefresh(benchmark::State& state) {
    RunTicks(state, "notch", FilterRefreshTimer, [](BenchView& view) -> CDialog* {
        auto* window = new CNotchDlg(view);
        return window->Create(nullptr) ? window : nullptr;
    });
}
BENCHMARK(BM_NotchRefresh)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv) {
    return RunWireBenchmarks(argc, argv);
}
