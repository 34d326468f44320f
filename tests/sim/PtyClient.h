#pragma once
// The client end of a simulated drive's pty, opened as a program opens a serial port.
#include "tests/support/PrivateHome.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace simtest {

class PtyClient {
public:
    explicit PtyClient(const std::string& path) {
        m_fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_fd < 0)
            return;
        termios tio{};
        tcgetattr(m_fd, &tio);
        cfmakeraw(&tio);
        tcsetattr(m_fd, TCSANOW, &tio);
        tcflush(m_fd, TCIOFLUSH);
    }
    ~PtyClient() {
        if (m_fd >= 0)
            close(m_fd);
    }
    PtyClient(const PtyClient&) = delete;
    PtyClient& operator=(const PtyClient&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }

    bool Send(const std::string& bytes) {
        return write(m_fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

    // Reads until `count` bytes came, the time-out passed, or the line hung up.
    std::string Receive(size_t count, std::chrono::milliseconds timeout = std::chrono::milliseconds(1000)) {
        std::string data;
        auto deadline = std::chrono::steady_clock::now() + timeout;
        m_hungUp = false;
        while (data.size() < count) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                break;
            pollfd pfd{m_fd, POLLIN, 0};
            if (poll(&pfd, 1, static_cast<int>(left.count())) <= 0)
                break;
            char buffer[4096];
            ssize_t n = read(m_fd, buffer, std::min(sizeof buffer, count - data.size()));
            if (n <= 0) {
                m_hungUp = true;
                break;
            }
            data.append(buffer, static_cast<size_t>(n));
        }
        return data;
    }

    std::string Exchange(const std::string& request, size_t replyLength,
                         std::chrono::milliseconds timeout = std::chrono::milliseconds(1000)) {
        if (!Send(request))
            return {};
        return Receive(replyLength, timeout);
    }

    bool HungUp() const { return m_hungUp; }

private:
    int m_fd = -1;
    bool m_hungUp = false;
};

// Gives the process its own temporary folder, so virtual ports of parallel tests never meet.
class ScopedTempFolder {
public:
    const std::string& Path() const { return m_folder.Path(); }

private:
    ScratchFolder m_folder{"kelo-sim-test"};
    EnvOverride m_tmpdir{"TMPDIR", m_folder.Path()};
    EnvOverride m_runtime{"XDG_RUNTIME_DIR", std::nullopt};
};

} // namespace simtest
