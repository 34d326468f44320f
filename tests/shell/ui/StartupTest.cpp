// Start-up of the program: hand-off file, title, brand, settings file, a document on the command line.
#include "ShellUiFixture.h"

#include "framework/core/ResourceModule.h"
#include "framework/ui/CmdUI.h"
#include "paramedit/ParaEditDlg.h"
#include "shell/SettingsFile.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>

namespace {

using ShellStartup = ShellUiFixture;

TEST_F(ShellStartup, HandOffSeriesLineChoosesSeriesAndTitleAndTheFileIsDeleted) {
    struct Case {
        const char* line;
        int series;
        const char* title;
    } cases[] = {
        {"1", 4, "KeloServo(ZR3-E) V0.1.260416"},       {"3", 6, "KeloServo(UK3) V0.1.260416"},
        {"4", 7, "KeloServo(YM3) V0.1.260416"},         {"5", 8, "KeloServo(YM3-E) V0.1.260416"},
        {"6", 9, "KeloServo(YM2N-E)2022 V0.1.260416"},  {"2", 5, "KeloServo(ZR3-EL)2022 V0.1.260416"},
        {"99", 5, "KeloServo(ZR3-EL)2022 V0.1.260416"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        HandOff(c.line, false);
        portDialogs = 0;
        ASSERT_TRUE(StartApp());
        EXPECT_EQ(SeriesCode, c.series);
        EXPECT_EQ(Frame()->GetTitle(), c.title);
        EXPECT_FALSE(std::filesystem::exists(HandoffFilePath())) << "read once, then deleted";
        EXPECT_EQ(portDialogs, 1) << "no automatic connection asked: the user chooses the port";
        EXPECT_EQ(ModelCode, StartModelCode);
        StopApp();
    }
    // A second start without the launcher keeps the defaults.
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(SeriesCode, 4);
    EXPECT_FALSE(app->AutoConnect.flag);
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(ShellStartup, AutomaticHandOffConnectsWithoutTheDialogAndShowsTheDrive) {
    StartDrive();
    HandOff("1");
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(portDialogs, 0);
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_EQ(ConnectedFlag.load(), 1);
    EXPECT_FALSE(app->AutoConnect.flag) << "the request is used once";
    EXPECT_EQ(app->CurrentPortEntry, Entry());
    EXPECT_EQ(ReadBytes(ProgramFolderFile("comfile.ini")), Entry() + "\r\n");
    EXPECT_EQ(DriveIdentifiedFlag, 1);
    EXPECT_EQ(PaneText(3), "Servo Online");
    EXPECT_EQ(PaneColour(3), PaneGreen);
    EXPECT_EQ(PaneText(0), "Servo Status:Servo Off");
    EXPECT_EQ(PaneText(6), "Message: Normal");
}

TEST_F(ShellStartup, EditorOpenedAtStartReadsTheDriveOnItsFirstTickAfterTheAutomaticConnect) {
    StartDrive();
    HandOff("1");
    ASSERT_TRUE(StartApp());
    CParaEditDlg* editor = View()->EditorWindow;
    ASSERT_NE(editor, nullptr) << "start-up opens the parameter editor";
    const size_t beforeTick = Requests().size();
    messages.Answer(IDNO); // the read question: a No still shows it was asked
    ASSERT_TRUE(FireTimerForTest(editor, ParaEditReadTimer));
    ASSERT_EQ(messages.Shown().size(), 1u) << "the new link is followed by the offer to read it all";
    EXPECT_EQ(Requests().size(), beforeTick);
    messages.Clear();
    ASSERT_TRUE(FireTimerForTest(editor, ParaEditReadTimer));
    EXPECT_TRUE(messages.Shown().empty()) << "once per link";
}

TEST_F(ShellStartup, MissingResourceLibraryEndsTheStartSilently) {
    HandOff("3");
    configure = [](CKeloServoApp& a) { a.ResourceLibraryName = "libNoSuchVimbraHere.so"; };
    EXPECT_FALSE(StartApp());
    EXPECT_EQ(app->m_pMainWnd, nullptr);
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_TRUE(std::filesystem::exists(HandoffFilePath())) << "nothing below the library step ran";
    EXPECT_EQ(app->ExitInstance(), StartFailedExitCode) << "scripts see the failure";
}

// The real resource library, changed by `edit` before it becomes the resource module.
class EditedLibraryApp : public CKeloServoApp {
public:
    explicit EditedLibraryApp(std::function<void(ResourceSet&)> edit) : edit_(std::move(edit)) {}
    bool LoadResourceLibrary() override {
        auto real = CResourceModule::LoadLibrary(kResourceLibraryName);
        if (!real)
            return false;
        ResourceSet set = real->Set();
        edit_(set);
        AfxSetResourceModule(std::make_shared<CResourceModule>(std::move(set)));
        return true;
    }

private:
    std::function<void(ResourceSet&)> edit_;
};

// A resource library whose product name is another brand.
class OemApp : public EditedLibraryApp {
public:
    OemApp() : EditedLibraryApp([](ResourceSet& set) { set.strings[128] = "Ombrix"; }) {}
};

TEST_F(ShellStartup, MainWindowThatCannotBeMadeEndsTheStartSilentlyWithAFailureStatus) {
    app = std::make_unique<EditedLibraryApp>([](ResourceSet& set) { set.toolbars.erase(IDR_MAINFRAME); });
    EXPECT_FALSE(app->InitInstance());
    EXPECT_EQ(app->m_pMainWnd, nullptr);
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_EQ(app->ExitInstance(), StartFailedExitCode);
    StopApp();
    AfxLoadResourceLibrary();

    // A program that came up ends with status 0.
    ASSERT_TRUE(StartApp());
    EndProgramInstance(*app);
    EXPECT_EQ(app->ExitInstance(), 0);
}

// The program itself, started from a folder that holds everything but its resource library.
TEST_F(ShellStartup, ProgramWithoutItsResourceLibraryExitsWithAFailureStatus) {
    namespace fs = std::filesystem;
    const fs::path built = fs::read_symlink("/proc/self/exe").parent_path();
    const fs::path folder = tree.Path("program");
    for (const fs::directory_entry& entry : fs::directory_iterator(built)) {
        const std::string name = entry.path().filename().string();
        if (name != "KeloServo" && (entry.path().extension() != ".so" || name == kResourceLibraryName))
            continue;
        std::error_code linkError;
        fs::create_hard_link(entry.path(), folder / name, linkError);
        if (linkError)
            fs::copy_file(entry.path(), folder / name);
    }
    ASSERT_TRUE(fs::exists(folder / "KeloServo"));

    std::vector<std::string> environment = {
        "QT_QPA_PLATFORM=offscreen", "HOME=" + tree.Path("home"), "XDG_CONFIG_HOME=" + tree.Path("config"),
        "XDG_RUNTIME_DIR=" + tree.Path("runtime"), "TMPDIR=" + tree.Path("runtime")};
    // The leak report at exit would put its own status in place of the program's.
    const char* asan = std::getenv("ASAN_OPTIONS");
    environment.push_back("ASAN_OPTIONS=" + (asan && *asan ? std::string(asan) + ":" : std::string()) +
                          "detect_leaks=0");
    for (const char* kept : {"PATH", "UBSAN_OPTIONS"})
        if (const char* value = std::getenv(kept))
            environment.push_back(std::string(kept) + "=" + value);
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string program = (folder / "KeloServo").string();
    char* argv[] = {program.data(), nullptr};
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()), 0);
    int status = 0;
    pid_t ended = 0;
    for (int waited = 0; waited < 600 && ended == 0; ++waited) {
        ended = waitpid(pid, &status, WNOHANG);
        if (ended == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (ended == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        FAIL() << "the program did not end (a message box waiting?)";
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), StartFailedExitCode);
}

TEST_F(ShellStartup, ProductNameOfTheLibraryChoosesTheBrandAndItsSettingsFile) {
    ShellSettings oem;
    oem.BaudRateIndex = 4;
    ASSERT_TRUE(WriteSettingsFile(SettingsFilePath(BrandOem), oem, BrandOem, 4));
    app = std::make_unique<OemApp>();
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(BrandMode, BrandOem);
    EXPECT_EQ(app->SettingsPath(), SettingsFilePath(BrandOem));
    EXPECT_EQ(app->Settings.BaudRateIndex, 4);
    StopApp();
    AfxLoadResourceLibrary();

    ASSERT_TRUE(StartApp());
    EXPECT_EQ(BrandMode, BrandNormal);
    EXPECT_EQ(app->Settings.BaudRateIndex, 1) << "the normal brand has no settings file yet";
}

TEST_F(ShellStartup, SettingsAreReadAtStartAndWrittenBackUnchangedOnClose) {
    ShellSettings settings;
    settings.ComPort = 3;
    settings.BaudRateIndex = 5;
    settings.StationNumber = 7;
    settings.ModbusFormat = 4;
    settings.DefiniteListSize = 2;
    settings.DefiniteGroup[0] = 1;
    settings.DefiniteNumber[0] = 4;
    settings.DefiniteGroup[1] = 3;
    settings.DefiniteNumber[1] = 9;
    settings.StatusbarSet[2] = 9;
    settings.MonitorUnSet[5] = 12;
    const std::string path = SettingsFilePath(BrandNormal);
    ASSERT_TRUE(WriteSettingsFile(path, settings, BrandNormal, 6));
    const std::string before = ReadBytes(path);
    HandOff("3", false);
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(app->Settings.BaudRateIndex, 5);
    EXPECT_EQ(StationNumber, 7);
    std::filesystem::remove(path);

    const HWND frame = Frame()->GetSafeHwnd();
    Frame()->SendMessage(WM_CLOSE);
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(ShellStartup, UnwritableSettingsFileIsReportedAndTheProgramStillCloses) {
    ASSERT_TRUE(StartApp());
    // A folder where the settings file belongs cannot be replaced by a file.
    std::filesystem::create_directories(SettingsFilePath(BrandNormal));
    std::filesystem::create_directories(SettingsFilePath(BrandNormal) + "/keep");
    messages.Clear();
    const HWND frame = Frame()->GetSafeHwnd();
    Frame()->SendMessage(WM_CLOSE);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_NE(messages.Shown()[0].type & MB_ICONMASK, 0u);
    EXPECT_FALSE(messages.Shown()[0].text.empty());
    EXPECT_FALSE(IsWindow(frame));
}

TEST_F(ShellStartup, DocumentOnTheCommandLineSkipsConnectAndDefaultBuilders) {
    StartDrive();
    // A document of this series whose Cn001 differs from its default.
    const std::string path = tree.Path("home") + "/given.zpf";
    {
        ASSERT_TRUE(StartApp());
        CKeloServoDocument* doc = app->ActiveDocument();
        ASSERT_NE(doc, nullptr);
        doc->Value(DocCn, 1) = doc->Default(DocCn, 1) + 1;
        ASSERT_TRUE(doc->OnSaveDocument(path));
        StopApp();
    }
    HandOff("1");
    portDialogs = 0;
    drive.ClearLog();
    messages.Clear();
    ASSERT_TRUE(StartApp({path}));
    EXPECT_EQ(app->DocumentGivenFlag, 1);
    EXPECT_EQ(portDialogs, 0);
    EXPECT_TRUE(Requests().empty()) << "no connection is made";
    EXPECT_EQ(ConnectedFlag.load(), 0);
    CKeloServoDocument* doc = app->ActiveDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->Value(DocCn, 1), doc->Default(DocCn, 1) + 1) << "values of the file are kept";
    EXPECT_EQ(Frame()->StoredPath(), path);
    EXPECT_TRUE(messages.Shown().empty());
}

} // namespace

namespace {

TEST_F(ShellStartup, AboutShowsTheSeriesLineAndHelpOpensTheManual) {
    HandOff("1", false);
    std::string opened;
    configure = [&](CKeloServoApp& a) {
        a.OpenWithShell = [&](const std::string& path) {
            opened = path;
            return true;
        };
    };
    ASSERT_TRUE(StartApp());
    std::string aboutLine;
    CDialog::ModalHook previous = CDialog::SetModalHookForTest([&](CDialog& dialog) {
        aboutLine = dialog.GetDlgItemText(1097);
        dialog.EndDialog(IDOK);
    });
    Frame()->SendMessage(WM_COMMAND, ID_APP_ABOUT);
    EXPECT_EQ(aboutLine, "KeloServo(ZR3-EL)2022 V0.1.260416") << "series 4 shares the About line of series 5";
    SeriesCode = 6;
    Frame()->SendMessage(WM_COMMAND, ID_APP_ABOUT);
    EXPECT_EQ(aboutLine, "KeloServo(UK3) V0.1.260416");
    CDialog::SetModalHookForTest(previous);

    // Help > Content opens the help file beside the program; without it the user is told so.
    const std::string help = tree.Path("program") + "/SERVO.chm";
    std::ofstream(help) << "help";
    messages.Clear();
    Frame()->SendMessage(WM_COMMAND, ID_HELP_CONTENT);
    EXPECT_EQ(opened, help);
    EXPECT_TRUE(messages.Shown().empty());
    opened.clear();
    std::filesystem::remove(help);
    Frame()->SendMessage(WM_COMMAND, ID_HELP_CONTENT);
    EXPECT_EQ(opened, "");
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "The help file is not installed:\n" + help);
}

} // namespace

