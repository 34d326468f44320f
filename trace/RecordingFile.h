#pragma once
// The file a graph window's recording belongs to (trace window and box viewer alike) and the caption
// that names it. Save writes to that file; a recording that belongs to none is saved as Save As.
#include <optional>
#include <string>
#include <utility>

// The caption a window shows for a recording: the initial caption + " - [" + path + "]".
std::string RecordingCaption(const std::string& initialCaption, const std::string& path);

class RecordingFile {
public:
    // The window's own caption, shown while the recording belongs to no file.
    void SetInitialCaption(std::string caption) { initialCaption_ = std::move(caption); }
    const std::string& InitialCaption() const { return initialCaption_; }

    // The recording now lives in path (saved there or read from there); returns the caption to show.
    std::string Name(const std::string& path);
    // A new run or new settings: the recording belongs to no file; returns the caption to show.
    std::string Unname();

    bool Named() const { return !path_.empty(); }
    // Where Save writes; nothing while the recording belongs to no file.
    std::optional<std::string> SaveTarget() const;
    const std::string& Path() const { return path_; }

private:
    std::string initialCaption_;
    std::string path_;
};
