#pragma once
// The file dialogs of the graph windows (trace and box viewer): a recording to open, a path to
// save to. Nothing when the user cancels.
#include <optional>
#include <string>

class CWnd;

// Open dialog, default extension "trd", the file must exist.
std::optional<std::string> AskRecordingToOpen(CWnd* parent, const std::string& filter);
// Save dialog, default extension "trd", asks before overwriting.
std::optional<std::string> AskRecordingPathToSave(CWnd* parent, const std::string& filter);
// The caption a window shows for a recording: the initial caption + " - [" + path + "]".
std::string RecordingCaption(const std::string& initialCaption, const std::string& path);
