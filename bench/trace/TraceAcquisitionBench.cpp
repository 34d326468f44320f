// The whole Monitor acquisition as the program runs it: the trace window and its sampling thread in
// this process, a simulated drive in a child process behind a pseudo-terminal, its memory filling
// in real time and every answer taking its wire time at 115200 baud. Eight channels, a record every
// 5 ms (two thirds of what the wire carries), the window at 1000 x 650 with its own timers on the
// Qt event loop. Target: the process under 5% of one core over 30 s.
#include "bench/trace/TraceBenchView.h"
#include "catalogue/DocumentHost.h"
#include "catalogue/KeloServoDoc.h"
#include "framework/core/Paths.h"
#include "framework/core/ResourceModule.h"
#include "framework/core/Sync.h"
#include "framework/ui/App.h"
#include "link/LinkState.h"
#include "link/SerialExt.h"
#include "link/services/RegisterServices.h"
#include "resources/ids/trace.h"
#include "sim/SimMachine.h"
#include "sim/SimPtyServer.h"
#include "tests/support/WindowTestHome.h"
#include "trace/AcquisitionStore.h"
#include "trace/ui/TraceGraphDlg.h"
#include "trace/ui/TraceViewLink.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct LinkedHost : DocumentHost {
    bool IsConnected() const override { return ConnectedFlag != 0; }
};

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// A series 4 drive on the real clock with the wire emulated, served by a child process until it is
// ended; its device path comes back through a pipe. Forked before this process starts any thread.
struct DriveProcess {
    DriveProcess() {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        pid = fork();
        if (pid == 0) {
            close(fds[0]);
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
            CSimDrive drive(4);
            drive.SetLogCapacity(0);
            drive.SetWireBaud(115200);
            drive.SetServoOn(true);
            CSimMachine machine(drive);
            machine.SetRealTime(true);
            machine.SetDemonstrationProfile(true); // samples of a moving motor to show
            CSimPtyServer server(drive);
            const std::string name = "ttyBENCH" + std::to_string(getpid());
            std::string path;
            if (server.Start({.name = name, .registerVirtualPort = false}))
                path = server.DevicePath();
            path += "\n";
            if (write(fds[1], path.data(), path.size()) < 0)
                _exit(1);
            close(fds[1]);
            for (;;)
                pause();
        }
        close(fds[1]);
        char buffer[256] = {};
        size_t used = 0;
        while (used + 1 < sizeof buffer) {
            const ssize_t n = read(fds[0], buffer + used, 1);
            if (n <= 0 || buffer[used] == '\n')
                break;
            ++used;
        }
        close(fds[0]);
        devicePath.assign(buffer, used);
    }
    ~DriveProcess() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    pid_t pid = -1;
    std::string devicePath;
};

// The event loop as the program runs it: asleep until a timer, a posted message or input is due.
void SpinFor(std::chrono::milliseconds time) {
    QEventLoop loop;
    QTimer::singleShot(time, &loop, &QEventLoop::quit);
    loop.exec();
}

void MonitorWholeAcquisition(benchmark::State& state) {
    DriveProcess drive;
    if (drive.devicePath.empty()) {
        state.SkipWithError("the simulated drive did not start");
        return;
    }
    if (PortObject.Open(drive.devicePath.c_str(), 115200, 500, 20000, 20000) != ErrNone ||
        PortObject.SetupReadTimer(115200, 177) != ErrNone) {
        state.SkipWithError("cannot open the drive's port");
        return;
    }
    ConnectedFlag = 1;
    ++LinkEpoch;
    StationNumber = 1;

    EnsureQtApplication();
    const auto folder =
        std::filesystem::temp_directory_path() / ("kelo-trace-acq-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    SetProgramFolderForTesting(folder.string());
    {
        ScopedResourceModule resources(ProgramResources());
        LinkedHost host;
        CKeloServoDoc document(&host);
        document.OnNewDocument();
        TraceBenchView view;
        view.document = &document;
        view.services.Document = &document;
        TraceSettings& s = view.settings;
        s.valid = 1;
        s.traceMode = TraceModeMonitor;
        s.channelCountMode = 1;
        s.points = MonitorPointCount;
        s.sources = {29, 2, 3, 4, 6, 7, 36, 37}; // channel 1 a debug counter: every sample differs
        s.interval = 5;                          // Monitor counts it in milliseconds on this drive
        s.timeBase = 5 * 10000;
        s.scaleSelections.fill(8);
        auto* window = new CTraceGraphDlg(view, nullptr);
        window->Create();
        window->MoveWindow(0, 0, 1000, 650);
        window->ShowWindow(SW_SHOW);
        SpinFor(std::chrono::milliseconds(200));

        for (auto _ : state) {
            window->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TG_START, BN_CLICKED));
            SpinFor(std::chrono::seconds(2)); // the thread starts and the first segments arrive
            const double cpuStart = ProcessCpuSeconds();
            const auto start = std::chrono::steady_clock::now();
            SpinFor(std::chrono::seconds(30));
            const double cpu = ProcessCpuSeconds() - cpuStart;
            const double wall =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            const bool running = window->Running();
            window->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TG_START, BN_CLICKED));
            while (window->Running())
                SpinFor(std::chrono::milliseconds(20));
            int shown = 0;
            for (int i = 0; i < window->Display(0).Size(); ++i)
                shown += window->Display(0).At(i) != 0 ? 1 : 0;
            if (!running)
                state.SkipWithError("the acquisition ended early");
            state.counters["process_cpu_percent_of_core"] = 100.0 * cpu / wall;
            state.counters["samples_shown"] = shown;
        }
        window->CloseWindow();
        SpinFor(std::chrono::milliseconds(100));
    }
    PortObject.Close();
    ConnectedFlag = 0;
    SetProgramFolderForTesting("");
    std::filesystem::remove_all(folder);
}
BENCHMARK(MonitorWholeAcquisition)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
