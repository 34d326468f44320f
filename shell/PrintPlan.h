#pragma once
// Printing of the parameter tables as pure data: which parameters each printed page holds (the page
// plan, which grows with the tables and gives the page count), the header and footer texts, and
// every text and ruling line of a page in the printer's logical units (0.01 inch, y growing upward).
// The view's printing draws what this returns.
#include "catalogue/CatalogueContext.h"
#include "catalogue/ParamTexts.h"
#include "framework/core/Geometry.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

class CKeloServoDoc;

struct PrintGroupSpec {
    int first; // global index of the group's first printable parameter
    int last;  // and of its last; the segment's title is the printed name of the group (ParamGroupTitle)
};
constexpr int PrintGroupCount = 11;
// Cn, Tn, Sn, Pn 3xx, Pn 4xx, qn, Hn, En, tn, EC, MAb, in the printed order.
extern const std::array<PrintGroupSpec, PrintGroupCount> PrintGroups;

constexpr int PrintRowsPerPage = 51;

// Per printed group, the global indexes that exist in the series, ascending.
using PrintTables = std::array<std::vector<int>, PrintGroupCount>;
PrintTables PrintedIndexes(const CatalogueContext& context);

struct PrintSegment {
    int group = 0;            // row of PrintGroups
    int startOffset = 0;      // offset from the group's hundreds of the index before the first row
    std::vector<int> indexes; // the rows, in order
    bool operator==(const PrintSegment&) const = default;
};
using PrintPage = std::vector<PrintSegment>;

// Pages in order, each with its segments (at least one page, which is empty for empty tables). A page
// holds 51 rows: each segment takes two for its title and column headings, one per parameter; a
// group that runs over a page continues on the next one under its repeated title.
std::vector<PrintPage> BuildPrintPlan(const PrintTables& tables);
// The page count that the footer and the print dialog use: the pages of the plan.
int PrintPageCount(const std::vector<PrintPage>& plan);

// "Kelo Servo -- ZR3 Parameter List" (YLT2 for series 3, "----" for series other than 2 and 3).
std::string PrintHeaderText(int seriesCode);
// The document's title; when it is empty, the program version text of the series.
std::string PrintFooterLeftText(const std::string& documentTitle, int seriesCode);
// "Page: 1 / 3".
std::string PrintPageText(int page, int pageCount);
// A title of more than 35 characters is cut to 34 and "...".
std::string PrintTitleText(const std::string& title);

enum class PrintFont { Header, Footer, GroupTitle, Table, Name };
enum class PrintAlign { Left, Right };

struct PrintText {
    std::string text;
    CPoint at; // left or right end of the text's top line, as align says
    PrintFont font;
    PrintAlign align;
    COLORREF colour;
    bool operator==(const PrintText&) const = default;
};

struct PrintLine {
    CPoint from;
    CPoint to;
    bool thick; // 2 units wide; else 1
    bool operator==(const PrintLine&) const = default;
};

struct PrintPageDrawing {
    std::vector<PrintText> texts;
    std::vector<PrintLine> lines;
};

// Heights of the header, group title and table fonts as the printer measured them.
struct PrintFontHeights {
    int header = 16;
    int groupTitle = 16;
    int table = 14;
};

// What a row shows for a parameter index.
struct PrintRowTexts {
    std::string code;
    std::string title;
    std::string value;
    std::string unit;
    std::string range;
    std::string defaultValue;
};
using PrintRowSource = std::function<PrintRowTexts(int index)>;

// Rows from the document: its current value and default in the parameter's format, the title from
// the string table, unit and range as the catalogue gives them for the document's drive.
PrintRowSource DocumentPrintRows(CKeloServoDoc& doc, StringLoader load);

struct PrintPageContext {
    CRect area; // the page's drawing rectangle (logical units; bottom below top, so smaller)
    PrintFontHeights heights;
    int seriesCode = 0;
    std::string documentTitle;
    PrintRowSource rows;
};

// Header, footer and tables of page `page` (1-based) of the plan.
PrintPageDrawing LayoutPrintPage(const std::vector<PrintPage>& plan, int page,
                                 const PrintPageContext& context);
