#include "online/OnlineSelection.h"

#include "framework/core/File.h"
#include "framework/core/Format.h"

OnlineCodes OnlineSelection{};

bool IsOnlineParameterPath(std::string_view path) {
    return path.size() >= 3 && ToUpper(path.substr(path.size() - 3)) == "ONP";
}

std::string OnlineParameterText(const OnlineCodes& codes) {
    std::string text = std::string(OnlineParameterHeader) + "\r\n";
    for (const std::string& code : codes)
        text += code + "\r\n";
    return text;
}

std::optional<OnlineCodes> ParseOnlineParameterText(std::string_view bytes) {
    if (bytes.empty())
        return std::nullopt;
    OnlineCodes codes{};
    std::size_t start = 0;
    for (int line = 0; line <= OnlineRowCount && start < bytes.size(); ++line) {
        std::size_t end = bytes.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos)
            end = bytes.size();
        if (end > start && bytes[end - 1] == '\r')
            --end;
        const std::string_view text = bytes.substr(start, end - start);
        if (line > 0 && text.size() <= OnlineFileMaxLine)
            codes[static_cast<std::size_t>(line - 1)] = std::string(text);
        start = next;
    }
    return codes;
}

OnlineFileRead ReadOnlineParameterFile(const std::string& path) {
    OnlineFileRead result;
    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary, &error)) {
        result.error = error.what();
        return result;
    }
    std::string bytes(OnlineFileMaxBytes + 1, '\0');
    std::size_t got = 0;
    try {
        for (std::size_t n = 1; n > 0 && got < bytes.size(); got += n)
            n = file.Read(bytes.data() + got, bytes.size() - got);
    } catch (const CFileException& e) {
        file.Abort();
        result.error = e.what();
        return result;
    }
    file.Abort();
    if (got > OnlineFileMaxBytes) {
        result.status = OnlineFileStatus::TooLarge;
        return result;
    }
    bytes.resize(got);
    const std::optional<OnlineCodes> codes = ParseOnlineParameterText(bytes);
    result.status = codes ? OnlineFileStatus::Loaded : OnlineFileStatus::Empty;
    if (codes)
        result.codes = *codes;
    return result;
}

bool WriteOnlineParameterFile(const std::string& path, const OnlineCodes& codes, std::string* error) {
    return ReplaceFileContents(path, OnlineParameterText(codes), error);
}
