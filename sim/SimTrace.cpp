#include "sim/SimTrace.h"

#include <algorithm>
#include <limits>

namespace {

constexpr uint16_t kRegBase = 0x1500;
constexpr uint16_t kIndexBase = 0x5000;
constexpr int kIndexWords = 0x200;
constexpr std::array<uint16_t, 8> kAreas = {0x1000, 0x1400, 0x2000, 0x2400, 0x3000, 0x3400, 0x4000, 0x4400};
constexpr int kAreaWords = 1024;
constexpr int kRecordWords = 1024; // records of a Single or Cycle capture
constexpr int kUnitRecords = 128;  // records of a Monitor half or segment
constexpr int kMaxWaitingSegments = 4;

uint16_t Low(int32_t value) {
    return static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xFFFF);
}

uint16_t High(int32_t value) {
    return static_cast<uint16_t>(static_cast<uint32_t>(value) >> 16);
}

} // namespace

int64_t CSimTrace::MonitorUnitUs(int version, int series) {
    return version > 54 || series == 6 || series == 8 || series == 9 ? 1000 : 10000;
}

void CSimTrace::SetDrive(int version, int driveId, int series) {
    segmentCapable_ = version > 57 || driveId > 0;
    monitorUnitUs_ = MonitorUnitUs(version, series);
}

CSimTrace::CSimTrace() {
    for (auto& area : areas_)
        area.assign(kAreaWords, 0);
    index_.assign(kIndexWords, 0);
}

uint16_t CSimTrace::ChannelWord(int code, const CSimMechanism& m) {
    if (code >= 1 && code <= 12)
        return static_cast<uint16_t>((m.Value(SimSignal::InputBits) >> (code - 1)) & 1);
    if (code >= 13 && code <= 20)
        return static_cast<uint16_t>((m.Value(SimSignal::OutputBits) >> (code - 13)) & 1);
    switch (code) {
    case 25:
        return Low(m.Value(SimSignal::SpeedCommand));
    case 26:
        return Low(m.Value(SimSignal::SpeedFeedback));
    case 27:
        return Low(m.Value(SimSignal::TorqueCommand));
    case 28:
        return Low(m.Value(SimSignal::TorqueFeedback));
    case 29:
        return Low(m.Value(SimSignal::PositionError));
    case 30:
        return High(m.Value(SimSignal::PositionError));
    case 31:
        return Low(m.Value(SimSignal::ElectricalAngle));
    case 32:
        return Low(m.Value(SimSignal::PulseReference));
    case 33:
        return Low(m.Value(SimSignal::PhaseUCurrent));
    case 34:
        return Low(m.Value(SimSignal::PositionSpeedRaw));
    case 35:
        return Low(m.Value(SimSignal::PositionSpeed));
    case 36:
        return Low(m.Value(SimSignal::BusVoltage));
    case 37:
        return Low(m.Value(SimSignal::DriveTemperature));
    case 38:
        return Low(m.Value(SimSignal::PhaseUCurrentAd));
    case 39:
        return Low(m.Value(SimSignal::PhaseWCurrentAd));
    case 40:
        return Low(m.Value(SimSignal::QVoltageCommand));
    case 41:
        return Low(m.Value(SimSignal::DCurrentFeedback));
    case 42:
        return Low(m.Value(SimSignal::DVoltageCommand));
    case 43:
        return Low(m.Value(SimSignal::DCurrentCommand));
    case 44:
        return Low(m.Value(SimSignal::RegenerativeLoad));
    case 45:
        return Low(m.Value(SimSignal::EffectiveLoad));
    case 46:
        return Low(m.Value(SimSignal::MultiTurn));
    case 47:
        return Low(m.Value(SimSignal::EncoderAbsolute));
    case 48:
        return High(m.Value(SimSignal::EncoderAbsolute));
    case 49:
        return Low(m.Value(SimSignal::ControlWord));
    case 50:
        return Low(m.Value(SimSignal::StatusWord));
    case 51:
        return Low(m.Value(SimSignal::FollowingError));
    case 52:
        return High(m.Value(SimSignal::FollowingError));
    default:
        break;
    }
    if ((code >= 21 && code <= 24) || (code >= 53 && code <= 56))
        return Low(m.Value(SimSignal::StepCount) * (code % 8 + 1));
    return 0;
}

std::optional<uint16_t> CSimTrace::Read(uint16_t address) const {
    if (address == 0x1501)
        return static_cast<uint16_t>(armed_ ? 2 : 0);
    if (address == 0x1503)
        return status_;
    return std::nullopt;
}

std::optional<uint16_t> CSimTrace::BlockWord(uint16_t address) const {
    for (size_t k = 0; k < kAreas.size(); ++k)
        if (address >= kAreas[k] && address < kAreas[k] + kAreaWords)
            return areas_[k][address - kAreas[k]];
    if (address >= kIndexBase && address < kIndexBase + kIndexWords)
        return index_[address - kIndexBase];
    return std::nullopt;
}

void CSimTrace::OnWrite(uint16_t address, uint16_t value, int64_t nowUs) {
    if (address < kRegBase || address >= kRegBase + regs_.size())
        return;
    regs_[address - kRegBase] = value;
    if (address == 0x1505) {
        if (value == 1)
            Arm(nowUs);
        else
            armed_ = false;
        return;
    }
    if (address != 0x1503)
        return;
    if (value == 0 || !armed_) {
        status_ = 0;
        return;
    }
    if (mode_ == 2 && !segments_ && value == 2) {
        announced_ = -1;
        status_ = 0;
        AnnounceNext();
    } else if (mode_ == 2 && segments_ && value == 255) {
        announced_ = -1;
        status_ = 255;
        AnnounceNext();
    } else if (mode_ == 1 && value == 2 && !capturing_) {
        StartCapture();
    }
}

