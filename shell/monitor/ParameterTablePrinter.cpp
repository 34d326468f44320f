#include "shell/monitor/ParameterTablePrinter.h"

#include "framework/ui/DC.h"
#include "framework/ui/Print.h"

#include <algorithm>
#include <cstdio>

namespace {
struct FontSpec {
    const char* face;
    int height; // character height, 0.01 inch
    int weight;
};
// Header, footer, group title, table, name: the order of PrintFont.
constexpr FontSpec kFontSpecs[] = {
    {"Arial", 16, FW_BOLD},         {"Arial", 12, FW_NORMAL},           {"Courier New", 16, FW_BOLD},
    {"Courier New", 14, FW_NORMAL}, {"Times New Roman", 14, FW_NORMAL},
};
constexpr std::uint8_t kPitchAndFamily = 32;
constexpr int kFooterRuleOffset = 30; // the footer's rule lies this far above the page's bottom
constexpr int kFooterGap = 6;         // room between the tables and the footer's rule
} // namespace

double PrintPageFit(const PrintPageDrawing& drawing, const CRect& area) {
    // The footer's rule; the tables must end above it.
    const int footerY = area.bottom + kFooterRuleOffset;
    int lowest = area.top;
    for (const PrintLine& line : drawing.lines) {
        if (line.from.y == footerY && line.to.y == footerY)
            continue;
        lowest = std::min({lowest, line.from.y, line.to.y});
    }
    const int needed = area.top - lowest + kFooterRuleOffset + kFooterGap;
    const int height = area.top - area.bottom;
    return needed <= height ? 1.0 : static_cast<double>(height) / needed;
}

CParameterTablePrinter::CParameterTablePrinter() {
    for (std::size_t i = 0; i < m_fonts.size(); ++i) {
        LOGFONT font;
        font.lfHeight = -kFontSpecs[i].height;
        font.lfWeight = kFontSpecs[i].weight;
        font.lfPitchAndFamily = kPitchAndFamily;
        std::snprintf(font.lfFaceName, sizeof font.lfFaceName, "%s", kFontSpecs[i].face);
        m_fonts[i].CreateFontIndirect(&font);
    }
    m_thinPen.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    m_thickPen.CreatePen(PS_SOLID, 2, RGB(0, 0, 0));
}

void CParameterTablePrinter::PrepareDC(CDC* dc) {
    if (dc && dc->IsPrinting())
        dc->SetMapMode(MM_LOENGLISH);
}

int CParameterTablePrinter::PreparePlan(const PrintTables& tables) {
    m_plan = BuildPrintPlan(tables);
    m_pageCount = static_cast<unsigned short>(PrintPageCount(m_plan));
    return m_pageCount;
}

int CParameterTablePrinter::PreparePrinting(const CatalogueContext& context, CPrintInfo* info) {
    const int count = PreparePlan(PrintedIndexes(context));
    if (info)
        info->SetMaxPage(static_cast<UINT>(count));
    return count;
}

CFont& CParameterTablePrinter::FontOf(PrintFont font) {
    return m_fonts[static_cast<std::size_t>(font)];
}

int CParameterTablePrinter::HeightOf(CDC* dc, PrintFont font) {
    CFont* old = dc->SelectObject(&FontOf(font));
    TEXTMETRIC metrics;
    dc->GetTextMetrics(&metrics);
    dc->SelectObject(old);
    return metrics.tmHeight;
}

void CParameterTablePrinter::PrintCurrentPage(CDC* dc, CPrintInfo* info, int seriesCode,
                                              const std::string& documentTitle, const PrintRowSource& rows) {
    if (!dc || !info)
        return;
    DrawPage(dc, static_cast<int>(info->m_nCurPage), info->m_rectDraw, seriesCode, documentTitle, rows);
}

PrintPageDrawing CParameterTablePrinter::Layout(CDC* dc, int page, const CRect& area, int seriesCode,
                                                const std::string& documentTitle,
                                                const PrintRowSource& rows) {
    PrintPageContext context;
    context.area = area;
    context.heights.header = HeightOf(dc, PrintFont::Header);
    context.heights.groupTitle = HeightOf(dc, PrintFont::GroupTitle);
    context.heights.table = HeightOf(dc, PrintFont::Table);
    context.seriesCode = seriesCode;
    context.documentTitle = documentTitle;
    context.rows = rows;
    return LayoutPrintPage(m_plan, page, context);
}

void CParameterTablePrinter::DrawPage(CDC* dc, int page, const CRect& area, int seriesCode,
                                      const std::string& documentTitle, const PrintRowSource& rows) {
    PrintPageDrawing drawing = Layout(dc, page, area, seriesCode, documentTitle, rows);
    // A page holds 51 rows whatever the paper; with the printer's font heights they may not fit
    // above the footer. Then the whole page is drawn smaller, so no row runs into the footer or
    // off the paper. (The DC is in the low-English mapping mode, as the view prepares it.)
    const double scale = PrintPageFit(drawing, area);
    const int saved = dc->SaveDC();
    if (scale < 1.0) {
        CPoint corners[2] = {area.TopLeft(), area.BottomRight()};
        dc->LPtoDP(corners, 2);
        const int dpiX = dc->GetDeviceCaps(LOGPIXELSX);
        const int dpiY = dc->GetDeviceCaps(LOGPIXELSY);
        constexpr int kUnits = 10000; // 100 inches of logical units, for a fine scale
        dc->SetMapMode(MM_ANISOTROPIC);
        dc->SetWindowExt(kUnits, kUnits);
        dc->SetViewportExt(static_cast<int>(dpiX * 100 * scale), -static_cast<int>(dpiY * 100 * scale));
        dc->DPtoLP(corners, 2);
        drawing = Layout(dc, page, CRect(corners[0].x, corners[0].y, corners[1].x, corners[1].y), seriesCode,
                         documentTitle, rows);
    }

    dc->SetBkMode(TRANSPARENT);

    for (const PrintLine& line : drawing.lines) {
        dc->SelectObject(line.thick ? &m_thickPen : &m_thinPen);
        dc->MoveTo(line.from);
        dc->LineTo(line.to);
    }
    for (const PrintText& text : drawing.texts) {
        dc->SelectObject(&FontOf(text.font));
        dc->SetTextColor(text.colour);
        dc->SetTextAlign((text.align == PrintAlign::Right ? TA_RIGHT : TA_LEFT) | TA_TOP);
        dc->TextOut(text.at.x, text.at.y, text.text);
    }

    // Pens, fonts, colours and the mapping as they were.
    dc->RestoreDC(saved);
}
