#pragma once
// CBackgroundReader: reads made off the user-interface thread while an acquisition thread holds the
// line for its block reads (a block takes seconds on a slow line; a read of the window's thread
// would wait behind it, and the window with it). One job at a time: the thread waits for the port,
// giving up as soon as it is asked to stop, then holds it for all the job's reads, so they cost one
// wait behind a block rather than one each. The job returns what shows its result; the thread owns
// nothing of windows: the owner is told a result is ready (on the reading thread, so the notice only
// hands the news on) and runs it on its own thread after Take.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

class CBackgroundReader {
public:
    using Show = std::function<void()>;
    using Job = std::function<Show()>;

    explicit CBackgroundReader(std::function<void()> ready) : ready_(std::move(ready)) {}
    // Stops the thread first.
    ~CBackgroundReader();
    CBackgroundReader(const CBackgroundReader&) = delete;
    CBackgroundReader& operator=(const CBackgroundReader&) = delete;

    // A job is waiting, runs, or its result waits to be taken.
    bool Busy() const;
    // Hands the job to the thread (started on first use); false when busy or stopped.
    bool Start(Job job);
    // What shows the finished job's result (empty when none); the reader is free again after it.
    Show Take();
    // Ends the thread: a job waiting for the port gives up within PortSliceMs, one whose reads are
    // under way ends after them; its result is dropped. Final: no job starts after it.
    void Stop();

    // The slice of a wait for the port between two looks at a stop request.
    static constexpr unsigned PortSliceMs = 50;

private:
    void Main();

    std::function<void()> ready_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    Job job_;
    Show result_;
    bool running_ = false;
    bool hasResult_ = false;
    bool stop_ = false;
    std::thread thread_;
};
