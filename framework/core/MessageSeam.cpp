#include "framework/core/MessageSeam.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace {
std::mutex seamMutex;
MessagePresenter currentPresenter;
FileDialogPresenter filePresenter;
ColorDialogPresenter colorPresenter;
FolderDialogPresenter folderPresenter;
std::string defaultCaption = "KeloServo";

int FirstButton(unsigned type) {
    switch (type & MB_TYPEMASK) {
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    case MB_YESNOCANCEL:
    case MB_YESNO:
        return IDYES;
    case MB_RETRYCANCEL:
        return IDRETRY;
    default:
        return IDOK;
    }
}
template <typename Presenter> Presenter Swap(Presenter& slot, Presenter presenter) {
    std::lock_guard lock(seamMutex);
    return std::exchange(slot, std::move(presenter));
}

template <typename Presenter> Presenter Current(const Presenter& slot) {
    std::lock_guard lock(seamMutex);
    return slot;
}

template <typename Answer> Answer TakeFront(std::deque<Answer>& queue) {
    if (queue.empty())
        return Answer{};
    Answer answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}
} // namespace

MessagePresenter SetMessagePresenter(MessagePresenter presenter) {
    return Swap(currentPresenter, std::move(presenter));
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
    previousFile_ = SetFileDialogPresenter([this](const FileDialogRequest& request) {
        fileRequests_.push_back(request);
        FileDialogResult result = TakeFront(fileAnswers_);
        if (result.ok)
            result.path = ApplyDefaultExtension(result.path, request.defaultExt);
        return result;
    });
    previousColor_ = SetColorDialogPresenter([this](const ColorDialogRequest& request) {
        colorRequests_.push_back(request);
        return TakeFront(colorAnswers_);
    });
    previousFolder_ = SetFolderDialogPresenter([this](const FolderDialogRequest& request) {
        folderRequests_.push_back(request);
        return TakeFront(folderAnswers_);
    });
}

ScriptedMessages::~ScriptedMessages() {
    SetMessagePresenter(std::move(previous_));
    SetFileDialogPresenter(std::move(previousFile_));
    SetColorDialogPresenter(std::move(previousColor_));
    SetFolderDialogPresenter(std::move(previousFolder_));
}

int ScriptedMessages::Respond(const MessageRequest& request) {
    shown_.push_back(request);
    if (answers_.empty())
        return FirstButton(request.type);
    int reply = answers_.front();
    answers_.erase(answers_.begin());
    return reply;
}

std::vector<FileFilter> ParseFileFilter(const std::string& filter) {
    std::vector<std::string> parts;
    std::size_t pos = 0;
    for (std::size_t bar; (bar = filter.find('|', pos)) != std::string::npos; pos = bar + 1)
        parts.push_back(filter.substr(pos, bar - pos));
    if (pos < filter.size())
        parts.push_back(filter.substr(pos));
    std::vector<FileFilter> filters;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty() && parts[i + 1].empty())
            break; // the closing "||"
        FileFilter entry{parts[i], {}};
        std::size_t start = 0;
        const std::string& patterns = parts[i + 1];
        for (std::size_t semi; start <= patterns.size(); start = semi + 1) {
            semi = patterns.find(';', start);
            if (semi == std::string::npos)
                semi = patterns.size();
            if (semi > start)
                entry.patterns.push_back(patterns.substr(start, semi - start));
        }
        if (!entry.patterns.empty())
            filters.push_back(std::move(entry));
    }
    return filters;
}

std::string ApplyDefaultExtension(const std::string& path, const std::string& defaultExt) {
    std::string ext = defaultExt;
    while (!ext.empty() && ext.front() == '.')
        ext.erase(ext.begin());
    std::size_t slash = path.rfind('/');
    std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (ext.empty() || nameStart >= path.size() || path.find('.', nameStart) != std::string::npos)
        return path;
    return path + "." + ext;
}

FileDialogPresenter SetFileDialogPresenter(FileDialogPresenter presenter) {
    return Swap(filePresenter, std::move(presenter));
}

FileDialogResult ShowFileDialog(const FileDialogRequest& request) {
    FileDialogPresenter presenter = Current(filePresenter);
    return presenter ? presenter(request) : FileDialogResult{};
}

ColorDialogPresenter SetColorDialogPresenter(ColorDialogPresenter presenter) {
    return Swap(colorPresenter, std::move(presenter));
}

std::optional<COLORREF> ShowColorDialog(const ColorDialogRequest& request) {
    ColorDialogPresenter presenter = Current(colorPresenter);
    return presenter ? presenter(request) : std::nullopt;
}

FolderDialogPresenter SetFolderDialogPresenter(FolderDialogPresenter presenter) {
    return Swap(folderPresenter, std::move(presenter));
}

std::optional<std::string> ShowFolderDialog(const FolderDialogRequest& request) {
    FolderDialogPresenter presenter = Current(folderPresenter);
    return presenter ? presenter(request) : std::nullopt;
}
