#pragma once
// Mutex and event with the semantics the program was written against: the mutex is recursive and
// owned by a thread, a release by a thread that does not own it is refused harmlessly, and a mutex
// whose owner thread ends while holding it passes to the next waiter, which learns it was
// abandoned. Events are auto-reset (one wait consumes the signal) unless made manual-reset.
#include "framework/core/Types.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

enum : DWORD {
    WAIT_OBJECT_0 = 0x00000000,
    WAIT_ABANDONED = 0x00000080,
    WAIT_TIMEOUT = 0x00000102,
    WAIT_FAILED = 0xFFFFFFFF,
    INFINITE = 0xFFFFFFFF,
};

// Something a thread can wait for.
class CSyncObject {
public:
    virtual ~CSyncObject() = default;
    // Waits up to timeoutMs (INFINITE: no limit); returns WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_ABANDONED.
    virtual DWORD Wait(DWORD timeoutMs) = 0;
    // True when the wait succeeded (also when a mutex was taken over from an ended owner).
    bool Lock(DWORD timeoutMs = INFINITE) {
        DWORD result = Wait(timeoutMs);
        return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    }
    virtual bool Unlock() = 0;
};

struct ThreadToken;

class CMutex : public CSyncObject {
public:
    explicit CMutex(bool initiallyOwn = false);
    ~CMutex() override;
    CMutex(const CMutex&) = delete;
    CMutex& operator=(const CMutex&) = delete;

    DWORD Wait(DWORD timeoutMs) override;
    // Releases one level of ownership; false (and nothing changes) when the caller is not the owner.
    bool Unlock() override;
    // Whether the calling thread owns the mutex.
    bool IsOwnedByCurrentThread() const;

private:
    friend struct ThreadToken;
    void OwnerEnded(const ThreadToken* owner);

    mutable std::mutex guard_;
    std::condition_variable changed_;
    const ThreadToken* owner_ = nullptr;
    unsigned depth_ = 0;
    bool abandoned_ = false;
};

class CEvent : public CSyncObject {
public:
    explicit CEvent(bool initiallySet = false, bool manualReset = false);
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    DWORD Wait(DWORD timeoutMs) override;
    bool SetEvent();
    bool ResetEvent();
    bool Unlock() override { return true; }
    bool IsManualReset() const { return manual_; }

private:
    std::mutex guard_;
    std::condition_variable changed_;
    bool set_;
    const bool manual_;
};

// Takes the object for the time of a scope.
class CSingleLock {
public:
    explicit CSingleLock(CSyncObject* object, bool lockNow = false) : object_(object) {
        if (lockNow)
            Lock();
    }
    ~CSingleLock() { Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;
    bool Lock(DWORD timeoutMs = INFINITE) {
        if (!locked_)
            locked_ = object_->Lock(timeoutMs);
        return locked_;
    }
    bool Unlock() {
        if (locked_)
            locked_ = !object_->Unlock();
        return !locked_;
    }
    bool IsLocked() const { return locked_; }

private:
    CSyncObject* object_;
    bool locked_ = false;
};

DWORD WaitForSingleObject(CSyncObject& object, DWORD timeoutMs);
inline DWORD WaitForSingleObject(CSyncObject* object, DWORD timeoutMs) {
    return object ? WaitForSingleObject(*object, timeoutMs) : WAIT_FAILED;
}

// Sleeps the calling thread.
void Sleep(DWORD milliseconds);
// Monotonic performance counter and its ticks per second.
std::int64_t PerformanceCounter();
std::int64_t PerformanceFrequency();
// Milliseconds since an arbitrary start, monotonic, wrapping at 2^32.
DWORD GetTickCount();
