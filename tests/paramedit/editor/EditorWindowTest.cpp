// The editor window as a user sees it: the read after a new link, the rows with their texts and
// marks, the tabs of each series, editing a row, Select All and what survives closing the window.
#include "EditorFixture.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/ParamTexts.h"
#include "catalogue/RegisterMap.h"
#include "framework/core/Format.h"
#include "framework/ui/Button.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/TextFit.h"
#include "link/LinkState.h"
#include "paramedit/ParaEditState.h"
#include "resources/ids/paradialogs.h"
#include "resources/ids/paraedit.h"
#include "resources/ids/valueedit.h"
#include "tests/support/LabelFit.h"
#include "tests/support/Screenshot.h"

#include <algorithm>
#include <climits>

namespace {

bool Contains(const std::vector<std::string>& list, const std::string& text) {
    return std::find(list.begin(), list.end(), text) != list.end();
}

} // namespace

TEST_F(EditorFixture, OpeningWhileLinkedReadsEveryParameterAndShowsIt) {
    LoadDriveDefaults();
    drive->SetRegister(Register("Cn025"), 1234);
    drive->SetRegister(Register("Sn212"), 19000);
    drive->SetRegister32(Register("Pn302"), 100000);
    Open();

    ASSERT_EQ(messages->Shown().size(), 1u) << "only the question, nothing over range";
    EXPECT_EQ(messages->Shown()[0].text, "Do you want to read the parameters of the Servo drive?");
    EXPECT_EQ(messages->Shown()[0].caption, "Read Parameter");
    EXPECT_EQ(messages->Shown()[0].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(view.services.ViewBusyFlag, 0);

    const std::vector<std::string> requests = Requests();
    for (const std::string& request : requests)
        EXPECT_EQ(request.substr(0, 2), "R1") << request;
    for (int n = 1; n <= 7; ++n) {
        const std::string code = "qn50" + std::to_string(n);
        const auto address = ParamCodeRegisterAddress(code);
        if (address) {
            EXPECT_FALSE(Contains(requests, Maker(Format("R1%04X", *address)))) << code << " is never read";
        }
    }
    EXPECT_TRUE(Contains(requests, Maker("R10302")) && Contains(requests, Maker("R10303")))
        << "a 32-bit value is read as its low and its high word";

    EXPECT_EQ(Value("Cn025"), 1234);
    EXPECT_EQ(Value("Pn302"), 100000);
    EXPECT_EQ(Value("Sn212"), 19000);
    EXPECT_EQ(Value("qn502"), 19000) << "qn follows its Sn twin";
    EXPECT_TRUE(doc->IsModified());

    ChooseTab("Cn0");
    const CatalogueContext context = doc->Context();
    EXPECT_EQ(Cell("Cn025", 0), "Cn025");
    EXPECT_EQ(Cell("Cn025", 1), ParamTitle("Cn025", ResourceStringLoader()));
    EXPECT_EQ(Cell("Cn025", 2), "1234");
    EXPECT_EQ(Cell("Cn025", 3), ParamUnitText("Cn025", context, ResourceStringLoader()));
    EXPECT_EQ(Cell("Cn025", 4), "0~2000");
    EXPECT_EQ(Cell("Cn025", 5), FormatParamValue("Cn025", *doc->FindDefault("Cn025"), context));
    EXPECT_EQ(Cell("Cn002", 4), "0000~1011") << "hexadecimal parameters show four digits";
    EXPECT_EQ(Row("Tn101"), -1) << "the Cn0 tab shows only Cn";
    EXPECT_NE(ValueBack("Cn025"), ParaEditOverRangeBack);
    EXPECT_NE(ValueBack("Cn025"), ParaEditChangedBack);
}

TEST_F(EditorFixture, ValueReadOverItsRangeIsRedAndNoticedOnce) {
    LoadDriveDefaults();
    drive->SetRegister(Register("Cn025"), 2500); // range 0~2000
    Open();

    ASSERT_EQ(messages->Shown().size(), 2u);
    EXPECT_EQ(messages->Shown()[1].text, "Parameter(s) in Red Over Range!");
    EXPECT_EQ(messages->Shown()[1].type, MB_OK);
    EXPECT_EQ(Value("Cn025"), 2500) << "the drive's value is shown as it is";
    EXPECT_TRUE(Contains(doc->m_Names, "Cn025,2500"));
    ChooseTab("Cn0");
    EXPECT_EQ(Cell("Cn025", 2), "2500");
    EXPECT_EQ(ValueBack("Cn025"), ParaEditOverRangeBack);
    EXPECT_NE(ValueBack("Cn003"), ParaEditOverRangeBack);
}

TEST_F(EditorFixture, EachNewLinkIsReadOnce) {
    LoadDriveDefaults();
    Open();
    drive->ClearLog();
    messages->Clear();

    FireTimerForTest(editor, ParaEditReadTimer);
    EXPECT_EQ(drive->RequestCount(), 0u) << "the opening read counts for this link";

    ConnectedFlag = 0;
    FireTimerForTest(editor, ParaEditReadTimer);
    editor->RefreshRows(); // as the view does after a disconnect
    EXPECT_FALSE(editor->GetDlgItem(IDC_PE_WRITE)->IsWindowEnabled());
    EXPECT_FALSE(editor->GetDlgItem(IDC_PE_READ)->IsWindowEnabled());

    ConnectedFlag = 1;
    FireTimerForTest(editor, ParaEditReadTimer);
    EXPECT_GT(drive->RequestCount(), 500u) << "the new link is read";
    EXPECT_TRUE(editor->GetDlgItem(IDC_PE_WRITE)->IsWindowEnabled());
    const size_t afterRead = drive->RequestCount();
    FireTimerForTest(editor, ParaEditReadTimer);
    EXPECT_EQ(drive->RequestCount(), afterRead) << "and only once";
    // The first read left the document modified, so the second asks to save it first.
    ASSERT_EQ(messages->Shown().size(), 2u);
    EXPECT_EQ(messages->Shown()[1].text, "The parameter content has changed, do you want to save it?");
    EXPECT_EQ(messages->Shown()[1].caption, "Save File");
    EXPECT_EQ(messages->Shown()[1].type, MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    EXPECT_EQ(view.saves, 1);
}

struct SeriesTabsCase {
    int series;
    bool pn4;
    bool en;
};

class SeriesTabs : public EditorFixture, public ::testing::WithParamInterface<SeriesTabsCase> {
protected:
    void SetUp() override { Start(GetParam().series); }
};

TEST_P(SeriesTabs, TabsFollowTheSeries) {
    messages->Answer(IDNO);
    Open();
    const std::vector<std::string> labels = TabLabels();
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.front(), "Custom Display");
    EXPECT_EQ(labels.back(), "Initial Value Compare Table");
    EXPECT_EQ(Contains(labels, "Pn4"), GetParam().pn4);
    EXPECT_EQ(Contains(labels, "En7"), GetParam().en);
    EXPECT_FALSE(Contains(labels, "EC9"));
    EXPECT_FALSE(Contains(labels, "MAb"));
    for (const char* label : {"Cn0", "Tn1", "Sn2", "Pn3", "qn5", "Hn6", "tn8"})
        EXPECT_TRUE(Contains(labels, label)) << label;

    ChooseTab("Initial Value Compare Table");
    EXPECT_EQ(editor->m_list.GetItemCount(), 0) << "a fresh document equals its defaults";
    Value("Cn025") = *doc->FindDefault("Cn025") + 1;
    ChooseTab("Cn0");
    ChooseTab("Initial Value Compare Table");
    EXPECT_EQ(editor->m_list.GetItemCount(), 1);
    EXPECT_GE(Row("Cn025"), 0);
}

INSTANTIATE_TEST_SUITE_P(Series, SeriesTabs,
                         ::testing::Values(SeriesTabsCase{4, true, true}, SeriesTabsCase{5, false, true},
                                           SeriesTabsCase{7, true, false}));

namespace {
// Acts in the generic value editor: types the value and confirms it (or cancels).
void EnterValue(const std::string& text, bool confirm = true) {
    CDialog::SetModalHookForTest([text, confirm](CDialog& dialog) {
        dialog.GetDlgItem(IDC_VE_VALUE)->SetWindowText(text);
        dynamic_cast<CButton*>(dialog.GetDlgItem(confirm ? IDOK : IDCANCEL))->Click();
    });
}
} // namespace

TEST_F(EditorFixture, EditingARowUpdatesItsTwinsAndMarks) {
    messages->Answer(IDNO);
    Open();
    ChooseTab("Sn2");
    editor->m_list.SetCheck(Row("Sn212"), false);
    const int before = Value("Sn212");

    editor->m_list.SetSelectionMark(Row("Sn212"));
    EnterValue("300", false);
    Click(IDC_PE_EDIT);
    EXPECT_EQ(Value("Sn212"), before) << "Cancel changes nothing";
    EXPECT_NE(ValueBack("Sn212"), ParaEditChangedBack);

    EnterValue("300");
    Click(IDC_PE_EDIT);
    EXPECT_EQ(Value("Sn212"), 300);
    EXPECT_EQ(Value("qn502"), 300);
    EXPECT_EQ(Value("tn859"), 300);
    EXPECT_EQ(Cell("Sn212", 2), "300");
    EXPECT_EQ(ValueBack("Sn212"), ParaEditChangedBack);
    EXPECT_TRUE(editor->m_list.GetCheck(Row("Sn212")));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(messages->Shown().size() == 1u) << "no message beyond the opening question";

    // The twins that were not shown carry their marks to their own tabs.
    for (const char* tab : {"qn5", "tn8"}) {
        ChooseTab(tab);
        const std::string code = tab[0] == 'q' ? "qn502" : "tn859";
        EXPECT_EQ(Cell(code, 2), "300") << code;
        EXPECT_EQ(ValueBack(code), ParaEditChangedBack) << code;
        EXPECT_TRUE(editor->m_list.GetCheck(Row(code))) << code;
    }

    // Enter in the table edits the selected row too.
    ChooseTab("Sn2");
    editor->m_list.SetSelectionMark(Row("Sn211"));
    EnterValue("120");
    MSG enter;
    enter.hwnd = &editor->m_list;
    enter.message = WM_KEYDOWN;
    enter.wParam = VK_RETURN;
    EXPECT_TRUE(editor->PreTranslateMessage(&enter));
    EXPECT_EQ(Value("Sn211"), 120);
    EXPECT_EQ(Value("qn501"), 120);
}

TEST_F(EditorFixture, RigidityLevelSetsItsGains) {
    messages->Answer(IDNO);
    Open();
    ChooseTab("Cn0");
    Value("Cn026") = 5;
    editor->m_list.SetSelectionMark(Row("Cn026"));
    CDialog::SetModalHookForTest([](CDialog& dialog) {
        auto* combo = dynamic_cast<CComboBox*>(dialog.GetDlgItem(IDC_VE_COMBO0));
        ASSERT_NE(combo, nullptr);
        combo->SetCurSel(0); // level 1
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_VE_COMBO0, CBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(combo->GetSafeHwnd()));
        dynamic_cast<CButton*>(dialog.GetDlgItem(IDOK))->Click();
    });
    Click(IDC_PE_EDIT);
    EXPECT_EQ(Value("Cn026"), 1);
    EXPECT_EQ(Value("Pn310"), 3);
    EXPECT_EQ(Value("Sn211"), 3);
    EXPECT_EQ(Value("Sn212"), 19000);
    EXPECT_EQ(Value("Cn034"), 24);
    EXPECT_EQ(Value("qn502"), 19000);
    EXPECT_EQ(Value("tn857"), 24) << "Cn034's tn twin";
    EXPECT_EQ(Cell("Cn034", 2), "24");
    EXPECT_EQ(ValueBack("Cn034"), ParaEditChangedBack);
    EXPECT_EQ(editor->m_marks.Get(ParamMarkTables::Changed, "Pn310"), 1);
}

