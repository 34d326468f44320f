// The simulated drive with a real drive's timing, taken as other tests take it: one SimulatedDrive,
// the program's port object linked to it.
#include "link/InternalCode.h"
#include "tests/support/SimulatedDrive.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <thread>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

std::optional<int> ReadWord(CInternalCode& link, uint16_t address) {
    char request[16] = {}, reply[16] = {};
    CInternalCode::BuildReadWord(request, address);
    if (link.SendCommand(request, 8, reply, 7) != ReplyRead)
        return std::nullopt;
    return std::stoi(std::string(reply + 1, 4), nullptr, 16);
}

bool WriteWord(CInternalCode& link, uint16_t address, int value) {
    char request[16] = {}, reply[16] = {};
    CInternalCode::BuildWriteWord(request, address, value);
    return link.SendCommand(request, 12, reply, 1) == ReplyWritten;
}

} // namespace

TEST(SimTiming, TraceStatusReadsNotReadyUntilTheArmedPeriodFilledIt) {
    struct Case {
        const char* what;
        int series; // 4 hands Monitor over in segments, 3 in halves
        int mode;
        int interval; // Single: x 100 us per record with eight channels; Monitor: x 1 ms or 10 ms
        Clock::duration fill;
    } const cases[] = {
        {"Monitor, first segment of 128 records", 4, 2, 4, 128 * 4ms},
        {"Monitor, first half of 128 records", 3, 2, 1, 128 * 10ms},
        {"Single, 1,024 records", 4, 0, 4, 1024 * 400us},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimulatedDrive sim({.series = c.series, .realTime = true});
        ASSERT_TRUE(sim.Link());
        CInternalCode link;
        for (auto [address, value] :
             {std::pair{0x1502, c.mode}, {0x150E, 8}, {0x1507, c.interval}, {0x1506, 0}, {0x1504, 0}})
            ASSERT_TRUE(WriteWord(link, static_cast<uint16_t>(address), value));
        const Clock::time_point armed = Clock::now();
        ASSERT_TRUE(WriteWord(link, 0x1505, 1));
        int notReady = 0;
        for (;;) {
            const std::optional<int> status = ReadWord(link, 0x1503);
            const Clock::time_point answered = Clock::now();
            ASSERT_TRUE(status);
            if (*status != 0) {
                EXPECT_EQ(*status, 1);
                EXPECT_GE(answered - armed, c.fill) << "ready before the memory could be full";
                break;
            }
            ++notReady;
            ASSERT_LT(answered - armed, c.fill + 5s) << "never ready";
            std::this_thread::sleep_for(5ms);
        }
        EXPECT_GT(notReady, 0) << "the status read not ready meanwhile";
    }
}

TEST(SimTiming, AnswersTakeTheWireTimeOfTheirBytes) {
    // A 64-record block read: 40 characters out, 2,496 back.
    const char block[] = "R9500010001200140016004000420044004600";
    for (int baud : {115200, 57600}) {
        SCOPED_TRACE(baud);
        SimulatedDrive sim({.wireBaud = baud});
        ASSERT_TRUE(sim.Link());
        CInternalCode link;
        char request[48] = {};
        std::copy(block, block + 38, request);
        CInternalCode::AppendChecksum(request, 38);
        std::string reply(2496, '\0');
        const Clock::time_point start = Clock::now();
        ASSERT_EQ(link.SendCommand(request, 40, reply.data(), 2496), ReplyRead);
        const auto took = Clock::now() - start;
        const auto wire = std::chrono::microseconds(2536LL * 10 * 1000000 / baud);
        EXPECT_GE(took, wire);
        EXPECT_LT(took, 2 * wire + 1s) << "paced by the wire, not by more";
    }
}

TEST(SimTiming, TraceSamplesAtTheIntervalsTimeUnitOfItsModeAndDrive) {
    // Monitor counts the interval in 1 ms on drives above version 54 and on series 6, 8 and 9, in
    // 10 ms on the others; Single and Cycle in 100 us with eight channels, in 50 us with four.
    struct Case {
        const char* what;
        int series;
        std::optional<int> version; // dn-04, when not the series' own
        int mode;
        int channels;
        int interval;
        Clock::duration sample;
    } const cases[] = {
        {"Monitor, version 120, interval 1", 4, {}, 2, 8, 1, 1ms},
        {"Monitor, version 120, interval 10", 4, {}, 2, 8, 10, 10ms},
        {"Monitor, version 52, interval 1", 3, {}, 2, 8, 1, 10ms},
        {"Monitor, version 55, interval 10", 4, 55, 2, 8, 10, 10ms},
        {"Monitor, version 54, interval 1", 4, 54, 2, 8, 1, 10ms},
        {"Monitor, series 8 at version 50, interval 1", 8, 50, 2, 8, 1, 1ms},
        {"Cycle, eight channels, interval 10", 4, {}, 1, 8, 10, 1ms},
        {"Single, four channels, interval 20", 4, {}, 0, 4, 20, 1ms},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimulatedDrive sim({.series = c.series, .realTime = true});
        if (c.version)
            sim.drive.SetRegister(0x0F04, static_cast<uint16_t>(*c.version));
        ASSERT_TRUE(sim.Link());
        CInternalCode link;
        for (auto [address, value] : {std::pair{0x1502, c.mode},
                                      {0x150E, c.channels},
                                      {0x1507, c.interval},
                                      {0x1506, 0},
                                      {0x1504, 0}})
            ASSERT_TRUE(WriteWord(link, static_cast<uint16_t>(address), value));
        const Clock::time_point beforeArm = Clock::now();
        ASSERT_TRUE(WriteWord(link, 0x1505, 1));
        const Clock::time_point armed = Clock::now();
        std::this_thread::sleep_for(300ms);
        const Clock::time_point beforeRead = Clock::now();
        ASSERT_TRUE(ReadWord(link, 0x1503)); // the drive catches up with the clock
        const Clock::time_point read = Clock::now();
        // The drive's clock is the wall clock: the records lie between the shortest and the longest
        // time that can have passed between the arming and the read. Four channels put two samples
        // in a record.
        const auto samples = static_cast<int64_t>(sim.machine.TraceRecords()) * (c.channels == 8 ? 1 : 2);
        const int64_t fewest = (beforeRead - armed) / c.sample - 2;
        const int64_t most = (read - beforeArm) / c.sample + 2;
        EXPECT_GE(samples, fewest);
        EXPECT_LE(samples, most);
    }
}
