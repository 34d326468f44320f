#pragma once
// The application object: one per program, created as a global (or on main's stack) before
// AfxWinMain runs it. It owns the Qt application, loads nothing by itself (InitInstance does what the
// program needs, the resource library included), installs the real presenters behind the message
// and print seams, runs the event loop, and answers the platform's own commands (Exit, Print Setup).
#include "framework/core/MessageSeam.h"
#include "framework/ui/Wnd.h"

#include <QPointer>

#include <string>
#include <vector>

class QApplication;
class QTimer;

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;
    const MessageMap* GetMessageMap() const override;

    // Set-up after the Qt application exists; false ends the program (Run is not called).
    virtual BOOL InitInstance() { return TRUE; }
    // Runs the event loop until the main window closes or PostQuitMessage; returns ExitInstance().
    virtual int Run();
    // Clean-up; the value becomes the program's exit code.
    virtual int ExitInstance() { return exitCode_; }
    // Called by the event loop when it has nothing else to do; true asks for more idle calls.
    virtual BOOL OnIdle(long count);

    // Strings, icons and cursors of the resource module ("" / nullptr when absent).
    std::string LoadString(int id) const;
    HICON LoadIcon(int id) const;

    // The wait cursor, counted: it shows while the count is above zero. RestoreWaitCursor shows it
    // again after a dialog changed the cursor.
    void DoWaitCursor(int change); // +1 begin, -1 end, 0 restore
    int WaitCursorCount() const { return waitCount_; }

    // Command line (without the program name).
    std::vector<std::string> m_args;
    std::string m_pszAppName;
    std::string m_pszExeName;
    CWnd* m_pMainWnd = nullptr;

    // The exit code ExitInstance returns by default (set by PostQuitMessage).
    void SetExitCode(int code) { exitCode_ = code; }

    // Exit: the main window closes through its close path (WM_CLOSE), which may still be refused.
    void OnAppExit();
    // Print Setup: the printer set-up dialog over the program's printer.
    void OnFilePrintSetup();

    // The end of the session (a termination signal): modal windows and popup menus are dismissed
    // as their close boxes would, then, from Run's event loop, the main window gets WM_CLOSE, which
    // closes it without asking questions. Tried again every few milliseconds until the main window
    // is gone, since a window busy with a transfer refuses to close until the transfer ends.
    void EndSession();
    bool IsSessionEnding() const { return sessionEnding_; }

private:
    void ContinueEndSession();

    int waitCount_ = 0;
    int exitCode_ = 0;
    bool running_ = false; // inside Run's event loop
    bool sessionEnding_ = false;
    bool closingForSession_ = false;
    QPointer<QTimer> sessionTimer_; // a child of the Qt application, so it goes with it
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// The program's main: creates the Qt application (unless there is one), installs the real
// presenters, lets SIGTERM, SIGINT and SIGHUP end the session (CWinApp::EndSession), calls
// InitInstance, Run and returns the exit code. `app` is the program's application object
// (AfxGetApp() when null).
int AfxWinMain(int argc, char** argv, CWinApp* app = nullptr);

// Ends the event loop (of the innermost modal loop first) and the program with the exit code.
void PostQuitMessage(int exitCode);

// Creates the Qt application once if there is none yet (tests and benchmarks call this first).
QApplication* EnsureQtApplication();

// Installs presenters that show real Qt dialogs: message boxes with caption, text, icon and buttons,
// the file, folder and colour dialogs of framework/ui/FileDialog.h, and the print, printer set-up
// and print preview dialogs of framework/ui/Print.h.
void InstallQtPresenters();

// The application's message box: the program's title as caption and, when the type names no icon,
// the icon the platform adds (exclamation for OK and OK/Cancel, question for Yes/No boxes). Returns
// the answer (IDOK, IDYES, ...).
int AfxMessageBox(const std::string& text, UINT type = MB_OK, UINT helpId = 0);
// The same with a text of the resource module's string table.
int AfxMessageBox(UINT stringId, UINT type = MB_OK, UINT helpId = UINT(-1));

// Wait-cursor helper for a scope.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    void Restore();
};
