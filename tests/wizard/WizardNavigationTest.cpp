// The wizard's step and page state machine against a recording host.
#include "wizard/WizardNavigation.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

struct FakeHost : INavigationHost {
    std::map<int, bool> checks;         // page code -> its check's answer (true when absent)
    std::map<WizardStep, bool> edited;  // StepEdited answers
    bool answer = true;                 // OK or Cancel
    std::map<std::string, int> choices; // live page members
    bool applyAccepts = true;
    std::vector<std::string> log;

    bool CheckPage(int code) override {
        log.push_back("check " + std::to_string(code));
        auto it = checks.find(code);
        return it == checks.end() || it->second;
    }
    bool StepEdited(WizardStep step) override { return edited[step]; }
    bool Ask(int id, AskIcon) override {
        log.push_back("ask " + std::to_string(id));
        return answer;
    }
    int Choice(std::string_view key) override {
        auto it = choices.find(std::string(key));
        return it == choices.end() ? 0 : it->second;
    }
    void LoadPage(int code) override { log.push_back("load " + std::to_string(code)); }
    void ShowPage(int code) override { log.push_back("show " + std::to_string(code)); }
    void HidePage(int code) override { log.push_back("hide " + std::to_string(code)); }
    bool ApplyStep(WizardStep step) override {
        log.push_back("apply " + std::to_string(static_cast<int>(step)));
        return applyAccepts;
    }
    void ReloadModePage(int mode) override { log.push_back("mode page " + std::to_string(mode)); }
    bool Logged(const std::string& entry) const {
        return std::find(log.begin(), log.end(), entry) != log.end();
    }
};

// A small speed chain shaped like the real one: 31 -> 32 -> 33 -> (34 | 37) -> 37 (last).
WizardChains ChainsWithSpeedPages() {
    WizardChains chains = WizardChains::Standard();
    const auto fixed = [](int code) { return [code](const ChoiceReader&) { return code; }; };
    chains.SetFirstPage(WizardStep::Reference, SpeedMode, 31);
    chains.Add({31, true, false, fixed(32), fixed(0)});
    chains.Add({32, true, false, fixed(33), fixed(31)});
    chains.Add({33, false, false, [](const ChoiceReader& r) { return r("SpeedAccelMethod") == 1 ? 34 : 37; },
                fixed(32)});
    chains.Add({34, true, false, fixed(37), fixed(33)});
    chains.Add({37, true, false, fixed(0),
                [](const ChoiceReader& r) { return r("SpeedAccelMethod") == 1 ? 34 : 33; }});
    return chains;
}

class Navigation : public ::testing::Test {
protected:
    FakeHost host;
    WizardNavigation nav{ChainsWithSpeedPages(), host};
    void Open(bool linked = false, int mode = SpeedMode, bool useDefaults = false) {
        nav.Open(linked, mode, useDefaults);
    }
};

TEST_F(Navigation, OpeningLocksStepsByLinkAndSupportedMode) {
    Open(true, SpeedMode, false);
    EXPECT_FALSE(nav.StepEnabled(WizardStep::Drive));
    EXPECT_FALSE(nav.StepEnabled(WizardStep::Motor));
    EXPECT_TRUE(nav.StepEnabled(WizardStep::Reference));
    EXPECT_TRUE(nav.DriveDone && nav.MotorDone && nav.ModeDone);

    // A document mode the wizard does not support: later steps wait for a mode.
    Open(false, SpeedMode, true);
    EXPECT_TRUE(nav.StepEnabled(WizardStep::Drive));
    for (WizardStep s : {WizardStep::Reference, WizardStep::Encoder, WizardStep::Comprehensive,
                         WizardStep::SaveWrite, WizardStep::DisplayDio})
        EXPECT_FALSE(nav.StepEnabled(s));
    EXPECT_FALSE(nav.ModeDone);

    // A mode whose reference pages are not there yet keeps that step locked.
    Open(false, TorqueMode, false);
    EXPECT_FALSE(nav.StepEnabled(WizardStep::Reference));
    EXPECT_TRUE(nav.StepEnabled(WizardStep::Encoder));
}

