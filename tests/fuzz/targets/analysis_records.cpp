// The analysis measurement's block replies. The records before the first bad one are exactly what
// their words make again, their words land where the register order says, nothing of the bad record
// or after it is taken, and the progress is told once per good record.
//
// Input: one byte naming the block (0..7), then the reply text.
#include "tests/fuzz/FuzzSupport.h"

#include "link/InternalCode.h"
#include "tuning/AnalysisRecords.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const int block = data[0] % AnalysisBlockCount;
    std::vector<char> reply(AnalysisReplyLength, '\0');
    std::memcpy(reply.data(), data + 1, std::min(size - 1, reply.size()));

    AnalysisWords words{};
    int told = 0;
    const int bad = DecodeAnalysisBlock(reply.data(), block, words, [&told, block](int wordsRead, int) {
        ++told;
        FuzzCheck(wordsRead == 4 * (AnalysisRecordsPerBlock * block + told), "the running count is off");
    });
    const int good = bad < 0 ? AnalysisRecordsPerBlock : bad;
    FuzzCheck(bad >= -1 && bad < AnalysisRecordsPerBlock && told == good, "progress told for other records");
    for (int r = 0; r < AnalysisRecordsPerBlock; ++r) {
        const char* record = reply.data() + r * AnalysisRecordLength;
        if (r >= good) {
            for (int g = 0; g < 4; ++g)
                FuzzCheck(words[static_cast<std::size_t>(256 * block + 64 * g + r)] == 0,
                          "a word of a bad record or after it was taken");
            continue;
        }
        // The record's own text: "%", five hex words (either case), its checksum; the words as read.
        std::string text(record, AnalysisRecordLength - 2);
        text.resize(AnalysisRecordLength);
        CInternalCode::AppendChecksum(text.data(), AnalysisRecordLength - 2);
        FuzzCheck(record[0] == '%' && text == std::string(record, AnalysisRecordLength),
                  "a record taken without its lead or checksum");
        for (int w = 0; w < 5; ++w) {
            const std::string digits(record + 1 + 4 * w, 4);
            FuzzCheck(std::all_of(digits.begin(), digits.end(),
                                  [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }),
                      "a record taken with a word that is no hex number");
            if (w > 0)
                FuzzCheck((words[static_cast<std::size_t>(256 * block + 64 * (w - 1) + r)] & 0xFFFF) ==
                              std::stoi(digits, nullptr, 16),
                          "a word taken with another value than its digits say");
        }
    }
    return 0;
}
