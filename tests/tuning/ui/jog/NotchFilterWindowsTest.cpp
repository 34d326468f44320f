// The live filter windows (online notch, online low-frequency suppression), the rigidity window and
// the auto offset window against the simulated drive: reads, typing guards, range refusals, writes
// and what they report, the drive's detection showing up, and the changed marks of Parameter Set.
#include "tests/tuning/ui/jog/JogWindowFixture.h"

#include "catalogue/RegisterMap.h"
#include "paramedit/ParameterChangedFlags.h"
#include "resources/ids/tuningwindows.h"
#include "tuning/ui/AutoOffsetDialog.h"
#include "tuning/ui/JOGRigidityDlg.h"
#include "tuning/ui/LowfreDlg.h"
#include "tuning/ui/NotchDlg.h"

namespace {

uint16_t Reg(const std::string& code) {
    return ParamCodeRegisterAddress(code).value_or(0);
}

class FilterWindows : public JogWindowFixture {
protected:
    void SetUp() override {
        OpenJogWorld("filterwin");
        if (HasFatalFailure())
            return;
        const std::pair<const char*, int> notch[] = {
            {"Cn063", 0}, {"Cn064", 100}, {"Cn013", 1000}, {"Cn014", 7}, {"Cn065", 0}, {"Cn066", 1200},
            {"Cn067", 7}, {"Cn068", 0},   {"Cn069", 1300}, {"Cn070", 7}, {"Cn071", 0}, {"Cn072", 1400},
            {"Cn073", 7}, {"Cn074", 0},   {"Cn075", 1500}, {"Cn076", 7}, {"Cn077", 0}};
        for (const auto& [code, value] : notch)
            drive->SetRegister(Reg(code), static_cast<uint16_t>(value));
        const std::pair<const char*, int> low[] = {{"Pn336", 0},   {"Pn337", 100}, {"Pn338", 50},
                                                   {"Pn339", 200}, {"Pn340", 5},   {"Pn341", 300},
                                                   {"Pn342", 6},   {"Pn343", 400}, {"Pn344", 7}};
        for (const auto& [code, value] : low)
            drive->SetRegister(Reg(code), static_cast<uint16_t>(value));
        ChangedParameters().ClearAll();
    }
    void TearDown() override {
        if (window && !life_.expired())
            window->DestroyWindow();
        ChangedParameters().ClearAll();
        CloseJogWorld();
    }
    template <class Window> Window* Open() {
        auto* opened = new Window(view);
        opened->OnClosed = [this] { ++closedCount; };
        EXPECT_TRUE(opened->Create(nullptr));
        opened->ShowWindow(SW_SHOW); // on the screen, as the command leaves it, so the user can click it
        window = opened;
        life_ = opened->Life();
        return opened;
    }
    void Tick() { ASSERT_TRUE(FireTimerForTest(window, FilterRefreshTimer)); }

