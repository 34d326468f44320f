// The trace window in a long Monitor run: 8 channels x 102,400 samples, samples arriving at 2,000
// per second per channel, the 50 ms display timer moving them and the window repainting after each
// tick. Targets: the user-interface thread under 10% of one core over 30 s; one full plot frame at
// 1000 x 650 under 4 ms. A feeder thread stands in for the sampling thread (same lock, same queues).
#include "bench/trace/TraceBenchView.h"
#include "catalogue/DocumentHost.h"
#include "catalogue/KeloServoDoc.h"
#include "framework/core/Paths.h"
#include "framework/core/ResourceModule.h"
#include "framework/core/Sync.h"
#include "framework/ui/App.h"
#include "link/services/RegisterServices.h"
#include "tests/support/WindowTestHome.h"
#include "trace/AcquisitionStore.h"
#include "trace/ui/TraceGraphDlg.h"
#include "trace/ui/TraceViewLink.h"

#include <QCoreApplication>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <thread>

namespace {

struct UnlinkedHost : DocumentHost {
    bool IsConnected() const override { return false; }
};

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

struct World {
    World() {
        EnsureQtApplication();
        folder = std::filesystem::temp_directory_path() / ("kelo-trace-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        SetProgramFolderForTesting(folder.string());
        resources = std::make_unique<ScopedResourceModule>(ProgramResources());
        document = std::make_unique<CKeloServoDoc>(&host);
        document->OnNewDocument();
        view.document = document.get();
        TraceSettings& s = view.settings;
        s.valid = 1;
        s.traceMode = TraceModeMonitor;
        s.channelCountMode = 1;
        s.points = MonitorPointCount;
        s.sources = {1, 2, 3, 4, 6, 7, 36, 37};
        s.interval = 1;
        s.timeBase = 10000;
        s.scaleSelections.fill(8); // 500 a division: the +-1000 sines span four divisions
        window = new CTraceGraphDlg(view, nullptr);
        window->Create();
        window->MoveWindow(0, 0, 1000, 650);
        QCoreApplication::processEvents();
    }
    ~World() {
        window->DestroyWindow();
        QCoreApplication::processEvents();
        SetProgramFolderForTesting("");
        std::filesystem::remove_all(folder);
    }
    std::filesystem::path folder;
    UnlinkedHost host;
    std::unique_ptr<ScopedResourceModule> resources;
    std::unique_ptr<CKeloServoDoc> document;
    TraceBenchView view;
    CTraceGraphDlg* window = nullptr;
};

// Fills each display array with a full record of sine waves.
void Feed(CSyncObject& lock, int count, int& phase) {
    CSingleLock hold(&lock, true);
    for (int k = 0; k < count; ++k, ++phase) {
        ChannelDeques[SampleIndexSlot].push_back(phase);
        for (size_t ch = 0; ch < 8; ++ch)
            ChannelDeques[static_cast<size_t>(ChannelSlots[ch])].push_back(
                static_cast<int32_t>(1000.0 * std::sin((phase + 100.0 * static_cast<double>(ch)) / 300.0)));
    }
    PendingSampleCount += count;
}

void MonitorUserInterfaceLoad(benchmark::State& state) {
    World world;
    int phase = 0;
    for (auto _ : state) {
        std::atomic<bool> stop{false};
        // 100 samples per channel every 50 ms.
        std::thread feeder([&] {
            int fed = 0;
            while (!stop) {
                Feed(world.view.lock, 100, fed);
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        });
        const double cpuStart = ThreadCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        const auto end = start + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < end) {
            world.window->SendMessage(WM_TIMER, TraceMonitorTimer);
            QCoreApplication::processEvents(); // the repaint the tick asked for
            std::this_thread::sleep_until(std::chrono::steady_clock::now() + std::chrono::milliseconds(50));
        }
        const double cpu = ThreadCpuSeconds() - cpuStart;
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        stop = true;
        feeder.join();
        state.counters["ui_cpu_percent_of_core"] = 100.0 * cpu / wall;
        (void)phase;
    }
}
BENCHMARK(MonitorUserInterfaceLoad)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

void FullPlotFrame(benchmark::State& state) {
    World world;
    int phase = 0;
    Feed(world.view.lock, MonitorPointCount + 1, phase);
    world.window->SendMessage(WM_TIMER, TraceMonitorTimer);
    QWidget* widget = world.window->GetWidget();
    const CRect picture = world.window->PictureRect();
    const QRect area(picture.left, picture.top, picture.Width(), picture.Height());
    for (auto _ : state)
        widget->repaint(area); // one whole plot frame: back buffer, grid, eight curves, labels, copy
}
BENCHMARK(FullPlotFrame)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
