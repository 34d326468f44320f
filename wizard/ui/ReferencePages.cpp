#include "wizard/ui/ReferencePages.h"

std::vector<std::unique_ptr<CWizardPage>> CreateReferencePages() {
    return {};
}
