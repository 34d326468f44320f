#include "framework/core/StdioFile.h"

#include <cstring>

namespace {
constexpr std::size_t kChunk = 4096;
}

CStdioFile::CStdioFile(const std::string& path, unsigned flags) {
    CFileException error;
    if (!Open(path, flags, &error))
        throw error;
}

CStdioFile::~CStdioFile() {
    try {
        FlushWrites();
    } catch (const CFileException&) {
        // A destructor cannot report; callers who care call Close.
    }
    CFile::Abort();
}

bool CStdioFile::Open(const std::string& path, unsigned flags, CFileException* error) {
    bool opened = CFile::Open(path, flags, error); // closes (and flushes) a file still open
    text_ = !(flags & typeBinary);
    return opened;
}

void CStdioFile::Close() {
    if (!IsOpen())
        return;
    try {
        FlushWrites();
    } catch (...) {
        CFile::Abort();
        throw;
    }
    readBuffer_.clear();
    readPos_ = 0;
    CFile::Close();
}

void CStdioFile::Abort() {
    writeBuffer_.clear();
    readBuffer_.clear();
    readPos_ = 0;
    CFile::Abort();
}

bool CStdioFile::FillBuffer() {
    if (readPos_ > 0) {
        readBuffer_.erase(readBuffer_.begin(), readBuffer_.begin() + static_cast<std::ptrdiff_t>(readPos_));
        readPos_ = 0;
    }
    std::size_t held = readBuffer_.size();
    readBuffer_.resize(held + kChunk);
    std::size_t got = CFile::Read(readBuffer_.data() + held, kChunk);
    readBuffer_.resize(held + got);
    return got > 0;
}

bool CStdioFile::ReadString(std::string& line) {
    FlushWrites();
    line.clear();
    bool any = false;
    for (;;) {
        if (readPos_ >= readBuffer_.size() && !FillBuffer())
            break;
        any = true;
        const char* start = readBuffer_.data() + readPos_;
        std::size_t left = readBuffer_.size() - readPos_;
        const void* found = std::memchr(start, '\n', left);
        if (!found) {
            line.append(start, left);
            readPos_ = readBuffer_.size();
            continue;
        }
        std::size_t length = static_cast<std::size_t>(static_cast<const char*>(found) - start);
        line.append(start, length);
        readPos_ += length + 1;
        if (text_ && !line.empty() && line.back() == '\r')
            line.pop_back();
        return true;
    }
    return any;
}

std::size_t CStdioFile::Read(void* buffer, std::size_t count) {
    FlushWrites();
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        if (readPos_ >= readBuffer_.size() && !FillBuffer())
            break;
        char c = readBuffer_[readPos_];
        if (text_ && c == '\r') {
            // CR LF reads as LF; look ahead across the buffer's end.
            if (readPos_ + 1 >= readBuffer_.size())
                FillBuffer();
            if (readPos_ + 1 < readBuffer_.size() && readBuffer_[readPos_ + 1] == '\n') {
                ++readPos_;
                c = '\n';
            }
        }
        out[done++] = c;
        ++readPos_;
    }
    return done;
}

void CStdioFile::Write(const void* buffer, std::size_t count) {
    const auto* bytes = static_cast<const char*>(buffer);
    if (readPos_ < readBuffer_.size()) {
        // Writing after buffered reads: put the descriptor back where the reader stands.
        CFile::Seek(-static_cast<std::int64_t>(readBuffer_.size() - readPos_), current);
    }
    readBuffer_.clear();
    readPos_ = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (text_ && bytes[i] == '\n')
            writeBuffer_ += '\r';
        writeBuffer_ += bytes[i];
    }
    if (writeBuffer_.size() >= kChunk)
        FlushWrites();
}

void CStdioFile::WriteString(const std::string& text) {
    Write(text.data(), text.size());
}

void CStdioFile::FlushWrites() {
    if (writeBuffer_.empty())
        return;
    std::string pending;
    pending.swap(writeBuffer_);
    CFile::Write(pending.data(), pending.size());
}

void CStdioFile::Flush() {
    FlushWrites();
}

std::uint64_t CStdioFile::Seek(std::int64_t offset, SeekPosition from) {
    FlushWrites();
    if (from == current)
        offset -= static_cast<std::int64_t>(readBuffer_.size() - readPos_);
    readBuffer_.clear();
    readPos_ = 0;
    return CFile::Seek(offset, from);
}

std::uint64_t CStdioFile::GetPosition() const {
    return CFile::GetPosition() + writeBuffer_.size() - (readBuffer_.size() - readPos_);
}
