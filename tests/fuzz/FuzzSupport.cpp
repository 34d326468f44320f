#include "tests/fuzz/FuzzSupport.h"

#include "framework/core/MessageSeam.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

std::string MakeScratch() {
    char pattern[] = "/tmp/kelo-fuzz-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("kelo fuzz: scratch folder");
        std::abort();
    }
    static std::string folder = pattern;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    });
    // Some readers look in the temporary folder; keep them inside the scratch folder too.
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    SetMessagePresenter([](const MessageRequest&) { return IDOK; });
    return folder;
}

const std::string& Scratch() {
    static const std::string folder = MakeScratch();
    return folder;
}

} // namespace

std::string FuzzScratchPath(const std::string& name) {
    return Scratch() + "/" + name;
}

std::string FuzzInputFile(const std::uint8_t* data, std::size_t size, const std::string& name) {
    const std::string path = FuzzScratchPath(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    FuzzCheck(static_cast<bool>(out), "the input file could not be written");
    return path;
}

void FuzzCheck(bool condition, const char* what) {
    if (condition)
        return;
    std::fprintf(stderr, "kelo fuzz: %s\n", what);
    std::abort();
}
