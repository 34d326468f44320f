// Printing of the parameter tables to a PDF file: every page of a job longer than ten pages is
// printed with its "Page n / m", checked with poppler's tools on the file.
#include "catalogue/DocumentGlobals.h"
#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamCode.h"
#include "framework/core/Format.h"
#include "framework/ui/App.h"
#include "framework/ui/DC.h"
#include "framework/ui/Print.h"
#include "shell/monitor/ParameterTablePrinter.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPrinter>

#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace {

// A file in the temporary folder that no other run of these tests uses.
std::string TempFile(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("kelo-monwin-" + std::to_string(getpid()) + "-" + name))
        .string();
}

std::string Run(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 512> chunk{};
        while (fgets(chunk.data(), static_cast<int>(chunk.size()), pipe))
            out += chunk.data();
        pclose(pipe);
    }
    return out;
}

int PdfPages(const std::string& path) {
    int pages = -1;
    const std::string info = Run("pdfinfo '" + path + "' 2>/dev/null");
    const std::size_t at = info.find("Pages:");
    if (at != std::string::npos)
        std::sscanf(info.c_str() + at, "Pages: %d", &pages);
    return pages;
}

std::string PageText(const std::string& path, int page) {
    return Run(Format("pdftotext -layout -f %d -l %d '", page, page) + path + "' - 2>/dev/null");
}

struct Word {
    std::string text;
    double top = 0;
    double bottom = 0;
};
// The words of one page with their boxes (points from the page's top), and the page's height.
std::vector<Word> PageWords(const std::string& path, int page, double* pageHeight) {
    const std::string html =
        Run(Format("pdftotext -bbox -f %d -l %d '", page, page) + path + "' - 2>/dev/null");
    std::vector<Word> words;
    const std::size_t at = html.find("<page width=");
    if (at != std::string::npos)
        std::sscanf(html.c_str() + at, "<page width=\"%*f\" height=\"%lf\"", pageHeight);
    for (std::size_t pos = html.find("<word "); pos != std::string::npos;
         pos = html.find("<word ", pos + 1)) {
        Word word;
        double left = 0, right = 0;
        if (std::sscanf(html.c_str() + pos, "<word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\">",
                        &left, &word.top, &right, &word.bottom) != 4)
            continue;
        const std::size_t open = html.find('>', pos) + 1;
        word.text = html.substr(open, html.find('<', open) - open);
        words.push_back(word);
    }
    return words;
}

// Every parameter of every printed group: the longest tables a drive can have.
PrintTables AllTables() {
    PrintTables tables;
    for (int g = 0; g < PrintGroupCount; ++g)
        for (int index = PrintGroups[g].first; index <= PrintGroups[g].last; ++index)
            tables[g].push_back(index);
    return tables;
}

// Prints the printer's plan to a PDF as the view's hooks would.
int PrintToPdf(CParameterTablePrinter& tables, const std::string& path, CKeloServoDoc& doc) {
    auto printer = MakePdfPrinter(path);
    CPrintInfo info;
    info.SetMaxPage(tables.PageCount());
    PrintHooks hooks;
    hooks.prepareDC = [](CDC* dc, CPrintInfo*) {
        CParameterTablePrinter::PrepareDC(dc);
        EXPECT_EQ(dc->GetMapMode(), MM_LOENGLISH);
    };
    const PrintRowSource rows = DocumentPrintRows(doc, ResourceStringLoader());
    hooks.print = [&](CDC* dc, CPrintInfo* job) { tables.PrintCurrentPage(dc, job, SeriesCode, "", rows); };
    return PrintPages(*printer, info, hooks);
}

