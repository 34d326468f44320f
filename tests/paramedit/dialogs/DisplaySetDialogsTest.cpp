// The display set dialog and its Add/Remove dialog, driven through their controls.
#include "DialogsFixture.h"

#include "catalogue/ParamAttributes.h"
#include "framework/ui/ListBox.h"
#include "paramedit/AddRemoveDlg.h"
#include "paramedit/ChangeDlg.h"
#include "resources/ids/paradialogs.h"

#include <QListWidget>

namespace {

constexpr int kCn = 1218, kTn = 1219, kqn = 1220, kSn = 1221, kPn = 1222, kHn = 1223;
constexpr int kTorque = 1224, kTurret = 1228, kEn = 1229, ktn = 1230, kMAb = 1232;
constexpr int kAll = IDC_PD_CHOICE_FIRST;

class DisplaySetDialogs : public DialogsFixture {
protected:
    bool Run(std::function<void(CDialog&)> user) {
        Script({{IDD_PD_DISPLAY_SET, std::move(user)}});
        return RunDisplaySetDialog(nullptr, choice, defined, doc->Context());
    }
    // Selects an entry of an Add/Remove list as the user's click does (the dialog hears LBN_SELCHANGE).
    static void SelectRow(CListBox& list, int index) {
        auto* widget = qobject_cast<QListWidget*>(list.GetWidget());
        ASSERT_NE(widget, nullptr);
        widget->setCurrentRow(index);
        ASSERT_EQ(list.GetCurSel(), index);
    }
    static void Select(CListBox& list, const std::string& code) {
        const int index = list.FindString(-1, code + ":");
        ASSERT_GE(index, 0) << code;
        SelectRow(list, index);
    }
    static std::vector<std::string> Codes(CListBox& list) {
        std::vector<std::string> codes;
        for (int i = 0; i < list.GetCount(); ++i)
            codes.push_back(list.GetText(i).substr(0, 5));
        return codes;
    }

