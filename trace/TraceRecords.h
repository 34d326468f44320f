#pragma once
// Decoding the drive's trace and box records. A block read returns 64 records: "%", one word of
// four hex digits per requested address, a two-digit checksum (39 characters for nine addresses,
// 23 for five). Word 0 is the sample number, the others come from the channel areas.
#include "trace/TraceRegisters.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The words of one record; unused places are 0.
using RecordWords = std::array<uint16_t, 9>;
// One value per channel of one sample.
using SampleSet = std::array<int32_t, 8>;

// Characters of one record of a block read of n addresses.
constexpr int RecordLength(int addresses) {
    return 4 * addresses + 3;
}

// The four hex digits at text as a word (a character that is no hex digit counts as 0).
uint16_t HexWord(const char* text);

// What the block read's result says: a failed exchange ends the reading; records with a bad
// checksum (once the block's re-reads are spent) are counted and the whole block stands as zeros,
// so the time base is kept.
struct BlockVerdict {
    bool failed = false;
    int badRecords = 0;
};
BlockVerdict JudgeBlockResult(int result);

// The 64 records of a reply; all zeros when the block has bad records.
std::vector<RecordWords> ParseBlock(const char* reply, int addresses, const BlockVerdict& verdict);

// The repeated-block test: a block read good whose first sample number equals that of the last
// block read good has been read before. A block that stayed bad is never a repeat and leaves the
// number as it was: its zeros keep its own place (its first number reads 0, as block 0's may).
class StaleBlockGuard {
public:
    void Reset() { last_ = -1; }
    // True when the block repeats; otherwise a good block's first number is remembered.
    bool Repeats(const BlockVerdict& verdict, int firstIndex) {
        if (verdict.failed || verdict.badRecords > 0)
            return false;
        if (firstIndex == last_)
            return true;
        last_ = firstIndex;
        return false;
    }

private:
    int last_ = -1;
};

// How a sampling thread decodes its channels, fixed when it starts.
struct TraceChannelSetup {
    bool eightChannels = true;
    std::array<int, 8> sources{};
    std::array<bool, 8> reverse{};
    std::array<int, 3> wideSlots{-1, -1, -1};
};
TraceChannelSetup MakeTraceChannelSetup(bool eightChannels, const std::array<int, 8>& sources,
                                        const std::array<bool, 8>& reverse);

// A record of the Single procedure or the half variant: one set of eight channels, or in
// four-channel mode two sets of channels 1..4 (words 1..4, then words 5..8). Returns the set count.
int DecodeHalfRecord(const RecordWords& words, const TraceChannelSetup& setup, SampleSet (&sets)[2]);
// A record of the segment variant: one set of all eight channels.
SampleSet DecodeSegmentRecord(const RecordWords& words, const TraceChannelSetup& setup);
// A record of the five-address re-read: channels 1..4 from words 1..4, no 32-bit handling.
SampleSet DecodeReReadRecord(const RecordWords& words, const TraceChannelSetup& setup);

// The addresses of one block read (block b = 0..7 of 64 records).
std::array<uint16_t, 9> HalfBlockAddresses(int half, int block);
std::array<uint16_t, 9> SegmentBlockAddresses(int segment, int block);
std::array<uint16_t, 5> ReReadBlockAddresses(int pass, int block);

// The segment a status word announces: statuses 1..8 name segments 0..7. 0 and 255 mean nothing is
// ready, and so does any other value, which names no segment of the memory.
std::optional<int> ReadySegment(int status);

// ---- Box records -------------------------------------------------------------------------------

constexpr uint16_t BoxClearRegister = 0x1521;
constexpr uint16_t BoxCompleteRegister = 0x1523;
constexpr uint16_t BoxPositionRegister = 0x1524;
constexpr uint16_t BoxEnableRegister = 0x1525;
constexpr uint16_t BoxTriggerSourceRegister = 0x1526;
constexpr uint16_t BoxIntervalRegister = 0x1527;
constexpr uint16_t BoxEdgeRegister = 0x1528;
constexpr uint16_t BoxLevelRegister = 0x1529;
constexpr uint16_t BoxIndexArea = 0x5400;
constexpr int BoxRecordSamples = 512;
constexpr int BoxRecordBlocks = 8;

// First address of the 512-word area of a box channel type: 0x6000 for the inputs 1..12, 0x6200
// for the outputs 13..20, (type + 29) x 512 for 21..46, 0x6000 for anything else.
uint16_t BoxChannelBaseAddress(int type);
// The area that carries the high words of a 32-bit type: 26 when a channel has type 25, 44 when
// one has 43 (44 wins), else 7.
int BoxExtraType(const std::array<int, 4>& types);
// The nine addresses of block b (samples 64b .. 64b + 63).
std::array<uint16_t, 9> BoxBlockAddresses(const std::array<int, 4>& types, int block);

// One box sample: the four converted channels and the four extra words (signed).
struct BoxSample {
    std::array<int32_t, 4> channels{};
    std::array<int32_t, 4> extra{};
};
// Types 25 and 43 are 32-bit: their high half is word 7 (the area of type 26 or 44). A bit type
// (DI/DO, 1..20) yields its bit on any of the four channels.
BoxSample DecodeBoxRecord(const RecordWords& words, const std::array<int, 4>& types,
                          const std::array<bool, 4>& reverse);
