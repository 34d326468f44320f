// The save/write step: the document file and the write to the simulated drive.
#include "WizardFixture.h"

#include "catalogue/RegisterMap.h"
#include "framework/core/File.h"
#include "framework/core/Format.h"
#include "paramedit/ParameterChangedFlags.h"
#include "resources/ids/wizard.h"
#include "sim/SimProtocol.h"
#include "tests/support/DriveParameters.h"
#include "tests/support/PrivateHome.h"
#include "wizard/WizardWritePlan.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

std::string Write1(const std::string& code, int value) {
    return sim::WithMakerChecksum(
        Format("W1%04X%04X", ParamCodeRegisterAddress(code).value_or(0), value & 0xFFFF));
}
std::string Read1(int address) {
    return sim::WithMakerChecksum(Format("R1%04X", address));
}
std::string Read1(const std::string& code) {
    return Read1(ParamCodeRegisterAddress(code).value_or(0));
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class SaveWrite : public WizardFixture {
protected:
    // Comprehensive step with a mechanical brake (mode 5, BI on DO-2), then the encoder step.
    void ApplyComprehensiveAndEncoder(CSetupWizardDialog& w, int brakeMode = 5) {
        ui::Press(w, IDC_WZ_STEP_COMPREHENSIVE);
        CWizardPage& brake = *w.Page(WizardPage::Complex1);
        ui::Choose(brake, IDC_WZ_COMBO, brakeMode);
        if (ui::Enabled(brake, IDC_WZ_COMBO3))
            ui::Choose(brake, IDC_WZ_COMBO3, 2);
        ui::Press(w, IDC_WZ_NEXT);
        ui::Press(w, IDC_WZ_NEXT);
        ASSERT_EQ(w.Navigation().PageCode(), WizardPage::Complex1 + 3);
        ui::Press(w, IDC_WZ_APPLY);
        ui::Press(w, IDC_WZ_STEP_ENCODER);
        ui::Press(w, IDC_WZ_NEXT);
        ui::Press(w, IDC_WZ_APPLY);
        ASSERT_TRUE(w.Navigation().ComprehensiveDone && w.Navigation().EncoderDone);
    }
    void PressWrite(CSetupWizardDialog& w) {
        ui::Press(w, IDC_WZ_STEP_SAVE_WRITE);
        ui::Press(*w.Page(WizardPage::SaveWrite), IDC_WZ_WRITE);
    }
    ScratchFolder scratch{"wizard-save"};
};

TEST_F(SaveWrite, WriteSendsTheListInOrderWithTheDrivesOwnRules) {
    doc->Value(DocCn, 1) = 1;
    ASSERT_TRUE(SetDriveParameter(*drive, "Cn008", 0x1200));
    // The drive takes its control mode from the wizard (0..2).
    drive->SetReadOnly(ControlModeRegister, false);
    drive->SetRange(ControlModeRegister, 0, 2);
    drive->SetRegister(ControlModeRegister, 0);
    CSetupWizardDialog& w = Open();
    ApplyComprehensiveAndEncoder(w);
    drive->ClearLog();
    PressWrite(w);
    ASSERT_EQ(messages->Shown().size(), 1u) << messages->Shown().back().text;
    // Cn005, a 32-bit parameter that takes effect after a restart, brings the restart note.
    EXPECT_EQ(messages->Shown().back().text,
              "Write successfully!!\n\nPlease restart the Servo drive! ! \n(After "
              "turning off the power, re-enter the power.)");
    EXPECT_EQ(messages->Shown().back().caption, "Write Message");
    EXPECT_EQ(services.ViewBusyFlag, 0);

    const std::vector<std::string> log = drive->RequestLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), Write1("Cn001", 1));
    const auto at = [&](const std::string& request) {
        return std::find(log.begin(), log.end(), request) - log.begin();
    };
    // Brake mode 5 travels as 7, beside the drive's own high byte.
    const int cn008 = *w.Collected().Value("Cn008");
    EXPECT_LT(at(Read1("Cn008")), at(Write1("Cn008", 0x1200 | (cn008 & 0xF0) | 7)));
    EXPECT_LT(static_cast<size_t>(at(Write1("Cn008", 0x1200 | (cn008 & 0xF0) | 7))), log.size());
    // Cn005 is a 32-bit parameter: one "W2" frame.
    EXPECT_TRUE(
        std::any_of(log.begin(), log.end(), [](const std::string& r) { return r.rfind("W2", 0) == 0; }));
    // The BI output changed an Hn entry from its default: the control mode follows, last.
    EXPECT_EQ(log[log.size() - 2], Read1(ControlModeRegister));
    EXPECT_EQ(log.back(), sim::WithMakerChecksum(Format("W1%04X%04X", ControlModeRegister, 1)));
    EXPECT_EQ(drive->GetRegister(ParamCodeRegisterAddress("Hn614").value()), DoFunction::BI);
}

