#include "sim/SimMechanism.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadPerSecPerRpm = 2 * kPi / 60.0;

int32_t Round(double value) {
    return static_cast<int32_t>(std::lround(value));
}

} // namespace

CSimMechanism::CSimMechanism(SimMechanismParams params) : p_(params) {}

void CSimMechanism::SetServoOn(bool on) {
    if (on && !servoOn_) {
        // The position loop starts where the motor stands.
        commandAngle_ = motorAngle_;
        integral_ = 0;
    }
    servoOn_ = on;
}

void CSimMechanism::SetSpeedCommand(std::optional<double> rpm) {
    fixedCommand_ = rpm;
}

void CSimMechanism::SetPositionTarget(std::optional<double> targetRad, double rpm) {
    positionTarget_ = targetRad;
    positionRpm_ = std::abs(rpm);
}

void CSimMechanism::SetTorqueExcitation(std::optional<double> torque) {
    excitation_ = torque;
}

SimMechanismParams SimMechanismParams::TwoMass(double resonanceHz, double antiResonanceHz,
                                               double dampingRatio, double motorInertia) {
    // Anti-resonance sqrt(K / JL); resonance sqrt(K (Jm + JL) / (Jm JL)) = anti x sqrt(1 + JL / Jm).
    SimMechanismParams p;
    const double ratio = resonanceHz / antiResonanceHz;
    const double wa = 2 * kPi * antiResonanceHz;
    p.motorInertia = motorInertia;
    p.loadInertia = motorInertia * (ratio * ratio - 1);
    p.stiffness = p.loadInertia * wa * wa;
    const double reduced = p.motorInertia * p.loadInertia / (p.motorInertia + p.loadInertia);
    p.damping = 2 * dampingRatio * std::sqrt(p.stiffness * reduced);
    p.friction = 0;
    return p;
}

double CSimMechanism::CommandRpm() const {
    if (fixedCommand_)
        return *fixedCommand_;
    if (!demonstration_)
        return 0.0;
    return 1500.0 * std::sin(2 * kPi * static_cast<double>(timeUs_) / 2e6);
}

void CSimMechanism::AdvanceTo(int64_t timeUs) {
    while (timeUs_ + StepUs <= timeUs)
        Step();
}

void CSimMechanism::Step() {
    const double h = StepUs * 1e-6;
    double commandSpeed = 0;
    if (servoOn_ && positionTarget_ && !excitation_) {
        // The position command ramps towards the target at the move speed.
        const double limit = positionRpm_ * kRadPerSecPerRpm * h;
        const double move = std::clamp(*positionTarget_ - commandAngle_, -limit, limit);
        commandAngle_ += move;
        commandSpeed = move / h;
        commandRpm_ = commandSpeed / kRadPerSecPerRpm;
    } else {
        commandRpm_ = servoOn_ ? CommandRpm() : 0.0;
        commandSpeed = commandRpm_ * kRadPerSecPerRpm;
        if (servoOn_ && !excitation_)
            commandAngle_ += commandSpeed * h;
    }
    if (excitation_) {
        torque_ = *excitation_;
        commandAngle_ = motorAngle_;
        integral_ = 0;
    } else if (servoOn_) {
        integral_ += (commandSpeed - motorSpeed_) * h;
        const double limit = p_.torqueLimit * p_.ratedTorque;
        torque_ = std::clamp(p_.speedGain * (commandSpeed - motorSpeed_) + p_.speedIntegral * integral_,
                             -limit, limit);
    } else {
        torque_ = 0;
        commandAngle_ = motorAngle_;
        integral_ = 0;
    }
    // Semi-implicit Euler: speeds first, then angles with the new speeds (stable at this step).
    const double twist = motorAngle_ - loadAngle_;
    const double slip = motorSpeed_ - loadSpeed_;
    const double spring = p_.stiffness * twist + p_.damping * slip;
    // Coulomb friction opposes the load's motion with up to its own size; when that is enough to
    // stop the load within this step it holds it still. Friction that gave up below some small
    // speed instead would leave a coasting load creeping on for ever.
    const double stopping = spring + loadSpeed_ * p_.loadInertia / h;
    const double friction = std::clamp(stopping, -p_.friction, p_.friction);
    motorSpeed_ += (torque_ - spring) / p_.motorInertia * h;
    loadSpeed_ += (spring - friction) / p_.loadInertia * h;
    // Speeds this small are the integration's rounding at rest (a turn in millions of years); left
    // alone they would decay through subnormal numbers, which are slow to compute with.
    if (std::abs(motorSpeed_) < 1e-12)
        motorSpeed_ = 0;
    if (std::abs(loadSpeed_) < 1e-12)
        loadSpeed_ = 0;
    motorAngle_ += motorSpeed_ * h;
    loadAngle_ += loadSpeed_ * h;
    timeUs_ += StepUs;
    ++steps_;
}

