#pragma once
// The drive's stroke jog run, shared by the inertia estimation jog and the program jog: start it,
// stop it, keep the two run-mode registers the run changes and put them back. Pure drive traffic over
// the register services; the windows decide what to enable and what to tell the user.
//
// Every read-modify-write here uses a read of this exchange: when the read fails nothing is written
// and the step counts as failed.
#include "link/services/RegisterServices.h"

namespace jogreg {
inline constexpr int RunModeA = 0x1704;   // set to 2 for a run, restored afterwards
inline constexpr int RunModeB = 0x1705;   // the same
inline constexpr int RunCommand = 0x170E; // 1 start, 0 stop
inline constexpr int AlarmPresent = 0x1712;
inline constexpr int JogModeWord = 0x0C25; // hex digit 0: armed/running, digit 1: direction pattern
inline constexpr int StopTime = 0x0C26;
inline constexpr int AccelerationTime = 0x0C27;
inline constexpr int MovingSpeed = 0x0C28;
inline constexpr int MovingDistance = 0x0C29;
inline constexpr int CurrentStopTime = 0x1321;
inline constexpr int CurrentAccelerationTime = 0x1322;
inline constexpr int CurrentMovingSpeed = 0x1323;
inline constexpr int CurrentMovingDistance = 0x1324;
inline constexpr int CurrentDirection = 0x1719; // bits 4..7
inline constexpr int MotorKind = 0x0F08;        // dn-08: bits 12..15 of 3 or 4 is a linear motor
inline constexpr int RatedSpeedWord = 0x1101;
} // namespace jogreg

// What a jog window keeps of its run.
struct JogRunState {
    bool running = false;
    bool registersSaved = false;
    int savedRunModeA = 0;
    int savedRunModeB = 0;
};

// Reads 0x1704 and 0x1705 into the state; the saved flag only when both reads succeeded, so a
// restore never writes values nobody read.
bool SaveRunRegisters(CRegisterServices& services, JogRunState& state);
// Writes the saved values back when they were saved; true when both writes were accepted (or there
// was nothing to restore).
bool RestoreRunRegisters(CRegisterServices& services, const JogRunState& state);

// Rewrites hex digit 0 of the jog mode word with `digit`, keeping the rest; false when the read or
// the write failed (nothing is written after a failed read).
bool SetJogModeDigit(CRegisterServices& services, int digit);

enum class JogStartResult {
    Started,
    AlarmActive,    // 0x1712 is non-zero: the user must clear the alarm first
    AlarmUnknown,   // 0x1712 could not be read: starting blind is refused
    NotSaved,       // 0x1704/0x1705 could not be read, so they could not be restored later
    ModeRefused,    // 0x1704 or 0x1705 refused the run value (what was changed is restored)
    CommandRefused, // 0x170E = 1 refused (run registers restored)
};
// Start: alarm check, saves the run registers when not yet saved, 0x1704 = 0x1705 = 2, 0x170E = 1;
// when accepted the state is running and digit 0 of the jog mode word is set to 1.
JogStartResult StartJogRun(CRegisterServices& services, JogRunState& state);

struct JogStopResult {
    bool stopped = false; // 0x170E = 0 accepted
    bool registersRestored = true;
};
// Stop: 0x170E = 0; when accepted digit 0 of the jog mode word is cleared. Then the run registers
// are restored when saved, whether or not the stop was accepted. The running flag stays as it was
// (a second stop on close is harmless and makes sure).
JogStopResult StopJogRunOnDrive(CRegisterServices& services, JogRunState& state);
