// The wizard frame driven as a user drives it: step buttons, pages, Apply, Esc, Finish.
#include "WizardFixture.h"

#include "framework/ui/Messages.h"
#include "paramedit/ParameterChangedFlags.h"
#include "resources/ids/wizard.h"
#include "tests/support/Screenshot.h"

#include <QImage>
#include <QWidget>

namespace {

using SetupWizard = WizardFixture;

TEST_F(SetupWizard, OpensWithTheDocumentsDriveMotorAndModeLockedByTheLink) {
    doc->Value(DocCn, 1) = 2;
    CSetupWizardDialog& w = Open(0x1011);
    EXPECT_EQ(w.GetWindowText(), "Teaching Parameter Setting Wizard");
    EXPECT_FALSE(ui::Enabled(w, IDC_WZ_STEP_DRIVE));
    EXPECT_FALSE(ui::Enabled(w, IDC_WZ_STEP_MOTOR));
    EXPECT_TRUE(ui::Enabled(w, IDC_WZ_STEP_MODE));
    EXPECT_TRUE(ui::Enabled(w, IDC_WZ_STEP_REFERENCE));
    EXPECT_TRUE(ui::Enabled(w, IDC_WZ_STEP_SAVE_WRITE));
    EXPECT_EQ(ui::Text(w, IDC_WZ_SUMMARY_DRIVE), "HBVZR3 - D01 - E");
    EXPECT_EQ(ui::Text(w, IDC_WZ_SUMMARY_MOTOR), "HBMQ - M001B\r\n0.05 kW");
    EXPECT_EQ(ui::Text(w, IDC_WZ_SUMMARY_MODE), "Position Control (External Pulse Command)");
    for (int id :
         {IDC_WZ_BACK, IDC_WZ_APPLY, IDC_WZ_CANCEL_PAGE, IDC_WZ_NEXT, IDC_WZ_FINISH, IDC_WZ_MARKER_MODE})
        EXPECT_FALSE(Visible(id)) << id;
    // The wizard never talks to the drive while the user works.
    EXPECT_TRUE(drive->RequestLog().empty());
}

// The darkest pixel of a control's face as the window shows it: its text's colour.
QColor DarkestInside(const QImage& window, CWnd& control) {
    const QRect box = control.GetWidget()->geometry();
    QColor darkest(255, 255, 255);
    for (int y = box.top() + box.height() / 4; y < box.top() + box.height() * 3 / 4; ++y)
        for (int x = box.left() + box.width() / 8; x < box.left() + box.width() * 7 / 8; ++x)
            if (const QColor c = window.pixelColor(x, y); qGray(c.rgb()) < qGray(darkest.rgb()))
                darkest = c;
    return darkest;
}

// Drive and motor come from the linked drive: their step buttons are locked and look it, grey
// where the steps the user can take are black.
TEST_F(SetupWizard, StepButtonsLockedByTheLinkAreDrawnGrey) {
    CSetupWizardDialog& w = Open();
    ui::Screenshot(w, "setup_wizard_linked");
    const QImage shown = w.GetWidget()->grab().toImage();
    for (int id : {IDC_WZ_STEP_DRIVE, IDC_WZ_STEP_MOTOR}) {
        ASSERT_FALSE(ui::Enabled(w, id));
        const QColor text = DarkestInside(shown, *w.GetDlgItem(id));
        EXPECT_GE(qGray(text.rgb()), 96) << id << " " << text.name().toStdString();
    }
    for (int id : {IDC_WZ_STEP_MODE, IDC_WZ_STEP_SAVE_WRITE}) {
        ASSERT_TRUE(ui::Enabled(w, id));
        const QColor text = DarkestInside(shown, *w.GetDlgItem(id));
        EXPECT_LE(qGray(text.rgb()), 48) << id << " " << text.name().toStdString();
    }
}

TEST_F(SetupWizard, AnUnsupportedDocumentModeStartsInSpeedFromTheDefaults) {
    doc->Value(DocCn, 1) = 3;
    Offline();
    CSetupWizardDialog& w = Open();
    EXPECT_EQ(w.Navigation().ControlMode(), SpeedMode);
    EXPECT_TRUE(w.Collected().UseDefaults);
    for (int id : {IDC_WZ_STEP_REFERENCE, IDC_WZ_STEP_ENCODER, IDC_WZ_STEP_COMPREHENSIVE,
                   IDC_WZ_STEP_SAVE_WRITE, IDC_WZ_STEP_DISPLAY_DIO})
        EXPECT_FALSE(ui::Enabled(w, id)) << id;
    EXPECT_EQ(ui::Text(w, IDC_WZ_SUMMARY_MODE), "");
    ui::Press(w, IDC_WZ_STEP_MODE);
    EXPECT_EQ(ui::Selected(*w.Page(WizardPage::ControlMode), IDC_WZ_COMBO), SpeedMode);
    ui::Press(w, IDC_WZ_APPLY); // first mode: no question
    EXPECT_TRUE(messages->Shown().empty());
    EXPECT_TRUE(ui::Enabled(w, IDC_WZ_STEP_SAVE_WRITE));
    EXPECT_EQ(ui::Text(w, IDC_WZ_SUMMARY_MODE), "Speed Control");
}

TEST_F(SetupWizard, ModePageApplyAsksBeforeAChangeAndCancelKeepsTheMode) {
    doc->Value(DocCn, 1) = 1;
    CSetupWizardDialog& w = Open();
    ui::Press(w, IDC_WZ_STEP_MODE);
    EXPECT_TRUE(Visible(IDC_WZ_MARKER_MODE));
    EXPECT_TRUE(PageVisible(WizardPage::ControlMode));
    CWizardPage& page = *w.Page(WizardPage::ControlMode);
    EXPECT_EQ(ui::SelectedText(page, IDC_WZ_COMBO), "Speed Control - S");
    ui::Choose(page, IDC_WZ_COMBO, TorqueMode);
    EXPECT_EQ(ui::Text(page, IDC_WZ_DETAILS).substr(8, 11), "Torque Mode");
    messages->Answer(IDCANCEL);
    ui::Press(w, IDC_WZ_APPLY);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Changing the control mode resets the reference input, encoder and "
                                         "comprehensive settings. Continue?");
    EXPECT_EQ(ui::Selected(page, IDC_WZ_COMBO), SpeedMode);
    EXPECT_EQ(w.Navigation().ControlMode(), SpeedMode);
    ui::Choose(page, IDC_WZ_COMBO, PositionMode);
    messages->Answer(IDOK);
    ui::Press(w, IDC_WZ_APPLY);
    EXPECT_EQ(w.Navigation().ControlMode(), PositionMode);
    EXPECT_EQ(*w.Collected().Default("Cn001"), PositionMode);
    EXPECT_FALSE(PageVisible(WizardPage::ControlMode));
    EXPECT_FALSE(Visible(IDC_WZ_APPLY));
    EXPECT_EQ(ui::Text(w, IDC_WZ_SUMMARY_MODE), "Position Control (External Pulse Command)");
    // An applied step's summary is green.
    const QImage summary = w.GetDlgItem(IDC_WZ_SUMMARY_MODE)->GetWidget()->grab().toImage();
    EXPECT_EQ(summary.pixelColor(summary.width() - 4, summary.height() / 2), QColor(0, 255, 0));
}

