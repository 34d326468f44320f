#pragma once
// The choices of the status-bar set-up dialog and the Project Mode access check. Pure; the dialogs
// show the texts and the message seam the answers.
#include <array>
#include <string>

// The entries of each pane's combo; an entry's index is the pane's StatusPaneKind.
inline constexpr std::array<const char*, 11> StatusbarChoiceNames{
    "Servo Status",  "Control Mode", "Firmware Version", "Link Status", "Realtime Speed", "Realtime Position",
    "Alarm Message", "Limit Alarm",  "RST Power Alarm",  "Servo Type",  "Motor Type"};

// The combo entry shown for a stored pane kind; -1 (nothing selected) for a kind outside 0..10.
int StatusbarChoiceIndex(int kind);

// The access code of Project Mode for the brand.
std::string ProjectModeAccessCode(int brandMode);

struct ProjectModeAnswer {
    int debugModeFlag;   // the new DebugModeFlag: 1 accepted, 0 refused (a wrong code also ends it)
    std::string message; // "Enter Debug Mode!" / "Security Code Error!"
};
// The whole typed text against the brand's code, exactly and case-sensitively.
ProjectModeAnswer CheckProjectModeCode(const std::string& typed, int brandMode);
