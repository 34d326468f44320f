#pragma once
// The pages of the reference-input step, created once with the wizard in the order the wizard
// creates them (speed, position, torque). Their chains are registered by AddReferenceChains.
#include "wizard/ui/WizardPage.h"

#include <memory>
#include <vector>

std::vector<std::unique_ptr<CWizardPage>> CreateReferencePages();
