#include "quillet/PortMutex.h"

bool CPortMutex::Lock(unsigned timeoutMs) {
    const auto self = std::this_thread::get_id();
    std::unique_lock lock(guard_);
    if (depth_ > 0 && owner_ == self) {
        ++depth_;
        return true;
    }
    if (!freed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return depth_ == 0; }))
        return false;
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
        freed_.notify_one();
    }
}

bool CPortMutex::IsOwnedByCaller() const {
    std::lock_guard lock(guard_);
    return depth_ > 0 && owner_ == std::this_thread::get_id();
}
