#include "framework/core/File.h"

#include "framework/core/Paths.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
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
    int fd = (flags & modeNoFollow) ? OpenNoFollow(path, oflags, 0644) : open(path.c_str(), oflags, 0644);
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

void CFile::Close() {
    if (fd_ < 0)
        return;
    int fd = std::exchange(fd_, -1);
    if (close(fd) != 0 && errno != EINTR)
        Fail(CFileException::writeError, errno, "Cannot close");
}

void CFile::Abort() {
    if (fd_ >= 0)
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

bool WriteNewFile(const std::string& path, const std::function<void(CFile&)>& write, std::string* error) {
    CFile file;
    CFileException fileError;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary, &fileError)) {
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

bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string* error) {
    return WriteNewFile(
        path, [&](CFile& file) { file.Write(bytes.data(), bytes.size()); }, error);
}

bool ReplaceFileContents(const std::string& path, const std::string& bytes, std::string* error) {
    auto fail = [error, &path](const char* step, int code) {
        if (error)
            *error = path + ": " + step + ": " + std::strerror(code);
        return false;
    };
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty())
        return fail("no file name", EINVAL);
    struct stat existing {};
    const bool replacing = ::stat(path.c_str(), &existing) == 0;
    if (replacing && !S_ISREG(existing.st_mode))
        return fail("not a regular file", EISDIR);
    // A new file takes its permissions from the umask through open(); a replaced one keeps its own.
    static std::atomic<unsigned> serial{0};
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = folder + "/." + name + "." + std::to_string(::getpid()) + "." + std::to_string(serial++);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return fail("cannot create", errno);
    auto abandon = [&](const char* step) {
        const int code = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
        return fail(step, code);
    };
    if (replacing && ::fchmod(fd, existing.st_mode & 07777) != 0)
        return abandon("cannot set permissions");
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return abandon("cannot write");
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0)
        return abandon("cannot write");
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(temporary.c_str());
        return fail("cannot write", code);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int code = errno;
        ::unlink(temporary.c_str());
        return fail("cannot replace", code);
    }
    return true;
}
