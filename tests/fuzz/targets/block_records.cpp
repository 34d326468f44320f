// The block reads of the trace and box records: the link's judgement of a reply's records and the
// decoders of the words. A block judged good is exactly the records its words make again; every
// decoder takes any words, reversed or not.
//
// Input: one byte of set-up (bit 0: nine or five addresses, bit 1: eight or four channels), eight
// bytes of channel sources, one byte of reverse flags, then the reply text.
#include "tests/fuzz/FuzzSupport.h"

#include "framework/core/Format.h"
#include "link/InternalCode.h"
#include "trace/TraceRecords.h"

#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kSetupBytes = 10;

std::string RecordText(const RecordWords& words, int addresses) {
    std::string text = "%";
    for (int w = 0; w < addresses; ++w)
        text += Format("%04X", static_cast<unsigned>(words[static_cast<std::size_t>(w)]));
    text.resize(text.size() + 2);
    CInternalCode::AppendChecksum(text.data(), static_cast<int>(text.size()) - 2);
    return text;
}

void DecodeEveryWay(const RecordWords& words, const std::uint8_t* setupBytes) {
    std::array<int, 8> sources{};
    std::array<bool, 8> reverse{};
    for (std::size_t k = 0; k < 8; ++k) {
        sources[k] = setupBytes[1 + k] % 58;
        reverse[k] = (setupBytes[9] >> k) & 1;
    }
    const bool eight = setupBytes[0] & 2;
    const TraceChannelSetup setup = MakeTraceChannelSetup(eight, sources, reverse);
    SampleSet sets[2];
    const int count = DecodeHalfRecord(words, setup, sets);
    FuzzCheck(count == (eight ? 1 : 2), "a half record gives another number of sets");
    DecodeSegmentRecord(words, setup);
    DecodeReReadRecord(words, setup);
    // Box types 0..47 and their reverse flags from the same bytes.
    const std::array<int, 4> types = {sources[0] % 48, sources[1] % 48, sources[2] % 48, sources[3] % 48};
    const std::array<bool, 4> boxReverse = {reverse[4], reverse[5], reverse[6], reverse[7]};
    DecodeBoxRecord(words, types, boxReverse);
    BoxBlockAddresses(types, setupBytes[9] % BoxRecordBlocks);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kSetupBytes)
        return 0;
    const int addresses = (data[0] & 1) ? 9 : 5;
    const int expected = BlockRecords * RecordLength(addresses);
    // The reply as the port leaves it: what came, the rest zeroed.
    std::vector<char> reply(static_cast<std::size_t>(expected), '\0');
    std::memcpy(reply.data(), data + kSetupBytes, std::min(size - kSetupBytes, reply.size()));
    std::string request =
        "R" + std::to_string(addresses) + std::string(4 * static_cast<std::size_t>(addresses), '0');
    request.resize(request.size() + 2);
    CInternalCode::AppendChecksum(request.data(), static_cast<int>(request.size()) - 2);

    const BlockVerdict verdict = JudgeBlockResult(CInternalCode::JudgeRecordBlock(
        request.data(), static_cast<int>(request.size()), reply.data(), expected));
    FuzzCheck(!verdict.failed && verdict.badRecords >= 0 && verdict.badRecords <= BlockRecords,
              "a judged block has a count of bad records beyond its records");
    const std::vector<RecordWords> records = ParseBlock(reply.data(), addresses, verdict);
    FuzzCheck(records.size() == static_cast<std::size_t>(BlockRecords), "a block of another size");
    if (verdict.badRecords == 0) {
        std::string again;
        for (const RecordWords& words : records)
            again += RecordText(words, addresses);
        FuzzCheck(again == std::string(reply.data(), reply.size()),
                  "a block judged good is not what its words say");
    }
    for (const RecordWords& words : records)
        DecodeEveryWay(words, data);

    // The decoders on words straight from the input, so every pattern is reached.
    RecordWords words{};
    for (std::size_t w = 0; w < words.size() && kSetupBytes + 2 * w + 1 < size; ++w)
        words[w] = static_cast<uint16_t>(data[kSetupBytes + 2 * w] | data[kSetupBytes + 2 * w + 1] << 8);
    DecodeEveryWay(words, data);
    return 0;
}
