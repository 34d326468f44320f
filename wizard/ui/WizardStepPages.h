#pragma once
// The pages of the encoder and comprehensive steps and the Display Digital I/O page, created once
// with the wizard in the order encoder 1..4, comprehensive 1..4, DI/O display.
#include "wizard/ui/WizardPage.h"

#include <memory>
#include <vector>

std::vector<std::unique_ptr<CWizardPage>> CreateStepPages();
