#pragma once
// The one machine every instrument of the simulated drive watches: a motor and a load joined by a
// spring (inertias, stiffness, damping, friction), driven by the drive's speed loop while the servo
// is on, stepped on the simulated clock in fixed steps. The trace memory, the box recorder (and
// later the analysis, tuning and jog functions) read its signals; none keeps a private fake.
//
//     CSimMechanism m;
//     m.SetServoOn(true);
//     m.AdvanceTo(250000);                      // 0.25 s of simulated time
//     int32_t rpm = m.Value(SimSignal::SpeedFeedback);
//
// Without a command of its own (a jog, a position move, a fixed speed) the drive holds the motor
// where it stands, as a drive at rest does; a test or a demonstration that wants moving values
// asks for the demonstration profile (a slow sine of +-1500 rpm with a 2 s period).
#include <cstdint>
#include <optional>

enum class SimSignal {
    SpeedCommand,     // rpm
    SpeedFeedback,    // rpm
    TorqueCommand,    // % of rated torque
    TorqueFeedback,   // %
    PositionError,    // pulses, 32-bit
    ElectricalAngle,  // degrees 0..359
    PulseReference,   // command pulses per ms
    PhaseUCurrent,    // %
    PositionSpeedRaw, // rpm, position reference without acceleration limits
    PositionSpeed,    // rpm, with them
    BusVoltage,       // V (read unsigned)
    DriveTemperature, // degrees C
    PhaseUCurrentAd,  // AD counts around 2048
    PhaseWCurrentAd,  // AD counts around 2048
    QVoltageCommand,  // %
    DCurrentFeedback, // %
    DVoltageCommand,  // %
    DCurrentCommand,  // %
    RegenerativeLoad, // %
    EffectiveLoad,    // %
    MultiTurn,        // revolutions
    EncoderAbsolute,  // pulses, 32-bit
    FeedbackPulses,   // pulses, 32-bit: the motor's position since power-on
    CommandPulses,    // pulses, 32-bit: the position command's
    ControlWord,      // CIA402 0x6040
    StatusWord,       // CIA402 0x6041
    FollowingError,   // pulses, 32-bit
    InputBits,        // DI-1..DI-12 in bits 0..11
    OutputBits,       // DO-1..DO-8 in bits 0..7
    StepCount,        // internal steps since start, for debug channels
};

struct SimMechanismParams {
    double motorInertia = 1.2e-4; // kg m^2
    double loadInertia = 3.6e-4;
    double stiffness = 600.0;   // N m / rad: a resonance near 400 Hz
    double damping = 0.02;      // N m s / rad
    double friction = 0.03;     // N m, Coulomb, on the load; it holds a load at rest
    double ratedTorque = 1.27;  // N m
    double speedGain = 0.06;    // N m per rad/s
    double speedIntegral = 3.0; // N m per rad
    double torqueLimit = 3.0;   // % of rated x 100: 300 %
    int encoderPulses = 131072; // per revolution
    int polePairs = 4;

    // A two-mass machine with the given anti-resonance and resonance (Hz, resonance above the
    // anti-resonance) on this motor inertia: the load inertia and the stiffness follow from the two
    // frequencies, the damping from the ratio at the resonance; no friction, so it stays linear.
    static SimMechanismParams TwoMass(double resonanceHz, double antiResonanceHz, double dampingRatio,
                                      double motorInertia = 1.2e-4);
};

class CSimMechanism {
public:
    static constexpr int64_t StepUs = 50;

    explicit CSimMechanism(SimMechanismParams params = {});

    void SetServoOn(bool on);
    bool ServoOn() const { return servoOn_; }
    // A fixed speed command in rpm; nothing: no command of its own (0 rpm, or the profile below).
    void SetSpeedCommand(std::optional<double> rpm);
    // The demonstration profile in place of 0 rpm while no fixed command is set.
    void SetDemonstrationProfile(bool on) { demonstration_ = on; }
    // The drive's torque excitation (N m on the motor) in place of the speed loop, servo or not;
    // nothing: the speed loop again.
    void SetTorqueExcitation(std::optional<double> torque);
    void SetParams(const SimMechanismParams& params) { p_ = params; }
    const SimMechanismParams& Params() const { return p_; }

    // Position mode (the drive's internal position commands): the position command ramps to the
    // target angle (rad) at the speed (rpm) and the loop follows it; nothing: back to speed mode.
    void SetPositionTarget(std::optional<double> targetRad, double rpm);
    bool PositionMode() const { return positionTarget_.has_value(); }
    double MotorAngle() const { return motorAngle_; }
    double CommandAngle() const { return commandAngle_; }

    // Steps the model up to the given time (microseconds of simulated time); never backwards.
    void AdvanceTo(int64_t timeUs);
    int64_t TimeUs() const { return timeUs_; }

    // The motor's speed now, unrounded (rpm).
    double MotorSpeedRpm() const;
    // The DC bus voltage now, unrounded (V).
    double BusVolts() const;
    // The value of a signal now, in the drive's units.
    int32_t Value(SimSignal signal) const;

private:
    void Step();
    double CommandRpm() const;

    SimMechanismParams p_;
    bool servoOn_ = false;
    std::optional<double> fixedCommand_;
    bool demonstration_ = false;
    std::optional<double> positionTarget_;
    double positionRpm_ = 0;
    std::optional<double> excitation_;
    int64_t timeUs_ = 0;
    int64_t steps_ = 0;
    // State: angles in rad, speeds in rad/s.
    double motorAngle_ = 0, motorSpeed_ = 0, loadAngle_ = 0, loadSpeed_ = 0;
    double commandAngle_ = 0, integral_ = 0, torque_ = 0, commandRpm_ = 0;
};
