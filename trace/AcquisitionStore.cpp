#include "trace/AcquisitionStore.h"

#include <algorithm>

std::array<std::deque<int32_t>, ChannelDequeCount> ChannelDeques;
std::array<std::vector<int32_t>, 8> TraceSampleBuffers;
std::atomic<int> PendingSampleCount{0};
std::atomic<int> ChecksumErrorCount{0};
int TraceMode = TraceModeUnset;
int TracePointCount = MonitorPointCount;
std::array<uint8_t, 8> ChannelReverse{};
CEvent StopEvent{false, false};

bool IsStopRequested() {
    return StopEvent.Wait(0) == WAIT_OBJECT_0;
}

void ClearChannelDeques(std::initializer_list<int> slotIndexes) {
    for (int slot : slotIndexes)
        std::deque<int32_t>().swap(ChannelDeques[slot]);
}

void ClearTraceSampleBuffers(int count) {
    for (auto& buffer : TraceSampleBuffers) {
        if (buffer.size() != TraceSampleBufferLength)
            buffer.assign(TraceSampleBufferLength, 0);
        std::fill_n(buffer.begin(), std::clamp(count, 0, TraceSampleBufferLength), 0);
    }
}

void AppendStaged(const StagedSamples& staged, const HandOverRules& rules) {
    const size_t limit = rules.pointCount > 0 ? static_cast<size_t>(rules.pointCount) : 0;
    for (const StagedSamples::Row& row : staged.rows) {
        if (row.hasIndex && ChannelDeques[SampleIndexSlot].size() < limit)
            ChannelDeques[SampleIndexSlot].push_back(row.index);
        for (int channel = 0; channel < row.channels; ++channel) {
            std::deque<int32_t>& queue = ChannelDeques[rules.channelSlots[channel]];
            if (!rules.boundChannelQueues || queue.size() < limit)
                queue.push_back(row.values[channel]);
            if (rules.mirror)
                ChannelDeques[MirrorSlot(channel)].push_back(row.values[channel]);
        }
    }
    PendingSampleCount += staged.pendingIncrement;
}

std::array<std::vector<int32_t>, 8> TakeMirrorSamples(int count) {
    std::array<std::vector<int32_t>, 8> lists;
    const size_t n = static_cast<size_t>(std::max(count, 0));
    for (int channel = 0; channel < 8; ++channel) {
        std::deque<int32_t>& queue = ChannelDeques[MirrorSlot(channel)];
        const size_t taken = std::min(n, queue.size());
        lists[channel].assign(queue.begin(), queue.begin() + static_cast<long>(taken));
        lists[channel].resize(n, 0);
        queue.erase(queue.begin(), queue.begin() + static_cast<long>(taken));
    }
    return lists;
}
