#include "sim/SimMotorData.h"

#include <utility>

namespace {

// Where each stored record word comes from, 0x1B01 first.
constexpr uint16_t RecordSources[23] = {0x1019, 0x101A, 0x1003, 0x1004, 0x1005, 0x1006, 0x1007, 0x1008,
                                        0x1009, 0x100A, 0x100B, 0x100C, 0x100D, 0x100E, 0x100F, 0x1010,
                                        0x1011, 0x1018, 0x101B, 0x101C, 0x101D, 0x101E, 0x101F};

} // namespace

CSimMotorData::CSimMotorData(CSimDrive& drive, std::optional<int> featureLevel) : drive_(drive) {
    if (featureLevel)
        SetFeatureLevel(*featureLevel);
    for (uint16_t address = RegRecordFirst; address <= RegRecordLast; ++address)
        drive_.SetReadOnly(address, true);
    drive_.SetRange(RegCn085, 0, 100);

    std::weak_ptr<State> weak = state_;
    // Rules run under the drive's lock and must not call back into it: the record is copied before
    // the next request instead.
    SimRegisterRule cn029;
    cn029.onWrite = [weak](uint16_t, uint16_t value) {
        if (const std::shared_ptr<State> state = weak.lock(); state && value == 1) {
            std::lock_guard lock(state->mutex);
            state->copyRecord = true;
        }
    };
    drive_.SetRule(RegCn029, cn029);
    CSimDrive* drive_ptr = &drive_;
    drive_.AddMemoryModel({[weak, drive_ptr] {
                               const std::shared_ptr<State> state = weak.lock();
                               if (!state)
                                   return;
                               bool copy = false;
                               bool alarm = false;
                               {
                                   std::lock_guard lock(state->mutex);
                                   copy = std::exchange(state->copyRecord, false);
                                   alarm = std::exchange(state->raiseAlarm, false);
                               }
                               if (alarm)
                                   drive_ptr->SetRegister(RegAlarmActive, 1);
                               if (!copy || (drive_ptr->GetRegister(RegOnE01) & 0xFF00) != 0x1100)
                                   return;
                               for (int i = 0; i < 23; ++i)
                                   drive_ptr->SetRegister(static_cast<uint16_t>(RegRecordFirst + i),
                                                          drive_ptr->GetRegister(RecordSources[i]));
                           },
                           {}});

    SimRegisterRule alignment;
    alignment.readOnly = false;
    alignment.onWrite = [weak](uint16_t, uint16_t value) {
        const std::shared_ptr<State> state = weak.lock();
        if (!state)
            return;
        std::lock_guard lock(state->mutex);
        state->aligning = value == 1;
        state->readsLeft = state->alignmentReads;
        state->raiseAlarm = state->aligning && state->alarmOnAlignment;
    };
    alignment.onRead = [weak](uint16_t) -> uint16_t {
        const std::shared_ptr<State> state = weak.lock();
        if (!state)
            return 0;
        std::lock_guard lock(state->mutex);
        if (!state->aligning)
            return 0;
        if (state->alarmOnAlignment)
            return 1;
        if (state->readsLeft > 0) {
            --state->readsLeft;
            return 1;
        }
        state->aligning = false;
        return 0;
    };
    drive_.SetRule(RegAlignment, alignment);
}

void CSimMotorData::SetFeatureLevel(int level) {
    drive_.SetRegister(RegFeatureLevel, static_cast<uint16_t>(level));
}

void CSimMotorData::SetMotorSwitchWord(uint16_t word) {
    drive_.SetRegister(RegMotorSwitch, word);
}

void CSimMotorData::SetDriveRating(uint16_t word) {
    drive_.SetRegister(RegDriveRating, word);
}

void CSimMotorData::StoreRecordWords(const uint16_t (&words)[23]) {
    for (int i = 0; i < 23; ++i)
        drive_.SetRegister(static_cast<uint16_t>(RegRecordFirst + i), words[i]);
}

void CSimMotorData::SetAlignmentReads(int reads) {
    std::lock_guard lock(state_->mutex);
    state_->alignmentReads = reads;
}

int CSimMotorData::AlignmentReads() const {
    std::lock_guard lock(state_->mutex);
    return state_->alignmentReads;
}

void CSimMotorData::SetAlignmentAlarm(bool on) {
    std::lock_guard lock(state_->mutex);
    state_->alarmOnAlignment = on;
}

void CSimMotorData::RefuseDetectionLevel(bool refuse) {
    drive_.RefuseAddress(RegCn085, refuse);
}

void CSimMotorData::SetServoExcited(bool on) {
    drive_.SetServoOn(on);
}

void CSimMotorData::SetAlarmActive(bool on) {
    drive_.SetRegister(RegAlarmActive, on ? 1 : 0);
}

bool CSimMotorData::Aligning() const {
    std::lock_guard lock(state_->mutex);
    return state_->aligning;
}