double CSimMechanism::BusVolts() const {
    // Rectified 220 V mains: 311 V with the 100 Hz ripple of the rectifier, sagging under load.
    const double seconds = static_cast<double>(timeUs_) * 1e-6;
    const double torquePercent = torque_ / p_.ratedTorque * 100.0;
    return 311.0 + 4.0 * std::sin(2 * kPi * 100.0 * seconds) - std::abs(torquePercent) * 0.05;
}

double CSimMechanism::MotorSpeedRpm() const {
    return motorSpeed_ / kRadPerSecPerRpm;
}

int32_t CSimMechanism::Value(SimSignal signal) const {
    const double pulsesPerRad = p_.encoderPulses / (2 * kPi);
    const double torquePercent = torque_ / p_.ratedTorque * 100.0;
    const double speedRpm = motorSpeed_ / kRadPerSecPerRpm;
    const double electrical = std::fmod(std::fmod(motorAngle_ * p_.polePairs, 2 * kPi) + 2 * kPi, 2 * kPi);
    const double positionError = (commandAngle_ - motorAngle_) * pulsesPerRad;
    const double seconds = static_cast<double>(timeUs_) * 1e-6;
    switch (signal) {
    case SimSignal::SpeedCommand:
    case SimSignal::PositionSpeedRaw:
        return Round(commandRpm_);
    case SimSignal::PositionSpeed:
        return Round(commandRpm_ * 0.98);
    case SimSignal::SpeedFeedback:
        return Round(speedRpm);
    case SimSignal::TorqueCommand:
        return Round(torquePercent);
    case SimSignal::TorqueFeedback:
        return Round(torquePercent * 0.97);
    case SimSignal::PositionError:
    case SimSignal::FollowingError:
        return Round(positionError);
    case SimSignal::ElectricalAngle:
        return Round(electrical * 180.0 / kPi) % 360;
    case SimSignal::PulseReference:
        return Round(commandRpm_ / 60.0 * p_.encoderPulses / 1000.0);
    case SimSignal::PhaseUCurrent:
        return Round(torquePercent * std::sin(electrical));
    case SimSignal::BusVoltage:
        return Round(BusVolts());
    case SimSignal::DriveTemperature:
        return 35 + Round(std::min(20.0, seconds / 60.0));
    case SimSignal::PhaseUCurrentAd:
        return 2048 + Round(torquePercent * 4.0 * std::sin(electrical));
    case SimSignal::PhaseWCurrentAd:
        return 2048 + Round(torquePercent * 4.0 * std::sin(electrical + 2 * kPi / 3));
    case SimSignal::QVoltageCommand:
        return Round(speedRpm / 30.0 + torquePercent * 0.1);
    case SimSignal::DCurrentFeedback:
    case SimSignal::DCurrentCommand:
        return 0;
    case SimSignal::DVoltageCommand:
        return Round(-speedRpm * torquePercent * 1e-4);
    case SimSignal::RegenerativeLoad:
        return speedRpm * torquePercent < 0 ? Round(std::abs(torquePercent) * 0.1) : 0;
    case SimSignal::EffectiveLoad:
        return Round(std::abs(torquePercent) * 0.6);
    case SimSignal::MultiTurn:
        return static_cast<int32_t>(std::floor(motorAngle_ / (2 * kPi)));
    case SimSignal::EncoderAbsolute:
    case SimSignal::FeedbackPulses:
        return static_cast<int32_t>(static_cast<int64_t>(std::floor(motorAngle_ * pulsesPerRad)));
    case SimSignal::CommandPulses:
        return static_cast<int32_t>(static_cast<int64_t>(std::floor(commandAngle_ * pulsesPerRad)));
    case SimSignal::ControlWord:
        return servoOn_ ? 0x000F : 0x0006;
    case SimSignal::StatusWord:
        return servoOn_ ? 0x0637 : 0x0631;
    case SimSignal::InputBits:
        // SON follows the servo; input 2 toggles every half second, input 3 every second.
        return (servoOn_ ? 1 : 0) | (static_cast<int>(seconds * 2) & 1) << 1 |
               (static_cast<int>(seconds) & 1) << 2;
    case SimSignal::OutputBits:
        // Ready, zero speed, in position.
        return 1 | (std::abs(speedRpm) < 10 ? 2 : 0) | (std::abs(positionError) < 100 ? 4 : 0);
    case SimSignal::StepCount:
        return static_cast<int32_t>(steps_);
    }
    return 0;
}
