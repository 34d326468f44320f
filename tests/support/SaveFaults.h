#pragma once
// Saves that do not finish: writes that fail as on a full disk, and a save whose process is stopped
// half-way through its writing and then killed.
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// While it lives, no file of this process grows past `bytes`: a write beyond fails (EFBIG), as it
// would on a full disk. Pipes and terminals are not limited, so the test's output still flows.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldAction_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, old_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldAction_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldAction_)(int) = SIG_DFL;
};

// The sizes of the files in `folder` (named or not) that process `pid` holds open.
inline std::vector<off_t> FilesOpenIn(pid_t pid, const std::string& folder) {
    std::vector<off_t> sizes;
    char* real = realpath(folder.c_str(), nullptr);
    const std::string prefix = std::string(real ? real : folder.c_str()) + "/";
    std::free(real);
    const std::string fds = "/proc/" + std::to_string(pid) + "/fd";
    DIR* dir = opendir(fds.c_str());
    if (!dir)
        return sizes;
    while (const dirent* entry = readdir(dir)) {
        const std::string link = fds + "/" + entry->d_name;
        char target[4096];
        const ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
        struct stat info {};
        if (n > 0 && std::string(target, static_cast<std::size_t>(n)).rfind(prefix, 0) == 0 &&
            stat(link.c_str(), &info) == 0)
            sizes.push_back(info.st_size);
    }
    closedir(dir);
    return sizes;
}

// Runs `save` in a child process whose files may not grow past `bytes`: the write that would pass
// stops the child (SIGSTOP), in the middle of its save. Then `whileStopped` looks at it, and the
// child is killed (SIGKILL, by its pid) and reaped. True when the child was stopped and killed so;
// false when the save ended without reaching the limit.
inline bool KillSaveMidWrite(rlim_t bytes, const std::function<void()>& save,
                             const std::function<void(pid_t)>& whileStopped = {}) {
    const pid_t pid = fork();
    if (pid == 0) {
        struct sigaction stop {};
        stop.sa_handler = [](int) { raise(SIGSTOP); };
        sigaction(SIGXFSZ, &stop, nullptr);
        const rlimit limit{bytes, bytes};
        setrlimit(RLIMIT_FSIZE, &limit);
        save();
        _exit(0);
    }
    if (pid < 0)
        return false;
    int status = 0;
    if (waitpid(pid, &status, WUNTRACED) != pid)
        return false;
    const bool stopped = WIFSTOPPED(status);
    if (stopped && whileStopped)
        whileStopped(pid);
    kill(pid, SIGKILL);
    if (stopped)
        waitpid(pid, &status, 0);
    return stopped && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}
