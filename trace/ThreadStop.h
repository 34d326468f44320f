#pragma once
// Ending an acquisition thread of a graph window (trace or box viewer) without waiting forever: the
// window signals the stop event until the thread has left or the bound has run out. A thread that
// did not stop in time is kept, with what it still reads, until it has ended; it is never deleted
// while it runs.
#include "framework/core/Sync.h"
#include "framework/core/Thread.h"

#include <chrono>
#include <memory>

// How long a window waits for its thread to leave after asking it to stop, at least. A thread
// leaves after the block read under way, and on a slow line one block takes seconds (2.6 s at
// 9600 baud, 5.3 s at 4800): every non-zero bound below is stretched to what the port allows one
// block read (StopBoundMs), so a stop is never given up on while its last block is still coming.
constexpr DWORD AcquisitionStopBoundMs = 3000;
// The bound a wait of boundMs gets on the port as it is set now: 0 stays 0 (no wait at all).
DWORD StopBoundMs(DWORD boundMs);

// Sets stopEvent and waits in short slices until the thread has ended (true) or StopBoundMs(boundMs)
// has passed (false). The thread stops after the block under way, the longest it may take.
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
    // True when the thread runs: the stop is pending now, for at most StopBoundMs(boundMs). False
    // when nothing runs (finish at once).
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
