// The analysis transform against an exact DFT and FFTW, the frequency response's gain, phase and
// searches, and the Bode axis.
#include "tuning/FrequencyResponse.h"

#include "tuning/BodePlot.h"

#include <gtest/gtest.h>

#include <fftw3.h>

#include <cmath>
#include <complex>
#include <random>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// n random complex points, interleaved from index 1.
std::vector<double> RandomPoints(unsigned n, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> value(-1000.0, 1000.0);
    std::vector<double> data(2 * n + 1, 0.0);
    for (unsigned i = 1; i <= 2 * n; ++i)
        data[i] = value(generator);
    return data;
}

std::vector<std::complex<double>> Windowed(const std::vector<double>& data, unsigned n) {
    std::vector<std::complex<double>> points(n);
    for (unsigned j = 1; j <= n; ++j) {
        const double w = 0.5 + 0.5 * std::cos(j * 3.14159 / n);
        points[j - 1] = {data[2 * j - 1] * w, data[2 * j] * w};
    }
    return points;
}

double LargestMagnitude(const std::vector<std::complex<double>>& spectrum) {
    double largest = 0;
    for (const auto& value : spectrum)
        largest = std::max(largest, std::abs(value));
    return largest;
}

void ExpectSpectrumNear(const std::vector<double>& fft, const std::vector<std::complex<double>>& reference,
                        const char* what) {
    const double tolerance = 1e-5 * LargestMagnitude(reference);
    for (size_t k = 0; k < reference.size(); ++k) {
        ASSERT_NEAR(fft[2 * k + 1], reference[k].real(), tolerance) << what << " bin " << k;
        ASSERT_NEAR(fft[2 * k + 2], reference[k].imag(), tolerance) << what << " bin " << k;
    }
}

TEST(AnalysisFft, MatchesAnExactDftOfTheWindowedInput) {
    for (unsigned n : {8u, 64u, 1024u}) {
        std::vector<double> data = RandomPoints(n, 7 + n);
        const std::vector<std::complex<double>> windowed = Windowed(data, n);
        std::vector<std::complex<double>> dft(n);
        for (unsigned k = 0; k < n; ++k) {
            std::complex<double> sum = 0;
            for (unsigned j = 0; j < n; ++j)
                sum += windowed[j] * std::polar(1.0, -2 * kPi * j * k / n);
            dft[k] = sum;
        }
        Fft(data.data(), n, 1);
        ExpectSpectrumNear(data, dft, "DFT");
    }
}

TEST(AnalysisFft, MatchesFftwOfTheWindowedInput) {
    constexpr unsigned n = 1024;
    std::vector<double> data = RandomPoints(n, 11);
    const std::vector<std::complex<double>> windowed = Windowed(data, n);
    std::vector<std::complex<double>> in(windowed), out(n);
    fftw_plan plan =
        fftw_plan_dft_1d(n, reinterpret_cast<fftw_complex*>(in.data()),
                         reinterpret_cast<fftw_complex*>(out.data()), FFTW_FORWARD, FFTW_ESTIMATE);
    fftw_execute(plan);
    fftw_destroy_plan(plan);
    Fft(data.data(), n, 1);
    ExpectSpectrumNear(data, out, "FFTW");
}

AnalysisSeries RandomSeries(unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> word(-3000, 3000);
    AnalysisSeries series{};
    for (int k = 1; k <= AnalysisPoints; ++k)
        series[k] = word(generator);
    return series;
}

// Speed words such that the scaled speed is exactly G times the scaled torque.
AnalysisSeries ProportionalSpeed(const AnalysisSeries& torque, double gain, double a, double b) {
    AnalysisSeries speed{};
    for (int k = 1; k <= AnalysisPoints; ++k)
        speed[k] = gain * torque[k] * 0.01 * a * b * 60 / (2 * 3.1415926);
    return speed;
}

