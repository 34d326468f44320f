#include "link/LinkState.h"

#include <mutex>

std::atomic<int> ConnectedFlag{0};
std::atomic<unsigned> LinkEpoch{0};
int ModbusMode = 0;
int ModbusAsciiFlag = 0;
int StationNumber = 1;

namespace {

std::mutex& NoticeMutex() {
    static std::mutex mutex;
    return mutex;
}

std::function<void()>& Notice() {
    static std::function<void()> notice;
    return notice;
}

} // namespace

void LinkLost() {
    ConnectedFlag = 0;
    // Held while the notice runs, so its owner cannot go away under it.
    std::lock_guard lock(NoticeMutex());
    if (Notice())
        Notice()();
}

void SetLinkLostNotice(std::function<void()> notice) {
    std::lock_guard lock(NoticeMutex());
    Notice() = std::move(notice);
}
