// The parameter editor's read-all of one drive series over maker commands against the simulated
// drive at 115200 baud with emulated wire time: the pass's total time against the time its requests
// and replies take on the wire (10 bit times a character, from the drive's log), and whether the
// window stays responsive while the pass runs.
//
// Figures: ratio (all passes' time over their wire time; goal_ratio_max beside it), median_ratio and
// ratio_spread (over the single passes: highest minus lowest), best_ratio (the best single pass, as
// other work on the machine only ever adds), bare_link_ratio and bare_link_spread (the same requests
// sent again back to back without the editor, over several replays: the floor the pty and the
// drive's thread set), editor_us_per_req (the median pass's time per request beyond the median
// floor), our_cpu_us_per_req (this thread's CPU time per request during the pass;
// bare_cpu_us_per_req the same for the floor).
// BM_ProgressWindowPerCode is the part of the editor's cost that its progress window takes per
// parameter.
//
// The floor is mostly the pseudo-terminal's own latency: each direction passes through a kernel
// worker before the reader wakes, about 60-110 us a round trip on a virtual machine, which is 5-8%
// of one read's wire time at 115200 baud.
//
// Responsiveness: for every request the drive receives, its thread posts a private message to the
// editor. A pass that dispatches pending messages between requests handles each of them before it
// sends the next request; "served_gaps" counts the requests after which a posted message was handled
// before the following request went out (the goal is one per request). The probe runs in the second
// case only (probe:1), so the first shows the timing without it.
//
// The drive's thread inherits this thread's timer slack; it is set to 1 ns so that the emulated wire
// time is slept as given instead of up to 50 us late (that lateness is the emulation's, not the
// editor's). Pass --default-slack to measure with the default.
#include "bench/WireBenchMain.h"
#include "catalogue/DocumentGlobals.h"
#include "catalogue/DocumentHost.h"
#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamCode.h"
#include "catalogue/RegisterMap.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/App.h"
#include "framework/ui/Wnd.h"
#include "link/InternalCode.h"
#include "link/LinkState.h"
#include "link/SerialExt.h"
#include "link/services/RegisterServices.h"
#include "paramedit/DefinedList.h"
#include "paramedit/ParaEditDlg.h"
#include "paramedit/ParaEditState.h"
#include "paramedit/ParaEditViewLink.h"
#include "paramedit/ParamPassRules.h"
#include "paramedit/ProgressParaEdit.h"
#include "resources/ids/paraedit.h"
#include "resources/ids/paramedit.h"
#include "shell/ShellGlobals.h"
#include "sim/SimDrive.h"
#include "sim/SimPtyServer.h"
#include "tests/support/DriveParameters.h"
#include "tests/support/WindowTestHome.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

constexpr int kBaud = 115200;
constexpr double kGoalRatio = 1.1;
constexpr UINT kPing = WM_APP + 0x2B1;
constexpr int kFloorPasses = 5;

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Highest minus lowest.
double Spread(const std::vector<double>& values) {
    if (values.empty())
        return 0;
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return *high - *low;
}

struct LinkedHost : DocumentHost {
    bool IsConnected() const override { return ConnectedFlag != 0; }
};

// The view as the editor sees it; its pump is the one the program's view installs.
struct BenchView : IParaEditViewLink {
    BenchView() {
        services.PeekAndPump = [] { DispatchMessagesBetweenTransfers(); };
    }
    CRegisterServices& Services() override { return services; }
    CKeloServoDoc* Document() override { return document; }
    bool SaveDocument() override { return true; }
    void EditorClosed() override {}
    int MotorMaxSpeed() const override { return 5000; }
    void SetEncoderPulsesPerTurn(int) override {}
    DefinedList& DefinedParameters() override { return defined; }

    CRegisterServices services;
    CKeloServoDoc* document = nullptr;
    DefinedList defined;
};

// Counts the drive's pings the editor handles and after which request each one was handled.
struct PingCounter {
    std::atomic<long> requests{0};
    bool counting = false;
    long handled = 0;
    long servedGaps = 0;
    long lastServed = -1;

    void Handled() {
        if (!counting)
            return;
        ++handled;
        const long now = requests.load();
        if (now != lastServed) {
            ++servedGaps;
            lastServed = now;
        }
    }
    void Reset() {
        requests = 0;
        handled = 0;
        servedGaps = 0;
        lastServed = -1;
    }
};

class CountingEditor : public CParaEditDlg {
public:
    CountingEditor(IParaEditViewLink& view, PingCounter& counter) : CParaEditDlg(view), counter_(counter) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kPing) {
            counter_.Handled();
            return 0;
        }
        return CParaEditDlg::WindowProc(message, wParam, lParam);
    }

private:
    PingCounter& counter_;
};

// The Qt application and the resource library the windows are built from; nothing (the benchmark
// told why) when the library is missing.
std::shared_ptr<const CResourceModule> StartWindows(benchmark::State& state) {
    std::shared_ptr<const CResourceModule> module = ProgramResources();
    if (!module)
        state.SkipWithError("libVimbra.so is not beside the benchmark");
    return module;
}

