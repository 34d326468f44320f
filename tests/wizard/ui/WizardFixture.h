#pragma once
// The setup wizard opened on a new document, linked to the simulated drive (or not), with scripted
// message boxes and file dialogs and a private home.
#include "framework/core/MessageSeam.h"
#include "link/services/RegisterServices.h"
#include "resources/ids/wizard.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/LinkedWindowFixture.h"
#include "wizard/ui/SetupWizardDialog.h"

#include <memory>

class WizardFixture : public LinkedWindowFixture {
protected:
    void SetUp() override {
        OpenWorld("wizardwin", 4, "ttyWZ");
        if (HasFatalFailure())
            return;
        drive->ClearLog();
    }
    void TearDown() override {
        wizard.reset();
        CloseWorld();
    }
    // The wizard window, made as the view's command makes it (but modeless, so the test can act).
    CSetupWizardDialog& Open(unsigned motorCode = 0x1011) {
        wizard = std::make_unique<CSetupWizardDialog>();
        wizard->m_SeriesCode = SeriesCode;
        wizard->m_MotorTypeCode = motorCode;
        wizard->CopyDocument(doc.get());
        wizard->SetServices(&services);
        EXPECT_TRUE(wizard->Create(IDD_SETUP_WIZARD));
        wizard->ShowWindow(SW_SHOW);
        return *wizard;
    }
    bool Visible(int id) {
        CWnd* control = wizard->GetDlgItem(id);
        return control && control->IsWindowVisible();
    }
    bool PageVisible(int code) {
        CWizardPage* page = wizard->Page(code);
        return page && page->IsWindowVisible();
    }
    void Offline() { ConnectedFlag = 0; }

    CRegisterServices services;
    std::unique_ptr<CSetupWizardDialog> wizard;
};
