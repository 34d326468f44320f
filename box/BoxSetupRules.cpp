#include "box/BoxSetupRules.h"

#include "trace/TraceRecords.h"

#include "catalogue/ParamTexts.h"
#include "framework/core/Format.h"
#include "framework/core/ResourceModule.h"

namespace {

struct SignalItem {
    int code;
    int textId;
};
// Codes 26 and 44 are the high words of 25 and 43: the recorder uses them itself.
constexpr SignalItem SignalItems[] = {
    {21, 62024}, {22, 62025}, {23, 62026}, {24, 62027}, {25, 62028}, {27, 62029}, {28, 62030}, {29, 62031},
    {30, 63423}, {31, 63424}, {32, 63674}, {33, 63675}, {34, 63676}, {35, 63677}, {36, 63678}, {37, 63679},
    {38, 63839}, {39, 63840}, {40, 136},   {41, 137},   {42, 138},   {43, 139},   {45, 141},   {46, 142},
};

} // namespace

std::vector<BoxDataTypeItem> BoxDataTypeList(const std::array<int, 24>& dioWords) {
    std::vector<BoxDataTypeItem> list;
    list.push_back({0, LoadResString(62023)});
    int number = 1;
    for (int k = 1; k <= 12; ++k, ++number)
        list.push_back({k, Format("%d.DI-%d - ", number, k) +
                               DiFunctionName(PinFunctionNumber(dioWords[static_cast<size_t>(k - 1)]))});
    for (int k = 1; k <= 8; ++k, ++number) {
        const int word = dioWords[static_cast<size_t>(k <= 4 ? 12 + k - 1 : 18 + k - 5)];
        list.push_back({12 + k, Format("%d.DO-%d - ", number, k) + DoFunctionName(PinFunctionNumber(word))});
    }
    for (const SignalItem& item : SignalItems)
        list.push_back({item.code, Format("%d.", number++) + LoadResString(item.textId)});
    return list;
}

int BoxDataTypeItemOf(const std::vector<BoxDataTypeItem>& list, int code) {
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].code == code)
            return static_cast<int>(i);
    return 0;
}

BoxLevelRule BoxTriggerLevelRule(int source, int maxSpeed, bool wideBusVoltage) {
    BoxLevelRule rule;
    const auto ranged = [&](int low, int high, int chars, const std::string& unit) {
        rule.levelMin = low;
        rule.levelMax = high;
        rule.textLimit = chars;
        rule.unitText = unit;
    };
    if (source <= 0) {
        rule.levelMax = 0;
        rule.levelEnabled = false;
        rule.edgeAndPositionEnabled = false;
    } else if (source <= 20) {
        ranged(0, 1, 3, "[]");
        rule.zeroLevel = true;
        rule.levelEnabled = false;
    } else if (source == 21 || source == 22 || source == 28 || source == 30 || source == 31) {
        ranged(-maxSpeed, maxSpeed, 5, Format("[rpm]  (%d~%d)", -maxSpeed, maxSpeed));
    } else if ((source >= 23 && source <= 24) || source == 29 || (source >= 40 && source <= 43)) {
        ranged(-100, 100, 4, "[%]  (-100~100)");
        rule.zeroLevel = true;
    } else if (source == 25) {
        // The level register holds one 16-bit word.
        ranged(-32768, 32767, 6, "[pulse]  (-32768~32767)");
    } else if (source == 27) {
        ranged(0, 359, 3, "[degree]  (0~359)");
        rule.zeroLevel = true;
    } else if (source == 32) {
        if (wideBusVoltage)
            ranged(0, 1000, 4, "[v]  (0~1000)");
        else
            ranged(0, 500, 3, "[v]  (0~500)");
    } else if (source == 26) {
        ranged(-32768, 32767, 6, "[-]  (-32768~32767)");
    } else if (source == 44 || source == 45) {
        ranged(0, 100, 3, "(0~100)");
    } else {
        ranged(-32768, 32767, 6, "(-32768~32767)");
    }
    return rule;
}

bool BoxLevelForcedToZero(const BoxLevelRule& rule, int level) {
    if (!rule.zeroLevel)
        return false;
    // The bit sources always start at 0; the others only leave a level outside their range.
    if (rule.levelMin == 0 && rule.levelMax == 1)
        return true;
    return level < rule.levelMin.value_or(0) || level > rule.levelMax;
}

bool IsBoxWideType(int code) {
    return code == 25 || code == 43;
}

bool HasSecondWideType(const std::array<int, 4>& channelSignals) {
    int wide = 0;
    for (int code : channelSignals)
        if (IsBoxWideType(code))
            ++wide;
    return wide > 1;
}

std::vector<BoxWriteStep> BoxWritePlan(const BoxRecorderSettings& s, bool enable) {
    std::vector<BoxWriteStep> plan;
    plan.push_back({{{BoxEnableRegister, 0}}, "the disarm"});
    if (!enable)
        return plan;
    plan.push_back({{{BoxTriggerSourceRegister, s.triggerSource}, {BoxPositionRegister, s.triggerPosition}},
                    "the trigger source and position"});
    plan.push_back({{{BoxLevelRegister, s.triggerLevel}, {BoxEdgeRegister, s.triggerEdge}},
                    "the trigger level and edge"});
    plan.push_back({{{BoxIntervalRegister, s.sampleInterval}}, "the interval"});
    plan.push_back({{{BoxClearRegister, 0}}, "the clear of the record"});
    plan.push_back({{{BoxCompleteRegister, 0}}, "the reset of the record flag"});
    plan.push_back({{{BoxEnableRegister, 1}}, "the arming"});
    return plan;
}

std::string BoxIntervalText(int sampleInterval) {
    const float period = static_cast<float>(sampleInterval) * 10000.0f;
    return Format("%.1f", static_cast<double>(period / 100000.0f));
}

std::string BoxRecordTimeText(int sampleInterval, int pointsPerLine) {
    const float period = static_cast<float>(sampleInterval) * 10000.0f;
    return Format("%.2f", static_cast<double>(period * static_cast<float>(pointsPerLine) / 100000.0f));
}
