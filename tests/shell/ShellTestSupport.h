#pragma once
// Scratch folders for the shell's file tests: a program folder and a temporary folder of their own.
#include "framework/core/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kelo-shell-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// The program folder and XDG_RUNTIME_DIR (the temporary folder) point at fresh folders for the
// fixture's life.
class ShellFolders {
public:
    ShellFolders() {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
            oldRuntime_ = old;
        setenv("XDG_RUNTIME_DIR", temp.Path().c_str(), 1);
        SetProgramFolderForTesting(program.Path());
    }
    ~ShellFolders() {
        SetProgramFolderForTesting("");
        if (oldRuntime_)
            setenv("XDG_RUNTIME_DIR", oldRuntime_->c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
    }

    ScratchDir program;
    ScratchDir temp;

private:
    std::optional<std::string> oldRuntime_;
};

inline void WriteText(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// "\n" line ends turned into the CR LF a text file stores.
inline std::string Crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}
