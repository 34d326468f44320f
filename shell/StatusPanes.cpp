#include "shell/StatusPanes.h"

#include "catalogue/MotorTables.h"
#include "framework/core/Format.h"
#include "shell/ShellGlobals.h"

#include <array>

namespace {

struct PaneSpec {
    int id;
    int divisor; // the pane is screen width / divisor wide
};

constexpr std::array<PaneSpec, StatusPaneKindCount> kPanes{{
    {61496, 12},
    {61497, 16},
    {61498, 16},
    {61499, 15},
    {61502, 12},
    {61503, 9},
    {61504, 7},
    {61500, 9},
    {61501, 7},
    {61501, 7},
    {61501, 7},
}};

// String ids of the pane texts.
enum : int {
    IdsServoStatus = 61496,
    IdsNoControl = 61497,
    IdsVersion = 61498,
    IdsServoOffline = 61499,
    IdsServoOnline = 61545,
    IdsServoOn = 61684,
    IdsServoOff = 61685,
    IdsControlSuffix = 61686,
    IdsActualSpeed = 178,
    IdsActualPosition = 179,
    IdsMessage = 61502,
    IdsCommunicateError = 61681,
    IdsDisconnect = 61546,
    IdsPositiveLimit = 126,
    IdsNegativeLimit = 125,
    IdsBothLimits = 105,
    IdsLimitNormal = 182,
    IdsPowerNormal = 181,
    IdsPowerNg = 180,
    IdsType = 61500,
    IdsMotorType = 61501,
};

// Alarm codes first..last show the strings firstId.. in order.
struct AlarmSpan {
    int first;
    int last;
    int firstId;
};

constexpr AlarmSpan kAlarmSpans[] = {
    {0, 0, 61477},   {1, 10, 61478},  {11, 15, 61489}, {16, 17, 62191}, {18, 34, 62724}, {35, 44, 62792},
    {45, 48, 63336}, {49, 51, 63434}, {52, 52, 63602}, {53, 54, 63629}, {55, 56, 63657}, {57, 60, 63664},
    {61, 62, 63687}, {63, 63, 63836}, {64, 64, 63829}, {65, 73, 63906}, {74, 76, 5},     {77, 77, 1003},
    {78, 83, 194},   {84, 88, 205},   {89, 90, 1004},  {997, 997, 105}, {998, 998, 125}, {999, 999, 126},
};

constexpr const char* kUnknownMotor = "-----------";

constexpr const char* kControlModes[] = {"T",    "S",    "Pe", "Pe-S",  "S-T", "Pe-T", "Pi",
                                         "Pi-S", "Pi-T", "Pt", "Pi-Pe", "Cob", "CoC",  "EC"};

bool InRange(int kind) {
    return kind >= 0 && kind < StatusPaneKindCount;
}

StatusPaneContent Plain(std::string text) {
    return {std::move(text), std::nullopt};
}

StatusPaneContent Coloured(std::string text, COLORREF colour) {
    return {std::move(text), colour};
}

} // namespace

std::optional<StatusPaneLayout> StatusPaneLayoutOf(int kind, int screenWidth) {
    if (!InRange(kind))
        return std::nullopt;
    const PaneSpec& spec = kPanes[static_cast<size_t>(kind)];
    return StatusPaneLayout{spec.id, screenWidth / spec.divisor};
}

int AlarmMessageStringId(int code) {
    for (const AlarmSpan& span : kAlarmSpans)
        if (code >= span.first && code <= span.last)
            return span.firstId + (code - span.first);
    return 0;
}

std::string ControlModeAbbreviation(int mode) {
    if (mode < 0 || mode >= static_cast<int>(std::size(kControlModes)))
        return "---";
    return kControlModes[mode];
}

std::string DriveTypeText(int driveTypeWord, int brandMode) {
    // The drive model list of the setup wizard names capacity classes D01, D02, ... under the
    // family word of the brand; the status bar uses the same designations.
    const int capacityClass = (driveTypeWord >> 8) & 0xF;
    const char* family = brandMode == BrandOem ? "YLT2" : "HBVZR3";
    return Format("%s - D%02d", family, capacityClass + 1);
}