TEST_F(EditorFixture, SelectAllLeavesTheMotorCodeAlone) {
    messages->Answer(IDNO);
    Open();
    ChooseTab("Cn0");
    Click(IDC_PE_SELECT_ALL);
    EXPECT_TRUE(editor->m_list.GetCheck(Row("Cn025")));
    EXPECT_FALSE(editor->m_list.GetCheck(Row("Cn030")));
    Click(IDC_PE_SELECT_ALL);
    EXPECT_FALSE(editor->m_list.GetCheck(Row("Cn025")));
}

TEST_F(EditorFixture, ClosingAndReopeningKeepsTabChecksAndMarks) {
    messages->Answer(IDNO);
    Open();
    ChooseTab("Sn2");
    editor->m_list.SetSelectionMark(Row("Sn212"));
    EnterValue("300");
    Click(IDC_PE_EDIT);
    drive->SetRegister(Register("Sn213"), 9999);
    Close();
    EXPECT_EQ(view.closed, 1);

    messages->Answer(IDNO);
    Open();
    EXPECT_EQ(TabLabels()[static_cast<size_t>(editor->m_tab.GetCurSel())], "Sn2");
    EXPECT_EQ(Cell("Sn212", 2), "300");
    EXPECT_EQ(ValueBack("Sn212"), ParaEditChangedBack);
    EXPECT_TRUE(editor->m_list.GetCheck(Row("Sn212")));
    EXPECT_FALSE(editor->m_list.GetCheck(Row("Sn213")));
}

