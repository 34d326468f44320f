// Parameter documents through the main frame's dialogs, the recent-file list and the drive memory
// image commands.
#include "ShellUiFixture.h"

#include "catalogue/MemoryImage.h"
#include "framework/ui/CmdUI.h"
#include "framework/ui/Menu.h"
#include "tests/support/Screenshot.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

#include <filesystem>

namespace {

struct ShellDocuments : ShellUiFixture {
    std::string Home(const std::string& name) const { return tree.Path("home") + "/" + name; }
    CKeloServoDocument* Doc() const { return app->ActiveDocument(); }
};

TEST_F(ShellDocuments, SaveAsOpenAndSaveGoThroughTheFramesDialogs) {
    ASSERT_TRUE(StartApp());
    ASSERT_NE(Doc(), nullptr);
    EXPECT_EQ(Frame()->MDIGetActive()->GetWindowText(), "New Project");
    Doc()->Value(DocCn, 2) = 7;
    Doc()->SetModifiedFlag();

    messages.AnswerFile(Home("first"));
    Frame()->SendMessage(WM_COMMAND, ID_FILE_SAVE_AS);
    ASSERT_EQ(messages.FileRequests().size(), 1u);
    EXPECT_FALSE(messages.FileRequests()[0].open);
    EXPECT_EQ(messages.FileRequests()[0].filter, "Kelo Servo Files (*.zpf)|*.zpf||");
    EXPECT_EQ(messages.FileRequests()[0].defaultExt, "zpf");
    EXPECT_TRUE(std::filesystem::exists(Home("first.zpf")));
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Frame()->GetCurrentFileName(), "first.zpf");
    EXPECT_EQ((*app->RecentFiles)[0], Home("first.zpf"));

    // Save goes to the stored path without asking.
    Doc()->Value(DocCn, 2) = 8;
    Doc()->SetModifiedFlag();
    Frame()->SendMessage(WM_COMMAND, ID_FILE_SAVE);
    EXPECT_EQ(messages.FileRequests().size(), 1u);
    EXPECT_FALSE(Doc()->IsModified());

    // New, then Open the file back.
    Frame()->SendMessage(WM_COMMAND, ID_FILE_NEW);
    EXPECT_NE(Doc()->Value(DocCn, 2), 8);
    EXPECT_EQ(Frame()->StoredPath(), "");
    messages.AnswerFile(Home("first.zpf"));
    Frame()->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    ASSERT_EQ(messages.FileRequests().size(), 2u);
    EXPECT_TRUE(messages.FileRequests()[1].open);
    EXPECT_EQ(messages.FileRequests()[1].initialName, "*.zpf");
    EXPECT_EQ(Doc()->Value(DocCn, 2), 8);
    EXPECT_EQ(Frame()->MDIGetActive()->GetWindowText(), "first.zpf");
    EXPECT_EQ(AfxGetDocManager().GetOpenDocumentCount(), 1) << "the previous document window is closed";
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(ShellDocuments, ChangedDocumentAsksFirstAndAFailedSaveCountsAsCancel) {
    ASSERT_TRUE(StartApp());
    Doc()->Value(DocCn, 2) = 5;
    Doc()->SetModifiedFlag();
    CKeloServoDocument* before = Doc();

    messages.Answer(IDCANCEL);
    Frame()->SendMessage(WM_COMMAND, ID_FILE_NEW);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "The parameter content has changed, do you want to save it?");
    EXPECT_EQ(messages.Shown()[0].type & MB_TYPEMASK, unsigned(MB_YESNOCANCEL));
    EXPECT_EQ(Doc(), before);

    // Yes, but the save dialog is cancelled: nothing is lost, nothing is opened.
    messages.Clear();
    messages.Answer(IDYES);
    messages.CancelFile();
    Frame()->SendMessage(WM_COMMAND, ID_FILE_NEW);
    EXPECT_EQ(Doc(), before);
    EXPECT_TRUE(Doc()->IsModified());

    // Yes into a folder that cannot take the file.
    messages.Clear();
    messages.Answer(IDYES);
    messages.AnswerFile(tree.Path("home") + "/no/such/folder/doc.zpf");
    Frame()->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    EXPECT_EQ(Doc(), before);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(messages.FileRequests().size(), 2u) << "no open dialog after the failed save";

    // Closing the program asks the same question; Cancel keeps it open.
    messages.Clear();
    messages.Answer(IDCANCEL);
    Frame()->SendMessage(WM_CLOSE);
    EXPECT_TRUE(IsWindow(Frame()->GetSafeHwnd()));
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "The parameter content has changed, do you want to save it?");
}

