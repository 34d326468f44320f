#include "shell/UserFiles.h"

#include "framework/core/File.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"

namespace {
std::string FileNamePart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
} // namespace

bool HasExtension(const std::string& path, const std::string& ext) {
    const std::string name = FileNamePart(path);
    const std::size_t dot = name.rfind('.');
    return dot != std::string::npos && dot > 0 && EqualsNoCase(name.substr(dot + 1), ext);
}

std::optional<std::string> SavePathFor(const std::string& chosen, const std::string& defaultExt) {
    if (FileNamePart(chosen).empty())
        return std::nullopt;
    const std::string path = ApplyDefaultExtension(chosen, defaultExt);
    if (!HasExtension(path, defaultExt))
        return std::nullopt;
    return path;
}

std::string WrongExtensionMessage(const std::string& defaultExt) {
    return "The file name must end in ." + defaultExt + ".\nNothing was saved.";
}

UserFileResult SaveUserFile(const std::string& chosen, const std::string& defaultExt,
                            const std::string& bytes, const std::string& caption) {
    const std::optional<std::string> path = SavePathFor(chosen, defaultExt);
    if (!path) {
        ShowMessage(WrongExtensionMessage(defaultExt), caption, MB_OK | MB_ICONSTOP);
        return UserFileResult::Refused;
    }
    std::string error;
    if (!ReplaceFileContents(*path, bytes, &error)) {
        ShowMessage("Error: Failed to save file! \n" + error, caption, MB_OK | MB_ICONSTOP);
        return UserFileResult::Refused;
    }
    return UserFileResult::Done;
}

std::optional<TextLines> ReadLines(const std::string& path, std::size_t maxLines, std::size_t maxBytes) {
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary))
        return std::nullopt;
    std::string bytes(maxBytes + 1, '\0');
    std::size_t got = 0;
    try {
        while (got < bytes.size()) {
            const std::size_t n = file.Read(bytes.data() + got, bytes.size() - got);
            if (n == 0)
                break;
            got += n;
        }
    } catch (const CFileException&) {
        file.Abort();
        return std::nullopt;
    }
    file.Abort();
    TextLines result;
    const bool overflow = got > maxBytes;
    bytes.resize(std::min(got, maxBytes));
    std::size_t start = 0;
    bool lastEnded = true; // the last line taken ended with its LF inside the bytes read
    while (start < bytes.size() && result.lines.size() < maxLines) {
        std::size_t end = bytes.find('\n', start);
        const std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
        lastEnded = end != std::string::npos;
        if (!lastEnded)
            end = bytes.size();
        if (end > start && bytes[end - 1] == '\r')
            --end;
        result.lines.push_back(bytes.substr(start, end - start));
        start = next;
    }
    result.truncated = overflow && (result.lines.size() < maxLines || !lastEnded);
    return result;
}
