#pragma once
// The editor's Compare command: the selection dialog, the chosen comparison run and its outcome (the
// "no difference" message or the result dialog). The drive comparison reads through the register
// services it is given, as one transfer pass run for the owner window.
#include "paramedit/CompareResult.h"
#include "paramedit/CompareSelection.h"

#include <optional>

class CWnd;
class CKeloServoDoc;
class CRegisterServices;

struct CompareRunEnvironment {
    CWnd* owner = nullptr; // parent of the dialogs and the progress window
    CKeloServoDoc& document;
    CRegisterServices& services;
    bool projectMode = false; // Project Mode: the newer-model groups take part
};

// The whole command over the remembered choices (kept by the editor between commands).
void RunCompareCommand(const CompareRunEnvironment& env, CompareChoices& choices);

// The drive comparison: nothing (after its message) without a link or when a read of a classic
// parameter fails; nothing either while another pass runs or when the owner was closed meanwhile.
std::optional<CompareResult> CompareWithDrive(const CompareRunEnvironment& env);
// The file runs: nothing when a file could not be read (the reason was shown).
std::optional<CompareResult> CompareWithFileRun(const CompareRunEnvironment& env,
                                                const CompareChoices& choices);
std::optional<CompareResult> CompareFilesRun(const CompareRunEnvironment& env, const CompareChoices& choices);

// "Parameter compare finished!No difference!" for a result without a flag, else the result dialog.
void ShowCompareOutcome(const CompareRunEnvironment& env, const CompareResult& result);
