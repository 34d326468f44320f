#include "trace/TraceViewModel.h"

#include "trace/TraceRegisters.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int DefaultSliderPosition = 499999995;
constexpr int DefaultOffset = 5;
constexpr int DefaultOffsetLimit = 500000000;

} // namespace

CTraceViewModel::CTraceViewModel() {
    offset.fill(DefaultOffset);
    offsetLimit.fill(DefaultOffsetLimit);
    sliderPosition.fill(DefaultSliderPosition);
    scale.fill(1);
    shown.fill(TRUE);
}

// ---- Channels -----------------------------------------------------------------------------------

bool CTraceViewModel::ChannelDrawn(int channel) const {
    const size_t c = static_cast<size_t>(channel);
    if (shown[c] == 0 || SourceKind(sources[c]) == 0)
        return false;
    if (channelCountMode == 0) {
        if (channel >= 4)
            return false;
        // The fourth channel carries the high word of a wide one among the first three.
        if (channel == 3)
            return CountWideChannels({sources[0], sources[1], sources[2], 0, 0, 0, 0, 0}, -1) == 0;
        return true;
    }
    const int wide = CountWideChannels(sources, -1);
    return !((channel == 5 && wide >= 3) || (channel == 6 && wide >= 2) || (channel == 7 && wide >= 1));
}

void CTraceViewModel::BringChannelToFront(int channel) {
    MoveChannelToFront(std::span<int>(drawOrder.begin(), DrawOrderEnd()), channel);
}

void CTraceViewModel::ApplyScaleSelection(int channel, int selection, bool hasAuto, int32_t lowest,
                                          int32_t highest) {
    const size_t c = static_cast<size_t>(channel);
    scaleSelection[c] = selection;
    const int step = hasAuto && selection == 0 ? AutoScaleStep(lowest, highest)
                                               : GraphScaleStep(selection - (hasAuto ? 1 : 0));
    scale[c] = std::max(1, step);
    offset[c] = scale[c] * 5;
    offsetLimit[c] = std::max(offsetLimit[c], scale[c] * 10);
}

void CTraceViewModel::StepOffset(int channel, bool up) {
    const size_t c = static_cast<size_t>(channel);
    BringChannelToFront(channel);
    const int64_t next = static_cast<int64_t>(offset[c]) + (up ? -1 : 1) * static_cast<int64_t>(scale[c]);
    const int64_t lowest = static_cast<int64_t>(scale[c]) * 10 - offsetLimit[c];
    offset[c] = static_cast<int>(std::clamp<int64_t>(next, lowest, offsetLimit[c]));
}

int CTraceViewModel::ScrollChannel(int channel, int code, int position) {
    const size_t c = static_cast<size_t>(channel);
    BringChannelToFront(channel);
    const int s = std::max(1, scale[c]);
    const int limit = offsetLimit[c];
    const int last = std::max(0, 2 * limit / s - 10);
    const int lowest = 10 * s - limit;
    // The top line runs from limit (slider at 0) down to 10 s - limit.
    const int at = std::clamp(code == GraphBottom ? last : position, 0, last);
    const int64_t top = static_cast<int64_t>(limit) - static_cast<int64_t>(last - at) * s;
    offset[c] = static_cast<int>(std::clamp<int64_t>(top, lowest, limit));
    sliderPosition[c] = at;
    return at;
}

void CTraceViewModel::ZeroToMiddle(int channel) {
    const size_t c = static_cast<size_t>(channel);
    offset[c] = 5 * scale[c];
    sliderPosition[c] = offsetLimit[c] / std::max(1, scale[c]) - 5;
}

void CTraceViewModel::CentreData(int channel, int64_t lowest, int64_t highest) {
    const size_t c = static_cast<size_t>(channel);
    const int step = std::max(1, scale[c]);
    const int64_t middle = static_cast<int64_t>(static_cast<double>(lowest + highest) / 2.0 / step + 0.5);
    sliderPosition[c] = ClampedInt(offsetLimit[c] / step - 5 + middle);
    offset[c] = ClampedInt((10 - 5 + middle) * step);
}

// ---- Time axis ----------------------------------------------------------------------------------

void CTraceViewModel::ResetTimeAxis() {
    intervalTime = timeBase / 1000.0f;
    recordTime = static_cast<float>(points) * timeBase / 1000.0f;
    timePerDivision = recordTime / 10.0f;
    leftTime = 0.0f;
    scrollPosition = 0;
    scrollLimit = 0;
}

