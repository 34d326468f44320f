#pragma once
// Small file helpers for the selection, export and RAM files the user names in a file dialog.
// A chosen name is checked before anything is created, so a name with the wrong extension never
// empties the file it names; files are written whole and read with bounds.
#include <optional>
#include <string>
#include <vector>

// The file a save to the chosen path should write: the path itself when its name ends in "." +
// defaultExt (any case), the path with "." + defaultExt appended when its name has no extension;
// empty when the name carries another extension (the caller refuses and creates nothing).
std::optional<std::string> SavePathFor(const std::string& chosen, const std::string& defaultExt);
// Whether the file name part of path ends in "." + ext, ignoring case.
bool HasExtension(const std::string& path, const std::string& ext);
// What the user is told when SavePathFor refused a name.
std::string WrongExtensionMessage(const std::string& defaultExt);

enum class UserFileResult {
    Done,    // read or written
    Ignored, // an opened file whose name has the wrong extension; nothing happens
    Refused, // the user was told why; nothing changed and nothing was created
};

// Writes bytes to the path a save dialog gave, as SavePathFor allows it; a refused name or a failed
// write is told to the user (stop icon, the caption given).
UserFileResult SaveUserFile(const std::string& chosen, const std::string& defaultExt,
                            const std::string& bytes, const std::string& caption);

struct TextLines {
    std::vector<std::string> lines; // without their LF, and without a CR before it
    bool truncated = false;         // maxBytes ran out before maxLines lines (or the end) were read
};
// Reads at most maxLines lines from the first maxBytes bytes; empty when the file cannot be opened
// or read. Lines after the first maxLines are not looked at.
std::optional<TextLines> ReadLines(const std::string& path, std::size_t maxLines, std::size_t maxBytes);
