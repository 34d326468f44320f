#include "shell/PrintPlan.h"

#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamCode.h"
#include "framework/core/Format.h"

#include <optional>

const std::array<PrintGroupSpec, PrintGroupCount> PrintGroups{{
    {1, 99},
    {101, 118},
    {201, 229},
    {301, 385},
    {401, 499},
    {501, 507},
    {601, 624},
    {701, 724},
    {801, 863},
    {901, 934},
    {2101, 2116},
}};

namespace {
// A segment's title and column headings take two rows of a page's budget.
constexpr int kHeadingRows = 2;
constexpr int kMaxTitleLength = 35;

constexpr int kTableLeft = 20;
constexpr int kTableRight = 790;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kValueColour = RGB(0, 0, 255);
constexpr COLORREF kDefaultColour = RGB(255, 0, 0);

int GroupHundreds(int group) {
    return PrintGroups[group].first / 100 * 100;
}

struct Pen {
    PrintPageDrawing& d;
    void Text(std::string text, int x, int y, PrintFont font, PrintAlign align = PrintAlign::Left,
              COLORREF colour = kBlack) {
        d.texts.push_back({std::move(text), CPoint(x, y), font, align, colour});
    }
    void Line(int x1, int y1, int x2, int y2, bool thick) {
        d.lines.push_back({CPoint(x1, y1), CPoint(x2, y2), thick});
    }
    void Rule(int y, bool thick) { Line(kTableLeft, y, kTableRight, y, thick); }
};

// One segment under the running y, which it moves down past itself.
void LayoutSegment(Pen& pen, const PrintSegment& segment, const PrintPageContext& context, int& y) {
    const PrintFontHeights& h = context.heights;
    pen.Text(ParamGroupTitle(ParamCodeFromIndex(PrintGroups[segment.group].first)), 30, y,
             PrintFont::GroupTitle);
    y -= h.groupTitle + 4;
    pen.Rule(y, true);
    y -= 2;

    static constexpr struct {
        const char* text;
        int x;
    } kHeadings[] = {{"Code", 30},  {"Parameter Name", 90}, {"Value", 360},
                     {"Unit", 450}, {"Setting Range", 540}, {"Default", 720}};
    for (const auto& heading : kHeadings)
        pen.Text(heading.text, heading.x, y, PrintFont::Table);
    const int headingsY = y;
    y -= h.table + 4;
    pen.Rule(y, true);
    y -= 2;

    for (std::size_t row = 0; row < segment.indexes.size(); ++row) {
        const int index = segment.indexes[row];
        const PrintRowTexts texts = context.rows ? context.rows(index) : PrintRowTexts{};
        pen.Text(texts.code, 30, y, PrintFont::Table);
        pen.Text(PrintTitleText(texts.title), 90, y, PrintFont::Name);
        // The value's colour stays set for the unit and range, until the default sets its own.
        pen.Text(texts.value, 434, y, PrintFont::Table, PrintAlign::Right, kValueColour);
        pen.Text(texts.unit, 450, y, PrintFont::Table, PrintAlign::Left, kValueColour);
        pen.Text(texts.range, 540, y, PrintFont::Table, PrintAlign::Left, kValueColour);
        pen.Text(texts.defaultValue, 782, y, PrintFont::Table, PrintAlign::Right, kDefaultColour);
        y -= h.table + 4;
        const bool last = row + 1 == segment.indexes.size() || index == PrintGroups[segment.group].last;
        pen.Rule(y, last);
        y -= 2;
    }

    y += 2;
    static constexpr struct {
        int x;
        bool thick;
    } kColumns[] = {{20, true},   {80, false},  {350, false}, {440, false},
                    {530, false}, {710, false}, {790, true}};
    for (const auto& column : kColumns)
        pen.Line(column.x, headingsY + 1, column.x, y, column.thick);
    y -= 2;
}
} // namespace

PrintTables PrintedIndexes(const CatalogueContext& context) {
    PrintTables tables;
    for (int g = 0; g < PrintGroupCount; ++g)
        for (int index = PrintGroups[g].first; index <= PrintGroups[g].last; ++index)
            if (ParamInSeries(ParamCodeFromIndex(index), context))
                tables[g].push_back(index);
    return tables;
}

