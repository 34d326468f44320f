#include "sim/SimPosition.h"

#include <algorithm>
#include <cmath>

using namespace simpos;

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr int kFunctionSon = 0x01;
constexpr int kFunctionPtrg = 0x12;
constexpr int kFunctionPhold = 0x13;
constexpr int kFunctionShome = 0x14;
constexpr int kFunctionOrg = 0x15;
constexpr int kCommands = 32;
constexpr double kHomingTurns = 1000.0;
} // namespace

CSimPosition::CSimPosition(CSimDrive& drive, CSimMachine& machine) : drive_(drive), machine_(machine) {
    // The run command and the saved words sit among the drive's status words but take writes.
    for (uint16_t address : {RegRunCommand, RegSavedA, RegSavedB})
        drive_.SetRule(address, SimRegisterRule{});
    if (drive_.GetRegister32(RegResolution) == 0)
        drive_.SetRegister32(RegResolution, 131072);
    drive_.AddMemoryModel({[this] { Evaluate(); }, {}});
}

void CSimPosition::SetTerminalInputs(uint16_t bits) {
    std::lock_guard lock(mutex_);
    terminals_ = bits;
}

int64_t CSimPosition::Resolution() const {
    const int64_t r = drive_.GetRegister32(RegResolution);
    return r > 0 ? r : 131072;
}

double CSimPosition::PulsesToRad(double pulses) const {
    return pulses * 2 * kPi / static_cast<double>(Resolution());
}

double CSimPosition::RadToPulses(double rad) const {
    return rad * static_cast<double>(Resolution()) / (2 * kPi);
}

bool CSimPosition::FunctionActive(int function) const {
    const uint16_t mask = words_[12];
    const uint16_t states = words_[13];
    for (int n = 0; n < 12; ++n) {
        const uint16_t word = words_[n];
        if ((word & 0xFF) != function)
            continue;
        const bool virtualInput = (mask >> n) & 1;
        const bool on = virtualInput ? ((states >> n) & 1) : ((terminals_ >> n) & 1);
        const bool contactB = (word & 0x100) != 0;
        if (on != contactB)
            return true;
    }
    return false;
}

int64_t CSimPosition::CommandTarget(int k) const {
    const int64_t revolutions = static_cast<int16_t>(drive_.GetRegister(CommandRevolutions(k)));
    const int64_t pulses = static_cast<int32_t>(drive_.GetRegister32(CommandPulses(k)));
    const int64_t distance = revolutions * Resolution() + pulses;
    const bool relative = (drive_.GetRegister(RegPositionMode) & 0xF) == 1;
    return relative ? targetPulses_ + distance : distance;
}

void CSimPosition::StartMove(int k) {
    targetPulses_ = CommandTarget(k);
    const double rpm = drive_.GetRegister(CommandSpeed(k));
    machine_.SetPositionTarget(originRad_ + PulsesToRad(static_cast<double>(targetPulses_)), rpm);
    moving_ = true;
    dwellEndUs_.reset();
}

void CSimPosition::Stop() {
    // The command stands where it is; the motor settles there.
    machine_.SetPositionTarget(machine_.CommandAngle(), 0);
    targetPulses_ = std::llround(RadToPulses(machine_.CommandAngle() - originRad_));
    moving_ = false;
    pathPosition_ = 0;
    dwellEndUs_.reset();
}

