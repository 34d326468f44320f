#include "trace/TraceCaptions.h"

#include "catalogue/ParamTexts.h"
#include "framework/core/Format.h"
#include "framework/core/ResourceModule.h"

namespace {

std::string SpeedUnit(int modelCode) {
    return IsLinearModel(modelCode) ? "mm/s" : "rpm";
}

std::string InputName(int setting) {
    return DiFunctionName(PinFunctionNumber(setting));
}

std::string OutputName(int setting) {
    return DoFunctionName(PinFunctionNumber(setting));
}

} // namespace

std::string ChannelSourceTitle(int code, const std::array<int, 24>& dio) {
    if (code == 0)
        return " ";
    if (code >= 1 && code <= 8)
        return LoadResString(62023 + code);
    if (code == 34 || code == 35)
        return LoadResString(63389 + code);
    if (code >= 36 && code <= 41)
        return LoadResString(63638 + code);
    if (code == 42 || code == 43)
        return LoadResString(63797 + code);
    if (code >= 44 && code <= 50)
        return LoadResString(92 + code);
    if (code == 51)
        return LoadResString(188);
    if (code >= 9 && code <= 20)
        return Format("DI-%d - ", code - 8) + InputName(dio[code - 9]);
    if (code >= 21 && code <= 24)
        return Format("DO-%d - ", code - 20) + OutputName(dio[code - 9]);
    if (code >= 25 && code <= 28)
        return Format("DO-%d - ", code - 20) + OutputName(dio[code - 7]);
    if (code >= 53 && code <= 56)
        return Format("Debug%d - ", code - 48);
    return Format("Debug%d - ", code - 28);
}

std::string ChannelSourceUnit(int code, int modelCode) {
    switch (code) {
    case 1:
    case 2:
    case 7:
    case 34:
    case 35:
        return SpeedUnit(modelCode);
    case 3:
    case 4:
    case 8:
    case 40:
    case 41:
    case 42:
    case 43:
    case 44:
    case 45:
        return "%";
    case 5:
    case 47:
    case 48:
    case 51:
        return "pulse";
    case 6:
    case 37:
        return "degree";
    case 36:
        return "V";
    case 46:
        return "rev";
    default:
        return " ";
    }
}

namespace {

struct BoxSignal {
    int stringId;
    const char* unit; // nullptr: the speed unit
};

// Codes 21..46.
constexpr BoxSignal kBoxSignals[] = {
    {62024, nullptr},  {62025, nullptr}, {62026, "%"}, {62027, "%"},     {62028, "pulse"}, {62029, " "},
    {62029, "degree"}, {62030, nullptr}, {62031, "%"}, {63423, nullptr}, {63424, nullptr}, {63674, "V"},
    {63675, "degree"}, {63676, " "},     {63677, " "}, {63678, "%"},     {63679, "%"},     {63839, "%"},
    {63840, "%"},      {136, "%"},       {137, "%"},   {138, "rev"},     {139, " "},       {140, " "},
    {141, " "},        {142, " "}};
static_assert(sizeof kBoxSignals / sizeof kBoxSignals[0] == 26);

} // namespace

std::string BoxChannelSignalName(int code, const std::array<int, 24>& words) {
    if (code == 0)
        return "none";
    if (code >= 1 && code <= 12)
        return Format("DI-%d - ", code) + InputName(words[code - 1]);
    if (code >= 13 && code <= 20)
        return Format("DO-%d - ", code - 12) + OutputName(words[code - 1]);
    if (code >= 21 && code <= 46)
        return LoadResString(kBoxSignals[code - 21].stringId);
    return Format("Debug%d - ", code - 46);
}

std::string BoxChannelUnitName(int code, int modelCode) {
    if (code >= 21 && code <= 46) {
        const char* unit = kBoxSignals[code - 21].unit;
        return unit ? unit : SpeedUnit(modelCode);
    }
    return code == 47 || code == 48 ? "pulse" : " ";
}
