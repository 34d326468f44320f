#include "link/SerialExt.h"

#include "framework/core/MessageSeam.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <dlfcn.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

CSerialExt PortObject;
CSerialExt DiscoveryPortObject;

CSerialExt::CSerialExt(const char* portLibrary) {
    library_ = dlopen(portLibrary, RTLD_LAZY);
    if (!library_)
        ShowMessage("Fail to load dll!");
}

CSerialExt::~CSerialExt() {
    if (library_)
        dlclose(library_);
}

int CSerialExt::Read(void* buffer, int length, int* count, void* overlapped, unsigned timeoutMs) {
    if (length <= kMaxRead)
        return CSerial::Read(buffer, length, count, overlapped, timeoutMs);
    if (count)
        *count = 0;
    if (PortHandle >= 0)
        tcflush(PortHandle, TCIFLUSH);
    return ErrBadParameter;
}

void CSerialExt::NoteUnfinishedExchange() {
    unfinishedAt_ = std::chrono::steady_clock::now().time_since_epoch().count();
    lateReplyPossible_ = true;
}

void CSerialExt::AwaitQuietLine() {
    // The normal path: one atomic load.
    if (!lateReplyPossible_)
        return;
    if (!PortMutex.Lock(kMutexWaitMs))
        return; // tried again by the next exchange
    using Clock = std::chrono::steady_clock;
    const auto quiet = std::chrono::milliseconds(QuietLineMs());
    const auto start = Clock::now();
    const auto limit = start + kQuietLineLimitFactor * quiet;
    auto quietSince = std::min(start, Clock::time_point(Clock::duration(unfinishedAt_.load())));
    while (PortHandle >= 0) {
        const auto now = Clock::now();
        const auto until = std::min(quietSince + quiet, limit);
        if (now >= until)
            break;
        pollfd p{PortHandle, POLLIN, 0};
        const auto waitMs = std::chrono::ceil<std::chrono::milliseconds>(until - now).count();
        const int ready = poll(&p, 1, static_cast<int>(waitMs));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0)
            continue; // the deadline is checked above
        if (ready < 0)
            break;
        if (!(p.revents & POLLIN))
            break; // hang-up or error: nothing more will come
        tcflush(PortHandle, TCIFLUSH);
        quietSince = Clock::now();
    }
    lateReplyPossible_ = false;
    PortMutex.Unlock();
}

void CSerialExt::SearchTcpIp(std::vector<MAC_IP_STRUCT>& devices) {
    SearchTcpIp(devices, kDiscoveryAddress, kDiscoveryPort, kDiscoveryPort, kDiscoveryWaitMs);
}

void CSerialExt::SearchTcpIp(std::vector<MAC_IP_STRUCT>& devices, const char* address, uint16_t port,
                             uint16_t bindPort, unsigned waitMs) {
    devices.clear();
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(port);
    if (!address || inet_pton(AF_INET, address, &target.sin_addr) != 1)
        return;
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(bindPort);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    static constexpr unsigned char query[4] = {0x00, 0x00, 0x00, 0xF6};
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        sendto(fd, query, sizeof query, 0, reinterpret_cast<sockaddr*>(&target), sizeof target) !=
            static_cast<ssize_t>(sizeof query)) {
        close(fd);
        return;
    }
    // Each datagram restarts the wait, so a busy network could keep the search going: the whole
    // search is bounded as well.
    const auto end =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kDiscoveryLimitFactor * waitMs);
    unsigned char datagram[1024];
    for (;;) {
        auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(std::min<long long>(waitMs, left.count()))) <= 0)
            break; // the wait passed (or the socket failed): the search is over
        sockaddr_in from{};
        socklen_t fromSize = sizeof from;
        ssize_t n = recvfrom(fd, datagram, sizeof datagram, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from),
                             &fromSize);
        if (n < 0)
            break;
        // A reply carries the device's MAC at bytes 24..29; shorter datagrams cannot be replies.
        if (n < 30 || datagram[3] != 0xF7)
            continue;
        MAC_IP_STRUCT device;
        char mac[18];
        std::snprintf(mac, sizeof mac, "%.2x-%.2x-%.2x-%.2x-%.2x-%.2x", datagram[24], datagram[25],
                      datagram[26], datagram[27], datagram[28], datagram[29]);
        device.MacAddress = mac;
        char ip[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &from.sin_addr, ip, sizeof ip);
        device.IpAddress = ip;
        device.Address = from;
        devices.push_back(device);
    }
    close(fd);
}
