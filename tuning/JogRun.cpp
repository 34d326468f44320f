#include "tuning/JogRun.h"

bool SaveRunRegisters(CRegisterServices& services, JogRunState& state) {
    const std::optional<int> a = services.ReadDriveRegister(jogreg::RunModeA);
    const std::optional<int> b = services.ReadDriveRegister(jogreg::RunModeB);
    if (!a || !b)
        return false;
    state.savedRunModeA = *a;
    state.savedRunModeB = *b;
    state.registersSaved = true;
    return true;
}

bool RestoreRunRegisters(CRegisterServices& services, const JogRunState& state) {
    if (!state.registersSaved)
        return true;
    const bool a = services.WriteDriveRegister(jogreg::RunModeA, state.savedRunModeA) != 0;
    const bool b = services.WriteDriveRegister(jogreg::RunModeB, state.savedRunModeB) != 0;
    return a && b;
}

bool SetJogModeDigit(CRegisterServices& services, int digit) {
    const std::optional<int> word = services.ReadDriveRegister(jogreg::JogModeWord);
    if (!word)
        return false;
    return services.WriteDriveRegister(jogreg::JogModeWord, (*word & 0xFFF0) | (digit & 0x000F)) != 0;
}

JogStartResult StartJogRun(CRegisterServices& services, JogRunState& state) {
    const std::optional<int> alarm = services.ReadDriveRegister(jogreg::AlarmPresent);
    if (!alarm)
        return JogStartResult::AlarmUnknown;
    if (*alarm != 0)
        return JogStartResult::AlarmActive;
    if (!state.registersSaved && !SaveRunRegisters(services, state))
        return JogStartResult::NotSaved;
    if (!services.WriteDriveRegister(jogreg::RunModeA, 2) ||
        !services.WriteDriveRegister(jogreg::RunModeB, 2)) {
        RestoreRunRegisters(services, state);
        return JogStartResult::ModeRefused;
    }
    if (!services.WriteDriveRegister(jogreg::RunCommand, 1)) {
        RestoreRunRegisters(services, state);
        return JogStartResult::CommandRefused;
    }
    state.running = true;
    SetJogModeDigit(services, 1);
    return JogStartResult::Started;
}

JogStopResult StopJogRunOnDrive(CRegisterServices& services, JogRunState& state) {
    JogStopResult result;
    result.stopped = services.WriteDriveRegister(jogreg::RunCommand, 0) != 0;
    if (result.stopped)
        SetJogModeDigit(services, 0);
    result.registersRestored = RestoreRunRegisters(services, state);
    return result;
}
