#pragma once
// A view: the window that shows a document inside its frame. It paints through OnDraw (on the screen
// and, page by page, on a printer), hears of document changes through OnUpdate, and takes part in
// command routing before its document.
#include "framework/ui/Wnd.h"

class CDC;
class CDocument;
class CFrameWnd;
class QPrinter;
struct CPrintInfo;

class CView : public CWnd {
public:
    CView();
    ~CView() override;
    const MessageMap* GetMessageMap() const override;
    // Own map first, then the document (which asks its template).
    bool OnCmdMsg(UINT id, UINT message, UINT code, void* extra, LRESULT* result = nullptr,
                  bool queryOnly = false) override;

    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const;

    virtual void OnInitialUpdate();
    // Default: repaint.
    virtual void OnUpdate(CView* sender, LPARAM hint, void* hintObject);
    virtual void OnDraw(CDC*) {}

    // Printing hooks, in the order a job calls them.
    virtual BOOL OnPreparePrinting(CPrintInfo* info);
    // Shows the print dialog unless the job is direct or a preview; FALSE when cancelled.
    BOOL DoPreparePrinting(CPrintInfo* info);
    virtual void OnBeginPrinting(CDC*, CPrintInfo*) {}
    // Before each page (and before screen painting, with a null info). For a job of unknown length
    // the default prints the first page only.
    virtual void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr);
    virtual void OnPrint(CDC* dc, CPrintInfo*) { OnDraw(dc); }
    virtual void OnEndPrinting(CDC*, CPrintInfo*) {}

    // The Print, direct Print and Print Preview commands.
    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();
    // Runs a whole job on the printer (a PDF printer in tests): the preparation (with the dialog
    // unless direct) and the pages. Returns the pages printed; 0 when the preparation refused.
    int PrintDocument(QPrinter& printer, bool direct);

    void OnPaint();

    CDocument* m_pDocument = nullptr;
    // Views made by templates delete themselves when destroyed.
    bool m_bAutoDelete = true;

protected:
    void PostNcDestroy() override;
};
