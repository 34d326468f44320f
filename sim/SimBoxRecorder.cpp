#include "sim/SimBoxRecorder.h"

#include <algorithm>
#include <limits>

namespace {

constexpr uint16_t kRegBase = 0x1520;
constexpr uint16_t kIndexArea = 0x5400;
constexpr uint16_t kInputArea = 0x6000;
constexpr uint16_t kOutputArea = 0x6200;
constexpr int kFirstType = 21;
constexpr int kLastType = 46;

uint16_t Low(int32_t value) {
    return static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xFFFF);
}

uint16_t High(int32_t value) {
    return static_cast<uint16_t>(static_cast<uint32_t>(value) >> 16);
}

} // namespace

CSimBoxRecorder::CSimBoxRecorder() : record_(RecordSamples, Row{}) {}

uint16_t CSimBoxRecorder::TypeWord(int type, const CSimMechanism& m) {
    static constexpr SimSignal signals[] = {
        SimSignal::SpeedCommand,     SimSignal::SpeedFeedback,    SimSignal::TorqueCommand,
        SimSignal::TorqueFeedback,   SimSignal::PositionError,    SimSignal::PositionError,
        SimSignal::ElectricalAngle,  SimSignal::PulseReference,   SimSignal::PhaseUCurrent,
        SimSignal::PositionSpeedRaw, SimSignal::PositionSpeed,    SimSignal::BusVoltage,
        SimSignal::DriveTemperature, SimSignal::PhaseUCurrentAd,  SimSignal::PhaseWCurrentAd,
        SimSignal::QVoltageCommand,  SimSignal::DCurrentFeedback, SimSignal::DVoltageCommand,
        SimSignal::DCurrentCommand,  SimSignal::RegenerativeLoad, SimSignal::EffectiveLoad,
        SimSignal::MultiTurn,        SimSignal::EncoderAbsolute,  SimSignal::EncoderAbsolute,
        SimSignal::ControlWord,      SimSignal::StatusWord};
    if (type < kFirstType || type > kLastType)
        return 0;
    const int32_t value = m.Value(signals[type - kFirstType]);
    return type == 26 || type == 44 ? High(value) : Low(value);
}

void CSimBoxRecorder::OnWrite(uint16_t address, uint16_t value, int64_t nowUs) {
    if (address < kRegBase || address >= kRegBase + regs_.size())
        return;
    regs_[address - kRegBase] = value;
    if (address == 0x1523 && value == 0) {
        complete_ = 0;
    } else if (address == 0x1525) {
        enabled_ = value == 1;
        if (!enabled_)
            return;
        complete_ = 0;
        number_ = 0;
        ring_.clear();
        triggered_ = regs_[6] == 0;
        previousTriggerValue_.reset();
        periodUs_ = static_cast<int64_t>(std::max<int>(1, regs_[7])) * 100;
        nextUs_ = nowUs + periodUs_;
    }
}

std::optional<uint16_t> CSimBoxRecorder::Read(uint16_t address) const {
    if (address == 0x1523)
        return complete_;
    return std::nullopt;
}

std::optional<uint16_t> CSimBoxRecorder::BlockWord(uint16_t address) const {
    if (address >= kIndexArea && address < kIndexArea + RecordSamples)
        return record_[address - kIndexArea][0];
    if (address >= kInputArea && address < kInputArea + RecordSamples)
        return record_[address - kInputArea][1];
    if (address >= kOutputArea && address < kOutputArea + RecordSamples)
        return record_[address - kOutputArea][2];
    const int type = address / RecordSamples - 29;
    if (type >= kFirstType && type <= kLastType)
        return record_[address % RecordSamples][3 + type - kFirstType];
    return std::nullopt;
}

int64_t CSimBoxRecorder::NextSampleUs() const {
    return enabled_ && !complete_ ? nextUs_ : std::numeric_limits<int64_t>::max();
}

void CSimBoxRecorder::Sample(const CSimMechanism& m) {
    nextUs_ += periodUs_;
    Row row{};
    row[0] = static_cast<uint16_t>(number_++);
    row[1] = Low(m.Value(SimSignal::InputBits));
    row[2] = Low(m.Value(SimSignal::OutputBits));
    for (int type = kFirstType; type <= kLastType; ++type)
        row[3 + type - kFirstType] = TypeWord(type, m);
    ring_.push_back(row);
    if (!triggered_) {
        const int source = regs_[6];
        const int32_t value = static_cast<int16_t>(TypeWord(source, m));
        const int32_t level = static_cast<int16_t>(regs_[9]);
        if (previousTriggerValue_) {
            const bool rise = *previousTriggerValue_ < level && value >= level;
            const bool fall = *previousTriggerValue_ > level && value <= level;
            const int edge = regs_[8];
            triggered_ = edge == 0 ? rise : edge == 1 ? fall : (rise || fall);
        }
        previousTriggerValue_ = value;
        const int before = RecordSamples * std::clamp<int>(regs_[4], 0, 51) / 52;
        if (!triggered_) {
            while (static_cast<int>(ring_.size()) > before)
                ring_.pop_front();
            return;
        }
    }
    if (static_cast<int>(ring_.size()) < RecordSamples)
        return;
    std::copy(ring_.begin(), ring_.end(), record_.begin());
    ring_.clear();
    complete_ = 1;
}