TEST(FrequencyResponse, ProportionalSpeedGivesItsGainAndTheDelayCorrectionAlone) {
    const AnalysisSeries torque = RandomSeries(3);
    for (double g : {0.5, 2.0, 31.6}) {
        FrequencyResponseResult result;
        ComputeFrequencyResponse(torque, ProportionalSpeed(torque, g, 1.5, 0.8), 1.5, 0.8, 0.0001f, result);
        for (int k = 1; k <= AnalysisPoints; ++k) {
            ASSERT_TRUE(result.gainDefined[k]) << k;
            ASSERT_NEAR(result.gain[k], 20 * std::log10(g), 1e-9) << "G " << g << " bin " << k;
            ASSERT_NEAR(result.phase[k], k * 360.0 / 2048, 1e-9) << "G " << g << " bin " << k;
        }
    }
}

TEST(FrequencyResponse, BinsWithoutExcitationHaveNoGainOrPhase) {
    AnalysisSeries torque{}, speed{};
    FrequencyResponseResult result;
    result.gain.fill(12.0); // an earlier measurement's values
    ComputeFrequencyResponse(torque, speed, 1, 1, 0.0001f, result);
    for (int k = 1; k <= AnalysisPoints; ++k) {
        EXPECT_FALSE(result.gainDefined[k]);
        EXPECT_FALSE(result.phaseDefined[k]);
    }
    EXPECT_EQ(result.resonanceBin, 2);
    EXPECT_EQ(result.antiResonanceBin, 10);
}

struct SearchCase {
    const char* name;
    float ts;
    std::vector<std::pair<int, double>> gains; // over a floor of -20 dB
    int resonance;
    int antiResonance;
};

TEST(FrequencyResponse, ResonanceAndAntiResonanceSearches) {
    const std::vector<SearchCase> cases = {
        {"all below 0 dB: bin 2 and bin 10", 0.0001f, {}, 2, 10},
        {"peak and dip", 0.0001f, {{41, 10.0}, {26, -40.0}}, 41, 26},
        {"equal maxima take the later bin", 0.0001f, {{60, 8.0}, {90, 8.0}}, 90, 89},
        {"equal minima take the later bin", 0.0001f, {{90, 8.0}, {30, -30.0}, {50, -30.0}}, 90, 50},
        {"a peak below bin 20 does not count", 0.0001f, {{19, 30.0}, {25, 1.0}}, 25, 24},
        {"0 dB itself qualifies", 0.0001f, {{100, 0.0}}, 100, 99},
        {"Ts 0.0001: bin 300 takes part", 0.0001f, {{300, 20.0}, {250, 10.0}}, 300, 160},
        {"Ts 0.00005: only bins up to 257", 0.00005f, {{300, 20.0}, {250, 10.0}}, 250, 160},
        {"anti-resonance not above the resonance", 0.0001f, {{40, 5.0}, {100, -50.0}}, 40, 39},
    };
    for (const SearchCase& c : cases) {
        FrequencyResponseResult result;
        for (int k = 1; k <= AnalysisPoints; ++k) {
            result.gain[k] = -20.0;
            result.gainDefined[k] = true;
        }
        for (const auto& [bin, gain] : c.gains)
            result.gain[bin] = gain;
        FindResonanceBins(result, c.ts);
        EXPECT_EQ(result.resonanceBin, c.resonance) << c.name;
        EXPECT_EQ(result.antiResonanceBin, c.antiResonance) << c.name;
        EXPECT_DOUBLE_EQ(result.resonanceFrequency, (c.resonance - 1) / (double(c.ts) * 1024)) << c.name;
    }
}

