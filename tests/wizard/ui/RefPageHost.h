#pragma once
// A stand-in for the wizard around one reference page: a top-level window on the screen that records
// the step toggle message and holds the page as the wizard does, and a collected set with a motor's defaults
// applied, so a page is loaded, shown and checked the way the wizard does it.
#include "catalogue/KeloServoDoc.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "tests/support/WindowTestHome.h"
#include "wizard/CollectedSet.h"
#include "wizard/WizardNavigation.h"
#include "wizard/ui/ReferencePage.h"
#include "wizard/ui/SaveWritePageDialog.h" // WM_WIZARD_STEP_TOGGLE

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class CRecordingWizard : public CDialog {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CDialog::GetMessageMap(),
                                    {msg::Message(WM_WIZARD_STEP_TOGGLE, &CRecordingWizard::OnToggle)});
        return &map;
    }
    LRESULT OnToggle(WPARAM wParam, LPARAM) {
        toggles.push_back(static_cast<int>(wParam));
        return 0;
    }
    std::vector<int> toggles;
};

class RefPageHost : public ::testing::Test {
protected:
    void SetUp() override {
        module = ProgramResources();
        ASSERT_TRUE(module);
        current = std::make_unique<ScopedResourceModule>(module);
        DialogTemplate window;
        window.cx = 500;
        window.cy = 300;
        ASSERT_TRUE(wizard.CreateIndirect(window));
        wizard.ShowWindow(SW_SHOW);
        doc.OnNewDocument();
        set.CopyFromDocument(doc);
        set.ApplyMotorDefaults(0x1010, 3000); // rated 3000 rpm, encoder kind 0: resolution kept
        set.UseDefaults = true;
        set.ResetDioForControlMode(PositionMode);
        set.InitCollectedValues();
    }
    void TearDown() override { wizard.DestroyWindow(); }
    // Creates the page in the wizard, gives it the remembered choices and shows it, as the wizard does.
    void Open(CReferencePage& page) {
        ASSERT_TRUE(page.Create(page.TemplateId(), &wizard));
        page.TakeChoices(set);
        page.LoadPage();
        page.UpdateData(FALSE);
        page.ShowWindow(SW_SHOW);
        opened_.push_back(&page);
    }
    // Brings an opened page to the screen and takes the others off, as the wizard's page change does.
    void Visit(CWnd& page) {
        for (CWnd* other : opened_)
            if (other != &page)
                other->ShowWindow(SW_HIDE);
        page.ShowWindow(SW_SHOW);
    }
    std::vector<std::string> Shown() const {
        std::vector<std::string> texts;
        for (const MessageRequest& request : messages.Shown())
            texts.push_back(request.text);
        return texts;
    }

    std::shared_ptr<const CResourceModule> module;
    std::unique_ptr<ScopedResourceModule> current;
    ScriptedMessages messages;
    CRecordingWizard wizard;
    std::vector<CWnd*> opened_;
    CKeloServoDoc doc;
    CollectedSet set{3000, 131072, 300};
};
