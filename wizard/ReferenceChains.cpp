#include "wizard/ReferenceChains.h"

#include "wizard/ReferencePageRules.h"

namespace {

// Pages that follow the accel-method page of the speed chain, by method 0..3.
constexpr int SpeedAccelPages[4] = {37, 34, 35, 36};
// The same in the torque chain.
constexpr int TorqueAccelPages[4] = {68, 65, 66, 67};

int PickByMethod(const int (&pages)[4], int method) {
    return method >= 0 && method <= 3 ? pages[method] : pages[0];
}

int NextSpeedPage(int code, const ReferenceChoices& c) {
    switch (code) {
    case 31:
        return 32;
    case 32:
        return 33;
    case 33:
        return PickByMethod(SpeedAccelPages, c.speedAccelMethod);
    case 34:
    case 35:
    case 36:
        return 37;
    default:
        return 0;
    }
}

int NextPositionPage(int code, const ReferenceChoices& c) {
    switch (code) {
    case 43:
        return c.gearMethod == 1 ? 45 : 44;
    case 44:
    case 45:
        return 46;
    case 49:
        if (c.homeStartMode == 0)
            return 55;
        return c.homeMethod != 0 ? 52 : 50;
    case 52:
        // The torque-based origin page only matters for references 6..9 set by Pn317.
        return c.homeMethod != 0 || !ReferenceUsesTorqueOrigin(c.homeReference) ? 54 : 53;
    case 56:
        return 0;
    default:
        return code >= 40 && code < 56 ? code + 1 : 0;
    }
}

int NextTorquePage(int code, const ReferenceChoices& c) {
    switch (code) {
    case 60:
        return c.torqueSource == 1 ? 63 : 62;
    case 62:
        return 63;
    case 63:
        return 64;
    case 64:
        return PickByMethod(TorqueAccelPages, c.torqueAccelMethod);
    case 65:
    case 66:
    case 67:
        return 68;
    case 68:
        return 69;
    case 69:
        if (c.limitSwitching == 1)
            return 0;
        return c.noAnalogInput ? 72 : 71;
    case 71:
        return 72;
    default:
        return 0;
    }
}

int PreviousSpeedPage(int code, const ReferenceChoices& c) {
    switch (code) {
    case 32:
        return c.noAnalogInput ? 0 : 31;
    case 33:
        return 32;
    case 34:
    case 35:
    case 36:
        return 33;
    case 37:
        return c.speedAccelMethod >= 1 && c.speedAccelMethod <= 3 ? SpeedAccelPages[c.speedAccelMethod] : 33;
    default:
        return 0;
    }
}

int PreviousPositionPage(int code, const ReferenceChoices& c) {
    switch (code) {
    case 40:
        return 0;
    case 44:
    case 45:
        return 43;
    case 46:
        return c.gearMethod == 1 ? 45 : 44;
    case 52:
        return c.homeMethod != 0 ? 49 : 51;
    case 54:
        return c.homeMethod != 0 || !ReferenceUsesTorqueOrigin(c.homeReference) ? 52 : 53;
    case 55:
        return c.homeStartMode != 0 ? 54 : 49;
    default:
        return code > 40 && code <= 56 ? code - 1 : 0;
    }
}

int PreviousTorquePage(int code, const ReferenceChoices& c) {
    switch (code) {
    case 62:
        return 60;
    case 63:
        return c.torqueSource == 1 ? 60 : 62;
    case 64:
        return 63;
    case 65:
    case 66:
    case 67:
        return 64;
    case 68:
        return c.torqueAccelMethod >= 1 && c.torqueAccelMethod <= 3 ? TorqueAccelPages[c.torqueAccelMethod]
                                                                    : 64;
    case 69:
        return 68;
    case 71:
        return 69;
    case 72:
        return c.noAnalogInput ? 69 : 71;
    default:
        return 0;
    }
}

} // namespace

bool IsReferencePageCode(int code) {
    return code >= 30 && code <= 79;
}

int FirstReferencePage(int controlMode, const ReferenceChoices& choices) {
    switch (controlMode) {
    case TorqueMode:
        return 60;
    case PositionMode:
        return 40;
    default:
        return choices.noAnalogInput ? 32 : 31;
    }
}

int NextReferencePage(int code, const ReferenceChoices& choices) {
    if (code >= 31 && code <= 37)
        return NextSpeedPage(code, choices);
    if (code >= 40 && code <= 56)
        return NextPositionPage(code, choices);
    if (code >= 60 && code <= 72)
        return NextTorquePage(code, choices);
    return 0;
}

int PreviousReferencePage(int code, const ReferenceChoices& choices) {
    if (code >= 31 && code <= 37)
        return PreviousSpeedPage(code, choices);
    if (code >= 40 && code <= 56)
        return PreviousPositionPage(code, choices);
    if (code >= 60 && code <= 72)
        return PreviousTorquePage(code, choices);
    return 0;
}

bool ReferencePageHasCheck(int code) {
    switch (code) {
    case 33:
    case 40:
    case 41:
    case 43:
    case 48:
    case 50:
    case 51:
    case 54:
    case 64:
        return false;
    default:
        return (code >= 31 && code <= 37) || (code >= 40 && code <= 56) || code == 60 ||
               (code >= 62 && code <= 69) || code == 71 || code == 72;
    }
}
