#pragma once
// The drive's position functions on the simulated machine (sim/SimMachine.h): the servo switched on
// from the PC or by a virtual input, the internal position commands triggered by PTRG, the path
// program, homing and the state words the position tools read. Attach it after the machine:
//
//     CSimDrive drive(4);
//     CSimMachine machine(drive);
//     CSimPosition position(drive, machine);
//     machine.SetStepPerRequest(20000);   // each request takes 20 ms of the drive's time
//
// The drive's side, as this model keeps it (registers are the program's addresses of the codes):
//   Servo       0x170E (writable) is the PC run command. The servo is wanted while 0x170E is 1 or
//               while the SON function (0x01) is active on an input; when that wish changes the servo
//               follows it in 0x1703 bit 0. 0x1704/0x1705 take writes (the runs keep values there).
//   Inputs      DI n (1..12) is virtual when Hn617 (0x0511) bit n-1 is set: its state is Hn618
//               (0x0512) bit n-1; otherwise its terminal (SetTerminalInputs). Hn601..Hn612
//               (0x0501..0x050C) give each DI its function (low byte) and contact type (bit 8 set: B,
//               the function is active while the input is off). A function is active when any of
//               its inputs makes it so. Functions used: SON 0x01, PTRG 0x12, PHOLD 0x13, SHOME 0x14,
//               ORG 0x15.
//   Resolution  0x1706 (low) / 0x1707 (high): pulses per revolution R (131072 unless set).
//   Commands    internal position command k (1..32): revolutions Pn4(3k-2), pulses Pn4(3k-1)
//               (32-bit), speed in rpm Pn4(3k); registers 0x0700 + 4k - 3, 0x0700 + 4k - 2/-1,
//               0x0700 + 4k. Pn316 (0x0316) digit 0: 0 absolute (from the home position), 1 relative
//               (from the previous command's target).
//   Trigger     a rising edge of PTRG with the servo on: with Pn381 (0x0361) digit 2 = 0 the drive
//               moves to command 1; with 1 (single) or 2 (cyclic) it runs the path program: command
//               1, 2, ... up to the first whose speed is 0 (or 32). After each position it dwells:
//               Pn497 (0x0781) ms after position 1 when position 2 follows, Pn499 (0x0783) ms after
//               the last; then the cyclic program starts again at command 1 while PTRG is still on,
//               the single one ends.
//   Hold        while PHOLD is active the move stops where the command stands; a new PTRG edge after
//               its release starts again.
//   Homing      a rising edge of SHOME starts a forward search at Pn318 (0x0318) rpm (60 when 0);
//               when ORG becomes active the motor stops and that point becomes the home position
//               (position 0).
//   Status      dn02 (0x0F02) bit 3: in position: no move pending and the motor within R / 1000
//               pulses (at least 10) of the command's target.
#include "sim/SimDrive.h"
#include "sim/SimMachine.h"

#include <cstdint>
#include <mutex>
#include <optional>

namespace simpos {
inline constexpr uint16_t RegRunCommand = 0x170E;
inline constexpr uint16_t RegServoStatus = 0x1703;
inline constexpr uint16_t RegSavedA = 0x1704;
inline constexpr uint16_t RegSavedB = 0x1705;
inline constexpr uint16_t RegResolution = 0x1706;
inline constexpr uint16_t RegDiFunctionFirst = 0x0501; // Hn601
inline constexpr uint16_t RegVirtualMask = 0x0511;     // Hn617
inline constexpr uint16_t RegVirtualStates = 0x0512;   // Hn618
inline constexpr uint16_t RegPositionMode = 0x0316;    // Pn316
inline constexpr uint16_t RegHomingSpeed = 0x0318;     // Pn318
inline constexpr uint16_t RegPathMode = 0x0361;        // Pn381
inline constexpr uint16_t RegDwellFirst = 0x0781;      // Pn497
inline constexpr uint16_t RegDwellLast = 0x0783;       // Pn499
inline constexpr uint16_t RegDn02 = 0x0F02;
inline constexpr uint16_t InPositionBit = 0x0008;
// Registers of internal position command k (1..32).
inline constexpr uint16_t CommandRevolutions(int k) {
    return static_cast<uint16_t>(0x0700 + 4 * k - 3);
}
inline constexpr uint16_t CommandPulses(int k) {
    return static_cast<uint16_t>(0x0700 + 4 * k - 2);
}
inline constexpr uint16_t CommandSpeed(int k) {
    return static_cast<uint16_t>(0x0700 + 4 * k);
}
} // namespace simpos

class CSimPosition {
public:
    CSimPosition(CSimDrive& drive, CSimMachine& machine);
    CSimPosition(const CSimPosition&) = delete;
    CSimPosition& operator=(const CSimPosition&) = delete;

    // The terminals' states of DI1..DI12 (bit n-1), for inputs that are not virtual.
    void SetTerminalInputs(uint16_t bits);
    // The motor's position in drive pulses from the home position, and the command's target.
    int64_t PositionPulses() const;
    int64_t TargetPulses() const;
    // The path position being run (1..32), 0 when none.
    int PathPosition() const;
    bool Homing() const;
    // Runs the drive's side now (it also runs before every request).
    void Evaluate();

private:
    bool FunctionActive(int function) const;
    int64_t Resolution() const;
    double PulsesToRad(double pulses) const;
    double RadToPulses(double rad) const;
    int64_t CommandTarget(int k) const;
    void StartMove(int k);
    void Stop();

    CSimDrive& drive_;
    CSimMachine& machine_;
    mutable std::recursive_mutex mutex_;
    uint16_t terminals_ = 0;
    uint16_t words_[16]{}; // DI function words, mask and states as read for this evaluation
    bool servoWish_ = false;
    bool ptrg_ = false, phold_ = false, shome_ = false, org_ = false;
    bool homing_ = false;
    double originRad_ = 0;
    int64_t targetPulses_ = 0;
    bool moving_ = false;
    int pathPosition_ = 0; // 0: a single move or none
    bool pathMode_ = false;
    bool cyclic_ = false;
    std::optional<int64_t> dwellEndUs_;
};
