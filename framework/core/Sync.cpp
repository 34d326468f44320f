#include "framework/core/Sync.h"

#include <algorithm>
#include <chrono>
#include <set>
#include <thread>
#include <utility>

// One token per thread that ever takes a mutex. Its destructor runs when the thread ends and hands
// every mutex the thread still holds to the next waiter.
struct ThreadToken {
    ~ThreadToken();
};

namespace {
using Clock = std::chrono::steady_clock;

// Live mutexes, so an ending thread can find the ones it owns. Never destroyed: threads may end
// during static destruction.
struct Registry {
    std::mutex guard;
    std::set<CMutex*> mutexes;
};
Registry& Mutexes() {
    static Registry* registry = new Registry;
    return *registry;
}

const ThreadToken* CurrentToken() {
    thread_local ThreadToken token;
    return &token;
}

// Waits on a condition until pred holds or the time-out passes; returns pred's last value.
template <typename Lock, typename Pred>
bool WaitFor(std::condition_variable& cv, Lock& lock, DWORD timeoutMs, Pred pred) {
    if (timeoutMs == INFINITE) {
        cv.wait(lock, pred);
        return true;
    }
    return cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), pred);
}
} // namespace

ThreadToken::~ThreadToken() {
    Registry& registry = Mutexes();
    std::lock_guard lock(registry.guard);
    for (CMutex* mutex : registry.mutexes)
        mutex->OwnerEnded(this);
}

CMutex::CMutex(bool initiallyOwn) {
    {
        Registry& registry = Mutexes();
        std::lock_guard lock(registry.guard);
        registry.mutexes.insert(this);
    }
    if (initiallyOwn) {
        owner_ = CurrentToken();
        depth_ = 1;
    }
}

CMutex::~CMutex() {
    Registry& registry = Mutexes();
    std::lock_guard lock(registry.guard);
    registry.mutexes.erase(this);
}

DWORD CMutex::Wait(DWORD timeoutMs) {
    const ThreadToken* self = CurrentToken();
    std::unique_lock lock(guard_);
    if (owner_ == self) {
        ++depth_;
        return WAIT_OBJECT_0;
    }
    if (!WaitFor(changed_, lock, timeoutMs, [this] { return owner_ == nullptr; }))
        return WAIT_TIMEOUT;
    owner_ = self;
    depth_ = 1;
    return std::exchange(abandoned_, false) ? WAIT_ABANDONED : WAIT_OBJECT_0;
}

bool CMutex::Unlock() {
    const ThreadToken* self = CurrentToken();
    std::lock_guard lock(guard_);
    if (owner_ != self || depth_ == 0)
        return false;
    if (--depth_ == 0) {
        owner_ = nullptr;
        changed_.notify_one();
    }
    return true;
}

bool CMutex::IsOwnedByCurrentThread() const {
    const ThreadToken* self = CurrentToken();
    std::lock_guard lock(guard_);
    return owner_ == self;
}

void CMutex::OwnerEnded(const ThreadToken* owner) {
    std::lock_guard lock(guard_);
    if (owner_ != owner)
        return;
    owner_ = nullptr;
    depth_ = 0;
    abandoned_ = true;
    changed_.notify_one();
}

CEvent::CEvent(bool initiallySet, bool manualReset) : set_(initiallySet), manual_(manualReset) {}

DWORD CEvent::Wait(DWORD timeoutMs) {
    std::unique_lock lock(guard_);
    if (!WaitFor(changed_, lock, timeoutMs, [this] { return set_; }))
        return WAIT_TIMEOUT;
    if (!manual_)
        set_ = false;
    return WAIT_OBJECT_0;
}

bool CEvent::SetEvent() {
    std::lock_guard lock(guard_);
    set_ = true;
    if (manual_)
        changed_.notify_all();
    else
        changed_.notify_one();
    return true;
}

bool CEvent::ResetEvent() {
    std::lock_guard lock(guard_);
    set_ = false;
    return true;
}

DWORD WaitForSingleObject(CSyncObject& object, DWORD timeoutMs) {
    return object.Wait(timeoutMs);
}

void Sleep(DWORD milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::int64_t PerformanceCounter() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

std::int64_t PerformanceFrequency() {
    return 1'000'000'000;
}

DWORD GetTickCount() {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
    return static_cast<DWORD>(ms);
}
