#pragma once
// The one seam through which every message box and every file, colour and folder dialog passes. The program
// installs a presenter that shows real dialogs; tests install a scripted responder that records what the user
// would have seen and answers without blocking.
#include "framework/core/Geometry.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Button and icon flags, with the values the rest of the code is written against.
enum : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ABORTRETRYIGNORE = 0x2,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_ICONHAND = 0x10,
    MB_ICONSTOP = MB_ICONHAND,
    MB_ICONERROR = MB_ICONHAND,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONWARNING = MB_ICONEXCLAMATION,
    MB_ICONASTERISK = 0x40,
    MB_ICONINFORMATION = MB_ICONASTERISK,
    MB_TYPEMASK = 0xF,
    MB_ICONMASK = 0xF0,
};

// Answers a box can give.
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

struct MessageRequest {
    std::string text;
    std::string caption;
    unsigned type = MB_OK;
};

// Shows one message and returns the answer (IDOK, IDYES, ...).
using MessagePresenter = std::function<int(const MessageRequest&)>;

// Installs the presenter; returns the one it replaces. With none installed, a message is written to
// standard error and answered with the box's first button.
MessagePresenter SetMessagePresenter(MessagePresenter presenter);

// Shows a message through the installed presenter. The caption defaults to the program's title.
int ShowMessage(const std::string& text, const std::string& caption = std::string(), unsigned type = MB_OK);

// The default caption of ShowMessage (the application sets its title here).
void SetMessageCaption(const std::string& caption);

// File dialogs ---------------------------------------------------------------------------------

// Flags of the open/save dialog.
enum : unsigned {
    OFN_READONLY = 0x00000001,
    OFN_OVERWRITEPROMPT = 0x00000002,
    OFN_HIDEREADONLY = 0x00000004,
    OFN_NOCHANGEDIR = 0x00000008,
    OFN_ALLOWMULTISELECT = 0x00000200,
    OFN_PATHMUSTEXIST = 0x00000800,
    OFN_FILEMUSTEXIST = 0x00001000,
    OFN_CREATEPROMPT = 0x00002000,
    OFN_EXPLORER = 0x00080000,
};

struct FileDialogRequest {
    bool open = true;          // open dialog; false: save dialog
    std::string defaultExt;    // "trd", without the dot; added to a name typed without one
    std::string initialName;   // file name (or pattern such as "*.zps") shown at the start
    std::string initialFolder; // empty: the presenter's choice
    unsigned flags = 0;        // OFN_*
    std::string filter;        // "Text (*.txt)|*.txt|All Files (*.*)|*.*||"
    std::string title;         // empty: "Open" / "Save As"
};

struct FileDialogResult {
    bool ok = false;     // false: cancelled
    std::string path;    // the chosen file, with the default extension applied
    int filterIndex = 1; // 1-based index of the filter that was chosen
};

struct FileFilter {
    std::string label;                 // "Text (*.txt)"
    std::vector<std::string> patterns; // {"*.txt"}
};

// Splits "label|pattern;pattern|label|pattern||" into its filters; a trailing label without a
// pattern is dropped.
std::vector<FileFilter> ParseFileFilter(const std::string& filter);
// Adds "." + defaultExt when the file name part of path has no extension.
std::string ApplyDefaultExtension(const std::string& path, const std::string& defaultExt);

using FileDialogPresenter = std::function<FileDialogResult(const FileDialogRequest&)>;
FileDialogPresenter SetFileDialogPresenter(FileDialogPresenter presenter);
// Shows the dialog; without a presenter it is cancelled.
FileDialogResult ShowFileDialog(const FileDialogRequest& request);

// Colour dialog and folder browser ----------------------------------------------------------------

struct ColorDialogRequest {
    COLORREF initial = 0;
    unsigned flags = 0;
};
using ColorDialogPresenter = std::function<std::optional<COLORREF>(const ColorDialogRequest&)>;
ColorDialogPresenter SetColorDialogPresenter(ColorDialogPresenter presenter);
// The chosen colour, or nothing when cancelled (and without a presenter).
std::optional<COLORREF> ShowColorDialog(const ColorDialogRequest& request);

struct FolderDialogRequest {
    std::string title;         // the prompt shown above the tree
    std::string initialFolder; // empty: the user's home
};
using FolderDialogPresenter = std::function<std::optional<std::string>(const FolderDialogRequest&)>;
FolderDialogPresenter SetFolderDialogPresenter(FolderDialogPresenter presenter);
// The chosen folder, or nothing when cancelled (and without a presenter).
std::optional<std::string> ShowFolderDialog(const FolderDialogRequest& request);

// Test responder: records every message and dialog and answers from queues. An empty message queue
// answers with the box's first button; an empty dialog queue cancels the dialog.
class ScriptedMessages {
public:
    ScriptedMessages();
    ~ScriptedMessages();
    ScriptedMessages(const ScriptedMessages&) = delete;
    ScriptedMessages& operator=(const ScriptedMessages&) = delete;

    void Answer(int reply) { answers_.push_back(reply); }
    const std::vector<MessageRequest>& Shown() const { return shown_; }
    void Clear() { shown_.clear(); }

    // Queues the file chosen in the next file dialog (the default extension is applied to it).
    void AnswerFile(const std::string& path, int filterIndex = 1) {
        fileAnswers_.push_back({true, path, filterIndex});
    }
    void CancelFile() { fileAnswers_.push_back({}); }
    void AnswerColor(COLORREF color) { colorAnswers_.push_back(color); }
    void CancelColor() { colorAnswers_.push_back(std::nullopt); }
    void AnswerFolder(const std::string& folder) { folderAnswers_.push_back(folder); }
    void CancelFolder() { folderAnswers_.push_back(std::nullopt); }

    const std::vector<FileDialogRequest>& FileRequests() const { return fileRequests_; }
    const std::vector<ColorDialogRequest>& ColorRequests() const { return colorRequests_; }
    const std::vector<FolderDialogRequest>& FolderRequests() const { return folderRequests_; }

private:
    int Respond(const MessageRequest& request);
    std::vector<MessageRequest> shown_;
    std::vector<int> answers_;
    std::deque<FileDialogResult> fileAnswers_;
    std::deque<std::optional<COLORREF>> colorAnswers_;
    std::deque<std::optional<std::string>> folderAnswers_;
    std::vector<FileDialogRequest> fileRequests_;
    std::vector<ColorDialogRequest> colorRequests_;
    std::vector<FolderDialogRequest> folderRequests_;
    MessagePresenter previous_;
    FileDialogPresenter previousFile_;
    ColorDialogPresenter previousColor_;
    FolderDialogPresenter previousFolder_;
};
