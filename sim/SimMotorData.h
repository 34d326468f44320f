#pragma once
// The drive's motor data and its encoder pole alignment, as the simulated drive keeps them. This is
// the drive's side of the self-built motor and pole alignment exchanges, written from what the
// program does:
//
// Motor data (plain words unless said):
//   0x0021 (Cn030) motor code. 0x1001..0x1018 the onE parameters: 0x1003 rated speed, 0x1004 pole
//   pairs, 0x1005/0x1007/0x1009/0x100B/0x100D/0x100F the six constants as 32-bit pairs (onE05..onE10),
//   0x1011 maximum current (onE11), 0x1014 pole pitch (onE14), 0x1015 resolution pair (onE15),
//   0x1017 (onE16), 0x1018 maximum speed (onE17); 0x1019..0x101F the encoder record's own words.
//   0x170A motor type switch word and 0x0C12 drive rating word: what the test sets.
//   0x171E feature level: the option given (4 and above: the encoder record can be written).
// Encoder record: 0x1B01..0x1B17 read-only, as stored in the encoder: 0x1B01 manufacturer x 256 +
//   0x52, 0x1B02 product series, 0x1B03 rated speed, 0x1B04 pole pairs, 0x1B05..0x1B10 the six
//   constant pairs, 0x1B11 maximum current, 0x1B12 maximum speed, 0x1B13 voltage level x 256 +
//   encoder code, 0x1B14 week x 256 + year, 0x1B15 motor id, 0x1B16 version, 0x1B17 CRC. A write of
//   1 to Cn029 (0x0020) while onE01 (0x1001) reads 0x11xx stores 0x1003..0x101F into it.
//   onU52 (0x113F): bits 15-8 the encoder factory (0 or 1).
// Pole alignment (the window starts it and follows it: Cn085, then 0x0F0B := 1, retried every
// 500 ms until the drive takes it; then 0x0F0B and 0x1712 polled every 500 ms; 0x0F0B := 0 on Close):
//   Cn085 (0x0058) detection level 0..100; refused altogether when the test asks.
//   0x0F0B (dn-11) is the alignment command and state, writable here. A write of 1 starts an
//   alignment: 0x0F0B then reads 1 for the next AlignmentReads() reads (3 unless set: a second and a
//   half at the window's pace) and 0 after them, the alignment done. With an alignment alarm asked
//   for, the drive raises its alarm (0x1712 := 1) before the next request and 0x0F0B stays 1. A
//   write of 0 stops the alignment.
//   0x1703 reads 1 while the servo is excited. 0x1712 is the drive's one alarm word: SetAlarmActive
//   and the alignment alarm set it, and so may the drive's other functions (a failed tuning run).
#include "sim/SimDrive.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

class CSimMotorData {
public:
    static constexpr uint16_t RegMotorCode = 0x0021;
    static constexpr uint16_t RegCn029 = 0x0020;
    static constexpr uint16_t RegCn085 = 0x0058;
    static constexpr uint16_t RegOnE01 = 0x1001;
    static constexpr uint16_t RegOnU52 = 0x113F;
    static constexpr uint16_t RegMotorSwitch = 0x170A;
    static constexpr uint16_t RegDriveRating = 0x0C12;
    static constexpr uint16_t RegFeatureLevel = 0x171E;
    static constexpr uint16_t RegAlignment = 0x0F0B;
    static constexpr uint16_t RegServoStatus = 0x1703;
    static constexpr uint16_t RegAlarmActive = 0x1712;
    static constexpr uint16_t RegRecordFirst = 0x1B01;
    static constexpr uint16_t RegRecordLast = 0x1B17;

    // featureLevel goes to 0x171E; nothing keeps the drive's own (a served drive's identity).
    explicit CSimMotorData(CSimDrive& drive, std::optional<int> featureLevel = 4);
    CSimMotorData(const CSimMotorData&) = delete;
    CSimMotorData& operator=(const CSimMotorData&) = delete;

    void SetFeatureLevel(int level);
    void SetMotorSwitchWord(uint16_t word);
    void SetDriveRating(uint16_t word);
    // The 23 words 0x1B01..0x1B17 of the stored record.
    void StoreRecordWords(const uint16_t (&words)[23]);

    void SetAlignmentReads(int reads);
    int AlignmentReads() const;
    void SetAlignmentAlarm(bool on);
    void RefuseDetectionLevel(bool refuse);
    void SetServoExcited(bool on);
    void SetAlarmActive(bool on);
    bool Aligning() const;

private:
    struct State {
        std::mutex mutex;
        int alignmentReads = 3;
        int readsLeft = 0;
        bool aligning = false;
        bool alarmOnAlignment = false;
        bool raiseAlarm = false; // an alignment met its alarm; raised before the next request
        bool copyRecord = false; // Cn029 := 1 was accepted; done before the next request
    };
    CSimDrive& drive_;
    std::shared_ptr<State> state_ = std::make_shared<State>();
};
