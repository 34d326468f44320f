#pragma once
// The drive's trace function as the program sees it: the trace registers, the record memory, the
// drive channel codes of the channel sources and the placement of the high words of 32-bit sources.
#include <array>
#include <cstdint>

// Trace registers (16-bit words).
constexpr uint16_t TraceStateRegister = 0x1501;    // 2 while the drive's trace is armed and waiting
constexpr uint16_t TraceModeRegister = 0x1502;     // 0 Single, 1 Cycle, 2 Monitor
constexpr uint16_t TraceStatusRegister = 0x1503;   // record status, the hand-over word
constexpr uint16_t TracePositionRegister = 0x1504; // trigger position 0..51
constexpr uint16_t TraceRunRegister = 0x1505;      // 1 start, 0 stop
constexpr uint16_t TraceTriggerSourceRegister = 0x1506;
constexpr uint16_t TraceIntervalRegister = 0x1507;
constexpr uint16_t TraceEdgeRegister = 0x1508;
constexpr uint16_t TraceLevelRegister = 0x1509;
constexpr uint16_t TraceChannels12Register = 0x150A; // channel 1 code low byte, channel 2 high byte
constexpr uint16_t TraceChannels34Register = 0x150B;
constexpr uint16_t TraceChannels56Register = 0x150C; // eight-channel mode only
constexpr uint16_t TraceChannels78Register = 0x150D;
constexpr uint16_t TraceChannelCountRegister = 0x150E; // 8 or 4

// Record memory: the sample numbers and eight channel areas of 1,024 words, each in two halves.
constexpr uint16_t TraceIndexArea = 0x5000;
constexpr std::array<uint16_t, 8> TraceChannelAreas = {0x1000, 0x1400, 0x2000, 0x2400,
                                                       0x3000, 0x3400, 0x4000, 0x4400};
constexpr int TraceAreaWords = 1024;
constexpr int TraceHalfWords = 0x200;
constexpr int TraceSegmentWords = 128;
constexpr int TraceSegmentCount = 8;
constexpr int BlockRecords = 64;

// Handshake values of the status word.
constexpr int TraceStatusBufferTaken = 2;    // half hand-over: the program took the buffer
constexpr int TraceStatusSegmentTaken = 255; // segment hand-over: nothing ready / segment taken

enum TraceModeValue : int {
    TraceModeUnset = -1,
    TraceModeSingle = 0,
    TraceModeCycle = 1,
    TraceModeMonitor = 2
};

// The drive channel code of a channel source code: 1..5 -> 25..29, 6..8 -> 31..33, 9..32 -> 1..24,
// 33 -> 30, every other code unchanged.
int TraceChannelCode(int sourceCode);

// Sources 5, 47 and 51 are 32-bit values; the drive records their high word in the channel whose
// drive code is one more.
bool IsWideSource(int sourceCode);
// Channels 1..8 whose source is wide, leaving out channel exclude + 1 (exclude 0..7; any other
// value counts all eight).
int CountWideChannels(const std::array<int, 8>& sources, int exclude = -1);
// 0 for source 0, 2 for the digital inputs and outputs 9..28, 1 for every other source.
int SourceKind(int sourceCode);

// The drive channel codes the program writes to 0x150A..0x150D, with the high words of wide
// sources placed: in four-channel mode channel 4 carries the high word of a wide channel 1..3 (the
// last rule that applies wins: 29, then 51, then 47); in eight-channel mode the first wide channel
// puts its high word on channel 8, the second on 7, the third on 6.
struct TraceChannelPlacement {
    std::array<int, 8> driveCodes{};
    std::array<int, 3> highCodes{}; // the high-word codes placed on channels 8, 7, 6 (0 when none)
};
TraceChannelPlacement PlaceTraceChannels(const std::array<int, 8>& sources, bool eightChannels);

// The channels (0..7) whose high word comes from word 8, 7 and 6 of an eight-channel record: the
// first, second and third wide channel in channel order; -1 when none. Four-channel mode: none.
std::array<int, 3> WideSlots(const std::array<int, 8>& sources, bool eightChannels);
