#pragma once
// The page count of a PDF file as pdfinfo (poppler-utils) reports it; -1 when it cannot tell.
#include <array>
#include <cstdio>
#include <string>

inline int PdfPageCount(const std::string& path) {
    const std::string command = "pdfinfo '" + path + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    std::array<char, 256> line{};
    int pages = -1;
    while (fgets(line.data(), static_cast<int>(line.size()), pipe))
        if (std::sscanf(line.data(), "Pages: %d", &pages) == 1)
            break;
    pclose(pipe);
    return pages;
}
