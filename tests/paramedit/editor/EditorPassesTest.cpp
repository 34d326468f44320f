// The editor's transfers against the drive: write with its special cases, failures in the middle of
// a pass, read-all and read-checked that must not store what was not read, set to default.
#include "EditorFixture.h"

#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamCode.h"
#include "framework/core/Format.h"
#include "link/InternalCode.h"
#include "link/LinkState.h"
#include "paramedit/ParamPassRules.h"
#include "resources/ids/paraedit.h"
#include "shell/ShellGlobals.h"

#include <set>

namespace {

std::string WriteWord(uint16_t address, int value) {
    char text[16] = {};
    CInternalCode::BuildWriteWord(text, address, value);
    return std::string(text, 12);
}

std::string WriteDWord(uint16_t address, int value) {
    char text[24] = {};
    CInternalCode::BuildWriteDWord(text, address, value);
    return std::string(text, 20);
}

std::string ReadWord(uint16_t address) {
    char text[16] = {};
    CInternalCode::BuildReadWord(text, address);
    return std::string(text, 8);
}

const std::string kRestartLine =
    "Please restart the Servo drive! ! \n(After turning off the power, re-enter the power.)";

} // namespace

class EditorPasses : public EditorFixture {
protected:
    // Opens without reading, on the tab that lists every group.
    void OpenQuiet() {
        messages->Answer(IDNO);
        Open();
        ChooseTab("Custom Display");
        messages->Clear();
        drive->ClearLog();
    }
    void Show(const std::string& code, const std::string& text) {
        ASSERT_GE(Row(code), 0) << code;
        editor->m_list.SetItemText(Row(code), 2, text);
    }
    void MarkChanged(const std::string& code) {
        editor->MarkCellChanged(Row(code), 2);
        editor->m_marks.Set(ParamMarkTables::Changed, code, 1);
    }
};

TEST_F(EditorPasses, WriteSendsTheCheckedRowsInTableOrder) {
    OpenQuiet();
    const auto before = Snapshot();
    CheckOnly({"Sn212", "Cn025", "Pn302", "En719"});
    Show("Cn025", "1500");
    Show("Sn212", "300");
    Show("Pn302", "100000");
    MarkChanged("Cn025");
    Click(IDC_PE_WRITE);

    const std::vector<std::string> expected = {
        WriteWord(Register("Cn025"), 1500), WriteWord(Register("Sn212"), 300),
        WriteDWord(Register("Pn302"), 100000), // low word first
    };
    EXPECT_EQ(Requests(), expected) << "En719 is never written";
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Write successfully!!");
    EXPECT_EQ(messages->Shown()[0].caption, "Write Message");
    EXPECT_EQ(messages->Shown()[0].type, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(drive->GetRegister32(Register("Pn302")), 100000u);
    EXPECT_NE(ValueBack("Cn025"), ParaEditChangedBack) << "a written row loses its mark";
    EXPECT_EQ(Snapshot(), before) << "a write leaves the document alone";
    EXPECT_EQ(view.services.ViewBusyFlag, 0);
}

TEST_F(EditorPasses, RestartNoticeFollowsWhatTheDriveNeeds) {
    OpenQuiet();
    // Cn002 holding what the drive holds needs no restart; Cn002 is read first.
    drive->SetRegister(Register("Cn002"), 0x0011);
    CheckOnly({"Cn002"});
    Show("Cn002", "0011");
    Click(IDC_PE_WRITE);
    EXPECT_EQ(Requests(),
              (std::vector<std::string>{ReadWord(Register("Cn002")), WriteWord(Register("Cn002"), 0x11)}));
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Write successfully!!");

    messages->Clear();
    Show("Cn002", "0010");
    Click(IDC_PE_WRITE);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Write successfully!!\n\n" + kRestartLine);
}

TEST_F(EditorPasses, FactoryResetGoesAlone) {
    OpenQuiet();
    CheckOnly({"Cn025", "Cn029"});
    Show("Cn029", "1");
    Click(IDC_PE_WRITE);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text,
              "Cn029 parameter reset, cannot be set with other parameters at the same time!");
    EXPECT_EQ(messages->Shown()[0].caption, "Error Message");
    EXPECT_TRUE(Requests().empty());

    messages->Clear();
    CheckOnly({"Cn029"});
    Click(IDC_PE_WRITE);
    EXPECT_EQ(Requests(), (std::vector<std::string>{WriteWord(Register("Cn029"), 1)}));
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Write successfully!!\n\n" + kRestartLine);
}

