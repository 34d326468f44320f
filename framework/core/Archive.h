#pragma once
// Binary archive over a CFile: numbers little-endian, texts in the counted-string form
//   length < 255            : 1 byte length, then the bytes
//   length < 65534          : 0xFF, 16-bit length, then the bytes (0xFFFE is the wide marker)
//   length < 0xFFFFFFFF     : 0xFF, 0xFFFF, 32-bit length, then the bytes
// Loading also accepts the wide marker (0xFF, 0xFFFE, then a counted UTF-16 text, returned as
// UTF-8). Every length and count read is bounded, and a short or malformed stream raises
// CArchiveException instead of reading past its end.
#include "framework/core/File.h"
#include "framework/core/Types.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

class CArchiveException : public std::runtime_error {
public:
    enum Cause { generic, readOnly, writeOnly, endOfFile, badLength, badFormat, writeError, readError };
    CArchiveException(Cause cause, const std::string& what) : std::runtime_error(what), cause_(cause) {}
    Cause GetCause() const { return cause_; }

private:
    Cause cause_;
};

class CArchive {
public:
    enum Mode { store = 0, load = 1 };
    // Largest text the loader accepts (a longer length is refused as malformed).
    static constexpr std::uint64_t kDefaultStringCap = 16u * 1024u * 1024u;

    CArchive(CFile* file, Mode mode, std::size_t bufferSize = 4096);
    // Writes what is still buffered when storing; errors are swallowed here, call Close to see them.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return mode_ == store; }
    bool IsLoading() const { return mode_ == load; }
    CFile* GetFile() const { return file_; }

    // Writes what is buffered (storing) and detaches from the file; the file stays open.
    void Close();
    // Detaches from the file without writing what is still buffered (after a failure).
    void Abort();
    void Flush();

    void Write(const void* data, std::size_t count);
    // Reads exactly count bytes or raises CArchiveException(endOfFile).
    void Read(void* data, std::size_t count);

    void WriteString(const std::string& text); // counted form
    std::string ReadString();                  // counted form, narrow or wide
    // Reads a signed 32-bit count and raises CArchiveException(badLength) unless 0 <= count <= max.
    std::int32_t ReadCount(std::int32_t max);

    void SetStringCap(std::uint64_t cap) { stringCap_ = cap; }

    // Bytes still to be read (buffered plus the rest of the file), or UINT64_MAX when unknown.
    // Loaders of layouts that grew over the years ask it whether an optional block follows.
    std::uint64_t Remaining() const;

    CArchive& operator<<(int value);
    CArchive& operator<<(short value);
    CArchive& operator<<(unsigned value);
    CArchive& operator<<(BYTE value);
    CArchive& operator<<(WORD value);
    CArchive& operator<<(char value);
    CArchive& operator<<(std::int64_t value);
    CArchive& operator<<(std::uint64_t value);
    CArchive& operator<<(float value);
    CArchive& operator<<(double value);
    CArchive& operator<<(const std::string& text);
    CArchive& operator<<(const char* text);

    CArchive& operator>>(int& value);
    CArchive& operator>>(short& value);
    CArchive& operator>>(unsigned& value);
    CArchive& operator>>(BYTE& value);
    CArchive& operator>>(WORD& value);
    CArchive& operator>>(char& value);
    CArchive& operator>>(std::int64_t& value);
    CArchive& operator>>(std::uint64_t& value);
    CArchive& operator>>(float& value);
    CArchive& operator>>(double& value);
    CArchive& operator>>(std::string& text);

private:
    void RequireStoring() const;
    void RequireLoading() const;
    void FlushBuffer();
    std::uint64_t ReadLength(bool& wide);
    template <typename T> void PutLE(T value);
    template <typename T> T GetLE();

    CFile* file_;
    Mode mode_;
    std::vector<unsigned char> buffer_;
    std::size_t bufferPos_ = 0; // next byte to read / number of bytes waiting to be written
    std::size_t bufferEnd_ = 0; // bytes held when loading
    std::uint64_t stringCap_ = kDefaultStringCap;
};
