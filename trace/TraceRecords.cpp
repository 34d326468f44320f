#include "trace/TraceRecords.h"

#include "catalogue/RegisterMap.h"
#include "framework/core/Format.h"

#include <cstdint>

namespace {

int32_t Converted(int source, uint16_t word) {
    return ConvertRawParameterValue('R', source, static_cast<int16_t>(word), 0);
}

int32_t Composed(uint16_t high, uint16_t low) {
    return static_cast<int32_t>(static_cast<uint32_t>(high) << 16 | low);
}

// The lowest 32-bit value has no opposite: it reverses to the highest.
int32_t Reversed(int32_t value) {
    return value == INT32_MIN ? INT32_MAX : -value;
}

int32_t Signed(uint16_t word) {
    return static_cast<int16_t>(word);
}

void ApplyReverse(SampleSet& set, const std::array<bool, 8>& reverse, int channels) {
    for (int channel = 0; channel < channels; ++channel)
        if (reverse[channel])
            set[channel] = Reversed(set[channel]);
}

// Eight channels from words 1..8, the wide channels composed with the high word of their slot.
SampleSet DecodeEight(const RecordWords& words, const TraceChannelSetup& setup) {
    SampleSet set{};
    for (int channel = 0; channel < 8; ++channel) {
        const uint16_t word = words[channel + 1];
        const int source = setup.sources[channel];
        if (channel == 7 || !IsWideSource(source)) {
            set[channel] = Converted(source, word);
            continue;
        }
        set[channel] = Signed(word);
        for (int slot = 0; slot < 3; ++slot)
            if (setup.wideSlots[slot] == channel)
                set[channel] = Composed(words[8 - slot], word);
    }
    ApplyReverse(set, setup.reverse, 8);
    return set;
}

} // namespace

uint16_t HexWord(const char* text) {
    unsigned value = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = ParseHexChar(text[i]);
        value = value * 16 + static_cast<unsigned>(digit < 0 ? 0 : digit);
    }
    return static_cast<uint16_t>(value);
}

BlockVerdict JudgeBlockResult(int result) {
    BlockVerdict verdict;
    if (result < 2)
        verdict.failed = true;
    else
        verdict.badRecords = result / 16;
    return verdict;
}

std::vector<RecordWords> ParseBlock(const char* reply, int addresses, const BlockVerdict& verdict) {
    std::vector<RecordWords> records(BlockRecords, RecordWords{});
    if (verdict.failed || verdict.badRecords > 0)
        return records;
    const int length = RecordLength(addresses);
    for (int r = 0; r < BlockRecords; ++r)
        for (int w = 0; w < addresses && w < 9; ++w)
            records[r][w] = HexWord(reply + r * length + 1 + 4 * w);
    return records;
}

TraceChannelSetup MakeTraceChannelSetup(bool eightChannels, const std::array<int, 8>& sources,
                                        const std::array<bool, 8>& reverse) {
    TraceChannelSetup setup;
    setup.eightChannels = eightChannels;
    setup.sources = sources;
    setup.reverse = reverse;
    setup.wideSlots = WideSlots(sources, eightChannels);
    return setup;
}

int DecodeHalfRecord(const RecordWords& words, const TraceChannelSetup& setup, SampleSet (&sets)[2]) {
    if (setup.eightChannels) {
        sets[0] = DecodeEight(words, setup);
        return 1;
    }
    // Two sets of channels 1..4; a wide channel 1..3 takes its high word from the set's fourth word.
    for (int half = 0; half < 2; ++half) {
        SampleSet& set = sets[half];
        set = SampleSet{};
        const int first = 1 + 4 * half;
        for (int channel = 0; channel < 4; ++channel) {
            const uint16_t word = words[first + channel];
            const int source = setup.sources[channel];
            if (!IsWideSource(source))
                set[channel] = Converted(source, word);
            else if (channel < 3)
                set[channel] = Composed(words[first + 3], word);
            else
                set[channel] = half == 0 ? Signed(word) : Converted(source, word);
        }
        ApplyReverse(set, setup.reverse, 4);
    }
    return 2;
}

