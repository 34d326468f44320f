#include "box/ui/BoxPlot.h"

#include "trace/GraphPlotRules.h"
#include "trace/GraphServices.h"

#include "framework/core/Format.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/DC.h"
#include "framework/ui/Gdi.h"

#include <algorithm>
#include <memory>

namespace {

constexpr COLORREF White = 0xFFFFFF;
constexpr COLORREF Black = 0x000000;

// Truncated, and held where a far value (a huge sample at scale 1, a time base of almost nothing)
// cannot overflow the int it becomes.
int T(double v) {
    return SaturatedInt(v);
}

struct Geometry {
    float D, P;
    int L = GridMarginLeft, Tp = GridMarginTop;
    std::array<int, 4> A;
};

Geometry Measure(const CBoxViewModel& m) {
    Geometry g;
    g.D = BoxPixelsPerDivision * m.PlotScale;
    g.P = g.D * 10.0f;
    g.A = {g.L - 138, g.L - 92, g.L - 45, g.L};
    return g;
}

void Line(CDC& dc, int x1, int y1, int x2, int y2) {
    dc.MoveTo(x1, y1);
    dc.LineTo(x2, y2);
}

bool ChannelHidden(const CBoxViewModel& m, int k) {
    const auto& s = m.ChannelSignal;
    if (k == 2)
        return s[0] == 47 || s[1] == 47 || s[3] == 47;
    if (k == 3)
        return s[0] == 5 || s[1] == 5 || s[2] == 5;
    return false;
}

void DrawCurve(CDC& dc, CBoxViewModel& m, const BoxPlotLook& look, const Geometry& g, int k) {
    const size_t c = static_cast<size_t>(k);
    const int kind = ChannelSignalKind(m.ChannelSignal[c]);
    if (kind == 0 || ChannelHidden(m, k) || m.TimePerDivision <= 0.0f || m.TimeStep <= 0.0f)
        return;
    const float D = g.D;
    const float xoff = static_cast<float>(static_cast<double>(m.TimeOrigin) / m.TimePerDivision * D);
    const float S = m.TimePerDivision / m.TimeStep;
    const float ppx = D / S;
    const float spp = S > D ? S / D : 1.0f;
    const float n = std::min(static_cast<float>(m.PointCount), m.RecordSpan / m.TimeStep);
    const int scale = std::max(1, m.ChannelScale[c]);
    const auto& samples = m.SampleVectors[c + 1];
    const int count = std::min(m.PointCount, static_cast<int>(samples.size()));
    const float Y0 = static_cast<float>(g.Tp + static_cast<double>(D) * m.ChannelTop[c] / scale);
    const float unit = D / static_cast<float>(scale);
    CPen pen(PS_SOLID, 1, look.channelColors[c]);
    CPen* old = dc.SelectObject(&pen);
    int prevX = 0;
    if (kind == 1) {
        m.PlotPoints[c].clear();
        for (float o = 0; o < n; o += 1.0f) {
            const int i0 = std::max(T(o - spp), 0);
            const int s0 =
                o == 0 ? m.FirstSampleValue[c] : (i0 < count ? samples[static_cast<size_t>(i0)] : 0);
            const float h0 = static_cast<float>(s0) * unit;
            dc.MoveTo(T(g.L + prevX - xoff), T(Y0 - h0));
            if (m.CursorsOn && o != 0)
                m.PlotPoints[c].push_back(
                    {T(static_cast<double>(D) * m.ChannelTop[c] / scale - h0), prevX, 0});
            const int i = T(o);
            const int i1 = i0 == i ? i + 1 : i;
            if (i1 < count) {
                const int x1 = T((i1 + 1) * ppx);
                if (x1 != prevX)
                    dc.LineTo(T(g.L + x1 - xoff),
                              T(Y0 - static_cast<float>(samples[static_cast<size_t>(i1)]) * unit));
                prevX = x1;
            }
        }
    } else {
        for (float o = 0; o <= n; o += spp) {
            const int i0 = std::max(T(o - spp), 0);
            const int b0 =
                (i0 == 0 ? m.FirstSampleValue[c] : (i0 < count ? samples[static_cast<size_t>(i0)] : 0)) & 1;
            const float h0 = static_cast<float>(b0) * unit;
            const int x0 = T(g.L + prevX - xoff);
            dc.MoveTo(x0, T(Y0 - h0));
            const int i = T(o);
            if (i < count) {
                const int b1 = samples[static_cast<size_t>(i)] & 1;
                const float h1 = static_cast<float>(b1) * unit;
                const int x1 = T((i + 1) * ppx);
                if (h1 != h0)
                    dc.LineTo(x0, T(Y0 - h1));
                dc.LineTo(T(g.L + x1 - xoff), T(Y0 - h1));
                prevX = x1;
            }
        }
    }
    dc.SelectObject(old);
    if (m.RecordShown && look.zoomDragActive) {
        CPen red(PS_DOT, 1, 0x0000FF);
        CPen* before = dc.SelectObject(&red);
        dc.SelectStockObject(HOLLOW_BRUSH);
        dc.Rectangle(look.zoomStart.x, look.zoomStart.y, look.zoomEnd.x, look.zoomEnd.y);
        dc.SelectObject(before);
    }
}

std::unique_ptr<CFont> MakeFont(int height, int width) {
    auto font = std::make_unique<CFont>();
    font->CreateFont(-height, width, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma");
    return font;
}

} // namespace

std::string BoxAxisLabelText(int value, const std::string& scaleText) {
    return AxisLabelText(scaleText, value);
}

std::string BoxTimeLabelText(float t, int traceMode, int statusValueD4) {
    return TimeLabelText(t, TimeDisplayDivisorOf(traceMode, statusValueD4, 0));
}

CSize BoxPlotBufferSize(const CBoxViewModel& model) {
    const float P = BoxPixelsPerDivision * model.PlotScale * 10.0f;
    return {T(P + 200), T(P + 100)};
}

void DrawBoxPlot(CDC& dc, CBoxViewModel& m, const BoxPlotLook& look) {
    const Geometry g = Measure(m);
    const float D = g.D, P = g.P;
    const int L = g.L, Tp = g.Tp;
    dc.FillSolidRect(CRect(0, 0, T(P + 400), T(P + 100)), Black);
    CPen white(PS_SOLID, 1, White);
    CPen dotted(PS_DOT, 1, White);
    std::array<std::unique_ptr<CPen>, 4> channel;
    for (size_t k = 0; k < 4; ++k)
        channel[k] = std::make_unique<CPen>(PS_SOLID, 1, m.RecordShown ? look.channelColors[k] : White);
    CPen* old = dc.SelectObject(&white);

    // Frame and grid.
    Line(dc, T(L + P), Tp, T(L + P), T(Tp + P));
    for (size_t k = 0; k < 4; ++k) {
        dc.SelectObject(channel[k].get());
        const int x = L - 120 + 40 * static_cast<int>(k);
        Line(dc, x, Tp, x, T(Tp + P));
    }
    dc.SelectObject(&dotted);
    for (int i = 0; i <= 9; ++i) {
        const int y = T(Tp + D * i);
        for (int s = 7; static_cast<float>(s) <= P; s += 7)
            Line(dc, L + s, y, L + s + 1, y);
    }
    auto font = MakeFont(look.fontHeight, 0);
    CFont* oldFont = dc.SelectObject(font.get());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(White);
    const std::string timeTitle = LoadResString(62010).empty() ? "Time [ms]" : LoadResString(62010);
    // The axis title stands on the time labels' row, left of the first one, so the two legend rows
    // below have the room down to the picture's bottom edge.
    const auto drawTimeTitle = [&] {
        dc.SetTextColor(White);
        dc.SetTextAlign(TA_RIGHT | TA_TOP);
        dc.TextOut(L - 24, T(Tp + P + 5), timeTitle);
    };
    if (!m.RecordShown)
        drawTimeTitle();
    for (int k = 1; k <= 9; ++k) {
        const int x = T(L + D * k);
        for (int s = 0; static_cast<float>(s) <= P; s += 7)
            Line(dc, x, Tp + s, x, Tp + s + 1);
    }
    for (int i = 0; i <= 10; ++i) {
        const int y = T(Tp + D * i);
        // Ticks in the reverse order of the axes; the masks keep only the part right of L.
        const int offsets[4] = {2, 42, 82, 122};
        for (size_t k = 0; k < 4; ++k) {
            dc.SelectObject(channel[k].get());
            Line(dc, L - offsets[k], y, L - offsets[k] + 5, y);
        }
    }
    dc.SelectObject(&white);
    for (int i = 0; i <= 10; ++i) {
        const int y = T(Tp + D * i);
        Line(dc, T(L + P - 2), y, T(L + P + 3), y);
    }
    Line(dc, L, T(Tp + P), T(L + P), T(Tp + P));
    for (int j = 0; j <= 5; ++j) {
        const int x = T(L + 2 * D * j);
        Line(dc, x, T(Tp + P - 2), x, T(Tp + P + 3));
    }

    if (m.RecordShown) {
        for (int k : m.ChannelDrawOrder)
            DrawCurve(dc, m, look, g, k);
        dc.FillSolidRect(CRect(L, 0, T(L + P + 20), Tp), Black);
        dc.FillSolidRect(CRect(T(L + P + 2), Tp, T(L + P + 20), T(Tp + P + 2)), Black);
        dc.FillSolidRect(CRect(L, T(Tp + P + 1), T(L + P + 20), T(Tp + P + 70)), Black);
        dc.FillSolidRect(CRect(0, 0, L, T(P + 100)), Black);

        dc.SelectObject(font.get());
        dc.SetTextAlign(TA_LEFT | TA_TOP);
        const auto legend = [&](int k, int x, int y) {
            dc.SetTextColor(look.channelColors[static_cast<size_t>(k)]);
            dc.TextOut(x, y, look.legends[static_cast<size_t>(k)]);
        };
        if (!ChannelHidden(m, 2))
            legend(2, T(L + D * 5 + 30), T(Tp + P + 19));
        if (!ChannelHidden(m, 3))
            legend(3, T(L + D * 5 + 30), T(Tp + P + 32));
        legend(0, T((L + 5) * m.PlotScale), T(Tp + P + 19));
        legend(1, T((L + 5) * m.PlotScale), T(Tp + P + 32));
        if (look.traceMode == 1) {
            dc.SetTextColor(White);
            dc.TextOut(T((L - 70) * m.PlotScale), T(Tp + P + 21), look.captureTime);
        }

        // Value labels, eleven per channel, and the axes that stay. The labels of channels 1 to 3
        // stand right of their axis (left of the first there is no room); channel 4's axis is the
        // plot's left edge, so its labels stand right of the plot.
        dc.SetTextAlign(TA_LEFT | TA_TOP);
        for (size_t w = 0; w < 4; ++w) {
            dc.SetTextColor(look.channelColors[w]);
            for (int x = 0; x <= 10; ++x) {
                const std::string text =
                    BoxAxisLabelText(m.ChannelTop[w] - m.ChannelScale[w] * x, look.scaleTexts[w]);
                auto label = MakeFont(look.fontHeight, text.size() < 7 ? 5 : 3);
                dc.SelectObject(label.get());
                dc.TextOut(w < 3 ? g.A[w] + 5 : T(L + P + 6), T(Tp + D * x - 8), text);
                dc.SelectObject(font.get());
            }
        }
        for (size_t w = 0; w < 4; ++w) {
            CPen axis(PS_SOLID, 1, look.channelColors[w]);
            dc.SelectObject(&axis);
            for (int x = 0; x <= 10; ++x) {
                const int y = T(Tp + D * x);
                Line(dc, g.A[w] - 2, y, g.A[w] + 3, y);
            }
            Line(dc, g.A[w], Tp, g.A[w], T(Tp + P));
            dc.SelectObject(&white);
        }

        // Time labels.
        dc.SetTextColor(White);
        dc.SetTextAlign(TA_CENTER | TA_TOP);
        for (int j = 0; j <= 5; ++j) {
            const float x = L + 2 * D * j;
            if (x > L + P + 5)
                break;
            const float t = m.TimeOrigin + 2.0f * static_cast<float>(j) * m.TimePerDivision;
            dc.TextOut(T(x), T(Tp + P + 5), BoxTimeLabelText(t, look.traceMode, look.statusValueD4));
        }
        drawTimeTitle();

        // Cursors.
        if (m.CursorsOn) {
            std::array<std::unique_ptr<CPen>, 4> pens;
            for (size_t i = 0; i < 4; ++i)
                pens[i] = std::make_unique<CPen>(PS_SOLID, 2, look.cursorColors[i]);
            if (m.CursorShape == 0) {
                const auto cross = [&](int cx, int cy, CPen* valuePen, CPen* timePen) {
                    const int x = L + cx, y = Tp + cy;
                    dc.SelectObject(valuePen);
                    Line(dc, x - 10, y, x + 10, y);
                    dc.SelectObject(timePen);
                    Line(dc, x, y - 10, x, y + 10);
                };
                cross(m.CursorAX, m.CursorAY, pens[2].get(), pens[0].get());
                cross(m.CursorBX, m.CursorBY, pens[3].get(), pens[1].get());
            } else {
                if (m.ValueCursorsOn) {
                    dc.SelectObject(pens[2].get());
                    Line(dc, L, Tp + m.CursorAY, T(L + P), Tp + m.CursorAY);
                    dc.SelectObject(pens[3].get());
                    Line(dc, L, Tp + m.CursorBY, T(L + P), Tp + m.CursorBY);
                }
                if (m.TimeCursorsOn) {
                    dc.SelectObject(pens[0].get());
                    Line(dc, L + m.CursorAX, Tp, L + m.CursorAX, T(Tp + P));
                    dc.SelectObject(pens[1].get());
                    Line(dc, L + m.CursorBX, Tp, L + m.CursorBX, T(Tp + P));
                }
            }
            dc.SelectObject(&white);
        }
    }
    dc.SelectObject(oldFont);
    dc.SelectObject(old);
}
