#include "framework/core/File.h"

#include "framework/core/Paths.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {
CFileException::Cause CauseOf(int error) {
    switch (error) {
    case ENOENT:
        return CFileException::fileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return CFileException::accessDenied;
    case ELOOP:
        return CFileException::isLink;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EISDIR:
        return CFileException::badPath;
    default:
        return CFileException::generic;
    }
}

std::string Describe(const char* action, const std::string& path, int error) {
    return std::string(action) + " \"" + path + "\": " + std::strerror(error);
}

std::atomic<unsigned> replacementCount{0};
std::atomic<bool> namedReplacements{false};

std::pair<std::string, std::string> SplitFolder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? std::string("/") : path.substr(0, slash), path.substr(slash + 1)};
}

// A process that can no longer finish its save: gone, or (when pids wrapped) someone else.
bool ProcessGone(long pid) {
    return pid <= 0 || pid > INT_MAX || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH);
}

// Makes the rename itself durable: without it a power cut may bring the old name back.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
} // namespace

CFile::CFile(const std::string& path, unsigned flags) {
    CFileException error;
    if (!Open(path, flags, &error))
        throw error;
}

CFile::~CFile() {
    CFile::Abort();
}

bool CFile::Open(const std::string& path, unsigned flags, CFileException* error) {
    if (IsOpen()) {
        try {
            Close(); // reopening must not drop what is still buffered
        } catch (const CFileException&) {
            Abort();
        }
    }
    if (flags & modeReplace)
        return OpenReplacement(path, flags, error);
    int oflags = O_CLOEXEC;
    switch (flags & 0x3) {
    case modeWrite:
        oflags |= O_WRONLY;
        break;
    case modeReadWrite:
        oflags |= O_RDWR;
        break;
    default:
        oflags |= O_RDONLY;
        break;
    }
    if (flags & modeCreate) {
        oflags |= O_CREAT;
        if (!(flags & modeNoTruncate))
            oflags |= O_TRUNC;
    }
    const mode_t mode = (flags & modePrivate) ? 0600 : 0644;
    int fd = (flags & modeNoFollow) ? OpenNoFollow(path, oflags, mode) : open(path.c_str(), oflags, mode);
    if (fd >= 0) {
        struct stat info {};
        if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
            close(fd);
            fd = -1;
            errno = EISDIR;
        }
    }
    if (fd < 0) {
        int saved = errno;
        if (error)
            *error = CFileException(CauseOf(saved), saved, path, Describe("Cannot open", path, saved));
        return false;
    }
    fd_ = fd;
    flags_ = flags;
    path_ = path;
    return true;
}

bool CFile::OpenReplacement(const std::string& path, unsigned flags, CFileException* error) {
    auto refuse = [&](int code) {
        if (error)
            *error = CFileException(CauseOf(code), code, path, Describe("Cannot save", path, code));
        return false;
    };
    if (path.empty())
        return refuse(ENOENT);
    std::string target = path;
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        if (flags & modeNoFollow)
            return refuse(ELOOP);
        // Replacing the link itself would cut it from the file it names.
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    const bool replacing = ::stat(target.c_str(), &info) == 0;
    if (replacing) {
        if (S_ISDIR(info.st_mode))
            return refuse(EISDIR);
        if (!S_ISREG(info.st_mode))
            return refuse(EINVAL); // a device or a pipe is written through, never replaced
        // A rename would get past a file the user made read-only; writing in place would not.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return refuse(errno);
    }
    const auto [folder, name] = SplitFolder(target);
    if (name.empty())
        return refuse(EISDIR);
    RemoveStaleReplacements(folder, name);

    const int access = (flags & 0x3) == modeReadWrite ? O_RDWR : O_WRONLY;
    const mode_t mode = (flags & modePrivate) ? 0600 : 0644;
    std::string temporary;
    int fd = namedReplacements ? -1 : ::open(folder.c_str(), O_TMPFILE | access | O_CLOEXEC, mode);
    if (namedReplacements || (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL))) {
        // A file system without nameless files: a named one, cleaned up by a later save when this
        // process dies before it is renamed.
        for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
            temporary = folder + "/" + ReplacementName(name, ::getpid(), replacementCount++);
            fd = ::open(temporary.c_str(), O_CREAT | O_EXCL | O_NOFOLLOW | access | O_CLOEXEC, mode);
            if (fd < 0 && errno != EEXIST)
                break;
        }
    }
    if (fd < 0)
        return refuse(errno);
    if (replacing) {
        // The owner first: a change of owner clears the set-id bits the mode then puts back.
        // (Only root may give a file away; anyone else's new file stays theirs.)
        if ((info.st_uid != ::geteuid() || info.st_gid != ::getegid()) &&
            ::fchown(fd, info.st_uid, info.st_gid) != 0) {
        }
        if (::fchmod(fd, info.st_mode & 07777) != 0) {
            const int code = errno;
            ::close(fd);
            if (!temporary.empty())
                ::unlink(temporary.c_str());
            return refuse(code);
        }
    }
    fd_ = fd;
    flags_ = flags;
    path_ = path;
    target_ = target;
    temporary_ = temporary;
    return true;
}

