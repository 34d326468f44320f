#include "tuning/AnalysisRecords.h"

#include "catalogue/RegisterMap.h"
#include "framework/core/Format.h"
#include "link/InternalCode.h"

#include <string_view>

std::array<uint16_t, 5> AnalysisBlockAddresses(int block) {
    const int base = 0x1040 + 256 * block;
    return {static_cast<uint16_t>(0x5000 + 0x40 * (block % 4)), static_cast<uint16_t>(base - 0x40),
            static_cast<uint16_t>(base), static_cast<uint16_t>(base + 0x40),
            static_cast<uint16_t>(base + 0x80)};
}

std::string AnalysisBlockRequest(int block) {
    const std::array<uint16_t, 5> addresses = AnalysisBlockAddresses(block);
    char request[AnalysisRequestLength + 1] = {};
    CInternalCode::BuildReadWords(request, 5, addresses.data());
    return std::string(request, AnalysisRequestLength);
}

std::string AnalysisProgressLine(int wordsRead, int firstWord) {
    return Format("%d/1024--->(%04XH)", wordsRead, static_cast<unsigned>(firstWord));
}

static bool RecordChecksumHolds(const char* record) {
    char text[AnalysisRecordLength + 1] = {};
    std::copy(record, record + AnalysisRecordLength - 2, text);
    CInternalCode::AppendChecksum(text, AnalysisRecordLength - 2);
    return text[AnalysisRecordLength - 2] == record[AnalysisRecordLength - 2] &&
           text[AnalysisRecordLength - 1] == record[AnalysisRecordLength - 1];
}

int DecodeAnalysisBlock(const char* reply, int block, AnalysisWords& words,
                        const std::function<void(int wordsRead, int firstWord)>& onRecord) {
    for (int r = 0; r < AnalysisRecordsPerBlock; ++r) {
        const char* record = reply + r * AnalysisRecordLength;
        // Word 1 (the sample number) is not kept, but a record whose digits are not all hex is no
        // record, whatever its byte sum.
        if (record[0] != '%' || !RecordChecksumHolds(record) ||
            HexWordValue(std::string_view(record + 1, 4)) < 0)
            return r;
        int values[4];
        for (int g = 0; g < 4; ++g) {
            const int value = HexWordValue(std::string_view(record + 5 + 4 * g, 4));
            if (value < 0)
                return r;
            values[g] = static_cast<int16_t>(value);
        }
        for (int g = 0; g < 4; ++g)
            words[256 * block + 64 * g + r] = values[g];
        if (onRecord)
            onRecord(4 * (AnalysisRecordsPerBlock * block + r + 1), values[0]);
    }
    return -1;
}

void SplitAnalysisWords(const AnalysisWords& words, AnalysisSeries& torque, AnalysisSeries& speed) {
    for (int i = 1; i <= AnalysisPoints; ++i) {
        torque[i] = words[i - 1];
        speed[i] = words[AnalysisPoints + i - 1];
    }
}

std::string AnalysisDataFileText(const AnalysisSeries& torque, const AnalysisSeries& speed) {
    std::string text = ";\r\n;\r\n";
    text.reserve(AnalysisPoints * 48);
    for (int i = 1; i <= AnalysisPoints; ++i)
        text += Format("\t.DATA.   '%f   ;'%f   ;%04X   \r\n", torque[i], speed[i], static_cast<unsigned>(i));
    return text;
}
