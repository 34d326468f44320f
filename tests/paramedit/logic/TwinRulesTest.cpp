#include "paramedit/TwinParameters.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

// A document of named values and a table that shows some of the codes.
class FakeTwinHost : public TwinHost {
public:
    bool HasDocument() const override { return document; }
    int DocumentValue(std::string_view code) const override {
        const auto it = values.find(std::string(code));
        return it == values.end() ? 0 : it->second;
    }
    void SetDocumentValue(std::string_view code, int value) override { values[std::string(code)] = value; }
    void SetDocumentModified() override { modified = true; }
    ParamMarkTables& Marks() override { return marks; }
    void ShowRowValue(std::string_view code, int value) override {
        if (rows.count(std::string(code)))
            cells[std::string(code)] = value;
    }
    void SetRowChanged(std::string_view code, bool changed) override {
        if (rows.count(std::string(code)))
            green[std::string(code)] = changed;
    }
    void CheckRow(std::string_view code) override {
        if (rows.count(std::string(code)))
            checked.insert(std::string(code));
    }

    bool document = true;
    bool modified = false;
    std::map<std::string, int> values;
    ParamMarkTables marks;
    std::set<std::string> rows;
    std::map<std::string, int> cells;
    std::map<std::string, bool> green;
    std::set<std::string> checked;
};

} // namespace

TEST(TwinTable, SetsAndLookups) {
    int codes = 0;
    int digits = 0;
    for (const TwinSet& set : TwinParameters()) {
        codes += set.count;
        digits += set.digit;
    }
    EXPECT_EQ(TwinParameters().size(), 38u);
    EXPECT_EQ(codes, 83);
    EXPECT_EQ(digits, 3);

    EXPECT_EQ(TwinsOf("Sn212"), (std::vector<std::string>{"qn502", "tn859"}));
    EXPECT_EQ(TwinsOf("tn844"), (std::vector<std::string>{"Pn312", "qn507"}));
    EXPECT_TRUE(TwinsOf("Cn026").empty());

    EXPECT_EQ(TnTwinOfIndex(25), "tn855");
    EXPECT_EQ(TnTwinOfIndex(502), "tn859");
    EXPECT_EQ(TnTwinOfIndex(1406), "tn839");
    EXPECT_EQ(TnTwinOfIndex(1642), "tn830");
    EXPECT_EQ(TnTwinOfIndex(212), "") << "Sn reaches tn only through its qn twin";
    EXPECT_EQ(TnTwinOfIndex(26), "");

    EXPECT_EQ(TnTwinSource(58), "qn501");
    EXPECT_EQ(TnTwinSource(44), "qn507");
    EXPECT_EQ(TnTwinSource(39), "onS06");
    EXPECT_EQ(TnTwinSource(55), "Cn025");
    EXPECT_EQ(TnTwinSource(25), "");
    EXPECT_EQ(TnTwinSource(64), "");

    EXPECT_EQ(QnTripleTwin("Sn213"), "qn503");
    EXPECT_EQ(QnTripleTwin("Pn311"), "qn506");
    EXPECT_EQ(QnTripleTwin("qn505"), "Pn310");
    EXPECT_EQ(QnTripleTwin("Sn215"), "");
    EXPECT_EQ(QnTripleTwin("tn858"), "");
}

TEST(TwinTable, DigitTwinsCarryTheLowDigit) {
    struct Case {
        const char* from;
        const char* to;
        int value, present, expected;
    };
    for (const Case& c :
         {Case{"onS06", "tn839", 0x0127, 0, 7}, Case{"tn839", "onS06", 5, 0x0123, 0x0125},
          Case{"tn838", "onS11", 0xA, 0x1234, 0x123A}, Case{"onS07", "tn840", 0x0127, 0, 0x0127},
          Case{"Sn211", "qn501", -5, 9, -5}, Case{"onS06", "tn840", 0x0127, 0, 0x0127}})
        EXPECT_EQ(TwinTransferValue(c.from, c.to, c.value, c.present), c.expected) << c.from << "->" << c.to;
}

TEST(TwinRules, EditedSnReachesItsQnAndTnTwins) {
    FakeTwinHost host;
    host.rows = {"Sn212", "tn859"}; // qn502 is not shown
    TwinRules(host).ApplyEditedValue("Sn212", 30);
    for (const char* code : {"Sn212", "qn502", "tn859"}) {
        EXPECT_EQ(host.DocumentValue(code), 30) << code;
        EXPECT_EQ(host.marks.Get(ParamMarkTables::Changed, code), 1) << code;
        EXPECT_EQ(host.marks.Get(ParamMarkTables::Check, code), 1) << code;
    }
    EXPECT_EQ(host.cells, (std::map<std::string, int>{{"Sn212", 30}, {"tn859", 30}}));
    EXPECT_EQ(host.checked, (std::set<std::string>{"Sn212", "tn859"}));
    EXPECT_TRUE(host.green["tn859"]);
    EXPECT_TRUE(host.modified);
}

