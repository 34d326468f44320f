// The program's main road against the simulated drive, which runs as the `kelo-drive-sim` child
// process (beside this benchmark) at 115200 baud with emulated wire time, so that none of its work is
// counted as ours:
//   - start-up (application, main frame, view) to a shown main window connected to the drive, as the
//     launcher's hand-off file asks for an automatic connection. The first start of the process also
//     pays for making the Qt application (first_s); the opening question of the parameter editor is
//     answered No, as its read is the user's choice and not part of the start.
//   - the cost of link supervision and status refresh while connected and idle: the real timers run
//     for a few seconds of wall time under the Qt event loop; the process CPU time over that wall time
//     is the share of one core.
#include "catalogue/DocumentGlobals.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/Paths.h"
#include "framework/ui/App.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/Doc.h"
#include "link/LinkState.h"
#include "link/SerialExt.h"
#include "link/handoff/HandoffFile.h"
#include "link/services/RegisterServices.h"
#include "paramedit/ParaEditDlg.h"
#include "shell/ShellGlobals.h"
#include "shell/ui/KeloServoApp.h"
#include "shell/ui/KeloServoView.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ShellLinkState.h"
#include "tests/support/PrivateHome.h"
#include "tests/support/ProgramShutdown.h"

#include <benchmark/benchmark.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr double kStartGoalSeconds = 1.5;
constexpr double kIdleGoalPercent = 1.0;
constexpr int kBaud = 115200;
constexpr const char* kSeriesLine = "1"; // series 4
constexpr int kDriveSeries = 4;
constexpr const char* kDescription = "KeloServo simulated drive (USB Serial)"; // the program's default

using Clock = std::chrono::steady_clock;

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Write calls the process made so far (/proc/self/io): while idle, mostly the requests of the timers,
// so the figure shows that the supervision really talked to the drive.
long WriteCalls() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long value = 0;
    while (io >> key >> value)
        if (key == "syscw:")
            return value;
    return -1;
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Runs the thread's events as the program's main loop does, for the given wall time. (A nested
// QEventLoop would end at once here: closing an earlier run's main window asked the application to
// quit, and that request stays until the application's own loop starts again.)
void RunEventsFor(std::chrono::milliseconds time) {
    bool done = false;
    QTimer end;
    end.setSingleShot(true);
    QObject::connect(&end, &QTimer::timeout, [&done] { done = true; });
    end.start(time);
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    while (!done)
        dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

// Whether a parameter editor window is shown.
bool EditorShown() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && dynamic_cast<CParaEditDlg*>(CWnd::FromWidget(widget)))
            return true;
    return false;
}

// Private temporary, home, configuration and program folders, so no file of a real installation is
// touched.
class BenchFolders {
public:
    BenchFolders() {
        std::error_code error;
        ok_ = home_.Ok() && std::filesystem::create_directory(home_.Path("program"), error);
        SetProgramFolderForTesting(home_.Path("program"));
    }
    ~BenchFolders() { SetProgramFolderForTesting(""); }
    BenchFolders(const BenchFolders&) = delete;
    BenchFolders& operator=(const BenchFolders&) = delete;
    bool Ok() const { return ok_; }

private:
    PrivateHome home_{"kelo-bench-shell"};
    bool ok_ = false;
};

