// The view's command opens the wizard on the document's values; Finish fills the document.
#include "tests/shell/ui/ShellUiFixture.h"

#include "paramedit/ParameterChangedFlags.h"
#include "resources/ids/shell.h"
#include "resources/ids/wizard.h"
#include "tests/support/DialogDriver.h"
#include "wizard/ui/SetupWizardDialog.h"

namespace {

using WizardCommand = ShellUiFixture;

TEST_F(WizardCommand, OpensTheWizardOnTheDocumentAndFinishFillsIt) {
    StartLinked();
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(CommandEnabled(ID_SETUP_WIZARD));
    CKeloServoDoc* doc = View()->GetDoc();
    ASSERT_NE(doc, nullptr);
    doc->Value(DocCn, 1) = 0;
    int openedMode = -1;
    otherModal = [&](CDialog& dialog) {
        auto* wizard = dynamic_cast<CSetupWizardDialog*>(&dialog);
        ASSERT_NE(wizard, nullptr);
        openedMode = wizard->Navigation().ControlMode();
        ui::Press(*wizard, IDC_WZ_STEP_MODE);
        ui::Choose(*wizard->Page(WizardPage::ControlMode), IDC_WZ_COMBO, SpeedMode);
        messages.Answer(IDOK);
        ui::Press(*wizard, IDC_WZ_APPLY);
        ui::Press(*wizard, IDC_WZ_STEP_SAVE_WRITE);
        ui::Press(*wizard, IDC_WZ_FINISH);
    };
    View()->SendMessage(WM_COMMAND, ID_SETUP_WIZARD);
    EXPECT_EQ(openedMode, TorqueMode);
    EXPECT_EQ(doc->Value(DocCn, 1), SpeedMode);
    EXPECT_TRUE(ChangedParameters().IsSet("Cn001"));
    EXPECT_TRUE(doc->IsModified());
}

} // namespace
