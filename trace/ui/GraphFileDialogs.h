#pragma once
// The file dialogs and file flows of the graph windows (trace and box viewer): a recording to open,
// a path to save to (nothing when the user cancels), Save and Save As, the autosave list.
#include "trace/RecordingFile.h"
#include "trace/TraceDataFile.h"

#include <functional>
#include <optional>
#include <string>

class CComboBox;
class CWnd;

// Open dialog for recordings, default extension "trd", the file must exist.
std::optional<std::string> AskRecordingToOpen(CWnd* parent);
// Save dialog for recordings, default extension "trd", asks before overwriting.
std::optional<std::string> AskRecordingPathToSave(CWnd* parent);

// Reads a recording whose name ends in "trd"; anything else, or a file that does not read, the user
// is told is no valid data file (stop icon) and the result is false.
bool ReadRecordingOrTell(const std::string& path, TraceFileForm form, TraceRecording& recording);
// Writes a recording; a failed write the user is told about with its reason (stop icon).
bool WriteRecordingOrTell(const std::string& path, const TraceRecording& recording, TraceFileForm form,
                          const TraceCsvTable& csv);

// Writes the window's recording to a path (false when it could not).
using RecordingWriter = std::function<bool(const std::string& path)>;
// Save As: asks for a path and writes there; the recording belongs to the file, and the caption
// names it, only once the write succeeded.
bool SaveRecordingAs(CWnd& window, RecordingFile& file, const RecordingWriter& write);
// Save: to the file the recording belongs to, else as Save As.
bool SaveRecording(CWnd& window, RecordingFile& file, const RecordingWriter& write);

// The list of numbered recordings a graph window saved by itself. An autosave name may begin with
// sub-folders ("run/a" saves run/a000_000.trd), so the list looks in that sub-folder.
std::string AutosaveListFolder(const std::string& folder, const std::string& autosaveName);
// The path of the file chosen in an autosave list; nothing while no entry is chosen.
std::optional<std::string> ChosenAutosavePath(CComboBox& list, const std::string& folder,
                                              const std::string& autosaveName);
// Fills `list` with the ".trd" files of the autosave folder whose names begin with the name part,
// sorted, the first selected.
void FillAutosaveList(CComboBox& list, const std::string& folder, const std::string& autosaveName);
// The folder browser for the autosave folder, opened at `folder`. A chosen folder becomes `folder`
// and the graph windows' shared AutosaveFolder; false when the user cancels.
bool ChooseAutosaveFolder(std::string& folder);
