#include "framework/ui/Frame.h"
#include "framework/core/Archive.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/App.h"
#include "framework/ui/CmdUI.h"
#include "framework/ui/DC.h"
#include "framework/ui/Doc.h"
#include "framework/ui/Print.h"
#include "framework/ui/RecentFileList.h"
#include "framework/ui/StatusBar.h"
#include "framework/ui/TerminationSignals.h"
#include "framework/ui/ToolBar.h"
#include "framework/ui/View.h"

#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "tests/support/RealPrintDialog.h"

#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QPrinter>
#include <QTimer>
#include <QWidget>

#include <array>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT kFrameId = 128;
constexpr UINT kDocId = 129;
constexpr UINT kRouted = 40001;   // every target sees it, the application takes it
constexpr UINT kDisabled = 40002; // the main frame's update handler disables it
constexpr UINT kOrphan = 40003;   // no handler anywhere
constexpr UINT kChecked = 40004;  // handled, and checked by its update handler
constexpr UINT kPane = 40010;

std::vector<std::string> routeLog;

class TestApp : public CWinApp {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CWinApp::GetMessageMap(), {msg::CommandEx(kRouted, &TestApp::OnRouted)});
        return &map;
    }
    BOOL OnRouted(UINT) {
        routeLog.push_back("app");
        return TRUE;
    }
};

class TestDoc : public CDocument {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CDocument::GetMessageMap(),
                                    {msg::CommandEx(kRouted, &TestDoc::OnRouted)});
        return &map;
    }
    BOOL OnRouted(UINT) {
        routeLog.push_back("document");
        return FALSE;
    }
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring())
            ar << text;
        else
            ar >> text;
    }
    void DeleteContents() override { text.clear(); }
    std::string text;
};

class TestChild : public CMDIChildWnd {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CMDIChildWnd::GetMessageMap(),
                                    {msg::CommandEx(kRouted, &TestChild::OnRouted)});
        return &map;
    }
    BOOL OnRouted(UINT) {
        routeLog.push_back("child frame");
        return FALSE;
    }
};

class TestView : public CView {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CView::GetMessageMap(), {msg::CommandEx(kRouted, &TestView::OnRouted)});
        return &map;
    }
    BOOL OnRouted(UINT) {
        routeLog.push_back("view");
        return FALSE;
    }
    void OnInitialUpdate() override {
        ++initialUpdates;
        CView::OnInitialUpdate();
    }
    BOOL OnPreparePrinting(CPrintInfo* info) override {
        info->SetMaxPage(2);
        return DoPreparePrinting(info);
    }
    void OnPrepareDC(CDC* dc, CPrintInfo* info) override {
        if (dc->IsPrinting())
            dc->SetMapMode(MM_LOENGLISH);
        CView::OnPrepareDC(dc, info);
    }
    void OnPrint(CDC* dc, CPrintInfo* info) override {
        printedPages.push_back(static_cast<int>(info->m_nCurPage));
        dc->TextOut(50, -30, "Page " + std::to_string(info->m_nCurPage));
    }
    int initialUpdates = 0;
    std::vector<int> printedPages;
};

