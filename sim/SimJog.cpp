#include "sim/SimJog.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr uint16_t RegJogSpeed = 0x0201;
constexpr uint16_t RegJogMode = 0x1801;
constexpr uint16_t RegJogServo = 0x1803;
constexpr uint16_t RegRunModeA = 0x1704;
constexpr uint16_t RegRunModeB = 0x1705;
constexpr uint16_t RegRunCommand = 0x170E;
constexpr uint16_t RegJogModeWord = 0x0C25;
constexpr uint16_t RegStopTime = 0x0C26;
constexpr uint16_t RegSpeed = 0x0C28;
constexpr uint16_t RegDistance = 0x0C29;
constexpr uint16_t RegUn45 = 0x0635;
constexpr uint16_t RegTuningEnable = 0x003E;
constexpr uint16_t RegTuningStep = 0x1710;
constexpr uint16_t RegAlarmCode = 0x1711;
constexpr uint16_t RegAlarmPresent = 0x1712;
constexpr uint16_t RegTuningMode = 0x171A;
constexpr uint16_t RegNotchDetect = 0x0042; // Cn063
constexpr uint16_t RegLowDetect = 0x032D;   // Pn336
constexpr uint16_t NotchFrequencies[] = {0x000E, 0x0045, 0x0048, 0x004B, 0x004E};
constexpr uint16_t LowFrequencies[] = {0x0330, 0x0332, 0x0334};

} // namespace

CSimJog::CSimJog(CSimDrive& drive, CSimMachine& machine, SimMechanismParams mechanism)
    : drive_(drive), machine_(machine), mechanism_(mechanism) {
    drive_.AddMemoryModel({[this] { Sync(); }, {}});
    SimRegisterRule step;
    step.readOnly = true;
    step.onRead = [this](uint16_t) -> uint16_t {
        std::lock_guard lock(mutex_);
        if (!tuning_ || tuningSteps_.empty())
            return 0;
        const int value = tuningSteps_[std::min(tuningIndex_, tuningSteps_.size() - 1)];
        if (tuningIndex_ < tuningSteps_.size())
            ++tuningIndex_;
        if (alarmStep_ > 0 && value == alarmStep_)
            alarmPending_ = true;
        // A step reported means the steps before it are tuned; the end means all of them are.
        if (value > 0)
            stepsTuned_ = std::max(stepsTuned_, value - 1);
        if (value == 0 && tuningIndex_ >= tuningSteps_.size() && !tuningFinished_) {
            tuningFinished_ = true;
            stepsTuned_ = TunedSteps;
            awaitingAnswer_ = true;
        }
        return static_cast<uint16_t>(value);
    };
    drive_.SetRule(RegTuningStep, step);
    SimRegisterRule mode;
    mode.onWrite = [this](uint16_t, uint16_t value) {
        std::lock_guard lock(mutex_);
        if ((value & 0xF) == 1 || (value & 0xF) == 2) {
            answer_ = value & 0xF;
            // Only a finished run waits for an answer; the nibble left from an earlier one is none.
            if (std::exchange(awaitingAnswer_, false) && answer_ == 2)
                restorePending_ = true;
        }
    };
    drive_.SetRule(RegTuningMode, mode);
    SimRegisterRule notch;
    notch.onWrite = [this](uint16_t, uint16_t value) {
        std::lock_guard lock(mutex_);
        if (value >= 1 && value <= 5) {
            notchDetect_ = value;
            detectCountdown_ = 10;
        }
    };
    drive_.SetRule(RegNotchDetect, notch);
    SimRegisterRule low;
    low.onWrite = [this](uint16_t, uint16_t value) {
        std::lock_guard lock(mutex_);
        if (value >= 1 && value <= 3) {
            lowDetect_ = value;
            detectCountdown_ = 10;
        }
    };
    drive_.SetRule(RegLowDetect, low);
    // "W10" F07 reaches the offset adjustment through register 0x0F07, which reads back as dn-07.
    SimRegisterRule offset;
    offset.onWrite = [this](uint16_t, uint16_t) {
        std::lock_guard lock(mutex_);
        ++offsetAdjustments_;
    };
    drive_.SetRule(0x0F07, offset);
}

int CSimJog::OffsetAdjustments() const {
    std::lock_guard lock(mutex_);
    return offsetAdjustments_;
}

