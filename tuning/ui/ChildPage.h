#pragma once
// Creates a page dialog inside another window (a tab control) from its template. The page templates
// are written as ordinary dialogs, so each can also be built and checked alone; here they become
// borderless children of the window that shows them.
#include "framework/ui/Dialog.h"

BOOL CreateChildPage(CDialog& page, UINT templateId, CWnd* parent);