TEST_F(SetupWizard, EscapeClosesNothing) {
    CSetupWizardDialog& w = Open();
    ui::Press(w, IDC_WZ_STEP_MODE);
    for (CWnd* target : {static_cast<CWnd*>(&w), static_cast<CWnd*>(w.Page(WizardPage::ControlMode))}) {
        MSG key;
        key.hwnd = target;
        key.message = WM_KEYDOWN;
        key.wParam = VK_ESCAPE;
        static_cast<CDialog*>(target)->PreTranslateMessage(&key);
        EXPECT_EQ(key.wParam, static_cast<WPARAM>(VK_RETURN));
    }
    EXPECT_TRUE(w.IsWindowVisible());
    EXPECT_TRUE(PageVisible(WizardPage::ControlMode));
}

TEST_F(SetupWizard, OfflineDriveAndMotorApplyResetTheLaterSteps) {
    Offline();
    CSetupWizardDialog& w = Open(0x1011);
    ASSERT_TRUE(ui::Enabled(w, IDC_WZ_STEP_DRIVE));
    ui::Press(w, IDC_WZ_STEP_DRIVE);
    CWizardPage& drivePage = *w.Page(WizardPage::Drive);
    EXPECT_EQ(ui::SelectedText(drivePage, IDC_WZ_COMBO), " - D01"); // family 4: no prefix
    ui::Choose(drivePage, IDC_WZ_COMBO, 5);
    EXPECT_EQ(ui::Text(drivePage, IDC_WZ_DETAILS),
              "Model: D06\nOutput Power: 2.0kW\nInput voltage: Three-phase AC 200~230V");
    messages->Answer(IDOK);
    ui::Press(w, IDC_WZ_APPLY); // the drive counts as applied from the start: 1102 first
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(w.DriveRow(), 5);
    EXPECT_EQ(ui::Text(w, IDC_WZ_SUMMARY_DRIVE), "HBVZR3 - D06 - E");
    EXPECT_EQ(ui::Text(w, IDC_WZ_SUMMARY_MOTOR), "");
    EXPECT_FALSE(ui::Enabled(w, IDC_WZ_STEP_MODE));
    EXPECT_FALSE(ui::Enabled(w, IDC_WZ_STEP_SAVE_WRITE));

    ui::Press(w, IDC_WZ_STEP_MOTOR);
    CWizardPage& motorPage = *w.Page(WizardPage::Motor);
    EXPECT_EQ(ui::SelectedText(motorPage, IDC_WZ_COMBO), "HBMQ - M056□");
    ui::Choose(motorPage, IDC_WZ_ENCODER_COMBO, 0);
    EXPECT_NE(ui::Text(motorPage, IDC_WZ_MOTOR_DETAILS).find("Cn030 Setting Value = H15B1"),
              std::string::npos);
    ui::Press(w, IDC_WZ_APPLY); // first motor after a drive: no question
    EXPECT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(*w.Collected().Default("Cn030"), 0x15B1);
    EXPECT_EQ(w.Collected().RatedSpeedRpm(), 1500);
    EXPECT_EQ(ui::Text(w, IDC_WZ_SUMMARY_MOTOR), "HBMQ - M056B\r\n0.85 kW");
    EXPECT_TRUE(ui::Enabled(w, IDC_WZ_STEP_MODE));
    EXPECT_FALSE(ui::Enabled(w, IDC_WZ_STEP_ENCODER));
}

