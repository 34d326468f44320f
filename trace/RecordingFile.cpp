#include "trace/RecordingFile.h"

std::string RecordingCaption(const std::string& initialCaption, const std::string& path) {
    return initialCaption + " - [" + path + "]";
}

std::string RecordingFile::Name(const std::string& path) {
    path_ = path;
    return path_.empty() ? initialCaption_ : RecordingCaption(initialCaption_, path_);
}

std::string RecordingFile::Unname() {
    path_.clear();
    return initialCaption_;
}

std::optional<std::string> RecordingFile::SaveTarget() const {
    if (path_.empty())
        return std::nullopt;
    return path_;
}
