// The frequency response of one full measurement (1024 torque and speed samples) as the program
// computes it, against the same computation on FFTW with its plan made once.
#include "tuning/FrequencyResponse.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cmath>
#include <complex>
#include <random>

namespace {

struct Measurement {
    AnalysisSeries torque{};
    AnalysisSeries speed{};
    Measurement() {
        std::mt19937 generator(5);
        std::uniform_int_distribution<int> word(-2000, 2000);
        for (int k = 1; k <= AnalysisPoints; ++k) {
            torque[k] = word(generator);
            speed[k] = 0.7 * torque[k] + word(generator) * 0.1;
        }
    }
};

void ProgramResponse(benchmark::State& state) {
    const Measurement m;
    FrequencyResponseResult result;
    for (auto _ : state) {
        ComputeFrequencyResponse(m.torque, m.speed, 1.2, 0.9, 0.0001f, result);
        benchmark::DoNotOptimize(result.gain.data());
    }
}
BENCHMARK(ProgramResponse);

// The same steps on FFTW: window, two transforms, cross and auto spectra, gain, phase, searches.
void FftwResponse(benchmark::State& state) {
    const Measurement m;
    constexpr int n = AnalysisPoints;
    fftw_complex* in = fftw_alloc_complex(n);
    fftw_complex* x = fftw_alloc_complex(n);
    fftw_complex* y = fftw_alloc_complex(n);
    fftw_plan torquePlan = fftw_plan_dft_1d(n, in, x, FFTW_FORWARD, FFTW_MEASURE);
    fftw_plan speedPlan = fftw_plan_dft_1d(n, in, y, FFTW_FORWARD, FFTW_MEASURE);
    std::array<double, n + 1> window{};
    for (int j = 1; j <= n; ++j)
        window[j] = 0.5 + 0.5 * std::cos(j * 3.14159 / n);
    FrequencyResponseResult result;
    for (auto _ : state) {
        for (int j = 1; j <= n; ++j) {
            in[j - 1][0] = m.torque[j] * 0.01 * 1.2 * 0.9 * window[j];
            in[j - 1][1] = 0;
        }
        fftw_execute(torquePlan);
        for (int j = 1; j <= n; ++j) {
            in[j - 1][0] = m.speed[j] * 2 * 3.1415926 / 60 * window[j];
            in[j - 1][1] = 0;
        }
        fftw_execute(speedPlan);
        for (int k = 1; k <= n; ++k) {
            const std::complex<double> xk(x[k - 1][0], x[k - 1][1]), yk(y[k - 1][0], y[k - 1][1]);
            const double sxx = std::norm(xk);
            const std::complex<double> h = sxx != 0 ? std::conj(xk) * yk / sxx : 0.0;
            result.gainDefined[k] = std::abs(h) != 0;
            result.gain[k] = result.gainDefined[k] ? 20 * std::log10(std::abs(h)) : 0;
            result.phaseDefined[k] = h.real() != 0;
            result.phase[k] = h.real() != 0 ? std::atan(h.imag() / h.real()) * 360 / 6.28318 -
                                                  (h.real() < 0 ? 180 : 0) + k * 360.0 / 2048
                                            : 0;
        }
        FindResonanceBins(result, 0.0001f);
        benchmark::DoNotOptimize(result.gain.data());
    }
    fftw_destroy_plan(torquePlan);
    fftw_destroy_plan(speedPlan);
    fftw_free(in);
    fftw_free(x);
    fftw_free(y);
}
BENCHMARK(FftwResponse);

} // namespace

BENCHMARK_MAIN();
