#include "box/BoxViewModel.h"

#include "trace/AcquisitionStore.h"
#include "trace/CurveMarks.h"
#include "trace/GraphPlotRules.h"
#include "trace/GraphServices.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

int RecordPointCount = 5120;

namespace {

// "AUTO" (100 until it is computed) before the fixed steps both graph windows list.
constexpr int AutoItemStep = 100;

// Truncated as the plot truncates, and held where ints can add it (a far cursor reading, a time
// base of almost nothing).
int Trunc(double value) {
    return SaturatedInt(value);
}

} // namespace

const std::array<const char*, BoxScaleItemCount>& BoxScaleItems() {
    static const std::array<const char*, BoxScaleItemCount> items = [] {
        std::array<const char*, BoxScaleItemCount> list{"AUTO"};
        for (int i = 0; i < GraphScaleStepCount; ++i)
            list[static_cast<size_t>(i + 1)] = GraphScaleText(i);
        return list;
    }();
    return items;
}

int BoxScaleStep(int index) {
    if (index <= 0 || index >= BoxScaleItemCount)
        return AutoItemStep;
    return GraphScaleStep(index - 1);
}

int ChannelSignalKind(int code) {
    if (code == 0)
        return 0;
    return code >= 1 && code <= 20 ? 2 : 1;
}

