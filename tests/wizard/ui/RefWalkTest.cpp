// The reference-input step of each control mode walked through the wizard as a user walks it: the
// pages Next shows, the same way back, Apply on the last page, and the parameter list that Finish and
// Write then hand on (golden lists of the reference step's entries).
#include "catalogue/DocumentGlobals.h"
#include "resources/ids/wizardref.h"
#include "tests/wizard/ui/WizardFixture.h"
#include "wizard/WizardBlocks.h"

#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace {

using ui::Press;
using ui::Type;
using Pairs = std::vector<std::pair<std::string, int>>;
using PageActions = std::map<int, std::function<void(CWnd&)>>;

class RefWalk : public WizardFixture {
protected:
    void SetUp() override {
        WizardFixture::SetUp();
        // The linked drive's motor, as the link leaves it: the ranges of the pages follow from it.
        RatedSpeed = 3000;
        MotorEncoderResolution = 131072;
        ForwardTorqueLimit = 300;
    }
    // Next from the first page until Apply shows, acting on each page as it comes; then Back to the
    // first page and Next again (the edits stay); returns the pages seen going forward.
    std::vector<int> Walk(CSetupWizardDialog& w, const PageActions& actions) {
        Press(w, IDC_WZ_STEP_REFERENCE);
        std::vector<int> forward;
        for (int guard = 0; guard < 30; ++guard) {
            const int code = w.Navigation().PageCode();
            forward.push_back(code);
            EXPECT_TRUE(PageVisible(code)) << code;
            if (auto action = actions.find(code); action != actions.end())
                action->second(*w.Page(code));
            if (Visible(IDC_WZ_APPLY))
                break;
            EXPECT_TRUE(Visible(IDC_WZ_NEXT)) << code;
            Press(w, IDC_WZ_NEXT);
            if (code == w.Navigation().PageCode()) {
                ADD_FAILURE() << "Next stayed on " << code << ": "
                              << (messages->Shown().empty() ? "" : messages->Shown().back().text);
                break;
            }
        }
        std::vector<int> backward{w.Navigation().PageCode()};
        while (ui::Enabled(w, IDC_WZ_BACK) && backward.size() < 30) {
            Press(w, IDC_WZ_BACK);
            backward.push_back(w.Navigation().PageCode());
        }
        EXPECT_EQ(std::vector<int>(forward.rbegin(), forward.rend()), backward);
        while (!Visible(IDC_WZ_APPLY) && Visible(IDC_WZ_NEXT))
            Press(w, IDC_WZ_NEXT);
        EXPECT_EQ(forward.back(), w.Navigation().PageCode());
        return forward;
    }
    // The parameter list after the reference step, up to its DI/DO entries.
    Pairs ReferenceList(CSetupWizardDialog& w, int mode) {
        WizardStepFlags flags;
        flags.referenceDone = w.Navigation().ReferenceDone;
        Pairs pairs;
        for (const WizardEntry& entry : w.Collected().WizardParameterList(mode, flags)) {
            if (entry.code.rfind("Hn", 0) == 0)
                break;
            pairs.emplace_back(entry.code, entry.value);
        }
        return pairs;
    }
    int DocumentValue(CSetupWizardDialog& w, const char* code) { return *w.Collected().Document(code); }
    int Default(CSetupWizardDialog& w, const char* code) { return w.Collected().DefaultOr0(code); }
    static void Values(CWnd& page, std::initializer_list<std::pair<int, const char*>> typed) {
        for (const auto& [id, text] : typed)
            Type(page, id, text);
    }
};

