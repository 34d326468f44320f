#include "LogicTestSupport.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"
#include "paramedit/DefinedList.h"
#include "paramedit/DisplaySet.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

bool Contains(const std::vector<std::string>& codes, const std::string& code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

constexpr unsigned T = ModeBitTorque, S = ModeBitSpeed, I = ModeBitInternal, X = ModeBitExternal,
                   R = ModeBitTurret, All = ModeBitsAll;

} // namespace

TEST(ControlModes, MembershipTable) {
    struct Case {
        const char* code;
        unsigned bits;
    };
    const Case cases[] = {
        {"Cn004", T | S},
        {"Cn013", S | I | X | R},
        {"Cn033", I | X | R},
        {"Cn046", X},
        {"Cn049", S | I | X},
        {"Cn070", I | R},
        {"Cn088", I | X},
        {"Cn090", 0},
        {"Cn001", All},
        {"Pn301", I | X},
        {"Pn316", All},
        {"Pn333", I | R},
        {"Pn380", R},
        {"Pn370", I},
        {"Pn356", X},
        {"Pn306", I | X | R},
        {"Pn405", I},
        {"Sn212", S | I | X | R},
        {"Sn226", T | S},
        {"Sn201", All},
        {"Tn108", All},
        {"Tn101", T},
        {"qn502", S | I | X | R},
        {"qn503", I | X | R},
        {"tn801", 0},
        {"tn825", 0},
        {"tn826", S | I | X | R},
        {"tn844", I | X | R},
        {"tn846", S | I | X},
        {"tn857", All},
        {"En705", All},
        {"EC905", I},
        {"onC32", S | I | X},
        {"ono20", I | X | R},
        {"onA05", All},
        {"Hn610", All},
        {"MAb01", 0},
        {"Un-01", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ControlModeBits(c.code), c.bits) << c.code;
    EXPECT_TRUE(IsShownForControlModes("Cn004", T));
    EXPECT_FALSE(IsShownForControlModes("Cn046", T | S));
    EXPECT_EQ(ControlModeMask({1, 0, 1, 0, 1}), T | I | R);
    EXPECT_EQ(ControlModeMask({1, 1, 1, 1, 1}), All);
}

TEST(DisplaySetTitle, ByMode) {
    struct Case {
        int mode;
        std::array<int, DisplayGroupFlagCount> groups;
        std::array<int, DisplayModeFlagCount> modes;
        const char* title;
    };
    const std::array<int, DisplayGroupFlagCount> noGroups{};
    const std::array<int, DisplayModeFlagCount> noModes{};
    const Case cases[] = {
        {DisplayGroups, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, noModes, "All Parameter"},
        {DisplayGroups, {0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0}, noModes, "System+Speed Parameter"},
        {DisplayGroups,
         {0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 1},
         noModes,
         "DI/DO Planning+Tuning+Mapping Parameter"},
        {DisplayGroups, noGroups, noModes, " Parameter"},
        {DisplayControlModes, noGroups, {1, 1, 1, 1, 1}, "All Control Mode"},
        {DisplayControlModes, noGroups, {1, 1, 0, 0, 0}, "Torque+Speed Control Mode"},
        {DisplayControlModes, noGroups, {0, 0, 1, 1, 0}, "Position Control Mode"},
        {DisplayControlModes,
         noGroups,
         {1, 0, 1, 0, 0},
         "Torque+Position(Internal Position Command) Control Mode"},
        {DisplayControlModes,
         noGroups,
         {0, 1, 0, 1, 1},
         "Speed+Position(External Pulse Command)+Tool Turret Control Mode"},
        {DisplayControlModes, noGroups, {0, 0, 0, 0, 1}, "Tool Turret Control Mode"},
        {DisplayDefined, noGroups, noModes, "Defined Parameter"},
    };
    for (const Case& c : cases) {
        EditorDisplaySet set;
        set.mode = c.mode;
        set.groups = c.groups;
        set.modes = c.modes;
        set.mask = ControlModeMask(c.modes);
        EXPECT_EQ(DisplaySetTitle(set), c.title);
    }
}

TEST(EditorTabs, OptionalGroupsMoveTheLaterTabs) {
    EXPECT_EQ(EditorTabs({}).size(), 13u);
    const auto tabs = EditorTabs({false, true, false, false});
    ASSERT_EQ(tabs.size(), 10u);
    EXPECT_EQ(tabs[5], EditorTab::qn);
    EXPECT_EQ(tabs.back(), EditorTab::Compare);
    EXPECT_EQ(EditorTabLabel(tabs.back()), "Initial Value Compare Table");
    EXPECT_EQ(EditorTabLabel(EditorTab::Custom), "Custom Display");
    EXPECT_EQ(EditorTabLabel(EditorTab::Pn4), "Pn4");
}

class RowCodesTest : public ::testing::Test {
protected:
    void SetUp() override {
        SeriesCode = 4;
        ClearDocument(doc);
    }
    std::vector<std::string> Rows(EditorTab tab, bool project = false) {
        return EditorRowCodes(tab, presence, set, defined, doc, Series4(), project);
    }
    CKeloServoDoc doc;
    EditorTabPresence presence;
    EditorDisplaySet set;
    DefinedList defined;
};

TEST_F(RowCodesTest, GroupTabsAndTheLastTab) {
    const auto cn = Rows(EditorTab::Cn);
    ASSERT_FALSE(cn.empty());
    for (const std::string& code : cn) {
        EXPECT_EQ(code.substr(0, 2), "Cn");
        EXPECT_TRUE(ParamInSeries(code, Series4())) << code;
    }
    EXPECT_TRUE(Rows(EditorTab::Compare).empty()) << "an unchanged document lists nothing there";
    *doc.FindValue("Sn212") = 5;
    *doc.FindValue("onC10") = 5;
    EXPECT_EQ(Rows(EditorTab::Compare), std::vector<std::string>{"Sn212"});
    EXPECT_EQ(Rows(EditorTab::Compare, true), (std::vector<std::string>{"Sn212", "onC10"}));
}

TEST_F(RowCodesTest, CustomTabFollowsTheDisplaySet) {
    set.mode = DisplayGroups;
    set.groups = {0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0}; // Speed and Quick
    for (const std::string& code : Rows(EditorTab::Custom))
        EXPECT_TRUE(code.substr(0, 2) == "Sn" || code.substr(0, 2) == "qn") << code;
    EXPECT_TRUE(Contains(Rows(EditorTab::Custom, true), "onC10")) << "Project Mode adds the newer groups";

    set.mode = DisplayControlModes;
    set.modes = {1, 0, 0, 0, 0};
    set.mask = ModeBitTorque;
    const auto torque = Rows(EditorTab::Custom);
    for (const std::string& code : torque) {
        EXPECT_TRUE(ControlModeBits(code) & ModeBitTorque) << code;
        EXPECT_NE(code.substr(0, 3), "MAb");
    }
    for (const char* code : {"Cn004", "Cn007", "Sn226", "Tn101", "Cn001"}) {
        if (ParamInSeries(code, Series4())) {
            EXPECT_TRUE(Contains(torque, code)) << code;
        }
    }
    EXPECT_FALSE(Contains(torque, "Sn212"));
}

TEST_F(RowCodesTest, DefinedListKeepsItsOrderAndDropsEntriesItCannotHold) {
    set.mode = DisplayDefined;
    defined.count = 4;
    defined.group = {3, 2, 1, 2}; // Sn212, Tn100 + 99 (no such Tn), Cn001, Tn101
    defined.number = {11, 99, 0, 0};
    EXPECT_EQ(Rows(EditorTab::Custom), (std::vector<std::string>{"Sn212", "Cn001", "Tn101"}));
    EXPECT_EQ(DefinedEntryCode(2, 99), "");
    EXPECT_EQ(DefinedEntryCode(7, 0), "");
    EXPECT_EQ(DefinedEntryCode(12, 15), "MAb16");
    EXPECT_EQ(DefinedEntryCode(8, 24), "Pn425");
    defined.count = 100000; // a count beyond the arrays is clamped
    EXPECT_EQ(Rows(EditorTab::Custom).size(), 3u);
}

// Display set dialog ---------------------------------------------------------------------------------

TEST(DisplaySetDialog, CheckingTheLastAlwaysOfferedGroupTurnsAllOn) {
    DisplaySetChoice choice;
    choice.available[AvailableEn] = choice.available[AvailableEC] = choice.available[AvailableMAb] = false;
    const int order[] = {ChoiceCn, ChoiceTn, Choiceqn, ChoiceSn, ChoicePn, ChoiceHn, Choicetn};
    DisplaySetControls controls = RefreshDisplaySet(choice);
    EXPECT_FALSE(controls.enabled[ChoiceEn]);
    for (int flag : order) {
        EXPECT_TRUE(controls.enabled[static_cast<std::size_t>(flag)]) << flag;
        EXPECT_FALSE(choice.flags[ChoiceAll]);
        controls = ToggleDisplayChoice(choice, flag);
    }
    EXPECT_EQ(choice.flags[ChoiceAll], 1);
    for (int flag : order) {
        EXPECT_EQ(choice.flags[static_cast<std::size_t>(flag)], 1);
        EXPECT_FALSE(controls.enabled[static_cast<std::size_t>(flag)]) << "checked and disabled";
    }
    EXPECT_TRUE(controls.enabled[ChoiceAll]);
    EXPECT_FALSE(controls.addRemove);
    EXPECT_EQ(choice.flags[ChoiceEn], 0);
}

TEST(DisplaySetDialog, OkFillsAnEmptyChoice) {
    DisplaySetChoice groups;
    groups.available[AvailableEC] = false;
    ConfirmDisplaySet(groups);
    EXPECT_EQ(groups.flags[ChoiceAll], 1);
    for (int flag :
         {ChoiceCn, ChoiceTn, Choiceqn, ChoiceSn, ChoicePn, ChoiceHn, Choicetn, ChoiceEn, ChoiceMAb})
        EXPECT_EQ(groups.flags[static_cast<std::size_t>(flag)], 1) << flag;
    EXPECT_EQ(groups.flags[ChoiceEC], 0);

    DisplaySetChoice modes;
    modes.type = DisplayControlModes;
    modes.available[AvailableTurretMode] = false;
    ConfirmDisplaySet(modes);
    EXPECT_EQ(modes.flags[ChoiceTorqueMode], 1);
    EXPECT_EQ(modes.flags[ChoiceExternalMode], 1);
    EXPECT_EQ(modes.flags[ChoiceTurretMode], 0);

    DisplaySetChoice some;
    some.flags[ChoiceSn] = 1;
    ConfirmDisplaySet(some);
    EXPECT_EQ(some.flags[ChoiceAll], 0) << "a partial choice stays as it is";
}

TEST(DisplaySetDialog, TypesEnableTheirControls) {
    DisplaySetChoice choice;
    choice.type = DisplayDefined;
    DisplaySetControls controls = RefreshDisplaySet(choice);
    EXPECT_TRUE(controls.addRemove);
    EXPECT_TRUE(std::none_of(controls.enabled.begin(), controls.enabled.end(), [](bool e) { return e; }));

    choice.type = DisplayControlModes;
    choice.available[AvailableTurretMode] = false;
    choice.flags[ChoiceTurretMode] = 1;
    controls = RefreshDisplaySet(choice);
    EXPECT_TRUE(controls.enabled[ChoiceTorqueMode]);
    EXPECT_FALSE(controls.enabled[ChoiceTurretMode]);
    EXPECT_EQ(choice.flags[ChoiceTurretMode], 0) << "an unavailable mode is cleared";
    EXPECT_FALSE(controls.enabled[ChoiceAll]);
    EXPECT_FALSE(controls.addRemove);
}

TEST(DisplaySetDialog, RoundTripWithTheEditorsSet) {
    EditorDisplaySet set;
    set.mode = DisplayGroups;
    set.groups = {0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0};
    set.modes = {0, 1, 0, 1, 0};
    set.mask = 0; // rebuilt from the modes
    const DisplaySetChoice choice = ChoiceFromDisplaySet(set, {true, false, true, true});
    EXPECT_EQ(choice.flags[ChoiceCn], 1);
    EXPECT_EQ(choice.flags[ChoicePn], 1);
    EXPECT_EQ(choice.flags[ChoiceEn], 1);
    EXPECT_EQ(choice.flags[ChoiceSpeedMode], 1);
    EXPECT_FALSE(choice.available[AvailableEn]);
    const EditorDisplaySet back = DisplaySetFromChoice(choice);
    EXPECT_EQ(back.groups, set.groups);
    EXPECT_EQ(back.modes, set.modes);
    EXPECT_EQ(back.mask, ModeBitSpeed | ModeBitExternal);
}
