#include "tuning/ui/ChildPage.h"

#include "framework/core/ResourceModule.h"
#include "framework/core/WindowStyles.h"

BOOL CreateChildPage(CDialog& page, UINT templateId, CWnd* parent) {
    const DialogTemplate* found = FindDialogTemplate(static_cast<int>(templateId));
    if (!found || !parent)
        return FALSE;
    DialogTemplate child = *found;
    child.style =
        (child.style & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME)) | WS_CHILD | DS_CONTROL;
    child.caption.clear();
    page.m_nIDHelp = templateId;
    return page.CreateIndirect(child, parent);
}
