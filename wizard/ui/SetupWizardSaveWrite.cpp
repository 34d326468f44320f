// The wizard's save/write step: the collected set saved as a document file, or written to the drive.
#include "wizard/ui/SetupWizardDialog.h"

LRESULT CSetupWizardDialog::OnWizardSaveWrite(WPARAM wParam, LPARAM lParam) {
    if (wParam == 1)
        return SaveDocumentFile() ? 1 : 0;
    if (wParam == 2)
        return WriteToDrive(lParam == 1) ? 2 : 0;
    return 0;
}

bool CSetupWizardDialog::SaveDocumentFile() {
    return false;
}

bool CSetupWizardDialog::SaveToFile(const std::string&) {
    return false;
}

bool CSetupWizardDialog::WriteToDrive(bool) {
    return false;
}