std::vector<std::string> CTraceViewModel::TimeBaseList(int divisor) const {
    if (!UsableTimeBase(recordTime / 10.0f, intervalTime))
        return {};
    return TimeBaseItems(recordTime, intervalTime, divisor);
}

bool CTraceViewModel::ChangeTimeBase(int index) {
    if (index < 0 || !UsableTimeBase(recordTime / 10.0f, intervalTime))
        return false;
    timePerDivision = TimePerDivisionAt(recordTime, intervalTime, index);
    UpdateScrollRange();
    return true;
}

void CTraceViewModel::UpdateScrollRange() {
    if (!TimeBaseUsable())
        return;
    scrollLimit = TimeScrollLimit(recordTime, timePerDivision, false);
    scrollPosition = std::clamp(scrollPosition, 0, scrollLimit);
    leftTime = static_cast<float>(scrollPosition) * timePerDivision;
}

bool CTraceViewModel::ScrollTime(int code, unsigned thumb) {
    const std::optional<int> position = ScrolledPosition(code, thumb, scrollPosition, scrollLimit);
    if (!position)
        return false;
    scrollPosition = *position;
    leftTime = static_cast<float>(scrollPosition) * timePerDivision;
    return true;
}

int CTraceViewModel::LeftEdgeOffset(float division) const {
    if (!TimeBaseUsable())
        return 0;
    return SaturatedInt(static_cast<double>(leftTime) / timePerDivision * division);
}

// ---- Zoom ---------------------------------------------------------------------------------------

bool CTraceViewModel::CanZoomIn() const {
    return CanZoomFurther(timePerDivision, intervalTime, scale);
}

bool CTraceViewModel::ZoomIn(const ZoomBox* box, int timeSelection) {
    if (!TimeBaseUsable() || !CanZoomIn())
        return false;
    if (!zoomed) {
        zoomSave = {timeSelection, timePerDivision, scale, offset, leftTime, scrollPosition};
        zoomed = true;
    }
    if (box != nullptr) {
        scrollPosition = ClampedInt(static_cast<int64_t>(scrollPosition) + box->left);
        timePerDivision = std::max(intervalTime, static_cast<float>(box->width) * timePerDivision / 10.0f);
        for (size_t ch = 0; ch < 8; ++ch)
            if (scale[ch] > 1) {
                offset[ch] = ClampedInt(offset[ch] - static_cast<int64_t>(scale[ch]) * box->top);
                scale[ch] = std::max(1, ClampedInt(static_cast<int64_t>(scale[ch]) * box->height / 10));
            }
    } else {
        scrollPosition += 1;
        timePerDivision = std::max(intervalTime, 0.8f * timePerDivision);
        for (int& s : scale)
            if (s > 1)
                s = std::max(1, static_cast<int>(0.8 * s));
    }
    UpdateScrollRange();
    return true;
}

bool CTraceViewModel::ZoomOut() {
    if (!zoomed)
        return false;
    zoomed = false;
    timePerDivision = zoomSave.timePerDivision;
    scale = zoomSave.scales;
    offset = zoomSave.offsets;
    scrollPosition = zoomSave.scroll;
    UpdateScrollRange();
    return true;
}

// ---- Cursors ------------------------------------------------------------------------------------

void CTraceViewModel::ShowCursors(bool on, int division) {
    pairABOn = pairCDOn = cursorsShown = on;
    cursorX = {division, 9 * division};
    cursorY = {9 * division, division};
}

void CTraceViewModel::UpdateCursorTimes(float division) {
    if (!TimeBaseUsable())
        return;
    for (size_t k = 0; k < 2; ++k) {
        const float time = timePerDivision / division * static_cast<float>(cursorX[k]) + leftTime;
        cursorTime[k] = time < 0.1f ? 10.0f : time; // a time of (almost) nothing reads as ten units
    }
}

void CTraceViewModel::UpdateCursorValues(float division) {
    const size_t ch = static_cast<size_t>(std::clamp(selectedChannel, 0, 7));
    for (size_t k = 0; k < 2; ++k)
        cursorValue[k] = static_cast<float>(offset[ch]) -
                         static_cast<float>(scale[ch]) / division * static_cast<float>(cursorY[k]);
}

