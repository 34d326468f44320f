// One box record read by the reading thread against a drive on an emulated 115200-baud wire: one
// poll of 0x1523, eight nine-address block reads and the disarm. Target: within 1.1 times the wire
// time of those ten exchanges (10 bit times a character). The thread works apart from the window's
// thread, which only starts it and later takes the record in one timer tick.
#include "bench/WireBenchMain.h"

#include "trace/AcquisitionThreads.h"

#include "link/InternalCode.h"
#include "link/LinkState.h"
#include "link/SerialExt.h"
#include "sim/SimMachine.h"
#include "sim/SimPtyServer.h"

#include <chrono>
#include <string>
#include <unistd.h>

namespace {

void BM_BoxRecordReadAtWireRate(benchmark::State& state) {
    constexpr int baud = 115200;
    // Characters out and back: the poll (8 + 7), eight blocks (40 + 64 x 39), the disarm (12 + 1).
    constexpr double characters = (8 + 7) + 8 * (40 + 64 * 39) + (12 + 1);
    const double wireSeconds = characters * 10.0 / baud;
    double worst = 0;
    for (auto _ : state) {
        CSimDrive drive(4);
        CSimMachine machine(drive);
        CSimPtyServer server(drive);
        std::string error;
        if (!server.Start({.name = "ttyBOXBENCH" + std::to_string(getpid()),
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
        // Armed without a trigger; the machine runs until the 512 samples are in.
        for (auto [address, value] :
             {std::pair{0x1525, 0}, {0x1526, 0}, {0x1527, 1}, {0x1521, 0}, {0x1523, 0}, {0x1525, 1}}) {
            char request[12], reply[2];
            CInternalCode::BuildWriteWord(request, static_cast<uint16_t>(address), value);
            link.SendCommand(request, 12, reply, 1);
        }
        machine.Advance(60000);
        BoxThreadSettings settings;
        settings.link = &link;
        settings.linkMutex = &linkMutex;
        settings.types = {21, 22, 3, 32};
        StopEvent.ResetEvent();
        ClearChannelDeques({0, 1, 2, 5, 6, 7, 8, 9, 10});
        const auto start = std::chrono::steady_clock::now();
        auto* thread = AfxBeginThread<CBOXThread>([&](CBOXThread& t) { t.Settings = settings; });
        thread->Wait(60000); // far above the wire time: a silent drive ends the run
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        worst = std::max(worst, wall / wireSeconds);
        state.counters["samples"] = static_cast<double>(ChannelDeques[1].size());
        delete thread;
        PortObject.Close();
        ConnectedFlag = 0;
        server.Stop();
        ClearChannelDeques({0, 1, 2, 5, 6, 7, 8, 9, 10});
    }
    state.counters["wire_s"] = wireSeconds;
    state.counters["worst_times_wire"] = worst;
}
BENCHMARK(BM_BoxRecordReadAtWireRate)->Iterations(3)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    return RunWireBenchmarks(argc, argv);
}