TEST(TwinRules, TnEditsAndDigitTwins) {
    FakeTwinHost host;
    host.rows = {"onS06", "tn839"};
    host.values["onS06"] = 0x0123;
    TwinRules rules(host);

    rules.StoreValueAndTwins("tn839", 5);
    EXPECT_EQ(host.DocumentValue("tn839"), 5);
    EXPECT_EQ(host.DocumentValue("onS06"), 0x0125);
    EXPECT_EQ(host.cells["onS06"], 0x0125);
    EXPECT_EQ(host.marks.Get(ParamMarkTables::Changed, "onS06"), 1);

    rules.StoreValueAndTwins("onS06", 0x0127);
    EXPECT_EQ(host.DocumentValue("tn839"), 7);
    EXPECT_EQ(host.cells["tn839"], 7);

    rules.StoreValueAndTwins("tn858", 44);
    EXPECT_EQ(host.DocumentValue("qn501"), 44);
    EXPECT_EQ(host.DocumentValue("Sn211"), 44);

    FakeTwinHost lone;
    TwinRules(lone).StoreValueAndTwins("Cn026", 3);
    EXPECT_EQ(lone.values, (std::map<std::string, int>{{"Cn026", 3}}))
        << "a code without twins changes nothing else";
}

TEST(TwinRules, ReadValueClearsTheTwinsMarks) {
    FakeTwinHost host;
    host.rows = {"qn506", "tn863", "tn841"};
    host.marks.Set(ParamMarkTables::Changed, "qn506", 1);
    host.marks.Set(ParamMarkTables::Changed, "tn863", 1);
    host.values["onS08"] = 0x0456;
    TwinRules rules(host);

    rules.CopyValueToTwins("Pn311", 12);
    for (const char* code : {"qn506", "tn863"}) {
        EXPECT_EQ(host.DocumentValue(code), 12) << code;
        EXPECT_EQ(host.marks.Get(ParamMarkTables::Changed, code), 0) << code;
        EXPECT_EQ(host.cells[code], 12) << code;
        EXPECT_FALSE(host.green[code]) << code;
    }
    EXPECT_TRUE(host.checked.empty()) << "a read checks no rows";

    rules.CopyValueToTwins("onS08", 0x0459);
    EXPECT_EQ(host.DocumentValue("tn841"), 9);
    EXPECT_EQ(host.cells["tn841"], 9) << "the row shows the twin's own value";
    rules.CopyValueToTwins("tn841", 3);
    EXPECT_EQ(host.DocumentValue("onS08"), 0x0453);

    rules.MarkTwinRows("Pn311", 1);
    EXPECT_EQ(host.marks.Get(ParamMarkTables::Changed, "qn506"), 1);
    EXPECT_TRUE(host.green["tn863"]);
    EXPECT_EQ(host.marks.Get(ParamMarkTables::Changed, "Pn311"), 0);
}

TEST(TwinRules, NothingChangesWithoutADocument) {
    FakeTwinHost host;
    host.document = false;
    TwinRules rules(host);
    rules.StoreValueAndTwins("Sn212", 4);
    rules.CopyValueToTwins("Sn212", 4);
    EXPECT_TRUE(host.values.empty());
    EXPECT_FALSE(host.modified);
}

TEST(MarkTables, SlotsByCode) {
    struct Case {
        const char* code;
        int slot;
    };
    for (const Case& c :
         {Case{"Cn001", 0},  Case{"Tn118", 1},  Case{"Sn229", 2},  Case{"Pn385", 3},  Case{"qn507", 4},
          Case{"Hn624", 5},  Case{"Pn401", 7},  Case{"En724", 8},  Case{"tn863", 9},  Case{"onT24", 10},
          Case{"onS18", 11}, Case{"ond02", 12}, Case{"onC69", 13}, Case{"ono26", 14}, Case{"onA38", 15},
          Case{"onE17", 16}, Case{"EC934", 17}, Case{"MAb16", 18}, Case{"Un-05", -1}, Case{"", -1},
          Case{"Zz001", -1}})
        EXPECT_EQ(MarkSlotOfCode(c.code), c.slot) << c.code;

    ParamMarkTables marks;
    marks.Set(ParamMarkTables::OverRange, "EC905", 1);
    marks.Set(ParamMarkTables::OverRange, "Un-05", 1); // ignored
    EXPECT_EQ(marks.overRange[17][5], 1);
    EXPECT_EQ(marks.Get(ParamMarkTables::OverRange, "En705"), 0);
    marks.Clear();
    EXPECT_EQ(marks, ParamMarkTables{});
}

TEST(RowServices, CellTextsAreCutTo19Characters) {
    CatalogueContext context;
    context.seriesCode = 4;
    const StringLoader longText = [](int) { return std::string(40, 'u'); };
    for (const char* code : {"Cn005", "Cn007", "Pn301", "Un-05", "onC10", "tn830"}) {
        const std::string value = FormatParamValue(code, -123456789, context);
        const std::string unit = ParamUnitText(code, context, longText);
        EXPECT_EQ(RowValueText(code, -123456789, context), value.substr(0, 19)) << code;
        EXPECT_EQ(RowUnitText(code, context, longText), unit.substr(0, 19)) << code;
    }
}

TEST(RowServices, FindRowAndHnRows) {
    const std::vector<std::string> rows = {"Cn001", "Hn601", "Hn624", "Sn212", "Hn600", "Hn6"};
    EXPECT_EQ(FindRowByCode(rows, "Sn212"), 3);
    EXPECT_EQ(FindRowByCode(rows, "Hn6"), 1) << "partial match from the top";
    EXPECT_EQ(FindRowByCode(rows, "Pn301"), -1);
    EXPECT_EQ(FindRowByCode(rows, ""), -1);

    bool complete = true;
    EXPECT_EQ(HnRowsToRewrite(rows, &complete), (std::vector<int>{1, 2}));
    EXPECT_FALSE(complete) << "the short code ends the walk";
    EXPECT_EQ(HnRowsToRewrite({"Hn601", "Cn002"}, &complete), (std::vector<int>{0}));
    EXPECT_TRUE(complete);
}
