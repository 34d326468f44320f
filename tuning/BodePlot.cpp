#include "tuning/BodePlot.h"

#include "framework/core/Format.h"

#include <algorithm>
#include <cmath>

const std::array<double, 24> BodeGridFrequencies = {1,   10,  20,  30,   40,   50,   60,   70,
                                                    80,  90,  100, 200,  300,  400,  500,  600,
                                                    700, 800, 900, 1000, 2000, 3000, 4000, 5000};
const std::array<double, 5> BodeLabelFrequencies = {10, 100, 1000, 2000, 5000};

namespace {

// trunc(v + 0.5) of a value that may be far beyond int (a gain of -6000 dB at 33 pixels per dB is
// fine, a NaN or an infinity is not).
int RoundedPixel(double value) {
    if (!(value == value))
        return 0;
    return static_cast<int>(std::trunc(std::clamp(value, -1e6, 1e6) + 0.5));
}

} // namespace

int BodeColumn(double frequency, float ts) {
    return RoundedPixel(FrequencyToAxisPosition(frequency, ts) * BodePlotWidth);
}

int GainRow(double gain, int offset, int scale) {
    const double perDb = 200.0 / (6 * scale);
    return BodePlotHeight - RoundedPixel(((4 - offset) * scale + gain) * perDb);
}

int PhaseRow(double phase, int offset, int scale) {
    const double perDegree = 200.0 / (4 * scale);
    return BodePlotHeight - RoundedPixel(((2 - offset) * scale + phase) * perDegree);
}

std::vector<AxisLabel> GainLabels(int offset, int scale) {
    std::vector<AxisLabel> labels;
    for (int d = offset + 2; d >= offset - 4; --d)
        labels.push_back({Format("%d", d * scale), (offset - d + 2) * 200 / 6 - 5});
    return labels;
}

std::vector<AxisLabel> PhaseLabels(int offset, int scale) {
    std::vector<AxisLabel> labels;
    for (int d = offset + 2; d >= offset - 2; --d)
        labels.push_back({Format("%d", d * scale), static_cast<int>((offset - d + 2) * 200 * 0.25) - 5});
    return labels;
}

LeadIn FitLeadIn(const FrequencyResponseResult& response, float ts) {
    LeadIn leadIn;
    for (int k = 1; k <= 512 && leadIn.points.size() < 10; ++k) {
        const double f = BinFrequency(k, ts);
        if (f > 5000)
            break;
        const double g = response.gain[k];
        if (response.gainDefined[k] && g > -1000 && g < 1000)
            leadIn.points.emplace_back(f, g);
    }
    if (leadIn.points.empty())
        return leadIn;
    const double n = static_cast<double>(leadIn.points.size());
    double sf = 0, sg = 0, sff = 0, sfg = 0;
    for (const auto& [f, g] : leadIn.points) {
        sf += f;
        sg += g;
        sff += f * f;
        sfg += f * g;
    }
    const double denominator = n * sff - sf * sf;
    double a = sg / n;
    if (std::abs(denominator) > 1e-10) {
        const double b = (n * sfg - sf * sg) / denominator;
        a = (sg - b * sf) / n;
    }
    leadIn.startGain = std::clamp(a, -1000.0, 1000.0);
    return leadIn;
}

int CursorBin(double frequency, float ts) {
    const double position = std::clamp(static_cast<double>(ts) * frequency * 1024 + 0.5, -1e6, 1e6);
    const int bin = static_cast<int>(std::trunc(position)) + 1;
    return std::clamp(bin, 1, AnalysisPoints);
}

CursorReading ReadCursor(const FrequencyResponseResult& response, int column, float ts) {
    CursorReading reading;
    reading.bin = CursorBin(AxisPositionToFrequency(double(column) / BodePlotWidth, ts), ts);
    reading.frequency = BinFrequency(reading.bin, ts);
    const auto k = static_cast<std::size_t>(reading.bin);
    if (response.gainDefined[k])
        reading.gain = response.gain[k];
    if (response.phaseDefined[k])
        reading.phase = response.phase[k];
    return reading;
}

std::vector<int> SpreadLabels(const std::vector<int>& wanted, const std::vector<int>& widths, int gap,
                              int leftLimit, int rightLimit) {
    std::vector<int> lefts = wanted;
    const std::size_t n = std::min(wanted.size(), widths.size());
    lefts.resize(n);
    int limit = leftLimit;
    for (std::size_t i = 0; i < n; ++i) {
        lefts[i] = std::max(lefts[i], limit);
        limit = lefts[i] + widths[i] + gap;
    }
    limit = rightLimit;
    for (std::size_t i = n; i-- > 0;) {
        lefts[i] = std::min(lefts[i], limit - widths[i]);
        limit = lefts[i] - gap;
    }
    return lefts;
}
