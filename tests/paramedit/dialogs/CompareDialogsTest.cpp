// The Compare command: selection dialog, the four runs (the drive one against the simulated drive),
// the result dialog and its saved files.
#include "DialogsFixture.h"

#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamCode.h"
#include "catalogue/RegisterMap.h"
#include "framework/core/Format.h"
#include "framework/ui/Edit.h"
#include "framework/ui/TextFit.h"
#include "link/LinkState.h"
#include "paramedit/CompareArchive.h"
#include "paramedit/CompareDlg.h"
#include "paramedit/CompareRuns.h"
#include "paramedit/CompareSelDialog.h"
#include "paramedit/ParamPassRules.h"
#include "resources/ids/paradialogs.h"
#include "shell/ShellGlobals.h"

#include <fstream>
#include <sstream>

namespace {

struct ShownResult {
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;
    CompareResult result;
};

class CompareDialogs : public DialogsFixture {
protected:
    CompareRunEnvironment Env() { return {nullptr, *doc, services, DebugModeFlag != 0}; }

    // The result dialog's user: reads what it shows, then does `more`.
    std::function<void(CDialog&)> Capture(ShownResult& shown, std::function<void(CDialog&)> more = {}) {
        return [&shown, more](CDialog& d) {
            auto& dialog = dynamic_cast<CCompareDlg&>(d);
            shown.result = dialog.m_result;
            for (int c = 0; c < 4; ++c) {
                LVCOLUMN column;
                char text[128] = {};
                column.mask = LVCF_TEXT;
                column.pszText = text;
                column.cchTextMax = sizeof text;
                dialog.m_list.GetColumn(c, &column);
                shown.headers.push_back(text);
            }
            for (int r = 0; r < dialog.m_list.GetItemCount(); ++r) {
                std::vector<std::string> row;
                for (int c = 0; c < 4; ++c)
                    row.push_back(dialog.m_list.GetItemText(r, c));
                shown.rows.push_back(row);
            }
            // Every heading and cell text the result shows fits its column.
            for (const ControlText& text : MeasureListTexts(dialog.m_list))
                EXPECT_TRUE(text.Fits())
                    << "\"" << text.text << "\" needs " << text.extent.cx << ", has " << text.room.cx;
            if (more)
                more(d);
        };
    }
    static std::vector<std::string> FirstColumn(const ShownResult& shown) {
        std::vector<std::string> codes;
        for (const auto& row : shown.rows)
            codes.push_back(row[0]);
        return codes;
    }
    // The selection dialog's user: picks a mode and presses OK.
    static std::function<void(CDialog&)> Choose(int radio, std::function<void(CDialog&)> more = {}) {
        return [radio, more](CDialog& d) {
            Press(d, radio);
            if (more)
                more(d);
            Press(d, IDOK);
        };
    }
    std::vector<std::string> Shown() const {
        std::vector<std::string> texts;
        for (const MessageRequest& m : messages->Shown())
            texts.push_back(m.text);
        return texts;
    }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    CompareChoices choices;
};

TEST_F(CompareDialogs, DriveComparisonReadsEachParameterOfTheSeriesOnceAndShowsTheDifferences) {
    LoadDriveFromDocument();
    Script({{IDD_PD_COMPARE_SELECT, Choose(IDC_PD_MODE_DRIVE)}});
    RunCompareCommand(Env(), choices);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Parameter compare finished!No difference!"}));
    EXPECT_EQ(messages->Shown()[0].caption, "Compare");

    // The exact requests: one "R1" per word of every parameter the series has, in the walk's order.
    std::vector<std::string> expected;
    for (int s = 0; s < DriveCompareSlotCount(false); ++s) {
        const DriveCompareSlot slot = DriveCompareSlotAt(s);
        if (!ParamInSeries(slot.code, doc->Context()))
            continue;
        const auto address = ParameterRegisterAddress(slot.letter, slot.number, slot.index);
        ASSERT_TRUE(address) << slot.code;
        expected.push_back(Maker(Format("R1%04X", *address)));
        if (IsDoubleWordParameter(slot.letter, slot.number, slot.index))
            expected.push_back(Maker(Format("R1%04X", *address + 1)));
    }
    EXPECT_EQ(Requests(), expected);
    EXPECT_EQ(services.ViewBusyFlag, 0);

    // Two differences, one of them in a 32-bit parameter.
    int narrow = -1; // the first 16-bit and the first 32-bit parameter of the walk
    int wide = -1;
    for (int s = 0; s < DriveCompareSlotCount(false); ++s) {
        const DriveCompareSlot at = DriveCompareSlotAt(s);
        if (!ParamInSeries(at.code, doc->Context()))
            continue;
        int& first = IsDoubleWordParameter(at.letter, at.number, at.index) ? wide : narrow;
        if (first < 0)
            first = s;
    }
    ASSERT_GE(wide, 0);
    ASSERT_GE(narrow, 0);
    const std::string narrowCode = DriveCompareSlotAt(narrow).code;
    drive->SetRegister(Register(narrowCode), static_cast<uint16_t>(*doc->FindValue(narrowCode) + 1));
    const DriveCompareSlot slot = DriveCompareSlotAt(wide);
    const int wideValue = *doc->FindValue(slot.code) + 70000;
    drive->SetRegister32(Register(slot.code), static_cast<uint32_t>(wideValue));
    messages->Clear();
    ShownResult shown;
    Script({{IDD_PD_COMPARE_SELECT, Choose(IDC_PD_MODE_DRIVE)}, {IDD_PD_COMPARE, Capture(shown)}});
    RunCompareCommand(Env(), choices);
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(FirstColumn(shown), (std::vector<std::string>{narrowCode, slot.code})) << "in the walk's order";
    EXPECT_EQ(shown.headers,
              (std::vector<std::string>{"Code", "Parameter Name", "Edit Value", "Read Value"}));
    EXPECT_EQ(
        shown.result.groups[static_cast<std::size_t>(slot.group)].b[static_cast<std::size_t>(slot.element)],
        wideValue)
        << "the whole 32-bit value";
    EXPECT_EQ(shown.result.mode, CompareDrive);
    EXPECT_EQ(services.ViewBusyFlag, 0);
}

TEST_F(CompareDialogs, AFailedDriveReadEndsTheRunWithItsMessageAndNoResult) {
    LoadDriveFromDocument();
    drive->SetRegister(Register("Cn011"), static_cast<uint16_t>(doc->Value(DocCn, 11) + 1));
    drive->RefuseAddress(Register("Cn010"));
    Script({{IDD_PD_COMPARE_SELECT, Choose(IDC_PD_MODE_DRIVE)}});
    RunCompareCommand(Env(), choices);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Error:\n\nComparing parameters...");
    EXPECT_EQ(messages->Shown()[0].caption, "Communication Message");
    EXPECT_EQ(messages->Shown()[0].type, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(Opened(), (std::vector<UINT>{IDD_PD_COMPARE_SELECT})) << "no result dialog";
    EXPECT_EQ(Requests().back(), Maker(Format("R1%04X", Register("Cn010")))) << "the walk stops there";
    EXPECT_EQ(services.ViewBusyFlag, 0);
}

TEST_F(CompareDialogs, OverModbusOnlyParametersWithARegisterOfTheirOwnAreRead) {
    LoadDriveFromDocument();
    ModbusMode = 1;
    ModbusAsciiFlag = 0;
    std::string narrowCode;
    std::string pn4Code;
    size_t modbusSlots = 0;
    for (int s = 0; s < DriveCompareSlotCount(false); ++s) {
        const DriveCompareSlot at = DriveCompareSlotAt(s);
        if (!ParamInSeries(at.code, doc->Context()))
            continue;
        if (ModbusParameterAddress(at.code)) {
            ++modbusSlots;
            if (narrowCode.empty())
                narrowCode = at.code;
        }
        if (pn4Code.empty() && at.index > 400 && at.index < 500)
            pn4Code = at.code;
    }
    ASSERT_FALSE(narrowCode.empty());
    ASSERT_FALSE(pn4Code.empty());
    drive->SetRegister(Register(narrowCode), static_cast<uint16_t>(*doc->FindValue(narrowCode) + 1));
    drive->SetRegister(Register(pn4Code), static_cast<uint16_t>(*doc->FindValue(pn4Code) + 1));

    const std::optional<CompareResult> result = CompareWithDrive(Env());
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->DifferenceCount(), 1) << "the 400 range of Pn has no Modbus register of its own";
    const std::vector<SimLogEntry> log = drive->Log();
    EXPECT_EQ(log.size(), modbusSlots);
    for (const SimLogEntry& entry : log)
        EXPECT_EQ(entry.kind, SimRequestKind::ModbusRead);
    EXPECT_TRUE(messages->Shown().empty());
}

TEST_F(CompareDialogs, InProjectModeAFailedReadOfANewerGroupTakesItsDefault) {
    DebugModeFlag = 1;
    LoadDriveFromDocument();
    const int index = 1610; // onC10
    const std::string code = ParamCodeFromIndex(index);
    ASSERT_TRUE(ParamInSeries(code, doc->Context())) << code;
    int slotOfCode = -1;
    for (int s = 0; s < DriveCompareSlotCount(true); ++s)
        if (DriveCompareSlotAt(s).index == index)
            slotOfCode = s;
    ASSERT_GE(slotOfCode, 0);
    const DriveCompareSlot slot = DriveCompareSlotAt(slotOfCode);
    const auto address = ParamCodeRegisterAddress(code);
    ASSERT_TRUE(address.has_value());
    doc->Value(DoconC, 10) = doc->Default(DoconC, 10) + 1;
    drive->RefuseAddress(*address);

    const std::optional<CompareResult> result = CompareWithDrive(Env());
    ASSERT_TRUE(result.has_value()) << "the walk goes on";
    EXPECT_TRUE(messages->Shown().empty());
    const auto& onC = result->groups[static_cast<std::size_t>(slot.group)];
    EXPECT_EQ(onC.b[9], doc->Default(DoconC, 10));
    EXPECT_EQ(onC.differs[9], 1);
    EXPECT_EQ(result->DifferenceCount(), 1);
    EXPECT_NE(Requests().back(), Maker(Format("R1%04X", *address))) << "later slots were read";
}

TEST_F(CompareDialogs, DefaultsComparisonIsSavedAndReadBackIdentical) {
    doc->Value(DocCn, 1) = doc->Default(DocCn, 1) + 1;
    doc->Value(DocTn, 1) = doc->Default(DocTn, 1) + 2;
    const std::string cmp = Path("result.cmp");
    const std::string csv = Path("result.CSV");
    messages->AnswerFile(cmp);
    messages->AnswerFile(csv);
    ShownResult shown;
    Script({{IDD_PD_COMPARE_SELECT, Choose(IDC_PD_MODE_DEFAULTS)},
            {IDD_PD_COMPARE, Capture(shown, [](CDialog& d) {
                 Press(d, IDC_PD_COMPARE_SAVE);
                 Press(d, IDC_PD_COMPARE_SAVE);
             })}});
    RunCompareCommand(Env(), choices);
    EXPECT_TRUE(Requests().empty()) << "the defaults need no drive";
    EXPECT_EQ(FirstColumn(shown), (std::vector<std::string>{"Cn001", "Tn101"}));
    EXPECT_EQ(shown.headers[2], "Edit Value");
    EXPECT_EQ(shown.headers[3], "Default");
    ASSERT_EQ(messages->FileRequests().size(), 2u);
    EXPECT_FALSE(messages->FileRequests()[0].open);
    EXPECT_EQ(messages->FileRequests()[0].defaultExt, "cmp");

    CompareResult back;
    ASSERT_TRUE(OpenCompareArchive(cmp, back));
    EXPECT_EQ(back.file1, "---") << "the archive names no file outside the file modes";
    EXPECT_EQ(back.file2, "---");
    back.file1.clear();
    back.file2.clear();
    EXPECT_EQ(back, shown.result);
    EXPECT_EQ(ReadFile(cmp).substr(0, 35), std::string("\x22") + CompareArchiveHeader);

    const std::string text = ReadFile(csv);
    EXPECT_EQ(text.substr(0, text.find('\n')), CompareArchiveHeader);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4) << text;
    EXPECT_NE(text.find("Code,Parameter Name,Edit Value,Default,\n"), std::string::npos);
    EXPECT_NE(text.find("\nCn001,"), std::string::npos);

