// The auto gain window end to end against the simulated drive's tuning run: Parameter Write's order
// and report, the Start refusals, the poll to the finish, the alarm stop, the confirmation answer,
// Close, linear motors and the step lamps as pixels.
#include "tests/tuning/ui/jog/JogWindowFixture.h"

#include "catalogue/RegisterMap.h"
#include "framework/ui/TabCtrl.h"
#include "link/services/StopKeeper.h"
#include "paramedit/ParamPassRules.h"
#include "resources/ids/tuningwindows.h"
#include "sim/SimFactoryDefaults.h"
#include "tuning/AutoGainSteps.h"
#include "tuning/ui/JogAutotuningDlg.h"

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace {

class AutoGainWindow : public JogWindowFixture {
protected:
    void SetUp() override {
        OpenJogWorld("autogainwin");
        if (HasFatalFailure())
            return;
        drive->SetRegister(0x1704, 5);
        drive->SetRegister(0x1705, 7);
        drive->SetRegister(0x171A, 0x0025);
        drive->SetRegister(0x001C, 40);
        drive->SetRegister(0x003F, 10);
        drive->SetRegister(0x0040, 600);
        drive->SetRegister(0x0C0B, 20);
        drive->SetRegister(0x131E, 0x0002);
        drive->SetRegister(0x131F, 0x0001);
        drive->SetRegister(0x032F, 50);
        drive->SetRegister(0x1719, 0x0001);
        drive->SetRegister(0x0A0B, 0);
        drive->SetRegister(0x003E, 1);
    }
    void TearDown() override {
        if (window && !life_.expired())
            window->DestroyWindow();
        CloseJogWorld();
    }
    CJogAutotuningDlg* Open() {
        window = new CJogAutotuningDlg(view);
        window->OnClosed = [this] { ++closedCount; };
        EXPECT_TRUE(window->Create(nullptr));
        window->ShowWindow(SW_SHOW); // on the screen, as the command leaves it, so the user can click it
        life_ = window->Life();
        return window;
    }
    void Tick() { ASSERT_TRUE(FireTimerForTest(window, AutoGainPollTimer)); }
    // Start, then the poll until the run has finished and the confirmation is up.
    void RunToTheConfirmation() {
        ui::Press(*window, IDC_AG_START);
        for (int tick = 0; tick < 20 && !window->Poll().Finished(); ++tick)
            Tick();
        ASSERT_TRUE(window->Poll().Finished());
        ASSERT_NE(window->Confirmation(), nullptr);
        ASSERT_TRUE(window->Confirmation()->IsWindowVisible());
    }
    // The fourteen result words, as the program reads them now.
    std::vector<int> ResultWords() {
        std::vector<int> words;
        for (uint16_t address : {0x001C, 0x0401, 0x0402, 0x0405, 0x0025, 0x000E, 0x0045, 0x0A06, 0x0A07,
                                 0x0330, 0x0331, 0x0A08, 0x0A09, 0x0A0A})
            words.push_back(view.services.ReadDriveRegister(address).value_or(-1));
        return words;
    }
    // A read-all as the editor makes it: every parameter it reads, judged by its range test.
    std::vector<std::string> OverRangeOnReadAll() {
        const CatalogueContext context = doc->Context();
        std::vector<std::string> over;
        for (const std::string& code : ReadAllCodes(context)) {
            const std::optional<int> value = view.services.ReadDriveParameter(code);
            if (value && !IsValueInRange(code, *value, *doc, context))
                over.push_back(code + "=" + std::to_string(*value));
        }
        return over;
    }
    // The colour at a lamp's inner edge, as the window paints it.
    QColor LampColour(int id) {
        QWidget* lamp = window->GetDlgItem(id)->GetWidget();
        const QImage image = lamp->grab().toImage();
        return image.pixelColor(3, image.height() / 2);
    }

    CJogAutotuningDlg* window = nullptr;
    std::weak_ptr<int> life_;
    int closedCount = 0;
};

TEST_F(AutoGainWindow, OpeningMarksTheModeWordAndFillsThePages) {
    Open();
    EXPECT_EQ(drive->GetRegister(0x171A), 0x0015) << "(value AND 0x0F) OR 0x10";
    CJogParaTab1& page = window->ConditionPage1();
    EXPECT_EQ(ui::Text(page, IDC_AG_INERTIA_RATIO), "40");
    EXPECT_EQ(ui::Text(page, IDC_AG_SPEED), "600");
    EXPECT_EQ(ui::Text(page, IDC_AG_RIGIDITY), "9");
    EXPECT_EQ(ui::Text(page, IDC_AG_SPEED_RANGE), "(300~2000)");
    EXPECT_EQ(ui::SelectedText(page, IDC_AG_RESPONSE_MODE), "2: Stantard reactive mode");
    EXPECT_EQ(ui::SelectedText(window->ConditionPage2(), IDC_AG_FRICTION), "1: Available");
    EXPECT_EQ(window->ResultTab().GetItemCount(), 3);
    EXPECT_EQ(ui::Text(window->ResultPage(0), 6040), "4.0");
    EXPECT_EQ(ui::SelectedText(*window, IDC_AG_ENABLE_SELECT), "1:Off-Line");
}

// The range comes from the rated speed the drive reports (0x0B01) for its 3000 rpm motor: two
// thirds of it is the highest operation speed Parameter Write takes.
TEST_F(AutoGainWindow, OperationSpeedRangeIsTwoThirdsOfTheDrivesRatedSpeed) {
    ASSERT_EQ(drive->GetRegister(0x0B01), 3000);
    Open();
    CJogParaTab1& page = window->ConditionPage1();
    EXPECT_EQ(ui::Text(page, IDC_AG_SPEED_RANGE), "(300~2000)");
    ui::Screenshot(*window, "auto-gain-operation-speed");
    struct Case {
        const char* speed;
        const char* message;
    } const cases[] = {{"2000", "Write successfully!!"}, {"2001", "Cn061 \n Over Range!!\n\n"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.speed);
        ui::Type(page, IDC_AG_SPEED, c.speed);
        ui::Press(*window, IDC_AG_PARAMETER_WRITE);
        EXPECT_EQ(LastMessage(), c.message);
        EXPECT_EQ(drive->GetRegister(0x0040), 2000) << "Cn061";
    }
}

TEST_F(AutoGainWindow, LinearMotorShowsTwoResultTabsAndItsUnits) {
    drive->SetRegister(0x0F08, 0x4000);
    Open();
    EXPECT_EQ(window->ResultTab().GetItemCount(), 2);
    EXPECT_EQ(ui::Text(window->ConditionPage1(), IDC_AG_COMMAND_UNIT), "pitch");
    EXPECT_EQ(ui::Text(window->ConditionPage1(), IDC_AG_SPEED_UNIT), "mm/s");
    EXPECT_FALSE(ui::Enabled(window->ConditionPage2(), IDC_AG_FRICTION));
}

TEST_F(AutoGainWindow, ParameterWriteRefusesOutOfRangeAndNamesEveryMismatchInOneMessage) {
    Open();
    ui::Type(window->ConditionPage1(), IDC_AG_SPEED, "299");
    drive->ClearLog();
    ui::Press(*window, IDC_AG_PARAMETER_WRITE);
    EXPECT_EQ(LastMessage(), "Cn061 \n Over Range!!\n\n");
    EXPECT_FALSE(AnyWriteTo(0x003E));

    ui::Type(window->ConditionPage1(), IDC_AG_SPEED, "600");
    // The drive keeps its own Cn025 and Cn060: their read-backs differ.
    for (uint16_t address : {uint16_t(0x001C), uint16_t(0x003F)}) {
        SimRegisterRule stubborn;
        stubborn.onRead = [](uint16_t) -> uint16_t { return 7; };
        drive->SetRule(address, stubborn);
    }
    messages->Clear();
    drive->ClearLog();
    ui::Press(*window, IDC_AG_PARAMETER_WRITE);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(LastMessage(), "Cn025 Cn060 \nWrite failed!");
    // The order of the group: Cn059 first, Cn026 last, each write read back.
    const auto log = Requests();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[1], W1(0x003E, 1));
    EXPECT_EQ(log[log.size() - 2], W1(0x001D, 9));
    EXPECT_EQ(drive->GetRegister(0x131E), 0x0002);
    EXPECT_EQ(drive->GetRegister(0x1719), 0x0001);
}