TEST_F(Navigation, StepButtonsShowTheirFirstPageAndButtons) {
    struct Case {
        WizardStep step;
        int page;
        int marker;
        bool back, apply, next, finish;
    };
    const Case cases[] = {
        {WizardStep::Drive, 1, -1, false, true, false, false},
        {WizardStep::Motor, 2, -1, false, true, false, false},
        {WizardStep::ControlMode, 20, 2, false, true, false, false},
        {WizardStep::Reference, 31, 3, true, false, true, false},
        {WizardStep::Encoder, 100, 4, true, false, true, false},
        {WizardStep::Comprehensive, 110, 5, true, false, true, false},
        {WizardStep::SaveWrite, 3, 6, false, false, false, true},
        {WizardStep::DisplayDio, 4, 7, false, false, false, false},
    };
    Open();
    for (const Case& c : cases) {
        nav.OnStep(c.step);
        SCOPED_TRACE(c.page);
        EXPECT_EQ(nav.PageCode(), c.page);
        EXPECT_EQ(nav.MarkerStep(), c.marker);
        EXPECT_EQ(nav.back.shown, c.back);
        EXPECT_FALSE(nav.back.enabled && c.back); // Back is disabled on every first page
        EXPECT_EQ(nav.apply.shown, c.apply);
        EXPECT_EQ(nav.next.shown, c.next);
        EXPECT_EQ(nav.finish.shown, c.finish);
        EXPECT_TRUE(nav.cancel.shown);
        EXPECT_TRUE(host.Logged("show " + std::to_string(c.page)));
    }
    // The step on show again: nothing at all happens, no question either.
    host.log.clear();
    host.edited[WizardStep::Reference] = true;
    nav.OnStep(WizardStep::DisplayDio);
    EXPECT_TRUE(host.log.empty());
}

TEST_F(Navigation, NextAndBackFollowTheChainAndItsChoices) {
    Open();
    nav.OnStep(WizardStep::Reference);
    nav.OnNext();
    EXPECT_EQ(nav.PageCode(), 32);
    EXPECT_TRUE(nav.back.enabled);
    nav.OnNext();
    host.choices["SpeedAccelMethod"] = 1;
    nav.OnNext();
    EXPECT_EQ(nav.PageCode(), 34);
    nav.OnNext();
    EXPECT_EQ(nav.PageCode(), 37);
    EXPECT_FALSE(nav.next.shown); // last page: Apply instead of Next
    EXPECT_TRUE(nav.apply.shown);
    nav.OnNext(); // does nothing on the last page
    EXPECT_EQ(nav.PageCode(), 37);
    host.log.clear();
    nav.OnBack();
    EXPECT_EQ(nav.PageCode(), 34);
    EXPECT_TRUE(nav.next.shown);
    EXPECT_FALSE(nav.apply.shown);
    EXPECT_FALSE(host.Logged("load 34")); // shown again without reloading
    nav.OnBack();
    nav.OnBack();
    nav.OnBack();
    EXPECT_EQ(nav.PageCode(), 31);
    EXPECT_FALSE(nav.back.enabled);
    nav.OnBack(); // the first page: nothing
    EXPECT_EQ(nav.PageCode(), 31);
}

TEST_F(Navigation, EncoderAndComprehensiveChains) {
    struct Case {
        int mode;
        bool absolute;
        std::vector<int> pages;
    };
    const Case cases[] = {{TorqueMode, false, {110, 111, 113}}, {SpeedMode, true, {110, 111, 112, 113}}};
    for (const Case& c : cases) {
        Open(false, c.mode, false);
        host.choices["AbsoluteEncoderMotor"] = c.absolute;
        nav.OnStep(WizardStep::Encoder);
        nav.OnNext();
        EXPECT_EQ(nav.PageCode(), c.mode == TorqueMode ? 103 : 101);
        EXPECT_TRUE(nav.apply.shown);
        nav.OnStep(WizardStep::Comprehensive);
        for (size_t i = 1; i < c.pages.size(); ++i) {
            nav.OnNext();
            EXPECT_EQ(nav.PageCode(), c.pages[i]);
        }
        nav.OnBack();
        EXPECT_EQ(nav.PageCode(), c.pages[c.pages.size() - 2]);
    }
}

TEST_F(Navigation, FailingCheckKeepsThePageWithoutQuestion) {
    Open();
    nav.OnStep(WizardStep::Reference);
    host.checks[31] = false;
    host.edited[WizardStep::Reference] = true;
    host.log.clear();
    for (auto action : {&WizardNavigation::OnNext}) {
        (nav.*action)();
        EXPECT_EQ(nav.PageCode(), 31);
    }
    nav.OnStep(WizardStep::Encoder);
    EXPECT_EQ(nav.PageCode(), 31);
    EXPECT_FALSE(host.Logged("ask 1105"));
}