    // The selection dialog's "&Open..." shows the archive again without comparing.
    ShownResult reopened;
    messages->AnswerFile(cmp);
    Script({{IDD_PD_COMPARE_SELECT, [](CDialog& d) { Press(d, IDC_PD_OPEN_ARCHIVE); }},
            {IDD_PD_COMPARE, Capture(reopened)}});
    const CompareChoices before = choices;
    RunCompareCommand(Env(), choices);
    EXPECT_EQ(Opened(), (std::vector<UINT>{IDD_PD_COMPARE_SELECT, IDD_PD_COMPARE}));
    EXPECT_EQ(reopened.rows, shown.rows);
    EXPECT_EQ(choices, before) << "the selection was cancelled afterwards";
}

TEST_F(CompareDialogs, TheResultListShowsNewerGroupsOnlyInProjectModeAndMakesRoomForTheScrollBar) {
    CompareResult result;
    result.mode = CompareDefaults;
    for (int k = 0; k < 34; ++k)
        result.groups[0].differs[static_cast<std::size_t>(k)] = 1; // Cn001..Cn034
    result.groups[14].differs[0] = 1;                              // onC01
    result.groups[16].differs[0] = 1;                              // onA01
    result.groups[17].differs[0] = 1;                              // onE01
    struct Case {
        bool projectMode;
        size_t rows;
        int nameWidthCut; // W minus the width of column 1
        std::vector<std::string> last;
    };
    for (const Case& c :
         {Case{false, 34, 254, {"Cn034"}}, Case{true, 37, 271, {"onC01", "onE01", "onA01"}}}) {
        CCompareDlg dialog;
        dialog.m_result = result;
        dialog.m_context = doc->Context();
        dialog.m_projectMode = c.projectMode;
        ShownResult shown;
        int width = 0;
        int nameWidth = 0;
        Script({{IDD_PD_COMPARE, Capture(shown, [&](CDialog& d) {
                     auto& dlg = dynamic_cast<CCompareDlg&>(d);
                     CRect rect;
                     dlg.m_list.GetWindowRect(&rect);
                     width = rect.Width();
                     nameWidth = dlg.m_list.GetColumnWidth(1);
                 })}});
        dialog.DoModal();
        ASSERT_EQ(shown.rows.size(), c.rows) << c.projectMode;
        const std::vector<std::string> codes = FirstColumn(shown);
        EXPECT_EQ(std::vector<std::string>(codes.end() - static_cast<long>(c.last.size()), codes.end()),
                  c.last);
        EXPECT_EQ(width - nameWidth, c.nameWidthCut);
    }
}