TEST_F(EditorFixture, DisplaySetChosenInItsDialogRetitlesAndRefills) {
    messages->Answer(IDNO);
    Open();
    EXPECT_EQ(editor->GetDlgItemText(IDC_PE_SET_TITLE), "All Parameter");
    const int allRows = editor->m_list.GetItemCount();
    CDialog::SetModalHookForTest([](CDialog& dialog) {
        ASSERT_EQ(dialog.m_nIDHelp, static_cast<UINT>(IDD_PD_DISPLAY_SET));
        dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_PD_TYPE_MODES))->Click();
        dynamic_cast<CButton*>(dialog.GetDlgItem(IDOK))->Click();
    });
    Click(IDC_PE_CHANGE);
    EXPECT_EQ(editor->m_displaySet.mode, DisplayControlModes);
    EXPECT_EQ(editor->GetDlgItemText(IDC_PE_SET_TITLE), "All Control Mode");
    EXPECT_LT(editor->m_list.GetItemCount(), allRows) << "parameters of no control mode are left out";

    // The comparison opens its own selection dialog; cancelling it sends and changes nothing.
    drive->ClearLog();
    const auto before = Snapshot();
    CDialog::SetModalHookForTest(
        [](CDialog& dialog) { dynamic_cast<CButton*>(dialog.GetDlgItem(IDCANCEL))->Click(); });
    Click(IDC_PE_COMPARE);
    EXPECT_EQ(drive->RequestCount(), 0u);
    EXPECT_EQ(Snapshot(), before);

    Close();
    EXPECT_EQ(ParaEditKept.displaySet.mode, DisplayControlModes);
}

