#include "trace/ThreadStop.h"

#include "link/InternalCode.h"
#include "link/SerialExt.h"
#include "trace/TraceRegisters.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <utility>
#include <vector>

namespace {
constexpr DWORD kSliceMs = 10;

struct KeptThread {
    std::unique_ptr<CWinThread> thread;
    CEvent* stopEvent;
    std::shared_ptr<void> keepAlive;
};

std::mutex& KeptMutex() {
    static std::mutex mutex;
    return mutex;
}
std::vector<KeptThread>& Kept() {
    static std::vector<KeptThread> kept;
    return kept;
}
// What a thread may still do once its block read is in: hand the block over, end.
constexpr DWORD kAfterBlockMs = 1000;
} // namespace

DWORD StopBoundMs(DWORD boundMs) {
    if (boundMs == 0)
        return 0;
    // The longest block read: nine words a record, after the wait for a quiet line.
    constexpr int kRequest = 40;
    constexpr int kReply = BlockRecords * CInternalCode::kRecordLength;
    const DWORD block = CSerialExt::kQuietLineLimitFactor * PortObject.QuietLineMs() +
                        PortObject.ExchangeTimeoutMs(kRequest, kReply);
    return std::max(boundMs, block + kAfterBlockMs);
}

bool SignalStopUntilEnded(CWinThread& thread, CEvent& stopEvent, DWORD boundMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(StopBoundMs(boundMs));
    while (thread.IsRunning()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        stopEvent.SetEvent();
        thread.Wait(kSliceMs);
    }
    return true;
}

void KeepUntilEnded(std::unique_ptr<CWinThread> thread, CEvent& stopEvent, std::shared_ptr<void> keepAlive) {
    if (!thread)
        return;
    stopEvent.SetEvent();
    std::lock_guard<std::mutex> lock(KeptMutex());
    Kept().push_back({std::move(thread), &stopEvent, std::move(keepAlive)});
}

bool ReapEndedThreads() {
    std::vector<KeptThread> ended;
    bool empty = false;
    {
        std::lock_guard<std::mutex> lock(KeptMutex());
        auto& kept = Kept();
        for (auto it = kept.begin(); it != kept.end();) {
            if (!it->thread->IsRunning()) {
                ended.push_back(std::move(*it));
                it = kept.erase(it);
            } else {
                it->stopEvent->SetEvent();
                ++it;
            }
        }
        empty = kept.empty();
    }
    return empty; // the ended ones are deleted here, outside the lock
}

bool WaitForKeptThreads(DWORD boundMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
    while (!ReapEndedThreads()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(kSliceMs));
    }
    return true;
}

bool PendingStop::Begin(const CWinThread* thread, CEvent& stopEvent, DWORD boundMs) {
    if (!thread || !thread->IsRunning())
        return false;
    stopEvent.SetEvent();
    pending_ = true;
    deadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(StopBoundMs(boundMs));
    return true;
}

bool PendingStop::Due(const CWinThread* thread, CEvent& stopEvent) {
    if (thread && thread->IsRunning() && std::chrono::steady_clock::now() < deadline_) {
        stopEvent.SetEvent();
        return false;
    }
    pending_ = false;
    return true;
}