TEST_F(CompareDialogs, FileComparisonsTakeTheFilesPickedInTheSelectionDialog) {
    const std::string first = Path("first.zpf");
    const std::string second = Path("second.zpf");
    ASSERT_TRUE(doc->OnSaveDocument(first));
    doc->Value(DocCn, 5) += 3;
    ASSERT_TRUE(doc->OnSaveDocument(second));

    // The document against the first file.
    ShownResult shown;
    messages->AnswerFile(first);
    Script({{IDD_PD_COMPARE_SELECT, Choose(IDC_PD_MODE_FILE,
                                           [&](CDialog& d) {
                                               Press(d, IDC_PD_FILE);
                                               EXPECT_EQ(d.GetDlgItemText(IDC_PD_FILE_PATH), first);
                                           })},
            {IDD_PD_COMPARE, Capture(shown)}});
    RunCompareCommand(Env(), choices);
    EXPECT_EQ(choices.mode, CompareFile);
    EXPECT_EQ(choices.fileName, "first.zpf");
    EXPECT_EQ(FirstColumn(shown), (std::vector<std::string>{"Cn005"}));
    EXPECT_EQ(shown.headers[3], "first.zpf");

    // The two files, after a comparison archive picked as a document was refused.
    ShownResult files;
    messages->AnswerFile(first);
    messages->AnswerFile(second);
    Script({{IDD_PD_COMPARE_SELECT, Choose(IDC_PD_MODE_FILES,
                                           [&](CDialog& d) {
                                               EXPECT_FALSE(Enabled(d, IDC_PD_FILE));
                                               EXPECT_TRUE(Enabled(d, IDC_PD_FILE1));
                                               Press(d, IDC_PD_FILE1);
                                               Press(d, IDC_PD_FILE2);
                                           })},
            {IDD_PD_COMPARE, Capture(files)}});
    RunCompareCommand(Env(), choices);
    EXPECT_TRUE(choices.filePath.empty()) << "mode 3 forgets the file of mode 2";
    EXPECT_EQ(FirstColumn(files), (std::vector<std::string>{"Cn005"}));
    EXPECT_EQ(files.headers[2], "first.zpf");
    EXPECT_EQ(files.headers[3], "second.zpf");
    EXPECT_EQ(files.result.groups[0].a[4] + 3, files.result.groups[0].b[4]);
    EXPECT_TRUE(messages->Shown().empty());
}

