#include "framework/core/Thread.h"

#include <system_error>

CWinThread::~CWinThread() {
    if (thread_.joinable()) {
        if (thread_.get_id() == std::this_thread::get_id())
            thread_.detach(); // deleted by itself (auto-delete): nothing left to wait for
        else
            thread_.join();
    }
}

bool CWinThread::CreateThread() {
    if (started_.exchange(true))
        return false;
    running_ = true;
    try {
        thread_ = std::thread([this] { Main(); });
    } catch (const std::system_error&) {
        running_ = false;
        started_ = false;
        return false;
    }
    return true;
}

void CWinThread::Main() {
    DWORD code = 0;
    if (body_)
        code = body_();
    else if (InitInstance())
        code = static_cast<DWORD>(Run());
    else
        code = static_cast<DWORD>(ExitInstance());
    exitCode_ = code;
    bool autoDelete = m_bAutoDelete;
    running_ = false;
    finished_.SetEvent();
    if (autoDelete)
        delete this;
}

bool CWinThread::GetExitCode(DWORD* code) const {
    if (!code)
        return false;
    *code = ExitCode();
    return true;
}

CWinThread* AfxBeginThread(std::function<unsigned()> body) {
    auto* thread = new CWinThread(std::move(body));
    if (!thread->CreateThread()) {
        delete thread;
        return nullptr;
    }
    return thread;
}
