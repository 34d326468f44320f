#include "LogicTestSupport.h"

#include "catalogue/ParamAttributes.h"
#include "paramedit/DefinedList.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

bool InSeries4(std::string_view code) {
    return ParamInSeries(code, Series4());
}

int IndexOf(const std::vector<std::string>& list, const std::string& code) {
    const auto it = std::find(list.begin(), list.end(), code);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

DefinedList ListOf(std::initializer_list<std::pair<int, int>> entries) {
    DefinedList list;
    for (const auto& [group, number] : entries) {
        list.group[static_cast<std::size_t>(list.count)] = group;
        list.number[static_cast<std::size_t>(list.count)] = number;
        ++list.count;
    }
    return list;
}

} // namespace

TEST(AddRemove, OpeningDropsEntriesTheListCannotHold) {
    // Cn002, Tn number index 99 (beyond Tn118), group id 7 (none), Cn002 again, Sn212.
    const AddRemoveModel model(ListOf({{1, 1}, {2, 99}, {7, 0}, {1, 1}, {3, 11}}), InSeries4);
    EXPECT_EQ(model.CustomList(), (std::vector<std::string>{"Cn002", "Sn212"}));
    EXPECT_EQ(IndexOf(model.AllList(), "Cn002"), -1);
    EXPECT_EQ(model.Result(), ListOf({{1, 1}, {3, 11}}));
    EXPECT_EQ(model.ButtonStates(), (AddRemoveModel::Buttons{false, false, true, true, false, false}));
}

TEST(AddRemove, AddThenRemovePutsTheParameterBackInItsPlace) {
    AddRemoveModel model(DefinedList{}, InSeries4);
    const std::vector<std::string> all = model.AllList();
    ASSERT_TRUE(InSeries4("Cn005"));
    const int place = IndexOf(all, "Cn005");
    model.SelectInAll(place);
    EXPECT_TRUE(model.ButtonStates().add);
    model.Add();
    EXPECT_EQ(model.CustomList(), std::vector<std::string>{"Cn005"});
    EXPECT_EQ(model.AllList()[static_cast<std::size_t>(place)], all[static_cast<std::size_t>(place + 1)]);
    EXPECT_EQ(model.AllSelection(), place);
    EXPECT_TRUE(model.ButtonStates().removeAll);

    model.SelectInCustom(0);
    model.Remove();
    EXPECT_TRUE(model.CustomList().empty());
    EXPECT_EQ(model.AllList(), all);
    EXPECT_EQ(model.AllSelection(), place) << "the removed parameter is selected";
    EXPECT_FALSE(model.ButtonStates().remove);
    EXPECT_FALSE(model.ButtonStates().removeAll);
    EXPECT_TRUE(model.ButtonStates().addAll);
}

TEST(AddRemove, AddInsertsBeforeTheSelectedEntryAndMovesKeepTheOrder) {
    AddRemoveModel model(ListOf({{1, 0}, {1, 2}}), InSeries4); // Cn001, Cn003
    model.SelectInCustom(1);
    model.SelectInAll(IndexOf(model.AllList(), "Cn002"));
    model.Add();
    EXPECT_EQ(model.CustomList(), (std::vector<std::string>{"Cn001", "Cn002", "Cn003"}));
    EXPECT_EQ(model.CustomSelection(), 2);

    model.Down(); // on the last entry: nothing
    EXPECT_EQ(model.CustomList().back(), "Cn003");
    model.Up();
    model.Up();
    EXPECT_EQ(model.CustomList(), (std::vector<std::string>{"Cn003", "Cn001", "Cn002"}));
    EXPECT_EQ(model.CustomSelection(), 0);
    EXPECT_FALSE(model.ButtonStates().up);
    EXPECT_TRUE(model.ButtonStates().down);
    model.Up(); // on the first entry: nothing
    EXPECT_EQ(model.CustomList().front(), "Cn003");
    EXPECT_EQ(model.Result(), ListOf({{1, 2}, {1, 0}, {1, 1}}));
}

TEST(AddRemove, AddAllAndRemoveAll) {
    AddRemoveModel model(ListOf({{3, 11}}), InSeries4);
    model.AddAll();
    EXPECT_TRUE(model.AllList().empty());
    EXPECT_LE(model.CustomList().size(), 500u);
    EXPECT_EQ(model.CustomList().front(), "Cn001") << "the earlier order is lost";
    for (const std::string& code : model.CustomList())
        EXPECT_TRUE(InSeries4(code)) << code;
    EXPECT_EQ(model.ButtonStates(), (AddRemoveModel::Buttons{false, false, false, true, false, false}));
    const DefinedList result = model.Result();
    EXPECT_EQ(result.count, static_cast<int>(model.CustomList().size()));
    EXPECT_EQ(result.group[static_cast<std::size_t>(result.count)], 0) << "entries after the count are 0";

    model.RemoveAll();
    EXPECT_TRUE(model.CustomList().empty());
    EXPECT_EQ(model.AllList().size(), result.Count() + 0u);
    EXPECT_EQ(model.ButtonStates(), (AddRemoveModel::Buttons{false, false, true, false, false, false}));
    EXPECT_EQ(model.Result(), DefinedList{});
}

TEST(AddRemove, SeriesWithoutAGroupOffersNoneOfIt) {
    const auto noEn = [](std::string_view code) { return code.substr(0, 2) != "En" && InSeries4(code); };
    AddRemoveModel model(ListOf({{9, 0}}), noEn);
    EXPECT_TRUE(model.CustomList().empty());
    model.AddAll();
    for (const std::string& code : model.CustomList())
        EXPECT_NE(code.substr(0, 2), "En");
}

TEST(AddRemove, CodesToEntries) {
    struct Case {
        const char* code;
        bool ok;
        int group, number;
    };
    for (const Case& c : {Case{"Cn001", true, 1, 0}, Case{"Pn325", true, 4, 24}, Case{"Pn412", true, 8, 11},
                          Case{"EC901", true, 11, 0}, Case{"En724", true, 9, 23}, Case{"MAb16", true, 12, 15},
                          Case{"tn863", true, 10, 62}, Case{"onC01", false, 0, 0}, Case{"Un-01", false, 0, 0},
                          Case{"Cn000", false, 0, 0}, Case{"", false, 0, 0}}) {
        int group = 0, number = 0;
        EXPECT_EQ(DefinedEntryOfCode(c.code, group, number), c.ok) << c.code;
        if (c.ok) {
            EXPECT_EQ(group, c.group) << c.code;
            EXPECT_EQ(number, c.number) << c.code;
        }
    }
}
