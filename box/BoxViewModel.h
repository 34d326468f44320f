#pragma once
// The state of the box viewer's plot and the rules that change it, without any window: where each
// channel sits on the value axis, which stretch of time the ten divisions show, zoom and scroll,
// and the two pairs of cursors with their readings. The window (box/ui/BOXDlg) derives from it,
// moves its controls from these members and repaints.
//
// Members keep the names the viewer's description gives them. Pixel values are at plot scale 1.0
// unless multiplied by PlotScale.
#include "framework/core/Geometry.h"
#include "trace/GraphPlotRules.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Length of the display arrays: 5120 until the settings are confirmed, then 512.
extern int RecordPointCount;

constexpr int GridMarginLeft = 150;
constexpr int GridMarginTop = 55;
constexpr float BoxPixelsPerDivision = 45.0f;
constexpr int BoxScaleItemCount = 19;

// The scroll codes of the scroll bar and the sliders (the window passes them through).
inline constexpr int BoxLineUp = GraphLineUp;
inline constexpr int BoxLineDown = GraphLineDown;
inline constexpr int BoxPageUp = GraphPageUp;
inline constexpr int BoxPageDown = GraphPageDown;
inline constexpr int BoxThumbPosition = GraphThumbPosition;
inline constexpr int BoxThumbTrack = GraphThumbTrack;
inline constexpr int BoxTop = GraphTop;
inline constexpr int BoxBottom = GraphBottom;

// The 19 texts of a scale list: "AUTO", "1", ... "100M".
const std::array<const char*, BoxScaleItemCount>& BoxScaleItems();
// Units per division of scale list item index: 0 ("AUTO") gives 100 until it is computed; no
// selection (-1) and anything past the last item give 100.
int BoxScaleStep(int index);

// 0 for no signal (code 0), 2 for the bit signals 1..20, 1 for every other code.
int ChannelSignalKind(int code);
// Orders four (key, value) pairs by key, equal keys keeping their order.
void SortPairsByKey(std::array<std::pair<int, int>, 4>& pairs);

// One point the plot drew: y below the grid's top, x from the record's start.
struct PlottedPoint {
    int y = 0;
    int x = 0;
    int unused = 0;
};
// The plotted point under a time cursor at x (plot x plus the scrolled pixels): the first point at
// or past x, taking the one before it when that one lies past the plot's width.
bool FindPlottedPoint(const std::vector<PlottedPoint>& points, int x, int scrollPixels, float gridSize,
                      int& y, int& index, int& px);

// The unit shown beside the value readouts for a signal code ("[rpm]", "[%]", ... "[ ]").
std::string CursorUnitText(int code);
// On a screen under 800 pixels high the viewer opens at 910 x 609, centred on the screen; on a taller
// one it keeps its template size (nothing).
std::optional<CRect> SmallScreenWindowRect(const CRect& screen);

struct CBoxViewModel {
    CBoxViewModel();

    // --- Channels ----------------------------------------------------------------------------
    std::array<int, 4> ChannelSignal{};
    std::array<int, 4> ChannelColorIndex{2, 1, 3, 0};
    std::array<int, 4> ChannelScaleIndex{-1, 0, 0, 0};
    std::array<int, 4> ChannelScaleSelection{};
    std::array<int, 4> ChannelScale{1, 1, 1, 1};
    std::array<int, 4> ChannelOffset{499999995, 499999995, 499999995, 499999995};
    std::array<int, 4> ChannelTop{5, 5, 5, 5};
    std::array<int, 4> ChannelRange{500000000, 500000000, 500000000, 500000000};
    std::array<int, 4> ChannelDrawOrder{0, 1, 2, 3};
    std::array<int, 4> FirstSampleValue{};
    // 1..4 channels 1..4, 5..8 the extra words of each sample.
    std::array<std::vector<int32_t>, 9> SampleVectors;
    int DivisionCount = 10;

    // --- Record and time axis ----------------------------------------------------------------
    int TriggerSource = 0, TriggerLevel = 0, TriggerEdge = 0, TriggerPosition = 0;
    int SampleInterval = 1;
    std::array<int, 24> DioFunctionWords{};
    int PointCount = 0;
    float SamplePeriodRaw = 100.0f;
    float TimeStep = 0.1f;
    float RecordSpan = 0.0f;
    float TimePerDivision = 0.0f;
    float TimeOrigin = 0.0f;
    int TimeBaseIndex = 0;
    int TimeScrollPos = 0;
    int TimeScrollMax = 0;
    int RecordShown = 0;
    // START emptied the record and no block has come since (the read ended before its first, on
    // a lost link or a stop): there is nothing to save until a record, a file or a set-up comes.
    bool RecordEmpty = false;
    bool CanSaveRecord() const { return RecordShown != 0 && !RecordEmpty; }
    // Moves what the record thread handed over (it has ended) into SampleVectors, each keeping
    // RecordPointCount entries with the newest at the end, and empties those queues. False, with
    // the vectors as they were, when nothing came.
    bool TakeQueuedRecord();
    // The copy of channels 1..4 the files, scales and value cursors read (TraceSampleBuffers 0..3):
    // the shown record's first PointCount samples. Made when a read ends, by STOP or a lost link.
    void KeepRecordCopy() const;
    float PlotScale = 1.0f; // the window's zoom factor with its size