PrintRowSource DocumentPrintRows(CKeloServoDoc& doc, StringLoader load) {
    return [&doc, load = std::move(load)](int index) {
        const CatalogueContext context = doc.Context();
        PrintRowTexts row;
        row.code = ParamCodeFromIndex(index);
        row.title = ParamTitle(row.code, load);
        row.unit = ParamUnitText(row.code, context, load);
        const int* value = doc.FindValue(row.code);
        const int* defaultValue = doc.FindDefault(row.code);
        const int* minimum = doc.FindMinimum(row.code);
        const int* maximum = doc.FindMaximum(row.code);
        if (value)
            row.value = FormatParamValue(row.code, *value, context);
        if (defaultValue)
            row.defaultValue = FormatParamValue(row.code, *defaultValue, context);
        if (minimum && maximum)
            row.range = ParamRangeText(row.code, *minimum, *maximum, context);
        return row;
    };
}

std::vector<PrintPage> BuildPrintPlan(const PrintTables& tables) {
    std::vector<PrintPage> plan(1);
    std::size_t page = 0;
    int counter = kHeadingRows;
    int pageEnd = PrintRowsPerPage;
    std::optional<PrintSegment> open;
    auto close = [&] {
        if (plan.size() <= page)
            plan.resize(page + 1);
        plan[page].push_back(std::move(*open));
        open.reset();
    };
    auto nextPage = [&] {
        ++page;
        counter = pageEnd + kHeadingRows;
        pageEnd += PrintRowsPerPage;
    };
    for (int g = 0; g < PrintGroupCount; ++g) {
        for (int index : tables[g]) {
            if (!open)
                open = PrintSegment{g, index - GroupHundreds(g) - 1, {}};
            open->indexes.push_back(index);
            if (++counter >= pageEnd) {
                close();
                nextPage();
            }
        }
        if (open)
            close();
        counter += kHeadingRows;
        if (counter >= pageEnd)
            nextPage();
    }
    return plan;
}

int PrintPageCount(const std::vector<PrintPage>& plan) {
    return plan.empty() ? 1 : static_cast<int>(plan.size());
}

std::string PrintHeaderText(int seriesCode) {
    const char* model = seriesCode == 2 ? "ZR3" : seriesCode == 3 ? "YLT2" : "----";
    return std::string("Kelo Servo") + " -- " + model + " " + "Parameter List";
}

std::string PrintFooterLeftText(const std::string& documentTitle, int seriesCode) {
    if (!documentTitle.empty())
        return documentTitle;
    switch (seriesCode) {
    case 2:
    case 3:
        return "KeloServo(ZR3) V0.1.241104";
    case 4:
        return "KeloServo(ZR3-E) V0.1.260416";
    case 5:
        return "KeloServo(ZR3-EL)2022 V0.1.260416";
    case 6:
        return "KeloServo(UK3) V0.1.260416";
    case 7:
        return "KeloServo(YM3) V0.1.260416";
    case 8:
        return "KeloServo(YM3-E) V0.1.260416";
    case 9:
        return "KeloServo(YM2N-E)2022 V0.1.260416";
    default:
        return std::string();
    }
}

std::string PrintPageText(int page, int pageCount) {
    return Format("Page: %d / %d", page, pageCount);
}

std::string PrintTitleText(const std::string& title) {
    if (static_cast<int>(title.size()) <= kMaxTitleLength)
        return title;
    return title.substr(0, kMaxTitleLength - 1) + "...";
}

PrintPageDrawing LayoutPrintPage(const std::vector<PrintPage>& plan, int page,
                                 const PrintPageContext& context) {
    PrintPageDrawing drawing;
    Pen pen{drawing};
    const CRect& area = context.area;
    const int hh = context.heights.header;

    pen.Text(PrintHeaderText(context.seriesCode), 50, area.top - 30, PrintFont::Header);
    const int headerLineY = area.top - 30 - hh - 3;
    pen.Line(30, headerLineY, area.right, headerLineY, false);

    int y = headerLineY - 2 * hh + 25;
    if (page >= 1 && page <= static_cast<int>(plan.size()))
        for (const PrintSegment& segment : plan[page - 1])
            LayoutSegment(pen, segment, context, y);

    pen.Line(30, area.bottom + 30, area.right, area.bottom + 30, false);
    pen.Text(PrintFooterLeftText(context.documentTitle, context.seriesCode), 30, area.bottom + 28,
             PrintFont::Footer);
    pen.Text(PrintPageText(page, PrintPageCount(plan)), area.right, area.bottom + 28, PrintFont::Footer,
             PrintAlign::Right);
    return drawing;
}
