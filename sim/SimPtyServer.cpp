#include "sim/SimPtyServer.h"

#include "framework/core/Paths.h"
#include "sim/SimProtocol.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <pty.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

enum class Command { None, Unplug, Replug };

void CloseFd(int& fd) {
    if (fd >= 0)
        close(fd);
    fd = -1;
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    int fd = OpenNoFollow(path, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return false;
    bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);
    return ok;
}

// Removes a path only when it is a symbolic link or a plain file: never follows one.
void RemoveEntry(const std::string& path) {
    struct stat st {};
    if (!path.empty() && lstat(path.c_str(), &st) == 0 && (S_ISLNK(st.st_mode) || S_ISREG(st.st_mode)))
        unlink(path.c_str());
}

} // namespace

struct CSimPtyServer::Impl {
    explicit Impl(CSimDrive& d) : drive(d) {}

    CSimDrive& drive;
    SimPtyOptions options;
    std::thread thread;
    std::atomic<bool> stopping{false};
    std::atomic<bool> running{false};
    int wake[2] = {-1, -1};

    mutable std::mutex mutex; // guards everything below
    std::condition_variable changed;
    int master = -1;
    int slave = -1; // held open so the line stays up while clients come and go
    // Watches the clients' opens and closes of the slave. A pty keeps its exclusive-use flag
    // (TIOCEXCL, set by the port library) after its client closed, so without this a user
    // without privileges could never reopen the port; the flag is cleared once no client is left.
    int watch = -1;
    int clientOpens = 0;
    std::string devicePath;
    std::string linkPath;
    std::string descriptionPath;
    bool plugged = false;
    int generation = 0;
    Command command = Command::None;
    bool replugPending = false;
    Clock::time_point replugAt;

    void Wake() {
        char c = 1;
        [[maybe_unused]] ssize_t n = write(wake[1], &c, 1);
    }

    void DrainWake() {
        char buffer[64];
        while (read(wake[0], buffer, sizeof buffer) > 0) {
        }
    }

    // Makes a new pty and registers it. Called with the mutex held.
    bool PlugLocked(std::string* error) {
        int m = -1, s = -1;
        if (openpty(&m, &s, nullptr, nullptr, nullptr) != 0) {
            if (error)
                *error = std::string("openpty failed: ") + std::strerror(errno);
            return false;
        }
        termios tio{};
        tcgetattr(s, &tio);
        cfmakeraw(&tio);
        tcsetattr(s, TCSANOW, &tio);
        fcntl(m, F_SETFD, FD_CLOEXEC);
        fcntl(s, F_SETFD, FD_CLOEXEC);
        fcntl(m, F_SETFL, fcntl(m, F_GETFL) | O_NONBLOCK);
        const char* name = ttyname(s);
        if (!name) {
            close(m);
            close(s);
            if (error)
                *error = "the pty has no device name";
            return false;
        }
        master = m;
        slave = s;
        devicePath = name;
        watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (watch >= 0 && inotify_add_watch(watch, name, IN_OPEN | IN_CLOSE) < 0)
            CloseFd(watch);
        clientOpens = 0;
        if (options.registerVirtualPort && !RegisterLocked(error)) {
            UnplugLocked();
            return false;
        }
        plugged = true;
        ++generation;
        changed.notify_all();
        return true;
    }

    bool RegisterLocked(std::string* error) {
        std::string folder = VirtualPortsFolder();
        if (folder.empty()) {
            if (error)
                *error = "no safe temporary folder for the virtual port";
            return false;
        }
        struct stat st {};
        if ((mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) || lstat(folder.c_str(), &st) != 0 ||
            !S_ISDIR(st.st_mode) || st.st_uid != geteuid()) {
            if (error)
                *error = "cannot use " + folder + " for virtual ports";
            return false;
        }
        // Replace a stale link of an earlier run atomically: make the new link aside, rename over.
        std::string path = folder + options.name;
        std::string temporary = path + ".new." + std::to_string(getpid());
        unlink(temporary.c_str());
        if (symlink(devicePath.c_str(), temporary.c_str()) != 0 ||
            rename(temporary.c_str(), path.c_str()) != 0) {
            if (error)
                *error = "cannot register " + path + ": " + std::strerror(errno);
            unlink(temporary.c_str());
            return false;
        }
        linkPath = path;
        descriptionPath = path + ".description";
        if (!options.description.empty())
            WriteTextFile(descriptionPath, options.description + "\n");
        else
            RemoveEntry(descriptionPath);
        return true;
    }

    void UnplugLocked() {
        RemoveEntry(linkPath);
        RemoveEntry(descriptionPath);
        linkPath.clear();
        descriptionPath.clear();
        CloseFd(watch);
        CloseFd(master);
        CloseFd(slave);
        devicePath.clear();
        plugged = false;
        changed.notify_all();
    }

