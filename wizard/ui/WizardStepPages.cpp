#include "wizard/ui/WizardStepPages.h"

#include "wizard/ui/ComplexPages.h"
#include "wizard/ui/MotorEncoderPages.h"

std::vector<std::unique_ptr<CWizardPage>> CreateStepPages() {
    std::vector<std::unique_ptr<CWizardPage>> pages;
    pages.push_back(std::make_unique<CMotorEncoderPage1Dialog>());
    pages.push_back(std::make_unique<CMotorEncoderPage2Dialog>());
    pages.push_back(std::make_unique<CMotorEncoderPage3Dialog>());
    pages.push_back(std::make_unique<CMotorEncoderPage4Dialog>());
    pages.push_back(std::make_unique<CComplexPage1Dialog>());
    pages.push_back(std::make_unique<CComplexPage2Dialog>());
    pages.push_back(std::make_unique<CComplexPage3Dialog>());
    pages.push_back(std::make_unique<CComplexPage4Dialog>());
    return pages;
}
