// Every page of the setup wizard, walked inside the wizard that the view's command opens, at the size
// the wizard shows itself: each page shows its whole texts, pictures and frames (nothing cut off by
// the wizard's edge, nothing colliding). The walks take every branch of the step chains.
#include "tests/shell/ui/ShellUiFixture.h"

#include "framework/ui/ComboBox.h"
#include "resources/ids/shell.h"
#include "resources/ids/wizard.h"
#include "resources/ids/wizardref.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/LabelFit.h"
#include "tests/support/Screenshot.h"
#include "wizard/ui/SetupWizardDialog.h"

#include <functional>
#include <map>
#include <set>
#include <vector>

namespace {

using ui::Press;
using PageActions = std::map<int, std::function<void(CWnd&)>>;

class WizardPagesFit : public ShellUiFixture {
protected:
    // The page the wizard shows, checked and kept as a screenshot.
    void Look(CSetupWizardDialog& w) {
        const int code = w.Navigation().PageCode();
        EXPECT_TRUE(ui::TextsFit(w)) << "page " << code;
        ui::Screenshot(w, "wizard_page_" + std::to_string(code));
        seen.insert(code);
    }
    // One pass through a step: its first page to its last, acting on each page before Next; then
    // the step is left by Cancel.
    void WalkStep(CSetupWizardDialog& w, int stepButton, const PageActions& actions = {}) {
        Press(w, stepButton);
        for (int guard = 0; guard < 30; ++guard) {
            const int code = w.Navigation().PageCode();
            if (auto action = actions.find(code); action != actions.end())
                action->second(*w.Page(code));
            Look(w);
            CWnd* next = w.GetDlgItem(IDC_WZ_NEXT);
            if (!next || !next->IsWindowVisible())
                break;
            Press(w, IDC_WZ_NEXT);
            if (w.Navigation().PageCode() == code) {
                ADD_FAILURE() << "Next stayed on page " << code;
                break;
            }
        }
        if (w.GetDlgItem(IDC_WZ_CANCEL_PAGE)->IsWindowVisible())
            Press(w, IDC_WZ_CANCEL_PAGE);
    }
    static void Option(CWnd& page, int id) { Press(page, id); }
    void ApplyMode(CSetupWizardDialog& w, int mode) {
        Press(w, IDC_WZ_STEP_MODE);
        ui::Choose(*w.Page(WizardPage::ControlMode), IDC_WZ_COMBO, mode);
        Look(w);
        Press(w, IDC_WZ_APPLY); // a question about the later steps is answered OK
        ASSERT_EQ(w.Navigation().ControlMode(), mode);
    }
    // The motor step with a motor whose encoder is absolute, so that the comprehensive step shows its
    // battery page.
    void ApplyAbsoluteEncoderMotor(CSetupWizardDialog& w) {
        Press(w, IDC_WZ_STEP_MOTOR);
        CWnd* page = w.Page(WizardPage::Motor);
        auto* encoders = dynamic_cast<CComboBox*>(page->GetDlgItem(IDC_WZ_ENCODER_COMBO));
        ASSERT_NE(encoders, nullptr);
        for (int i = 0; i < encoders->GetCount(); ++i)
            if (encoders->GetLBText(i).find("Absolute") != std::string::npos)
                ui::Choose(*page, IDC_WZ_ENCODER_COMBO, i);
        Look(w);
        Press(w, IDC_WZ_APPLY);
        ASSERT_TRUE(w.Collected().AbsoluteEncoderMotor());
    }

    std::set<int> seen;
};

TEST_F(WizardPagesFit, EveryPageOfEveryPathShowsWholeInTheWizard) {
    ASSERT_TRUE(StartApp());
    CloseParameterEditor();
    ASSERT_TRUE(CommandEnabled(ID_SETUP_WIZARD));
    bool opened = false;
    std::set<int> chainPages;
    otherModal = [&](CDialog& dialog) {
        auto* wizard = dynamic_cast<CSetupWizardDialog*>(&dialog);
        ASSERT_NE(wizard, nullptr);
        CSetupWizardDialog& w = *wizard;
        opened = true;
        CRect size;
        w.GetWindowRect(&size);
        EXPECT_LE(size.Width(), 1280);
        EXPECT_LE(size.Height(), 1024 - 40) << "room for a panel on a 1280 x 1024 screen";
        Look(w);
        Press(w, IDC_WZ_STEP_DRIVE);
        Look(w);
        Press(w, IDC_WZ_CANCEL_PAGE);
        ApplyAbsoluteEncoderMotor(w);

        ApplyMode(w, SpeedMode);
        for (int accel : {IDC_REF_OPTION1, IDC_REF_OPTION2, IDC_REF_OPTION3, IDC_REF_OPTION4})
            WalkStep(w, IDC_WZ_STEP_REFERENCE, {{33, [=](CWnd& p) { Option(p, accel); }}});
        WalkStep(w, IDC_WZ_STEP_ENCODER);

        ApplyMode(w, TorqueMode);
        for (int accel : {IDC_REF_OPTION1, IDC_REF_OPTION2, IDC_REF_OPTION3, IDC_REF_OPTION4})
            WalkStep(w, IDC_WZ_STEP_REFERENCE,
                     {{60, [](CWnd& p) { Option(p, IDC_REF_OPTION1); }}, // analog command: its page
                      {64, [=](CWnd& p) { Option(p, accel); }},
                      {69, [](CWnd& p) { Option(p, IDC_REF_OPTION1); }}}); // speed limit pages follow
        WalkStep(w, IDC_WZ_STEP_ENCODER);

        ApplyMode(w, PositionMode);
        // Pulses per revolution, origin off.
        WalkStep(w, IDC_WZ_STEP_REFERENCE,
                 {{43, [](CWnd& p) { Option(p, IDC_REF_OPTION1); }},
                  {49, [](CWnd& p) { Option(p, IDC_REF_OPTION1); }}});
        // Electronic gear, origin search by the torque reference.
        WalkStep(w, IDC_WZ_STEP_REFERENCE,
                 {{43, [](CWnd& p) { Option(p, IDC_REF_OPTION2); }},
                  {48, [](CWnd& p) { Option(p, IDC_REF_OPTION3); }},
                  {49,
                   [](CWnd& p) {
                       Option(p, IDC_REF_OPTION3);
                       ui::Type(p, IDC_REF_VALUE1, "0");
                   }},
                  {50, [](CWnd& p) { Option(p, IDC_REF_OPTION7); }}});
        WalkStep(w, IDC_WZ_STEP_ENCODER);
        WalkStep(w, IDC_WZ_STEP_COMPREHENSIVE);
        WalkStep(w, IDC_WZ_STEP_SAVE_WRITE);
        WalkStep(w, IDC_WZ_STEP_DISPLAY_DIO);

        for (WizardStep step : {WizardStep::Reference, WizardStep::Encoder, WizardStep::Comprehensive})
            for (int code : w.Navigation().Chains().PagesOf(step))
                chainPages.insert(code);
        Press(w, IDCANCEL);
    };
    View()->SendMessage(WM_COMMAND, ID_SETUP_WIZARD);
    ASSERT_TRUE(opened);
    std::set<int> every = chainPages;
    every.insert({WizardPage::None, WizardPage::Drive, WizardPage::Motor, WizardPage::ControlMode,
                  WizardPage::SaveWrite, WizardPage::DisplayDio});
    EXPECT_EQ(every, seen) << "the walks reach every page";
}

} // namespace
