#include "sim/SimMachine.h"

#include <algorithm>
#include <cmath>

namespace {

// The monitor words that follow the mechanism (the contract in SimMachine.h).
struct MonitorWord {
    uint16_t address;
    SimSignal signal;
    bool highWord; // the high word of a 32-bit value, whose low word is at address - 1
};
constexpr MonitorWord kMonitorWords[] = {
    {0x0601, SimSignal::SpeedFeedback, false},                                                 // Un01
    {0x0602, SimSignal::TorqueFeedback, false},                                                // Un02
    {0x0603, SimSignal::RegenerativeLoad, false},                                              // Un03
    {0x0604, SimSignal::EffectiveLoad, false},                                                 // Un04
    {0x0606, SimSignal::SpeedCommand, false},                                                  // Un06
    {0x0607, SimSignal::FeedbackPulses, false},                                                // Un07
    {0x0608, SimSignal::FeedbackPulses, true},    {0x0609, SimSignal::CommandPulses, false},   // Un08
    {0x060A, SimSignal::CommandPulses, true},     {0x0610, SimSignal::PositionError, false},   // Un14
    {0x0611, SimSignal::PositionError, true},     {0x061F, SimSignal::MultiTurn, false},       // Un24
    {0x0620, SimSignal::EncoderAbsolute, false},                                               // Un25
    {0x0621, SimSignal::EncoderAbsolute, true},   {0x0633, SimSignal::ElectricalAngle, false}, // Un43
    {0x0639, SimSignal::DriveTemperature, false},                                              // Un49
    {0x066C, SimSignal::FeedbackPulses, false},                                                // Un96
    {0x066D, SimSignal::FeedbackPulses, true},
};

} // namespace

CSimMachine::CSimMachine(CSimDrive& drive) : drive_(drive) {
    for (const MonitorWord& word : kMonitorWords) {
        SimRegisterRule rule;
        rule.readOnly = true;
        rule.onRead = [this, word](uint16_t) {
            std::lock_guard lock(mutex_);
            const auto value = static_cast<uint32_t>(mechanism_.Value(word.signal));
            return static_cast<uint16_t>(word.highWord ? value >> 16 : value & 0xFFFF);
        };
        drive_.SetRule(word.address, rule);
    }
    // Un09, the DC bus voltage, counts hundredths of a volt.
    SimRegisterRule busVoltage;
    busVoltage.readOnly = true;
    busVoltage.onRead = [this](uint16_t) {
        std::lock_guard lock(mutex_);
        return static_cast<uint16_t>(std::lround(mechanism_.BusVolts() * 100.0));
    };
    drive_.SetRule(0x060B, busVoltage);
    auto write = [this](uint16_t address, uint16_t value) {
        std::lock_guard lock(mutex_);
        trace_.OnWrite(address, value, nowUs_);
        recorder_.OnWrite(address, value, nowUs_);
    };
    for (uint16_t address = 0x1501; address <= 0x150E; ++address) {
        SimRegisterRule rule;
        rule.onWrite = write;
        if (trace_.Read(address))
            rule.onRead = [this](uint16_t a) {
                std::lock_guard lock(mutex_);
                return *trace_.Read(a);
            };
        drive_.SetRule(address, rule);
    }
    for (uint16_t address = 0x1521; address <= 0x1529; ++address) {
        SimRegisterRule rule;
        rule.onWrite = write;
        if (recorder_.Read(address))
            rule.onRead = [this](uint16_t a) {
                std::lock_guard lock(mutex_);
                return *recorder_.Read(a);
            };
        drive_.SetRule(address, rule);
    }
    for (uint16_t address : {uint16_t(0x1601), uint16_t(0x1602), uint16_t(0x1603), uint16_t(0x1604),
                             uint16_t(0x1605), uint16_t(0x1606), uint16_t(0x1607)}) {
        SimRegisterRule rule;
        rule.onWrite = [this](uint16_t a, uint16_t value) {
            std::lock_guard lock(mutex_);
            analysis_.OnWrite(a, value, mechanism_);
        };
        if (address == CSimAnalysis::SampleFrequencyRegister)
            rule.readOnly = true;
        if (address == CSimAnalysis::StateRegister || address == CSimAnalysis::SampleFrequencyRegister)
            rule.onRead = [this](uint16_t a) {
                std::lock_guard lock(mutex_);
                return *analysis_.Read(a);
            };
        drive_.SetRule(address, rule);
    }
    for (uint16_t address :
         {CSimAnalysis::TorqueScaleRegister, uint16_t(CSimAnalysis::TorqueScaleRegister + 1),
          CSimAnalysis::SpeedScaleRegister, uint16_t(CSimAnalysis::SpeedScaleRegister + 1)}) {
        SimRegisterRule rule;
        rule.readOnly = true;
        rule.onRead = [this](uint16_t a) {
            std::lock_guard lock(mutex_);
            return *analysis_.Read(a);
        };
        drive_.SetRule(address, rule);
    }
    // The run command word sits among the read-only status words but takes the program's writes.
    drive_.SetRule(0x170E, SimRegisterRule{});
    // The analysis memory first: while a measurement holds data it is what a block read of
    // 0x1000..0x17FF reaches.
    drive_.AddMemoryModel({[this] { BeforeRequest(); },
                           [this](uint16_t address) -> std::optional<uint16_t> {
                               std::lock_guard lock(mutex_);
                               if (std::optional<uint16_t> word = analysis_.BlockWord(address))
                                   return word;
                               if (std::optional<uint16_t> word = trace_.BlockWord(address))
                                   return word;
                               return recorder_.BlockWord(address);
                           }});
}

