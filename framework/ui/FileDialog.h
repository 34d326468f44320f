#pragma once
// The file, colour and folder dialog objects the windows use. They go through the dialog seam of
// framework/core/MessageSeam.h, so tests answer them with ScriptedMessages and never block.
#include "framework/core/MessageSeam.h"
#include "framework/core/Types.h"

#include <string>

class CWnd;

class CFileDialog {
public:
    CFileDialog(BOOL openFileDialog, const char* defaultExt = nullptr, const char* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                CWnd* parent = nullptr);
    // IDOK or IDCANCEL.
    int DoModal();
    std::string GetPathName() const { return path_; }
    std::string GetFileName() const;  // the name with its extension
    std::string GetFileExt() const;   // without the dot
    std::string GetFileTitle() const; // the name without its extension
    std::string GetFolderPath() const;
    int GetFilterIndex() const { return filterIndex_; }

    FileDialogRequest m_request;

private:
    std::string path_;
    int filterIndex_ = 1;
};

class CColorDialog {
public:
    explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, CWnd* parent = nullptr);
    int DoModal();
    COLORREF GetColor() const { return colour_; }

private:
    COLORREF colour_;
    DWORD flags_;
};

// The folder browser: the chosen folder, or "" when cancelled.
std::string BrowseForFolder(const std::string& title, const std::string& initialFolder = std::string());

// "Text (*.txt)|*.txt|All (*.*)|*.*||" -> "Text (*.txt) (*.txt);;All (*.*) (*.*)" for Qt.
std::string QtFilterOf(const std::string& filter);
