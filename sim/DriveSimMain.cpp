// kelo-drive-sim: serves a simulated drive on a pseudo-terminal registered as a virtual port.
#include "sim/FaultSpec.h"
#include "sim/SimDrive.h"
#include "sim/SimDriveFunctions.h"
#include "sim/SimPtyServer.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <sys/prctl.h>

namespace {

const char kUsage[] =
    "usage: kelo-drive-sim --series N [--name ttySIM0] [--wire-baud B] [--station S]\n"
    "                      [--no-register] [--fault SPEC]...\n"
    "SPEC: see sim/README.md (e.g. refuse@0F04, silent:read, delay=200@0201, drop:write#1,\n"
    "      slow=3000:block for a slow line, corrupt=2:block for a noisy one,\n"
    "      freeze=7000:write+3 for a drive that stalls 7 s)\n";

bool ParseInt(const char* text, int& value) {
    char* end = nullptr;
    long v = std::strtol(text, &end, 0);
    if (!text[0] || *end || v < -1000000 || v > 100000000)
        return false;
    value = static_cast<int>(v);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int series = -1;
    int station = 1;
    SimPtyOptions options;
    std::vector<SimFault> faults;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](const char* what) -> const char* {
            if (i + 1 >= argc) {
                std::cerr << "kelo-drive-sim: " << arg << " needs " << what << "\n" << kUsage;
                std::exit(2);
            }
            return argv[++i];
        };
        if (arg == "--series") {
            if (!ParseInt(value("a number"), series) || series < 0 || series > 255) {
                std::cerr << "kelo-drive-sim: bad series\n";
                return 2;
            }
        } else if (arg == "--name") {
            options.name = value("a port name");
        } else if (arg == "--wire-baud") {
            if (!ParseInt(value("a baud rate"), options.wireBaud) || options.wireBaud < 0) {
                std::cerr << "kelo-drive-sim: bad baud rate\n";
                return 2;
            }
        } else if (arg == "--station") {
            if (!ParseInt(value("a station number"), station) || station < 0 || station > 255) {
                std::cerr << "kelo-drive-sim: bad station number\n";
                return 2;
            }
        } else if (arg == "--no-register") {
            options.registerVirtualPort = false;
        } else if (arg == "--fault") {
            std::string spec = value("a fault spec");
            std::string error;
            if (!sim::ParseFaultSpec(spec, faults, &error)) {
                std::cerr << "kelo-drive-sim: " << error << "\n";
                return 2;
            }
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else {
            std::cerr << "kelo-drive-sim: unknown argument " << arg << "\n" << kUsage;
            return 2;
        }
    }
    if (series < 0) {
        std::cerr << "kelo-drive-sim: --series is required\n" << kUsage;
        return 2;
    }

    // Block the stop signals before any thread starts, so only sigwait below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    // The wire time is emulated with sleeps, which overshoot by the timer slack (50 us by default, a
    // large part of a character at high baud rates). Set before any thread starts, so all inherit it.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);

    CSimDrive drive(series);
    // Nothing reads the request log of the served drive; kept, it would only grow while it serves.
    drive.SetLogCapacity(0);
    drive.SetStationNumber(station);
    for (const SimFault& fault : faults)
        drive.AddFault(fault);
    // The machine with the trace memory and the recorder on the real clock, and every drive function
    // that moves it or reads it.
    CSimDriveFunctions functions(drive);
    functions.machine.SetRealTime(true);
    CSimPtyServer server(drive);
    std::string error;
    if (!server.Start(options, &error)) {
        std::cerr << "kelo-drive-sim: " << error << "\n";
        return 1;
    }
    std::cout << server.PortName() << std::endl;
    std::cerr << "kelo-drive-sim: series " << series << " on " << server.DevicePath();
    if (!server.VirtualPortPath().empty())
        std::cerr << " (" << server.VirtualPortPath() << ")";
    std::cerr << std::endl;

    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.Stop();
    return 0;
}
