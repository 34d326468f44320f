#pragma once
// The hand-off file "curfile.ini": the one contract between the launcher and the main program. The
// launcher (or a running main program that hands a document to a new instance) writes it in the
// per-user temporary folder and starts KeloServo; the new KeloServo reads it once at start-up and
// deletes it.
//
// Layout: text lines ending in CR LF, no header.
//   1  series hand-off code: "1" .. "6", or "99" for no series
//   2  automatic connection request: "1" connect at once to the port of line 3, "0" otherwise
//   3  port entry "<name> : <description>", or empty
//   4  index of that entry in the launcher's port list, "-1" when it found no suitable port
// The relaunch of a document writes only "2" and the document path (without a line end).
#include <optional>
#include <string>
#include <vector>

// The file's full path in the temporary folder; empty when no safe temporary folder can be had.
std::string HandoffFilePath();

// Hand-off code of a launcher series index (0..5): 0 "1", 1 "2", 2 "6", 3 "3", 4 "5", 5 "4"; any
// other index "99". The codes do not follow the list order.
std::string HandoffSeriesCode(int seriesIndex);
// The main program's series code for line 1: "1" 4, "3" 6, "4" 7, "5" 8, "6" 9, anything else
// (including "2" and "99") 5. Compared exactly.
int SeriesCodeFromHandoff(const std::string& line);

// Writes the lines, each followed by CR LF (the last one too unless lastLineEnds is false). The file
// is replaced whole (a new one gets mode 0600) without following a symbolic link, and must be a plain
// file. A CR, LF
// or NUL inside a line would break the layout and is written as a blank. False when the file could
// not be created or written completely; errno tells why.
bool WriteHandoffLines(const std::vector<std::string>& lines, bool lastLineEnds = true,
                       const std::string& path = HandoffFilePath());

// The launcher's four lines.
bool WriteHandoffFile(int seriesIndex, int autoDetectFlag, const std::string& portEntry, int entryIndex,
                      const std::string& path = HandoffFilePath());

// What the main program takes from the file.
struct HandoffRequest {
    int seriesCode = 5;             // from line 1
    bool autoConnect = false;       // line 2 read as a number is not 0
    std::string portEntry;          // line 3 as it stands
    int entryIndex = 0;             // line 4 read as a number
    std::vector<std::string> lines; // the lines as read, without their line ends
};

// Reads the file and deletes it (a failed delete is ignored). Nothing when there is no file (or it
// cannot be opened, or is not a plain file). Missing lines read as empty text, number lines as 0.
// Accepts CR LF and LF; reads at most the first 64 KiB.
std::optional<HandoffRequest> ReadHandoffFile(const std::string& path = HandoffFilePath());

// The hand-off's other half: starts the program at `path` with no arguments, the caller's
// environment and current directory, and no descriptor of the caller beyond standard input, output
// and error. Waits for nothing. The child's process id, or -1 with the reason in *error.
int StartProgram(const std::string& path, std::string* error = nullptr);