// Every document default into the drive, so the pass finds no value over its range.
void LoadDriveDefaults(CSimDrive& drive, CKeloServoDoc& doc) {
    for (const std::string& code : ReadAllCodes(doc.Context()))
        if (const int* value = doc.FindDefault(code))
            SetDriveParameter(drive, code, *value);
}

void BM_EditorReadAll(benchmark::State& state) {
    const int series = static_cast<int>(state.range(0));
    const bool probe = state.range(1) != 0;
    PrivateHome home("kelo-bench-paramedit");
    if (!home.Ok()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    std::shared_ptr<const CResourceModule> module = StartWindows(state);
    if (!module)
        return;
    ScopedResourceModule resources(module);
    ScriptedMessages messages;

    CSimDrive drive(series);
    CSimPtyServer server(drive);
    std::string error;
    if (!server.Start({.name = "ttyPEBENCH" + std::to_string(getpid()),
                       .registerVirtualPort = false,
                       .wireBaud = kBaud},
                      &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    if (PortObject.Open(server.DevicePath().c_str(), kBaud, 500, 20000, 20000) != ErrNone ||
        PortObject.SetupReadTimer(kBaud, 177) != ErrNone) {
        state.SkipWithError("cannot open the simulated drive's port");
        return;
    }
    ConnectedFlag = 1;
    ModbusMode = 0;
    ModbusAsciiFlag = 0;
    StationNumber = 1;
    DebugModeFlag = 0;
    SeriesCode = series;
    ModelCode = CSimDrive::ModelCodeForSeries(series);
    ParaEditKept = ParaEditMemory{};

    LinkedHost host;
    CKeloServoDoc doc(&host);
    doc.OnNewDocument();
    BenchView view;
    view.document = &doc;
    view.services.Document = &doc;
    LoadDriveDefaults(drive, doc);

    PingCounter pings;
    messages.Answer(IDNO); // the opening read-all question: the passes below are the ones measured
    auto* editor = new CountingEditor(view, pings);
    if (!editor->Create(IDD_PARAEDIT, nullptr)) {
        if (!IsWindow(editor->GetSafeHwnd()))
            delete editor;
        state.SkipWithError("the editor window was not created");
        return;
    }
    const std::weak_ptr<int> editorLife = editor->Life();
    editor->KillTimer(ParaEditReadTimer); // only the measured passes talk to the drive
    const HWND editorHandle = editor->GetSafeHwnd();
    drive.SetRequestHook([&pings, editorHandle, probe](const std::string&) -> std::optional<std::string> {
        ++pings.requests;
        if (probe)
            PostMessage(editorHandle, kPing);
        return std::nullopt;
    });

    double wallTotal = 0;
    double wireTotal = 0;
    double cpuTotal = 0;
    double bestRatio = 0;
    std::vector<double> passRatios;
    std::vector<double> passWalls;
    long requests = 0;
    long handled = 0;
    long servedGaps = 0;
    long failures = 0;
    for (auto _ : state) {
        doc.SetModifiedFlag(false);
        messages.Clear();
        messages.Answer(IDYES);
        drive.ClearLog();
        pings.Reset();
        pings.counting = true;
        const double cpuStart = ThreadCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        const BOOL read = editor->ReadAllParameters();
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpuTotal += ThreadCpuSeconds() - cpuStart;
        pings.counting = false;
        DispatchPendingMessages(); // the pings the pass left waiting
        state.SetIterationTime(wall);

        double wire = 0;
        for (const SimLogEntry& entry : drive.Log())
            wire += std::chrono::duration<double>(drive.WireTime(entry.request.size() + entry.reply.size()))
                        .count();
        if (!read || messages.Shown().size() != 1)
            ++failures;
        if (wire > 0) {
            passRatios.push_back(wall / wire);
            passWalls.push_back(wall);
            if (bestRatio == 0 || wall / wire < bestRatio)
                bestRatio = wall / wire;
        }
        wallTotal += wall;
        wireTotal += wire;
        requests += pings.requests.load();
        handled += pings.handled;
        servedGaps += pings.servedGaps;
    }
    // The probe's control: a transfer of the register services that dispatches a pending message
    // after each item (the contact block, 24 requests) must show one served gap per request.
    long controlRequests = 0;
    long controlServed = 0;
    if (probe) {
        pings.Reset();
        pings.counting = true;
        if (!view.services.ReadDioContactBlock())
            ++failures;
        pings.counting = false;
        DispatchPendingMessages();
        controlRequests = pings.requests.load();
        controlServed = pings.servedGaps;
    }
    drive.SetRequestHook(nullptr);

    // The floor: the last pass's very requests sent again back to back through the same exchange,
    // with no window around them. What the pass costs beyond this is the editor's own. One replay
    // varies as much as the editor's cost itself, so it is measured over several and its median
    // taken.
    const std::vector<SimLogEntry> pass = drive.Log();
    std::vector<double> replayWalls;
    std::vector<double> replayRatios;
    double replayCpu = 0;
    long replayFailures = 0;
    for (int round = 0; round < kFloorPasses && !pass.empty(); ++round) {
        drive.ClearLog();
        const double replayCpuStart = ThreadCpuSeconds();
        const auto replayStart = std::chrono::steady_clock::now();
        for (const SimLogEntry& entry : pass) {
            char reply[128] = {};
            const int expected = static_cast<int>(entry.reply.size());
            if (expected <= 0 || expected > static_cast<int>(sizeof reply) ||
                view.services.SendCommand(entry.request.data(), static_cast<int>(entry.request.size()), reply,
                                          expected) == ReplyFailed)
                ++replayFailures;
        }
        const double replayWall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - replayStart).count();
        replayCpu += ThreadCpuSeconds() - replayCpuStart;
        double replayWire = 0;
        for (const SimLogEntry& entry : drive.Log())
            replayWire +=
                std::chrono::duration<double>(drive.WireTime(entry.request.size() + entry.reply.size()))
                    .count();
        if (replayWire > 0) {
            replayWalls.push_back(replayWall);
            replayRatios.push_back(replayWall / replayWire);
        }
    }

    if (!editorLife.expired())
        editor->DestroyWindow();
    PortObject.Close();
    ConnectedFlag = 0;
    server.Stop();

    const double passes = static_cast<double>(state.iterations());
    state.counters["pass_s"] = wallTotal / passes;
    state.counters["wire_s"] = wireTotal / passes;
    state.counters["ratio"] = wallTotal / wireTotal;
    state.counters["best_ratio"] = bestRatio;
    // What each request costs beyond its wire time, and how much of that is this thread's CPU (the
    // rest is waiting: the pty, the drive thread's wake-ups).
    const double perRequest = 1e6 / (static_cast<double>(requests) > 0 ? static_cast<double>(requests) : 1.0);
    state.counters["over_wire_us_per_req"] = (wallTotal - wireTotal) * perRequest;
    state.counters["our_cpu_us_per_req"] = cpuTotal * perRequest;
    state.counters["goal_ratio_max"] = kGoalRatio;
    state.counters["requests"] = static_cast<double>(requests) / passes;
    if (probe) {
        state.counters["pings_handled"] = static_cast<double>(handled) / passes;
        state.counters["served_gaps"] = static_cast<double>(servedGaps) / passes;
        state.counters["goal_served_gaps"] = static_cast<double>(requests) / passes;
        state.counters["control_requests"] = static_cast<double>(controlRequests);
        state.counters["control_served_gaps"] = static_cast<double>(controlServed);
    }
    state.counters["failures"] = static_cast<double>(failures + replayFailures);
    state.counters["median_ratio"] = Median(passRatios);
    state.counters["ratio_spread"] = Spread(passRatios);
    if (!replayRatios.empty()) {
        state.counters["bare_link_ratio"] = Median(replayRatios);
        state.counters["bare_link_spread"] = Spread(replayRatios);
        state.counters["bare_cpu_us_per_req"] =
            replayCpu * 1e6 / (static_cast<double>(pass.size()) * static_cast<double>(replayRatios.size()));
        state.counters["editor_us_per_req"] =
            (Median(passWalls) - Median(replayWalls)) * 1e6 / static_cast<double>(pass.size());
    }
}

// What the pass's progress window costs for each parameter, without any drive: shown, its text set
// and its bar stepped three times, as the read-all loop does per code.
void BM_ProgressWindowPerCode(benchmark::State& state) {
    std::shared_ptr<const CResourceModule> module = StartWindows(state);
    if (!module)
        return;
    ScopedResourceModule resources(module);
    auto* window = new CProgressParaEdit(nullptr);
    window->m_caption = "Read";
    if (!window->Create(IDD_PROGRESS_PARAEDIT, nullptr)) {
        if (!IsWindow(window->GetSafeHwnd()))
            delete window;
        state.SkipWithError("the progress window was not created");
        return;
    }
    const std::weak_ptr<int> life = window->Life();
    constexpr int kCodes = 660;
    window->m_progress.SetRange32(0, 3 * kCodes);
    window->ShowWindow(SW_SHOW);
    DispatchPendingMessages(); // shown and painted once, as the pass's window is after its first code
    int done = 0;
    for (auto _ : state) {
        if (done++ % kCodes == 0)
            window->m_progress.SetPos(0);
        window->ShowWindow(SW_SHOW);
        window->SetProgressText("Reading parameters...");
        for (int i = 0; i < 3; ++i)
            window->m_progress.StepIt();
    }
    if (!life.expired())
        window->DestroyWindow();
}

// Without and with the responsiveness probe, so that the probe is seen not to change the timing.
BENCHMARK(BM_EditorReadAll)
    ->ArgNames({"series", "probe"})
    ->Args({4, 0})
    ->Args({4, 1})
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProgressWindowPerCode)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return RunWireBenchmarks(argc, argv);
}
