#include "tuning/ui/EntryGuard.h"

#include "framework/core/Format.h"
#include "framework/ui/Edit.h"
#include "tuning/TuningInputs.h"

bool GuardIntegerEdit(CWnd& dialog, int id, int& member) {
    auto* edit = dynamic_cast<CEdit*>(dialog.GetDlgItem(id));
    if (!edit)
        return false;
    EntrySelection selection;
    edit->GetSel(selection.start, selection.end);
    if (const std::optional<int> value = GuardedEntry(edit->GetWindowText())) {
        member = *value;
        return true;
    }
    // Putting the previous number back raises the change again, with a text that passes.
    edit->SetWindowText(Format("%d", member));
    const EntrySelection back = SelectionAfterRefusal(selection);
    edit->SetSel(back.start, back.end);
    return false;
}
