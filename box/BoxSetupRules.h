#pragma once
// The box recorder's settings as the settings dialog offers and writes them: the data-type list,
// the trigger level range of each trigger source, the checks a Write makes before it sends
// anything, and the requests of one Write in their order.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

constexpr int BoxIntervalMax = 1250;
constexpr int BoxPositionMax = 50;
constexpr int BoxPointsPerLine = 512;

// One item of a data-type combo: its text and the signal code it stands for.
struct BoxDataTypeItem {
    int code = 0;
    std::string text;
};
// "None", DI-1..12, DO-1..8 and the signal types, numbered "%d." from the first DI item. dioWords
// are the drive's 24 DI/DO function words (DI k is word k, DO 1..4 are words 13..16, DO 5..8 are
// words 19..22).
std::vector<BoxDataTypeItem> BoxDataTypeList(const std::array<int, 24>& dioWords);
// The item of a list whose code is code; 0 ("None") when none is.
int BoxDataTypeItemOf(const std::vector<BoxDataTypeItem>& list, int code);

// What a trigger source allows for its level and which controls it enables.
struct BoxLevelRule {
    std::optional<int> levelMin; // unset: keep the previous minimum
    int levelMax = 0;
    int textLimit = 0; // characters of the level edit; 0 leaves it
    std::string unitText;
    bool zeroLevel = false;   // the level is set to 0 (always, or when outside the range)
    bool levelEnabled = true; // level edit and spin
    bool edgeAndPositionEnabled = true;
};
// maxSpeed bounds speed levels; wideBusVoltage gives 0..1000 for the bus voltage (else 0..500).
// Codes 25 and 26 are one 16-bit register on the drive: their level stays within -32768..32767.
BoxLevelRule BoxTriggerLevelRule(int triggerSource, int maxSpeed, bool wideBusVoltage);
// Whether the rule resets level.
bool BoxLevelForcedToZero(const BoxLevelRule& rule, int level);

// The types whose high word shares one area of the recorder (25 uses 26's, 43 uses 44's; the
// recorder carries only one such area).
bool IsBoxWideType(int code);
// True when more than one channel records a 32-bit type.
bool HasSecondWideType(const std::array<int, 4>& channelSignals);

// One exchange of a Write: a single register ("W1") or a pair of registers ("W2").
struct BoxWriteStep {
    std::vector<std::pair<uint16_t, int>> words;
    std::string what; // names the step in a failure message
};
struct BoxRecorderSettings {
    int triggerSource = 0;
    int triggerPosition = 0;
    int triggerLevel = 0;
    int triggerEdge = 0;
    int sampleInterval = 1;
};
// Enabled: disarm, the two pairs, the interval, 0x1521 := 0, 0x1523 := 0 and, last, the arm.
// Disabled: only the disarm.
std::vector<BoxWriteStep> BoxWritePlan(const BoxRecorderSettings& settings, bool enable);

// "%.1f" of the interval in ms and "%.2f" of the record time in ms.
std::string BoxIntervalText(int sampleInterval);
std::string BoxRecordTimeText(int sampleInterval, int pointsPerLine);
