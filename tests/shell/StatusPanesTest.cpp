#include "shell/StatusPanes.h"

#include "shell/ShellGlobals.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// The texts of the resource library the panes use; an id without a text shows as "#id", so a
// wrong id is seen at once.
std::string LoadString(int id) {
    static const std::map<int, std::string> texts = {
        {61496, "Servo Status:"},
        {61497, "--- Control"},
        {61498, "Version: "},
        {61499, "Servo Offline"},
        {61545, "Servo Online"},
        {61684, "Servo On"},
        {61685, "Servo Off"},
        {61686, " Control"},
        {178, "Actual Speed: "},
        {179, "Actual Position: "},
        {61502, "Message: "},
        {61681, "Communicate Error!"},
        {61546, "Disconnect"},
        {61477, "Normal"},
        {61478, "Power Supply Voltage Too Low"},
        {61493, "Driver Overheat"},
        {62726, "Motor Wire Disconnection Error"},
        {126, "Positive driving prohibits exceptions"},
        {125, "Negative driving prohibits exceptions"},
        {105, "Positive/negative driving prohibits exceptions"},
        {182, "Driver Limit Normal"},
        {181, "RST Power Normal"},
        {180, "RST Power NG"},
        {61500, "Type: "},
        {61501, "Motor Type:"},
    };
    auto found = texts.find(id);
    return found == texts.end() ? "#" + std::to_string(id) : found->second;
}

StatusWords Online() {
    StatusWords w;
    w.Connected = true;
    w.LinkOpenIndicator = true;
    w.ServoOn = true;
    w.ControlMode = 3;
    w.DriveSoftwareVersion = 246;
    w.ActualSpeed = -120;
    w.ActualPosition = 1000;
    w.DriveTypeWord = 0x0300;
    w.MotorCode = 0x1011;
    return w;
}

StatusWords Offline(bool indicator = false) {
    StatusWords w;
    w.LinkOpenIndicator = indicator;
    return w;
}

template <typename Change> StatusWords Online(Change change) {
    StatusWords w = Online();
    change(w);
    return w;
}

constexpr std::optional<COLORREF> Default = std::nullopt;

struct Case {
    int kind;
    StatusWords words;
    std::string text;
    std::optional<COLORREF> background;
};

TEST(StatusPanes, TextAndBackgroundByKind) {
    const Case cases[] = {
        {PaneServoStatus, Online(), "Servo Status:Servo On", Default},
        {PaneServoStatus, Online([](StatusWords& w) { w.ServoOn = false; }), "Servo Status:Servo Off",
         Default},
        {PaneServoStatus, Offline(), "Servo Status:----------", Default},
        {PaneControlMode, Online(), "Pe-S Control", Default},
        {PaneControlMode, Online([](StatusWords& w) { w.ControlMode = 13; }), "EC Control", Default},
        {PaneControlMode, Online([](StatusWords& w) { w.ControlMode = 14; }), "--- Control", Default},
        {PaneControlMode, Offline(), "--- Control", Default},
        {PaneVersion, Online(), "Version: A02.46", Default},
        {PaneVersion, Online([](StatusWords& w) { w.DriveSoftwareVersion = 1205; }), "Version: A12.05",
         Default},
        {PaneVersion, Offline(), "Version: ------", Default},
        {PaneLink, Online(), "Servo Online", PaneGreen},
        {PaneLink, Offline(true), "Servo Offline", PaneRed},
        {PaneActualSpeed, Online(), "Actual Speed: -120 rpm", Default},
        {PaneActualSpeed, Offline(), "-----------", Default},
        {PaneActualPosition, Online(), "Actual Position: 1000 unit/PLS", Default},
        {PaneActualPosition, Offline(), "-----------", Default},
        {PaneMessage, Online(), "Message: Normal", Default},
        {PaneMessage, Online([](StatusWords& w) { w.CurrentAlarmCode = 1; }),
         "Message: Power Supply Voltage Too Low", PaneYellow},
        {PaneMessage, Online([](StatusWords& w) { w.CurrentAlarmCode = 15; }), "Message: Driver Overheat",
         PaneYellow},
        {PaneMessage, Online([](StatusWords& w) { w.CurrentAlarmCode = 20; }),
         "Message: Motor Wire Disconnection Error", PaneYellow},
        {PaneMessage, Online([](StatusWords& w) { w.CurrentAlarmCode = 91; }), "Message: -----", PaneYellow},
        {PaneMessage, Online([](StatusWords& w) { w.CurrentAlarmCode = -3; }), "Message: -----", Default},
        {PaneMessage, Offline(true), "Message: Communicate Error!", Default},
        {PaneMessage, Offline(false), "Message: Disconnect", Default},
        {PaneLimit, Online(), "Driver Limit Normal", Default},
        {PaneLimit, Online([](StatusWords& w) { w.FirstTypeWord = 1; }),
         "Positive driving prohibits exceptions", PaneRed},
        {PaneLimit, Online([](StatusWords& w) { w.FirstTypeWord = 2; }),
         "Negative driving prohibits exceptions", PaneRed},
        {PaneLimit, Online([](StatusWords& w) { w.FirstTypeWord = 3; }),
         "Positive/negative driving prohibits exceptions", PaneRed},
        {PaneLimit, Online([](StatusWords& w) { w.FirstTypeWord = 4; }), "Driver Limit Normal", Default},
        {PaneLimit, Offline(), "----", Default},
        {PanePower, Online(), "RST Power Normal", Default},
        {PanePower, Online([](StatusWords& w) { w.SecondTypeWord = 0; }), "RST Power NG", PaneRed},
        {PanePower, Online([](StatusWords& w) { w.SecondTypeWord = 2; }), "------- ", PaneRed},
        {PanePower, Offline(), "-------", Default},
        {PaneDriveType, Online(), "Type: HBVZR3 - D04", Default},
        {PaneDriveType, Online([](StatusWords& w) { w.BrandMode = BrandOem; }), "Type: YLT2 - D04", Default},
        {PaneDriveType, Offline(), "Type: -----", Default},
        {PaneMotorType, Online(), "Motor Type:HBMQ - M001B", Default},
        {PaneMotorType, Online([](StatusWords& w) { w.MotorCode = 0x1010; }), "Motor Type:HBMQ - M001-",
         Default},
        {PaneMotorType, Online([](StatusWords& w) { w.MotorCode = 0xF0F1; }), "Motor Type:-----------",
         Default},
        {PaneMotorType, Offline(), "Motor Type:-----------", Default},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::optional<StatusPaneContent> content = FormatStatusPane(c.kind, c.words, LoadString);
        ASSERT_TRUE(content.has_value());
        EXPECT_EQ(content->text, c.text);
        EXPECT_EQ(content->background, c.background);
    }
}

