#include "framework/core/MessageSeam.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace {
std::mutex seamMutex;
MessagePresenter currentPresenter;
std::string defaultCaption = "KeloServo";

int FirstButton(unsigned type) {
    switch (type & MB_TYPEMASK) {
    case MB_ABORTRETRYIGNORE: return IDABORT;
    case MB_YESNOCANCEL:
    case MB_YESNO: return IDYES;
    case MB_RETRYCANCEL: return IDRETRY;
    default: return IDOK;
    }
}
} // namespace

MessagePresenter SetMessagePresenter(MessagePresenter presenter) {
    std::lock_guard lock(seamMutex);
    return std::exchange(currentPresenter, std::move(presenter));
}

void SetMessageCaption(const std::string& caption) {
    std::lock_guard lock(seamMutex);
    defaultCaption = caption;
}

int ShowMessage(const std::string& text, const std::string& caption, unsigned type) {
    MessagePresenter presenter;
    MessageRequest request{text, caption, type};
    {
        std::lock_guard lock(seamMutex);
        presenter = currentPresenter;
        if (request.caption.empty())
            request.caption = defaultCaption;
    }
    if (presenter)
        return presenter(request);
    std::fprintf(stderr, "[%s] %s\n", request.caption.c_str(), request.text.c_str());
    return FirstButton(type);
}

ScriptedMessages::ScriptedMessages() {
    previous_ = SetMessagePresenter([this](const MessageRequest& request) { return Respond(request); });
}

ScriptedMessages::~ScriptedMessages() { SetMessagePresenter(std::move(previous_)); }

int ScriptedMessages::Respond(const MessageRequest& request) {
    shown_.push_back(request);
    if (answers_.empty())
        return FirstButton(request.type);
    int reply = answers_.front();
    answers_.erase(answers_.begin());
    return reply;
}
