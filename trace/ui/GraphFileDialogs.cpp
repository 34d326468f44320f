#include "trace/ui/GraphFileDialogs.h"

#include "framework/ui/FileDialog.h"

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