int CSimJog::ResonanceHz() const {
    const double jm = mechanism_.motorInertia, jl = mechanism_.loadInertia;
    return static_cast<int>(
        std::lround(std::sqrt(mechanism_.stiffness * (jm + jl) / (jm * jl)) / (2 * M_PI)));
}

const std::vector<std::pair<uint16_t, uint16_t>>& CSimJog::TunedValues() {
    // Every value within its parameter's range: one resonance found, so the second notch (Cn066)
    // stays off at its highest frequency.
    static const std::vector<std::pair<uint16_t, uint16_t>> values = {
        {0x001C, 30},  {0x0401, 120},  {0x0402, 800}, {0x0405, 60}, {0x0025, 480},
        {0x000E, 410}, {0x0045, 5000}, {0x0A06, 1},   {0x0A07, 1},  {0x0330, 1000},
        {0x0331, 50},  {0x0A08, 0},    {0x0A09, 100}, {0x0A0A, 50},
    };
    return values;
}

std::pair<size_t, size_t> CSimJog::TunedValuesOfStep(int step) {
    // Step 1 the inertia ratio, 2 the gains and filters, 3 the control model, 4 the friction words.
    static constexpr size_t ends[TunedSteps + 1] = {0, 1, 7, 11, 14};
    const auto k = static_cast<size_t>(std::clamp(step, 1, TunedSteps));
    return {ends[k - 1], ends[k]};
}

void CSimJog::SetTuningSteps(std::vector<int> steps) {
    std::lock_guard lock(mutex_);
    tuningSteps_ = std::move(steps);
}

void CSimJog::SetTuningAlarmAtStep(int step) {
    std::lock_guard lock(mutex_);
    alarmStep_ = step;
}

bool CSimJog::TuningRunning() const {
    std::lock_guard lock(mutex_);
    return tuning_;
}

int CSimJog::TuningAnswer() const {
    std::lock_guard lock(mutex_);
    return answer_;
}

uint16_t CSimJog::Un45Register() {
    return RegUn45;
}

int CSimJog::InertiaRatioTimesTen() const {
    return static_cast<int>(std::lround(mechanism_.loadInertia / mechanism_.motorInertia * 10.0));
}

double CSimJog::StrokeCommand(int64_t nowUs) {
    const double speed = drive_.GetRegister(RegSpeed);
    const double distanceRev = drive_.GetRegister(RegDistance) / 10.0;
    const double restUs = drive_.GetRegister(RegStopTime) * 1000.0;
    if (speed <= 0 || distanceRev <= 0)
        return 0;
    const double moveUs = distanceRev / speed * 60e6;
    const double cycle = moveUs + restUs;
    const double t = static_cast<double>(nowUs - strokeStartUs_);
    const auto stroke = static_cast<int64_t>(t / cycle);
    if (std::fmod(t, cycle) >= moveUs)
        return 0;
    const int pattern = (drive_.GetRegister(RegJogModeWord) >> 4) & 0xF;
    const bool firstStroke = stroke % 2 == 0;
    bool forward = true;
    switch (pattern) {
    case 0:
        forward = firstStroke;
        break;
    case 1:
        forward = !firstStroke;
        break;
    case 3:
        forward = false;
        break;
    default:
        break;
    }
    return forward ? speed : -speed;
}

