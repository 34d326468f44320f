#include "framework/core/ResourceModule.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/WindowStyles.h"
#include "resources/ids/paramedit.h"
#include "resources/ids/shell.h"
#include "tests/support/PrivateHome.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string BinaryDir() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    std::string exe(path, static_cast<std::size_t>(n));
    return exe.substr(0, exe.rfind('/'));
}

TEST(ResourceModule, LookupsOfAScriptModuleAndMissingIds) {
    std::string error;
    auto module = CResourceModule::FromScript(
        "STRINGTABLE BEGIN 5, \"five\" 6, \"\" END\n"
        "9 DIALOG 0, 0, 50, 20 CAPTION \"Nine\" BEGIN PUSHBUTTON \"OK\", IDOK, 1, 1, 20, 10 END\n"
        "9 MENU BEGIN MENUITEM \"x\", 100 END\n"
        "9 ACCELERATORS BEGIN \"X\", 100, VIRTKEY END\n"
        "9 TOOLBAR 16, 15 BEGIN BUTTON 100 END\n",
        "test.rc", nullptr, &error);
    ASSERT_TRUE(module) << error;
    ScopedResourceModule scope(module);
    EXPECT_EQ(LoadResString(5), "five");
    EXPECT_EQ(LoadResString(6), "");
    EXPECT_EQ(LoadResString(7), "") << "a missing id gives an empty text";
    ASSERT_NE(FindDialogTemplate(9), nullptr);
    EXPECT_EQ(FindDialogTemplate(9)->caption, "Nine");
    EXPECT_EQ(FindDialogTemplate(10), nullptr);
    EXPECT_NE(FindMenu(9), nullptr);
    EXPECT_NE(FindAccelerators(9), nullptr);
    EXPECT_NE(FindToolbar(9), nullptr);
    EXPECT_EQ(FindImage(9), nullptr);
}

TEST(ResourceModule, ScriptErrorComesBackWithFileAndLine) {
    std::string error;
    EXPECT_EQ(CResourceModule::FromScript("STRINGTABLE\nBEGIN\n  5 \"x\n", "broken.rc", nullptr, &error),
              nullptr);
    EXPECT_EQ(error, "broken.rc:3: unterminated string");
}

TEST(ResourceModule, ScopeRestoresThePreviousModuleAndOldTemplatesStayValid) {
    auto first = CResourceModule::FromScript("1 DIALOG 0,0,1,1 CAPTION \"first\" BEGIN END");
    auto second = CResourceModule::FromScript("STRINGTABLE BEGIN 1, \"second\" END");
    ScopedResourceModule outer(first);
    const DialogTemplate* held = FindDialogTemplate(1);
    ASSERT_NE(held, nullptr);
    {
        ScopedResourceModule inner(second);
        EXPECT_EQ(LoadResString(1), "second");
        EXPECT_EQ(FindDialogTemplate(1), nullptr);
    }
    first.reset();
    EXPECT_EQ(FindDialogTemplate(1), held);
    EXPECT_EQ(held->caption, "first");
}

TEST(ResourceModule, MissingLibraryFailsQuietlyAndKeepsTheCurrentModule) {
    auto module = CResourceModule::FromScript("STRINGTABLE BEGIN 128, \"kept\" END");
    ScopedResourceModule scope(module);
    EXPECT_FALSE(AfxLoadResourceLibrary("libVimbraMissing.so"));
    EXPECT_EQ(LoadResString(128), "kept");
    std::string error;
    EXPECT_EQ(CResourceModule::LoadLibrary("libVimbraMissing.so", &error), nullptr);
    EXPECT_FALSE(error.empty());
    // A library without a resource set is refused as well.
    EXPECT_EQ(CResourceModule::LoadLibrary("libc.so.6", &error), nullptr);
    EXPECT_NE(error.find("no resource set"), std::string::npos) << error;
}

