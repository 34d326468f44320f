#pragma once
// Printing: the page information a view's printing hooks receive, the print and printer set-up dialogs
// behind a seam (the program shows Qt's dialogs; tests answer without a window), print preview, and
// the page loop that drives the hooks on a printer device. A printer set to PDF output writes a file,
// which is how a printed page is checked.
#include "framework/core/Geometry.h"
#include "framework/core/Types.h"

#include <functional>
#include <memory>
#include <string>

class CDC;
class QPrinter;
class CPrintDialog;

// Page information handed through one print job.
struct CPrintInfo {
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    void SetMinPage(UINT page);
    void SetMaxPage(UINT page);
    UINT GetMinPage() const;
    UINT GetMaxPage() const;
    UINT GetFromPage() const;
    UINT GetToPage() const;

    std::unique_ptr<CPrintDialog> m_pPD; // the print dialog's settings for this job
    bool m_bDirect = false;              // print without asking (no dialog)
    bool m_bPreview = false;
    bool m_bContinuePrinting = true; // cleared by OnPrepareDC to end a job of unknown length
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 1;
    void* m_lpUserData = nullptr;
    CRect m_rectDraw; // the printable area of the page, in logical units of the current mapping
};

// Page count meaning "not known": the job goes on while m_bContinuePrinting stays set.
constexpr UINT kUnknownPageCount = 0xFFFF;

// The print dialog (or, with printSetupOnly, the printer set-up dialog), over the program's printer.
class CPrintDialog {
public:
    explicit CPrintDialog(bool printSetupOnly = false);
    // IDOK or IDCANCEL, answered by the installed presenter.
    virtual int DoModal();
    virtual ~CPrintDialog() = default;

    bool m_bPrintSetupOnly;
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = kUnknownPageCount;
    UINT m_nFromPage = 1;
    UINT m_nToPage = kUnknownPageCount;
    bool m_bPrintRange = false; // the user chose a page range rather than all pages

    QPrinter& GetPrinter();
};

// The program's printer: settings chosen in the printer set-up stay for later jobs.
QPrinter& AfxGetPrinter();

// What shows print dialogs and previews. With none installed, a dialog is answered IDCANCEL and a
// preview shows nothing, so nothing ever waits for a window that no one will close.
struct PrintPresenter {
    std::function<int(CPrintDialog& dialog, QPrinter& printer)> dialog;
    // Shows the preview; `render` paints every page on the printer the preview hands it.
    std::function<void(QPrinter& printer, const std::function<void(QPrinter*)>& render)> preview;
};
PrintPresenter SetPrintPresenter(PrintPresenter presenter);
// Qt's print dialog (also in its set-up form) and print preview.
void InstallQtPrintPresenter();
// Runs the installed preview presenter.
void ShowPrintPreview(QPrinter& printer, const std::function<void(QPrinter*)>& render);

// The hooks of one print job, as a view provides them.
struct PrintHooks {
    std::function<void(CDC*, CPrintInfo*)> beginPrinting;
    std::function<void(CDC*, CPrintInfo*)> prepareDC;
    std::function<void(CDC*, CPrintInfo*)> print;
    std::function<void(CDC*, CPrintInfo*)> endPrinting;
};

// Prints the pages from info's from-page to its to-page on the printer: for each page the DC is
// prepared, the drawing rectangle set to the printable area in logical units, and the page printed.
// Returns the number of pages printed; -1 when the printer cannot be painted on (a PDF file that
// cannot be written, for instance).
int PrintPages(QPrinter& printer, CPrintInfo& info, const PrintHooks& hooks);

// A printer writing a PDF file (A4, high resolution), for a job that must leave a file.
std::unique_ptr<QPrinter> MakePdfPrinter(const std::string& path);
