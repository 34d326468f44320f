#include "trace/GraphPlotRules.h"

#include "framework/core/Format.h"
#include "trace/GraphServices.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace {

constexpr std::array<const char*, GraphScaleStepCount> ScaleTexts = {
    "1",    "2",    "5",    "10",   "20",    "50",   "100", "200", "500",
    "1000", "2000", "4000", "5000", "10000", "100k", "1M",  "10M", "100M"};
constexpr std::array<int, GraphScaleStepCount> ScaleSteps = {
    1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 4000, 5000, 10000, 100000, 1000000, 10000000, 100000000};

} // namespace

int SaturatedInt(double value) {
    if (std::isnan(value))
        return 0;
    return static_cast<int>(
        std::clamp(value, -static_cast<double>(WholeLimit), static_cast<double>(WholeLimit)));
}

int ClampedInt(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

const char* GraphScaleText(int index) {
    return index >= 0 && index < GraphScaleStepCount ? ScaleTexts[static_cast<size_t>(index)] : "";
}

int GraphScaleStep(int index) {
    return index >= 0 && index < GraphScaleStepCount ? ScaleSteps[static_cast<size_t>(index)] : 1;
}

int AutoScaleStep(int32_t lowest, int32_t highest) {
    const int64_t largest =
        std::max(std::llabs(static_cast<int64_t>(lowest)), std::llabs(static_cast<int64_t>(highest)));
    return std::max(1, SelectScaleStep(static_cast<int32_t>(std::min<int64_t>(largest, INT32_MAX))));
}

bool UsableTimeBase(float timePerDivision, float timeStep) {
    return std::isfinite(timePerDivision) && std::isfinite(timeStep) && timePerDivision > 0.0f &&
           timeStep > 0.0f;
}

std::vector<std::string> TimeBaseItems(float recordSpan, float timeStep, int divisor) {
    const float shownUnit = static_cast<float>(divisor);
    std::vector<std::string> items;
    float value = recordSpan / 10.0f;
    items.push_back(Format("%.2f", value / shownUnit));
    if (!(timeStep > 0.0f) || !std::isfinite(timeStep))
        return items;
    for (int guard = 0; value - timeStep > 0.0f && guard < 4096; ++guard) {
        value = std::max(timeStep, value - timeStep);
        items.push_back(Format("%.2f", value / shownUnit));
        if (value <= timeStep)
            break;
    }
    return items;
}

float TimePerDivisionAt(float recordSpan, float timeStep, int index) {
    const auto perDivision =
        static_cast<float>(static_cast<double>(recordSpan) / 10.0 - index * static_cast<double>(timeStep));
    return std::max(perDivision, timeStep);
}

int TimeScrollLimit(float recordSpan, float timePerDivision, bool roundUp) {
    if (!(timePerDivision > 0.0f))
        return 0;
    // A time per division of almost nothing makes more divisions than an int counts: held.
    const float divisions = recordSpan / timePerDivision;
    if (!roundUp)
        return std::max(0, SaturatedInt(divisions) - 10);
    int limit = SaturatedInt(divisions - 10.0f);
    if (limit < WholeLimit && recordSpan > static_cast<float>(10 + limit) * timePerDivision)
        ++limit;
    return std::max(limit, 0);
}

std::optional<int> ScrolledPosition(int code, unsigned thumb, int position, int limit) {
    switch (code) {
    case GraphLineUp:
        return std::max(0, position - 1);
    case GraphLineDown:
        return std::min(limit, position + 1);
    case GraphPageUp:
        return std::max(0, position - 10);
    case GraphPageDown:
        return std::min(limit, position + 10);
    case GraphThumbPosition:
    case GraphThumbTrack:
        return static_cast<int>(std::min(thumb, static_cast<unsigned>(std::max(limit, 0))));
    default:
        return std::nullopt;
    }
}

bool CanZoomFurther(float timePerDivision, float timeStep, std::span<const int> scales) {
    return timePerDivision > timeStep ||
           std::any_of(scales.begin(), scales.end(), [](int s) { return s > 1; });
}

std::optional<ZoomBox> ZoomBoxOf(CPoint start, CPoint end, float division) {
    if (std::abs(end.x - start.x) < 4 || std::abs(end.y - start.y) < 4 || !(division > 0.0f))
        return std::nullopt;
    const auto divisionOf = [division](int pixels) {
        return static_cast<int>(static_cast<float>(pixels) / division);
    };
    const int left = divisionOf(std::min(start.x, end.x));
    const int top = divisionOf(std::min(start.y, end.y));
    const ZoomBox box{left, top, divisionOf(std::max(start.x, end.x)) - left + 1,
                      divisionOf(std::max(start.y, end.y)) - top + 1};
    if (box.width >= 10 && box.height >= 10)
        return std::nullopt; // the whole plot: nothing to zoom
    return box;
}

std::optional<float> PlotScaleForGaps(int gapX, int initialGapX, int marginX, int gapY, int initialGapY,
                                      int marginY) {
    if (initialGapX <= marginX || initialGapY <= marginY)
        return std::nullopt;
    return std::min(static_cast<float>(gapX - marginX) / static_cast<float>(initialGapX - marginX),
                    static_cast<float>(gapY - marginY) / static_cast<float>(initialGapY - marginY));
}

std::string TimeLabelText(float time, int divisor) {
    const float shown = time / static_cast<float>(divisor);
    return Format("%.2f", std::isfinite(shown) ? shown : 0.0f);
}

std::string CaptureClockText(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    return Format("%.2d:%.2d:%.2d", local.tm_hour, local.tm_min, local.tm_sec);
}

bool HasRecordingExtension(const std::string& path) {
    if (path.size() < 3)
        return false;
    std::string extension = path.substr(path.size() - 3);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == "trd";
}

void MoveChannelToFront(std::span<int> drawOrder, int channel) {
    const auto at = std::find(drawOrder.begin(), drawOrder.end(), channel);
    if (at != drawOrder.end())
        std::rotate(at, at + 1, drawOrder.end());
}
