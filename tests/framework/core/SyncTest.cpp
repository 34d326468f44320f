#include "framework/core/Thread.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

TEST(Mutex, IsRecursiveAndRefusesAReleaseByANonOwner) {
    CMutex mutex;
    ASSERT_TRUE(mutex.Lock());
    ASSERT_TRUE(mutex.Lock(0));
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_TRUE(mutex.IsOwnedByCurrentThread());

    DWORD otherWait = 0;
    bool otherRelease = true;
    std::thread other([&] {
        otherRelease = mutex.Unlock(); // harmless: does not free it
        otherWait = mutex.Wait(20);
    });
    other.join();
    EXPECT_FALSE(otherRelease);
    EXPECT_EQ(otherWait, WAIT_TIMEOUT);

    EXPECT_TRUE(mutex.Unlock());
    EXPECT_FALSE(mutex.Unlock()); // nothing left to release
    std::thread taker([&] {
        otherWait = mutex.Wait(1000);
        mutex.Unlock();
    });
    taker.join();
    EXPECT_EQ(otherWait, WAIT_OBJECT_0);
}

TEST(Mutex, PassesToTheWaiterWhenTheOwnerThreadEnds) {
    CMutex mutex;
    CEvent owned;
    CEvent finish;
    std::thread owner([&] {
        mutex.Lock();
        mutex.Lock(); // held twice, released never
        owned.SetEvent();
        finish.Wait(INFINITE);
    });
    ASSERT_EQ(owned.Wait(5000), WAIT_OBJECT_0);
    EXPECT_EQ(mutex.Wait(10), WAIT_TIMEOUT);
    std::atomic<DWORD> waited{0};
    std::thread waiter([&] { waited = mutex.Wait(5000); });
    finish.SetEvent();
    owner.join();
    waiter.join();
    EXPECT_EQ(waited.load(), WAIT_ABANDONED);
    // The waiter thread has ended holding it in turn; the next taker learns the same.
    EXPECT_EQ(mutex.Wait(1000), WAIT_ABANDONED);
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_EQ(mutex.Wait(0), WAIT_OBJECT_0);
    mutex.Unlock();
}

TEST(Event, AutoResetIsConsumedByOneWait) {
    CEvent event;
    event.SetEvent();
    event.SetEvent(); // signals do not add up
    std::atomic<int> woken{0};
    auto wait = [&] {
        if (event.Wait(200) == WAIT_OBJECT_0)
            ++woken;
    };
    std::thread a(wait), b(wait);
    a.join();
    b.join();
    EXPECT_EQ(woken.load(), 1);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
}

TEST(Event, ManualResetStaysSetUntilReset) {
    CEvent event(false, true);
    EXPECT_EQ(event.Wait(0), WAIT_TIMEOUT);
    event.SetEvent();
    EXPECT_EQ(event.Wait(0), WAIT_OBJECT_0);
    EXPECT_EQ(event.Wait(0), WAIT_OBJECT_0);
    event.ResetEvent();
    EXPECT_EQ(event.Wait(0), WAIT_TIMEOUT);
}

TEST(Thread, ReportsStillActiveThenItsExitCode) {
    CEvent release;
    std::unique_ptr<CWinThread> thread(AfxBeginThread([&]() -> unsigned {
        release.Wait(INFINITE);
        return 42;
    }));
    ASSERT_TRUE(thread);
    DWORD code = 0;
    EXPECT_TRUE(thread->GetExitCode(&code));
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_FALSE(thread->CreateThread()); // started once only
    release.SetEvent();
    EXPECT_EQ(WaitForSingleObject(thread.get(), 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(GetExitCodeThread(thread.get(), &code));
    EXPECT_EQ(code, 42u);
    EXPECT_FALSE(GetExitCodeThread(nullptr, &code));
}

namespace {
// The shape of the program's worker threads: the work in InitInstance, which never returns TRUE.
class WorkerThread : public CWinThread {
public:
    int input = 0;
    BOOL InitInstance() override {
        seen = input;
        return FALSE;
    }
    int ExitInstance() override { return seen + 1; }
    int seen = -1;
};
} // namespace

TEST(Thread, DerivedThreadRunsInitInstanceWithMembersSetBeforeTheStart) {
    std::unique_ptr<WorkerThread> thread(AfxBeginThread<WorkerThread>([](WorkerThread& t) { t.input = 7; }));
    ASSERT_TRUE(thread);
    ASSERT_EQ(thread->Wait(5000), WAIT_OBJECT_0);
    EXPECT_EQ(thread->ExitCode(), 8u);
    std::unique_ptr<WorkerThread> plain(AfxBeginThread<WorkerThread>());
    ASSERT_EQ(plain->Wait(5000), WAIT_OBJECT_0);
    EXPECT_EQ(plain->ExitCode(), 1u);
}

TEST(Clock, PerformanceCounterIsMonotonic) {
    std::int64_t before = PerformanceCounter();
    Sleep(2);
    std::int64_t elapsed = PerformanceCounter() - before;
    EXPECT_GE(elapsed, PerformanceFrequency() * 2 / 1000);
}