void CFile::CommitReplacement() {
    auto fail = [this](int code, const char* action) {
        DiscardReplacement();
        Fail(CFileException::writeError, code, action);
    };
    if (::fsync(fd_) != 0)
        fail(errno, "Cannot write");
    const auto [folder, name] = SplitFolder(target_);
    if (temporary_.empty()) {
        // A name for the nameless file, then the rename: a link cannot replace a file.
        const std::string handle = "/proc/self/fd/" + std::to_string(fd_);
        for (int attempt = 0; attempt < 100 && temporary_.empty(); ++attempt) {
            std::string candidate = folder + "/" + ReplacementName(name, ::getpid(), replacementCount++);
            // Through /proc as anyone may; without /proc the privileged way.
            int linked = ::linkat(AT_FDCWD, handle.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW);
            if (linked != 0 && errno != EEXIST)
                linked = ::linkat(fd_, "", AT_FDCWD, candidate.c_str(), AT_EMPTY_PATH);
            if (linked == 0)
                temporary_ = std::move(candidate);
            else if (errno != EEXIST)
                fail(errno, "Cannot save");
        }
        if (temporary_.empty())
            fail(EEXIST, "Cannot save");
    }
    if (::close(std::exchange(fd_, -1)) != 0 && errno != EINTR)
        fail(errno, "Cannot write");
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
        fail(errno, "Cannot save");
    temporary_.clear();
    SyncFolder(folder);
}

void CFile::DiscardReplacement() {
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
    if (!temporary_.empty())
        ::unlink(std::exchange(temporary_, std::string()).c_str());
}

void CFile::Close() {
    if (fd_ < 0)
        return;
    if (flags_ & modeReplace)
        return CommitReplacement();
    int fd = std::exchange(fd_, -1);
    if (close(fd) != 0 && errno != EINTR)
        Fail(CFileException::writeError, errno, "Cannot close");
}

void CFile::Abort() {
    if (flags_ & modeReplace)
        DiscardReplacement();
    else if (fd_ >= 0)
        close(std::exchange(fd_, -1));
}

void CFile::Fail(CFileException::Cause cause, int error, const char* action) const {
    throw CFileException(cause, error, path_, Describe(action, path_, error));
}