TEST_F(ShellDocuments, FileOfAnotherSeriesIsRefusedAndRecentFilesOpenAgain) {
    ASSERT_TRUE(StartApp());
    ASSERT_TRUE(Doc()->OnSaveDocument(Home("series4.zpf")));
    SeriesCode = 6;
    ASSERT_TRUE(Doc()->OnSaveDocument(Home("series6.zpf")));
    SeriesCode = 4;

    messages.AnswerFile(Home("series6.zpf"));
    Frame()->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Series do not match! Could not open file!");
    EXPECT_EQ(Frame()->StoredPath(), "");
    EXPECT_EQ(SeriesCode, 4);

    messages.Clear();
    messages.AnswerFile(Home("series4.zpf"));
    Frame()->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    EXPECT_TRUE(messages.Shown().empty());
    ASSERT_EQ(app->RecentFiles->Count(), 1);
    Frame()->SendMessage(WM_COMMAND, ID_FILE_NEW);
    Frame()->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1);
    EXPECT_EQ(Frame()->StoredPath(), Home("series4.zpf"));

    // A recent file that is gone is dropped from the list.
    std::filesystem::remove(Home("series4.zpf"));
    messages.Clear();
    Frame()->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1);
    EXPECT_EQ(app->RecentFiles->Count(), 0);

    // The list outlives the program.
    app->AddToRecentFileList(Home("kept.zpf"));
    StopApp();
    ASSERT_TRUE(StartApp());
    ASSERT_EQ(app->RecentFiles->Count(), 1);
    EXPECT_EQ((*app->RecentFiles)[0], Home("kept.zpf"));
}

TEST_F(ShellDocuments, OpenAfterSavingFirstKeepsTheDocumentWindowMaximized) {
    ASSERT_TRUE(StartApp());
    ASSERT_TRUE(Doc()->OnSaveDocument(Home("other.zpf")));
    QCoreApplication::processEvents();
    const auto maximizedAndBare = [this] {
        BOOL maximized = FALSE;
        CMDIChildWnd* child = Frame()->MDIGetActive(&maximized);
        CRect childRect, viewRect;
        child->GetWindowRect(&childRect);
        View()->GetWindowRect(&viewRect);
        EXPECT_TRUE(maximized);
        EXPECT_EQ(viewRect, childRect) << "no title band or frame around the view";
        // The maximised window's buttons sit on the menu bar.
        QMenuBar* bar = qobject_cast<QMainWindow*>(Frame()->GetWidget())->menuBar();
        QWidget* buttons = bar->cornerWidget(Qt::TopRightCorner);
        EXPECT_TRUE(buttons && buttons->isVisibleTo(bar));
    };
    maximizedAndBare();
    ui::Screenshot(*Frame(), "document-before-open");
    const std::string frameTitle = Frame()->GetWindowText();

    Doc()->Value(DocCn, 2) = 7;
    Doc()->SetModifiedFlag();
    messages.Answer(IDYES);
    messages.AnswerFile(Home("first.zpf"));
    messages.AnswerFile(Home("other.zpf"));
    Frame()->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    ASSERT_EQ(Frame()->StoredPath(), Home("other.zpf"));
    EXPECT_EQ(ReadBytes(Home("first.zpf")).empty(), false) << "saved first";
    maximizedAndBare();
    ui::Screenshot(*Frame(), "document-after-open");
    EXPECT_EQ(Frame()->GetWindowText(), frameTitle.substr(0, frameTitle.rfind(" - ")) + " - other.zpf");
}

// Files the open refuses: one that is no document at all, one that passes the header check and ends
// early.
TEST_F(ShellDocuments, ARefusedOpenKeepsTheDocumentItsTitleAndItsEdits) {
    StartDrive();
    HandOff("1");
    ASSERT_TRUE(StartApp());
    ASSERT_EQ(ConnectedFlag.load(), 1);
    CParaEditDlg* editor = View()->EditorWindow;
    ASSERT_NE(editor, nullptr);
    // The user answers the start-up's question.
    messages.Answer(IDNO);
    ASSERT_TRUE(FireTimerForTest(editor, ParaEditReadTimer));
    ASSERT_EQ(messages.Shown().size(), 1u);
    ASSERT_EQ(messages.Shown()[0].caption, "Read Parameter");

    ASSERT_TRUE(Doc()->OnSaveDocument(Home("whole.zpf")));
    WriteBytes(Home("garbage.zpf"), "not a parameter file");
    WriteBytes(Home("short.zpf"), ReadBytes(Home("whole.zpf")).substr(0, 600));
    CKeloServoDocument* doc = Doc();
    const std::string frameTitle = Frame()->GetWindowText();
    const std::string childTitle = Frame()->MDIGetActive()->GetWindowText();
    const int featureWord = FeatureStatusWord = 0x35;

    for (const std::string name : {"garbage.zpf", "short.zpf"}) {
        SCOPED_TRACE(name);
        doc->Value(DocCn, 2) = 9;
        doc->SetModifiedFlag();
        messages.Clear();
        messages.Answer(IDNO);
        messages.AnswerFile(Home(name));
        Frame()->SendMessage(WM_COMMAND, ID_FILE_OPEN);
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        ASSERT_EQ(messages.Shown().size(), 2u);
        EXPECT_EQ(messages.Shown()[1].text, "Unexpected file format.");

        EXPECT_EQ(Doc(), doc);
        EXPECT_EQ(AfxGetDocManager().GetOpenDocumentCount(), 1);
        EXPECT_EQ(Frame()->GetWindowText(), frameTitle);
        EXPECT_EQ(Frame()->MDIGetActive()->GetWindowText(), childTitle);
        EXPECT_EQ(Frame()->StoredPath(), "");
        EXPECT_EQ(doc->Value(DocCn, 2), 9);
        EXPECT_TRUE(doc->IsModified()) << "the edits are still unsaved";
        EXPECT_EQ(FeatureStatusWord, featureWord);
        EXPECT_EQ(View()->EditorWindow, editor);

        // The editor's next ticks do not ask to read the drive again.
        messages.Clear();
        ASSERT_TRUE(FireTimerForTest(editor, ParaEditReadTimer));
        ASSERT_TRUE(FireTimerForTest(editor, ParaEditReadTimer));
        EXPECT_TRUE(messages.Shown().empty());
    }
    // Closing still asks about the edits.
    messages.Answer(IDCANCEL);
    Frame()->SendMessage(WM_CLOSE);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "The parameter content has changed, do you want to save it?");
}