// Every text of every tab fits its column, with every value, range and default at the 32-bit limits.
TEST_F(EditorFixture, EveryTextFitsItsColumnAtTheThirtyTwoBitLimits) {
    LoadDriveDefaults();
    Open();
    std::vector<std::string> clipped;
    std::string wideRange;
    for (const std::string& label : TabLabels()) {
        ChooseTab(label);
        for (int row = 0; row < editor->m_list.GetItemCount(); ++row) {
            const std::string code = editor->m_list.GetItemText(row, 0);
            for (int* word : {doc->FindMinimum(code), doc->FindDefault(code), doc->FindValue(code)})
                if (word)
                    *word = INT_MIN;
            if (int* maximum = doc->FindMaximum(code))
                *maximum = INT_MAX;
        }
        ChooseTab(label); // shows the rows again with their new texts
        if (Row("Pn302") >= 0)
            wideRange = Cell("Pn302", 4);
        for (const ControlText& text : MeasureListTexts(editor->m_list))
            if (!text.Fits())
                clipped.push_back(label + ": \"" + text.text + "\" needs " + std::to_string(text.extent.cx) +
                                  ", has " + std::to_string(text.room.cx));
    }
    EXPECT_EQ(wideRange, "-2147483648~2147483647");
    std::string all;
    for (const std::string& line : clipped)
        all += line + "\n";
    EXPECT_TRUE(clipped.empty()) << clipped.size() << " clipped:\n" << all;
}

