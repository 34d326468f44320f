#include "framework/core/Archive.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace {
std::string LengthText(std::uint64_t length) {
    return std::to_string(length);
}

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// UTF-16 (little-endian code units) to UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::vector<std::uint16_t>& units) {
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::uint32_t unit = units[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit < 0xE000) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}
} // namespace

CArchive::CArchive(CFile* file, Mode mode, std::size_t bufferSize)
    : file_(file), mode_(mode), buffer_(std::max<std::size_t>(bufferSize, 16)) {
    if (!file_)
        throw CArchiveException(CArchiveException::generic, "Archive without a file");
}

CArchive::~CArchive() {
    try {
        if (file_ && IsStoring())
            FlushBuffer();
    } catch (...) {
        // A destructor cannot report; Close reports.
    }
}

void CArchive::Close() {
    if (!file_)
        return;
    if (IsStoring())
        FlushBuffer();
    else if (bufferPos_ < bufferEnd_) {
        // Leave the file where the reader stands, so the caller can go on reading it.
        try {
            file_->Seek(-static_cast<std::int64_t>(bufferEnd_ - bufferPos_), CFile::current);
        } catch (const CFileException&) {
        }
    }
    file_ = nullptr;
}

void CArchive::Abort() {
    bufferPos_ = bufferEnd_ = 0;
    file_ = nullptr;
}

void CArchive::Flush() {
    if (file_ && IsStoring())
        FlushBuffer();
}

void CArchive::RequireStoring() const {
    if (!file_)
        throw CArchiveException(CArchiveException::generic, "Archive already closed");
    if (!IsStoring())
        throw CArchiveException(CArchiveException::readOnly, "Archive is open for loading, not storing");
}

void CArchive::RequireLoading() const {
    if (!file_)
        throw CArchiveException(CArchiveException::generic, "Archive already closed");
    if (!IsLoading())
        throw CArchiveException(CArchiveException::writeOnly, "Archive is open for storing, not loading");
}

void CArchive::FlushBuffer() {
    if (bufferPos_ == 0)
        return;
    std::size_t count = std::exchange(bufferPos_, 0);
    try {
        file_->Write(buffer_.data(), count);
    } catch (const CFileException& error) {
        throw CArchiveException(CArchiveException::writeError, error.what());
    }
}

void CArchive::Write(const void* data, std::size_t count) {
    RequireStoring();
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (count > 0) {
        if (bufferPos_ == buffer_.size())
            FlushBuffer();
        std::size_t part = std::min(count, buffer_.size() - bufferPos_);
        std::memcpy(buffer_.data() + bufferPos_, bytes, part);
        bufferPos_ += part;
        bytes += part;
        count -= part;
    }
}

void CArchive::Read(void* data, std::size_t count) {
    RequireLoading();
    auto* bytes = static_cast<unsigned char*>(data);
    while (count > 0) {
        if (bufferPos_ == bufferEnd_) {
            try {
                bufferEnd_ = file_->Read(buffer_.data(), buffer_.size());
            } catch (const CFileException& error) {
                throw CArchiveException(CArchiveException::readError, error.what());
            }
            bufferPos_ = 0;
            if (bufferEnd_ == 0)
                throw CArchiveException(CArchiveException::endOfFile,
                                        "Unexpected end of file in \"" + file_->GetFilePath() + "\"");
        }
        std::size_t part = std::min(count, bufferEnd_ - bufferPos_);
        std::memcpy(bytes, buffer_.data() + bufferPos_, part);
        bufferPos_ += part;
        bytes += part;
        count -= part;
    }
}

std::uint64_t CArchive::Remaining() const {
    try {
        std::uint64_t length = file_->GetLength();
        std::uint64_t position = file_->GetPosition();
        std::uint64_t rest = length > position ? length - position : 0;
        return rest + (bufferEnd_ - bufferPos_);
    } catch (const CFileException&) {
        return std::numeric_limits<std::uint64_t>::max(); // a pipe: the read itself will stop short
    }
}

template <typename T> void CArchive::PutLE(T value) {
    unsigned char bytes[sizeof(T)];
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof(T));
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
    Write(bytes, sizeof(T));
}

template <typename T> T CArchive::GetLE() {
    unsigned char bytes[sizeof(T)];
    Read(bytes, sizeof(T));
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bits |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    T value;
    std::memcpy(&value, &bits, sizeof(T));
    return value;
}

void CArchive::WriteString(const std::string& text) {
    std::uint64_t length = text.size();
    if (length < 0xFF) {
        PutLE<std::uint8_t>(static_cast<std::uint8_t>(length));
    } else {
        PutLE<std::uint8_t>(0xFF);
        // 0xFFFE is the wide-text marker, so 65534 already takes the 32-bit form.
        if (length < 0xFFFE) {
            PutLE<std::uint16_t>(static_cast<std::uint16_t>(length));
        } else {
            PutLE<std::uint16_t>(0xFFFF);
            if (length >= 0xFFFFFFFFu)
                throw CArchiveException(CArchiveException::badLength,
                                        "Text of " + LengthText(length) + " bytes is too long to store");
            PutLE<std::uint32_t>(static_cast<std::uint32_t>(length));
        }
    }
    Write(text.data(), text.size());
}

