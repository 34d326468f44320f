#pragma once
// The plot rules both graph windows (trace and box viewer) share, without any window: the scale
// list, the time-base list, scroll limits and steps, zoom, the zoom rectangle, the plot's scale with
// the window size and the texts under the time axis. Where the windows differ a parameter says so.
#include "framework/core/Geometry.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <span>
#include <string>
#include <vector>

// A float result (a pixel, a scroll position, a sample index) as a whole number: truncated toward
// zero as the plots truncate, and held within +-WholeLimit (NaN gives 0). A value from far off (a
// cursor reading, a huge sample at scale 1, a time base of almost nothing) then overflows no int,
// nor does the sum of a few of them.
inline constexpr int WholeLimit = 1 << 28;
int SaturatedInt(double value);
// An int sum or product computed wide, held within the int range.
int ClampedInt(int64_t value);

// The fixed steps of a scale list, "1" .. "100M" (a list may put "AUTO" before them).
inline constexpr int GraphScaleStepCount = 18;
const char* GraphScaleText(int index);
// Units per division of fixed step index; 1 outside the list.
int GraphScaleStep(int index);
// The automatic step for samples between lowest and highest (SelectScaleStep of the larger
// magnitude), never below 1.
int AutoScaleStep(int32_t lowest, int32_t highest);

// A time per division and a sample interval that give a division at least one sample and no NaN,
// so no walk over the plot can stall.
bool UsableTimeBase(float timePerDivision, float timeStep);
// The items of a time-base list in the shown unit (internal times over divisor): a tenth of the
// record, then one step less each time down to one step (only the first without a usable step;
// at most 4097 items, so a tiny step cannot make the list endless).
std::vector<std::string> TimeBaseItems(float recordSpan, float timeStep, int divisor);
// The time per division of time-base item index: a tenth of the record less index steps, at least
// one step.
float TimePerDivisionAt(float recordSpan, float timeStep, int index);
// The last scroll position of the time bar: the divisions past the ten shown. The box viewer counts
// a part division as one more (roundUp); the trace window leaves it out.
int TimeScrollLimit(float recordSpan, float timePerDivision, bool roundUp);

// The scroll codes both windows pass through from their scroll bars and sliders.
enum GraphScrollCode : int {
    GraphLineUp = 0,
    GraphLineDown = 1,
    GraphPageUp = 2,
    GraphPageDown = 3,
    GraphThumbPosition = 4,
    GraphThumbTrack = 5,
    GraphTop = 6,
    GraphBottom = 7,
};
// Where a scroll code moves the time bar from position within 0 .. limit (a page is ten
// divisions); nothing for a code that does not move it.
std::optional<int> ScrolledPosition(int code, unsigned thumb, int position, int limit);

// Zoom has something left to do while a division holds more than one sample or a channel shows
// more than one unit per division.
bool CanZoomFurther(float timePerDivision, float timeStep, std::span<const int> scales);

// The divisions a dragged rectangle covers: its left and top division and how many it spans.
struct ZoomBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
// The rectangle between two points relative to the plot's left-top corner, in divisions. Nothing
// when it is too small to mean a zoom (under four pixels either way) or covers the whole plot.
std::optional<ZoomBox> ZoomBoxOf(CPoint start, CPoint end, float division);

// The plot's scale when the room between the channel columns (gapX) and between the selection row
// and the time bar (gapY) has grown from the template's: each less its fixed margin, the smaller
// ratio. Nothing when the template leaves no room to measure by.
std::optional<float> PlotScaleForGaps(int gapX, int initialGapX, int marginX, int gapY, int initialGapY,
                                      int marginY);

// A time label under the axis: the internal time over the divisor, two decimals ("0.00" for a time
// that is no number).
std::string TimeLabelText(float time, int divisor);
// The capture time readout: the local clock time of when, "hh:mm:ss".
std::string CaptureClockText(std::time_t when);
// True when a path ends in "trd" in any case, as a recording file's name does.
bool HasRecordingExtension(const std::string& path);
// Moves channel to the end of the first count entries of a draw order (drawn last, in front).
void MoveChannelToFront(std::span<int> drawOrder, int channel);
