#include "tests/quillet/PtyPeer.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

PtyPeer::PtyPeer() {
    char name[128] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    termios tio{};
    tcgetattr(slave_, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave_, TCSANOW, &tio);
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    fcntl(slave_, F_SETFD, FD_CLOEXEC);
    slavePath_ = name;
}

PtyPeer::~PtyPeer() {
    Stop();
    close(master_);
    close(slave_);
}

void PtyPeer::Serve(Responder responder) {
    Stop();
    responder_ = std::move(responder);
    stop_ = false;
    thread_ = std::thread([this] { Run(); });
}

void PtyPeer::ServeFixed(const std::string& reply) {
    Serve([reply](const std::string&) { return reply; });
}

void PtyPeer::Stop() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

void PtyPeer::Send(const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t n = write(master_, bytes.data() + sent, bytes.size() - sent);
        if (n <= 0)
            return;
        sent += static_cast<size_t>(n);
    }
}

std::vector<std::string> PtyPeer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void PtyPeer::Run() {
    std::string pending;
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        int ready = poll(&p, 1, 3);
        if (ready > 0 && (p.revents & POLLIN)) {
            char chunk[4096];
            ssize_t n = read(master_, chunk, sizeof chunk);
            if (n > 0)
                pending.append(chunk, static_cast<size_t>(n));
            continue;
        }
        if (ready == 0 && !pending.empty()) {
            {
                std::lock_guard lock(mutex_);
                requests_.push_back(pending);
            }
            Send(responder_(pending));
            pending.clear();
        }
    }
}