    // --- Zoom --------------------------------------------------------------------------------
    bool Zoomed = false;
    float SavedTimePerDivision = 0.0f, SavedTimeOrigin = 0.0f;
    std::array<int, 4> SavedChannelScale{}, SavedChannelTop{};
    int SavedTimeScrollPos = 0;
    int ZoomLeft = 0, ZoomTop = 0, ZoomWidth = 0, ZoomHeight = 0;

    // --- Cursors -----------------------------------------------------------------------------
    int SelectedChannel = 0;
    int TimeCursorsOn = 0, ValueCursorsOn = 0, CursorsOn = 0;
    int CursorShape = 0;
    int CursorAX = 45, CursorBX = 405, CursorAY = 405, CursorBY = 45;
    float CursorATime = 0.0f, CursorBTime = 0.0f, CursorAValue = 0.0f, CursorBValue = 0.0f;
    bool CursorsSnapped = false;
    int CursorSnapChannel = -1;
    int CursorAIndex = -1, CursorBIndex = -1;
    std::array<std::vector<PlottedPoint>, 4> PlotPoints;

    // --- Derived geometry --------------------------------------------------------------------
    float DivisionPx() const { return BoxPixelsPerDivision * PlotScale; }
    float GridSize() const { return DivisionPx() * 10.0f; }
    int ScrollPixels() const;
    // Time at grid x and grid x of a time.
    float TimeAt(int x) const;
    int XOfTime(float time) const;

    // --- Time axis (the record's length, the time-base list, scroll and zoom) ----------------
    // Takes a new sample period and point count: time step, span, time per division; the
    // time-base list back at its first item and the scroll at 0.
    void SetRecordTiming(float samplePeriodRaw, int pointCount);
    // The items of the time-base list: per-division times falling by TimeStep from RecordSpan / 10,
    // in ms (divided by BoxTimeDivisor: the record's own times, never the trace window's mode).
    std::vector<std::string> TimeBaseItems() const;
    // Rule A: TimeScrollMax for a time per division, TimeScrollPos kept within it.
    void ApplyScrollExtent(float timePerDivision);
    // Time-base item i chosen: time per division, scroll kept in proportion, time origin.
    void ChangeTimeBase(int index);
    // Zoom in by one step (button, rectangle false) or to ZoomLeft.. (rectangle true); false when
    // nothing was left to zoom.
    bool ZoomIn(bool rectangle, int timeBaseSelection);
    bool CanZoomIn() const;
    // Back to the state before the first zoom; false when not zoomed.
    bool ZoomOut();
    // The time scroll bar; true when the position changed.
    bool ScrollTime(int code, unsigned position);
    // A channel's position slider moved to c; true when the picture changed.
    bool ScrollChannel(int channel, int code, int c);

    // --- Channel placement -------------------------------------------------------------------
    int SliderMax(int channel) const {
        return ClampedInt(2 * static_cast<int64_t>(ChannelRange[channel] / ChannelScale[channel]) -
                          DivisionCount);
    }
    // The slider position that puts ChannelTop at the top line: (range + top) / scale - divisions,
    // worked out wide (a file's top value may be anywhere in the int range).
    int SliderOfTop(int channel) const {
        const size_t k = static_cast<size_t>(channel);
        return ClampedInt((static_cast<int64_t>(ChannelRange[k]) + ChannelTop[k]) / ChannelScale[k] -
                          DivisionCount);
    }
    void MoveChannelToFront(int channel);
    // Up or down button with the slider at position.
    void StepChannelOffset(int channel, bool up, int position);
    // "->0": the channel's zero on the middle line.
    void CentreChannelZero(int channel);
    // A scale list choice; hasAuto says whether the list begins with "AUTO". Returns the item the
    // list is to show (bit signals keep "AUTO" or "1"). changed is false when nothing moved.
    int ChangeChannelScale(int channel, int selection, bool hasAuto, const std::vector<int32_t>& samples,
                           bool& changed);
    // The scale of the list re-applied (the stop path and the end of a record read).
    void ReapplyChannelScale(int channel, int selection, const std::vector<int32_t>& samples);
    int AutoScale(const std::vector<int32_t>& samples) const;

    // --- Cursors -----------------------------------------------------------------------------
    // An arrow key moved the chosen time cursor; false when nothing moved (no sample width).
    bool StepTimeCursor(bool cursorB, bool right);
    // The left arrow's key-up: cursor A one time step on, its time rounded down to whole sample
    // intervals. False (the cursor stays) when a division holds less than one time step or the
    // interval is 0. movedBy is the change of CursorAX.
    bool KeyStepCursorA(int& movedBy);
    // Cursor pixels from the stored readings (after a file was opened or the plot resized).
    void UpdateCursorPixels();
    // Readings from the pixels.
    void ComputeTimeReadouts();
    // A value reading of the selected channel; samples are that channel's saved samples.
    float ValueReading(int y, int index, const std::vector<int32_t>& samples) const;
    // Which cursor lines a left click at grid (gx, gy) picks: time A, time B, value A, value B.
    std::array<bool, 4> PickCursors(int gx, int gy) const;
    // Double click at grid (gx, gy): snaps the value cursors on the nearest channel's curve.
    // False (nothing changes) when no channel has a point at or past the click.
    bool SnapCursors(int gx, int gy);
    void ClearSnap() {
        CursorsSnapped = false;
        CursorAIndex = CursorBIndex = -1;
    }
};