// The real library, found by its plain name beside this program.
TEST(ResourceLibrary, LoadsByPlainNameWithTheShellSet) {
    std::string error;
    ASSERT_NE(CResourceModule::LoadLibrary(kResourceLibraryName, &error), nullptr) << error;
    ScopedResourceModule scope(nullptr);
    ASSERT_TRUE(AfxLoadResourceLibrary());
    EXPECT_EQ(LoadResString(IDS_PRODUCT_NAME), "KeloServo");
    EXPECT_EQ(
        LoadResString(IDR_KELOSERVO_DOC),
        "\nKeloServo\nKeloServo\nKeloServo Files (*.zpf)\n.zpf\nKeloServo.Document\nKeloServo Document");

    const MenuTemplate* frame = FindMenu(IDR_MAINFRAME);
    const MenuTemplate* document = FindMenu(IDR_KELOSERVO_DOC);
    ASSERT_TRUE(frame && document);
    auto titles = [](const MenuTemplate* menu) {
        std::vector<std::string> out;
        for (const auto& item : menu->items)
            out.push_back(item.text);
        return out;
    };
    EXPECT_EQ(titles(frame), (std::vector<std::string>{"&File", "&View", "&Help"}));
    EXPECT_EQ(titles(document), (std::vector<std::string>{"&File", "&Connect", "&Parameter", "&Monitor",
                                                          "&Adjust", "M&otor", "&View", "&Help"}));

    // The toolbar's buttons, in the frame's order, with one picture each in the strip.
    const ToolbarTemplate* toolbar = FindToolbar(IDR_MAINFRAME);
    ASSERT_NE(toolbar, nullptr);
    std::vector<int> buttons;
    for (int id : toolbar->buttons)
        if (id)
            buttons.push_back(id);
    EXPECT_EQ(buttons,
              (std::vector<int>{57600, 57601, 57603, 57607, 57609, 32771, 32772, 32778, 32779, 32780, 32781,
                                32785, 32782, 32783, 32784, 32786, 32787, 32788, 32801, 32802, 32789}));
    const ImageResource* strip = FindImage(IDR_MAINFRAME);
    ASSERT_NE(strip, nullptr);
    int width = 0, height = 0;
    ASSERT_TRUE(ReadPngSize(strip->bytes, width, height));
    EXPECT_EQ(width, 16 * 21);
    EXPECT_EQ(height, 15);
    EXPECT_NE(FindAccelerators(IDR_MAINFRAME), nullptr);

    const DialogTemplate* rw = FindDialogTemplate(IDD_RW_PROGRESS);
    ASSERT_NE(rw, nullptr);
    std::vector<int> ids;
    for (const auto& control : rw->controls)
        ids.push_back(control.id);
    EXPECT_EQ(ids, (std::vector<int>{IDC_PROGRESS_BAR, IDC_PROGRESS_TEXT, IDCANCEL}));
    EXPECT_EQ(rw->controls[0].className, "msctls_progress32");
    EXPECT_EQ(FindDialogTemplate(IDD_PROGRESS_PARAEDIT)->caption, "Waiting ....");
    EXPECT_EQ(FindDialogTemplate(IDD_PROGRESS)->caption, "");
}

void Flatten(const std::vector<MenuItemTemplate>& items, std::map<int, std::string>& out) {
    for (const MenuItemTemplate& item : items) {
        if (item.id)
            out[item.id] = item.text;
        Flatten(item.children, out);
    }
}

