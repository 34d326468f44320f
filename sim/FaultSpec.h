#pragma once
// The text form of injected faults, as kelo-drive-sim's --fault option takes it (sim/README.md):
//     KIND[=ARG][:REQUEST][@ADDRESS][#COUNT][+SKIP][~SEED], several joined by ','
// KIND refuse | silent | badsum | truncate[=CHARS] | garbage | drop | delay=MS | freeze=MS | slow=MS
//      | corrupt[=PERCENT]
// (freeze: COUNT freezes, default one; a slow drive is slow=MS:block; a noisy line corrupt=2:block,
// SEED (default 1) picking which answers and which digit)
// REQUEST any | read | block | write | mbread | mbwrite | other; ADDRESS four hex digits.
#include "sim/SimDrive.h"

#include <string>
#include <vector>

namespace sim {

// Appends the faults of the text to `faults`. False, with the reason, on the first bad part
// (nothing is appended then).
bool ParseFaultSpec(const std::string& spec, std::vector<SimFault>& faults, std::string* error = nullptr);

} // namespace sim
