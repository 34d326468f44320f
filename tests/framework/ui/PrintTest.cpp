#include "framework/ui/Print.h"
#include "framework/core/MessageSeam.h"
#include "framework/ui/App.h"
#include "framework/ui/DC.h"
#include "tests/support/PdfPages.h"

#include <gtest/gtest.h>

#include <QPrinter>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

void EnsureApp() {
    EnsureQtApplication();
}

std::string TempPdf(const char* name) {
    return (std::filesystem::temp_directory_path() / (std::string("kelo-print-") + name + ".pdf")).string();
}

std::string ReadHead(const std::string& path, std::size_t n) {
    std::ifstream in(path, std::ios::binary);
    std::string head(n, '\0');
    in.read(head.data(), static_cast<std::streamsize>(n));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return head;
}

// The text pdftotext finds in the file; empty when it cannot tell.
std::string PdfText(const std::string& path) {
    const std::string command = "pdftotext '" + path + "' - 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return {};
    std::string text;
    std::array<char, 256> chunk{};
    while (fgets(chunk.data(), static_cast<int>(chunk.size()), pipe))
        text += chunk.data();
    pclose(pipe);
    return text;
}

// A small job in the printed-table style: low-English units, a header line and text per page.
PrintHooks TableHooks(std::vector<std::string>* calls) {
    PrintHooks hooks;
    hooks.beginPrinting = [calls](CDC* dc, CPrintInfo*) {
        calls->push_back("begin");
        EXPECT_TRUE(dc->IsPrinting());
    };
    hooks.prepareDC = [calls](CDC* dc, CPrintInfo* info) {
        calls->push_back("prepare " + std::to_string(info->m_nCurPage));
        dc->SetMapMode(MM_LOENGLISH);
    };
    hooks.print = [calls](CDC* dc, CPrintInfo* info) {
        calls->push_back("print " + std::to_string(info->m_nCurPage));
        // The drawing rectangle is the page in hundredths of an inch, y growing upward.
        EXPECT_EQ(info->m_rectDraw.top, 0);
        EXPECT_LT(info->m_rectDraw.bottom, -1000);
        EXPECT_GT(info->m_rectDraw.right, 700);
        CPen thin(PS_SOLID, 1, RGB(0, 0, 0));
        dc->SelectObject(&thin);
        dc->MoveTo(30, -60);
        dc->LineTo(info->m_rectDraw.right, -60);
        LOGFONT lf{};
        lf.lfHeight = -16;
        lf.lfWeight = FW_BOLD;
        std::strcpy(lf.lfFaceName, "Arial");
        CFont header;
        header.CreateFontIndirect(&lf);
        CFont* old = dc->SelectObject(&header);
        // Text is measured in hundredths of an inch on the printer as on any device.
        const CSize extent = dc->GetTextExtent("Kelo Servo");
        EXPECT_NEAR(extent.cy, 18, 3);
        EXPECT_GT(extent.cx, 60);
        EXPECT_LT(extent.cx, 120);
        dc->TextOut(50, -30, "Kelo Servo -- ---- Parameter List");
        dc->SelectObject(old);
    };
    hooks.endPrinting = [calls](CDC*, CPrintInfo*) { calls->push_back("end"); };
    return hooks;
}

TEST(PrintTest, PrintToPdfHoldsOnePage) {
    EnsureApp();
    const std::string path = TempPdf("one");
    std::filesystem::remove(path);
    auto printer = MakePdfPrinter(path);
    CPrintInfo info;
    info.SetMaxPage(1);
    std::vector<std::string> calls;
    EXPECT_EQ(PrintPages(*printer, info, TableHooks(&calls)), 1);
    printer.reset();
    EXPECT_EQ(ReadHead(path, 4), "%PDF");
    EXPECT_EQ(PdfPageCount(path), 1);
    EXPECT_NE(PdfText(path).find("Kelo Servo -- ---- Parameter List"), std::string::npos);
    EXPECT_EQ(calls, (std::vector<std::string>{"begin", "prepare 1", "print 1", "end"}));
    std::filesystem::remove(path);
}

TEST(PrintTest, PageRangeAndJobsOfUnknownLength) {
    EnsureApp();
    const std::string path = TempPdf("range");
    auto printer = MakePdfPrinter(path);
    CPrintInfo info;
    info.SetMaxPage(5);
    info.m_pPD->m_bPrintRange = true;
    info.m_pPD->m_nFromPage = 2;
    info.m_pPD->m_nToPage = 3;
    std::vector<std::string> calls;
    EXPECT_EQ(PrintPages(*printer, info, TableHooks(&calls)), 2);
    printer.reset();
    EXPECT_EQ(PdfPageCount(path), 2);
    EXPECT_EQ(calls[1], "prepare 2");

    // Unknown length: the job ends when the preparation clears the continue flag.
    printer = MakePdfPrinter(path);
    CPrintInfo open;
    PrintHooks hooks = TableHooks(&calls);
    hooks.prepareDC = [](CDC* dc, CPrintInfo* i) {
        dc->SetMapMode(MM_LOENGLISH);
        i->m_bContinuePrinting = i->m_nCurPage <= 3;
    };
    EXPECT_EQ(PrintPages(*printer, open, hooks), 3);
    printer.reset();
    EXPECT_EQ(PdfPageCount(path), 3);
    std::filesystem::remove(path);
}

TEST(PrintTest, UnwritablePdfFailsAndDialogsNeverBlock) {
    EnsureApp();
    auto printer = MakePdfPrinter("/nonexistent-folder/x.pdf");
    CPrintInfo info;
    info.SetMaxPage(1);
    std::vector<std::string> calls;
    EXPECT_EQ(PrintPages(*printer, info, TableHooks(&calls)), -1);
    EXPECT_TRUE(calls.empty());

    // Without a presenter a print dialog is cancelled; with one, it answers.
    PrintPresenter previous = SetPrintPresenter({});
    CPrintDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    PrintPresenter scripted;
    scripted.dialog = [](CPrintDialog& d, QPrinter&) {
        d.m_bPrintRange = true;
        d.m_nFromPage = d.m_nToPage = 2;
        return IDOK;
    };
    SetPrintPresenter(scripted);
    CPrintInfo chosen;
    chosen.SetMaxPage(4);
    EXPECT_EQ(chosen.m_pPD->DoModal(), IDOK);
    EXPECT_EQ(chosen.GetFromPage(), 2u);
    EXPECT_EQ(chosen.GetToPage(), 2u);
    SetPrintPresenter(previous);
}

} // namespace
