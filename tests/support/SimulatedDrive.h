#pragma once
// A whole simulated drive for a test, as kelo-drive-sim serves one: the drive, its machine (trace
// memory, box recorder, analysis), the jog and position functions, served on a pseudo-terminal of
// its own and linked to the program's port object as LinkToSimulatedDrive leaves it.
//
//     SimulatedDrive sim({.realTime = true, .wireBaud = 115200});
//     ASSERT_TRUE(sim.Link());
//     sim.drive.AddFault({.kind = SimFaultKind::Delay, .requestKind = SimRequestKind::MakerBlockRead,
//                         .delay = 400ms});               // block answers 0.4 s late
//     sim.drive.Freeze(7s);                             // or one that stalls
//
// With realTime the machine's clock follows the wall clock, so trace memory fills at the armed sample
// period and its status reads "not ready" until a half or segment is in; with a wire baud every
// answer takes the time of its bytes on a line of that speed (sim/SimDrive.h, "Timing").
#include "sim/SimDrive.h"
#include "sim/SimJog.h"
#include "sim/SimMachine.h"
#include "sim/SimMotorData.h"
#include "sim/SimPosition.h"
#include "sim/SimPtyServer.h"
#include "tests/support/DriveLink.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

struct SimulatedDriveOptions {
    int series = 4;
    bool realTime = false; // the machine's clock follows real time (else it moves only when advanced)
    int wireBaud = 0;      // > 0: answers paced at this baud, and the port's time-outs figured for it
    bool motion = true;    // the jog, tuning, position and motor functions (off when a test attaches its own)
    std::string portPrefix = "ttySIMDRV";
};

class SimulatedDrive {
public:
    explicit SimulatedDrive(const SimulatedDriveOptions& options = {})
        : options_(options), drive(options.series), machine(drive), server(drive) {
        if (options_.motion) {
            // In the order kelo-drive-sim attaches them (sim/SimDriveFunctions.h).
            position = std::make_unique<CSimPosition>(drive, machine);
            jog = std::make_unique<CSimJog>(drive, machine);
            motor = std::make_unique<CSimMotorData>(drive, std::nullopt);
        }
        drive.SetWireBaud(options_.wireBaud);
        machine.SetRealTime(options_.realTime);
    }
    ~SimulatedDrive() { Unlink(); }
    SimulatedDrive(const SimulatedDrive&) = delete;
    SimulatedDrive& operator=(const SimulatedDrive&) = delete;

    // Serves the drive and links the port object to it.
    ::testing::AssertionResult Link() {
        linked_ = true;
        return LinkToSimulatedDrive(server, options_.portPrefix,
                                    options_.wireBaud > 0 ? options_.wireBaud : 115200);
    }
    // Closes the port and stops serving; idempotent.
    void Unlink() {
        if (linked_)
            UnlinkSimulatedDrive(server);
        linked_ = false;
    }

private:
    SimulatedDriveOptions options_;
    bool linked_ = false;

public:
    CSimDrive drive;
    CSimMachine machine;
    std::unique_ptr<CSimJog> jog;
    std::unique_ptr<CSimPosition> position;
    std::unique_ptr<CSimMotorData> motor;
    CSimPtyServer server;
};