TEST(StatusPanes, KindsOutsideTheTableLeaveThePaneAlone) {
    for (int kind : {-1, 11, 12, 1000}) {
        EXPECT_FALSE(FormatStatusPane(kind, Online(), LoadString).has_value()) << kind;
        EXPECT_FALSE(StatusPaneLayoutOf(kind, 1920).has_value()) << kind;
    }
}

TEST(StatusPanes, PaneIdsAndWidthsFollowTheScreen) {
    struct Layout {
        int kind, id, width1920, width1366;
    } layouts[] = {
        {0, 61496, 160, 113}, {1, 61497, 120, 85},  {2, 61498, 120, 85},   {3, 61499, 128, 91},
        {4, 61502, 160, 113}, {5, 61503, 213, 151}, {6, 61504, 274, 195},  {7, 61500, 213, 151},
        {8, 61501, 274, 195}, {9, 61501, 274, 195}, {10, 61501, 274, 195},
    };
    for (const Layout& l : layouts) {
        EXPECT_EQ(StatusPaneLayoutOf(l.kind, 1920)->id, l.id);
        EXPECT_EQ(StatusPaneLayoutOf(l.kind, 1920)->width, l.width1920) << l.kind;
        EXPECT_EQ(StatusPaneLayoutOf(l.kind, 1366)->width, l.width1366) << l.kind;
    }
}

TEST(StatusPanes, AlarmMessageStrings) {
    const std::pair<int, int> ids[] = {
        {0, 61477},  {1, 61478},  {10, 61487}, {11, 61489}, {15, 61493}, {16, 62191}, {17, 62192},
        {18, 62724}, {34, 62740}, {35, 62792}, {44, 62801}, {45, 63336}, {48, 63339}, {49, 63434},
        {51, 63436}, {52, 63602}, {53, 63629}, {54, 63630}, {55, 63657}, {56, 63658}, {57, 63664},
        {60, 63667}, {61, 63687}, {62, 63688}, {63, 63836}, {64, 63829}, {65, 63906}, {73, 63914},
        {74, 5},     {76, 7},     {77, 1003},  {78, 194},   {83, 199},   {84, 205},   {88, 209},
        {89, 1004},  {90, 1005},  {91, 0},     {996, 0},    {997, 105},  {998, 125},  {999, 126},
        {1000, 0},   {-1, 0},
    };
    for (auto [code, id] : ids)
        EXPECT_EQ(AlarmMessageStringId(code), id) << code;
}

} // namespace