class TestMainFrame : public CMDIFrameWnd {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CMDIFrameWnd::GetMessageMap(),
                                    {
                                        msg::Create(&TestMainFrame::OnCreate),
                                        msg::Close(&TestMainFrame::OnClose),
                                        msg::CommandEx(kRouted, &TestMainFrame::OnRouted),
                                        msg::Command(kDisabled, &TestMainFrame::OnCommand2),
                                        msg::Command(kChecked, &TestMainFrame::OnCommand4),
                                        msg::Command(kPane, &TestMainFrame::OnPaneCommand),
                                        msg::UpdateCommandUI(kDisabled, &TestMainFrame::OnUpdateDisabled),
                                        msg::UpdateCommandUI(kChecked, &TestMainFrame::OnUpdateChecked),
                                    });
        return &map;
    }
    int OnCreate(LPCREATESTRUCT cs) {
        if (CMDIFrameWnd::OnCreate(cs) == -1)
            return -1;
        if (!toolBar.CreateEx(this) || !toolBar.SetButtons({kRouted, 0, kDisabled, kOrphan, kChecked}))
            return -1;
        static const UINT indicators[] = {kPane, 0};
        if (!statusBar.Create(this) || !statusBar.SetIndicators(indicators, 2))
            return -1;
        return 0;
    }
    BOOL OnRouted(UINT) {
        routeLog.push_back("main frame");
        return FALSE;
    }
    void OnClose() {
        if (beforeClose)
            beforeClose();
        CMDIFrameWnd::OnClose();
    }
    void OnCommand2() { routeLog.push_back("disabled command ran"); }
    void OnCommand4() { routeLog.push_back("checked command ran"); }
    void OnPaneCommand() { routeLog.push_back("pane double-click"); }
    void OnUpdateDisabled(CCmdUI* ui) { ui->Enable(FALSE); }
    void OnUpdateChecked(CCmdUI* ui) { ui->SetCheck(1); }

    CToolBar toolBar;
    CStatusBar statusBar;
    std::function<void()> beforeClose; // what the program's own close does first
};

std::shared_ptr<const CResourceModule> TestModule() {
    ResourceSet set;
    set.strings[kFrameId] = "Kelo Test";
    set.strings[kDocId] =
        "\nKeloServo\nKeloServo\nKeloServo Files (*.zpf)\n.zpf\nKeloServo.Document\nKeloServo Document";
    set.strings[kPane] = "Servo Status:";
    MenuTemplate menu;
    menu.id = kFrameId;
    MenuItemTemplate file;
    file.text = "&File";
    for (UINT id : {kRouted, kDisabled, kOrphan, kChecked}) {
        MenuItemTemplate item;
        item.text = "Command " + std::to_string(id);
        item.id = static_cast<int>(id);
        file.children.push_back(item);
    }
    menu.items.push_back(file);
    MenuItemTemplate view;
    view.text = "&View";
    for (UINT id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}) {
        MenuItemTemplate item;
        item.text = "Bar " + std::to_string(id);
        item.id = static_cast<int>(id);
        view.children.push_back(item);
    }
    menu.items.push_back(view);
    set.menus[kFrameId] = menu;
    AcceleratorTable keys;
    keys.id = kFrameId;
    keys.entries.push_back({'D', true, true, false, false, static_cast<int>(kDisabled)});
    keys.entries.push_back({VK_F5, true, false, false, false, static_cast<int>(kChecked)});
    set.accelerators[kFrameId] = keys;
    return std::make_shared<CResourceModule>(std::move(set));
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        routeLog.clear();
        frame = new TestMainFrame;
        ASSERT_TRUE(frame->LoadFrame(kFrameId));
        manager.SetMainFrame(frame);
        manager.AddDocTemplate(MakeDocTemplate<TestDoc, TestChild, TestView>(kDocId));
        handle = frame->GetSafeHwnd();
    }
    void TearDown() override {
        if (IsWindow(handle)) {
            manager.CloseAllDocuments(true);
            frame->DestroyWindow();
        }
        manager.RemoveAllTemplates();
        manager.SetMainFrame(nullptr);
    }
    TestDoc* NewDocument() {
        return dynamic_cast<TestDoc*>(manager.Templates().front()->OpenDocumentFile(std::string()));
    }
    TestView* ViewOf(CDocument* doc) { return dynamic_cast<TestView*>(doc->GetViews().front()); }

    ScopedResourceModule resources{TestModule()};
    TestApp app;
    CDocManager& manager = AfxGetDocManager();
    TestMainFrame* frame = nullptr;
    HWND handle = nullptr;
};