TEST_F(AutoGainWindow, StartRefusals) {
    Open();
    struct Case {
        int address;
        int value;
        std::string message;
    };
    const Case cases[] = {
        {0x1712, 1, "Warning, please remove the alarm and try to tuning again."},
        {0x003E, 0, "Please confirm parameter setting and write!"},
        {0x1703, 1, "Warning, please servo off and try to tuning again."},
    };
    for (const Case& c : cases) {
        const int before = drive->GetRegister(static_cast<uint16_t>(c.address));
        drive->SetRegister(static_cast<uint16_t>(c.address), static_cast<uint16_t>(c.value));
        drive->ClearLog();
        ui::Press(*window, IDC_AG_START);
        EXPECT_EQ(LastMessage(), c.message);
        EXPECT_FALSE(AnyWriteTo(0x170E));
        EXPECT_FALSE(window->Poll().Running());
        drive->SetRegister(static_cast<uint16_t>(c.address), static_cast<uint16_t>(before));
    }
}

TEST_F(AutoGainWindow, RunFinishesOnTheLastTickAndYesKeepsTheResult) {
    jog->SetTuningSteps({0, 0, 1, 2, 3, 0});
    Open();
    ui::Press(*window, IDC_AG_START);
    EXPECT_EQ(drive->GetRegister(0x170E), 1);
    EXPECT_FALSE(ui::Enabled(*window, IDC_AG_PARAMETER_WRITE));
    for (int tick = 0; tick < 5; ++tick) {
        Tick();
        EXPECT_FALSE(window->Poll().Finished()) << "tick " << tick;
    }
    EXPECT_EQ(window->ResultTab().GetCurSel(), 1) << "step 3 brings the control model page";
    Tick();
    EXPECT_TRUE(window->Poll().Finished());
    EXPECT_FALSE(FireTimerForTest(window, AutoGainPollTimer)) << "the poll stopped";
    EXPECT_EQ(drive->GetRegister(0x170E), 0);
    EXPECT_FALSE(ui::Enabled(*window, IDCANCEL));
    EXPECT_EQ(ui::Text(window->ResultPage(0), 6040), "3.0") << "the tuned inertia ratio";

    CWarningDlg* confirmation = window->Confirmation();
    ASSERT_NE(confirmation, nullptr);
    ASSERT_TRUE(confirmation->IsWindowVisible());
    EXPECT_EQ(confirmation->m_list.GetItemCount(), 16);
    EXPECT_EQ(confirmation->m_list.GetItemText(0, 0), "Cn025");
    EXPECT_EQ(confirmation->m_list.GetItemText(0, 1), "3.0");
    EXPECT_EQ(confirmation->m_list.GetItemText(0, 2), "4.0");
    for (int row : {14, 15})
        for (int cell = 0; cell < 3; ++cell)
            EXPECT_EQ(confirmation->m_list.GetItemText(row, cell), " ");

    ui::Press(*confirmation, IDOK);
    EXPECT_EQ(jog->TuningAnswer(), 1);
    EXPECT_EQ(drive->GetRegister(0x171A), 0x0011);
    EXPECT_FALSE(confirmation->IsWindowVisible());
    EXPECT_TRUE(ui::Enabled(*window, IDCANCEL));
    EXPECT_TRUE(ui::Enabled(*window, IDC_AG_START));
}