TEST_F(CompareDialogs, APickedFileOfTheWrongKindIsRefusedAndForgotten) {
    const std::string archive = Path("old.cmp");
    ASSERT_TRUE(WriteCompareArchiveFile(archive, CompareResult{}, CKeloServoDoc::VersionLiteral));
    messages->AnswerFile(archive);
    Script({{IDD_PD_COMPARE_SELECT, [&](CDialog& d) {
                 Press(d, IDC_PD_MODE_FILE);
                 Press(d, IDC_PD_FILE);
                 EXPECT_EQ(d.GetDlgItemText(IDC_PD_FILE_PATH), "");
             }}});
    RunCompareCommand(Env(), choices);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Error: Failed to open file! \nThe file format is incorrect! \n");
    EXPECT_EQ(messages->Shown()[0].caption, "Open");
    EXPECT_EQ(choices, CompareChoices{}) << "cancelled: nothing remembered";
}

TEST_F(CompareDialogs, OfflineTheDriveModeCannotBeChosen) {
    Unlink();
    choices.mode = CompareDrive;
    bool driveEnabled = true;
    bool defaultsChecked = false;
    Script({{IDD_PD_COMPARE_SELECT, [&](CDialog& d) {
                 driveEnabled = Enabled(d, IDC_PD_MODE_DRIVE);
                 defaultsChecked = Checked(d, IDC_PD_MODE_DEFAULTS);
             }}});
    RunCompareCommand(Env(), choices);
    EXPECT_FALSE(driveEnabled);
    EXPECT_TRUE(defaultsChecked);
    EXPECT_EQ(choices.mode, CompareDrive) << "Cancel keeps the remembered mode";

    // Asked for anyway, the drive run refuses without a link.
    EXPECT_FALSE(CompareWithDrive(Env()).has_value());
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Communicate Error!");
}

} // namespace