void CSimJog::Sync() {
    // The drive's words are read and written without our lock: the drive calls us under its own.
    const bool jogServo = drive_.GetRegister(RegJogServo) == 1;
    const bool jogEnabled = drive_.GetRegister(RegJogMode) == 1;
    const bool tuning = drive_.GetRegister(RegRunCommand) == 1 && drive_.GetRegister(RegTuningEnable) == 1;
    const bool stroke = !tuning && drive_.GetRegister(RegRunCommand) == 1 &&
                        (drive_.GetRegister(RegJogModeWord) & 0xF) == 1 &&
                        drive_.GetRegister(RegRunModeA) == 2 && drive_.GetRegister(RegRunModeB) == 2;
    const int64_t now = machine_.NowUs();
    double command = 0;
    double runSeconds;
    bool servoChange = false;
    bool strokeServo = false;
    int fromStep = 0, toStep = 0;
    bool remember = false;
    bool restore = false;
    bool raiseAlarm = false;
    int notchDone = 0;
    int lowDone = 0;
    {
        std::lock_guard lock(mutex_);
        if (stroke && !stroke_) {
            strokeStartUs_ = now;
            runSeconds_ = 0;
        }
        if (stroke_ && stroke)
            runSeconds_ += static_cast<double>(now - lastUs_) / 1e6;
        stroke_ = stroke;
        lastUs_ = now;
        servoChange = jogServo != jogServo_;
        strokeServo = strokeServo_;
        jogServo_ = jogServo;
        runSeconds = runSeconds_;
        if (tuning && !tuning_) {
            tuningIndex_ = 0;
            tuningFinished_ = false;
            stepsTuned_ = 0;
            stepsWritten_ = 0;
            awaitingAnswer_ = false;
            remember = true;
        }
        tuning_ = tuning;
        fromStep = stepsWritten_;
        toStep = stepsWritten_ = std::max(stepsWritten_, stepsTuned_);
        restore = std::exchange(restorePending_, false);
        if (detectCountdown_ > 0 && --detectCountdown_ == 0) {
            notchDone = std::exchange(notchDetect_, 0);
            lowDone = std::exchange(lowDetect_, 0);
        }
        raiseAlarm = std::exchange(alarmPending_, false);
    }
    if (remember) {
        std::vector<uint16_t> held;
        for (const auto& [address, value] : TunedValues())
            held.push_back(drive_.GetRegister(address));
        std::lock_guard lock(mutex_);
        heldBeforeRun_ = std::move(held);
    }
    for (int step = fromStep + 1; step <= toStep; ++step) {
        const auto [first, last] = TunedValuesOfStep(step);
        for (size_t i = first; i < last; ++i)
            drive_.SetRegister(TunedValues()[i].first, TunedValues()[i].second);
    }
    if (restore) {
        std::vector<uint16_t> held;
        {
            std::lock_guard lock(mutex_);
            held = heldBeforeRun_;
        }
        for (size_t i = 0; i < held.size() && i < TunedValues().size(); ++i)
            drive_.SetRegister(TunedValues()[i].first, held[i]);
    }
    if (notchDone) {
        drive_.SetRegister(NotchFrequencies[notchDone - 1], static_cast<uint16_t>(ResonanceHz()));
        drive_.SetRegister(RegNotchDetect, 0);
    }
    if (lowDone) {
        drive_.SetRegister(LowFrequencies[lowDone - 1], LowFrequencyTenthsHz);
        drive_.SetRegister(static_cast<uint16_t>(LowFrequencies[lowDone - 1] + 1), LowFrequencyParameter);
        drive_.SetRegister(RegLowDetect, 0);
    }
    if (raiseAlarm) {
        drive_.SetRegister(RegAlarmPresent, 1);
        drive_.SetRegister(RegAlarmCode, 35);
    }
    if (stroke)
        command = StrokeCommand(now);
    else if (jogServo && jogEnabled)
        command = drive_.GetRegisterSigned(RegJogSpeed);
    {
        std::lock_guard lock(mutex_);
        command_ = command;
    }
    if (servoChange)
        drive_.SetServoOn(jogServo);
    // A stroke run excites the motor for its duration.
    if (stroke != strokeServo && !jogServo) {
        drive_.SetServoOn(stroke);
        std::lock_guard lock(mutex_);
        strokeServo_ = stroke;
    }
    // Outside the jog functions the machine keeps whatever command it has (the demonstration profile,
    // or another function's): the jog hands it back only once, when it ends.
    const bool commanding = stroke || jogServo;
    bool wasCommanding;
    {
        std::lock_guard lock(mutex_);
        wasCommanding = std::exchange(commanding_, commanding);
    }
    if (commanding)
        machine_.SetSpeedCommand(command);
    else if (wasCommanding)
        machine_.SetSpeedCommand(std::nullopt);
    const double estimate = InertiaRatioTimesTen() * (1.0 - std::exp(-runSeconds));
    drive_.SetRegister(RegUn45, static_cast<uint16_t>(std::lround(estimate)));
}

double CSimJog::SpeedCommand() const {
    std::lock_guard lock(mutex_);
    return command_;
}

bool CSimJog::StrokeRunning() const {
    std::lock_guard lock(mutex_);
    return stroke_;
}
