#pragma once
// Binary file over a POSIX descriptor. Failures raise CFileException, except Open, which reports
// them through its result (and, when given, the exception object).
//
// A file the program writes over is opened with modeReplace: the bytes go to a new file in the same
// folder, and Close flushes it to the disk and renames it over the old one in one step. A save that
// fails, is abandoned (Abort, or the object destroyed without Close) or is killed half-way leaves the
// old file as it was. The new file first has no name at all where the file system allows it, so a
// killed process leaves nothing behind; elsewhere it is named ".<name>~<pid>-<n>.saving", and the
// next save of the same file removes those whose process is gone.
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
        // Write a whole new file and put it in the path's place on Close (implies create and write).
        // A replaced file keeps its permissions (and its owner, where this user may set it); a
        // symbolic link keeps pointing at the file it named, which is the one replaced (refused with
        // modeNoFollow). Only a regular file the user may write is replaced.
        modeReplace = 0x20000,
        modePrivate = 0x40000, // a file made new is readable by its owner only (0600, less the umask)
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
    // Closes; raises CFileException when buffered data cannot be written. With modeReplace this is
    // the moment the new file takes the old one's place; when it raises, the old file is untouched.
    virtual void Close();
    // Closes without raising (destructors, error paths); a modeReplace file is thrown away.
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
    bool OpenReplacement(const std::string& path, unsigned flags, CFileException* error);
    void CommitReplacement();
    void DiscardReplacement();

    int fd_ = -1;
    unsigned flags_ = 0;
    std::string path_;
    std::string target_;    // modeReplace: the file replaced (a link's target)
    std::string temporary_; // modeReplace: the new file's name while it has one
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

// Writes the file anew in binary mode (modeReplace, plus the extra flags) through write; false with
// the reason in *error when it cannot be created or written, and then the old file is as it was.
bool WriteNewFile(const std::string& path, const std::function<void(CFile&)>& write,
                  std::string* error = nullptr, unsigned extraFlags = 0);
// The same for bytes already in memory.
bool ReplaceFileContents(const std::string& path, const std::string& bytes, std::string* error = nullptr,
                         unsigned extraFlags = 0);

// The names a modeReplace save of the file `name` gives its new file while it has one, for a process
// and a count: ".<name>~<pid>-<count>.saving".
std::string ReplacementName(const std::string& name, long pid, unsigned count);
// Removes from the folder the new files that saves of `name` left behind when their process ended
// before the save did (killed, powered off); those of running processes stay.
void RemoveStaleReplacements(const std::string& folder, const std::string& name);
// Makes modeReplace name its new files from the start, as on a file system without nameless files
// (tests; false restores the normal way).
void SetNamedReplacementsForTesting(bool named);
