#pragma once
// Ending an acquisition thread of a graph window (trace or box viewer) without waiting forever: the
// window signals the stop event until the thread has left or the bound has run out. A thread that
// did not stop in time is kept, with what it still reads, until it has ended; it is never deleted
// while it runs.
#include "framework/core/Sync.h"
#include "framework/core/Thread.h"

#include <chrono>
#include <memory>

// How long a window waits for its thread to leave after asking it to stop.
constexpr DWORD AcquisitionStopBoundMs = 3000;

// Sets stopEvent and waits in short slices until the thread has ended (true) or boundMs has passed
// (false). The thread stops between two passes, so one pass is the longest it may take.
bool SignalStopUntilEnded(CWinThread& thread, CEvent& stopEvent, DWORD boundMs = AcquisitionStopBoundMs);

// Takes a thread that would not stop: it goes on being signalled and is deleted once it has ended.
// keepAlive holds whatever the thread still reads (its window's shared flags).
void KeepUntilEnded(std::unique_ptr<CWinThread> thread, CEvent& stopEvent, std::shared_ptr<void> keepAlive);
// Deletes the kept threads that have ended; true when none is left.
bool ReapEndedThreads();
// Signals and waits for every kept thread within the bound (program exit); true when none is left.
bool WaitForKeptThreads(DWORD boundMs = AcquisitionStopBoundMs);

// A window's STOP that never blocks its message loop: Begin asks a running thread to leave and marks
// the stop pending; the window's timer asks Due until the thread has left or the bound has run out,
// then finishes its stop path (a thread still running then is kept, see KeepUntilEnded).
class PendingStop {
public:
    // True when the thread runs: the stop is pending now. False when nothing runs (finish at once).
    bool Begin(const CWinThread* thread, CEvent& stopEvent, DWORD boundMs = AcquisitionStopBoundMs);
    // True once the pending stop may finish (it is no longer pending then); otherwise the thread is
    // asked again.
    bool Due(const CWinThread* thread, CEvent& stopEvent);
    bool Pending() const { return pending_; }
    // The close path takes over: it waits for the thread itself.
    void Cancel() { pending_ = false; }

private:
    bool pending_ = false;
    std::chrono::steady_clock::time_point deadline_{};
};