// The drive tunes while it runs, and the answer decides what it keeps: No puts back what it held
// when the run started (the confirmation's existing column), Yes keeps the tuned values. Either way
// a read-all afterwards finds every parameter in its range.
TEST_F(AutoGainWindow, TheAnswerDecidesWhatTheDriveKeepsAndAllOfItIsInRange) {
    // The fixture's response mode word is not one this drive takes: the drive's own instead.
    for (const sim::FactoryWord& word : sim::FactoryParameters(4))
        if (word.address == 0x131E)
            drive->SetRegister(word.address, word.value);
    ASSERT_EQ(OverRangeOnReadAll(), std::vector<std::string>{});
    Open();
    const std::vector<int> before = ResultWords();
    struct Case {
        int button;
        bool keepsTuned;
    } const cases[] = {{IDC_AG_WARNING_NO, false}, {IDOK, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keepsTuned ? "Yes" : "No");
        RunToTheConfirmation();
        if (HasFatalFailure())
            return;
        const std::vector<int> tuned = ResultWords();
        EXPECT_NE(tuned, before) << "the drive tuned during the run";
        CWarningDlg& confirmation = *window->Confirmation();
        EXPECT_EQ(confirmation.m_list.GetItemText(0, 1), Format("%.1f", tuned[0] / 10.0)) << "Cn025 tuned";
        EXPECT_EQ(confirmation.m_list.GetItemText(0, 2), Format("%.1f", before[0] / 10.0))
            << "Cn025 existing";
        ui::Press(confirmation, c.button);
        EXPECT_EQ(ResultWords(), c.keepsTuned ? tuned : before);
        EXPECT_EQ(OverRangeOnReadAll(), std::vector<std::string>{});
    }
}

