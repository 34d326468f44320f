// Maker read exchanges per second through SendCommand against the simulated drive with emulated
// wire time, compared with the rate the wire allows. Our side's CPU time per exchange is the
// benchmark thread's CPU time (the drive answers on its own thread). Baud 0 runs without emulated
// wire time: the floor that the pty and the thread hand-offs alone cost.
//
// The drive's thread inherits this thread's timer slack; it is set to 1 ns so that the emulated wire
// time is slept as given instead of up to 50 us late (that lateness is the emulation's, not the
// link's). Pass --default-slack to measure with the default.
#include "bench/WireBenchMain.h"
#include "link/InternalCode.h"
#include "link/LinkState.h"
#include "link/SerialExt.h"
#include "sim/SimDrive.h"
#include "sim/SimPtyServer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <ctime>

namespace {

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_MakerReadExchange(benchmark::State& state) {
    const int baud = static_cast<int>(state.range(0));
    CSimDrive drive(4);
    drive.SetRegister(0x0201, 0x1234);
    CSimPtyServer server(drive);
    std::string error;
    if (!server.Start({.name = "ttyLINKBENCH", .registerVirtualPort = false, .wireBaud = baud}, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    const int lineBaud = baud > 0 ? baud : 115200;
    if (PortObject.Open(server.DevicePath().c_str(), lineBaud, 500, 20000, 20000) != ErrNone ||
        PortObject.SetupReadTimer(lineBaud, 177) != ErrNone) {
        state.SkipWithError("cannot open the simulated drive's port");
        return;
    }
    ConnectedFlag = 1;
    CInternalCode code;
    char request[8];
    char reply[8];
    CInternalCode::BuildReadWord(request, 0x0201);

    long exchanges = 0;
    long failures = 0;
    const double cpuStart = ThreadCpuSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    for (auto _ : state) {
        if (code.SendCommand(request, 8, reply, 7) != ReplyRead)
            ++failures;
        ++exchanges;
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    const double cpu = ThreadCpuSeconds() - cpuStart;
    PortObject.Close();
    ConnectedFlag = 0;
    server.Stop();

    const double rate = static_cast<double>(exchanges) / wall;
    state.counters["exchanges_per_s"] = rate;
    if (baud > 0) {
        const double wireRate = baud / 10.0 / (8 + 7); // 10 bit times a character, request + reply
        state.counters["wire_limit_per_s"] = wireRate;
        state.counters["ratio"] = rate / wireRate;
    }
    state.counters["our_cpu_us"] = 1e6 * cpu / static_cast<double>(exchanges);
    state.counters["failures"] = static_cast<double>(failures);
}

BENCHMARK(BM_MakerReadExchange)->Arg(0)->MinTime(2.0)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MakerReadExchange)->Arg(9600)->MinTime(2.0)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MakerReadExchange)->Arg(115200)->MinTime(2.0)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return RunWireBenchmarks(argc, argv);
}
