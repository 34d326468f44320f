#pragma once
// Scratch folders for the shell's file tests: a program folder and a temporary folder of their own.
#include "framework/core/Paths.h"
#include "tests/support/PrivateHome.h"

#include <filesystem>
#include <fstream>
#include <string>

// The program folder and XDG_RUNTIME_DIR (the temporary folder) point at fresh folders for the
// object's life.
class ShellFolders {
public:
    ShellFolders() { SetProgramFolderForTesting(program.Path()); }
    ~ShellFolders() { SetProgramFolderForTesting(""); }

    ScratchFolder program{"kelo-shell-program"};
    ScratchFolder temp{"kelo-shell-temp"};

private:
    EnvOverride runtime_{"XDG_RUNTIME_DIR", temp.Path()};
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
