#include "wizard/ui/WizardStepPages.h"

std::vector<std::unique_ptr<CWizardPage>> CreateStepPages() {
    return {};
}