TEST_F(AutoGainWindow, NoWritesTwoAndAnUnreadWordWritesNothing) {
    jog->SetTuningSteps({1, 0});
    Open();
    drive->SetRegister(0x171A, 0x0035);
    ui::Press(*window, IDC_AG_START);
    Tick();
    Tick();
    ASSERT_TRUE(window->Poll().Finished());
    ui::Press(*window->Confirmation(), IDC_AG_WARNING_NO);
    EXPECT_EQ(drive->GetRegister(0x171A), 0x0032) << "bits 4..7 kept";

    drive->AddFault(
        {.kind = SimFaultKind::Silent, .address = 0x171A, .requestKind = SimRequestKind::MakerRead});
    drive->ClearLog();
    messages->Clear();
    window->SetTuningConfirmation(1);
    EXPECT_FALSE(AnyWriteTo(0x171A));
    EXPECT_EQ(messages->Shown().size(), 1u) << "the answer that did not reach the drive is told";
}

TEST_F(AutoGainWindow, AlarmStopsTheRun) {
    jog->SetTuningSteps({1, 2, 2, 2, 3, 0});
    jog->SetTuningAlarmAtStep(2);
    Open();
    ui::Press(*window, IDC_AG_START);
    for (int tick = 0; tick < 4 && window->Poll().Running(); ++tick)
        Tick();
    EXPECT_FALSE(window->Poll().Running());
    EXPECT_EQ(LastMessage().rfind("Auto Tuning Failed!", 0), 0u) << LastMessage();
    EXPECT_EQ(drive->GetRegister(0x003E), 0);
    EXPECT_EQ(drive->GetRegister(0x170E), 0);
    EXPECT_TRUE(ui::Enabled(*window, IDC_AG_PARAMETER_WRITE));
    EXPECT_FALSE(FireTimerForTest(window, AutoGainPollTimer));
}

