// Recordings of a full Monitor run (8 x 102,401 samples) written and read, and the cost of the
// Monitor sampling thread against a drive on an emulated 115200-baud wire that records at 0.9 of
// what the wire can carry. Targets: each file operation under 100 ms; the thread under 5% of a core.
#include "bench/WireBenchMain.h"

#include "trace/AcquisitionThreads.h"
#include "trace/TraceArming.h"
#include "trace/TraceDataFile.h"

#include "link/InternalCode.h"
#include "link/LinkState.h"
#include "link/SerialExt.h"
#include "sim/SimMachine.h"
#include "sim/SimPtyServer.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace {

TraceRecording MonitorRecording() {
    TraceRecording r;
    r.traceMode = 2;
    r.pointCount = MonitorPointCount;
    for (int k = 0; k < 8; ++k) {
        r.samples[k].resize(MonitorPointCount + 1);
        for (int i = 0; i <= MonitorPointCount; ++i)
            r.samples[k][i] = (i * (k + 3)) % 20000 - 10000;
    }
    return r;
}

std::string BenchPath() {
    return (std::filesystem::temp_directory_path() /
            ("kelo-trace-bench-" + std::to_string(getpid()) + ".trd"))
        .string();
}

void BM_WriteMonitorRecording(benchmark::State& state) {
    const TraceRecording r = MonitorRecording();
    const std::string path = BenchPath();
    for (auto _ : state) {
        std::string error;
        if (!ReplaceFileContents(path, EncodeTraceFile(r, TraceFileForm::Trace), &error))
            state.SkipWithError(error.c_str());
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_WriteMonitorRecording)->Unit(benchmark::kMillisecond);

void BM_ReadMonitorRecording(benchmark::State& state) {
    const std::string path = BenchPath();
    ReplaceFileContents(path, EncodeTraceFile(MonitorRecording(), TraceFileForm::Trace));
    for (auto _ : state) {
        TraceRecording r;
        if (!ReadTraceFile(path, TraceFileForm::Trace, r).ok)
            state.SkipWithError("the recording did not read");
        benchmark::DoNotOptimize(r.samples[7].back());
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadMonitorRecording)->Unit(benchmark::kMillisecond);

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The sampling thread with its own processor time measured at its end.
class MeasuredThread : public CMyThread {
public:
    std::atomic<double> CpuSeconds{0};

protected:
    bool Acquire() override {
        const bool ended = CMyThread::Acquire();
        CpuSeconds = ThreadCpuSeconds();
        return ended;
    }
};

void BM_MonitorThreadAtWireRate(benchmark::State& state) {
    constexpr int baud = 115200;
    const auto run = std::chrono::seconds(state.range(0));
    for (auto _ : state) {
        CSimDrive drive(4);
        CSimMachine machine(drive);
        machine.SetRealTime(true);
        CSimPtyServer server(drive);
        std::string error;
        if (!server.Start({.name = "ttyBENCH" + std::to_string(getpid()),
                           .registerVirtualPort = false,
                           .wireBaud = baud},
                          &error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        PortObject.Open(server.DevicePath().c_str(), baud, 500, 20000, 20000);
        PortObject.SetupReadTimer(baud, 177);
        ConnectedFlag = 1;
        CInternalCode link;
        CMutex linkMutex;

        // One pass moves 128 records: two blocks of 64 nine-word records, a status read and the
        // hand-back, 10 bit times a character.
        const double passCharacters = 2 * (40 + 64 * 39) + (8 + 7) + (12 + 1);
        const double wireRecordsPerSecond = 128.0 / (passCharacters * 10.0 / baud);
        const int interval =
            static_cast<int>(1e3 / (0.9 * wireRecordsPerSecond) + 0.5); // Monitor: 1 ms units
        TraceArmingSettings arming;
        arming.traceMode = TraceModeMonitor;
        arming.sources = {1, 2, 3, 4, 36, 6, 7, 37};
        arming.interval = interval;
        RunArmingRequests(link, BuildArmingRequests(arming));

        TraceThreadSettings settings;
        settings.link = &link;
        settings.linkMutex = &linkMutex;
        settings.traceMode = TraceModeMonitor;
        settings.sources = arming.sources;
        settings.pointCount = MonitorPointCount;
        settings.statusValueD4 = drive.GetRegister(0x0F04);
        settings.driveIdWord = drive.GetRegister(0x171E);
        StopEvent.ResetEvent();
        ClearChannelDeques({0, 1, 2, 5, 6, 7, 8, 9, 10});
        const auto start = std::chrono::steady_clock::now();
        auto* thread = AfxBeginThread<MeasuredThread>([&](MeasuredThread& t) { t.Settings = settings; });
        std::this_thread::sleep_for(run);
        while (thread->IsRunning()) {
            StopEvent.SetEvent();
            thread->Wait(10);
        }
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        StopEvent.ResetEvent();
        state.counters["cpu_percent"] = thread->CpuSeconds / wall * 100.0;
        state.counters["records_per_s"] = static_cast<double>(ChannelDeques[1].size()) / wall;
        state.counters["wire_records_per_s"] = wireRecordsPerSecond;
        state.counters["dropped"] = machine.TraceDroppedRecords();
        delete thread;
        PortObject.Close();
        ConnectedFlag = 0;
        server.Stop();
        ClearChannelDeques({0, 1, 2, 5, 6, 7, 8, 9, 10});
    }
}
BENCHMARK(BM_MonitorThreadAtWireRate)->Arg(10)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    return RunWireBenchmarks(argc, argv);
}
