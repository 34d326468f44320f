#include "catalogue/MemoryImage.h"

#include "catalogue/RegisterMap.h"
#include "framework/core/StdioFile.h"

#include <cctype>
#include <cstdio>

namespace {

std::string UpperExtension(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string();
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return ext;
}

bool HeaderAccepted(const std::string& line) {
    const std::size_t semicolon = line.find(';');
    if (semicolon == std::string::npos)
        return false;
    return line.substr(0, semicolon + 1 + 24).find("Kelo Servo") != std::string::npos;
}

MemoryImageImport Invalid(int wordsRead) {
    return {false, wordsRead, MemoryImageInvalidText};
}

} // namespace

std::string FormatMemoryImage(const int* words) {
    std::string text = std::string(MemoryImageHeader) + "\n;\n;\n";
    char line[64];
    for (int i = 0; i < MemoryImageWordCount; ++i) {
        // Only the 16-bit word goes out: the image holds words sign-extended, and the reader takes
        // exactly four digits back.
        std::snprintf(line, sizeof line, "\t.DATA.W   H'%04X   ;%04X   \n",
                      static_cast<unsigned>(words[i]) & 0xFFFFu, static_cast<unsigned>(i));
        text += line;
        if (i % 16 == 15)
            text += "\n";
    }
    return text;
}

bool ExportMemoryImage(const std::string& path, const int* words) {
    try {
        CStdioFile file;
        if (!file.Open(path, CFile::modeReplace | CFile::modeWrite | CFile::typeText))
            return false;
        file.WriteString(FormatMemoryImage(words));
        file.Close();
        return true;
    } catch (const CFileException&) {
        return false;
    }
}

MemoryImageImport ImportMemoryImage(const std::string& path, int* words) {
    if (UpperExtension(path) != "DAT")
        return Invalid(0);
    CStdioFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeText))
        return {false, 0, "Cannot open the file \"" + path + "\"."};
    int count = 0;
    try {
        std::string line;
        if (!file.ReadString(line) || !HeaderAccepted(line))
            return Invalid(0);
        while (file.ReadString(line)) {
            const std::size_t mark = line.find("H'");
            if (mark == std::string::npos)
                continue;
            // A data line commented out before its value is no data.
            if (line.substr(0, mark + 2 + 4).find(';') != std::string::npos)
                continue;
            if (count == MemoryImageWordCount)
                return Invalid(count);
            if (line.size() < mark + 6)
                return Invalid(count);
            int value = 0;
            for (std::size_t k = mark + 2; k < mark + 6; ++k) {
                const int digit = HexDigitValue(line[k]);
                if (digit < 0)
                    return Invalid(count);
                value = value * 16 + digit;
            }
            words[count++] = static_cast<short>(value);
        }
    } catch (const CFileException& error) {
        return {false, count, error.what()};
    }
    if (count < MemoryImageWordCount - 1)
        return Invalid(count);
    return {true, count, std::string()};
}