TEST_F(AutoGainWindow, LampsShowTheStepAsPixels) {
    jog->SetTuningSteps({1, 1, 0});
    Open();
    window->ShowWindow(SW_SHOW);
    const QColor face = LampColour(IDC_AG_LAMP_START);
    ui::Press(*window, IDC_AG_START);
    drive->SetRegister(0x1703, 1); // the drive excites the motor for the run
    Tick();
    EXPECT_EQ(LampColour(IDC_AG_LAMP_START), QColor(0, 255, 0));
    EXPECT_EQ(LampColour(IDC_AG_LAMP_INERTIA), QColor(255, 255, 0));
    EXPECT_EQ(LampColour(IDC_AG_LAMP_GAIN), face);
    EXPECT_EQ(LampColour(IDC_AG_LAMP_FINISH), face);
    Tick();
    Tick();
    EXPECT_EQ(LampColour(IDC_AG_LAMP_INERTIA), QColor(0, 255, 0));
    EXPECT_EQ(LampColour(IDC_AG_LAMP_FINISH), QColor(0, 255, 0));
    EXPECT_EQ(LampColour(IDC_AG_LAMP_FRICTION), QColor(0, 255, 0)) << "friction compensation chosen";
}

TEST_F(AutoGainWindow, CloseRestoresTheRunModeWordsAndClearsTheModeWord) {
    Open();
    drive->ClearLog();
    ui::Press(*window, IDCANCEL);
    EXPECT_EQ(drive->GetRegister(0x171A), 0);
    EXPECT_EQ(drive->GetRegister(0x1704), 5);
    EXPECT_EQ(drive->GetRegister(0x1705), 7);
    EXPECT_EQ(drive->GetRegister(0x003E), 0);
    EXPECT_EQ(closedCount, 1);
    EXPECT_TRUE(life_.expired());
    window = nullptr;
}

TEST_F(AutoGainWindow, LostLinkDuringARunClosesTheWindow) {
    Open();
    ui::Press(*window, IDC_AG_START);
    ConnectedFlag = 0;
    Tick();
    EXPECT_FALSE(ui::Enabled(*window, IDC_AG_START));
    EXPECT_FALSE(ui::Enabled(*window, IDC_AG_STOP));
    for (int i = 0; i < 5 && !life_.expired(); ++i)
        DispatchPendingMessages();
    EXPECT_TRUE(life_.expired());
    EXPECT_EQ(closedCount, 1);
    window = nullptr;
    ConnectedFlag = 1;
}

