#pragma once
// What a served simulated drive does besides answering its registers, attached in the one order
// kelo-drive-sim uses: the machine (trace memory, box recorder, analysis), the position functions,
// the jog and tuning functions on the same machine, and the motor data with its encoder pole
// alignment. A test that wants the drive as it is served attaches the same:
//
//     CSimDrive drive(4);
//     CSimDriveFunctions functions(drive);
//     functions.machine.SetRealTime(true);   // as served; a test may move the clock itself
//
// Each part's contract is in its own header.
#include "sim/SimDrive.h"
#include "sim/SimJog.h"
#include "sim/SimMachine.h"
#include "sim/SimMotorData.h"
#include "sim/SimPosition.h"

class CSimDriveFunctions {
public:
    explicit CSimDriveFunctions(CSimDrive& drive);
    CSimDriveFunctions(const CSimDriveFunctions&) = delete;
    CSimDriveFunctions& operator=(const CSimDriveFunctions&) = delete;

    CSimMachine machine;
    CSimPosition position;
    CSimJog jog;
    CSimMotorData motor;
};
