#include "trace/TraceSetupRules.h"

#include "trace/TraceRegisters.h"

#include <algorithm>

TriggerLevelRange TriggerRangeFor(int source, bool monitor, bool linearMotor, bool highVoltage) {
    TriggerLevelRange r;
    auto set = [&](int minimum, int maximum, int limit, std::string text) {
        r.minimum = minimum;
        r.maximum = maximum;
        r.editLimit = limit;
        r.text = std::move(text);
        r.levelEnabled = r.edgeEnabled = true;
    };
    if (source == 44 || source == 45) {
        set(0, 100, 3, "(0~100)");
        return r;
    }
    if (source <= 0 || monitor)
        return r; // no trigger: level, edge and position wait
    switch (source) {
    case 1:
    case 2:
    case 7:
    case 34:
    case 35:
        set(-10000, 10000, 6, std::string(linearMotor ? "[mm/s]  " : "[rpm]  ") + "(-10000~10000)");
        return r;
    case 3:
    case 4:
    case 8:
        set(-100, 100, 4, "[%]  (-100~100)");
        r.clampLevel = true;
        return r;
    case 5:
        // One 16-bit word reaches the drive: the position error's level stays within it.
        set(TriggerLevelWordMin, TriggerLevelWordMax, 6, "[pulse]  (-32768~32767)");
        return r;
    case 6:
        set(0, 359, 3, "[degree]  (0~359)");
        r.clampLevel = true;
        return r;
    case 36:
        set(0, highVoltage ? 1000 : 500, 3, highVoltage ? "[v]  (0~1000)" : "[v]  (0~500)");
        return r;
    default:
        break;
    }
    if (source >= 9 && source <= 28) {
        set(0, 1, 3, "[]");
        r.levelEnabled = false;
        r.zeroLevel = true;
        return r;
    }
    set(TriggerLevelWordMin, TriggerLevelWordMax, 6, "(-32768~32767)");
    return r;
}

int LevelWithin(const TriggerLevelRange& range, int level) {
    if (range.zeroLevel)
        return 0;
    if (range.clampLevel && (level < range.minimum || level > range.maximum))
        return 0;
    return level;
}

bool LongWordAllowed(const std::array<int, 8>& codes, int channel, bool eightChannels) {
    const int others = CountWideChannels(codes, channel);
    if (channel >= 5)
        return false;
    if (channel == 4)
        return others < 3;
    if (channel == 3)
        return eightChannels && others <= 2;
    if (!eightChannels) {
        const std::array<int, 8> firstThree{codes[0], codes[1], codes[2], 0, 0, 0, 0, 0};
        return CountWideChannels(firstThree, channel) == 0;
    }
    return others <= 2;
}

std::array<bool, 8> ChannelControlsEnabled(const std::array<int, 8>& sources, bool eightChannels) {
    std::array<bool, 8> enabled{true, true, true, true, eightChannels, false, false, false};
    if (!eightChannels) {
        const std::array<int, 8> firstThree{sources[0], sources[1], sources[2], 0, 0, 0, 0, 0};
        enabled[3] = CountWideChannels(firstThree) == 0;
        return enabled;
    }
    const int wide = CountWideChannels(sources);
    enabled[5] = wide < 3;
    enabled[6] = wide < 2;
    enabled[7] = wide < 1;
    return enabled;
}

int SetupPoints(int traceMode, bool eightChannels) {
    if (traceMode == TraceModeMonitor)
        return 102400;
    return eightChannels ? 1024 : 2048;
}

int SetupIntervalMaximum(int traceMode) {
    return traceMode == TraceModeMonitor ? 500 : 1250;
}

int SetupTimeBase(int interval, int traceMode, bool eightChannels) {
    return interval * (eightChannels || traceMode == TraceModeMonitor ? 10000 : 5000);
}
