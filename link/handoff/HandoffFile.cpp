#include "link/handoff/HandoffFile.h"

#include "framework/core/File.h"
#include "framework/core/Paths.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr const char* kFileName = "curfile.ini";
constexpr std::size_t kMaxReadBytes = 64 * 1024;

// The number at the start of a line as the C library's atoi reads it (blanks, sign, digits), kept
// within int instead of overflowing.
int LeadingInt(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<int>(value);
}

// Opens for reading without following a link and without blocking on a FIFO someone
// left under the name; only a plain file is accepted.
int OpenPlainFile(const std::string& path, int flags) {
    if (path.empty()) {
        errno = ENOENT;
        return -1;
    }
    int fd = OpenNoFollow(path, flags | O_NONBLOCK, 0600);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

} // namespace

std::string HandoffFilePath() {
    return TempFolderFile(kFileName);
}

std::string HandoffSeriesCode(int seriesIndex) {
    switch (seriesIndex) {
    case 0:
        return "1";
    case 1:
        return "2";
    case 3:
        return "3";
    case 5:
        return "4";
    case 4:
        return "5";
    case 2:
        return "6";
    default:
        return "99";
    }
}

int SeriesCodeFromHandoff(const std::string& line) {
    if (line == "1")
        return 4;
    if (line == "3")
        return 6;
    if (line == "4")
        return 7;
    if (line == "5")
        return 8;
    if (line == "6")
        return 9;
    return 5;
}

bool WriteHandoffLines(const std::vector<std::string>& lines, bool lastLineEnds, const std::string& path) {
    std::string bytes;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        for (char c : lines[i])
            bytes += (c == '\r' || c == '\n' || c == '\0') ? ' ' : c;
        if (i + 1 < lines.size() || lastLineEnds)
            bytes += "\r\n";
    }
    // Replaced whole, so the program starting meanwhile never reads half a file.
    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeReplace | CFile::modeWrite | CFile::modeNoFollow | CFile::modePrivate,
                   &error)) {
        errno = error.GetError();
        return false;
    }
    try {
        file.Write(bytes.data(), bytes.size());
        file.Close();
    } catch (const CFileException& e) {
        file.Abort();
        errno = e.GetError();
        return false;
    }
    return true;
}

bool WriteHandoffFile(int seriesIndex, int autoDetectFlag, const std::string& portEntry, int entryIndex,
                      const std::string& path) {
    return WriteHandoffLines({HandoffSeriesCode(seriesIndex), std::to_string(autoDetectFlag), portEntry,
                              std::to_string(entryIndex)},
                             true, path);
}

std::optional<HandoffRequest> ReadHandoffFile(const std::string& path) {
    int fd = OpenPlainFile(path, O_RDONLY);
    if (fd < 0)
        return std::nullopt;
    std::string bytes;
    char buffer[4096];
    while (bytes.size() < kMaxReadBytes) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    unlink(path.c_str()); // a file that stays is read again by the next start: nothing better to do

    HandoffRequest request;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        std::string line = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        request.lines.push_back(line);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    auto line = [&](std::size_t i) { return i < request.lines.size() ? request.lines[i] : std::string(); };
    request.seriesCode = SeriesCodeFromHandoff(line(0));
    request.autoConnect = LeadingInt(line(1)) != 0;
    request.portEntry = line(2);
    request.entryIndex = LeadingInt(line(3));
    return request;
}

int StartProgram(const std::string& path, std::string* error) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    // Only the standard streams go to the child, whatever the caller forgot to mark close-on-exec.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);

    std::string program = path;
    char* argv[] = {program.data(), nullptr};
    pid_t pid = -1;
    int result = posix_spawn(&pid, path.c_str(), &actions, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) {
        if (error)
            *error = std::strerror(result);
        return -1;
    }
    return static_cast<int>(pid);
}
