// The status display list window: its rows fed by the monitor cycle from the simulated drive, its
// selection file and its CSV export through the scripted file dialogs.
#include "WindowsFixture.h"

#include "catalogue/ParamCode.h"
#include "catalogue/ParamTexts.h"
#include "framework/core/Format.h"
#include "framework/ui/ComboBox.h"
#include "resources/ids/monitor.h"
#include "shell/ShellGlobals.h"
#include "shell/monitor/MonUnAPDlg.h"

#include <fstream>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

struct UnListWindow : WindowsFixture {
    void SetUp() override {
        WindowsFixture::SetUp();
        DebugModeFlag = 0;
    }
    CMonUnAPDlg* Open() {
        auto* window = new CMonUnAPDlg(nullptr, readers, state, &doc);
        window->OnClosed = [this] { ++closed; };
        EXPECT_TRUE(window->Create());
        return window;
    }
    // Chooses a code in a row's combo as the user would.
    static void Choose(CMonUnAPDlg& window, int row, const std::string& code) {
        auto* combo = dynamic_cast<CComboBox*>(window.GetDlgItem(IDC_UNLIST_COMBO_FIRST + row));
        ASSERT_NE(combo, nullptr);
        const int item = combo->FindStringExact(-1, code);
        ASSERT_GE(item, 0) << code;
        combo->SetCurSel(item);
        window.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_UNLIST_COMBO_FIRST + row, CBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(combo->GetSafeHwnd()));
    }
    UnListState state;
    int closed = 0;
};

TEST_F(UnListWindow, RowsShowTheValuesOfTheRowsSwitchedOn) {
    CMonUnAPDlg* window = Open();
    EXPECT_EQ(readers.MonitorListWindow, window);
    const std::vector<std::string> codes = UnListComboCodes(doc.Context());
    ASSERT_GT(codes.size(), 20u);
    // Row i starts on item i, every row off with its name greyed.
    for (int row : {0, 7, 19}) {
        EXPECT_EQ(window->RowCode(row), codes[row]);
        EXPECT_EQ(state.MonitorUnCodes[row], codes[row]);
        EXPECT_FALSE(window->GetDlgItem(IDC_UNLIST_NAME_FIRST + row)->IsWindowEnabled());
    }

    Choose(*window, 0, "Un-09");
    Choose(*window, 2, "Un-27");
    EXPECT_EQ(window->GetRowItemIndex(0), 1009);
    EXPECT_EQ(window->GetDlgItemText(IDC_UNLIST_NAME_FIRST), ParamTitle("Un-09", ResourceStringLoader()));
    EXPECT_EQ(state.MonitorUnCodes[0], "Un-09");
    Click(*window, IDC_UNLIST_CHECK_FIRST);
    Click(*window, IDC_UNLIST_CHECK_FIRST + 2);
    EXPECT_TRUE(window->RowEnabled(0));
    EXPECT_FALSE(window->RowEnabled(1));
    EXPECT_TRUE(window->GetDlgItem(IDC_UNLIST_NAME_FIRST)->IsWindowEnabled());

    drive.SetRegister(0x060B, 1234); // Un09
    drive.SetRegister(0x0623, 0x1A); // Un27
    ASSERT_EQ(readers.RefreshMonitorDisplay(), 1);
    EXPECT_EQ(window->GetDlgItemText(IDC_UNLIST_VALUE_FIRST), "12.34");
    EXPECT_EQ(window->GetDlgItemText(IDC_UNLIST_VALUE_FIRST + 1), "") << "a row switched off is not read";
    EXPECT_EQ(window->GetDlgItemText(IDC_UNLIST_VALUE_FIRST + 2), "001A");
    EXPECT_EQ(LookOf(*window, IDC_UNLIST_VALUE_FIRST).text, RGB(255, 0, 0));

    // Switching a row off clears its value at once; "C&lear" switches every row off.
    Click(*window, IDC_UNLIST_CHECK_FIRST + 2);
    EXPECT_EQ(window->GetDlgItemText(IDC_UNLIST_VALUE_FIRST + 2), "");
    Click(*window, IDC_UNLIST_CLEAR);
    EXPECT_EQ(window->GetDlgItemText(IDC_UNLIST_VALUE_FIRST), "");
    EXPECT_FALSE(window->RowEnabled(0));
    Click(*window, IDC_UNLIST_ALL);
    EXPECT_TRUE(window->RowEnabled(19));
    EXPECT_TRUE(window->GetDlgItem(IDC_UNLIST_NAME_FIRST + 19)->IsWindowEnabled());

    // Closing keeps the rows for the next window.
    Click(*window, IDCANCEL);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(readers.MonitorListWindow, nullptr);
    EXPECT_EQ(state.UnRowEnableFlags[5], 1);
    // A stored choice the list no longer offers (an onU item after Project Mode ended) falls back
    // to the row's own item.
    state.MonitorUnSet[4] = 500;
    CMonUnAPDlg* again = Open();
    EXPECT_EQ(again->RowCode(0), "Un-09");
    EXPECT_EQ(again->RowCode(2), "Un-27");
    EXPECT_EQ(again->RowCode(4), codes[4]);
    EXPECT_TRUE(again->RowEnabled(5));
    // A window the view destroys keeps its rows as well.
    Click(*again, IDC_UNLIST_CHECK_FIRST + 5);
    Choose(*again, 6, "Un-97");
    again->DestroyWindow();
    EXPECT_EQ(closed, 1) << "only the user's close is reported";
    EXPECT_EQ(readers.MonitorListWindow, nullptr);
    EXPECT_EQ(state.UnRowEnableFlags[5], 0);
    EXPECT_EQ(state.MonitorUnSet[4], 4);
    EXPECT_EQ(state.MonitorUnCodes[6], "Un-97");
}