TEST_F(EditorPasses, NothingCheckedIsToldAndNothingSent) {
    OpenQuiet();
    CheckOnly({});
    for (int button : {IDC_PE_WRITE, IDC_PE_READ, IDC_PE_SET_DEFAULT}) {
        messages->Clear();
        Click(button);
        ASSERT_EQ(messages->Shown().size(), 1u) << button;
        EXPECT_EQ(messages->Shown()[0].text, "No parameter is selected!");
        EXPECT_EQ(messages->Shown()[0].caption, "Parameter Editing");
    }
    EXPECT_TRUE(Requests().empty());
}

TEST_F(EditorPasses, Cn008KeepsTheDrivesUpperBytes) {
    OpenQuiet();
    drive->SetRegister(Register("Cn008"), 0x1230);
    CheckOnly({"Cn008"});
    Show("Cn008", "4");
    Click(IDC_PE_WRITE);
    EXPECT_EQ(Requests(),
              (std::vector<std::string>{ReadWord(Register("Cn008")), WriteWord(Register("Cn008"), 0x1206)}));
}

TEST_F(EditorPasses, ControlModeRegisterFollowsOnlyForChangedPins) {
    OpenQuiet();
    drive->SetRegister(0x1702, 0); // the drive still runs the old mode
    Value("Cn001") = 2;
    CheckOnly({"Cn001", "Hn601"});
    Show("Cn001", "0002");
    Click(IDC_PE_WRITE);
    EXPECT_EQ(Requests().back(), ReadWord(0x1702)) << "every pin at its default: the register is left";

    drive->ClearLog();
    Value("Hn601") = *doc->FindDefault("Hn601") + 1;
    Click(IDC_PE_WRITE);
    EXPECT_EQ(Requests().back(), WriteWord(0x1702, 2));
}

TEST_F(EditorPasses, ValueOverItsRangeIsRefusedBeforeSending) {
    OpenQuiet();
    CheckOnly({"Cn025"});
    Show("Cn025", "2001");
    Click(IDC_PE_WRITE);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Error:\n\nOver Range!!\n\nWriting parameters...Cn025");
    EXPECT_EQ(messages->Shown()[0].type, MB_OK | MB_ICONSTOP);
    EXPECT_TRUE(Requests().empty());
}

struct MidPassFault {
    const char* name;
    SimFaultKind kind;
    bool linkStays;
};

class WriteFault : public EditorPasses, public ::testing::WithParamInterface<MidPassFault> {};

