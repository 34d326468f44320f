#pragma once
// The eight parameter codes the online editor shows (the selection outlives every editor window and
// is shared by all of them) and the selection file (.onp) that keeps a set of them: a header line and
// the code of each row, an empty line for an empty row.
#include "online/OnlineRows.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

using OnlineCodes = std::array<std::string, OnlineRowCount>;

// The program's selection; empty codes at start. Written by the slot set dialog and by loading a
// selection file, read whenever an editor builds its rows.
extern OnlineCodes OnlineSelection;

inline constexpr const char* OnlineParameterHeader = "ZR2 Online Parameter v0001";
inline constexpr const char* OnlineParameterExt = "onp";
// A selection file is a header and eight short codes; anything larger is not one.
constexpr std::size_t OnlineFileMaxBytes = 4096;
// A line longer than this names no parameter and gives an empty row.
constexpr std::size_t OnlineFileMaxLine = 32;

// Whether a chosen path is a selection file by name: its last three characters read "ONP" in any
// case (and it has at least three).
bool IsOnlineParameterPath(std::string_view path);

// The file's bytes: header and the eight codes, each line ended by CR LF.
std::string OnlineParameterText(const OnlineCodes& codes);

// The codes of a selection file's bytes: the first line is the header (its text is not checked),
// the next eight are rows 1..8, a missing line gives an empty code. Nothing when there is not even a
// first line (an empty file). CR LF and LF line ends are both read.
std::optional<OnlineCodes> ParseOnlineParameterText(std::string_view bytes);

enum class OnlineFileStatus {
    Loaded,     // codes hold the file's rows
    Empty,      // no line at all: nothing changes
    TooLarge,   // more than OnlineFileMaxBytes: refused
    Unreadable, // cannot be opened or read: refused, error says why
};
struct OnlineFileRead {
    OnlineFileStatus status = OnlineFileStatus::Unreadable;
    OnlineCodes codes{};
    std::string error;
};
// Reads a selection file, never more than OnlineFileMaxBytes + 1 bytes of it.
OnlineFileRead ReadOnlineParameterFile(const std::string& path);

// Writes the selection file beside the old one and puts it in its place, so a failed save leaves the
// previous file; false with the reason in *error.
bool WriteOnlineParameterFile(const std::string& path, const OnlineCodes& codes,
                              std::string* error = nullptr);