void CSimTrace::Arm(int64_t nowUs) {
    mode_ = regs_[2];
    eight_ = regs_[0xE] == 8;
    segments_ = mode_ == 2 && segmentCapable_;
    const int interval = std::max<int>(1, regs_[7]);
    periodUs_ = static_cast<int64_t>(interval) * (mode_ == 2 ? monitorUnitUs_ : eight_ ? 100 : 50);
    nextUs_ = nowUs + periodUs_;
    armed_ = true;
    status_ = 0;
    recordNumber_ = 0;
    dropped_ = 0;
    ready_.clear();
    announced_ = -1;
    fillUnit_ = 0;
    fillCount_ = 0;
    pendingFirst_.reset();
    capturing_ = false;
    if (mode_ != 2)
        StartCapture();
}

void CSimTrace::StartCapture() {
    capturing_ = true;
    status_ = 0;
    ring_.clear();
    triggered_ = regs_[6] == 0;
    afterTrigger_ = 0;
    previousTriggerValue_.reset();
}

int64_t CSimTrace::NextRecordUs() const {
    if (!armed_ || (mode_ != 2 && !capturing_))
        return std::numeric_limits<int64_t>::max();
    return nextUs_;
}

bool CSimTrace::Triggered(const CSimMechanism& m) {
    const int source = regs_[6];
    if (source < 1 || source > 8)
        return true;
    const int code = (regs_[0xA + (source - 1) / 2] >> (8 * ((source - 1) % 2))) & 0xFF;
    const int32_t value = static_cast<int16_t>(ChannelWord(code, m));
    const int32_t level = static_cast<int16_t>(regs_[9]);
    const std::optional<int32_t> previous = previousTriggerValue_;
    previousTriggerValue_ = value;
    if (!previous)
        return false;
    const bool rise = *previous < level && value >= level;
    const bool fall = *previous > level && value <= level;
    const int edge = regs_[8];
    return edge == 0 ? rise : edge == 1 ? fall : (rise || fall);
}

void CSimTrace::StoreRecord(int offset, const std::array<uint16_t, 8>& first,
                            const std::array<uint16_t, 8>& second) {
    for (int k = 0; k < 8; ++k)
        areas_[k][offset] = eight_ || segments_ ? first[k] : (k < 4 ? first[k] : second[k - 4]);
}

void CSimTrace::AnnounceNext() {
    if (announced_ >= 0 || ready_.empty())
        return;
    announced_ = ready_.front();
    ready_.pop_front();
    if (segments_) {
        status_ = static_cast<uint16_t>(announced_ + 1);
        return;
    }
    // The numbers of the announced half stand where the program reads them.
    std::copy(halfNumbers_[announced_].begin(), halfNumbers_[announced_].end(), index_.begin());
    status_ = 1;
}

void CSimTrace::Record(const CSimMechanism& m) {
    nextUs_ += periodUs_;
    std::array<uint16_t, 8> sample{};
    for (int k = 0; k < 8; ++k) {
        const int pair = (eight_ || segments_ ? k : k % 4);
        const int code = (regs_[0xA + pair / 2] >> (8 * (pair % 2))) & 0xFF;
        sample[k] = ChannelWord(code, m);
    }
    if (mode_ != 2 && capturing_ && !triggered_ && Triggered(m))
        triggered_ = true;
    // Four channels outside the segments: two samples make one record.
    const bool twoPerRecord = !eight_ && !segments_;
    if (twoPerRecord && !pendingFirst_) {
        pendingFirst_ = sample;
        return;
    }
    const std::array<uint16_t, 8> first = twoPerRecord ? *pendingFirst_ : sample;
    pendingFirst_.reset();

    if (mode_ != 2) {
        ring_.push_back({static_cast<uint16_t>(recordNumber_++), first, sample});
        const int before = kRecordWords * std::clamp<int>(regs_[4], 0, 51) / 52;
        if (!triggered_) {
            while (static_cast<int>(ring_.size()) > before)
                ring_.pop_front();
            return;
        }
        if (static_cast<int>(ring_.size()) < kRecordWords)
            return;
        for (int r = 0; r < kRecordWords; ++r) {
            StoreRecord(r, ring_[r].first, ring_[r].second);
            if (r < kIndexWords)
                index_[r] = ring_[r].number;
        }
        ring_.clear();
        capturing_ = false;
        status_ = 1;
        return;
    }

    const bool busy =
        segments_
            ? (fillCount_ == 0 &&
               static_cast<int>(ready_.size()) + (announced_ >= 0 ? 1 : 0) >= kMaxWaitingSegments)
            : (announced_ == fillUnit_ || std::find(ready_.begin(), ready_.end(), fillUnit_) != ready_.end());
    if (busy) {
        ++recordNumber_;
        ++dropped_;
        return;
    }
    if (segments_) {
        StoreRecord(kUnitRecords * fillUnit_ + fillCount_, first, sample);
        index_[kUnitRecords * (fillUnit_ % 4) + fillCount_] = static_cast<uint16_t>(recordNumber_);
    } else {
        // The numbers of a half go to the index area when it is announced.
        StoreRecord(0x200 * fillUnit_ + fillCount_, first, sample);
        halfNumbers_[fillUnit_][fillCount_] = static_cast<uint16_t>(recordNumber_);
    }
    ++recordNumber_;
    if (++fillCount_ < kUnitRecords)
        return;
    ready_.push_back(fillUnit_);
    fillUnit_ = segments_ ? (fillUnit_ + 1) % 8 : fillUnit_ ^ 1;
    fillCount_ = 0;
    AnnounceNext();
}