TEST_F(RefWalk, PositionChainToApplyAndItsList) {
    doc->Value(DocCn, 1) = PositionMode;
    CSetupWizardDialog& w = Open();
    const PageActions actions = {
        {40, [](CWnd& p) { Press(p, IDC_REF_OPTION2); }}, // forward + reverse pulse
        {41, [](CWnd& p) { Press(p, IDC_REF_OPTION2); }}, // negative logic
        {42,
         [](CWnd& p) {
             Values(p, {{IDC_REF_VALUE1, "500"}});
         }},                                              // Pn356
        {43, [](CWnd& p) { Press(p, IDC_REF_OPTION2); }}, // electronic gear
        {45,
         [](CWnd& p) {
             Values(p, {{IDC_REF_VALUE1, "2"},
                        {IDC_REF_VALUE2, "3"},
                        {IDC_REF_VALUE3, "4"},
                        {IDC_REF_VALUE4, "5"},
                        {IDC_REF_VALUE5, "7"}});
         }},
        {46,
         [](CWnd& p) {
             Values(p, {{IDC_REF_VALUE1, "20"}});
         }},
        {47,
         [](CWnd& p) {
             Values(p, {{IDC_REF_VALUE1, "3"}, {IDC_REF_VALUE2, "4"}});
         }},
        {48, [](CWnd& p) { Press(p, IDC_REF_OPTION2); }}, // Pn315.0 = 1
        {49,
         [](CWnd& p) {
             Press(p, IDC_REF_OPTION2); // once at the first servo on
             Values(p, {{IDC_REF_VALUE1, "0"}});
         }},
        {50, [](CWnd& p) { Press(p, IDC_REF_OPTION2); }}, // reverse to NOT
        {51, [](CWnd& p) { Press(p, IDC_REF_OPTION5); }}, // Pn317.3 = 1
        {52,
         [](CWnd& p) {
             Values(p, {{IDC_REF_VALUE1, "500"},
                        {IDC_REF_VALUE2, "50"},
                        {IDC_REF_VALUE3, "-2"},
                        {IDC_REF_VALUE4, "100"}});
         }},
        {54, [](CWnd& p) { Press(p, IDC_REF_OPTION2); }}, // Pn315.1 = 1
        {55,
         [](CWnd& p) {
             Values(p, {{IDC_REF_VALUE1, "10"}});
         }},
        {56,
         [](CWnd& p) {
             Values(p, {{IDC_REF_VALUE1, "1000"}, {IDC_REF_VALUE2, "2000"}});
         }},
    };
    EXPECT_EQ((std::vector<int>{40, 41, 42, 43, 45, 46, 47, 48, 49, 50, 51, 52, 54, 55, 56}),
              Walk(w, actions));
    Press(w, IDC_WZ_APPLY);
    ASSERT_TRUE(w.Navigation().ReferenceDone);
    EXPECT_EQ(0, w.Navigation().PageCode());

    const auto digits = [](int value, std::initializer_list<std::pair<int, int>> set) {
        for (const auto& [digit, to] : set)
            value = WithDigit(value, digit, to);
        return value;
    };
    const Pairs expected = {
        {"Cn001", 2},
        {"Pn301", digits(DocumentValue(w, "Pn301"), {{0, 1}, {1, 1}})},
        {"Pn332", DocumentValue(w, "Pn332")},
        {"Pn356", 500},
        {"Pn354", Default(w, "Pn354")},
        {"Pn302", 2},
        {"Pn303", 3},
        {"Pn304", 4},
        {"Pn305", 5},
        {"Pn306", 7},
        {"Pn313", 20},
        {"Pn329", 3},
        {"Pn330", 4},
        {"Pn315", digits(DocumentValue(w, "Pn315"), {{0, 1}, {1, 1}})},
        {"Pn317", digits(DocumentValue(w, "Pn317"), {{0, 1}, {1, 0}, {2, 1}, {3, 1}})},
        {"Pn355", 0},
        {"Pn318", 500},
        {"Pn319", 50},
        {"Pn320", -2},
        {"Pn321", 100},
        {"Pn361", DocumentValue(w, "Pn361")},
        {"Pn362", DocumentValue(w, "Pn362")},
        {"Pn307", 10},
        {"Pn308", 1000},
        {"Pn309", 2000},
        {"Cn002", DocumentValue(w, "Cn002")}, // homing by Pn317 to a limit switch
    };
    EXPECT_EQ(expected, ReferenceList(w, PositionMode));
    EXPECT_TRUE(drive->RequestLog().empty()) << "the wizard talks to the drive only on Write";
}