struct ShellMemoryImage : ShellDocuments {
    void SetUp() override {
        ShellDocuments::SetUp();
        StartDrive();
        HandOff("1");
        ASSERT_TRUE(StartApp());
        ASSERT_EQ(ConnectedFlag.load(), 1);
        DebugModeFlag = 1;
        for (int i = 0; i < MemoryImageWordCount; ++i)
            drive.SetImageWord(i, static_cast<uint16_t>(i * 3 + 1));
    }
};

TEST_F(ShellMemoryImage, ExportReadsTheDriveAndImportWritesItBack) {
    Frame()->UpdateCommandUI();
    EXPECT_TRUE(Frame()->m_wndToolBar.IsButtonEnabled(ID_EDIT_PARAMETER));
    messages.AnswerFile(Home("image"));
    View()->SendMessage(WM_COMMAND, ID_COPY_TO_COMPUTER);
    ASSERT_EQ(messages.FileRequests().size(), 1u);
    EXPECT_EQ(messages.FileRequests()[0].filter, "Kelo Servo Files (*.dat)|*.dat||");
    const std::string text = ReadBytes(Home("image.dat"));
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.substr(0, 26), "; Kelo Servo v0.1.201221\r\n");
    EXPECT_NE(text.find("H'0004   ;0001"), std::string::npos);
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_EQ(View()->ViewBusyFlag, 0);

    for (int i = 0; i < MemoryImageWordCount; ++i)
        drive.SetImageWord(i, 0);
    messages.AnswerFile(Home("image.dat"));
    View()->SendMessage(WM_COMMAND, ID_COPY_TO_DEVICE);
    EXPECT_EQ(drive.GetImageWord(1), 4);
    EXPECT_EQ(drive.GetImageWord(1023), 1023 * 3 + 1);

    // A file that is not a memory image is refused and nothing is written.
    messages.Clear();
    WriteBytes(Home("other.dat"), "not an image\n");
    drive.ClearLog();
    messages.AnswerFile(Home("other.dat"));
    View()->SendMessage(WM_COMMAND, ID_COPY_TO_DEVICE);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "The file is not a valid Kelo Servo data file.");
    EXPECT_TRUE(Requests().empty());
}

TEST_F(ShellMemoryImage, CancelDuringTheReadWritesNoFile) {
    // The progress window's Cancel is pressed while the transfer runs.
    QTimer cancel;
    cancel.setInterval(20);
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        if (CProgressDlg* window = View()->TransferWindow())
            window->SendMessage(WM_COMMAND, IDCANCEL);
    });
    cancel.start();
    messages.AnswerFile(Home("cancelled"));
    View()->SendMessage(WM_COMMAND, ID_COPY_TO_COMPUTER);
    cancel.stop();
    EXPECT_FALSE(std::filesystem::exists(Home("cancelled.dat")));
    EXPECT_TRUE(messages.Shown().empty()) << "a cancel is no failure";
    EXPECT_EQ(View()->ViewBusyFlag, 0);
    EXPECT_EQ(ConnectedFlag.load(), 1);
    EXPECT_LT(drive.RequestCount(), 2u * MemoryImageWordCount);
}

TEST_F(ShellMemoryImage, UnlinkedCommandsDoNothing) {
    View()->SendMessage(WM_COMMAND, ID_DISCONNECT);
    View()->SendMessage(WM_COMMAND, ID_COPY_TO_COMPUTER);
    View()->SendMessage(WM_COMMAND, ID_COPY_TO_DEVICE);
    EXPECT_TRUE(messages.FileRequests().empty());
}

} // namespace
