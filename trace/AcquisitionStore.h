#pragma once
// The samples the acquisition threads hand to the graph windows, and the signals between them.
// Shared by the trace window and the box viewer (only one of them acquires at a time).
//
// Every change of ChannelDeques and PendingSampleCount happens under the view's LinkMutex, held
// only for one short hand-over; the windows take the same mutex while they move samples out.
#include "trace/TraceRecords.h"

#include "framework/core/Sync.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <vector>

constexpr int ChannelDequeCount = 19;
constexpr int TraceSampleBufferLength = 327690;
constexpr int MonitorPointCount = 102400;

// Slots of ChannelDeques: 0 the sample numbers; channels 1..8 at 1, 2, 5..10 (3 and 4 unused);
// mirror copies of channels 1..8 for numbered recordings at 11..18.
constexpr int SampleIndexSlot = 0;
constexpr std::array<int, 8> ChannelSlots = {1, 2, 5, 6, 7, 8, 9, 10};
constexpr int MirrorSlot(int channel) {
    return 11 + channel;
}

extern std::array<std::deque<int32_t>, ChannelDequeCount> ChannelDeques;
// Eight arrays of TraceSampleBufferLength samples: the shown record as the files and scales read it.
extern std::array<std::vector<int32_t>, 8> TraceSampleBuffers;
// Sample sets handed over and not yet taken by the window.
extern std::atomic<int> PendingSampleCount;
// Records that failed their checksum since START (shown as "CheckNG:%d").
extern std::atomic<int> ChecksumErrorCount;
// 0 Single, 1 Cycle, 2 Monitor, -1 before a set-up was applied.
extern int TraceMode;
// Samples per channel of one record.
extern int TracePointCount;
// Per channel: negate its samples.
extern std::array<uint8_t, 8> ChannelReverse;

// Asks the running acquisition thread to end (auto-reset: one IsStopRequested consumes it).
extern CEvent StopEvent;
// True once per signal of StopEvent; does not wait.
bool IsStopRequested();

// Empties the queues of the given slots and gives their storage back.
void ClearChannelDeques(std::initializer_list<int> slotIndexes);
// Sizes the sample buffers (once) and zeroes their first count entries.
void ClearTraceSampleBuffers(int count);

// Samples a thread has read and not yet handed over: staged without the lock, then moved into
// ChannelDeques in one short hold.
struct StagedSamples {
    struct Row {
        int32_t index = 0;
        bool hasIndex = false;
        SampleSet values{};
        int channels = 8; // how many of values go to the channel queues
    };
    std::vector<Row> rows;
    int pendingIncrement = 0;
    void Clear() {
        rows.clear();
        pendingIncrement = 0;
    }
};

struct HandOverRules {
    int pointCount = 0;              // the index queue (and, when bounded, each channel queue) stops here
    bool boundChannelQueues = false; // Cycle and Monitor: a full channel queue drops further samples
    bool mirror = false;             // numbered recordings: also append to the mirror queues
    std::array<int, 8> channelSlots = ChannelSlots; // not "slots": a Qt keyword where Qt is included
};

// Takes count values off the front of each mirror queue (channels 1..8 of a numbered recording),
// completed with zeros where a queue runs short. The caller holds LinkMutex.
std::array<std::vector<int32_t>, 8> TakeMirrorSamples(int count);

// Moves staged rows into ChannelDeques and adds their pending count. The caller holds LinkMutex.
void AppendStaged(const StagedSamples& staged, const HandOverRules& rules);
