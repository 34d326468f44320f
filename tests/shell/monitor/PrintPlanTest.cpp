#include "shell/PrintPlan.h"

#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamCode.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

// Tables holding the first `count` indexes of the given groups.
PrintTables Tables(std::initializer_list<std::pair<int, int>> groupCounts) {
    PrintTables tables;
    for (auto [group, count] : groupCounts)
        for (int i = 0; i < count; ++i)
            tables[group].push_back(PrintGroups[group].first + i);
    return tables;
}

PrintTables EveryParameter() {
    PrintTables tables;
    for (int g = 0; g < PrintGroupCount; ++g)
        for (int index = PrintGroups[g].first; index <= PrintGroups[g].last; ++index)
            tables[g].push_back(index);
    return tables;
}

int RowsOf(const PrintPage& page) {
    return std::accumulate(page.begin(), page.end(), 0, [](int rows, const PrintSegment& s) {
        return rows + 2 + static_cast<int>(s.indexes.size());
    });
}

TEST(PrintPlan, AGroupRunsOnUnderARepeatedTitle) {
    // 49 rows and the title with its headings fill a page of 51.
    const std::vector<PrintPage> exact = BuildPrintPlan(Tables({{0, 49}}));
    ASSERT_EQ(exact.size(), 1u);
    EXPECT_EQ(PrintPageCount(exact), 1);

    const std::vector<PrintPage> plan = BuildPrintPlan(Tables({{0, 50}, {1, 3}}));
    ASSERT_EQ(plan.size(), 2u);
    ASSERT_EQ(plan[0].size(), 1u);
    EXPECT_EQ(plan[0][0].indexes.size(), 49u);
    EXPECT_EQ(plan[0][0].startOffset, 0);
    ASSERT_EQ(plan[1].size(), 2u);
    EXPECT_EQ(plan[1][0], (PrintSegment{0, 49, {50}}));
    EXPECT_EQ(plan[1][1], (PrintSegment{1, 0, {101, 102, 103}}));
}

TEST(PrintPlan, AGroupThatDoesNotFitTheRestOfAPageStillStartsThere) {
    // 47 rows leave two rows, just the next group's title and headings: it moves to the next page.
    const std::vector<PrintPage> moved = BuildPrintPlan(Tables({{0, 47}, {1, 5}}));
    ASSERT_EQ(moved.size(), 2u);
    ASSERT_EQ(moved[1].size(), 1u);
    EXPECT_EQ(moved[1][0], (PrintSegment{1, 0, {101, 102, 103, 104, 105}}));

    // 46 rows leave room for the title, headings and one row of the next group.
    const std::vector<PrintPage> split = BuildPrintPlan(Tables({{0, 46}, {1, 5}}));
    ASSERT_EQ(split.size(), 2u);
    ASSERT_EQ(split[0].size(), 2u);
    EXPECT_EQ(split[0][1], (PrintSegment{1, 0, {101}}));
    EXPECT_EQ(split[1][0], (PrintSegment{1, 1, {102, 103, 104, 105}}));

    // A group the series lacks still takes its two heading rows, as the page plan always did.
    const std::vector<PrintPage> gap = BuildPrintPlan(Tables({{0, 46}, {2, 5}}));
    ASSERT_EQ(gap.size(), 2u);
    EXPECT_EQ(gap[0].size(), 1u);
    EXPECT_EQ(gap[1][0], (PrintSegment{2, 0, {201, 202, 203, 204, 205}}));
}

TEST(PrintPlan, LongTablesGetEveryPageAndTheRightPageCount) {
    const PrintTables tables = EveryParameter();
    const std::vector<PrintPage> plan = BuildPrintPlan(tables);
    ASSERT_GT(plan.size(), 10u);

    // Every parameter is printed once, in order; no page holds more than its 51 rows.
    std::vector<int> printed;
    for (const PrintPage& page : plan) {
        EXPECT_FALSE(page.empty());
        EXPECT_LE(RowsOf(page), PrintRowsPerPage);
        for (const PrintSegment& segment : page)
            printed.insert(printed.end(), segment.indexes.begin(), segment.indexes.end());
    }
    std::vector<int> all;
    for (const std::vector<int>& group : tables)
        all.insert(all.end(), group.begin(), group.end());
    EXPECT_EQ(printed, all);

    const int count = PrintPageCount(plan);
    EXPECT_EQ(count, static_cast<int>(plan.size()));
    PrintPageContext context;
    context.area = CRect(0, 0, 800, -1050);
    const PrintPageDrawing last = LayoutPrintPage(plan, count, context);
    EXPECT_EQ(last.texts.back().text, "Page: " + std::to_string(count) + " / " + std::to_string(count));
    EXPECT_EQ(LayoutPrintPage(plan, 11, context).texts.back().text, "Page: 11 / " + std::to_string(count));
    EXPECT_EQ(PrintPageText(1, 3), "Page: 1 / 3");
}

TEST(PrintPlan, PrintsWhatTheSeriesHas) {
    CatalogueContext context;
    context.seriesCode = 4;
    const PrintTables tables = PrintedIndexes(context);
    for (int g = 0; g < PrintGroupCount; ++g)
        for (int index : tables[g])
            EXPECT_TRUE(ParamInSeries(ParamCodeFromIndex(index), context)) << index;
    EXPECT_FALSE(tables[0].empty());
    EXPECT_GE(PrintPageCount(BuildPrintPlan(tables)), 2);
    EXPECT_EQ(PrintPageCount(BuildPrintPlan(PrintTables{})), 1);
}

