#include "framework/ui/View.h"

#include "framework/core/MessageSeam.h"

#include "framework/ui/CmdUI.h"
#include "framework/ui/DC.h"
#include "framework/ui/Doc.h"
#include "framework/ui/Frame.h"
#include "framework/ui/Print.h"

#include <QPrinter>

namespace {
PrintHooks HooksOf(CView* view) {
    PrintHooks hooks;
    hooks.beginPrinting = [view](CDC* dc, CPrintInfo* info) { view->OnBeginPrinting(dc, info); };
    hooks.prepareDC = [view](CDC* dc, CPrintInfo* info) { view->OnPrepareDC(dc, info); };
    hooks.print = [view](CDC* dc, CPrintInfo* info) { view->OnPrint(dc, info); };
    hooks.endPrinting = [view](CDC* dc, CPrintInfo* info) { view->OnEndPrinting(dc, info); };
    return hooks;
}
} // namespace

CView::CView() = default;

CView::~CView() {
    if (m_pDocument)
        m_pDocument->RemoveView(this);
    // A frame must not keep routing to a view that is gone.
    if (CFrameWnd* frame = GetParentFrame(); frame && frame->GetActiveView() == this)
        frame->SetActiveView(nullptr);
}

const MessageMap* CView::GetMessageMap() const {
    static const MessageMap map(CWnd::GetMessageMap(),
                                {
                                    msg::Paint(&CView::OnPaint),
                                    msg::Command(ID_FILE_PRINT, &CView::OnFilePrint),
                                    msg::Command(ID_FILE_PRINT_DIRECT, &CView::OnFilePrintDirect),
                                    msg::Command(ID_FILE_PRINT_PREVIEW, &CView::OnFilePrintPreview),
                                });
    return &map;
}

bool CView::OnCmdMsg(UINT id, UINT message, UINT code, void* extra, LRESULT* result, bool queryOnly) {
    if (CWnd::OnCmdMsg(id, message, code, extra, result, queryOnly))
        return true;
    return m_pDocument && m_pDocument->OnCmdMsg(id, message, code, extra, result, queryOnly);
}

CFrameWnd* CView::GetParentFrame() const {
    for (CWnd* w = GetParent(); w; w = w->GetParent())
        if (auto* frame = dynamic_cast<CFrameWnd*>(w))
            return frame;
    return nullptr;
}

void CView::OnInitialUpdate() {
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, void*) {
    Invalidate(TRUE);
}

void CView::OnPaint() {
    CPaintDC dc(this);
    OnPrepareDC(&dc, nullptr);
    OnDraw(&dc);
}

BOOL CView::OnPreparePrinting(CPrintInfo* info) {
    return DoPreparePrinting(info);
}

BOOL CView::DoPreparePrinting(CPrintInfo* info) {
    if (!info)
        return FALSE;
    if (info->m_bDirect || info->m_bPreview)
        return TRUE;
    return info->m_pPD->DoModal() == IDOK ? TRUE : FALSE;
}

void CView::OnPrepareDC(CDC*, CPrintInfo* info) {
    if (info && info->GetMaxPage() == kUnknownPageCount)
        info->m_bContinuePrinting = info->m_nCurPage == 1;
}

int CView::PrintDocument(QPrinter& printer, bool direct) {
    CPrintInfo info;
    info.m_bDirect = direct;
    if (!OnPreparePrinting(&info))
        return 0;
    return PrintPages(printer, info, HooksOf(this));
}

void CView::OnFilePrint() {
    PrintDocument(AfxGetPrinter(), false);
}

void CView::OnFilePrintDirect() {
    PrintDocument(AfxGetPrinter(), true);
}

void CView::OnFilePrintPreview() {
    auto info = std::make_shared<CPrintInfo>();
    info->m_bPreview = true;
    if (!OnPreparePrinting(info.get()))
        return;
    ShowPrintPreview(AfxGetPrinter(), [this, info](QPrinter* printer) {
        if (printer)
            PrintPages(*printer, *info, HooksOf(this));
    });
}

void CView::PostNcDestroy() {
    if (m_bAutoDelete)
        delete this;
}