TEST_F(SetupWizard, AMotorFamilyPastTheDriveTableSelectsNoDrive) {
    Offline();
    CSetupWizardDialog& w = Open(0x2A17); // family 0x2000, capacity 10: group 21
    EXPECT_EQ(w.DriveRow(), 21);
    EXPECT_EQ(ui::Text(w, IDC_WZ_SUMMARY_DRIVE), "HBVZR3 -  - E");
    ui::Press(w, IDC_WZ_STEP_DRIVE);
    EXPECT_EQ(ui::Selected(*w.Page(WizardPage::Drive), IDC_WZ_COMBO), -1);
    EXPECT_EQ(ui::Text(*w.Page(WizardPage::Drive), IDC_WZ_DETAILS), "");
}

TEST_F(SetupWizard, LinkedFinishRightAfterOpeningHandsOverOnlyCn001) {
    doc->Value(DocCn, 1) = 1;
    doc->Value(DocCn, 5) = 4000;
    CSetupWizardDialog& w = Open();
    ui::Press(w, IDC_WZ_STEP_SAVE_WRITE);
    EXPECT_TRUE(Visible(IDC_WZ_FINISH));
    EXPECT_TRUE(ui::Enabled(*w.Page(WizardPage::SaveWrite), IDC_WZ_WRITE));
    ChangedParameters().Set("Cn020");
    ui::Press(w, IDC_WZ_FINISH);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "The setting value has been filled in the parameter editing table,\n"
                                         "Complete the teaching parameter setting wizard.");
    EXPECT_EQ(messages->Shown()[0].caption, "Teaching Parameter Setting Wizard");
    EXPECT_FALSE(ChangedParameters().Any()); // Cn001 kept its value: nothing marked
    EXPECT_EQ(doc->Value(DocCn, 5), 4000);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(drive->RequestLog().empty());
}