void SortPairsByKey(std::array<std::pair<int, int>, 4>& pairs) {
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

bool FindPlottedPoint(const std::vector<PlottedPoint>& points, int x, int scrollPixels, float gridSize,
                      int& y, int& index, int& px) {
    if (points.empty())
        return false;
    const auto found =
        std::find_if(points.begin(), points.end(), [x](const PlottedPoint& p) { return p.x >= x; });
    if (found == points.end())
        return false;
    const size_t i = static_cast<size_t>(found - points.begin());
    px = points[i].x - scrollPixels;
    y = points[i].y;
    if (static_cast<float>(px) > gridSize) {
        if (i == 0) {
            px = Trunc(gridSize);
        } else {
            px = points[i - 1].x - scrollPixels;
            y = points[i - 1].y;
        }
    }
    index = static_cast<int>(i);
    return true;
}

std::string CursorUnitText(int code) {
    switch (code) {
    case 21:
    case 22:
    case 28:
    case 30:
    case 31:
        return "[rpm]";
    case 23:
    case 24:
    case 29:
    case 36:
    case 37:
    case 38:
    case 39:
        return "[%]";
    case 25:
        return "[pulse]";
    case 27:
        return "[deg]";
    case 32:
        return "[V]";
    case 33:
        return "[degree]";
    default:
        return "[ ]";
    }
}

CBoxViewModel::CBoxViewModel() {
    PointCount = RecordPointCount;
    RecordSpan = static_cast<float>(RecordPointCount) * 100.0f / 1000.0f;
    TimePerDivision = RecordSpan / 10.0f;
    for (int i = 0; i <= 4; ++i)
        SampleVectors[static_cast<size_t>(i)].assign(static_cast<size_t>(RecordPointCount), 0);
}

int CBoxViewModel::ScrollPixels() const {
    if (TimePerDivision <= 0.0f)
        return 0;
    return Trunc(static_cast<double>(TimeOrigin) / TimePerDivision * DivisionPx());
}

float CBoxViewModel::TimeAt(int x) const {
    return TimeOrigin + static_cast<float>(x) * TimePerDivision / DivisionPx();
}

int CBoxViewModel::XOfTime(float time) const {
    if (TimePerDivision <= 0.0f)
        return 0;
    return Trunc((time - TimeOrigin) * DivisionPx() / TimePerDivision);
}

// ---- Time axis ----------------------------------------------------------------------------------

void CBoxViewModel::SetRecordTiming(float samplePeriodRaw, int pointCount) {
    SamplePeriodRaw = samplePeriodRaw;
    PointCount = pointCount;
    TimeStep = samplePeriodRaw / 1000.0f;
    RecordSpan = static_cast<float>(pointCount) * samplePeriodRaw / 1000.0f;
    TimePerDivision = RecordSpan / 10.0f;
    TimeBaseIndex = 0;
    TimeScrollMax = 0;
    TimeScrollPos = 0;
    TimeOrigin = 0.0f;
}

std::vector<std::string> CBoxViewModel::TimeBaseItems() const {
    return ::TimeBaseItems(RecordSpan, TimeStep, BoxTimeDivisor);
}

void CBoxViewModel::ApplyScrollExtent(float t) {
    TimeScrollMax = TimeScrollLimit(RecordSpan, t, true);
    TimeScrollPos = std::min(TimeScrollPos, TimeScrollMax);
}

void CBoxViewModel::ChangeTimeBase(int index) {
    TimeBaseIndex = index;
    TimePerDivision = TimePerDivisionAt(RecordSpan, TimeStep, index);
    const int oldMax = TimeScrollMax;
    TimeScrollMax = TimeScrollLimit(RecordSpan, TimePerDivision, true);
    if (oldMax > 0)
        TimeScrollPos = Trunc(static_cast<double>(TimeScrollPos) * TimeScrollMax / oldMax);
    TimeScrollPos = std::min(TimeScrollPos, TimeScrollMax);
    TimeOrigin = static_cast<float>(TimeScrollPos) * TimePerDivision;
}

bool CBoxViewModel::CanZoomIn() const {
    return CanZoomFurther(TimePerDivision, TimeStep, ChannelScale);
}

bool CBoxViewModel::ZoomIn(bool rectangle, int timeBaseSelection) {
    if (!CanZoomIn())
        return false;
    if (!Zoomed) {
        TimeBaseIndex = timeBaseSelection;
        TimePerDivision = TimePerDivisionAt(RecordSpan, TimeStep, TimeBaseIndex);
        ApplyScrollExtent(TimePerDivision);
        SavedChannelScale = ChannelScale;
        SavedChannelTop = ChannelTop;
        TimeOrigin = static_cast<float>(TimeScrollPos) * TimePerDivision;
        SavedTimePerDivision = TimePerDivision;
        SavedTimeOrigin = TimeOrigin;
        SavedTimeScrollPos = TimeScrollPos;
        Zoomed = true;
    }
    if (TimePerDivision > TimeStep) {
        TimeScrollPos = ClampedInt(static_cast<int64_t>(TimeScrollPos) + (rectangle ? ZoomLeft : 1));
        TimeOrigin = static_cast<float>(TimeScrollPos) * TimePerDivision;
        TimePerDivision = rectangle ? static_cast<float>(ZoomWidth) * TimePerDivision / 10.0f
                                    : static_cast<float>(static_cast<double>(TimePerDivision) * 0.8);
        TimePerDivision = std::max(TimePerDivision, TimeStep);
        ApplyScrollExtent(TimePerDivision);
        TimeScrollPos = std::min(Trunc(TimeOrigin / TimePerDivision), TimeScrollMax);
    }
    for (size_t k = 0; k < 4; ++k) {
        if (ChannelScale[k] <= 1)
            continue;
        const int64_t scale = ChannelScale[k];
        if (rectangle) {
            ChannelTop[k] = ClampedInt(ChannelTop[k] - ZoomTop * scale);
            ChannelScale[k] = std::max(1, ClampedInt(ZoomHeight * scale / 10));
        } else {
            ChannelTop[k] = ClampedInt(ChannelTop[k] - scale);
            ChannelScale[k] = std::max(1, Trunc(ChannelScale[k] * 0.8));
        }
    }
    for (size_t k = 0; k < 4; ++k)
        ChannelOffset[k] = SliderOfTop(static_cast<int>(k));
    if (TimeOrigin > 10000000.0f) {
        TimeOrigin = 0.0f;
        TimeScrollPos = 0;
        TimePerDivision = TimeStep;
    }
    return true;
}

bool CBoxViewModel::ZoomOut() {
    if (!Zoomed)
        return false;
    ChannelScale = SavedChannelScale;
    ChannelTop = SavedChannelTop;
    TimeOrigin = SavedTimeOrigin;
    TimeScrollPos = SavedTimeScrollPos;
    Zoomed = false;
    TimePerDivision = TimePerDivisionAt(RecordSpan, TimeStep, TimeBaseIndex);
    TimeScrollPos = Trunc(TimeOrigin / TimePerDivision);
    ApplyScrollExtent(TimePerDivision);
    TimeOrigin = static_cast<float>(TimeScrollPos) * TimePerDivision;
    for (size_t k = 0; k < 4; ++k) {
        const int r = SliderMax(static_cast<int>(k));
        const int p = std::clamp(SliderOfTop(static_cast<int>(k)), 0, std::max(r, 0));
        ChannelTop[k] = ClampedInt((p + int64_t{10}) * ChannelScale[k] - ChannelRange[k]);
        ChannelOffset[k] = p;
    }
    return true;
}

bool CBoxViewModel::ScrollTime(int code, unsigned position) {
    const std::optional<int> moved = ScrolledPosition(code, position, TimeScrollPos, TimeScrollMax);
    if (!moved)
        return false;
    // The origin moves by the divisions scrolled (a zoomed origin keeps its part division); a step
    // against either end of the bar, or the thumb moved onto it, puts it exactly there.
    const int q = *moved;
    const bool back = code == GraphLineUp || code == GraphPageUp;
    const bool forward = code == GraphLineDown || code == GraphPageDown;
    if (q == 0 && (back || q != TimeScrollPos))
        TimeOrigin = 0.0f;
    else if (q == TimeScrollMax && (forward || q != TimeScrollPos))
        TimeOrigin = static_cast<float>(q) * TimePerDivision;
    else
        TimeOrigin += static_cast<float>(q - TimeScrollPos) * TimePerDivision;
    TimeScrollPos = q;
    return true;
}

bool CBoxViewModel::ScrollChannel(int channel, int code, int c) {
    const size_t k = static_cast<size_t>(channel);
    MoveChannelToFront(channel);
    const int64_t s = ChannelScale[k];
    const int64_t R = ChannelRange[k];
    // Worked out wide: a top value or slider position from a file may lie anywhere in the int range.
    int64_t top = ChannelTop[k];
    const int r = SliderMax(channel);
    const int64_t bottomTop = 10 * s - R;
    switch (code) {
    case BoxLineUp:
    case BoxPageUp:
        if (c <= 0) {
            c = 0;
            top = bottomTop;
        } else {
            top -= code == BoxLineUp ? s : 10 * s;
        }
        break;
    case BoxLineDown:
    case BoxPageDown:
        if (c < r) {
            top += code == BoxLineDown ? s : 10 * s;
        } else {
            c = r;
            top = R;
        }
        break;
    case BoxTop:
        top = bottomTop;
        break;
    case BoxBottom:
        top = R;
        c = r;
        break;
    case BoxThumbPosition:
    case BoxThumbTrack: {
        const int64_t o = ChannelOffset[k];
        if (o < c)
            top = c == r ? R : top + (c - o) * s;
        else if (c < o)
            top = c == 0 ? bottomTop : top - (o - c) * s;
        break;
    }
    default:
        return false;
    }
    ChannelTop[k] = ClampedInt(top);
    ChannelOffset[k] = c;
    return true;
}

// ---- Channel placement --------------------------------------------------------------------------

void CBoxViewModel::MoveChannelToFront(int channel) {
    ::MoveChannelToFront(ChannelDrawOrder, channel);
}

void CBoxViewModel::StepChannelOffset(int channel, bool up, int p) {
    const size_t k = static_cast<size_t>(channel);
    const int n = DivisionCount;
    if (up) {
        if (p > 1) {
            ChannelTop[k] = ClampedInt(static_cast<int64_t>(ChannelTop[k]) - ChannelScale[k]);
            ChannelOffset[k] = p - 1;
        } else {
            ChannelOffset[k] = 0;
            ChannelTop[k] = n * ChannelScale[k] - ChannelRange[k];
        }
    } else {
        const int last = SliderMax(channel);
        if (p < last - 1) {
            ChannelTop[k] = ClampedInt(static_cast<int64_t>(ChannelTop[k]) + ChannelScale[k]);
            ChannelOffset[k] = p + 1;
        } else {
            ChannelOffset[k] = last;
            ChannelTop[k] = ChannelRange[k];
        }
    }
    MoveChannelToFront(channel);
}

void CBoxViewModel::CentreChannelZero(int channel) {
    const size_t k = static_cast<size_t>(channel);
    const int n = DivisionCount;
    ChannelTop[k] = (n - n / 2) * ChannelScale[k];
    ChannelOffset[k] = ChannelRange[k] / ChannelScale[k] - n / 2;
}

int CBoxViewModel::AutoScale(const std::vector<int32_t>& samples) const {
    const size_t count = std::min(samples.size(), static_cast<size_t>(std::max(PointCount, 0)) + 1);
    if (count == 0)
        return AutoScaleStep(0, 0);
    const auto [lowest, highest] =
        std::minmax_element(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(count));
    return AutoScaleStep(*lowest, *highest);
}

int CBoxViewModel::ChangeChannelScale(int channel, int selection, bool hasAuto,
                                      const std::vector<int32_t>& samples, bool& changed) {
    const size_t k = static_cast<size_t>(channel);
    const int n = DivisionCount;
    const int oldScale = ChannelScale[k];
    const int64_t topDivs = ChannelTop[k] / oldScale;
    const int oldCentre = ClampedInt(ChannelTop[k] - static_cast<int64_t>(n - n / 2) * oldScale);
    bool recentre = false;
    if (ChannelSignalKind(ChannelSignal[k]) == 2) {
        // A bit draws one step high: only "AUTO" and "1" make sense.
        if (!hasAuto)
            selection = 0;
        else if (selection > 1)
            selection = 1;
        recentre = ChannelTop[k] > 10 || ChannelTop[k] <= 0;
    }
    ChannelScaleIndex[k] = ChannelScaleSelection[k] = selection;
    const bool automatic = hasAuto ? selection == 0 : selection < 0;
    const int column = hasAuto ? selection : selection + 1;
    ChannelScale[k] = selection < 0 ? 100 : BoxScaleStep(column);
    MoveChannelToFront(channel);
    changed = true;
    if (ChannelScale[k] == oldScale && !automatic && !recentre) {
        changed = false;
        return selection;
    }
    if (automatic)
        ChannelScale[k] = AutoScale(samples);
    ChannelOffset[k] = ChannelRange[k] / ChannelScale[k];
    ChannelTop[k] = ClampedInt((recentre ? n - n / 2 : topDivs) * ChannelScale[k]);
    ChannelOffset[k] -= n / 2;
    if (!recentre && ChannelTop[k] - static_cast<int64_t>(n - n / 2) * ChannelScale[k] != oldCentre) {
        ChannelTop[k] = NearestStepTop(oldCentre, ChannelOffset[k], ChannelScale[k], n);
        ChannelOffset[k] =
            ClampedInt(ChannelOffset[k] + static_cast<int64_t>(ChannelTop[k] / ChannelScale[k]) - n / 2);
    }
    return selection;
}

void CBoxViewModel::ReapplyChannelScale(int channel, int selection, const std::vector<int32_t>& samples) {
    const size_t k = static_cast<size_t>(channel);
    const int n = DivisionCount;
    const int old = ChannelScale[k];
    ChannelScaleSelection[k] = ChannelScaleIndex[k] = selection;
    if (selection >= 0 && selection < BoxScaleItemCount)
        ChannelScale[k] = BoxScaleStep(selection);
    MoveChannelToFront(channel);
    if (ChannelScale[k] == old && selection != 0)
        return;
    if (selection == 0)
        ChannelScale[k] = AutoScale(samples);
    ChannelOffset[k] = ChannelRange[k] / ChannelScale[k] - n / 2;
    ChannelTop[k] = (n - n / 2) * ChannelScale[k];
}

// ---- Cursors ------------------------------------------------------------------------------------

bool CBoxViewModel::StepTimeCursor(bool cursorB, bool right) {
    if (!(TimeStep > 0.0f))
        return false;
    const float samplesPerDivision = TimePerDivision / TimeStep;
    // Below one time step per division there is no sample width to step by.
    if (!(samplesPerDivision > 0.0f))
        return false;
    const float p = DivisionPx();
    const float step = p > samplesPerDivision ? p / samplesPerDivision : 1.0f;
    int& x = cursorB ? CursorBX : CursorAX;
    if (right)
        x = std::min(Trunc(static_cast<float>(x) + step), Trunc(10.0f * BoxPixelsPerDivision * PlotScale));
    else
        x = std::max(Trunc(static_cast<float>(x) - step), 0);
    return true;
}

bool CBoxViewModel::KeyStepCursorA(int& movedBy) {
    movedBy = 0;
    if (!(TimeStep > 0.0f) || SampleInterval == 0)
        return false;
    const int q = Trunc(TimePerDivision / TimeStep);
    if (q <= 0)
        return false;
    const int d = Trunc(DivisionPx() / static_cast<float>(q));
    int64_t t = Trunc(TimeAt(CursorAX + d));
    const int64_t whole = 10 * static_cast<int64_t>(SampleInterval);
    t = t / whole * whole;
    CursorATime = static_cast<float>(t);
    const int x = XOfTime(CursorATime);
    movedBy = x - CursorAX;
    CursorAX = x;
    return true;
}

void CBoxViewModel::UpdateCursorPixels() {
    const float p = DivisionPx();
    if (TimePerDivision > 0.0f) {
        CursorAX = Trunc((CursorATime - TimeOrigin) / (TimePerDivision / p));
        CursorBX = Trunc((CursorBTime - TimeOrigin) / (TimePerDivision / p));
    }
    const size_t c = static_cast<size_t>(std::clamp(SelectedChannel, 0, 3));
    const float valuePixel = static_cast<float>(ChannelScale[c]) / p;
    CursorAY = Trunc((static_cast<float>(ChannelTop[c]) - CursorAValue) / valuePixel);
    CursorBY = Trunc((static_cast<float>(ChannelTop[c]) - CursorBValue) / valuePixel);
    const float limit = 10.0f * BoxPixelsPerDivision * PlotScale;
    for (int* y : {&CursorAY, &CursorBY}) {
        if (*y <= 4)
            *y = 5;
        else if (static_cast<float>(*y) > limit)
            *y = Trunc(limit - 5.0f);
    }
}

void CBoxViewModel::ComputeTimeReadouts() {
    CursorATime = TimeAt(CursorAX);
    CursorBTime = TimeAt(CursorBX);
}

float CBoxViewModel::ValueReading(int y, int index, const std::vector<int32_t>& samples) const {
    if (index >= 0 && static_cast<size_t>(index) < samples.size())
        return static_cast<float>(samples[static_cast<size_t>(index)]);
    const size_t c = SelectedChannel >= 0 && SelectedChannel <= 2 ? static_cast<size_t>(SelectedChannel) : 3;
    return static_cast<float>(ChannelTop[c]) -
           static_cast<float>(y) * (static_cast<float>(ChannelScale[c]) / DivisionPx());
}

std::array<bool, 4> CBoxViewModel::PickCursors(int gx, int gy) const {
    std::array<bool, 4> picked{}; // time A, time B, value A, value B
    const float S = GridSize();
    const auto inGrid = [&](int x, int y) {
        return x >= 0 && static_cast<float>(x) <= S && y >= 0 && static_cast<float>(y) <= S;
    };
    if (CursorShape == 0) {
        if (!TimeCursorsOn || !ValueCursorsOn)
            return picked;
        const auto near = [&](int cx, int cy) {
            return gx >= cx - 10 && gx <= cx + 9 && gy >= cy - 10 && gy <= cy + 9;
        };
        if (inGrid(gx, gy) && near(CursorAX, CursorAY))
            picked[0] = picked[2] = true;
        else if (inGrid(gx, gy) && static_cast<float>(gx) < S && near(CursorBX, CursorBY))
            picked[1] = picked[3] = true;
        return picked;
    }
    const int s = Trunc(S);
    if (ValueCursorsOn && gx >= 0 && gx <= s) {
        if (gy >= CursorAY - 12 && gy <= CursorAY + 3)
            picked[2] = true;
        else if (gy >= CursorBY - 12 && gy <= CursorBY + 3)
            picked[3] = true;
    }
    if (TimeCursorsOn && gy >= 0 && gy <= s) {
        if (gx >= CursorAX - 12 && gx <= CursorAX + 3)
            picked[0] = true;
        else if (gx >= CursorBX - 12 && gx <= CursorBX + 3)
            picked[1] = true;
    }
    return picked;
}

bool CBoxViewModel::SnapCursors(int gx, int gy) {
    const float S = GridSize();
    if (!(gx > 0 && static_cast<float>(gx) < S && gy > 0 && static_cast<float>(gy) < S) || !CursorsOn ||
        CursorShape != 0 || !TimeCursorsOn || !ValueCursorsOn)
        return false;
    const int scroll = ScrollPixels();
    // Only channels with a point at or past the click take part (one without would select no
    // channel at all).
    std::vector<std::pair<int, int>> candidates; // (y, channel 1..4)
    for (int k = 0; k < 4; ++k) {
        const auto& points = PlotPoints[static_cast<size_t>(k)];
        const auto at = std::find_if(points.begin(), points.end(),
                                     [&](const PlottedPoint& p) { return p.x >= gx + scroll; });
        if (at != points.end())
            candidates.emplace_back(at->y, k + 1);
    }
    const std::optional<int> chosen = ChooseSnapChannel(candidates, gy);
    if (!chosen)
        return false;
    CursorSnapChannel = *chosen;
    CursorsSnapped = true;
    CursorAIndex = CursorBIndex = -1;
    const auto& points = PlotPoints[static_cast<size_t>(CursorSnapChannel - 1)];
    const auto snap = [&](int& cx, int& cy, int& index) {
        const int target = cx + scroll;
        for (size_t i = 0; i < points.size(); ++i) {
            if (points[i].x == target) {
                cy = points[i].y;
                index = static_cast<int>(i);
                break;
            }
            if (points[i].x > target) {
                cx = points[i].x - scroll;
                cy = points[i].y;
                if (static_cast<float>(cx) > S) {
                    if (i > 0) {
                        cx = points[i - 1].x - scroll;
                        cy = points[i - 1].y;
                    } else {
                        cx = Trunc(S);
                    }
                }
                index = static_cast<int>(i);
                break;
            }
        }
        if (cy < 5)
            cy = 5;
        else if (static_cast<float>(cy) > S)
            cy = Trunc(S - 5.0f);
    };
    snap(CursorAX, CursorAY, CursorAIndex);
    snap(CursorBX, CursorBY, CursorBIndex);
    SelectedChannel = CursorSnapChannel - 1;
    MoveChannelToFront(SelectedChannel);
    return true;
}

std::optional<CRect> SmallScreenWindowRect(const CRect& screen) {
    constexpr int width = 910, height = 609;
    if (screen.Height() >= 800)
        return std::nullopt;
    const int left = screen.left + (screen.Width() - width) / 2;
    const int top = screen.top + (screen.Height() - height) / 2;
    return CRect(left, top, left + width, top + height);
}

bool CBoxViewModel::TakeQueuedRecord() {
    const std::array<int, 4> channelSlots = {1, 2, 5, 6};
    const size_t length = static_cast<size_t>(std::max(RecordPointCount, 0));
    const size_t count6 = ChannelDeques[6].size();
    bool any = false;
    for (int slot : channelSlots)
        any = any || !ChannelDeques[static_cast<size_t>(slot)].empty();
    if (!any)
        return false;
    for (size_t k = 0; k < 4; ++k) {
        auto& slot = ChannelDeques[static_cast<size_t>(channelSlots[k])];
        auto& vector = SampleVectors[k + 1];
        vector.resize(length, 0);
        if (!slot.empty())
            FirstSampleValue[k] = slot.front();
        // The newest samples at the end, the vector keeping its length.
        vector.insert(vector.end(), slot.begin(), slot.end());
        vector.erase(vector.begin(), vector.begin() + static_cast<std::ptrdiff_t>(vector.size() - length));
        slot.clear();
    }
    for (size_t w = 0; w < 4; ++w) {
        auto& slot = ChannelDeques[7 + w];
        auto& vector = SampleVectors[5 + w];
        vector.resize(length, 0);
        const size_t taken = std::min(count6, slot.size());
        vector.insert(vector.end(), slot.begin(), slot.begin() + static_cast<std::ptrdiff_t>(taken));
        vector.insert(vector.end(), count6 - taken, 0);
        vector.erase(vector.begin(), vector.begin() + static_cast<std::ptrdiff_t>(vector.size() - length));
        slot.erase(slot.begin(), slot.begin() + static_cast<std::ptrdiff_t>(taken));
    }
    RecordEmpty = false;
    return true;
}

void CBoxViewModel::KeepRecordCopy() const {
    for (size_t c = 0; c < 4; ++c) {
        const auto& shown = SampleVectors[c + 1];
        const size_t count = std::min(
            {static_cast<size_t>(std::max(PointCount, 0)), shown.size(), TraceSampleBuffers[c].size()});
        std::copy(shown.begin(), shown.begin() + static_cast<std::ptrdiff_t>(count),
                  TraceSampleBuffers[c].begin());
    }
}
