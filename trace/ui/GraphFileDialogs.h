#pragma once
// The file dialogs of the graph windows (trace and box viewer): a recording to open, a path to
// save to. Nothing when the user cancels.
#include <optional>
#include <string>

class CComboBox;
class CWnd;

// Open dialog, default extension "trd", the file must exist.
std::optional<std::string> AskRecordingToOpen(CWnd* parent, const std::string& filter);
// Save dialog, default extension "trd", asks before overwriting.
std::optional<std::string> AskRecordingPathToSave(CWnd* parent, const std::string& filter);
// The caption a window shows for a recording: the initial caption + " - [" + path + "]".
std::string RecordingCaption(const std::string& initialCaption, const std::string& path);

// The list of numbered recordings a graph window saved by itself. An autosave name may begin with
// sub-folders ("run/a" saves run/a000_000.trd), so the list looks in that sub-folder.
std::string AutosaveListFolder(const std::string& folder, const std::string& autosaveName);
// Fills `list` with the ".trd" files of the autosave folder whose names begin with the name part,
// sorted, the first selected.
void FillAutosaveList(CComboBox& list, const std::string& folder, const std::string& autosaveName);
// The folder browser for the autosave folder, opened at `folder`. A chosen folder becomes `folder`
// and the graph windows' shared AutosaveFolder; false when the user cancels.
bool ChooseAutosaveFolder(std::string& folder);
