#pragma once
// The reference-input step (page codes 30..79): its page chains and how its Apply takes the values
// of the chosen mode from the remembered choices. The step stays locked for a mode that registers
// no first page here.
#include <optional>
#include <string>

class WizardChains;
class CollectedSet;

// Registers the reference-input chains and their first pages per control mode.
void AddReferenceChains(WizardChains& chains);

// The values of the reference-input step of a mode, from the remembered choices into the collected
// values (the DI/DO merges and list writes are the wizard's). The key of an unset choice refuses.
std::optional<std::string> TakeReferenceValues(CollectedSet& set, int mode);
