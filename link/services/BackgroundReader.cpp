#include "link/services/BackgroundReader.h"

#include "link/SerialExt.h"

CBackgroundReader::~CBackgroundReader() {
    Stop();
}

bool CBackgroundReader::Busy() const {
    std::lock_guard lock(mutex_);
    return job_ || running_ || hasResult_;
}

bool CBackgroundReader::Start(Job job) {
    std::lock_guard lock(mutex_);
    if (stop_ || job_ || running_ || hasResult_ || !job)
        return false;
    if (!thread_.joinable())
        thread_ = std::thread([this] { Main(); });
    job_ = std::move(job);
    changed_.notify_all();
    return true;
}

CBackgroundReader::Show CBackgroundReader::Take() {
    std::lock_guard lock(mutex_);
    if (!hasResult_)
        return {};
    hasResult_ = false;
    return std::exchange(result_, {});
}

void CBackgroundReader::Stop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        changed_.notify_all();
    }
    if (thread_.joinable())
        thread_.join();
    std::lock_guard lock(mutex_);
    job_ = {};
    result_ = {};
    hasResult_ = false;
}

void CBackgroundReader::Main() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return stop_ || job_; });
            if (stop_)
                return;
            job = std::exchange(job_, {});
            running_ = true;
        }
        const auto stopped = [this] {
            std::lock_guard lock(mutex_);
            return stop_;
        };
        bool held = false;
        while (!held && !stopped())
            held = PortObject.PortMutex.Lock(PortSliceMs);
        Show show;
        if (held) {
            show = job();
            PortObject.PortMutex.Unlock();
        }
        {
            std::lock_guard lock(mutex_);
            running_ = false;
            if (stop_)
                return;
            result_ = std::move(show);
            hasResult_ = true;
        }
        ready_();
    }
}
