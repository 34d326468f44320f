#include "framework/core/Paths.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::mutex programFolderMutex;
std::string programFolderOverride;

std::string EnvOrEmpty(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string HomeFolder() {
    std::string home = EnvOrEmpty("HOME");
    if (!home.empty())
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return {};
}

// Creates every missing folder of the path with the given mode.
bool MakeFolders(const std::string& path, mode_t mode) {
    if (path.empty())
        return false;
    for (std::size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos != path.size() && path[pos] != '/')
            continue;
        std::string part = path.substr(0, pos);
        if (mkdir(part.c_str(), mode) != 0 && errno != EEXIST)
            return false;
    }
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A private folder is only trusted when it is a real folder (not a link), owned by us and closed
// to everybody else; otherwise another user could plant or read our files.
std::string WithoutLeadingSlashes(const std::string& name) {
    std::size_t first = name.find_first_not_of('/');
    return first == std::string::npos ? std::string() : name.substr(first);
}

bool IsPrivateFolder(const std::string& folder) {
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid())
        return false;
    if ((info.st_mode & 077) != 0 && chmod(folder.c_str(), 0700) != 0)
        return false;
    return true;
}
} // namespace

std::string WithTrailingSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

std::string ProgramFolder() {
    {
        std::lock_guard lock(programFolderMutex);
        if (!programFolderOverride.empty())
            return programFolderOverride;
    }
    char buffer[4096];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return ".";
    std::string path(buffer, static_cast<std::size_t>(length));
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

void SetProgramFolderForTesting(const std::string& folder) {
    std::lock_guard lock(programFolderMutex);
    programFolderOverride = folder;
    while (programFolderOverride.size() > 1 && programFolderOverride.back() == '/')
        programFolderOverride.pop_back();
}

bool IsWritableFolder(const std::string& folder) {
    struct stat info {};
    return !folder.empty() && stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string UserConfigFolder() {
    std::string base = EnvOrEmpty("XDG_CONFIG_HOME");
    if (base.empty() || base.front() != '/') {
        std::string home = HomeFolder();
        if (home.empty())
            return {};
        base = WithTrailingSlash(home) + ".config";
    }
    std::string folder = WithTrailingSlash(base) + "KeloServo/";
    MakeFolders(folder.substr(0, folder.size() - 1), 0700);
    return folder;
}

std::string ProgramFolderFile(const std::string& name) {
    std::string plain = WithoutLeadingSlashes(name);
    std::string folder = ProgramFolder();
    if (IsWritableFolder(folder))
        return WithTrailingSlash(folder) + plain;
    std::string user = UserConfigFolder();
    return user.empty() ? WithTrailingSlash(folder) + plain : user + plain;
}

std::string TempFolder() {
    std::string runtime = EnvOrEmpty("XDG_RUNTIME_DIR");
    if (!runtime.empty() && runtime.front() == '/' && IsWritableFolder(runtime))
        return WithTrailingSlash(runtime);
    std::string base = EnvOrEmpty("TMPDIR");
    if (base.empty() || base.front() != '/')
        base = "/tmp";
    std::string folder = WithTrailingSlash(base) + "keloservo-" + std::to_string(geteuid());
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return {};
    if (!IsPrivateFolder(folder))
        return {};
    return folder + "/";
}

std::string TempFolderFile(const std::string& name) {
    std::string folder = TempFolder();
    return folder.empty() ? folder : folder + WithoutLeadingSlashes(name);
}

std::string VirtualPortsFolder() {
    std::string folder = TempFolder();
    return folder.empty() ? folder : folder + "ports/";
}

std::string EnsureVirtualPortsFolder() {
    std::string folder = VirtualPortsFolder();
    if (folder.empty() || (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST))
        return {};
    struct stat info {};
    return lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? folder : std::string();
}

std::string ProfilePath() {
    std::string folder = UserConfigFolder();
    return folder.empty() ? folder : folder + "profile.ini";
}

int OpenNoFollow(const std::string& path, int flags, mode_t mode) {
    return open(path.c_str(), flags | O_NOFOLLOW | O_CLOEXEC, mode);
}

std::vector<std::string> TemplateFontFiles() {
    std::vector<std::string> folders;
    if (const char* dirs = std::getenv("KELO_FONT_DIRS")) {
        std::string list = dirs;
        for (std::size_t start = 0; start <= list.size();) {
            const std::size_t end = std::min(list.find(':', start), list.size());
            if (end > start)
                folders.push_back(WithTrailingSlash(list.substr(start, end - start)));
            start = end + 1;
        }
    } else {
        folders.push_back("/usr/share/wine/fonts/");
    }
    std::vector<std::string> files;
    for (const std::string& folder : folders)
        for (const char* name : {"tahoma.ttf", "tahomabd.ttf", "ms_sans_serif.ttf"}) {
            struct stat info {};
            if (stat((folder + name).c_str(), &info) == 0 && S_ISREG(info.st_mode))
                files.push_back(folder + name);
        }
    return files;
}