TEST_F(FrameTest, CommandsRouteFromTheViewThroughDocumentAndFramesToTheApplication) {
    TestDoc* doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(ViewOf(doc)->initialUpdates, 1);
    EXPECT_EQ(doc->GetTitle(), "KeloServo1");
    frame->SendMessage(WM_COMMAND, kRouted);
    EXPECT_EQ(routeLog, (std::vector<std::string>{"view", "document", "child frame", "main frame", "app"}));

    // Without a document window the main frame and the application remain.
    manager.CloseAllDocuments(false);
    routeLog.clear();
    frame->SendMessage(WM_COMMAND, kRouted);
    EXPECT_EQ(routeLog, (std::vector<std::string>{"main frame", "app"}));
}

TEST_F(FrameTest, UpdateUiDisablesAndChecksMenuItemsAndToolbarButtons) {
    frame->UpdateCommandUI();
    CMenu* menu = frame->GetMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->GetMenuState(kDisabled, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(menu->GetMenuState(kOrphan, MF_BYCOMMAND) & MF_GRAYED) << "no handler anywhere";
    EXPECT_FALSE(menu->GetMenuState(kRouted, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(menu->GetMenuState(kChecked, MF_BYCOMMAND) & MF_CHECKED);

    EXPECT_FALSE(frame->toolBar.IsButtonEnabled(kDisabled));
    EXPECT_FALSE(frame->toolBar.IsButtonEnabled(kOrphan));
    EXPECT_TRUE(frame->toolBar.IsButtonEnabled(kRouted));
    EXPECT_TRUE(frame->toolBar.IsButtonChecked(kChecked));
    EXPECT_EQ(frame->toolBar.GetCount(), 5);
    EXPECT_EQ(frame->toolBar.CommandToIndex(kOrphan), 3);

    // A disabled button does nothing; shortcuts of disabled commands do not run either.
    EXPECT_FALSE(frame->toolBar.PressButton(kDisabled));
    EXPECT_TRUE(frame->TranslateAccelerator('D', true, false, false));
    EXPECT_TRUE(frame->TranslateAccelerator(VK_F5, false, false, false));
    EXPECT_FALSE(frame->TranslateAccelerator(VK_F5, true, false, false)) << "modifiers must match";
    EXPECT_EQ(routeLog, (std::vector<std::string>{"checked command ran"}));
    EXPECT_EQ(AcceleratorText({'D', true, true, false, false, 0}), "Ctrl+D");
    EXPECT_EQ(AcceleratorText({VK_F5, true, false, true, false, 0}), "Shift+F5");
}

TEST_F(FrameTest, StatusBarPanesHoldTextsWidthsAndColours) {
    CStatusBar& bar = frame->statusBar;
    ASSERT_EQ(bar.GetCount(), 2);
    EXPECT_EQ(bar.GetPaneText(0), "Servo Status:") << "the pane starts with the string of its id";
    bar.SetPaneInfo(0, kPane, SBPS_NORMAL, 120);
    bar.SetPaneInfo(1, 0, SBPS_NORMAL, 80);
    bar.SetPaneText(1, "Servo Offline");
    bar.SetPaneBackgroundColor(1, RGB(255, 0, 0));
    EXPECT_EQ(bar.GetPaneText(1), "Servo Offline");
    EXPECT_EQ(bar.GetPaneBackgroundColor(1), RGB(255, 0, 0));
    EXPECT_EQ(bar.GetPaneBackgroundColor(0), kPaneDefaultColour);
    EXPECT_FALSE(bar.SetPaneText(5, "nothing"));

    bar.GetWidget()->resize(400, 24);
    const QImage image = bar.GetWidget()->grab().toImage();
    CRect red, plain, plainText;
    ASSERT_TRUE(bar.GetItemRect(1, &red));
    ASSERT_TRUE(bar.GetItemRect(0, &plain));
    ASSERT_TRUE(bar.GetPaneTextRect(0, &plainText));
    EXPECT_EQ(plainText.Width(), 120) << "a pane's width is the room for its text";
    EXPECT_GT(plain.Width(), plainText.Width());
    EXPECT_EQ(image.pixelColor(red.right - 2, red.top + 2), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(plain.right - 2, plain.top + 2), ToQColor(GetSysColor(COLOR_BTNFACE)));

    bar.OnPaneDoubleClick(CPoint(plain.left + 5, plain.top + 3));
    EXPECT_EQ(routeLog, (std::vector<std::string>{"pane double-click"}));
}

TEST_F(FrameTest, ClosingAskToSaveAndCancelKeepsEverything) {
    TestDoc* doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag();
    {
        ScriptedMessages answers;
        answers.Answer(IDCANCEL);
        frame->SendMessage(WM_CLOSE);
        ASSERT_EQ(answers.Shown().size(), 1u);
        EXPECT_EQ(answers.Shown()[0].text, "Save changes to KeloServo1?");
        EXPECT_EQ(answers.Shown()[0].type & MB_TYPEMASK, unsigned(MB_YESNOCANCEL));
        EXPECT_TRUE(IsWindow(handle));
        EXPECT_EQ(manager.GetOpenDocumentCount(), 1);
    }
    ScriptedMessages answers;
    answers.Answer(IDNO);
    frame->SendMessage(WM_CLOSE);
    EXPECT_FALSE(IsWindow(handle)) << "No drops the changes and the frame closes";
    EXPECT_EQ(manager.GetOpenDocumentCount(), 0);
}

TEST_F(FrameTest, ViewMenuShowsAndHidesTheBarsWithTheirCheckMarks) {
    // From the document window's menu as much as from the frame's own: the bars are the main frame's.
    ASSERT_NE(NewDocument(), nullptr);
    frame->ShowWindow(SW_SHOW);
    CMenu* menu = frame->GetMenu();
    ASSERT_NE(menu, nullptr);
    struct Case {
        UINT command;
        CWnd* bar;
    } cases[] = {{ID_VIEW_TOOLBAR, &frame->toolBar}, {ID_VIEW_STATUS_BAR, &frame->statusBar}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        frame->UpdateCommandUI();
        EXPECT_EQ(menu->GetMenuState(c.command, MF_BYCOMMAND), unsigned(MF_CHECKED));
        frame->SendMessage(WM_COMMAND, c.command);
        EXPECT_FALSE(c.bar->GetWidget()->isVisible());
        frame->UpdateCommandUI();
        EXPECT_EQ(menu->GetMenuState(c.command, MF_BYCOMMAND), 0u) << "enabled, not checked";
        frame->SendMessage(WM_COMMAND, c.command);
        EXPECT_TRUE(c.bar->GetWidget()->isVisible());
        frame->UpdateCommandUI();
        EXPECT_EQ(menu->GetMenuState(c.command, MF_BYCOMMAND), unsigned(MF_CHECKED));
    }
    // Hidden another way (Qt's own toolbar menu), the check mark still tells the truth.
    frame->toolBar.GetWidget()->hide();
    frame->UpdateCommandUI();
    EXPECT_EQ(menu->GetMenuState(ID_VIEW_TOOLBAR, MF_BYCOMMAND), 0u);
}

TEST_F(FrameTest, ExitClosesThroughTheCloseQuestionAndASessionEndAsksNothing) {
    app.m_pMainWnd = frame;
    TestDoc* doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag();
    {
        ScriptedMessages answers;
        answers.Answer(IDCANCEL);
        frame->SendMessage(WM_COMMAND, ID_APP_EXIT);
        ASSERT_EQ(answers.Shown().size(), 1u);
        EXPECT_EQ(answers.Shown()[0].text, "Save changes to KeloServo1?");
        EXPECT_TRUE(IsWindow(handle)) << "Cancel keeps the program";
    }
    // A session end closes the documents unasked, from the application's loop, after dismissing the
    // modal window it finds open; the main window goes only once that window's loop has unwound. A
    // window the close itself opens (a failure report, say) is dismissed as well.
    ScriptedMessages answers;
    int modalResult = -1;
    bool openAfterModal = false;
    int closeModalResult = -1;
    frame->beforeClose = [&] {
        QDialog report;
        closeModalResult = report.exec();
    };
    QTimer::singleShot(0, [&] {
        QDialog modal;
        QTimer::singleShot(0, [&] { app.EndSession(); });
        modalResult = modal.exec();
        openAfterModal = IsWindow(handle);
    });
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(modalResult, QDialog::Rejected);
    EXPECT_TRUE(openAfterModal);
    EXPECT_EQ(closeModalResult, QDialog::Rejected);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_TRUE(answers.Shown().empty());
    EXPECT_EQ(manager.GetOpenDocumentCount(), 0);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST_F(FrameTest, PrintSetupShowsThePageSetUpDialogOverTheProgramsPrinter) {
    PrintPresenter previous = SetPrintPresenter({});
    PrintPresenter scripted;
    std::vector<bool> setupOnly;
    scripted.dialog = [&](CPrintDialog& dialog, QPrinter& printer) {
        setupOnly.push_back(dialog.m_bPrintSetupOnly);
        EXPECT_EQ(&printer, &AfxGetPrinter());
        return IDOK;
    };
    SetPrintPresenter(scripted);
    frame->SendMessage(WM_COMMAND, ID_FILE_PRINT_SETUP);
    EXPECT_EQ(setupOnly, std::vector<bool>{true});

    // The real presenter shows Qt's print dialog in its set-up form; its choice stays with the printer.
    InstallQtPrintPresenter();
    const std::string path = (std::filesystem::temp_directory_path() / "kelo-print-setup.pdf").string();
    auto seen = AnswerNextPrintDialog(path);
    frame->SendMessage(WM_COMMAND, ID_FILE_PRINT_SETUP);
    EXPECT_TRUE(seen->shown);
    EXPECT_EQ(seen->title, "Print Setup");
    EXPECT_EQ(AfxGetPrinter().outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(AfxGetPrinter().outputFileName().toStdString(), path);
    EXPECT_FALSE(std::filesystem::exists(path)) << "set-up prints nothing";
    AfxGetPrinter().setOutputFileName(QString());
    SetPrintPresenter(previous);
}

TEST_F(FrameTest, SaveYesWritesTheArchiveAndABadFileIsRefusedOnOpen) {
    const std::string path = (std::filesystem::temp_directory_path() / "kelo-frame-test.zpf").string();
    std::filesystem::remove(path);
    TestDoc* doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    doc->text = "parameters";
    doc->SetPathName(path, false);
    doc->SetModifiedFlag();
    {
        ScriptedMessages answers;
        answers.Answer(IDYES);
        EXPECT_TRUE(doc->SaveModified());
        EXPECT_FALSE(doc->IsModified());
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, std::string("\x0A") + "parameters");
    EXPECT_FALSE(std::filesystem::exists(path + ".saving"));
    EXPECT_EQ(doc->GetTitle(), "kelo-frame-test.zpf");

    // Reopening the same path activates the open document; a fresh open reads it back.
    EXPECT_EQ(manager.OpenDocumentFile(path), doc);
    manager.CloseAllDocuments(false);
    auto* reopened = dynamic_cast<TestDoc*>(manager.OpenDocumentFile(path));
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->text, "parameters");
    manager.CloseAllDocuments(false);

    // A count that promises more bytes than the file holds.
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << "\x20"
            << "short";
    }
    ScriptedMessages answers;
    EXPECT_EQ(manager.OpenDocumentFile(path), nullptr);
    ASSERT_EQ(answers.Shown().size(), 1u);
    EXPECT_EQ(answers.Shown()[0].text, "Unexpected file format.");
    EXPECT_EQ(manager.GetOpenDocumentCount(), 0) << "the failed document and its frame are gone";
    std::filesystem::remove(path);
}

TEST_F(FrameTest, ViewPrintsEveryPageThroughItsHooks) {
    TestDoc* doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    TestView* view = ViewOf(doc);
    const std::string path = (std::filesystem::temp_directory_path() / "kelo-view-print.pdf").string();
    auto printer = MakePdfPrinter(path);
    EXPECT_EQ(view->PrintDocument(*printer, true), 2);
    printer.reset();
    EXPECT_EQ(view->printedPages, (std::vector<int>{1, 2}));
    std::ifstream in(path, std::ios::binary);
    char head[5] = {};
    in.read(head, 4);
    EXPECT_STREQ(head, "%PDF");

    // Print preview renders the same pages on the printer the preview hands over.
    view->printedPages.clear();
    PrintPresenter previous = SetPrintPresenter({});
    PrintPresenter preview;
    int previewPages = -1;
    preview.preview = [&](QPrinter&, const std::function<void(QPrinter*)>& render) {
        auto target = MakePdfPrinter(path);
        render(target.get());
        previewPages = static_cast<int>(view->printedPages.size());
    };
    SetPrintPresenter(preview);
    frame->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(previewPages, 2);

    // The print dialog is asked unless the job is direct; without a presenter it is cancelled.
    SetPrintPresenter({});
    printer = MakePdfPrinter(path);
    EXPECT_EQ(view->PrintDocument(*printer, false), 0);
    SetPrintPresenter(previous);
    std::filesystem::remove(path);
}

TEST_F(FrameTest, ToolbarLoadsItsButtonsAndImagesFromResources) {
    // Two 16x15 images on grey, which is the transparent colour of toolbar bitmaps.
    QImage strip(32, 15, QImage::Format_RGB32);
    strip.fill(QColor(192, 192, 192));
    strip.setPixelColor(20, 7, Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    strip.save(&buffer, "PNG");
    ResourceSet set = TestModule()->Set();
    set.toolbars[kFrameId] = ToolbarTemplate{static_cast<int>(kFrameId), 16, 15, {kRouted, 0, kChecked}};
    set.images[kFrameId] =
        ImageResource{static_cast<int>(kFrameId), false, std::vector<std::uint8_t>(png.begin(), png.end())};
    ScopedResourceModule module(std::make_shared<CResourceModule>(std::move(set)));
    CToolBar bar;
    ASSERT_TRUE(bar.CreateEx(frame));
    ASSERT_TRUE(bar.LoadToolBar(kFrameId));
    EXPECT_EQ(bar.GetCount(), 3);
    EXPECT_EQ(bar.GetItemID(1), 0u) << "a separator";
    EXPECT_EQ(bar.GetItemID(2), kChecked);
    EXPECT_FALSE(bar.LoadToolBar(999));
    EXPECT_TRUE(bar.PressButton(kChecked));
    EXPECT_EQ(routeLog, (std::vector<std::string>{"checked command ran"}));
    bar.DestroyWindow();
}

TEST_F(FrameTest, TheCommandLineOpensItsFileOrANewDocument) {
    CCommandLineInfo none;
    none.ParseCommandLine({});
    EXPECT_EQ(none.m_nShellCommand, CCommandLineInfo::FileNew);
    EXPECT_TRUE(manager.ProcessShellCommand(none));
    EXPECT_EQ(manager.GetOpenDocumentCount(), 1);

    CCommandLineInfo file;
    file.ParseCommandLine({"-style", "/missing.zpf"});
    EXPECT_EQ(file.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(file.m_strFileName, "/missing.zpf");
    ScriptedMessages answers;
    EXPECT_FALSE(manager.ProcessShellCommand(file)) << "a file that cannot be opened fails the start";
    EXPECT_EQ(answers.Shown().size(), 1u);
    EXPECT_EQ(manager.GetOpenDocumentCount(), 1);

    CCommandLineInfo dde;
    dde.ParseCommandLine({"/dde"});
    EXPECT_EQ(dde.m_nShellCommand, CCommandLineInfo::FileDDE);
    EXPECT_TRUE(dde.m_strFileName.empty());
}

TEST(RecentFileListTest, KeepsFourNewestFirstAndRoundTripsThroughTheProfile) {
    const std::string profile = (std::filesystem::temp_directory_path() / "kelo-recent-test.ini").string();
    std::filesystem::remove(profile);
    CRecentFileList list(ID_FILE_MRU_FILE1, "My Recent File List", "MyFile%d", 4, 30, profile);
    for (const char* p : {"/a/1.zpf", "/a/2.zpf", "/a/3.zpf", "/a/4.zpf", "/a/5.zpf", "/a/3.zpf"})
        list.Add(p);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[0], "/a/3.zpf");
    EXPECT_EQ(list[1], "/a/5.zpf");
    EXPECT_EQ(list[3], "/a/2.zpf");
    EXPECT_EQ(list[4], "");
    ASSERT_TRUE(list.WriteList());

    CRecentFileList again(ID_FILE_MRU_FILE1, "My Recent File List", "MyFile%d", 4, 30, profile);
    again.ReadList();
    EXPECT_EQ(again.Count(), 4);
    EXPECT_EQ(again[0], "/a/3.zpf");
    std::ifstream in(profile);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("MyFile1=/a/3.zpf"), std::string::npos);

    EXPECT_EQ(CRecentFileList::AbbreviatePath("/home/user/short.zpf", 30), "/home/user/short.zpf");
    EXPECT_EQ(CRecentFileList::AbbreviatePath("/home/user/projects/servo/drive-one.zpf", 30),
              "/home/.../drive-one.zpf");
    EXPECT_EQ(CRecentFileList::AbbreviatePath("/home/a-very-long-folder-name/x.zpf", 12), "x.zpf");

    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, ID_FILE_MRU_FILE1, "Recent File");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_APP_EXIT, "E&xit");
    again.UpdateMenu(&menu);
    ASSERT_EQ(menu.GetMenuItemCount(), 6);
    EXPECT_EQ(menu.GetMenuItemID(1), int(ID_FILE_MRU_FILE1 + 1));
    EXPECT_EQ(menu.GetMenuString(ID_FILE_MRU_FILE1 + 1, MF_BYCOMMAND), "&2 /a/5.zpf");
    again.Remove(3);
    again.Remove(2);
    again.Remove(1);
    again.UpdateMenu(&menu);
    EXPECT_EQ(menu.GetMenuItemCount(), 3) << "entries shown before are taken out again";
    std::filesystem::remove(profile);
}

} // namespace

namespace {

TEST(TerminationSignals, ASignalIsHandledOnTheEventLoopOnceAndTheOldHandlersComeBack) {
    EnsureQtApplication();
    struct sigaction before {};
    sigaction(SIGHUP, nullptr, &before);
    std::vector<int> received;
    {
        TerminationSignalWatch watch([&](int signal) { received.push_back(signal); });
        ASSERT_TRUE(watch.Active());
        TerminationSignalWatch second([&](int) { ADD_FAILURE() << "only one watch catches the signals"; });
        EXPECT_FALSE(second.Active());
        raise(SIGHUP);
        EXPECT_TRUE(received.empty()) << "nothing runs inside the signal handler";
        EXPECT_TRUE(SpinUntil([&] { return !received.empty(); }));
        EXPECT_EQ(received, std::vector<int>{SIGHUP});
        // A second SIGHUP now gets the default action, so a stuck close can still be stopped.
        struct sigaction now {};
        sigaction(SIGHUP, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL);
        sigaction(SIGTERM, nullptr, &now);
        EXPECT_NE(now.sa_handler, SIG_DFL) << "the other signals are still caught";
    }
    struct sigaction after {};
    sigaction(SIGHUP, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
    sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, SIG_DFL);
}

} // namespace