TEST(PrintTables, EveryPageOfALongJobIsPrintedWithItsNumber) {
    EnsureQtApplication();
    SeriesCode = 4;
    CKeloServoDoc doc;
    CParameterTablePrinter tables;
    const int count = tables.PreparePlan(AllTables());
    ASSERT_GT(count, 10) << "the job must run past the tenth page";

    const std::string path = TempFile("tables.pdf");
    std::filesystem::remove(path);
    ASSERT_EQ(PrintToPdf(tables, path, doc), count);
    ASSERT_EQ(PdfPages(path), count);
    for (int page = 1; page <= count; ++page) {
        const std::string text = PageText(path, page);
        SCOPED_TRACE(page);
        EXPECT_NE(text.find(Format("Page: %d / %d", page, count)), std::string::npos);
        EXPECT_NE(text.find("Kelo Servo -- ---- Parameter List"), std::string::npos);
        EXPECT_NE(text.find("KeloServo(ZR3-E) V0.1.260416"), std::string::npos)
            << "untitled: the version text";
        // Whatever the paper, the tables end above the footer: no row is cut off or overprinted.
        double height = 0;
        const std::vector<Word> words = PageWords(path, page, &height);
        double footerTop = height;
        for (const Word& word : words)
            if (word.text == "Page:")
                footerTop = word.top;
        ASSERT_GT(height, 0);
        ASSERT_LT(footerTop, height);
        int below = 0;
        for (const Word& word : words)
            below += word.bottom > footerTop && word.text != "Page:" && word.top < footerTop - 1;
        EXPECT_EQ(below, 0) << "a table row reaches into the footer";
        int codesOnFooterLine = 0;
        for (const Word& word : words)
            codesOnFooterLine += word.top >= footerTop - 1 && word.text.size() == 5 &&
                                 std::isdigit(static_cast<unsigned char>(word.text[4]));
        EXPECT_EQ(codesOnFooterLine, 0) << "a table row printed over the footer";
    }
    EXPECT_NE(PageText(path, 1).find("Control Parameter"), std::string::npos);
    EXPECT_NE(PageText(path, 1).find("Cn001"), std::string::npos);
    EXPECT_NE(PageText(path, count).find("Mapping Parameter"), std::string::npos);
    EXPECT_NE(PageText(path, count).find("MAb16"), std::string::npos);

    // The first page rendered: black rules, blue values and red defaults are on it.
    const std::string png = path + "-1";
    ASSERT_EQ(std::system(("pdftoppm -r 60 -png -f 1 -l 1 -singlefile '" + path + "' '" + png + "'").c_str()),
              0);
    QImage image(QString::fromStdString(png + ".png"));
    ASSERT_FALSE(image.isNull());
    int blue = 0, red = 0, dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            blue += c.blue() > 160 && c.red() < 110 && c.green() < 110;
            red += c.red() > 160 && c.blue() < 110 && c.green() < 110;
            dark += c.red() < 60 && c.green() < 60 && c.blue() < 60;
        }
    }
    EXPECT_GT(blue, 50);
    EXPECT_GT(red, 50);
    EXPECT_GT(dark, 500);
    std::filesystem::remove(png + ".png");
    std::filesystem::remove(path);
}

TEST(PrintTables, TheSeriesTablesGiveThePageCountOfTheJob) {
    EnsureQtApplication();
    SeriesCode = 4;
    CKeloServoDoc doc;
    CParameterTablePrinter tables;
    CPrintInfo info;
    const int count = tables.PreparePrinting(doc.Context(), &info);
    EXPECT_EQ(static_cast<int>(info.GetMaxPage()), count);
    EXPECT_EQ(count, PrintPageCount(BuildPrintPlan(PrintedIndexes(doc.Context()))));

    // The footer names the document when it has a title.
    const std::string path = TempFile("series.pdf");
    auto printer = MakePdfPrinter(path);
    info.SetMaxPage(1);
    PrintHooks hooks;
    hooks.prepareDC = [](CDC* dc, CPrintInfo*) { CParameterTablePrinter::PrepareDC(dc); };
    hooks.print = [&](CDC* dc, CPrintInfo* job) {
        tables.PrintCurrentPage(dc, job, SeriesCode, "motor-a.zpf",
                                DocumentPrintRows(doc, ResourceStringLoader()));
    };
    ASSERT_EQ(PrintPages(*printer, info, hooks), 1);
    const std::string text = PageText(path, 1);
    EXPECT_NE(text.find("motor-a.zpf"), std::string::npos);
    EXPECT_NE(text.find(Format("Page: 1 / %d", count)), std::string::npos);
    std::filesystem::remove(path);
}

} // namespace