void CSimPosition::Evaluate() {
    std::lock_guard lock(mutex_);
    for (int n = 0; n < 12; ++n)
        words_[n] = drive_.GetRegister(static_cast<uint16_t>(RegDiFunctionFirst + n));
    words_[12] = drive_.GetRegister(RegVirtualMask);
    words_[13] = drive_.GetRegister(RegVirtualStates);

    const bool wish = (drive_.GetRegister(RegRunCommand) & 1) != 0 || FunctionActive(kFunctionSon);
    if (wish != servoWish_) {
        servoWish_ = wish;
        drive_.SetServoOn(wish);
    }
    const bool servoOn = (drive_.GetRegister(RegServoStatus) & 1) != 0;
    const bool ptrg = FunctionActive(kFunctionPtrg);
    const bool phold = FunctionActive(kFunctionPhold);
    const bool shome = FunctionActive(kFunctionShome);
    const bool org = FunctionActive(kFunctionOrg);
    const int64_t now = machine_.NowUs();

    if (!servoOn) {
        moving_ = false;
        homing_ = false;
        pathPosition_ = 0;
        dwellEndUs_.reset();
    } else if (phold) {
        if (phold != phold_ || moving_ || homing_)
            Stop();
        homing_ = false;
    } else {
        if (shome && !shome_) {
            homing_ = true;
            const double speed = drive_.GetRegister(RegHomingSpeed);
            machine_.SetPositionTarget(machine_.MotorAngle() + kHomingTurns * 2 * kPi,
                                       speed > 0 ? speed : 60.0);
        }
        if (homing_ && org) {
            homing_ = false;
            originRad_ = machine_.MotorAngle();
            machine_.SetPositionTarget(originRad_, 0);
            targetPulses_ = 0;
            moving_ = false;
        }
        if (ptrg && !ptrg_ && !homing_) {
            const int pathDigit = (drive_.GetRegister(RegPathMode) >> 8) & 0xF;
            pathMode_ = pathDigit == 1 || pathDigit == 2;
            cyclic_ = pathDigit == 2;
            pathPosition_ = pathMode_ ? 1 : 0;
            StartMove(1);
        }
    }
    ptrg_ = ptrg;
    phold_ = phold;
    shome_ = shome;
    org_ = org;

    const int64_t window = std::max<int64_t>(10, Resolution() / 1000);
    const double commandPulses = RadToPulses(machine_.CommandAngle() - originRad_);
    const double motorPulses = RadToPulses(machine_.MotorAngle() - originRad_);
    const bool commandThere = std::fabs(commandPulses - static_cast<double>(targetPulses_)) < 1.0;
    const bool settled = commandThere &&
                         std::fabs(motorPulses - static_cast<double>(targetPulses_)) <= window &&
                         std::fabs(machine_.MotorSpeedRpm()) < 5.0;
    if (moving_ && settled) {
        if (!pathMode_ || pathPosition_ == 0) {
            moving_ = false;
        } else {
            const bool last =
                pathPosition_ >= kCommands || drive_.GetRegister(CommandSpeed(pathPosition_ + 1)) == 0;
            if (!dwellEndUs_) {
                const bool firstOfTwo = pathPosition_ == 1 && !last;
                dwellEndUs_ = now + 1000LL * drive_.GetRegister(firstOfTwo ? RegDwellFirst : RegDwellLast);
            } else if (now >= *dwellEndUs_) {
                if (!last) {
                    ++pathPosition_;
                    StartMove(pathPosition_);
                } else if (cyclic_ && ptrg) {
                    pathPosition_ = 1;
                    StartMove(1);
                } else {
                    moving_ = false;
                    pathPosition_ = 0;
                    dwellEndUs_.reset();
                }
            }
        }
    }
    uint16_t dn02 = drive_.GetRegister(RegDn02);
    dn02 = static_cast<uint16_t>(!moving_ && !homing_ && servoOn && settled ? (dn02 | InPositionBit)
                                                                            : (dn02 & ~InPositionBit));
    drive_.SetRegister(RegDn02, dn02);
}

int64_t CSimPosition::PositionPulses() const {
    std::lock_guard lock(mutex_);
    return std::llround(RadToPulses(machine_.MotorAngle() - originRad_));
}

int64_t CSimPosition::TargetPulses() const {
    std::lock_guard lock(mutex_);
    return targetPulses_;
}

int CSimPosition::PathPosition() const {
    std::lock_guard lock(mutex_);
    return pathPosition_;
}

bool CSimPosition::Homing() const {
    std::lock_guard lock(mutex_);
    return homing_;
}
