#pragma once
// SIGTERM, SIGINT and SIGHUP, turned into a call on the event loop. A signal may arrive between any
// two instructions, so its handler only writes the signal's number into a pipe; the pipe's other end
// is watched from the event loop, which calls `onSignal` there, where windows may be touched. A
// second signal of the same kind, while the first one's work is still going on, gets the platform's
// default action and ends the process at once: a program stuck while closing can still be stopped.
#include <functional>
#include <memory>

class TerminationSignalWatch {
public:
    // Catches the signals until destroyed (one watch at a time; a second one does nothing).
    explicit TerminationSignalWatch(std::function<void(int signal)> onSignal);
    ~TerminationSignalWatch(); // the handlers found at construction come back
    TerminationSignalWatch(const TerminationSignalWatch&) = delete;
    TerminationSignalWatch& operator=(const TerminationSignalWatch&) = delete;

    // Whether the signals are caught by this watch.
    bool Active() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};
