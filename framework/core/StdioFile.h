#pragma once
// Line-oriented file. In text mode (the default) every "\n" written is stored as CR LF, so files
// stay byte-compatible with the ones the program always wrote; reading accepts CR LF and LF.
// With typeBinary nothing is translated and ReadString strips only the LF.
#include "framework/core/File.h"

#include <string>
#include <vector>

class CStdioFile : public CFile {
public:
    CStdioFile() = default;
    // Opens or raises CFileException.
    CStdioFile(const std::string& path, unsigned flags);
    ~CStdioFile() override;

    bool Open(const std::string& path, unsigned flags, CFileException* error = nullptr) override;
    void Close() override;
    void Abort() override;

    // Reads the next line without its line end. Returns false at the end of the file when nothing
    // was left to read. A last line without a line end is still returned.
    bool ReadString(std::string& line);
    // Writes the text; in text mode each "\n" becomes CR LF. Raises CFileException on failure.
    void WriteString(const std::string& text);

    std::size_t Read(void* buffer, std::size_t count) override;
    void Write(const void* buffer, std::size_t count) override;
    void Flush() override;
    std::uint64_t Seek(std::int64_t offset, SeekPosition from) override;
    std::uint64_t GetPosition() const override;

    bool IsTextMode() const { return text_; }

private:
    bool FillBuffer();
    void FlushWrites();

    bool text_ = true;
    std::vector<char> readBuffer_;
    std::size_t readPos_ = 0;
    std::string writeBuffer_;
};
