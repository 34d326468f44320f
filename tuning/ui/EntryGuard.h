#pragma once
// The input guard of the tuning windows' number edits: on every change the edit's text must stay a
// whole number; when it does not, the member keeps its previous value, the edit shows it again and
// the caret goes back one place.
#include "framework/ui/Wnd.h"

// Runs the guard for edit `id` of `dialog` over `member`; false when the text was refused.
bool GuardIntegerEdit(CWnd& dialog, int id, int& member);
