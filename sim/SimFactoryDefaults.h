#pragma once
// The parameter values a drive of a series holds when it leaves the factory: the catalogue's
// defaults for that series, as the program figures them for the simulated drive's identity
// (IdentityForSeries in sim/SimRegisterMap.h: its motor, control mode, version and type words),
// placed at each parameter's register (32-bit parameters low word first). Computed once per series
// and kept.
#include <cstdint>
#include <vector>

namespace sim {

struct FactoryWord {
    uint16_t address;
    uint16_t value;
};

// Every parameter register of the series with its default; nothing for a series the catalogue does
// not know (0 and codes above 9).
const std::vector<FactoryWord>& FactoryParameters(int series);

} // namespace sim