void CTraceViewModel::PlaceCursorsAt(const std::array<float, 4>& readings, float division) {
    const float plotWidth = 10.0f * division;
    if (TimeBaseUsable())
        for (size_t k = 0; k < 2; ++k) {
            const float x = (readings[k] - leftTime) / timePerDivision * division;
            if (readings[k] > 0.0f && x > 0.0f && x < std::floor(plotWidth))
                cursorX[k] = static_cast<int>(std::lround(x));
        }
    const size_t ch = static_cast<size_t>(std::clamp(selectedChannel, 0, 7));
    for (size_t k = 0; k < 2; ++k) {
        const float y = (static_cast<float>(offset[ch]) - readings[2 + k]) /
                        static_cast<float>(std::max(1, scale[ch])) * division;
        if (readings[2 + k] != 0.0f && y > 0.0f && y < std::floor(plotWidth))
            cursorY[k] = static_cast<int>(std::lround(y));
    }
}

int CTraceViewModel::CursorAt(int x, int y, int plotWidth) const {
    if (!cursorsShown || x < -8 || x > plotWidth + 8 || y < -20 || y > plotWidth + 8)
        return -1;
    for (int k = 0; k < 2; ++k)
        if (pairABOn && std::abs(x - cursorX[static_cast<size_t>(k)]) <= 7)
            return k;
    for (int k = 0; k < 2; ++k)
        if (pairCDOn && std::abs(y - cursorY[static_cast<size_t>(k)]) <= 7)
            return 2 + k;
    return -1;
}

bool CTraceViewModel::DragCursor(int which, int delta, int plotWidth) {
    int& at = which < 2 ? cursorX[static_cast<size_t>(which)] : cursorY[static_cast<size_t>(which - 2)];
    // A cursor stops at the last place inside the plot.
    if (at + delta < 0 || at + delta > plotWidth)
        return false;
    at += delta;
    return true;
}

bool CTraceViewModel::SnapCursors(int x, int y, float division) {
    const int plotWidth = static_cast<int>(10.0f * division);
    if (!(x > 0 && x < plotWidth && y > 0 && y < plotWidth) || !cursorsShown || !pairABOn || !pairCDOn ||
        !TimeBaseUsable())
        return false;
    const int start = LeftEdgeOffset(division);
    std::vector<std::pair<int, int>> candidates;
    for (int ch = 0; ch < ChannelCount(); ++ch) {
        const auto mark = FindMarkFrom(curvePoints[static_cast<size_t>(ch)], x + start, start, plotWidth);
        candidates.emplace_back(mark ? mark->y : 0, ch);
    }
    const auto chosen = ChooseSnapChannel(candidates, y);
    if (!chosen)
        return false;
    const std::vector<CurvePoint>& marks = curvePoints[static_cast<size_t>(*chosen)];
    // A band whose channel has drawn nothing there carries no channel: nothing to snap to.
    if (!FindMarkFrom(marks, x + start, start, plotWidth))
        return false;
    if (*chosen != selectedChannel && !shown[static_cast<size_t>(*chosen)])
        return false;
    snapped = true;
    snappedIndex = {-1, -1, -1, -1};
    // The lowest line a value cursor may stand on, so it stays clear of the channel's label row.
    const int lowestY = *chosen < 4 ? 5 : *chosen + 2;
    for (size_t k = 0; k < 2; ++k) {
        const auto hit = FindMarkFrom(marks, cursorX[k] + start, start, plotWidth);
        if (!hit)
            continue;
        cursorX[k] = hit->x;
        cursorY[k] = hit->y > plotWidth ? plotWidth - 5 : std::max(hit->y, lowestY);
        snappedIndex[2 + k] = hit->index;
    }
    selectedChannel = *chosen;
    BringChannelToFront(*chosen);
    return true;
}

bool CTraceViewModel::StepCursor(int which, bool right, float division) {
    if (!TimeBaseUsable())
        return false;
    const int plotWidth = static_cast<int>(10.0f * division);
    const double samplePixels = division / (static_cast<double>(timePerDivision) / intervalTime);
    const int step = samplePixels > 1.0 ? SaturatedInt(samplePixels) : 1;
    int& x = cursorX[static_cast<size_t>(which)];
    x = std::clamp(x + (right ? step : -step), 0, plotWidth);
    if (snapped) {
        const int start = LeftEdgeOffset(division);
        const size_t ch = static_cast<size_t>(std::clamp(selectedChannel, 0, 7));
        if (const auto hit = FindMarkFrom(curvePoints[ch], x + start, start, plotWidth)) {
            x = std::clamp(hit->x, 1, std::max(1, plotWidth - 1));
            snappedIndex[static_cast<size_t>(which)] = hit->index;
        }
    }
    return true;
}
