#include "tuning/FrequencyResponse.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr double kMaxFrequency = 5000.0;
constexpr int kSearchFirstBin = 4;
constexpr int kSearchLastBin = 400;
constexpr int kResonanceFirstBin = 20;
constexpr int kAntiResonanceLastBin = 160;

} // namespace

void Fft(double* data, unsigned n, int isign) {
    for (unsigned j = 1; j <= n; ++j) {
        const double w = 0.5 + 0.5 * std::cos(j * 3.14159 / n);
        data[2 * j - 1] *= w;
        data[2 * j] *= w;
    }
    const unsigned size = 2 * n;
    unsigned j = 1;
    for (unsigned i = 1; i < size; i += 2) {
        if (j > i) {
            std::swap(data[j], data[i]);
            std::swap(data[j + 1], data[i + 1]);
        }
        unsigned m = n;
        while (m >= 2 && j > m) {
            j -= m;
            m >>= 1;
        }
        j += m;
    }
    // Stage by stage: mmax doubles of interleaved values (mmax / 2 points per half transform).
    for (unsigned mmax = 2; size > mmax; mmax <<= 1) {
        const unsigned step = mmax << 1;
        const double theta = 6.28318 / (isign * static_cast<double>(mmax));
        const double half = std::sin(0.5 * theta);
        const double wpr = -2.0 * half * half;
        const double wpi = std::sin(theta);
        double wr = 1.0, wi = 0.0;
        for (unsigned m = 1; m < mmax; m += 2) {
            for (unsigned a = m; a <= size; a += step) {
                const unsigned b = a + mmax;
                const double tr = wr * data[b] - wi * data[b + 1];
                const double ti = wr * data[b + 1] + wi * data[b];
                data[b] = data[a] - tr;
                data[b + 1] = data[a + 1] - ti;
                data[a] += tr;
                data[a + 1] += ti;
            }
            const double wrOld = wr;
            wr = wr + (wr * wpr + wi * wpi);
            wi = wi + (wi * wpr - wrOld * wpi);
        }
    }
}

double BinFrequency(int bin, float ts) {
    return (bin - 1) / (static_cast<double>(ts) * AnalysisPoints);
}

void ComputeFrequencyResponse(const AnalysisSeries& torque, const AnalysisSeries& speed, double torqueScale,
                              double speedScale, float ts, FrequencyResponseResult& result) {
    // Interleaved (re, im) pairs from index 1: fixed buffers, no allocation.
    std::array<double, 2 * AnalysisPoints + 1> x{};
    std::array<double, 2 * AnalysisPoints + 1> y{};
    for (int k = 1; k <= AnalysisPoints; ++k) {
        x[2 * k - 1] = torque[k] * 0.01 * torqueScale * speedScale;
        y[2 * k - 1] = speed[k] * 2 * 3.1415926 / 60;
    }
    Fft(x.data(), AnalysisPoints, 1);
    Fft(y.data(), AnalysisPoints, 1);
    for (int i = 1; i <= 2 * AnalysisPoints; ++i) {
        x[i] *= 2 * 0.0009765625;
        y[i] *= 2 * 0.0009765625;
    }
    for (int k = 1; k <= AnalysisPoints; ++k) {
        const double xr = x[2 * k - 1], xi = x[2 * k];
        const double yr = y[2 * k - 1], yi = y[2 * k];
        const double sxx = (xr * xr + xi * xi) * 0.0009765625;
        const double sxyRe = (xr * yr + xi * yi) * 0.0009765625;
        const double sxyIm = (xr * yi - xi * yr) * 0.0009765625;
        double hRe = 0, hIm = 0;
        if (sxx != 0) {
            hRe = sxyRe / sxx;
            hIm = sxyIm / sxx;
        }
        const double magnitude = std::sqrt(hRe * hRe + hIm * hIm);
        result.gainDefined[k] = magnitude != 0;
        result.gain[k] = magnitude != 0 ? 20 * std::log10(magnitude) : 0;
        result.phaseDefined[k] = hRe != 0;
        if (hRe != 0) {
            double p = std::atan(hIm / hRe) * 360 / 6.28318;
            if (hRe < 0)
                p -= 180;
            // Half a sample of delay between torque and speed: k x 360 / 2048 degrees.
            result.phase[k] = p + k * 360.0 / 2048;
        } else {
            result.phase[k] = 0;
        }
    }
    FindResonanceBins(result, ts);
}

void FindResonanceBins(FrequencyResponseResult& result, float ts) {
    // Both searches compare in single precision and cut at 5000 Hz with Ts x 1024 in single
    // precision, as the drive tool does, so they pick the same bins.
    const float span = ts * 1024.0f;
    auto inBand = [span](int k) { return static_cast<float>(k - 1) / span <= kMaxFrequency; };
    auto gainOf = [&result](int k) {
        return result.gainDefined[k] ? static_cast<float>(result.gain[k]) : 0.0f;
    };

    int resonance = 2;
    float best = 0.0f;
    for (int k = kSearchFirstBin; k <= kSearchLastBin; ++k) {
        if (!inBand(k) || k < kResonanceFirstBin || !result.gainDefined[k])
            continue;
        if (gainOf(k) >= best) {
            best = gainOf(k);
            resonance = k;
        }
    }
    int antiResonance = 10;
    best = gainOf(1);
    for (int k = kSearchFirstBin; k <= kSearchLastBin; ++k) {
        if (!inBand(k) || k > kAntiResonanceLastBin || k > resonance || !result.gainDefined[k])
            continue;
        if (gainOf(k) <= best) {
            best = gainOf(k);
            antiResonance = k;
        }
    }
    result.resonanceBin = resonance;
    result.antiResonanceBin = antiResonance;
    result.resonanceFrequency = BinFrequency(resonance, ts);
    result.antiResonanceFrequency = BinFrequency(antiResonance, ts);
}

double AxisMinimumFrequency(float ts) {
    return std::max(0.1, 1.0 / (static_cast<double>(ts) * AnalysisPoints * 2));
}

double FrequencyToAxisPosition(double frequency, float ts) {
    const double fmin = AxisMinimumFrequency(ts);
    const double f = std::fmin(std::fmax(frequency, fmin), kMaxFrequency);
    const double logMin = std::log10(fmin);
    if (f <= 10)
        return (std::log10(f) - logMin) * 0.001 / (1 - logMin);
    if (f <= 100)
        return (std::log10(f) - 1) * 0.3749 + 0.001; // 0.3749: 100 Hz lands at 0.3759
    if (f <= 1000)
        return (std::log10(f) - 2) * 0.375 + 0.375;
    return (std::log10(f) - 3) * 0.25 / (std::log10(kMaxFrequency) - 3) + 0.75;
}

double AxisPositionToFrequency(double position, float ts) {
    const double logMin = std::log10(AxisMinimumFrequency(ts));
    double exponent;
    if (position <= 0.001)
        exponent = logMin + (1 - logMin) * (position / 0.001);
    else if (position <= 0.375)
        exponent = 1 + (position - 0.001) / 0.375;
    else if (position <= 0.75)
        exponent = 2 + (position - 0.375) / 0.375;
    else
        exponent = 3 + (std::log10(kMaxFrequency) - 3) * (position - 0.75) * 4;
    return std::pow(10.0, exponent);
}