TEST_F(RefWalk, SpeedChainToApplyAndItsList) {
    doc->Value(DocCn, 1) = SpeedMode;
    CSetupWizardDialog& w = Open();
    const PageActions actions = {
        {31,
         [](CWnd& p) {
             Values(p, {{IDC_REF_VALUE1, "1000"}, {IDC_REF_VALUE2, "1000"}});
         }},
        {32,
         [](CWnd& p) {
             Values(p, {{IDC_REF_VALUE1, "100"}, {IDC_REF_VALUE2, "-200"}, {IDC_REF_VALUE3, "300"}});
         }},
        {33, [](CWnd& p) { Press(p, IDC_REF_OPTION4); }}, // S-curve
        {36,
         [](CWnd& p) {
             Values(p, {{IDC_REF_VALUE1, "30"}, {IDC_REF_VALUE2, "100"}, {IDC_REF_VALUE3, "120"}});
         }},
        {37,
         [](CWnd& p) {
             Press(p, IDC_REF_OPTION2);
             Values(p, {{IDC_REF_VALUE1, "20"}});
         }},
    };
    EXPECT_EQ((std::vector<int>{31, 32, 33, 36, 37}), Walk(w, actions));
    Press(w, IDC_WZ_APPLY);
    ASSERT_TRUE(w.Navigation().ReferenceDone);
    const Pairs expected = {{"Cn001", 1},
                            {"Sn216", 1000},
                            {"Sn218", 1000},
                            {"Sn201", 100},
                            {"Sn202", -200},
                            {"Sn203", 300},
                            {"Sn205", WithDigit(DocumentValue(w, "Sn205"), 0, 3)},
                            {"Sn206", Default(w, "Sn206")},
                            {"Sn207", Default(w, "Sn207")},
                            {"Sn208", 30},
                            {"Sn209", 100},
                            {"Sn210", 120},
                            {"Sn215", 20},
                            {"Sn204", WithDigit(DocumentValue(w, "Sn204"), 0, 1)}};
    EXPECT_EQ(expected, ReferenceList(w, SpeedMode));
}

TEST_F(RefWalk, TorqueChainWithTheLiveApplyToggle) {
    doc->Value(DocCn, 1) = TorqueMode;
    CSetupWizardDialog& w = Open();
    const PageActions actions = {
        {60,
         [](CWnd& p) {
             Press(p, IDC_REF_OPTION2); // digital torque command: page 62 is skipped
             Values(p, {{IDC_REF_VALUE1, "-150"}});
         }},
        {63,
         [](CWnd& p) {
             Values(p, {{IDC_REF_VALUE1, "100"}, {IDC_REF_VALUE2, "-100"}});
         }},
        {64, [](CWnd& p) { Press(p, IDC_REF_OPTION4); }}, // separate acceleration and deceleration
        {67,
         [](CWnd& p) {
             Values(p, {{IDC_REF_VALUE1, "40"}, {IDC_REF_VALUE2, "42"}});
         }},
        {68,
         [](CWnd& p) {
             Values(p, {{IDC_REF_VALUE1, "77"}});
         }},
        {69,
         [this](CWnd& p) {
             Press(p, IDC_REF_OPTION1);
             EXPECT_TRUE(Visible(IDC_WZ_NEXT));
             EXPECT_FALSE(Visible(IDC_WZ_APPLY));
             Press(p, IDC_REF_OPTION2); // Tn114/Tn115 by the torque sign: this page is the last
             EXPECT_FALSE(Visible(IDC_WZ_NEXT));
             EXPECT_TRUE(Visible(IDC_WZ_APPLY));
             Values(p, {{IDC_REF_VALUE1, "1000"}, {IDC_REF_VALUE2, "-1000"}});
         }},
    };
    EXPECT_EQ((std::vector<int>{60, 63, 64, 67, 68, 69}), Walk(w, actions));
    Press(w, IDC_WZ_APPLY);
    ASSERT_TRUE(w.Navigation().ReferenceDone);
    const Pairs expected = {
        {"Cn001", 0},
        {"Tn101", WithDigit(WithDigit(WithDigit(DocumentValue(w, "Tn101"), 0, 3), 1, 1), 2, 1)},
        {"Tn113", -150},
        {"Tn103", Default(w, "Tn103")},
        {"Cn010", 100},
        {"Cn011", -100},
        {"Tn102", 40},
        {"Tn110", Default(w, "Tn110")},
        {"Tn117", 42},
        {"Tn108", 77},
        {"Tn114", 1000},
        {"Tn115", -1000},
        {"Tn109", Default(w, "Tn109")},
        {"Tn105", Default(w, "Tn105")},
        {"Tn106", Default(w, "Tn106")},
        {"Tn107", Default(w, "Tn107")}};
    EXPECT_EQ(expected, ReferenceList(w, TorqueMode));
}

} // namespace