// The pages hold the document's values from the start: leaving a step whose pages nobody touched
// asks nothing, whichever of its pages are still unseen.
TEST_F(SetupWizard, LeavingAnUntouchedStepAsksNothing) {
    doc->Value(DocCn, 12) = 40;
    doc->Value(DocCn, 89) = 50;
    doc->Value(DocCn, 5) = 2500;
    for (int mode : {TorqueMode, PositionMode, SpeedMode}) {
        doc->Value(DocCn, 1) = mode;
        CSetupWizardDialog& w = Open();
        for (int step : {IDC_WZ_STEP_COMPREHENSIVE, IDC_WZ_STEP_REFERENCE, IDC_WZ_STEP_ENCODER}) {
            SCOPED_TRACE(std::to_string(mode) + " " + std::to_string(step));
            ui::Press(w, step);
            ASSERT_TRUE(Visible(IDC_WZ_NEXT));
            ui::Press(w, IDC_WZ_STEP_SAVE_WRITE);
            EXPECT_TRUE(messages->Shown().empty()) << messages->Shown()[0].text;
            EXPECT_TRUE(PageVisible(WizardPage::SaveWrite));
            messages->Clear();
        }
    }
    CSetupWizardDialog& w = *wizard;
    // The regenerative resistor page, created unseen, shows the document's values when reached.
    ui::Press(w, IDC_WZ_STEP_COMPREHENSIVE);
    ui::Press(w, IDC_WZ_NEXT);
    ASSERT_TRUE(PageVisible(WizardPage::Complex1 + 1));
    EXPECT_EQ(ui::Text(*w.Page(WizardPage::Complex1 + 1), IDC_WZ_EDIT1), "40");
    EXPECT_EQ(ui::Text(*w.Page(WizardPage::Complex1 + 1), IDC_WZ_EDIT2), "50");
    ui::Press(w, IDC_WZ_STEP_SAVE_WRITE);
    EXPECT_TRUE(messages->Shown().empty());
    // A value really changed is still asked about.
    ui::Press(w, IDC_WZ_STEP_COMPREHENSIVE);
    ui::Press(w, IDC_WZ_NEXT);
    ui::Type(*w.Page(WizardPage::Complex1 + 1), IDC_WZ_EDIT1, "60");
    messages->Answer(IDCANCEL);
    ui::Press(w, IDC_WZ_STEP_SAVE_WRITE);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "The value has been changed, are you sure you want to give up?");
    EXPECT_TRUE(PageVisible(WizardPage::Complex1 + 1));
}

TEST_F(SetupWizard, OfflineSaveWritePageLocksWrite) {
    Offline();
    CSetupWizardDialog& w = Open();
    ui::Press(w, IDC_WZ_STEP_SAVE_WRITE);
    CWizardPage& page = *w.Page(WizardPage::SaveWrite);
    EXPECT_FALSE(ui::Enabled(page, IDC_WZ_WRITE));
    EXPECT_FALSE(ui::Enabled(page, IDC_WZ_FILL_IN));
    EXPECT_TRUE(ui::Enabled(page, IDC_WZ_SAVE));
}

} // namespace