    // Sleeps up to `duration`, or less when stopping. False when stopping.
    bool Pause(std::chrono::microseconds duration) {
        auto until = Clock::now() + duration;
        while (!stopping) {
            auto left = until - Clock::now();
            if (left <= Clock::duration::zero())
                return true;
            // Sleeping overshoots by tens of microseconds, which at high baud rates is a large
            // part of a character; the last stretch is spun so the emulated wire keeps its pace.
            constexpr auto spinSpan = std::chrono::microseconds(150);
            if (left > spinSpan)
                std::this_thread::sleep_for(
                    std::min<Clock::duration>(left - spinSpan, std::chrono::milliseconds(10)));
            else
                std::this_thread::yield();
        }
        return false;
    }

    void WriteAll(int fd, const std::string& bytes) {
        size_t done = 0;
        while (done < bytes.size() && !stopping) {
            ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
            if (n > 0) {
                done += static_cast<size_t>(n);
            } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
                pollfd pfd{fd, POLLOUT, 0};
                poll(&pfd, 1, 100);
            } else {
                return;
            }
        }
    }

    // Answers one request; false when the link was dropped.
    bool Serve(const std::string& request) {
        SimReply reply = drive.Respond(request);
        if (reply.dropLink) {
            std::lock_guard lock(mutex);
            UnplugLocked();
            if (options.replugDelay.count() >= 0) {
                replugPending = true;
                replugAt = Clock::now() + options.replugDelay;
            }
            return false;
        }
        if (!Pause(reply.delay + reply.wireTime))
            return false;
        if (reply.bytes.empty())
            return true;
        int fd;
        {
            std::lock_guard lock(mutex);
            fd = master;
        }
        if (fd < 0)
            return true;
        if (reply.slow.count() <= 0) {
            WriteAll(fd, reply.bytes);
            return true;
        }
        // A slow line: the characters leave one piece after another over the whole time, never a
        // silence a receiver would take for the end of the answer; nothing else is read meanwhile.
        constexpr auto kPieceTime = std::chrono::milliseconds(5);
        const size_t pieces =
            std::clamp<size_t>(static_cast<size_t>(reply.slow / kPieceTime), 1, reply.bytes.size());
        const Clock::time_point start = Clock::now();
        size_t sent = 0;
        for (size_t piece = 1; piece <= pieces; ++piece) {
            const Clock::time_point due =
                start + reply.slow * static_cast<long>(piece) / static_cast<long>(pieces);
            if (!Pause(std::chrono::duration_cast<std::chrono::microseconds>(due - Clock::now())))
                return false;
            const size_t end = reply.bytes.size() * piece / pieces;
            WriteAll(fd, reply.bytes.substr(sent, end - sent));
            sent = end;
        }
        return true;
    }

    // Counts the clients from the watch's events; frees the port for the next one when none is left.
    void HandleWatchEvents() {
        std::lock_guard lock(mutex);
        alignas(inotify_event) char buffer[4096];
        ssize_t n;
        while (watch >= 0 && (n = read(watch, buffer, sizeof buffer)) > 0) {
            for (char* p = buffer; p < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                if (event->mask & IN_OPEN)
                    ++clientOpens;
                if (event->mask & IN_CLOSE)
                    clientOpens = std::max(0, clientOpens - 1);
                p += sizeof(inotify_event) + event->len;
            }
        }
        if (clientOpens == 0 && slave >= 0)
            ioctl(slave, TIOCNXCL);
    }

    // Hands a plug command to the serving thread, which owns the pty, and waits until it is done.
    void RunCommand(Command what) {
        if (!running)
            return;
        std::unique_lock lock(mutex);
        command = what;
        Wake();
        changed.wait(lock, [this] { return command == Command::None; });
    }

    // Carries out a plug command; true when the line changed (what was received is then stale).
    bool HandleCommand() {
        std::lock_guard lock(mutex);
        bool changedLine = false;
        if (command == Command::Unplug && plugged) {
            UnplugLocked();
            replugPending = false;
            changedLine = true;
        } else if (command == Command::Replug && !plugged) {
            replugPending = false;
            changedLine = PlugLocked(nullptr);
        }
        command = Command::None;
        changed.notify_all();
        return changedLine;
    }

    void Run() {
        std::string buffer;
        Clock::time_point lastByte = Clock::now();
        while (!stopping) {
            int fd, watchFd;
            int timeout = 200;
            {
                std::lock_guard lock(mutex);
                fd = master;
                watchFd = watch;
                if (!plugged && replugPending) {
                    auto left =
                        std::chrono::duration_cast<std::chrono::milliseconds>(replugAt - Clock::now());
                    if (left.count() <= 0) {
                        replugPending = false;
                        PlugLocked(nullptr);
                        fd = master;
                        buffer.clear();
                    } else {
                        timeout = static_cast<int>(std::min<long long>(left.count() + 1, 200));
                    }
                }
            }
            if (!buffer.empty()) {
                auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    lastByte + options.interByteGap - Clock::now());
                timeout = std::max(0, std::min(timeout, static_cast<int>(left.count()) + 1));
            }
            pollfd pfds[3] = {{wake[0], POLLIN, 0}, {fd, POLLIN, 0}, {watchFd, POLLIN, 0}};
            int count = poll(pfds, 3, timeout);
            if (stopping)
                break;
            if (count > 0 && (pfds[0].revents & POLLIN)) {
                DrainWake();
                if (HandleCommand())
                    buffer.clear();
                continue;
            }
            if (count > 0 && (pfds[2].revents & POLLIN))
                HandleWatchEvents();
            if (fd >= 0 && count > 0 && (pfds[1].revents & POLLIN)) {
                char chunk[4096];
                ssize_t n = read(fd, chunk, sizeof chunk);
                if (n > 0) {
                    buffer.append(chunk, static_cast<size_t>(n));
                    lastByte = Clock::now();
                }
            } else if (fd >= 0 && count > 0 && (pfds[1].revents & (POLLHUP | POLLERR))) {
                // Not expected while the slave is held open; never spin on it.
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            // Whole requests are answered as soon as they are in; anything else waits for a pause.
            bool dropped = false;
            while (!buffer.empty() && !dropped) {
                sim::FrameScan scan = sim::ScanRequest(buffer, drive.ModbusEnabled());
                if (scan.state == sim::FrameState::Complete) {
                    std::string request = buffer.substr(0, scan.length);
                    buffer.erase(0, scan.length);
                    dropped = !Serve(request);
                } else if (Clock::now() - lastByte >= options.interByteGap) {
                    std::string request;
                    request.swap(buffer);
                    dropped = !Serve(request);
                } else {
                    break;
                }
            }
            if (dropped)
                buffer.clear();
        }
    }
};

