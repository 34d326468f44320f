#pragma once
// The order of the reference-input pages: which page Next and Back lead to from each page code of the
// speed (31..37), external pulse position (40..56) and torque (60..72) chains, which page starts a
// chain, which ends it and which pages check their values before they are left. Pure functions of
// the choices the pages hold.
#include "wizard/WizardNavigation.h" // the control modes

// The page choices that steer the chains.
struct ReferenceChoices {
    int speedAccelMethod = 0;  // speed page 4 (Sn205.0): 0 none, 1 one-time smoothing, 2 linear, 3 S-curve
    int gearMethod = 0;        // position page 4: 0 pulses per revolution (Pn354), 1 electronic gear
    int homeStartMode = 0;     // position page 10 (Pn317.2): 0 return to origin off
    int homeMethod = 0;        // position page 10 (Pn355): 0 = set by Pn317.0/.1/.3
    int homeReference = 0;     // position page 11 (Pn317.0)
    int torqueSource = 0;      // torque page 1 (Tn101.1): 0 analog, 1 digital
    int torqueAccelMethod = 0; // torque page 5 (Tn101.0)
    int limitSwitching = 0;    // torque page 10 (Tn101.2): 1 = Tn114/Tn115 by torque sign
    // The drive has no analog command input: the analog speed scaling and analog speed limit pages
    // are skipped. No drive row sets it yet, so it is false for every drive and every page shows.
    bool noAnalogInput = false;
};

bool IsReferencePageCode(int code); // 30..79

// The first page of the chain of a control mode.
int FirstReferencePage(int controlMode, const ReferenceChoices& choices);
// The page Next leads to, or 0 on the last page of a chain (Next does nothing there).
int NextReferencePage(int code, const ReferenceChoices& choices);
// The page Back leads to, or 0 on the first page of a chain.
int PreviousReferencePage(int code, const ReferenceChoices& choices);
// True on a page where the step is applied instead of going on (Apply shown, Next hidden).
inline bool IsLastReferencePage(int code, const ReferenceChoices& choices) {
    return IsReferencePageCode(code) && NextReferencePage(code, choices) == 0;
}
// True for the pages whose check runs before they are left.
bool ReferencePageHasCheck(int code);
