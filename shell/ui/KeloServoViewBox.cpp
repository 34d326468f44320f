// The view's side of the box record viewer: the Box Function command, the viewer's hold on the
// view and its close.
#include "box/ui/BOXDlg.h"
#include "shell/ui/KeloServoDocument.h"
#include "shell/ui/KeloServoView.h"

#include "link/LinkState.h"

CKeloServoDoc* CKeloServoView::BoxLink::Document() {
    return view_.GetDoc();
}

int CKeloServoView::BoxLink::StatusValueD4() {
    const CKeloServoDoc* doc = view_.GetDoc();
    return doc ? doc->m_AsicVersion : 55;
}

void CKeloServoView::BoxLink::OpenOnlineEditor(CWnd*) {
    // The button opens the view's own editor, as the menu command does.
    view_.OnEditOnlineParameter();
}

void CKeloServoView::BoxLink::BoxWindowClosed(CBOXDlg* window) {
    if (window != view_.BoxWindow)
        return;
    view_.BoxWindow = nullptr;
    view_.ToolWindowOpenFlags[ToolBox] = false;
}

void CKeloServoView::OnBoxFunction() {
    if (BoxWindow && IsWindow(BoxWindow->GetSafeHwnd())) {
        BoxWindow->ShowWindow(SW_SHOW);
        BoxWindow->SetActiveWindow();
        return;
    }
    BoxWindow = nullptr;
    auto* window = new CBOXDlg(boxLink_, this);
    if (!window->Create()) {
        if (!IsWindow(window->GetSafeHwnd()))
            delete window;
        return;
    }
    BoxWindow = window;
    ToolWindowOpenFlags[ToolBox] = true;
    window->ShowWindow(SW_SHOW);
}

void CKeloServoView::CloseBoxWindow() {
    if (BoxWindow && IsWindow(BoxWindow->GetSafeHwnd()))
        BoxWindow->CloseViewer(); // stops the thread, then forgets itself here
    BoxWindow = nullptr;
    ToolWindowOpenFlags[ToolBox] = false;
}

void CKeloServoView::EnableBoxOnlineEdit() {
    if (BoxWindow && IsWindow(BoxWindow->GetSafeHwnd()))
        BoxWindow->EnableOnlineEditButton(ConnectedFlag != 0);
}