CSimPtyServer::CSimPtyServer(CSimDrive& drive) : d(std::make_unique<Impl>(drive)) {}

CSimPtyServer::~CSimPtyServer() {
    Stop();
}

bool CSimPtyServer::Start(const SimPtyOptions& options, std::string* error) {
    Stop();
    if (options.name.empty() || options.name.find('/') != std::string::npos || options.name[0] == '.') {
        if (error)
            *error = "invalid port name: " + options.name;
        return false;
    }
    d->options = options;
    if (options.wireBaud > 0)
        d->drive.SetWireBaud(options.wireBaud);
    if (pipe2(d->wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        if (error)
            *error = std::string("pipe failed: ") + std::strerror(errno);
        return false;
    }
    {
        std::lock_guard lock(d->mutex);
        d->generation = 0;
        d->replugPending = false;
        d->command = Command::None;
        if (!d->PlugLocked(error)) {
            CloseFd(d->wake[0]);
            CloseFd(d->wake[1]);
            return false;
        }
    }
    d->stopping = false;
    d->running = true;
    d->thread = std::thread([this] { d->Run(); });
    return true;
}

void CSimPtyServer::Stop() {
    if (!d->running)
        return;
    d->stopping = true;
    d->Wake();
    if (d->thread.joinable())
        d->thread.join();
    {
        std::lock_guard lock(d->mutex);
        d->UnplugLocked();
        d->replugPending = false;
        d->command = Command::None; // a plug command the thread did not take is void
        d->changed.notify_all();
    }
    CloseFd(d->wake[0]);
    CloseFd(d->wake[1]);
    d->running = false;
}

bool CSimPtyServer::IsRunning() const {
    return d->running;
}

std::string CSimPtyServer::DevicePath() const {
    std::lock_guard lock(d->mutex);
    return d->devicePath;
}

std::string CSimPtyServer::PortName() const {
    std::lock_guard lock(d->mutex);
    return d->options.name;
}

std::string CSimPtyServer::VirtualPortPath() const {
    std::lock_guard lock(d->mutex);
    return d->linkPath;
}

void CSimPtyServer::Unplug() {
    d->RunCommand(Command::Unplug);
}

void CSimPtyServer::Replug() {
    d->RunCommand(Command::Replug);
}

bool CSimPtyServer::IsPlugged() const {
    std::lock_guard lock(d->mutex);
    return d->plugged;
}

int CSimPtyServer::PlugGeneration() const {
    std::lock_guard lock(d->mutex);
    return d->generation;
}
