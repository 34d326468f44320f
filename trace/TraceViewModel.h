#pragma once
// The state of the trace window's plot and the rules that change it, without any window: the
// channels' scales and offsets and which one is in front, the time axis with its time-base list,
// scroll and zoom, and the cursors with their readings. The window (trace/ui/TraceGraphDlg) keeps
// one, moves its controls from it and repaints.
//
// Pixel values are at the window's division size, which each rule that needs it is given.
#include "framework/core/Types.h"
#include "trace/CurveMarks.h"
#include "trace/GraphPlotRules.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CTraceViewModel {
public:
    CTraceViewModel();

    // --- Channels ----------------------------------------------------------------------------
    // 1: eight channels, 0: four.
    int channelCountMode = 1;
    std::array<int, 8> sources{1, 2, 3, 5, 6, 7, 36, 37};
    std::array<BOOL, 8> shown{};
    // Units per division, and the value at the top line.
    std::array<int, 8> scale{};
    std::array<int, 8> offset{};
    std::array<int, 8> offsetLimit{};
    std::array<int, 8> sliderPosition{};
    std::array<int, 8> scaleSelection{};
    // The channels in drawing order: the last one drawn is in front.
    std::array<int, 8> drawOrder{0, 1, 2, 3, 4, 5, 6, 7};

    int ChannelCount() const { return channelCountMode == 1 ? 8 : 4; }
    // A channel is drawn when it is shown, has a source, and the channel count and the high words
    // of the wide channels leave room for it.
    bool ChannelDrawn(int channel) const;
    void BringChannelToFront(int channel);
    // A scale list's selection (hasAuto: the list begins with "AUTO", which takes the step from the
    // record's smallest and largest sample); the middle line then shows 0.
    void ApplyScaleSelection(int channel, int selection, bool hasAuto, int32_t lowest, int32_t highest);
    // The offset buttons: up shows higher values (the top line rises by one step), down lower ones.
    void StepOffset(int channel, bool up);
    // The channel's slider at position (code GraphBottom: its end); returns where the slider is to
    // stand. Slider 0 shows the highest values at the top.
    int ScrollChannel(int channel, int code, int position);
    // "->0": the channel's zero on the middle line.
    void ZeroToMiddle(int channel);
    // The record's middle between lowest and highest on the middle line.
    void CentreData(int channel, int64_t lowest, int64_t highest);

    // --- Time axis ---------------------------------------------------------------------------
    float timeBase = 100.0f; // internal units per sample x 1000
    int interval = 1;
    int points = 0;
    float intervalTime = 0.1f;
    float recordTime = 100.0f;
    float timePerDivision = 10.0f;
    float leftTime = 0.0f;
    int scrollPosition = 0;
    int scrollLimit = 0;

    bool TimeBaseUsable() const { return UsableTimeBase(timePerDivision, intervalTime); }
    // The whole record from its start at the present time base and point count.
    void ResetTimeAxis();
    // The time-base list in the shown unit; empty without a usable time base.
    std::vector<std::string> TimeBaseList(int divisor) const;
    // Time-base item index chosen; false when there is no usable time base.
    bool ChangeTimeBase(int index);
    // The scroll limit of the present time per division, the position kept within it.
    void UpdateScrollRange();
    // The time bar moved; false for a code that does not move it.
    bool ScrollTime(int code, unsigned thumb);
    // Pixels between the record's start and the plot's left edge.
    int LeftEdgeOffset(float division) const;

    // --- Zoom --------------------------------------------------------------------------------
    // The view before the first zoom, put back by Zoom Out.
    struct ZoomSave {
        int timeSelection = 0;
        float timePerDivision = 0.0f;
        std::array<int, 8> scales{};
        std::array<int, 8> offsets{};
        float leftTime = 0.0f;
        int scroll = 0;
    };
    bool zoomed = false;
    ZoomSave zoomSave;

    bool CanZoomIn() const;
    // One step in (box null) or to the divisions of a dragged box; timeSelection is the time-base
    // item shown before the first zoom. False when nothing was left to zoom.
    bool ZoomIn(const ZoomBox* box, int timeSelection);
    // Back to the view before the first zoom; false when not zoomed.
    bool ZoomOut();

    // --- Cursors -----------------------------------------------------------------------------
    bool cursorsShown = false;
    bool pairABOn = false;
    bool pairCDOn = false;
    std::array<int, 2> cursorX{}; // A, B: pixels from the plot's left edge
    std::array<int, 2> cursorY{}; // C, D: pixels from the plot's top edge
    std::array<float, 2> cursorTime{};
    std::array<float, 2> cursorValue{};
    // Set by a double click that put the cursors on a curve; the arrow keys then follow the curve.
    bool snapped = false;
    std::array<int, 4> snappedIndex{-1, -1, -1, -1};
    // The points of each channel's curve as last drawn (kept only while the cursors are shown).
    std::array<std::vector<CurvePoint>, 8> curvePoints;
    int selectedChannel = 0;

    // The cursors on or off; they start one division in from each edge.
    void ShowCursors(bool on, int division);
    // The readings of the time cursors A, B and of the value cursors C, D (on the selected channel).
    void UpdateCursorTimes(float division);
    void UpdateCursorValues(float division);
    // The cursor lines where a recording's readings (A, B times; C, D values) lie; a reading the
    // plot cannot show leaves its line where it is.
    void PlaceCursorsAt(const std::array<float, 4>& readings, float division);
    // The cursor a press at plot (x, y) takes hold of: 0 A, 1 B, 2 C, 3 D; -1 none.
    int CursorAt(int x, int y, int plotWidth) const;
    // Moves a held cursor by delta pixels; false (it stays) when that would leave the plot.
    bool DragCursor(int which, int delta, int plotWidth);
    // A double click at plot (x, y): the cursors onto the curve of the channel whose band holds y,
    // which becomes the selected one. False when there is no curve there to snap to.
    bool SnapCursors(int x, int y, float division);
    // An arrow key moves time cursor which (0 A, 1 B) one sample on, along the curve once snapped;
    // false when there is no time base to step by.
    bool StepCursor(int which, bool right, float division);

private:
    std::array<int, 8>::iterator DrawOrderEnd() { return drawOrder.begin() + ChannelCount(); }
};