    CDialog* window = nullptr;
    std::weak_ptr<int> life_;
    int closedCount = 0;
};

TEST_F(FilterWindows, NotchReadsTypesAndRefusesOutOfRange) {
    drive->ClearLog();
    CNotchDlg* notch = Open<CNotchDlg>();
    const auto log = Requests();
    ASSERT_EQ(log.size(), 17u);
    EXPECT_EQ(log.front(), R1(Reg("Cn063")));
    EXPECT_EQ(log[2], R1(Reg("Cn013")));
    EXPECT_EQ(ui::Text(*notch, 6089), "1000");
    EXPECT_EQ(ui::Text(*notch, 6090), "1000");

    ui::Type(*notch, 6090, "5001");
    EXPECT_EQ(ui::Text(*notch, 6090), "1000") << "above the typing limit the keystroke is undone";
    ui::Type(*notch, 6090, "0");
    EXPECT_EQ(notch->Value("Cn013"), 0) << "0 passes while typing";
    drive->ClearLog();
    ui::Press(*notch, 6049);
    EXPECT_EQ(LastMessage(), "Cn013 Over Range!!\n\n\n");
    EXPECT_FALSE(AnyWriteTo(Reg("Cn013")));

    // An invalid value on the hidden tab keeps the current tab.
    ui::Type(*notch, 6090, "1000");
    notch->ShowTab(1);
    ui::Type(*notch, 6112, "0");
    notch->m_tab.SetCurSel(0);
    NMHDR header{};
    LRESULT result = 1;
    notch->OnTabChange(&header, &result);
    EXPECT_EQ(notch->m_tabIndex, 1);
    EXPECT_EQ(notch->m_tab.GetCurSel(), 1);
    EXPECT_EQ(LastMessage(), "Cn073 Over Range!!\n\n\n");
}

TEST_F(FilterWindows, NotchDetectionFillsOriginalAndTheDriveAnswersUnderCurrent) {
    CNotchDlg* notch = Open<CNotchDlg>();
    EXPECT_EQ(ui::Text(*notch, 6052), "");
    ui::Type(*notch, 6086, "1");
    ui::Press(*notch, 6047);
    EXPECT_EQ(ui::Text(*notch, 6052), "1000") << "Original shows the value read at opening";
    EXPECT_EQ(ui::Text(*notch, 6068), "1500");
    Tick();
    Tick();
    EXPECT_EQ(ui::Text(*notch, 6089), Format("%d", jog->ResonanceHz()));
    EXPECT_EQ(ui::Text(*notch, 6085), "0") << "the drive clears the switch";
}

TEST_F(FilterWindows, NotchWriteAllNamesWhatFailedAndParameterSetMarksRows) {
    CNotchDlg* notch = Open<CNotchDlg>();
    drive->RefuseAddress(Reg("Cn067"));
    ui::Press(*notch, IDC_NF_WRITE_ALL);
    EXPECT_EQ(LastMessage(), "Cn067\nWrite Failed!");
    drive->RefuseAddress(Reg("Cn067"), false);
    messages->Clear();
    ui::Press(*notch, IDC_NF_WRITE_ALL);
    EXPECT_EQ(LastMessage(), "Write Finish!");

    ui::Type(*notch, 6092, "1234");
    ASSERT_NE(doc->FindValue("Cn066"), nullptr);
    ui::Press(*notch, IDC_NF_PARAMETER_SET);
    EXPECT_EQ(LastMessage(), "The setting value has been filled in the parameter editing table.");
    EXPECT_EQ(*doc->FindValue("Cn066"), 1234);
    EXPECT_TRUE(ChangedParameters().IsSet("Cn066"));
    EXPECT_TRUE(doc->IsModified());

    ConnectedFlag = 0;
    messages->Clear();
    ui::Press(*notch, IDC_NF_WRITE_ALL);
    EXPECT_EQ(LastMessage(), "Communicate Error!") << "no Write Finish! without a link";
    notch->EnableWriteButtons(FALSE);
    EXPECT_FALSE(ui::Enabled(*notch, IDC_NF_WRITE_ALL));
    EXPECT_FALSE(ui::Enabled(*notch, 6067));
    ConnectedFlag = 1;
}

TEST_F(FilterWindows, FailedReadShowsDashesAndLeavesSetEmpty) {
    drive->AddFault(
        {.kind = SimFaultKind::Silent, .address = Reg("Pn339"), .requestKind = SimRequestKind::MakerRead});
    CLowfreDlg* low = Open<CLowfreDlg>();
    EXPECT_EQ(ui::Text(*low, 6043), "----");
    EXPECT_EQ(ui::Text(*low, 6108), "");
    EXPECT_EQ(ui::Text(*low, 6109), "300");
}

TEST_F(FilterWindows, LowFrequencyRangesGuardsAndDetection) {
    CLowfreDlg* low = Open<CLowfreDlg>();
    ui::Type(*low, 6100, "4");
    EXPECT_EQ(ui::Text(*low, 6100), "0");
    ui::Type(*low, 6112, "31");
    EXPECT_EQ(ui::Text(*low, 6112), "5");

    ui::Type(*low, 6108, "9");
    drive->ClearLog();
    ui::Press(*low, 6051);
    EXPECT_EQ(LastMessage(), "Pn339 Over Range!!\n\n\n");
    ui::Type(*low, 6116, "5");
    ui::Press(*low, IDC_NF_WRITE_ALL);
    EXPECT_EQ(LastMessage(), "Pn339 Over Range!!\n\n\n") << "only the first in Pn338, Pn339, Pn341, Pn343";
    EXPECT_TRUE(Requests().empty());
    ui::Type(*low, 6108, "200");
    ui::Type(*low, 6116, "400");

    ui::Type(*low, 6100, "1");
    ui::Press(*low, 6047);
    EXPECT_EQ(ui::Text(*low, 6053), "200");
    EXPECT_EQ(ui::Text(*low, 6062), "7");
    Tick();
    Tick();
    EXPECT_EQ(ui::Text(*low, 6043), Format("%d", CSimJog::LowFrequencyTenthsHz));
    EXPECT_EQ(ui::Text(*low, 6099), "0");
}

TEST_F(FilterWindows, RigidityScalesWritesAndRefuses) {
    drive->SetRegister(Reg("qn501"), 400);
    drive->SetRegister(Reg("qn502"), 2000);
    drive->SetRegister(Reg("qn505"), 200);
    CJOGRigidityDlg* rigid = Open<CJOGRigidityDlg>();
    EXPECT_EQ(ui::Text(*rigid, IDC_RG_QN501_ADJUSTED), "120");
    EXPECT_EQ(ui::Text(*rigid, IDC_RG_QN502_ADJUSTED), "6667");
    EXPECT_EQ(ui::Text(*rigid, IDC_RG_QN505_ADJUSTED), "60");
    ui::Press(*rigid, IDOK);
    EXPECT_EQ(LastMessage(), "Write Finish!");
    EXPECT_EQ(drive->GetRegister(Reg("qn502")), 6667);

    for (const char* percent : {"29", "101"}) {
        ui::Type(*rigid, IDC_RG_PERCENT, percent);
        drive->ClearLog();
        ui::Press(*rigid, IDOK);
        EXPECT_EQ(LastMessage(), "Percent over range!") << percent;
        EXPECT_TRUE(Requests().empty());
    }
    ui::Type(*rigid, IDC_RG_PERCENT, "0");
    EXPECT_EQ(ui::Text(*rigid, IDC_RG_QN502_ADJUSTED), "----");
    ui::Type(*rigid, IDC_RG_PERCENT, "100");
    EXPECT_EQ(ui::Text(*rigid, IDC_RG_QN501_ADJUSTED), "400") << "100 % gives the starting values";
    EXPECT_EQ(ui::Text(*rigid, IDC_RG_QN502_ADJUSTED), "2000");

    drive->RefuseAddress(Reg("qn502"));
    ui::Press(*rigid, IDOK);
    EXPECT_EQ(LastMessage(), "qn502\nWrite Failed!");
}

TEST_F(FilterWindows, RigidityWithoutItsReadsWritesNothing) {
    drive->AddFault(
        {.kind = SimFaultKind::Silent, .address = Reg("qn505"), .requestKind = SimRequestKind::MakerRead});
    CJOGRigidityDlg* rigid = Open<CJOGRigidityDlg>();
    drive->ClearFaults();
    EXPECT_EQ(ui::Text(*rigid, IDC_RG_QN505_START), "----");
    drive->ClearLog();
    ui::Press(*rigid, IDOK);
    EXPECT_TRUE(Requests().empty()) << "no zero gains";
    EXPECT_NE(LastMessage().find("could not be read"), std::string::npos);
}

TEST_F(FilterWindows, AutoOffsetYes) {
    CAutoOffsetDialog* offset = Open<CAutoOffsetDialog>();
    ConnectedFlag = 0;
    ui::Press(*offset, IDOK);
    EXPECT_EQ(LastMessage(), "Communicate Error!");
    EXPECT_FALSE(life_.expired()) << "disconnected, the window stays";
    ConnectedFlag = 1;
    ui::Press(*offset, IDOK);
    EXPECT_EQ(LastMessage(), "Successfully!!");
    EXPECT_EQ(messages->Shown().back().caption, "Auto Offset Adjustment (dn-07)");
    EXPECT_EQ(jog->OffsetAdjustments(), 1);
    EXPECT_TRUE(life_.expired());
    EXPECT_EQ(closedCount, 1);
    window = nullptr;
}

TEST_F(FilterWindows, DriveValuesBeyondTheTypingLimitAreShownAsTheyAre) {
    drive->SetRegister(Reg("Cn013"), 6000);
    CNotchDlg* notch = Open<CNotchDlg>();
    EXPECT_EQ(ui::Text(*notch, 6090), "6000");
    EXPECT_EQ(notch->Value("Cn013"), 6000);
    ui::Press(*notch, 6049);
    EXPECT_EQ(LastMessage(), "Cn013 Over Range!!\n\n\n") << "and refused at write";
}

} // namespace
