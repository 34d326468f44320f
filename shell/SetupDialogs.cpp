#include "shell/SetupDialogs.h"

#include "shell/ShellGlobals.h"

int StatusbarChoiceIndex(int kind) {
    return kind >= 0 && kind < static_cast<int>(StatusbarChoiceNames.size()) ? kind : -1;
}

std::string ProjectModeAccessCode(int brandMode) {
    return brandMode == BrandOem ? "ZENTOB" : "QUARVELM";
}

ProjectModeAnswer CheckProjectModeCode(const std::string& typed, int brandMode) {
    if (typed == ProjectModeAccessCode(brandMode))
        return {1, "Enter Debug Mode!"};
    return {0, "Security Code Error!"};
}
