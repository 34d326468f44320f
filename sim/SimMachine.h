#pragma once
// The simulated machine behind a simulated drive: one clock, the mechanism (sim/SimMechanism.h)
// and the drive functions that watch it, the trace memory (sim/SimTrace.h, its contract) and the
// box recorder (sim/SimBoxRecorder.h). Constructing it attaches it to the drive: the trace and
// recorder registers get their behaviour, block reads of their memory read it, and before every
// request the machine catches up with its clock. The servo state comes from the drive's 0x1703.
//
//     CSimDrive drive(4);
//     CSimMachine machine(drive);
//     machine.SetStepPerRequest(1000);   // each request the drive answers takes 1 ms
//     machine.Advance(250000);           // or the test moves the clock itself
//
// The clock stands still unless a test advances it, a step per request is set, or it follows real
// time (the served program does that, so a window sees a live drive; a test that needs a real
// drive's timing does too, see tests/support/SimulatedDrive.h). The clock runs whether or not the
// drive answers: during a freeze (SimDrive.h) the mechanism, the jog and the memories go on.
//
// Monitor words: while the machine is attached these read-only words read the mechanism at the
// time of the read (32-bit values low word first, signed):
//   Un01 0x0601 motor speed (rpm), Un02 0x0602 torque (% of rated), Un03 0x0603 regenerative load
//   (%), Un04 0x0604 effective load (%), Un06 0x0606 speed command (rpm), Un07 0x0607/0x0608
//   feedback pulses, Un08 0x0609/0x060A command pulses, Un09 0x060B DC bus voltage (0.01 V: 311 V
//   with the rectifier's 100 Hz ripple of +-4 V, sagging under load), Un14 0x0610/0x0611 position
//   error (pulses), Un24 0x061F multi-turn (rev), Un25 0x0620/0x0621 encoder pulses, Un43 0x0633
//   electrical angle (degrees), Un49 0x0639 drive temperature (deg C), Un96 0x066C/0x066D actual
//   position (pulses).
// The pulses count the encoder's resolution (0x1706/0x1707) per turn from where the motor stood at
// power-on; with the servo off the command follows the motor, so the position error reads 0. A
// motor left with the servo off coasts to a stop and stays there (friction holds the load), so its
// position reads the same for as long as nothing moves it.
#include "sim/SimAnalysis.h"
#include "sim/SimBoxRecorder.h"
#include "sim/SimDrive.h"
#include "sim/SimMechanism.h"
#include "sim/SimTrace.h"

#include <chrono>
#include <cstdint>
#include <mutex>

class CSimMachine {
public:
    explicit CSimMachine(CSimDrive& drive);
    CSimMachine(const CSimMachine&) = delete;
    CSimMachine& operator=(const CSimMachine&) = delete;

    // Moves the clock forward and runs everything due up to then.
    void Advance(int64_t us);
    void SetStepPerRequest(int64_t us);
    void SetRealTime(bool on);
    int64_t NowUs() const;

    // A fixed speed command (rpm); nothing: the motor holds where it stands (or runs the profile).
    void SetSpeedCommand(std::optional<double> rpm);
    // The demonstration profile (sim/SimMechanism.h) while nothing else commands the motor, so
    // traces and records of a motor with the servo on show moving values.
    void SetDemonstrationProfile(bool on);
    int32_t Signal(SimSignal signal) const;
    // The drive's position functions (sim/SimPosition.h) steer the mechanism in position mode.
    void SetPositionTarget(std::optional<double> targetRad, double rpm);
    double MotorAngle() const;
    double CommandAngle() const;
    double MotorSpeedRpm() const;
    // Trace records dropped because the program did not take the memory in time.
    int TraceDroppedRecords() const;
    // Trace records taken since the trace was armed (dropped ones included).
    uint32_t TraceRecords() const;
    // The mechanism an analysis measurement excites and how the drive answers it (sim/SimAnalysis.h).
    void SetAnalysisOptions(const SimAnalysisOptions& options);
    SimAnalysisOptions AnalysisOptions() const;
    // The onU03 value the drive reports: the gain at the resonance comes out as the options' peak.
    uint32_t AnalysisTorqueScale() const;
    // Writes of 0x1604 := 0 the drive has seen, and measurements started.
    int AnalysisAcknowledged() const;
    int AnalysisMeasurements() const;

private:
    void BeforeRequest();
    void AdvanceTo(int64_t us);

    CSimDrive& drive_;
    mutable std::mutex mutex_;
    int64_t nowUs_ = 0;
    int64_t stepPerRequestUs_ = 0;
    bool realTime_ = false;
    std::chrono::steady_clock::time_point realStart_{};
    int64_t realBaseUs_ = 0;
    CSimMechanism mechanism_;
    CSimTrace trace_;
    CSimBoxRecorder recorder_;
    CSimAnalysis analysis_;
};