std::size_t CFile::Read(void* buffer, std::size_t count) {
    if (fd_ < 0)
        Fail(CFileException::readError, EBADF, "Cannot read");
    std::size_t done = 0;
    auto* bytes = static_cast<char*>(buffer);
    while (done < count) {
        ssize_t got = ::read(fd_, bytes + done, count - done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            Fail(CFileException::readError, errno, "Cannot read");
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void CFile::Write(const void* buffer, std::size_t count) {
    if (fd_ < 0)
        Fail(CFileException::writeError, EBADF, "Cannot write");
    std::size_t done = 0;
    const auto* bytes = static_cast<const char*>(buffer);
    while (done < count) {
        ssize_t put = ::write(fd_, bytes + done, count - done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            Fail(CFileException::writeError, errno, "Cannot write");
        }
        done += static_cast<std::size_t>(put);
    }
}

void CFile::Flush() {}

std::uint64_t CFile::Seek(std::int64_t offset, SeekPosition from) {
    int whence = from == begin ? SEEK_SET : from == current ? SEEK_CUR : SEEK_END;
    off_t at = lseek(fd_, static_cast<off_t>(offset), whence);
    if (at < 0)
        Fail(CFileException::seekError, errno, "Cannot seek in");
    return static_cast<std::uint64_t>(at);
}

std::uint64_t CFile::GetPosition() const {
    off_t at = lseek(fd_, 0, SEEK_CUR);
    if (at < 0)
        Fail(CFileException::seekError, errno, "Cannot seek in");
    return static_cast<std::uint64_t>(at);
}

std::uint64_t CFile::GetLength() const {
    struct stat info {};
    if (fstat(fd_, &info) != 0)
        Fail(CFileException::generic, errno, "Cannot query");
    return static_cast<std::uint64_t>(info.st_size);
}

void CFile::SetLength(std::uint64_t length) {
    if (ftruncate(fd_, static_cast<off_t>(length)) != 0)
        Fail(CFileException::writeError, errno, "Cannot resize");
}

std::string CFile::GetFileName() const {
    std::size_t slash = path_.rfind('/');
    return slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool FolderExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool RemoveFile(const std::string& path) {
    return unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool WildcardMatch(const std::string& pattern, const std::string& name) {
    auto same = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    };
    // Greedy match with one back-track point: linear in practice, never recursive.
    std::size_t p = 0, n = 0, starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || (pattern[p] != '*' && same(pattern[p], name[n])))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<std::string> FindFiles(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    std::string base = folder.empty() ? std::string(".") : folder;
    DIR* dir = opendir(base.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.empty() || name == "." || name == ".." || !WildcardMatch(pattern, name))
            continue;
        if (FileExists(WithTrailingSlash(base) + name))
            names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> FindFilesByPattern(const std::string& pathPattern) {
    std::size_t slash = pathPattern.rfind('/');
    if (slash == std::string::npos)
        return FindFiles(".", pathPattern);
    return FindFiles(slash == 0 ? std::string("/") : pathPattern.substr(0, slash),
                     pathPattern.substr(slash + 1));
}

bool WriteNewFile(const std::string& path, const std::function<void(CFile&)>& write, std::string* error,
                  unsigned extraFlags) {
    CFile file;
    CFileException fileError;
    if (!file.Open(path, CFile::modeReplace | CFile::modeWrite | CFile::typeBinary | extraFlags,
                   &fileError)) {
        if (error)
            *error = fileError.what();
        return false;
    }
    try {
        write(file);
        file.Close();
    } catch (const std::exception& e) {
        file.Abort();
        if (error)
            *error = e.what();
        return false;
    }
    return true;
}

bool ReplaceFileContents(const std::string& path, const std::string& bytes, std::string* error,
                         unsigned extraFlags) {
    return WriteNewFile(
        path, [&](CFile& file) { file.Write(bytes.data(), bytes.size()); }, error, extraFlags);
}

std::string ReplacementName(const std::string& name, long pid, unsigned count) {
    return "." + name + "~" + std::to_string(pid) + "-" + std::to_string(count) + ".saving";
}

void RemoveStaleReplacements(const std::string& folder, const std::string& name) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    const std::string prefix = "." + name + "~";
    constexpr std::string_view suffix = ".saving";
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view found = entry->d_name;
        if (found.size() <= prefix.size() + suffix.size() || !found.starts_with(prefix) ||
            !found.ends_with(suffix))
            continue;
        // "<pid>-<count>" between the two; anything else is not ours to remove.
        const std::string_view middle =
            found.substr(prefix.size(), found.size() - prefix.size() - suffix.size());
        const std::size_t dash = middle.find('-');
        const std::string_view pidText = middle.substr(0, dash);
        const auto digits = [](std::string_view text) {
            return !text.empty() && text.size() <= 10 &&
                   std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
        };
        if (dash == std::string_view::npos || !digits(pidText) || !digits(middle.substr(dash + 1)))
            continue;
        const long pid = std::stol(std::string(pidText));
        if (pid != ::getpid() && ProcessGone(pid))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

void SetNamedReplacementsForTesting(bool named) {
    namedReplacements = named;
}
