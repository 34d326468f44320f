#include "sim/SimAnalysis.h"

#include <cmath>
#include <complex>

namespace {

constexpr double kPi = 3.14159265358979323846;

int16_t ClampWord(double value) {
    return static_cast<int16_t>(std::lround(std::fmin(std::fmax(value, -32768.0), 32767.0)));
}

} // namespace

SimMechanismParams CSimAnalysis::Mechanism() const {
    return SimMechanismParams::TwoMass(options_.resonanceHz, options_.antiResonanceHz, options_.dampingRatio);
}

uint32_t CSimAnalysis::TorqueScale() const {
    // Motor speed over motor torque: (JL s^2 + c s + K) / (s (Jm JL s^2 + c (Jm + JL) s + K (Jm + JL))).
    const SimMechanismParams p = Mechanism();
    const std::complex<double> s(0, 2 * kPi * options_.resonanceHz);
    const std::complex<double> g =
        (p.loadInertia * s * s + p.damping * s + p.stiffness) /
        (s * (p.motorInertia * p.loadInertia * s * s + p.damping * (p.motorInertia + p.loadInertia) * s +
              p.stiffness * (p.motorInertia + p.loadInertia)));
    // The program's gain is |G| x torque / x with x = word x 0.01 x a x b and the word in 0.1 % of
    // rated torque: |G| x rated / (10 a b).
    const double b = options_.speedScale / 1000.0;
    const double a = std::abs(g) * p.ratedTorque / (10 * std::pow(10.0, options_.peakDb / 20) * b);
    return static_cast<uint32_t>(std::lround(std::fmax(a * 1000, 1.0)));
}

void CSimAnalysis::OnWrite(uint16_t address, uint16_t value, CSimMechanism& mechanism) {
    switch (address) {
    case LoadTorqueRegister:
        loadTorque_ = value;
        break;
    case AcknowledgeRegister:
        ++acknowledged_;
        break;
    case StateRegister:
        if (value == 1) {
            Measure(mechanism);
            state_ = 1;
            polls_ = 0;
            holding_ = true;
        } else if (value == 0) {
            state_ = 0;
            holding_ = false;
        }
        break;
    default:
        break;
    }
}

std::optional<uint16_t> CSimAnalysis::Read(uint16_t address) {
    switch (address) {
    case StateRegister:
        if (state_ == 0)
            return 0;
        return polls_++ < options_.completionPolls ? 1 : 2;
    case SampleFrequencyRegister:
        return options_.sampleFrequency;
    case TorqueScaleRegister:
        return static_cast<uint16_t>(TorqueScale() & 0xFFFF);
    case TorqueScaleRegister + 1:
        return static_cast<uint16_t>(TorqueScale() >> 16);
    case SpeedScaleRegister:
        return static_cast<uint16_t>(options_.speedScale & 0xFFFF);
    case SpeedScaleRegister + 1:
        return static_cast<uint16_t>(options_.speedScale >> 16);
    default:
        return std::nullopt;
    }
}

std::optional<uint16_t> CSimAnalysis::BlockWord(uint16_t address) const {
    if (!holding_)
        return std::nullopt;
    if (address >= 0x1000 && address < 0x1400)
        return static_cast<uint16_t>(torque_[address - 0x1000]);
    if (address >= 0x1400 && address < 0x1800)
        return static_cast<uint16_t>(speed_[address - 0x1400]);
    if (address >= 0x5000 && address < 0x5100)
        return static_cast<uint16_t>(address - 0x5000);
    return std::nullopt;
}

void CSimAnalysis::Measure(CSimMechanism& mechanism) {
    const SimMechanismParams params = Mechanism();
    mechanism.SetParams(params);
    const double sampleUs = options_.sampleFrequency ? 1e6 / options_.sampleFrequency : 100.0;
    const double peak = std::fmin(loadTorque_, 100) / 100.0 * params.ratedTorque;
    // cos(pi i^2 / N) repeats every N samples (N even) and spreads evenly over the bins.
    std::array<double, Samples> excitation{};
    double mean = 0;
    for (int i = 0; i < Samples; ++i) {
        excitation[i] = peak * std::cos(kPi * double(i) * i / Samples);
        mean += excitation[i] / Samples;
    }
    std::array<double, Samples> speed{};
    const int64_t start = mechanism.TimeUs();
    constexpr int kSettlingPeriods = 2;
    for (int period = 0; period <= kSettlingPeriods; ++period) {
        for (int i = 0; i < Samples; ++i) {
            const int64_t sample = int64_t(period) * Samples + i;
            mechanism.SetTorqueExcitation(excitation[i] - mean);
            mechanism.AdvanceTo(start + std::llround((sample + 1) * sampleUs));
            if (period == kSettlingPeriods)
                speed[i] = mechanism.MotorSpeedRpm();
        }
    }
    mechanism.SetTorqueExcitation(std::nullopt);
    double speedMean = 0;
    for (double value : speed)
        speedMean += value / Samples;
    for (int i = 0; i < Samples; ++i) {
        torque_[i] = ClampWord((excitation[i] - mean) / params.ratedTorque * 1000);
        speed_[i] = ClampWord(speed[i] - speedMean);
    }
    ++measurements_;
}
