#include "trace/ui/GraphFileDialogs.h"

#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/FileDialog.h"
#include "resources/ids/trace.h"
#include "trace/GraphServices.h"

#include <algorithm>
#include <filesystem>
#include <vector>

std::optional<std::string> AskRecordingToOpen(CWnd* parent, const std::string& filter) {
    CFileDialog dialog(TRUE, "trd", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, filter.c_str(), parent);
    if (dialog.DoModal() != IDOK)
        return std::nullopt;
    return dialog.GetPathName();
}

std::optional<std::string> AskRecordingPathToSave(CWnd* parent, const std::string& filter) {
    CFileDialog dialog(FALSE, "trd", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter.c_str(), parent);
    if (dialog.DoModal() != IDOK)
        return std::nullopt;
    return dialog.GetPathName();
}

std::string RecordingCaption(const std::string& initialCaption, const std::string& path) {
    return initialCaption + " - [" + path + "]";
}

std::string AutosaveListFolder(const std::string& folder, const std::string& autosaveName) {
    const size_t slash = autosaveName.rfind('/');
    return slash == std::string::npos ? folder : folder + "/" + autosaveName.substr(0, slash);
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