TEST_F(SaveWrite, Cn002TravelsOnlyWhenItsLowByteAgreesWithTheDrive) {
    doc->Value(DocCn, 1) = 1;
    ASSERT_TRUE(SetDriveParameter(*drive, "Cn002", 0x0055));
    CSetupWizardDialog& w = Open();
    ApplyComprehensiveAndEncoder(w, 2);
    drive->ClearLog();
    PressWrite(w);
    const std::vector<std::string> log = drive->RequestLog();
    EXPECT_NE(std::find(log.begin(), log.end(), Read1("Cn002")), log.end());
    EXPECT_TRUE(std::none_of(log.begin(), log.end(), [](const std::string& r) {
        return r.rfind(Format("W1%04X", ParamCodeRegisterAddress("Cn002").value()), 0) == 0;
    }));
    // Brake mode 2: no DO entries.
    EXPECT_TRUE(std::none_of(log.begin(), log.end(), [](const std::string& r) {
        return r.rfind(Format("W1%04X", ParamCodeRegisterAddress("Hn614").value()), 0) == 0;
    }));
}

TEST_F(SaveWrite, ARefusedControlModeWriteIsReported) {
    doc->Value(DocCn, 1) = 1;
    drive->SetRegister(ControlModeRegister, 0); // the drive refuses writes to it
    CSetupWizardDialog& w = Open();
    ApplyComprehensiveAndEncoder(w);
    messages->Clear();
    PressWrite(w);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Error:\n\nWriting parameters...0x1702");
    EXPECT_EQ(services.ViewBusyFlag, 0);
}

TEST_F(SaveWrite, ARefusalMidListGivesOneMessageAndChangesNoDocumentValue) {
    doc->Value(DocCn, 1) = 1;
    CSetupWizardDialog& w = Open();
    ApplyComprehensiveAndEncoder(w);
    ui::Press(w, IDC_WZ_STEP_SAVE_WRITE);
    ui::SetChecked(*w.Page(WizardPage::SaveWrite), IDC_WZ_FILL_IN, true);
    const int before = doc->Value(DocCn, 8);
    drive->RefuseAddress(ParamCodeRegisterAddress("Cn012").value());
    drive->ClearLog();
    messages->Clear();
    PressWrite(w);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Error:\n\nWriting parameters...Cn012");
    EXPECT_EQ(messages->Shown()[0].caption, "Communication Message");
    EXPECT_EQ(services.ViewBusyFlag, 0);
    EXPECT_EQ(doc->Value(DocCn, 8), before);
    EXPECT_EQ(drive->RequestLog().back().substr(0, 6),
              Format("W1%04X", ParamCodeRegisterAddress("Cn012").value()));
}

TEST_F(SaveWrite, ALinkLostMidListGivesOneMessage) {
    doc->Value(DocCn, 1) = 1;
    CSetupWizardDialog& w = Open();
    ApplyComprehensiveAndEncoder(w);
    const int before = doc->Value(DocCn, 12);
    drive->AddFault({.kind = SimFaultKind::Silent, .address = ParamCodeRegisterAddress("Cn012").value()});
    messages->Clear();
    PressWrite(w);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Error:\n\nWriting parameters...Cn012");
    EXPECT_EQ(services.ViewBusyFlag, 0);
    EXPECT_EQ(doc->Value(DocCn, 12), before);
}

TEST_F(SaveWrite, AnOutOfRangeEntrySendsNothing) {
    doc->Value(DocCn, 1) = 1;
    CSetupWizardDialog& w = Open();
    ApplyComprehensiveAndEncoder(w);
    doc->Maximum(DocCn, 89) = -1; // the collected Cn089 lies outside now
    doc->Minimum(DocCn, 89) = -2;
    drive->ClearLog();
    messages->Clear();
    PressWrite(w);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Error:\n\nOver Range!!\n\nWriting parameters...Cn089");
    EXPECT_TRUE(drive->RequestLog().empty());
    EXPECT_EQ(services.ViewBusyFlag, 0);
}

