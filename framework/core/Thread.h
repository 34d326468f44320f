#pragma once
// Worker thread object with an exit code that reads STILL_ACTIVE while the thread runs. A thread
// runs either a given function (its result is the exit code) or, in a derived class, InitInstance
// then Run when InitInstance succeeds, else ExitInstance, as the program's thread classes expect.
#include "framework/core/Sync.h"

#include <atomic>
#include <functional>
#include <thread>

enum : DWORD { STILL_ACTIVE = 259 };

class CWinThread : public CSyncObject {
public:
    CWinThread() = default;
    explicit CWinThread(std::function<unsigned()> body) : body_(std::move(body)) {}
    // Waits for the thread to end: an object is only deleted once its thread has left, and every
    // caller in the program waits for the exit code first.
    ~CWinThread() override;
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // Starts the thread; false when it is already started or cannot be started.
    bool CreateThread();

    virtual BOOL InitInstance() { return FALSE; }
    virtual int Run() { return ExitInstance(); }
    virtual int ExitInstance() { return static_cast<int>(exitCode_.load()); }

    // STILL_ACTIVE while the thread runs, else its exit code.
    bool GetExitCode(DWORD* code) const;
    DWORD ExitCode() const { return running_ ? STILL_ACTIVE : exitCode_.load(); }
    bool IsRunning() const { return running_; }
    bool IsStarted() const { return started_; }

    // Signalled once the thread has ended.
    DWORD Wait(DWORD timeoutMs) override { return finished_.Wait(timeoutMs); }
    bool Unlock() override { return true; }

    // The program posts WM_QUIT to threads that run no message loop; kept for readability, no effect.
    bool PostThreadMessage(UINT, std::uintptr_t = 0, std::intptr_t = 0) { return true; }

    // Whether the object deletes itself when its thread ends (default: no, so the exit code stays
    // readable until the owner deletes it).
    bool m_bAutoDelete = false;

private:
    void Main();

    std::function<unsigned()> body_;
    std::thread thread_;
    std::atomic<bool> started_{false};
    std::atomic<bool> running_{false};
    std::atomic<DWORD> exitCode_{0};
    CEvent finished_{false, true};
};

// Reads the thread's exit code (STILL_ACTIVE while it runs); false for a null thread.
inline bool GetExitCodeThread(const CWinThread* thread, DWORD* code) {
    return thread && thread->GetExitCode(code);
}

// Starts a thread that runs the function; the object is the caller's to delete.
CWinThread* AfxBeginThread(std::function<unsigned()> body);

// Creates a thread object of class T, lets prepare fill its members before the thread starts (so it
// never sees them half-set), and starts it. Returns nullptr when the thread cannot be started.
template <typename T, typename Prepare = void (*)(T&)> T* AfxBeginThread(Prepare prepare = [](T&) {}) {
    T* thread = new T;
    prepare(*thread);
    if (!thread->CreateThread()) {
        delete thread;
        return nullptr;
    }
    return thread;
}
