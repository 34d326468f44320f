#pragma once
// CKeloServoApp: the one application object of KeloServo. InitInstance brings the program up in its
// fixed order (recent files, resource library, hand-off file, document template, main frame, brand,
// settings, command line, title, first connection, parameter editor); the object also answers the
// application commands (New, Open, recent files, About, help) and keeps the program-wide settings.
#include "framework/ui/App.h"
#include "framework/ui/RecentFileList.h"
#include "shell/SettingsFile.h"

#include <functional>
#include <memory>
#include <string>

class CMainFrame;
class CKeloServoView;
class CKeloServoDocument;

// The launcher's (or the main frame's) request to connect to a port without asking the user.
struct AutoConnectRequest {
    bool flag = false;
    std::string entry; // port entry text
    int index = 0;     // entry index
};

// The program's exit status when its start failed (no resource library, no main window).
inline constexpr int StartFailedExitCode = 1;

class CKeloServoApp : public CWinApp {
public:
    CKeloServoApp();
    ~CKeloServoApp() override;
    const MessageMap* GetMessageMap() const override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    // Loads the resource library and makes it the resource module; false when it cannot be had.
    virtual bool LoadResourceLibrary();
    // Title of the main frame by series; rebuilds the document's defaults unless a document was given.
    void SetTitleBySeries(int seriesCode);
    // Only the title of the series (a loaded document of another series).
    void ShowSeriesTitle(int seriesCode);
    void AddToRecentFileList(const std::string& path);

    CMainFrame* MainFrame() const;
    CKeloServoView* ActiveView() const;
    CKeloServoDocument* ActiveDocument() const;
    // The settings file of the brand.
    std::string SettingsPath() const;
    // Writes the settings file; false (with the reason in *error) when it cannot be written.
    bool SaveSettings(std::string* error = nullptr) const;

    // Commands.
    void OnAppAbout();
    void OnFileNew();
    void OnFileOpen();
    void OnOpenRecentFile(UINT id);
    void OnHelpContent();
    void OnUpdateRecentFileMenu(CCmdUI* ui);
    void OnUpdateFileNewOpen(CCmdUI* ui);
    // Opens a document file as the Open command does after its dialog; false when it was refused.
    bool OpenDocumentPath(const std::string& path);

    // Members the start-up fills.
    std::string ProgramFolderText;
    AutoConnectRequest AutoConnect;
    std::string BrandString;
    int DocumentGivenFlag = 0;
    int FirstNewFlag = 1;
    std::string CurrentPortEntry;
    ShellSettings Settings;
    std::unique_ptr<CRecentFileList> RecentFiles;

    // Where the resource library is looked for (a plain name searches beside the program).
    std::string ResourceLibraryName;
    // Starts a program for a help file ("xdg-open" by default); tests replace it.
    std::function<bool(const std::string& path)> OpenWithShell;

private:
    // Closes the child frame that was active before a New or an Open made a fresh one.
    void RetireChildFrame(class CFrameWnd* oldChild, bool cancelToolWindows);
    // Runs the view's Edit Parameter operation without a drive exchange.
    void EditParameterUnlinked();
    bool AskToSaveActiveDocument(unsigned icon);
};

CKeloServoApp* KeloServoApp();
