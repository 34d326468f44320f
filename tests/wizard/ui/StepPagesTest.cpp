// The drive, motor, encoder and comprehensive pages driven as a user drives them.
#include "WizardFixture.h"

#include "framework/ui/ComboBox.h"
#include "resources/ids/wizard.h"

namespace {

using StepPages = WizardFixture;

TEST_F(StepPages, MotorPageOffersTheGroupAndComposesCn030) {
    Offline();
    CSetupWizardDialog& w = Open(0x1010); // encoder code 0: no encoder chosen
    ui::Press(w, IDC_WZ_STEP_MOTOR);
    CWizardPage& page = *w.Page(WizardPage::Motor);
    EXPECT_EQ(ui::Selected(page, IDC_WZ_ENCODER_COMBO), -1);
    const std::string bare = ui::Text(page, IDC_WZ_MOTOR_DETAILS);
    EXPECT_NE(bare.find("Motor Model: HBMQ - M001-"), std::string::npos) << bare;
    EXPECT_NE(bare.find("Encoder Specifications: ----- ------"), std::string::npos);
    EXPECT_NE(bare.find("Cn030 Setting Value = H1010"), std::string::npos);
    ui::Choose(page, IDC_WZ_ENCODER_COMBO, 0);
    const std::string chosen = ui::Text(page, IDC_WZ_MOTOR_DETAILS);
    EXPECT_NE(chosen.find("Input voltage: AC 200~230V"), std::string::npos);
    EXPECT_NE(chosen.find("Cn030 Setting Value = H1011"), std::string::npos);

    // Group 13 holds 14 rows but offers 6.
    ui::Press(w, IDC_WZ_STEP_DRIVE);
    ui::Choose(*w.Page(WizardPage::Drive), IDC_WZ_COMBO, 13);
    messages->Answer(IDOK);
    ui::Press(w, IDC_WZ_APPLY);
    ui::Press(w, IDC_WZ_STEP_MOTOR);
    auto* motors = dynamic_cast<CComboBox*>(page.GetDlgItem(IDC_WZ_COMBO));
    ASSERT_NE(motors, nullptr);
    EXPECT_EQ(motors->GetCount(), 6);
}

TEST_F(StepPages, DividingOutputIsCheckedOnLeaving) {
    doc->Value(DocCn, 1) = SpeedMode;
    CSetupWizardDialog& w = Open();
    ui::Press(w, IDC_WZ_STEP_ENCODER);
    CWizardPage& page = *w.Page(WizardPage::Encoder1);
    EXPECT_EQ(ui::Text(page, IDC_WZ_RANGE1), "(16 ~ 2097152)");
    struct Case {
        const char* text;
        bool leaves;
    };
    for (const Case& c : {Case{"15", false}, Case{"2097153", false}, Case{"", false}, Case{"16", true}}) {
        messages->Clear();
        ui::Type(page, IDC_WZ_EDIT1, c.text);
        ui::Press(w, IDC_WZ_NEXT);
        EXPECT_EQ(w.Navigation().PageCode() != WizardPage::Encoder1, c.leaves) << c.text;
        if (std::string(c.text) == "15" || std::string(c.text) == "2097153") {
            ASSERT_EQ(messages->Shown().size(), 1u);
            EXPECT_EQ(messages->Shown()[0].text, "Out of range!");
        }
    }
    ui::Press(w, IDC_WZ_BACK);
    ui::Type(page, IDC_WZ_EDIT1, "2097152");
    ui::Press(w, IDC_WZ_NEXT);
    EXPECT_EQ(w.Navigation().PageCode(), WizardPage::Encoder1 + 1); // speed mode
}

TEST_F(StepPages, BrakeModeWithoutMechanicalBrakeDisablesItsControls) {
    CSetupWizardDialog& w = Open();
    ui::Press(w, IDC_WZ_STEP_COMPREHENSIVE);
    CWizardPage& page = *w.Page(WizardPage::Complex1);
    ui::Choose(page, IDC_WZ_COMBO, 3);
    for (int id : {IDC_WZ_COMBO2, IDC_WZ_EDIT2, IDC_WZ_COMBO3})
        EXPECT_TRUE(ui::Enabled(page, id)) << id;
    ui::Choose(page, IDC_WZ_COMBO, 2);
    for (int id : {IDC_WZ_COMBO2, IDC_WZ_EDIT2, IDC_WZ_COMBO3, IDC_WZ_RADIO1, IDC_WZ_RADIO2})
        EXPECT_FALSE(ui::Enabled(page, id)) << id;
    // The BI selector lists the eight outputs after "Not in use".
    EXPECT_EQ(dynamic_cast<CComboBox*>(page.GetDlgItem(IDC_WZ_COMBO3))->GetCount(), 9);
}

TEST_F(StepPages, BrakeTimeRevertsLiveAndTheRegenPageChecksPowerFirst) {
    CSetupWizardDialog& w = Open();
    ui::Press(w, IDC_WZ_STEP_COMPREHENSIVE);
    CWizardPage& brake = *w.Page(WizardPage::Complex1);
    ui::Choose(brake, IDC_WZ_COMBO, 1);
    ui::Type(brake, IDC_WZ_EDIT2, "120");
    ui::Type(brake, IDC_WZ_EDIT2, "-3001");
    EXPECT_EQ(ui::Text(brake, IDC_WZ_EDIT2), "120");
    ui::Press(w, IDC_WZ_NEXT);
    CWizardPage& regen = *w.Page(WizardPage::Complex1 + 1);
    ASSERT_EQ(w.Navigation().PageCode(), WizardPage::Complex1 + 1);
    ui::Type(regen, IDC_WZ_EDIT1, "10001");
    EXPECT_NE(ui::Text(regen, IDC_WZ_EDIT1), "10001");
}

TEST_F(StepPages, TorqueDirectionPageGivesEachPinToOneFunction) {
    doc->Value(DocCn, 1) = TorqueMode;
    CSetupWizardDialog& w = Open();
    ui::Press(w, IDC_WZ_STEP_ENCODER);
    ui::Press(w, IDC_WZ_NEXT);
    ASSERT_EQ(w.Navigation().PageCode(), WizardPage::Encoder1 + 3);
    CWizardPage& page = *w.Page(WizardPage::Encoder1 + 3);
    ui::Choose(page, IDC_WZ_COMBO, 5);
    EXPECT_TRUE(page.GetDlgItem(IDC_WZ_TRQINV_GROUP)->IsWindowVisible());
    ui::Choose(page, IDC_WZ_COMBO3, 5);
    EXPECT_EQ(ui::Selected(page, IDC_WZ_COMBO), 0);
    EXPECT_FALSE(page.GetDlgItem(IDC_WZ_TRQINV_GROUP)->IsWindowVisible());
    EXPECT_TRUE(page.GetDlgItem(IDC_WZ_RS2_GROUP)->IsWindowVisible());
    ui::Press(w, IDC_WZ_APPLY);
    EXPECT_EQ(*w.Collected().Value("Hn605"), DiFunction::RS2);
}

} // namespace
