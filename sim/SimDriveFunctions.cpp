#include "sim/SimDriveFunctions.h"

#include <optional>

// The motor data keeps the drive's own feature level: it is part of the series' identity.
CSimDriveFunctions::CSimDriveFunctions(CSimDrive& drive)
    : machine(drive), position(drive, machine), jog(drive, machine), motor(drive, std::nullopt) {}
