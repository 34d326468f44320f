#include "quillet/PortMutex.h"

#include <algorithm>

bool CPortMutex::Lock(unsigned timeoutMs) {
    const auto self = std::this_thread::get_id();
    std::unique_lock lock(guard_);
    if (depth_ > 0 && owner_ == self) {
        ++depth_;
        return true;
    }
    // First come, first served: a thread that gives the port back and asks again at once (a block
    // reader between two blocks) queues behind whoever waited meanwhile, so no waiter starves.
    waiting_.push_back(self);
    const bool taken = freed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                       [&] { return depth_ == 0 && waiting_.front() == self; });
    waiting_.erase(std::find(waiting_.begin(), waiting_.end(), self));
    if (!taken) {
        freed_.notify_all(); // the next in line may be free to go now
        return false;
    }
    owner_ = self;
    depth_ = 1;
    return true;
}

void CPortMutex::Unlock() {
    std::lock_guard lock(guard_);
    if (depth_ == 0 || owner_ != std::this_thread::get_id())
        return;
    if (--depth_ == 0) {
        owner_ = std::thread::id();
        freed_.notify_all();
    }
}

bool CPortMutex::IsOwnedByCaller() const {
    std::lock_guard lock(guard_);
    return depth_ > 0 && owner_ == std::this_thread::get_id();
}

bool CPortMutex::HasWaiters() const {
    std::lock_guard lock(guard_);
    return !waiting_.empty();
}
