#include "tools/ui/PositionPageSupport.h"

#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "link/services/RegisterServices.h"
#include "resources/ids/tools.h"
#include "tools/VirtualInputs.h"

#include <chrono>
#include <thread>

namespace {
constexpr int RegServoStatus = 0x1703;
constexpr int RegServoCommand = 0x170E;
} // namespace

int ReadServoOnState(CRegisterServices& services) {
    return services.ReadDriveRegister(RegServoStatus).value_or(0);
}

bool WriteServoOnCommand(CRegisterServices& services, int state) {
    return services.WriteDriveRegister(RegServoCommand, state) == 1;
}

bool WritePathRunInputsOff(CRegisterServices& services) {
    const std::optional<int> word =
        WithBit(WithBit(services.ReadDriveParameter("Hn618"), BitServoOn, false), BitPtrg, false);
    return word && services.WriteDriveParameter("Hn618", *word) == 1;
}

void PaintStateButton(CMFCButton& button, bool on) {
    if (!button.GetSafeHwnd())
        return;
    button.SetFaceColor(on ? StateOnColour : StateOffColour);
    button.SetWindowText(on ? "ON" : "OFF");
}

void PauseMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::string ToolText(int id) {
    return LoadResString(id);
}

void ShowLinkLost() {
    ShowMessage("Communicate Error!", "Communication Message", MB_OK | MB_ICONSTOP);
}

void ShowWritesRefused(const std::string& codes) {
    ShowMessage(codes + "\n" + ToolText(IDS_POS_WRITE_FAILED), std::string(), MB_OK | MB_ICONEXCLAMATION);
}