void CSimMachine::BeforeRequest() {
    // The drive's words first, without our lock: the drive's rules take ours under its own.
    const int version = drive_.GetRegister(0x0F04);
    const int driveId = drive_.GetRegister(0x171E);
    const int series = drive_.Series();
    const bool servoOn = (drive_.GetRegister(0x1703) & 1) != 0;
    std::lock_guard lock(mutex_);
    trace_.SetDrive(version, driveId, series);
    mechanism_.SetServoOn(servoOn);
    int64_t target = nowUs_ + stepPerRequestUs_;
    if (realTime_)
        target = std::max(target, realBaseUs_ + std::chrono::duration_cast<std::chrono::microseconds>(
                                                    std::chrono::steady_clock::now() - realStart_)
                                                    .count());
    AdvanceTo(target);
}

void CSimMachine::AdvanceTo(int64_t us) {
    for (;;) {
        const int64_t next = std::min(trace_.NextRecordUs(), recorder_.NextSampleUs());
        if (next > us)
            break;
        mechanism_.AdvanceTo(next);
        if (trace_.NextRecordUs() == next)
            trace_.Record(mechanism_);
        if (recorder_.NextSampleUs() == next)
            recorder_.Sample(mechanism_);
    }
    mechanism_.AdvanceTo(us);
    nowUs_ = std::max(nowUs_, us);
}

void CSimMachine::Advance(int64_t us) {
    std::lock_guard lock(mutex_);
    AdvanceTo(nowUs_ + std::max<int64_t>(us, 0));
}

void CSimMachine::SetStepPerRequest(int64_t us) {
    std::lock_guard lock(mutex_);
    stepPerRequestUs_ = std::max<int64_t>(us, 0);
}

void CSimMachine::SetRealTime(bool on) {
    std::lock_guard lock(mutex_);
    realTime_ = on;
    realStart_ = std::chrono::steady_clock::now();
    realBaseUs_ = nowUs_;
}

int64_t CSimMachine::NowUs() const {
    std::lock_guard lock(mutex_);
    return nowUs_;
}

void CSimMachine::SetSpeedCommand(std::optional<double> rpm) {
    std::lock_guard lock(mutex_);
    mechanism_.SetSpeedCommand(rpm);
}

void CSimMachine::SetDemonstrationProfile(bool on) {
    std::lock_guard lock(mutex_);
    mechanism_.SetDemonstrationProfile(on);
}

int32_t CSimMachine::Signal(SimSignal signal) const {
    std::lock_guard lock(mutex_);
    return mechanism_.Value(signal);
}

void CSimMachine::SetPositionTarget(std::optional<double> targetRad, double rpm) {
    std::lock_guard lock(mutex_);
    mechanism_.SetPositionTarget(targetRad, rpm);
}

double CSimMachine::MotorAngle() const {
    std::lock_guard lock(mutex_);
    return mechanism_.MotorAngle();
}

double CSimMachine::CommandAngle() const {
    std::lock_guard lock(mutex_);
    return mechanism_.CommandAngle();
}

double CSimMachine::MotorSpeedRpm() const {
    std::lock_guard lock(mutex_);
    return mechanism_.MotorSpeedRpm();
}

int CSimMachine::TraceDroppedRecords() const {
    std::lock_guard lock(mutex_);
    return trace_.DroppedRecords();
}

uint32_t CSimMachine::TraceRecords() const {
    std::lock_guard lock(mutex_);
    return trace_.Records();
}

void CSimMachine::SetAnalysisOptions(const SimAnalysisOptions& options) {
    std::lock_guard lock(mutex_);
    analysis_.SetOptions(options);
}

SimAnalysisOptions CSimMachine::AnalysisOptions() const {
    std::lock_guard lock(mutex_);
    return analysis_.Options();
}

uint32_t CSimMachine::AnalysisTorqueScale() const {
    std::lock_guard lock(mutex_);
    return analysis_.TorqueScale();
}

int CSimMachine::AnalysisAcknowledged() const {
    std::lock_guard lock(mutex_);
    return analysis_.Acknowledged();
}

int CSimMachine::AnalysisMeasurements() const {
    std::lock_guard lock(mutex_);
    return analysis_.Measurements();
}
