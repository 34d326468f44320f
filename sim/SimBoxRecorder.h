#pragma once
// The drive's box recorder, as the simulated drive keeps it. This is the drive's side of the
// recorder handshake, written from what the program does:
//
// Registers (kept in the register file; the drive learns of each write):
//   0x1525 := 1 enables the recorder with the registers as they are then; := 0 disables it (the
//   record stays readable). 0x1527 interval: one sample every interval x 100 us (0 counts as 1).
//   0x1526 trigger source (0: none, the record starts at once; a signal type 21..46: that signal),
//   0x1529 level (signed), 0x1528 edge (0 rise, 1 fall, 2 both), 0x1524 position (0..51: that
//   many 52nds of the record lie before the trigger). 0x1521 is accepted and changes nothing.
//   0x1523 reads 0 until the 512 samples of a record are in, then 1; a write of 0 clears it.
//
// Memory, sample k = 0..511 of the record: its number (a running count since enabling) at
// 0x5400 + k; the input bits (DI-1 in bit 0) at 0x6000 + k; the output bits at 0x6200 + k; signal
// type t = 21..46 at (t + 29) x 512 + k (21 speed command ... 25 position error low word, 26 its
// high word, 27 electrical angle, ... 43 encoder position low word, 44 its high word, 45 and 46 the
// CIA402 words). Block reads read the memory; single reads of these addresses read the registers.
#include "sim/SimMechanism.h"

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

class CSimBoxRecorder {
public:
    static constexpr int RecordSamples = 512;

    CSimBoxRecorder();

    void OnWrite(uint16_t address, uint16_t value, int64_t nowUs);
    std::optional<uint16_t> Read(uint16_t address) const;
    std::optional<uint16_t> BlockWord(uint16_t address) const;
    int64_t NextSampleUs() const;
    void Sample(const CSimMechanism& mechanism);

    // The word signal type t (21..46) records now.
    static uint16_t TypeWord(int type, const CSimMechanism& mechanism);

private:
    static constexpr int kWords = 2 + 1 + 26; // number, inputs, outputs, types 21..46
    using Row = std::array<uint16_t, kWords>;

    std::array<uint16_t, 16> regs_{}; // 0x1520..0x152F as written
    bool enabled_ = false;
    bool triggered_ = false;
    uint16_t complete_ = 0;
    int64_t periodUs_ = 100;
    int64_t nextUs_ = 0;
    uint32_t number_ = 0;
    std::optional<int32_t> previousTriggerValue_;
    std::deque<Row> ring_;
    std::vector<Row> record_;
};
