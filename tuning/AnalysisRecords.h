#pragma once
// The recorded words of an analysis measurement as the drive returns them: eight "R5" block reads
// of 64 records, each record "%" + five words of four hex digits + a two-digit checksum. Words 2..5
// of record r of block n are registers (b - 0x40) + 0x40 g + r, b = 0x1040 + 256 n, so the eight
// blocks bring 0x1000..0x17FF in order: 1024 torque words, then 1024 speed words, each signed.
// Also the text dump of the samples ("111.dat").
#include "tuning/FrequencyResponse.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

constexpr int AnalysisBlockCount = 8;
constexpr int AnalysisRecordsPerBlock = 64;
constexpr int AnalysisRecordLength = 23;
constexpr int AnalysisRequestLength = 24;
constexpr int AnalysisReplyLength = AnalysisRecordsPerBlock * AnalysisRecordLength; // 1472
constexpr int AnalysisWordCount = 2 * AnalysisPoints;
constexpr const char* AnalysisDataFileName = "111.dat";

using AnalysisWords = std::array<int, AnalysisWordCount>;

// The five addresses of block n (0..7): 0x5000 + 0x40 (n mod 4), b - 0x40, b, b + 0x40, b + 0x80.
std::array<uint16_t, 5> AnalysisBlockAddresses(int block);
// The 24-character request of block n.
std::string AnalysisBlockRequest(int block);

// The progress line shown after a record: "%d/1024--->(%04XH)" with the running word count and the
// record's first data word (a negative word shows as eight digits, as it always has).
std::string AnalysisProgressLine(int wordsRead, int firstWord);

// Decodes one reply of block n into `words`. Each record must carry "%", hex digits and its own
// checksum; the words of records before a bad one are kept. After each good record `onRecord` is
// told the running count of words read (4 per record, counting the blocks before this one) and the
// record's first word. Returns -1 when every record was good, else the number of the bad record.
int DecodeAnalysisBlock(const char* reply, int block, AnalysisWords& words,
                        const std::function<void(int wordsRead, int firstWord)>& onRecord);

// Torque samples 1..1024 from words 0..1023, speed samples from words 1024..2047.
void SplitAnalysisWords(const AnalysisWords& words, AnalysisSeries& torque, AnalysisSeries& speed);

// The text of "111.dat": two lines ";" and one line per sample "\t.DATA.   '%f   ;'%f   ;%04X   ",
// CR LF line ends.
std::string AnalysisDataFileText(const AnalysisSeries& torque, const AnalysisSeries& speed);