TEST_F(Navigation, LeavingAnEditedStepAsksAndCancelKeepsTheEdits) {
    Open();
    nav.OnStep(WizardStep::Reference);
    nav.OnNext();
    host.edited[WizardStep::Reference] = true;
    host.answer = false;
    host.log.clear();
    nav.OnStep(WizardStep::Comprehensive);
    EXPECT_TRUE(host.Logged("ask 1105"));
    EXPECT_EQ(nav.PageCode(), 32);
    EXPECT_FALSE(host.Logged("hide 32"));
    EXPECT_TRUE(nav.Visited(31));
    host.answer = true;
    nav.OnStep(WizardStep::Comprehensive);
    EXPECT_EQ(nav.PageCode(), 110);
    EXPECT_FALSE(nav.Visited(31)); // the group was hidden with its visited flags
    // Single-page steps never ask.
    host.log.clear();
    nav.OnCancelPage();
    nav.OnStep(WizardStep::ControlMode);
    nav.OnStep(WizardStep::Drive);
    EXPECT_FALSE(host.Logged("ask 1105"));
}

TEST_F(Navigation, ApplyOfDriveMotorAndModeResetsLaterSteps) {
    Open();
    // Re-applying the drive asks 1102; Cancel keeps everything.
    nav.OnStep(WizardStep::Drive);
    host.answer = false;
    nav.OnApply();
    EXPECT_TRUE(host.Logged("ask 1102"));
    EXPECT_EQ(nav.PageCode(), 1);
    host.answer = true;
    nav.OnApply();
    EXPECT_EQ(nav.PageCode(), 0);
    EXPECT_FALSE(nav.MotorDone || nav.ModeDone || nav.UnsavedChanges);
    EXPECT_TRUE(nav.StepEnabled(WizardStep::Motor));
    EXPECT_FALSE(nav.StepEnabled(WizardStep::ControlMode));
    EXPECT_FALSE(nav.StepEnabled(WizardStep::SaveWrite));
    EXPECT_FALSE(nav.apply.shown || nav.cancel.shown);

    nav.OnStep(WizardStep::Motor);
    host.log.clear();
    nav.OnApply(); // first motor apply after the drive: no question
    EXPECT_FALSE(host.Logged("ask 1103"));
    EXPECT_TRUE(host.Logged("mode page 1"));
    EXPECT_TRUE(nav.StepEnabled(WizardStep::ControlMode));
    EXPECT_FALSE(nav.StepEnabled(WizardStep::Encoder));

    nav.OnStep(WizardStep::ControlMode);
    host.choices["ShownMode"] = SpeedMode;
    nav.OnApply();
    EXPECT_TRUE(nav.ModeDone && nav.UnsavedChanges);
    EXPECT_TRUE(nav.StepEnabled(WizardStep::Reference));

    // The same mode again: closes without question or reset.
    nav.OnStep(WizardStep::ControlMode);
    host.log.clear();
    nav.OnApply();
    EXPECT_FALSE(host.Logged("ask 1104"));
    EXPECT_FALSE(host.Logged("apply 2"));
    EXPECT_EQ(nav.PageCode(), 0);

    // Another mode asks 1104; Cancel sets the page back.
    nav.OnStep(WizardStep::ControlMode);
    host.choices["ShownMode"] = TorqueMode;
    host.answer = false;
    host.log.clear();
    nav.OnApply();
    EXPECT_TRUE(host.Logged("ask 1104"));
    EXPECT_TRUE(host.Logged("mode page 1"));
    EXPECT_EQ(nav.ControlMode(), SpeedMode);
    host.answer = true;
    nav.OnApply();
    EXPECT_EQ(nav.ControlMode(), TorqueMode);
    EXPECT_FALSE(nav.StepEnabled(WizardStep::Reference)); // no torque pages yet
}

TEST_F(Navigation, ApplyOfAMultiPageStepAndItsRefusal) {
    Open();
    nav.OnStep(WizardStep::Encoder);
    nav.OnNext();
    host.applyAccepts = false; // an unset choice: the page stays
    nav.OnApply();
    EXPECT_EQ(nav.PageCode(), 101);
    EXPECT_FALSE(nav.EncoderDone);
    host.applyAccepts = true;
    nav.OnApply();
    EXPECT_TRUE(nav.EncoderDone && nav.UnsavedChanges);
    EXPECT_EQ(nav.PageCode(), 0);
    EXPECT_FALSE(nav.Visited(100));
}

TEST_F(Navigation, StepToggleAndCancel) {
    Open();
    nav.OnStep(WizardStep::Encoder);
    nav.OnStepToggle(1);
    EXPECT_TRUE(nav.apply.shown);
    EXPECT_FALSE(nav.next.shown);
    nav.OnStepToggle(0);
    EXPECT_FALSE(nav.apply.shown);
    nav.OnStepToggle(7);
    EXPECT_TRUE(nav.next.shown);
    nav.OnCancelPage();
    EXPECT_EQ(nav.PageCode(), 0);
    EXPECT_EQ(nav.MarkerStep(), -1);
    EXPECT_FALSE(nav.next.shown || nav.back.shown || nav.cancel.shown);
}

} // namespace