TEST(PrintPlan, RowsShowTheDocumentsValueAndDefault) {
    CKeloServoDoc doc;
    const int number = 25;
    doc.Value(DocCn, number) = doc.Default(DocCn, number) + 1;
    const StringLoader load = [](int id) { return "title " + std::to_string(id); };
    const PrintRowTexts row = DocumentPrintRows(doc, load)(number);
    const CatalogueContext context = doc.Context();
    EXPECT_EQ(row.code, "Cn025");
    EXPECT_EQ(row.title, ParamTitle("Cn025", load));
    EXPECT_EQ(row.value, FormatParamValue("Cn025", doc.Value(DocCn, number), context));
    EXPECT_EQ(row.defaultValue, FormatParamValue("Cn025", doc.Default(DocCn, number), context));
    EXPECT_NE(row.value, row.defaultValue);
    EXPECT_EQ(row.range,
              ParamRangeText("Cn025", doc.Minimum(DocCn, number), doc.Maximum(DocCn, number), context));
}

TEST(PrintPlan, HeaderFooterAndTitleTexts) {
    EXPECT_EQ(PrintHeaderText(2), "Kelo Servo -- ZR3 Parameter List");
    EXPECT_EQ(PrintHeaderText(3), "Kelo Servo -- YLT2 Parameter List");
    EXPECT_EQ(PrintHeaderText(4), "Kelo Servo -- ---- Parameter List");
    EXPECT_EQ(PrintFooterLeftText("motor.zpf", 4), "motor.zpf");
    EXPECT_EQ(PrintFooterLeftText("", 3), "KeloServo(ZR3) V0.1.241104");
    EXPECT_EQ(PrintFooterLeftText("", 9), "KeloServo(YM2N-E)2022 V0.1.260416");
    EXPECT_EQ(PrintFooterLeftText("", 10), "");
    const std::string t35(35, 'a');
    EXPECT_EQ(PrintTitleText(t35), t35);
    EXPECT_EQ(PrintTitleText(t35 + "b"), std::string(34, 'a') + "...");
}

TEST(PrintPlan, PageLayoutRulesTheGroupTable) {
    const std::vector<PrintPage> plan = BuildPrintPlan(Tables({{0, 2}}));
    PrintPageContext context;
    context.area = CRect(0, 0, 800, -1050);
    context.seriesCode = 2;
    context.rows = [](int index) {
        return PrintRowTexts{ParamCodeFromIndex(index), "A title", "12", "ms", "0~100", "5"};
    };
    const PrintPageDrawing d = LayoutPrintPage(plan, 1, context);

    // Header at the top, its rule 3 below the header font; the table starts further down.
    EXPECT_EQ(d.texts[0], (PrintText{"Kelo Servo -- ZR3 Parameter List", CPoint(50, -30), PrintFont::Header,
                                     PrintAlign::Left, RGB(0, 0, 0)}));
    EXPECT_EQ(d.lines[0], (PrintLine{CPoint(30, -49), CPoint(800, -49), false}));
    EXPECT_EQ(d.texts[1].text, "Control Parameter");
    EXPECT_EQ(d.texts[1].at, CPoint(30, -56));
    EXPECT_EQ(d.lines[1], (PrintLine{CPoint(20, -76), CPoint(790, -76), true}));
    EXPECT_EQ(d.texts[2].at, CPoint(30, -78)); // "Code"
    EXPECT_EQ(d.lines[2], (PrintLine{CPoint(20, -96), CPoint(790, -96), true}));

    // First row: code, cut title, value right-aligned in blue, default in red; a thin rule below.
    EXPECT_EQ(d.texts[8],
              (PrintText{"Cn001", CPoint(30, -98), PrintFont::Table, PrintAlign::Left, RGB(0, 0, 0)}));
    EXPECT_EQ(d.texts[10],
              (PrintText{"12", CPoint(434, -98), PrintFont::Table, PrintAlign::Right, RGB(0, 0, 255)}));
    EXPECT_EQ(d.texts[13],
              (PrintText{"5", CPoint(782, -98), PrintFont::Table, PrintAlign::Right, RGB(255, 0, 0)}));
    EXPECT_EQ(d.lines[3], (PrintLine{CPoint(20, -116), CPoint(790, -116), false}));
    EXPECT_EQ(d.lines[4], (PrintLine{CPoint(20, -136), CPoint(790, -136), true})); // the segment's last row
    // Column rules from just above the headings down to the last rule.
    EXPECT_EQ(d.lines[5], (PrintLine{CPoint(20, -77), CPoint(20, -136), true}));
    EXPECT_EQ(d.lines[6], (PrintLine{CPoint(80, -77), CPoint(80, -136), false}));
    EXPECT_EQ(d.lines[11], (PrintLine{CPoint(790, -77), CPoint(790, -136), true}));

    // Footer.
    EXPECT_EQ(d.lines.back(), (PrintLine{CPoint(30, -1020), CPoint(800, -1020), false}));
    const PrintText& left = d.texts[d.texts.size() - 2];
    EXPECT_EQ(left, (PrintText{"KeloServo(ZR3) V0.1.241104", CPoint(30, -1022), PrintFont::Footer,
                               PrintAlign::Left, RGB(0, 0, 0)}));
    EXPECT_EQ(d.texts.back(), (PrintText{"Page: 1 / 1", CPoint(800, -1022), PrintFont::Footer,
                                         PrintAlign::Right, RGB(0, 0, 0)}));
}

} // namespace