SampleSet DecodeSegmentRecord(const RecordWords& words, const TraceChannelSetup& setup) {
    if (setup.eightChannels)
        return DecodeEight(words, setup);
    SampleSet set{};
    for (int channel = 0; channel < 8; ++channel) {
        const uint16_t word = words[channel + 1];
        const int source = setup.sources[channel];
        if (channel == 7 || !IsWideSource(source))
            set[channel] = Converted(source, word);
        else if (channel < 3)
            set[channel] = Composed(words[4], word);
        else if (channel == 3)
            set[channel] = Composed(words[3], words[4]);
        else
            set[channel] = Signed(word);
    }
    ApplyReverse(set, setup.reverse, 8);
    return set;
}

SampleSet DecodeReReadRecord(const RecordWords& words, const TraceChannelSetup& setup) {
    SampleSet set{};
    for (int channel = 0; channel < 4; ++channel)
        set[channel] = Converted(setup.sources[channel], words[channel + 1]);
    ApplyReverse(set, setup.reverse, 4);
    return set;
}

std::array<uint16_t, 9> HalfBlockAddresses(int half, int block) {
    std::array<uint16_t, 9> addresses{};
    addresses[0] = static_cast<uint16_t>(TraceIndexArea + BlockRecords * block);
    for (int channel = 0; channel < 8; ++channel)
        addresses[channel + 1] =
            static_cast<uint16_t>(TraceChannelAreas[channel] + TraceHalfWords * half + BlockRecords * block);
    return addresses;
}

std::array<uint16_t, 9> SegmentBlockAddresses(int segment, int block) {
    std::array<uint16_t, 9> addresses{};
    const int offset = TraceSegmentWords * segment + BlockRecords * block;
    // The sample numbers of segments 4..7 share the index words of segments 0..3.
    addresses[0] = static_cast<uint16_t>((segment < 4 ? TraceIndexArea : 0x4E00) + offset);
    for (int channel = 0; channel < 8; ++channel)
        addresses[channel + 1] = static_cast<uint16_t>(TraceChannelAreas[channel] + offset);
    return addresses;
}

std::array<uint16_t, 5> ReReadBlockAddresses(int pass, int block) {
    static constexpr std::array<uint16_t, 4> lower = {0x1000, 0x1400, 0x4000, 0x4400};
    std::array<uint16_t, 5> addresses{};
    addresses[0] = static_cast<uint16_t>(TraceIndexArea + BlockRecords * block);
    for (int i = 0; i < 4; ++i)
        addresses[i + 1] = static_cast<uint16_t>(lower[i] + TraceHalfWords * pass + BlockRecords * block);
    return addresses;
}

std::optional<int> ReadySegment(int status) {
    if (status >= 1 && status <= TraceSegmentCount)
        return status - 1;
    return std::nullopt;
}

// ---- Box ---------------------------------------------------------------------------------------

uint16_t BoxChannelBaseAddress(int type) {
    if (type >= 13 && type <= 20)
        return 0x6200;
    if (type >= 21 && type <= 46)
        return static_cast<uint16_t>((type + 29) * 512);
    return 0x6000;
}

int BoxExtraType(const std::array<int, 4>& types) {
    int extra = 7;
    for (int type : types)
        if (type == 25 && extra != 44)
            extra = 26;
    for (int type : types)
        if (type == 43)
            extra = 44;
    return extra;
}

std::array<uint16_t, 9> BoxBlockAddresses(const std::array<int, 4>& types, int block) {
    const int first = BlockRecords * block;
    const std::array<int, 8> wordTypes = {types[0], types[1], types[2], types[3], 5, 6, BoxExtraType(types),
                                          8};
    std::array<uint16_t, 9> addresses{};
    addresses[0] = static_cast<uint16_t>(BoxIndexArea + first);
    for (int w = 0; w < 8; ++w)
        addresses[w + 1] = static_cast<uint16_t>(BoxChannelBaseAddress(wordTypes[w]) + first);
    return addresses;
}

BoxSample DecodeBoxRecord(const RecordWords& words, const std::array<int, 4>& types,
                          const std::array<bool, 4>& reverse) {
    BoxSample sample;
    for (int channel = 0; channel < 4; ++channel) {
        const uint16_t word = words[channel + 1];
        const int type = types[channel];
        int32_t value;
        if (type == 25 || type == 43)
            value = Composed(words[7], word);
        else
            // Every channel takes its bit of a DI/DO word as channels 1..3 always did.
            value = ConvertRawParameterValue('B', type, static_cast<int16_t>(word), 0);
        sample.channels[channel] = reverse[channel] ? Reversed(value) : value;
    }
    for (int i = 0; i < 4; ++i)
        sample.extra[i] = Signed(words[5 + i]);
    return sample;
}
