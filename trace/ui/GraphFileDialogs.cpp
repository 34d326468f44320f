#include "trace/ui/GraphFileDialogs.h"

#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/FileDialog.h"
#include "resources/ids/mainframe.h"
#include "resources/ids/trace.h"
#include "trace/GraphPlotRules.h"
#include "trace/GraphServices.h"

#include <algorithm>
#include <filesystem>
#include <vector>

std::optional<std::string> AskRecordingToOpen(CWnd* parent) {
    const std::string filter = LoadResString(IDS_TG_OPEN_FILTER);
    CFileDialog dialog(TRUE, "trd", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, filter.c_str(), parent);
    if (dialog.DoModal() != IDOK)
        return std::nullopt;
    return dialog.GetPathName();
}

std::optional<std::string> AskRecordingPathToSave(CWnd* parent) {
    const std::string filter = LoadResString(IDS_TG_SAVE_FILTER);
    CFileDialog dialog(FALSE, "trd", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter.c_str(), parent);
    if (dialog.DoModal() != IDOK)
        return std::nullopt;
    return dialog.GetPathName();
}

bool ReadRecordingOrTell(const std::string& path, TraceFileForm form, TraceRecording& recording) {
    if (HasRecordingExtension(path) && ReadTraceFile(path, form, recording).ok)
        return true;
    // The one wording for a file that is no valid data file; the caller keeps what it shows.
    ShowMessage(LoadResString(IDS_MEMORY_IMAGE_INVALID), "", MB_OK | MB_ICONSTOP);
    return false;
}

bool WriteRecordingOrTell(const std::string& path, const TraceRecording& recording, TraceFileForm form,
                          const TraceCsvTable& csv) {
    std::string error;
    if (SaveTraceFile(path, recording, form, csv, &error))
        return true;
    ShowMessage(LoadResString(IDS_TG_SAVE_FAILED) + error, "", MB_OK | MB_ICONSTOP);
    return false;
}

bool SaveRecordingAs(CWnd& window, RecordingFile& file, const RecordingWriter& write) {
    const auto path = AskRecordingPathToSave(&window);
    if (!path || !write(*path))
        return false;
    window.SetWindowText(file.Name(*path));
    return true;
}

bool SaveRecording(CWnd& window, RecordingFile& file, const RecordingWriter& write) {
    if (const auto target = file.SaveTarget())
        return write(*target);
    return SaveRecordingAs(window, file, write);
}

std::string AutosaveListFolder(const std::string& folder, const std::string& autosaveName) {
    const size_t slash = autosaveName.rfind('/');
    return slash == std::string::npos ? folder : folder + "/" + autosaveName.substr(0, slash);
}

std::optional<std::string> ChosenAutosavePath(CComboBox& list, const std::string& folder,
                                              const std::string& autosaveName) {
    const int entry = list.GetCurSel();
    if (entry < 0)
        return std::nullopt;
    return AutosaveListFolder(folder, autosaveName) + "/" + list.GetLBText(entry);
}

void FillAutosaveList(CComboBox& list, const std::string& folder, const std::string& autosaveName) {
    const size_t slash = autosaveName.rfind('/');
    const std::string prefix = slash == std::string::npos ? autosaveName : autosaveName.substr(slash + 1);
    list.ResetContent();
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(AutosaveListFolder(folder, autosaveName), error)) {
        if (!entry.is_regular_file(error))
            continue;
        const std::string name = entry.path().filename().string();
        if (name.size() > 4 && name.compare(0, prefix.size(), prefix) == 0 &&
            name.compare(name.size() - 4, 4, ".trd") == 0)
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        list.AddString(name);
    if (!names.empty())
        list.SetCurSel(0);
}

bool ChooseAutosaveFolder(std::string& folder) {
    const auto chosen = ShowFolderDialog({LoadResString(IDS_TG_AUTOSAVE_FOLDER_TITLE), folder});
    if (!chosen)
        return false;
    folder = *chosen;
    AutosaveFolder = *chosen;
    return true;
}
