#pragma once
// The records a simulated drive sent in its block answers, read from its request log: what the
// sampling threads should have taken, for tests that compare every sample with the drive's.
#include "sim/SimDrive.h"
#include "sim/SimProtocol.h"
#include "trace/TraceRecords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tracetest {

// What the drive sent, record by record, as the program should have taken it: a block read again
// counts once, with its last answer; an answer the fault damaged stands as 64 zero records.
struct DriveRecords {
    std::vector<RecordWords> records;
    int damaged = 0;   // answers the fault damaged
    int stayedBad = 0; // blocks whose last answer was damaged
};

inline DriveRecords RecordsTheDriveSent(const std::vector<SimLogEntry>& log) {
    DriveRecords sent;
    for (size_t i = 0; i < log.size(); ++i) {
        const SimLogEntry& entry = log[i];
        if (entry.kind != SimRequestKind::MakerBlockRead)
            continue;
        sent.damaged += entry.faulted ? 1 : 0;
        if (i + 1 < log.size() && log[i + 1].request == entry.request)
            continue; // read again at once: the next answer is the one taken
        const int words = entry.request[1] - '0';
        const size_t length = static_cast<size_t>(4 * words + 3);
        EXPECT_EQ(entry.reply.size(), 64 * length);
        if (entry.faulted)
            ++sent.stayedBad;
        for (size_t r = 0; r < 64; ++r) {
            RecordWords record{};
            for (int w = 0; w < words && !entry.faulted; ++w)
                record[static_cast<size_t>(w)] = static_cast<uint16_t>(
                    sim::ParseHex4(entry.reply, r * length + 1 + 4 * static_cast<size_t>(w)));
            sent.records.push_back(record);
        }
    }
    return sent;
}

} // namespace tracetest
