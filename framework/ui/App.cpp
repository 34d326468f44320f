#include "framework/ui/App.h"

#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/CmdUI.h"
#include "framework/ui/FileDialog.h"
#include "framework/ui/Print.h"
#include "framework/ui/TerminationSignals.h"
#include "framework/ui/WndInternal.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QCursor>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTimer>

namespace {

CWinApp* g_app = nullptr;
int g_waitCount = 0;

// How often a session end looks again whether the main window may close.
constexpr int kSessionEndRetryMs = 50;

// Qt keeps a reference to argc, so it must outlive the application.
int g_argc = 1;
char g_arg0[] = "kelo";
char* g_argv[] = {g_arg0, nullptr};

int PresentMessage(const MessageRequest& request) {
    QMessageBox box;
    box.setWindowTitle(QString::fromStdString(request.caption));
    box.setText(QString::fromStdString(request.text));
    switch (request.type & MB_ICONMASK) {
    case MB_ICONSTOP:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONEXCLAMATION:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    struct Choice {
        QMessageBox::StandardButton button;
        int answer;
    };
    std::vector<Choice> choices;
    switch (request.type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        choices = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    case MB_ABORTRETRYIGNORE:
        choices = {
            {QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
        break;
    case MB_YESNOCANCEL:
        choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    case MB_YESNO:
        choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
        break;
    case MB_RETRYCANCEL:
        choices = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    default:
        choices = {{QMessageBox::Ok, IDOK}};
    }
    QMessageBox::StandardButtons buttons;
    for (const Choice& c : choices)
        buttons |= c.button;
    box.setStandardButtons(buttons);
    box.setDefaultButton(choices.front().button);
    const int pressed = box.exec();
    for (const Choice& c : choices)
        if (c.button == pressed)
            return c.answer;
    // Closed by the window's close box: the answer a cancel would give, else the first button's.
    for (const Choice& c : choices)
        if (c.answer == IDCANCEL || c.answer == IDNO)
            return c.answer == IDNO && choices.size() == 2 ? IDNO : IDCANCEL;
    return choices.front().answer;
}

FileDialogResult PresentFileDialog(const FileDialogRequest& request) {
    FileDialogResult result;
    const QString filter = QString::fromStdString(QtFilterOf(request.filter));
    QString start = QString::fromStdString(request.initialFolder);
    if (!request.initialName.empty())
        start = start.isEmpty() ? QString::fromStdString(request.initialName)
                                : start + "/" + QString::fromStdString(request.initialName);
    QString selectedFilter;
    QString chosen;
    if (request.open) {
        chosen = QFileDialog::getOpenFileName(
            nullptr, QString::fromStdString(request.title.empty() ? "Open" : request.title), start, filter,
            &selectedFilter);
    } else {
        chosen = QFileDialog::getSaveFileName(
            nullptr, QString::fromStdString(request.title.empty() ? "Save As" : request.title), start, filter,
            &selectedFilter,
            (request.flags & OFN_OVERWRITEPROMPT) ? QFileDialog::Options()
                                                  : QFileDialog::DontConfirmOverwrite);
    }
    if (chosen.isEmpty())
        return result;
    result.ok = true;
    result.path = ApplyDefaultExtension(chosen.toStdString(), request.defaultExt);
    const QStringList filters = filter.split(";;");
    result.filterIndex = std::max(1, static_cast<int>(filters.indexOf(selectedFilter)) + 1);
    return result;
}

std::optional<COLORREF> PresentColorDialog(const ColorDialogRequest& request) {
    const QColor c = QColorDialog::getColor(
        QColor(GetRValue(request.initial), GetGValue(request.initial), GetBValue(request.initial)));
    if (!c.isValid())
        return std::nullopt;
    return RGB(c.red(), c.green(), c.blue());
}

std::optional<std::string> PresentFolderDialog(const FolderDialogRequest& request) {
    const QString chosen = QFileDialog::getExistingDirectory(nullptr, QString::fromStdString(request.title),
                                                             QString::fromStdString(request.initialFolder));
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen.toStdString();
}

} // namespace

CWinApp::CWinApp(const char* appName) {
    if (appName)
        m_pszAppName = appName;
    g_app = this;
}

CWinApp::~CWinApp() {
    delete sessionTimer_.data();
    if (g_app == this)
        g_app = nullptr;
}

const MessageMap* CWinApp::GetMessageMap() const {
    static const MessageMap map(CCmdTarget::GetMessageMap(),
                                {
                                    msg::Command(ID_APP_EXIT, &CWinApp::OnAppExit),
                                    msg::Command(ID_FILE_PRINT_SETUP, &CWinApp::OnFilePrintSetup),
                                });
    return &map;
}

int CWinApp::Run() {
    QApplication* app = EnsureQtApplication();
    // The program ends when its main window is destroyed (see PostQuitMessage), not when Qt sees the
    // last window close.
    app->setQuitOnLastWindowClosed(false);
    running_ = true;
    const int code = QApplication::exec();
    running_ = false;
    if (code != 0)
        exitCode_ = code;
    return ExitInstance();
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::OnFilePrintSetup() {
    CPrintDialog dialog(true);
    dialog.DoModal();
}

void CWinApp::EndSession() {
    if (sessionEnding_)
        return;
    sessionEnding_ = true;
    sessionTimer_ = new QTimer(QCoreApplication::instance());
    QObject::connect(sessionTimer_, &QTimer::timeout, sessionTimer_, [this] { ContinueEndSession(); });
    sessionTimer_->start(kSessionEndRetryMs);
    ContinueEndSession();
}

void CWinApp::ContinueEndSession() {
    // Before the main window exists (a signal during start-up) the session ends once it does.
    if (!m_pMainWnd)
        return;
    // Nobody answers questions now: modal windows get what their close box gives, and their loops
    // must unwind before the main window goes, or code waiting in them would find it gone.
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        return;
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        return;
    }
    // Only the application's own loop closes the main window, once: the start-up, and a loop of a
    // modal window (the close's own questions included), hold on to windows the close takes away.
    if (closingForSession_ || !running_ || QThread::currentThread()->loopLevel() > 1)
        return;
    // The close runs from a timer of its own: Qt does not fire a timer again while its handler runs,
    // and this one must go on dismissing what the close itself opens.
    closingForSession_ = true;
    QTimer::singleShot(0, sessionTimer_, [this] {
        if (m_pMainWnd && QThread::currentThread()->loopLevel() <= 1)
            m_pMainWnd->SendMessage(WM_CLOSE);
        closingForSession_ = false;
        if (!m_pMainWnd)
            sessionTimer_->stop();
    });
}

BOOL CWinApp::OnIdle(long) {
    return FALSE;
}

std::string CWinApp::LoadString(int id) const {
    return LoadResString(id);
}

HICON CWinApp::LoadIcon(int id) const {
    return FindImage(id);
}

void CWinApp::DoWaitCursor(int change) {
    if (change > 0) {
        if (g_waitCount++ == 0 && QApplication::instance())
            QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (change < 0) {
        if (g_waitCount > 0 && --g_waitCount == 0 && QApplication::instance())
            QApplication::restoreOverrideCursor();
    } else if (g_waitCount > 0 && QApplication::instance()) {
        // Put the wait cursor back after something replaced it.
        if (!QApplication::overrideCursor() || QApplication::overrideCursor()->shape() != Qt::WaitCursor)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    waitCount_ = g_waitCount;
}

void CCmdTarget::BeginWaitCursor() {
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor() {
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(-1);
}

void CCmdTarget::RestoreWaitCursor() {
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(0);
}

CWaitCursor::CWaitCursor() {
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(1);
}

CWaitCursor::~CWaitCursor() {
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(-1);
}

void CWaitCursor::Restore() {
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(0);
}

CWinApp* AfxGetApp() {
    return g_app;
}

CWnd* AfxGetMainWnd() {
    return g_app ? g_app->m_pMainWnd : nullptr;
}

QApplication* EnsureQtApplication() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return existing;
    auto* app = new KeloApplication(g_argc, g_argv);
    EnsureMessageQueue();
    return app;
}

void InstallQtPresenters() {
    SetMessagePresenter(PresentMessage);
    SetFileDialogPresenter(PresentFileDialog);
    SetColorDialogPresenter(PresentColorDialog);
    SetFolderDialogPresenter(PresentFolderDialog);
    InstallQtPrintPresenter();
}

int AfxMessageBox(const std::string& text, UINT type, UINT) {
    if ((type & MB_ICONMASK) == 0) {
        switch (type & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            type |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            type |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    return ShowMessage(text, std::string(), type);
}

int AfxMessageBox(UINT stringId, UINT type, UINT) {
    return AfxMessageBox(LoadResString(static_cast<int>(stringId)), type);
}

void PostQuitMessage(int exitCode) {
    if (g_app)
        g_app->SetExitCode(exitCode);
    QCoreApplication::exit(exitCode);
}

int AfxWinMain(int argc, char** argv, CWinApp* app) {
    if (!app)
        app = g_app;
    if (!app)
        return 1;
    static int s_argc = 0;
    s_argc = argc;
    // A test runs the program's whole start-up inside its own Qt application.
    KeloApplication* qt = nullptr;
    if (!QCoreApplication::instance())
        qt = new KeloApplication(s_argc, argv);
    EnsureMessageQueue();
    app->m_args.clear();
    for (int i = 1; i < argc; ++i)
        app->m_args.emplace_back(argv[i]);
    if (argc > 0 && argv[0]) {
        std::string exe = argv[0];
        const auto slash = exe.find_last_of('/');
        app->m_pszExeName = slash == std::string::npos ? exe : exe.substr(slash + 1);
        if (app->m_pszAppName.empty())
            app->m_pszAppName = app->m_pszExeName;
    }
    if (!app->m_pszAppName.empty())
        SetMessageCaption(app->m_pszAppName);
    InstallQtPresenters();
    const TerminationSignalWatch signalWatch([app](int) { app->EndSession(); });
    int code = 0;
    if (app->InitInstance())
        code = app->Run();
    else
        code = app->ExitInstance();
    delete qt;
    return code;
}
