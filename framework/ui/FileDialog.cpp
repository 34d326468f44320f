#include "framework/ui/FileDialog.h"

std::string QtFilterOf(const std::string& filter) {
    std::string out;
    for (const FileFilter& f : ParseFileFilter(filter)) {
        std::string patterns;
        for (const std::string& p : f.patterns)
            patterns += (patterns.empty() ? "" : " ") + p;
        if (!out.empty())
            out += ";;";
        out += f.label + " (" + patterns + ")";
    }
    return out;
}

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExt, const char* fileName, DWORD flags,
                         const char* filter, CWnd*) {
    m_request.open = openFileDialog != FALSE;
    m_request.defaultExt = defaultExt ? defaultExt : "";
    m_request.initialName = fileName ? fileName : "";
    m_request.flags = flags;
    m_request.filter = filter ? filter : "";
}

int CFileDialog::DoModal() {
    FileDialogResult result = ShowFileDialog(m_request);
    if (!result.ok || result.path.empty())
        return IDCANCEL;
    path_ = ApplyDefaultExtension(result.path, m_request.defaultExt);
    filterIndex_ = result.filterIndex;
    return IDOK;
}

std::string CFileDialog::GetFileName() const {
    const auto slash = path_.find_last_of('/');
    return slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

std::string CFileDialog::GetFileExt() const {
    const std::string name = GetFileName();
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string CFileDialog::GetFileTitle() const {
    const std::string name = GetFileName();
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string CFileDialog::GetFolderPath() const {
    const auto slash = path_.find_last_of('/');
    return slash == std::string::npos ? std::string() : path_.substr(0, slash);
}

CColorDialog::CColorDialog(COLORREF initial, DWORD flags, CWnd*) : colour_(initial), flags_(flags) {}

int CColorDialog::DoModal() {
    ColorDialogRequest request;
    request.initial = colour_;
    request.flags = flags_;
    std::optional<COLORREF> chosen = ShowColorDialog(request);
    if (!chosen)
        return IDCANCEL;
    colour_ = *chosen;
    return IDOK;
}

std::string BrowseForFolder(const std::string& title, const std::string& initialFolder) {
    FolderDialogRequest request;
    request.title = title;
    request.initialFolder = initialFolder;
    return ShowFolderDialog(request).value_or(std::string());
}