// The document menu carries the quoted texts letter for letter, and nothing that stays off it.
TEST(ResourceLibrary, DocumentMenuTextsAsQuoted) {
    auto module = CResourceModule::LoadLibrary(kResourceLibraryName);
    ASSERT_NE(module, nullptr);
    std::map<int, std::string> texts;
    Flatten(module->Menu(IDR_KELOSERVO_DOC)->items, texts);
    const std::pair<int, const char*> quoted[] = {
        {32776, "&Connect..."},
        {32777, "&Disconnect..."},
        {32773, "Copy to &Device"},
        {32774, "Copy to &Computer"},
        {32772, "&Edit Parameter..."},
        {32778, "Eidt &Online Parameter..."},
        {32779, "D&I/DO Contact Set Property..."},
        {32780, "Internal Position Command &Programming..."},
        {32781, "&Mechanical Characteristic Analysis..."},
        {32795, "Encoder Magnetic Pole &Alignment..."},
        {32790, "&Custom parameter..."},
        {32793, "Teaching Parameter Setting &Wizard..."},
        {32794, "Self-built Motor &Parameter..."},
        {32799, "Accessories &Selection..."},
        {32775, "&Project Mode..."},
        {32782, "Di&splay Parameter..."},
        {32783, "&Diagnostics Parameters..."},
        {32784, "&Alarm Parameters..."},
        {32800, "&Life Prediction..."},
        {32785, "Wave &Trace..."},
        {32806, "&Box Function..."},
        {32786, "&JOG Mode..."},
        {32808, "&Inertia Estimation..."},
        {32787, "&Auto Gain Adjust..."},
        {32788, "Auto &Offset Adjust..."},
        {32796, "Online &Notch..."},
        {32797, "Online &Low Frequency Vibration..."},
        {32803, "&Rigid Adjust..."},
        {32791, "Pro&gram Jog..."},
        {32804, "Position &Control..."},
        // Reachable on its own too, beside its siblings.
        {32805, "M&ulti-position Test Run..."},
        {32807, "Statusbar S&et"},
        {32789, "&Content"},
        {57607, "&Print...\tCtrl+P"},
        {57609, "Print Pre&view"},
    };
    for (const auto& [id, text] : quoted) {
        ASSERT_TRUE(texts.count(id)) << id;
        EXPECT_EQ(texts.at(id), text) << id;
    }
    for (int absent : {32771, 32792, 32798, 32801, 32802})
        EXPECT_EQ(texts.count(absent), 0u) << absent;
}

// Runs kelo-rc on files written here; returns its exit status and what it printed.
int RunCompiler(const std::string& args, std::string& output) {
    const std::string command = "QT_QPA_PLATFORM=offscreen '" + BinaryDir() + "/kelo-rc' " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ResourceCompiler, BadScriptFailsWithFileAndLineAndWritesNothing) {
    ScratchFolder dir("kelo-rc-test");
    ASSERT_TRUE(dir.Ok());
    const std::string& base = dir.Path();
    std::ofstream(base + "/ids.h") << "#define IDC_GOOD 100\n#define IDD_GOOD 101\n";
    std::ofstream(base + "/good.rc") << "STRINGTABLE BEGIN IDC_GOOD, \"fine\" END\n"
                                        "IDD_GOOD DIALOG 0, 0, 10, 10 BEGIN END\n";
    std::ofstream(base + "/bad.rc")
        << "// two lines of comment\n\nSTRINGTABLE\nBEGIN\n  IDC_MISSING, \"x\"\nEND\n";
    std::ofstream(base + "/image.rc") << "\n7 BITMAP \"absent.png\"\n";
    // Code finds a template by its name, so a template without one is refused.
    std::ofstream(base + "/numbered.rc") << "// the alarm window\n\n143 DIALOG 0, 0, 10, 10 BEGIN END\n";

    std::string output;
    const int status =
        RunCompiler("--out " + base + "/out.cpp --images " + base + " " + base + "/ids.h " + base +
                        "/good.rc " + base + "/bad.rc " + base + "/image.rc " + base + "/numbered.rc",
                    output);
    EXPECT_EQ(status, 1) << output;
    EXPECT_NE(output.find(base + "/bad.rc:5: unknown name 'IDC_MISSING'"), std::string::npos) << output;
    EXPECT_NE(output.find(base + "/image.rc:2: cannot read image file"), std::string::npos) << output;
    EXPECT_NE(output.find(base + "/numbered.rc:3: dialog 143 has a bare number for its id"),
              std::string::npos)
        << output;
    EXPECT_FALSE(std::ifstream(base + "/out.cpp").good());

    output.clear();
    EXPECT_EQ(RunCompiler("--out " + base + "/out.cpp --images " + base + " " + base + "/ids.h " + base +
                              "/good.rc",
                          output),
              0)
        << output;
    std::ifstream generated(base + "/out.cpp");
    std::string text((std::istreambuf_iterator<char>(generated)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("kelo_resource_set"), std::string::npos);
}

} // namespace
