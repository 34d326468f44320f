// The self-built motor's encoder record written into the simulated drive and read back, at 115200
// baud with emulated wire time, against the time its requests and replies take on the wire alone.
// The ratio is the run's wall time over that wire time (1.0: nothing but the wire).
#include "bench/WireBenchMain.h"
#include "link/LinkState.h"
#include "link/SerialExt.h"
#include "link/services/RegisterServices.h"
#include "sim/SimDrive.h"
#include "sim/SimMotorData.h"
#include "sim/SimPtyServer.h"
#include "tools/MotorWritePlans.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

EncoderRecordValues Record() {
    EncoderRecordValues v;
    v.manufacturer = 0x12;
    v.productSeries = 0x3456;
    v.year = 26;
    v.week = 7;
    v.motorId = 0x1001;
    v.version = 3;
    v.ratedSpeed = 3000;
    v.polePairs = 5;
    v.ratedCurrent = 2500;
    v.resistance = 1100;
    v.inductance = 2200;
    v.ke = 30000;
    v.kt = 640;
    v.jm = 1200;
    v.maxCurrent = 300;
    v.maxSpeed = 150;
    v.crc = SelfBuiltMotorRecordCrc(PackSelfBuiltMotorRecord(v));
    v.voltageLevel = 2;
    v.encoderCode = 12;
    return v;
}

void BM_EncoderRecordWrite(benchmark::State& state) {
    const int baud = static_cast<int>(state.range(0));
    CSimDrive drive(4);
    CSimMotorData motor(drive);
    CSimPtyServer server(drive);
    std::string error;
    if (!server.Start({.name = "ttyMOTORBENCH", .registerVirtualPort = false, .wireBaud = baud}, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    if (PortObject.Open(server.DevicePath().c_str(), baud, 500, 20000, 20000) != ErrNone ||
        PortObject.SetupReadTimer(baud, 177) != ErrNone) {
        state.SkipWithError("cannot open the simulated drive's port");
        return;
    }
    ConnectedFlag = 1;
    CRegisterServices services;
    const MotorWritePlan plan = EncoderRecordWritePlan(Record(), 1);

    long runs = 0;
    long failures = 0;
    double wireSeconds = 0;
    double wallSeconds = 0;
    for (auto _ : state) {
        drive.ClearLog();
        const auto start = std::chrono::steady_clock::now();
        if (!RunMotorWritePlan(services, plan).finished)
            ++failures;
        wallSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        size_t characters = 0;
        for (const SimLogEntry& entry : drive.Log())
            characters += entry.request.size() + entry.reply.size();
        wireSeconds += static_cast<double>(characters) * 10.0 / baud; // 10 bit times a character
        ++runs;
    }
    PortObject.Close();
    ConnectedFlag = 0;
    server.Stop();

    state.counters["run_ms"] = 1e3 * wallSeconds / static_cast<double>(runs);
    state.counters["wire_ms"] = 1e3 * wireSeconds / static_cast<double>(runs);
    state.counters["ratio"] = wallSeconds / wireSeconds;
    state.counters["failures"] = static_cast<double>(failures);
}

BENCHMARK(BM_EncoderRecordWrite)->Arg(115200)->MinTime(2.0)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunWireBenchmarks(argc, argv);
}
