#pragma once
// Binary file over a POSIX descriptor. Failures raise CFileException, except Open, which reports
// them through its result (and, when given, the exception object).
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

class CFileException : public std::runtime_error {
public:
    enum Cause {
        none,
        fileNotFound,
        accessDenied,
        badPath,
        isLink,
        readError,
        writeError,
        seekError,
        generic
    };
    CFileException() : std::runtime_error(std::string()) {}
    CFileException(Cause cause, int error, const std::string& path, const std::string& what)
        : std::runtime_error(what), cause_(cause), error_(error), path_(path) {}
    Cause GetCause() const { return cause_; }
    int GetError() const { return error_; } // errno of the failed call
    const std::string& GetFileName() const { return path_; }

private:
    Cause cause_ = none;
    int error_ = 0;
    std::string path_;
};

class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareDenyNone = 0x0040, // accepted for readability; files are never locked here
        shareDenyWrite = 0x0020,
        shareExclusive = 0x0010,
        modeNoTruncate = 0x0100,
        modeCreate = 0x1000,
        typeText = 0x4000,
        typeBinary = 0x8000,
        modeNoFollow = 0x10000, // refuse to open through a symbolic link (temporary-folder files)
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile() = default;
    // Opens or raises CFileException.
    CFile(const std::string& path, unsigned flags);
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // modeCreate truncates an existing file unless modeNoTruncate is given; new files get 0644
    // (less the umask). Returns false when the file cannot be opened.
    virtual bool Open(const std::string& path, unsigned flags, CFileException* error = nullptr);
    // Closes; raises CFileException when buffered data cannot be written.
    virtual void Close();
    // Closes without raising (destructors, error paths).
    virtual void Abort();
    bool IsOpen() const { return fd_ >= 0; }

    // Reads up to count bytes; returns how many were read (0 at the end of the file).
    virtual std::size_t Read(void* buffer, std::size_t count);
    // Writes all bytes or raises.
    virtual void Write(const void* buffer, std::size_t count);
    virtual void Flush();

    virtual std::uint64_t Seek(std::int64_t offset, SeekPosition from);
    void SeekToBegin() { Seek(0, begin); }
    std::uint64_t SeekToEnd() { return Seek(0, end); }
    virtual std::uint64_t GetPosition() const;
    std::uint64_t GetLength() const;
    void SetLength(std::uint64_t length);

    const std::string& GetFilePath() const { return path_; }
    std::string GetFileName() const; // the name after the last '/'
    int Handle() const { return fd_; }
    unsigned Flags() const { return flags_; }

protected:
    [[noreturn]] void Fail(CFileException::Cause cause, int error, const char* action) const;

private:
    int fd_ = -1;
    unsigned flags_ = 0;
    std::string path_;
};

// File helpers ---------------------------------------------------------------------------------

bool FileExists(const std::string& path);   // a regular file (links followed)
bool FolderExists(const std::string& path); // a folder (links followed)
bool RemoveFile(const std::string& path);   // true when the file is gone afterwards
// Names (without folder) of the regular files in folder whose names match the wildcard pattern
// ('*' any run, '?' one character; compared as the original platform does, ignoring case), in
// name order. "." and "..", folders and empty names are never listed.
std::vector<std::string> FindFiles(const std::string& folder, const std::string& pattern);
// Whether name matches the wildcard pattern, ignoring case.
bool WildcardMatch(const std::string& pattern, const std::string& name);
// Splits "folder/prefix*.trd" into folder and pattern and lists as FindFiles does.
std::vector<std::string> FindFilesByPattern(const std::string& pathPattern);

// Creates (or truncates) the file in binary mode and runs write on it; false with the reason in
// *error when the file cannot be created or written. The file is closed either way.
bool WriteNewFile(const std::string& path, const std::function<void(CFile&)>& write,
                  std::string* error = nullptr);
// The same for bytes already in memory.
bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string* error = nullptr);
// Writes the bytes to a new file beside path and renames it over path, so a write that fails
// (full disk, no permission) leaves the previous file as it was. A new file gets 0666 less the
// umask, a replaced one keeps its permissions. False with the reason in *error.
bool ReplaceFileContents(const std::string& path, const std::string& bytes, std::string* error = nullptr);
