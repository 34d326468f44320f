// The program run as main runs it (AfxWinMain: the real presenters, the termination signals, the
// start-up and the event loop), driven through its own menus: Exit, the bars of the View menu, Print,
// Print Preview and Ctrl+P with Qt's real dialogs, and the end of the session by a signal.
#include "ShellUiFixture.h"

#include "framework/ui/Print.h"
#include "paramedit/ParaEditDlg.h"
#include "shell/SettingsFile.h"
#include "tests/support/PdfPages.h"
#include "tests/support/RealPrintDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTimer>

#include <csignal>
#include <optional>

namespace {

// The application with a script that runs inside its event loop, once the start-up is done.
class ScriptedProgram : public CKeloServoApp {
public:
    std::function<void()> beforeStart;
    std::function<void()> script;

    BOOL InitInstance() override {
        if (beforeStart)
            beforeStart();
        return CKeloServoApp::InitInstance();
    }
    int Run() override {
        QTimer::singleShot(0, [this] { script(); });
        return CWinApp::Run();
    }
};

// Whether a message goes to a real Qt message box: one is looked for while the message shows.
bool MessagesShowRealBoxes() {
    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) {
                seen = box->text() == "probe";
                box->button(QMessageBox::Ok)->click();
            }
    });
    return ShowMessage("probe", std::string(), MB_OK) == IDOK && seen;
}

struct ProgramRun : ShellUiFixture {
    // Runs the program as main does, with `script` inside its event loop. Message boxes and file
    // dialogs are scripted from the start-up on, once the program is seen to have installed the real
    // ones; print dialogs stay real. A watchdog dismisses what is left and ends a run that hangs.
    int RunProgram(std::function<void()> script) {
        auto program = std::make_unique<ScriptedProgram>();
        program->beforeStart = [this] {
            realMessageBoxes = MessagesShowRealBoxes();
            scripted.emplace();
        };
        program->script = std::move(script);
        app = std::move(program);
        QTimer watchdog;
        QObject::connect(&watchdog, &QTimer::timeout, &watchdog, [this] {
            hung = true;
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
            else
                QCoreApplication::exit(99);
        });
        watchdog.start(30000);
        char name[] = "KeloServo";
        char* argv[] = {name, nullptr};
        const int code = AfxWinMain(1, argv, app.get());
        EXPECT_FALSE(hung) << "the run had to be ended by the watchdog";
        return code;
    }

    // The menu item of the main window's menu bar, by the texts the user reads ("File", "Exit").
    QAction* MenuItem(const QString& popup, const QString& item) const {
        auto* window = qobject_cast<QMainWindow*>(Frame()->GetWidget());
        const auto plain = [](QString text) { return text.remove('&').section('\t', 0, 0); };
        for (QAction* top : window->menuBar()->actions())
            if (top->menu() && plain(top->text()) == popup)
                for (QAction* action : top->menu()->actions())
                    if (plain(action->text()) == item)
                        return action;
        ADD_FAILURE() << "no menu item " << item.toStdString();
        return nullptr;
    }

    void Choose(const QString& popup, const QString& item) const {
        if (QAction* action = MenuItem(popup, item))
            action->trigger();
    }

    std::optional<ScriptedMessages> scripted;
    bool realMessageBoxes = false;
    bool hung = false;
};

TEST_F(ProgramRun, ExitFromTheFileMenuEndsTheProgramWithTheSettingsWrittenAndTheBarsToggle) {
    const std::string settingsPath = SettingsFilePath(BrandNormal);
    std::filesystem::remove(settingsPath);
    const int code = RunProgram([&] {
        app->Settings.BaudRateIndex = 5;
        struct Case {
            QString item;
            CWnd* bar;
        } cases[] = {{"Toolbar", &Frame()->m_wndToolBar}, {"Status Bar", &Frame()->m_wndStatusBar}};
        for (const Case& c : cases) {
            SCOPED_TRACE(c.item.toStdString());
            QAction* action = MenuItem("View", c.item);
            ASSERT_NE(action, nullptr);
            Frame()->UpdateCommandUI();
            EXPECT_TRUE(action->isChecked());
            action->trigger();
            EXPECT_FALSE(c.bar->GetWidget()->isVisible());
            Frame()->UpdateCommandUI();
            EXPECT_FALSE(action->isChecked());
            action->trigger();
            EXPECT_TRUE(c.bar->GetWidget()->isVisible());
            Frame()->UpdateCommandUI();
            EXPECT_TRUE(action->isChecked());
        }
        Choose("File", "Exit");
    });
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(realMessageBoxes);
    EXPECT_EQ(app->m_pMainWnd, nullptr);
    ShellSettings written;
    ASSERT_TRUE(ReadSettingsFile(settingsPath, BrandNormal, written));
    EXPECT_EQ(written.BaudRateIndex, 5);
    EXPECT_TRUE(scripted->Shown().empty());
}