TEST_F(UnListWindow, SelectionFileSavesAndRestoresTheRows) {
    CMonUnAPDlg* window = Open();
    Choose(*window, 0, "Un-09");
    messages.AnswerFile(File("rows.unp"));
    Click(*window, IDC_UNLIST_SAVE_SET);
    ASSERT_EQ(messages.FileRequests().size(), 1u);
    const FileDialogRequest& request = messages.FileRequests()[0];
    EXPECT_FALSE(request.open);
    EXPECT_EQ(request.defaultExt, "unp");
    EXPECT_EQ(request.filter, "Un Parameter Set File (*.unp)|*.unp||");
    EXPECT_EQ(request.flags, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    const std::string saved = ReadAll(File("rows.unp"));
    EXPECT_EQ(saved, UnSelectionText(state.MonitorUnCodes));
    EXPECT_EQ(saved.substr(0, 37), "Un_ParaSet File Ver:0.1.231108\nUn-09\n");

    // Another extension is refused before anything is created.
    messages.AnswerFile(File("rows.txt"));
    Click(*window, IDC_UNLIST_SAVE_SET);
    EXPECT_FALSE(std::filesystem::exists(File("rows.txt")));
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].type, MB_OK | MB_ICONSTOP);
    messages.Clear();

    // A short file: "Un-5" fills no slot (row 1 keeps its code), "Un-03" goes to row 2, an unknown
    // code puts its row back to its own item, rows after the file's end keep theirs.
    const std::string row1 = window->RowCode(1);
    WriteAll(File("short.unp"), "Un_ParaSet File Ver:0.1.231108\nUn-27\nUn-5\nUn-03\nUn-99\n");
    messages.AnswerFile(File("short.unp"));
    Click(*window, IDC_UNLIST_OPEN_SET);
    EXPECT_TRUE(messages.FileRequests().back().open);
    EXPECT_EQ(messages.FileRequests().back().flags, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_EQ(window->RowCode(0), "Un-27");
    EXPECT_EQ(window->RowCode(1), row1);
    EXPECT_EQ(window->RowCode(2), "Un-03");
    const std::vector<std::string> codes = UnListComboCodes(doc.Context());
    EXPECT_EQ(window->RowSelection(3), 3);
    EXPECT_EQ(window->RowCode(3), codes[3]);
    EXPECT_EQ(window->RowCode(4), codes[4]);

    // A file without the header changes nothing.
    WriteAll(File("bad.unp"), "Un_Other\nUn-01\n");
    messages.AnswerFile(File("bad.unp"));
    Click(*window, IDC_UNLIST_OPEN_SET);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Error: Failed to open file! \nThe file format is incorrect! \n");
    EXPECT_EQ(messages.Shown()[0].caption, "Open");
    EXPECT_EQ(window->RowCode(0), "Un-27");
    window->DestroyWindow();
}

TEST_F(UnListWindow, CsvExportWritesEveryRowAsShown) {
    CMonUnAPDlg* window = Open();
    Choose(*window, 0, "Un-09");
    Click(*window, IDC_UNLIST_CHECK_FIRST);
    drive.SetRegister(0x060B, 5);
    ASSERT_EQ(readers.RefreshMonitorDisplay(), 1);
    messages.AnswerFile(File("data"));
    Click(*window, IDC_UNLIST_SAVE_DATA);
    EXPECT_EQ(messages.FileRequests().back().filter, "Un Parameter Text File (*.csv)|*.csv||");
    const std::string text = ReadAll(File("data.csv"));
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[0], "Un-XX Status Display Parameter Ver:0.1.231108");
    EXPECT_EQ(lines[1], "Code,Parameter Name,Display Value,Unit,");
    const StringLoader load = ResourceStringLoader();
    EXPECT_EQ(lines[2], "Un-09," + TrimLeft(ParamTitle("Un-09", load)) + ",00.05," +
                            window->GetDlgItemText(IDC_UNLIST_UNIT_FIRST) + ",");
    // Rows switched off still have their line, with an empty value.
    EXPECT_EQ(lines[3].substr(0, 6), window->RowCode(1) + ",");
    EXPECT_NE(lines[3].find(",,"), std::string::npos);
    window->DestroyWindow();
}

TEST_F(UnListWindow, ProjectModeAddsTheOnUCodes) {
    const std::size_t normal = UnListComboCodes(doc.Context()).size();
    DebugModeFlag = 1;
    CMonUnAPDlg* window = Open();
    auto* combo = dynamic_cast<CComboBox*>(window->GetDlgItem(IDC_UNLIST_COMBO_FIRST));
    ASSERT_NE(combo, nullptr);
    EXPECT_GT(static_cast<std::size_t>(combo->GetCount()), normal);
    EXPECT_EQ(combo->GetLBText(combo->GetCount() - 1).substr(0, 3), "onU");
    window->DestroyWindow();
    DebugModeFlag = 0;
}

} // namespace