// As the user meets it, on every tab: every column in sight with its texts whole (the units beside
// the values), and the legend's texts clear of each other's pictures.
TEST_F(EditorFixture, EveryTabShowsItsTextsWholeAndApart) {
    LoadDriveDefaults();
    Open();
    editor->ShowWindow(SW_SHOW);
    for (const std::string& label : TabLabels()) {
        ChooseTab(label);
        EXPECT_TRUE(ui::TextsFit(*editor)) << label;
        if (label == "Pn3")
            ui::Screenshot(*editor, "parameter-editor");
    }
}

// A value read at the 32-bit limit widens its column when it arrives, not only when the rows are
// shown again.
TEST_F(EditorFixture, ValueReadAtTheThirtyTwoBitLimitWidensItsColumn) {
    LoadDriveDefaults();
    Open();
    *doc->FindMinimum("Pn302") = INT_MIN;
    ChooseTab("Pn3");
    CheckOnly({"Pn302"});
    drive->SetRegister32(Register("Pn302"), 0x80000000u);
    const int before = editor->m_list.GetColumnWidth(2);
    messages->Clear();
    Click(IDC_PE_READ);
    ASSERT_EQ(Cell("Pn302", 2), "-2147483648");
    EXPECT_GT(editor->m_list.GetColumnWidth(2), before);
    for (const ControlText& text : MeasureListTexts(editor->m_list))
        EXPECT_TRUE(text.Fits()) << text.text << " needs " << text.extent.cx << ", has " << text.room.cx;
}

// A drive as it leaves the factory holds its series' defaults: a new user's first read finds every
// value within its range, in every series.
class FactoryDriveEditor : public EditorFixture, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override { Start(GetParam()); }
    void TearDown() override {
        EditorFixture::TearDown();
        DriveControlMode = 0;
        FeatureStatusWord = 0;
    }
};

TEST_P(FactoryDriveEditor, FirstReadFindsNothingOverRange) {
    // The words the connect reads from the drive, and the document figured for them.
    ModelCode = drive->GetRegister(0x0F08);
    DriveControlMode = drive->GetRegister(0x1702);
    FeatureStatusWord = drive->GetRegister(0x170A);
    doc->m_DriveSoftwareVersion = drive->GetRegister(0x0F04);
    doc->m_ExtendedVersion = drive->GetRegister(0x113B);
    doc->InitSeriesDefaults();
    doc->InitDependentDefaults();

    Open();
    ASSERT_EQ(messages->Shown().size(), 1u) << "only the question: " << messages->Shown().back().text;
    EXPECT_TRUE(doc->m_Names.empty()) << testing::PrintToString(doc->m_Names);

    // Read of every row of every tab, as the user presses it.
    messages->Clear();
    for (const std::string& label : TabLabels()) {
        if (label == "Initial Value Compare Table")
            continue;
        ChooseTab(label);
        for (int row = 0; row < editor->m_list.GetItemCount(); ++row)
            editor->m_list.SetCheck(row, true);
        Click(IDC_PE_READ);
        for (int row = 0; row < editor->m_list.GetItemCount(); ++row)
            EXPECT_NE(editor->m_list.ResolveCell(row, 2, false).back, ParaEditOverRangeBack)
                << label << " " << editor->m_list.GetItemText(row, 0);
    }
    for (const auto& shown : messages->Shown())
        ADD_FAILURE() << shown.text;
}

INSTANTIATE_TEST_SUITE_P(Series, FactoryDriveEditor, ::testing::Range(3, 10),
                         [](const auto& info) { return "Series" + std::to_string(info.param); });
