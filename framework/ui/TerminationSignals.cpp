#include "framework/ui/TerminationSignals.h"

#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

// The write end of the pipe, for the handler; -1 while no watch is active.
std::atomic<int> g_writeEnd{-1};

extern "C" void OnTerminationSignal(int signal) {
    const int saved = errno;
    const int fd = g_writeEnd.load();
    if (fd >= 0) {
        const unsigned char number = static_cast<unsigned char>(signal);
        // A full pipe already holds a wake-up; dropping this byte loses nothing.
        [[maybe_unused]] const ssize_t written = write(fd, &number, 1);
    }
    errno = saved;
}

} // namespace

struct TerminationSignalWatch::State {
    int pipe[2] = {-1, -1};
    std::array<struct sigaction, kSignals.size()> previous{};
    std::unique_ptr<QSocketNotifier> notifier;
    std::function<void(int)> onSignal;
};

TerminationSignalWatch::TerminationSignalWatch(std::function<void(int)> onSignal) {
    auto state = std::make_unique<State>();
    state->onSignal = std::move(onSignal);
    if (g_writeEnd.load() >= 0 || pipe2(state->pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_writeEnd = state->pipe[1];
    const int readEnd = state->pipe[0];
    state->notifier = std::make_unique<QSocketNotifier>(readEnd, QSocketNotifier::Read);
    QObject::connect(state->notifier.get(), &QSocketNotifier::activated, state->notifier.get(),
                     [self = state.get(), readEnd] {
                         unsigned char numbers[16];
                         const ssize_t count = read(readEnd, numbers, sizeof numbers);
                         for (ssize_t i = 0; i < count; ++i)
                             if (self->onSignal)
                                 self->onSignal(numbers[i]);
                     });
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    // The handler is used once: the next signal of the kind ends the process the default way.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        sigaction(kSignals[i], &action, &state->previous[i]);
    state_ = std::move(state);
}

TerminationSignalWatch::~TerminationSignalWatch() {
    if (!state_)
        return;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        sigaction(kSignals[i], &state_->previous[i], nullptr);
    g_writeEnd = -1;
    state_->notifier.reset();
    close(state_->pipe[0]);
    close(state_->pipe[1]);
}

bool TerminationSignalWatch::Active() const {
    return state_ != nullptr;
}
