#pragma once
// The drive's trace function, as the simulated drive keeps it. This is the drive's side of the
// trace handshake, written from what the program does:
//
// Registers (16-bit words, kept in the register file; the drive learns of each write):
//   0x1502 mode (0 Single, 1 Cycle, 2 Monitor); 0x150E channel count (8, else four channels);
//   0x150A..0x150D drive channel codes of channels 1..8 (low byte first channel of the pair);
//   0x1507 interval (0 counts as 1). Single and Cycle: one sample every interval x 100 us with eight
//   channels, every interval x 50 us with four. Monitor: one sample every interval x 1 ms on a drive
//   whose dn-04 (0x0F04) is above 54 or of series 6, 8 or 9, every interval x 10 ms on the others.
//   0x1506 trigger source (0: none, the record starts at once;
//   n = 1..8: channel n's value), 0x1509 level (signed), 0x1508 edge (0 rise, 1 fall, 2 both),
//   0x1504 position (0..51: that many 52nds of the record lie before the trigger).
//   0x1505 := 1 arms with the registers as they are then, := 0 disarms (memory stays).
//   0x1501 reads 2 while armed, else 0.
//   0x1503 status: reads as below; the program's writes are the hand-over.
//
// Channel values: drive code c records, per record, 1..12 DI-c (bit), 13..20 DO-(c-12) (bit),
// 25..29 speed command, speed feedback, torque command, torque feedback, position error (low word),
// 30 the high word of the position error, 31 electrical angle, 32 pulse reference, 33 U current,
// 34..50 as the program's source codes 34..50 (47 encoder position, low word), 48 and 52 the high
// words of 47 and 51 (following error), 21..24 and 53..56 debug counters, 0 nothing (zeros).
//
// Memory: sample numbers (a running record count since arming, 16 bits) in 0x5000..0x51FF; channel
// k in its 1,024-word area (0x1000, 0x1400, 0x2000, 0x2400, 0x3000, 0x3400, 0x4000, 0x4400). With
// four channels a record holds two samples: the first in the areas of channels 1..4, the second in
// those of 5..8 (recorded with the codes of 1..4). Block reads ("R5"/"R9") of these addresses read
// the memory, single reads the registers (area 2 overlaps the register block at 0x1500).
//
// Single and Cycle: 1,024 records fill the whole areas (record r at offset r), sample numbers at
// 0x5000 + r for r < 512 and again from 0x5000 for the upper half (the program reads the numbers
// of block b at 0x5000 + 64 b for either half). Status 0 until the record is complete, then 1.
// Single stops there. Cycle: the program's 2 starts the next record (trigger wait again).
//
// Monitor, half hand-over (drives without segments): records go to the first 128 words of the
// lower half, then of the upper half, alternately; a full half is announced with status 1 and its
// sample numbers are then at 0x5000..0x507F. The program's 2 takes it: status 0, or 1 again at once
// when the other half is complete meanwhile. While both halves wait, new records are dropped (their
// numbers are skipped, so the program sees the gap).
//
// Monitor, segments (drives whose dn-04 (0x0F04) is above 57 or whose 0x171E is above 0): eight
// segments of 128 records at offsets 128 s of every area; the numbers of segment s at
// 0x5000 + 128 (s mod 4). A complete segment is announced with status s + 1; the program's 255
// takes it and the next complete one is announced at once, else the status reads 255. At most four
// segments wait; records beyond are dropped.
#include "sim/SimMechanism.h"

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

class CSimTrace {
public:
    CSimTrace();

    // The drive's words the trace depends on, taken when it is armed: dn-04, 0x171E and the series.
    void SetDrive(int version, int driveId, int series);
    // The Monitor sample unit of such a drive, us.
    static int64_t MonitorUnitUs(int version, int series);
    // A write the drive accepted; now is the simulated time.
    void OnWrite(uint16_t address, uint16_t value, int64_t nowUs);
    // The live values of the state registers; nothing for other addresses.
    std::optional<uint16_t> Read(uint16_t address) const;
    // A word of the record memory; nothing outside it.
    std::optional<uint16_t> BlockWord(uint16_t address) const;

    // When the next record is due (INT64_MAX when none is).
    int64_t NextRecordUs() const;
    // Takes the record that is due from the mechanism.
    void Record(const CSimMechanism& mechanism);

    // The value a drive channel code records now.
    static uint16_t ChannelWord(int driveCode, const CSimMechanism& mechanism);
    int DroppedRecords() const { return dropped_; }
    // Records taken since the trace was armed, dropped ones included.
    uint32_t Records() const { return recordNumber_; }

private:
    void Arm(int64_t nowUs);
    void StartCapture();
    void StoreRecord(int offset, const std::array<uint16_t, 8>& first, const std::array<uint16_t, 8>& second);
    void AnnounceNext();
    bool Triggered(const CSimMechanism& mechanism);

    std::array<uint16_t, 16> regs_{}; // 0x1500..0x150F as written
    bool segmentCapable_ = false;
    int64_t monitorUnitUs_ = 1000;
    bool armed_ = false;
    bool segments_ = false;
    int mode_ = 0;
    bool eight_ = true;
    int64_t periodUs_ = 100; // one sample
    int64_t nextUs_ = 0;
    uint16_t status_ = 0;
    uint32_t recordNumber_ = 0;
    int dropped_ = 0;
    std::array<std::vector<uint16_t>, 8> areas_;
    std::vector<uint16_t> index_;
    // Single and Cycle: a ring of the last 1,024 records until the trigger and the rest are in.
    struct Captured {
        uint16_t number;
        std::array<uint16_t, 8> first, second;
    };
    std::deque<Captured> ring_;
    bool capturing_ = false;
    bool triggered_ = false;
    int afterTrigger_ = 0;
    std::optional<int32_t> previousTriggerValue_;
    std::optional<std::array<uint16_t, 8>> pendingFirst_; // four channels: the record's first sample
    // Monitor.
    int fillUnit_ = 0;      // half or segment being filled
    int fillCount_ = 0;     // records in it
    std::deque<int> ready_; // complete units not yet announced
    int announced_ = -1;
    std::array<std::array<uint16_t, 128>, 2> halfNumbers_{};
};