namespace {

// A document written by the program as another series, or by a foreign program.
std::string SaveDocumentOfSeries(ShellUiFixture& fixture, int series, const std::string& path) {
    EXPECT_TRUE(fixture.StartApp());
    const int kept = SeriesCode;
    SeriesCode = series;
    EXPECT_TRUE(fixture.app->ActiveDocument()->OnSaveDocument(path));
    SeriesCode = kept;
    fixture.StopApp();
    return path;
}

TEST_F(ShellStartup, CommandLineDocumentOfAnotherSeriesRetitlesTheProgram) {
    const std::string path = SaveDocumentOfSeries(*this, 6, tree.Path("home") + "/uk3.zpf");
    ASSERT_TRUE(StartApp({path}));
    EXPECT_EQ(SeriesCode, 6);
    EXPECT_EQ(Frame()->GetTitle(), "KeloServo(UK3) V0.1.260416");
}

TEST_F(ShellStartup, ForeignCommandLineFileIsHandedToAFreshInstance) {
    std::string bytes = SaveDocumentOfSeries(*this, 4, tree.Path("home") + "/foreign.zpf");
    std::string file = ReadBytes(bytes);
    ASSERT_GT(file.size(), 5u);
    file.replace(1, 4, "ACME"); // another maker's magic after the length byte
    WriteBytes(bytes, file);
    messages.Clear();
    EXPECT_FALSE(StartApp({bytes})) << "this instance ends; the fresh one opens the file";
    EXPECT_EQ(ReadBytes(HandoffFilePath()), "2\r\n" + bytes);
    // No program lives in the test's program folder, so the start fails and says so.
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "process failed!");
}

} // namespace