std::string MotorTypeText(int motorCode) {
    const unsigned type = static_cast<unsigned>(motorCode) & 0xFFF0u;
    const int group = MotorCodeToGroup(motorCode);
    for (int row = 0; row < MotorModelRowsHeld(group); ++row) {
        const MotorModelRow* model = MotorModelTable(group, row);
        if (model && model->typeCode == type) {
            MotorTables tables;
            const std::string encoder = tables.EncoderSpecAt(EncoderIndexOf(motorCode));
            return std::string(model->model) + encoder.substr(0, 1);
        }
    }
    return kUnknownMotor;
}

std::optional<StatusPaneContent> FormatStatusPane(int kind, const StatusWords& w,
                                                  const StatusStringLoader& loadString) {
    if (!InRange(kind))
        return std::nullopt;
    const bool linked = w.Connected;
    switch (static_cast<StatusPaneKind>(kind)) {
    case PaneServoStatus:
        return Plain(loadString(IdsServoStatus) +
                     (linked ? loadString(w.ServoOn ? IdsServoOn : IdsServoOff) : "----------"));
    case PaneControlMode:
        if (!linked)
            return Plain(loadString(IdsNoControl));
        return Plain(ControlModeAbbreviation(w.ControlMode) + loadString(IdsControlSuffix));
    case PaneVersion:
        if (!linked)
            return Plain(loadString(IdsVersion) + "------");
        return Plain(loadString(IdsVersion) + Format("A%02d", w.DriveSoftwareVersion / 100) + "." +
                     Format("%02d", w.DriveSoftwareVersion % 100));
    case PaneLink:
        return linked ? Coloured(loadString(IdsServoOnline), PaneGreen)
                      : Coloured(loadString(IdsServoOffline), PaneRed);
    case PaneActualSpeed:
        if (!linked)
            return Plain("-----------");
        return Plain(loadString(IdsActualSpeed) + Format("%d", w.ActualSpeed) + " rpm");
    case PaneActualPosition:
        if (!linked)
            return Plain("-----------");
        return Plain(loadString(IdsActualPosition) + Format("%d", w.ActualPosition) + " unit/PLS");
    case PaneMessage: {
        if (!linked)
            return Plain(loadString(IdsMessage) +
                         loadString(w.LinkOpenIndicator ? IdsCommunicateError : IdsDisconnect));
        const int id = AlarmMessageStringId(w.CurrentAlarmCode);
        StatusPaneContent content = Plain(loadString(IdsMessage) + (id ? loadString(id) : "-----"));
        if (w.CurrentAlarmCode >= 1)
            content.background = PaneYellow;
        return content;
    }
    case PaneLimit:
        if (!linked)
            return Plain("----");
        switch (w.FirstTypeWord) {
        case 1:
            return Coloured(loadString(IdsPositiveLimit), PaneRed);
        case 2:
            return Coloured(loadString(IdsNegativeLimit), PaneRed);
        case 3:
            return Coloured(loadString(IdsBothLimits), PaneRed);
        default:
            return Plain(loadString(IdsLimitNormal));
        }
    case PanePower:
        if (!linked)
            return Plain("-------");
        if (w.SecondTypeWord == 1)
            return Plain(loadString(IdsPowerNormal));
        if (w.SecondTypeWord == 0)
            return Coloured(loadString(IdsPowerNg), PaneRed);
        return Coloured("------- ", PaneRed);
    case PaneDriveType:
        return Plain(loadString(IdsType) + (linked ? DriveTypeText(w.DriveTypeWord, w.BrandMode) : "-----"));
    case PaneMotorType:
        return Plain(loadString(IdsMotorType) + (linked ? MotorTypeText(w.MotorCode) : "-----------"));
    case StatusPaneKindCount:
        break;
    }
    return std::nullopt;
}
