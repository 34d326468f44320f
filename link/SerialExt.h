#pragma once
// CSerialExt: the program's own port class over the port library, and the two global port objects.
#include "quillet/Serial.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <vector>

class CSerialExt : public CSerial {
public:
    // Reads longer than this are refused (see Read).
    static constexpr int kMaxRead = 20000;
    static constexpr const char* kDiscoveryAddress = "255.255.255.255";
    static constexpr uint16_t kDiscoveryPort = 30718;
    static constexpr unsigned kDiscoveryWaitMs = 2000;
    // A search never runs longer than this many waits, however many datagrams keep arriving.
    static constexpr unsigned kDiscoveryLimitFactor = 5;

    // Checks that the port library is present by loading it by its plain name; when it is not,
    // tells the user "Fail to load dll!" and goes on as a plain CSerial.
    explicit CSerialExt(const char* portLibrary = "libQuillet.so");
    ~CSerialExt() override;

    // Up to kMaxRead bytes go to the port. A longer read discards the pending input and fails with
    // nothing read, so a caller never takes an empty buffer for data.
    int Read(void* buffer, int length, int* count, void* overlapped, unsigned timeoutMs) override;

    // Broadcast discovery with the default address, port and wait.
    void SearchTcpIp(std::vector<MAC_IP_STRUCT>& devices) override;
    // Sends the 4-byte query to address:port from a socket bound to any local address at bindPort,
    // and collects the replies until none arrives for waitMs (and at most kDiscoveryLimitFactor x waitMs
    // in all). Every reply (fourth byte 0xF7) adds one
    // entry, in arrival order; anything else is ignored.
    void SearchTcpIp(std::vector<MAC_IP_STRUCT>& devices, const char* address, uint16_t port,
                     uint16_t bindPort, unsigned waitMs);

    bool PortLibraryLoaded() const { return library_ != nullptr; }

    // Late replies. Neither a maker reply nor a Modbus read reply names the register it answers, so
    // a reply that comes after its exchange gave up would pass for the next exchange's. An exchange
    // that ended without a whole reply says so here; the next exchange first calls AwaitQuietLine,
    // which discards whatever arrives until the line has been quiet for QuietLineMs (counted from
    // the end of that exchange or the last byte discarded, so time that already passed counts), and
    // gives up after kQuietLineLimitFactor x QuietLineMs in all. Without an unfinished exchange it
    // returns at once; it runs under PortMutex, so another thread's exchange is never cut into.
    static constexpr unsigned kQuietLineLimitFactor = 4;
    void NoteUnfinishedExchange();
    void AwaitQuietLine();
    bool LateReplyPossible() const { return lateReplyPossible_; }
    // The silence that counts as a quiet line after an unfinished exchange: the turnaround, never less
    // than the inter-character gap. A drive that answers late answers within about one more turnaround;
    // a quiet of only a gap let such a reply land in the next exchange's window and pass for its reply.
    unsigned QuietLineMs() const { return std::max(GapMs(), TurnaroundMs()); }

private:
    void* library_ = nullptr;
    std::atomic<bool> lateReplyPossible_{false};
    std::atomic<long long> unfinishedAt_{0}; // steady clock ticks
};

// The drive port: every maker-command exchange runs through it.
extern CSerialExt PortObject;
// The port that the port choice opens only to test whether a port is free.
extern CSerialExt DiscoveryPortObject;