TEST_F(SaveWrite, AWriteWithoutALinkIsRefusedAtOnce) {
    CSetupWizardDialog& w = Open();
    ui::Press(w, IDC_WZ_STEP_SAVE_WRITE);
    Offline();
    EXPECT_EQ(w.SendMessage(WM_WIZARD_SAVEWRITE, 2, 0), 0);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Communicate Error!");
}

TEST_F(SaveWrite, SavedFileIsTheDocumentsOwnSaveAndOpensAgain) {
    Offline();
    doc->Value(DocCn, 1) = 1;
    CSetupWizardDialog& w = Open();
    ui::Press(w, IDC_WZ_STEP_MODE);
    ui::Choose(*w.Page(WizardPage::ControlMode), IDC_WZ_COMBO, PositionMode);
    messages->Answer(IDOK);
    ui::Press(w, IDC_WZ_APPLY);
    ASSERT_TRUE(w.Navigation().UnsavedChanges);
    const std::string path = scratch.Path() + "/wizard.zpf";
    messages->AnswerFile(path);
    ui::Press(w, IDC_WZ_STEP_SAVE_WRITE);
    ui::Press(*w.Page(WizardPage::SaveWrite), IDC_WZ_SAVE);
    EXPECT_FALSE(w.Navigation().UnsavedChanges);
    const std::string saved = Bytes(path);
    ASSERT_FALSE(saved.empty());

    // The same values saved by the document itself.
    CKeloServoDoc same(&host);
    same.OnNewDocument();
    const std::string reference = scratch.Path() + "/reference.zpf";
    for (int n = 1; n <= 99; ++n)
        same.Value(DocCn, n) = w.Collected().Values().Cn[n - 1];
    for (int n = 1; n <= 18; ++n)
        same.Value(DocTn, n) = w.Collected().Values().Tn[n - 1];
    for (int n = 1; n <= 29; ++n)
        same.Value(DocSn, n) = w.Collected().Values().Sn[n - 1];
    for (int n = 1; n <= 85; ++n)
        same.Value(DocPn3, n) = w.Collected().Values().Pn[n - 1];
    for (int n = 1; n <= 24; ++n)
        same.Value(DocHn, n) = w.Collected().Values().Hn[n - 1];
    for (int n = 1; n <= 7; ++n)
        same.Value(Docqn, n) = w.Collected().Defaults().qn[n - 1];
    for (int n = 1; n <= 69; ++n)
        same.Value(DoconC, n) = w.Collected().Defaults().onC[n - 1];
    for (int n = 1; n <= 63; ++n)
        same.Value(Doctn, n) = w.Collected().Defaults().tn[n - 1];
    for (int n = 1; n <= 18; ++n)
        same.Value(DoconS, n) = doc->Default(DoconS, n);
    ASSERT_TRUE(same.OnSaveDocument(reference));
    EXPECT_EQ(saved, Bytes(reference));

    CKeloServoDoc opened(&host);
    ASSERT_TRUE(opened.OnOpenDocument(path));
    EXPECT_EQ(opened.Value(DocCn, 1), PositionMode);
}

TEST_F(SaveWrite, ACancelledOrFailedSaveKeepsTheUnsavedMark) {
    Offline();
    CSetupWizardDialog& w = Open();
    ui::Press(w, IDC_WZ_STEP_MODE);
    ui::Choose(*w.Page(WizardPage::ControlMode), IDC_WZ_COMBO, TorqueMode);
    messages->Answer(IDOK);
    ui::Press(w, IDC_WZ_APPLY);
    ASSERT_TRUE(w.Navigation().UnsavedChanges);
    messages->Clear();
    ui::Press(w, IDC_WZ_STEP_SAVE_WRITE);
    messages->CancelFile();
    ui::Press(*w.Page(WizardPage::SaveWrite), IDC_WZ_SAVE);
    EXPECT_TRUE(w.Navigation().UnsavedChanges);

    // A folder that cannot take the file: reported, the mark stays, an older file stays whole.
    const std::string blocker = scratch.Path() + "/not-a-folder";
    ASSERT_TRUE(ReplaceFileContents(blocker, "old"));
    messages->Clear();
    messages->AnswerFile(blocker + "/wizard.zpf");
    ui::Press(*w.Page(WizardPage::SaveWrite), IDC_WZ_SAVE);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_NE(messages->Shown()[0].text.find("Cannot save the file"), std::string::npos);
    EXPECT_TRUE(w.Navigation().UnsavedChanges);
    EXPECT_EQ(Bytes(blocker), "old");
}

} // namespace