    DisplaySetChoice choice;
    DefinedList defined;
};

TEST_F(DisplaySetDialogs, CompletingTheGroupsTurnsAllOnAndLocksTheGroupBoxes) {
    choice.available[AvailableEn] = choice.available[AvailableEC] = choice.available[AvailableMAb] = false;
    ASSERT_TRUE(Run([](CDialog& d) {
        EXPECT_TRUE(Enabled(d, kAll));
        EXPECT_FALSE(Enabled(d, kEn)) << "a group the series lacks cannot be chosen";
        EXPECT_FALSE(Enabled(d, kTorque)) << "control modes belong to the Control Mode type";
        EXPECT_FALSE(Enabled(d, IDC_PD_ADD_REMOVE));
        for (int box : {kCn, kTn, kqn, kSn, kPn, kHn}) {
            Press(d, box);
            EXPECT_TRUE(Checked(d, box));
            EXPECT_FALSE(Checked(d, kAll));
        }
        Press(d, ktn);
        EXPECT_TRUE(Checked(d, kAll)) << "the last group completes the choice";
        for (int box : {kCn, kTn, kqn, kSn, kPn, kHn, ktn}) {
            EXPECT_TRUE(Checked(d, box));
            EXPECT_FALSE(Enabled(d, box));
        }
        EXPECT_FALSE(Checked(d, kEn));
        Press(d, IDOK);
    }));
    EXPECT_EQ(choice.flags[ChoiceAll], 1);
    EXPECT_EQ(choice.flags[Choicetn], 1);
    EXPECT_EQ(choice.flags[ChoiceEn], 0);
    EXPECT_EQ(choice.flags[ChoiceMAb], 0);
}

TEST_F(DisplaySetDialogs, AnEmptyChoiceOnOkMeansEverythingAvailable) {
    // Nothing checked in Select Parameters: All and every available group.
    choice.available[AvailableMAb] = false;
    ASSERT_TRUE(Run([](CDialog& d) { Press(d, IDOK); }));
    for (int flag : {ChoiceAll, ChoiceCn, ChoiceTn, Choiceqn, ChoiceSn, ChoicePn, ChoiceHn, ChoiceEn,
                     Choicetn, ChoiceEC})
        EXPECT_EQ(choice.flags[static_cast<std::size_t>(flag)], 1) << flag;
    EXPECT_EQ(choice.flags[ChoiceMAb], 0);

    // Nothing checked in Control Mode: every available mode.
    choice = DisplaySetChoice{};
    choice.type = DisplayControlModes;
    choice.available[AvailableTurretMode] = false;
    ASSERT_TRUE(Run([](CDialog& d) {
        EXPECT_TRUE(Enabled(d, kTorque));
        EXPECT_FALSE(Enabled(d, kTurret));
        EXPECT_FALSE(Enabled(d, kAll));
        Press(d, IDOK);
    }));
    for (int flag : {ChoiceTorqueMode, ChoiceSpeedMode, ChoiceInternalMode, ChoiceExternalMode})
        EXPECT_EQ(choice.flags[static_cast<std::size_t>(flag)], 1) << flag;
    EXPECT_EQ(choice.flags[ChoiceTurretMode], 0);
    EXPECT_EQ(DisplaySetFromChoice(choice).mode, DisplayControlModes);

    // Cancel hands nothing back.
    const DisplaySetChoice before = choice;
    EXPECT_FALSE(Run([](CDialog& d) { Press(d, IDC_PD_TYPE_CUSTOM); }));
    EXPECT_EQ(choice.type, before.type);
}

TEST_F(DisplaySetDialogs, TheCustomListIsBuiltInTheAddRemoveDialog) {
    // Given: Cn002, then an entry beyond the Tn group (Tn200), then Sn201.
    defined.count = 3;
    defined.group[0] = 1, defined.number[0] = 1;
    defined.group[1] = 2, defined.number[1] = 99;
    defined.group[2] = 3, defined.number[2] = 0;
    std::vector<std::string> shownAtOpening;
    Script({
        {IDD_PD_DISPLAY_SET,
         [](CDialog& d) {
             Press(d, IDC_PD_TYPE_CUSTOM);
             for (int box = IDC_PD_CHOICE_FIRST; box <= IDC_PD_CHOICE_LAST; ++box)
                 EXPECT_FALSE(Enabled(d, box)) << box;
             EXPECT_TRUE(Enabled(d, IDC_PD_ADD_REMOVE));
             Press(d, IDC_PD_ADD_REMOVE);
             Press(d, IDOK);
         }},
        {IDD_PD_ADD_REMOVE,
         [&](CDialog& d) {
             auto& dialog = dynamic_cast<CAddRemoveDlg&>(d);
             shownAtOpening = Codes(dialog.m_custom);
             EXPECT_FALSE(Enabled(d, IDC_PD_ADD)) << "nothing selected yet";
             EXPECT_FALSE(Enabled(d, IDC_PD_UP));

             // Cn005 goes over and comes back to its catalogue place, selected.
             Select(dialog.m_all, "Cn005");
             Press(d, IDC_PD_ADD);
             EXPECT_EQ(Codes(dialog.m_custom).back(), "Cn005");
             EXPECT_LT(dialog.m_all.FindString(-1, "Cn005:"), 0);
             SelectRow(dialog.m_custom, 2);
             Press(d, IDC_PD_REMOVE);
             const int back = dialog.m_all.FindString(-1, "Cn005:");
             ASSERT_GE(back, 0);
             EXPECT_EQ(dialog.m_all.GetCurSel(), back);
             EXPECT_EQ(dialog.m_all.GetText(back - 1).substr(0, 5), "Cn004");

             // Tn101 goes before the selected Sn201, then moves to the end.
             SelectRow(dialog.m_custom, 1);
             Select(dialog.m_all, "Tn101");
             Press(d, IDC_PD_ADD);
             EXPECT_EQ(Codes(dialog.m_custom), (std::vector<std::string>{"Cn002", "Tn101", "Sn201"}));
             SelectRow(dialog.m_custom, 1);
             Press(d, IDC_PD_DOWN);
             EXPECT_FALSE(Enabled(d, IDC_PD_DOWN)) << "already last: nothing can move down";
             EXPECT_EQ(Codes(dialog.m_custom), (std::vector<std::string>{"Cn002", "Sn201", "Tn101"}));
             EXPECT_EQ(dialog.m_custom.GetCurSel(), 2);
             EXPECT_FALSE(Enabled(d, IDC_PD_DOWN));
             EXPECT_TRUE(Enabled(d, IDC_PD_UP));
             Press(d, IDOK);
         }},
    });
    choice.type = DisplayGroups;
    ASSERT_TRUE(RunDisplaySetDialog(nullptr, choice, defined, doc->Context()));
    EXPECT_EQ(Opened(), (std::vector<UINT>{IDD_PD_DISPLAY_SET, IDD_PD_ADD_REMOVE}));
    EXPECT_EQ(shownAtOpening, (std::vector<std::string>{"Cn002", "Sn201"})) << "Tn200 does not exist";
    EXPECT_EQ(choice.type, DisplayDefined);
    ASSERT_EQ(defined.count, 3);
    EXPECT_EQ(std::vector<int>(defined.group.begin(), defined.group.begin() + 4),
              (std::vector<int>{1, 3, 2, 0}));
    EXPECT_EQ(std::vector<int>(defined.number.begin(), defined.number.begin() + 4),
              (std::vector<int>{1, 0, 0, 0}));
}

TEST_F(DisplaySetDialogs, AddAllAndRemoveAllCoverTheSeriesOnly) {
    CatalogueContext context = doc->Context();
    CAddRemoveDlg dialog(context);
    std::vector<std::string> all;
    Script({{IDD_PD_ADD_REMOVE, [&](CDialog& d) {
                 auto& dlg = dynamic_cast<CAddRemoveDlg&>(d);
                 const int offered = dlg.m_all.GetCount();
                 Press(d, IDC_PD_ADD_ALL);
                 EXPECT_EQ(dlg.m_all.GetCount(), 0);
                 EXPECT_EQ(dlg.m_custom.GetCount(), offered);
                 EXPECT_FALSE(Enabled(d, IDC_PD_ADD_ALL));
                 EXPECT_TRUE(Enabled(d, IDC_PD_REMOVE_ALL));
                 all = Codes(dlg.m_custom);
                 Press(d, IDC_PD_REMOVE_ALL);
                 EXPECT_EQ(dlg.m_all.GetCount(), offered);
                 Press(d, IDC_PD_ADD_ALL);
                 Press(d, IDOK);
             }}});
    ASSERT_EQ(dialog.DoModal(), IDOK);
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.front(), "Cn001");
    for (const std::string& code : all)
        EXPECT_TRUE(ParamInSeries(code, context)) << code;
    EXPECT_EQ(dialog.m_list.count, static_cast<int>(all.size()));
}

} // namespace
