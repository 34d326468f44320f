#include "trace/GraphServices.h"

#include "trace/GraphPlotRules.h"
#include "trace/TraceRegisters.h"

#include "framework/core/ChannelColours.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "link/LinkState.h"
#include "link/services/RegisterServices.h"

#include <algorithm>
#include <array>
#include <optional>

std::string AutosaveFolder;

COLORREF ChannelColor(unsigned index) {
    return index < kChannelColours.size() ? kChannelColours[index] : RGB(255, 255, 255);
}

int TimeDisplayDivisorOf(int traceMode, int driveSoftwareVersion, int seriesCode) {
    if (traceMode != TraceModeMonitor)
        return 100;
    return driveSoftwareVersion >= 55 || seriesCode == 6 || seriesCode == 8 || seriesCode == 9 ? 10 : 1;
}

int SelectScaleStep(int32_t value) {
    if (value > 50000000)
        return 100000000;
    static constexpr int steps[] = {10000000, 5000000, 1000000, 500000, 200000, 100000, 50000, 10000,
                                    5000,     4000,    1000,    500,    100,    50,     10,    5};
    for (int step : steps)
        if (step < value)
            return step;
    return 1;
}

int AxisUnitDivisor(const std::string& scaleText, int32_t value) {
    if (scaleText == "100k")
        return 1000;
    if (scaleText == "1M" || scaleText == "10M" || scaleText == "100M")
        return 1000000;
    if (scaleText != "AUTO")
        return 1;
    const int64_t magnitude = value < 0 ? -static_cast<int64_t>(value) : value;
    if (magnitude >= 10000000)
        return 1000000;
    if (magnitude >= 1000000)
        return 1000;
    return 1;
}

std::string AxisLabelText(const std::string& scaleText, int64_t value) {
    const int32_t clamped = static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
    const int divisor = AxisUnitDivisor(scaleText, clamped);
    std::string text = Format("%lld", static_cast<long long>(value / divisor));
    if (divisor == 1000)
        text += "k";
    else if (divisor == 1000000)
        text += "M";
    return text;
}

int TraceFileChannelCode(int storedCode) {
    if (storedCode == 9)
        return 34;
    if (storedCode == 10)
        return 35;
    if (storedCode > 10)
        return storedCode - 2;
    return storedCode;
}

int NearestStepTop(int value, int count, int step, int divisions) {
    // The nearest multiple at once rather than a walk over every candidate (a slider of a channel at
    // scale 1 has half a billion of them): value / step rounded to the nearer whole number, a tie
    // towards zero (the search order 0, +1, -1, +2, ... meets the smaller |j| first).
    int64_t best = 0;
    if (count > 0 && step > 0) {
        const int64_t v = value;
        best = v / step;
        const int64_t rest = v - best * step;
        if (2 * (rest < 0 ? -rest : rest) > step)
            best += v < 0 ? -1 : 1;
        best = std::clamp<int64_t>(best, -(static_cast<int64_t>(count) - 1), static_cast<int64_t>(count) - 1);
    }
    return ClampedInt(static_cast<int64_t>(step) * (best + divisions - divisions / 2));
}

int QueryTraceState(CRegisterServices& link) {
    if (!ConnectedFlag)
        return 0;
    const std::optional<int> state = link.ReadDriveRegister(TraceStateRegister);
    if (!state)
        return 0;
    return *state == 2 ? 2 : 1;
}

bool CheckConnected() {
    if (ConnectedFlag)
        return true;
    ShowMessage("Communicate Error!", "Communication Message", MB_OK | MB_ICONSTOP);
    return false;
}