TEST_P(WriteFault, StopsWithOneMessageAndKeepsTheRest) {
    OpenQuiet();
    const auto before = Snapshot();
    CheckOnly({"Cn003", "Cn025", "Sn212"});
    for (const char* code : {"Cn003", "Cn025", "Sn212"})
        MarkChanged(code);
    Show("Cn003", "10");
    Show("Cn025", "100");
    Show("Sn212", "300");
    drive->AddFault({.kind = GetParam().kind, .address = Register("Cn025")});
    Click(IDC_PE_WRITE);

    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Error:\n\nWriting parameters...Cn025");
    EXPECT_EQ(messages->Shown()[0].caption, "Communication Message");
    EXPECT_EQ(messages->Shown()[0].type, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(Requests(), (std::vector<std::string>{WriteWord(Register("Cn003"), 10),
                                                    WriteWord(Register("Cn025"), 100)}));
    if (GetParam().linkStays) {
        EXPECT_EQ(ConnectedFlag, 1) << "a refusal keeps the link";
    }
    EXPECT_EQ(view.services.ViewBusyFlag, 0);
    EXPECT_NE(ValueBack("Cn003"), ParaEditChangedBack) << "written before the failure";
    EXPECT_EQ(ValueBack("Cn025"), ParaEditChangedBack);
    EXPECT_EQ(ValueBack("Sn212"), ParaEditChangedBack);
    EXPECT_EQ(editor->m_marks.Get(ParamMarkTables::Changed, "Sn212"), 1);
    EXPECT_EQ(Snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(Faults, WriteFault,
                         ::testing::Values(MidPassFault{"Refused", SimFaultKind::Refuse, true},
                                           MidPassFault{"LinkLost", SimFaultKind::DropLink, false}),
                         [](const auto& info) { return std::string(info.param.name); });

class ReadAllFault : public EditorPasses, public ::testing::WithParamInterface<MidPassFault> {};

TEST_P(ReadAllFault, ChangesNothingInTheDocument) {
    LoadDriveDefaults();
    OpenQuiet();
    Value("Cn025") = 77;
    doc->SetModifiedFlag(false);
    drive->SetRegister(Register("Cn003"), 55); // read before the failing one
    const auto before = Snapshot();
    drive->AddFault({.kind = GetParam().kind, .address = Register("Sn212")});

    // A new link: the timer reads all.
    ConnectedFlag = 0;
    FireTimerForTest(editor, ParaEditReadTimer);
    ConnectedFlag = 1;
    FireTimerForTest(editor, ParaEditReadTimer);

    ASSERT_EQ(messages->Shown().size(), 2u);
    EXPECT_EQ(messages->Shown()[1].text, "Error:\n\nSn212");
    EXPECT_EQ(messages->Shown()[1].caption, "Communication Message");
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(view.services.ViewBusyFlag, 0);
    if (GetParam().linkStays) {
        EXPECT_EQ(ConnectedFlag, 1) << "a refusal keeps the link";
    }
    const std::vector<std::string> requests = Requests();
    EXPECT_EQ(requests.back(), ReadWord(Register("Sn212"))) << "nothing is sent after the failure";
}

INSTANTIATE_TEST_SUITE_P(Faults, ReadAllFault,
                         ::testing::Values(MidPassFault{"Refused", SimFaultKind::Refuse, true},
                                           MidPassFault{"LinkLost", SimFaultKind::DropLink, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditorPasses, ReadCheckedKeepsARowThatWasNotRead) {
    OpenQuiet();
    Value("Cn025") = 77;
    ChooseTab("Cn0");
    CheckOnly({"Cn003", "Cn025"});
    drive->SetRegister(Register("Cn003"), 12);
    drive->AddFault({.kind = SimFaultKind::Refuse, .address = Register("Cn025")});
    Click(IDC_PE_READ);

    ASSERT_GE(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Error:\n\nReading parameters...");
    EXPECT_EQ(Value("Cn003"), 12);
    EXPECT_EQ(Cell("Cn003", 2), "12");
    EXPECT_EQ(Value("Cn025"), 77) << "a value that was not read is not stored";
    EXPECT_EQ(Cell("Cn025", 2), "77");
    EXPECT_EQ(view.services.ViewBusyFlag, 0);
}

TEST_F(EditorPasses, ReadCheckedStopsAtALostLinkWithOneMessage) {
    OpenQuiet();
    ChooseTab("Cn0");
    const auto before = Snapshot();
    CheckOnly({"Cn003", "Cn025", "Cn026"});
    drive->AddFault({.kind = SimFaultKind::DropLink, .address = Register("Cn003")});
    Click(IDC_PE_READ);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Error:\n\nReading parameters...");
    EXPECT_EQ(Requests(), (std::vector<std::string>{ReadWord(Register("Cn003"))}));
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(view.services.ViewBusyFlag, 0);
}

TEST_F(EditorPasses, ReadCheckedMarksAValueOverItsRange) {
    OpenQuiet();
    ChooseTab("Sn2");
    CheckOnly({"Sn211"});
    drive->SetRegister(Register("Sn211"), 0x7FFF); // above the maximum
    Click(IDC_PE_READ);
    ASSERT_GE(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Error:\n\nOver Range!!\n\nSn211:32767");
    EXPECT_EQ(ValueBack("Sn211"), ParaEditOverRangeBack);
    EXPECT_EQ(Value("qn501"), 32767) << "the twins follow a read value";
}

TEST_F(EditorPasses, SaveThatFailsBeforeReadAllIsACancel) {
    OpenQuiet();
    doc->SetModifiedFlag(true);
    view.saveSucceeds = false;
    messages->Answer(IDYES); // read
    messages->Answer(IDYES); // save first
    EXPECT_FALSE(editor->ReadAllParameters());
    EXPECT_EQ(view.saves, 1);
    EXPECT_TRUE(Requests().empty());
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(view.services.ViewBusyFlag, 0);
}

TEST_F(EditorPasses, ModbusLeavesParametersWithoutTheirOwnAddress) {
    OpenQuiet();
    ModbusMode = 1;
    ModbusAsciiFlag = 0;
    CheckOnly({"Cn025", "Pn401", "tn826"});
    Show("Cn025", "1500");
    Show("Pn401", "5");
    Show("tn826", "5");
    MarkChanged("tn826");
    Click(IDC_PE_WRITE);

    const std::vector<std::string> requests = Requests();
    ASSERT_EQ(requests.size(), 1u) << "only Cn025 has a Modbus register of its own";
    EXPECT_EQ(drive->GetRegister(Register("Cn025")), 1500);
    EXPECT_EQ(drive->GetRegister(Register("Pn401")), 0) << "not written through Pn301's register";
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text,
              "Write successfully!!\n\nNot written: these parameters have no Modbus "
              "address:\nPn401, tn826");
    EXPECT_EQ(ValueBack("tn826"), ParaEditChangedBack) << "still to be written";
}

TEST_F(EditorPasses, SetToDefaultNeedsNoLinkAndFollowsTheQnTwin) {
    OpenQuiet();
    ConnectedFlag = 0;
    ChooseTab("Sn2");
    Value("Sn212") = 300;
    Value("qn502") = 300;
    CheckOnly({"Sn212"});
    Click(IDC_PE_SET_DEFAULT);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Do you want to set the parameter to the default value?");
    const int byDefault = *doc->FindDefault("Sn212");
    EXPECT_EQ(Value("Sn212"), byDefault);
    EXPECT_EQ(Value("qn502"), byDefault);
    EXPECT_EQ(editor->m_marks.Get(ParamMarkTables::Changed, "qn502"), 1);
    EXPECT_EQ(ValueBack("Sn212"), ParaEditChangedBack);
    EXPECT_TRUE(Requests().empty());
}

class ModbusRead : public EditorPasses, public ::testing::WithParamInterface<int> {};

TEST_P(ModbusRead, ReadsTheRowsRegister) {
    OpenQuiet();
    ModbusMode = 1;
    ModbusAsciiFlag = GetParam();
    ChooseTab("Cn0");
    CheckOnly({"Cn025"});
    drive->SetRegister(Register("Cn025"), 1234);
    Click(IDC_PE_READ);
    EXPECT_EQ(Value("Cn025"), 1234);
    EXPECT_EQ(Cell("Cn025", 2), "1234");
    ASSERT_FALSE(Requests().empty());
    EXPECT_EQ(drive->Log().front().kind, SimRequestKind::ModbusRead);
}

// One Modbus register cannot hold a 32-bit value: such a parameter is not read, it keeps its value
// and marks, the user is told which ones, and the rows after it are read all the same.
TEST_P(ModbusRead, GoesPastParametersWithoutARegisterAndNamesThem) {
    OpenQuiet();
    LoadDriveDefaults();
    ModbusMode = 1;
    ModbusAsciiFlag = GetParam();
    drive->SetRegister(Register("Cn025"), 1234);
    drive->SetRegister(Register("Sn212"), 300);
    Value("Cn005") = 7;
    Show("Cn005", "7");
    MarkChanged("Cn005"); // edited, still to be written
    CheckOnly({"Cn004", "Cn005", "Cn019", "Cn025", "Sn212"});
    drive->ClearLog();
    Click(IDC_PE_READ);

    EXPECT_EQ(Value("Cn025"), 1234);
    EXPECT_EQ(Value("Sn212"), 300);
    EXPECT_EQ(Cell("Sn212", 2), "300");
    const auto log = drive->Log();
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const SimLogEntry& e) { return e.kind == SimRequestKind::ModbusRead; }),
              3)
        << "Cn004, Cn025 and Sn212";
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Not read: these parameters have no Modbus address:\nCn005, Cn019");
    EXPECT_EQ(Value("Cn005"), 7);
    EXPECT_EQ(Cell("Cn005", 2), "7");
    EXPECT_EQ(ValueBack("Cn005"), ParaEditChangedBack) << "not shown as read";

    // Read-all, whose list holds whole groups without a register: runs of neighbours are shortened.
    messages->Clear();
    drive->SetRegister(Register("Cn025"), 1500);
    messages->Answer(IDYES); // read
    messages->Answer(IDNO);  // do not save first
    ASSERT_TRUE(editor->ReadAllParameters());
    EXPECT_EQ(Value("Cn025"), 1500);
    EXPECT_EQ(Value("Cn005"), 7);
    EXPECT_EQ(ValueBack("Cn005"), ParaEditChangedBack);
    ASSERT_EQ(messages->Shown().size(), 3u);
    const std::string& notRead = messages->Shown()[2].text;
    EXPECT_EQ(notRead.rfind(
                  "Not read: these parameters have no Modbus address:\nCn005, Cn019, Cn024, Pn302-Pn307,", 0),
              0u)
        << notRead;
    EXPECT_NE(notRead.find(", Pn401-Pn499, "), std::string::npos) << notRead;
}

TEST_F(EditorPasses, BoxesThatFollowAPassLeaveTheLineFree) {
    // The link supervision may read while the user takes his time over the box.
    std::vector<std::pair<int, bool>> underTheBox; // busy flag, pass running
    MessagePresenter scripted;
    scripted = SetMessagePresenter([&](const MessageRequest& request) {
        if (request.text == "Write successfully!!" || request.text == "Parameter(s) in Red Over Range!")
            underTheBox.emplace_back(view.services.ViewBusyFlag, view.services.PassRunning);
        return scripted(request);
    });
    OpenQuiet();
    CheckOnly({"Cn025"});
    Show("Cn025", "1500");
    Click(IDC_PE_WRITE);
    LoadDriveDefaults();
    drive->SetRegister(Register("Cn025"), 2500); // over its range 0~2000
    messages->Answer(IDYES);
    EXPECT_TRUE(editor->ReadAllParameters());
    SetMessagePresenter(scripted);
    EXPECT_EQ(underTheBox, (std::vector<std::pair<int, bool>>{{0, false}, {0, false}}));
}

INSTANTIATE_TEST_SUITE_P(Framing, ModbusRead, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param ? "Ascii" : "Rtu"; });

TEST_F(EditorPasses, ReadAllLetsMessagesThroughButNeitherASecondPassNorAClose) {
    OpenQuiet();
    LoadDriveDefaults();
    drive->ClearLog();
    messages->Answer(IDYES);
    ASSERT_TRUE(editor->ReadAllParameters());
    const size_t onePass = Requests().size();

    // Between any two requests (also the two words of a 32-bit value and the version words) the
    // window handles what is pending; a click that would start another pass or close the window
    // meanwhile changes nothing.
    int pumps = 0;
    std::set<size_t> servedGaps; // n: handled after the n-th request, before the next
    BOOL secondPass = TRUE;
    view.services.PeekAndPump = [&] {
        servedGaps.insert(drive->Log().size());
        if (pumps++ == 0) {
            secondPass = editor->ReadAllParameters();
            Click(IDCANCEL);
        }
    };
    drive->ClearLog();
    messages->Answer(IDYES);
    EXPECT_TRUE(editor->ReadAllParameters());
    view.services.PeekAndPump = nullptr;
    EXPECT_FALSE(secondPass);
    EXPECT_EQ(Requests().size(), onePass);
    for (size_t gap = 1; gap < onePass; ++gap)
        ASSERT_TRUE(servedGaps.count(gap))
            << "no message handled between requests " << gap << " and " << gap + 1 << " of " << onePass;
    EXPECT_EQ(view.closed, 0);
    EXPECT_EQ(view.services.ViewBusyFlag, 0);
}

TEST_F(EditorPasses, VersionItemsFillTheirOwnWordsAndKeepTheConnectsOnU48) {
    DebugModeFlag = 1;
    const uint16_t onU48 = Register("onU48");
    drive->SetRegister(0x0F04, 312); // dn-04: CPU software
    drive->SetRegister(0x0F09, 101); // dn-09: ASIC software
    drive->SetRegister(onU48, 909);  // onU48: MCU
    doc->m_ExtendedVersion = 909;    // as the connect read it
    OpenQuiet();                     // the editor reads its version items as it opens
    EXPECT_EQ(doc->m_DriveSoftwareVersion, 312);
    EXPECT_EQ(doc->m_AsicVersion, 101);
    EXPECT_EQ(doc->m_ExtendedVersion, 909);
    EXPECT_EQ(editor->GetDlgItemText(IDC_PE_CPU_VERSION), "CPU Software Ver.\nA03.12");
    EXPECT_EQ(editor->GetDlgItemText(IDC_PE_ASIC_VERSION), "ASIC Software Ver.\nA01.01");
    EXPECT_EQ(editor->GetDlgItemText(IDC_PE_MCU_VERSION), "MCU internal Ver.0.909");
    // The catalogue's rules read the MCU word (this drive reports no drive id word).
    EXPECT_TRUE(ParamVisible("En709", 1, doc->Context()));
    EXPECT_TRUE(ParamVisible("onE17", -1, doc->Context()));

    // An onU48 that cannot be read leaves the word as it was; the two dn words still count.
    drive->SetRegister(0x0F09, 102);
    drive->SetRegister(onU48, 100);
    drive->AddFault({.kind = SimFaultKind::Refuse, .address = onU48});
    EXPECT_TRUE(editor->ReadVersionItems());
    EXPECT_EQ(doc->m_AsicVersion, 102);
    EXPECT_EQ(doc->m_ExtendedVersion, 909);

    // A dn word that cannot be read ends the items before anything is stored.
    drive->SetRegister(0x0F04, 313);
    drive->AddFault({.kind = SimFaultKind::Refuse, .address = 0x0F09});
    EXPECT_FALSE(editor->ReadVersionItems());
    EXPECT_EQ(doc->m_DriveSoftwareVersion, 312);
}
