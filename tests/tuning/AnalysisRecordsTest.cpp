// The "R5" requests and replies of the analysis data and the "111.dat" dump.
#include "tuning/AnalysisRecords.h"
#include "tuning/AnalysisRun.h"

#include "framework/core/Format.h"
#include "sim/SimProtocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A reply of block n whose data word g of record r is word(n, g, r).
template <class Word> std::string BlockReply(int block, Word word) {
    std::string reply;
    for (int r = 0; r < AnalysisRecordsPerBlock; ++r) {
        std::string record = Format("%%%04X", 0x100 + r);
        for (int g = 0; g < 4; ++g)
            record += Format("%04X", word(block, g, r) & 0xFFFF);
        reply += sim::WithMakerChecksum(record);
    }
    return reply;
}

TEST(AnalysisRecords, RequestsNameTheIndexAndFourDataAreasOfEachBlock) {
    const std::vector<std::string> expected = {"R55000100010401080"
                                               "10C0",
                                               "R55040110011401180"
                                               "11C0",
                                               "R55080120012401280"
                                               "12C0",
                                               "R550C0130013401380"
                                               "13C0",
                                               "R55000140014401480"
                                               "14C0",
                                               "R55040150015401580"
                                               "15C0",
                                               "R55080160016401680"
                                               "16C0",
                                               "R550C0170017401780"
                                               "17C0"};
    for (int n = 0; n < AnalysisBlockCount; ++n) {
        const std::string request = AnalysisBlockRequest(n);
        ASSERT_EQ(request.size(), 24u);
        EXPECT_EQ(request, sim::WithMakerChecksum(expected[n])) << n;
    }
}

TEST(AnalysisRecords, WordsLandInRegisterOrderSignedWithTheProgressLines) {
    AnalysisWords words{};
    std::vector<std::string> lines;
    auto progress = [&lines](int count, int first) { lines.push_back(AnalysisProgressLine(count, first)); };
    // The value of each word is its register's offset, except two records that carry the extremes.
    auto word = [](int n, int g, int r) {
        if (n == 2 && r == 0)
            return g == 0 ? 0x8000 : 0x7FFF;
        return 256 * n + 64 * g + r;
    };
    for (int n = 0; n < AnalysisBlockCount; ++n) {
        const std::string reply = BlockReply(n, word);
        ASSERT_EQ(reply.size(), size_t(AnalysisReplyLength));
        ASSERT_EQ(DecodeAnalysisBlock(reply.data(), n, words, progress), -1) << n;
    }
    EXPECT_EQ(words[512], -32768);
    EXPECT_EQ(words[512 + 64], 32767);
    for (int i = 0; i < AnalysisWordCount; ++i) {
        if (i != 512 && i != 512 + 64 && i != 512 + 128 && i != 512 + 192) {
            ASSERT_EQ(words[i], i) << i;
        }
    }
    ASSERT_EQ(lines.size(), 512u);
    EXPECT_EQ(lines[0], "4/1024--->(0000H)");
    EXPECT_EQ(lines[128], "516/1024--->(FFFF8000H)");
    EXPECT_EQ(lines.back().rfind("2048/1024", 0), 0u) << lines.back();

    AnalysisSeries torque{}, speed{};
    SplitAnalysisWords(words, torque, speed);
    EXPECT_EQ(torque[1], 0);
    EXPECT_EQ(torque[1024], 1023);
    EXPECT_EQ(speed[1], 1024);
    EXPECT_EQ(speed[1024], 2047);
}

TEST(AnalysisRecords, ABadRecordStopsTheBlockAndNamesItself) {
    const std::string good = BlockReply(1, [](int, int g, int r) { return g * 100 + r; });
    struct Case {
        const char* name;
        int position; // character to damage in record 5
        char replacement;
        bool resummed = false; // the checksum is made again over the damaged record
    };
    for (const Case& c : {Case{"checksum", 21, 'Z'}, Case{"hex digit", 7, 'G'}, Case{"lead", 0, '!'},
                          Case{"a data digit that still sums", -1, 0},
                          Case{"a sample-number digit that is no hex digit", 2, 'G', true},
                          Case{"a data digit that is no hex digit", 9, '/', true}}) {
        std::string reply = good;
        char* record = reply.data() + 5 * AnalysisRecordLength;
        if (c.position >= 0) {
            record[c.position] = c.replacement;
            if (c.resummed) {
                const std::string resummed =
                    sim::WithMakerChecksum(std::string(record, AnalysisRecordLength - 2));
                std::copy(resummed.begin(), resummed.end(), record);
            }
        } else {
            // Two digits swapped keep the byte sum: only the checksum cannot catch it, so the
            // record decodes (and says another value): this is what a checksum can do.
            std::swap(record[6], record[7]);
        }
        AnalysisWords words{};
        int records = 0;
        const int bad = DecodeAnalysisBlock(reply.data(), 1, words, [&records](int, int) { ++records; });
        if (c.position < 0) {
            EXPECT_EQ(bad, -1) << c.name;
            continue;
        }
        EXPECT_EQ(bad, 5) << c.name;
        EXPECT_EQ(records, 5) << c.name;
        EXPECT_EQ(words[256 + 4], 4) << c.name;
        EXPECT_EQ(words[256 + 5], 0) << c.name;
    }
}

TEST(AnalysisRecords, DataFileLayout) {
    AnalysisSeries torque{}, speed{};
    torque[1] = -32768;
    speed[1] = 12;
    torque[1024] = 5;
    speed[1024] = -1;
    const std::string text = AnalysisDataFileText(torque, speed);
    const std::string head = ";\r\n;\r\n\t.DATA.   '-32768.000000   ;'12.000000   ;0001   \r\n"
                             "\t.DATA.   '0.000000   ;'0.000000   ;0002   \r\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    const std::string tail = "\t.DATA.   '5.000000   ;'-1.000000   ;0400   \r\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1026);
}

TEST(AnalysisRecords, SampleTimeFromTheSamplingFrequency) {
    EXPECT_FLOAT_EQ(AnalysisSampleTime(10000), 0.0001f);
    EXPECT_FLOAT_EQ(AnalysisSampleTime(20000), 0.00005f);
    EXPECT_FLOAT_EQ(AnalysisSampleTime(std::nullopt), 0.0001f) << "a failed read";
    EXPECT_FLOAT_EQ(AnalysisSampleTime(0), 0.0001f) << "a drive that says 0 divides nothing";
}

TEST(AnalysisRun, CompletionPollPauseFollowsTheTimeStillExpectedAndThenHowLateTheDriveIs) {
    using std::chrono::milliseconds;
    const struct {
        milliseconds elapsed, pause;
    } cases[] = {
        {milliseconds(0), milliseconds(25)},     // a quarter of the 102.4 ms a record takes
        {milliseconds(62), milliseconds(10)},    // ... of what is left of it
        {milliseconds(101), milliseconds(1)},    // at least 1 ms, however little is left
        {milliseconds(103), milliseconds(1)},    // just late
        {milliseconds(303), milliseconds(50)},   // a quarter of how late (200 ms)
        {milliseconds(4000), milliseconds(100)}, // never longer than the cap
    };
    for (const auto& c : cases)
        EXPECT_EQ(CompletionPollPause(c.elapsed), c.pause) << c.elapsed.count() << " ms";
}

} // namespace
