// The reader that makes a monitor step's reads away from the window's thread while a block reader
// holds the port.
#include "link/services/BackgroundReader.h"
#include "link/SerialExt.h"
#include "tests/support/TestTime.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

bool Await(const std::function<bool()>& condition) {
    const auto end = Clock::now() + std::chrono::milliseconds(ScaledMs(5000));
    while (!condition() && Clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return condition();
}

TEST(BackgroundReader, ReadsOnceThePortIsFreeAndShowsOnlyOnTheOwnersThread) {
    std::atomic<int> ready{0};
    CBackgroundReader reader([&] { ++ready; });
    ASSERT_TRUE(PortObject.PortMutex.Lock(0)); // a block read under way
    std::atomic<bool> ran{false};
    std::atomic<bool> portHeld{false};
    std::thread::id shownOn;
    ASSERT_TRUE(reader.Start([&]() -> CBackgroundReader::Show {
        ran = true;
        portHeld = PortObject.PortMutex.IsOwnedByCaller();
        return [&] { shownOn = std::this_thread::get_id(); };
    }));
    EXPECT_TRUE(reader.Busy());
    EXPECT_FALSE(reader.Start([] { return CBackgroundReader::Show([] {}); })) << "one job at a time";
    ASSERT_TRUE(Await([] { return PortObject.PortMutex.HasWaiters(); }));
    EXPECT_FALSE(ran) << "the job waits for the port";
    PortObject.PortMutex.Unlock();

    ASSERT_TRUE(Await([&] { return ready.load() == 1; }));
    EXPECT_TRUE(ran);
    EXPECT_TRUE(portHeld) << "the job's reads go out together";
    EXPECT_FALSE(PortObject.PortMutex.HasWaiters());
    EXPECT_TRUE(reader.Busy()) << "until its result is taken";
    const CBackgroundReader::Show show = reader.Take();
    ASSERT_TRUE(show);
    show();
    EXPECT_EQ(shownOn, std::this_thread::get_id());
    EXPECT_FALSE(reader.Busy());
    EXPECT_FALSE(reader.Take());
}

TEST(BackgroundReader, StopEndsAJobStillWaitingForThePort) {
    std::atomic<int> ready{0};
    CBackgroundReader reader([&] { ++ready; });
    ASSERT_TRUE(PortObject.PortMutex.Lock(0));
    std::atomic<bool> ran{false};
    ASSERT_TRUE(reader.Start([&]() -> CBackgroundReader::Show {
        ran = true;
        return [] {};
    }));
    ASSERT_TRUE(Await([] { return PortObject.PortMutex.HasWaiters(); }));
    const auto start = Clock::now();
    reader.Stop();
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(ScaledMs(1000))) << "no wait for the block";
    PortObject.PortMutex.Unlock();
    EXPECT_FALSE(ran);
    EXPECT_EQ(ready.load(), 0);
    EXPECT_FALSE(reader.Busy());
    EXPECT_FALSE(reader.Start([] { return CBackgroundReader::Show([] {}); })) << "stopped for good";
}

} // namespace
