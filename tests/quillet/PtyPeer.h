#pragma once
// A scripted far end on a pseudo-terminal: the code under test opens SlavePath() like a serial port,
// the peer answers on the master side. A request is whatever arrives before a short pause.
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class PtyPeer {
public:
    // Given the request bytes, returns the answer ("" = stay silent).
    using Responder = std::function<std::string(const std::string& request)>;

    PtyPeer();
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    const std::string& SlavePath() const { return slavePath_; }
    int MasterFd() const { return master_; }

    // Starts answering every request with the responder.
    void Serve(Responder responder);
    // Answers every request with the same bytes.
    void ServeFixed(const std::string& reply);
    void Stop();
    // Puts bytes on the line unasked.
    void Send(const std::string& bytes);
    std::vector<std::string> Requests() const;

private:
    void Run();

    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    Responder responder_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
};
