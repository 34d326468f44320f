#pragma once
// The port's own lock. It behaves like the desktop platform's mutex the callers were written for:
// recursive, owned by the thread that took it, and a release by a thread that does not own it (or
// one release too many) does nothing. Waiters get it in the order they asked. The port library depends on
// nothing else of ours, so it carries this small copy instead of using the platform layer's.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

class CPortMutex {
public:
    CPortMutex() = default;
    CPortMutex(const CPortMutex&) = delete;
    CPortMutex& operator=(const CPortMutex&) = delete;

    // Takes the mutex, waiting at most timeoutMs; true when the calling thread now owns it.
    bool Lock(unsigned timeoutMs);
    // Gives one level back; harmless when the calling thread does not own it.
    void Unlock();
    // True when the calling thread owns it (for checks and tests).
    bool IsOwnedByCaller() const;
    // True while some thread waits for it (for tests).
    bool HasWaiters() const;

private:
    mutable std::mutex guard_;
    std::condition_variable freed_;
    std::thread::id owner_;
    unsigned depth_ = 0;
    std::deque<std::thread::id> waiting_;
};
