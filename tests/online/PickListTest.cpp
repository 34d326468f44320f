// The pick dialog's list: series, fixed exclusions, other slots' codes, the qn pairs, order, the
// preselection and the code taken back from an entry.
#include "online/ParamPickList.h"

#include "catalogue/ParamAttributes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class PickList : public ::testing::Test {
protected:
    std::vector<PickEntry> Entries(const std::vector<std::string>& others = {}) const {
        std::array<std::string, OnlineRowCount> codes{};
        for (size_t i = 0; i < others.size(); ++i)
            codes[i + 1] = others[i]; // slot 1 is the one being set
        return PickListEntries(codes, context, load);
    }
    static bool Lists(const std::vector<PickEntry>& entries, const std::string& code) {
        return std::any_of(entries.begin(), entries.end(),
                           [&](const PickEntry& e) { return e.code == code; });
    }

    CatalogueContext context = [] {
        CatalogueContext c;
        c.seriesCode = 4;
        return c;
    }();
    StringLoader load = [](int id) { return "title " + std::to_string(id); };
};

TEST_F(PickList, OffersTheSeriesCodesInGroupOrderLessTheFixedExclusions) {
    const std::vector<PickEntry> entries = Entries();
    ASSERT_FALSE(entries.empty());
    std::vector<std::string> groups;
    for (const PickEntry& e : entries) {
        EXPECT_TRUE(ParamInSeries(e.code, context)) << e.code;
        EXPECT_FALSE(IsNeverOffered(e.code)) << e.code;
        EXPECT_EQ(e.text.substr(0, e.code.size() + 3), e.code + " - ") << e.code;
        const std::string group = e.code.substr(0, 3);
        if (groups.empty() || groups.back() != group)
            groups.push_back(group);
    }
    const std::vector<std::string> order = {"Cn0", "Tn1", "Sn2", "Pn3", "Pn4",
                                            "qn5", "Hn6", "En7", "tn8", "EC9"};
    std::vector<std::string> expected;
    for (const std::string& g : order)
        if (std::find(groups.begin(), groups.end(), g) != groups.end())
            expected.push_back(g);
    EXPECT_EQ(groups, expected) << "each group once, in the fixed order";
    for (const char* code : {"Cn078", "Cn085", "Cn088", "Cn096", "Cn001", "Tn110", "Pn345", "EC932"})
        EXPECT_FALSE(Lists(entries, code)) << code;
    for (const char* code : {"Cn086", "Cn087", "Cn097"})
        EXPECT_EQ(Lists(entries, code), ParamInSeries(code, context)) << code;
    EXPECT_FALSE(std::any_of(entries.begin(), entries.end(), [](const PickEntry& e) {
        return e.code.starts_with("MAb") || e.code.starts_with("ono");
    }));
    // The qn titles are their fixed strings.
    const auto qn =
        std::find_if(entries.begin(), entries.end(), [](const PickEntry& e) { return e.code == "qn501"; });
    ASSERT_NE(qn, entries.end());
    EXPECT_EQ(qn->text, "qn501 - title 61612");
}

TEST_F(PickList, ProjectModeAddsOnoUpToSixteen) {
    context.debugMode = true;
    const std::vector<PickEntry> entries = Entries();
    for (int n = 1; n <= 26; ++n) {
        char code[8];
        std::snprintf(code, sizeof code, "ono%02d", n);
        EXPECT_EQ(Lists(entries, code), n <= 16 && ParamInSeries(code, context)) << code;
    }
    EXPECT_EQ(entries.back().code.substr(0, 3), "ono");
}

TEST_F(PickList, OtherSlotsHideTheirCodesAndTheirQnPartners) {
    const std::vector<PickEntry> free = Entries();
    ASSERT_TRUE(Lists(free, "Cn025"));
    EXPECT_FALSE(Lists(Entries({"Cn025"}), "Cn025"));
    EXPECT_TRUE(Lists(Entries({"Cn025"}), "Cn026"));
    const std::pair<const char*, const char*> pairs[] = {
        {"Sn211", "qn501"}, {"Sn212", "qn502"}, {"Sn213", "qn503"}, {"Sn214", "qn504"},
        {"Pn310", "qn505"}, {"Pn311", "qn506"}, {"Pn312", "qn507"}};
    for (const auto& [partner, qn] : pairs) {
        ASSERT_TRUE(Lists(free, partner) && Lists(free, qn)) << partner;
        EXPECT_FALSE(Lists(Entries({qn}), partner)) << qn << " hides " << partner;
        EXPECT_FALSE(Lists(Entries({partner}), qn)) << partner << " hides " << qn;
    }
    // The same number in another group hides nothing; tn has a class of its own.
    EXPECT_TRUE(Lists(Entries({"Tn111"}), "Sn211"));
    if (Lists(free, "tn801") && Lists(free, "Pn401")) {
        EXPECT_TRUE(Lists(Entries({"Pn401"}), "tn801"));
        EXPECT_TRUE(Lists(Entries({"tn801"}), "Pn401"));
    }
    EXPECT_EQ(PickExclusionClass("tn801"), 11);
    EXPECT_EQ(PickExclusionClass("Pn401"), 8);
    EXPECT_EQ(PickExclusionClass("EC901"), 10);
    EXPECT_EQ(PickExclusionClass("En724"), 7);
    EXPECT_EQ(PickExclusionClass("MAb01"), 0);
}

TEST_F(PickList, PreselectionAndChosenCode) {
    const std::vector<PickEntry> entries = Entries();
    EXPECT_EQ(PreselectedPickEntry(entries, ""), 0);
    EXPECT_EQ(PreselectedPickEntry(entries, "Zz999"), 0);
    const auto sn =
        std::find_if(entries.begin(), entries.end(), [](const PickEntry& e) { return e.code == "Sn211"; });
    EXPECT_EQ(PreselectedPickEntry(entries, "sn211"), sn - entries.begin());
    // The search starts after the first entry and wraps to it.
    EXPECT_EQ(PreselectedPickEntry(entries, entries[0].code), 0);
    EXPECT_EQ(PreselectedPickEntry(entries, "Cn0"), 1);
    EXPECT_EQ(PreselectedPickEntry({}, "Cn001"), -1);
    EXPECT_EQ(CodeOfPickText("Pn310 - Position Loop Gain"), "Pn310");
    EXPECT_EQ(CodeOfPickText(""), "");
}

} // namespace
