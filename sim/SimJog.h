#pragma once
// The drive's jog and tuning functions on the one simulated machine: the JOG mode, the stroke jog
// with its inertia estimate, and the run-mode words the tuning windows set. Constructing it attaches
// it to the drive (after the machine):
//
//     CSimDrive drive(4);
//     CSimMachine machine(drive);
//     CSimJog jog(drive, machine);
//
// Contract (the drive's side; the windows rely only on what is written here):
// - Writable words of the status block: 0x1704 and 0x1705 (run mode, the windows write 2 for a run
//   and put the old value back), 0x170E (run command, 1 start / 0 stop), 0x171A (auto tuning mode
//   and answer word). The rest of 0x1700..0x171F stays read-only.
// - JOG mode: 0x1803 = 1 excites the motor for jogging (bit 0 of 0x1703 follows it), 0x1801 = 1
//   enables the jog; while both are 1 the motor's speed command is the signed word 0x0201 (the
//   program writes it with "W10" group '2' number 1). Any other state commands 0 rpm.
// - Stroke jog: 0x170E = 1 is accepted always; the stroke runs while 0x170E is 1, hex digit 0 of
//   0x0C25 is 1 and 0x1704 and 0x1705 both hold 2. It moves at 0x0C28 rpm for 0x0C29 x 0.1 rev, rests
//   0x0C26 ms, and goes on in the pattern of digit 1 of 0x0C25 (0 forward then reverse, 1 reverse
//   then forward, 2 forward only, 3 reverse only). 0x170E = 0 stops it at once.
// - Inertia estimate: parameter Un45 (load to motor inertia ratio x 10) starts at 0 and settles on
//   the mechanism's ratio while a stroke runs (time constant one second of running). Every stroke
//   run estimates afresh: it starts again from 0; after a run Un45 keeps its last estimate.
// - Auto tuning: while 0x170E is 1 and Cn059 (0x003E) is 1 the drive tunes. Each read of 0x1710
//   reports the next value of the step script (default 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 0; the last value
//   repeats). Outside a run 0x1710 reads 0. The fourteen result words (Cn025 0x001C, qn501 0x0401,
//   qn502 0x0402, qn505 0x0405, Cn034 0x0025, Cn013 0x000E, Cn066 0x0045, 0x0A06, 0x0A07, Pn339
//   0x0330, Pn340 0x0331, 0x0A08..0x0A0A) are what the drive tunes, and it writes them itself as it
//   goes: when 0x1710 has reported a step, the values of the steps before it are in (step 1 Cn025;
//   2 qn501..Cn066; 3 0x0A06..Pn340; 4 0x0A08..0x0A0A), and when the script has come back to 0 all
//   of them are (TunedValues(), each within its parameter's range). The program's poll therefore
//   shows the tuned values, and the confirmation lists them beside the ones it read at Start. The
//   drive keeps what it held when the run started; the answer to that finished run (the low nibble
//   of 0x171A) decides: 1 keeps the tuned values, 2 puts back the held ones, so after No the drive
//   holds exactly the confirmation's existing column. A nibble written at another time is no answer
//   (TuningAnswer() reports every 1 or 2 written). A run asked to fail raises alarm 35 (0x1712 = 1,
//   0x1711 = 35) once its step reaches the chosen step; a stopped or failed run keeps what it tuned.
// - Online detection: Cn063 (0x0042) written 1..5 detects the machine's resonance; once the drive has
//   answered 10 more requests it writes the resonance frequency (Hz) into that notch's frequency
//   (Cn013 0x000E, Cn066 0x0045, Cn069 0x0048, Cn072 0x004B, Cn075 0x004E) and clears Cn063. Pn336
//   (0x032D) written 1..3 does the same for the low-frequency vibration of the machine's base: its
//   frequency (0.1 Hz) into Pn339/Pn341/Pn343 (0x0330, 0x0332, 0x0334), its parameter into
//   Pn340/Pn342/Pn344, and clears Pn336. "W10" F07 (the offset adjustment) is accepted.
// - The drive's own state is brought up to date before each request (a write takes effect for the
//   requests after it); Sync() does the same for a test between requests.
#include "sim/SimDrive.h"
#include "sim/SimMachine.h"
#include "sim/SimMechanism.h"

#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

class CSimJog {
public:
    CSimJog(CSimDrive& drive, CSimMachine& machine, SimMechanismParams mechanism = {});
    CSimJog(const CSimJog&) = delete;
    CSimJog& operator=(const CSimJog&) = delete;

    // Brings the drive's words and the machine's command up to the clock now.
    void Sync();
    // The speed the drive commands now, rpm.
    double SpeedCommand() const;
    bool StrokeRunning() const;
    // The mechanism's load to motor inertia ratio x 10 (what Un45 settles on).
    int InertiaRatioTimesTen() const;
    // The register Un45 is read from.
    static uint16_t Un45Register();

    // Auto tuning: the values 0x1710 reports to successive reads during a run.
    void SetTuningSteps(std::vector<int> steps);
    // Raises alarm 35 when the run reaches `step` (0: never).
    void SetTuningAlarmAtStep(int step);
    bool TuningRunning() const;
    // The answer last written into the low nibble of 0x171A (0 none).
    int TuningAnswer() const;
    // The resonance frequency of the mechanism (Hz) and the base's low-frequency vibration (0.1 Hz).
    int ResonanceHz() const;
    static constexpr int LowFrequencyTenthsHz = 125;
    static constexpr int LowFrequencyParameter = 10;
    // How many offset adjustments ("W10" F07) the drive was asked for.
    int OffsetAdjustments() const;
    // The tuned values the result words get, in the order of the contract above.
    static const std::vector<std::pair<uint16_t, uint16_t>>& TunedValues();
    // The steps that tune values, and the range [first, last) of TunedValues() each one writes.
    static constexpr int TunedSteps = 4;
    static std::pair<size_t, size_t> TunedValuesOfStep(int step);

private:
    double StrokeCommand(int64_t nowUs);

    CSimDrive& drive_;
    CSimMachine& machine_;
    SimMechanismParams mechanism_;
    mutable std::mutex mutex_;
    double command_ = 0;
    bool stroke_ = false;
    bool jogServo_ = false;
    bool strokeServo_ = false;
    bool commanding_ = false; // the jog owns the machine's speed command
    int64_t strokeStartUs_ = 0;
    int64_t lastUs_ = 0;
    double runSeconds_ = 0;
    // Auto tuning.
    std::vector<int> tuningSteps_{1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 0};
    size_t tuningIndex_ = 0;
    bool tuning_ = false;
    bool tuningFinished_ = false;
    int stepsTuned_ = 0;   // the steps whose values are tuned (the step reads have shown it)
    int stepsWritten_ = 0; // ... and written into the result words
    bool awaitingAnswer_ = false;
    bool restorePending_ = false;
    std::vector<uint16_t> heldBeforeRun_; // the result words when the run started
    bool alarmPending_ = false;
    int alarmStep_ = 0;
    int answer_ = 0;
    // Detection: which filter (0 none) and how many requests are left.
    int notchDetect_ = 0;
    int lowDetect_ = 0;
    int detectCountdown_ = 0;
    int offsetAdjustments_ = 0;
};
