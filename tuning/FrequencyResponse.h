#pragma once
// The frequency response of the mechanical characteristic analysis: 1024 torque and 1024 speed
// samples become gain (dB) and phase (degrees) of speed over torque per bin, with the resonance and
// anti-resonance bins, and frequencies map to and from the piecewise-logarithmic Bode axis.
//
// Arrays are indexed from 1 as the measurement fills them (index 0 is unused). Bin k (1..1024) is the
// frequency (k - 1) / (1024 x Ts). All work buffers have fixed size; nothing is allocated per run.
#include <array>

constexpr int AnalysisPoints = 1024;
using AnalysisSeries = std::array<double, AnalysisPoints + 1>;

// In-place radix-2 complex transform of n points held as interleaved (re, im) pairs in
// data[1..2n], after a half-cosine window w(j) = 0.5 + 0.5 cos(j x 3.14159 / n). isign 1 gives the
// forward transform (kernel exp(-2 pi i jk / n)). The constants 3.14159 and 6.28318 are the
// drive tool's own: results differ from an exact transform by a few parts per million.
void Fft(double* data, unsigned n, int isign);

struct FrequencyResponseResult {
    AnalysisSeries gain{};
    AnalysisSeries phase{};
    // A bin whose transfer function is 0 (no excitation there) has no gain, one whose real part is
    // 0 no phase: the plot leaves them out rather than show a value of some earlier measurement.
    std::array<bool, AnalysisPoints + 1> gainDefined{};
    std::array<bool, AnalysisPoints + 1> phaseDefined{};
    int resonanceBin = 2;      // 1-based
    int antiResonanceBin = 10; // 1-based
    double resonanceFrequency = 0;
    double antiResonanceFrequency = 0;
};

// Gain and phase of every bin and the two searches. torqueScale and speedScale are the drive's
// onU03 / 1000 and onU07 / 1000; ts the sample time in seconds (single precision, as the drive
// tool keeps it).
void ComputeFrequencyResponse(const AnalysisSeries& torque, const AnalysisSeries& speed, double torqueScale,
                              double speedScale, float ts, FrequencyResponseResult& result);

// The two searches over the gains already in `result` (bins 4..400 up to 5000 Hz): the resonance is
// the highest gain of at least 0 dB from bin 20 on (the later of equal ones; bin 2 when none), the
// anti-resonance the lowest gain not above gain[1], up to bin 160 and the resonance bin (bin 10 when
// none). Bins without a gain take no part.
void FindResonanceBins(FrequencyResponseResult& result, float ts);

// The frequency of bin k (1-based).
double BinFrequency(int bin, float ts);

// The lowest frequency of the axis: max(0.1, 1 / (2 x 1024 x Ts)).
double AxisMinimumFrequency(float ts);
// Position in [0, 1] of a frequency on the Bode axis (clamped to [fmin, 5000] first).
double FrequencyToAxisPosition(double frequency, float ts);
// The frequency at a position in [0, 1].
double AxisPositionToFrequency(double position, float ts);