TEST(BodeAxis, EndsSegmentsAndRoundTrip) {
    const float ts = 0.0001f;
    const double fmin = AxisMinimumFrequency(ts);
    EXPECT_NEAR(fmin, 1 / (0.0001 * 2048), 1e-6);
    EXPECT_NEAR(FrequencyToAxisPosition(fmin, ts), 0.0, 1e-12);
    EXPECT_NEAR(FrequencyToAxisPosition(0.01, ts), 0.0, 1e-12);
    EXPECT_NEAR(FrequencyToAxisPosition(5000, ts), 1.0, 1e-12);
    EXPECT_NEAR(FrequencyToAxisPosition(9000, ts), 1.0, 1e-12);
    EXPECT_NEAR(FrequencyToAxisPosition(10, ts), 0.001, 1e-12);
    EXPECT_NEAR(FrequencyToAxisPosition(100, ts), 0.3759, 1e-12);
    EXPECT_NEAR(FrequencyToAxisPosition(1000, ts), 0.75, 1e-12);
    EXPECT_NEAR(AxisMinimumFrequency(0.1f), 0.1, 1e-12); // a slow sample rate stops at 0.1 Hz
    for (double f : {6.0, 400.0, 2500.0})
        EXPECT_NEAR(AxisPositionToFrequency(FrequencyToAxisPosition(f, ts), ts), f, f * 1e-9) << f;
    // The second segment is off by the 0.3749 slope: a fraction of a percent.
    EXPECT_NEAR(AxisPositionToFrequency(FrequencyToAxisPosition(50, ts), ts), 50, 0.5);
}

// A cursor reads one bin: the frequency shown is that bin's, beside its own gain and phase, and
// a bin without a value reads none.
TEST(BodeCursor, ReadsFrequencyGainAndPhaseOfOneBin) {
    const float ts = 0.0001f;
    FrequencyResponseResult response;
    for (int k = 1; k <= AnalysisPoints; ++k) {
        response.gain[static_cast<size_t>(k)] = -k;
        response.phase[static_cast<size_t>(k)] = k * 0.5;
        response.gainDefined[static_cast<size_t>(k)] = response.phaseDefined[static_cast<size_t>(k)] =
            k != 42;
    }
    for (double f : {300.0, 1000.0, 2500.0}) {
        const CursorReading reading = ReadCursor(response, BodeColumn(f, ts), ts);
        EXPECT_EQ(reading.bin, CursorBin(reading.frequency, ts)) << f;
        EXPECT_NEAR(reading.frequency, f, 1 / (ts * 1024.0)) << f;
        EXPECT_EQ(reading.gain, -reading.bin) << f;
        EXPECT_EQ(reading.phase, reading.bin * 0.5) << f;
    }
    const CursorReading left = ReadCursor(response, -40, ts);
    EXPECT_EQ(left.bin, 1);
    EXPECT_EQ(left.frequency, 0.0);
    const int column42 = BodeColumn(BinFrequency(42, ts), ts);
    const CursorReading empty = ReadCursor(response, column42, ts);
    ASSERT_EQ(empty.bin, 42);
    EXPECT_FALSE(empty.gain);
    EXPECT_FALSE(empty.phase);
}

// Labels keep their wanted places where they can; crowded ones move right past their neighbour,
// and those pushed beyond the row's end move back left.
TEST(BodeLabels, SpreadAlongTheRow) {
    struct Case {
        const char* name;
        std::vector<int> wanted, widths;
        int leftLimit, rightLimit;
        std::vector<int> lefts;
    };
    const Case cases[] = {
        {"apart", {0, 50, 100}, {30, 30, 30}, 0, 200, {0, 50, 100}},
        {"1000 and 2000 Hz close", {360, 389, 485}, {36, 36, 36}, 0, 520, {360, 400, 484}},
        {"the first left of the row", {-14, 50}, {30, 30}, 0, 200, {0, 50}},
        {"the last beyond the end", {0, 110}, {30, 30}, 0, 120, {0, 90}},
        {"a heap at the end", {70, 80, 90}, {30, 30, 30}, 0, 120, {22, 56, 90}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SpreadLabels(c.wanted, c.widths, 4, c.leftLimit, c.rightLimit), c.lefts) << c.name;
}

} // namespace