TEST_F(AutoGainWindow, WithoutALinkTheRunsStopIsKeptAndToldOnce) {
    struct Case {
        const char* what;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"Stop", [this] { ui::Press(*window, IDC_AG_STOP); }},
        // The poll found the link gone and stopped itself; the close that follows still hands
        // the run's stop over.
        {"close after the poll",
         [this] {
             Tick();
             for (int i = 0; i < 5 && !life_.expired(); ++i)
                 DispatchPendingMessages();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        drive->SetRegister(0x003E, 1); // the kept stop of the case before cleared it
        Open();
        ui::Press(*window, IDC_AG_START);
        Tick();
        ConnectedFlag = 0;
        drive->ClearLog();
        messages->Clear();
        c.act();
        EXPECT_TRUE(Requests().empty());
        EXPECT_EQ(LastMessage(), CStopKeeper::NoLinkText("auto gain"));
        EXPECT_EQ(messages->Shown().size(), 1u);
        EXPECT_EQ(view.services.Stops.KeptMotions(), std::vector<std::string>{"auto gain"});
        if (!life_.expired())
            ui::Press(*window, IDCANCEL);
        EXPECT_EQ(messages->Shown().size(), 1u) << "the close after a Stop tells nothing more";
        EXPECT_TRUE(life_.expired());
        window = nullptr;
        ConnectedFlag = 1;
        EXPECT_EQ(view.services.Stops.SendKept().taken, std::vector<std::string>{"auto gain"});
        EXPECT_EQ(drive->GetRegister(0x170E), 0);
    }
}

TEST_F(AutoGainWindow, StopEndsTheRunOnTheDrive) {
    Open();
    ui::Press(*window, IDC_AG_START);
    Tick();
    drive->ClearLog();
    ui::Press(*window, IDC_AG_STOP);
    EXPECT_EQ(Requests(), (std::vector<std::string>{W1(0x003E, 0), W1(0x0C25, 0), W1(0x170E, 0)}));
    EXPECT_FALSE(window->Poll().Running());
    EXPECT_TRUE(ui::Enabled(*window, IDC_AG_PARAMETER_WRITE));
    EXPECT_FALSE(FireTimerForTest(window, AutoGainPollTimer));
}

TEST_F(AutoGainWindow, AlarmClearLooksAtTheCodeAndTheWrite) {
    Open();
    struct Case {
        int code;
        bool refuse;
        std::string message;
        bool written;
    };
    const Case cases[] = {
        {13, false, "Clear Alarm Error", false},
        {35, false, "Clear alarm successfully!", true},
        {35, true, "The drive did not accept the alarm clear command.", false},
    };
    for (const Case& c : cases) {
        drive->SetRegister(0x1712, 1);
        drive->SetRegister(0x1711, static_cast<uint16_t>(c.code));
        drive->RefuseAddress(0x1713, c.refuse);
        drive->ClearLog();
        ui::Press(*window, IDC_AG_ALARM_CLEAR);
        EXPECT_EQ(LastMessage(), c.message) << c.code;
        EXPECT_EQ(drive->GetRegister(0x1713) == 1, c.written) << c.code;
        drive->SetRegister(0x1713, 0);
    }
    drive->RefuseAddress(0x1713, false);
}

TEST_F(AutoGainWindow, OnlineTuningIsSwitchedOffOnlyWhenTheUserAgrees) {
    const uint16_t tn837 = ParamCodeRegisterAddress("tn837").value_or(0);
    drive->SetRegister(tn837, 0x0021);
    Open();
    messages->Answer(IDNO);
    drive->ClearLog();
    ui::Press(*window, IDC_AG_PARAMETER_WRITE);
    EXPECT_EQ(
        messages->Shown().back().text,
        "When tn837.0 online-tuning is set to 1, parameters can't be written,\nDo you set tn837.0 to 0 and "
        "continue writing?");
    EXPECT_FALSE(AnyWriteTo(0x003E));
    messages->Answer(IDYES);
    ui::Press(*window, IDC_AG_PARAMETER_WRITE);
    EXPECT_EQ(drive->GetRegister(tn837), 0x0020);
    EXPECT_EQ(LastMessage(), "Write successfully!!");
}

TEST_F(AutoGainWindow, InertiaEstimationNoteAndInstructionRunModally) {
    Open();
    std::vector<bool> noteButtons;
    ui::ModalScript script({{IDD_AG_NOTE, [&](CDialog& note) {
                                 noteButtons.push_back(ui::Enabled(note, IDOK) &&
                                                       note.GetDlgItem(IDOK)->IsWindowVisible());
                             }}});
    ui::Press(*window, IDC_AG_INERTIA);
    ui::Press(*window, IDC_AG_NOTE);
    ui::Press(*window, IDC_AG_INSTRUCTION);
    EXPECT_EQ(script.Opened(), (std::vector<UINT>{IDD_UN45_JOG, IDD_AG_NOTE, IDD_AG_INSTRUCTION}));
    EXPECT_EQ(noteButtons, std::vector<bool>{false}) << "the Note from the window has no buttons";
    ServoOnFlag = 1;
    ui::Press(*window, IDC_AG_INERTIA);
    EXPECT_EQ(LastMessage(),
              "It is currently in Servo ON state and cannot perform Mechanical Characteristic Analysis.");
    ServoOnFlag = 0;
}

} // namespace
