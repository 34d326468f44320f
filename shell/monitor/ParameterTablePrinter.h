#pragma once
// Printing of the document's parameter tables: what the view's printing hooks call. The plan
// (PrintPlan.h) decides which parameters go on which page and gives the page count; this draws one
// page of it on a printer DC in the low-English mapping mode (0.01 inch, y growing upward) with the
// tables' fonts and pens.
#include "framework/ui/Gdi.h"
#include "shell/PrintPlan.h"

#include <array>
#include <vector>

class CDC;
struct CPrintInfo;

// The scale (at most 1) at which a laid-out page fits its area: its tables ending above the footer.
double PrintPageFit(const PrintPageDrawing& drawing, const CRect& area);

class CParameterTablePrinter {
public:
    // Makes the fonts and pens, kept for the printer's life.
    CParameterTablePrinter();

    // OnPrepareDC: a printing DC gets the low-English mapping mode.
    static void PrepareDC(CDC* dc);
    // OnPreparePrinting: the plan of the series' tables and its page count, which also becomes the
    // job's last page. Returns the page count.
    int PreparePrinting(const CatalogueContext& context, CPrintInfo* info);
    // The same from tables already chosen.
    int PreparePlan(const PrintTables& tables);

    // OnPrint: header, footer and tables of info's current page, within info's drawing rectangle.
    void PrintCurrentPage(CDC* dc, CPrintInfo* info, int seriesCode, const std::string& documentTitle,
                          const PrintRowSource& rows);
    // The same for page `page` (1-based) within `area` (logical units).
    void DrawPage(CDC* dc, int page, const CRect& area, int seriesCode, const std::string& documentTitle,
                  const PrintRowSource& rows);

    const std::vector<PrintPage>& Plan() const { return m_plan; }
    // Kept as a 16-bit count, as the footer and the print dialog use it.
    unsigned short PageCount() const { return m_pageCount; }

private:
    PrintPageDrawing Layout(CDC* dc, int page, const CRect& area, int seriesCode,
                            const std::string& documentTitle, const PrintRowSource& rows);
    CFont& FontOf(PrintFont font);
    int HeightOf(CDC* dc, PrintFont font);

    std::array<CFont, 5> m_fonts; // in PrintFont order
    CPen m_thinPen;
    CPen m_thickPen;
    std::vector<PrintPage> m_plan;
    unsigned short m_pageCount = 1;
};
