#pragma once
// Ends a program instance started in-process as its exit does (documents closed, main window gone,
// templates and the main frame forgotten, ExitInstance), so the next one starts from nothing.
#include "framework/ui/App.h"
#include "framework/ui/Doc.h"
#include "framework/ui/Wnd.h"

inline void EndProgramInstance(CWinApp& app) {
    CDocManager& manager = AfxGetDocManager();
    if (CWnd* frame = app.m_pMainWnd; frame && IsWindow(frame->GetSafeHwnd())) {
        manager.CloseAllDocuments(true);
        frame->DestroyWindow();
    }
    app.m_pMainWnd = nullptr;
    manager.RemoveAllTemplates();
    manager.SetMainFrame(nullptr);
    app.ExitInstance();
}