std::uint64_t CArchive::ReadLength(bool& wide) {
    wide = false;
    for (int marker = 0; marker < 2; ++marker) {
        std::uint8_t small = GetLE<std::uint8_t>();
        if (small < 0xFF)
            return small;
        std::uint16_t middle = GetLE<std::uint16_t>();
        if (middle == 0xFFFE) {
            if (wide)
                break; // a second marker is malformed
            wide = true;
            continue;
        }
        if (middle < 0xFFFF)
            return middle;
        std::uint32_t large = GetLE<std::uint32_t>();
        if (large < 0xFFFFFFFFu)
            return large;
        return GetLE<std::uint64_t>();
    }
    throw CArchiveException(CArchiveException::badFormat,
                            "Malformed text length in \"" + file_->GetFilePath() + "\"");
}

std::string CArchive::ReadString() {
    RequireLoading();
    bool wide = false;
    std::uint64_t length = ReadLength(wide);
    std::uint64_t bytes = wide ? length * 2 : length;
    if (length > stringCap_ || (wide && length > std::numeric_limits<std::uint64_t>::max() / 2))
        throw CArchiveException(CArchiveException::badLength,
                                "Text length " + LengthText(length) + " in \"" + file_->GetFilePath() +
                                    "\" exceeds the limit of " + LengthText(stringCap_));
    if (bytes > Remaining())
        throw CArchiveException(CArchiveException::badLength, "Text length " + LengthText(length) + " in \"" +
                                                                  file_->GetFilePath() +
                                                                  "\" runs past the end of the file");
    if (!wide) {
        std::string text(static_cast<std::size_t>(length), '\0');
        Read(text.data(), text.size());
        return text;
    }
    std::vector<std::uint16_t> units(static_cast<std::size_t>(length));
    for (auto& unit : units)
        unit = GetLE<std::uint16_t>();
    return Utf16ToUtf8(units);
}

std::int32_t CArchive::ReadCount(std::int32_t max) {
    std::int32_t count = GetLE<std::int32_t>();
    if (count < 0 || count > max)
        throw CArchiveException(CArchiveException::badLength, "Count " + std::to_string(count) + " in \"" +
                                                                  file_->GetFilePath() + "\" is outside 0.." +
                                                                  std::to_string(max));
    return count;
}

CArchive& CArchive::operator<<(int value) {
    PutLE<std::int32_t>(value);
    return *this;
}
CArchive& CArchive::operator<<(short value) {
    PutLE<std::int16_t>(value);
    return *this;
}
CArchive& CArchive::operator<<(unsigned value) {
    PutLE<std::uint32_t>(value);
    return *this;
}
CArchive& CArchive::operator<<(BYTE value) {
    PutLE<std::uint8_t>(value);
    return *this;
}
CArchive& CArchive::operator<<(WORD value) {
    PutLE<std::uint16_t>(value);
    return *this;
}
CArchive& CArchive::operator<<(char value) {
    PutLE<char>(value);
    return *this;
}
CArchive& CArchive::operator<<(std::int64_t value) {
    PutLE<std::int64_t>(value);
    return *this;
}
CArchive& CArchive::operator<<(std::uint64_t value) {
    PutLE<std::uint64_t>(value);
    return *this;
}
CArchive& CArchive::operator<<(float value) {
    PutLE<float>(value);
    return *this;
}
CArchive& CArchive::operator<<(double value) {
    PutLE<double>(value);
    return *this;
}
CArchive& CArchive::operator<<(const std::string& text) {
    WriteString(text);
    return *this;
}
CArchive& CArchive::operator<<(const char* text) {
    WriteString(text ? text : "");
    return *this;
}

CArchive& CArchive::operator>>(int& value) {
    value = GetLE<std::int32_t>();
    return *this;
}
CArchive& CArchive::operator>>(short& value) {
    value = GetLE<std::int16_t>();
    return *this;
}
CArchive& CArchive::operator>>(unsigned& value) {
    value = GetLE<std::uint32_t>();
    return *this;
}
CArchive& CArchive::operator>>(BYTE& value) {
    value = GetLE<std::uint8_t>();
    return *this;
}
CArchive& CArchive::operator>>(WORD& value) {
    value = GetLE<std::uint16_t>();
    return *this;
}
CArchive& CArchive::operator>>(char& value) {
    value = GetLE<char>();
    return *this;
}
CArchive& CArchive::operator>>(std::int64_t& value) {
    value = GetLE<std::int64_t>();
    return *this;
}
CArchive& CArchive::operator>>(std::uint64_t& value) {
    value = GetLE<std::uint64_t>();
    return *this;
}
CArchive& CArchive::operator>>(float& value) {
    value = GetLE<float>();
    return *this;
}
CArchive& CArchive::operator>>(double& value) {
    value = GetLE<double>();
    return *this;
}
CArchive& CArchive::operator>>(std::string& text) {
    text = ReadString();
    return *this;
}