TEST_F(ProgramRun, PrintPreviewAndCtrlPReachTheRealDialogsAndPrintingToPdfGivesEveryPage) {
    const std::string pdf = tree.Path("home") + "/tables.pdf";
    int planned = -1;
    std::shared_ptr<SeenPrintDialog> printed, cancelled;
    int previewPages = -1;
    bool pdfAfterCancel = true;
    const int code = RunProgram([&] {
        printed = AnswerNextPrintDialog(pdf);
        Choose("File", "Print...");
        planned = View()->TablePrinter.PageCount();

        // Ctrl+P opens the same dialog; Cancel prints nothing.
        const std::string again = tree.Path("home") + "/again.pdf";
        cancelled = AnswerNextPrintDialog(std::string());
        AfxGetPrinter().setOutputFileName(QString::fromStdString(again));
        EXPECT_TRUE(Frame()->TranslateAccelerator('P', true, false, false));
        pdfAfterCancel = std::filesystem::exists(again);

        QTimer::singleShot(0, [&] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* preview = qobject_cast<QPrintPreviewDialog*>(top);
                    preview && preview->isVisible()) {
                    if (auto* pages = preview->findChild<QPrintPreviewWidget*>())
                        previewPages = pages->pageCount();
                    preview->reject();
                }
        });
        Choose("File", "Print Preview");
        Choose("File", "Exit");
    });
    AfxGetPrinter().setOutputFileName(QString());
    EXPECT_EQ(code, 0);
    ASSERT_TRUE(printed && printed->shown) << "the program's Print shows Qt's print dialog";
    EXPECT_EQ(printed->maxPage, planned) << "the dialog offers the pages of the plan";
    ASSERT_GT(planned, 1);
    EXPECT_EQ(PdfPageCount(pdf), planned);
    EXPECT_TRUE(cancelled && cancelled->shown);
    EXPECT_FALSE(pdfAfterCancel);
    EXPECT_EQ(previewPages, planned);
    EXPECT_TRUE(scripted->Shown().empty());
}

TEST_F(ProgramRun, TerminationSignalsEndTheSessionWithTheSettingsWrittenAndThePortReleased) {
    StartDrive();
    const std::string settingsPath = SettingsFilePath(BrandNormal);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        std::filesystem::remove(settingsPath);
        HandOff("1");
        bool linked = false;
        // Once, a transfer is running when the signal comes: the window closes after it.
        const bool busy = signal == SIGTERM;
        bool openWhileBusy = !busy;
        const int code = RunProgram([&] {
            linked = ConnectedFlag != 0 && PortObject.IsOpen();
            // The editor's offer to read the drive is no part of this.
            if (CParaEditDlg* editor = View()->EditorWindow)
                editor->KillTimer(ParaEditReadTimer);
            // A changed document would be asked about on a normal close; nobody answers now.
            app->ActiveDocument()->SetModifiedFlag();
            if (busy) {
                View()->ViewBusyFlag = 1;
                QTimer::singleShot(300, [&] {
                    openWhileBusy = app->m_pMainWnd != nullptr;
                    View()->ViewBusyFlag = 0;
                });
            }
            raise(signal);
        });
        EXPECT_EQ(code, 0);
        EXPECT_TRUE(linked);
        EXPECT_TRUE(openWhileBusy);
        EXPECT_EQ(app->m_pMainWnd, nullptr);
        EXPECT_TRUE(std::filesystem::exists(settingsPath));
        EXPECT_EQ(ConnectedFlag.load(), 0);
        EXPECT_FALSE(PortObject.IsOpen());
        EXPECT_TRUE(scripted->Shown().empty());
        struct sigaction now {};
        sigaction(signal, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL) << "the program's handler goes with it";
        StopApp();
        scripted.reset();
    }
}

} // namespace
