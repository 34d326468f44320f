#include "framework/ui/Print.h"

#include "framework/core/MessageSeam.h"
#include "framework/ui/DC.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <algorithm>
#include <mutex>
#include <utility>

namespace {
std::mutex presenterMutex;
PrintPresenter currentPresenter;

PrintPresenter Current() {
    std::lock_guard lock(presenterMutex);
    return currentPresenter;
}
} // namespace

CPrintInfo::CPrintInfo() : m_pPD(std::make_unique<CPrintDialog>(false)) {}
CPrintInfo::~CPrintInfo() = default;

void CPrintInfo::SetMinPage(UINT page) {
    m_pPD->m_nMinPage = page;
}
void CPrintInfo::SetMaxPage(UINT page) {
    m_pPD->m_nMaxPage = page;
}
UINT CPrintInfo::GetMinPage() const {
    return m_pPD->m_nMinPage;
}
UINT CPrintInfo::GetMaxPage() const {
    return m_pPD->m_nMaxPage;
}

UINT CPrintInfo::GetFromPage() const {
    return m_pPD->m_bPrintRange ? std::max(m_pPD->m_nFromPage, m_pPD->m_nMinPage) : m_pPD->m_nMinPage;
}

UINT CPrintInfo::GetToPage() const {
    return m_pPD->m_bPrintRange ? std::min(m_pPD->m_nToPage, m_pPD->m_nMaxPage) : m_pPD->m_nMaxPage;
}

CPrintDialog::CPrintDialog(bool printSetupOnly) : m_bPrintSetupOnly(printSetupOnly) {}

int CPrintDialog::DoModal() {
    const PrintPresenter presenter = Current();
    if (!presenter.dialog)
        return IDCANCEL;
    return presenter.dialog(*this, GetPrinter());
}

QPrinter& CPrintDialog::GetPrinter() {
    return AfxGetPrinter();
}

QPrinter& AfxGetPrinter() {
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

PrintPresenter SetPrintPresenter(PrintPresenter presenter) {
    std::lock_guard lock(presenterMutex);
    return std::exchange(currentPresenter, std::move(presenter));
}

void ShowPrintPreview(QPrinter& printer, const std::function<void(QPrinter*)>& render) {
    const PrintPresenter presenter = Current();
    if (presenter.preview)
        presenter.preview(printer, render);
}

namespace {

// The printer set-up: the print dialog without the job's own choices (pages, copies), whose OK keeps
// the printer, its output and its paper for the jobs to come. Qt's page set-up dialog only works
// with a system printer, so it would leave a machine without one no set-up at all.
int PresentPrintSetup(QPrinter& printer) {
    QPrintDialog setup(&printer);
    setup.setWindowTitle(QStringLiteral("Print Setup"));
    setup.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (auto* buttons = setup.findChild<QDialogButtonBox*>())
        for (QAbstractButton* button : buttons->buttons())
            if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
                button->setText(QStringLiteral("OK"));
    return setup.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

int PresentPrint(CPrintDialog& dialog, QPrinter& printer) {
    QPrintDialog print(&printer);
    if (dialog.m_nMaxPage != kUnknownPageCount)
        print.setMinMax(static_cast<int>(dialog.m_nMinPage), static_cast<int>(dialog.m_nMaxPage));
    if (print.exec() != QDialog::Accepted)
        return IDCANCEL;
    dialog.m_bPrintRange = print.printRange() == QAbstractPrintDialog::PageRange;
    if (dialog.m_bPrintRange) {
        dialog.m_nFromPage = static_cast<UINT>(print.fromPage());
        dialog.m_nToPage = static_cast<UINT>(print.toPage());
    }
    return IDOK;
}

} // namespace

void InstallQtPrintPresenter() {
    PrintPresenter presenter;
    presenter.dialog = [](CPrintDialog& dialog, QPrinter& printer) {
        return dialog.m_bPrintSetupOnly ? PresentPrintSetup(printer) : PresentPrint(dialog, printer);
    };
    presenter.preview = [](QPrinter& printer, const std::function<void(QPrinter*)>& render) {
        QPrintPreviewDialog preview(&printer);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                         [&render](QPrinter* target) { render(target); });
        preview.exec();
    };
    SetPrintPresenter(std::move(presenter));
}

int PrintPages(QPrinter& printer, CPrintInfo& info, const PrintHooks& hooks) {
    CDC dc;
    if (!dc.Attach(&printer))
        return -1;
    dc.SetPrinting(true);
    if (hooks.beginPrinting)
        hooks.beginPrinting(&dc, &info);
    // A job of unknown length still ends: no printed document has this many pages.
    constexpr UINT kPageLimit = 10000;
    const UINT from = std::max(1u, info.GetFromPage());
    const UINT to = std::min(info.GetToPage(), from + kPageLimit - 1);
    int printed = 0;
    for (UINT page = from; page <= to; ++page) {
        info.m_nCurPage = page;
        info.m_bContinuePrinting = true;
        if (hooks.prepareDC)
            hooks.prepareDC(&dc, &info);
        if (!info.m_bContinuePrinting)
            break;
        if (printed > 0 && !printer.newPage())
            break;
        CPoint corners[2] = {CPoint(0, 0), CPoint(dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES))};
        dc.DPtoLP(corners, 2);
        info.m_rectDraw = CRect(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
        const int saved = dc.SaveDC();
        if (hooks.print)
            hooks.print(&dc, &info);
        dc.RestoreDC(saved);
        ++printed;
    }
    if (hooks.endPrinting)
        hooks.endPrinting(&dc, &info);
    dc.Detach();
    return printed;
}

std::unique_ptr<QPrinter> MakePdfPrinter(const std::string& path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QString::fromStdString(path));
    printer->setPageSize(QPageSize(QPageSize::A4));
    return printer;
}
