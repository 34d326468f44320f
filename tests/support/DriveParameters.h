#pragma once
// Puts a parameter's value into the simulated drive's register(s), as the drive would hold it: a
// 32-bit value in two words.
#include "catalogue/ParamCode.h"
#include "catalogue/RegisterMap.h"
#include "sim/SimDrive.h"

#include <cstdint>
#include <string>

// False when the parameter has no register.
inline bool SetDriveParameter(CSimDrive& drive, const std::string& code, int value) {
    const auto address = ParamCodeRegisterAddress(code);
    if (!address)
        return false;
    if (IsDoubleWordParameter(ParamGroupLetter(code), ParamNumber(code), ParamIndexFromCode(code)))
        drive.SetRegister32(*address, static_cast<std::uint32_t>(value));
    else
        drive.SetRegister(*address, static_cast<std::uint16_t>(value));
    return true;
}
