#include "wizard/ReferenceInput.h"

#include "wizard/CollectedSet.h"
#include "wizard/WizardNavigation.h"

void AddReferenceChains(WizardChains&) {}

std::optional<std::string> TakeReferenceValues(CollectedSet&, int) {
    return std::nullopt;
}