// The simulated drive as a child process; it registers its virtual port in the temporary folder the
// environment names (so start it after BenchFolders) and prints the port name once it serves.
class DriveProcess {
public:
    bool Start(const std::string& name, std::string* error) {
        const std::string program =
            (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "kelo-drive-sim").string();
        int out[2];
        if (pipe(out) != 0) {
            *error = "no pipe";
            return false;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const std::string series = std::to_string(kDriveSeries);
        const std::string baud = std::to_string(kBaud);
        const char* argv[] = {program.c_str(), "--series",    series.c_str(), "--name",
                              name.c_str(),    "--wire-baud", baud.c_str(),   nullptr};
        const int spawned =
            posix_spawn(&pid_, program.c_str(), &actions, nullptr, const_cast<char* const*>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        if (spawned != 0) {
            close(out[0]);
            pid_ = -1;
            *error = "cannot start " + program;
            return false;
        }
        // It serves once it has printed the port name.
        std::string line;
        char c = 0;
        while (read(out[0], &c, 1) == 1 && c != '\n')
            line += c;
        close(out[0]);
        if (line != name) {
            *error = "kelo-drive-sim did not start (said \"" + line + "\")";
            Stop();
            return false;
        }
        return true;
    }
    void Stop() {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
    }
    ~DriveProcess() { Stop(); }

private:
    pid_t pid_ = -1;
};

// The program brought up as the user starts it after the launcher asked for an automatic connection.
class ProgramRun {
public:
    explicit ProgramRun(std::string portName) : portName_(std::move(portName)) {
        ConnectedFlag = 0;
        ServoOnFlag = 0;
        ModbusMode = 0;
        ModbusAsciiFlag = 0;
        StationNumber = 1;
        DriveIdentifiedFlag = 0;
        DebugModeFlag = 0;
        BrandMode = 0;
        // A modal dialog (the port choice after a failed connection) must not wait for a user.
        previousHook_ = CDialog::SetModalHookForTest([](CDialog& dialog) { dialog.EndDialog(IDCANCEL); });
    }
    ~ProgramRun() {
        Stop();
        CDialog::SetModalHookForTest(previousHook_);
    }
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool HandOff() const {
        return WriteHandoffLines({kSeriesLine, "1", portName_ + " : " + kDescription, "0"});
    }

    // Starts the program and runs its events until the main window is shown and linked (false when
    // that did not happen within the time limit).
    bool StartAndWaitConnected(std::chrono::seconds limit = std::chrono::seconds(10)) {
        messages_.Answer(IDNO); // the parameter editor's opening read question
        app_ = std::make_unique<CKeloServoApp>();
        if (!app_->InitInstance())
            return false;
        const auto deadline = Clock::now() + limit;
        while (!Connected()) {
            if (Clock::now() > deadline)
                return false;
            DispatchPendingMessages();
        }
        DispatchPendingMessages(); // the first paint of what was shown
        return true;
    }

    bool Connected() const {
        CMainFrame* frame = app_ ? app_->MainFrame() : nullptr;
        return frame && frame->IsWindowVisible() && ConnectedFlag != 0 && DriveIdentifiedFlag != 0;
    }

    size_t MessagesShown() const { return messages_.Shown().size(); }

    void Stop() {
        if (!app_)
            return;
        EndProgramInstance(*app_);
        app_.reset();
        PortObject.Close();
        ConnectedFlag = 0;
        DispatchPendingMessages();
    }

private:
    std::string portName_;
    ScriptedMessages messages_;
    std::unique_ptr<CKeloServoApp> app_;
    CDialog::ModalHook previousHook_;
};

std::string PortName() {
    return "ttyBENCH" + std::to_string(getpid());
}

// The folders and the drive every benchmark here starts from.
struct DriveBench {
    // False (the benchmark told why) when either could not be had.
    bool Start(benchmark::State& state) {
        std::string error;
        if (!folders.Ok() || !drive.Start(PortName(), &error)) {
            state.SkipWithError(folders.Ok() ? error.c_str() : "no temporary folder");
            return false;
        }
        return true;
    }
    BenchFolders folders;
    DriveProcess drive;
};

void BM_StartToConnectedWindow(benchmark::State& state) {
    DriveBench bench;
    if (!bench.Start(state))
        return;
    double first = -1;
    double total = 0;
    double worst = 0;
    long failures = 0;
    long messages = 0;
    long editors = 0;
    for (auto _ : state) {
        ProgramRun run(PortName());
        if (!run.HandOff()) {
            state.SkipWithError("cannot write the hand-off file");
            return;
        }
        const auto start = Clock::now();
        // The first start of the process makes the Qt application, as the program's own start does.
        EnsureQtApplication();
        const bool connected = run.StartAndWaitConnected();
        const double elapsed = Seconds(Clock::now() - start);
        state.SetIterationTime(elapsed);
        if (!connected)
            ++failures;
        // The editor's read question when it opens; anything more is a failure the figures must not hide.
        messages += static_cast<long>(run.MessagesShown());
        editors += EditorShown() ? 1 : 0;
        if (first < 0)
            first = elapsed;
        total += elapsed;
        worst = std::max(worst, elapsed);
    }
    state.counters["first_s"] = first;
    state.counters["mean_s"] = total / static_cast<double>(state.iterations());
    state.counters["max_s"] = worst;
    state.counters["goal_s_max"] = kStartGoalSeconds;
    state.counters["failures"] = static_cast<double>(failures);
    state.counters["messages_per_start"] =
        static_cast<double>(messages) / static_cast<double>(state.iterations());
    state.counters["editor_shown_per_start"] =
        static_cast<double>(editors) / static_cast<double>(state.iterations());
}

void BM_IdleLinkedCpu(benchmark::State& state) {
    const auto window = std::chrono::milliseconds(state.range(0));
    DriveBench bench;
    if (!bench.Start(state))
        return;
    EnsureQtApplication();
    double cpuTotal = 0;
    double wallTotal = 0;
    long dropped = 0;
    long messages = 0;
    long writes = 0;
    bool editorShown = false;
    for (auto _ : state) {
        state.PauseTiming();
        ProgramRun run(PortName());
        if (!run.HandOff() || !run.StartAndWaitConnected()) {
            state.SkipWithError("the program did not connect to the drive");
            return;
        }
        const size_t messagesBefore = run.MessagesShown();
        editorShown = EditorShown();
        state.ResumeTiming();

        const long writesStart = WriteCalls();
        const double cpuStart = ProcessCpuSeconds();
        const auto wallStart = Clock::now();
        RunEventsFor(window);
        const double cpu = ProcessCpuSeconds() - cpuStart;
        writes += WriteCalls() - writesStart;
        const double wall = Seconds(Clock::now() - wallStart);

        state.PauseTiming();
        if (ConnectedFlag == 0)
            ++dropped;
        messages += static_cast<long>(run.MessagesShown() - messagesBefore);
        cpuTotal += cpu;
        wallTotal += wall;
        run.Stop();
        state.ResumeTiming();
    }
    state.counters["cpu_percent_of_core"] = 100.0 * cpuTotal / wallTotal;
    state.counters["goal_percent_max"] = kIdleGoalPercent;
    state.counters["idle_wall_s"] = wallTotal / static_cast<double>(state.iterations());
    state.counters["write_calls_per_s"] = static_cast<double>(writes) / wallTotal;
    state.counters["links_lost"] = static_cast<double>(dropped);
    state.counters["messages_while_idle"] = static_cast<double>(messages);
    state.counters["editor_shown"] = editorShown ? 1 : 0;
}

// Start-up first: its first run is the process's first start of the Qt application.
BENCHMARK(BM_StartToConnectedWindow)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleLinkedCpu)->Arg(8000)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
