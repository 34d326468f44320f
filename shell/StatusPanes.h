#pragma once
// What the panes of the main frame's status bar show: each pane shows one kind of drive state
// (StatusbarSet picks the kind per pane); for a kind, its pane id, its width and, from the drive
// words the status refresh read, its text and background colour. Pure functions; the frame puts
// the results on screen.
#include "framework/core/Geometry.h"

#include <functional>
#include <optional>
#include <string>

enum StatusPaneKind : int {
    PaneServoStatus = 0,
    PaneControlMode = 1,
    PaneVersion = 2,
    PaneLink = 3,
    PaneActualSpeed = 4,
    PaneActualPosition = 5,
    PaneMessage = 6,
    PaneLimit = 7,
    PanePower = 8,
    PaneDriveType = 9,
    PaneMotorType = 10,
    StatusPaneKindCount = 11
};

constexpr COLORREF PaneGreen = 0x00FF00;  // 65280
constexpr COLORREF PaneRed = 0x0000FF;    // 255
constexpr COLORREF PaneYellow = 0x00FFFF; // 65535

// The drive state the panes are built from.
struct StatusWords {
    bool Connected = false;         // ConnectedFlag: "linked" texts, else "unlinked" texts
    bool LinkOpenIndicator = false; // a link was open and is lost: the message pane says so
    bool ServoOn = false;
    int ControlMode = 0;          // dn-01
    int DriveSoftwareVersion = 0; // dn-04
    int ActualSpeed = 0;          // Un01
    int ActualPosition = 0;       // Un96
    int CurrentAlarmCode = 0;     // the A01 register
    int FirstTypeWord = 0;        // register 0x171B: drive limit state
    int SecondTypeWord = 1;       // register 0x171C: main power state
    int DriveTypeWord = 0;        // onC18
    int MotorCode = 0;            // register 0x0F08
    int BrandMode = 0;
};

struct StatusPaneLayout {
    int id;    // indicator id of the pane
    int width; // pixels
};

struct StatusPaneContent {
    std::string text;
    std::optional<COLORREF> background; // empty: the bar's default background
    bool operator==(const StatusPaneContent&) const = default;
};

// Texts come from the resource library by string id.
using StatusStringLoader = std::function<std::string(int id)>;

// Id and width of a pane of the kind for the given screen width; empty for a kind outside 0..10
// (such a pane is left as it is).
std::optional<StatusPaneLayout> StatusPaneLayoutOf(int kind, int screenWidth);

// Text and background of a pane of the kind; empty for a kind outside 0..10.
std::optional<StatusPaneContent> FormatStatusPane(int kind, const StatusWords& words,
                                                  const StatusStringLoader& loadString);

// String id of the message text for an alarm code; 0 for a code without one (shown as "-----").
int AlarmMessageStringId(int code);
// Abbreviation of a control mode value ("T", "S", "Pe", ... "EC"); "---" above 13 or below 0.
std::string ControlModeAbbreviation(int mode);
// Drive designation from the capacity class (bits 8..11 of onC18) and the brand.
std::string DriveTypeText(int driveTypeWord, int brandMode);
// Motor designation (model and encoder letter) of a motor code; "-----------" for an unknown one.
std::string MotorTypeText(int motorCode);
